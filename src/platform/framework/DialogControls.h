#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/NonCopyable.h"
#include "platform/framework/CommandId.h"
#include "platform/framework/ControlTemplate.h"
#include "platform/framework/DialogTemplate.h"

class QButtonGroup;
class QWidget;

namespace framework {

/// The controls of a dialog or dialog bar, made from a template, found by their numeric
/// identifiers. Controls are children of the host widget, placed where the template says
/// (dialog units mapped with the host's font). User actions on them are reported to the
/// sink as (identifier, notification); changes made through this class do not report,
/// except that setting an edit's text reports `EditChange`, as edits always do.
///
/// Several controls may share an identifier; lookups take the first one made.
class DialogControls : private platform::NonCopyable {
public:
    using Kind = ControlTemplate::Kind;
    using NotifySink = std::function<void(int id, Notification code)>;

    /// `host` is borrowed and owns the controls; `sink` may be empty.
    DialogControls(QWidget* host, NotifySink sink);
    ~DialogControls();

    /// Makes the controls of `dialogTemplate` (in addition to any made before) and sizes
    /// the host to the template. Returns 1.
    int Create(const DialogTemplate& dialogTemplate);

    /// The control with `id`, or null.
    QWidget* GetDlgItem(int id) const;
    /// The kind of control `id`; `Kind::Static` when there is none.
    Kind GetKind(int id) const;
    /// Identifiers of all controls that have one (not -1), in creation order, each once.
    std::vector<int> GetControlIds() const;

    /// Text of a label, button, group box, edit or combo box (its selected entry).
    QString GetDlgItemText(int id) const;
    /// Sets the text of a label, button, group box or edit. 1 on success, 0 when there is
    /// no such control or it has no text.
    int SetDlgItemText(int id, const QString& text);

    /// Check box or radio button state: 1 checked, 0 not (also for other controls).
    int IsDlgButtonChecked(int id) const;
    /// Checks (1) or clears (0) a check box or radio button. Checking a radio button
    /// clears the others of its group. 1 on success.
    int CheckDlgButton(int id, int check);
    /// Index of the checked radio button among `firstId` and the radio buttons after it in
    /// its group; -1 when none is checked or `firstId` is not a radio button.
    int GetRadioIndex(int firstId) const;
    /// Checks the radio button `index` places after `firstId` in its group and clears the
    /// others; -1 clears them all. 1 on success, 0 for an index outside the group.
    int SetRadioIndex(int firstId, int index);

    /// Enables or disables control `id`. 1 on success, 0 when there is no such control.
    int EnableDlgItem(int id, bool enable);
    int IsDlgItemEnabled(int id) const;

    /// Combo or list box: the selected entry (-1 for none or no such control).
    int GetCurSel(int id) const;
    /// Selects entry `index` (-1 clears the selection). Returns `index`, or -1 when it is
    /// out of range (nothing changes then).
    int SetCurSel(int id, int index);
    /// Appends an entry (or inserts it in order for sorted boxes, the order the entries
    /// given at creation are sorted in: case-sensitive); returns its index, -1 when there
    /// is no such control.
    int AddString(int id, const QString& text);
    /// Removes entry `index`; returns the number of entries left, -1 when out of range.
    int DeleteString(int id, int index);
    int GetCount(int id) const;
    /// Combo or list box: removes every entry at once. 1 on success.
    int ResetContent(int id);
    /// Unsorted list box: appends `texts` in order, in one step (a long list fills in one
    /// pass instead of one entry at a time). Returns the number of entries after, -1 when
    /// there is no such list box or it is sorted.
    int AddStrings(int id, const QStringList& texts);
    QString GetLBText(int id, int index) const;

    /// Clicks a button as the user would: enabled buttons toggle (check boxes, radio
    /// buttons) and report `Clicked`. 1 when the click happened, 0 for a disabled or
    /// missing button.
    int ClickButton(int id);

    /// Number of controls made, and the widget of the `index`-th control of the templates in
    /// creation order (labels included), or null. Dialogs that lay their controls out
    /// with layouts find the controls without identifiers this way.
    int GetControlCount() const { return static_cast<int>(m_controls.size()); }
    QWidget* GetControlAt(int index) const;

    /// Dialog units to pixels with the host's font.
    QRect MapDialogRect(const QRect& rect) const;
    QSize MapDialogSize(const QSize& size) const;

private:
    struct Control {
        int id;
        Kind kind;
        QWidget* widget; // owned by the host
        int group;       // radio group index, -1 for none
    };

    const Control* Find(int id) const;
    QWidget* MakeWidget(const ControlTemplate& control);
    void Report(int id, Notification code);
    std::vector<int> GroupFrom(const Control& first) const;

    QWidget* m_host;
    NotifySink m_sink;
    std::vector<Control> m_controls;
    std::vector<QButtonGroup*> m_groups; // owned by the host
    int m_currentGroup = -1;
    int m_quiet = 0; // >0 while this class changes a control itself
};

} // namespace framework
