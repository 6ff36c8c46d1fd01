#include "platform/framework/ScriptedMessageBox.h"

#include "platform/framework/MessageBoxCodes.h"

namespace framework {

std::vector<QString> ScriptedMessageBox::Texts() const {
    std::vector<QString> texts;
    texts.reserve(m_asked.size());
    for (const Question& question : m_asked) {
        texts.push_back(question.text);
    }
    return texts;
}

void ScriptedMessageBox::Clear() {
    m_answers.clear();
    m_asked.clear();
    m_unscripted = 0;
}

int ScriptedMessageBox::Show(QWidget*, const QString& text, const QString& caption,
                             unsigned style) {
    int answer = 0;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else {
        const unsigned buttons = style & MbTypeMask;
        answer = (buttons == MbYesNo || buttons == MbYesNoCancel) ? IdYes : IdOk;
        ++m_unscripted;
    }
    m_asked.push_back({text, caption, style, answer});
    return answer;
}

} // namespace framework
