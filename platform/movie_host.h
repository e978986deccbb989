#pragma once
// The movie host: an embedded HTTP and WebSocket server on the loopback
// address that serves the customer screen's page and speaks with it. The page
// sends its commands as {"fscommand": NAME, "args": TEXT} frames on /ws; the
// kiosk's calls reach every connected page as {"invoke": REQUEST} frames.
// Files come from the web root and, under /skin/RoomImage/, from the room
// picture folder, and documents the kiosk makes on request; nothing else on
// the machine is reachable. Frames to a page
// wait in its own queue, so a page that stops reading delays no caller and
// no other page; when too much waits for it, it is dropped.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/page_frames.h"

namespace hx {

// Bytes of frames that may wait for one page; a page with more waiting has
// stopped reading and is dropped. A page that reads keeps up with the kiosk,
// and its connection's own buffers hold megabytes before anything waits here.
inline constexpr std::size_t kDefaultPageQueueBytes = 1024 * 1024;

// A document made afresh for each request (on one of the server's threads).
struct stMovieHostDocument {
    std::string contentType;
    std::function<std::string()> make;
};

struct stMovieHostSettings {
    std::uint16_t port = 8049;  // 0 takes any free port; GetPort() tells which
    std::filesystem::path webRoot;
    std::filesystem::path pictureFolder;  // served under /skin/RoomImage/
    // By path ("/screen-settings.json"); a document is served before a file
    // of the same path, never cached by the page.
    std::map<std::string, stMovieHostDocument> documents;
    std::size_t pageQueueBytes = kDefaultPageQueueBytes;
    // The longest a request may take to arrive, and a write to wait for a
    // page; a page that lets a write wait longer is dropped. An idle page is
    // never cut.
    std::chrono::milliseconds requestTimeout{10000};
};

// Pages connected at once; more are refused. Each keeps a server thread for
// as long as it is connected, and files must always find one free.
inline constexpr int kMaxPages = 16;

// Message boxes kept for the next page while none is connected; beyond this
// the oldest goes.
inline constexpr std::size_t kMaxWaitingMessageBoxes = 8;

class CMovieHost {
public:
    // Called on one of the server's threads, possibly on several at once.
    using CommandHandler = std::function<void(stPageCommand command)>;
    using LogSink = std::function<void(std::string_view line)>;

    CMovieHost();
    ~CMovieHost();  // stops the server
    CMovieHost(const CMovieHost&) = delete;
    CMovieHost& operator=(const CMovieHost&) = delete;

    // Both before Start. Without a log sink, lines go to stderr.
    void SetCommandHandler(CommandHandler handler);
    void SetLogSink(LogSink sink);

    // Listens on 127.0.0.1 at the settings' port. False (and logged) when the
    // port cannot be taken or the server is running already.
    bool Start(const stMovieHostSettings& settings);
    // Closes every page connection and waits for the server's threads.
    void Stop();
    bool IsRunning() const;
    // The port listened on; 0 when stopped.
    std::uint16_t GetPort() const;

    // Queues {"invoke": request} for every connected page, from any thread,
    // without waiting for any page; the number of pages it was queued for.
    int CallFunction(std::string_view request);
    // Shows a message box on every connected page, from any thread, without
    // waiting. When no page takes it the box waits for the next page that
    // connects, as a box on a screen would wait for someone to press OK. The
    // number of pages it was queued for now.
    int ShowMessageBox(std::string_view caption, std::string_view text);
    // Pages connected; a dropped page counts until its connection has ended.
    int GetPageCount() const;

private:
    class CServer;
    std::unique_ptr<CServer> m_server;
    CommandHandler m_handler;
    LogSink m_log;
};

}  // namespace hx
