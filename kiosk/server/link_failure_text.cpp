#include "kiosk/server/link_failure_text.h"

#include <algorithm>
#include <iterator>

#include "net/io_types.h"

namespace hx {

namespace {

struct stFailureText {
    int result;
    const char* text;
};

// The results a receive or a send can end a live link with.
constexpr stFailureText kFailureTexts[] = {
    {IO_CLOSED, "서버가 연결을 닫음"},
    {IO_READ_TIMEOUT, "서버에서 데이터가 오다가 멈춤"},
    {IO_MESSAGE_TIMEOUT, "메시지를 제시간에 다 받지 못함"},
    {IO_BAD_HEADER_CRC, "받은 블록 헤더의 CRC 오류"},
    {IO_BAD_DATA_CRC, "받은 데이터의 CRC 오류"},
    {IO_BAD_LENGTH, "받은 메시지의 길이가 허용 범위를 벗어남"},
    {IO_BAD_MAGIC, "알 수 없는 형식의 데이터를 받음"},
    {IO_ERROR, "소켓 오류 또는 형식이 맞지 않는 메시지"},
    {IO_NOT_CONNECTED, "소켓이 연결되어 있지 않음"},
    {IO_NO_TRANSPORT, "통신 객체가 없음"},
};

constexpr const char* kUnknownText = "알 수 없음";

}  // namespace

std::string LinkFailureLine(int result) {
    const auto found =
        std::find_if(std::begin(kFailureTexts), std::end(kFailureTexts),
                     [result](const stFailureText& entry) { return entry.result == result; });
    const char* text = found != std::end(kFailureTexts) ? found->text : kUnknownText;
    return std::string("연결 끊긴 이유: ") + text + " (" + std::to_string(result) + ")";
}

}  // namespace hx
