#include "ui/SaveOptionForm.h"

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/forms/Dialogs.h"
#include "platform/win32/Window.h"

using namespace forms;

namespace {

template <class T> T* Make(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* control = new T(Parent);
    control->SetName(Name);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

} // namespace

TSaveOption_Form::TSaveOption_Form(QWidget* Owner) : TForm(Owner) {
    SetName("SaveOption_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(433);
    SetClientHeight(208);
    Panel1 = Make<TPanel>(this, "Panel1", 8, 8, 417, 153);
    Panel1->SetBevelOuter(bvLowered);
    Panel1->SetBevelInner(bvRaised);
    UseDef_CB = Make<TCheckBox>(Panel1, "UseDef_CB", 16, 12, 380, 17);
    SavePath_L = Make<TLabel>(Panel1, "SavePath_L", 16, 44, 60, 13);
    Path_E = Make<TEdit>(Panel1, "Path_E", 90, 40, 280, 21);
    Other_SB = Make<TSpeedButton>(Panel1, "Other_SB", 374, 40, 23, 21);
    Other_SB->SetCaption("...");
    SaveType_L = Make<TLabel>(Panel1, "SaveType_L", 16, 76, 60, 13);
    SaveType_Cob = Make<TComboBox>(Panel1, "SaveType_Cob", 90, 72, 100, 21);
    SaveAsDef_CB = Make<TCheckBox>(Panel1, "SaveAsDef_CB", 16, 104, 380, 17);
    SaveAsDef_CB->SetCaption("Save as default");
    DontAsk_CB = Make<TCheckBox>(Panel1, "DontAsk_CB", 16, 126, 380, 17);
    Save_Btn = Make<TButton>(this, "Save_Btn", 344, 172, 81, 25);

    UseDef_CB->OnClick = [this](TObject* Sender) { UseDef_CBClick(Sender); };
    Other_SB->OnClick = [this](TObject* Sender) { Other_SBClick(Sender); };
    SaveAsDef_CB->OnClick = [this](TObject* Sender) { SaveAsDef_CBClick(Sender); };
    DontAsk_CB->OnClick = [this](TObject* Sender) { DontAsk_CBClick(Sender); };
    Save_Btn->OnClick = [this](TObject* Sender) { Save_BtnClick(Sender); };
    OnShow = [this](TObject*) { Save_Btn->SetFocus(); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TSaveOption_Form::FormCreate(TObject*) {
    UseDef_CB->SetChecked(true);
    LoadPath();
    LoadTypes();
    LoadAskFlag();
    DisableChoice();
}

std::string TSaveOption_Form::StoredFolder() {
    // A missing key reads as the reader's "Value no find", which is no folder: the captures' default
    // folder takes its place, and so it is never written back as a folder either.
    const std::string folder = ReadIniString("File", "CaptureImagePath");
    return folder.empty() || folder == ValueNoFind ? State.TempPath : folder;
}

std::string TSaveOption_Form::StoredType() const {
    const std::string type = ReadIniString("File", "DefaultImageType");
    for (int i = 0; i < SaveType_Cob->Count(); ++i)
        if (SaveType_Cob->Items(i) == type)
            return type;
    return {};
}

void TSaveOption_Form::LoadPath() {
    Path_E->SetText(StoredFolder());
}

void TSaveOption_Form::LoadTypes() {
    SaveType_Cob->Clear();
    SaveType_Cob->Add(".bmp");
    SaveType_Cob->Add(".jpg");
    const std::string type = ReadIniString("File", "DefaultImageType");
    SaveType_Cob->SetItemIndex(type == ".bmp" ? 0 : type == ".jpg" ? 1 : -1);
}

void TSaveOption_Form::LoadAskFlag() {
    const int ask = ReadIniInteger("File", "AskSaveOption");
    if (ask == 1)
        DontAsk_CB->SetChecked(false);
    else if (ask == 0)
        DontAsk_CB->SetChecked(true);
}

void TSaveOption_Form::DisableChoice() {
    SetChoiceEnabled(false);
}

void TSaveOption_Form::EnableChoice() {
    SetChoiceEnabled(true);
}

void TSaveOption_Form::SetChoiceEnabled(bool Enabled) {
    for (TControl* c : std::initializer_list<TControl*>{Path_E, Other_SB, SaveType_Cob})
        c->SetEnabled(Enabled);
}

void TSaveOption_Form::LoadTexts() {
    switch (Language) {
    case 1:
        CaptionText = "Save image";
        UseDefText = "Use default option";
        SavePathText = "Save path";
        SaveTypeText = "Save type";
        DontAskText = "Don't ask again, use default option.";
        SaveText = "Save";
        break;
    case 2:
        CaptionText = "保存图片";
        UseDefText = "使用默认选项";
        SavePathText = "保存路径";
        SaveTypeText = "保存类型";
        DontAskText = "不要再询问，直接使用默认选项。";
        SaveText = "保存";
        break;
    default:
        CaptionText = UseDefText = SavePathText = SaveTypeText = DontAskText = SaveText = "";
        break;
    }
}

void TSaveOption_Form::ApplyTexts() {
    SetCaption(CaptionText);
    UseDef_CB->SetCaption(UseDefText);
    SavePath_L->SetCaption(SavePathText);
    SaveType_L->SetCaption(SaveTypeText);
    DontAsk_CB->SetCaption(DontAskText);
    Save_Btn->SetCaption(SaveText);
    if (State.UiFont)
        for (TControl* c :
             std::initializer_list<TControl*>{UseDef_CB, SavePath_L, SaveType_L, DontAsk_CB, Save_Btn})
            c->Font().Assign(*State.UiFont);
}

void TSaveOption_Form::UseDef_CBClick(TObject*) {
    if (UseDef_CB->Checked())
        DisableChoice();
    else
        EnableChoice();
}

void TSaveOption_Form::BrowsePath() {
    std::string folder;
    if (SelectDirectory("Please select a path:", "", folder, this) && !folder.empty()) {
        Path_E->SetText(folder);
        SavePath = folder;
    }
}

void TSaveOption_Form::Other_SBClick(TObject*) {
    BrowsePath();
}

void TSaveOption_Form::SaveAsDef_CBClick(TObject*) {
    if (!SaveAsDef_CB->Checked())
        return;
    WriteIniString("File", "CaptureImagePath", Path_E->Text());
    WriteIniString("File", "DefaultImageType", SaveType_Cob->Text());
}

void TSaveOption_Form::DontAsk_CBClick(TObject*) {
    WriteIniString("File", "AskSaveOption", DontAsk_CB->Checked() ? "0" : "1");
}

void TSaveOption_Form::Save_BtnClick(TObject*) {
    // "Use default option" checked means the defaults, whatever was browsed to while it was unchecked.
    if (UseDef_CB->Checked()) {
        SavePath = StoredFolder();
        SaveType = StoredType();
    } else {
        SavePath = Path_E->Text();
        SaveType = SaveType_Cob->Text();
    }
    SetModalResult(mrOk);
}

void ShowSaveOptionDialog(win32::HWND AppHandle, int Language, std::string& Folder, std::string& Type) {
    RunDialog<TSaveOption_Form>(AppHandle, LanguageAndTexts<TSaveOption_Form>(Language),
                                [&](TSaveOption_Form& Dialog) {
                                    Folder = Dialog.SavePath;
                                    Type = Dialog.SaveType;
                                });
}
