#pragma once
// The float: notes in the two bill dispensers and blank key cards in the
// card dispenser, kept across restarts in "INI\SaveMoney.ini" under [Money]
// as "1000", "5000", "10000" and "RFCard".

#include <string>

#include "kiosk/support/paid_out.h"

namespace hx {

struct stFloatCounts {
    int notes1000 = 0;
    int notes5000 = 0;
    int notes10000 = 0;
    int keyCards = 0;
};

// "1,000원권 N장, 5,000원권 N장, 10,000원권 N장, RF카드 N장", as operators read them.
std::string FloatCountsText(const stFloatCounts& counts);
// The counts as the pieces of a payout, and back (the money journal keeps
// the float that way).
stPaidOut PiecesOfFloat(const stFloatCounts& counts);
stFloatCounts FloatOfPieces(const stPaidOut& pieces);

// The counts as stored (0 for each one missing). Any thread.
stFloatCounts LoadFloatCounts();
// All four in one replacement of the file, so a power cut never leaves some
// new and some old; false when the file could not be written (the failure
// is reported as every INI write failure is).
bool SaveFloatCounts(const stFloatCounts& counts);

}  // namespace hx
