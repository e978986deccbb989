#include "tools/prnsim/help_text.h"

#include "tools/prnsim/command_line.h"
#include "tools/prnsim/receipt_printer.h"

namespace hx {

std::string PrnSimConsoleCommands() {
    return std::string() +
           "  state NAME      ready, near-end (prints; the paper sensor says low),\n"
           "                  paper-out, cover-open, feed (offline, still prints),\n"
           "                  error, silent (prints, never answers a status request)\n"
           "  status          state, documents printed, bytes dropped, status requests\n"
           "                  answered and met by silence\n"
           "  documents       the last " +
           std::to_string(kRecentDocuments) +
           " documents: number, files, lines, height in dots\n"
           "  help            these commands\n"
           "  quit            end (as do SIGTERM and SIGINT)\n";
}

std::string PrnSimHelp() {
    return "prnsim: a receipt printer on a pseudo-terminal, for demos, tests and bench\n"
           "tests of a kiosk. It prints the slave device's path on its first output line.\n"
           "The kiosk reaches it as a serial printer (115200 8N1) through a COM port link,\n"
           "or as a USB printer through a made-up sysfs tree, or both; the line is raw.\n"
           "Each document, up to its cut, becomes a picture and a text file.\n"
           "\n"
           "Usage: prnsim [options]\n"
           "  --link PATH       make PATH a symbolic link to the slave device, e.g.\n"
           "                    DRIVE/dosdevices/com0 (an existing link there is replaced,\n"
           "                    nothing else is)\n"
           "  --usb-tree DIR    make DIR a sysfs and /dev stand-in where the printer is\n"
           "                    found by its USB vendor id: DIR/sys/class/usbmisc/lp0/\n"
           "                    uevent (DEVNAME=usb/lp0), its device link to\n"
           "                    DIR/sys/devices/usb1/1-1/1-1:1.0, whose ../idVendor reads\n"
           "                    1504, and DIR/dev/usb/lp0 a link to the slave device. Point\n"
           "                    the kiosk at DIR/sys and DIR/dev. The class entry and the\n"
           "                    device link go when the program ends, as when unplugged\n"
           "  --journal FILE    JSON lines of what the printer did (see below)\n"
           "  --out DIR         where documents go (default: the journal's folder, else\n"
           "                    the current one), as doc-0001.png and doc-0001.txt,\n"
           "                    numbered from 1 in the order documents end\n"
           "  --columns N       paper width in characters of 12 dots, " +
           std::to_string(kFewestColumns) + ".." + std::to_string(kMostColumns) +
           " (default 48,\n"
           "                    576 dots; the second printer has 42)\n"
           "  --state NAME      the state at start (default ready; see \"state\" below)\n"
           "  --font FILE       a monospaced TrueType font with Korean (default\n"
           "                    " +
           kDefaultPrinterFont +
           ")\n"
           "  --help            this text\n"
           "\n"
           "What it understands: text in code page 949 (a byte 0x81-0xFE starts a two-byte\n"
           "Korean character); ESC @ initialise (size 1x1, bold off, left; clears the\n"
           "line); GS ! n size, width (n >> 4) + 1 and height (n & 15) + 1, each 1..8;\n"
           "ESC E n bold (n & 1); ESC a n alignment 0/'0' left, 1/'1' centre, 2/'2' right,\n"
           "for the line being built; ESC J n print the line, then feed n dots; LF print\n"
           "the line, then feed its tallest character plus 6 dots, at least 30; GS V m\n"
           "(m 0, 1, 48, 49) and GS V m n (m 65, 66: feed n dots first) cut, which ends\n"
           "the document (text left in the line is printed first, as by LF); DLE EOT n\n"
           "(n 1..4) a status request, answered with one byte at once. A character cell\n"
           "is 12 x 24 dots (two-byte 24 x 24) times its size; a character with no room\n"
           "left on the line goes to the next, as by LF. Any other control byte, an\n"
           "unknown ESC or GS sequence (its first two bytes, or only the ESC or GS when a\n"
           "control byte follows) or a value out of range (the whole sequence) is skipped\n"
           "and counted as bad bytes.\n"
           "\n"
           "Status answers (0x12 always set): n=1 +0x08 when offline (any state but\n"
           "ready, near-end, silent); n=2 +0x04 cover open, +0x08 feed button, +0x20\n"
           "stopped by paper end, +0x40 error; n=3 +0x40 in error; n=4 +0x0C near end,\n"
           "+0x60 paper out. In paper-out, cover-open and error the bytes of documents\n"
           "are dropped; status requests are still answered.\n"
           "\n"
           "Limits: a document is cut off at " +
           std::to_string(kMostDocumentBytes / (1024 * 1024)) + " MiB, " +
           std::to_string(kMostDocumentLines) + " lines or " + std::to_string(kLongestPaperDots) +
           " dots of paper;\n"
           "the line it was building is lost, and nothing more is printed up to its cut.\n"
           "\n"
           "Pictures are black on white, paper wide and as long as the paper fed, with a\n"
           "dashed cut mark on the last dot row. Text files are UTF-8: one line per\n"
           "printed line, as printed (no alignment padding, trailing spaces kept), then\n"
           "\"---- cut ----\".\n"
           "\n"
           "Journal events: linked (link, slave); started (slave); status request (n,\n"
           "answer: hex byte or \"silent\", written); document (number, png, text, saved,\n"
           "error, width, height, badBytes, cutOff, lines: text, align, top, height, feed,\n"
           "runs: text, size \"WxH\", bold); bad bytes (document, count, bytes: the first\n"
           "32 in hex), once per document; dropped (bytes, state), at a dropped cut, a\n"
           "state change or when the line has been quiet for 100 ms; oversized\n"
           "(document, reason: bytes, lines or paper, limit); line failed; console\n"
           "(line, reply); stopped.\n"
           "\n"
           "Console commands, one a line on standard input; each gets one reply on\n"
           "standard output, \"ok ...\" or \"error: ...\" (further lines indented):\n" +
           PrnSimConsoleCommands();
}

}  // namespace hx
