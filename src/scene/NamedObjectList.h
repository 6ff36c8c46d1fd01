#pragma once

#include <string_view>

#include "scene/NamedEntry.h"
#include "scene/ObjectList.h"

/// An owning, insertion-ordered, doubly linked list of named entries, each holding one T
/// (the payload). Add, AddNamed and Remove hand out and take the payload, not the entry.
/// Names are kept whole, of any length, as the bytes given. Used on the user-interface
/// thread only.
template <typename T>
class NamedObjectList : public ObjectList<T, NamedEntry<T>> {
public:
    using Entry = NamedEntry<T>;

    /// Clears as ObjectList does, while AddNamed is still there for an element's
    /// destructor to call.
    ~NamedObjectList() override { this->Clear(); }

    /// Add, then give the entry a copy of name when name is not null (a null name leaves
    /// the entry unnamed). Returns the payload.
    virtual T* AddNamed(const char* name) {
        T* payload = this->Add();
        if (name) {
            this->Tail()->m_name.emplace(name);
        }
        return payload;
    }

    /// The first entry whose name equals name byte for byte (case-sensitive), or null.
    /// Unnamed entries never match.
    Entry* FindEntryNamed(std::string_view name) const {
        for (Entry* entry = this->Head(); entry; entry = entry->Next()) {
            if (entry->m_name && *entry->m_name == name) {
                return entry;
            }
        }
        return nullptr;
    }
};
