#include "ui/AutoResumePlayForm.h"

#include "core/DialogLaunchers.h"
#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "core/Seeking.h"

using namespace forms;

TAutoResumePlay_Form::TAutoResumePlay_Form(QWidget* Owner) : TForm(Owner) {
    SetName("AutoResumePlay_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(416);
    SetClientHeight(193);
    ResumeType_RG = new TRadioGroup(this);
    ResumeType_RG->SetName("ResumeType_RG");
    ResumeType_RG->SetBounds(8, 8, 400, 177);
    ResumeType_RG->OnClick = [this](TObject* Sender) { ResumeType_RGClick(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TAutoResumePlay_Form::FormCreate(TObject*) {
    ChosenIndex = -1;
}

void TAutoResumePlay_Form::LoadTexts() {
    captionText_ = groupText_ = lastPositionText_ = beginningText_ = "";
    if (Language == Languages::English) {
        captionText_ = "Auto resume play";
        groupText_ = "Please select auto resume play type";
        lastPositionText_ = "Play from last position";
        beginningText_ = "Play from beginning";
    } else if (Language == Languages::Chinese) {
        captionText_ = "自动重新播放";
        groupText_ = "选择自动继续播放类型";
        lastPositionText_ = "从最后位置继续播放";
        beginningText_ = "从头播放";
    }
}

void TAutoResumePlay_Form::ApplyTexts() {
    SetCaption(captionText_);
    ResumeType_RG->SetCaption(groupText_);
    ResumeType_RG->Items().Add(lastPositionText_);
    ResumeType_RG->Items().Add(beginningText_);
}

void TAutoResumePlay_Form::ResumeType_RGClick(TObject*) {
    ChosenIndex = ResumeType_RG->ItemIndex();
    const bool fromLastPosition = ChosenIndex == 0;
    switch (State.PlayType) {
    case PlayTypes::Dvd:
        if (State.DvdControl2) {
            // From the last position: the title the last session played (1 when it stored none); from the
            // beginning: the disc's first title.
            DvdPlayTitle(fromLastPosition ? static_cast<win32::DWORD>(State.LastDvdTitle) : 1,
                         fromLastPosition ? dshow::DVD_CMD_FLAG_Block : dshow::DVD_CMD_FLAG_Flush);
            State.DvdDomain = DvdDomains::Title;
            GotoSeconds(fromLastPosition ? State.LastPos : 0);
        }
        break;
    case PlayTypes::MediaFile:
    case PlayTypes::Pip:
        GotoSeconds(fromLastPosition ? State.LastPos : 0);
        break;
    default:
        break;
    }
    Close();
}

void ShowAutoResumePlayDialog(win32::HWND AppHandle, int Language, int& Choice) {
    RunDialog<TAutoResumePlay_Form>(AppHandle, LanguageAndTexts<TAutoResumePlay_Form>(Language),
                                    [&Choice](TAutoResumePlay_Form& Dialog) { Choice = Dialog.ChosenIndex; });
}
