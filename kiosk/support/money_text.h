#pragma once
// Amounts as operators read them: digits grouped by thousands with commas,
// a leading "-" for negatives (50000 gives "50,000").

#include <string>

namespace hx {

std::string MoneyText(long long amount);
// The same followed by "원" ("50,000원").
std::string WonText(long long amount);

}  // namespace hx
