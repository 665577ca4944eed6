#include "PosixFiles.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Strings.h"

namespace platform {
namespace {

// A wide path with an embedded NUL would be cut short by the C calls and name another file.
std::optional<std::string> NativePath(const std::wstring& path) {
    std::string native = ToUtf8(path);
    if (native.empty() || native.find('\0') != std::string::npos) return std::nullopt;
    return native;
}

bool StatIs(const std::wstring& path, mode_t type) {
    auto native = NativePath(path);
    struct stat info {};
    return native && ::stat(native->c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int get() const { return m_fd; }
    // close() can report a write that failed late (NFS, quota), so its result matters.
    bool Close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return true;
}

// The temporary sits in the target's own folder so that rename() stays on one file system
// and replaces the target in one step. Hidden, and unique per process and call, so that two
// writers never share one.
std::string TemporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> s_counter{0};
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++);
}

}  // namespace

bool PosixFiles::FileExists(const std::wstring& path) { return StatIs(path, S_IFREG); }

bool PosixFiles::DirectoryExists(const std::wstring& path) { return StatIs(path, S_IFDIR); }

bool PosixFiles::CreateDirectory(const std::wstring& path) {
    auto native = NativePath(path);
    return native && ::mkdir(native->c_str(), 0777) == 0;
}

bool PosixFiles::CreateNewFile(const std::wstring& path) {
    auto native = NativePath(path);
    if (!native) return false;
    Fd fd(::open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    return fd.get() >= 0 && fd.Close();
}

bool PosixFiles::WriteFile(const std::wstring& path, std::span<const uint8_t> bytes) {
    auto native = NativePath(path);
    if (!native) return false;

    std::string temporary;
    int raw = -1;
    for (int attempt = 0; attempt < 8 && raw < 0; ++attempt) {
        temporary = TemporaryNameFor(*native);
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST) return false;
    }
    if (raw < 0) return false;
    Fd fd(raw);

    // fsync before rename: otherwise a crash shortly after can leave the new name with no data,
    // and the old content is gone too.
    bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    written = fd.Close() && written;
    if (!written || ::rename(temporary.c_str(), native->c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool PosixFiles::AppendFile(const std::wstring& path, std::span<const uint8_t> bytes, bool truncate) {
    auto native = NativePath(path);
    if (!native) return false;
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND);
    Fd fd(::open(native->c_str(), flags, 0666));
    if (fd.get() < 0) return false;
    bool written = WriteAll(fd.get(), bytes);
    return fd.Close() && written;
}

std::optional<std::vector<uint8_t>> PosixFiles::ReadFile(const std::wstring& path) {
    auto native = NativePath(path);
    if (!native) return std::nullopt;
    Fd fd(::open(native->c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

    std::vector<uint8_t> content;
    content.reserve(static_cast<size_t>(info.st_size));
    uint8_t chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    return content;
}

bool PosixFiles::DeleteFile(const std::wstring& path) {
    auto native = NativePath(path);
    struct stat info {};
    if (!native || ::lstat(native->c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return ::unlink(native->c_str()) == 0;
}

}  // namespace platform
