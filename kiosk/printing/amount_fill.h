#pragma once
// The spaces that right-align an amount on a receipt line: a label (or the
// product name), the fill, the money text and "원". Measured in the code page
// 949 bytes the printers count columns in; texts are given in UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace hx {

// First printer, 42 columns, at least one space between label and amount.
// nullopt when they do not fit: the label then goes out alone and the amount
// follows on a line of its own, filled by AmountFill42("", money).
std::optional<std::string> AmountFill42(std::string_view label, std::string_view money);

// Second printer, 48 columns, at least one space between label and amount.
// When they do not fit, a line feed and the spaces that right-align the
// amount on the next line.
std::string AmountFill48(std::string_view label, std::string_view money);

// Second printer's double-size total line, 24 columns; label and amount may
// touch. No fill when they do not fit.
std::string AmountFill24(std::string_view label, std::string_view money);

}  // namespace hx
