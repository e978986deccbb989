#include "kiosk/cardissue/dispenser_result.h"

namespace hx {

std::string_view DispenserResultName(int result) {
    switch (result) {
        case DISPENSER_BUSY:
            return "DISPENSER_BUSY";
        case DISPENSER_UNKOWN_PACKET:
            return "DISPENSER_UNKOWN_PACKET";
        case DISPENSER_BCC_ERROR:
            return "DISPENSER_BCC_ERROR";
        case DISPENSER_RECV_ERROR:
            return "DISPENSER_RECV_ERROR";
        case DISPENSER_OK:
            return "DISPENSER_OK";
        case DISPENSER_ERROR:
            return "DISPENSER_ERROR";
        case DISPENSER_NO_CARD:
            return "DISPENSER_NO_CARD";
        case DISPENSER_EMPTY_CARD:
            return "DISPENSER_EMPTY_CARD";
        case DISPENSER_CARD_HOLD:
            return "DISPENSER_CARD_HOLD";
        case DISPENSER_CARD_JAM:
            return "DISPENSER_CARD_JAM";
        case DISPENSER_COMMUNICATION_ERROR:
            return "DISPENSER_COMMUNICATION_ERROR";
        default:
            return {};
    }
}

}  // namespace hx
