// Fuzzes the options dialog with any settings file: the dialog reads the values its pages show (texts,
// numbers far out of range, broken lines), every page is built from them, and Cancel closes it. Nothing may
// fail, and a cancelled dialog leaves the file as it was, but for the one repair the dialog makes as it opens
// (a renderer above the one in use is put back to it). The file is kept in memory (the profile functions' own
// seam); the main window behind the dialog is made once.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QApplication>

#include "assets/SkinArt.h"
#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/forms/Dialogs.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Profile.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/IniNames.h"
#include "tests/support/IniText.h"
#include "tests/support/RunTree.h"
#include "ui/OptionForm.h"
#include "ui/QuorelMainUnit.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "options settings", What);
}

// The program's run: a run tree with the default skin and settings, the main window, and the services a
// dialog may reach answered without a desktop.
struct Run {
    Run() {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 0);
        ::setenv("QUOREL_SCREENSAVER", "fake", 0);
        ::setenv("QUOREL_POWER", "fake", 0);
        app = std::make_unique<QApplication>(argc, argv);
        win32::SetProfileFiles(&files);
        tree = std::make_unique<testing_support::RunTree>();
        // The registry store the file-type page reads lies in the run tree.
        ::setenv("XDG_CONFIG_HOME", (tree->Root() + "/config").c_str(), 1);
        for (const auto& file : skinart::DefaultSkinFiles())
            skinart::DrawSkinFile(file.Name).save(QString::fromStdString(State.SkinPath + file.Name), "BMP");
        files.Files[tree->IniFile()] = testing_support::DefaultsWith({});
        win32::SetMessageBoxHandler([](const win32::MessageBoxRequest&) { return win32::IDOK; });
        win32::SetHotKeyService(&hotKeys);
        forms::SetFileDialogHandler([](forms::TOpenDialog&) { return false; });
        forms::SetSelectDirectoryHandler([](const std::string&, std::string&) { return false; });
        form = std::make_unique<TQuorelMain_Form>(tree->ProgramFile(), std::vector<std::string>{});
        QuorelMain_Form = form.get();
        forms::Application().SetHandle(form->Handle());
    }

    int argc = 1;
    char name[8] = "fuzz";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    win32::MemoryProfileFiles files;
    win32::FakeHotKeyService hotKeys;
    std::unique_ptr<testing_support::RunTree> tree;
    std::unique_ptr<TQuorelMain_Form> form;
};

constexpr const char* Missing = "\x01missing";

Run& TheRun() {
    // Kept to the end of the process: Qt's objects go with it.
    static Run* run = new Run;
    return *run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    Run& run = TheRun();
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    const std::string file = run.tree->IniFile();
    run.files.Files[file] = text;

    const int storedRenderer = ReadIniInteger("Play", "RenderType");
    {
        TOption_Form dialog(run.form.get());
        GiveDialogFont(dialog);
        dialog.SetLanguage(static_cast<int>(Size % 2));
        dialog.LoadTexts();
        dialog.ApplyTexts();
        dialog.LoadSettings();
        dialog.Show();
        for (forms::TSpeedButton* page :
             {dialog.Player_SB, dialog.Video_SB, dialog.Audio_SB, dialog.Decoder_SB, dialog.SubPicture_SB,
              dialog.Capture_SB, dialog.ShortcutKey_SB, dialog.FileType_SB, dialog.System_SB})
            page->Click();
        dialog.Cancel_Btn->Click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Every key of the file reads as before, but for the dialog's two repairs as it opens: a renderer above
    // the one in use is put back to it, and a default drive is forgotten on a machine without drives.
    const std::string before = "/fuzz/before.ini";
    run.files.Files[before] = text;
    for (const auto& [section, key] : fuzzing::IniNamesIn(text, 100)) {
        const std::string was = win32::GetPrivateProfileString(section, key, Missing, before);
        const std::string now = win32::GetPrivateProfileString(section, key, Missing, file);
        if (now == was)
            continue;
        if (section == "Play" && key == "RenderType") {
            Check(storedRenderer > State.RenderType && now == std::to_string(State.RenderType),
                  "the renderer changed by a cancelled dialog, and not to the one in use");
        } else {
            Check(section == "PlayControl" && key == "DefDriver" && now.empty(),
                  "a cancelled dialog changed a setting");
        }
    }
    return 0;
}
