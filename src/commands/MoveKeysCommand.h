#pragma once

#include <span>
#include <vector>

#include "commands/KeyEditCommand.h"
#include "commands/KeyRef.h"
#include "platform/rm/Types.h"

/// Moves chosen keys by a whole number of time units, all by the same amount, each in its
/// own animation and channel (rotation, scale or position). A key never lands on a key of
/// its channel that does not move with it, nor before time 0: the move is cut short to the
/// largest one that keeps clear (AllowedDelta), so a key stops before its neighbour. One
/// step of the edit history, "キーの移動".
class MoveKeysCommand : public KeyEditCommand {
public:
    /// `keys` name keys of the current animation set (identifiers not found are skipped).
    MoveKeysCommand(IKeyFrameHost& host, std::vector<KeyRef> keys, int delta)
        : KeyEditCommand(host), m_keys(std::move(keys)), m_delta(delta) {}

    /// The move of `keys` nearest to `delta` (same sign, not farther) that lands no key on
    /// a key of its channel outside `keys` and none before time 0; 0 when none does.
    static int AllowedDelta(std::span<const KeyRef> keys, int delta);
    /// The move Execute made (0 before, or when nothing could move).
    int MovedBy() const { return m_moved; }

protected:
    const char* StepName() const override { return QT_TRANSLATE_NOOP("Pavrix", "キーの移動"); }
    std::vector<rm::Animation*> Targets() const override;
    int Edit() override;

private:
    /// The keys of one animation that move, as they are before the move.
    struct Moving {
        rm::Animation* animation = nullptr;
        std::vector<rm::AnimationKey> keys;
    };
    static std::vector<Moving> Find(std::span<const KeyRef> keys);
    static int AllowedDelta(const std::vector<Moving>& moving, int delta);

    std::vector<KeyRef> m_keys;
    int m_delta;
    /// What Targets found: the moving keys and how far they may go.
    mutable std::vector<Moving> m_moving;
    mutable int m_allowed = 0;
    int m_moved = 0;
};
