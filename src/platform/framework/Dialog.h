#pragma once

#include <QDialog>

#include "platform/framework/CommandTarget.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogControls.h"
#include "platform/framework/DialogTemplate.h"

namespace framework {

/// A modal dialog made from a template. Derived dialogs override `DoDataExchange` to
/// pair controls with fields, `OnInitDialog` to prepare the controls, and `OnOK` /
/// `OnCancel` to accept or refuse; their own command map (`MapCommand`, `MapNotify`)
/// receives the controls' reports. Buttons 1 (OK) and 2 (Cancel) run `OnOK` and
/// `OnCancel` unless the map has entries for them; Escape and the window's close box run
/// `OnCancel`.
///
///     MyDialog dialog(parent);
///     if (dialog.DoModal() == IdOk) { ... dialog's fields hold what the user entered ... }
class Dialog : public QDialog, public CommandTarget {
    Q_OBJECT

public:
    explicit Dialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~Dialog() override;

    /// Runs the dialog through the installed dialog runner (see `UiServices`) and returns
    /// how it ended: `IdOk`, `IdCancel` or the value given to `EndDialog`.
    int DoModal();

    /// Called when the modal run starts, before the dialog is shown. The default loads
    /// the fields into the controls (`UpdateData(0)`). Returns 1. May call `EndDialog`,
    /// which ends the run before the dialog is shown.
    virtual int OnInitDialog();
    /// OK: the default reads the controls (`UpdateData(1)`) and ends with `IdOk` when they
    /// hold valid values; otherwise the dialog stays open.
    virtual void OnOK();
    /// Cancel: the default ends with `IdCancel`.
    virtual void OnCancel();
    /// Called once when the modal run has ended, before `DoModal` returns.
    virtual void OnDestroy();
    /// Pairs controls with fields; the default pairs nothing.
    virtual void DoDataExchange(DataExchange& exchange);

    /// Exchanges all fields: 1 reads the controls into the fields, 0 writes the fields
    /// into the controls. Returns 1, or 0 when a field was refused (then no field
    /// changed).
    int UpdateData(int saveAndValidate = 1);
    /// Ends the modal run with `result`.
    void EndDialog(int result);
    int IsEnded() const { return m_ended ? 1 : 0; }
    int GetResult() const { return m_result; }
    int GetTemplateId() const { return m_templateId; }

    DialogControls& Controls() { return m_controls; }
    QWidget* GetDlgItem(int id) const { return m_controls.GetDlgItem(id); }
    QString GetDlgItemText(int id) const { return m_controls.GetDlgItemText(id); }
    int SetDlgItemText(int id, const QString& text) { return m_controls.SetDlgItemText(id, text); }
    /// Clicks button `id` as the user would (see `DialogControls::ClickButton`).
    int ClickButton(int id) { return m_controls.ClickButton(id); }

    /// For dialog runners only: starts a modal run (clears the end state, runs
    /// `OnInitDialog`). Returns 1 when the dialog is to be shown, 0 when it already ended.
    int StartModal();
    /// For dialog runners only: ends the modal run (`OnDestroy`) and returns the result.
    int FinishModal();

    /// Escape and the close box: `OnCancel`.
    void reject() override;
    void accept() override;

private:
    void OnControl(int id, Notification code);

    DialogControls m_controls;
    int m_templateId;
    bool m_ended = false;
    bool m_running = false;
    int m_result = 2;
};

} // namespace framework
