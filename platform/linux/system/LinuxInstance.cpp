#include "LinuxInstance.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <gio/gunixsocketaddress.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "GRefPtr.h"
#include "UniqueFd.h"
#include "platform/Strings.h"

namespace platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// Made once per user; a folder of that name owned by someone else (or a link) is never used.
std::string RuntimeFolder() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (xdg && *xdg && ::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode)) return xdg;
    const std::string folder = "/tmp/vistrel-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return IsPrivateFolder(folder) ? folder : std::string{};
}

std::string FileStem(std::wstring_view name) {
    std::string stem = ToUtf8(name);
    for (char& c : stem)
        if (!g_ascii_isalnum(c) && c != '-' && c != '_' && c != '.') c = '_';
    return stem;
}

struct SharedLockState {
    std::string name;  // UTF-8, as it travels on the socket
    std::weak_ptr<std::function<void(std::wstring_view)>> handler;
    bool alive = true;
};

// One connection of a second start, read until its line is complete.
struct Reader {
    GRefPtr<GSocketConnection> connection;
    std::shared_ptr<SharedLockState> state;
    char buffer[256];
    gsize length = 0;
};

void FinishReader(Reader* reader, bool complete) {
    if (complete && reader->state->alive && std::string(reader->buffer, reader->length) == reader->state->name) {
        if (auto handler = reader->state->handler.lock()) {
            auto call = *handler;  // a copy: the handler may replace itself
            if (call) call(FromUtf8(reader->state->name));
        }
    }
    delete reader;
}

void ReadMore(Reader* reader);

void OnRead(GObject* stream, GAsyncResult* result, gpointer data) {
    auto* reader = static_cast<Reader*>(data);
    const gssize n = g_input_stream_read_finish(G_INPUT_STREAM(stream), result, nullptr);
    if (n < 0) return FinishReader(reader, false);
    if (n == 0) return FinishReader(reader, reader->length > 0);  // a last line without its newline
    const gsize before = reader->length;
    reader->length += gsize(n);
    if (void* newline = std::memchr(reader->buffer + before, '\n', gsize(n))) {
        reader->length = gsize(static_cast<char*>(newline) - reader->buffer);
        return FinishReader(reader, true);
    }
    if (reader->length == sizeof(reader->buffer)) return FinishReader(reader, false);
    ReadMore(reader);
}

void ReadMore(Reader* reader) {
    GInputStream* input = g_io_stream_get_input_stream(G_IO_STREAM(reader->connection.get()));
    g_input_stream_read_async(input, reader->buffer + reader->length, sizeof(reader->buffer) - reader->length,
                              G_PRIORITY_DEFAULT, nullptr, &OnRead, reader);
}

gboolean OnIncoming(GSocketService*, GSocketConnection* connection, GObject*, gpointer data) {
    auto* state = static_cast<std::shared_ptr<SharedLockState>*>(data);
    // A peer that connects and says nothing is dropped after a second.
    g_socket_set_timeout(g_socket_connection_get_socket(connection), 1);
    auto* reader = new Reader{RefGRef(connection), *state, {}, 0};
    ReadMore(reader);
    return TRUE;
}

void DeleteSharedState(gpointer data, GClosure*) { delete static_cast<std::shared_ptr<SharedLockState>*>(data); }

int MillisecondsLeft(SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left > 0 ? int(left) : 0;
}

}  // namespace

class LinuxInstance::Lock final : public IInstanceLock {
public:
    Lock(UniqueFd fd, std::shared_ptr<SharedLockState> state, const std::string& socketPath)
        : m_fd(std::move(fd)), m_state(std::move(state)) {
        if (m_fd && !socketPath.empty()) Listen(socketPath);
    }
    ~Lock() override {
        m_state->alive = false;
        if (m_service) {
            g_socket_service_stop(m_service.get());
            g_socket_listener_close(G_SOCKET_LISTENER(m_service.get()));
            m_service.reset();
            ::unlink(m_socketPath.c_str());
        }
        // m_fd closes last, so a new holder never finds our socket still there.
    }

private:
    void Listen(const std::string& socketPath) {
        if (socketPath.size() >= sizeof(sockaddr_un::sun_path)) return;
        // A socket left by a holder that died is ours to replace: we hold the lock now.
        ::unlink(socketPath.c_str());
        auto service = AdoptGRef(g_socket_service_new());
        auto address = AdoptGRef(g_unix_socket_address_new(socketPath.c_str()));
        GErrorPtr error;
        const bool listening =
            g_socket_listener_add_address(G_SOCKET_LISTENER(service.get()), address.get(), G_SOCKET_TYPE_STREAM,
                                          G_SOCKET_PROTOCOL_DEFAULT, nullptr, nullptr, OutPtr(error));
        if (!listening) {
            std::fprintf(stderr, "vistrel: cannot listen on %s: %s\n", socketPath.c_str(), error->message);
            return;
        }
        g_signal_connect_data(service.get(), "incoming", G_CALLBACK(&OnIncoming),
                              new std::shared_ptr<SharedLockState>(m_state), &DeleteSharedState, GConnectFlags(0));
        g_socket_service_start(service.get());
        m_service = std::move(service);
        m_socketPath = socketPath;
    }

    UniqueFd m_fd;
    std::shared_ptr<SharedLockState> m_state;
    GRefPtr<GSocketService> m_service;
    std::string m_socketPath;
};

LinuxInstance::LinuxInstance() : m_handler(std::make_shared<Handler>()) {}

std::string LinuxInstance::LockPath(std::wstring_view name) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? folder : folder + "/vistrel-" + FileStem(name) + ".lock";
}

std::string LinuxInstance::SocketPath(std::wstring_view name) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? folder : folder + "/vistrel-" + FileStem(name) + ".sock";
}

std::unique_ptr<IInstanceLock> LinuxInstance::AcquireSingleInstance(std::wstring_view name) {
    auto state = std::make_shared<SharedLockState>();
    state->name = ToUtf8(name);
    state->handler = m_handler;
    const std::string path = LockPath(name);
    UniqueFd fd(path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    int error = fd ? 0 : errno;
    if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) return nullptr;
        error = errno;
        fd.reset();
    }
    if (!fd) {
        // Only another holder may stop a start; a lock that cannot be made does not.
        std::fprintf(stderr, "vistrel: cannot make the single-instance lock %s: %s\n",
                     path.empty() ? "(no private runtime folder)" : path.c_str(), std::strerror(error));
        return std::make_unique<Lock>(UniqueFd{}, state, std::string{});
    }
    // The holder's process id, for whoever looks at the file.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd.get(), 0) == 0 && ::write(fd.get(), pid.data(), pid.size()) < 0) {
        // Only informative; the lock holds all the same.
    }
    return std::make_unique<Lock>(std::move(fd), state, SocketPath(name));
}

bool LinuxInstance::AnnounceToRunningInstance(std::wstring_view name) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kAnnounceTimeoutMs);
    const std::string path = SocketPath(name);
    if (path.empty() || path.size() >= sizeof(sockaddr_un::sun_path)) return false;
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // A full backlog answers EAGAIN at once rather than making us wait: try again until the deadline.
    while (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        if (errno == EINTR) continue;
        if (errno != EAGAIN) return false;
        if (MillisecondsLeft(deadline) == 0) return false;
        ::poll(nullptr, 0, std::min(10, MillisecondsLeft(deadline)));
    }
    const std::string line = ToUtf8(name) + "\n";
    size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::send(fd.get(), line.data() + written, line.size() - written, MSG_NOSIGNAL);
        if (n > 0) {
            written += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        pollfd p{fd.get(), POLLOUT, 0};
        const int left = MillisecondsLeft(deadline);
        if (left == 0 || ::poll(&p, 1, left) <= 0) return false;
    }
    return true;
}

void LinuxInstance::SetAnnouncementHandler(std::function<void(std::wstring_view name)> handler) {
    *m_handler = std::move(handler);
}

}  // namespace platform
