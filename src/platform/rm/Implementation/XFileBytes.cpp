#include "platform/rm/Implementation/XFileBytes.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rm {

namespace {

// Mappings being read, for the SIGBUS handler. A slot is claimed through `used`; `begin` is
// set last and cleared first, so the handler (on whichever thread faults) only ever sees
// whole ranges.
struct GuardSlot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> changed{false};
};
std::array<GuardSlot, 64> g_slots;
struct sigaction g_previous {};
std::uintptr_t g_pageSize = 4096;

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : g_slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        if (begin != 0 && address >= begin && address < slot.end.load()) {
            // The page went with a truncation: read zeros from here on and remember it.
            void* page = reinterpret_cast<void*>(address & ~(g_pageSize - 1));
            ::mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            slot.changed.store(true);
            return;
        }
    }
    // Not a mapping of ours: behave as if this handler were not there.
    if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
        g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        ::signal(SIGBUS, SIG_DFL); // the access faults again and the default action runs
    }
}

void InstallHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previous);
    });
}

int ClaimSlot(const char* data, std::size_t size) {
    InstallHandler();
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        GuardSlot& slot = g_slots[i];
        if (!slot.used.exchange(true, std::memory_order_acquire)) {
            slot.changed.store(false);
            slot.end.store(reinterpret_cast<std::uintptr_t>(data) + size);
            slot.begin.store(reinterpret_cast<std::uintptr_t>(data), std::memory_order_release);
            return int(i);
        }
    }
    return -1; // more parallel reads than slots: this one goes unguarded
}

std::int64_t Nanoseconds(const timespec& t) {
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

XFileIdentity IdentityOf(const struct stat& info) {
    XFileIdentity identity;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = std::uint64_t(info.st_size);
    identity.modified = Nanoseconds(info.st_mtim);
    identity.changed = Nanoseconds(info.st_ctim);
    return identity;
}

/// Opens a regular file; -1 with *message when that fails.
int OpenRegular(const char* fileName, struct stat* info, std::string* message) {
    const std::string name = fileName ? fileName : "(null)";
    if (!fileName || !*fileName) {
        *message = name + ": no file name given";
        return -1;
    }
    const int fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *message = name + ": cannot open the file (" + std::strerror(errno) + ")";
        return -1;
    }
    if (::fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {
        ::close(fd);
        *message = name + ": not a regular file";
        return -1;
    }
    return fd;
}

} // namespace

std::size_t ReadUpTo(int fd, char* out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, out + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += std::size_t(n);
    }
    return done;
}

XFileBytes::~XFileBytes() {
    Release();
}

void XFileBytes::Release() {
    if (m_guardSlot >= 0) {
        GuardSlot& slot = g_slots[std::size_t(m_guardSlot)];
        slot.begin.store(0);
        slot.used.store(false, std::memory_order_release);
        m_guardSlot = -1;
    }
    if (m_mappedSize) {
        ::munmap(const_cast<char*>(m_data), m_mappedSize);
    }
    m_buffer.reset();
    m_data = nullptr;
    m_size = m_mappedSize = 0;
}

HRESULT XFileBytes::Open(const char* fileName, std::size_t maxSize, std::string* message) {
    Release();
    struct stat info {};
    const int fd = OpenRegular(fileName, &info, message);
    if (fd < 0) {
        return D3DRMERR_FILENOTFOUND;
    }
    m_identity = IdentityOf(info);
    const auto size = std::size_t(info.st_size);
    if (size > maxSize) {
        ::close(fd);
        *message = std::string(fileName) + ": larger than " + std::to_string(maxSize) + " bytes";
        return D3DRMERR_BADFILE;
    }
    if (size <= kMaxReadSize) {
        // new char[] leaves the bytes uninitialised; a file that shrank meanwhile gives less.
        m_buffer.reset(new char[size ? size : 1]);
        const std::size_t done = ReadUpTo(fd, m_buffer.get(), size);
        ::close(fd);
        m_data = m_buffer.get();
        m_size = done;
        return D3DRM_OK;
    }
    // Populated at once: one call instead of a page fault per few pages while parsing.
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    const int mapError = errno;
    ::close(fd);
    if (data == MAP_FAILED) {
        *message =
            std::string(fileName) + ": cannot read the file (" + std::strerror(mapError) + ")";
        return mapError == ENOMEM ? D3DRMERR_BADALLOC : D3DRMERR_FILENOTFOUND;
    }
    ::madvise(data, size, MADV_SEQUENTIAL);
    m_data = static_cast<const char*>(data);
    m_size = m_mappedSize = size;
    m_guardSlot = ClaimSlot(m_data, m_size);
    return D3DRM_OK;
}

bool XFileBytes::Changed() const {
    return m_guardSlot >= 0 && g_slots[std::size_t(m_guardSlot)].changed.load();
}

HRESULT IdentifyXFile(const char* fileName, XFileIdentity* identity, std::string* message) {
    struct stat info {};
    const int fd = OpenRegular(fileName, &info, message);
    if (fd < 0) {
        return D3DRMERR_FILENOTFOUND;
    }
    ::close(fd);
    *identity = IdentityOf(info);
    return D3DRM_OK;
}

} // namespace rm
