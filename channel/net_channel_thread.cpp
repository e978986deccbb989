#include "channel/net_channel_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "channel/net_channel_log.h"
#include "platform/envr.h"
#include "platform/local_time.h"

namespace hx {

namespace {

constexpr size_t kMaxFailureText = 512;

std::atomic<int> g_runningCount{0};

std::chrono::milliseconds PauseAfter(int result) {
    using std::chrono::milliseconds;
    return result < 0 ? milliseconds(10) : result > 0 ? milliseconds(5) : milliseconds(2);
}

}  // namespace

struct CChannelThread::stState {
    std::atomic<bool> running{true};
    std::atomic<bool> ended{false};
    std::mutex passMutex;  // held during a pass and an idle wait
    Pass pass;             // released by the loop as it ends
    IdleWait idleWait;
    // Wakes the pause between passes on a stop, and the stopper on the end.
    std::mutex signalMutex;
    std::condition_variable signal;

    void Pause(std::chrono::milliseconds pause) {
        std::unique_lock lock(signalMutex);
        signal.wait_for(lock, pause, [this] { return !running; });
    }
    void Set(std::atomic<bool>& flag, bool value) {
        {
            std::lock_guard lock(signalMutex);
            flag = value;
        }
        signal.notify_all();
    }
};

namespace {

int RunPass(const CChannelThread::Pass& pass) {
    try {
        return pass();
    } catch (const std::exception& error) {
        RecordWorkerFailure(error.what());
    } catch (...) {
        // Nothing to record without a text.
    }
    return -1;
}

}  // namespace

CChannelThread::CChannelThread(Pass pass, IdleWait idleWait)
    : m_state(std::make_shared<stState>()) {
    m_state->pass = std::move(pass);
    m_state->idleWait = std::move(idleWait);
    ++g_runningCount;
    std::thread([state = m_state] {
        while (state->running) {
            int result = 0;
            {
                std::lock_guard lock(state->passMutex);
                if (!state->running || !state->pass) {
                    break;
                }
                result = RunPass(state->pass);
            }
            state->Pause(PauseAfter(result));
            if (result == 0) {
                std::lock_guard lock(state->passMutex);
                if (state->running && state->idleWait) {
                    state->idleWait(kIdleWaitMs);
                }
            }
        }
        {
            // What the pass holds goes with the loop, whoever stopped it.
            std::lock_guard lock(state->passMutex);
            state->pass = nullptr;
            state->idleWait = nullptr;
        }
        state->running = false;
        --g_runningCount;
        state->Set(state->ended, true);
    }).detach();
}

CChannelThread::~CChannelThread() {
    if (!m_stopCalled) {
        Stop();
    }
}

bool CChannelThread::Stop(unsigned limitMs) {
    m_stopCalled = true;
    m_state->Set(m_state->running, false);
    std::unique_lock lock(m_state->signalMutex);
    if (m_state->signal.wait_for(lock, std::chrono::milliseconds(limitMs),
                                 [this] { return m_state->ended.load(); })) {
        return true;
    }
    WriteChannelLog("a worker pass did not end within %u ms; it is left to end by itself", limitMs);
    return false;
}

bool CChannelThread::IsRunning() const {
    return !m_state->ended;
}

int CChannelThread::GetRunningCount() {
    return g_runningCount;
}

void RecordWorkerFailure(const char* text) {
    std::string value(text != nullptr ? text : "");
    if (value.size() > kMaxFailureText) {
        size_t cut = kMaxFailureText;
        // Never split a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        value.resize(cut);
    }
    CEnvr().WriteString("Log", LocalTimeText(GetLocalTimeNow()).c_str(), value.c_str());
}

}  // namespace hx
