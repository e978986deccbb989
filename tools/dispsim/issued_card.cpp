#include "tools/dispsim/issued_card.h"

#include "tools/common/tool_journal.h"

namespace hx {

namespace {

// A grade byte that is no printable character shows as its code.
std::string GradeText(char grade) {
    if (grade > ' ' && grade < 0x7F) {
        return std::string(1, grade);
    }
    return "\\x" + HexBytes(std::span(reinterpret_cast<const uint8_t*>(&grade), 1));
}

std::string Flaws(const stGuestCard& card) {
    std::string flaws;
    if (!card.checksOk) {
        flaws += " (bad check byte)";
    }
    if (!card.wellFormed) {
        flaws += " (not the guest card layout)";
    }
    return flaws;
}

}  // namespace

nlohmann::json IssuedCardJson(const stIssuedCard& issued) {
    const stGuestCard card = DecodeGuestCard(issued.block1, issued.block2);
    return {{"number", issued.number},
            {"block1", HexBytes(issued.block1)},
            {"block2", HexBytes(issued.block2)},
            {"card",
             {{"hotelRegion", card.hotelRegion},
              {"hotelSequence", card.hotelSequence},
              {"doorLock", card.doorLock},
              {"grade", GradeText(card.grade)},
              {"gradeSequence", GradeText(card.gradeSequence)},
              {"start", CardTimeText(card.start)},
              {"end", CardTimeText(card.end)},
              {"checksOk", card.checksOk},
              {"wellFormed", card.wellFormed}}}};
}

std::string IssuedCardText(const stIssuedCard& issued) {
    const stGuestCard card = DecodeGuestCard(issued.block1, issued.block2);
    return "#" + std::to_string(issued.number) + " door-lock " + std::to_string(card.doorLock) +
           " hotel " + std::to_string(card.hotelRegion) + "/" + std::to_string(card.hotelSequence) +
           " grade " + GradeText(card.grade) + GradeText(card.gradeSequence) + " " +
           CardTimeText(card.start) + " to " + CardTimeText(card.end) + Flaws(card);
}

}  // namespace hx
