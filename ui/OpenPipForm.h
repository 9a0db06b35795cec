#pragma once
// The open-pair dialog of picture-in-picture, TOpenPip_Form: two read-only edits for media file A (the big
// picture) and media file B (the small one), each with a "..." button that browses for a video file, OK and
// Cancel. An accepted OK stores the pair in pipMediaFileA and pipMediaFileB.

#include <memory>
#include <string>

#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"
#include "platform/win32/Types.h"

// The dialog's texts in one language (all empty for a language code other than 1 and 2).
struct TOpenPipTexts {
    std::string Caption, MediaFileA, MediaFileB, SelTwoInfo, OK, Cancel;
};
TOpenPipTexts OpenPipTexts(int Language);

class TOpenPip_Form : public forms::TForm {
public:
    explicit TOpenPip_Form(QWidget* Owner);
    ~TOpenPip_Form() override;

    forms::TGroupBox* SelTwoInfo_GB = nullptr;
    forms::TLabel* MediaFileA_L = nullptr;
    forms::TLabel* MediaFileB_L = nullptr;
    forms::TEdit* EditA = nullptr;
    forms::TEdit* EditB = nullptr;
    forms::TButton* SpeedButton1 = nullptr;
    forms::TButton* SpeedButton2 = nullptr;
    forms::TButton* OK_Btn = nullptr;
    forms::TButton* Cancel_Btn = nullptr;
    std::unique_ptr<forms::TOpenDialog> MediaType_OD;

    void SetLanguage(int Language) { Language_ = Language; }
    void LoadTexts() { texts_ = OpenPipTexts(Language_); }
    void ApplyTexts();

    // 1 after an accepted OK (both files chosen), 2 after Cancel, 0 otherwise: a refused OK followed by the
    // close box gives 0, so that the caller never opens the pair of an earlier time.
    int ResultCode() const { return resultCode_; }

    void FormCreate(forms::TObject* Sender);
    void FormShow(forms::TObject* Sender);
    void SpeedButton1Click(forms::TObject* Sender);
    void SpeedButton2Click(forms::TObject* Sender);
    void OK_BtnClick(forms::TObject* Sender);
    void Cancel_BtnClick(forms::TObject* Sender);

private:
    // Lets the user choose a video file for Edit; an audio file is refused with a message.
    void BrowseMedia(forms::TEdit* Edit);
    // Both files chosen: the pair stored and the dialog closed; else the message, and the dialog stays.
    bool CheckAndStore();

    int Language_ = 0;
    TOpenPipTexts texts_;
    int resultCode_ = 0;
};

// The launcher: the dialog in the launchers' frame (RunDialog) with the language's texts; ResultCode is its
// result (1 when two files were chosen, then in pipMediaFileA and pipMediaFileB; 2 after Cancel; 0 when
// closed otherwise). Nothing happens without an owner window.
void ShowOpenPipDialog(win32::HWND AppHandle, int Language, int& ResultCode);
