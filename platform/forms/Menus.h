#pragma once
// Menu items, popup menus and shortcut keys of the class library.
//
// Items are built at run time (Add, Insert, Delete) and keep their own Checked state: a click never toggles
// it, so a radio group is plain items whose handler checks one of them. A press outside an open menu closes
// it and goes no further. OnClick gets the item as Sender. A
// shortcut on an item is only shown beside its caption; the keys themselves belong to actions (ActnList.h).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QKeySequence>
#include <QObject>

#include "platform/forms/Controls.h"

class QAction;
class QMenu;

namespace forms {

// A key with its modifiers: the virtual-key code in the low byte, scShift, scCtrl and scAlt above it.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// "Ctrl+O", "Shift+Ctrl+F12", "Space", "PgUp", "Enter", "Left", "Num +": the modifiers in the order Shift,
// Ctrl, Alt, then the key's name. "" for 0.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse, with the modifiers in any order and without regard to case, also for the keys' other spellings
// ("Page Up", "Page Down"); 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& Text);
TShortCut ShortCut(std::uint16_t Key, TShortCut Modifiers);
// The Qt key sequences that press the shortcut (Enter is both the main and the keypad key); empty for 0.
std::vector<QKeySequence> KeySequencesOf(TShortCut ShortCut);
// The virtual-key code of a Qt key (Keypad: pressed on the number pad); 0 for a key that has none here.
std::uint16_t VirtualKeyOf(int QtKey, bool Keypad);

class TMenuItem;
// A fixed table of menu items (a radio group, the items a command enables).
using TMenuItemArray = std::vector<TMenuItem*>;

class TMenuItem : public QObject {
public:
    explicit TMenuItem(QObject* Owner = nullptr);
    ~TMenuItem() override;
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Name() const;
    void SetName(const std::string& Name);
    int Tag = 0;

    const std::string& Caption() const { return caption_; }
    // "-" makes the item a separator line (without text). "&" marks the next character as the item's
    // accelerator and "&&" shows one "&".
    void SetCaption(const std::string& Caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);

    // Sub-items, in order. Add and Insert take ownership; Delete, DeleteFrom and Clear free; Remove hands the
    // item back. Items appended while the sub-menu is closed show when it next opens, so that a long menu
    // (a history of thousands of files) is built in time linear in its length.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* operator[](int Index) const { return Items(Index); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear() { DeleteFrom(0); }
    // Frees the sub-items at Index and after, last first.
    void DeleteFrom(int Index);
    int IndexOf(const TMenuItem* Item) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ != nullptr ? parent_->IndexOf(this) : -1; }

    // Runs OnClick, as choosing the item does.
    void Click();

    TNotifyEvent OnClick;

    // The Qt action that shows the item; its sub-items' menu once it has any (with all of them in it).
    QAction* Action() const { return action_; }
    QMenu* SubMenu() const;

private:
    friend class TPopupMenu;
    // The root item of a popup menu shows its sub-items in Menu.
    TMenuItem(QObject* Owner, QMenu* Menu);
    void UpdateText();
    QMenu* ChildMenu();
    std::unique_ptr<QMenu> NewMenu();
    void Detach(TMenuItem* Item);
    // Puts the actions of the sub-items appended since into the sub-menu.
    void SyncMenu();
    // Lets the sub-menu go, with the actions of the sub-items from Keep on (which are about to be freed).
    void RetireMenu(int Keep, bool Replace);

    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    TShortCut shortCut_ = 0;
    QAction* action_ = nullptr;
    std::unique_ptr<QMenu> ownMenu_;
    QMenu* childMenu_ = nullptr;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    // Sub-items were appended that the sub-menu does not show yet.
    bool menuStale_ = false;
};

class TPopupMenu : public QObject {
public:
    explicit TPopupMenu(QWidget* Owner);
    ~TPopupMenu() override;

    std::string Name() const;
    void SetName(const std::string& Name);

    TMenuItem* Items() const { return items_.get(); }

    // Runs OnPopup, then shows the menu with its top-left corner at (X, Y) on the screen. Returns at once; the
    // chosen item's OnClick runs when the user chooses it.
    void Popup(int X, int Y);

    // Whether a right click on a control that names this menu pops it up.
    bool AutoPopup = true;
    // The control whose right click popped the menu up last.
    TControl* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    QMenu* Menu() const { return menu_.get(); }

private:
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<TMenuItem> items_;
};

} // namespace forms
