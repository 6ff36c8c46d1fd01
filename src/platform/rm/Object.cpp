#include "platform/rm/Object.h"

#include <cstring>

#include "platform/Assert.h"

namespace rm {

std::uint32_t Object::Release() {
    PAVRIX_ASSERT(m_refCount > 0, "Object::Release: released more often than referenced");
    const std::uint32_t count = --m_refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT Object::SetName(const char* name) {
    m_name = name ? name : "";
    return D3DRM_OK;
}

HRESULT Object::SetName(std::string_view name) {
    m_name.assign(name.data(), name.size());
    return D3DRM_OK;
}

namespace {
HRESULT CopyOut(std::string_view text, bool emptyIsZero, std::uint32_t* size, char* buffer) {
    if (!size) {
        return D3DRMERR_BADVALUE;
    }
    const std::uint32_t needed =
        (text.empty() && emptyIsZero) ? 0 : static_cast<std::uint32_t>(text.size() + 1);
    if (!buffer) {
        *size = needed;
        return D3DRM_OK;
    }
    if (needed == 0) {
        if (*size > 0) {
            buffer[0] = '\0';
        }
        *size = 0;
        return D3DRM_OK;
    }
    if (*size < needed) {
        return D3DRMERR_BADVALUE;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    *size = needed;
    return D3DRM_OK;
}
} // namespace

HRESULT Object::GetName(std::uint32_t* size, char* buffer) const {
    return CopyOut(m_name, true, size, buffer);
}

HRESULT Object::GetClassName(std::uint32_t* size, char* buffer) const {
    return CopyOut(GetClassName(), false, size, buffer);
}

} // namespace rm
