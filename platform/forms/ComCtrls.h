#pragma once
// The class library's tree view and list view, each a Qt tree widget inside a TControl.
//
// As the code that uses them relies on it:
// - a node or item belongs to its view, which frees it; the view allows one selected node or item at a time;
// - points (GetNodeAt, GetItemAt) are in the control's own coordinates, its frame included;
// - a node's label is edited in place: EditText starts it, a click on the selected node or F2 starts it for
//   the user, EndEdit ends it keeping or throwing away what was typed;
// - a node has an image index and a selected-image index; without an image list they only keep the numbers;
// - a right click on a tree view does not select the node under it (the program decides that); on a list
//   view it does, as a left click does;
// - a list item is a caption and sub-items; the list view shows them as columns, one per sub-item in use;
// - in the report style a list view has a header over its columns, with the captions and widths its code
//   gives them; its rows are as high as its small images (its font's line without an image list);
// - a list view's OnMouseDown comes after the press has selected the row under it, in the control's own
//   coordinates, as SubItemRect gives the cells;
// - the window procedure of a list view's header can be extended: HeaderWindowProc hears of each left-button
//   press, release and double click on the header after the header has handled it.
//
// Nodes and items carry no type information of their own: code on either side of a library boundary may
// take them from the view (the helper library gets the program's views).

#include <string>

#include <QObject>
#include <QRect>
#include <QTreeWidgetItem>

#include "platform/forms/Forms.h"
#include "platform/forms/StringList.h"
#include "platform/forms/WinControls.h"

class QTreeWidget;

namespace forms {

class TTreeView;
class TListItem;
class TListView;

class TTreeNode : public QTreeWidgetItem {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    std::string Text() const;
    void SetText(const std::string& Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int Value) { selectedIndex_ = Value; }

    bool Selected() const;
    // True selects this node (the view's selected node changes); false leaves no node selected when this one
    // was.
    void SetSelected(bool Value);
    // The node above this one; nullptr for a node at the top level.
    TTreeNode* Parent() const;
    TTreeView* TreeView() const { return treeView_; }

    // Starts editing the label in place.
    void EditText();
    // Ends the editing of this node's label: the typed text becomes the label unless CancelEdit. Nothing when
    // the label is not being edited.
    void EndEdit(bool CancelEdit);
    bool Editing() const;

private:
    friend class TTreeNodes;
    TTreeNode(TTreeView* View, const std::string& Text);

    TTreeView* treeView_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
};

// The nodes of a tree view. Indexes count every node, in the order the tree shows them when fully expanded.
class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* Owner) : owner_(Owner) {}
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    int Count() const;
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    TTreeNode* Item(int Index) const;
    TTreeNode* GetFirstNode() const;

    // A new last node beside Sibling (nullptr: at the top level).
    TTreeNode* Add(TTreeNode* Sibling, const std::string& Text);
    // A new last child of Parent (nullptr: at the top level).
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& Text);
    void Clear();

private:
    TTreeView* owner_;
};

class TTreeView : public TWinControl {
public:
    explicit TTreeView(QWidget* Parent = nullptr);

    TTreeNodes& Items() { return items_; }
    const TTreeNodes& Items() const { return items_; }

    // The selected node, or nullptr.
    TTreeNode* Selected() const;
    // Selects Node (nullptr: none).
    void SetSelected(TTreeNode* Node);
    // The node shown at (X, Y), or nullptr.
    TTreeNode* GetNodeAt(int X, int Y) const;
    // True while a label is being edited.
    bool IsEditing() const;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    class TTreeWidget;

    TTreeWidget* tree_;
    TTreeNodes items_;
};

// The sub-items of a list item: texts shown after its caption.
class TListSubItems {
public:
    TListSubItems(const TListSubItems&) = delete;
    TListSubItems& operator=(const TListSubItems&) = delete;

    int Count() const { return count_; }
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string operator[](int Index) const;
    // Appends Text; returns its index.
    int Add(const std::string& Text);
    // Replaces sub-item Index; raises EClassLibraryError for an index outside 0 .. Count-1.
    void Set(int Index, const std::string& Text);

private:
    friend class TListItem;
    explicit TListSubItems(TListItem* Item) : item_(Item) {}

    TListItem* item_;
    int count_ = 0;
};

class TListItem : public QTreeWidgetItem {
public:
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    TListSubItems& SubItems() { return subItems_; }
    const TListSubItems& SubItems() const { return subItems_; }

    bool Selected() const;
    // True selects this item; false leaves no item selected when this one was.
    void SetSelected(bool Value);
    int Index() const;
    TListView* ListView() const { return listView_; }

    // Whatever the program keeps with the item; the item does not own it.
    void* Data = nullptr;

private:
    friend class TListItems;
    friend class TListSubItems;
    explicit TListItem(TListView* View);

    TListView* listView_;
    TListSubItems subItems_;
};

class TListItems {
public:
    explicit TListItems(TListView* Owner) : owner_(Owner) {}
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    int Count() const;
    // Raises EClassLibraryError for an index outside 0 .. Count-1.
    TListItem* Item(int Index) const;
    // A new last item with an empty caption.
    TListItem* Add();
    // Frees item Index; raises EClassLibraryError for an index outside 0 .. Count-1.
    void Delete(int Index);
    void Clear();

private:
    TListView* owner_;
};

// The images a list view shows beside its rows; a list view's rows are as high as its small images.
class TImageList : public QObject {
public:
    explicit TImageList(QObject* Owner = nullptr) : QObject(Owner) {}
    int Width() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }
    int Height() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }

private:
    int width_ = 16;
    int height_ = 16;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The columns of a list view in the report style.
class TListColumns {
public:
    explicit TListColumns(TListView* Owner) : owner_(Owner) {}
    TListColumns(const TListColumns&) = delete;
    TListColumns& operator=(const TListColumns&) = delete;

    int Count() const { return count_; }
    // Appends a column; returns its index.
    int Add(const std::string& Caption, int Width);
    // Each of these raises EClassLibraryError for an index outside 0 .. Count-1.
    std::string Caption(int Index) const;
    int Width(int Index) const;
    void SetWidth(int Index, int Value);

private:
    void CheckIndex(int Index) const;
    TListView* owner_;
    int count_ = 0;
};

class TListView : public TWinControl {
public:
    explicit TListView(QWidget* Parent = nullptr);

    TListItems& Items() { return items_; }
    const TListItems& Items() const { return items_; }

    // The selected item, or nullptr.
    TListItem* Selected() const;
    // Selects Item (nullptr: none).
    void SetSelected(TListItem* Item);
    // The item shown at (X, Y), or nullptr.
    TListItem* GetItemAt(int X, int Y) const;

    TListColumns& Columns() { return columns_; }
    const TListColumns& Columns() const { return columns_; }
    TViewStyle ViewStyle() const { return viewStyle_; }
    // vsReport shows the header; the other styles show the captions alone.
    void SetViewStyle(TViewStyle Value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool Value);
    // Whole rows are selected (the other styles select them too; kept for the code that sets it).
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value) { rowSelect_ = Value; }
    // Captions are not edited in place (a list view never edits them; kept for the code that sets it).
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value) { readOnly_ = Value; }
    // bsNone draws no frame; any other style draws the sunken one.
    void SetBorderStyle(TBorderStyle Value);
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* Value);

    // The cell of Item in Column (0 the caption, 1.. the sub-items), in the control's coordinates; an empty
    // rectangle when the item or the column is not shown.
    QRect SubItemRect(const TListItem* Item, int Column) const;
    // The header's height (0 when it is not shown).
    int HeaderHeight() const;

    // Runs after the header handled a left-button press (WM_LBUTTONDOWN), release (WM_LBUTTONUP) or double
    // click (WM_LBUTTONDBLCLK).
    TMessageHandler HeaderWindowProc;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListSubItems;
    friend class TListColumns;
    class TListWidget;
    class THeader;
    class TRowDelegate;

    TListWidget* list_;
    TListItems items_;
    TListColumns columns_{this};
    TViewStyle viewStyle_ = vsIcon;
    bool gridLines_ = false;
    bool rowSelect_ = false;
    bool readOnly_ = false;
    TImageList* smallImages_ = nullptr;
};

} // namespace forms
