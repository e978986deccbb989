#include "kiosk/records/approval_record.h"

#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

using A = stCardApproval;
constexpr stInt32Field<A> kApprovalInts[] = {
    {644, &A::amount},
    {648, &A::installmentMonths},
    {660, &A::roomNo},
};
constexpr stTextField<A> kApprovalTexts[] = {
    {4, 256, &A::terminalNo},  {260, 32, &A::saleDate},   {292, 32, &A::saleTime},
    {324, 32, &A::issuerCode}, {356, 64, &A::issuerName}, {420, 32, &A::acquirer},
    {452, 32, &A::merchantNo}, {484, 64, &A::cardNo},     {548, 64, &A::approvalNo},
    {612, 32, &A::spare},
};
constexpr stLayout<A> kApprovalLayout{kApprovalInts, {}, kApprovalTexts};

}  // namespace

bool Pack(const stCardApproval& approval, std::span<uint8_t> out) {
    return PackRecord(kApprovalLayout, kCardApprovalSize, approval, out);
}

bool Unpack(std::span<const uint8_t> in, stCardApproval& approval) {
    return UnpackRecord(kApprovalLayout, kCardApprovalSize, in, approval);
}

}  // namespace hx
