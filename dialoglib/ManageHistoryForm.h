#pragma once
// The history manager: the history's entries in a check list, with buttons to delete the checked ones, clear
// the list, move an entry up or down and check all, none or the reverse. OK hands the edited list back
// through the file "HistoryTemp" in the program's folder.

#include <string>

#include "dialoglib/ManageHistoryForm_Logic.h"
#include "platform/forms/CheckLst.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/WinControls.h"

class TManageHistory_Form : public forms::TForm {
public:
    explicit TManageHistory_Form(QWidget* Owner);

    forms::TPanel* Panel1;
    forms::TCheckListBox* History_CL;
    forms::TButton* Clear_Btn;
    forms::TButton* Moveup_Btn;
    forms::TButton* MoveDown_Btn;
    forms::TButton* Delete_Btn;
    forms::TButton* SelAll_Btn;
    forms::TButton* SelNone_Btn;
    forms::TButton* Reverse_Btn;
    forms::TButton* OK_Btn;
    forms::TButton* Cancel_Btn;

    // Where "HistoryTemp" is written: the folder of the running program.
    std::string ProgramFolder;

    // Adds an unchecked row for an entry of the history. The entry is kept as it is, byte for byte, and only
    // shown in the check list: a file name need not be valid UTF-8, and the list's own text would not give it
    // back unchanged.
    void AddHistoryEntry(const std::string& Entry);

    void SetLanguage(int Language) { Language_ = Language; }
    void LoadTexts() { texts_ = HistoryTexts(Language_); }
    void ApplyTexts();

    // 0 at creation; 1 once OK saved the list, 2 after Cancel.
    int ResultCode() const { return editor_.ResultCode(); }

private:
    void FormShow(forms::TObject* Sender);
    void History_CLClick(forms::TObject* Sender);
    void Clear_BtnClick(forms::TObject* Sender);
    void Moveup_BtnClick(forms::TObject* Sender);
    void MoveDown_BtnClick(forms::TObject* Sender);
    void Delete_BtnClick(forms::TObject* Sender);
    void SelAll_BtnClick(forms::TObject* Sender);
    void SelNone_BtnClick(forms::TObject* Sender);
    void Reverse_BtnClick(forms::TObject* Sender);
    void OK_BtnClick(forms::TObject* Sender);
    void Cancel_BtnClick(forms::TObject* Sender);

    // The editor keeps the rows and the buttons' states; the check list only shows them. TakeList reads what
    // the user did to the list (selection, marks), ShowEditor writes the editor's state back.
    void TakeList();
    void ShowEditor();
    // TakeList, the editor's Operation, ShowEditor.
    void Edit(void (THistoryEditor::*Operation)());
    void Move(void (THistoryEditor::*Operation)());

    int Language_ = 0;
    THistoryTexts texts_;
    THistoryEditor editor_;
};
