#pragma once
// The kiosk window's side of the server link: what it does when the link
// comes and goes, and with each message the server sends on its own
// initiative. The channel window calls these on the user interface thread;
// start-up connects them to the kiosk window.

#include <filesystem>
#include <optional>

#include "kiosk/records/config_records.h"
#include "kiosk/records/list_page_records.h"
#include "kiosk/records/room_records.h"
#include "kiosk/records/sale_records.h"

namespace hx {

class CServerEvents {
public:
    virtual ~CServerEvents() = default;

    virtual void OnServerConnected() = 0;
    virtual void OnServerLost() = 0;

    virtual void OnRoomPage(const stRoomPage& page) = 0;
    virtual void OnClassPage(const stClassPage& page) = 0;
    // Insert, replace, or (operation kRoomRemove) remove one room.
    virtual void OnSingleRoom(const stRoom4Kiosk& room) = 0;

    // Where chunked files go: the picture list, and the picture asked for
    // with this index (empty when none is awaited).
    virtual std::filesystem::path RoomImagesTarget() = 0;
    virtual std::optional<std::filesystem::path> PictureTarget(int index) = 0;
    // A whole file is in place; a picture's with the index its chunks carried.
    virtual void OnRoomImagesReceived() = 0;
    virtual void OnPictureReceived(int index) = 0;
    virtual void OnClearLoading() = 0;

    virtual void OnKioskConfig(const stKioskConfig& config) = 0;
    virtual void OnKioskOptions(const stKioskOptions& options) = 0;
    virtual void OnSaleAnswer(const stSaleAnswer& answer) = 0;
    // The server answered the start-up notice with "ready".
    virtual void OnStartupReady() = 0;
};

}  // namespace hx
