#pragma once

#include <optional>
#include <string>

#include "platform/NonCopyable.h"

template <typename Entry>
class ObjectListBase;
template <typename T>
class NamedObjectList;

/// One element of a NamedObjectList: an owned name (possibly absent), the payload, then
/// the two links. Created and freed only by its list.
template <typename T>
class NamedEntry : private platform::NonCopyable {
public:
    NamedEntry() = default;

    /// The entry's name as given to AddNamed, or null when it has none. The text is owned
    /// by the entry and stays valid until the entry is removed.
    const char* Name() const { return m_name ? m_name->c_str() : nullptr; }
    T& Payload() { return m_payload; }
    const T& Payload() const { return m_payload; }
    /// Neighbours in insertion order (borrowed; null at the ends).
    NamedEntry* Prev() const { return m_prev; }
    NamedEntry* Next() const { return m_next; }

private:
    friend class ObjectListBase<NamedEntry>;
    friend class NamedObjectList<T>;

    std::optional<std::string> m_name;
    T m_payload{};
    NamedEntry* m_prev = nullptr;
    NamedEntry* m_next = nullptr;
};
