#include "platform/win32/Fonts.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"

namespace {

// The fonts a face has, with their types, as the enumeration gives them.
std::vector<win32::DWORD> FontTypesOf(const std::string& Face) {
    std::vector<win32::DWORD> types;
    win32::EnumFontFamilies(Face, [&](const win32::TEXTMETRIC&, win32::DWORD Type) {
        types.push_back(Type);
        return 1;
    });
    return types;
}

// The desktop's UI face (the name Qt gives the general font, which the font database lists as an alias of
// another face) and every face the screen lists have fonts; a face nobody has has none.
TEST(Fonts, EveryListedFaceAndTheUiFaceHaveFonts) {
    testing_support::EnsureQApplication();
    const std::string uiFace = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString();
    EXPECT_EQ(FontTypesOf(uiFace), std::vector<win32::DWORD>{win32::TRUETYPE_FONTTYPE}) << uiFace;
    for (const std::string& face : win32::ScreenFontNames())
        EXPECT_FALSE(FontTypesOf(face).empty()) << face;
    EXPECT_TRUE(FontTypesOf("No Such Face 123").empty());
    EXPECT_TRUE(FontTypesOf("").empty());
}

} // namespace
