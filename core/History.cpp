#include "core/History.h"

#include "core/PlaybackState.h"
#include "core/Settings.h"

void LoadHistoryList(forms::TStringList&) {}

void SaveHistoryList(const forms::TStringList&) {}

int AddUniqueLines(const forms::TStringList& Src, forms::TStringList& Dst) {
    int added = 0;
    for (const std::string& line : Src)
        if (!line.empty() && Dst.IndexOf(line) < 0) {
            Dst.Add(line);
            ++added;
        }
    return added;
}

void AddFileNameItems(const forms::TStringList&, forms::TMenuItem*, QObject*, const forms::TNotifyEvent&) {}

void FillMenuFromList(const forms::TStringList&, QObject*, forms::TMenuItem*, const forms::TNotifyEvent&) {}

void ClearMenus(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->Clear();
}

void ClearHistory(forms::TMenuItem*) {}

void LoadClearHistoryExitMenu(forms::TMenuItem* Item) {
    State.ClearHistoryExit = ReadIniInteger("File", "ClearHistoryExit");
    if (State.ClearHistoryExit == 1)
        Item->SetChecked(true);
    else if (State.ClearHistoryExit == 0)
        Item->SetChecked(false);
}

void FreeSubItems(forms::TMenuItem*) {}
