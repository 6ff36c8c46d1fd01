#pragma once

#include "commands/KeyFrameCommand.h"
#include "commands/Prompting.h"

/// "Add Key Frame" (32799): a rotation key for the selected part at the current time,
/// holding the part's present orientation relative to its parent. Every part whose
/// rotation keys all lie before that time gets its latest rotation repeated there, the
/// key-time list is rebuilt and the document marked modified. A part without an animation
/// gets one (options 0x36) after a question. Refused with a message without a current
/// animation set, without a selected part, or when the current time's whole part is a key
/// time already; silently for a frame that is no part of a model.
///
/// Prompting::Silent (as "Add Last Key Frame" uses it) shows nothing and asks nothing.
class AddKeyFrameCommand : public KeyFrameCommand {
public:
    AddKeyFrameCommand(IKeyFrameHost& host, Prompting prompting)
        : KeyFrameCommand(host), m_prompting(prompting) {}

protected:
    /// 1 when the key was added.
    int Run(session::EditContext& context) override;
    const char* StepName() const override { return QT_TRANSLATE_NOOP("Pavrix", "キーの追加"); }

private:
    Prompting m_prompting;
};
