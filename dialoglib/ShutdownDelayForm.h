#pragma once
// The power-off countdown: names the computer, counts 30 seconds down and powers it off; OK powers it off at
// once, Cancel and the close box do not.

#include <string>

#include "dialoglib/ShutdownDelayForm_Logic.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"

class TShutdownDelay_Form : public forms::TForm {
public:
    explicit TShutdownDelay_Form(QWidget* Owner);

    forms::TPanel* Panel1;
    forms::TImage* Image1;
    forms::TLabel* ShowDelay_L;
    forms::TButton* OK_Btn;
    forms::TButton* Cancel_Btn;
    forms::TTimer* Delay_Timer;

    // Seconds left; the export sets both before the texts are loaded.
    int CountDown = 0;
    std::string ComputerName;

    void SetLanguage(int Language) { Language_ = Language; }
    void LoadTexts() { texts_ = ShutdownTexts(Language_, ComputerName, CountDown); }
    void ApplyTexts();

    void Delay_TimerTimer(forms::TObject* Sender);

private:
    void OK_BtnClick(forms::TObject* Sender);
    void Cancel_BtnClick(forms::TObject* Sender);
    void ShowCountdown(const std::string& Text);
    void FitCountdown();

    // The room the designed dialog leaves right of and below the label.
    static constexpr int LabelRightMargin = 13, LabelBottomMargin = 10;

    int Language_ = 0;
    TShutdownTexts texts_;
};
