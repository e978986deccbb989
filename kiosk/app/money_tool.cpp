#include "kiosk/app/money_tool.h"

#include <cctype>
#include <optional>

#include "kiosk/support/money_journal.h"
#include "kiosk/support/money_report.h"
#include "platform/drive.h"
#include "platform/local_time.h"

namespace hx {

const char* const kMoneyToolUsage =
    "usage: hxmoney [--drive DIR] [YYYY-MM-DD]\n"
    "Prints the money journal of a day (today without one) and its check: the\n"
    "money open now, what the checks found, the payments whose sums do not agree.\n"
    "The journal is DIR/Harlix/MoneyJournal.db; DIR is --drive, else $HXKIOSK_DRIVE,\n"
    "else /var/lib/hxkiosk.";

namespace {

bool IsDay(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (i != 4 && i != 7 && std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return false;
        }
    }
    return true;
}

struct stMoneyToolCommand {
    std::optional<std::string> drive;
    std::string day;
};

std::optional<stMoneyToolCommand> ParseMoneyToolCommand(const std::vector<std::string>& args) {
    stMoneyToolCommand command;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--drive" && i + 1 < args.size()) {
            command.drive = args[++i];
        } else if (command.day.empty() && IsDay(args[i])) {
            command.day = args[i];
        } else {
            return std::nullopt;
        }
    }
    if (command.day.empty()) {
        command.day = LocalTimeText(GetLocalTimeNow()).substr(0, 10);
    }
    return command;
}

}  // namespace

int HxMoneyMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto command = ParseMoneyToolCommand(args);
    if (!command) {
        err << kMoneyToolUsage << "\n";
        return 2;
    }
    SetDriveFolder(ResolveDriveFolder(command->drive));
    CMoneyJournal journal([&err](std::string_view line) { err << line << "\n"; });
    if (!journal.Open(CMoneyJournal::DefaultFile(), true)) {
        err << "hxmoney: " << CMoneyJournal::DefaultFile().string() << "\n";
        return 1;
    }
    for (const std::string& line :
         MoneyReportLines(MoneyReportOfDay(journal, command->day), command->day)) {
        out << line << "\n";
    }
    return 0;
}

}  // namespace hx
