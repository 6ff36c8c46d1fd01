#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QString>

#include "platform/framework/IDialogRunner.h"

namespace framework {

/// A dialog runner for tests. Each modal run takes the next script from the queue and
/// calls it with the initialised dialog; the script plays the user (types into fields
/// with `SetDlgItemText`, clicks with `ClickButton`, which runs the dialog's handlers and
/// its OK validation). A script may click OK several times, for instance after a
/// validation message. When the script returns with the dialog still open, the runner
/// cancels it as Escape would. With the queue empty the dialog is cancelled at once and
/// counted in `UnscriptedCount`.
class ScriptedDialogRunner : public IDialogRunner {
public:
    using Script = std::function<void(Dialog&)>;

    struct Run {
        int templateId = 0;
        QString title;
        int result = 0;
        bool cancelledByRunner = false; ///< the script left the dialog open
    };

    void Push(Script script) { m_scripts.push_back(std::move(script)); }
    /// Queues a script that only presses OK.
    void PushOk();
    /// Queues a script that only presses Cancel.
    void PushCancel();
    const std::vector<Run>& Runs() const { return m_runs; }
    int UnscriptedCount() const { return m_unscripted; }
    int PendingScripts() const { return static_cast<int>(m_scripts.size()); }

    int RunModal(Dialog& dialog) override;

private:
    std::deque<Script> m_scripts;
    std::vector<Run> m_runs;
    int m_unscripted = 0;
};

} // namespace framework
