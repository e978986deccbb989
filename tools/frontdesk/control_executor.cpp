#include "tools/frontdesk/control_executor.h"

#include <algorithm>
#include <map>

#include "kiosk/records/kiosk_command.h"
#include "tools/frontdesk/desk_packets.h"
#include "tools/frontdesk/named_fields.h"
#include "tools/frontdesk/server_packets.h"

namespace hx {

const char kControlHelp[] =
    "Control commands (one a line; \"to=N\" sends to terminal N only, else to every kiosk):\n"
    "  kiosks                           list the connections\n"
    "  room N [field=value ...] [alt]   change room N (or add it) and push it (502; 519 with "
    "alt)\n"
    "  room N remove [alt]              remove room N and push the removal\n"
    "  rooms | classes | lists          push the room list, the class list, or both\n"
    "  config [field=value ...]         change the configuration and push it (516)\n"
    "  options [field=value ...]        change the options and push them (517)\n"
    "  message CAPTION TEXT             show a message box on the kiosk (20)\n"
    "  container ITEM ...               push items in one container (20000); items: rooms,\n"
    "                                   classes, lists, config, options, images, clear-loading,\n"
    "                                   room:N\n"
    "  images                           send \"RoomImages.ini\" (510)\n"
    "  clear-loading                    send 513\n"
    "  drop                             close the connection\n"
    "  silent on|off                    stop (or go on) answering anything\n"
    "  ack COMMAND acknowledge|refuse|silent   answer reports (505-508, 515) or 518 so\n"
    "  malformed framing|packet         send bytes that are no message, or a broken packet\n"
    "  malformed huge BYTES             announce a message of BYTES (up to 2147483647) and\n"
    "                                   send that many zeros in zlib blocks, never held whole\n"
    "  quit                             end the desk\n"
    "Fields use the scenario's names, e.g. room 305 state=1 name=\"305호\".\n";

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

template <class Record>
bool ApplySettings(std::span<const stNamedField<Record>> fields, const Settings& settings,
                   Record& record, std::string& error) {
    for (const auto& [name, value] : settings) {
        if (!SetFieldFromText(fields, record, name, value, error)) {
            return false;
        }
    }
    return true;
}

bool HasWord(const stControlCommand& command, std::string_view word) {
    return std::find(command.words.begin(), command.words.end(), word) != command.words.end();
}

const stRoom4Kiosk* FindRoom(const std::vector<stRoom4Kiosk>& rooms, const std::string& number) {
    int64_t roomNo = 0;
    if (!ParseWholeNumber(number, 1, INT32_MAX, roomNo)) {
        return nullptr;
    }
    const auto found = std::find_if(rooms.begin(), rooms.end(), [roomNo](const stRoom4Kiosk& room) {
        return room.roomNo == roomNo;
    });
    return found == rooms.end() ? nullptr : &*found;
}

// The packets a name stands for, as pushed by the command of that name or
// inside a container.
bool BuildNamedPackets(const stDeskState& state, const std::string& name,
                       std::vector<Bytes>& packets, std::string& error) {
    const stScenario& scenario = state.scenario;
    std::vector<Bytes> built;
    if (name == "rooms") {
        built = BuildRoomListPackets(scenario);
    } else if (name == "classes") {
        built = BuildClassListPackets(scenario);
    } else if (name == "lists") {
        built = BuildListPackets(scenario);
    } else if (name == "config") {
        built = {BuildConfigPacket(scenario)};
    } else if (name == "options") {
        built = {BuildOptionsPacket(scenario)};
    } else if (name == "images") {
        built = BuildPictureIndexPackets(state.pictures);
    } else if (name == "clear-loading") {
        built = {BuildClearLoadingPacket()};
    } else if (name.starts_with("room:")) {
        const stRoom4Kiosk* room = FindRoom(scenario.rooms, name.substr(5));
        if (room == nullptr) {
            error = "no room \"" + name.substr(5) + "\"";
            return false;
        }
        built = {BuildSingleRoomPacket(*room, CMD_SINGLE_ROOM)};
    } else {
        error = "unknown item \"" + name + "\"";
        return false;
    }
    packets.insert(packets.end(), built.begin(), built.end());
    return true;
}

std::string Error(const std::string& reason) {
    return "error: " + reason;
}

}  // namespace

std::string CControlExecutor::Pushed(const KioskTarget& target, const std::vector<Bytes>& packets) {
    const int reached = m_desk.Push(target, packets);
    return "ok: " + std::to_string(packets.size()) + " packet(s) to " + std::to_string(reached) +
           " kiosk(s)";
}

std::string CControlExecutor::Kiosks() {
    std::string reply = "ok:";
    for (const stSessionInfo& session : m_desk.Sessions()) {
        reply += "\n  session " + std::to_string(session.id) + " " + session.peer + " " +
                 SessionStateName(session.state);
        if (session.clientKey != 0) {
            reply += " terminal " + std::to_string(session.terminalNo) + " key " +
                     std::to_string(session.clientKey) + " \"" + session.name + "\" (" +
                     session.computerName + ")";
        }
    }
    return reply;
}

std::string CControlExecutor::Room(const stControlCommand& command) {
    int64_t roomNo = 0;
    if (command.words.empty() || !ParseWholeNumber(command.words[0], 1, INT32_MAX, roomNo)) {
        return Error("room needs a room number");
    }
    const uint32_t messageCommand = HasWord(command, "alt") ? CMD_SINGLE_ROOM_ALT : CMD_SINGLE_ROOM;
    std::string error;
    const std::optional<Bytes> packet = m_desk.WithState([&](stDeskState& state) {
        std::vector<stRoom4Kiosk>& rooms = state.scenario.rooms;
        const auto found = std::find_if(rooms.begin(), rooms.end(), [&](const stRoom4Kiosk& room) {
            return room.roomNo == roomNo;
        });
        stRoom4Kiosk room;
        room.roomNo = static_cast<int32_t>(roomNo);
        if (found != rooms.end()) {
            room = *found;
        }
        if (HasWord(command, "remove")) {
            if (found == rooms.end()) {
                error = "no room " + std::to_string(roomNo);
                return std::optional<Bytes>();
            }
            rooms.erase(found);
            room.operation = kRoomRemove;
            return std::optional(BuildSingleRoomPacket(room, messageCommand));
        }
        const int32_t oldState = room.state;
        const bool renumbered =
            std::any_of(command.settings.begin(), command.settings.end(),
                        [](const auto& setting) { return setting.first == "roomNo"; });
        if (renumbered) {
            error = "a room keeps its number";
            return std::optional<Bytes>();
        }
        if (!ApplySettings(RoomFields(), command.settings, room, error)) {
            return std::optional<Bytes>();
        }
        // The state outlives a restart, as a sale's does.
        if (room.state != oldState && !state.ledger.SetRoomState(room.roomNo, room.state)) {
            error = "the ledger could not be written";
            return std::optional<Bytes>();
        }
        if (found != rooms.end()) {
            *found = room;
        } else {
            rooms.push_back(room);
        }
        return std::optional(BuildSingleRoomPacket(room, messageCommand));
    });
    return packet ? Pushed(command.target, {*packet}) : Error(error);
}

std::string CControlExecutor::Record(const stControlCommand& command) {
    std::string error;
    const std::optional<Bytes> packet = m_desk.WithState([&](stDeskState& state) {
        stScenario& scenario = state.scenario;
        if (command.verb == "config") {
            stKioskConfig config = scenario.config;
            if (!ApplySettings(ConfigFields(), command.settings, config, error)) {
                return std::optional<Bytes>();
            }
            scenario.config = config;
            return std::optional(BuildConfigPacket(scenario));
        }
        stKioskOptions options = scenario.options;
        if (!ApplySettings(OptionFields(), command.settings, options, error)) {
            return std::optional<Bytes>();
        }
        scenario.options = options;
        return std::optional(BuildOptionsPacket(scenario));
    });
    return packet ? Pushed(command.target, {*packet}) : Error(error);
}

std::string CControlExecutor::Message(const stControlCommand& command) {
    if (command.words.size() != 2) {
        return Error("message needs a caption and a text (quote them when they hold spaces)");
    }
    return Pushed(command.target, {BuildMessageBox(command.words[0], command.words[1])});
}

std::string CControlExecutor::Container(const stControlCommand& command) {
    if (command.words.empty()) {
        return Error("container needs at least one item");
    }
    std::vector<Bytes> packets;
    std::string error;
    const bool built = m_desk.WithState([&](stDeskState& state) {
        return std::all_of(command.words.begin(), command.words.end(),
                           [&](const std::string& item) {
                               return BuildNamedPackets(state, item, packets, error);
                           });
    });
    return built ? Pushed(command.target, {BuildContainer(packets)}) : Error(error);
}

std::string CControlExecutor::Silent(const stControlCommand& command) {
    if (command.words.size() != 1 || (command.words[0] != "on" && command.words[0] != "off")) {
        return Error("silent needs on or off");
    }
    m_desk.SetSilent(command.words[0] == "on");
    return "ok: silent " + command.words[0];
}

std::string CControlExecutor::Ack(const stControlCommand& command) {
    static const std::map<std::string, enumAckPolicy> kPolicies = {
        {"acknowledge", enumAckPolicy::Acknowledge},
        {"refuse", enumAckPolicy::Refuse},
        {"silent", enumAckPolicy::Silent}};
    int64_t requestCommand = 0;
    const bool known =
        command.words.size() == 2 &&
        ParseWholeNumber(command.words[0], 0, UINT32_MAX, requestCommand) &&
        (requestCommand == CMD_SETTLEMENT ||
         (requestCommand >= CMD_DEVICE_EVENT && requestCommand <= CMD_PAYOUT_REPORT) ||
         requestCommand == CMD_STEP_REPORT) &&
        kPolicies.count(command.words[1]) > 0;
    if (!known) {
        return Error("ack needs 505, 506, 507, 508, 515 or 518 and acknowledge, refuse or silent");
    }
    m_desk.WithState([&](stDeskState& state) {
        state.scenario.ackPolicies[static_cast<uint32_t>(requestCommand)] =
            kPolicies.at(command.words[1]);
    });
    return "ok: " + command.words[0] + " " + command.words[1];
}

std::string CControlExecutor::Malformed(const stControlCommand& command) {
    const std::string kind = command.words.empty() ? "" : command.words[0];
    if (kind == "packet") {
        return Pushed(command.target, {BuildTruncatedPacket()});
    }
    int64_t length = 0;
    int reached = -1;
    if (kind == "framing") {
        reached = m_desk.PushBrokenFraming(command.target);
    } else if (kind == "huge" && command.words.size() == 2 &&
               ParseWholeNumber(command.words[1], 1, INT32_MAX, length)) {
        reached = m_desk.PushZeroMessage(command.target, static_cast<int32_t>(length));
    }
    if (reached < 0) {
        return Error("malformed needs framing, packet, or huge and a byte count up to 2147483647");
    }
    return "ok: to " + std::to_string(reached) + " kiosk(s)";
}

std::string CControlExecutor::Execute(std::string_view line) {
    stControlCommand command;
    std::string error;
    if (!ParseControlLine(line, command, error)) {
        return Error(error);
    }
    const std::string& verb = command.verb;
    if (verb.empty()) {
        return "ok";
    }
    if (verb == "help") {
        return std::string("ok:\n") + kControlHelp;
    }
    if (verb == "kiosks") {
        return Kiosks();
    }
    if (verb == "room") {
        return Room(command);
    }
    if (verb == "config" || verb == "options") {
        return Record(command);
    }
    if (verb == "message") {
        return Message(command);
    }
    if (verb == "container") {
        return Container(command);
    }
    if (verb == "rooms" || verb == "classes" || verb == "lists" || verb == "images" ||
        verb == "clear-loading") {
        std::vector<Bytes> packets;
        m_desk.WithState(
            [&](stDeskState& state) { BuildNamedPackets(state, verb, packets, error); });
        return Pushed(command.target, packets);
    }
    if (verb == "drop") {
        return "ok: dropped " + std::to_string(m_desk.Drop(command.target)) + " kiosk(s)";
    }
    if (verb == "silent") {
        return Silent(command);
    }
    if (verb == "ack") {
        return Ack(command);
    }
    if (verb == "malformed") {
        return Malformed(command);
    }
    if (verb == "quit") {
        m_quit();
        return "ok: quitting";
    }
    return Error("unknown command \"" + verb + "\" (try help)");
}

}  // namespace hx
