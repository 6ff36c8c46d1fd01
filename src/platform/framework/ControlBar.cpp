#include "platform/framework/ControlBar.h"

#include "platform/framework/FrameWindow.h"

namespace framework {

ControlBar::ControlBar(FrameWindow* frame) : QToolBar(frame), m_frame(frame) {
    setMovable(false);
    setFloatable(false);
    // The bar's own show/hide entry would bypass the frame's command routing.
    toggleViewAction()->setVisible(false);
}

ControlBar::~ControlBar() = default;

void ControlBar::EnableDocking(Qt::ToolBarAreas areas) {
    setAllowedAreas(areas);
    setMovable(areas != Qt::NoToolBarArea);
}

void ControlBar::Register(int controlId) {
    m_controlId = controlId;
    if (m_frame != nullptr) {
        m_frame->AddControlBar(this);
    }
}

} // namespace framework
