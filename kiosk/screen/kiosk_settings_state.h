#pragma once
// The kiosk's settings as the front-desk server sends them (configuration
// and options) and what the screen makes of them: the room filter, the pay
// types, sound and service switches, the stay types sold at this hour, and
// the hourly room-list refresh. Everything here runs on the user interface
// thread.

#include <functional>
#include <string>
#include <string_view>

#include "kiosk/records/config_records.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/screen/sale_type_window.h"
#include "platform/local_time.h"
#include "platform/wnd.h"

namespace hx {

// "Cash" (0), "Credit" (1), "All" (any other value).
std::string_view PaymentTypeWord(int paymentTypes);

// Bill dispenser denomination code: 0 = 1,000, 1 = 5,000, other = 10,000 won.
int DenominationOfCode(int code);

class CKioskSettingsState {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;
    using LocalClock = std::function<stLocalTime()>;

    static constexpr UINT_PTR kSaleTypeTimer = 8;
    static constexpr UINT kSaleTypeTimerMs = 100;
    static constexpr int kDefaultLowStock = 20;  // notes, until the server sets it

    struct stHooks {
        MovieSink movie;                        // the bridge's ReceiveScript
        std::function<bool()> requestRoomList;  // sends the room-list request
        LocalClock now = GetLocalTimeNow;
        // Reopen the dispenser with the selected driver; fetch the
        // terminal's merchant information when card payment is on.
        std::function<void(bool useLibrary)> dispenserDriverChanged = nullptr;
        std::function<void()> cardPaymentEnabled = nullptr;
    };

    CKioskSettingsState(CRoomCatalogue& catalogue, stHooks hooks);

    void OnKioskConfig(stKioskConfig config);
    void OnKioskOptions(const stKioskOptions& options);

    // Kiosk window initialisation: records the local hour and starts the
    // repeating timer on `window`, whose procedure passes WM_TIMER to OnTimer.
    void Start(CWnd& window);
    // True when `id` was this state's timer (and it was handled).
    bool OnTimer(UINT_PTR id);
    // One timer pass: tells the movie when the stay types sold change, and
    // asks for the room list when the local hour changed.
    void CheckSaleTypeAndHour();

    // The answer to the movie's InitKiosk: pay types, sound, stay types
    // ("All||1||Rental").
    std::string InitKioskAnswer() const;
    void AnswerInitKiosk();

    const stKioskConfig& Config() const { return m_config; }
    const stKioskOptions& Options() const { return m_options; }
    int SaleType() const { return m_saleType; }
    // Dispenser 1 or 2: the note it pays out (won) and its low-stock threshold.
    int BillDenomination(int dispenser) const;
    int LowStockThreshold(int dispenser) const;

private:
    void SendToMovie(std::string_view command, std::string_view args) const;
    void ApplyRoomFilter();
    void ApplyDispenserDriver();
    void AnnounceChangedOptions(const stKioskOptions& previous);

    CRoomCatalogue& m_catalogue;
    stHooks m_hooks;
    stKioskConfig m_config;
    stKioskOptions m_options;
    bool m_firstConfig = true;
    bool m_firstOptions = true;
    bool m_dispenserLibrary = false;  // the serial dispenser until told otherwise
    int m_saleType = SALE_TYPE_ALL;
    int m_recordedHour = -1;
    // Until the first configuration: 1,000 won in dispenser 1, 5,000 in 2.
    int m_denominations[2] = {1000, 5000};
    int m_lowStock[2] = {kDefaultLowStock, kDefaultLowStock};
};

}  // namespace hx
