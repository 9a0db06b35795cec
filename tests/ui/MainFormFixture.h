#pragma once
// The main window under test: a fresh run tree with the default skin, message boxes and file dialogs
// answered by the test, a recording screen saver, and errors of event handlers collected.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include "assets/SkinArt.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/audio/Bass.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/StringList.h"
#include "platform/win32/Mci.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/ScreenSaver.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"
#include "ui/QuorelMainUnit.h"

namespace ui_testing {

// A 10 s clip: the 2 s fixtures end too soon for a resume point in their middle.
inline const std::string& LongClip() {
    return testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong);
}

using namespace forms;
using testing_support::ReadFile;
using testing_support::RunTree;
using testing_support::WriteFile;

// A main window whose save can be made to fail, as with a read-only Project folder.
class TestMainForm : public TQuorelMain_Form {
public:
    explicit TestMainForm(std::string ProgramFile, std::vector<std::string> Arguments = {})
        : TQuorelMain_Form(std::move(ProgramFile), std::move(Arguments)) {}
    void SaveLastStateAndLists() override {
        ++saves;
        if (failSave)
            throw EClassLibraryError("Cannot create file \"PlayFileList\".");
        TQuorelMain_Form::SaveLastStateAndLists();
    }
    bool failSave = false;
    int saves = 0;
};

class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }

    void SetUp() override {
        WriteSkin();
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& r) {
            boxes.push_back(r);
            if (onBox)
                onBox();
            return answer;
        });
        win32::SetScreenSaverService(&screenSaver);
        win32::SetDiscTrayService(&discTray);
        // The open dialog answers with chosenFiles (cancelled when there are none).
        forms::SetFileDialogHandler([this](TOpenDialog& Dialog) {
            dialogs.push_back({Dialog.Filter, Dialog.Options});
            if (chosenFiles.empty())
                return false;
            Dialog.Files.Clear();
            for (const auto& file : chosenFiles)
                Dialog.Files.Add(file);
            Dialog.FileName = chosenFiles.front();
            return true;
        });
        Application().OnException = [this](TObject*, const std::exception& e) {
            errors.emplace_back(e.what());
        };
    }
    void TearDown() override {
        // Nothing may go on playing into the panel of a window that is gone (the program's close stops it).
        if (form)
            form->StopByType();
        GraphStop();
        BassStop();
        form.reset();
        win32::SetMessageBoxHandler(nullptr);
        win32::SetScreenSaverService(nullptr);
        forms::SetFileDialogHandler(nullptr);
        // The tray door's worker may still be on its way to the fake: it stays in use (it lives as long as
        // the test program).
        Application().OnException = nullptr;
        TQuorelMain_Form::AudioLibraryVersion = [] { return bass::BASS_GetVersion(); };
    }

    void WriteSkin() {
        for (const auto& file : skinart::DefaultSkinFiles())
            skinart::DrawSkinFile(file.Name).save(QString::fromStdString(State.SkinPath + file.Name), "BMP");
    }
    void WriteIni(const std::string& Text) { WriteFile(tree.IniFile(), Text); }
    // The default settings (or Text) with Key set to Value.
    static std::string DefaultsWith(const std::string& Key, const std::string& Value,
                                    std::string text = DefaultIniText()) {
        const auto at = text.find("\r\n" + Key + "=");
        const auto end = text.find("\r\n", at + 2);
        text.replace(at + 2, end - at - 2, Key + "=" + Value);
        return text;
    }

    TestMainForm& Start(std::vector<std::string> Arguments = {}) {
        form = std::make_unique<TestMainForm>(tree.ProgramFile(), std::move(Arguments));
        return *form;
    }
    TestMainForm& StartShown() {
        Start();
        form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }
    bool Shows(TImage* Image, const std::string& File) const {
        return Image->Picture().Image() == QImage(QString::fromStdString(State.SkinPath + File));
    }
    // Copies of the fixtures in the run tree, under names of their own.
    std::string Copy(const std::string& From, const std::string& Name) {
        const std::string to = tree.Root() + "/" + Name;
        std::filesystem::copy_file(From, to, std::filesystem::copy_options::overwrite_existing);
        return to;
    }
    std::string Clip(const std::string& Name) {
        return Copy(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac), Name);
    }
    std::string Tone(const std::string& Name, double Seconds = 2.0) {
        const std::string to = tree.Root() + "/" + Name;
        EXPECT_TRUE(testing_support::MakeToneFile(to, testing_support::AudioFormat::Wav, Seconds));
        return to;
    }
    // Created, shown and activated once, as the program block does; the command line's open, which the show
    // queues, has run (and the activation's work after it).
    TestMainForm& Run(std::vector<std::string> Arguments = {}) {
        Start(std::move(Arguments));
        form->Show();
        form->FormActivate(form.get());
        WaitForCommandLineOpen();
        return *form;
    }
    void WaitForCommandLineOpen() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !form->CommandLineOpenPending; }, 30000));
    }
    void CloseForm() {
        form->Close();
        QCoreApplication::processEvents();
    }

    // The mouse as a user moves it over the shown window, at a point of Control (its centre by default); the
    // pointer's screen position goes along, as the window system would have it.
    QWindow* Window() { return form->windowHandle(); }
    QPoint At(TControl* Control, QPoint Local) { return Control->mapTo(form.get(), Local); }
    QPoint Over(TControl* Control) { return At(Control, Control->rect().center()); }
    void MoveTo(QPoint P) {
        QCursor::setPos(form->mapToGlobal(P));
        QTest::mouseMove(Window(), P);
    }
    void PressAt(QPoint P, Qt::MouseButton Button = Qt::LeftButton) {
        MoveTo(P);
        QTest::mousePress(Window(), Button, {}, P);
    }
    void ReleaseAt(QPoint P, Qt::MouseButton Button = Qt::LeftButton) {
        MoveTo(P);
        QTest::mouseRelease(Window(), Button, {}, P);
    }
    void ClickAt(QPoint P, Qt::MouseButton Button = Qt::LeftButton) {
        PressAt(P, Button);
        ReleaseAt(P, Button);
    }

    RunTree tree;
    std::unique_ptr<TestMainForm> form;
    win32::FakeScreenSaverService screenSaver;
    static inline win32::FakeDiscTrayService discTray;
    std::vector<win32::MessageBoxRequest> boxes;
    std::function<void()> onBox;
    int answer = win32::IDNO;
    std::vector<std::string> errors;
    struct DialogSeen {
        std::string Filter;
        TOpenOptions Options;
    };
    std::vector<DialogSeen> dialogs;
    std::vector<std::string> chosenFiles;
};

} // namespace ui_testing
