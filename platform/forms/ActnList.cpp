#include "platform/forms/ActnList.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QShortcut>

#include "platform/forms/StringList.h"

namespace forms {

namespace {

// The keyboard belongs to something that needs its keys more than the program's shortcuts do: a modal dialog,
// an open popup (a drop-down or completion list, a menu) or a list with the focus (or a control inside one).
bool KeyboardTakenByControl() {
    if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr)
        return true;
    for (QWidget* widget = QApplication::focusWidget(); widget != nullptr;
         widget = widget->isWindow() ? nullptr : widget->parentWidget())
        if (qobject_cast<QAbstractItemView*>(widget) != nullptr)
            return true;
    return false;
}

} // namespace

TAction::TAction(QObject* Owner) : QObject(Owner) {}

TAction::~TAction() { SetActionList(nullptr); }

std::string TAction::Name() const { return objectName().toStdString(); }

void TAction::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

void TAction::SetShortCut(TShortCut Value) {
    shortCut_ = Value;
    if (list_ != nullptr)
        list_->RebuildKeys();
}

void TAction::SetActionList(TActionList* List) {
    if (List == list_)
        return;
    if (list_ != nullptr)
        list_->Removed(this);
    list_ = List;
    if (list_ != nullptr)
        list_->Added(this);
}

bool TAction::Execute() {
    if (!enabled_ || !OnExecute)
        return false;
    CallEvent(OnExecute, this);
    return true;
}

TActionList::TActionList(QWidget* Owner) : QObject(Owner), owner_(Owner) {
    QCoreApplication::instance()->installEventFilter(this);
}

TActionList::~TActionList() {
    keys_.clear();
    for (TAction* action : actions_)
        action->list_ = nullptr;
}

std::string TActionList::Name() const { return objectName().toStdString(); }

void TActionList::SetName(const std::string& Name) { setObjectName(QString::fromStdString(Name)); }

TAction* TActionList::Actions(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return actions_[static_cast<std::size_t>(Index)];
}

void TActionList::Added(TAction* Action) {
    actions_.push_back(Action);
    RebuildKeys();
}

void TActionList::Removed(TAction* Action) {
    actions_.erase(std::remove(actions_.begin(), actions_.end(), Action), actions_.end());
    RebuildKeys();
}

TAction* TActionList::ActionOf(TShortCut Key) const {
    for (TAction* action : actions_)
        if (action->ShortCut() == Key)
            return action;
    return nullptr;
}

bool TActionList::HandleShortCut(TShortCut Key) {
    if (Key == 0 || KeyboardTakenByControl())
        return false;
    TAction* action = ActionOf(Key);
    if (action == nullptr)
        return false;
    action->Execute();
    return true;
}

bool TActionList::eventFilter(QObject* Watched, QEvent* Event) {
    // Every key press is first offered to the focused control (and on to its parents) as a shortcut override,
    // before Qt looks for a shortcut: each shortcut is switched on here only when its action would run, so
    // that any other key goes on to the focused control as if no shortcut had it. The choice is made once, as
    // the override starts: a drop-down list may close while it handles the key, and the key is still its.
    switch (Event->type()) {
    case QEvent::ShortcutOverride:
        if (Event == overrideSeen_)
            break;
        overrideSeen_ = Event;
        for (const auto& [shortcut, key] : keys_) {
            const TAction* action = ActionOf(key);
            const bool acts =
                !KeyboardTakenByControl() && action != nullptr && action->Enabled() && action->OnExecute;
            if (shortcut->isEnabled() != acts)
                shortcut->setEnabled(acts);
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        overrideSeen_ = nullptr;
        break;
    default:
        break;
    }
    return QObject::eventFilter(Watched, Event);
}

void TActionList::RebuildKeys() {
    keys_.clear();
    std::vector<TShortCut> done;
    for (TAction* action : actions_) {
        const TShortCut key = action->ShortCut();
        if (key == 0 || std::find(done.begin(), done.end(), key) != done.end())
            continue;
        done.push_back(key);
        // One Qt shortcut per key, not per action: Qt fires none of several shortcuts that share a key.
        for (const QKeySequence& sequence : KeySequencesOf(key)) {
            auto shortcut = std::make_unique<QShortcut>(sequence, owner_);
            shortcut->setContext(Qt::ApplicationShortcut);
            shortcut->setAutoRepeat(true);
            QObject::connect(shortcut.get(), &QShortcut::activated, this, [this, key] { HandleShortCut(key); });
            keys_.emplace_back(std::move(shortcut), key);
        }
    }
}

} // namespace forms
