#pragma once

#include "commands/CommandResult.h"
#include "commands/ScaleFactors.h"
#include "platform/NonCopyable.h"

class IBatchCommandHost;

namespace session {
class EditContext;
} // namespace session

/// The model and animation batch commands of the main frame, one class for the family. They
/// all run the same way (Execute): without what they work on they say so under their caption;
/// they ask their question or run their dialog; then, inside one edit scope (EditScope) naming
/// what they may touch, they change the current model or animation set of the edit context
/// through the scene objects' own operations, show their completion message, refresh the
/// animation bar and mark the document modified, each as their recipe says. The commands do
/// not stop playback.
class BatchCommand : private platform::NonCopyable {
public:
    enum class Kind {
        /// "Change Model Scale" (32815): the model scale dialog gives three factors, limited
        /// away from zero (LimitScaleFactors); on OK the current model is scaled from its root
        /// frame (frame offsets and meshes) and, with the dialog's check box set, every
        /// position key of every set that moves the model too. Then "スケールの変更完了。" and
        /// the document is marked modified. Without a current model it only says so.
        ChangeModelScale,
        /// "Delete All Position Key" (32818): after a warning, every position key of every
        /// part at times from 0 on goes, so the animation no longer depends on the model's
        /// size. The key-time list is rebuilt.
        DeleteAllPositionKey,
        /// "Change All Position Key Scale" (32819): the position key scale dialog gives three
        /// factors, limited away from zero; on OK every position key of every part is
        /// multiplied by them component by component and the document is marked modified.
        ChangeAllPositionKeyScale,
        /// "Change Animation Pace" (32823): after a warning the key times are stretched so
        /// that the span from the first to the last key time doubles (the times themselves
        /// are doubled: ScaleToLength); playback at the same speed then takes twice as long. A
        /// set with fewer than two key times is left as it is, without a message.
        ChangeAnimationPace,
        /// "Skin On" (32829): after a Yes/No question the current model switches its morphing
        /// skin on for good (meshes instead of mesh builders, every part back to its rest
        /// orientation, the vertices that different parts share are welded). It cannot be
        /// taken back, and the edit history before it is forgotten; the document is marked
        /// modified, since the next save writes the meshes it made.
        SkinOn,
        /// "Reset Orientation" (32836): every part below the current model's root turns back
        /// to direction (0, 0, 1) and up (0, 1, 0) relative to its parent; positions and keys
        /// stay (the next posing of an animated part overrides the reset). No question, no
        /// message except the missing animation set's, which it shows under the skin
        /// command's caption.
        ResetOrientation,
        /// "Move First Key Time Zero" (32838): after a warning every key of every part moves
        /// by minus the first key time, so the animation starts at 0. The current time is not
        /// moved with the keys.
        MoveFirstKeyTimeZero,
        /// "Reverse Rotate, Position, Scale" (32839): after a warning, the current animation
        /// set is reversed in time (CAnimationData::ReverseKeyTimes): a key at t goes to
        /// first + last - t on every part and channel, so the motion plays backwards over the
        /// same key times.
        ReverseRotatePositionScale,
    };

    /// `host` is borrowed and must outlive the command.
    BatchCommand(IBatchCommandHost& host, Kind kind) : m_host(host), m_kind(kind) {}

    /// Runs the command once. Refused when what it needs is missing or its operation did
    /// nothing, Cancelled when its question or dialog was declined.
    /// `context` is borrowed for the run.
    CommandResult Execute(session::EditContext& context);

private:
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
    /// What the operation did: Failed stops without a message.
    enum class Outcome { Changed, Unchanged, Failed };
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
        /// The command's operation, inside the edit scope.
        Outcome (BatchCommand::*apply)(session::EditContext& context);
        /// Rebuild the key-time list and show the time after the operation.
        bool refreshKeys = false;
        bool markModified = false;
        /// Needs the current model ("モデルデータが存在しません。"), else the current
        /// animation set ("アニメーションデータが存在しません。").
        bool needsModel = false;
    };

    static const Recipe& RecipeOf(Kind kind);

    Outcome ScaleModel(session::EditContext& context);
    Outcome DeletePositionKeys(session::EditContext& context);
    Outcome ScalePositionKeys(session::EditContext& context);
    Outcome DoubleLength(session::EditContext& context);
    Outcome EnableSkin(session::EditContext& context);
    Outcome ResetOrientation(session::EditContext& context);
    Outcome MoveFirstKeyToZero(session::EditContext& context);
    Outcome Reverse(session::EditContext& context);

    /// The recipe's question or dialog; true when it was confirmed or left with OK.
    bool AskFirst(const Recipe& recipe);
    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel warning (style 49) or a Yes/No question (style 36); true when it was
    /// answered OK or Yes.
    bool Confirm(const char* text, const char* caption, unsigned style);

    IBatchCommandHost& m_host;
    Kind m_kind;
    /// What a scale dialog gave (Ask::ModelScaleDialog, Ask::PositionKeyScaleDialog).
    ScaleFactors m_factors;
    int m_scalePositionKeys = 0;
};
