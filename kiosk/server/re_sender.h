#pragma once
// The resend queue: a worker thread that delivers the reports the server
// must acknowledge (steps of a guest's visit, device events, cash-in and
// payout reports) in the order they were made, and that follows up every
// connect of the channel.
//
// A report is handed over by writing its line to the resend file on the
// caller's thread, so once the hand-over returns no crash or kill can lose
// it; the caller never waits for the disk. The thread first flushes the
// file to disk (from then on a power cut cannot lose the line either), then
// delivers the file's lines one by one,
// each on a request client of its own, and takes a line out only when the
// server acknowledged it; the first line that is not delivered stops the
// pass, and it and all after it wait, in order, for the next pass. A pass
// runs after every hand-over and after every connect; after a connect's pass
// the customer screen gets "InitRoomData", the server the start-up notice
// (11220) and the screen "ClearError". The thread waits on a condition when
// idle, and any wait for an answer ends as soon as the queue is stopped.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "kiosk/records/report_records.h"
#include "kiosk/server/resend_file.h"
#include "kiosk/server/resend_line.h"
#include "kiosk/support/daily_log.h"

namespace hx {

class CNetChannel;

class CReSender {
public:
    using LogSink = std::function<void(std::string_view utf8Line)>;

    struct stHooks {
        // The float report of the counts now (sent before every payout report).
        std::function<stMoneyReport()> floatReport;
        // Hands a call of the customer screen (empty argument) to the user
        // interface thread.
        std::function<void(std::string_view command)> postToMovie;
        LogSink log = HXKioskLog;
    };

    enum enumHandOver {
        HANDED_SENDING,     // kept, and the link is up: it goes out now
        HANDED_KEPT,        // kept until the link is up again
        HAND_OVER_REFUSED,  // no channel: nothing is sent or kept
    };

    static constexpr std::chrono::milliseconds kStopLimit{3000};
    // An answer shorter than this, or with a result of 0 or below at offset
    // 40, does not acknowledge its report.
    static constexpr size_t kAcknowledgementSize = 104;

    CReSender(CNetChannel* channel, std::filesystem::path file, stHooks hooks);
    ~CReSender();
    CReSender(const CReSender&) = delete;
    CReSender& operator=(const CReSender&) = delete;

    void Start();
    // Ends the thread; a pass in progress stops at its current report, which
    // stays in the file.
    void Stop();

    // A pass over the file and the follow-up of a connect.
    void QueueReplay();
    enumHandOver HandOver(const stStepReport& report);
    enumHandOver HandOver(const stDeviceEvent& event);
    // A cash-in or a payout report.
    enumHandOver HandOver(const stMoneyReport& report);

private:
    enum enumJob { JOB_DELIVER, JOB_REPLAY_AND_FOLLOW_UP };

    enumHandOver HandOverLine(const std::string& line);
    void Queue(enumJob job);
    void Run();
    bool TakeJob(enumJob& job);
    void FollowUpConnect();
    void PostToMovie(std::string_view command) const;
    void DeliverAll();
    bool DeliverLine(const std::string& line);
    bool Deliver(const stResendReport& report);
    bool Acknowledged(uint32_t command, size_t size,
                      const std::function<bool(std::span<uint8_t>)>& fillBody);
    bool FloatReportAcknowledged();
    void RemoveDelivered(const std::vector<std::string>& delivered);
    void KeepUnwrittenLines();
    void DeliverUnwrittenLines();

    CNetChannel* const m_channel;
    CReSendFile m_file;
    const stHooks m_hooks;
    std::atomic<bool> m_running{false};
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<enumJob> m_jobs;
    // Lines the file would not take (a failing disk), delivered from memory
    // until it does; while any wait here, new lines join them, in order.
    std::deque<std::string> m_unwritten;
    bool m_finished = true;
    std::condition_variable m_finishedSignal;
    std::thread m_thread;
};

}  // namespace hx
