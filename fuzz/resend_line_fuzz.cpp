// Any bytes as a line of the resend file: read or refused, never a crash,
// and a report read from it writes a line that reads back into the same
// report (after one round every line is stable).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "kiosk/server/resend_line.h"

namespace hx {

namespace {

std::string LineOf(const stResendReport& report) {
    switch (report.type) {
        case RESEND_STEP:
            return FormatResendLine(report.step);
        case RESEND_EVENT:
            return FormatResendLine(report.event);
        case RESEND_CASH_IN:
        case RESEND_PAYOUT:
            return FormatResendLine(report.money);
        case RESEND_FLOAT:
            return "5";
    }
    return {};
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::optional<stResendReport> report =
        ParseResendLine(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!report) {
        return 0;
    }
    const std::string line = LineOf(*report);
    Require(line.find_first_of("\r\n") == std::string::npos);
    const std::optional<stResendReport> again = ParseResendLine(line);
    Require(again.has_value() && again->type == report->type);
    Require(LineOf(*again) == line);
    return 0;
}
