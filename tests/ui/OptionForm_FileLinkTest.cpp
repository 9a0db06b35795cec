// The options dialog's File link page over a registry store of the test's own: the boxes agree with the
// links in the registry, a header ticks its group, and the three buttons tick all, none or the defaults.

#include <gtest/gtest.h>

#include "core/Associations.h"
#include "platform/win32/DesktopLinks.h"
#include "platform/win32/Registry.h"
#include "tests/support/FolderWatch.h"
#include "tests/support/XdgHome.h"
#include "tests/ui/OptionFormFixture.h"

namespace ui_testing {
namespace {

using win32::HKEY_CLASSES_ROOT;

class FileLinkPageTest : public OptionTest {
public:
    void SetUp() override {
        OptionTest::SetUp();
        win32::SetDesktopLinkService(&desktop);
    }
    void TearDown() override {
        OptionTest::TearDown();
        win32::SetDesktopLinkService(nullptr);
    }
    TOption_Form& OpenPage(int Language = 1) {
        TOption_Form& d = Open(Language);
        Click(d.FileType_SB);
        return d;
    }
    std::vector<TCheckBox*> Boxes() const {
        std::vector<TCheckBox*> boxes;
        TScrollBox* scroll = dialog->Page.ExtensionScrollBox;
        for (int i = 0; i < scroll->ControlCount(); ++i)
            boxes.push_back(dynamic_cast<TCheckBox*>(scroll->Controls(i)));
        return boxes;
    }
    TCheckBox* Box(const std::string& Caption) const {
        for (TCheckBox* box : Boxes())
            if (box->Caption() == Caption)
                return box;
        ADD_FAILURE() << Caption;
        return nullptr;
    }
    std::optional<std::string> Default(const std::string& Ext) const {
        return store.ReadString(HKEY_CLASSES_ROOT, Ext, "");
    }
    bool Linked(const std::string& Ext) const { return Default(Ext) == ProgIdOf(Ext); }
    // Every extension box agrees with the registry; the number of linked extensions.
    int LinkedAgreeing() const {
        int linked = 0;
        for (TCheckBox* box : Boxes()) {
            if (box->Caption().front() != '.')
                continue;
            EXPECT_EQ(box->Checked(), Linked(box->Caption())) << box->Caption();
            linked += Linked(box->Caption()) ? 1 : 0;
        }
        return linked;
    }

    win32::RegistryStore store{win32::UserRegistryStorePath()};
    win32::FakeDesktopLinks desktop;
};

using Extensions = std::vector<std::string>;

TEST_F(FileLinkPageTest, BoxesLieInGroupsOfFourPerRowAndShowTheLinks) {
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".mkv"), win32::RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".mkv", "", "TarvexDVD.mkv"), win32::RegistryStatus::Ok);
    OpenPage();
    const std::vector<TCheckBox*> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 85u);
    struct Place {
        const char* caption;
        int left, top;
    };
    const Place places[] = {{"Windows media type", 15, 10},
                            {".asf", 30, 30},
                            {".wmv", 120, 30},
                            {".wmp", 210, 30},
                            {".wm", 300, 30},
                            {".wma", 30, 50},
                            {"Real media type", 15, 70},
                            {".ra", 30, 90}};
    for (std::size_t i = 0; i < std::size(places); ++i) {
        EXPECT_EQ(boxes[i]->Caption(), places[i].caption);
        EXPECT_EQ(boxes[i]->Left(), places[i].left) << places[i].caption;
        EXPECT_EQ(boxes[i]->Top(), places[i].top) << places[i].caption;
    }
    EXPECT_TRUE(Box(".mkv")->Checked());
    EXPECT_EQ(LinkedAgreeing(), 1);
    for (TCheckBox* box : boxes) {
        if (box->Caption().front() != '.') {
            EXPECT_FALSE(box->Checked()) << box->Caption();
        }
    }
    EXPECT_EQ(dialog->Page.ExtensionButtons[0]->Top(), 271);
    EXPECT_EQ(dialog->Page.ExtensionButtons[2]->Left(), 205);
}

TEST_F(FileLinkPageTest, HeadersFollowTheDialogsLanguage) {
    OpenPage(2);
    EXPECT_EQ(Boxes()[0]->Caption(), "Windows 媒体文件类型");
    EXPECT_EQ(dialog->Page.ExtensionButtons[1]->Caption(), "全不选");
}

// A header ticks and links its group, and unticks and unlinks it; the boxes of other groups stay.
TEST_F(FileLinkPageTest, AHeaderTicksItsGroup) {
    OpenPage();
    Click(Box("Flash media type"));
    EXPECT_TRUE(Box(".flv")->Checked());
    EXPECT_TRUE(Box(".swf")->Checked());
    EXPECT_TRUE(Linked(".flv"));
    EXPECT_TRUE(Linked(".swf"));
    EXPECT_FALSE(Box(".amv")->Checked()) << "the next group";
    EXPECT_EQ(LinkedAgreeing(), 2);
    Click(Box("Flash media type"));
    EXPECT_EQ(LinkedAgreeing(), 0);
    EXPECT_EQ(Default(".flv"), "");
    Click(Box("Playlist media type"));
    EXPECT_EQ(LinkedAgreeing(), 8) << "the last group reaches to the end";
}

// One box links its extension at once with the verbs of the player's language, and Cancel undoes nothing.
TEST_F(FileLinkPageTest, ABoxLinksAtOnceAndCancelKeepsTheLink) {
    TOption_Form& d = OpenPage();
    State.Language = Languages::Chinese;
    Click(Box(".mp4"));
    EXPECT_TRUE(Linked(".mp4"));
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, "TarvexDVD.mp4\\Shell\\Open", ""),
              "使用“Quorel播放”播放该文件");
    Click(d.Cancel_Btn);
    EXPECT_TRUE(Linked(".mp4"));
    Open();
    Click(dialog->FileType_SB);
    EXPECT_TRUE(Box(".mp4")->Checked());
}

TEST_F(FileLinkPageTest, DefaultLinksTheFiftyFourOfTheDefaultChoice) {
    TOption_Form& d = OpenPage();
    Click(d.Page.ExtensionButtons[2]);
    EXPECT_EQ(LinkedAgreeing(), 54);
    for (const char* unlinked : {".wma", ".rpm", ".dat", ".m2ts", ".dss", ".ratDVD", ".d2v"})
        EXPECT_FALSE(Linked(unlinked)) << unlinked;
    for (const char* linked : {".asf", ".rmvb", ".evo", ".mov", ".m4b", ".swf", ".bik", ".smpl"})
        EXPECT_TRUE(Linked(linked)) << linked;
    EXPECT_TRUE(Boxes()[0]->Checked()) << "every header is ticked";
    EXPECT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(desktop.Calls.size(), 1u) << "the desktop follows once per click";
    EXPECT_EQ(desktop.Calls[0].size(), 54u);
}

// Each click hands the desktop the extensions linked after it, once, a header's group included.
TEST_F(FileLinkPageTest, TheDesktopFollowsEachClickOnce) {
    OpenPage();
    EXPECT_TRUE(desktop.Calls.empty()) << "showing the page changes nothing";
    Click(Box(".mkv"));
    Click(Box("Flash media type"));
    Click(Box(".mkv"));
    EXPECT_EQ(desktop.Calls, (std::vector<Extensions>{{".mkv"}, {".mkv", ".flv", ".swf"}, {".flv", ".swf"}}));
    EXPECT_TRUE(errors.empty());
}

// On a desktop of the test's own: "Default" makes the player the default of the 54 extensions' types, writing
// mimeapps.list and the player's entry once; "Select none" gives the desktop back as it was.
TEST_F(FileLinkPageTest, DefaultLinksTheDesktopInOneWrite) {
    testing_support::XdgHome xdg;
    win32::XdgDesktopLinks real;
    win32::SetDesktopLinkService(&real);
    const std::string mimeapps =
        "# mine\n[Default Applications]\nvideo/mp4=other.desktop\ntext/plain=ed.desktop\n";
    testing_support::WriteFile(xdg.Config() + "/mimeapps.list", mimeapps);
    std::filesystem::create_directories(xdg.Applications());
    testing_support::FolderWatch config(xdg.Config());
    testing_support::FolderWatch applications(xdg.Applications());
    TOption_Form& d = OpenPage();
    Click(d.Page.ExtensionButtons[2]);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(config.MovedIn("mimeapps.list"), 1);
    EXPECT_EQ(applications.MovedIn("tarvexdvd.desktop"), 1);
    const std::string linked = ReadFile(xdg.Config() + "/mimeapps.list");
    for (const char* type :
         {"video/x-matroska", "video/mp4", "video/mpeg", "video/x-ms-wmv", "audio/x-mpegurl"})
        EXPECT_NE(linked.find(std::string(type) + "=tarvexdvd.desktop\n"), std::string::npos)
            << type << linked;
    EXPECT_NE(linked.find("text/plain=ed.desktop\n"), std::string::npos);
    EXPECT_NE(ReadFile(xdg.Applications() + "/tarvexdvd.desktop")
                  .find("Exec=" + Application().ExeName() + " /o %f"),
              std::string::npos);
    Click(d.Page.ExtensionButtons[1]);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(ReadFile(xdg.Config() + "/mimeapps.list"), mimeapps);
    EXPECT_FALSE(std::filesystem::exists(xdg.Applications() + "/tarvexdvd.desktop"));
}

// A desktop that cannot be written: one error for the click, and the registry is not written either.
TEST_F(FileLinkPageTest, ADesktopThatCannotBeWrittenShowsOneErrorAndLeavesTheRegistry) {
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".avi"), win32::RegistryStatus::Ok);
    const std::string before = ReadFile(store.Path());
    desktop.Failure = "\"/x/mimeapps.list\" cannot be written (No space left on device)";
    TOption_Form& d = OpenPage();
    Click(d.Page.ExtensionButtons[0]);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("No space left on device"), std::string::npos) << errors[0];
    EXPECT_EQ(ReadFile(store.Path()), before);
}

// A damaged registry store: the first tick says so once and keeps the file aside; the links go on in a new
// store.
TEST_F(FileLinkPageTest, ADamagedStoreIsKeptAsideAndSaidOnce) {
    std::filesystem::create_directories(config.File("TarvexDvd"));
    testing_support::WriteFile(store.Path(), "TarvexDvd registry 1\n[HKEY_CLASSES_ROOT\\.mkv\n");
    OpenPage();
    EXPECT_FALSE(Box(".mkv")->Checked());
    Click(Box(".avi"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("could not be read"), std::string::npos) << boxes[0].Text;
    EXPECT_EQ(ReadFile(store.Path() + ".bad"), "TarvexDvd registry 1\n[HKEY_CLASSES_ROOT\\.mkv\n");
    EXPECT_TRUE(Linked(".avi"));
    Click(Box(".mp4"));
    Click(Box(".avi"));
    EXPECT_EQ(boxes.size(), 1u) << "said once";
    EXPECT_EQ(LinkedAgreeing(), 1);
    EXPECT_TRUE(errors.empty());
}

// "Select none" after "Select all" leaves nothing linked to the player, and gives every extension that had
// another program's link that link back.
TEST_F(FileLinkPageTest, SelectNoneAfterSelectAllGivesTheOtherProgramsLinksBack) {
    for (const char* ext : {".mkv", ".avi"}) {
        ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ext), win32::RegistryStatus::Ok);
        ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ext, "", std::string("Other") + ext),
                  win32::RegistryStatus::Ok);
    }
    TOption_Form& d = OpenPage();
    Click(d.Page.ExtensionButtons[0]);
    EXPECT_EQ(LinkedAgreeing(), 77);
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, ".mkv", AssociationBackupValue), "Other.mkv");
    Click(d.Page.ExtensionButtons[1]);
    EXPECT_EQ(LinkedAgreeing(), 0);
    EXPECT_EQ(Default(".mkv"), "Other.mkv");
    EXPECT_EQ(Default(".avi"), "Other.avi");
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, ".avi", AssociationBackupValue), std::nullopt);
    for (TCheckBox* box : Boxes())
        EXPECT_FALSE(box->Checked()) << box->Caption();
}

// The page reads the registry store once to show its 85 boxes, and a click reads it once and writes it once,
// however many keys it holds: the store was read again for every box.
TEST_F(FileLinkPageTest, TheStoreIsReadOncePerPageAndOncePerClick) {
    store.BeginBatch();
    for (int i = 0; i < 2000; ++i) {
        const std::string key = ".other" + std::to_string(i);
        ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, key), win32::RegistryStatus::Ok);
        ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, key, "", "Other" + key), win32::RegistryStatus::Ok);
    }
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".mkv"), win32::RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".mkv", "", "TarvexDVD.mkv"), win32::RegistryStatus::Ok);
    ASSERT_EQ(store.EndBatch(), win32::RegistryStatus::Ok);
    TOption_Form& d = Open();
    testing_support::FolderWatch watch(config.File("TarvexDvd"));
    Click(d.FileType_SB);
    EXPECT_TRUE(Box(".mkv")->Checked());
    EXPECT_EQ(watch.Opens("registry"), 1);
    watch.Clear();
    Click(Box("Flash media type"));
    EXPECT_EQ(watch.Opens("registry"), 1);
    EXPECT_EQ(watch.MovedIn("registry"), 1);
    EXPECT_EQ(LinkedAgreeing(), 3);
}

// A registry that cannot be written: the click ends with the error shown, and nothing is half written.
TEST_F(FileLinkPageTest, ARegistryThatCannotBeWrittenShowsTheError) {
    testing_support::WriteFile(config.File("TarvexDvd"), "a file where the store's folder should be");
    OpenPage();
    Click(Box(".ogg"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("registry"), std::string::npos) << errors[0];
    Click(dialog->Page.ExtensionButtons[0]);
    EXPECT_EQ(errors.size(), 2u) << "one error for the whole click";
}

} // namespace
} // namespace ui_testing
