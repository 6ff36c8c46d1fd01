#pragma once

#include "commands/CommandResult.h"

class IBatchCommandHost;

/// One model or animation batch command of the main frame. Execute is the command's only
/// entry point: it asks its questions through the host, changes the current model or
/// animation set (ProgramState.h) only through the scene objects' own operations, and
/// refreshes through the host, so a layer that records edits can wrap each command whole.
/// The commands do not stop playback.
class BatchCommand {
public:
    /// `host` is borrowed and must outlive the command.
    explicit BatchCommand(IBatchCommandHost& host) : m_host(host) {}
    virtual ~BatchCommand() = default;
    BatchCommand(const BatchCommand&) = delete;
    BatchCommand& operator=(const BatchCommand&) = delete;

    /// Runs the command once.
    virtual CommandResult Execute() = 0;

protected:
    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel warning (style 49) or a Yes/No question (style 36); true when it was
    /// answered OK or Yes.
    bool Confirm(const char* text, const char* caption, unsigned style);
    /// Without a current animation set: "アニメーションデータが存在しません。" under
    /// `caption` and true.
    bool ReportMissingAnimation(const char* caption);

    IBatchCommandHost& m_host;
};
