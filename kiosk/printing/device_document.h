#pragma once
// A document for a printer that draws line by line in its device fonts: each
// line in one face, placed a number of line heights below the line before
// it, where the line height is that of the face the line before was drawn
// in. Lines in the control face are commands to the printer, not text.

#include <string>
#include <vector>

namespace hx {

enum class enumDeviceFace { FontControl, Korean2x2, Korean1x1, Korean4x2, Korean1x2 };

struct stDeviceLine {
    int step = 0;  // line heights below the line before; the first line is at the top
    enumDeviceFace face = enumDeviceFace::Korean1x1;
    std::string text;  // code page 949
};

struct stDeviceDocument {
    std::string name;  // "Print Shopcard", "Print CreditReceipt"
    // The second line is placed by the printer's default font (the guest
    // ticket), not by the first line's face (the other documents).
    bool secondLineByDefaultFont = false;
    std::vector<stDeviceLine> lines;
};

}  // namespace hx
