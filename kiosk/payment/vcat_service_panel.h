#pragma once
// The terminal window's service panel, for a technician: a test approval of
// an amount typed in, and the cancel of a sale by its approval number, date
// and amount (filled in after each approval). Each gives the message box
// text the panel shows, empty when none.

#include <string>
#include <string_view>

#include "kiosk/payment/vcat_dlg.h"

namespace hx {

struct stVCatPanelEntry {
    std::string amount;         // as typed, a decimal number of won
    std::string signatureFile;  // empty unless the external signature is ticked
};

std::string PanelApprove(CVCatDlg& terminal, const stVCatPanelEntry& entry);
std::string PanelCancel(CVCatDlg& terminal, const stVCatPanelEntry& entry,
                        const std::string& approvalNo, const std::string& saleDate);

}  // namespace hx
