#pragma once
// At start-up, before the server can send anything: the temporary files of
// downloads that a crash or a power cut interrupted are removed from the
// picture folder (served to the customer screen as it is) and beside the
// picture list, each removal logged.

#include <functional>
#include <string_view>

#include "kiosk/screen/room_pictures.h"

namespace hx {

void RemoveInterruptedDownloads(const CRoomPictures::stPlaces& places,
                                const std::function<void(std::string_view utf8Line)>& log);

}  // namespace hx
