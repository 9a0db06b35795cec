#pragma once
// What the history manager decides, apart from its widgets: its texts, the rows with their check marks, which
// buttons are enabled, and the file "HistoryTemp" that hands the edited list back to the player.

#include <string>
#include <vector>

struct THistoryTexts {
    std::string Caption, Clear, MoveUp, MoveDown, Delete, SelectAll, SelectNone, SelectReverse, OK, Cancel;
};

// 1 English, 2 Chinese; any other code gives empty texts.
THistoryTexts HistoryTexts(int Language);

// IncludeTrailingSlash(ProgramFolder) + "HistoryTemp".
std::string HistoryTempPath(const std::string& ProgramFolder);

// The check list and the buttons of the dialog. Select all, Select none, Select reverse and Cancel are always
// enabled; the others follow the rules below.
class THistoryEditor {
public:
    struct TRow {
        std::string Text;
        bool Checked = false;
        friend bool operator==(const TRow&, const TRow&) = default;
    };
    struct TButtons {
        bool Clear = false, MoveUp = false, MoveDown = false, Delete = false, OK = false;
        friend bool operator==(const TButtons&, const TButtons&) = default;
    };

    void AddRow(std::string Text) { rows_.push_back({std::move(Text), false}); }

    const std::vector<TRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }
    const TButtons& Buttons() const { return buttons_; }
    // 0 until OK saved the list (1) or Cancel was pressed (2).
    int ResultCode() const { return resultCode_; }

    // What the user does to the list itself; ListClick follows each of them, as the list's click event does.
    void Select(int Row);
    void SetChecked(int Row, bool Checked);

    // The handlers of the dialog.
    void FormShow();
    void ListClick();
    void DeleteChecked();
    void ClearRows();
    void MoveUp();
    void MoveDown();
    void SelectAll();
    void SelectNone();
    void SelectReverse();
    // Writes the rows' texts to Path, each followed by CR LF (replacing the file), and only then sets the
    // result 1. A row holding CR or LF is not written: the file has no way to keep it one entry. A failed
    // write raises forms::EClassLibraryError and leaves the result as it was.
    void SaveAndAccept(const std::string& Path);
    void Cancel() { resultCode_ = 2; }

private:
    void DisableEditButtons();
    void UpdateMoveButtons(int Row);
    void SelectionChanged();
    int CheckedCount() const;
    // After a move to Row: the rule of the move buttons for the row that is now selected.
    void MovedTo(int Row);

    std::vector<TRow> rows_;
    int selected_ = -1;
    TButtons buttons_;
    int resultCode_ = 0;
};
