#include "kiosk/server/resend_line.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <vector>

#include "kiosk/records/kiosk_command.h"
#include "platform/cp949.h"
#include "platform/local_time.h"
#include "platform/time_zone.h"

namespace hx {

namespace {

constexpr std::string_view kSeparator = "||";
constexpr size_t kStepFields = 4;
constexpr size_t kEventFields = 5;
constexpr size_t kMoneyFields = 7;

// Line breaks become spaces, so a text cannot end its line. "||" stays:
// the screen's texts are made of it ("305||스탠다드"), and the reader takes
// every field between the numbers and the time as the text.
std::string LineSafeText(std::string_view utf8) {
    std::string safe(utf8);
    for (char& c : safe) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return Cp949FromUtf8(safe);
}

std::string Joined(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty()) {
            line += kSeparator;
        }
        line += field;
    }
    return line;
}

int32_t NumberField(std::string_view field) {
    std::string digits;
    for (char c : field) {
        if (c != ',' && !std::isspace(static_cast<unsigned char>(c))) {
            digits.push_back(c);
        }
    }
    int32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    return error == std::errc() && stop == end ? value : 0;
}

// Leading fields split from the left, the time from the right; what lies
// between is the text, "||" and all.
struct stSplitLine {
    std::vector<std::string_view> leading;
    std::string_view text;
    std::string_view time;
};

std::optional<stSplitLine> SplitWithText(std::string_view line, size_t leadingCount) {
    stSplitLine split;
    for (size_t i = 0; i < leadingCount; ++i) {
        const size_t at = line.find(kSeparator);
        if (at == std::string_view::npos) {
            return std::nullopt;
        }
        split.leading.push_back(line.substr(0, at));
        line.remove_prefix(at + kSeparator.size());
    }
    const size_t last = line.rfind(kSeparator);
    if (last == std::string_view::npos) {
        return std::nullopt;
    }
    split.text = line.substr(0, last);
    split.time = line.substr(last + kSeparator.size());
    return split;
}

std::vector<std::string_view> SplitAll(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t at = line.find(kSeparator); at != std::string_view::npos;
         at = line.find(kSeparator)) {
        fields.push_back(line.substr(0, at));
        line.remove_prefix(at + kSeparator.size());
    }
    fields.push_back(line);
    return fields;
}

std::optional<stResendReport> ParseStep(std::string_view line) {
    const std::optional<stSplitLine> split = SplitWithText(line, kStepFields - 2);
    if (!split) {
        return std::nullopt;
    }
    stResendReport report;
    report.type = RESEND_STEP;
    report.step = {NumberField(split->leading[1]), Utf8FromCp949(split->text),
                   ResendTimeFromText(split->time)};
    return report;
}

std::optional<stResendReport> ParseEvent(std::string_view line) {
    const std::optional<stSplitLine> split = SplitWithText(line, kEventFields - 2);
    if (!split) {
        return std::nullopt;
    }
    stResendReport report;
    report.type = RESEND_EVENT;
    report.event = {NumberField(split->leading[1]), NumberField(split->leading[2]),
                    Utf8FromCp949(split->text), ResendTimeFromText(split->time)};
    return report;
}

std::optional<stResendReport> ParseMoney(std::string_view line, enumResendType type) {
    const std::vector<std::string_view> fields = SplitAll(line);
    if (fields.size() < kMoneyFields) {
        return std::nullopt;
    }
    stResendReport report;
    report.type = type;
    report.money = {type == RESEND_CASH_IN ? CMD_CASH_IN_REPORT : CMD_PAYOUT_REPORT,
                    NumberField(fields[1]),
                    NumberField(fields[2]),
                    NumberField(fields[3]),
                    NumberField(fields[5]),
                    ResendTimeFromText(fields[6])};
    return report;
}

bool IsDigitAt(std::string_view text, std::initializer_list<size_t> positions) {
    for (size_t at : positions) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
            return false;
        }
    }
    return true;
}

int DigitsAt(std::string_view text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::string FormatResendLine(const stStepReport& report) {
    return Joined(
        {"1", std::to_string(report.code), LineSafeText(report.text), ResendTimeText(report.time)});
}

std::string FormatResendLine(const stDeviceEvent& event) {
    return Joined({"2", std::to_string(event.code), std::to_string(event.cleared),
                   LineSafeText(event.text), ResendTimeText(event.time)});
}

std::string FormatResendLine(const stMoneyReport& report) {
    if (report.command != CMD_CASH_IN_REPORT && report.command != CMD_PAYOUT_REPORT) {
        return {};
    }
    return Joined({report.command == CMD_CASH_IN_REPORT ? "3" : "4",
                   std::to_string(report.notes1000), std::to_string(report.notes5000),
                   std::to_string(report.notes10000), "0", std::to_string(report.keyCards),
                   ResendTimeText(report.time)});
}

std::optional<stResendReport> ParseResendLine(std::string_view cp949Line) {
    const std::string_view type = cp949Line.substr(0, cp949Line.find(kSeparator));
    switch (NumberField(type)) {
        case RESEND_STEP:
            return ParseStep(cp949Line);
        case RESEND_EVENT:
            return ParseEvent(cp949Line);
        case RESEND_CASH_IN:
            return ParseMoney(cp949Line, RESEND_CASH_IN);
        case RESEND_PAYOUT:
            return ParseMoney(cp949Line, RESEND_PAYOUT);
        case RESEND_FLOAT:
            return stResendReport{};  // a float report is the default
        default:
            return std::nullopt;
    }
}

std::string ResendTimeText(int64_t secondsSince1970) {
    if (secondsSince1970 == 0) {
        return {};
    }
    return LocalTimeText(LocalTimeFromEpoch(secondsSince1970));
}

int64_t ResendTimeFromText(std::string_view text) {
    if (!IsDigitAt(text, {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})) {
        return 0;
    }
    std::tm calendar{};
    calendar.tm_year = DigitsAt(text, 0, 4) - 1900;
    calendar.tm_mon = DigitsAt(text, 5, 2) - 1;
    calendar.tm_mday = DigitsAt(text, 8, 2);
    calendar.tm_hour = DigitsAt(text, 11, 2);
    calendar.tm_min = DigitsAt(text, 14, 2);
    calendar.tm_sec = DigitsAt(text, 17, 2);
    const std::time_t moment = MomentOfLocalCalendar(calendar);
    return moment == static_cast<std::time_t>(-1) ? 0 : static_cast<int64_t>(moment);
}

}  // namespace hx
