#pragma once

// Intrusive smart pointer for reference-counted scene objects.

#include <cstddef>
#include <utility>

namespace rm {

/// Holds one reference to a counted object (AddRef on copy, Release on drop).
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    /// Takes a new reference to p.
    Ref(T* p) : m_p(p) {
        if (m_p) {
            m_p->AddRef();
        }
    }
    Ref(const Ref& other) : Ref(other.m_p) {}
    Ref(Ref&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.Get())) {}
    ~Ref() { Reset(); }

    Ref& operator=(const Ref& other) {
        Ref(other).Swap(*this);
        return *this;
    }
    Ref& operator=(Ref&& other) noexcept {
        Ref(std::move(other)).Swap(*this);
        return *this;
    }
    Ref& operator=(T* p) {
        Ref(p).Swap(*this);
        return *this;
    }

    /// Adopts p without adding a reference (for objects made with one reference).
    static Ref Adopt(T* p) {
        Ref r;
        r.m_p = p;
        return r;
    }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr)) {
            p->Release();
        }
    }
    void Swap(Ref& other) noexcept { std::swap(m_p, other.m_p); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    bool operator==(const Ref& other) const { return m_p == other.m_p; }
    bool operator==(const T* p) const { return m_p == p; }

private:
    T* m_p = nullptr;
};

/// Creates a T with one reference held by the returned Ref.
template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>::Adopt(new T(std::forward<Args>(args)...));
}

} // namespace rm
