#include "tools/prnsim/printer_console.h"

#include <optional>

#include "tools/common/console_words.h"
#include "tools/prnsim/help_text.h"

namespace hx {

namespace {

const char kUsage[] = "error: say state|status|documents|help|quit";

std::string DocumentText(const stSavedDocument& document) {
    const std::string number = "#" + std::to_string(document.number) + " ";
    if (!document.saved) {
        return number + "not saved: " + document.error;
    }
    return number + document.png + " " + document.text + " " + std::to_string(document.lines) +
           " lines " + std::to_string(document.height) + " dots";
}

}  // namespace

std::string CPrinterConsole::Execute(std::string_view line) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return kUsage;
    }
    const std::string& verb = words[0];
    if (verb == "state") {
        return State(words);
    }
    if (words.size() > 1) {
        return kUsage;
    }
    if (verb == "status") {
        return Status();
    }
    if (verb == "documents") {
        return Documents();
    }
    if (verb == "help") {
        std::string commands = PrnSimConsoleCommands();
        commands.pop_back();  // its last line end
        return "ok commands\n" + commands;
    }
    if (verb == "quit") {
        m_quit = true;
        return "ok quitting";
    }
    return kUsage;
}

std::string CPrinterConsole::State(const std::vector<std::string>& words) {
    const std::optional<enumPrinterState> state =
        words.size() == 2 ? PrinterStateByName(words[1]) : std::nullopt;
    if (!state) {
        return "error: state " + PrinterStateNames();
    }
    m_printer.SetState(*state);
    return "ok state " + words[1];
}

std::string CPrinterConsole::Status() const {
    const stPrinterCounts& counts = m_printer.Counts();
    return "ok state=" + std::string(PrinterStateName(m_printer.State())) +
           " documents=" + std::to_string(counts.documents) +
           " dropped=" + std::to_string(counts.droppedBytes) +
           " answered=" + std::to_string(counts.answered) +
           " unanswered=" + std::to_string(counts.unanswered);
}

std::string CPrinterConsole::Documents() const {
    std::string reply = "ok documents " + std::to_string(m_printer.Counts().documents);
    for (const stSavedDocument& document : m_printer.Recent()) {
        reply += "\n  " + DocumentText(document);
    }
    return reply;
}

}  // namespace hx
