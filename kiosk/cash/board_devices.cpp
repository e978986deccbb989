#include "kiosk/cash/board_devices.h"

#include "kiosk/support/money_text.h"

namespace hx {

namespace {

constexpr uint8_t kThreeBits = 0x07;
constexpr uint8_t kFaultBit0 = 0x01;
constexpr uint8_t kLowBit = 0x02;
constexpr uint8_t kFaultBit2 = 0x04;

size_t NeededData(uint8_t type) {
    switch (type) {
        case RECORD_COIN_SELECTOR:
            return 1;
        case RECORD_BILL_ACCEPTOR:
            return 2;
        default:
            return 4;
    }
}

// "!", "!!", "!!!" before the unit's name for bits 0, 1 and 2.
std::string BitMark(int bit, std::string_view unit) {
    return std::string(static_cast<size_t>(bit) + 1, '!') + std::string(unit);
}

std::string BitMarks(uint8_t bits, std::string_view unit) {
    std::string marks;
    for (int bit = 0; bit < 3; ++bit) {
        if (bits & (1 << bit)) {
            marks += BitMark(bit, unit);
        }
    }
    return marks;
}

std::string FirstBitMark(uint8_t bits, std::string_view unit) {
    for (int bit = 0; bit < 3; ++bit) {
        if (bits & (1 << bit)) {
            return BitMark(bit, unit);
        }
    }
    return {};
}

}  // namespace

CBoardDevices::CBoardDevices(stBoardHooks hooks)
    : m_hooks(std::move(hooks)), m_events(m_hooks.raiseEvent) {}

void CBoardDevices::Apply(const stBoardRecord& record) {
    if (record.length < NeededData(record.type)) {
        return;
    }
    const Data& d = record.data;
    switch (record.type) {
        case RECORD_COINS:
            ApplyCoins(d);
            break;
        case RECORD_COIN_SELECTOR:
            ApplyCoinSelector(d);
            break;
        case RECORD_DISPENSE_RESULT:
            ApplyDispenseResult(d);
            break;
        case RECORD_DISPENSER_STATUS:
            ApplyDispenserStatus(d);
            break;
        case RECORD_BILLS:
            ApplyBills(d);
            break;
        case RECORD_BILL_ACCEPTOR:
            ApplyBillAcceptor(d);
            break;
        default:
            break;
    }
}

void CBoardDevices::ApplyCoins(const Data& d) {
    if (DropStaleCounts("동전")) {
        return;
    }
    m_coinsAmount = (d[2] + 5 * d[3]) * 100;
}

void CBoardDevices::ApplyCoinSelector(const Data& d) {
    constexpr uint8_t kOn = 0x01, kFaultC = 0x80, kFaultS = 0x04, kFaultJ = 0x08;
    m_coinSelectorText = (d[0] & kOn) ? "ON" : "OFF";
    m_coinSelectorText += (d[0] & kFaultC) ? "!C" : "";
    m_coinSelectorText += (d[0] & kFaultS) ? "!S" : "";
    m_coinSelectorText += (d[0] & kFaultJ) ? "!J" : "";
    m_coinSelectorFault = (d[0] & (kFaultC | kFaultS | kFaultJ)) != 0;
}

void CBoardDevices::ApplyDispenseResult(const Data& d) {
    const stDispenseResult result{
        d[0], d[1], d[2], d[3],
        (d[0] + 5 * d[1]) * 100 + m_denomination1 * d[2] + m_denomination2 * d[3]};
    m_lastPayout = result.amount;
    if (m_hooks.kioskLog) {
        m_hooks.kioskLog(MoneyText(result.amount) + " 원 반환");
    }
    if (m_dispensing && m_hooks.payoutRecorded) {
        m_hooks.payoutRecorded(result);
    }
    m_dispensing = false;
}

void CBoardDevices::ApplyDispenserStatus(const Data& d) {
    const uint8_t hopper = d[0] & kThreeBits;
    const uint8_t dispenser1 = (d[2] & kThreeBits) | (IsFloatLow(1) ? kLowBit : 0);
    const uint8_t dispenser2 = (d[3] & kThreeBits) | (IsFloatLow(2) ? kLowBit : 0);
    m_dispenserState = (dispenser1 ? 1 : 0) + (dispenser2 ? 2 : 0);

    m_events.Report(EVENT_BILL_DISPENSER1, (dispenser1 & (kFaultBit0 | kFaultBit2)) != 0);
    m_events.Report(EVENT_BILL_DISPENSER1_LOW, (dispenser1 & kLowBit) != 0);
    m_events.Report(EVENT_BILL_DISPENSER2_LOW, (dispenser2 & kLowBit) != 0);
    m_events.Report(EVENT_BILL_DISPENSER2, (dispenser2 & kFaultBit2) != 0);

    m_dispenserText = BitMarks(hopper, "1") + (d[1] == 1 ? "!5" : "") + BitMarks(dispenser1, "10") +
                      FirstBitMark(dispenser2, "50");
    const bool payoutFault =
        hopper != 0 || (dispenser1 & (kFaultBit0 | kFaultBit2)) || (dispenser2 & kFaultBit2);
    m_dispenserFault = payoutFault || (dispenser1 & kLowBit);
    if (m_hooks.dispenserStatus) {
        m_hooks.dispenserStatus(payoutFault);
    }
}

void CBoardDevices::ApplyBills(const Data& d) {
    if (DropStaleCounts("지폐")) {
        return;
    }
    const std::array<int, 4> counts{d[0], d[1], d[2], d[3]};
    m_billsAmount = (counts[0] + 5 * counts[1] + 10 * counts[2] + 50 * counts[3]) * 1000;
    stBillsCounted counted{m_billsAmount, m_coinsAmount, {}};
    for (size_t i = 0; i < counts.size(); ++i) {
        counted.rose[i] = counts[i] > m_previousBills[i];
    }
    m_previousBills = counts;
    if (m_hooks.billsCounted) {
        m_hooks.billsCounted(counted);
    }
}

void CBoardDevices::ApplyBillAcceptor(const Data& d) {
    constexpr uint8_t kOff = 0, kOn = 1, kOffFault = 4, kOnFault = 5;
    const uint8_t state = d[0];
    if (state == kOff || state == kOn || state == kOffFault || state == kOnFault) {
        m_billAcceptorFault = state == kOffFault || state == kOnFault;
        m_billAcceptorOff = state == kOff || state == kOffFault;
        m_events.Report(EVENT_BILL_ACCEPTOR, m_billAcceptorFault);
        m_billAcceptorText = m_billAcceptorOff ? "OFF" : "ON";
        m_billAcceptorText += m_billAcceptorFault ? "!E" : "";
    }
    ApplyDoorCode(d[1]);
}

void CBoardDevices::ApplyDoorCode(uint8_t code) {
    constexpr uint8_t kClosedWithGreeting = 0x10, kOpenQuiet = 0x20, kOpenWithGreeting = 0x30;
    if (code == kOpenWithGreeting) {
        SetDoorState(true, true);
    } else if (code == kOpenQuiet) {
        SetDoorState(true, false);
    } else if (code == kClosedWithGreeting) {
        SetDoorState(false, true);
    }
}

void CBoardDevices::SetDoorState(bool open, bool greeting) {
    m_events.Report(EVENT_DOOR_OPEN, open);
    if (greeting && m_hooks.playWelcome) {
        m_hooks.playWelcome();
    }
    m_doorOpen = open;
}

bool CBoardDevices::DropStaleCounts(std::string_view what) const {
    if (m_countsStale && m_hooks.kioskLog) {
        m_hooks.kioskLog(std::string(what) + " 기록 무시: 초기화 전의 수량");
    }
    return m_countsStale;
}

void CBoardDevices::ClearCounts() {
    m_countsStale = true;
    m_billsAmount = 0;
    m_coinsAmount = 0;
    m_previousBills = {};
}

void CBoardDevices::ReportPortOpened(bool opened) {
    m_events.Report(EVENT_BOARD_LINK, !opened);
}

void CBoardDevices::SetDenominations(int dispenser1, int dispenser2) {
    m_denomination1 = dispenser1;
    m_denomination2 = dispenser2;
}

bool CBoardDevices::HasCashDeviceError() const {
    return m_billAcceptorFault || m_coinSelectorFault || m_dispenserFault;
}

bool CBoardDevices::IsFloatLow(int dispenser) const {
    return m_hooks.isFloatLow && m_hooks.isFloatLow(dispenser);
}

}  // namespace hx
