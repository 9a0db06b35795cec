#pragma once
// The class library's check list box: one row of text per item, each with a check box.
//
// Its events, as the player's code relies on them:
// - OnClick: the user clicked a row (its check box included: the mark has changed when OnClick runs) or moved
//   the selection with the keyboard;
// - OnClickCheck: the user changed a check mark (clicking it, or Space on the selected row);
// - nothing that code does (adding, deleting, checking, selecting) runs either of them.
// ItemIndex is the selected row, -1 for none. Deleting the selected row leaves no row selected; deleting a
// row above it moves the selection up with its row.

#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/WinControls.h"

class QListWidget;

namespace forms {

class TCheckListBox : public TWinControl {
public:
    explicit TCheckListBox(QWidget* Parent = nullptr);

    int Count() const;
    // Each of these raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string Items(int Index) const;
    void SetItems(int Index, const std::string& Text);
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);
    void Delete(int Index);

    // Appends an unchecked row.
    void Add(const std::string& Text);
    void Clear();

    int ItemIndex() const;
    // -1, or an index outside the rows, selects none.
    void SetItemIndex(int Value);

    // Every row has this height in pixels.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);
    // The width in pixels that the rows can be scrolled over sideways; 0 (the default): no sideways
    // scrolling.
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int Value);
    // bsNone draws no frame; any other style draws the sunken one.
    void SetBorderStyle(TBorderStyle Value);

    TNotifyEvent OnClickCheck;

private:
    class TListWidget;
    class TRowDelegate;
    void CheckIndex(int Index) const;
    void LayoutChanged();

    TListWidget* list_;
    int itemHeight_ = 16;
    int scrollWidth_ = 0;
    bool changingByCode_ = false;
};

} // namespace forms
