#include "helperlib/HurlvanApi.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include <dlfcn.h>

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Registry.h"
#include "tests/support/QtApp.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

using forms::TForm;
using forms::TListItem;
using forms::TListView;
using forms::TTreeNode;
using forms::TTreeView;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// The exports as a caller gets them: the library opened by its file name, each export found by its name.
struct Exports {
    decltype(&::LoadFileFromDir) LoadFileFromDir = nullptr;
    decltype(&::RegAppKeyValue) RegAppKeyValue = nullptr;
    decltype(&::GetAppKeyValue) GetAppKeyValue = nullptr;
    decltype(&::SetNodeImgIndex) SetNodeImgIndex = nullptr;
    decltype(&::RightToSelected) RightToSelected = nullptr;
    decltype(&::LVRightToSelected) LVRightToSelected = nullptr;
    decltype(&::DoNotEditNode) DoNotEditNode = nullptr;
    decltype(&::ShowTemplateOrDB) ShowTemplateOrDB = nullptr;
};

const Exports& Api() {
    static const Exports exports = [] {
        Exports e;
        void* library = ::dlopen(HURLVAN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return e;
        auto find = [library](auto& Export, const char* Name) {
            Export = reinterpret_cast<std::remove_reference_t<decltype(Export)>>(::dlsym(library, Name));
        };
        find(e.LoadFileFromDir, "LoadFileFromDir");
        find(e.RegAppKeyValue, "RegAppKeyValue");
        find(e.GetAppKeyValue, "GetAppKeyValue");
        find(e.SetNodeImgIndex, "SetNodeImgIndex");
        find(e.RightToSelected, "RightToSelected");
        find(e.LVRightToSelected, "LVRightToSelected");
        find(e.DoNotEditNode, "DoNotEditNode");
        find(e.ShowTemplateOrDB, "ShowTemplateOrDB");
        return e;
    }();
    return exports;
}

// The names among Wanted in the order the folder listing gives them, each followed by a CR.
std::string InListingOrder(const std::string& Folder, const std::vector<std::string>& Wanted) {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(Folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(Wanted.begin(), Wanted.end(), name) != Wanted.end())
            text += name + "\r";
    }
    return text;
}

TEST(HurlvanApiLibrary, EveryExportIsFoundByName) {
    const Exports& api = Api();
    EXPECT_NE(api.LoadFileFromDir, nullptr);
    EXPECT_NE(api.RegAppKeyValue, nullptr);
    EXPECT_NE(api.GetAppKeyValue, nullptr);
    EXPECT_NE(api.SetNodeImgIndex, nullptr);
    EXPECT_NE(api.RightToSelected, nullptr);
    EXPECT_NE(api.LVRightToSelected, nullptr);
    EXPECT_NE(api.DoNotEditNode, nullptr);
    EXPECT_NE(api.ShowTemplateOrDB, nullptr);
}

// The library's registry store and message boxes are its own copies of the platform layer: the store is
// pointed at a temporary folder and the boxes are faked through the environment and read from the fake log.
class HurlvanApiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        ASSERT_NE(Api().ShowTemplateOrDB, nullptr) << "the library or its exports were not found";
    }

    std::string StorePath() const { return dir.File("config/TarvexDvd/registry"); }
    std::string FakeLog() const { return ReadFile(dir.File("fake.log")); }
    std::optional<std::string> Stored(const char* Name) const {
        return win32::RegistryStore(StorePath())
            .ReadString(win32::HKEY_CURRENT_USER, "Software\\HurlvanWebCapture", Name);
    }

    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
    ScopedEnv boxes{"QUOREL_MESSAGE_BOXES", "fake"};
    ScopedEnv log{"QUOREL_FAKE_LOG", dir.File("fake.log").c_str()};
};

// LoadFileFromDir

class LoadFileFromDirTest : public HurlvanApiTest {
protected:
    void SetUp() override {
        HurlvanApiTest::SetUp();
        std::filesystem::create_directories(dir.File("media/c"));
        for (const char* name : {"a.txt", "b.txt", ".hidden", "bad\rname"})
            WriteFile(dir.File("media/") + name, "x");
        std::filesystem::create_directories(dir.File("empty"));
    }
};

TEST_F(LoadFileFromDirTest, GivesTheFilesEachFollowedByACarriageReturn) {
    const std::string expected = InListingOrder(dir.File("media"), {"a.txt", "b.txt"});
    ASSERT_EQ(expected.size(), std::string("a.txt\rb.txt\r").size());
    for (const std::string& folder : {dir.File("media"), dir.File("media") + "/"}) {
        const char* files = nullptr;
        EXPECT_EQ(Api().LoadFileFromDir(folder.c_str(), &files), HurlvanOk) << folder;
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(std::string(files), expected) << folder;
    }
}

TEST_F(LoadFileFromDirTest, AFolderWithoutFilesGivesAnEmptyText) {
    for (const std::string& folder : {dir.File("empty"), dir.File("missing"), dir.File("media/a.txt")}) {
        const char* files = "untouched";
        EXPECT_EQ(Api().LoadFileFromDir(folder.c_str(), &files), HurlvanOk) << folder;
        ASSERT_NE(files, nullptr);
        EXPECT_STREQ(files, "") << folder;
    }
}

TEST_F(LoadFileFromDirTest, NoFolderOrNoPlaceForTheResultFails) {
    for (const char* folder : {"", static_cast<const char*>(nullptr)}) {
        const char* files = "untouched";
        EXPECT_EQ(Api().LoadFileFromDir(folder, &files), HurlvanUnexpected);
        EXPECT_STREQ(files, "untouched") << "Files is not written before the search";
    }
    EXPECT_EQ(Api().LoadFileFromDir(dir.File("media").c_str(), nullptr), HurlvanUnexpected);
}

TEST_F(LoadFileFromDirTest, TheTextStaysReadableAcrossCallsOfOtherExports) {
    const char* files = nullptr;
    ASSERT_EQ(Api().LoadFileFromDir(dir.File("media").c_str(), &files), HurlvanOk);
    const std::string copy = files;
    const char* value = nullptr;
    std::uint8_t ok = 0;
    ASSERT_EQ(Api().RegAppKeyValue("Name", "a long value that needs memory of its own", &ok), HurlvanOk);
    ASSERT_EQ(Api().GetAppKeyValue("Name", &value), HurlvanOk);
    EXPECT_EQ(std::string(files), copy);
}

// RegAppKeyValue and GetAppKeyValue

TEST_F(HurlvanApiTest, RegAppKeyValueCreatesTheKeyThenReplacesTheValue) {
    ASSERT_FALSE(std::filesystem::exists(StorePath()));
    std::uint8_t ok = 7;
    EXPECT_EQ(Api().RegAppKeyValue("Path", "/first", &ok), HurlvanOk);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(Stored("Path"), "/first");
    ok = 7;
    EXPECT_EQ(Api().RegAppKeyValue("Path", "/second/视频", &ok), HurlvanOk);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(Stored("Path"), "/second/视频");
    EXPECT_EQ(Api().RegAppKeyValue(nullptr, nullptr, &ok), HurlvanOk) << "no name: the default value";
    EXPECT_EQ(Stored(""), "");

    const char* value = nullptr;
    EXPECT_EQ(Api().GetAppKeyValue("path", &value), HurlvanOk);
    EXPECT_STREQ(value, "/second/视频");
    EXPECT_EQ(FakeLog(), "");
}

TEST_F(HurlvanApiTest, GetAppKeyValueOfAMissingValueIsEmptyWithoutAMessage) {
    std::uint8_t ok = 0;
    ASSERT_EQ(Api().RegAppKeyValue("Other", "x", &ok), HurlvanOk);
    const char* value = "untouched";
    EXPECT_EQ(Api().GetAppKeyValue("Missing", &value), HurlvanOk);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(FakeLog(), "");
}

TEST_F(HurlvanApiTest, GetAppKeyValueWithoutTheKeySaysSoAndSucceeds) {
    // Another key of the user is no help.
    win32::RegistryStore(StorePath()).CreateKey(win32::HKEY_CURRENT_USER, "Software\\Other");
    const char* value = "untouched";
    EXPECT_EQ(Api().GetAppKeyValue("Path", &value), HurlvanOk);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(FakeLog(), "MessageBox Informtion|0|Can not find Registry Information.\n");
    EXPECT_FALSE(
        win32::RegistryStore(StorePath()).KeyExists(win32::HKEY_CURRENT_USER, "Software\\HurlvanWebCapture"))
        << "reading creates no key";
}

TEST_F(HurlvanApiTest, NoPlaceForTheValueFailsBeforeAnything) {
    EXPECT_EQ(Api().GetAppKeyValue("Path", nullptr), HurlvanUnexpected);
    EXPECT_EQ(Api().RegAppKeyValue("Path", "x", nullptr), HurlvanUnexpected);
    EXPECT_EQ(FakeLog(), "");
    EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

TEST_F(HurlvanApiTest, ARegistryStoreThatCannotBeWrittenFailsTheWriteAndKeepsOkFalse) {
    struct Case {
        const char* name;
        std::string configFolder;
        std::string storeContents; // written at the store's path of configFolder; "" writes nothing
    };
    WriteFile(dir.File("a-file"), "in the place of a folder");
    for (const Case& c : {
             Case{"damaged store", dir.File("damaged"), "not a registry store"},
             Case{"folder that cannot be made", dir.File("a-file"), ""},
         }) {
        const std::string store = c.configFolder + "/TarvexDvd/registry";
        if (!c.storeContents.empty()) {
            std::filesystem::create_directories(c.configFolder + "/TarvexDvd");
            WriteFile(store, c.storeContents);
        }
        ScopedEnv config("XDG_CONFIG_HOME", c.configFolder.c_str());
        std::uint8_t ok = 1;
        EXPECT_EQ(Api().RegAppKeyValue("Path", "/x", &ok), HurlvanUnexpected) << c.name;
        EXPECT_EQ(ok, 0) << c.name;
        if (!c.storeContents.empty()) {
            EXPECT_EQ(ReadFile(store), c.storeContents) << c.name;
        }
        const char* value = "untouched";
        EXPECT_EQ(Api().GetAppKeyValue("Path", &value), HurlvanOk) << c.name;
        EXPECT_STREQ(value, "") << c.name;
    }
    EXPECT_EQ(FakeLog(), "MessageBox Informtion|0|Can not find Registry Information.\n"
                         "MessageBox Informtion|0|Can not find Registry Information.\n");
}

TEST(HurlvanApiWithoutGui, TheMissingKeyMessageGoesToStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("XDG_CONFIG_HOME", "/nonexistent/quorel-test-config", 1);
            ::unsetenv("QUOREL_MESSAGE_BOXES");
            const char* value = "untouched";
            const bool done = Api().GetAppKeyValue != nullptr && Api().GetAppKeyValue("Path", &value) == 0 &&
                              *value == '\0';
            std::exit(done ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Informtion: Can not find Registry Information\\.");
}

// The tree and list view exports, on the caller's own views.

class ViewExportsTest : public HurlvanApiTest {
protected:
    void SetUp() override {
        HurlvanApiTest::SetUp();
        form.SetBounds(0, 0, 500, 300);
        tree = new TTreeView(&form);
        tree->SetBounds(10, 10, 200, 250);
        list = new TListView(&form);
        list->SetBounds(250, 10, 200, 250);
        for (const char* text : {"Documents", "Recycle bin", "recycle bin"})
            nodes.push_back(tree->Items().Add(nullptr, text));
        for (const char* caption : {"one", "two", "three"}) {
            items.push_back(list->Items().Add());
            items.back()->SetCaption(caption);
        }
        form.Show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        treeWidget = tree->findChild<QTreeWidget*>();
        listWidget = list->findChild<QTreeWidget*>();
    }

    // The middle of Row in the coordinates of Control, whose inner widget is View.
    static QPoint Middle(const QWidget* Control, const QTreeWidget* View, QTreeWidgetItem* Row) {
        return View->viewport()->mapTo(Control, View->visualItemRect(Row).center());
    }
    // A point of Control below its last row.
    static QPoint BelowRows(const QWidget* Control, const QTreeWidget* View, QTreeWidgetItem* Last) {
        const QRect r = View->visualItemRect(Last);
        return View->viewport()->mapTo(Control, QPoint(r.center().x(), r.bottom() + 10));
    }

    TForm form;
    TTreeView* tree = nullptr;
    TListView* list = nullptr;
    QTreeWidget* treeWidget = nullptr;
    QTreeWidget* listWidget = nullptr;
    std::vector<TTreeNode*> nodes;
    std::vector<TListItem*> items;
};

TEST_F(ViewExportsTest, SetNodeImgIndexByWhetherTheNodeIsSelected) {
    struct Case {
        int selected; // index into nodes, -1 for none
        int node;
        int image;
        int selectedImage;
    };
    for (const Case& c : {Case{1, 1, 2, 2}, Case{0, 1, 0, 1}, Case{-1, 1, 0, 1}}) {
        tree->SetSelected(c.selected >= 0 ? nodes[c.selected] : nullptr);
        nodes[c.node]->SetImageIndex(7);
        nodes[c.node]->SetSelectedIndex(7);
        EXPECT_EQ(Api().SetNodeImgIndex(nodes[c.node], tree), HurlvanOk);
        EXPECT_EQ(nodes[c.node]->ImageIndex(), c.image) << "selected " << c.selected;
        EXPECT_EQ(nodes[c.node]->SelectedIndex(), c.selectedImage) << "selected " << c.selected;
    }
    EXPECT_EQ(Api().SetNodeImgIndex(nullptr, tree), HurlvanUnexpected);
    EXPECT_EQ(Api().SetNodeImgIndex(nodes[0], nullptr), HurlvanUnexpected);
    EXPECT_EQ(nodes[0]->ImageIndex(), -1);
}

struct ClickCase {
    const char* name;
    std::int32_t button;
    int target; // the row clicked, -1 below the rows
    int selectedAfter;
};

void PrintTo(const ClickCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

// The view starts with row 0 selected.
const ClickCase clickCases[] = {
    {"RightOnARowSelectsIt", 1, 2, 2},
    {"LeftChangesNothing", 0, 2, 0},
    {"MiddleChangesNothing", 2, 2, 0},
    {"UnknownButtonChangesNothing", 3, 2, 0},
    {"RightBelowTheRowsChangesNothing", 1, -1, 0},
};

class RightToSelectedTest : public ViewExportsTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(RightToSelectedTest, OnTheTreeView) {
    const ClickCase& c = GetParam();
    tree->SetSelected(nodes[0]);
    const QPoint at =
        c.target >= 0 ? Middle(tree, treeWidget, nodes[c.target]) : BelowRows(tree, treeWidget, nodes.back());
    EXPECT_EQ(Api().RightToSelected(c.button, at.x(), at.y(), &tree), HurlvanOk);
    EXPECT_EQ(tree->Selected(), nodes[c.selectedAfter]);
}

INSTANTIATE_TEST_SUITE_P(Cases, RightToSelectedTest, ::testing::ValuesIn(clickCases),
                         [](const auto& Info) { return std::string(Info.param.name); });

class LVRightToSelectedTest : public ViewExportsTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(LVRightToSelectedTest, OnTheListView) {
    const ClickCase& c = GetParam();
    list->SetSelected(items[0]);
    const QPoint at =
        c.target >= 0 ? Middle(list, listWidget, items[c.target]) : BelowRows(list, listWidget, items.back());
    EXPECT_EQ(Api().LVRightToSelected(c.button, at.x(), at.y(), &list), HurlvanOk);
    EXPECT_EQ(list->Selected(), items[c.selectedAfter]);
}

INSTANTIATE_TEST_SUITE_P(Cases, LVRightToSelectedTest, ::testing::ValuesIn(clickCases),
                         [](const auto& Info) { return std::string(Info.param.name); });

TEST_F(ViewExportsTest, RightClickExportsOnEmptyOrMissingViews) {
    tree->Items().Clear();
    list->Items().Clear();
    EXPECT_EQ(Api().RightToSelected(1, 20, 20, &tree), HurlvanOk);
    EXPECT_EQ(Api().LVRightToSelected(1, 20, 20, &list), HurlvanOk);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(list->Selected(), nullptr);

    TTreeView* noTree = nullptr;
    TListView* noList = nullptr;
    EXPECT_EQ(Api().RightToSelected(1, 20, 20, &noTree), HurlvanUnexpected);
    EXPECT_EQ(Api().RightToSelected(1, 20, 20, nullptr), HurlvanUnexpected);
    EXPECT_EQ(Api().LVRightToSelected(1, 20, 20, &noList), HurlvanUnexpected);
    EXPECT_EQ(Api().LVRightToSelected(1, 20, 20, nullptr), HurlvanUnexpected);
    EXPECT_EQ(Api().DoNotEditNode(20, 20, &noTree), HurlvanUnexpected);
    EXPECT_EQ(Api().DoNotEditNode(20, 20, nullptr), HurlvanUnexpected);
}

TEST_F(ViewExportsTest, DoNotEditNodeCancelsOnlyTheRecycleBinsEditing) {
    struct Case {
        int edited; // the node whose label is being edited
        int at;     // the node under the point, -1 below the rows
        bool cancelled;
    };
    for (const Case& c : {
             Case{1, 1, true},   // "Recycle bin"
             Case{2, 2, false},  // "recycle bin": the case differs
             Case{0, 0, false},  // "Documents"
             Case{1, -1, false}, // no node at the point
         }) {
        TTreeNode* node = nodes[c.edited];
        const std::string before = node->Text();
        node->EditText();
        auto* editor = treeWidget->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "typed");
        const QPoint at =
            c.at >= 0 ? Middle(tree, treeWidget, nodes[c.at]) : BelowRows(tree, treeWidget, nodes.back());
        EXPECT_EQ(Api().DoNotEditNode(at.x(), at.y(), &tree), HurlvanOk);
        EXPECT_EQ(node->Editing(), !c.cancelled) << before << " at " << c.at;
        if (node->Editing())
            node->EndEdit(true);
        EXPECT_EQ(node->Text(), before);
    }
}

TEST_F(ViewExportsTest, ShowTemplateOrDBAddsOneItemPerFileBehindTheItemsThereAre) {
    std::filesystem::create_directories(dir.File("templates/sub"));
    for (const char* name : {"a.txt", "b.txt", ".hidden"})
        WriteFile(dir.File("templates/") + name, "x");
    const std::string folder = dir.File("templates");
    EXPECT_EQ(Api().ShowTemplateOrDB(folder.c_str(), list), HurlvanOk);

    std::string captions;
    for (int i = 3; i < list->Items().Count(); ++i) {
        captions += list->Items().Item(i)->Caption() + "\r";
        ASSERT_EQ(list->Items().Item(i)->SubItems().Count(), 1);
        EXPECT_EQ(list->Items().Item(i)->SubItems()[0], folder);
    }
    EXPECT_EQ(list->Items().Count(), 5);
    EXPECT_EQ(list->Items().Item(0)->Caption(), "one") << "the list is not cleared";
    EXPECT_EQ(captions, InListingOrder(folder, {"a.txt", "b.txt"}));
}

TEST_F(ViewExportsTest, ShowTemplateOrDBOnAnEmptyFolderAddsNothing) {
    std::filesystem::create_directories(dir.File("empty"));
    EXPECT_EQ(Api().ShowTemplateOrDB(dir.File("empty").c_str(), list), HurlvanOk);
    EXPECT_EQ(list->Items().Count(), 3);
}

TEST_F(ViewExportsTest, ShowTemplateOrDBFailsWithoutAFolderOrAView) {
    EXPECT_EQ(Api().ShowTemplateOrDB("", list), HurlvanUnexpected);
    EXPECT_EQ(Api().ShowTemplateOrDB(nullptr, list), HurlvanUnexpected);
    EXPECT_EQ(list->Items().Count(), 3);
    EXPECT_EQ(Api().ShowTemplateOrDB(dir.Path().c_str(), nullptr), HurlvanUnexpected);
}

} // namespace
