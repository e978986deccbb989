#include "kiosk/support/float_counts.h"

#include <string>
#include <system_error>

#include "kiosk/support/paths.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

std::filesystem::path SaveMoneyFile() {
    return GetProgramPath("INI\\SaveMoney.ini");
}

}  // namespace

std::string FloatCountsText(const stFloatCounts& counts) {
    return "1,000원권 " + std::to_string(counts.notes1000) + "장, 5,000원권 " +
           std::to_string(counts.notes5000) + "장, 10,000원권 " +
           std::to_string(counts.notes10000) + "장, RF카드 " + std::to_string(counts.keyCards) +
           "장";
}

stPaidOut PiecesOfFloat(const stFloatCounts& counts) {
    stPaidOut pieces;
    pieces.notes1000 = counts.notes1000;
    pieces.notes5000 = counts.notes5000;
    pieces.notes10000 = counts.notes10000;
    pieces.keyCards = counts.keyCards;
    return pieces;
}

stFloatCounts FloatOfPieces(const stPaidOut& pieces) {
    return {pieces.notes1000, pieces.notes5000, pieces.notes10000, pieces.keyCards};
}

stFloatCounts LoadFloatCounts() {
    const auto file = SaveMoneyFile();
    const auto count = [&](const char* key) {
        return GetPrivateProfileNumber("Money", key, 0, file);
    };
    return {count("1000"), count("5000"), count("10000"), count("RFCard")};
}

bool SaveFloatCounts(const stFloatCounts& counts) {
    const stIniEntry entries[] = {{"1000", std::to_string(counts.notes1000)},
                                  {"5000", std::to_string(counts.notes5000)},
                                  {"10000", std::to_string(counts.notes10000)},
                                  {"RFCard", std::to_string(counts.keyCards)}};
    const auto file = SaveMoneyFile();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);  // a fresh drive has no INI
    return WritePrivateProfileKeys("Money", entries, file);
}

}  // namespace hx
