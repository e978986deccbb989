#include "kiosk/server/re_sender.h"

#include <algorithm>

#include "channel/net_channel.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"
#include "kiosk/server/server_exchange.h"
#include "kiosk/server/server_requests.h"
#include "kiosk/support/outside_text.h"
#include "platform/cp949.h"

namespace hx {

namespace {

// Delivered lines leave the file in batches: one rewrite per line would cost
// a long backlog its square; a crash meanwhile only repeats a batch.
constexpr size_t kRemoveBatch = 16;
constexpr size_t kResultOffset = 40;

}  // namespace

CReSender::CReSender(CNetChannel* channel, std::filesystem::path file, stHooks hooks)
    : m_channel(channel), m_file(std::move(file)), m_hooks(std::move(hooks)) {}

CReSender::~CReSender() {
    Stop();
}

void CReSender::Start() {
    if (m_thread.joinable()) {
        return;
    }
    m_running = true;
    m_finished = false;
    m_thread = std::thread([this] { Run(); });
}

void CReSender::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    std::unique_lock lock(m_lock);
    m_running = false;
    m_wake.notify_all();
    if (!m_finishedSignal.wait_for(lock, kStopLimit, [this] { return m_finished; })) {
        m_hooks.log("재전송 스레드 종료 지연.");
    }
    lock.unlock();
    // Its waits end with the running flag, so this is short; the thread uses
    // the channel, which must outlive it.
    m_thread.join();
}

void CReSender::QueueReplay() {
    Queue(JOB_REPLAY_AND_FOLLOW_UP);
}

CReSender::enumHandOver CReSender::HandOver(const stStepReport& report) {
    return HandOverLine(FormatResendLine(report));
}

CReSender::enumHandOver CReSender::HandOver(const stDeviceEvent& event) {
    return HandOverLine(FormatResendLine(event));
}

CReSender::enumHandOver CReSender::HandOver(const stMoneyReport& report) {
    return HandOverLine(FormatResendLine(report));
}

CReSender::enumHandOver CReSender::HandOverLine(const std::string& line) {
    if (m_channel == nullptr || line.empty()) {
        return HAND_OVER_REFUSED;
    }
    {
        const std::lock_guard lock(m_lock);
        if (!m_unwritten.empty() || !m_file.Append(line)) {
            m_hooks.log("재전송 파일 기록 실패: " + CutOutsideText(Utf8FromCp949(line)));
            m_unwritten.push_back(line);
        }
    }
    Queue(JOB_DELIVER);
    return m_channel->IsAlive() != 0 ? HANDED_SENDING : HANDED_KEPT;
}

// A job that waits already covers another of its kind, and a waiting replay
// delivers too.
void CReSender::Queue(enumJob job) {
    const std::lock_guard lock(m_lock);
    const bool covered = std::any_of(m_jobs.begin(), m_jobs.end(), [job](enumJob waiting) {
        return waiting == job || waiting == JOB_REPLAY_AND_FOLLOW_UP;
    });
    if (!covered) {
        m_jobs.push_back(job);
    }
    m_wake.notify_all();
}

void CReSender::Run() {
    enumJob job = JOB_DELIVER;
    while (TakeJob(job)) {
        if (job == JOB_REPLAY_AND_FOLLOW_UP) {
            FollowUpConnect();
        } else {
            DeliverAll();
        }
    }
    const std::lock_guard lock(m_lock);
    m_finished = true;
    m_finishedSignal.notify_all();
}

bool CReSender::TakeJob(enumJob& job) {
    std::unique_lock lock(m_lock);
    m_wake.wait(lock, [this] { return !m_running || !m_jobs.empty(); });
    if (!m_running) {
        return false;
    }
    job = m_jobs.front();
    m_jobs.pop_front();
    return true;
}

void CReSender::FollowUpConnect() {
    DeliverAll();
    if (!m_running) {
        return;
    }
    PostToMovie("InitRoomData");
    SendStartupNotice(m_channel);
    PostToMovie("ClearError");
}

void CReSender::PostToMovie(std::string_view command) const {
    if (m_hooks.postToMovie) {
        m_hooks.postToMovie(command);
    }
}

// One pass: the file's lines in order until one is not delivered; then the
// lines the file would not take.
void CReSender::DeliverAll() {
    KeepUnwrittenLines();
    if (!m_file.FlushAppends()) {
        m_hooks.log("재전송 파일 디스크 기록 실패: 정전 시 최근 보고를 잃을 수 있음.");
    }
    std::vector<std::string> delivered;
    bool stopped = false;
    for (const std::string& line : m_file.Lines()) {
        if (!DeliverLine(line)) {
            stopped = true;
            break;
        }
        delivered.push_back(line);
        if (delivered.size() == kRemoveBatch) {
            RemoveDelivered(delivered);
            delivered.clear();
        }
    }
    RemoveDelivered(delivered);
    if (!stopped) {
        DeliverUnwrittenLines();
    }
}

// True when the line is done with: delivered, or of a kind that can never be.
bool CReSender::DeliverLine(const std::string& line) {
    const std::optional<stResendReport> report = ParseResendLine(line);
    if (!report) {
        m_hooks.log("재전송 불가 줄 삭제: " + CutOutsideText(Utf8FromCp949(line)));
        return true;
    }
    return m_running && Deliver(*report);
}

bool CReSender::Deliver(const stResendReport& report) {
    switch (report.type) {
        case RESEND_STEP:
            return Acknowledged(CMD_STEP_REPORT, kStepReportSize,
                                [&](std::span<uint8_t> r) { return PackBody(report.step, r); });
        case RESEND_EVENT:
            return Acknowledged(CMD_DEVICE_EVENT, kDeviceEventSize,
                                [&](std::span<uint8_t> r) { return PackBody(report.event, r); });
        case RESEND_PAYOUT:
            if (!FloatReportAcknowledged()) {
                return false;
            }
            [[fallthrough]];
        case RESEND_CASH_IN:
            return Acknowledged(report.money.command, kMoneyReportSize,
                                [&](std::span<uint8_t> r) { return PackBody(report.money, r); });
        case RESEND_FLOAT:
            return FloatReportAcknowledged();
    }
    return false;
}

bool CReSender::FloatReportAcknowledged() {
    const stMoneyReport counts = m_hooks.floatReport ? m_hooks.floatReport() : stMoneyReport{};
    return Acknowledged(CMD_FLOAT_REPORT, kMoneyReportSize,
                        [&](std::span<uint8_t> r) { return PackBody(counts, r); });
}

// The answer must carry the report's own command: a late answer to another
// request, or a message of the server's own, acknowledges nothing.
bool CReSender::Acknowledged(uint32_t command, size_t size,
                             const std::function<bool(std::span<uint8_t>)>& fillBody) {
    const std::optional<std::vector<uint8_t>> answer =
        ExchangeRequest(m_channel, command, size, fillBody, kAcknowledgementSize, &m_running);
    return answer && LoadInt32(*answer, kResultOffset) > 0;
}

void CReSender::RemoveDelivered(const std::vector<std::string>& delivered) {
    if (!m_file.RemoveLeading(delivered)) {
        m_hooks.log("재전송 파일 정리 실패: 전달된 보고가 다시 전송될 수 있음.");
    }
}

// Lines that waited in memory go to the file once it takes them again.
void CReSender::KeepUnwrittenLines() {
    const std::lock_guard lock(m_lock);
    while (!m_unwritten.empty() && m_file.Append(m_unwritten.front())) {
        m_unwritten.pop_front();
    }
}

void CReSender::DeliverUnwrittenLines() {
    for (;;) {
        std::string line;
        {
            const std::lock_guard lock(m_lock);
            if (m_unwritten.empty()) {
                return;
            }
            line = m_unwritten.front();
        }
        if (!DeliverLine(line)) {
            return;
        }
        const std::lock_guard lock(m_lock);
        m_unwritten.pop_front();
    }
}

}  // namespace hx
