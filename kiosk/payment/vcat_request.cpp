#include "kiosk/payment/vcat_request.h"

namespace hx {

namespace {

constexpr int16_t kCodeField = 1;
constexpr int16_t kKindField = 2;
constexpr int16_t kAmountField = 3;
constexpr int16_t kTaxField = 4;
constexpr int16_t kInstallmentField = 6;
constexpr int16_t kSignModeField = 9;
constexpr int16_t kApprovalNoField = 12;
constexpr int16_t kSaleDateField = 13;
constexpr int16_t kSignatureField = 68;
constexpr int16_t kHashField = 69;

void AddSignature(std::vector<stVCatField>& fields, const stSignData& sign) {
    fields.push_back({kSignatureField, sign.signature});
    fields.push_back({kHashField, sign.hash});
}

// Code, kind, amount and its tax.
void AddAmount(std::vector<stVCatField>& fields, std::string_view code, int amount) {
    fields.push_back({kCodeField, std::string(code)});
    fields.push_back({kKindField, "01"});
    fields.push_back({kAmountField, std::to_string(amount)});
    fields.push_back({kTaxField, std::to_string(ValueAddedTax(amount))});
}

std::string SignMode(const std::optional<stSignData>& sign) {
    return sign ? "4" : "3";
}

}  // namespace

int ValueAddedTax(int amount) {
    return amount < 1 ? 0 : static_cast<int>(static_cast<int64_t>(amount) * 10 / 110);
}

std::vector<stVCatField> ApprovalRequestFields(int amount, const std::optional<stSignData>& sign) {
    std::vector<stVCatField> fields;
    AddAmount(fields, sign ? kSignedApprovalCode : kApprovalCode, amount);
    fields.push_back({kInstallmentField, "0"});
    fields.push_back({kSignModeField, SignMode(sign)});
    if (sign) {
        AddSignature(fields, *sign);
    }
    return fields;
}

// The signature goes first here, and no installment field.
std::vector<stVCatField> CancelRequestFields(const std::string& approvalNo,
                                             const std::string& saleDate, int amount,
                                             const std::optional<stSignData>& sign) {
    std::vector<stVCatField> fields;
    if (sign) {
        AddSignature(fields, *sign);
    }
    AddAmount(fields, sign ? kSignedCancelCode : kCancelCode, amount);
    fields.push_back({kSignModeField, SignMode(sign)});
    fields.push_back({kApprovalNoField, approvalNo});
    fields.push_back({kSaleDateField, saleDate});
    return fields;
}

}  // namespace hx
