#pragma once

#include "platform/Assert.h"
#include "platform/NonCopyable.h"

// The linking, unlinking and cursor walk shared by ObjectList and NamedObjectList.

/// The payload type of an entry type Entry<T>, found without completing Entry<T>, so lists
/// of types that are only declared yet can be named.
template <typename Entry>
struct ObjectListPayload;
template <template <typename> class EntryTemplate, typename T>
struct ObjectListPayload<EntryTemplate<T>> {
    using Type = T;
};

/// An owning, insertion-ordered, doubly linked list of Entry objects (each Entry has
/// m_prev and m_next and names this class a friend). Entries are created only by Add
/// (which the named list's AddNamed calls) and freed only by RemoveEntry, Clear, Remove or
/// the destructor, each of which unlinks the entry before running its destructor, so an
/// element's destructor always sees a consistent list.
///
/// The cursor: BeginWalk() puts it on the head; WalkNext() hands out the entry under it
/// and moves it on first, so the entry handed out may be removed while it is processed and
/// the walk still visits every other entry exactly once. Each list has one cursor: walks
/// of one list must not be nested. Removing the entry the cursor rests on (the one the
/// walk will hand out next) moves the cursor on to that entry's successor, so a walk never
/// touches a freed entry.
template <typename Entry>
class ObjectListBase : private platform::NonCopyable {
public:
    using Payload = typename ObjectListPayload<Entry>::Type;

    ObjectListBase() = default;
    /// Destroys whatever elements are left, head first. The derived lists clear
    /// themselves in their own destructors, before this one runs, because an element's
    /// destructor may call their Add or Remove.
    virtual ~ObjectListBase() { Clear(); }

    /// Number of elements.
    int Count() const { return m_count; }
    /// First element, or null when the list is empty (borrowed).
    Entry* Head() const { return m_head; }
    /// Last element, or null when the list is empty (borrowed).
    Entry* Tail() const { return m_tail; }

    /// Appends an entry with a default-constructed payload and returns the payload (owned
    /// by the list; never null).
    virtual Payload* Add() {
        auto* entry = new Entry;
        Append(entry);
        return &entry->Payload();
    }

    /// Removes and destroys the entry holding payload (found by identity). Returns 0,
    /// changing nothing, for null or a payload that is not in this list; else 1.
    virtual int Remove(const Payload* payload) { return RemoveEntry(FindEntry(payload)); }

    /// The entry holding payload, or null (borrowed).
    Entry* FindEntry(const Payload* payload) const {
        if (!payload) {
            return nullptr;
        }
        for (Entry* entry = m_head; entry; entry = entry->m_next) {
            if (&entry->Payload() == payload) {
                return entry;
            }
        }
        return nullptr;
    }

    /// Unlinks, destroys and frees an entry of this list without searching for it.
    /// Returns 0 for null, else 1. Passing an entry of another list is a programmer error.
    int RemoveEntry(Entry* entry) {
        if (!entry) {
            return 0;
        }
        PAVRIX_ASSERT((entry->m_prev ? entry->m_prev->m_next == entry : m_head == entry),
                      "ObjectListBase::RemoveEntry: entry is not in this list");
        Unlink(entry);
        delete entry;
        return 1;
    }

    /// Removes every element from head to tail as RemoveEntry does; the list stays usable.
    void Clear() {
        while (m_head) {
            RemoveEntry(m_head);
        }
    }

    /// Starts a walk: the cursor goes to the head.
    void BeginWalk() { m_cursor = m_head; }
    /// The entry under the cursor (null at the end); the cursor moves on to its successor
    /// before the entry is returned.
    Entry* WalkNext() {
        Entry* entry = m_cursor;
        if (entry) {
            m_cursor = entry->m_next;
        }
        return entry;
    }
    /// The entry the next WalkNext will return (borrowed), or null.
    Entry* Cursor() const { return m_cursor; }

private:
    /// Takes ownership of entry and appends it after the tail.
    void Append(Entry* entry) {
        entry->m_prev = m_tail;
        entry->m_next = nullptr;
        if (m_tail) {
            m_tail->m_next = entry;
        } else {
            m_head = entry;
        }
        m_tail = entry;
        ++m_count;
    }

    void Unlink(Entry* entry) {
        if (entry->m_prev) {
            entry->m_prev->m_next = entry->m_next;
        }
        if (entry->m_next) {
            entry->m_next->m_prev = entry->m_prev;
        }
        if (m_head == entry) {
            m_head = entry->m_prev ? entry->m_prev : entry->m_next;
        }
        if (m_tail == entry) {
            m_tail = entry->m_next ? entry->m_next : entry->m_prev;
        }
        if (m_cursor == entry) {
            m_cursor = entry->m_next;
        }
        entry->m_prev = nullptr;
        entry->m_next = nullptr;
        --m_count;
    }

    int m_count = 0;
    Entry* m_head = nullptr;
    Entry* m_tail = nullptr;
    Entry* m_cursor = nullptr;
};
