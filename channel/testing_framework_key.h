#pragma once
// For tests only: the framework key the channel's tests run under, set as an
// application sets its own at start-up. The channel reads its values under
// whatever key its application set, so it needs no application's names.

namespace hx {

inline constexpr const char* kTestRegistryCompany = "HxTest";
inline constexpr const char* kTestRegistryApplication = "HxChannelTest";

}  // namespace hx
