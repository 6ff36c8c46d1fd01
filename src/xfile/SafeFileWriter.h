#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

#include "platform/NonCopyable.h"

/// A buffered text writer that replaces a file only once the new contents are safely on
/// disk. `Open` creates a temporary file beside the target (same directory, unique name);
/// `Write` buffers text and turns every line feed into carriage return + line feed, so the
/// bytes on disk are the same on every platform; `Commit` flushes, syncs and closes the
/// temporary file and renames it over the target. When any step fails, or the writer is
/// destroyed or `Discard`ed before `Commit`, the temporary file is removed and the target
/// is left exactly as it was.
///
/// The first failure is remembered: later writes do nothing and `Commit` reports it.
class SafeFileWriter : private platform::NonCopyable {
public:
    /// Writes up to `size` bytes to `fd`; returns the count written or -1 with errno set,
    /// like POSIX write. Replaceable so tests can simulate a full disk.
    using WriteFunction = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

    SafeFileWriter();
    ~SafeFileWriter();

    /// Replaces the function the bytes are written with; an empty function restores POSIX
    /// write.
    void SetWriteFunction(WriteFunction write);

    /// Starts a new file that will replace `path` (a symbolic link is followed, so its
    /// target is replaced). Discards any file still open. Returns false, with `Error()` set,
    /// when the temporary file cannot be created (directory missing or not writable).
    bool Open(const char* path);
    bool IsOpen() const { return m_fd >= 0; }

    /// Appends text; "\n" becomes "\r\n". Does nothing when no file is open or after a
    /// failure.
    void Write(std::string_view text);

    /// Flushes, syncs to disk, closes and renames the temporary file over the target.
    /// True when the target now holds everything written; false (temporary file removed,
    /// target untouched, `Error()` set) when anything failed or no file was open.
    bool Commit();
    /// Closes and removes the temporary file without touching the target.
    void Discard();

    /// What went wrong, naming the file and the system's reason; empty after success.
    const std::string& Error() const { return m_error; }
    /// The temporary file being written (empty when none is open).
    const std::string& TemporaryPath() const { return m_tempPath; }

private:
    bool FlushBuffer();
    bool WriteAll(const char* data, std::size_t size);
    void Fail(const std::string& what, int error);

    WriteFunction m_write;
    int m_fd = -1;
    bool m_failed = false;
    std::string m_targetPath;
    std::string m_tempPath;
    std::string m_error;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};
