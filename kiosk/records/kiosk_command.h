#pragma once
// Command numbers of the kiosk's own messages, in both directions. The
// transport's and channel's commands are in net/packet_header.h.

#include <cstdint>

namespace hx {

enum enumKioskCommand : uint32_t {
    CMD_ROOM_LIST = 501,  // room page from the server; header-only request from the kiosk
    CMD_SINGLE_ROOM = 502,
    CMD_CLASS_LIST = 503,
    CMD_DEVICE_EVENT = 505,
    CMD_FLOAT_REPORT = 506,
    CMD_CASH_IN_REPORT = 507,
    CMD_PAYOUT_REPORT = 508,
    CMD_SALES_SUMMARY = 509,
    CMD_ROOM_IMAGES_INI = 510,  // chunks of the picture list file
    CMD_PICTURE_REQUEST = 511,
    CMD_PICTURE_CHUNK = 512,
    CMD_CLEAR_LOADING = 513,
    CMD_STEP_REPORT = 515,
    CMD_KIOSK_CONFIG = 516,
    CMD_KIOSK_OPTIONS = 517,
    CMD_SETTLEMENT = 518,
    CMD_SINGLE_ROOM_ALT = 519,  // carried and handled exactly as CMD_SINGLE_ROOM
    CMD_UPDATE_INFO = 520,
    CMD_SALE = 601,
    CMD_SALE_ANSWER = 602,
    CMD_STARTUP = 11220,  // start-up notice from the kiosk, and the server's answer
};

}  // namespace hx
