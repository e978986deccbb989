// Server messages as the kiosk's channel window receives them, fed through
// its dispatcher into the room catalogue, the settings state and the file
// chunk writer. The input is a run of messages, each a 16-bit little-endian
// length and that many bytes, so lists, pages and chunked files can build on
// each other. Whatever arrives, nothing past a message is read, the screen
// only hears the kiosk's own commands, and every picture the kiosk would
// fetch and write stays inside the picture folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "channel/net_channel_message_box.h"
#include "fuzz/fuzz_require.h"
#include "kiosk/app/server_message_router.h"
#include "kiosk/screen/kiosk_settings_state.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/server/channel_dlg.h"
#include "kiosk/server/server_requests.h"
#include "platform/drive.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class CSilentMessageBox : public CChannelMessageBox {
public:
    void Show(const std::string&, const std::string&) override {}
};

const std::set<std::string_view> kMovieCommands = {
    "InitRoomData",   "SetRoomData",  "EndSetRoomData", "UpdateRoomData", "DeleteRoomData",
    "PopupLoading",   "ClearLoading", "UseKiosk",       "EnablePayType",  "EnableSound",
    "EnableSaleType", "PopupError",   "ClearError",     "InitKiosk"};

void CheckMovieCall(std::string_view command, std::string_view args) {
    Require(kMovieCommands.count(command) == 1);
    Require(args.find('\0') == std::string_view::npos);
}

void CheckPictureTargets(const CRoomCatalogue& catalogue) {
    static const std::string folder =
        CRoomPictures::DefaultPlaces().pictureFolder.lexically_normal().string() + "/";
    const size_t count = catalogue.Pictures().DownloadList().size();
    for (size_t i = 0; i < count; ++i) {
        // Only a picture asked for has a target, and it lies in the folder.
        const auto target = catalogue.PictureTarget(static_cast<int>(i));
        Require(!target || target->lexically_normal().string().rfind(folder, 0) == 0);
    }
}

// The messages of one input, each in a buffer of exactly its own length.
std::vector<std::vector<uint8_t>> SplitMessages(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> messages;
    size_t at = 0;
    while (at + 2 <= size) {
        const size_t length = std::min<size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
        at += 2;
        messages.emplace_back(data + at, data + at + length);
        at += length;
    }
    return messages;
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    static const bool ready = [] {
        // What the kiosk writes goes to a drive folder of the fuzzer's own.
        static const CTempDrive drive;
        static CSilentMessageBox box;
        SetChannelMessageBox(&box);
        return true;
    }();
    Require(ready);
    // Every input starts from an empty program folder.
    std::error_code ignored;
    std::filesystem::remove_all(GetProgramFolder(), ignored);

    const auto silent = [](std::string_view) {};
    CChannelDlg dlg(kChannelBasePort, silent);  // never created: no connection is made
    CRoomCatalogue catalogue(
        CheckMovieCall,
        [&dlg](int index, const std::string& name) {
            return SendPictureRequest(&dlg, index, name) == 1;
        },
        silent);
    catalogue.SetMovieReady(true);
    CKioskSettingsState::stHooks hooks;
    hooks.movie = CheckMovieCall;
    CKioskSettingsState settings(catalogue, hooks);
    CServerMessageRouter router(catalogue, settings, CheckMovieCall);
    dlg.SetServerEvents(&router);

    // The targets are checked whenever the download list changed (walking it
    // after every message made long inputs crawl).
    std::vector<std::string> checked;
    for (const std::vector<uint8_t>& message : SplitMessages(data, size)) {
        const int result = dlg.ParsePacket(message.data(), static_cast<int>(message.size()));
        Require(result == 0 || result == 1);
        if (catalogue.Pictures().DownloadList() != checked) {
            CheckPictureTargets(catalogue);
            checked = catalogue.Pictures().DownloadList();
        }
    }
    dlg.SetServerEvents(nullptr);
    return 0;
}
