#pragma once
// The card approval record: what an approved card payment leaves for the
// server, carried inside the sale request. Response code and messages are
// not kept in it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hx {

inline constexpr size_t kCardApprovalSize = 824;

struct stCardApproval {
    std::string terminalNo;
    std::string saleDate;
    std::string saleTime;
    std::string issuerCode;
    std::string issuerName;
    std::string acquirer;
    std::string merchantNo;
    std::string cardNo;  // formatted "nnnn-nnnn-nnnn-nnnn"
    std::string approvalNo;
    std::string spare;  // a further text of the answer, left empty
    int32_t amount = 0;
    int32_t installmentMonths = 0;
    int32_t roomNo = 0;  // written by the sale when it is sent
};

// Embedded record, as stRoom4Kiosk (room_records.h). A default record packs
// to all zeros, which is what a cash sale carries.
bool Pack(const stCardApproval& approval, std::span<uint8_t> out);
bool Unpack(std::span<const uint8_t> in, stCardApproval& approval);

}  // namespace hx
