#pragma once
// The picture-in-picture setup dialog, TPipSetup_Form: three pages acting at once on the playing pair (there
// is no Cancel). The position page places the small picture at a standard position or moves each of its edges
// with a bar; the parameter page sets each picture's transparency; the control page swaps the pictures and
// turns the small one upside down, mirrors it, both, or sets it upright again. The core's operations store
// what they change in [Pip].

#include <array>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/PageControl.h"
#include "platform/forms/RadioButton.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WinControls.h"
#include "platform/win32/Types.h"
#include "skin/SlideBar.h"

// The dialog's texts in one language (all empty for a language code other than 1 and 2), in the order
// ApplyTexts writes them.
struct TPipSetupTexts {
    std::string Caption, PipPosition, PicParam, PipControl, Control, Convert, StandardPos, Freemove, Left,
        Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight, Center, SwapPic, MediaFileA,
        MediaFileB, Alpha, NoConvert, UpdownConvert, LeftRightConvert, AllConvert, OK;
};
TPipSetupTexts PipSetupTexts(int Language);

class TPipSetup_Form : public forms::TForm {
public:
    explicit TPipSetup_Form(QWidget* Owner);

    forms::TPageControl* Main_PageCtrl = nullptr;
    forms::TTabSheet* PipPosition_TS = nullptr;
    forms::TTabSheet* PicParam_TS = nullptr;
    forms::TTabSheet* PipControl_TS = nullptr;
    forms::TButton* OK_Btn = nullptr;

    forms::TCheckBox* StandardPos_CB = nullptr;
    forms::TCheckBox* Freemove_CB = nullptr;
    forms::TRadioButton* TopLeft_RB = nullptr;
    forms::TRadioButton* TopRight_RB = nullptr;
    forms::TRadioButton* BottomLeft_RB = nullptr;
    forms::TRadioButton* BottomRight_RB = nullptr;
    forms::TRadioButton* Center_RB = nullptr;
    TSlideBar* Left_Bar = nullptr;
    TSlideBar* Top_Bar = nullptr;
    TSlideBar* Right_Bar = nullptr;
    TSlideBar* Bottom_Bar = nullptr;
    forms::TLabel* Left_L = nullptr;
    forms::TLabel* Top_L = nullptr;
    forms::TLabel* Right_L = nullptr;
    forms::TLabel* Bottom_L = nullptr;

    forms::TLabel* MediaFileA_L = nullptr;
    forms::TLabel* MediaFileB_L = nullptr;
    forms::TLabel* MediaA_L = nullptr;
    forms::TLabel* MediaB_L = nullptr;
    TSlideBar* AlphaBar_A = nullptr;
    TSlideBar* AlphaBar_B = nullptr;
    forms::TLabel* AlphaA_L = nullptr;
    forms::TLabel* AlphaB_L = nullptr;

    forms::TLabel* Control_L = nullptr;
    forms::TLabel* Convert_L = nullptr;
    forms::TCheckBox* SwapPic_CB = nullptr;
    forms::TCheckBox* NoConvert_CB = nullptr;
    forms::TCheckBox* UpdownConvert_CB = nullptr;
    forms::TCheckBox* LeftRightConvert_CB = nullptr;
    forms::TCheckBox* AllConvert_CB = nullptr;

    // The page shown first: 0 the position page, 1 the parameter page.
    void SetPage(int Page);
    void SetLanguage(int Language) { Language_ = Language; }
    void LoadTexts() { texts_ = PipSetupTexts(Language_); }
    void ApplyTexts();

    // The base each edge bar's next move is counted from (the bar's own position once loaded).
    int LastLeft() const { return lastLeft_; }
    int LastTop() const { return lastTop_; }
    int LastRight() const { return lastRight_; }
    int LastBottom() const { return lastBottom_; }

    void FormCreate(forms::TObject* Sender);
    void FormShow(forms::TObject* Sender);

private:
    void ApplyFonts();
    void InitDialog();
    // The stored standard position, edges and position type onto the position page; the type's check box
    // applies the position again when its state changes.
    void LoadPosition();
    // The flip box that matches the small picture's rectangle as the mixer holds it.
    void ReadFlipState();
    void UpdateBarLabels();
    void UpdateBarLabel(forms::TLabel* Label, const std::string& Text, const TSlideBar* Bar);
    TSlideBar* NewBar(QWidget* Parent, const char* Name, int Left, int Top);

    void StandardPos_CBClick();
    void Freemove_CBClick();
    void FlipBoxClick(forms::TCheckBox* Box);

    std::array<forms::TRadioButton*, 5> Radios() const;
    std::array<TSlideBar*, 4> EdgeBars() const;

    int Language_ = 0;
    TPipSetupTexts texts_;
    // While the dialog is built or the position page is loaded, the radio buttons and edge bars do not act.
    bool loading_ = false;
    // While the flip boxes are set from the playing picture, they do not act.
    bool readingFlips_ = false;
    int lastLeft_ = 0, lastTop_ = 0, lastRight_ = 0, lastBottom_ = 0;
};

// The launcher: the dialog in the launchers' frame (RunDialog) on Page (0 position, 1 parameter) with the
// language's texts; it acts on the playing pair while open and has no result. Nothing happens without an
// owner window.
void ShowPipSetupDialog(win32::HWND AppHandle, int Page, int Language);
