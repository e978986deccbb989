#include "tools/dispsim/card_dispenser.h"

#include <gtest/gtest.h>

#include "tools/dispsim/dispenser_console.h"
#include "tools/dispsim/testing_kiosk_frames.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kReset = 0x20, kReboot = 0x21, kStatus = 0x30, kFirmware = 0x31, kSensor = 0x32,
                  kReady = 0x35, kWrite = 0x36, kRead = 0x37, kCapture = 0x38, kEject = 0x39;

// An answer as the kiosk takes it apart: its check is the XOR of every byte
// but the first and the last.
struct stKioskView {
    bool checked = false;
    uint8_t command = 0;
    char result = 0;
    std::string data;
};

stKioskView AsTheKioskSeesIt(const Bytes& answer) {
    stKioskView view;
    uint8_t check = 0;
    for (size_t i = 1; i + 1 < answer.size(); ++i) {
        check ^= answer[i];
    }
    view.checked = answer.size() >= 5 && check == answer.back();
    if (answer.size() >= 5) {
        view.command = answer[2];
        view.result = static_cast<char>(answer[3]);
        view.data.assign(answer.begin() + 4, answer.end() - 1);
    }
    return view;
}

// Block 1 of the guest card for door-lock number 305 in hotel 7/2021, and
// block 2 for a stay until 2024-03-05 11:00, before the kiosk folds the check in.
const Bytes kRoom305{0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x55,
                     0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
const Bytes kUntilMarch5{0x10, 0x01, 0x01, 0x00, 0x00, 0x18, 0x03, 0x05,
                         0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// What the kiosk sends to write a block: the 16th byte XORed with the first 15.
Bytes WriteParameters(uint8_t block, Bytes data, uint8_t sector = 0) {
    for (size_t i = 0; i < 15; ++i) {
        data[15] ^= data[i];
    }
    Bytes parameters{sector, block};
    parameters.insert(parameters.end(), data.begin(), data.end());
    return parameters;
}

// A dispenser driven by whole frames, as the kiosk frames them, and console lines.
class CDispenserUnderTest {
public:
    explicit CDispenserUnderTest(int cards = 100)
        : m_dispenser(cards, [this](const nlohmann::json& e) { events.push_back(e); }),
          m_console(m_dispenser) {}

    std::optional<Bytes> Send(uint8_t command, const Bytes& parameters = {}) {
        const std::vector<stFramePiece> pieces = m_reader.Feed(KioskFrame(command, parameters));
        if (pieces.size() != 1 || !pieces[0].command) {
            ADD_FAILURE() << "the reader did not take the kiosk's frame";
            return std::nullopt;
        }
        return m_dispenser.Handle(*pieces[0].command);
    }
    // The result character of a good answer; '-' for none, '?' for one the kiosk refuses.
    char Result(uint8_t command, const Bytes& parameters = {}) {
        const std::optional<Bytes> answer = Send(command, parameters);
        if (!answer) {
            return '-';
        }
        const stKioskView view = AsTheKioskSeesIt(*answer);
        return view.checked && view.command == command ? view.result : '?';
    }
    std::string Console(const std::string& line) { return m_console.Execute(line); }
    const CCardDispenser& Dispenser() const { return m_dispenser; }

    std::vector<nlohmann::json> events;

private:
    CCardDispenser m_dispenser;
    CDispenserConsole m_console;
    CDispenserFrameReader m_reader;
};

TEST(CardDispenserTest, AnswersEveryCommandInAFrameTheKioskAccepts) {
    const struct {
        const char* what;
        uint8_t command;
        Bytes parameters;
        char result;
        std::string data;
    } cases[] = {
        {"reset", kReset, {}, '0', ""},
        {"reboot", kReboot, {}, '0', ""},
        {"status of a full stack", kStatus, {}, '0', ""},
        {"firmware: eight characters", kFirmware, {}, '0', "DSIM1.00"},
        {"sensors: cards in the stack, nothing else", kSensor, {}, '0', "10000"},
        {"ready draws a card", kReady, {}, '0', ""},
        {"read of a blank card", kRead, {0x00, 0x01}, '0', std::string(16, '\0')},
        {"capture with no card drawn", kCapture, {}, '2', ""},
        {"eject of a blank card", kEject, {}, '0', ""},
        {"a command the device does not have", 0x40, {}, '1', ""},
        {"status with a stray parameter", kStatus, {0x00}, '1', ""},
        {"write to a sector the card lacks", kWrite, WriteParameters(1, kRoom305, 16), '1', ""},
        {"read without its block", kRead, {0x00}, '1', ""},
        {"read of sector 16", kRead, {0x10, 0x00}, '1', ""},
    };
    for (const auto& c : cases) {
        CDispenserUnderTest dispenser;
        const std::optional<Bytes> answer = dispenser.Send(c.command, c.parameters);
        ASSERT_TRUE(answer) << c.what;
        const stKioskView view = AsTheKioskSeesIt(*answer);
        EXPECT_TRUE(view.checked) << c.what;
        EXPECT_EQ(view.command, c.command) << c.what;
        EXPECT_EQ(view.result, c.result) << c.what;
        EXPECT_EQ(view.data, c.data) << c.what;
        EXPECT_EQ(answer->front(), 0x02) << c.what;
        EXPECT_EQ((*answer)[1], 0x22 + c.data.size()) << c.what;
    }
    CDispenserUnderTest dispenser;
    EXPECT_EQ(dispenser.Send(kStatus), (Bytes{0x02, 0x22, 0x30, 0x30, 0x22}));
}

TEST(CardDispenserTest, IssuesTheCardTheKioskWroteAndRecordsWhatItOpens) {
    CDispenserUnderTest dispenser(5);
    EXPECT_EQ(dispenser.Result(kWrite, WriteParameters(1, kRoom305)), '0');
    EXPECT_EQ(dispenser.Result(kWrite, WriteParameters(2, kUntilMarch5)), '0');
    const stKioskView readBack = AsTheKioskSeesIt(*dispenser.Send(kRead, {0x00, 0x01}));
    EXPECT_EQ(readBack.data, std::string("\x07\x07\xE5\x00\x01\x31\x00\x55\x30\xFF\xFF\xFF\xFF\xFF"
                                         "\xFF\xB0",
                                         16));
    EXPECT_EQ(dispenser.Console("status"),
              "ok cards=4 mouth=card faults=none status-code=auto issued=0 captured=0");
    EXPECT_EQ(dispenser.Result(kEject), '0');

    ASSERT_EQ(dispenser.Dispenser().Issued().size(), 1u);
    ASSERT_EQ(dispenser.events.size(), 1u);
    const nlohmann::json& issued = dispenser.events[0];
    EXPECT_EQ(issued["event"], "issued");
    EXPECT_EQ(issued["block2"], "10 01 01 00 00 18 03 05 0B 00 00 00 00 00 00 05");
    EXPECT_EQ(issued["card"]["doorLock"], 305);
    EXPECT_EQ(issued["card"]["end"], "2024-03-05 11:00");
    EXPECT_EQ(dispenser.Console("issued"),
              "ok issued 1\n  #1 door-lock 305 hotel 7/2021 grade U0 2016-01-01 00:00 to "
              "2024-03-05 11:00");
    EXPECT_EQ(dispenser.Console("status"),
              "ok cards=4 mouth=empty faults=none status-code=auto issued=1 captured=0");

    // The next card starts blank.
    EXPECT_EQ(AsTheKioskSeesIt(*dispenser.Send(kRead, {0x00, 0x01})).data, std::string(16, '\0'));
}

TEST(CardDispenserTest, ScriptedTroubleGivesTheResultsTheKioskActsOn) {
    Bytes unfolded = WriteParameters(1, kRoom305);
    unfolded.back() ^= 0x01;
    const struct {
        const char* what;
        std::vector<std::string> console;
        std::vector<std::pair<uint8_t, Bytes>> commands;
        std::string results;
    } cases[] = {
        {"an empty stack",
         {"fault empty on"},
         {{kStatus, {}}, {kWrite, WriteParameters(1, kRoom305)}},
         "22"},
        {"no cards left", {"cards 0"}, {{kStatus, {}}, {kReady, {}}, {kEject, {}}}, "222"},
        {"the fault cleared", {"fault empty on", "fault empty off"}, {{kStatus, {}}}, "0"},
        {"a jam stops every movement but not the electronics",
         {"fault jam on"},
         {{kStatus, {}}, {kEject, {}}, {kCapture, {}}, {kFirmware, {}}, {kReset, {}}},
         "55500"},
        {"a card held in the exit", {"fault hold on"}, {{kStatus, {}}, {kEject, {}}}, "44"},
        {"a jam outranks a held card", {"fault hold on", "fault jam on"}, {{kStatus, {}}}, "5"},
        {"a forced status code", {"status-code 3"}, {{kStatus, {}}, {kEject, {}}}, "30"},
        {"status code back to what the device sees",
         {"status-code 3", "status-code auto", "cards 0"},
         {{kStatus, {}}},
         "2"},
        {"one write of block 1 refused, the card kept for capture",
         {"reject-write 1 5"},
         {{kWrite, WriteParameters(2, kUntilMarch5)},
          {kWrite, WriteParameters(1, kRoom305)},
          {kCapture, {}},
          {kWrite, WriteParameters(1, kRoom305)}},
         "0500"},
        {"a block whose check byte was not folded in", {}, {{kWrite, unfolded}}, "1"},
    };
    for (const auto& c : cases) {
        CDispenserUnderTest dispenser;
        for (const std::string& line : c.console) {
            ASSERT_TRUE(dispenser.Console(line).starts_with("ok")) << c.what << ": " << line;
        }
        std::string results;
        for (const auto& [command, parameters] : c.commands) {
            results += dispenser.Result(command, parameters);
        }
        EXPECT_EQ(results, c.results) << c.what;
    }
}

TEST(CardDispenserTest, ACapturedCardIsNeverIssued) {
    CDispenserUnderTest dispenser(2);
    EXPECT_EQ(dispenser.Result(kWrite, WriteParameters(1, kRoom305)), '0');
    EXPECT_EQ(dispenser.Result(kCapture), '0');
    EXPECT_EQ(dispenser.Result(kEject), '0');
    EXPECT_EQ(dispenser.Result(kEject), '2');
    EXPECT_EQ(dispenser.Console("status"),
              "ok cards=0 mouth=empty faults=none status-code=auto issued=1 captured=1");
    ASSERT_EQ(dispenser.events.size(), 2u);
    EXPECT_EQ(dispenser.events[0]["event"], "captured");
    EXPECT_EQ(dispenser.events[1]["card"]["doorLock"], 0) << "the issued card is a blank one";
}

TEST(CardDispenserTest, MisbehavesForAsManyAnswersAsTold) {
    const struct {
        const char* line;
        std::string results;  // of four status commands
    } cases[] = {
        {"misbehave silent 2", "--00"},
        {"misbehave bad-bcc", "?000"},
        {"misbehave wrong-cmd 3", "???0"},
        {"misbehave bad-bcc 0", "0000"},
    };
    for (const auto& c : cases) {
        CDispenserUnderTest dispenser;
        ASSERT_TRUE(dispenser.Console(c.line).starts_with("ok")) << c.line;
        std::string results;
        for (int i = 0; i < 4; ++i) {
            results += dispenser.Result(kStatus);
        }
        EXPECT_EQ(results, c.results) << c.line;
    }
    CDispenserUnderTest dispenser;
    dispenser.Console("misbehave wrong-cmd");
    const stKioskView view = AsTheKioskSeesIt(*dispenser.Send(kEject));
    EXPECT_TRUE(view.checked) << "only the command byte is wrong";
    EXPECT_EQ(view.command, 0x33);
    dispenser.Console("misbehave silent");
    EXPECT_FALSE(dispenser.Send(kEject));
    EXPECT_EQ(dispenser.Dispenser().State().issued, 2) << "a silent eject still issues its card";
}

TEST(CardDispenserTest, ConsoleRefusesWhatItCannotDo) {
    const char* const lines[] = {"",
                                 "dance",
                                 "cards",
                                 "cards -1",
                                 "cards many",
                                 "fault paper on",
                                 "fault jam maybe",
                                 "misbehave merge",
                                 "misbehave silent -2",
                                 "reject-write 4 5",
                                 "reject-write 1 55",
                                 "reject-write 1",
                                 "status-code",
                                 "status-code 33",
                                 "status now",
                                 "quit now"};
    CDispenserUnderTest dispenser;
    for (const char* line : lines) {
        EXPECT_TRUE(dispenser.Console(line).starts_with("error: ")) << line;
    }
    EXPECT_EQ(dispenser.Console("status"),
              "ok cards=100 mouth=empty faults=none status-code=auto issued=0 captured=0");
    EXPECT_EQ(dispenser.Console("quit"), "ok quitting");
}

}  // namespace

}  // namespace hx
