#include "tools/frontdesk/scenario_loader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

#include "kiosk/records/sale_records.h"
#include "tools/frontdesk/named_fields.h"

namespace hx {

namespace {

using json = nlohmann::json;

// Collects the first mistake with the place it was found.
class CScenarioReader {
public:
    CScenarioReader(const std::filesystem::path& baseFolder, std::string& error)
        : m_baseFolder(baseFolder), m_error(error) {}

    bool Read(const json& root, stScenario& scenario);

private:
    bool Fail(const std::string& where, const std::string& what) {
        m_error = where + ": " + what;
        return false;
    }
    bool CheckKeys(const json& object, const std::string& where,
                   std::initializer_list<const char*> allowed);
    bool Number(const json& value, const std::string& where, int64_t low, int64_t high,
                int64_t& out);
    bool Int32(const json& value, const std::string& where, int32_t& out);
    bool Text(const json& value, const std::string& where, std::string& out);
    bool Flag(const json& value, const std::string& where, bool& out);
    template <class Record>
    bool ReadRecord(const json& object, const std::string& where,
                    std::span<const stNamedField<Record>> fields, Record& record);
    template <class Record>
    bool ReadRecords(const json& root, const char* key,
                     std::span<const stNamedField<Record>> fields, std::vector<Record>& records);
    bool ReadClasses(const json& root, stScenario& scenario);
    bool ReadRooms(const json& root, stScenario& scenario);
    bool ReadKiosks(const json& root, stScenario& scenario);
    bool ReadKiosk(const json& entry, const std::string& where, stKnownKiosk& kiosk);
    bool ReadPictures(const json& root, stScenario& scenario);
    bool ReadSales(const json& root, stSaleRules& rules);
    bool ReadRefusal(const json& entry, const std::string& where, stSaleRefusal& refusal);
    bool ReadStayType(const json& value, const std::string& where, int32_t& stayType);
    bool ReadClock(const json& value, const std::string& where, int32_t& minuteOfDay);
    bool ReadAcknowledgements(const json& root, stScenario& scenario);
    bool CheckRoomClasses(const stScenario& scenario);

    std::filesystem::path m_baseFolder;
    std::string& m_error;
};

bool CScenarioReader::CheckKeys(const json& object, const std::string& where,
                                std::initializer_list<const char*> allowed) {
    if (!object.is_object()) {
        return Fail(where, "must be an object");
    }
    for (const auto& item : object.items()) {
        bool known = false;
        for (const char* key : allowed) {
            known = known || item.key() == key;
        }
        if (!known) {
            return Fail(where, "unknown key \"" + item.key() + "\"");
        }
    }
    return true;
}

bool CScenarioReader::Number(const json& value, const std::string& where, int64_t low, int64_t high,
                             int64_t& out) {
    if (!value.is_number_integer()) {
        return Fail(where, "must be a whole number");
    }
    // Unsigned values above the signed range are refused, not wrapped.
    if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(high)) {
        return Fail(where, "is out of range");
    }
    const int64_t number = value.get<int64_t>();
    if (number < low || number > high) {
        return Fail(where, "is out of range");
    }
    out = number;
    return true;
}

bool CScenarioReader::Int32(const json& value, const std::string& where, int32_t& out) {
    int64_t number = 0;
    if (!Number(value, where, INT32_MIN, INT32_MAX, number)) {
        return false;
    }
    out = static_cast<int32_t>(number);
    return true;
}

bool CScenarioReader::Text(const json& value, const std::string& where, std::string& out) {
    if (!value.is_string()) {
        return Fail(where, "must be a text");
    }
    out = value.get<std::string>();
    return true;
}

bool CScenarioReader::Flag(const json& value, const std::string& where, bool& out) {
    if (!value.is_boolean()) {
        return Fail(where, "must be true or false");
    }
    out = value.get<bool>();
    return true;
}

template <class Record>
bool CScenarioReader::ReadRecord(const json& object, const std::string& where,
                                 std::span<const stNamedField<Record>> fields, Record& record) {
    if (!object.is_object()) {
        return Fail(where, "must be an object");
    }
    for (const auto& item : object.items()) {
        const stNamedField<Record>* field = FindField(fields, item.key());
        const std::string place = where + "." + item.key();
        if (field == nullptr) {
            return Fail(where, "unknown field \"" + item.key() + "\"");
        }
        int64_t number = 0;
        const bool ok = field->text != nullptr ? Text(item.value(), place, record.*(field->text))
                        : field->wide != nullptr
                            ? Number(item.value(), place, INT64_MIN, INT64_MAX, number)
                            : Int32(item.value(), place, record.*(field->number));
        if (!ok) {
            return false;
        }
        if (field->wide != nullptr) {
            record.*(field->wide) = number;
        }
    }
    return true;
}

template <class Record>
bool CScenarioReader::ReadRecords(const json& root, const char* key,
                                  std::span<const stNamedField<Record>> fields,
                                  std::vector<Record>& records) {
    if (!root.contains(key)) {
        return true;
    }
    const json& list = root.at(key);
    if (!list.is_array()) {
        return Fail(key, "must be a list");
    }
    for (size_t i = 0; i < list.size(); ++i) {
        Record record;
        if (!ReadRecord(list[i], std::string(key) + "[" + std::to_string(i) + "]", fields,
                        record)) {
            return false;
        }
        records.push_back(record);
    }
    return true;
}

bool CScenarioReader::ReadClasses(const json& root, stScenario& scenario) {
    if (!ReadRecords(root, "classes", ClassFields(), scenario.classes)) {
        return false;
    }
    std::set<int32_t> seen;
    for (size_t i = 0; i < scenario.classes.size(); ++i) {
        const int32_t id = scenario.classes[i].classId;
        const std::string where = "classes[" + std::to_string(i) + "]";
        // A class identifier below 1 would end the kiosk's class page early.
        if (id < 1) {
            return Fail(where, "classId must be 1 or more");
        }
        if (!seen.insert(id).second) {
            return Fail(where, "classId " + std::to_string(id) + " is given twice");
        }
    }
    return true;
}

bool CScenarioReader::ReadRooms(const json& root, stScenario& scenario) {
    if (!ReadRecords(root, "rooms", RoomFields(), scenario.rooms)) {
        return false;
    }
    std::set<int32_t> seen;
    for (size_t i = 0; i < scenario.rooms.size(); ++i) {
        const stRoom4Kiosk& room = scenario.rooms[i];
        const std::string where = "rooms[" + std::to_string(i) + "]";
        // A room number below 1 would end the kiosk's room page early.
        if (room.roomNo < 1) {
            return Fail(where, "roomNo must be 1 or more");
        }
        if (!seen.insert(room.roomNo).second) {
            return Fail(where, "roomNo " + std::to_string(room.roomNo) + " is given twice");
        }
    }
    return true;
}

bool CScenarioReader::ReadKiosk(const json& entry, const std::string& where, stKnownKiosk& kiosk) {
    if (!CheckKeys(entry, where, {"computerName", "mac", "terminalNo", "name", "refuse"})) {
        return false;
    }
    int64_t terminalNo = 0;
    const bool ok =
        (!entry.contains("computerName") ||
         Text(entry["computerName"], where + ".computerName", kiosk.computerName)) &&
        (!entry.contains("mac") || Text(entry["mac"], where + ".mac", kiosk.mac)) &&
        (!entry.contains("terminalNo") ||
         Number(entry["terminalNo"], where + ".terminalNo", 0, UINT32_MAX, terminalNo)) &&
        (!entry.contains("name") || Text(entry["name"], where + ".name", kiosk.name)) &&
        (!entry.contains("refuse") || Flag(entry["refuse"], where + ".refuse", kiosk.refuse));
    if (!ok) {
        return false;
    }
    if (kiosk.computerName.empty() && kiosk.mac.empty()) {
        return Fail(where, "needs a computerName or a mac");
    }
    kiosk.terminalNo = static_cast<uint32_t>(terminalNo);
    return true;
}

bool CScenarioReader::ReadKiosks(const json& root, stScenario& scenario) {
    if (root.contains("refuseUnknownKiosks") &&
        !Flag(root["refuseUnknownKiosks"], "refuseUnknownKiosks", scenario.refuseUnknownKiosks)) {
        return false;
    }
    if (!root.contains("kiosks")) {
        return true;
    }
    if (!root["kiosks"].is_array()) {
        return Fail("kiosks", "must be a list");
    }
    for (size_t i = 0; i < root["kiosks"].size(); ++i) {
        stKnownKiosk kiosk;
        if (!ReadKiosk(root["kiosks"][i], "kiosks[" + std::to_string(i) + "]", kiosk)) {
            return false;
        }
        scenario.kiosks.push_back(kiosk);
    }
    return true;
}

bool CScenarioReader::ReadPictures(const json& root, stScenario& scenario) {
    if (!root.contains("pictures")) {
        return true;
    }
    const json& pictures = root["pictures"];
    std::string folder;
    if (!CheckKeys(pictures, "pictures", {"folder", "sendOnConnect"}) ||
        !Text(pictures.value("folder", json("")), "pictures.folder", folder) ||
        (pictures.contains("sendOnConnect") &&
         !Flag(pictures["sendOnConnect"], "pictures.sendOnConnect",
               scenario.sendPicturesOnConnect))) {
        return false;
    }
    if (folder.empty()) {
        return Fail("pictures.folder", "is missing");
    }
    scenario.pictureFolder = m_baseFolder / folder;
    if (!std::filesystem::is_directory(scenario.pictureFolder)) {
        return Fail("pictures.folder", "\"" + scenario.pictureFolder.string() + "\" is no folder");
    }
    return true;
}

bool CScenarioReader::ReadStayType(const json& value, const std::string& where, int32_t& stayType) {
    std::string text;
    if (!Text(value, where, text)) {
        return false;
    }
    if (text == "rental" || text == "sleep" || text == "any") {
        stayType = text == "rental" ? STAY_RENTAL : text == "sleep" ? STAY_SLEEP : 0;
        return true;
    }
    return Fail(where, "must be \"rental\", \"sleep\" or \"any\"");
}

bool CScenarioReader::ReadRefusal(const json& entry, const std::string& where,
                                  stSaleRefusal& refusal) {
    if (!CheckKeys(entry, where, {"roomNo", "stay", "result"})) {
        return false;
    }
    if (!entry.contains("roomNo")) {
        return Fail(where, "needs a roomNo");
    }
    if (!Int32(entry["roomNo"], where + ".roomNo", refusal.roomNo) ||
        (entry.contains("stay") &&
         !ReadStayType(entry["stay"], where + ".stay", refusal.stayType)) ||
        (entry.contains("result") && !Int32(entry["result"], where + ".result", refusal.result))) {
        return false;
    }
    // Result 1 would be an acceptance.
    if (refusal.result == kSaleAccepted) {
        return Fail(where + ".result", "must not be 1, which accepts the sale");
    }
    return true;
}

bool CScenarioReader::ReadClock(const json& value, const std::string& where, int32_t& minuteOfDay) {
    std::string text;
    if (!Text(value, where, text)) {
        return false;
    }
    int64_t hour = 0;
    int64_t minute = 0;
    if (text.size() != 5 || text[2] != ':' ||
        !ParseWholeNumber(std::string_view(text).substr(0, 2), 0, 23, hour) ||
        !ParseWholeNumber(std::string_view(text).substr(3, 2), 0, 59, minute)) {
        return Fail(where, "must be a time \"HH:MM\"");
    }
    minuteOfDay = static_cast<int32_t>(hour * 60 + minute);
    return true;
}

bool CScenarioReader::ReadSales(const json& root, stSaleRules& rules) {
    if (!root.contains("sales")) {
        return true;
    }
    const json& sales = root["sales"];
    if (!CheckKeys(sales, "sales",
                   {"refusals", "unavailableResult", "failureResult", "soldState", "rentalMinutes",
                    "checkoutTime"})) {
        return false;
    }
    const auto optionalInt = [&](const char* key, int32_t& out) {
        return !sales.contains(key) || Int32(sales[key], std::string("sales.") + key, out);
    };
    if (!optionalInt("unavailableResult", rules.unavailableResult) ||
        !optionalInt("failureResult", rules.failureResult) ||
        !optionalInt("soldState", rules.soldState) ||
        !optionalInt("rentalMinutes", rules.rentalMinutes) ||
        (sales.contains("checkoutTime") &&
         !ReadClock(sales["checkoutTime"], "sales.checkoutTime", rules.checkoutMinuteOfDay))) {
        return false;
    }
    if (rules.rentalMinutes < 1) {
        return Fail("sales.rentalMinutes", "must be 1 or more");
    }
    const json refusals = sales.value("refusals", json::array());
    if (!refusals.is_array()) {
        return Fail("sales.refusals", "must be a list");
    }
    for (size_t i = 0; i < refusals.size(); ++i) {
        stSaleRefusal refusal;
        if (!ReadRefusal(refusals[i], "sales.refusals[" + std::to_string(i) + "]", refusal)) {
            return false;
        }
        rules.refusals.push_back(refusal);
    }
    return true;
}

bool CScenarioReader::ReadAcknowledgements(const json& root, stScenario& scenario) {
    if (!root.contains("acknowledgements")) {
        return true;
    }
    const json& policies = root["acknowledgements"];
    if (!CheckKeys(policies, "acknowledgements", {"505", "506", "507", "508", "515", "518"})) {
        return false;
    }
    for (const auto& item : policies.items()) {
        std::string text;
        const std::string where = "acknowledgements." + item.key();
        if (!Text(item.value(), where, text)) {
            return false;
        }
        const auto command = static_cast<uint32_t>(std::stoul(item.key()));
        if (text == "acknowledge") {
            scenario.ackPolicies[command] = enumAckPolicy::Acknowledge;
        } else if (text == "refuse") {
            scenario.ackPolicies[command] = enumAckPolicy::Refuse;
        } else if (text == "silent") {
            scenario.ackPolicies[command] = enumAckPolicy::Silent;
        } else {
            return Fail(where, "must be \"acknowledge\", \"refuse\" or \"silent\"");
        }
    }
    return true;
}

bool CScenarioReader::Read(const json& root, stScenario& scenario) {
    if (!CheckKeys(root, "scenario",
                   {"classes", "rooms", "configuration", "options", "kiosks", "refuseUnknownKiosks",
                    "updateId", "startupResult", "pictures", "sales", "acknowledgements"})) {
        return false;
    }
    return ReadClasses(root, scenario) && ReadRooms(root, scenario) &&
           (!root.contains("configuration") ||
            ReadRecord(root["configuration"], "configuration", ConfigFields(), scenario.config)) &&
           (!root.contains("options") ||
            ReadRecord(root["options"], "options", OptionFields(), scenario.options)) &&
           ReadKiosks(root, scenario) &&
           (!root.contains("updateId") || Text(root["updateId"], "updateId", scenario.updateId)) &&
           (!root.contains("startupResult") ||
            Int32(root["startupResult"], "startupResult", scenario.startupResult)) &&
           ReadPictures(root, scenario) && ReadSales(root, scenario.sales) &&
           ReadAcknowledgements(root, scenario) && CheckRoomClasses(scenario);
}

bool CScenarioReader::CheckRoomClasses(const stScenario& scenario) {
    for (size_t i = 0; i < scenario.rooms.size(); ++i) {
        const int32_t classId = scenario.rooms[i].classId;
        const bool known = std::any_of(
            scenario.classes.begin(), scenario.classes.end(),
            [classId](const stClass4Class& roomClass) { return roomClass.classId == classId; });
        // The kiosk would show the room without a class name.
        if (!known) {
            return Fail("rooms[" + std::to_string(i) + "].classId",
                        "class " + std::to_string(classId) + " is not among the classes");
        }
    }
    return true;
}

}  // namespace

bool ParseScenario(std::string_view text, const std::filesystem::path& baseFolder,
                   stScenario& scenario, std::string& error) {
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = "not valid JSON";
        return false;
    }
    stScenario loaded;
    error.clear();
    if (!CScenarioReader(baseFolder, error).Read(root, loaded)) {
        return false;
    }
    scenario = std::move(loaded);
    return true;
}

bool LoadScenario(const std::filesystem::path& file, stScenario& scenario, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read \"" + file.string() + "\"";
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!ParseScenario(text, file.parent_path(), scenario, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

}  // namespace hx
