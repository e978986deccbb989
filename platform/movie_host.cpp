#include "platform/movie_host.h"

#include <civetweb.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/caseless_lookup.h"
#include "platform/confined_path.h"
#include "platform/page_origin.h"
#include "platform/page_outbox.h"

namespace hx {

namespace {

constexpr const char* kPagePath = "/ws";
constexpr std::string_view kPicturePrefix = "/skin/RoomImage/";
// A page keeps one worker busy for as long as it is connected; these are
// left for files however many pages are open.
constexpr int kFileWorkers = 8;
// How often a page's worker looks up from waiting for the page, to notice
// that the page was dropped. Idle pages are not cut by it.
constexpr const char* kPageWakeMs = "1000";

void WriteToStderr(std::string_view line) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace

// The running server. civetweb calls back into it on its own threads.
class CMovieHost::CServer {
public:
    CServer(const stMovieHostSettings& settings, CommandHandler handler, LogSink log)
        : m_settings(settings), m_handler(std::move(handler)), m_log(std::move(log)) {}
    ~CServer() { Stop(); }

    bool Start();
    void Stop();
    std::uint16_t Port() const { return m_port.load(); }
    int CallFunction(std::string_view request);
    int ShowMessageBox(std::string_view caption, std::string_view text);
    int PageCount() const;

    void Log(const std::string& line) const { m_log("화면 서버: " + line); }

private:
    // civetweb's callbacks; `server` is this object.
    static int OnLogMessage(const mg_connection* conn, const char* message);
    static int OnHttpRequest(mg_connection* conn, void* server);
    static int OnPageConnect(const mg_connection* conn, void* server);
    static void OnPageReady(mg_connection* conn, void* server);
    static int OnPageData(mg_connection* conn, int bits, char* data, std::size_t length,
                          void* server);
    static void OnPageClose(const mg_connection* conn, void* server);

    int ServeFile(mg_connection* conn);
    static int ServeDocument(mg_connection* conn, const stMovieHostDocument& document,
                             bool headOnly);
    // Keeps a place for the page, or refuses it (foreign origin, too many pages).
    bool ReservePage(const mg_connection* conn);
    void AddPage(mg_connection* conn);
    void ReadPageFrame(int bits, std::string_view payload);
    void RemovePage(const mg_connection* conn);
    // With m_pagesLock held: the frame queued for every page; the pages that took it.
    int QueueForPages(const std::string& frame);
    bool QueueForPage(CPageOutbox& page, const std::string& frame);
    int PageCountLocked() const;
    // On a page's writer thread.
    bool WriteToPage(mg_connection* page, const std::string& frame);
    stLookup LookUp(std::string_view uri) const;

    const stMovieHostSettings m_settings;
    const CommandHandler m_handler;
    const LogSink m_log;
    mg_context* m_context = nullptr;
    std::atomic<std::uint16_t> m_port{0};
    // Never held across a write to a page: queueing never waits.
    mutable std::mutex m_pagesLock;
    // Every page from its accepted handshake on; the outbox comes once it is connected.
    std::map<const mg_connection*, std::unique_ptr<CPageOutbox>> m_pages;
    std::deque<std::string> m_waitingBoxes;  // frames, while no page takes them
};

int CMovieHost::CServer::OnLogMessage(const mg_connection* conn, const char* message) {
    if (conn != nullptr && mg_get_user_context_data(conn) != nullptr) {
        static_cast<CServer*>(mg_get_user_context_data(conn))->Log(message);
    }
    return 1;
}

int CMovieHost::CServer::OnHttpRequest(mg_connection* conn, void* server) {
    return static_cast<CServer*>(server)->ServeFile(conn);
}

int CMovieHost::CServer::OnPageConnect(const mg_connection* conn, void* server) {
    return static_cast<CServer*>(server)->ReservePage(conn) ? 0 : 1;
}

void CMovieHost::CServer::OnPageReady(mg_connection* conn, void* server) {
    static_cast<CServer*>(server)->AddPage(conn);
}

int CMovieHost::CServer::OnPageData(mg_connection*, int bits, char* data, std::size_t length,
                                    void* server) {
    static_cast<CServer*>(server)->ReadPageFrame(bits, std::string_view(data, length));
    return 1;
}

void CMovieHost::CServer::OnPageClose(const mg_connection* conn, void* server) {
    static_cast<CServer*>(server)->RemovePage(conn);
}

bool CMovieHost::CServer::Start() {
    static std::once_flag libraryReady;
    std::call_once(libraryReady, [] { mg_init_library(0); });

    // Without its page the screen would stay blank: better not to start.
    const std::filesystem::path page = m_settings.webRoot / "index.html";
    std::error_code error;
    if (!std::filesystem::is_regular_file(page, error)) {
        Log("화면 파일 없음: " + page.string());
        return false;
    }
    const std::string ports = "127.0.0.1:" + std::to_string(m_settings.port);
    const std::string workers = std::to_string(kMaxPages + kFileWorkers);
    const std::string requestTimeout = std::to_string(m_settings.requestTimeout.count());
    // Keep-alive stays off (civetweb's default), so a file connection gives
    // its worker back after each request.
    const char* options[] = {"listening_ports",      ports.c_str(),        "num_threads",
                             workers.c_str(),        "request_timeout_ms", requestTimeout.c_str(),
                             "websocket_timeout_ms", kPageWakeMs,          nullptr};
    mg_callbacks callbacks{};
    callbacks.log_message = &OnLogMessage;
    // Note: civetweb sets SIGPIPE to be ignored for the whole process.
    m_context = mg_start(&callbacks, this, options);
    if (m_context == nullptr) {
        Log("포트를 열 수 없음: " + ports);
        return false;
    }
    mg_server_port listening{};
    if (mg_get_server_ports(m_context, 1, &listening) == 1) {
        m_port = static_cast<std::uint16_t>(listening.port);
    }
    mg_set_request_handler(m_context, "/", &OnHttpRequest, this);
    mg_set_websocket_handler(m_context, kPagePath, &OnPageConnect, &OnPageReady, &OnPageData,
                             &OnPageClose, this);
    Log("대기 시작: 127.0.0.1:" + std::to_string(m_port.load()));
    return true;
}

void CMovieHost::CServer::Stop() {
    if (m_context == nullptr) {
        return;
    }
    mg_stop(m_context);  // runs the close handler of every page
    m_context = nullptr;
    m_port = 0;
}

int CMovieHost::CServer::CallFunction(std::string_view request) {
    const std::string frame = BuildInvokeFrame(request);
    std::lock_guard lock(m_pagesLock);
    return QueueForPages(frame);
}

int CMovieHost::CServer::ShowMessageBox(std::string_view caption, std::string_view text) {
    std::string frame = BuildMessageBoxFrame(caption, text);
    std::lock_guard lock(m_pagesLock);
    const int reached = QueueForPages(frame);
    if (reached > 0) {
        return reached;
    }
    if (m_waitingBoxes.size() == kMaxWaitingMessageBoxes) {
        Log("화면을 기다리는 메시지 상자가 너무 많아 가장 오래된 것을 버림");
        m_waitingBoxes.pop_front();
    }
    m_waitingBoxes.push_back(std::move(frame));
    return 0;
}

int CMovieHost::CServer::QueueForPages(const std::string& frame) {
    int reached = 0;
    for (auto& [conn, page] : m_pages) {
        reached += page && QueueForPage(*page, frame) ? 1 : 0;
    }
    return reached;
}

bool CMovieHost::CServer::QueueForPage(CPageOutbox& page, const std::string& frame) {
    const enumQueued queued = page.Queue(frame);
    if (queued == enumQueued::Overflowed) {
        Log("화면이 받기를 멈춤: 보낼 데이터 " + std::to_string(m_settings.pageQueueBytes) +
            "바이트 초과, 연결을 끊음 (다시 연결 가능)");
    }
    return queued == enumQueued::Queued;
}

bool CMovieHost::CServer::WriteToPage(mg_connection* page, const std::string& frame) {
    // civetweb locks the connection for the frame, so its own replies to the
    // page cannot cut into it. A frame cut short leaves the page unable to
    // read what follows.
    const int written =
        mg_websocket_write(page, MG_WEBSOCKET_OPCODE_TEXT, frame.data(), frame.size());
    if (written > 0 && static_cast<std::size_t>(written) == frame.size()) {
        return true;
    }
    Log("화면에 프레임을 다 보내지 못해 연결을 끊음 (다시 연결 가능)");
    return false;
}

int CMovieHost::CServer::PageCount() const {
    std::lock_guard lock(m_pagesLock);
    return PageCountLocked();
}

int CMovieHost::CServer::PageCountLocked() const {
    int connected = 0;
    for (const auto& [conn, page] : m_pages) {
        connected += page ? 1 : 0;
    }
    return connected;
}

stLookup CMovieHost::CServer::LookUp(std::string_view uri) const {
    if (uri == "/") {
        return LookUpInside(m_settings.webRoot, "index.html");
    }
    if (uri.starts_with(kPicturePrefix)) {
        // The desk's picture names do not keep to one case.
        return LookUpInsideIgnoringCase(m_settings.pictureFolder,
                                        uri.substr(kPicturePrefix.size()));
    }
    if (uri.starts_with('/')) {
        return LookUpInside(m_settings.webRoot, uri.substr(1));
    }
    return {enumLookup::Refused, {}};
}

int CMovieHost::CServer::ServeFile(mg_connection* conn) {
    const mg_request_info* request = mg_get_request_info(conn);
    const std::string_view method = request->request_method;
    if (method != "GET" && method != "HEAD") {
        mg_send_http_error(conn, 405, "%s", "Method Not Allowed");
        return 405;
    }
    // The decoded path before civetweb tidies it, so that dot segments are
    // seen and refused rather than quietly resolved.
    const char* raw =
        request->local_uri_raw != nullptr ? request->local_uri_raw : request->local_uri;
    const std::string uri = raw != nullptr ? raw : "";
    if (const auto document = m_settings.documents.find(uri);
        document != m_settings.documents.end()) {
        return ServeDocument(conn, document->second, method == "HEAD");
    }
    const stLookup found = LookUp(uri);
    if (found.result == enumLookup::Refused) {
        Log("제공 폴더 밖의 요청 거부: " + uri);
    }
    if (found.result != enumLookup::Found) {
        mg_send_http_error(conn, 404, "%s", "Not Found");
        return 404;
    }
    mg_send_mime_file(conn, found.file.c_str(), nullptr);
    return 200;
}

int CMovieHost::CServer::ServeDocument(mg_connection* conn, const stMovieHostDocument& document,
                                       bool headOnly) {
    const std::string body = document.make();
    // civetweb's OK answer tells the page not to cache it.
    mg_send_http_ok(conn, document.contentType.c_str(), static_cast<long long>(body.size()));
    if (!headOnly) {
        mg_write(conn, body.data(), body.size());
    }
    return 200;
}

bool CMovieHost::CServer::ReservePage(const mg_connection* conn) {
    const char* origin = mg_get_header(conn, "Origin");
    if (!IsAllowedOrigin(origin, Port())) {
        Log(std::string("다른 출처의 화면 연결 거부: ") + origin);
        return false;
    }
    std::lock_guard lock(m_pagesLock);
    // Counted from here, not from the ready handler, so that pages shaking
    // hands at once cannot all slip in.
    if (m_pages.size() >= static_cast<std::size_t>(kMaxPages)) {
        Log("화면 연결 거부: 이미 " + std::to_string(kMaxPages) + "개 연결됨");
        return false;
    }
    m_pages.emplace(conn, nullptr);
    return true;
}

void CMovieHost::CServer::AddPage(mg_connection* conn) {
    auto page = std::make_unique<CPageOutbox>(
        m_settings.pageQueueBytes,
        [this, conn](const std::string& frame) { return WriteToPage(conn, frame); },
        // For a page's connection civetweb only raises a flag here; the
        // page's worker sees it when it next looks up (kPageWakeMs), ends
        // the connection and calls the close handler, which waits for this
        // thread. So nothing is closed under the worker's feet.
        [conn] { mg_close_connection(conn); });
    std::lock_guard lock(m_pagesLock);
    for (std::string& box : m_waitingBoxes) {
        page->Queue(std::move(box));
    }
    m_waitingBoxes.clear();
    m_pages[conn] = std::move(page);
    Log("화면 연결됨 (" + std::to_string(PageCountLocked()) + "개 연결)");
}

void CMovieHost::CServer::RemovePage(const mg_connection* conn) {
    std::unique_ptr<CPageOutbox> page;
    {
        std::lock_guard lock(m_pagesLock);
        const auto found = m_pages.find(conn);
        if (found == m_pages.end()) {
            return;
        }
        page = std::move(found->second);
        m_pages.erase(found);
        if (!page) {
            return;
        }
        Log("화면 연결 끊김 (" + std::to_string(PageCountLocked()) + "개 연결)");
    }
    // The connection stays valid until this handler returns: the writer
    // finishes with it first.
    page->Stop();
}

void CMovieHost::CServer::ReadPageFrame(int bits, std::string_view payload) {
    const int opcode = bits & 0x0f;
    if (opcode >= MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE) {
        return;  // close, ping and pong are civetweb's business
    }
    const bool whole = (bits & 0x80) != 0;
    if (opcode != MG_WEBSOCKET_OPCODE_TEXT || !whole) {
        Log("화면 프레임 버림: 완결된 텍스트 프레임만 읽음 (opcode " + std::to_string(opcode) +
            (whole ? ")" : ", 미완결)"));
        return;
    }
    std::string problem;
    std::optional<stPageCommand> command = ParsePageFrame(payload, problem);
    if (!command) {
        Log("화면 프레임 버림: " + std::to_string(payload.size()) + "바이트, " + problem);
        return;
    }
    if (!m_handler) {
        return;
    }
    try {
        m_handler(std::move(*command));
    } catch (const std::exception& failure) {
        // Nothing may unwind into civetweb's C code.
        Log(std::string("화면 명령 처리 실패: ") + failure.what());
    }
}

CMovieHost::CMovieHost() = default;

CMovieHost::~CMovieHost() {
    Stop();
}

void CMovieHost::SetCommandHandler(CommandHandler handler) {
    m_handler = std::move(handler);
}

void CMovieHost::SetLogSink(LogSink sink) {
    m_log = std::move(sink);
}

bool CMovieHost::Start(const stMovieHostSettings& settings) {
    const LogSink log = m_log ? m_log : LogSink(&WriteToStderr);
    if (m_server) {
        log("화면 서버: 이미 실행 중");
        return false;
    }
    auto server = std::make_unique<CServer>(settings, m_handler, log);
    if (!server->Start()) {
        return false;
    }
    m_server = std::move(server);
    return true;
}

void CMovieHost::Stop() {
    m_server.reset();
}

bool CMovieHost::IsRunning() const {
    return m_server != nullptr;
}

std::uint16_t CMovieHost::GetPort() const {
    return m_server ? m_server->Port() : 0;
}

int CMovieHost::CallFunction(std::string_view request) {
    return m_server ? m_server->CallFunction(request) : 0;
}

int CMovieHost::ShowMessageBox(std::string_view caption, std::string_view text) {
    return m_server ? m_server->ShowMessageBox(caption, text) : 0;
}

int CMovieHost::GetPageCount() const {
    return m_server ? m_server->PageCount() : 0;
}

}  // namespace hx
