#pragma once
// The media property dialog: the loaded medium's type, file name, size, frame rate, total time, video
// resolution and full path. It only shows; OK closes it.

#include <string>

#include "dialoglib/PropertyForm_Logic.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"

class TProperty_Form : public forms::TForm {
public:
    explicit TProperty_Form(QWidget* Owner);

    forms::TGroupBox* GroupBox1;
    forms::TImage* Image1;
    forms::TLabel* MediaFileName_L;
    forms::TPanel* Panel1;
    forms::TLabel* Type_L;
    forms::TLabel* TypeValue_L;
    forms::TLabel* Size_L;
    forms::TLabel* SizeValue_L;
    forms::TLabel* FrameSpeed_L;
    forms::TLabel* FrameSpeedValue_L;
    forms::TLabel* MediaTime_L;
    forms::TLabel* MediaTimeValue_L;
    forms::TLabel* Resolution_L;
    forms::TLabel* ResolutionValue_L;
    forms::TLabel* Path_L;
    forms::TMemo* Path_Memo;
    forms::TButton* OK_Btn;

    void SetLanguage(int Language) { Language_ = Language; }
    void SetPlayType(int PlayType) { PlayType_ = PlayType; }
    void LoadTexts() { texts_ = PropertyTexts(Language_); }
    void ApplyTexts();
    void ShowFrameRate(double FrameRate);
    void ShowMedia(const std::string& FileName, const std::string& MediaTime);
    void ShowResolution(int Width, int Height);

private:
    void FormShow(forms::TObject* Sender);
    void AlignCaptions();
    void OK_BtnClick(forms::TObject* Sender);

    int Language_ = 0;
    int PlayType_ = 0;
    std::string FilePath;
    TPropertyTexts texts_;
};
