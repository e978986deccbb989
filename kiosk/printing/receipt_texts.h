#pragma once
// Texts that both receipt printers print the same way: times, the card
// installment and the merchant's business number. UTF-8 in and out.

#include <string>
#include <string_view>

#include "platform/local_time.h"

namespace hx {

// "2026-12-09 / 오후 11시 05분": the date, the Korean morning or afternoon
// marker, the hour on the 12-hour clock (0 and 12 read 12) and the minute.
// Built from the fields, so the process locale cannot change a receipt.
std::string PrintedTimeText(const stLocalTime& time);

// "일시불" for a lump-sum payment ("0", "00" or "1" months), else "3개월".
std::string InstallmentText(std::string_view months);

// "123-45-67890". A short number prints what it has, each character once.
std::string BusinessNumberText(std::string_view number);

}  // namespace hx
