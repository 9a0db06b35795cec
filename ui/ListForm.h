#pragma once
// The play-list window TList_Form: one row per entry of the play list (or of the DVD list while a DVD is the
// medium) beside the main window, the current-row and selection marks, and its five tool buttons (Add,
// Delete, Empty, Load, Save as). It owns no list: it shows and edits the shared lists and tells the main
// window what changed through the private window messages.

#include <memory>
#include <string>

#include "platform/forms/Dialogs.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "ui/CompanionFrame.h"

class TList_Form : public TCompanionFrame {
public:
    // Owner: the window that frees it at the end (the main window).
    explicit TList_Form(QWidget* Owner = nullptr);
    ~TList_Form() override;

    forms::TPanel* PL_P = nullptr;
    tximage* Add_XI = nullptr;
    tximage* DelPlItem_XI = nullptr;
    tximage* EmptyPL_XI = nullptr;
    tximage* Load_XI = nullptr;
    tximage* Saveas_XI = nullptr;
    std::unique_ptr<forms::TOpenDialog> MediaType_OD;
    std::unique_ptr<forms::TOpenDialog> LoadPlayList_OD;
    std::unique_ptr<forms::TSaveDialog> SaveAsPlayList_SD;

    bool FirstActivation = true;
    // Rows made since the last reset: it numbers new rows.
    int RowCount = 0;

    void FormCreate(forms::TObject* Sender);
    void FormActivate(forms::TObject* Sender);
    void FormClose(forms::TObject* Sender, forms::TCloseAction& Action);

    // Rows.
    void AddRow(const std::string& Text);
    void AppendRows(const forms::TStringList& List);
    void RemoveAllRows();
    void RebuildRows(const forms::TStringList& List);
    int DeleteSelectedRow();
    void ClearRows();
    void ShowRowNormal(forms::TPanel* Row, int Index, forms::TColor Color);
    void ShowRowPlaying(forms::TPanel* Row, int Index, forms::TColor Color);
    void ShowAllRowsNormal(forms::TColor Color);
    // Marks row Index as the current one; an index that names no row marks none.
    void MarkCurrentRow(int Index);
    void ClearRowColors(forms::TColor Color);
    void SelectRowClick(forms::TObject* Sender);
    void PlayRowDblClick(forms::TObject* Sender);
    void RenumberRowLabel(forms::TPanel* Row, int Index);
    void ScrollRowIntoView(forms::TPanel* Row);
    // The label and the icon of a row.
    static forms::TLabel* RowLabel(const forms::TPanel* Row);
    static tximage* RowIcon(const forms::TPanel* Row);

    // The buttons' actions.
    void AddFiles();
    void DeletePlayListEntry();
    void EmptyPlayList();
    void LoadPlayListDialog();
    // Reads the play-list file into the shared lists; false, with nothing changed, when there is no such
    // file.
    bool LoadPlayListFile(const std::string& FileName);
    void SavePlayListAs();

    // Messages of the main window.
    void WMMarkRow(forms::TMessage& Message);
    void WMSetCurrent(forms::TMessage& Message);
    void WMSetDvdChapter(forms::TMessage& Message);
    void WMReload(forms::TMessage& Message);
    void WMLoadFile(forms::TMessage& Message);
    void WMClear(forms::TMessage& Message);
    void WMSaveFile(forms::TMessage& Message);
    void WMAddFiles(forms::TMessage& Message);

protected:
    void RowMoved(forms::TPanel* Row, int NewIndex) override;

private:
    // Rebuilds from List and marks row Index in white (the first activation and the reload).
    void RebuildAndMark(const forms::TStringList& List, int Index);
    void ShowRow(forms::TPanel* Row, int Index, forms::TColor Color, bool Playing);
    void LoadSkinBitmap(forms::TImage* Image, const std::string& FileName);
};

// The play-list window while it exists; nullptr before the first use and after it was freed.
extern TList_Form* PlayListForm;

// The label of row Number (counted from 1) for Entry: the number, ". " and the entry's file name; in the DVD
// list " " and the entry for the first row ("DVD"), and for the others the chapter's number (Number - 1),
// ". " and the entry.
std::string PlayListRowText(const std::string& Entry, int Number, bool DvdList);
// The file-name part of a play-list entry: the text after its last "/" or "\".
std::string PlayListEntryName(const std::string& Path);
