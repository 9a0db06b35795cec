#include "tests/support/DvdFixtures.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

// The disc authored into the fixture folder's Name, its manager menu standing for MenuPause ("inf", or
// seconds).
std::string AuthorDisc(const std::string& Name, const std::string& MenuPause) {
    const std::string folder = FixtureFolder() + "/" + Name;
    const std::string log = FixtureFolder() + "/" + Name + ".log";
    const std::string command = std::string("'") + QUOREL_DVD_FIXTURE_SCRIPT + "' '" + folder + "' " +
                                MenuPause + " >'" + log + "' 2>&1";
    if (std::system(command.c_str()) != 0 || !std::filesystem::exists(folder + "/VIDEO_TS/VIDEO_TS.IFO"))
        ADD_FAILURE() << "the DVD fixture could not be made: " << ReadFile(log);
    return folder;
}

} // namespace

const std::string& DvdDisc() {
    static const std::string disc = AuthorDisc("disc", "inf");
    return disc;
}

const std::string& DvdDiscThatPlaysOn() {
    static const std::string disc = AuthorDisc("disc-plays-on", std::to_string(DvdMenuPauseSeconds));
    return disc;
}

std::string CopyOfDvdDisc(const std::string& Folder, const std::string& Disc) {
    const std::string copy = Folder + "/disc";
    std::error_code ec;
    std::filesystem::copy(Disc.empty() ? DvdDisc() : Disc, copy, std::filesystem::copy_options::recursive,
                          ec);
    EXPECT_FALSE(ec) << ec.message();
    return copy;
}

} // namespace testing_support
