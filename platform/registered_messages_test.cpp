#include "platform/registered_messages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace hx {

namespace {

TEST(RegisteredMessages, OneNameOneIdFromC000) {
    const UINT serial = RegisterWindowMessage("CSerialWnd_DefaultComMsg");
    EXPECT_GE(serial, 0xC000u);
    EXPECT_LE(serial, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessage("CSerialWnd_DefaultComMsg"), serial);
    EXPECT_EQ(RegisterWindowMessage("cserialwnd_defaultcommsg"), serial);
    EXPECT_NE(RegisterWindowMessage("CSerialWnd_DefaultComMsg2"), serial);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
    EXPECT_EQ(RegisterWindowMessage(nullptr), 0u);
}

TEST(RegisteredMessages, ThreadsRacingForTheSameNamesAgree) {
    constexpr int kThreads = 8;
    constexpr int kNames = 50;
    std::vector<std::vector<UINT>> ids(kThreads, std::vector<UINT>(kNames));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &ids] {
            // Each thread walks the names from a different start.
            for (int i = 0; i < kNames; ++i) {
                const int name = (i + t * 7) % kNames;
                ids[t][name] = RegisterWindowMessage(("race-" + std::to_string(name)).c_str());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 1; t < kThreads; ++t) {
        EXPECT_EQ(ids[t], ids[0]);
    }
    EXPECT_EQ(std::set<UINT>(ids[0].begin(), ids[0].end()).size(), static_cast<size_t>(kNames));
}

}  // namespace

}  // namespace hx
