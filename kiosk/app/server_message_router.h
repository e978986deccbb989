#pragma once
// Connects the server link to the kiosk window as far as both are built:
// rooms, classes and pictures go to the room catalogue, configuration and
// options to the settings state, and the screen hears of the link's changes.
// It lives with start-up, so neither the server folder nor the screen folder
// needs the other. The sale answer is kept and handed to the sale flow's
// hook, a connect to the resend queue's; the cash refund and the
// configuration menu join through the hooks when they are built.

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "kiosk/screen/kiosk_settings_state.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/server/server_events.h"

namespace hx {

// What the kiosk window adds to the router's own steps.
struct stServerRouterHooks {
    std::function<void(const stSaleAnswer&)> saleAnswer = nullptr;
    std::function<void()> connected = nullptr;
    std::function<void()> lost = nullptr;  // after the screen was told
};

class CServerMessageRouter : public CServerEvents {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;

    using stHooks = stServerRouterHooks;

    // The picture list file is the catalogue's ("RoomImages.ini" in the
    // program folder) unless another is given.
    CServerMessageRouter(CRoomCatalogue& catalogue, CKioskSettingsState& settings, MovieSink movie,
                         stHooks hooks = {});
    CServerMessageRouter(CRoomCatalogue& catalogue, CKioskSettingsState& settings, MovieSink movie,
                         stHooks hooks, std::filesystem::path roomImagesList);

    // The link is back: the resend queue's follow-up (through the hook)
    // replays the reports kept meanwhile, has the screen drop its rooms (the
    // server sends them again), tells the server the kiosk is there and
    // takes the error screen away.
    void OnServerConnected() override;
    // The error screen comes up.
    void OnServerLost() override;

    void OnRoomPage(const stRoomPage& page) override;
    void OnClassPage(const stClassPage& page) override;
    void OnSingleRoom(const stRoom4Kiosk& room) override;
    std::filesystem::path RoomImagesTarget() override;
    std::optional<std::filesystem::path> PictureTarget(int index) override;
    void OnRoomImagesReceived() override;
    void OnPictureReceived(int index) override;
    void OnClearLoading() override;
    void OnKioskConfig(const stKioskConfig& config) override;
    void OnKioskOptions(const stKioskOptions& options) override;
    void OnSaleAnswer(const stSaleAnswer& answer) override;
    // Shows "Ready!" without holding up the link.
    void OnStartupReady() override;

    // The last sale answer, kept for the sale flow.
    const std::optional<stSaleAnswer>& LastSaleAnswer() const { return m_lastSaleAnswer; }

private:
    void SendToMovie(std::string_view command, std::string_view args = {}) const;

    CRoomCatalogue& m_catalogue;
    CKioskSettingsState& m_settings;
    const MovieSink m_movie;
    const stHooks m_hooks;
    const std::filesystem::path m_roomImagesList;
    std::optional<stSaleAnswer> m_lastSaleAnswer;
};

}  // namespace hx
