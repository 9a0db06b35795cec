#pragma once
// The capture save-option dialog TSaveOption_Form: where and as which image type the capture-list window
// saves all captures. It offers the stored defaults ([File] CaptureImagePath and DefaultImageType), lets the
// user pick another folder and type, store them as the defaults, and switch the question off ([File]
// AskSaveOption); each check box writes its setting at once. Its launcher ShowSaveOptionDialog.

#include <string>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"
#include "platform/win32/Types.h"

class TSaveOption_Form : public forms::TForm {
public:
    explicit TSaveOption_Form(QWidget* Owner = nullptr);

    forms::TPanel* Panel1 = nullptr;
    forms::TCheckBox* UseDef_CB = nullptr;
    forms::TLabel* SavePath_L = nullptr;
    forms::TEdit* Path_E = nullptr;
    forms::TSpeedButton* Other_SB = nullptr;
    forms::TLabel* SaveType_L = nullptr;
    forms::TComboBox* SaveType_Cob = nullptr;
    forms::TCheckBox* SaveAsDef_CB = nullptr;
    forms::TCheckBox* DontAsk_CB = nullptr;
    forms::TButton* Save_Btn = nullptr;

    void SetLanguage(int Value) { Language = Value; }
    void LoadTexts();
    void ApplyTexts();

    void FormCreate(forms::TObject* Sender);
    void UseDef_CBClick(forms::TObject* Sender);
    void Other_SBClick(forms::TObject* Sender);
    void SaveAsDef_CBClick(forms::TObject* Sender);
    void DontAsk_CBClick(forms::TObject* Sender);
    void Save_BtnClick(forms::TObject* Sender);

    // The results: empty until Save (SavePath holds a folder browsed to before a close without Save).
    std::string SavePath;
    std::string SaveType;

    int Language = 0;
    std::string CaptionText, UseDefText, SavePathText, SaveTypeText, DontAskText, SaveText;

private:
    void LoadPath();
    void LoadTypes();
    void LoadAskFlag();
    void DisableChoice();
    void EnableChoice();
    void SetChoiceEnabled(bool Enabled);
    void BrowsePath();
    // The stored folder, with the Temp folder for a missing or empty one, and the stored type when it is one
    // of the list's (else empty).
    static std::string StoredFolder();
    std::string StoredType() const;
};

// Shows the dialog modally over AppHandle's window and gives its results: Folder and Type are empty when it
// was closed without Save. Nothing happens for an AppHandle of 0.
void ShowSaveOptionDialog(win32::HWND AppHandle, int Language, std::string& Folder, std::string& Type);
