#include "platform/win32/Mci.h"

#include <gtest/gtest.h>

namespace {

using namespace win32;

// A drive that refuses everything, as one with a mounted disc does.
class RefusingTray : public DiscTrayService {
public:
    bool OpenDoor() override { return false; }
    bool CloseDoor() override { return false; }
};

class MciTest : public ::testing::Test {
protected:
    void SetUp() override { SetDiscTrayService(&tray); }
    void TearDown() override { SetDiscTrayService(nullptr); }
    FakeDiscTrayService tray;
};

// The door commands, as written by hand: the case and the blanks between the words do not matter, "wait" may
// follow; anything else is no door command and reaches no drive.
TEST_F(MciTest, DoorCommandsReachTheTrayAndNothingElseDoes) {
    struct Case {
        const char* Command;
        MCIERROR Result;
        const char* Call; // "" for none
    } const cases[] = {
        {"Set cdaudio door open wait", 0, "OpenDoor"},
        {"set CDAUDIO door open", 0, "OpenDoor"},
        {"  set   cdaudio  door   closed  wait ", 0, "CloseDoor"},
        {"set cdaudio door ajar", MCIERR_UNRECOGNIZED_COMMAND, ""},
        {"set cdaudio door", MCIERR_UNRECOGNIZED_COMMAND, ""},
        {"play cdaudio", MCIERR_UNRECOGNIZED_COMMAND, ""},
        {"set cdaudio door open wait now", MCIERR_UNRECOGNIZED_COMMAND, ""},
        {"", MCIERR_UNRECOGNIZED_COMMAND, ""},
    };
    for (const Case& c : cases) {
        const auto before = tray.Calls().size();
        char answer[8] = "x";
        EXPECT_EQ(mciSendString(c.Command, answer, sizeof answer, nullptr), c.Result) << c.Command;
        EXPECT_STREQ(answer, "") << c.Command;
        const auto calls = tray.Calls();
        if (*c.Call == '\0') {
            EXPECT_EQ(calls.size(), before) << c.Command;
        } else {
            ASSERT_EQ(calls.size(), before + 1) << c.Command;
            EXPECT_EQ(calls.back(), c.Call);
        }
    }
}

TEST_F(MciTest, ARefusingDriveIsAHardwareError) {
    RefusingTray refusing;
    SetDiscTrayService(&refusing);
    EXPECT_EQ(mciSendString("set cdaudio door open wait", nullptr, 0, nullptr), MCIERR_HARDWARE);
}

} // namespace
