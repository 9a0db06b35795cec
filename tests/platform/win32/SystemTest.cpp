#include "platform/win32/System.h"

#include <gtest/gtest.h>

#include "platform/win32/MessageBox.h"

namespace {

using namespace win32;

TEST(GetSysColor, LightEdgeIsTheFixedLightGrey) {
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), RGB(227, 227, 227));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(999), 0u);
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    void TearDown() override { SetMessageBoxHandler(nullptr); }
    std::vector<MessageBoxRequest> boxes;
    int answer = IDNO;
};

TEST_F(MessageBoxTest, TheHandlerAnswersAndSeesTheBox) {
    EXPECT_EQ(MessageBox(nullptr, "\"Bass.dll\" {文件版本不合适}", nullptr, MB_ICONERROR), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Reset?", "Information", MB_YESNO | MB_ICONINFORMATION), IDNO);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, "Error"); // no caption given: the system's
    EXPECT_EQ(boxes[0].Text, "\"Bass.dll\" {文件版本不合适}");
    EXPECT_EQ(boxes[1].Caption, "Information");
    EXPECT_EQ(boxes[1].Type, MB_YESNO | MB_ICONINFORMATION);
}

TEST(DefaultMessageBoxButton, FollowsTheStyleAndTheDefaultButtonFlag) {
    struct Case {
        UINT type;
        int button;
    } cases[] = {{MB_OK, IDOK},
                 {MB_OKCANCEL, IDOK},
                 {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                 {MB_YESNO, IDYES},
                 {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
                 {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                 {MB_YESNO | MB_DEFBUTTON3, IDYES}}; // no third button: the first
    for (const auto& c : cases)
        EXPECT_EQ(DefaultMessageBoxButton(c.type), c.button) << std::hex << c.type;
}

} // namespace
