#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/NonCopyable.h"
#include "platform/rm/Types.h"

namespace rm {

/// What tells one state of a file from another: the same (device, inode) with the same
/// size, modification and status-change times is taken to hold the same bytes. Writing a
/// file moves its status-change time, which no program can set back.
struct XFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; ///< nanoseconds since the epoch
    std::int64_t changed = 0;  ///< nanoseconds since the epoch

    bool operator==(const XFileIdentity&) const = default;
};

/// The bytes of one regular file for one parse. A large file is mapped read-only: nothing is
/// copied into the process and nothing is zero-filled first; unmapped when the object goes.
/// A small one (kMaxReadSize or less), for which mapping and unmapping cost more than a
/// copy, is read into memory that is not initialised first.
///
/// A mapping can lose pages when another program truncates the file while it is read; the
/// read would then fault. Those pages are replaced by zero bytes instead and Changed()
/// turns true, so the reader can refuse what it read rather than crash.
class XFileBytes : private platform::NonCopyable {
public:
    static constexpr std::size_t kMaxReadSize = 64 * 1024;

    XFileBytes() = default;
    ~XFileBytes();

    /// Opens and maps the file. Results: D3DRM_OK; D3DRMERR_FILENOTFOUND when it cannot be
    /// opened or is not a regular file; D3DRMERR_BADFILE when it is larger than maxSize.
    /// On failure *message names the file and the problem.
    HRESULT Open(const char* fileName, std::size_t maxSize, std::string* message);

    std::string_view View() const { return {m_data, m_size}; }
    const XFileIdentity& Identity() const { return m_identity; }
    /// Pages of the file vanished while it was mapped: the bytes read are not the file's.
    bool Changed() const;

private:
    void Release();

    std::unique_ptr<char[]> m_buffer; // a small file's bytes
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mappedSize = 0;
    int m_guardSlot = -1;
    XFileIdentity m_identity;
};

/// Reads up to `size` bytes of the open file `fd` into `out`, retrying interrupted reads;
/// the count read (less at the end of the file or on an error).
std::size_t ReadUpTo(int fd, char* out, std::size_t size);

/// The identity of the named file as it is now. Failures as for XFileBytes::Open.
HRESULT IdentifyXFile(const char* fileName, XFileIdentity* identity, std::string* message);

} // namespace rm
