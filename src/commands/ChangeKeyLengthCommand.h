#pragma once

#include "commands/KeyFrameCommand.h"

/// "-> Change" (button 1017 of the animation bar): the number typed in the Length edit
/// becomes the gap from the current key time to the next one after a Yes to
/// "キーの範囲を %d から %d へ変更しますか？"; every key from the next key time on moves by
/// the difference and the document is marked modified. A length that is not a whole
/// number from 1 to 16777216 (the largest whole key time a float keeps exactly), the same
/// length, or the last key (no next key time) asks nothing and shows the length again.
/// Playback stops in every case. Nothing without a current animation set.
///
/// Run from the Length edit itself (Return, `Trigger::TypedLength`) it is the length change
/// alone, for the key index and key time as they are: no recomputing of the key index and
/// no stop of playback.
class ChangeKeyLengthCommand : public KeyFrameCommand {
public:
    enum class Trigger { ChangeButton, TypedLength };

    explicit ChangeKeyLengthCommand(IKeyFrameHost& host, Trigger trigger = Trigger::ChangeButton)
        : KeyFrameCommand(host), m_trigger(trigger) {}

protected:
    int Run(session::EditContext& context) override;
    const char* StepName() const override {
        return QT_TRANSLATE_NOOP("Pavrix", "キーの長さの変更");
    }

private:
    int ApplyLength(session::EditContext& context);

    Trigger m_trigger;
};
