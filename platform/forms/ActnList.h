#pragma once
// Actions and action lists: commands with a shortcut key that works anywhere in the program.
//
// A shortcut of an action is application-wide: it fires in whichever window of the program is active, also
// when the menu item that shows the same command is disabled or hidden, and not while a modal dialog is open.
// When several actions of a list share a key, the first of them in the list gets it.

#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "platform/forms/Menus.h"

class QShortcut;

namespace forms {

class TActionList;

class TAction : public QObject {
public:
    explicit TAction(QObject* Owner = nullptr);
    ~TAction() override;

    std::string Name() const;
    void SetName(const std::string& Name);
    int Tag = 0;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value) { caption_ = Value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);

    TActionList* ActionList() const { return list_; }
    void SetActionList(TActionList* List);

    // Runs OnExecute when the action is enabled and has one; true when it ran.
    bool Execute();

    TNotifyEvent OnExecute;

private:
    friend class TActionList;
    std::string caption_;
    bool enabled_ = true;
    TShortCut shortCut_ = 0;
    TActionList* list_ = nullptr;
};

class TActionList : public QObject {
public:
    // The keys of the list are bound to Owner's window; they work in every window of the program.
    explicit TActionList(QWidget* Owner);
    ~TActionList() override;

    std::string Name() const;
    void SetName(const std::string& Name);

    int Count() const { return static_cast<int>(actions_.size()); }
    TAction* Actions(int Index) const;

    // The action for a key press: the first of the list with that shortcut. Runs it when it is enabled; true
    // when an action had the key (enabled or not). Nothing runs while a modal dialog is open.
    bool HandleShortCut(TShortCut Key);

private:
    friend class TAction;
    void Added(TAction* Action);
    void Removed(TAction* Action);
    void RebuildKeys();

    QWidget* owner_;
    std::vector<TAction*> actions_;
    std::vector<std::unique_ptr<QShortcut>> keys_;
};

} // namespace forms
