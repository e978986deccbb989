#pragma once
// The guest ticket and the card receipt for the second receipt printer: one
// code page 949 text per document, with the printer library's formatting
// words and a few raw character-size commands inside it.

#include <string>

#include "kiosk/printing/receipt_records.h"

namespace hx {

std::string Srt320ShopCard(const stShopCardInfo& ticket);
std::string Srt320CardReceipt(const stCardReceiptInfo& receipt);

}  // namespace hx
