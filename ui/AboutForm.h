#pragma once
// The About box, TAbout_Form: tab labels over a black content area that shows the thanks text, the table of
// shortcut keys or the version history; and its launcher.

#include <string>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ScrollBox.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win32/Types.h"

class TAbout_Form : public forms::TForm {
public:
    explicit TAbout_Form(QWidget* Owner = nullptr);

    forms::TPanel* Title_P = nullptr;
    forms::TImage* Image1 = nullptr;
    forms::TPanel* ThanksLine_P = nullptr;
    forms::TPanel* ShortcutKeyLine_P = nullptr;
    forms::TPanel* HistoryLine_P = nullptr;
    forms::TLabel* Thanks_L = nullptr;
    forms::TLabel* ShortcutKey_L = nullptr;
    forms::TLabel* History_L = nullptr;
    forms::TScrollBox* Content_SB = nullptr;

    void SetLanguage(int Value) { Language = Value; }
    void LoadTexts();
    void ApplyTexts();

    void FormCreate(forms::TObject* Sender);
    void FormShow(forms::TObject* Sender);
    void HookTabHover();
    void TabMouseEnter(forms::TObject* Sender);
    void TabMouseLeave(forms::TObject* Sender);
    void ShowThanksTab();
    void ShowShortcutTab();
    void ShowHistoryTab();
    // Frees every control of the content area.
    void ClearContent();

private:
    // The chosen tab blue, the others black, the content area empty.
    void ChooseTab(forms::TLabel* Tab);
    // A page label: UiFont, white, transparent, at Left, 16.
    forms::TLabel* AddContentLabel(int Left, const std::string& Text);

    int Language = 0;
    std::string captionText_, thanksTabText_, shortcutTabText_, historyTabText_, thanksText_, historyText_;
};

// Shows the About box, owned by AppHandle's window, in Language.
void ShowAboutDialog(win32::HWND AppHandle, int Language);
