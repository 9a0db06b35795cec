#include "core/shared/PathEndings.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

namespace {

struct PathCase {
    const char* name;
    const char* path;
    const char* fileName;
    const char* extension;
};
class PathPartsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathPartsTest, FileNameAndExtension) {
    EXPECT_EQ(ExtractFileName(GetParam().path), GetParam().fileName);
    EXPECT_EQ(ExtractFileExt(GetParam().path), GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(Cases, PathPartsTest,
                         ::testing::Values(PathCase{"Plain", "/media/film.avi", "film.avi", ".avi"},
                                           PathCase{"TwoDots", "/media/a.b.MP3", "a.b.MP3", ".MP3"},
                                           PathCase{"NoExtension", "/media/README", "README", ""},
                                           PathCase{"DotInFolderOnly", "/media/v1.0/clip", "clip", ""},
                                           PathCase{"LeadingDot", "/home/u/.bashrc", ".bashrc", ".bashrc"},
                                           PathCase{"TrailingDot", "/media/clip.", "clip.", "."},
                                           PathCase{"NoFolder", "song.ogg", "song.ogg", ".ogg"},
                                           PathCase{"FolderOnly", "/media/dvd/", "", ""},
                                           PathCase{"Empty", "", "", ""}),
                         testing_support::CaseName());

} // namespace
