#pragma once
// The choice among the DVD folders a search found, TSelHardDiskDvd_Form, and its launcher.

#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/RadioGroup.h"
#include "platform/win32/Types.h"

class TSelHardDiskDvd_Form : public forms::TForm {
public:
    explicit TSelHardDiskDvd_Form(QWidget* Owner = nullptr);

    forms::TRadioGroup* HardDiskDvd_RG = nullptr;

    void SetLanguage(int Value) { Language = Value; }
    void LoadTexts();
    void ApplyTexts();

    void FormCreate(forms::TObject* Sender);
    // One item per entry of DvdFolderList, its full path.
    void FillFolders();
    void HardDiskDvd_RGClick(forms::TObject* Sender);

    // The chosen entry of DvdFolderList; -1 when the dialog was closed without a choice.
    int ChosenIndex = -1;

private:
    int Language = 0;
    std::string captionText_, groupText_;
};

// Index := the folder chosen, -1 when none was (and when AppHandle names no window, Index is left alone).
void ShowSelHardDiskDvdDialog(win32::HWND AppHandle, int Language, int& Index);
