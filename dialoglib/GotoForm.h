#pragma once
// The go-to-time dialog: the length of the medium, three edits for hours, minutes and seconds, OK and Cancel.

#include <cstdint>

#include "dialoglib/GotoForm_Logic.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"

class TGoto_Form : public forms::TForm {
public:
    explicit TGoto_Form(QWidget* Owner);

    forms::TPanel* Panel1;
    forms::TLabel* MediaTime_L;
    forms::TLabel* Default_L;
    forms::TEdit* Hour_E;
    forms::TEdit* Minute_E;
    forms::TEdit* Second_E;
    forms::TLabel* Hour_L;
    forms::TLabel* Minute_L;
    forms::TLabel* Second_L;
    forms::TButton* OK_Btn;
    forms::TButton* Cancel_Btn;

    void SetLength(int PlayType, std::int64_t Length);
    void SetLanguage(int Language) { Language_ = Language; }
    void LoadTexts() { texts_ = GotoTexts(Language_); }
    void ApplyTexts();

    // The time of the last OK, also of a refused one; 0 before.
    std::int64_t ChosenSeconds() const { return chosenSeconds_; }
    // True for every way out but an accepted OK.
    bool Cancelled() const { return cancelled_; }

private:
    void FormCreate(forms::TObject* Sender);
    void HookDigitEdits();
    void ResetEdits();
    void DigitKeyPress(forms::TObject* Sender, char32_t& Key);
    bool ValidateTime();
    void OK_BtnClick(forms::TObject* Sender);
    void Cancel_BtnClick(forms::TObject* Sender);

    int Language_ = 0;
    TGotoTexts texts_;
    TGotoLength length_;
    std::int64_t chosenSeconds_ = 0;
    bool cancelled_ = true;
};
