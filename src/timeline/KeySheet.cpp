#include "timeline/KeySheet.h"

#include <algorithm>
#include <cmath>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include "commands/MoveKeysCommand.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"
#include "timeline/KeySelection.h"

namespace timeline {

namespace {

/// Pixels the pointer may be off a mark and still take it.
constexpr int kReach = 2;
/// Pixels a press must travel before it becomes a drag.
constexpr int kDragStart = 3;

bool Less(const rm::AnimationKey& key, float time) {
    return key.dvTime < time;
}

/// Whether `key` shows on a row of `channel`.
bool OnRow(const rm::AnimationKey& key, Channel channel) {
    return channel == Channel::Part || key.dwKeyType == static_cast<std::uint32_t>(channel);
}

QColor Faded(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

} // namespace

KeySheet::KeySheet(PartTree& tree, KeySelection& selection, const session::EditContext& context,
                   QWidget* parent)
    : QWidget(parent), m_tree(tree), m_selection(selection), m_context(context) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumWidth(120);
}

int KeySheet::RulerHeight() const {
    return m_tree.header()->isVisible() ? m_tree.header()->height() : fontMetrics().height() + 6;
}

int KeySheet::MarkSize() const {
    const int row = std::max(m_tree.fontMetrics().height() + 2, 10);
    return std::max(7, (row * 6 / 10) | 1);
}

void KeySheet::MakeMarks() {
    const int size = MarkSize();
    const qreal ratio = devicePixelRatioF();
    const QColor colours[2][2] = {
        {palette().color(QPalette::Text), palette().color(QPalette::Highlight)},
        {palette().color(QPalette::PlaceholderText), palette().color(QPalette::Highlight)}};
    for (int row = 0; row < 2; ++row) {
        for (int chosen = 0; chosen < 2; ++chosen) {
            QPixmap pixmap(QSize(size, size) * ratio);
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal half = size / 2.0;
            const qreal inset = row == 0 ? 0.5 : 1.5;
            QPainterPath diamond;
            diamond.moveTo(half, inset);
            diamond.lineTo(size - inset, half);
            diamond.lineTo(half, size - inset);
            diamond.lineTo(inset, half);
            diamond.closeSubpath();
            painter.fillPath(diamond, colours[row][chosen]);
            // A chosen mark is outlined in the text colour, so it stands out on the
            // highlighted row of the selected part too.
            painter.setPen(
                QPen(palette().color(chosen ? QPalette::Text : QPalette::Base), chosen ? 1.2 : 1));
            painter.drawPath(diamond);
            m_marks[row][chosen] = pixmap;
        }
    }
    m_markSize = size;
}

QTreeWidgetItem* KeySheet::ItemAt(int y) const {
    const int viewportY = y - RulerHeight();
    if (viewportY < 0) {
        return nullptr;
    }
    return m_tree.itemAt(QPoint(1, viewportY));
}

QPoint KeySheet::MarkCentre(const QTreeWidgetItem* item, float time) const {
    const QRect rect = m_tree.visualItemRect(item);
    if (!rect.isValid()) {
        return {-1, -1};
    }
    return {static_cast<int>(std::lround(m_axis.ToX(time))),
            RulerHeight() + rect.top() + rect.height() / 2};
}

bool KeySheet::KeyRange(float* first, float* last) const {
    bool any = false;
    for (const PartRow& row : m_tree.Parts()) {
        if (!row.animation || row.animation->Keys().empty()) {
            continue;
        }
        const float lo = row.animation->Keys().front().dvTime;
        const float hi = row.animation->Keys().back().dvTime;
        *first = any ? std::min(*first, lo) : lo;
        *last = any ? std::max(*last, hi) : hi;
        any = true;
    }
    return any;
}

void KeySheet::FrameAllKeys() {
    float first = 0;
    float last = 0;
    if (!KeyRange(&first, &last)) {
        last = 100;
    }
    m_axis.Frame(std::max(0.0f, first), last, width());
    emit AxisChanged();
    update();
}

void KeySheet::FollowTime(float time) {
    if (time == m_shownTime) {
        return;
    }
    // Only the strips of the old and the new line are drawn again.
    const int oldX = static_cast<int>(std::lround(m_axis.ToX(m_shownTime)));
    const int newX = static_cast<int>(std::lround(m_axis.ToX(time)));
    m_shownTime = time;
    update(QRect(oldX - 2, 0, 5, height()));
    update(QRect(newX - 2, 0, 5, height()));
}

// ---------------------------------------------------------------------------------------
// Drawing.

void KeySheet::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Paint(painter, event->rect());
}

void KeySheet::Paint(QPainter& painter, const QRect& rect) {
    if (m_markSize != MarkSize() || m_marks[0][0].isNull()) {
        MakeMarks();
    }
    painter.fillRect(rect, palette().color(QPalette::Base));
    const int ruler = RulerHeight();
    const int bottom = std::min(rect.bottom(), height());
    QTreeWidgetItem* item = ItemAt(std::max(rect.top(), ruler));
    while (item != nullptr) {
        QRect row = m_tree.visualItemRect(item);
        row = QRect(0, row.top() + ruler, width(), row.height());
        if (row.top() > bottom) {
            break;
        }
        if (row.intersects(rect)) {
            PaintRow(painter, item, row, rect);
        }
        item = m_tree.itemBelow(item);
    }
    if (rect.top() < ruler) {
        PaintRuler(painter, rect);
    }
    if (m_drag == Drag::Box) {
        const QRect box = QRect(m_pressPoint, m_dragPoint).normalized();
        painter.fillRect(box, Faded(palette().color(QPalette::Highlight), 50));
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    if (m_context.currentAnimation != nullptr) {
        const int x = static_cast<int>(std::lround(m_axis.ToX(m_context.currentTime)));
        m_shownTime = m_context.currentTime;
        painter.fillRect(QRect(x - 1, 0, 2, height()), palette().color(QPalette::Link));
    }
}

void KeySheet::PaintRuler(QPainter& painter, const QRect& rect) {
    const int ruler = RulerHeight();
    const QRect area(rect.left(), 0, rect.width(), ruler);
    painter.fillRect(area, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(area.left(), ruler - 1, area.right(), ruler - 1);

    // The key-time list's times, faintly.
    if (m_context.currentAnimation != nullptr) {
        painter.setPen(Faded(palette().color(QPalette::ButtonText), 70));
        const double from = m_axis.ToTime(rect.left() - 1);
        const double to = m_axis.ToTime(rect.right() + 1);
        const std::vector<float>& times = m_context.currentAnimation->KeyTimeList();
        int lastX = -1;
        for (auto at = std::lower_bound(times.begin(), times.end(), float(from));
             at != times.end() && *at <= to; ++at) {
            const int x = static_cast<int>(std::lround(m_axis.ToX(*at)));
            if (x != lastX) {
                painter.drawLine(x, ruler - ruler / 3, x, ruler - 2);
                lastX = x;
            }
        }
    }

    const QFontMetrics metrics = fontMetrics();
    const double step = m_axis.TickStep(metrics.horizontalAdvance(QStringLiteral("00000")) + 8);
    const double minor = step / 5 * m_axis.Scale() >= 4 ? step / 5 : step;
    const double first = std::floor(m_axis.ToTime(rect.left() - 40) / minor) * minor;
    const double last = m_axis.ToTime(rect.right() + 1);
    painter.setPen(palette().color(QPalette::ButtonText));
    for (double time = std::max(0.0, first); time <= last; time += minor) {
        const int x = static_cast<int>(std::lround(m_axis.ToX(time)));
        const bool major = std::fmod(time, step) < 1e-6;
        painter.drawLine(x, ruler - (major ? ruler / 2 : ruler / 4), x, ruler - 1);
        if (major) {
            painter.drawText(x + 3, metrics.ascent() + 1, QString::number(time, 'g', 7));
        }
    }
}

void KeySheet::PaintRow(QPainter& painter, const QTreeWidgetItem* item, const QRect& row,
                        const QRect& clip) {
    const int index = PartTree::PartIndexOf(item);
    const Channel channel = PartTree::ChannelOf(item);
    if (channel != Channel::Part) {
        painter.fillRect(row, palette().color(QPalette::AlternateBase));
    }
    if (item->isSelected()) {
        painter.fillRect(row, Faded(palette().color(QPalette::Highlight), 45));
    }
    painter.setPen(Faded(palette().color(QPalette::Mid), 90));
    painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    if (index < 0) {
        return;
    }
    const rm::Animation* animation = m_tree.Parts()[std::size_t(index)].animation.Get();
    if (animation == nullptr) {
        return;
    }
    const std::vector<std::uint32_t>* chosen = m_selection.IdsOf(animation);
    const auto isChosen = [chosen](std::uint32_t id) {
        return chosen != nullptr && std::binary_search(chosen->begin(), chosen->end(), id);
    };
    const QPixmap* marks = m_marks[channel == Channel::Part ? 0 : 1];
    const int half = m_markSize / 2;
    const int y = row.top() + row.height() / 2 - half;
    // A moving key shows where the move would take it; the keys are searched over the
    // visible times widened by that move.
    const double reach = (half + 1) / m_axis.Scale();
    const double shift = m_drag == Drag::Keys ? std::abs(m_previewDelta) : 0;
    const float from = float(m_axis.ToTime(clip.left()) - reach - shift);
    const float to = float(m_axis.ToTime(clip.right() + 1) + reach + shift);
    const auto& keys = animation->Keys();
    int lastX = INT32_MIN;
    bool lastChosen = false;
    for (auto at = std::lower_bound(keys.begin(), keys.end(), from, Less);
         at != keys.end() && at->dvTime <= to; ++at) {
        if (!OnRow(*at, channel)) {
            continue;
        }
        const bool isKeyChosen = isChosen(at->dwID);
        const float time =
            at->dvTime +
            (isKeyChosen && m_drag == Drag::Keys ? static_cast<float>(m_previewDelta) : 0.0f);
        const int x = static_cast<int>(std::lround(m_axis.ToX(time)));
        // One mark per pixel column is enough; a chosen key is drawn over a plain one.
        if (x == lastX && (lastChosen || !isKeyChosen)) {
            continue;
        }
        painter.drawPixmap(x - half, y, marks[isKeyChosen ? 1 : 0]);
        lastX = x;
        lastChosen = isKeyChosen;
    }
}

void KeySheet::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        m_marks[0][0] = QPixmap();
        update();
    }
}

// ---------------------------------------------------------------------------------------
// Finding keys.

KeySheet::Hit KeySheet::KeysAt(QPoint point) const {
    Hit hit;
    hit.item = ItemAt(point.y());
    const int index = PartTree::PartIndexOf(hit.item);
    if (index < 0) {
        return hit;
    }
    const rm::Animation* animation = m_tree.Parts()[std::size_t(index)].animation.Get();
    if (animation == nullptr) {
        return hit;
    }
    const Channel channel = PartTree::ChannelOf(hit.item);
    const double reach = (m_markSize / 2 + kReach) / m_axis.Scale();
    const double pointer = m_axis.ToTime(point.x());
    const auto& keys = animation->Keys();
    float best = 0;
    double bestDistance = reach + 1;
    for (auto at = std::lower_bound(keys.begin(), keys.end(), float(pointer - reach), Less);
         at != keys.end() && at->dvTime <= pointer + reach; ++at) {
        if (OnRow(*at, channel) && std::abs(at->dvTime - pointer) < bestDistance) {
            bestDistance = std::abs(at->dvTime - pointer);
            best = at->dvTime;
        }
    }
    if (bestDistance > reach) {
        return hit;
    }
    auto* mutableAnimation = const_cast<rm::Animation*>(animation);
    for (auto at = std::lower_bound(keys.begin(), keys.end(), best, Less);
         at != keys.end() && at->dvTime == best; ++at) {
        if (OnRow(*at, channel)) {
            hit.keys.push_back({mutableAnimation, at->dwID});
        }
    }
    return hit;
}

std::vector<KeyRef> KeySheet::KeysIn(const QRect& box) const {
    std::vector<KeyRef> found;
    const float from = float(m_axis.ToTime(box.left() - m_markSize / 2));
    const float to = float(m_axis.ToTime(box.right() + m_markSize / 2));
    for (QTreeWidgetItem* item = ItemAt(std::max(box.top(), RulerHeight())); item != nullptr;
         item = m_tree.itemBelow(item)) {
        const QRect rect = m_tree.visualItemRect(item);
        const int centre = RulerHeight() + rect.top() + rect.height() / 2;
        if (rect.top() + RulerHeight() > box.bottom()) {
            break;
        }
        if (centre < box.top() || centre > box.bottom()) {
            continue;
        }
        const int index = PartTree::PartIndexOf(item);
        if (index < 0 || !m_tree.Parts()[std::size_t(index)].animation) {
            continue;
        }
        rm::Animation* animation = m_tree.Parts()[std::size_t(index)].animation.Get();
        const Channel channel = PartTree::ChannelOf(item);
        const auto& keys = animation->Keys();
        for (auto at = std::lower_bound(keys.begin(), keys.end(), from, Less);
             at != keys.end() && at->dvTime <= to; ++at) {
            if (OnRow(*at, channel)) {
                found.push_back({animation, at->dwID});
            }
        }
    }
    return found;
}

// ---------------------------------------------------------------------------------------
// Mouse and keyboard.

void KeySheet::RequestTime(int x) {
    emit TimeRequested(std::max(0, m_axis.NearestTime(x)));
}

void KeySheet::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressPoint = m_dragPoint = event->position().toPoint();
    m_pressTime = m_axis.NearestTime(m_pressPoint.x());
    if (m_pressPoint.y() < RulerHeight()) {
        m_drag = Drag::Time;
        RequestTime(m_pressPoint.x());
        return;
    }
    const bool extend = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
    const Hit hit = KeysAt(m_pressPoint);
    if (hit.keys.empty()) {
        m_drag = Drag::Box;
        if (!extend && !m_selection.Empty()) {
            m_selection.Clear();
            emit SelectionChanged();
        }
        update();
        return;
    }
    const bool allChosen = std::all_of(hit.keys.begin(), hit.keys.end(), [this](const KeyRef& k) {
        return m_selection.Contains(k.animation, k.id);
    });
    if (extend) {
        m_selection.Toggle(hit.keys);
    } else if (!allChosen) {
        m_selection.Clear();
        m_selection.Add(hit.keys);
    }
    m_pressOnChosen = allChosen && !extend;
    emit SelectionChanged();
    const int index = PartTree::PartIndexOf(hit.item);
    if (index >= 0) {
        emit PartRequested(m_tree.Parts()[std::size_t(index)].frame.Get());
    }
    m_drag = m_selection.Empty() ? Drag::None : Drag::Keys;
    m_moving = m_selection.Keys();
    m_previewDelta = 0;
    update();
}

void KeySheet::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    m_dragPoint = point;
    switch (m_drag) {
    case Drag::Time:
        RequestTime(point.x());
        break;
    case Drag::Keys: {
        if ((point - m_pressPoint).manhattanLength() < kDragStart && m_previewDelta == 0) {
            break;
        }
        const int wanted = m_axis.NearestTime(point.x()) - m_pressTime;
        const int allowed = MoveKeysCommand::AllowedDelta(m_moving, wanted);
        if (allowed != m_previewDelta) {
            m_previewDelta = allowed;
            update();
        }
        break;
    }
    case Drag::Box:
        update();
        break;
    case Drag::None:
        break;
    }
}

void KeySheet::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Drag drag = std::exchange(m_drag, Drag::None);
    if (drag == Drag::Keys) {
        const int delta = std::exchange(m_previewDelta, 0);
        m_moving.clear();
        if (delta != 0) {
            emit MoveRequested(delta);
        }
    } else if (drag == Drag::Box) {
        const QRect box = QRect(m_pressPoint, event->position().toPoint()).normalized();
        m_selection.Add(KeysIn(box));
        emit SelectionChanged();
    }
    update();
}

void KeySheet::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    if ((event->modifiers() & Qt::ControlModifier) != 0) {
        const double steps = angle.y() / 120.0;
        m_axis.ZoomAround(event->position().x(), std::pow(1.25, steps));
        emit AxisMovedByUser();
        emit AxisChanged();
        update();
    } else if ((event->modifiers() & Qt::ShiftModifier) != 0 || angle.x() != 0) {
        const int pixels = angle.x() != 0 ? angle.x() : angle.y();
        m_axis.SetOrigin(m_axis.Origin() - pixels / 120.0 * width() / 10 / m_axis.Scale());
        emit AxisMovedByUser();
        emit AxisChanged();
        update();
    } else {
        QScrollBar* bar = m_tree.verticalScrollBar();
        const int row = std::max(1, m_tree.fontMetrics().height() + 4);
        bar->setValue(bar->value() - angle.y() * 3 * row / 120);
    }
    event->accept();
}

bool KeySheet::event(QEvent* event) {
    // The window's shortcuts for these keys give way while the sheet has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::Delete) || key->matches(QKeySequence::SelectAll) ||
            (key->key() == Qt::Key_Home && key->modifiers() == Qt::NoModifier)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void KeySheet::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        emit CopyRequested();
    } else if (event->matches(QKeySequence::Paste)) {
        emit PasteRequested();
    } else if (event->matches(QKeySequence::Delete)) {
        emit DeleteRequested();
    } else if (event->matches(QKeySequence::SelectAll)) {
        std::vector<KeyRef> all;
        for (const PartRow& row : m_tree.Parts()) {
            if (row.animation) {
                for (const rm::AnimationKey& key : row.animation->Keys()) {
                    all.push_back({row.animation.Get(), key.dwID});
                }
            }
        }
        m_selection.Add(all);
        emit SelectionChanged();
        update();
    } else if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
        FrameAllKeys();
    } else {
        QWidget::keyPressEvent(event);
    }
}

} // namespace timeline
