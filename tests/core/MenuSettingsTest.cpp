#include "core/MenuSettings.h"

#include <filesystem>
#include <memory>

#include <QWidget>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"

using forms::TMenuItem;
using forms::TMenuItemArray;

namespace {

// Items of a group, owned by the test.
class Items {
public:
    explicit Items(int Count) {
        for (int i = 0; i < Count; ++i) {
            owned_.push_back(std::make_unique<TMenuItem>());
            items_.push_back(owned_.back().get());
        }
    }
    const TMenuItemArray& Array() const { return items_; }
    TMenuItem* operator[](int I) const { return items_[static_cast<std::size_t>(I)]; }
    // The indexes of the checked items.
    std::vector<int> Checked() const {
        std::vector<int> checked;
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i]->Checked())
                checked.push_back(static_cast<int>(i));
        return checked;
    }

private:
    std::vector<std::unique_ptr<TMenuItem>> owned_;
    TMenuItemArray items_;
};

struct GroupCase {
    const char* name;
    const char* section;
    const char* key;
    int PlaybackState::*mirror;
    std::vector<int> values; // item i stands for values[i]
    void (*load)(const TMenuItemArray&);
    void (*save)(const TMenuItemArray&);
};

void PrintTo(const GroupCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

void LoadStayOnTop(const TMenuItemArray& I) {
    LoadStayOnTopMenu(0, 0, 688, 442, I);
}
void SaveStayOnTop(const TMenuItemArray& I) {
    SaveStayOnTopMenu(0, 0, 688, 442, I);
}

class RadioGroupCases : public ::testing::TestWithParam<GroupCase> {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    testing_support::RunTree tree;
};

TEST_P(RadioGroupCases, LoadChecksTheStoredValuesItemAndSaveWritesTheCheckedItemsValue) {
    const GroupCase& c = GetParam();
    Items items(static_cast<int>(c.values.size()));
    for (std::size_t i = 0; i < c.values.size(); ++i) {
        WriteIniInteger(c.section, c.key, c.values[i]);
        items[0]->SetChecked(true); // a stale mark goes
        c.load(items.Array());
        EXPECT_EQ(items.Checked(), std::vector<int>{static_cast<int>(i)}) << "value " << c.values[i];
        EXPECT_EQ(State.*c.mirror, c.values[i]);
    }
    for (std::size_t i = 0; i < c.values.size(); ++i) {
        for (std::size_t j = 0; j < c.values.size(); ++j)
            items[static_cast<int>(j)]->SetChecked(j == i);
        c.save(items.Array());
        EXPECT_EQ(ReadIniInteger(c.section, c.key), c.values[i]);
        EXPECT_EQ(State.*c.mirror, c.values[i]);
    }
}

TEST_P(RadioGroupCases, AValueNoItemHasChecksNothingAndIsWrittenBackUnchanged) {
    const GroupCase& c = GetParam();
    Items items(static_cast<int>(c.values.size()));
    WriteIniInteger(c.section, c.key, 77);
    items[1]->SetChecked(true);
    c.load(items.Array());
    EXPECT_TRUE(items.Checked().empty());
    EXPECT_EQ(State.*c.mirror, 77);
    c.save(items.Array());
    EXPECT_EQ(ReadIniInteger(c.section, c.key), 77);
}

TEST_P(RadioGroupCases, SaveAfterTheSettingsFileVanishedWritesTheWholeDefaultFile) {
    const GroupCase& c = GetParam();
    Items items(static_cast<int>(c.values.size()));
    std::filesystem::remove(tree.IniFile());
    items[1]->SetChecked(true);
    c.save(items.Array());
    EXPECT_EQ(ReadIniInteger(c.section, c.key), c.values[1]);
    EXPECT_EQ(ReadIniString("ShortCut", "OpenFile"), "Ctrl+O"); // not a file of one key
}

INSTANTIATE_TEST_SUITE_P(Groups, RadioGroupCases,
                         ::testing::Values(GroupCase{"SoundBalance",
                                                     "Play",
                                                     "SoundBalance",
                                                     &PlaybackState::SoundBalance,
                                                     {0, -9999, 9999},
                                                     LoadSoundBalanceMenu,
                                                     SaveSoundBalanceMenu},
                                           GroupCase{"StayOnTop",
                                                     "Play",
                                                     "StayOnTop",
                                                     &PlaybackState::StayOnTop,
                                                     {0, 1, 2},
                                                     LoadStayOnTop,
                                                     SaveStayOnTop},
                                           GroupCase{"AfterPlay",
                                                     "Play",
                                                     "AfterPlay",
                                                     &PlaybackState::AfterPlay,
                                                     {2, 3, 1, 0},
                                                     LoadAfterPlayMenu,
                                                     SaveAfterPlayMenu},
                                           GroupCase{"VideoScale",
                                                     "View",
                                                     "VideoScale",
                                                     &PlaybackState::VideoScale,
                                                     {0, -1, 1, 2, 4},
                                                     LoadVideoScaleMenu,
                                                     SaveVideoScaleMenu},
                                           GroupCase{"PlayMode",
                                                     "PlayControl",
                                                     "PlayMode",
                                                     &PlaybackState::PlayMode,
                                                     {0, 1, 2, 3},
                                                     LoadPlayModeMenu,
                                                     SavePlayModeMenu}),
                         testing_support::CaseName());

class MenuSettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        window.resize(300, 200);
        State.MainWindowHandle = win32::HandleOf(&window);
    }
    void TearDown() override { State.MainWindowHandle = nullptr; }
    bool TopMost() const { return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    testing_support::RunTree tree;
    QWidget window;
};

TEST_F(MenuSettingsTest, StayOnTopLoadAppliesAlwaysAndNeverToTheWindow) {
    Items items(3);
    WriteIniInteger("Play", "StayOnTop", 1);
    LoadStayOnTopMenu(0, 0, 300, 200, items.Array());
    EXPECT_TRUE(TopMost());
    WriteIniInteger("Play", "StayOnTop", 2); // only while playing: nothing now
    LoadStayOnTopMenu(0, 0, 300, 200, items.Array());
    EXPECT_TRUE(TopMost());
    WriteIniInteger("Play", "StayOnTop", 0);
    LoadStayOnTopMenu(0, 0, 300, 200, items.Array());
    EXPECT_FALSE(TopMost());
}

TEST_F(MenuSettingsTest, AlwaysOnTopIsWrittenButNotAppliedToAWindowCoveringTheScreen) {
    Items items(3);
    items[1]->SetChecked(true);
    const int w = win32::GetSystemMetrics(win32::SM_CXSCREEN),
              h = win32::GetSystemMetrics(win32::SM_CYSCREEN);
    window.resize(w, h);
    SaveStayOnTopMenu(0, 0, w, h, items.Array());
    EXPECT_EQ(ReadIniInteger("Play", "StayOnTop"), 1);
    EXPECT_FALSE(TopMost());
    window.resize(300, 200);
    SaveStayOnTopMenu(0, 0, 300, 200, items.Array());
    EXPECT_TRUE(TopMost());
    items[1]->SetChecked(false);
    items[0]->SetChecked(true);
    SaveStayOnTopMenu(0, 0, 300, 200, items.Array());
    EXPECT_FALSE(TopMost());
}

// The graph's audio as a recording fake.
class FakeAudio : public com::Object<dshow::IBasicAudio> {
public:
    com::HRESULT put_Volume(win32::LONG) override { return com::S_OK; }
    com::HRESULT get_Volume(win32::LONG*) override { return com::E_NOTIMPL; }
    com::HRESULT put_Balance(win32::LONG Value) override {
        balances.push_back(Value);
        return com::S_OK;
    }
    com::HRESULT get_Balance(win32::LONG*) override { return com::E_NOTIMPL; }
    std::vector<win32::LONG> balances;
};

TEST_F(MenuSettingsTest, ChannelGoesToAnOpenGraphAndIsWrittenWithoutOne) {
    Items items(3);
    items[2]->SetChecked(true);
    SaveSoundBalanceMenu(items.Array()); // no graph: only the setting
    EXPECT_EQ(ReadIniInteger("Play", "SoundBalance"), 9999);
    auto* audio = new FakeAudio;
    State.BasicAudio = com::ComPtr<dshow::IBasicAudio>::Adopt(audio);
    items[2]->SetChecked(false);
    items[1]->SetChecked(true);
    SaveSoundBalanceMenu(items.Array());
    EXPECT_EQ(audio->balances, std::vector<win32::LONG>{-9999});
    EXPECT_EQ(ReadIniInteger("Play", "SoundBalance"), -9999);
    State.BasicAudio = nullptr;
}

// The mixer's rectangle of the small picture as the test sets it; or a failure.
class FakeMixer : public com::Object<dshow::IVMRMixerControl9> {
public:
    com::HRESULT SetAlpha(win32::DWORD, float) override { return com::S_OK; }
    com::HRESULT GetAlpha(win32::DWORD, float*) override { return com::E_NOTIMPL; }
    com::HRESULT SetZOrder(win32::DWORD, win32::DWORD) override { return com::S_OK; }
    com::HRESULT GetZOrder(win32::DWORD, win32::DWORD*) override { return com::E_NOTIMPL; }
    com::HRESULT SetOutputRect(win32::DWORD, const dshow::NORMALIZEDRECT*) override { return com::S_OK; }
    com::HRESULT GetOutputRect(win32::DWORD Stream, dshow::NORMALIZEDRECT* Rect) override {
        asked = static_cast<int>(Stream);
        if (fail)
            return com::E_FAIL;
        *Rect = rect;
        return com::S_OK;
    }
    dshow::NORMALIZEDRECT rect;
    bool fail = false;
    int asked = -1;
};

TEST_F(MenuSettingsTest, OrientationItemFollowsTheSmallPicturesRectangle) {
    Items pip(6), reverse(4);
    auto* mixer = new FakeMixer;
    State.Vmr9MixerControl = com::ComPtr<dshow::IVMRMixerControl9>::Adopt(mixer);
    State.RenderType = RenderTypes::Vmr9;
    State.PlayType = PlayTypes::Pip;
    State.PipSmallStream = 1;
    struct Case {
        dshow::NORMALIZEDRECT rect;
        std::vector<int> checked; // pNoreverse, pUpdownreverse, pLeftrightreverse, pCompletereverse
    } cases[] = {{{0.6f, 0.6f, 0.9f, 0.9f}, {0}},
                 {{0.9f, 0.6f, 0.6f, 0.9f}, {2}}, // mirrored left to right
                 {{0.6f, 0.9f, 0.9f, 0.6f}, {1}},
                 {{0.9f, 0.9f, 0.6f, 0.6f}, {3}},
                 {{0.6f, 0.6f, 0.6f, 0.9f}, {}}}; // no width
    for (const Case& c : cases) {
        mixer->rect = c.rect;
        UpdatePipMenus(pip.Array(), reverse.Array());
        EXPECT_EQ(reverse.Checked(), c.checked);
        EXPECT_EQ(mixer->asked, 1);
        EXPECT_TRUE(pip[0]->Enabled());
    }
    mixer->fail = true;
    UpdatePipMenus(pip.Array(), reverse.Array());
    EXPECT_TRUE(reverse.Checked().empty()); // nothing the mixer did not say
    State.PlayType = PlayTypes::MediaFile;
    UpdatePipMenus(pip.Array(), reverse.Array());
    EXPECT_FALSE(pip[5]->Enabled());
    State.Vmr9MixerControl = nullptr;
}

TEST(FileDialogFilters, MediaFilterListsEveryTypeItsCaptionsName) {
    forms::TOpenDialog dialog;
    dialog.Options = forms::ofFileMustExist | forms::ofHideReadOnly;
    SetMediaFileFilter(dialog);
    EXPECT_EQ(dialog.Options, forms::ofAllowMultiSelect);
    const auto filters = forms::FileDialogNameFilters(dialog.Filter);
    ASSERT_EQ(filters.size(), 7u);
    EXPECT_EQ(filters[0].rfind("FamiliarMediaFiles (*.avi *.asf ", 0), 0u) << filters[0];
    EXPECT_NE(filters[0].find(" *.m3u *.mid *.midi *.rmi "), std::string::npos) << filters[0];
    EXPECT_NE(filters[2].find(" *.smil *.realpix)"), std::string::npos) << filters[2];
    EXPECT_EQ(filters[6], "All Files(*.*) (*.*)");
}

TEST(FileDialogFilters, EachSetterItsFilterAndPlace) {
    testing_support::RunTree tree;
    forms::TOpenDialog only;
    only.Options = forms::ofFileMustExist;
    SetMediaFileFilterOnly(only);
    EXPECT_EQ(only.Options, forms::ofFileMustExist);
    EXPECT_EQ(only.Filter, MediaFileFilter);

    forms::TOpenDialog video;
    SetVideoFileFilter(video);
    EXPECT_EQ(forms::FileDialogNameFilters(video.Filter),
              std::vector<std::string>{
                  "FamiliarVideoFiles (*.avi *.asf *.wmv *.wm *.mpg *.mpeg *.rm *.rmvb *.flv *.vob)"});
    EXPECT_EQ(video.Options, forms::ofAllowMultiSelect);

    forms::TOpenDialog list;
    SetPlayListFileFilter(list);
    EXPECT_EQ(list.Filter, "TarvexDvd List Files(*.kmvlf)|*.kmvlf|All Files(*.*)|*.*");
    EXPECT_EQ(list.InitialDir, State.ProjectPath);
    EXPECT_EQ(list.FileName, "kmvPlayListFile");

    forms::TSaveDialog image;
    SetImageSaveFilter(image, "QuorelCatch1");
    EXPECT_EQ(image.Filter, "Bmp Files(*.bmp)|*.bmp|Jpg Files(*.jpg)|*.jpg");
    EXPECT_EQ(image.InitialDir, State.TempPath);
    EXPECT_EQ(image.FileName, "QuorelCatch1");

    forms::TOpenDialog subtitle;
    SetSubtitleFileFilter(subtitle);
    EXPECT_EQ(forms::FileDialogNameFilters(subtitle.Filter)[0],
              "SubPicture Files(*.srt;*.sub;*.idx;*.smi;*.ssa;*.ass) (*.srt *.sub *.idx *.smi *.ssa *.ass)");
}

} // namespace
