#pragma once
// Carries out control commands on a running desk: pushes of rooms, lists,
// configuration, options, message boxes, containers and the picture index;
// dropping connections; and the misbehaviours (silence, refusals, broken
// bytes). Every command gets one reply line starting "ok" or "error".

#include <functional>
#include <string>
#include <string_view>

#include "tools/frontdesk/control_command.h"
#include "tools/frontdesk/front_desk.h"

namespace hx {

class CControlExecutor {
public:
    // `quit` is called for the quit command.
    CControlExecutor(CFrontDesk& desk, std::function<void()> quit)
        : m_desk(desk), m_quit(std::move(quit)) {}

    std::string Execute(std::string_view line);

private:
    std::string Kiosks();
    std::string Room(const stControlCommand& command);
    std::string Record(const stControlCommand& command);
    std::string Message(const stControlCommand& command);
    std::string Container(const stControlCommand& command);
    std::string Silent(const stControlCommand& command);
    std::string Ack(const stControlCommand& command);
    std::string Malformed(const stControlCommand& command);
    std::string Pushed(const KioskTarget& target, const std::vector<Bytes>& packets);

    CFrontDesk& m_desk;
    std::function<void()> m_quit;
};

// The control commands, as the help text lists them.
extern const char kControlHelp[];

}  // namespace hx
