// The options command of the main window: after the dialog chose another renderer, the player saves what it
// would save at its close, stops, and reopens the last medium with the new renderer in the same process.

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "tests/support/CaseName.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/OptionFormFixture.h"

namespace ui_testing {
namespace {

struct RestartCase {
    const char* name;
    bool ok;        // OK, else Cancel
    int reloadLast; // the main window's ReloadLast setting
    bool restarted; // saved, stopped, renderer taken
    bool playing;   // something plays afterwards
};

class OptionsRestart : public OptionTest, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(OptionsRestart, AnotherRendererReopensTheLastMedium) {
    const RestartCase& c = GetParam();
    WriteIni(DefaultsWith("ReloadLast", std::to_string(c.reloadLast)));
    const std::string clip = Copy(LongClip(), "long.mp4");
    Run({clip});
    QuorelMain_Form = form.get();
    Application().SetHandle(form->Handle());
    ASSERT_TRUE(State.IsPlaying);
    const int before = State.RenderType;
    const int chosen = before == RenderTypes::Vmr7 ? RenderTypes::Vmr9 : RenderTypes::Vmr7;
    // Played for a while: the stored position is where the ticks are when the dialog returns.
    QTRY_VERIFY_WITH_TIMEOUT(form->PositionSeconds >= 2, 10000);
    // Held, so that a new graph cannot take the old one's address.
    const com::ComPtr<dshow::IMediaSeeking> oldGraph = State.MediaSeeking;
    boxes.clear();
    testing_support::WhileModal modal([&](QWidget* Shown) {
        auto* d = dynamic_cast<TOption_Form*>(Shown);
        ASSERT_NE(d, nullptr);
        Click(d->Decoder_SB);
        Click(chosen == RenderTypes::Vmr7 ? d->Page.Vmr7Radio : d->Page.Vmr9Radio);
        Click(c.ok ? d->OK_Btn : d->Cancel_Btn);
    });
    form->Option_XI->Click();
    ASSERT_TRUE(modal.Ran());
    EXPECT_EQ(boxes.size(), c.restarted ? 1u : 0u);
    EXPECT_EQ(State.RenderType, c.restarted ? chosen : before);
    const int stored = ReadIniInteger("PlayControl", "LastPos");
    if (c.restarted) {
        EXPECT_GE(stored, 2);
        EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), clip);
    } else {
        EXPECT_EQ(stored, 0) << "nothing saved";
    }
    EXPECT_EQ(State.IsPlaying, c.playing);
    EXPECT_EQ(State.MediaSeeking == oldGraph, !c.restarted) << "a new graph after the restart";
    if (c.restarted && c.playing) {
        EXPECT_EQ(State.CurrentMediaFile, clip);
        dshow::LONGLONG position = 0;
        ASSERT_TRUE(com::SUCCEEDED(State.MediaSeeking->GetCurrentPosition(&position)));
        EXPECT_GE(position, stored * 10'000'000LL - 1'000'000) << "from the stored position";
        EXPECT_LT(position, (stored + 2) * 10'000'000LL);
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsRestart,
                         ::testing::Values(RestartCase{"Reopened", true, 1, true, true},
                                           RestartCase{"WithoutReloadLastOnlyStopped", true, 0, true, false},
                                           RestartCase{"CancelledGoesOnPlaying", false, 1, false, true}),
                         testing_support::CaseName());

} // namespace
} // namespace ui_testing
