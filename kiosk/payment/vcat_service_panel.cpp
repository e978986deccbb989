#include "kiosk/payment/vcat_service_panel.h"

#include <charconv>

namespace hx {

namespace {

// The leading decimal digits of what was typed; 0 when there are none.
int TypedAmount(std::string_view text) {
    int amount = 0;
    const size_t start = text.find_first_not_of(' ');
    if (start != std::string_view::npos) {
        std::from_chars(text.data() + start, text.data() + text.size(), amount);
    }
    return amount;
}

}  // namespace

std::string PanelApprove(CVCatDlg& terminal, const stVCatPanelEntry& entry) {
    const int amount = TypedAmount(entry.amount);
    if (amount < 1) {
        return "금액을 입력하세요.";
    }
    return terminal.CreditApproval(entry.signatureFile, amount) == 0 ? "신용카드 결제 실패." : "";
}

std::string PanelCancel(CVCatDlg& terminal, const stVCatPanelEntry& entry,
                        const std::string& approvalNo, const std::string& saleDate) {
    const int amount = TypedAmount(entry.amount);
    return terminal.CreditCancel(approvalNo, saleDate, entry.signatureFile, amount) == 0
               ? "신용카드 결제취소 실패."
               : "";
}

}  // namespace hx
