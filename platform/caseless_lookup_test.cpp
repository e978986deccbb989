#include "platform/caseless_lookup.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

class CaselessLookup : public ::testing::Test {
protected:
    void SetUp() override {
        WriteWholeFile(m_pictures / "305_0.png", "305");
        WriteWholeFile(m_pictures / "Floor2" / "201_0.png", "201");
        WriteWholeFile(m_pictures / "Twin.png", "upper");
        WriteWholeFile(m_pictures / "twin.png", "lower");
        WriteWholeFile(m_folder.Path() / "Secret.ini", "secret");
        fs::create_symlink("../Secret.ini", m_pictures / "escape.png");
    }

    CTempFolder m_folder{"hxcaseless"};
    const fs::path m_pictures = m_folder.Path() / "RoomImage";
};

TEST_F(CaselessLookup, FindsAPictureWhateverTheCaseOfItsLettersAndNothingOutside) {
    const struct {
        const char* relative;
        enumLookup result;
        const char* content;
    } cases[] = {
        {"305_0.png", enumLookup::Found, "305"},
        {"305_0.PNG", enumLookup::Found, "305"},
        {"floor2/201_0.Png", enumLookup::Found, "201"},
        {"twin.png", enumLookup::Found, "lower"},  // as written wins
        {"TWIN.PNG", enumLookup::Found, "upper"},  // else the first in name order
        {"306_0.PNG", enumLookup::Missing, ""},
        {"ESCAPE.PNG", enumLookup::Refused, ""},
        {"../secret.INI", enumLookup::Refused, ""},
        {"FLOOR2/../../Secret.ini", enumLookup::Refused, ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.relative);
        const stLookup found = LookUpInsideIgnoringCase(m_pictures, test.relative);
        EXPECT_EQ(found.result, test.result);
        if (test.result == enumLookup::Found) {
            EXPECT_EQ(ReadWholeFile(found.file), test.content);
        }
    }
}

TEST_F(CaselessLookup, SpellsANameAsTheFolderDoesToReplaceWhatIsThere) {
    EXPECT_EQ(SpellingInside(m_pictures, "FLOOR2/201_0.PNG"), "Floor2/201_0.png");
    EXPECT_EQ(SpellingInside(m_pictures, "twin.png"), "twin.png");
    EXPECT_EQ(SpellingInside(m_pictures, "TWIN.png"), "Twin.png");
    for (const char* nothing : {"floor2/new.png", "", "/305_0.png", "floor2//201_0.png",
                                "./305_0.png", "FLOOR2/../305_0.png"}) {
        EXPECT_EQ(SpellingInside(m_pictures, nothing), std::nullopt) << nothing;
    }
}

}  // namespace

}  // namespace hx
