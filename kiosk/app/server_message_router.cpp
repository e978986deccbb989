#include "kiosk/app/server_message_router.h"

#include <utility>

#include "channel/net_channel_message_box.h"
#include "kiosk/screen/room_pictures.h"

namespace hx {

namespace {

constexpr const char* kMessageBoxCaption = "HxKiosk";
constexpr const char* kReadyText = "Ready!";

}  // namespace

CServerMessageRouter::CServerMessageRouter(CRoomCatalogue& catalogue, CKioskSettingsState& settings,
                                           MovieSink movie, stHooks hooks)
    : CServerMessageRouter(catalogue, settings, std::move(movie), std::move(hooks),
                           CRoomPictures::DefaultPlaces().listFile) {}

CServerMessageRouter::CServerMessageRouter(CRoomCatalogue& catalogue, CKioskSettingsState& settings,
                                           MovieSink movie, stHooks hooks,
                                           std::filesystem::path roomImagesList)
    : m_catalogue(catalogue),
      m_settings(settings),
      m_movie(std::move(movie)),
      m_hooks(std::move(hooks)),
      m_roomImagesList(std::move(roomImagesList)) {}

void CServerMessageRouter::OnServerConnected() {
    if (m_hooks.connected) {
        m_hooks.connected();
    }
}

void CServerMessageRouter::OnServerLost() {
    SendToMovie("PopupError");
    if (m_hooks.lost) {
        m_hooks.lost();
    }
}

void CServerMessageRouter::OnRoomPage(const stRoomPage& page) {
    m_catalogue.AppendRoomPage(page);
}

void CServerMessageRouter::OnClassPage(const stClassPage& page) {
    m_catalogue.AppendClassPage(page);
}

void CServerMessageRouter::OnSingleRoom(const stRoom4Kiosk& room) {
    m_catalogue.ApplySingleRoom(room);
}

std::filesystem::path CServerMessageRouter::RoomImagesTarget() {
    return m_roomImagesList;
}

std::optional<std::filesystem::path> CServerMessageRouter::PictureTarget(int index) {
    return m_catalogue.PictureTarget(index);
}

void CServerMessageRouter::OnRoomImagesReceived() {
    m_catalogue.SynchronisePictures();
}

void CServerMessageRouter::OnPictureReceived(int index) {
    m_catalogue.OnPictureReceived(index);
}

void CServerMessageRouter::OnClearLoading() {
    SendToMovie("ClearLoading");
}

void CServerMessageRouter::OnKioskConfig(const stKioskConfig& config) {
    m_settings.OnKioskConfig(config);
}

void CServerMessageRouter::OnKioskOptions(const stKioskOptions& options) {
    m_settings.OnKioskOptions(options);
}

void CServerMessageRouter::OnSaleAnswer(const stSaleAnswer& answer) {
    m_lastSaleAnswer = answer;
    if (m_hooks.saleAnswer) {
        m_hooks.saleAnswer(answer);
    }
}

void CServerMessageRouter::OnStartupReady() {
    ShowChannelMessageBox(kMessageBoxCaption, kReadyText);
}

void CServerMessageRouter::SendToMovie(std::string_view command, std::string_view args) const {
    if (m_movie) {
        m_movie(command, args);
    }
}

}  // namespace hx
