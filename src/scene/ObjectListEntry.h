#pragma once

#include "platform/NonCopyable.h"

template <typename Entry>
class ObjectListBase;

/// One element of an ObjectList: the element's own data, then the two links. Created and
/// freed only by its list.
template <typename T>
class ObjectListEntry : private platform::NonCopyable {
public:
    ObjectListEntry() = default;

    T& Payload() { return m_value; }
    const T& Payload() const { return m_value; }
    /// Neighbours in insertion order (borrowed; null at the ends).
    ObjectListEntry* Prev() const { return m_prev; }
    ObjectListEntry* Next() const { return m_next; }

private:
    friend class ObjectListBase<ObjectListEntry>;

    T m_value{};
    ObjectListEntry* m_prev = nullptr;
    ObjectListEntry* m_next = nullptr;
};
