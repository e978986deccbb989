#include "channel/net_channel_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <thread>

#include "channel/testing_framework_key.h"
#include "platform/envr.h"
#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

class ChannelThread : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
    }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    static std::vector<stRegNamedValue> LogValues() {
        CRegistryDb db;
        stRegKeyListing listing;
        if (!db.Open() || db.ListKey(CEnvr().SectionKeyPath("Log"), listing) != enumRegStatus::Ok) {
            return {};
        }
        return listing.values;
    }

    CTempDrive m_drive;
};

TEST_F(ChannelThread, PassesGoOnAfterAFailureWhichIsRecordedUnderLog) {
    std::atomic<int> passes{0};
    CChannelThread thread([&passes]() -> int {
        if (++passes == 2) {
            throw std::runtime_error("수신 오류 " + std::string(600, 'x'));
        }
        return 0;
    });
    ASSERT_TRUE(WaitUntil([&] { return passes >= 5; }));
    EXPECT_TRUE(thread.Stop());
    // The loop has left once Stop returns true, so the count is final.
    EXPECT_FALSE(thread.IsRunning());
    const int stoppedAt = passes;

    const std::vector<stRegNamedValue> values = LogValues();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_TRUE(std::regex_match(values[0].name, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << values[0].name;
    const std::string text = StringFromValue(values[0].value).value_or("");
    EXPECT_EQ(text.rfind("수신 오류 xxx", 0), 0u);
    EXPECT_EQ(text.size(), 512u);
    EXPECT_EQ(passes, stoppedAt) << "no pass after Stop";
}

TEST_F(ChannelThread, StopGivesUpOnAStuckPassWhichKeepsWhatItHoldsUntilItEnds) {
    std::atomic<bool> stopperBack{false};
    std::atomic<bool> stopperWaited{false};
    std::atomic<int> passes{0};
    const int countBefore = CChannelThread::GetRunningCount();
    auto held = std::make_shared<int>(0);
    const std::weak_ptr<int> heldSeen = held;
    auto thread = std::make_unique<CChannelThread>([&, held]() -> int {
        ++passes;
        // Ends once the stopper is back; should the stopper wait for this
        // pass instead, it ends after the test's patience, and says so.
        if (!WaitUntil([&] { return stopperBack.load(); })) {
            stopperWaited = true;
        }
        return 1;
    });
    held.reset();
    ASSERT_TRUE(WaitUntil([&] { return passes == 1; }));
    EXPECT_FALSE(thread->Stop(30)) << "the pass is still running";
    EXPECT_TRUE(thread->IsRunning());

    thread.reset();
    EXPECT_FALSE(heldSeen.expired()) << "the stuck pass still holds what it uses";
    stopperBack = true;
    EXPECT_FALSE(stopperWaited) << "the object's end waited for the stuck pass";
    EXPECT_TRUE(WaitUntil([&] { return heldSeen.expired(); })) << "released once the pass ended";
    EXPECT_TRUE(WaitUntil([&] { return CChannelThread::GetRunningCount() == countBefore; }));
    EXPECT_EQ(passes, 1) << "no pass after the stop";
}

TEST_F(ChannelThread, OnlyAnIdlePassLeadsToTheIdleWaitWhichIsNeverCalledOnceTheThreadIsGone) {
    // Results cycle 1, -1, 0: exactly one idle wait per cycle, with the bounded limit.
    std::atomic<int> passes{0};
    std::atomic<int> waits{0};
    std::atomic<long> longestLimit{0};
    auto idleWaitAlive = std::make_shared<bool>(true);
    const std::weak_ptr<bool> idleWaitKept = idleWaitAlive;
    auto thread = std::make_unique<CChannelThread>(
        [&passes] {
            return std::array{1, -1, 0}[passes++ % 3];
        },
        [&, alive = std::move(idleWaitAlive)](std::chrono::milliseconds limit) {
            ++waits;
            longestLimit = std::max<long>(longestLimit, limit.count());
        });
    ASSERT_TRUE(WaitUntil([&] { return passes >= 9; }));
    thread.reset();
    // The object took its idle wait with it, so it can never be called again.
    EXPECT_TRUE(idleWaitKept.expired());
    const int passesAtEnd = passes;
    const int waitsAtEnd = waits;
    EXPECT_GE(waitsAtEnd, passesAtEnd / 3 - 1);
    EXPECT_LE(waitsAtEnd, passesAtEnd / 3);
    EXPECT_EQ(longestLimit, CChannelThread::kIdleWaitMs.count());
    EXPECT_EQ(waits, waitsAtEnd) << "no idle wait after the thread object is gone";
}

}  // namespace

}  // namespace hx
