#pragma once
// The answer to an approval or a cancel, read field by field from the card
// terminal program into the record the kiosk window copies, with the lines
// the terminal log gets for it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kiosk/records/approval_record.h"

namespace hx {

// Reads one answer field (its text; empty when it has none).
using VCatFieldReader = std::function<std::string(int16_t field)>;

struct stCreditAnswer {
    std::string messageCode;
    int amount = 0;
    int installmentMonths = 0;
    std::string terminalNo;
    std::string responseCode;
    std::string saleDate;
    std::string saleTime;
    std::string issuerCode;
    std::string issuerName;
    std::string acquirer;
    std::string merchantNo;
    std::string cardNo;  // "nnnn-nnnn-nnnn-nnnn"
    std::string approvalNo;
    std::string spare;  // left empty
    std::string screenMessage;
    std::string printMessage;
};

struct stParsedCreditAnswer {
    stCreditAnswer answer;
    std::vector<std::string> logLines;
};

// Nullopt for an answer that is neither an approval's ("0102") nor a
// cancel's ("2102"): it is ignored.
std::optional<stParsedCreditAnswer> ReadCreditAnswer(const VCatFieldReader& read);

// Only an approval answer with response "00" and an approval number is a
// payment made; a cancel's answer never is.
bool IsApprovedPayment(const stCreditAnswer& answer);

// "%s-%s-%s-%s" of characters 0-3, 4-7, 8-11 and 12-15; short numbers give
// short or empty groups.
std::string FormatCardNumber(const std::string& digits);

// What an approved payment leaves for the server's sale record.
stCardApproval CardApprovalOf(const stCreditAnswer& answer);

}  // namespace hx
