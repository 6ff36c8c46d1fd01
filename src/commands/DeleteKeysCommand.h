#pragma once

#include <vector>

#include "commands/KeyEditCommand.h"
#include "commands/KeyRef.h"

/// Deletes chosen keys of the current animation set, whatever their times, without asking.
/// One step of the edit history, "選択したキーの削除".
class DeleteKeysCommand : public KeyEditCommand {
public:
    /// `keys` name keys of the current animation set (identifiers not found are skipped).
    DeleteKeysCommand(IKeyFrameHost& host, std::vector<KeyRef> keys)
        : KeyEditCommand(host), m_keys(std::move(keys)) {}

protected:
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "選択したキーの削除");
    }
    std::vector<rm::Animation*> Targets() const override;
    int Edit() override;

private:
    std::vector<KeyRef> m_keys;
};
