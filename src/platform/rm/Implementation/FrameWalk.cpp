#include "platform/rm/Implementation/FrameWalk.h"

#include <algorithm>

#include "platform/rm/BoneNameAlias.h"
#include "platform/rm/Math.h"

namespace rm {

void FrameWalk::Walk(const Frame* root) {
    m_entries.clear();
    m_stack.clear();
    m_byName.clear();
    m_named = false;
    if (!root) {
        return;
    }
    m_stack.emplace_back(root, root->WorldTransform());
    while (!m_stack.empty()) {
        const auto [frame, world] = m_stack.back();
        m_stack.pop_back();
        m_entries.emplace_back(frame, world);
        const auto& children = frame->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            m_stack.emplace_back(it->Get(), MatrixMultiply((*it)->LocalTransform(), world));
        }
    }
}

const Matrix4* FrameWalk::Find(std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    if (!m_named) {
        const BoneNameAlias alias = GetBoneNameAlias();
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const std::string_view own = m_entries[i].first->Name();
            if (own.empty()) {
                continue;
            }
            m_byName.emplace_back(own, i);
            if (const std::string_view other = alias != nullptr ? alias(own) : std::string_view();
                !other.empty()) {
                m_byName.emplace_back(other, i);
            }
        }
        // Equal names stay in walk order: the first found is the first in the walk.
        std::sort(m_byName.begin(), m_byName.end());
        m_named = true;
    }
    const auto it = std::lower_bound(m_byName.begin(), m_byName.end(),
                                     std::pair<std::string_view, std::size_t>(name, 0));
    return it == m_byName.end() || it->first != name ? nullptr : &m_entries[it->second].second;
}

} // namespace rm
