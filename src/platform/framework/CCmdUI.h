#pragma once

#include <QString>

#include "platform/framework/CommandId.h"

namespace framework {

/// The state of one user-interface element (menu item, tool-bar button, dialog-bar
/// control) while its command-state update runs. Update handlers call `Enable`,
/// `SetCheck` and `SetText`; the element applies only what was set, so a handler that
/// calls nothing leaves the element as it is (apart from the "no handler, no enable" rule
/// of the routing).
class CCmdUI {
public:
    explicit CCmdUI(CommandId id) : m_id(id) {}

    CommandId GetId() const { return m_id; }

    /// Enabled (true) or greyed (false).
    void Enable(bool on = true);
    /// 0 clear, 1 checked, 2 indeterminate. A tool-bar button becomes a check box.
    void SetCheck(int check = 1);
    /// Replaces the element's text (menu items and dialog controls; tool-bar buttons have
    /// no text).
    void SetText(const QString& text);
    /// Lets the routing go on to the next target as if this one had no update handler.
    void ContinueRouting() { m_continueRouting = true; }

    bool IsEnableChanged() const { return m_enableChanged; }
    bool IsEnabled() const { return m_enabled; }
    bool IsCheckChanged() const { return m_checkChanged; }
    int GetCheck() const { return m_check; }
    bool IsTextChanged() const { return m_textChanged; }
    const QString& GetText() const { return m_text; }
    bool IsContinueRouting() const { return m_continueRouting; }
    void ClearContinueRouting() { m_continueRouting = false; }

private:
    CommandId m_id;
    bool m_enableChanged = false;
    bool m_enabled = true;
    bool m_checkChanged = false;
    int m_check = 0;
    bool m_textChanged = false;
    QString m_text;
    bool m_continueRouting = false;
};

} // namespace framework
