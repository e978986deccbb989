#pragma once
// The fields of the records a scenario describes, by name, so the scenario
// file and the control commands spell them the same way: a room's "state", a
// configuration's "showAllRooms".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "kiosk/records/config_records.h"
#include "kiosk/records/room_records.h"
#include "tools/common/whole_number.h"

namespace hx {

// One named field; exactly one of the three members is set.
template <class Record>
struct stNamedField {
    const char* name;
    int32_t Record::*number = nullptr;
    int64_t Record::*wide = nullptr;
    std::string Record::*text = nullptr;
};

std::span<const stNamedField<stRoom4Kiosk>> RoomFields();
std::span<const stNamedField<stClass4Class>> ClassFields();
std::span<const stNamedField<stKioskConfig>> ConfigFields();
std::span<const stNamedField<stKioskOptions>> OptionFields();

// The field of that name, or null.
template <class Record>
const stNamedField<Record>* FindField(std::span<const stNamedField<Record>> fields,
                                      std::string_view name) {
    for (const auto& field : fields) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

// Sets a field from its text form; false with the reason when the name is
// unknown or a number does not parse.
template <class Record>
bool SetFieldFromText(std::span<const stNamedField<Record>> fields, Record& record,
                      std::string_view name, std::string_view value, std::string& error) {
    const stNamedField<Record>* field = FindField(fields, name);
    if (field == nullptr) {
        error = "unknown field \"" + std::string(name) + "\"";
        return false;
    }
    if (field->text != nullptr) {
        record.*(field->text) = std::string(value);
        return true;
    }
    int64_t number = 0;
    const bool wide = field->wide != nullptr;
    if (!ParseWholeNumber(value, wide ? INT64_MIN : INT32_MIN, wide ? INT64_MAX : INT32_MAX,
                          number)) {
        error = "field \"" + std::string(name) + "\" needs a whole number, not \"" +
                std::string(value) + "\"";
        return false;
    }
    if (wide) {
        record.*(field->wide) = number;
    } else {
        record.*(field->number) = static_cast<int32_t>(number);
    }
    return true;
}

}  // namespace hx
