#pragma once
// The class library's radio group: a captioned frame with one radio button per item, at most one checked.

#include <string>
#include <vector>

#include "platform/forms/Controls.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QVBoxLayout;

namespace forms {

class TRadioGroup;

// The items of a radio group: one button each, in order.
class TRadioGroupItems {
public:
    explicit TRadioGroupItems(TRadioGroup& Group) : group_(Group) {}
    int Count() const;
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string operator[](int Index) const;
    void Add(const std::string& Item);
    // Takes every button away; nothing is checked then.
    void Clear();

private:
    TRadioGroup& group_;
};

// OnClick runs whenever the checked item changes: by a click on a button that was not checked, or by
// SetItemIndex from code. A click on the checked button changes nothing and runs nothing.
class TRadioGroup : public TControl {
public:
    explicit TRadioGroup(QWidget* Parent = nullptr);
    ~TRadioGroup() override;

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    TRadioGroupItems& Items() { return items_; }
    const TRadioGroupItems& Items() const { return items_; }
    // The checked item, -1 for none.
    int ItemIndex() const { return itemIndex_; }
    // -1, or an index outside the items, checks none.
    void SetItemIndex(int Value);

    // The button of an item (tests press it as a user would).
    QRadioButton* Button(int Index) const;

private:
    friend class TRadioGroupItems;
    void Toggled(int Index, bool Checked);

    QGroupBox* box_;
    QVBoxLayout* layout_;
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    TRadioGroupItems items_{*this};
    int itemIndex_ = -1;
};

} // namespace forms
