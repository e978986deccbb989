#pragma once
// The mouse cursor's display counter: each show adds one, each hide takes
// one away, and the cursor shows while the count is 0 or more. No system
// cursor is drawn by this process; the count is kept as the kiosk set it.

namespace hx {

// The new count.
int ShowCursor(bool show);

}  // namespace hx
