#pragma once
// The serial receipt printer's library: the four calls the kiosk makes, with
// the answers it relies on. On this machine CPosPrinterLine stands in for the
// maker's library.

namespace hx {

class IPosPrinterLibrary {
public:
    virtual ~IPosPrinterLibrary() = default;
    virtual void Close() = 0;
    // Non-zero when the port opened.
    virtual int Open(const char* port, int speed) = 0;
    // 0, 2, 101 and 200 are failures; any other answer means printed.
    virtual int Print(const char* document) = 0;
    // 3 paper out; 101, 200 and 0 or less failures; other positive answers ready.
    virtual int Status(int request) = 0;
};

}  // namespace hx
