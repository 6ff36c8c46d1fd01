#pragma once

#include <functional>
#include <vector>

#include <QSlider>

namespace framework {

/// A horizontal slider with tick marks placed by the program: one at each end of the
/// range, one at every position given to `SetTic`, and, with auto ticks on, one every
/// `SetTicFreq` units. Reports `ReleasedCapture` (through `onReleasedCapture`) whenever
/// the mouse lets go of it, whether it was dragged or clicked.
class TrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TrackBar(QWidget* parent = nullptr);

    /// Removes the ticks given to `SetTic`.
    void ClearTics();
    /// Adds a tick at `position` (in range units); positions outside the range are kept
    /// but not drawn.
    void SetTic(int position);
    /// Spacing of the automatic ticks; drawn only while `SetAutoTicks(true)`.
    void SetTicFreq(int frequency);
    void SetAutoTicks(bool on);
    const std::vector<int>& GetTics() const { return m_tics; }
    int GetTicFreq() const { return m_ticFrequency; }

    /// Called when the mouse releases the slider. Borrowed by nobody; may be empty.
    std::function<void()> onReleasedCapture;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> m_tics;
    int m_ticFrequency = 1;
    bool m_autoTicks = false;
};

} // namespace framework
