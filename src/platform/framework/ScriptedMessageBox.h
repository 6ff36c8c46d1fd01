#pragma once

#include <deque>
#include <vector>

#include "platform/framework/IMessageBox.h"

namespace framework {

/// A message box for tests: answers from a queue and records every question.
///
///     ScriptedMessageBox box;
///     box.Push(IdNo);            // the next box is answered "No"
///     ... run the command ...
///     EXPECT_EQ(box.Asked().at(0).style, 36u);
///
/// With the queue empty a box is answered with its first button (OK or Yes), as a
/// person pressing Enter would, and counted in `UnscriptedCount`.
class ScriptedMessageBox : public IMessageBox {
public:
    struct Question {
        QString text;
        QString caption;
        unsigned style = 0;
        int answer = 0;
    };

    /// Queues the answer to the next box (`IdOk`, `IdCancel`, `IdYes`, `IdNo`).
    void Push(int answer) { m_answers.push_back(answer); }
    const std::vector<Question>& Asked() const { return m_asked; }
    /// Texts of all boxes shown, in order.
    std::vector<QString> Texts() const;
    int UnscriptedCount() const { return m_unscripted; }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }
    void Clear();

    int Show(QWidget* owner, const QString& text, const QString& caption, unsigned style) override;

private:
    std::deque<int> m_answers;
    std::vector<Question> m_asked;
    int m_unscripted = 0;
};

} // namespace framework
