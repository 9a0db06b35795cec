#pragma once
// Actions and action lists: commands with a shortcut key that works anywhere in the program.
//
// A shortcut of an action is application-wide: it fires in whichever window of the program is active, also
// when the menu item that shows the same command is disabled or hidden. It never takes a key from a modal
// dialog, an open popup (a drop-down or completion list, a menu) or a focused list: there, and for a key
// whose action does not run (disabled, or without a handler), the key goes to the focused control as if no
// shortcut had it. When several actions of a list share a key, the first of them in the list gets it.

#include <memory>
#include <string>
#include <utility>
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
    // when an action had the key (enabled or not). Nothing runs while a modal dialog, a popup or a list has
    // the keyboard.
    bool HandleShortCut(TShortCut Key);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    friend class TAction;
    // The first action of the list with Key, or none.
    TAction* ActionOf(TShortCut Key) const;
    void Added(TAction* Action);
    void Removed(TAction* Action);
    void RebuildKeys();

    QWidget* owner_;
    std::vector<TAction*> actions_;
    // The Qt shortcuts, each with the key of the actions it stands for.
    std::vector<std::pair<std::unique_ptr<QShortcut>, TShortCut>> keys_;
    // The shortcut override whose key the shortcuts were switched for, until the key's press or release.
    const QEvent* overrideSeen_ = nullptr;
};

} // namespace forms
