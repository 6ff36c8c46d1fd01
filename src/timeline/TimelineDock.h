#pragma once

#include <QDockWidget>

#include "commands/CopiedKeys.h"
#include "timeline/KeySelection.h"

class CAnimationData;
class ITimelineHost;
class QLineEdit;
class QScrollBar;
class QSplitter;

namespace rm {
class Frame;
} // namespace rm

namespace session {
class EditContext;
} // namespace session

namespace timeline {

class KeySheet;
class PartTree;

/// The timeline: a dock with the part tree on the left and the key sheet on the right,
/// scrolling together, and a search field over the tree. It shows the current model and
/// animation set (the edit context) and follows them when told (Refresh, FollowSelection,
/// FollowTime); every key edit it makes is a command of src/commands run on the host's
/// key-frame host, so it is one step of the edit history and ends with the usual refresh.
///
/// Choosing a part (tree or key) selects it in the view; a double-click on a part opens the
/// part key dialog; clicking the ruler moves the current time; Ctrl+C / Ctrl+V copy the
/// chosen keys and paste them at the current key time.
class TimelineDock : public QDockWidget {
    Q_OBJECT

public:
    /// `host` is borrowed and outlives the dock.
    /// `host` and `context` are borrowed and must outlive the dock.
    TimelineDock(ITimelineHost& host, session::EditContext& context, QWidget* parent = nullptr);
    ~TimelineDock() override;

    /// After any change of keys, model or animation set: the tree is read again, chosen
    /// keys of animations that are gone are dropped, and the sheet is drawn again. A new
    /// model or set starts with nothing chosen and every key in view.
    void Refresh();
    /// Highlights the part selected in the view (nothing when it is the one shown).
    void FollowSelection();
    /// Moves the current time's line to the context's current time.
    void FollowTime();

    /// Select Parts: the dock shows (floated docks too) and its search field takes the
    /// keyboard with its text chosen, so typing filters the part tree at once.
    void ShowPartSearch();

    /// Copies the chosen keys (Ctrl+C), pastes them at the current key time (Ctrl+V),
    /// deletes them (Delete), moves them by `delta` units. 1 when something was done.
    int CopyKeys();
    int PasteKeys();
    int DeleteKeys();
    int MoveKeys(int delta);

    PartTree& Tree() { return *m_tree; }
    KeySheet& Sheet() { return *m_sheet; }
    KeySelection& Selection() { return m_selection; }
    const CopiedKeys& Copied() const { return m_copied; }
    QLineEdit& SearchField() { return *m_search; }

signals:
    /// The selected part changed: its name (empty when none is selected).
    void SelectedPartShown(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The part selected in the view: the timeline's one way to the selection.
    rm::Frame* SelectedPart() const;
    void OnTimeRequested(int time);
    void OnPartRequested(rm::Frame* part);
    void UpdateTimeScroll();

    ITimelineHost& m_host;
    session::EditContext& m_context;
    PartTree* m_tree = nullptr;
    KeySheet* m_sheet = nullptr;
    QLineEdit* m_search = nullptr;
    QScrollBar* m_rowsBar = nullptr;
    QScrollBar* m_timeBar = nullptr;
    KeySelection m_selection;
    CopiedKeys m_copied;
    // What the rows were last read from; compared, never dereferenced.
    const void* m_shownModel = nullptr;
    const CAnimationData* m_shownSet = nullptr;
    const rm::Frame* m_shownPart = nullptr;
    /// Every key is kept in view as the sheet changes size, until the user zooms or scrolls.
    bool m_autoFrame = true;
    bool m_syncingTime = false;
};

} // namespace timeline
