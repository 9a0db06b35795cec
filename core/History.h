#pragma once
// The history list: the stored file, the history submenu and the helpers that turn string lists into
// submenu items. Not built yet: the procedures the main window's start-up and close call do nothing.

#include "platform/forms/Menus.h"
#include "platform/forms/StringList.h"

// Replaces List's content with the stored history.
void LoadHistoryList(forms::TStringList& List);
// One item per entry of List under Parent (caption: the file name), with the click handler OnClick.
void AddFileNameItems(const forms::TStringList& List, forms::TMenuItem* Parent, QObject* Owner,
                      const forms::TNotifyEvent& OnClick);
// Replaces Parent's sub-items by one item per line of List, with the click handler OnClick.
void FillMenuFromList(const forms::TStringList& List, QObject* Owner, forms::TMenuItem* Parent,
                      const forms::TNotifyEvent& OnClick);
// Empties the history, its stored file and the entries of the history submenu HistoryMenu.
void ClearHistory(forms::TMenuItem* HistoryMenu);
// Frees every sub-item of Item, last first.
void FreeSubItems(forms::TMenuItem* Item);
