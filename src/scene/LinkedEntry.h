#pragma once

#include "platform/NonCopyable.h"

template <typename Entry>
class ObjectListBase;

/// What every entry of an ObjectListBase holds: the payload, one T, and the two links to
/// its neighbours. `Entry` is the entry type that derives from this one, so the links lead
/// from entry to entry. Created and freed only by its list.
template <typename Entry, typename T>
class LinkedEntry : private platform::NonCopyable {
public:
    LinkedEntry() = default;

    T& Payload() { return m_payload; }
    const T& Payload() const { return m_payload; }
    /// Neighbours in insertion order (borrowed; null at the ends).
    Entry* Prev() const { return m_prev; }
    Entry* Next() const { return m_next; }

private:
    friend class ObjectListBase<Entry>;

    T m_payload{};
    Entry* m_prev = nullptr;
    Entry* m_next = nullptr;
};
