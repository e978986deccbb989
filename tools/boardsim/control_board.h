#pragma once
// The board's behaviour: it answers the PC's commands (an acknowledgement for
// every data command, the device's records for a data request), opens and
// closes the inlets, pays out, and reports at once, unasked, every note or
// coin taken and every change the console makes. What it does goes to the
// event sink for the journal.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/boardsim/board_outbox.h"
#include "tools/boardsim/board_records.h"
#include "tools/boardsim/command_reader.h"

namespace hx {

enum class enumBoardUnit { BillAcceptor, CoinSelector, Hopper, Dispenser1, Dispenser2 };

class CControlBoard {
public:
    using EventSink = std::function<void(nlohmann::json)>;

    CControlBoard(const stBoardState& initial, CBoardOutbox& outbox, EventSink events);

    void Handle(const stBoardCommand& command);

    // False with the reason when the device does not take it (inlet closed,
    // a value it does not know, a count that would not fit its byte).
    bool InsertBill(int value, std::string& refusal);
    bool InsertCoin(int value, std::string& refusal);
    void SetDoor(uint8_t doorCode);
    void SetFault(enumBoardUnit unit, bool on);
    // False for a unit that is not a bill dispenser.
    bool SetLow(enumBoardUnit unit, bool on);
    // False for a unit that holds no stock.
    bool SetStock(enumBoardUnit unit, int count);
    // The next `commands` commands are carried out but get no answer at all.
    void Silence(int commands) { m_silentCommands += commands; }

    const stBoardState& State() const { return m_state; }

private:
    void HandleDataCommand(const stBoardCommand& command);
    void SetInlet(bool& open, std::span<int> counts, uint8_t action, const char* device);
    void Dispense(std::span<const uint8_t> data);
    void InitialiseUnits(std::span<const uint8_t> data);
    void AnswerChangedData(enumBoardDevice device);

    void SendFrame(const std::vector<stBoardRecord>& records);
    void SendSingle(const stBoardRecord& record);
    void Send(std::vector<uint8_t> bytes);
    bool InsertMoney(bool inletOpen, std::span<const int> values, std::span<int> counts, int value,
                     const char* what, std::string& refusal);
    stBillDispenser* Dispenser(enumBoardUnit unit);

    stBoardState m_state;
    CBoardOutbox& m_outbox;
    EventSink m_events;
    // The data of each record type as last sent, to tell what changed since.
    std::map<enumBoardRecord, std::vector<uint8_t>> m_reported;
    int m_silentCommands = 0;
    bool m_muted = false;  // while carrying out a silenced command
};

}  // namespace hx
