#pragma once
// The question of a reopened medium, TAutoResumePlay_Form: go on from the stored position or play from the
// beginning. The dialog makes the seek itself. And its launcher.

#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/RadioGroup.h"
#include "platform/win32/Types.h"

class TAutoResumePlay_Form : public forms::TForm {
public:
    explicit TAutoResumePlay_Form(QWidget* Owner = nullptr);

    forms::TRadioGroup* ResumeType_RG = nullptr;

    void SetLanguage(int Value) { Language = Value; }
    void LoadTexts();
    // The caption, the group's caption and its two items (two empty items for a language without texts).
    void ApplyTexts();

    void FormCreate(forms::TObject* Sender);
    // Item 0 seeks to LastPos, item 1 to the start (a DVD's stored title, LastDvdTitle, is started first),
    // then the dialog closes.
    void ResumeType_RGClick(forms::TObject* Sender);

    // 0 from the stored position, 1 from the beginning; -1 when the dialog was closed without a choice.
    int ChosenIndex = -1;

private:
    int Language = 0;
    std::string captionText_, groupText_, lastPositionText_, beginningText_;
};

// Choice := the item chosen, -1 when none was (and when AppHandle names no window, Choice is left alone).
void ShowAutoResumePlayDialog(win32::HWND AppHandle, int Language, int& Choice);
