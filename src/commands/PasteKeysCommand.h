#pragma once

#include <vector>

#include "commands/CopiedKeys.h"
#include "commands/KeyEditCommand.h"
#include "commands/KeyRef.h"

/// Pastes keys copied from the timeline at a time, keeping their spacing: the earliest
/// copied key lands on `time`. Each key goes onto the part it was copied from, or, when
/// every copied key is of one part and a part is selected, onto the selected part; a key
/// lands on the animation that drives that part in the current set (parts without one are
/// skipped). A key of the same channel already at the landing time takes the copied value
/// instead of getting a twin. One step of the edit history, "選択したキーの貼り付け".
class PasteKeysCommand : public KeyEditCommand {
public:
    /// `copied` is borrowed for the command's life.
    PasteKeysCommand(IKeyFrameHost& host, const CopiedKeys& copied, float time)
        : KeyEditCommand(host), m_copied(copied), m_time(time) {}

    /// The keys the paste wrote (added or overwritten), after Execute.
    const std::vector<KeyRef>& Pasted() const { return m_pasted; }

protected:
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "選択したキーの貼り付け");
    }
    std::vector<rm::Animation*> Targets() const override;
    int Edit() override;

private:
    /// Where copied entry `index` goes; null when nowhere.
    rm::Animation* TargetOf(std::size_t index) const;

    const CopiedKeys& m_copied;
    float m_time;
    std::vector<KeyRef> m_pasted;
};
