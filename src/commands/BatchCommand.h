#pragma once

#include "commands/CommandResult.h"

class IBatchCommandHost;

/// One model or animation batch command of the main frame. They all run the same way
/// (Execute): without what they work on they say so under their caption; they ask their
/// question or run their dialog; then, inside one edit scope (EditScope) naming what they
/// may touch, they change the current model or animation set (ProgramState.h) through the
/// scene objects' own operations, show their completion message, refresh the animation bar
/// and mark the document modified, each as their Recipe says. The commands do not stop
/// playback.
class BatchCommand {
public:
    /// `host` is borrowed and must outlive the command.
    explicit BatchCommand(IBatchCommandHost& host) : m_host(host) {}
    virtual ~BatchCommand() = default;
    BatchCommand(const BatchCommand&) = delete;
    BatchCommand& operator=(const BatchCommand&) = delete;

    /// Runs the command once. Refused when what it needs is missing or its operation did
    /// nothing, Cancelled when its question or dialog was declined.
    CommandResult Execute();

protected:
    /// What sets one command's run apart from the others'.
    struct Recipe {
        const char* caption;
        /// The name of its step in the edit history (Edit menu).
        const char* stepName;
        /// What it may change (EditScope::Touch bits); 0 opens no scope.
        unsigned touches;
        /// Needs the current model ("モデルデータが存在しません。"), else the current
        /// animation set ("アニメーションデータが存在しません。").
        bool needsModel = false;
        /// The question asked first (none: null), and its message-box style.
        const char* question = nullptr;
        unsigned questionStyle = 0;
        /// The message shown after the operation (none: null).
        const char* done = nullptr;
        /// Rebuild the key-time list and show the time after the operation.
        bool refreshKeys = false;
        bool markModified = true;
    };
    /// What the operation did: Failed stops without a message.
    enum class Outcome { Changed, Unchanged, Failed };

    virtual const Recipe& GetRecipe() const = 0;
    /// The recipe's question (true when confirmed, or when there is none); commands with a
    /// dialog run it instead (true on OK).
    virtual bool Ask();
    /// The command's operation, inside the edit scope.
    virtual Outcome Apply() = 0;

    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel warning (style 49) or a Yes/No question (style 36); true when it was
    /// answered OK or Yes.
    bool Confirm(const char* text, const char* caption, unsigned style);

    IBatchCommandHost& m_host;
};
