#pragma once
// The dispenser's behaviour: a stack of blank cards, one card at a time drawn
// into the read/write position (by Ready, or by the first write, read or
// eject that needs one), its blocks written and read there, then ejected to
// the guest or captured into the bin. Faults and answer misbehaviour are set
// from the console. What it does goes to the event sink for the journal.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "tools/dispsim/dispenser_answer.h"
#include "tools/dispsim/frame_reader.h"
#include "tools/dispsim/issued_card.h"

namespace hx {

enum class enumDispenserFault {
    Empty,  // the stack reads empty whatever it holds
    Jam,    // no card moves
    Hold,   // the last card still sits in the exit: nothing can be ejected
};

struct stDispenserState {
    int stack = 100;
    bool cardInMouth = false;
    bool empty = false;
    bool jam = false;
    bool hold = false;
    int issued = 0;
    int captured = 0;
    // Set: every Get Status gets this result character.
    std::optional<uint8_t> statusCode;
};

class CCardDispenser {
public:
    using EventSink = std::function<void(nlohmann::json)>;

    CCardDispenser(int stack, EventSink events);

    // The answer to write; nullopt when the device stays silent.
    std::optional<std::vector<uint8_t>> Handle(const stDispenserFrame& frame);

    void SetStack(int cards) { m_state.stack = cards; }
    void SetFault(enumDispenserFault fault, bool on);
    // The next `times` answers go wrong that way (replacing what was set).
    void Misbehave(enumAnswerFault fault, int times);
    // The next write of `block` (any sector) is refused with `result`.
    void RejectWrite(int block, uint8_t result) { m_rejectedWrites[block] = result; }
    void SetStatusCode(std::optional<uint8_t> result) { m_state.statusCode = result; }

    const stDispenserState& State() const { return m_state; }
    const std::vector<stIssuedCard>& Issued() const { return m_issued; }

private:
    using Data = std::vector<uint8_t>;

    // The result character; `data` gets what a good answer carries.
    uint8_t Carry(const stDispenserFrame& frame, Data& data);
    uint8_t Status() const;
    Data Sensors() const;
    uint8_t Write(const Data& parameters);
    uint8_t Read(const Data& parameters, Data& data);
    uint8_t Eject();
    uint8_t Capture();
    // False when there is no card to draw.
    bool DrawCard();
    CardBlock& Block(int sector, int block) { return m_blocks[{sector, block}]; }

    stDispenserState m_state;
    EventSink m_events;
    // The card in the read/write position: its blocks by sector and block.
    std::map<std::pair<int, int>, CardBlock> m_blocks;
    std::map<int, uint8_t> m_rejectedWrites;
    std::optional<enumAnswerFault> m_answerFault;
    int m_answerFaultsLeft = 0;
    std::vector<stIssuedCard> m_issued;
};

}  // namespace hx
