#pragma once
// The terminal's books: every approval it gave and whether it was cancelled,
// so a test can prove that a stay was charged once and refunded at most once.

#include <cstdint>
#include <string>
#include <vector>

namespace hx {

struct stCharge {
    std::string approvalNo;  // 8 digits, unique within a run
    std::string amount;      // as the request gave it
    std::string date;        // YYYYMMDD
    std::string time;        // HHMMSS
    bool cancelled = false;
};

enum class enumCancelResult {
    Cancelled,
    Unknown,           // no approval with that number
    AlreadyCancelled,  // refunding twice would pay the guest twice
    AmountDiffers,     // only the whole approved amount can be cancelled
};

class CChargeLedger {
public:
    explicit CChargeLedger(uint32_t firstApprovalNo = 30000001)
        : m_nextApprovalNo(firstApprovalNo) {}

    const stCharge& Approve(const std::string& amount, const std::string& date,
                            const std::string& time);
    enumCancelResult Cancel(const std::string& approvalNo, const std::string& amount);

    const std::vector<stCharge>& Charges() const { return m_charges; }
    int CancelCount() const;

private:
    std::string NextApprovalNo();

    uint32_t m_nextApprovalNo;
    std::vector<stCharge> m_charges;
};

// "approved" or "cancelled", the way the console and the journal name it.
const char* ChargeStateName(const stCharge& charge);

}  // namespace hx
