#include "kiosk/screen/room_line.h"

#include "platform/ini_file.h"

namespace hx {

namespace {

constexpr std::string_view kSeparator = "||";
// The movie gets the pictures' Windows paths; the screen host maps them.
constexpr std::string_view kPictureFolder = "c:\\Harlix\\Skin\\RoomImage\\";

void AppendValue(std::string& line, std::string_view value) {
    line += value;
    line += kSeparator;
}

void AppendValue(std::string& line, int32_t value) {
    AppendValue(line, std::to_string(value));
}

std::string Hours(int hours) {
    return std::to_string(hours) + "시간";
}

}  // namespace

std::string DurationText(std::string_view hhmm) {
    const int hours = AsciiToInt(hhmm.substr(0, 2));
    if (hhmm.size() != 4) {
        return Hours(hours);
    }
    const int minutes = AsciiToInt(hhmm.substr(2, 2));
    return minutes == 0 ? Hours(hours) : Hours(hours) + " " + std::to_string(minutes) + "분";
}

std::string RoomPicturePath(int32_t roomNo, int slot) {
    // Slots 0-9 are "<n>.png", 10-19 "<n>_1.png", 20 "0_2.png".
    std::string path(kPictureFolder);
    path += std::to_string(roomNo) + "_" + std::to_string(slot % 10);
    if (slot >= 10) {
        path += "_" + std::to_string(slot / 10);
    }
    return path + ".png";
}

std::string BuildRoomLine(const stRoom4Kiosk& room, std::string_view className) {
    std::string line;
    AppendValue(line, className);
    AppendValue(line, room.roomNo);
    AppendValue(line, room.name);
    AppendValue(line, room.firstPrice);
    AppendValue(line, room.secondPrice);
    AppendValue(line, DurationText(room.rentalDuration));
    AppendValue(line, room.state);
    for (int slot = 0; slot < kRoomPicturesPerRoom; ++slot) {
        AppendValue(line, RoomPicturePath(room.roomNo, slot));
    }
    AppendValue(line, room.displayMode);
    return line;
}

}  // namespace hx
