#pragma once
// A card that left the dispenser, as the journal and the console show it:
// its two blocks in hex and what they say.

#include <nlohmann/json.hpp>
#include <string>

#include "tools/dispsim/guest_card.h"

namespace hx {

struct stIssuedCard {
    int number = 0;  // 1 for the first card this run issued
    CardBlock block1{};
    CardBlock block2{};
};

// {"number", "block1", "block2", "card": {hotelRegion, hotelSequence,
// doorLock, grade, gradeSequence, start, end, checksOk, wellFormed}}.
nlohmann::json IssuedCardJson(const stIssuedCard& issued);
// "#1 door-lock 305 hotel 7/2021 grade U0 2016-01-01 00:00 to 2024-03-05 11:00".
std::string IssuedCardText(const stIssuedCard& issued);

}  // namespace hx
