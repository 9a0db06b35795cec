#include "core/History.h"

void LoadHistoryList(forms::TStringList&) {}

void AddFileNameItems(const forms::TStringList&, forms::TMenuItem*, QObject*, const forms::TNotifyEvent&) {}

void FillMenuFromList(const forms::TStringList&, QObject*, forms::TMenuItem*, const forms::TNotifyEvent&) {}

void ClearHistory(forms::TMenuItem*) {}

void FreeSubItems(forms::TMenuItem*) {}
