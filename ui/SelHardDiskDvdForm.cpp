#include "ui/SelHardDiskDvdForm.h"

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"

using namespace forms;

TSelHardDiskDvd_Form::TSelHardDiskDvd_Form(QWidget* Owner) : TForm(Owner) {
    SetName("SelHardDiskDvd_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(523);
    SetClientHeight(230);
    HardDiskDvd_RG = new TRadioGroup(this);
    HardDiskDvd_RG->SetName("HardDiskDvd_RG");
    HardDiskDvd_RG->SetBounds(8, 8, 507, 214);
    HardDiskDvd_RG->OnClick = [this](TObject* Sender) { HardDiskDvd_RGClick(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TSelHardDiskDvd_Form::FormCreate(TObject*) {
    FillFolders();
    ChosenIndex = -1;
    if (State.UiFont)
        HardDiskDvd_RG->Font().Assign(*State.UiFont);
}

void TSelHardDiskDvd_Form::FillFolders() {
    HardDiskDvd_RG->Items().Clear();
    if (!State.DvdFolderList)
        return;
    for (const std::string& folder : *State.DvdFolderList)
        HardDiskDvd_RG->Items().Add(folder);
}

void TSelHardDiskDvd_Form::LoadTexts() {
    captionText_.clear();
    groupText_.clear();
    if (Language == Languages::English) {
        captionText_ = "Find Dvd directoris";
        groupText_ = "Please select a Dvd directoris to play";
    } else if (Language == Languages::Chinese) {
        captionText_ = "在指定的位置找到如下的DVD目录";
        groupText_ = "请选择一个DVD目录";
    }
}

void TSelHardDiskDvd_Form::ApplyTexts() {
    SetCaption(captionText_);
    HardDiskDvd_RG->SetCaption(groupText_);
}

void TSelHardDiskDvd_Form::HardDiskDvd_RGClick(TObject*) {
    ChosenIndex = HardDiskDvd_RG->ItemIndex();
    Close();
}

void ShowSelHardDiskDvdDialog(win32::HWND AppHandle, int Language, int& Index) {
    RunDialog<TSelHardDiskDvd_Form>(AppHandle, LanguageAndTexts<TSelHardDiskDvd_Form>(Language),
                                    [&Index](TSelHardDiskDvd_Form& Dialog) { Index = Dialog.ChosenIndex; });
}
