#include "kiosk/printing/amount_fill.h"

#include "platform/cp949.h"

namespace hx {

namespace {

size_t AmountLineBytes(std::string_view label, std::string_view money) {
    return Cp949FromUtf8(std::string(label) + std::string(money) + "원").size();
}

std::optional<std::string> Fill(std::string_view label, std::string_view money, size_t columns,
                                size_t leastGap) {
    const size_t bytes = AmountLineBytes(label, money);
    if (bytes + leastGap > columns) {
        return std::nullopt;
    }
    return std::string(columns - bytes, ' ');
}

}  // namespace

std::optional<std::string> AmountFill42(std::string_view label, std::string_view money) {
    return Fill(label, money, 42, 1);
}

std::string AmountFill48(std::string_view label, std::string_view money) {
    constexpr size_t kColumns = 48;
    if (std::optional<std::string> fill = Fill(label, money, kColumns, 1)) {
        return *fill;
    }
    return "\n" + Fill("", money, kColumns, 0).value_or("");
}

std::string AmountFill24(std::string_view label, std::string_view money) {
    return Fill(label, money, 24, 0).value_or("");
}

}  // namespace hx
