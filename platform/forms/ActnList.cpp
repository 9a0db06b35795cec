#include "platform/forms/ActnList.h"

#include <algorithm>

#include <QApplication>
#include <QShortcut>

#include "platform/forms/StringList.h"

namespace forms {

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

TActionList::TActionList(QWidget* Owner) : QObject(Owner), owner_(Owner) {}

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

bool TActionList::HandleShortCut(TShortCut Key) {
    if (Key == 0 || QApplication::activeModalWidget() != nullptr)
        return false;
    for (TAction* action : actions_)
        if (action->ShortCut() == Key) {
            action->Execute();
            return true;
        }
    return false;
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
            keys_.push_back(std::move(shortcut));
        }
    }
}

} // namespace forms
