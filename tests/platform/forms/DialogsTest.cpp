#include "platform/forms/Dialogs.h"

#include <chrono>
#include <thread>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhileModal.h"

using forms::FileDialogNameFilters;
using forms::TOpenDialog;
using testing_support::TempDir;
using testing_support::WhileModal;
using testing_support::WriteFile;

namespace {

using V = std::vector<std::string>;

TEST(FileDialogNameFilters, PairsBecomeCaptionsWithTheirPatternsInParentheses) {
    EXPECT_EQ(FileDialogNameFilters(""), V{});
    EXPECT_EQ(FileDialogNameFilters("Bmp Files(*.bmp)|*.bmp|Jpg Files(*.jpg)|*.jpg"),
              (V{"Bmp Files(*.bmp) (*.bmp)", "Jpg Files(*.jpg) (*.jpg)"}));
    EXPECT_EQ(FileDialogNameFilters("Media|*.avi;;*.mp3;"), V{"Media (*.avi *.mp3)"});
    EXPECT_EQ(FileDialogNameFilters("Media|*.avi|Lonely"), V{"Media (*.avi)"}); // a caption without patterns
}

class FileDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void TearDown() override { forms::SetFileDialogHandler(nullptr); }
};

TEST_F(FileDialogTest, AHandlerAnswersInsteadOfTheUser) {
    int asked = 0;
    forms::SetFileDialogHandler([&](TOpenDialog& Dialog) {
        ++asked;
        EXPECT_EQ(Dialog.Filter, "Media|*.avi");
        Dialog.Files.Add("/m/a.avi");
        Dialog.FileName = "/m/a.avi";
        return true;
    });
    TOpenDialog dialog;
    dialog.Filter = "Media|*.avi";
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dialog.FileName, "/m/a.avi");
    forms::SetFileDialogHandler([](TOpenDialog&) { return false; });
    EXPECT_FALSE(dialog.Execute());
}

// The names the dialog lists in its folder, once it has read them.
QStringList Listed(QFileDialog* Dialog) {
    auto* view = Dialog->findChild<QAbstractItemView*>("listView");
    if (view == nullptr || view->model() == nullptr)
        return {"no view"};
    QStringList names;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        QApplication::processEvents();
        const QModelIndex root = view->rootIndex();
        names.clear();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names << view->model()->index(row, 0, root).data().toString();
        if (names.size() >= 2)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    names.sort();
    return names;
}

TEST_F(FileDialogTest, TheRealDialogMatchesNamesWithoutRegardToCaseAndGivesEveryChosenFile) {
    TempDir dir;
    for (const char* name : {"CLIP.AVI", "song.Mp3", "notes.txt"})
        WriteFile(dir.File(name), "x");
    TOpenDialog dialog;
    dialog.Filter = "Media|*.avi;*.mp3|All Files(*.*)|*.*";
    dialog.Options = forms::ofAllowMultiSelect;
    dialog.InitialDir = dir.Path();
    QStringList listed;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    WhileModal modal([&](QWidget* shown) {
        auto* fileDialog = qobject_cast<QFileDialog*>(shown);
        ASSERT_NE(fileDialog, nullptr);
        filters = fileDialog->nameFilters();
        mode = fileDialog->fileMode();
        listed = Listed(fileDialog);
        // As a user types two names.
        auto* edit = fileDialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText("\"CLIP.AVI\" \"song.Mp3\"");
        static_cast<QDialog*>(fileDialog)->accept(); // QFileDialog hides its accept()
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(modal.Ran());
    EXPECT_EQ(filters, (QStringList{"Media (*.avi *.mp3)", "All Files(*.*) (*.*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(listed, (QStringList{"CLIP.AVI", "song.Mp3"}));
    EXPECT_EQ(dialog.Files.Items(), (V{dir.File("CLIP.AVI"), dir.File("song.Mp3")}));
    EXPECT_EQ(dialog.FileName, dir.File("CLIP.AVI"));
}

TEST_F(FileDialogTest, CancellingLeavesTheChoiceAsItWas) {
    TOpenDialog dialog;
    dialog.FileName = "/m/before.avi";
    WhileModal modal([](QWidget* shown) { qobject_cast<QDialog*>(shown)->reject(); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(modal.Ran());
    EXPECT_EQ(dialog.FileName, "/m/before.avi");
    EXPECT_TRUE(dialog.Files.Empty());
}

} // namespace
