#include "platform/framework/CommandTarget.h"

#include "platform/Assert.h"

namespace framework {

CommandTarget::~CommandTarget() = default;

int CommandTarget::OnCmdMsg(CommandId id, Notification code) {
    const CommandEntry* entry = FindCommand(id, code);
    if (entry == nullptr) {
        return 0;
    }
    // A handler may add entries to this map (reallocating it), so run a copy.
    std::function<void(CommandId)> handler = entry->handler;
    handler(id);
    return 1;
}

int CommandTarget::OnUpdateCmdMsg(CCmdUI& ui) {
    const UpdateEntry* entry = FindUpdate(ui.GetId());
    if (entry == nullptr) {
        return 0;
    }
    std::function<void(CCmdUI&)> handler = entry->handler;
    handler(ui);
    return ui.IsContinueRouting() ? 0 : 1;
}

int CommandTarget::HasHandler(CommandId id, Notification code) const {
    return FindCommand(id, code) != nullptr ? 1 : 0;
}

int CommandTarget::HasUpdateHandler(CommandId id) const {
    return FindUpdate(id) != nullptr ? 1 : 0;
}

void CommandTarget::MapCommand(CommandId id, std::function<void()> handler) {
    PAVRIX_ASSERT(handler, "CommandTarget::MapCommand: empty handler");
    m_commands.push_back(
        {id, id, Notification::Clicked, [handler = std::move(handler)](CommandId) { handler(); }});
}

void CommandTarget::MapCommandRange(CommandId first, CommandId last,
                                    std::function<void(CommandId)> handler) {
    PAVRIX_ASSERT(handler && first <= last, "CommandTarget::MapCommandRange: bad entry");
    m_commands.push_back({first, last, Notification::Clicked, std::move(handler)});
}

void CommandTarget::MapNotify(CommandId id, Notification code, std::function<void()> handler) {
    PAVRIX_ASSERT(handler, "CommandTarget::MapNotify: empty handler");
    m_commands.push_back({id, id, code, [handler = std::move(handler)](CommandId) { handler(); }});
}

void CommandTarget::MapUpdate(CommandId id, std::function<void(CCmdUI&)> handler) {
    PAVRIX_ASSERT(handler, "CommandTarget::MapUpdate: empty handler");
    m_updates.push_back({id, id, std::move(handler)});
}

void CommandTarget::MapUpdateRange(CommandId first, CommandId last,
                                   std::function<void(CCmdUI&)> handler) {
    PAVRIX_ASSERT(handler && first <= last, "CommandTarget::MapUpdateRange: bad entry");
    m_updates.push_back({first, last, std::move(handler)});
}

const CommandTarget::CommandEntry* CommandTarget::FindCommand(CommandId id,
                                                              Notification code) const {
    for (const CommandEntry& entry : m_commands) {
        if (entry.code == code && id >= entry.first && id <= entry.last) {
            return &entry;
        }
    }
    return nullptr;
}

const CommandTarget::UpdateEntry* CommandTarget::FindUpdate(CommandId id) const {
    for (const UpdateEntry& entry : m_updates) {
        if (id >= entry.first && id <= entry.last) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace framework
