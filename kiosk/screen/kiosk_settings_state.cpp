#include "kiosk/screen/kiosk_settings_state.h"

#include <utility>

namespace hx {

namespace {

bool IsDispenser(int dispenser) {
    return dispenser == 1 || dispenser == 2;
}

}  // namespace

std::string_view PaymentTypeWord(int paymentTypes) {
    switch (paymentTypes) {
        case 0:
            return "Cash";
        case 1:
            return "Credit";
        default:
            return "All";
    }
}

int DenominationOfCode(int code) {
    switch (code) {
        case 0:
            return 1000;
        case 1:
            return 5000;
        default:
            return 10000;
    }
}

CKioskSettingsState::CKioskSettingsState(CRoomCatalogue& catalogue, stHooks hooks)
    : m_catalogue(catalogue), m_hooks(std::move(hooks)) {}

void CKioskSettingsState::OnKioskConfig(stKioskConfig config) {
    NormaliseWindowHours(config);
    m_config = config;
    m_denominations[0] = DenominationOfCode(config.dispenser1Denomination);
    m_denominations[1] = DenominationOfCode(config.dispenser2Denomination);
    m_lowStock[0] = config.dispenser1LowStock;
    m_lowStock[1] = config.dispenser2LowStock;
    ApplyRoomFilter();
    ApplyDispenserDriver();
    m_firstConfig = false;
}

void CKioskSettingsState::ApplyRoomFilter() {
    const bool showAll = m_config.showAllRooms != 0;
    const bool changed = showAll != m_catalogue.ShowsAllRooms();
    m_catalogue.SetShowAllRooms(showAll);
    if (m_firstConfig || changed) {
        m_catalogue.ResendRoomList();
    }
}

void CKioskSettingsState::ApplyDispenserDriver() {
    const bool useLibrary = m_config.dispenserDriver != 0;
    if (useLibrary == m_dispenserLibrary) {
        return;
    }
    m_dispenserLibrary = useLibrary;
    if (m_hooks.dispenserDriverChanged) {
        m_hooks.dispenserDriverChanged(useLibrary);
    }
}

void CKioskSettingsState::OnKioskOptions(const stKioskOptions& options) {
    const stKioskOptions previous = std::exchange(m_options, options);
    AnnounceChangedOptions(previous);
    m_firstOptions = false;
    if (options.paymentTypes != 0 && m_hooks.cardPaymentEnabled) {
        m_hooks.cardPaymentEnabled();
    }
}

// The movie hears each switch on the first record and whenever it changes.
void CKioskSettingsState::AnnounceChangedOptions(const stKioskOptions& previous) {
    if (m_firstOptions || m_options.inService != previous.inService) {
        SendToMovie("UseKiosk", std::to_string(m_options.inService));
    }
    const std::string_view payWord = PaymentTypeWord(m_options.paymentTypes);
    if (m_firstOptions || payWord != PaymentTypeWord(previous.paymentTypes)) {
        SendToMovie("EnablePayType", payWord);
    }
    if (m_firstOptions || m_options.sound != previous.sound) {
        SendToMovie("EnableSound", std::to_string(m_options.sound));
    }
}

void CKioskSettingsState::Start(CWnd& window) {
    m_recordedHour = m_hooks.now().hour;
    window.SetTimer(kSaleTypeTimer, kSaleTypeTimerMs);
}

bool CKioskSettingsState::OnTimer(UINT_PTR id) {
    if (id != kSaleTypeTimer) {
        return false;
    }
    CheckSaleTypeAndHour();
    return true;
}

void CKioskSettingsState::CheckSaleTypeAndHour() {
    const stLocalTime now = m_hooks.now();
    const int saleType = SaleTypeAt(m_config, now);
    if (saleType != m_saleType) {
        m_saleType = saleType;
        SendToMovie("EnableSaleType", SaleTypeWord(saleType));
    }
    if (now.hour != m_recordedHour) {
        m_recordedHour = now.hour;
        if (m_hooks.requestRoomList) {
            m_hooks.requestRoomList();
        }
    }
}

std::string CKioskSettingsState::InitKioskAnswer() const {
    std::string answer(PaymentTypeWord(m_options.paymentTypes));
    answer += "||" + std::to_string(m_options.sound) + "||";
    answer += SaleTypeWord(m_saleType);
    return answer;
}

// The answer carries no in-service switch, and a page that (re)loads has
// missed the UseKiosk sent before, so a kiosk out of service says it again.
void CKioskSettingsState::AnswerInitKiosk() {
    SendToMovie("InitKiosk", InitKioskAnswer());
    if (!m_firstOptions) {
        SendToMovie("UseKiosk", std::to_string(m_options.inService));
    }
}

int CKioskSettingsState::BillDenomination(int dispenser) const {
    return IsDispenser(dispenser) ? m_denominations[dispenser - 1] : 0;
}

int CKioskSettingsState::LowStockThreshold(int dispenser) const {
    return IsDispenser(dispenser) ? m_lowStock[dispenser - 1] : 0;
}

void CKioskSettingsState::SendToMovie(std::string_view command, std::string_view args) const {
    if (m_hooks.movie) {
        m_hooks.movie(command, args);
    }
}

}  // namespace hx
