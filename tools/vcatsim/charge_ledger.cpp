#include "tools/vcatsim/charge_ledger.h"

#include <algorithm>
#include <cstdio>

namespace hx {

namespace {

constexpr uint32_t kApprovalNumbers = 100000000;  // eight digits

}  // namespace

std::string CChargeLedger::NextApprovalNo() {
    char text[16];
    std::snprintf(text, sizeof text, "%08u", m_nextApprovalNo % kApprovalNumbers);
    m_nextApprovalNo = (m_nextApprovalNo + 1) % kApprovalNumbers;
    return text;
}

const stCharge& CChargeLedger::Approve(const std::string& amount, const std::string& date,
                                       const std::string& time) {
    m_charges.push_back({NextApprovalNo(), amount, date, time, false});
    return m_charges.back();
}

enumCancelResult CChargeLedger::Cancel(const std::string& approvalNo, const std::string& amount) {
    const auto found =
        std::find_if(m_charges.begin(), m_charges.end(),
                     [&](const stCharge& charge) { return charge.approvalNo == approvalNo; });
    if (found == m_charges.end()) {
        return enumCancelResult::Unknown;
    }
    if (found->cancelled) {
        return enumCancelResult::AlreadyCancelled;
    }
    if (found->amount != amount) {
        return enumCancelResult::AmountDiffers;
    }
    found->cancelled = true;
    return enumCancelResult::Cancelled;
}

int CChargeLedger::CancelCount() const {
    return static_cast<int>(std::count_if(m_charges.begin(), m_charges.end(),
                                          [](const stCharge& charge) { return charge.cancelled; }));
}

const char* ChargeStateName(const stCharge& charge) {
    return charge.cancelled ? "cancelled" : "approved";
}

}  // namespace hx
