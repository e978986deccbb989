#include "tools/frontdesk/kiosk_directory.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

stHandshakeRequest Machine(const char* computerName, uint32_t storedNo = 0,
                           const char* mac = "00-11-22-33-44-55") {
    stHandshakeRequest request;
    request.computerName = computerName;
    request.storedNo = storedNo;
    request.firstMac = mac;
    return request;
}

TEST(KioskDirectory, KnownMachinesGetTheirNumberAndNameOrARefusal) {
    CKioskDirectory directory({{"LOBBY", "", 4, "로비", false}, {"", "AA-BB", 0, "", true}});
    const stHandshakeDecision lobby = directory.Decide(Machine("LOBBY", 9));
    EXPECT_FALSE(lobby.refused);
    EXPECT_EQ(lobby.terminalNo, 4u);
    EXPECT_EQ(lobby.name, "로비");
    EXPECT_NE(lobby.clientKey, 0u);
    EXPECT_TRUE(directory.Decide(Machine("ANY", 0, "AA-BB")).refused);
}

TEST(KioskDirectory, EveryKioskHoldsItsOwnKeyAndNumber) {
    CKioskDirectory directory({{"LOBBY", "", 1, "", false}});
    const stHandshakeDecision first = directory.Decide(Machine("A", 2));
    const stHandshakeDecision second = directory.Decide(Machine("B", 2));
    const stHandshakeDecision third = directory.Decide(Machine("C", 1));
    EXPECT_EQ(first.terminalNo, 2u) << "the number it remembers";
    EXPECT_EQ(first.name, "키오스크 2");
    EXPECT_EQ(second.terminalNo, 3u) << "2 is taken, 1 belongs to LOBBY";
    EXPECT_EQ(third.terminalNo, 4u) << "1 belongs to LOBBY even while it is away";
    EXPECT_NE(first.clientKey, second.clientKey);
    EXPECT_NE(second.clientKey, third.clientKey);

    directory.Release(first.terminalNo);
    EXPECT_EQ(directory.Decide(Machine("D", 2)).terminalNo, 2u) << "released numbers return";
}

TEST(KioskDirectory, UnknownMachinesAreRefusedWhenTheScenarioSaysSo) {
    CKioskDirectory directory({{"LOBBY", "", 0, "", false}}, true);
    EXPECT_TRUE(directory.Decide(Machine("STRANGER")).refused);
    EXPECT_FALSE(directory.Decide(Machine("LOBBY")).refused);
}

}  // namespace

}  // namespace hx
