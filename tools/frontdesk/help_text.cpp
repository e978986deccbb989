#include "tools/frontdesk/help_text.h"

#include "tools/frontdesk/control_executor.h"

namespace hx {

namespace {

const char kUsage[] =
    "frontdesk: a front-desk server for kiosks, for demos, tests and bench tests.\n"
    "\n"
    "Usage: frontdesk --scenario FILE [options]\n"
    "  --listen ADDR:PORT      where kiosks connect (default 127.0.0.1:12001)\n"
    "  --scenario FILE         what to serve (JSON, below)\n"
    "  --data DIR              the ledger and state (default ./frontdesk-data); the ledger,\n"
    "                          ledger.json, keeps sales, reports, settlements and room\n"
    "                          states across restarts\n"
    "  --journal FILE          JSON lines of everything received, sent and happening\n"
    "                          (default DIR/journal.jsonl)\n"
    "  --discovery ADDR[:PORT] answer \"ZP-AGENT\" datagrams there with \"ZP-SERVER\"\n"
    "                          (port 5001 by default; off unless given)\n"
    "  --control ADDR:PORT     also take control commands as UDP datagrams on a loopback\n"
    "                          address; each gets its reply as a datagram\n"
    "  --max-connections N     connections served at once (default 64); one more is\n"
    "                          accepted, journalled and closed at once\n"
    "  --idle-timeout SECONDS  close a connection that sends no message for this long\n"
    "                          (default 900; keep it above the kiosks' 5-minute ping)\n"
    "  --help                  this text\n"
    "Control commands are read from standard input too, one a line; replies go to\n"
    "standard output. SIGTERM, SIGINT or \"quit\" end the desk.\n"
    "\n";

const char kScenario[] =
    "Scenario file (JSON object; every key is optional, unknown keys are refused):\n"
    "  \"classes\": [{\"classId\": 1, \"classValue\": 1, \"name\": \"스탠다드\"}, ...]\n"
    "      classId 1 or more, each once\n"
    "  \"rooms\": [{\"roomNo\": 101, \"classId\": 1, \"state\": 0, \"lockGroup\": 1,\n"
    "             \"displayMode\": 0, \"firstPrice\": 30000, \"secondPrice\": 50000,\n"
    "             \"serverStamp\": 0, \"name\": \"101호\", \"rentalDuration\": \"0400\",\n"
    "             \"lockNo\": 101}, ...]\n"
    "      roomNo 1 or more, each once; classId one of the classes; state 0 = for sale;\n"
    "      displayMode 3 = never shown; rentalDuration \"HHMM\" of day use\n"
    "  \"configuration\": {\"rentalRestricted\", \"rentalStartHour\", \"rentalStartMinute\",\n"
    "      \"rentalEndHour\", \"rentalEndMinute\", \"sleepRestricted\", \"sleepStartHour\",\n"
    "      \"sleepStartMinute\", \"sleepEndHour\", \"sleepEndMinute\", \"showAllRooms\",\n"
    "      \"dispenser1Denomination\", \"dispenser1LowStock\", \"dispenser2Denomination\",\n"
    "      \"dispenser2LowStock\", \"hotelRegion\", \"hotelSequence\", \"dispenserDriver\"}\n"
    "      whole numbers (hours 24 = 0; denominations 0 = 1,000, 1 = 5,000, else 10,000)\n"
    "  \"options\": {\"deviceName\": \"...\", \"paymentTypes\": 2, \"sound\": 1, \"inService\": "
    "1,\n"
    "      \"ticketFooter\": \"...\"}   paymentTypes 0 cash, 1 card, else both\n"
    "  \"kiosks\": [{\"computerName\": \"KIOSK-PC\", \"mac\": \"00-E0-4C-68-01-01\",\n"
    "              \"terminalNo\": 1, \"name\": \"1층 로비\", \"refuse\": false}, ...]\n"
    "      known machines, by computer name and/or first MAC; refuse answers 381\n"
    "  \"refuseUnknownKiosks\": false   refuse machines not listed\n"
    "      Others get the terminal number they remember unless taken, else the lowest\n"
    "      free one, and the name \"키오스크 N\". Every connection gets its own client key.\n"
    "  \"updateId\": \"...\"            the update identifier (answer to 520)\n"
    "  \"startupResult\": 1            the answer to 11220 (1 shows \"Ready!\")\n"
    "  \"pictures\": {\"folder\": \"pictures\", \"sendOnConnect\": true}\n"
    "      room pictures (relative to the scenario file): \"RoomImages.ini\" is made from\n"
    "      the files in the folder with their checksums; sendOnConnect sends it (510)\n"
    "      after every handshake; pictures go as 512 chunks on request (511)\n"
    "  \"sales\": {\"refusals\": [{\"roomNo\": 305, \"stay\": \"sleep\", \"result\": -3}],\n"
    "            \"unavailableResult\": -3, \"failureResult\": -1, \"soldState\": 1,\n"
    "            \"rentalMinutes\": 240, \"checkoutTime\": \"12:00\"}\n"
    "      stay \"rental\", \"sleep\" or \"any\"; a vacant room (state 0) is sold unless\n"
    "      refused, takes soldState, and every kiosk gets the change (502); a room not\n"
    "      vacant gets unavailableResult, an unknown room or stay type failureResult.\n"
    "      Day use lasts the room's rentalDuration (else rentalMinutes); overnight ends\n"
    "      at the next checkoutTime.\n"
    "  \"acknowledgements\": {\"515\": \"acknowledge\", \"505\": \"refuse\", \"518\": \"silent\"}\n"
    "      per report (505-508, 515) and settlement (518): acknowledge (result 1, kept\n"
    "      in the ledger), refuse (result 0) or silent (no answer); default acknowledge\n"
    "\n"
    "After its handshake a kiosk gets the class pages (503, 20 a page), the room pages\n"
    "(501, 50 a page), the configuration (516) and the options (517). Requests 501, 509,\n"
    "511, 518, 520, 601 and 11220 are answered; anything malformed is journalled and\n"
    "closes that connection only.\n"
    "\n";

}  // namespace

std::string FrontDeskHelp() {
    return std::string(kUsage) + kScenario + kControlHelp;
}

}  // namespace hx
