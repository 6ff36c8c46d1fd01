#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "platform/rm/Frame.h"

namespace rm {

/// The frames of a tree in depth-first order (a parent before its children, children in
/// the order they were added) with their world matrices: what drawing walks, and what the
/// bones of a skinned mesh are looked up in. The buffers are kept between walks.
class FrameWalk {
public:
    using Entry = std::pair<const Frame*, Matrix4>;

    /// Walks root's tree afresh (root's own world matrix first). The frames are borrowed:
    /// the tree must not change while the walk is used.
    void Walk(const Frame* root);
    const std::vector<Entry>& Entries() const { return m_entries; }
    /// The world matrix of the first frame in the walk that answers to `name`; null for an
    /// empty name or when none does. A frame answers to its own name and to the alias the
    /// installed BoneNameAlias gives it (none without one).
    const Matrix4* Find(std::string_view name);

private:
    std::vector<Entry> m_entries;
    std::vector<Entry> m_stack;
    // (name, entry) sorted, filled on the first Find after a walk; a vector rather than a
    // hash map so that walking frame after frame allocates nothing.
    std::vector<std::pair<std::string_view, std::size_t>> m_byName;
    bool m_named = false;
};

} // namespace rm
