#include "tools/boardsim/control_board.h"

#include <algorithm>

namespace hx {

namespace {

// A payout of `wanted` pieces from a stock: what it can pay, and whether it ran out.
int PayFrom(int& stock, int wanted, bool blocked, bool& ranOut) {
    const int paid = blocked ? 0 : std::min(stock, wanted);
    stock -= paid;
    ranOut = ranOut || paid < wanted;
    return paid;
}

}  // namespace

CControlBoard::CControlBoard(const stBoardState& initial, CBoardOutbox& outbox, EventSink events)
    : m_state(initial), m_outbox(outbox), m_events(std::move(events)) {}

void CControlBoard::Handle(const stBoardCommand& command) {
    m_muted = m_silentCommands > 0;
    if (m_muted) {
        --m_silentCommands;
        m_events({{"event", "silent"}});
    }
    switch (command.request) {
        case enumBoardRequest::AllData:
            SendFrame(DeviceRecords(m_state, command.device));
            break;
        case enumBoardRequest::ChangedData:
            AnswerChangedData(command.device);
            break;
        case enumBoardRequest::DataCommand:
            HandleDataCommand(command);
            break;
    }
    m_muted = false;
}

void CControlBoard::AnswerChangedData(enumBoardDevice device) {
    std::vector<stBoardRecord> changed;
    for (stBoardRecord& record : DeviceRecords(m_state, device)) {
        const auto reported = m_reported.find(record.type);
        if (reported == m_reported.end() || reported->second != record.data) {
            changed.push_back(std::move(record));
        }
    }
    if (changed.empty()) {
        Send(BuildBoardAck());
    } else {
        SendFrame(changed);
    }
}

void CControlBoard::HandleDataCommand(const stBoardCommand& command) {
    Send(BuildBoardAck());
    if (!command.type) {
        return;
    }
    const uint8_t type = *command.type;
    const std::span<const uint8_t> data = command.data;
    if (command.device == enumBoardDevice::BillAcceptor && type == kBillInletType &&
        !data.empty()) {
        SetInlet(m_state.billInletOpen, m_state.bills, data[0], "bill");
    } else if (command.device == enumBoardDevice::CoinSelector && type == kCoinInletType &&
               !data.empty()) {
        SetInlet(m_state.coinInletOpen, m_state.coins, data[0], "coin");
    } else if (command.device == enumBoardDevice::Dispenser && data.size() >= 4 &&
               type == kDispenseType) {
        Dispense(data);
    } else if (command.device == enumBoardDevice::Dispenser && data.size() >= 4 &&
               type == kInitialiseUnitType) {
        InitialiseUnits(data);
    } else if (command.device == enumBoardDevice::Dispenser && type == kSignalType) {
        m_events({{"event", "signal"}, {"data", data}});
    } else {
        m_events({{"event", "unknown data command"}, {"type", type}, {"data", data}});
    }
}

void CControlBoard::SetInlet(bool& open, std::span<int> counts, uint8_t action,
                             const char* device) {
    open = (action & kInletOpenBit) != 0;
    const bool reset = (action & kInletResetBit) != 0;
    if (reset) {
        std::fill(counts.begin(), counts.end(), 0);
    }
    m_events({{"event", "inlet"}, {"device", device}, {"open", open}, {"reset", reset}});
}

void CControlBoard::Dispense(std::span<const uint8_t> data) {
    bool ranOut1 = false;
    bool ranOut2 = false;
    bool hopperShort = false;
    stPayout payout;
    payout.coins = PayFrom(m_state.hopperStock, data[0], m_state.hopperFault, hopperShort);
    payout.notes1 = PayFrom(m_state.dispenser1.stock, data[2], m_state.dispenser1.fault, ranOut1);
    payout.notes2 = PayFrom(m_state.dispenser2.stock, data[3], m_state.dispenser2.fault, ranOut2);
    m_state.dispenser1.empty = m_state.dispenser1.empty || ranOut1;
    m_state.dispenser2.empty = m_state.dispenser2.empty || ranOut2;
    m_events({{"event", "paid out"},
              {"coins", payout.coins},
              {"notes1", payout.notes1},
              {"notes2", payout.notes2},
              {"won", payout.coins * 100 + payout.notes1 * m_state.dispenser1.denomination +
                          payout.notes2 * m_state.dispenser2.denomination},
              {"short", hopperShort || ranOut1 || ranOut2}});
    SendFrame({DispenseResultRecord(payout), DispenserStatusRecord(m_state)});
}

void CControlBoard::InitialiseUnits(std::span<const uint8_t> data) {
    // Data positions: hopper, 500-won position, dispenser 1, dispenser 2.
    if (data[0] != 0) {
        m_state.hopperFault = false;
    }
    for (const auto& [position, dispenser] :
         {std::pair{2, &m_state.dispenser1}, std::pair{3, &m_state.dispenser2}}) {
        if (data[static_cast<size_t>(position)] != 0) {
            dispenser->empty = false;
            dispenser->fault = false;
        }
    }
    m_events({{"event", "initialised"}, {"data", data}});
}

bool CControlBoard::InsertMoney(bool inletOpen, std::span<const int> values, std::span<int> counts,
                                int value, const char* what, std::string& refusal) {
    const auto known = std::find(values.begin(), values.end(), value);
    if (known == values.end()) {
        refusal = std::string("no such ") + what + " value";
        return false;
    }
    if (!inletOpen) {
        refusal = std::string("the ") + what + " inlet is closed";
        return false;
    }
    int& count = counts[static_cast<size_t>(known - values.begin())];
    if (count >= kMaxBoardCount) {
        refusal = "that count is full until the next reset";
        return false;
    }
    ++count;
    m_events({{"event", "taken"}, {"device", what}, {"value", value}});
    return true;
}

bool CControlBoard::InsertBill(int value, std::string& refusal) {
    if (!InsertMoney(m_state.billInletOpen, kBillValues, m_state.bills, value, "bill", refusal)) {
        return false;
    }
    SendFrame({BillsCountedRecord(m_state)});
    return true;
}

bool CControlBoard::InsertCoin(int value, std::string& refusal) {
    if (!InsertMoney(m_state.coinInletOpen, kCoinValues, m_state.coins, value, "coin", refusal)) {
        return false;
    }
    SendFrame({CoinsCountedRecord(m_state)});
    return true;
}

void CControlBoard::SetDoor(uint8_t doorCode) {
    m_state.door = doorCode;
    SendSingle(BillAcceptorRecord(m_state, doorCode));
}

void CControlBoard::SetFault(enumBoardUnit unit, bool on) {
    switch (unit) {
        case enumBoardUnit::BillAcceptor:
            m_state.acceptorFault = on;
            SendSingle(BillAcceptorRecord(m_state));
            return;
        case enumBoardUnit::CoinSelector:
            m_state.selectorFault = on;
            SendSingle(CoinSelectorRecord(m_state));
            return;
        case enumBoardUnit::Hopper:
            m_state.hopperFault = on;
            break;
        case enumBoardUnit::Dispenser1:
        case enumBoardUnit::Dispenser2:
            Dispenser(unit)->fault = on;
            break;
    }
    SendSingle(DispenserStatusRecord(m_state));
}

bool CControlBoard::SetLow(enumBoardUnit unit, bool on) {
    stBillDispenser* dispenser = Dispenser(unit);
    if (dispenser == nullptr) {
        return false;
    }
    dispenser->forcedLow = on;
    SendSingle(DispenserStatusRecord(m_state));
    return true;
}

bool CControlBoard::SetStock(enumBoardUnit unit, int count) {
    stBillDispenser* dispenser = Dispenser(unit);
    if (dispenser != nullptr) {
        dispenser->stock = count;
    } else if (unit == enumBoardUnit::Hopper) {
        m_state.hopperStock = count;
    } else {
        return false;
    }
    SendSingle(DispenserStatusRecord(m_state));
    return true;
}

stBillDispenser* CControlBoard::Dispenser(enumBoardUnit unit) {
    if (unit == enumBoardUnit::Dispenser1) {
        return &m_state.dispenser1;
    }
    return unit == enumBoardUnit::Dispenser2 ? &m_state.dispenser2 : nullptr;
}

void CControlBoard::SendFrame(const std::vector<stBoardRecord>& records) {
    if (m_muted) {
        return;
    }
    m_outbox.Push(BuildRecordFrame(records));
    for (const stBoardRecord& record : records) {
        m_reported[record.type] = record.data;
    }
}

// Only the console's changes go as single records, and they are never silenced.
void CControlBoard::SendSingle(const stBoardRecord& record) {
    m_outbox.Push(BuildSingleRecord(record));
    m_reported[record.type] = record.data;
}

void CControlBoard::Send(std::vector<uint8_t> bytes) {
    if (!m_muted) {
        m_outbox.Push(std::move(bytes));
    }
}

}  // namespace hx
