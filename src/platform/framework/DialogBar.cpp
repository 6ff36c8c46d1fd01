#include "platform/framework/DialogBar.h"

#include <QAbstractButton>

#include "platform/framework/CCmdUI.h"
#include "platform/framework/FrameWindow.h"

namespace framework {

DialogBar::DialogBar(FrameWindow* frame) : ControlBar(frame), m_panel(new QWidget(this)) {
    m_controls = std::make_unique<DialogControls>(m_panel, [this](int id, Notification code) {
        if (GetFrame() != nullptr) {
            GetFrame()->RouteCommand(static_cast<CommandId>(id), code);
        }
    });
    addWidget(m_panel);
}

DialogBar::~DialogBar() = default;

int DialogBar::Create(const DialogTemplate& dialogTemplate, Qt::ToolBarArea side, int controlId) {
    m_templateId = dialogTemplate.id;
    setObjectName(QStringLiteral("DialogBar%1").arg(dialogTemplate.id));
    m_controls->Create(dialogTemplate);
    m_panel->setFixedSize(m_panel->size());
    setOrientation((side == Qt::LeftToolBarArea || side == Qt::RightToolBarArea) ? Qt::Vertical
                                                                                 : Qt::Horizontal);
    Register(controlId);
    if (GetFrame() != nullptr) {
        GetFrame()->DockControlBar(this, side);
    }
    return 1;
}

void DialogBar::OnUpdateCmdUI(FrameWindow& frame, int disableIfNoHandler) {
    using Kind = ControlTemplate::Kind;
    for (int id : m_controls->GetControlIds()) {
        QWidget* widget = m_controls->GetDlgItem(id);
        if (widget == nullptr) {
            continue;
        }
        const Kind kind = m_controls->GetKind(id);
        const bool pushButton = kind == Kind::PushButton || kind == Kind::DefPushButton;
        CCmdUI ui(static_cast<CommandId>(id));
        frame.UpdateCommandUI(ui, pushButton ? disableIfNoHandler : 0);
        if (m_controls->GetDlgItem(id) != widget) {
            return; // the handler rebuilt the bar
        }
        if (ui.IsEnableChanged()) {
            widget->setEnabled(ui.IsEnabled());
        }
        if (ui.IsCheckChanged()) {
            m_controls->CheckDlgButton(id, ui.GetCheck());
        }
        if (ui.IsTextChanged()) {
            m_controls->SetDlgItemText(id, ui.GetText());
        }
    }
}

} // namespace framework
