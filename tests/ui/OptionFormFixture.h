#pragma once
// The options dialog under test: the main window started in a fresh run tree with the default settings (its
// menu items give the command captions, its handle stands for the boss key's window), a recording hot-key
// service, and the registry store in a temporary configuration folder. Open makes the dialog as its launcher
// does and shows it without a modal loop, so that a test works its controls one by one.

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "core/DialogLaunchers.h"
#include "platform/win32/Drives.h"
#include "platform/win32/HotKey.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/OptionForm.h"

namespace ui_testing {

class OptionTest : public MainFormTest {
public:
    void SetUp() override {
        MainFormTest::SetUp();
        win32::SetHotKeyService(&hotKeys);
        WriteIni(DefaultIniText());
        forms::SetSelectDirectoryHandler([this](const std::string& Caption, std::string& Directory) {
            browserCaptions.push_back(Caption);
            if (chosenFolder.empty())
                return false;
            Directory = chosenFolder;
            return true;
        });
    }
    void TearDown() override {
        dialog.reset();
        MainFormTest::TearDown();
        QuorelMain_Form = nullptr;
        Application().SetHandle(nullptr);
        win32::SetHotKeyService(nullptr);
        win32::SetDriveService(nullptr);
        forms::SetSelectDirectoryHandler(nullptr);
    }

    // The main window, with the settings of the file as they are now.
    void StartMain() {
        Start();
        QuorelMain_Form = form.get();
        Application().SetHandle(form->Handle());
    }
    // The dialog as its launcher sets it up, shown (its first page built); the main window is started first
    // when it is not yet.
    TOption_Form& Open(int Language = 1) {
        if (!form)
            StartMain();
        dialog = std::make_unique<TOption_Form>(form.get());
        GiveDialogFont(*dialog);
        dialog->SetLanguage(Language);
        dialog->LoadTexts();
        dialog->ApplyTexts();
        dialog->LoadSettings();
        dialog->Show();
        return *dialog;
    }
    std::string Ini() const { return ReadFile(tree.IniFile()); }
    // The lines of the settings file now that were not in Before (written or changed), in file order.
    std::vector<std::string> Written(const std::string& Before) const {
        auto lines = [](const std::string& Text) {
            std::vector<std::string> out;
            std::istringstream in(Text);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                out.push_back(line);
            }
            return out;
        };
        const auto before = lines(Before);
        const std::set<std::string> old(before.begin(), before.end());
        std::vector<std::string> changed;
        for (const std::string& line : lines(Ini()))
            if (!old.count(line))
                changed.push_back(line);
        return changed;
    }
    static void Click(forms::TCheckBox* Box) {
        QCheckBox* inner = Box->findChild<QCheckBox*>();
        QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(6, inner->height() / 2));
    }
    static void Click(forms::TRadioButton* Radio) {
        QTest::mouseClick(Radio->Button(), Qt::LeftButton, {}, QPoint(6, Radio->Button()->height() / 2));
    }
    static void Click(forms::TButton* Button) {
        QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
    }
    // Picks item Index of Combo as the user does (the change handler runs).
    static void Pick(forms::TComboBox* Combo, int Index) {
        Combo->SetItemIndex(Index - 1 >= 0 ? Index - 1 : -1);
        auto* inner = Combo->findChild<QComboBox*>();
        inner->setFocus();
        if (Index == 0) {
            Combo->SetItemIndex(1);
            QTest::keyClick(inner, Qt::Key_Up);
        } else {
            QTest::keyClick(inner, Qt::Key_Down);
        }
    }

    win32::FakeHotKeyService hotKeys;
    testing_support::TempDir config;
    testing_support::ScopedEnv configHome{"XDG_CONFIG_HOME", config.Path().c_str()};
    std::unique_ptr<TOption_Form> dialog;
    std::vector<std::string> browserCaptions;
    std::string chosenFolder;
    // The machine's optical drives while a test puts them in use.
    win32::FakeDriveService machineDrives;
};

} // namespace ui_testing
