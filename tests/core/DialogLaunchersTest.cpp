#include "core/DialogLaunchers.h"

#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/WindowUtils.h"
#include "platform/forms/Forms.h"
#include "tests/support/CaseName.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"

using namespace forms;

namespace {

std::vector<std::string> steps;
QPointer<TForm> lastDialog;

// A dialog that writes what happens to it into steps, and closes itself once shown.
class StepDialog : public TForm {
public:
    explicit StepDialog(QWidget* Owner) : TForm(Owner) {
        lastDialog = this;
        steps.push_back(std::string("create, owner ") + (Owner != nullptr ? "set" : "none"));
        OnShow = [this](TObject*) {
            steps.push_back("shown modally " + std::string(Modal() ? "yes" : "no") + ", font " +
                            Font().Name() + " " + std::to_string(Font().Size()));
            QTimer::singleShot(0, this, [this] { Close(); });
        };
    }
    int Result = 42;
};

class DialogLauncherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        steps.clear();
        CreateUiFont();
        State.UiFont->SetName("Sans");
        State.UiFont->SetSize(9);
        owner.Show();
    }
    void TearDown() override { FreeUiFont(); }
    void Launch(win32::HWND AppHandle, int& Result) {
        RunDialog<StepDialog>(
            AppHandle, [](StepDialog&) { steps.push_back("setup"); },
            [&Result](StepDialog& Dialog) {
                steps.push_back("results");
                Result = Dialog.Result;
            });
    }

    testing_support::RunTree tree;
    TForm owner;
};

TEST_F(DialogLauncherTest, RunsTheStepsInOrderAndFreesTheDialog) {
    int result = 0;
    Launch(owner.Handle(), result);
    EXPECT_EQ(steps, (std::vector<std::string>{"create, owner set", "setup", "shown modally yes, font Sans 9",
                                               "results"}));
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(lastDialog.isNull());
}

TEST_F(DialogLauncherTest, WithoutAnOwnerWindowNothingHappens) {
    int result = 7;
    Launch(nullptr, result);
    auto gone = std::make_unique<TForm>();
    const win32::HWND stale = gone->Handle();
    gone.reset();
    Launch(stale, result);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(result, 7);
}

TEST_F(DialogLauncherTest, AnErrorInTheSetUpFreesTheDialogAndGoesToTheCaller) {
    EXPECT_THROW(RunDialog<StepDialog>(
                     owner.Handle(), [](StepDialog&) { throw EClassLibraryError("Cannot open file"); },
                     [](StepDialog&) { steps.push_back("results"); }),
                 EClassLibraryError);
    EXPECT_EQ(steps, (std::vector<std::string>{"create, owner set"}));
    EXPECT_TRUE(lastDialog.isNull());
}

// --- The property command. ---

struct PropertyCall {
    int playType;
    std::string fileName;
    std::string mediaTime;
    int width;
    int height;
    double frameRate;
    int language;
    friend bool operator==(const PropertyCall&, const PropertyCall&) = default;
};

std::vector<PropertyCall> propertyCalls;

void AnswerProperty(win32::HWND, std::int32_t PlayType, const char* FileName, const char* MediaTime,
                    std::int32_t Width, std::int32_t Height, double FrameRate, std::int32_t Language) {
    propertyCalls.push_back({PlayType, FileName, MediaTime, Width, Height, FrameRate, Language});
}

struct PropertyCase {
    const char* name;
    TPlayType playType;
    std::vector<PropertyCall> calls;
};

class PropertyCases : public DialogLauncherTest, public ::testing::WithParamInterface<PropertyCase> {
protected:
    void SetUp() override {
        DialogLauncherTest::SetUp();
        propertyCalls.clear();
        MediaPropertyForm = &AnswerProperty;
        State.CurrentMediaFile = "/media/clip.mp4";
        State.DvdPath = "/media/DVD/VIDEO_TS";
        State.VideoTimeText = "0:01:30";
        State.AudioTimeText = "0:03:05";
        State.VideoWidth = 720;
        State.VideoHeight = 576;
        State.FrameRate = 25.0;
    }
    void TearDown() override {
        MediaPropertyForm = &CreateMediaPropertyForm;
        DialogLauncherTest::TearDown();
    }
};

TEST_P(PropertyCases, HandsTheLoadedMediumToThePropertyDialog) {
    State.PlayType = GetParam().playType;
    ShowMediaProperty(owner.Handle(), 2);
    EXPECT_EQ(propertyCalls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    PlayTypes, PropertyCases,
    ::testing::Values(
        PropertyCase{"MediaFile", 1, {{1, "/media/clip.mp4", "0:01:30", 720, 576, 25.0, 2}}},
        PropertyCase{"Dvd", 2, {{2, "/media/DVD/VIDEO_TS", "0:01:30", 720, 576, 25.0, 2}}},
        PropertyCase{"PictureInPicture", 3, {{3, "/media/clip.mp4", "0:01:30", 720, 576, 25.0, 2}}},
        PropertyCase{"AudioHasNoPicture", 4, {{4, "/media/clip.mp4", "0:03:05", 0, 0, 25.0, 2}}},
        PropertyCase{"NothingLoaded", 0, {}}, PropertyCase{"UnknownPlayType", 5, {}},
        PropertyCase{"NegativePlayType", -1, {}}),
    testing_support::CaseName());

} // namespace
