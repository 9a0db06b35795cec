// Damaged information files on a copy of the authored disc: the navigator refuses the disc as damaged instead
// of letting libdvdread and libdvdnav take the program down. Each open runs in a child process, so that a
// crash fails the one case and not the whole test program.

#include "platform/media/DvdIfoCheck.h"
#include "platform/media/DvdNavigator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/DvdFixtures.h"
#include "tests/support/TempDir.h"

namespace {

using dshow::DvdNavigator;
using testing_support::ReadFile;
using testing_support::WriteFile;

// Opens the disc in a child: exits 0 when the open refuses it as damaged, 1 when it opens, 2 when it is
// refused for another reason.
void OpenInChild(const std::string& Disc) {
    std::string reason;
    const bool opened = DvdNavigator::Open(Disc, &reason) != nullptr;
    std::fprintf(stderr, "%s\n", reason.c_str());
    std::_Exit(opened ? 1 : reason.find("damaged") != std::string::npos ? 0 : 2);
}

// One damage done to an information file and to its backup alike (libdvdread falls back on the backup): the
// file cut to Cut bytes (when not 0), then Bytes written at At.
struct Damage {
    const char* name;
    const char* file;
    std::size_t cut;
    std::size_t at;
    std::vector<std::uint8_t> bytes;
};

std::string Damaged(const std::string& Folder, const Damage& Case) {
    const std::string disc = testing_support::CopyOfDvdDisc(Folder);
    for (const char* extension : {".IFO", ".BUP"}) {
        const std::string path = disc + "/VIDEO_TS/" + Case.file + extension;
        std::string bytes = ReadFile(path);
        if (Case.cut != 0)
            bytes.resize(Case.cut);
        for (std::size_t i = 0; i < Case.bytes.size(); ++i)
            bytes.at(Case.at + i) = static_cast<char>(Case.bytes[i]);
        WriteFile(path, bytes);
    }
    return disc;
}

// The authored disc's manager file holds the title table in sector 1 and the menus' table in sector 2; title
// set 1's file its chapter table in sector 1 and its title chains in sector 2. (One test for the table: every
// test program authors the disc anew.)
const Damage Damages[] = {
    // Cut inside the title table's sector: libdvdread freed the table twice.
    {"ManagerCutTo2048Bytes", "VIDEO_TS", 2048, 0, {}},
    {"ManagerCutTo3000Bytes", "VIDEO_TS", 3000, 0, {}},
    {"ManagerCutTo4095Bytes", "VIDEO_TS", 4095, 0, {}},
    {"ManagerCutTo6000Bytes", "VIDEO_TS", 6000, 0, {}},
    {"TitleSetCutTo3000Bytes", "VTS_01_0", 3000, 0, {}},
    {"TitleTableBeyondTheFile", "VIDEO_TS", 0, 0xC4, {0, 0, 0, 200}},
    {"TitleTableLongerThanTheFile", "VIDEO_TS", 0, 0x804, {0x7F, 0xFF, 0xFF, 0x00}},
    // The first play chain read from the header's bytes: programs without cells, played at the open.
    {"FirstPlayChainInTheHeader", "VIDEO_TS", 0, 0x84, {0, 0, 0, 1}},
    {"MenuChainBeyondTheFile", "VIDEO_TS", 0, 0x100F, {244}},
    {"TitleChainTableBeyondTheFile", "VTS_01_0", 0, 0x1801, {255}},
    {"TitleChainsInTheChapterTable", "VTS_01_0", 0, 0xCC, {0, 0, 0, 4}},
    {"ChapterAtAProgramTheChainLacks", "VTS_01_0", 0, 0x80F, {255}},
    {"TitleWithMoreChaptersThanItsSet", "VIDEO_TS", 0, 0x80B, {66}},
};

TEST(DamagedDisc, IsRefusedAsDamagedWithoutACrash) {
    for (const Damage& damage : Damages) {
        SCOPED_TRACE(damage.name);
        testing_support::TempDir dir;
        const std::string disc = Damaged(dir.Path(), damage);
        EXPECT_EXIT(OpenInChild(disc), ::testing::ExitedWithCode(0), "damaged");
    }
}

// libdvdnav hands out a title's chapter list it has freed when the title has no chapters: the navigator must
// not free it again. Title 2 keeps its length unknown; the disc opens.
TEST(DvdNavigatorOpen, ATitleWithoutChaptersOpens) {
    testing_support::TempDir dir;
    const std::string disc = Damaged(dir.Path(), Damage{"", "VIDEO_TS", 0, 0x817, {0}});
    EXPECT_EXIT(OpenInChild(disc), ::testing::ExitedWithCode(1), "");
    const auto navigator = DvdNavigator::Open(disc);
    ASSERT_TRUE(navigator);
    EXPECT_EQ(navigator->Title(2)->Chapters, 0);
    EXPECT_EQ(navigator->Title(1)->Chapters, 3);
}

// The disc as authored passes, file by file, and every whole sector of it is needed: one sector less and
// the manager's last table is cut.
TEST(IfoTablesFit, TheAuthoredDiscsFilesPassAndNeedEverySector) {
    const std::string folder = testing_support::DvdDisc() + "/VIDEO_TS/";
    for (const char* name : {"VIDEO_TS.IFO", "VTS_01_0.IFO", "VTS_02_0.IFO"}) {
        const std::string bytes = ReadFile(folder + name);
        const auto kind =
            std::string(name) == "VIDEO_TS.IFO" ? dshow::IfoKind::VideoManager : dshow::IfoKind::TitleSet;
        std::string reason;
        EXPECT_TRUE(dshow::IfoTablesFit(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                        kind, &reason))
            << name << ": " << reason;
        EXPECT_FALSE(dshow::IfoTablesFit(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size() - 2048, kind))
            << name;
    }
    // Each kind of file is only its own kind.
    const std::string manager = ReadFile(folder + "VIDEO_TS.IFO");
    std::string reason;
    EXPECT_FALSE(dshow::IfoTablesFit(reinterpret_cast<const std::uint8_t*>(manager.data()), manager.size(),
                                     dshow::IfoKind::TitleSet, &reason));
    EXPECT_FALSE(reason.empty());
}

} // namespace
