#pragma once

#include <memory>

#include "platform/framework/ControlBar.h"
#include "platform/framework/DialogControls.h"
#include "platform/framework/DialogTemplate.h"
#include "platform/framework/StandardIds.h"

namespace framework {

/// A bar holding the controls of a dialog template (the control panel, the animation
/// bar). Its controls report into the frame's routing — view, document, frame,
/// application — so the frame's command map sees them; controls are found by their
/// numeric identifiers through `Controls()`.
///
/// Command-state updates reach every control with an identifier: an update handler may
/// enable, check or relabel it. Without one, push buttons are enabled exactly when some
/// command handler takes their click; check boxes, radio buttons and other controls keep
/// their state (so a radio button disabled in the template stays disabled).
class DialogBar : public ControlBar {
    Q_OBJECT

public:
    explicit DialogBar(FrameWindow* frame);
    ~DialogBar() override;

    /// Makes the controls of `dialogTemplate`, docks the bar at `side` of the frame and
    /// registers it under `controlId`. Returns 1.
    int Create(const DialogTemplate& dialogTemplate, Qt::ToolBarArea side,
               int controlId = static_cast<int>(ids::ToolBarBar));
    int GetTemplateId() const { return m_templateId; }

    DialogControls& Controls() { return *m_controls; }
    const DialogControls& Controls() const { return *m_controls; }
    QWidget* GetDlgItem(int id) const { return m_controls->GetDlgItem(id); }
    /// The panel widget that holds the controls.
    QWidget* GetPanel() const { return m_panel; }

    void OnUpdateCmdUI(FrameWindow& frame, int disableIfNoHandler) override;

private:
    QWidget* m_panel; // owned by the bar
    std::unique_ptr<DialogControls> m_controls;
    int m_templateId = 0;
};

} // namespace framework
