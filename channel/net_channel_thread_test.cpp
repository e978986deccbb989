#include "channel/net_channel_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <thread>

#include "channel/testing_framework_key.h"
#include "platform/envr.h"
#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

bool WaitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

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
    ASSERT_TRUE(WaitFor([&] { return passes >= 5; }));
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRunning());
    const int stoppedAt = passes;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(passes, stoppedAt) << "no pass after Stop";

    const std::vector<stRegNamedValue> values = LogValues();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_TRUE(std::regex_match(values[0].name, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << values[0].name;
    const std::string text = StringFromValue(values[0].value).value_or("");
    EXPECT_EQ(text.rfind("수신 오류 xxx", 0), 0u);
    EXPECT_EQ(text.size(), 512u);
}

TEST_F(ChannelThread, StopGivesUpOnAStuckPassButThePassIsNeverCalledOnceTheThreadIsGone) {
    std::mutex mutex;
    std::condition_variable release;
    bool released = false;
    std::atomic<int> passes{0};
    const int countBefore = CChannelThread::GetRunningCount();
    auto thread = std::make_unique<CChannelThread>([&]() -> int {
        ++passes;
        std::unique_lock lock(mutex);
        release.wait(lock, [&] { return released; });
        return 1;
    });
    ASSERT_TRUE(WaitFor([&] { return passes == 1; }));
    EXPECT_EQ(CChannelThread::GetRunningCount(), countBefore + 1);
    EXPECT_FALSE(thread->Stop(30)) << "the pass is still running";
    EXPECT_TRUE(thread->IsRunning());

    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::lock_guard lock(mutex);
        released = true;
        release.notify_all();
    });
    thread.reset();  // waits for the pass in progress
    releaser.join();
    EXPECT_EQ(passes, 1);
    EXPECT_TRUE(WaitFor([&] { return CChannelThread::GetRunningCount() == countBefore; }));
}

TEST_F(ChannelThread, OnlyAnIdlePassLeadsToTheIdleWaitWhichIsNeverCalledOnceTheThreadIsGone) {
    // Results cycle 1, -1, 0: exactly one idle wait per cycle, with the bounded limit.
    std::atomic<int> passes{0};
    std::atomic<int> waits{0};
    std::atomic<long> longestLimit{0};
    auto thread = std::make_unique<CChannelThread>(
        [&passes] {
            return std::array{1, -1, 0}[passes++ % 3];
        },
        [&](std::chrono::milliseconds limit) {
            ++waits;
            longestLimit = std::max<long>(longestLimit, limit.count());
        });
    ASSERT_TRUE(WaitFor([&] { return passes >= 9; }));
    thread.reset();
    const int passesAtEnd = passes;
    const int waitsAtEnd = waits;
    EXPECT_GE(waitsAtEnd, passesAtEnd / 3 - 1);
    EXPECT_LE(waitsAtEnd, passesAtEnd / 3);
    EXPECT_EQ(longestLimit, CChannelThread::kIdleWaitMs.count());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(waits, waitsAtEnd) << "no idle wait after the thread object is gone";
}

}  // namespace

}  // namespace hx
