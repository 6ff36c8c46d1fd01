#pragma once

#include "commands/KeyFrameCommand.h"

/// "Edit...Parts Animation Key" (32795): runs the part animation key dialog; after OK the
/// current character binds its animation sets to its model again, so animations the
/// dialog made or renamed drive their parts. Playback goes on.
class EditPartKeysCommand : public KeyFrameCommand {
public:
    using KeyFrameCommand::KeyFrameCommand;

protected:
    /// 1 when the dialog was left with OK.
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "パーツのアニメーション情報の変更");
    }
    unsigned Touches() const override;
};
