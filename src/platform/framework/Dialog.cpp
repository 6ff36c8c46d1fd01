#include "platform/framework/Dialog.h"

#include "platform/framework/IDialogRunner.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/UiServices.h"

namespace framework {

Dialog::Dialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_controls(this, [this](int id, Notification code) { OnControl(id, code); }),
      m_templateId(dialogTemplate.id) {
    setWindowTitle(dialogTemplate.title);
    m_controls.Create(dialogTemplate);
}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
    return UiServices::DialogRunner().RunModal(*this);
}

int Dialog::OnInitDialog() {
    UpdateData(0);
    return 1;
}

void Dialog::OnOK() {
    if (UpdateData(1)) {
        EndDialog(IdOk);
    }
}

void Dialog::OnCancel() {
    EndDialog(IdCancel);
}

void Dialog::OnDestroy() {}

void Dialog::DoDataExchange(DataExchange&) {}

int Dialog::UpdateData(int saveAndValidate) {
    DataExchange exchange(m_controls, saveAndValidate);
    DoDataExchange(exchange);
    return exchange.Commit();
}

void Dialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    if (isVisible()) {
        QDialog::done(result);
    }
}

int Dialog::StartModal() {
    m_ended = false;
    m_result = IdCancel;
    m_running = true;
    OnInitDialog();
    return m_ended ? 0 : 1;
}

int Dialog::FinishModal() {
    if (!m_ended) {
        // Closed by means the dialog did not see (the runner gave up): count as Cancel.
        m_ended = true;
        m_result = IdCancel;
    }
    if (isVisible()) {
        hide();
    }
    if (m_running) {
        m_running = false;
        OnDestroy();
    }
    return m_result;
}

void Dialog::reject() {
    OnCancel();
}

void Dialog::accept() {
    OnOK();
}

void Dialog::OnControl(int id, Notification code) {
    if (OnCmdMsg(static_cast<CommandId>(id), code)) {
        return;
    }
    if (code != Notification::Clicked) {
        return;
    }
    if (id == IdOk) {
        OnOK();
    } else if (id == IdCancel) {
        OnCancel();
    }
}

} // namespace framework
