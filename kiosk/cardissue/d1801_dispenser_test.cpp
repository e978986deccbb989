#include "kiosk/cardissue/d1801_dispenser.h"

#include <gtest/gtest.h>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/testing_dispenser_libraries.h"

namespace hx {

namespace {

class D1801Dispenser : public ::testing::Test {
protected:
    std::string LastRow() const { return m_monitor.Rows().back().row.content; }

    CScriptedD1801Library m_dispenser;
    CScriptedLockLibrary m_lock;
    CDispenserMonitor m_monitor{nullptr};
    CD1801Dispenser m_library{&m_dispenser, &m_lock, m_monitor};
};

TEST_F(D1801Dispenser, ConnectsAtTheFirstAddressThatAnswersAndUsesIt) {
    m_dispenser.answeringAddress = 9;
    EXPECT_TRUE(m_library.ConnectD1801());
    EXPECT_EQ(LastRow(), "연결성공 [9]");
    EXPECT_TRUE(m_library.D1801Ready());
    EXPECT_EQ(m_dispenser.calls, std::vector<std::string>{"9 FC7"});

    m_lock.openResult = 0;
    EXPECT_FALSE(m_library.ConnectD1801()) << "the lock encoder must open too";
    m_dispenser.answeringAddress = -1;
    EXPECT_FALSE(m_library.ConnectD1801());
    EXPECT_EQ(LastRow(), "연결실패");
}

TEST_F(D1801Dispenser, StatusBitsRankFaultThenJamThenNoCard) {
    const struct {
        std::array<uint8_t, 4> status;
        int expected;
        int health;
    } cases[] = {
        {{0, 0, 0, 0}, CD1801Dispenser::kStatusReady, DISPENSER_OK},
        {{0, 0, 1, 0}, CD1801Dispenser::kStatusNoCard, DISPENSER_NO_CARD},
        {{0, 0, 0, 8}, CD1801Dispenser::kStatusNoCard, DISPENSER_NO_CARD},
        {{0, 0, 3, 0}, CD1801Dispenser::kStatusJam, DISPENSER_CARD_JAM},
        {{2, 0, 3, 8}, CD1801Dispenser::kStatusFault, DISPENSER_ERROR},
        {{0, 1, 0, 0}, CD1801Dispenser::kStatusFault, DISPENSER_ERROR},
    };
    for (const auto& c : cases) {
        m_dispenser.status = c.status;
        const int status = m_library.D1801Status();
        EXPECT_EQ(status, c.expected);
        EXPECT_EQ(CD1801Dispenser::ResultOf(status), c.health);
    }
    EXPECT_EQ(LastRow(), "0000 0001 0000 0000");
}

TEST_F(D1801Dispenser, AFailedEncodingLeavesARowWithTheLibrarysAnswer) {
    m_lock.encodeResult = 0;
    EXPECT_EQ(m_library.MakeGuestCard("001.003.00305", "a", "b"), 0);
    EXPECT_EQ(LastRow(), "카드쓰기 실패 [0]");
    EXPECT_EQ(m_lock.encoded, std::vector<std::string>{"001.003.00305|a|b"});
}

}  // namespace

}  // namespace hx
