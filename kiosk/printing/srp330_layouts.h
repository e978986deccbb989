#pragma once
// The guest ticket and the card receipt for the first receipt printer, which
// draws each line in one of its device fonts (see device_document.h).

#include "kiosk/printing/device_document.h"
#include "kiosk/printing/receipt_records.h"

namespace hx {

stDeviceDocument Srp330ShopCard(const stShopCardInfo& ticket);
stDeviceDocument Srp330CardReceipt(const stCardReceiptInfo& receipt);

}  // namespace hx
