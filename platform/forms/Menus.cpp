#include "platform/forms/Menus.h"

#include <algorithm>

#include <QAction>
#include <QMenu>

#include "platform/forms/StringList.h"

namespace forms {

namespace {

struct NamedKey {
    std::uint16_t Key;
    const char* Name;
    int QtKey;
};

// Keys whose names are not their character; the last ones are named as the keyboard driver names them.
constexpr NamedKey kNamedKeys[] = {
    {0x08, "BkSp", Qt::Key_Backspace},   {0x09, "Tab", Qt::Key_Tab},          {0x0D, "Enter", Qt::Key_Return},
    {0x13, "Pause", Qt::Key_Pause},      {0x1B, "Esc", Qt::Key_Escape},       {0x20, "Space", Qt::Key_Space},
    {0x21, "PgUp", Qt::Key_PageUp},      {0x22, "PgDn", Qt::Key_PageDown},    {0x23, "End", Qt::Key_End},
    {0x24, "Home", Qt::Key_Home},        {0x25, "Left", Qt::Key_Left},        {0x26, "Up", Qt::Key_Up},
    {0x27, "Right", Qt::Key_Right},      {0x28, "Down", Qt::Key_Down},        {0x2D, "Ins", Qt::Key_Insert},
    {0x2E, "Del", Qt::Key_Delete},       {0x6A, "Num *", Qt::Key_Asterisk},   {0x6B, "Num +", Qt::Key_Plus},
    {0x6D, "Num -", Qt::Key_Minus},      {0x6E, "Num Del", Qt::Key_Period},   {0x6F, "Num /", Qt::Key_Slash},
    {0xBA, ";", Qt::Key_Semicolon},      {0xBB, "=", Qt::Key_Equal},          {0xBC, ",", Qt::Key_Comma},
    {0xBD, "-", Qt::Key_Minus},          {0xBE, ".", Qt::Key_Period},         {0xBF, "/", Qt::Key_Slash},
    {0xC0, "`", Qt::Key_QuoteLeft},      {0xDB, "[", Qt::Key_BracketLeft},    {0xDC, "\\", Qt::Key_Backslash},
    {0xDD, "]", Qt::Key_BracketRight},   {0xDE, "'", Qt::Key_Apostrophe},
    {0x14, "Caps Lock", Qt::Key_CapsLock}, {0x90, "Num Lock", Qt::Key_NumLock},
    {0x91, "Scroll Lock", Qt::Key_ScrollLock},
};

// The other spellings a stored text may use for a key: those of the hot-key names ("BKSP" is "BkSp" already,
// as names are compared without regard to case).
constexpr NamedKey kOtherSpellings[] = {
    {0x21, "Page Up", Qt::Key_PageUp},
    {0x22, "Page Down", Qt::Key_PageDown},
};

std::string KeyName(std::uint16_t Key) {
    if (Key >= 0x30 && Key <= 0x39)
        return std::string(1, static_cast<char>('0' + (Key - 0x30)));
    if (Key >= 0x41 && Key <= 0x5A)
        return std::string(1, static_cast<char>('A' + (Key - 0x41)));
    if (Key >= 0x60 && Key <= 0x69)
        return "Num " + std::string(1, static_cast<char>('0' + (Key - 0x60)));
    if (Key >= 0x70 && Key <= 0x87)
        return "F" + std::to_string(Key - 0x6F);
    for (const auto& k : kNamedKeys)
        if (k.Key == Key)
            return k.Name;
    return "";
}

bool TakePrefix(std::string_view& Text, std::string_view Prefix) {
    if (Text.size() < Prefix.size() || !SameText(Text.substr(0, Prefix.size()), Prefix))
        return false;
    Text.remove_prefix(Prefix.size());
    return true;
}

} // namespace

TShortCut ShortCut(std::uint16_t Key, TShortCut Modifiers) {
    return static_cast<TShortCut>((Key & 0xFF) | Modifiers);
}

std::string ShortCutToText(TShortCut Value) {
    const std::string name = KeyName(Value & 0xFF);
    if (name.empty())
        return "";
    std::string text;
    if (Value & scShift)
        text += "Shift+";
    if (Value & scCtrl)
        text += "Ctrl+";
    if (Value & scAlt)
        text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::string& Text) {
    std::string_view rest = Text;
    TShortCut shift = 0;
    for (;;) {
        if (TakePrefix(rest, "Shift+"))
            shift |= scShift;
        else if (TakePrefix(rest, "^") || TakePrefix(rest, "Ctrl+"))
            shift |= scCtrl;
        else if (TakePrefix(rest, "Alt+"))
            shift |= scAlt;
        else
            break;
    }
    if (rest.empty())
        return 0;
    for (std::uint16_t key = 0x08; key <= 0xFF; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && SameText(rest, name))
            return static_cast<TShortCut>(key | shift);
    }
    for (const auto& k : kOtherSpellings)
        if (SameText(rest, k.Name))
            return static_cast<TShortCut>(k.Key | shift);
    return 0;
}

std::vector<QKeySequence> KeySequencesOf(TShortCut Value) {
    const std::uint16_t key = Value & 0xFF;
    Qt::KeyboardModifiers modifiers;
    if (Value & scShift)
        modifiers |= Qt::ShiftModifier;
    if (Value & scCtrl)
        modifiers |= Qt::ControlModifier;
    if (Value & scAlt)
        modifiers |= Qt::AltModifier;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    if (key >= 0x30 && key <= 0x39)
        keys.emplace_back(Qt::Key_0 + (key - 0x30), modifiers);
    else if (key >= 0x41 && key <= 0x5A)
        keys.emplace_back(Qt::Key_A + (key - 0x41), modifiers);
    else if (key >= 0x60 && key <= 0x69)
        keys.emplace_back(Qt::Key_0 + (key - 0x60), modifiers | Qt::KeypadModifier);
    else if (key >= 0x70 && key <= 0x87)
        keys.emplace_back(Qt::Key_F1 + (key - 0x70), modifiers);
    else if (key == 0x0D) {
        keys.emplace_back(Qt::Key_Return, modifiers);
        keys.emplace_back(Qt::Key_Enter, modifiers | Qt::KeypadModifier);
    } else {
        for (const auto& k : kNamedKeys)
            if (k.Key == key)
                keys.emplace_back(k.QtKey, key >= 0x6A && key <= 0x6F ? modifiers | Qt::KeypadModifier : modifiers);
    }
    std::vector<QKeySequence> sequences;
    for (const auto& [k, m] : keys)
        sequences.emplace_back(QKeyCombination(m, static_cast<Qt::Key>(k)));
    return sequences;
}

std::uint16_t VirtualKeyOf(int QtKey, bool Keypad) {
    if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)
        return static_cast<std::uint16_t>((Keypad ? 0x60 : 0x30) + (QtKey - Qt::Key_0));
    if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z)
        return static_cast<std::uint16_t>(0x41 + (QtKey - Qt::Key_A));
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(0x70 + (QtKey - Qt::Key_F1));
    if (QtKey == Qt::Key_Enter)
        return 0x0D;
    // The number pad's own keys first ("Num -" rather than "-"); its arrows and the like are the main ones.
    for (const bool numberPad : {Keypad, false})
        for (const auto& k : kNamedKeys)
            if (k.QtKey == QtKey && (k.Key >= 0x6A && k.Key <= 0x6F) == numberPad)
                return k.Key;
    return 0;
}

TMenuItem::TMenuItem(QObject* Owner) : QObject(Owner), action_(new QAction(this)) {
    QObject::connect(action_, &QAction::triggered, this, [this] {
        action_->setChecked(checked_); // a click does not toggle the item
        Click();
    });
}

TMenuItem::TMenuItem(QObject* Owner, QMenu* Menu) : QObject(Owner), childMenu_(Menu) {
    QObject::connect(Menu, &QMenu::aboutToShow, this, [this] { SyncMenu(); });
}

TMenuItem::~TMenuItem() {
    if (ownMenu_ != nullptr && !items_.empty())
        RetireMenu(0, false);
    while (!items_.empty())
        delete items_.back();
    if (parent_ != nullptr)
        parent_->Detach(this);
    delete action_;
    action_ = nullptr;
}

std::string TMenuItem::Name() const { return objectName().toStdString(); }

void TMenuItem::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

void TMenuItem::UpdateText() {
    if (action_ == nullptr)
        return;
    // A separator shows no text: Qt draws a separator's text as a section title (a stray "-").
    if (caption_ == "-") {
        action_->setSeparator(true);
        action_->setText(QString());
        return;
    }
    action_->setSeparator(false);
    QString text = QString::fromStdString(caption_);
    if (shortCut_ != 0)
        text += "\t" + QString::fromStdString(ShortCutToText(shortCut_));
    action_->setText(text);
}

void TMenuItem::SetCaption(const std::string& Caption) {
    caption_ = Caption;
    UpdateText();
}

void TMenuItem::SetChecked(bool Value) {
    checked_ = Value;
    if (action_ != nullptr) {
        action_->setCheckable(Value);
        action_->setChecked(Value);
    }
}

void TMenuItem::SetEnabled(bool Value) {
    enabled_ = Value;
    if (action_ != nullptr)
        action_->setEnabled(Value);
}

void TMenuItem::SetVisible(bool Value) {
    visible_ = Value;
    if (action_ != nullptr)
        action_->setVisible(Value);
}

void TMenuItem::SetShortCut(TShortCut Value) {
    shortCut_ = Value;
    UpdateText();
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return items_[static_cast<std::size_t>(Index)];
}

QMenu* TMenuItem::SubMenu() const {
    const_cast<TMenuItem*>(this)->SyncMenu();
    return childMenu_;
}

std::unique_ptr<QMenu> TMenuItem::NewMenu() {
    auto menu = std::make_unique<QMenu>();
    menu->setAttribute(Qt::WA_NoMouseReplay);
    QObject::connect(menu.get(), &QMenu::aboutToShow, this, [this] { SyncMenu(); });
    return menu;
}

QMenu* TMenuItem::ChildMenu() {
    if (childMenu_ == nullptr) {
        ownMenu_ = NewMenu();
        childMenu_ = ownMenu_.get();
        action_->setMenu(childMenu_);
    }
    return childMenu_;
}

void TMenuItem::SyncMenu() {
    if (!menuStale_ || childMenu_ == nullptr)
        return;
    menuStale_ = false;
    const QList<QAction*> shown = childMenu_->actions();
    qsizetype same = 0;
    while (same < shown.size() && same < static_cast<qsizetype>(items_.size()) &&
           shown[same] == items_[static_cast<std::size_t>(same)]->action_)
        ++same;
    if (same < shown.size()) {
        for (QAction* action : shown)
            childMenu_->removeAction(action);
        same = 0;
    }
    for (auto i = static_cast<std::size_t>(same); i < items_.size(); ++i)
        if (items_[i]->action_ != nullptr)
            childMenu_->addAction(items_[i]->action_);
}

void TMenuItem::RetireMenu(int Keep, bool Replace) {
    // Qt keeps a widget's actions in a list that each removal scans; a menu that goes lets go of all of them
    // in one pass. It goes later, not now: it may be the menu whose item was just chosen. The actions of the
    // sub-items about to be freed go with it.
    QMenu* old = ownMenu_.release();
    for (auto i = static_cast<std::size_t>(std::max(Keep, 0)); i < items_.size(); ++i) {
        TMenuItem* item = items_[i];
        if (item->action_ == nullptr)
            continue;
        item->action_->setMenu(nullptr);
        QObject::disconnect(item->action_, nullptr, item, nullptr);
        item->action_->setParent(old);
        item->action_ = nullptr;
    }
    old->deleteLater();
    childMenu_ = nullptr;
    // An item whose own action went with its parent's menu has no action left to show a menu.
    if (!Replace || action_ == nullptr) {
        if (action_ != nullptr)
            action_->setMenu(nullptr);
        return;
    }
    ownMenu_ = NewMenu();
    childMenu_ = ownMenu_.get();
    action_->setMenu(childMenu_);
    menuStale_ = true; // the sub-items kept go into the new menu when it opens
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (Item == nullptr)
        return;
    if (Index < 0 || Index > Count())
        throw EClassLibraryError("Menu index out of range");
    if (Item->parent_ != nullptr)
        Item->parent_->Detach(Item);
    const bool append = Index == Count();
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    // Owned through items_ (freed last first by the destructor, Delete and Clear), not through Qt's children,
    // whose list each removal scans from its start.
    if (Item->QObject::parent() != nullptr)
        Item->setParent(nullptr);
    QMenu* menu = ChildMenu();
    // Qt scans the menu's whole list of actions for each one added: appended items wait until the menu opens.
    if (append && ownMenu_ != nullptr && !menu->isVisible()) {
        menuStale_ = true;
        return;
    }
    SyncMenu();
    QAction* before = Index + 1 < Count() ? items_[static_cast<std::size_t>(Index) + 1]->action_ : nullptr;
    menu->insertAction(before, Item->action_);
}

void TMenuItem::Detach(TMenuItem* Item) {
    // Sub-items are mostly freed last first: found at once from the end.
    const auto it = std::find(items_.rbegin(), items_.rend(), Item);
    if (it == items_.rend())
        return;
    items_.erase(std::next(it).base());
    if (childMenu_ != nullptr && Item->action_ != nullptr)
        childMenu_->removeAction(Item->action_);
    Item->parent_ = nullptr;
}

void TMenuItem::Delete(int Index) { delete Items(Index); }

void TMenuItem::Remove(TMenuItem* Item) {
    if (Item == nullptr || Item->parent_ != this)
        return;
    Detach(Item);
    Item->setParent(nullptr);
}

void TMenuItem::DeleteFrom(int Index) {
    Index = std::max(Index, 0);
    if (Index >= Count())
        return;
    // Freeing many items one by one would take each action out of the menu's list on its own.
    if (ownMenu_ != nullptr && Count() - Index > 16)
        RetireMenu(Index, true);
    while (Count() > Index)
        delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Click() { CallEvent(OnClick, this); }

TPopupMenu::TPopupMenu(QWidget* Owner)
    : QObject(Owner), menu_(std::make_unique<QMenu>()), items_(new TMenuItem(nullptr, menu_.get())) {
    // A press outside an open menu only closes it: Qt would otherwise press again where the pointer is (and
    // not on every platform), so that a click meant to close the menu would act on the window under it.
    menu_->setAttribute(Qt::WA_NoMouseReplay);
}

TPopupMenu::~TPopupMenu() { items_.reset(); }

std::string TPopupMenu::Name() const { return objectName().toStdString(); }

void TPopupMenu::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

void TPopupMenu::Popup(int X, int Y) {
    if (!CallEvent(OnPopup, this))
        return;
    menu_->popup(QPoint(X, Y));
}

} // namespace forms
