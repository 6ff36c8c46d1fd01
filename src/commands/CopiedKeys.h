#pragma once

#include <cstdint>
#include <vector>

#include "platform/rm/Frame.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Types.h"

/// Keys copied from the timeline for a later paste: each key's part, type and value, and
/// its time as an offset from the earliest copied key, so a paste keeps their spacing.
/// Holds its parts (references), never their animations: a paste finds the animation that
/// drives each part then.
struct CopiedKeys {
    struct Entry {
        rm::Ref<rm::Frame> part;
        /// The key with its time made an offset (>= 0) from the earliest copied one.
        rm::AnimationKey key;
    };
    std::vector<Entry> entries;

    bool Empty() const { return entries.empty(); }
    /// Whether every copied key belongs to one part.
    bool OnePart() const {
        for (const Entry& entry : entries) {
            if (entry.part.Get() != entries.front().part.Get()) {
                return false;
            }
        }
        return !entries.empty();
    }
};
