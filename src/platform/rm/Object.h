#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/NonCopyable.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Types.h"

namespace rm {

/// Base of every scene object: an intrusive reference count, a name, one word of
/// application data and a class name. Objects start with a count of 1 when made with
/// `new`; `MakeRef` and the factory hand that reference to a `Ref`.
class Object : private platform::NonCopyable {
public:
    Object() = default;
    virtual ~Object() = default;

    std::uint32_t AddRef() { return ++m_refCount; }
    /// Drops one reference; deletes the object at 0 and returns the new count.
    std::uint32_t Release();
    std::uint32_t RefCount() const { return m_refCount; }

    /// Sets the name; null and "" both mean no name. The bytes are kept as given.
    HRESULT SetName(const char* name);
    HRESULT SetName(std::string_view name);
    /// Size query and read: with a null buffer, *size becomes 0 for an unnamed object,
    /// else the name's length + 1. With a buffer, *size must be at least that (else
    /// D3DRMERR_BADVALUE and nothing is written); the name is copied with its terminator.
    HRESULT GetName(std::uint32_t* size, char* buffer) const;
    /// The name's bytes (empty when unnamed).
    const std::string& Name() const { return m_name; }
    bool HasName() const { return !m_name.empty(); }

    HRESULT SetAppData(std::uintptr_t data) {
        m_appData = data;
        return D3DRM_OK;
    }
    std::uintptr_t GetAppData() const { return m_appData; }

    /// "Frame", "Builder", "Mesh", "Material", "Texture", "Light", "Animation",
    /// "AnimationSet", "Viewport", "Device", "Face". Subclasses override ClassName().
    const char* GetClassName() const { return ClassName(); }
    /// Size-query form: with a null buffer *size becomes length + 1.
    HRESULT GetClassName(std::uint32_t* size, char* buffer) const;

    /// The identifier printed into working names ("%x"): unique among live objects.
    std::uintptr_t Id() const { return reinterpret_cast<std::uintptr_t>(this); }

protected:
    virtual const char* ClassName() const = 0;

private:
    std::uint32_t m_refCount = 1;
    std::string m_name;
    std::uintptr_t m_appData = 0;
};

} // namespace rm
