#include "kiosk/support/money_text.h"

namespace hx {

std::string MoneyText(long long amount) {
    // Unsigned, so the most negative amount has a magnitude too.
    const bool negative = amount < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(amount)
                                            : static_cast<unsigned long long>(amount);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) {
            reversed.push_back(',');
        }
        reversed.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (negative) {
        reversed.push_back('-');
    }
    return {reversed.rbegin(), reversed.rend()};
}

std::string WonText(long long amount) {
    return MoneyText(amount) + "원";
}

}  // namespace hx
