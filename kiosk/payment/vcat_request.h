#pragma once
// The requests the kiosk sends to the card terminal program: numbered text
// fields, set in a fixed order. Amounts are whole won as plain decimal
// text, each with its value-added tax.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

inline constexpr std::string_view kApprovalCode = "0101";
inline constexpr std::string_view kSignedApprovalCode = "0111";
inline constexpr std::string_view kApprovalAnswerCode = "0102";
inline constexpr std::string_view kCancelCode = "2101";
inline constexpr std::string_view kSignedCancelCode = "2111";
inline constexpr std::string_view kCancelAnswerCode = "2102";
inline constexpr std::string_view kInfoCode = "5201";
inline constexpr std::string_view kInfoAnswerCode = "5202";
inline constexpr std::string_view kStatusCheckCode = "9001";

struct stVCatField {
    int16_t number = 0;
    std::string value;

    bool operator==(const stVCatField&) const = default;
};

// The encrypted signature a signed request carries.
struct stSignData {
    std::string signature;
    std::string hash;
};

// The amount times 10 over 110, truncated; 0 below 1 won.
int ValueAddedTax(int amount);

std::vector<stVCatField> ApprovalRequestFields(int amount, const std::optional<stSignData>& sign);
std::vector<stVCatField> CancelRequestFields(const std::string& approvalNo,
                                             const std::string& saleDate, int amount,
                                             const std::optional<stSignData>& sign);

}  // namespace hx
