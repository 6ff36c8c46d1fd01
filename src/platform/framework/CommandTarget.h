#pragma once

#include <functional>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CommandId.h"

namespace framework {

/// Something with a command map: the application, the document, a frame window, a view
/// or a dialog. The map is a list of entries filled by the class's constructor; a
/// lookup takes the first entry that matches, in the order the entries were added.
///
/// - command entries: an identifier (or a range) and a notification code → a handler;
/// - update entries: an identifier (or a range) → a handler that fills a `CCmdUI`.
///
/// Handlers capture `this`; the map lives and dies with its object. A handler may
/// destroy other objects but not the target it belongs to.
class CommandTarget : private platform::NonCopyable {
public:
    CommandTarget() = default;
    virtual ~CommandTarget();

    /// Runs the first entry for (id, code). Returns 1 when one ran, 0 when the map has
    /// none for it.
    virtual int OnCmdMsg(CommandId id, Notification code = Notification::Clicked);
    /// Runs the first update entry for ui.GetId(). Returns 1 when one ran and did not ask
    /// to continue routing, 0 otherwise.
    virtual int OnUpdateCmdMsg(CCmdUI& ui);

    /// 1 when the map has a command entry for (id, code).
    int HasHandler(CommandId id, Notification code = Notification::Clicked) const;
    /// 1 when the map has an update entry for id.
    int HasUpdateHandler(CommandId id) const;

protected:
    /// A command entry: `handler` runs when `id` reports `Clicked`.
    void MapCommand(CommandId id, std::function<void()> handler);
    /// A command entry for every identifier from `first` to `last` inclusive; the handler
    /// receives the identifier.
    void MapCommandRange(CommandId first, CommandId last, std::function<void(CommandId)> handler);
    /// A notification entry: `handler` runs when control `id` reports `code`.
    void MapNotify(CommandId id, Notification code, std::function<void()> handler);
    /// An update entry for `id`.
    void MapUpdate(CommandId id, std::function<void(CCmdUI&)> handler);
    /// An update entry for every identifier from `first` to `last` inclusive.
    void MapUpdateRange(CommandId first, CommandId last, std::function<void(CCmdUI&)> handler);

    /// Member-function forms, for maps written as tables in a constructor:
    /// `MapCommand(32793, &CMainFrame::OnStop)`.
    template <class T>
    void MapCommand(CommandId id, void (T::*handler)()) {
        T* self = static_cast<T*>(this);
        MapCommand(id, [self, handler] { (self->*handler)(); });
    }
    template <class T>
    void MapCommandRange(CommandId first, CommandId last, void (T::*handler)(CommandId)) {
        T* self = static_cast<T*>(this);
        MapCommandRange(first, last, [self, handler](CommandId id) { (self->*handler)(id); });
    }
    template <class T>
    void MapNotify(CommandId id, Notification code, void (T::*handler)()) {
        T* self = static_cast<T*>(this);
        MapNotify(id, code, [self, handler] { (self->*handler)(); });
    }
    template <class T>
    void MapUpdate(CommandId id, void (T::*handler)(CCmdUI&)) {
        T* self = static_cast<T*>(this);
        MapUpdate(id, [self, handler](CCmdUI& ui) { (self->*handler)(ui); });
    }
    template <class T>
    void MapUpdateRange(CommandId first, CommandId last, void (T::*handler)(CCmdUI&)) {
        T* self = static_cast<T*>(this);
        MapUpdateRange(first, last, [self, handler](CCmdUI& ui) { (self->*handler)(ui); });
    }

private:
    struct CommandEntry {
        CommandId first;
        CommandId last;
        Notification code;
        std::function<void(CommandId)> handler;
    };
    struct UpdateEntry {
        CommandId first;
        CommandId last;
        std::function<void(CCmdUI&)> handler;
    };

    const CommandEntry* FindCommand(CommandId id, Notification code) const;
    const UpdateEntry* FindUpdate(CommandId id) const;

    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
};

} // namespace framework
