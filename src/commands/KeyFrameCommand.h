#pragma once

#include <QString>

#include "platform/NonCopyable.h"

class IKeyFrameHost;

namespace session {
class EditContext;
} // namespace session

/// One key-frame command of the main frame. Execute is the command's only entry point:
/// it asks its questions through the host, changes the current animation set only
/// through the scene objects' own key operations, and refreshes through the host, all
/// inside one edit scope (EditScope) naming what the command may touch, so each command
/// is one step of the edit history.
class KeyFrameCommand : private platform::NonCopyable {
public:
    /// `host` is borrowed and must outlive the command.
    explicit KeyFrameCommand(IKeyFrameHost& host) : m_host(host) {}
    virtual ~KeyFrameCommand() = default;

    /// Runs the command once on `context` (borrowed for the run). 1 when it changed the
    /// animation, else 0.
    int Execute(session::EditContext& context);

protected:
    /// The command itself, run inside the edit scope.
    virtual int Run(session::EditContext& context) = 0;
    /// The name of its step in the edit history (Edit menu).
    virtual const char* StepName() const = 0;
    /// What it may change (EditScope::Touch bits): the animation sets unless it says
    /// otherwise; 0 opens no scope.
    virtual unsigned Touches() const;

    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel or Yes/No question; true when it was answered OK or Yes.
    bool Confirm(const QString& text, const char* caption, unsigned style);

    IKeyFrameHost& m_host;
};

/// "アニメーションデータが存在しません。": every command but copy without a current set.
extern const char kNoAnimationDataMessage[];
