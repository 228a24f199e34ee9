// How the running copies of one executable reach each other: every listening
// instance owns a Unix domain socket in a folder of the user's own, named after a
// hash of the instance class name, so that two installations never meet. A
// hand-over travels as one frame (magic, sender's process id, byte count, the
// UTF-16 LE command line) and is answered with one little-endian 32-bit reply.
//
// The sending half is plain POSIX (it runs before the application object exists);
// the listening half reads its sockets with socket notifiers on the GUI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "text/WideTypes.h"

class QSocketNotifier;
class QTimer;

constexpr uint32_t HandOverFrameMagic = 0x314F4951; // "QIO1" in the stream
constexpr size_t HandOverHeaderBytes = 12;
// Frames announcing more are dropped unread.
constexpr uint32_t MaxHandOverBytes = 16u << 20;
// How long a sender waits for the reply: a hung instance must not hang every later start.
constexpr int HandOverReplyTimeoutMs = 10000;

// The socket folder for a class name: below $XDG_RUNTIME_DIR, else below the temporary
// folder with the user id in its name; with Create made with mode 0700 when missing (a
// sender only looks). Empty when the folder is missing, is a symbolic link, belongs to
// someone else or is open to others: then there is no hand-over at all.
std::string InstanceSocketFolder(const WideString& ClassName, bool Create = true);

// The frame of one hand-over.
std::string EncodeHandOverFrame(uint32_t ProcessId, WideStringView CommandLine);

enum class THandOverHeader { Incomplete, Bad, Complete };
// Reads the header at the start of Buffer: Bad for a wrong magic, an odd byte count or
// one above MaxHandOverBytes; Complete once the whole frame is there.
THandOverHeader DecodeHandOverHeader(const std::string& Buffer, uint32_t& ProcessId,
                                     uint32_t& ByteCount);

// Offers the frame to the listening instances of Folder, the oldest first. A socket
// that refuses the connection belongs to a dead instance: it is removed and the next
// one is tried. Returns the reply of the first instance that took the frame; nothing
// when there is none, it closed the connection or it did not answer within TimeoutMs.
std::optional<uint32_t> OfferHandOver(const std::string& Folder, const std::string& Frame,
                                      int TimeoutMs = HandOverReplyTimeoutMs);

// The listening half: one socket of this process in Folder, removed again when the
// listener goes. Each complete frame is passed to the handler on the GUI thread, one
// at a time; its result is the reply. Broken frames are dropped without a reply.
class TInstanceListener {
public:
    using THandler = std::function<uint32_t(uint32_t ProcessId, const WideString& CommandLine)>;
    TInstanceListener(const std::string& Folder, THandler Handler);
    ~TInstanceListener();
    TInstanceListener(const TInstanceListener&) = delete;
    TInstanceListener& operator=(const TInstanceListener&) = delete;

    bool Listening() const { return FFd >= 0; }
    const std::string& SocketPath() const { return FPath; }

private:
    struct Connection;
    void Accept();
    void Read(int Fd);
    void Drop(int Fd);
    void HandleReady();

    std::string FPath;
    THandler FHandler;
    int FFd = -1;
    std::unique_ptr<QSocketNotifier> FNotifier;
    std::map<int, std::unique_ptr<Connection>> FConnections;
    std::vector<int> FReady; // complete frames waiting for the handler, in arrival order
    bool FBusy = false;
};
