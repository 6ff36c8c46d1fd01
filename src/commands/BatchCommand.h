#pragma once

#include "commands/CommandResult.h"
#include "commands/ScaleFactors.h"
#include "platform/NonCopyable.h"

class IBatchCommandHost;

namespace session {
class EditContext;
} // namespace session

/// One model or animation batch command of the main frame. They all run the same way
/// (Execute): without what they work on they say so under their caption; they ask their
/// question or run their dialog; then, inside one edit scope (EditScope) naming what they
/// may touch, they change the current model or animation set of the edit context through the
/// scene objects' own operations, show their completion message, refresh the animation bar
/// and mark the document modified, each as their Recipe says. The commands do not stop
/// playback.
class BatchCommand : private platform::NonCopyable {
public:
    /// `host` is borrowed and must outlive the command.
    explicit BatchCommand(IBatchCommandHost& host) : m_host(host) {}
    virtual ~BatchCommand() = default;

    /// Runs the command once. Refused when what it needs is missing or its operation did
    /// nothing, Cancelled when its question or dialog was declined.
    /// `context` is borrowed for the run.
    CommandResult Execute(session::EditContext& context);

protected:
    /// What a command asks before it acts.
    enum class Ask {
        Nothing,
        /// The recipe's question, an OK/Cancel warning (style 49).
        Warning,
        /// The recipe's question, a Yes/No question (style 36).
        YesNo,
        /// The model scale dialog: m_factors and m_scalePositionKeys.
        ModelScaleDialog,
        /// The position key scale dialog: m_factors.
        PositionKeyScaleDialog,
    };
    /// What sets one command's run apart from the others'.
    struct Recipe {
        const char* caption;
        /// The name of its step in the edit history (Edit menu).
        const char* stepName;
        /// What it may change (EditScope::Touch bits); 0 opens no scope.
        unsigned touches;
        Ask ask;
        /// The question for Ask::Warning and Ask::YesNo.
        const char* question;
        /// The message shown after the operation (none: null).
        const char* done;
        /// Rebuild the key-time list and show the time after the operation.
        bool refreshKeys;
        bool markModified;
        /// Needs the current model ("モデルデータが存在しません。"), else the current
        /// animation set ("アニメーションデータが存在しません。").
        bool needsModel = false;
    };
    /// What the operation did: Failed stops without a message.
    enum class Outcome { Changed, Unchanged, Failed };

    virtual const Recipe& GetRecipe() const = 0;
    /// The command's operation, inside the edit scope.
    virtual Outcome Apply(session::EditContext& context) = 0;

    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel warning (style 49) or a Yes/No question (style 36); true when it was
    /// answered OK or Yes.
    bool Confirm(const char* text, const char* caption, unsigned style);

    IBatchCommandHost& m_host;
    /// What a scale dialog gave (Ask::ModelScaleDialog, Ask::PositionKeyScaleDialog).
    ScaleFactors m_factors;
    int m_scalePositionKeys = 0;

private:
    /// The recipe's question or dialog; true when it was confirmed or left with OK.
    bool AskFirst(const Recipe& recipe);
};
