#pragma once
// The play-list window TList_Form: one row per entry of the play list (or of the DVD list while a DVD is the
// medium) beside the main window, the current-row and selection marks, and its five tool buttons (Add,
// Delete, Empty, Load, Save as). It owns no list: it shows and edits the shared lists and tells the main
// window what changed through the private window messages.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "platform/forms/Dialogs.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "ui/CompanionFrame.h"

// One row of the play-list window as the window keeps it: what its controls show whenever it is in view.
struct TPlayListRow {
    std::string Entry;                   // the entry: the label's hint
    std::string Label;                   // the label's text
    forms::TColor Back = forms::clBlack; // the row panel's colour and text colour: the selection
    forms::TColor Text = forms::clBlack; // the label's colour: the current row
    std::uint8_t Icon = 0;               // the icon's skin file (the window's table), 0 for none
    std::int16_t Left = 8;               // 8, or 24 for a DVD chapter
    std::int16_t Width = 170;            // the row's width: 170, then the list's width - 16
};

// The play-list window keeps its rows as TPlayListRow and shows those in view through a few row controls
// (panel, icon and label), which it places and fills again as the list scrolls: a list of any length is
// built in one pass, takes as many controls as fit in the window, and scrolls without moving every row.
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
    void ShowRowNormal(int Index, forms::TColor Color);
    void ShowRowPlaying(int Index, forms::TColor Color);
    void ShowAllRowsNormal(forms::TColor Color);
    // Marks row Index as the current one; an index that names no row marks none.
    void MarkCurrentRow(int Index);
    void ClearRowColors(forms::TColor Color);
    void SelectRowClick(forms::TObject* Sender);
    void PlayRowDblClick(forms::TObject* Sender);
    // The leading number of row Index's label becomes Index + 1 (after a row before it was removed).
    void RenumberRowLabel(int Index);
    void ScrollRowIntoView(int Index);

    int RowTotal() const override { return static_cast<int>(rows_.size()); }
    forms::TPanel* RowAt(int Index) const override;
    int IndexOfRow(const QWidget* Control) const override;
    // Row Index as kept (Index must name a row).
    const TPlayListRow& RowData(int Index) const { return rows_[static_cast<std::size_t>(Index)]; }
    // The skin file of row Index's icon; empty for none.
    const std::string& RowIconFileName(int Index) const;
    // The row controls made so far: as many as rows fit in the window, however long the list.
    int RowControlCount() const { return static_cast<int>(rowControls_.size()); }
    // The label and the icon of a row control.
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
    void MoveRows(int Dy) override;
    void PlaceRows() override;
    void FitRowWidths(int Width) override;

private:
    // Rebuilds from List and marks row Index in white (the first activation and the reload).
    void RebuildAndMark(const forms::TStringList& List, int Index);
    void ShowRow(int Index, forms::TColor Color, bool Playing);
    // One more row kept, without showing it yet.
    void KeepRow(const std::string& Text);
    void ForgetRows();
    // The table number of a skin file, its picture loaded once (a missing file raises the toolkit's file
    // error, as each load would).
    std::uint8_t IconNumber(const std::string& FileName);
    forms::TPanel* MakeRowControl();
    // Fills row control Slot with row Index.
    void ShowRowIn(std::size_t Slot, int Index);
    // Shows row Index again when it is in view; every row in view when Index is -1.
    void RefreshRow(int Index = -1);

    std::vector<TPlayListRow> rows_;
    std::vector<forms::TPanel*> rowControls_;
    // The row each control shows (-1: none); row i goes to control i modulo their number, so that a scroll
    // by one row fills only the control that comes into view.
    std::vector<int> controlRows_;
    std::vector<std::string> iconFiles_{std::string()};
    std::vector<QImage> iconPictures_{QImage()};
};

// The play-list window while it exists; nullptr before the first use and after it was freed.
extern TList_Form* PlayListForm;

// The label of row Number (counted from 1) for Entry: the number, ". " and the entry's file name; in the DVD
// list " " and the entry for the first row ("DVD"), and for the others the chapter's number (Number - 1),
// ". " and the entry.
std::string PlayListRowText(const std::string& Entry, int Number, bool DvdList);
// The file-name part of a play-list entry: the text after its last "/" or "\".
std::string PlayListEntryName(const std::string& Path);
