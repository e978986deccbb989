#include "tools/frontdesk/scenario_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/sale_records.h"

namespace hx {

namespace {

const std::filesystem::path kScenarios = HX_FRONTDESK_SCENARIOS;

TEST(ScenarioLoader, SampleHasThirtyRoomsInFourClassesWithPictures) {
    stScenario scenario;
    std::string error;
    ASSERT_TRUE(LoadScenario(kScenarios / "sample.json", scenario, error)) << error;
    EXPECT_EQ(scenario.rooms.size(), 30u);
    EXPECT_EQ(scenario.classes.size(), 4u);
    std::set<int32_t> classesInUse;
    for (const stRoom4Kiosk& room : scenario.rooms) {
        classesInUse.insert(room.classId);
    }
    EXPECT_EQ(classesInUse.size(), 4u);
    EXPECT_EQ(scenario.classes[0].name, "스탠다드");
    EXPECT_EQ(scenario.rooms[0].name, "201호");
    EXPECT_EQ(scenario.options.deviceName, "무인 키오스크 1호기");
    EXPECT_TRUE(std::filesystem::is_regular_file(scenario.pictureFolder / "201_0.png"));
    EXPECT_TRUE(scenario.sendPicturesOnConnect);
    EXPECT_EQ(scenario.sales.checkoutMinuteOfDay, 12 * 60);
    ASSERT_FALSE(scenario.sales.refusals.empty());
    EXPECT_EQ(scenario.sales.refusals[0].stayType, STAY_SLEEP);
}

TEST(ScenarioLoader, ReadsEveryPartOfASmallScenario) {
    const char* json = R"({
        "classes": [{"classId": 7, "classValue": 2, "name": "특실"}],
        "rooms": [{"roomNo": 305, "classId": 7, "state": 0, "serverStamp": 5000000000,
                   "name": "305호", "rentalDuration": "0330", "firstPrice": 25000}],
        "configuration": {"showAllRooms": 1, "rentalStartHour": 24},
        "options": {"ticketFooter": "감사합니다", "paymentTypes": 1},
        "kiosks": [{"mac": "00-E0-4C-68-01-01", "terminalNo": 9, "refuse": true}],
        "refuseUnknownKiosks": true,
        "updateId": "U-1", "startupResult": 0,
        "sales": {"refusals": [{"roomNo": 305, "result": -2}], "checkoutTime": "11:30",
                  "soldState": 4},
        "acknowledgements": {"515": "silent", "518": "refuse"}
    })";
    stScenario scenario;
    std::string error;
    ASSERT_TRUE(ParseScenario(json, "/tmp", scenario, error)) << error;
    EXPECT_EQ(scenario.rooms[0].serverStamp, 5000000000);
    EXPECT_EQ(scenario.rooms[0].rentalDuration, "0330");
    EXPECT_EQ(scenario.config.rentalStartHour, 24);
    EXPECT_EQ(scenario.options.ticketFooter, "감사합니다");
    EXPECT_TRUE(scenario.kiosks[0].refuse);
    EXPECT_EQ(scenario.kiosks[0].terminalNo, 9u);
    EXPECT_TRUE(scenario.refuseUnknownKiosks);
    EXPECT_EQ(scenario.startupResult, 0);
    EXPECT_EQ(scenario.sales.refusals[0].stayType, 0) << "no stay given: both";
    EXPECT_EQ(scenario.sales.checkoutMinuteOfDay, 11 * 60 + 30);
    EXPECT_EQ(AckPolicyFor(scenario, CMD_STEP_REPORT), enumAckPolicy::Silent);
    EXPECT_EQ(AckPolicyFor(scenario, CMD_SETTLEMENT), enumAckPolicy::Refuse);
    EXPECT_EQ(AckPolicyFor(scenario, CMD_DEVICE_EVENT), enumAckPolicy::Acknowledge);
}

TEST(ScenarioLoader, RefusesMistakesNamingWhereTheyAre) {
    const struct {
        const char* json;
        const char* where;
    } kMistakes[] = {
        {R"({"room": []})", "unknown key \"room\""},
        {R"({"rooms": [{"roomNo": 0}]})", "rooms[0]"},
        {R"({"classes": [{"classId": 1}], "rooms": [{"roomNo": 1, "classId": 1},
            {"roomNo": 1, "classId": 1}]})",
         "rooms[1]: roomNo 1 is given twice"},
        {R"({"classes": [{"classId": 1}], "rooms": [{"roomNo": 1, "classId": 2}]})",
         "rooms[0].classId"},
        {R"({"classes": [{"classId": 1}], "rooms": [{"roomNo": 1, "classId": 1, "state": "1"}]})",
         "rooms[0].state: must be a whole number"},
        {R"({"classes": [{"classId": 1}], "rooms": [{"roomNo": 1, "classId": 1,
            "firstPrice": 3000000000}]})",
         "rooms[0].firstPrice: is out of range"},
        {R"({"classes": [{"classId": 1, "colour": 2}]})", "unknown field \"colour\""},
        {R"({"configuration": {"showAll": 1}})", "configuration"},
        {R"({"acknowledgements": {"515": "maybe"}})", "acknowledgements.515"},
        {R"({"acknowledgements": {"601": "silent"}})", "unknown key \"601\""},
        {R"({"sales": {"refusals": [{"roomNo": 1, "result": 1}]}})", "accepts the sale"},
        {R"({"sales": {"checkoutTime": "25:00"}})", "sales.checkoutTime"},
        {R"({"sales": {"refusals": [{"result": -2}]}})", "needs a roomNo"},
        {R"({"kiosks": [{"name": "x"}]})", "needs a computerName or a mac"},
        {R"({"pictures": {"folder": "no-such-folder"}})", "is no folder"},
        {R"({"rooms": [)", "not valid JSON"},
    };
    for (const auto& mistake : kMistakes) {
        stScenario scenario;
        scenario.updateId = "untouched";
        std::string error;
        EXPECT_FALSE(ParseScenario(mistake.json, "/tmp", scenario, error)) << mistake.json;
        EXPECT_NE(error.find(mistake.where), std::string::npos) << error;
        EXPECT_EQ(scenario.updateId, "untouched") << "half a scenario is never used";
    }
}

TEST(ScenarioLoader, NamesTheFileThatCannotBeRead) {
    stScenario scenario;
    std::string error;
    EXPECT_FALSE(LoadScenario("/nonexistent/scenario.json", scenario, error));
    EXPECT_NE(error.find("/nonexistent/scenario.json"), std::string::npos);
}

}  // namespace

}  // namespace hx
