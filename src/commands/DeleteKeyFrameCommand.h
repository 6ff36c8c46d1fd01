#pragma once

#include "commands/KeyFrameCommand.h"

/// "Delete Key Frame" (32801): after a warning, every part loses all its keys at the
/// current key time. Confirmed or not, the time goes back to the key at the current key
/// index (of the list as it was), the list is rebuilt and the document marked modified.
/// A key time that is not in the list is reported and nothing changes.
class DeleteKeyFrameCommand : public KeyFrameCommand {
public:
    using KeyFrameCommand::KeyFrameCommand;

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override { return QT_TRANSLATE_NOOP("Pavrix", "キーの削除"); }
};
