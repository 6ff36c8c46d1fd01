#pragma once

#include <new>

#include "scene/ObjectListBase.h"
#include "scene/ObjectListEntry.h"

/// An owning, insertion-ordered, doubly linked list of T. The list allocates and frees
/// its elements; nothing else frees them. Elements stay in the order they were added.
/// Used on the user-interface thread only.
template <typename T>
class ObjectList : public ObjectListBase<ObjectListEntry<T>> {
public:
    using Entry = ObjectListEntry<T>;

    ObjectList() = default;
    /// Destroys every element, head first, while the whole list is still alive, so an
    /// element's destructor may add to or remove from this list.
    ~ObjectList() override { this->Clear(); }

    /// Appends a default-constructed element and returns it (owned by the list), or null
    /// when memory runs out.
    virtual T* Add() {
        Entry* entry = nullptr;
        try {
            entry = new (std::nothrow) Entry;
        } catch (...) {
            // T's constructor failed; report it like an allocation failure.
            return nullptr;
        }
        if (!entry) {
            return nullptr;
        }
        this->Append(entry);
        return &entry->Value();
    }

    /// Removes and destroys the element (found by identity). Returns 0, changing nothing,
    /// for null or an element that is not in this list; else 1.
    virtual int Remove(const T* element) { return this->RemoveEntry(FindEntry(element)); }

    /// The entry holding element, or null (borrowed).
    Entry* FindEntry(const T* element) const {
        if (!element) {
            return nullptr;
        }
        for (Entry* entry = this->Head(); entry; entry = entry->Next()) {
            if (&entry->Value() == element) {
                return entry;
            }
        }
        return nullptr;
    }
};
