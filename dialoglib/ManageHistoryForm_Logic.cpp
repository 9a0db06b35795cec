#include "dialoglib/ManageHistoryForm_Logic.h"

#include <algorithm>
#include <utility>

#include "core/shared/PathEndings.h"
#include "platform/forms/StringList.h"

THistoryTexts HistoryTexts(int Language) {
    switch (Language) {
    case 1:
        return {"Manage history", "Clear",       "Move up",        "Move down", "Delete",
                "Select all",     "Select none", "Select reverse", "OK",        "Cancel"};
    case 2:
        return {"管理历史记录", "清空",   "向上移动", "向下移动", "删除",
                "全选",         "全不选", "反向选择", "确定",     "放弃"};
    default:
        return {};
    }
}

std::string HistoryTempPath(const std::string& ProgramFolder) {
    return IncludeTrailingSlash(ProgramFolder) + "HistoryTemp";
}

void THistoryEditor::Select(int Row) {
    selected_ = (Row >= 0 && Row < static_cast<int>(rows_.size())) ? Row : -1;
}

void THistoryEditor::SetChecked(int Row, bool Checked) {
    if (Row >= 0 && Row < static_cast<int>(rows_.size()))
        rows_[static_cast<std::size_t>(Row)].Checked = Checked;
}

int THistoryEditor::CheckedCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const TRow& r) { return r.Checked; }));
}

void THistoryEditor::DisableEditButtons() {
    buttons_.Clear = buttons_.MoveUp = buttons_.MoveDown = buttons_.Delete = buttons_.OK = false;
}

void THistoryEditor::UpdateMoveButtons(int Row) {
    if (Row == -1)
        return;
    buttons_.Clear = true;
    if (Row == 0) {
        buttons_.MoveUp = false;
        buttons_.MoveDown = true;
    } else if (Row == static_cast<int>(rows_.size()) - 1) {
        buttons_.MoveUp = true;
        buttons_.MoveDown = false;
    } else {
        buttons_.MoveUp = buttons_.MoveDown = true;
    }
    buttons_.Delete = true;
}

void THistoryEditor::SelectionChanged() {
    if (selected_ == -1)
        return;
    buttons_.Clear = true;
    UpdateMoveButtons(selected_);
}

void THistoryEditor::FormShow() {
    DisableEditButtons();
    if (!rows_.empty())
        buttons_.Clear = true;
}

void THistoryEditor::ListClick() {
    if (CheckedCount() < 2) {
        SelectionChanged();
        return;
    }
    buttons_.Clear = buttons_.Delete = true;
    buttons_.MoveUp = buttons_.MoveDown = false;
}

void THistoryEditor::DeleteChecked() {
    for (int i = static_cast<int>(rows_.size()) - 1; i >= 0; --i) {
        if (!rows_[static_cast<std::size_t>(i)].Checked)
            continue;
        rows_.erase(rows_.begin() + i);
        // A list box forgets the selection of a deleted row and moves a later one up.
        if (selected_ == i)
            selected_ = -1;
        else if (selected_ > i)
            --selected_;
    }
    if (rows_.empty())
        DisableEditButtons();
    buttons_.OK = true;
}

void THistoryEditor::ClearRows() {
    rows_.clear();
    selected_ = -1;
    DisableEditButtons();
    buttons_.OK = true;
}

void THistoryEditor::MovedTo(int Row) {
    selected_ = Row;
    buttons_.OK = true;
    buttons_.MoveUp = Row != 0;
    buttons_.MoveDown = Row != static_cast<int>(rows_.size()) - 1;
}

// The check marks travel with their texts: a mark left behind would make a later Delete remove an entry the
// user never checked.
void THistoryEditor::MoveUp() {
    const int i = selected_;
    if (i <= 0)
        return;
    std::swap(rows_[static_cast<std::size_t>(i)], rows_[static_cast<std::size_t>(i) - 1]);
    MovedTo(i - 1);
}

void THistoryEditor::MoveDown() {
    const int i = selected_;
    if (i == -1 || i >= static_cast<int>(rows_.size()) - 1)
        return;
    std::swap(rows_[static_cast<std::size_t>(i)], rows_[static_cast<std::size_t>(i) + 1]);
    MovedTo(i + 1);
}

void THistoryEditor::SelectAll() {
    for (TRow& row : rows_)
        row.Checked = true;
}

void THistoryEditor::SelectNone() {
    for (TRow& row : rows_)
        row.Checked = false;
}

void THistoryEditor::SelectReverse() {
    for (TRow& row : rows_)
        row.Checked = !row.Checked;
}

// The result becomes 1 only once the file is written: a failed write must not report the stale or missing
// file as the edited history. A file name holding a line break cannot be stored in a file of lines: it would
// come back as two entries, so it is left out.
void THistoryEditor::SaveAndAccept(const std::string& Path) {
    forms::TStringList list;
    for (const TRow& row : rows_)
        if (row.Text.find_first_of("\r\n") == std::string::npos)
            list.Add(row.Text);
    list.SaveToFile(Path);
    resultCode_ = 1;
}
