// The one test of a drive's name, on drives a fake drive service describes (no test looks at a real drive),
// and the mount table's reading.

#include "platform/win32/Drives.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

namespace {

struct NameCase {
    const char* name;
    const char* text;
    const char* root; // "" for none
};

class DriveNames : public ::testing::TestWithParam<NameCase> {
protected:
    void SetUp() override {
        drives.Drives = {{"/dev/sr0", true, "MOVIE", "", "/media/user/MY DISC"},
                         {"/dev/sr1", false, "", "", ""}};
        win32::SetDriveService(&drives);
    }
    void TearDown() override { win32::SetDriveService(nullptr); }
    win32::FakeDriveService drives;
};

// A drive is named by its device node, alone or as a drive list entry with its disc's label, or by the folder
// its disc is mounted on; a text that merely begins a name, a folder inside the mount folder and a name in
// another case name no drive.
TEST_P(DriveNames, NameTheDriveByItsNodeOrItsMountFolder) {
    EXPECT_EQ(win32::DriveRootOf(GetParam().text), GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DriveNames,
    ::testing::Values(NameCase{"Node", "/dev/sr0", "/dev/sr0"},
                      NameCase{"EntryWithLabel", "/dev/sr0 MOVIE", "/dev/sr0"},
                      NameCase{"EmptyDrive", "/dev/sr1", "/dev/sr1"},
                      NameCase{"MountFolder", "/media/user/MY DISC", "/dev/sr0"},
                      NameCase{"MountFolderWithSlash", "/media/user/MY DISC/", "/dev/sr0"},
                      NameCase{"FolderInsideTheMountFolder", "/media/user/MY DISC/VIDEO_TS/", ""},
                      NameCase{"StartOfANode", "/dev/sr", ""}, NameCase{"LongerNode", "/dev/sr10", ""},
                      NameCase{"OtherCase", "/DEV/SR0", ""}, NameCase{"NotMountedDrivesFolder", "/", ""},
                      NameCase{"Empty", "", ""}),
    testing_support::CaseName());

// The mount table names folders with blanks as octal escapes, and may name the drive by a link to its node.
TEST(MountTable, GivesTheFolderTheDeviceIsMountedOn) {
    const std::string mounts = "proc /proc proc rw 0 0\n"
                               "/dev/sda1 / ext4 rw,relatime 0 0\n"
                               "/dev/sr0 /media/user/MY\\040DISC iso9660 ro,nosuid 0 0\n";
    EXPECT_EQ(win32::MountFolderIn(mounts, "/dev/sr0"), "/media/user/MY DISC");
    EXPECT_EQ(win32::MountFolderIn(mounts, "/dev/sda1"), "/");
    EXPECT_EQ(win32::MountFolderIn(mounts, "/dev/sr1"), "");
    EXPECT_EQ(win32::MountFolderIn("", "/dev/sr0"), "");
    EXPECT_EQ(win32::MountFolderIn("/dev/sr0\n", "/dev/sr0"), "") << "a line without its folder";
}

} // namespace
