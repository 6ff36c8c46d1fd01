#pragma once

#include <vector>

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "commands/KeyRef.h"
#include "timeline/PartTree.h"
#include "timeline/TimeAxis.h"

class QTreeWidgetItem;

namespace session {
class EditContext;
} // namespace session

namespace timeline {

class KeySelection;

/// The right side of the timeline: a ruler in the file's time units over one row per row
/// of the part tree (read from the tree, so both sides line up), each key a mark, the
/// chosen keys highlighted, the current time a vertical line and the key-time list's times
/// faint marks on the ruler. Drawn with one painter; no widget per key.
///
/// The mouse: on the ruler a click or drag asks for that time; on a key a click chooses it
/// (Shift or Ctrl adds or takes it out) and asks for its part, and a drag moves the chosen
/// keys by whole units, never onto a key of their channel that stays (the marks follow the
/// move the command would make; the move is asked for on release); on empty space a drag
/// chooses the keys in its box. Ctrl+wheel zooms around the pointer, the wheel scrolls the
/// rows (Shift+wheel the time), Home shows all keys. Delete, Ctrl+C, Ctrl+V and Ctrl+A are
/// the sheet's own while it has the focus.
class KeySheet : public QWidget {
    Q_OBJECT

public:
    /// `tree` and `selection` are borrowed and outlive the sheet.
    /// `context` is borrowed and must outlive the sheet: its current set and time are drawn.
    KeySheet(PartTree& tree, KeySelection& selection, const session::EditContext& context,
             QWidget* parent = nullptr);

    TimeAxis& Axis() { return m_axis; }
    const TimeAxis& Axis() const { return m_axis; }
    /// The ruler's height: the tree's header, so the first rows of both sides line up.
    int RulerHeight() const;
    /// Where sheet pixel `x` is on the time axis (the key area starts at x = 0).
    int TimeAt(int x) const { return m_axis.NearestTime(x); }
    /// The centre of the mark of a key at `time` on the row of `item`, in sheet pixels;
    /// (-1, -1) when the row is not on screen.
    QPoint MarkCentre(const QTreeWidgetItem* item, float time) const;
    /// First and last key time of every row's animation; false when there is no key.
    bool KeyRange(float* first, float* last) const;
    /// Home: shows every key.
    void FrameAllKeys();
    /// Draws the sheet into `painter` (the area `rect` of it).
    void Paint(QPainter& painter, const QRect& rect);
    /// Draws the current time's line again after the time moved.
    void FollowTime(float time);

signals:
    /// Asks for the current time to go to `time`.
    void TimeRequested(int time);
    /// Asks for `frame` to be the selected part.
    void PartRequested(rm::Frame* frame);
    /// Asks for the chosen keys to move by `delta` units (already cut to a clear move).
    void MoveRequested(int delta);
    void DeleteRequested();
    void CopyRequested();
    void PasteRequested();
    /// The axis was zoomed or scrolled.
    void AxisChanged();
    /// The user zoomed or scrolled the axis (the sheet stops framing all keys by itself).
    void AxisMovedByUser();
    /// The chosen keys changed.
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Drag { None, Time, Keys, Box };
    struct Hit {
        QTreeWidgetItem* item = nullptr;
        std::vector<KeyRef> keys;
    };

    /// The row item at sheet height `y` (below the ruler), or null.
    QTreeWidgetItem* ItemAt(int y) const;
    /// The keys under sheet point `point`: those of the nearest mark within reach.
    Hit KeysAt(QPoint point) const;
    /// Every key whose mark lies in `box` (sheet pixels).
    std::vector<KeyRef> KeysIn(const QRect& box) const;
    void PaintRuler(QPainter& painter, const QRect& rect);
    /// One row, the keys within `clip` (a moving time line draws only a narrow strip).
    void PaintRow(QPainter& painter, const QTreeWidgetItem* item, const QRect& row,
                  const QRect& clip);
    void MakeMarks();
    int MarkSize() const;
    void RequestTime(int x);

    PartTree& m_tree;
    KeySelection& m_selection;
    const session::EditContext& m_context;
    TimeAxis m_axis;
    Drag m_drag = Drag::None;
    QPoint m_pressPoint;
    QPoint m_dragPoint;
    int m_pressTime = 0;
    /// The chosen keys while a move drag runs, and how far the marks show them moved.
    std::vector<KeyRef> m_moving;
    int m_previewDelta = 0;
    bool m_pressOnChosen = false;
    float m_shownTime = -1;
    // Key marks, drawn once per palette and size: [part row, channel row] × [plain, chosen].
    QPixmap m_marks[2][2];
    int m_markSize = 0;
};

} // namespace timeline
