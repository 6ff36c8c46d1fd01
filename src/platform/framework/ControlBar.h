#pragma once

#include <QToolBar>

#include "platform/framework/CommandId.h"

namespace framework {

class FrameWindow;

/// A bar docked at an edge of a frame window: a tool bar or a dialog bar. Bars take part
/// in the frame's idle command-state updates while they are shown, and send their
/// commands into the frame's routing.
class ControlBar : public QToolBar {
    Q_OBJECT

public:
    /// `frame` is borrowed and becomes the bar's parent (which owns it).
    explicit ControlBar(FrameWindow* frame);
    ~ControlBar() override;

    FrameWindow* GetFrame() const { return m_frame; }
    /// The bar's identifier (59392 for the frame's tool bars and dialog bars). A menu
    /// command with that number shows and hides the first bar registered under it.
    int GetControlId() const { return m_controlId; }
    /// 1 unless the bar was hidden; independent of whether the frame is on screen.
    int IsShown() const { return isHidden() ? 0 : 1; }
    /// Lets the user drag the bar to the given edges (none: it stays where docked).
    void EnableDocking(Qt::ToolBarAreas areas);

    /// Brings the bar's elements up to date through the frame's routing.
    /// `disableIfNoHandler`: elements whose command nobody handles are greyed.
    virtual void OnUpdateCmdUI(FrameWindow& frame, int disableIfNoHandler) = 0;

protected:
    /// Gives the bar its identifier and registers it with the frame (the order of
    /// registration decides which bar a menu command shows and hides).
    void Register(int controlId);

private:
    FrameWindow* m_frame;
    int m_controlId = 0;
};

} // namespace framework
