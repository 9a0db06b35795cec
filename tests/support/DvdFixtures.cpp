#include "tests/support/DvdFixtures.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

namespace testing_support {

const std::string& DvdDisc() {
    static const std::string disc = [] {
        const std::string folder = FixtureFolder() + "/disc";
        const std::string command = std::string("'") + QUOREL_DVD_FIXTURE_SCRIPT + "' '" + folder +
                                    "' inf >'" + FixtureFolder() + "/disc.log' 2>&1";
        if (std::system(command.c_str()) != 0 || !std::filesystem::exists(folder + "/VIDEO_TS/VIDEO_TS.IFO"))
            ADD_FAILURE() << "the DVD fixture could not be made: " << ReadFile(FixtureFolder() + "/disc.log");
        return folder;
    }();
    return disc;
}

std::string CopyOfDvdDisc(const std::string& Folder) {
    const std::string copy = Folder + "/disc";
    std::error_code ec;
    std::filesystem::copy(DvdDisc(), copy, std::filesystem::copy_options::recursive, ec);
    EXPECT_FALSE(ec) << ec.message();
    return copy;
}

} // namespace testing_support
