#include "xfile/SafeFileWriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
// Room left in a file name for the temporary file's prefix and suffix.
constexpr std::size_t kMaxBaseLength = 200;
constexpr int kCreateAttempts = 64;

ssize_t PosixWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char text[64];
    std::snprintf(text, sizeof text, "%x%x%llx", static_cast<unsigned>(::getpid()),
                  counter.fetch_add(1), ticks & 0xFFFFFFull);
    return text;
}

} // namespace

SafeFileWriter::SafeFileWriter() : m_write(PosixWrite) {}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

void SafeFileWriter::SetWriteFunction(WriteFunction write) {
    m_write = write ? std::move(write) : WriteFunction(PosixWrite);
}

void SafeFileWriter::Fail(const std::string& what, int error) {
    if (m_failed) {
        return;
    }
    m_failed = true;
    m_error = what + ": " + std::strerror(error);
}

bool SafeFileWriter::Open(const char* path) {
    Discard();
    m_failed = false;
    m_error.clear();
    m_used = 0;
    if (!path || !*path) {
        Fail("cannot save", ENOENT);
        return false;
    }
    m_targetPath = path;
    // Replacing a link with a regular file would cut it off from the file the user
    // meant, so the file it points to is the one replaced.
    struct stat st {};
    if (::lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path, nullptr)) {
            m_targetPath = resolved;
            std::free(resolved);
        }
    }
    int keepMode = -1;
    if (::stat(m_targetPath.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            Fail("cannot save " + m_targetPath, EISDIR);
            return false;
        }
        keepMode = static_cast<int>(st.st_mode & 07777);
    }

    const std::size_t slash = m_targetPath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : m_targetPath.substr(0, slash + 1);
    const std::string base =
        m_targetPath.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, kMaxBaseLength);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::string candidate = folder + "." + base + "." + UniqueSuffix() + ".tmp";
        // 0666 lets the umask decide, as for any new file; an existing file's mode is
        // copied below so replacing it does not change who may read it.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_tempPath = std::move(candidate);
            break;
        }
        if (errno != EEXIST) {
            Fail("cannot create a temporary file beside " + m_targetPath, errno);
            return false;
        }
    }
    if (m_fd < 0) {
        Fail("cannot create a temporary file beside " + m_targetPath, EEXIST);
        return false;
    }
    if (keepMode >= 0) {
        ::fchmod(m_fd, static_cast<mode_t>(keepMode));
    }
    m_buffer.resize(kBufferSize);
    return true;
}

bool SafeFileWriter::WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = m_write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("cannot write " + m_targetPath, errno);
            return false;
        }
        if (n == 0) {
            // A write that makes no progress would loop forever; the usual cause is a
            // full device.
            Fail("cannot write " + m_targetPath, ENOSPC);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool SafeFileWriter::FlushBuffer() {
    if (m_used == 0 || m_failed) {
        return !m_failed;
    }
    const bool ok = WriteAll(m_buffer.data(), m_used);
    m_used = 0;
    return ok;
}

void SafeFileWriter::Write(std::string_view text) {
    if (m_fd < 0 || m_failed) {
        return;
    }
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const auto* newline = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
        const char* stop = newline ? newline : end;
        while (p < stop) {
            if (m_used == m_buffer.size() && !FlushBuffer()) {
                return;
            }
            const std::size_t n = std::min(std::size_t(stop - p), m_buffer.size() - m_used);
            std::memcpy(m_buffer.data() + m_used, p, n);
            m_used += n;
            p += n;
        }
        if (newline) {
            if (m_buffer.size() - m_used < 2 && !FlushBuffer()) {
                return;
            }
            m_buffer[m_used++] = '\r';
            m_buffer[m_used++] = '\n';
            p = newline + 1;
        }
    }
}

bool SafeFileWriter::Commit() {
    if (m_fd < 0) {
        if (m_error.empty()) {
            m_error = "no file is open";
        }
        return false;
    }
    if (FlushBuffer() && ::fsync(m_fd) != 0) {
        Fail("cannot write " + m_targetPath + " to disk", errno);
    }
    // A failed close can be the first report of a lost write (network and quota-limited
    // file systems), so it counts like a failed write.
    if (::close(m_fd) != 0) {
        Fail("cannot close " + m_targetPath, errno);
    }
    m_fd = -1;
    if (!m_failed && ::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
        Fail("cannot replace " + m_targetPath, errno);
    }
    if (m_failed) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    m_tempPath.clear();
    // The rename itself reaches the disk with the folder's own entry; failing to sync it
    // leaves a complete file in place, so it is not reported.
    const std::size_t slash = m_targetPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : m_targetPath.substr(0, slash + 1);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void SafeFileWriter::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    m_used = 0;
}
