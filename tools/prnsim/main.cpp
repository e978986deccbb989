// prnsim: a receipt printer on a pseudo-terminal. See help_text.cpp.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/common/device_simulator.h"
#include "tools/prnsim/command_line.h"
#include "tools/prnsim/document_files.h"
#include "tools/prnsim/help_text.h"
#include "tools/prnsim/printer_line.h"
#include "tools/prnsim/usb_tree.h"

namespace {

int Fail(const std::string& reason) {
    std::fprintf(stderr, "prnsim: %s\n", reason.c_str());
    return 1;
}

// The journal names each document's files, so the folder is made absolute:
// whoever reads the journal may stand elsewhere.
bool MakeDocumentFolder(const hx::stPrnSimOptions& options, std::filesystem::path& folder,
                        std::string& error) {
    std::error_code code;
    folder = std::filesystem::absolute(hx::DocumentFolder(options), code).lexically_normal();
    if (!code) {
        std::filesystem::create_directories(folder, code);
    }
    if (code) {
        error = "cannot make " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace hx;
    stPrnSimOptions options;
    std::string error;
    if (!ParsePrnSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "prnsim: %s (see prnsim --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(PrnSimHelp().c_str(), stdout);
        return 0;
    }
    CGlyphFont font;
    if (!font.Open(options.font, error)) {
        return Fail(error);
    }
    std::filesystem::path out;
    if (!MakeDocumentFolder(options, out, error)) {
        return Fail(error);
    }
    stSimulatorSetup setup{"prnsim", options.link, options.journal, {}};
    if (!options.usbTree.empty()) {
        if (!BuildUsbTree(options.usbTree, error)) {
            return Fail(error);
        }
        setup.moreLinks.push_back(UsbPrinterNode(options.usbTree));
    }
    CDocumentFiles files(out, font);
    const stPrinterSetup printer{options.columns * kDotsPerColumn, options.state};
    const int exitCode =
        RunDeviceSimulator(setup, [&](CPseudoTerminal& terminal, CToolJournal& journal) {
            return std::make_unique<CPrinterLine>(
                terminal, printer,
                [&files](const stPrintedDocument& document, int number) {
                    return files.Save(document, number);
                },
                journal);
        });
    if (!options.usbTree.empty()) {
        RemoveUsbClassEntry(options.usbTree);
    }
    return exitCode;
}
