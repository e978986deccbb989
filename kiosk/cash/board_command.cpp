#include "kiosk/cash/board_command.h"

#include <algorithm>
#include <iterator>

namespace hx {

namespace {

struct stBoardCommandEntry {
    int code;
    std::string_view device;
    std::string_view command;
    // Empty: the code is known but sends nothing by itself.
    std::vector<uint8_t> bytes;
};

const std::vector<stBoardCommandEntry>& CommandTable() {
    static const std::vector<stBoardCommandEntry> table = {
        {801, "방출기", "모든 데이터 요구", {0x71, 0x8E}},
        {802, "방출기", "변화 데이터 요구", {0x72, 0x8D}},
        {803, "방출기", "데이터 명령 예정", {}},
        {804,
         "1000방출기",
         "모든 데이터 초기화",
         {0x73, 0x8C, 0x05, 0x01, 0x00, 0x00, 0x01, 0x00, 0x05}},
        {805,
         "2000방출기",
         "모든 데이터 초기화",
         {0x73, 0x8C, 0x05, 0x01, 0x00, 0x00, 0x00, 0x01, 0x05}},
        {806, "방출기", "방출 명령", {}},
        {807,
         "100방출기",
         "모든 데이터 초기화",
         {0x73, 0x8C, 0x05, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05}},
        {901, "동전선별기", "모든 데이터 요구", {0x61, 0x9E}},
        {902, "동전선별기", "변화 데이터 요구", {0x62, 0x9D}},
        {903, "동전선별기", "데이터 명령 예정", {0x63, 0x9C}},
        {904, "동전선별기", "동전투입구 Open", {0x63, 0x9C, 0x02, 0x00, 0x01, 0x03}},
        {905, "동전선별기", "동전투입구 Close", {0x63, 0x9C, 0x02, 0x00, 0x00, 0x02}},
        {906, "동전선별기", "동전투입구 Open / RESET", {0x63, 0x9C, 0x02, 0x00, 0x03, 0x01}},
        {907, "동전선별기", "동전투입구 Close / RESET", {0x63, 0x9C, 0x02, 0x00, 0x02, 0x00}},
        {1001, "지폐인식기", "모든 데이터 요구", {0x59, 0xA6}},
        {1002, "지폐인식기", "변화 데이터 요구", {0x5A, 0xA5}},
        {1003, "지폐인식기", "데이터 명령 예정", {0x5B, 0xA4}},
        {1004, "지폐인식기", "지폐투입구 Open", {0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x92}},
        {1005, "지폐인식기", "지폐투입구 Close", {0x5B, 0xA4, 0x03, 0x10, 0x00, 0x00, 0x13}},
        {1006, "지폐인식기", "지폐투입구 Open / RESET", {0x5B, 0xA4, 0x03, 0x10, 0x83, 0x00, 0x90}},
        {1007,
         "지폐인식기",
         "지폐투입구 Close / RESET",
         {0x5B, 0xA4, 0x03, 0x10, 0x02, 0x00, 0x11}},
        {2001, "Unknown", "Unknown!!", {0x73, 0x8C, 0x05, 0x04, 0x00, 0x03, 0x11, 0x00, 0x13}},
        {2002, "Unknown", "Unknown!!", {0x73, 0x8C, 0x05, 0x04, 0x00, 0x1C, 0x11, 0x00, 0x0C}},
        {2003, "Unknown", "Unknown!!", {0x73, 0x8C, 0x05, 0x04, 0x00, 0x00, 0x11, 0x00, 0x10}},
    };
    return table;
}

const stBoardCommandEntry* FindCommand(int code) {
    const auto& table = CommandTable();
    const auto found =
        std::find_if(table.begin(), table.end(),
                     [code](const stBoardCommandEntry& e) { return e.code == code; });
    return found == table.end() ? nullptr : &*found;
}

constexpr int kMaxPiecesPerKind = 100;

// The dispense frame: X 100-won coins, no 500-won coins, Y and Z notes from
// the two bill dispensers; the check byte is the XOR of LEN (05) and the data.
std::optional<std::vector<uint8_t>> DispenseBytes(const stControlBoardCommand& command) {
    const int counts[] = {command.x, command.y, command.z};
    const bool anyPiece =
        std::any_of(std::begin(counts), std::end(counts), [](int count) { return count >= 1; });
    const bool inRange = std::all_of(std::begin(counts), std::end(counts), [](int count) {
        return count >= 0 && count < kMaxPiecesPerKind;
    });
    if (!anyPiece || !inRange) {
        return std::nullopt;
    }
    const auto x = static_cast<uint8_t>(command.x);
    const auto y = static_cast<uint8_t>(command.y);
    const auto z = static_cast<uint8_t>(command.z);
    const auto check = static_cast<uint8_t>(0x05 ^ x ^ y ^ z);
    return std::vector<uint8_t>{0x73, 0x8C, 0x05, 0x00, x, 0x00, y, z, check};
}

}  // namespace

std::optional<stBoardCommandLabels> BoardCommandLabels(int code) {
    const stBoardCommandEntry* entry = FindCommand(code);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return stBoardCommandLabels{entry->device, entry->command};
}

std::optional<std::vector<uint8_t>> BoardCommandBytes(const stControlBoardCommand& command) {
    if (command.code == BOARD_DISPENSE) {
        return DispenseBytes(command);
    }
    const stBoardCommandEntry* entry = FindCommand(command.code);
    if (entry == nullptr || entry->bytes.empty()) {
        return std::nullopt;
    }
    return entry->bytes;
}

}  // namespace hx
