#include "platform/framework/CCmdUI.h"

namespace framework {

void CCmdUI::Enable(bool on) {
    m_enableChanged = true;
    m_enabled = on;
}

void CCmdUI::SetCheck(int check) {
    m_checkChanged = true;
    m_check = check;
}

void CCmdUI::SetText(const QString& text) {
    m_textChanged = true;
    m_text = text;
}

} // namespace framework
