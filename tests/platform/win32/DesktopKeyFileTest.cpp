#include "platform/win32/DesktopKeyFile.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

using win32::DesktopKeyFile;

namespace {

// A file as users and other programs leave it: a comment before any group, blank lines, comments inside
// groups, blanks around "=", a group given twice, CR LF line ends and no end after the last line.
const std::string Odd = "# made by hand\n"
                        "\n"
                        "[Default Applications]\n"
                        "text/plain=editor.desktop\n"
                        "# video next\n"
                        "video/mp4 = other.desktop;second.desktop;\r\n"
                        "\n"
                        "[Added Associations]\n"
                        "video/mp4=other.desktop;\n"
                        "\n"
                        "[Default Applications]\n"
                        "video/x-matroska=ignored.desktop\n"
                        "[Removed Associations]\n"
                        "video/x-matroska=removed.desktop";

TEST(DesktopKeyFile, ReadsKeysOfTheFirstGroupOfTheirName) {
    const DesktopKeyFile file(Odd);
    EXPECT_EQ(file.Text(), Odd);
    EXPECT_EQ(file.Value("Default Applications", "video/mp4"), "other.desktop;second.desktop;");
    EXPECT_EQ(file.Value("Default Applications", "video/x-matroska"), std::nullopt);
    EXPECT_EQ(file.Value("Removed Associations", "video/x-matroska"), "removed.desktop");
    EXPECT_EQ(file.Value("Missing", "video/mp4"), std::nullopt);
    EXPECT_EQ(file.Keys("Default Applications"), (std::vector<std::string>{"text/plain", "video/mp4"}));
    EXPECT_TRUE(file.Keys("").empty());
}

// Each change touches its own line only; the rest of the file stays byte for byte.
struct EditCase {
    const char* name;
    const char* before;
    void (*edit)(DesktopKeyFile&);
    const char* after;
};

class DesktopKeyFileEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(DesktopKeyFileEdits, ChangeOnlyTheirLine) {
    DesktopKeyFile file(GetParam().before);
    GetParam().edit(file);
    EXPECT_EQ(file.Text(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopKeyFileEdits,
    ::testing::Values(
        EditCase{"ReplacesTheFirstLineAndKeepsItsEnd", "[G]\r\na = 1\r\nb=2\r\na=3\r\n",
                 [](DesktopKeyFile& F) { F.SetValue("G", "a", "x"); }, "[G]\r\na=x\r\nb=2\r\na=3\r\n"},
        EditCase{"AddsAfterTheGroupsLastLineBeforeItsBlanks", "[G]\nb=2\n# c\n\n[H]\nz=1\n",
                 [](DesktopKeyFile& F) { F.SetValue("G", "a", "x"); }, "[G]\nb=2\n# c\na=x\n\n[H]\nz=1\n"},
        EditCase{"AddsTheGroupAtTheEnd", "# only a comment",
                 [](DesktopKeyFile& F) { F.SetValue("G", "a", "x"); }, "# only a comment\n\n[G]\na=x\n"},
        EditCase{"AddsToAnEmptyFile", "", [](DesktopKeyFile& F) { F.SetValue("G", "a", "x"); }, "[G]\na=x\n"},
        EditCase{"AddsAfterALastLineWithoutEnd", "[G]\nb=2",
                 [](DesktopKeyFile& F) { F.SetValue("G", "a", "x"); }, "[G]\nb=2\na=x\n"},
        EditCase{"RemovesEveryLineOfTheKeyInTheGroupOnly", "[G]\na=1\nb=2\na=3\n[H]\na=4\n",
                 [](DesktopKeyFile& F) { F.Remove("G", "a"); }, "[G]\nb=2\n[H]\na=4\n"},
        EditCase{"RemovingWhatIsNotThereChangesNothing", "[G]\nb=2",
                 [](DesktopKeyFile& F) {
                     F.Remove("G", "a");
                     F.Remove("X", "b");
                 },
                 "[G]\nb=2"},
        EditCase{"AGroupAddedAndEmptiedGoesWithItsBlankLine", "[H]\nz=1",
                 [](DesktopKeyFile& F) {
                     F.SetValue("G", "a", "x");
                     F.Remove("G", "a");
                     F.RemoveGroupIfEmpty("G");
                 },
                 "[H]\nz=1\n"},
        EditCase{"TheUsersBlankLinesStayWhenAnAddedGroupGoes", "z=1\n\n \n",
                 [](DesktopKeyFile& F) {
                     F.SetValue("G", "a", "x");
                     F.Remove("G", "a");
                     F.RemoveGroupIfEmpty("G");
                 },
                 "z=1\n\n \n"},
        EditCase{"AGroupAddedAfterABlankLastLineGoesWithoutIt", "z=1\r\n\n",
                 [](DesktopKeyFile& F) {
                     F.SetValue("G", "a", "x");
                     F.Remove("G", "a");
                     F.RemoveGroupIfEmpty("G");
                 },
                 "z=1\r\n\n"},
        EditCase{"AGroupWithALineStays", "[G]\n# mine\n",
                 [](DesktopKeyFile& F) { F.RemoveGroupIfEmpty("G"); }, "[G]\n# mine\n"},
        EditCase{"AddedThenRemovedGivesTheFileBack", "[G]\r\nb=2\r\n\r\n",
                 [](DesktopKeyFile& F) {
                     F.SetValue("G", "a", "x");
                     F.Remove("G", "a");
                 },
                 "[G]\r\nb=2\r\n\r\n"}),
    testing_support::CaseName());

TEST(SplitDesktopList, LeavesOutEmptyEntriesAndBlanks) {
    EXPECT_EQ(win32::SplitDesktopList("a.desktop; b.desktop;;"),
              (std::vector<std::string>{"a.desktop", "b.desktop"}));
    EXPECT_EQ(win32::SplitDesktopList("a.desktop"), std::vector<std::string>{"a.desktop"});
    EXPECT_TRUE(win32::SplitDesktopList(" ; ").empty());
}

} // namespace
