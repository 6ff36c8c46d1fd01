#include "platform/framework/TrackBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace framework {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // The style's own ticks cannot be placed freely; the marks are drawn in paintEvent.
    setTickPosition(QSlider::NoTicks);
}

void TrackBar::ClearTics() {
    m_tics.clear();
    update();
}

void TrackBar::SetTic(int position) {
    m_tics.push_back(position);
    update();
}

void TrackBar::SetTicFreq(int frequency) {
    m_ticFrequency = frequency > 0 ? frequency : 1;
    update();
}

void TrackBar::SetAutoTicks(bool on) {
    m_autoTicks = on;
    update();
}

void TrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && onReleasedCapture) {
        onReleasedCapture();
    }
}

void TrackBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (maximum() <= minimum()) {
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = width() - handle.width();
    const int y = height() - 4;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const auto mark = [&](int value, int length) {
        if (value < minimum() || value > maximum()) {
            return;
        }
        const int x =
            handle.width() / 2 + QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
        painter.drawLine(x, y, x, y + length - 1);
    };
    mark(minimum(), 4);
    mark(maximum(), 4);
    if (m_autoTicks) {
        const long long count = (static_cast<long long>(maximum()) - minimum()) / m_ticFrequency;
        // Too many marks would only blacken the bar; the ends and set ticks still show.
        if (count < span) {
            for (long long i = 1; i < count + 1; ++i) {
                mark(static_cast<int>(minimum() + i * m_ticFrequency), 3);
            }
        }
    }
    for (int tic : m_tics) {
        mark(tic, 3);
    }
}

} // namespace framework
