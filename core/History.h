#pragma once
// The history list: the stored file, the history submenu and the helpers that turn string lists into
// submenu items. The stored file and the submenu are not built yet: the procedures that read or write them
// and that fill the submenu do nothing; the list helpers and the clear-on-exit check mark are complete.

#include "platform/forms/Menus.h"
#include "platform/forms/StringList.h"

// Replaces List's content with the stored history. Not built yet.
void LoadHistoryList(forms::TStringList& List);
// Writes List as the stored history. Not built yet.
void SaveHistoryList(const forms::TStringList& List);
// Appends to Dst every non-empty line of Src that Dst does not hold yet (without regard to case), in Src's
// order; returns how many it appended.
int AddUniqueLines(const forms::TStringList& Src, forms::TStringList& Dst);
// One item per entry of List under Parent (caption: the file name), with the click handler OnClick. Not built
// yet.
void AddFileNameItems(const forms::TStringList& List, forms::TMenuItem* Parent, QObject* Owner,
                      const forms::TNotifyEvent& OnClick);
// Replaces Parent's sub-items by one item per line of List, with the click handler OnClick. Not built yet.
void FillMenuFromList(const forms::TStringList& List, QObject* Owner, forms::TMenuItem* Parent,
                      const forms::TNotifyEvent& OnClick);
// Removes and frees all sub-items of each item.
void ClearMenus(const forms::TMenuItemArray& Items);
// Empties the history, its stored file and the entries of the history submenu HistoryMenu. Not built yet.
void ClearHistory(forms::TMenuItem* HistoryMenu);
// ClearHistoryExit := [File] ClearHistoryExit; 1 checks Item, 0 unchecks it, any other value leaves it.
void LoadClearHistoryExitMenu(forms::TMenuItem* Item);
// Frees every sub-item of Item, last first. Not built yet.
void FreeSubItems(forms::TMenuItem* Item);
