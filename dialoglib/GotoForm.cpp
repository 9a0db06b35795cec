#include "dialoglib/GotoForm.h"

#include "dialoglib/FormParts.h"

#include "platform/win32/MessageBox.h"

using namespace forms;

TGoto_Form::TGoto_Form(QWidget* Owner) : TForm(Owner) {
    SetName("Goto_Form");
    MakeFixedDialog(*this, 393, 135);

    Panel1 = NewComponent<TPanel>(this, "Panel1");
    Panel1->SetBounds(8, 8, 377, 82);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);
    MediaTime_L = NewComponent<TLabel>(Panel1, "MediaTime_L");
    MediaTime_L->SetBounds(16, 14, 0, 0);
    Default_L = NewComponent<TLabel>(Panel1, "Default_L");
    Default_L->SetBounds(110, 14, 0, 0);

    struct Unit {
        TEdit** edit;
        const char* editName;
        TLabel** label;
        const char* labelName;
    };
    int left = 16;
    for (const Unit& unit :
         {Unit{&Hour_E, "Hour_E", &Hour_L, "Hour_L"}, Unit{&Minute_E, "Minute_E", &Minute_L, "Minute_L"},
          Unit{&Second_E, "Second_E", &Second_L, "Second_L"}}) {
        *unit.edit = NewComponent<TEdit>(Panel1, unit.editName);
        (*unit.edit)->SetBounds(left, 44, 56, 21);
        *unit.label = NewComponent<TLabel>(Panel1, unit.labelName);
        (*unit.label)->SetBounds(left + 62, 47, 0, 0);
        left += 120;
    }

    OK_Btn = NewComponent<TButton>(this, "OK_Btn");
    OK_Btn->SetBounds(224, 102, 75, 25);
    OK_Btn->OnClick = [this](TObject* Sender) { OK_BtnClick(Sender); };
    Cancel_Btn = NewComponent<TButton>(this, "Cancel_Btn");
    Cancel_Btn->SetBounds(310, 102, 75, 25);
    Cancel_Btn->OnClick = [this](TObject* Sender) { Cancel_BtnClick(Sender); };

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TGoto_Form::FormCreate(TObject*) {
    HookDigitEdits();
    ResetEdits();
}

void TGoto_Form::HookDigitEdits() {
    for (TEdit* edit : {Hour_E, Minute_E, Second_E})
        edit->OnKeyPress = [this](TObject* Sender, char32_t& Key) { DigitKeyPress(Sender, Key); };
}

void TGoto_Form::ResetEdits() {
    for (TEdit* edit : {Hour_E, Minute_E, Second_E})
        edit->SetText(std::to_string(0));
}

void TGoto_Form::DigitKeyPress(TObject*, char32_t& Key) {
    if (!IsGotoEditCharacter(Key))
        Key = 0;
}

void TGoto_Form::SetLength(int PlayType, std::int64_t Length) {
    length_ = GotoLength(PlayType, Length);
    Default_L->SetCaption(GotoLengthText(length_));
}

void TGoto_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    MediaTime_L->SetCaption(texts_.MediaTime);
    Hour_L->SetCaption(texts_.Hour);
    Minute_L->SetCaption(texts_.Minute);
    Second_L->SetCaption(texts_.Second);
    OK_Btn->SetCaption(texts_.OK);
    Cancel_Btn->SetCaption(texts_.Cancel);
}

bool TGoto_Form::ValidateTime() {
    const TGotoVerdict verdict =
        ValidateGotoTime(length_, Hour_E->Text(), Minute_E->Text(), Second_E->Text());
    chosenSeconds_ = verdict.ChosenSeconds;
    if (verdict.Accepted)
        return true;
    win32::MessageBox(Application().Handle(), std::string(InvalidMediaTimeText),
                      std::string(InvalidMediaTimeCaption).c_str(), win32::MB_OK | win32::MB_ICONINFORMATION);
    switch (verdict.Focus) {
    case TGotoEdit::Hour:
        Hour_E->SetFocus();
        break;
    case TGotoEdit::Minute:
        Minute_E->SetFocus();
        break;
    case TGotoEdit::Second:
        Second_E->SetFocus();
        break;
    case TGotoEdit::None:
        break;
    }
    return false;
}

void TGoto_Form::OK_BtnClick(TObject*) {
    if (!ValidateTime())
        return;
    cancelled_ = false;
    Close();
}

void TGoto_Form::Cancel_BtnClick(TObject*) {
    cancelled_ = true;
    Close();
}
