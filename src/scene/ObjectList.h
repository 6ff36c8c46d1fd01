#pragma once

#include "scene/ObjectListBase.h"
#include "scene/ObjectListEntry.h"

/// An owning, insertion-ordered, doubly linked list of T. The list allocates and frees
/// its elements (Add, Remove, Clear); nothing else frees them. Elements stay in the order
/// they were added. Used on the user-interface thread only. `EntryType` is the entry that
/// holds each T (NamedObjectList's entries carry a name as well).
template <typename T, typename EntryType = ObjectListEntry<T>>
class ObjectList : public ObjectListBase<EntryType> {
public:
    using Entry = EntryType;

    ObjectList() = default;
    /// Destroys every element, head first, while the whole list is still alive, so an
    /// element's destructor may add to or remove from this list.
    ~ObjectList() override { this->Clear(); }
};
