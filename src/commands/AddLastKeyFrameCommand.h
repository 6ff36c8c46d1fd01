#pragma once

#include "commands/KeyFrameCommand.h"

/// "Add Last Key Frame" (32802): one key time after the last one, where every part that
/// has rotation keys gets its latest rotation repeated; the time goes there. A set
/// without any animation first gets one for the selected part (AddKeyFrameCommand,
/// silent) after a question. Parts without rotation keys get nothing.
class AddLastKeyFrameCommand : public KeyFrameCommand {
public:
    using KeyFrameCommand::KeyFrameCommand;

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "最後にキーを追加");
    }
};
