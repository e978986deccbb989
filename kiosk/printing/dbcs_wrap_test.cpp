#include "kiosk/printing/dbcs_wrap.h"

#include <gtest/gtest.h>

#include "platform/cp949.h"

namespace hx {

namespace {

// Forty different two-byte characters, so a dropped or repeated one shows.
const std::string kHangul =
    "가나다라마바사아자차카타파하거너더러머버서어저처커터퍼허고노도로모보소오조초호구";

// count characters of kHangul from the from-th: three bytes each in UTF-8.
std::string Hangul(size_t from, size_t count) {
    return kHangul.substr(from * 3, count * 3);
}

std::vector<std::string> WrapUtf8(std::string_view address) {
    std::vector<std::string> lines;
    for (const std::string& line : WrapAddress(Cp949FromUtf8(address))) {
        lines.push_back(Utf8FromCp949(line));
    }
    return lines;
}

TEST(DbcsWrap, AddressesFillTwentyFiveBytesThenFortyTwoNeverSplittingACharacter) {
    const struct {
        std::string address;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {""}},
        {std::string(25, 'a'), {std::string(25, 'a')}},
        {Hangul(0, 12) + "a", {Hangul(0, 12) + "a"}},
        {std::string(26, 'a'), {std::string(25, 'a'), "a"}},
        // The thirteenth character would take bytes 24 and 25.
        {Hangul(0, 13), {Hangul(0, 12), Hangul(12, 1)}},
        {std::string(25, 'a') + std::string(42, 'b') + std::string(42, 'c') + std::string(10, 'd'),
         {std::string(25, 'a'), std::string(42, 'b'), std::string(42, 'c'), std::string(10, 'd')}},
        {std::string(25, 'a') + std::string(42, 'b'), {std::string(25, 'a'), std::string(42, 'b')}},
        {Hangul(0, 40), {Hangul(0, 12), Hangul(12, 20), Hangul(32, 8)}},
        {"서울특별시 강남구 테헤란로 123 한국빌딩 5층 501호",
         {"서울특별시 강남구 테헤란", "로 123 한국빌딩 5층 501호"}},
        // A two-byte character followed by one-byte characters up to the
        // limit: the line takes them all instead of staying empty for ever.
        {"가" + std::string(30, 'a'), {"가" + std::string(23, 'a'), std::string(7, 'a')}},
        {std::string(24, 'a') + "가" + std::string(50, 'b'),
         {std::string(24, 'a'), "가" + std::string(40, 'b'), std::string(10, 'b')}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WrapUtf8(c.address), c.lines) << c.address;
    }
}

}  // namespace

}  // namespace hx
