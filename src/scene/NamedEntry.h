#pragma once

#include <optional>
#include <string>

#include "scene/LinkedEntry.h"

template <typename T>
class NamedObjectList;

/// One element of a NamedObjectList: the payload and the two links, and an owned name
/// (possibly absent).
template <typename T>
class NamedEntry : public LinkedEntry<NamedEntry<T>, T> {
public:
    /// The entry's name as given to AddNamed, or null when it has none. The text is owned
    /// by the entry and stays valid until the entry is removed.
    const char* Name() const { return m_name ? m_name->c_str() : nullptr; }

private:
    friend class NamedObjectList<T>;

    std::optional<std::string> m_name;
};
