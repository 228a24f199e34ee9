#include "desktop/InstanceSockets.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char SocketSuffix[] = ".sock";

void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

uint32_t getU32(const std::string& in, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(in[at + size_t(i)]);
    return v;
}

// FNV-1a over the UTF-8 of the name: short, stable and the same in every copy.
std::string hashName(const WideString& Name) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : U8(Name)) {
        h ^= c;
        h *= 0x100000001B3ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

// Ours, a real folder (no link) and closed to everybody else.
bool isPrivateFolder(const std::string& Path) {
    struct stat st {};
    if (lstat(Path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

bool fillAddress(const std::string& Path, sockaddr_un& Address) {
    std::memset(&Address, 0, sizeof Address);
    Address.sun_family = AF_UNIX;
    if (Path.size() >= sizeof Address.sun_path) return false;
    std::memcpy(Address.sun_path, Path.data(), Path.size());
    return true;
}

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point Deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Clock::now());
    return int(std::max<long long>(left.count(), 0));
}

// Waits for Events on Fd until the deadline; false on timeout or error.
bool waitFor(int Fd, short Events, Clock::time_point Deadline) {
    for (;;) {
        pollfd p{Fd, Events, 0};
        int r = poll(&p, 1, msLeft(Deadline));
        if (r > 0) return true;
        if (r == 0 || errno != EINTR) return false;
    }
}

std::vector<std::string> socketsOldestFirst(const std::string& Folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(Folder.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > sizeof SocketSuffix &&
                name.compare(name.size() - (sizeof SocketSuffix - 1), std::string::npos,
                             SocketSuffix) == 0)
                names.push_back(name);
        }
        closedir(d);
    }
    // Names start with the zero-padded start time, so they sort by age.
    std::sort(names.begin(), names.end());
    return names;
}

enum class TConnect { Connected, Stale, Failed };

TConnect connectTo(const std::string& Path, int& Fd) {
    sockaddr_un address;
    if (!fillAddress(Path, address)) return TConnect::Failed;
    Fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (Fd < 0) return TConnect::Failed;
    if (connect(Fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return TConnect::Connected;
    int err = errno;
    close(Fd);
    Fd = -1;
    if (err == ECONNREFUSED) {
        unlink(Path.c_str());
        return TConnect::Stale;
    }
    // Gone in the meantime: try the next one as well.
    return err == ENOENT ? TConnect::Stale : TConnect::Failed;
}

bool sendAll(int Fd, const std::string& Data, Clock::time_point Deadline) {
    size_t sent = 0;
    while (sent < Data.size()) {
        ssize_t n = send(Fd, Data.data() + sent, Data.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN && waitFor(Fd, POLLOUT, Deadline)) continue;
        return false;
    }
    return true;
}

std::optional<uint32_t> receiveReply(int Fd, Clock::time_point Deadline) {
    std::string reply;
    char buf[4];
    while (reply.size() < 4) {
        ssize_t n = recv(Fd, buf, 4 - reply.size(), 0);
        if (n > 0) {
            reply.append(buf, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN && waitFor(Fd, POLLIN, Deadline)) continue;
        return std::nullopt; // closed, failed or too late
    }
    return getU32(reply, 0);
}

std::string socketName() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    char name[64];
    std::snprintf(
        name, sizeof name, "%020lld-%d%s",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
        int(getpid()), SocketSuffix);
    return name;
}

} // namespace

std::string InstanceSocketFolder(const WideString& ClassName, bool Create) {
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        folder = std::string(runtime) + "/quorbel-" + hashName(ClassName);
    } else {
        const char* tmp = std::getenv("TMPDIR");
        folder = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/quorbel-" +
                 std::to_string(geteuid()) + "-" + hashName(ClassName);
    }
    if (Create && mkdir(folder.c_str(), 0700) == 0) chmod(folder.c_str(), 0700);
    return isPrivateFolder(folder) ? folder : std::string();
}

std::string EncodeHandOverFrame(uint32_t ProcessId, WideStringView CommandLine) {
    std::string frame;
    frame.reserve(HandOverHeaderBytes + 2 * CommandLine.size());
    putU32(frame, HandOverFrameMagic);
    putU32(frame, ProcessId);
    putU32(frame, uint32_t(2 * CommandLine.size()));
    for (WideChar c : CommandLine) {
        frame.push_back(char(c & 0xFF));
        frame.push_back(char(c >> 8));
    }
    return frame;
}

THandOverHeader DecodeHandOverHeader(const std::string& Buffer, uint32_t& ProcessId,
                                     uint32_t& ByteCount) {
    if (Buffer.size() < HandOverHeaderBytes) return THandOverHeader::Incomplete;
    if (getU32(Buffer, 0) != HandOverFrameMagic) return THandOverHeader::Bad;
    ProcessId = getU32(Buffer, 4);
    ByteCount = getU32(Buffer, 8);
    if (ByteCount % 2 != 0 || ByteCount > MaxHandOverBytes) return THandOverHeader::Bad;
    return Buffer.size() >= HandOverHeaderBytes + ByteCount ? THandOverHeader::Complete
                                                            : THandOverHeader::Incomplete;
}

std::optional<uint32_t> OfferHandOver(const std::string& Folder, const std::string& Frame,
                                      int TimeoutMs) {
    if (Folder.empty()) return std::nullopt;
    for (const std::string& name : socketsOldestFirst(Folder)) {
        int fd = -1;
        TConnect c = connectTo(Folder + "/" + name, fd);
        if (c == TConnect::Stale) continue;
        if (c == TConnect::Failed) return std::nullopt;
        Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs);
        std::optional<uint32_t> reply;
        if (sendAll(fd, Frame, deadline)) reply = receiveReply(fd, deadline);
        close(fd);
        return reply;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- listener

struct TInstanceListener::Connection {
    std::string Buffer;
    QSocketNotifier* Notifier = nullptr;
    QTimer* Deadline = nullptr;
};

TInstanceListener::TInstanceListener(const std::string& Folder, THandler Handler)
    : FHandler(std::move(Handler)) {
    if (Folder.empty()) return;
    // Bound under a private name and renamed once it listens: a sender never finds
    // a socket that refuses because it is not listening yet (and removes it as stale).
    std::string final = Folder + "/" + socketName();
    std::string temporary = Folder + "/start-" + std::to_string(getpid());
    sockaddr_un address;
    if (!fillAddress(final, address) || !fillAddress(temporary, address)) return;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    unlink(temporary.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 16) != 0 || rename(temporary.c_str(), final.c_str()) != 0) {
        unlink(temporary.c_str());
        close(fd);
        return;
    }
    FFd = fd;
    FPath = final;
    FNotifier = std::make_unique<QSocketNotifier>(FFd, QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, [this] { Accept(); });
}

TInstanceListener::~TInstanceListener() {
    while (!FConnections.empty())
        Drop(FConnections.begin()->first);
    FNotifier.reset();
    if (FFd >= 0) {
        close(FFd);
        unlink(FPath.c_str());
    }
}

void TInstanceListener::Accept() {
    for (;;) {
        int fd = accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        ucred peer{};
        socklen_t len = sizeof peer;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) != 0 || peer.uid != geteuid()) {
            close(fd);
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->Notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(c->Notifier, &QSocketNotifier::activated, [this, fd] { Read(fd); });
        // A sender that never finishes its frame is not waited for.
        c->Deadline = new QTimer;
        c->Deadline->setSingleShot(true);
        QObject::connect(c->Deadline, &QTimer::timeout, [this, fd] { Drop(fd); });
        c->Deadline->start(HandOverReplyTimeoutMs);
        FConnections[fd] = std::move(c);
    }
}

void TInstanceListener::Read(int Fd) {
    auto it = FConnections.find(Fd);
    if (it == FConnections.end()) return;
    Connection& c = *it->second;
    char buf[65536];
    for (;;) {
        ssize_t n = recv(Fd, buf, sizeof buf, 0);
        if (n > 0) {
            c.Buffer.append(buf, size_t(n));
            uint32_t pid = 0, bytes = 0;
            THandOverHeader h = DecodeHandOverHeader(c.Buffer, pid, bytes);
            if (h == THandOverHeader::Bad || c.Buffer.size() > HandOverHeaderBytes + bytes)
                return Drop(Fd);
            if (h == THandOverHeader::Complete) {
                c.Notifier->setEnabled(false);
                c.Deadline->stop();
                FReady.push_back(Fd);
                return HandleReady();
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        return Drop(Fd); // closed before the frame was complete
    }
}

void TInstanceListener::Drop(int Fd) {
    auto it = FConnections.find(Fd);
    if (it == FConnections.end()) return;
    it->second->Notifier->setEnabled(false);
    it->second->Notifier->deleteLater();
    it->second->Deadline->stop();
    it->second->Deadline->deleteLater();
    FConnections.erase(it);
    FReady.erase(std::remove(FReady.begin(), FReady.end(), Fd), FReady.end());
    close(Fd);
}

// One hand-over at a time: a handler that runs a message loop of its own (a message
// box) leaves later frames waiting until it has returned.
void TInstanceListener::HandleReady() {
    if (FBusy) return;
    while (!FReady.empty()) {
        int fd = FReady.front();
        FReady.erase(FReady.begin());
        // A sender that gave up waiting has gone on by itself: its start is not taken twice.
        char probe;
        if (recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
            Drop(fd);
            continue;
        }
        const std::string& frame = FConnections.at(fd)->Buffer;
        uint32_t pid = 0, bytes = 0;
        DecodeHandOverHeader(frame, pid, bytes);
        WideString commandLine(bytes / 2, u'\0');
        for (size_t i = 0; i < commandLine.size(); ++i)
            commandLine[i] = WideChar(uint8_t(frame[HandOverHeaderBytes + 2 * i]) |
                                      uint8_t(frame[HandOverHeaderBytes + 2 * i + 1]) << 8);
        FBusy = true;
        uint32_t reply = FHandler(pid, commandLine);
        FBusy = false;
        std::string answer;
        putU32(answer, reply);
        send(fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        Drop(fd);
    }
}
