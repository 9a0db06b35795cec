#include "dialoglib/ManageHistoryForm.h"

#include "dialoglib/FormParts.h"

#include <filesystem>

using namespace forms;

TManageHistory_Form::TManageHistory_Form(QWidget* Owner)
    : TForm(Owner), ProgramFolder(std::filesystem::path(Application().ExeName()).parent_path().string()) {
    SetName("ManageHistory_Form");
    MakeFixedDialog(*this, 558, 266);

    Panel1 = NewComponent<TPanel>(this, "Panel1");
    Panel1->SetBounds(8, 8, 444, 250);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetBevelInner(bvLowered);
    History_CL = NewComponent<TCheckListBox>(Panel1, "History_CL");
    History_CL->SetBounds(1, 1, 442, 248);
    History_CL->SetBorderStyle(bsNone);
    History_CL->SetItemHeight(13);
    History_CL->OnClick = [this](TObject* Sender) { History_CLClick(Sender); };

    struct Row {
        TButton** button;
        const char* name;
        void (TManageHistory_Form::*handler)(TObject*);
    };
    const Row rows[] = {{&Clear_Btn, "Clear_Btn", &TManageHistory_Form::Clear_BtnClick},
                        {&Moveup_Btn, "Moveup_Btn", &TManageHistory_Form::Moveup_BtnClick},
                        {&MoveDown_Btn, "MoveDown_Btn", &TManageHistory_Form::MoveDown_BtnClick},
                        {&Delete_Btn, "Delete_Btn", &TManageHistory_Form::Delete_BtnClick},
                        {&SelAll_Btn, "SelAll_Btn", &TManageHistory_Form::SelAll_BtnClick},
                        {&SelNone_Btn, "SelNone_Btn", &TManageHistory_Form::SelNone_BtnClick},
                        {&Reverse_Btn, "Reverse_Btn", &TManageHistory_Form::Reverse_BtnClick},
                        {&OK_Btn, "OK_Btn", &TManageHistory_Form::OK_BtnClick},
                        {&Cancel_Btn, "Cancel_Btn", &TManageHistory_Form::Cancel_BtnClick}};
    int top = 8;
    for (const Row& row : rows) {
        TButton* button = NewComponent<TButton>(this, row.name);
        button->SetBounds(460, top, 90, 25);
        button->OnClick = [this, handler = row.handler](TObject* Sender) { (this->*handler)(Sender); };
        *row.button = button;
        top += row.button == &Reverse_Btn ? 36 : 28;
    }
    for (TButton* button : {Clear_Btn, Moveup_Btn, MoveDown_Btn, Delete_Btn, OK_Btn})
        button->SetEnabled(false);
    Cancel_Btn->SetFocus();

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TManageHistory_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    Clear_Btn->SetCaption(texts_.Clear);
    Moveup_Btn->SetCaption(texts_.MoveUp);
    MoveDown_Btn->SetCaption(texts_.MoveDown);
    Delete_Btn->SetCaption(texts_.Delete);
    SelAll_Btn->SetCaption(texts_.SelectAll);
    SelNone_Btn->SetCaption(texts_.SelectNone);
    Reverse_Btn->SetCaption(texts_.SelectReverse);
    OK_Btn->SetCaption(texts_.OK);
    Cancel_Btn->SetCaption(texts_.Cancel);
}

void TManageHistory_Form::AddHistoryEntry(const std::string& Entry) {
    editor_.AddRow(Entry);
    History_CL->Add(Entry);
}

void TManageHistory_Form::TakeList() {
    for (int i = 0; i < History_CL->Count(); ++i)
        editor_.SetChecked(i, History_CL->Checked(i));
    editor_.Select(History_CL->ItemIndex());
}

void TManageHistory_Form::ShowEditor() {
    const auto& rows = editor_.Rows();
    while (History_CL->Count() > static_cast<int>(rows.size()))
        History_CL->Delete(History_CL->Count() - 1);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const auto& row = rows[static_cast<std::size_t>(i)];
        if (i == History_CL->Count())
            History_CL->Add(row.Text);
        else if (History_CL->Items(i) != row.Text)
            History_CL->SetItems(i, row.Text);
        if (History_CL->Checked(i) != row.Checked)
            History_CL->SetChecked(i, row.Checked);
    }
    History_CL->SetItemIndex(editor_.Selected());
    const auto& b = editor_.Buttons();
    Clear_Btn->SetEnabled(b.Clear);
    Moveup_Btn->SetEnabled(b.MoveUp);
    MoveDown_Btn->SetEnabled(b.MoveDown);
    Delete_Btn->SetEnabled(b.Delete);
    OK_Btn->SetEnabled(b.OK);
}

void TManageHistory_Form::Edit(void (THistoryEditor::*Operation)()) {
    TakeList();
    (editor_.*Operation)();
    ShowEditor();
}

// A row that moved stays selected, and the list takes the focus so that the keys go on moving through it.
void TManageHistory_Form::Move(void (THistoryEditor::*Operation)()) {
    const int before = History_CL->ItemIndex();
    Edit(Operation);
    if (editor_.Selected() != before) {
        History_CL->SetFocus();
        History_CL->Repaint();
    }
}

void TManageHistory_Form::FormShow(TObject*) {
    TakeList();
    editor_.FormShow();
    ShowEditor();
}

void TManageHistory_Form::History_CLClick(TObject*) {
    Edit(&THistoryEditor::ListClick);
}

void TManageHistory_Form::Clear_BtnClick(TObject*) {
    Edit(&THistoryEditor::ClearRows);
}

void TManageHistory_Form::Moveup_BtnClick(TObject*) {
    Move(&THistoryEditor::MoveUp);
}

void TManageHistory_Form::MoveDown_BtnClick(TObject*) {
    Move(&THistoryEditor::MoveDown);
}

void TManageHistory_Form::Delete_BtnClick(TObject*) {
    Edit(&THistoryEditor::DeleteChecked);
}

void TManageHistory_Form::SelAll_BtnClick(TObject*) {
    Edit(&THistoryEditor::SelectAll);
}

void TManageHistory_Form::SelNone_BtnClick(TObject*) {
    Edit(&THistoryEditor::SelectNone);
}

void TManageHistory_Form::Reverse_BtnClick(TObject*) {
    Edit(&THistoryEditor::SelectReverse);
}

void TManageHistory_Form::OK_BtnClick(TObject*) {
    TakeList();
    editor_.SaveAndAccept(HistoryTempPath(ProgramFolder));
    Close();
}

void TManageHistory_Form::Cancel_BtnClick(TObject*) {
    editor_.Cancel();
    Close();
}
