// The history submenu of the main window: its three commands (manage, clear, clear on exit) and the entry
// items, each of which plays the file it was made for.

#include "ui/QuorelMainUnit.h"

#include "core/History.h"
#include "core/PlaybackState.h"
#include "core/PlayListSteps.h"
#include "platform/win32/Files.h"

using namespace forms;

void TQuorelMain_Form::pManageHistoryClick(TObject*) {
    ManageHistory(pHistory, this, [this](TObject* Sender) { HistoryItemClick(Sender); });
}

void TQuorelMain_Form::pClearHistoryClick(TObject*) {
    ClearHistory(pHistory);
}

void TQuorelMain_Form::pClearHistoryExitClick(TObject*) {
    ToggleClearHistoryExit(pClearHistoryExit);
}

void TQuorelMain_Form::HistoryItemClick(TObject* Sender) {
    // The item's own path, not the entry at the item's place: items of equal file names are skipped, so
    // places and entries need not line up.
    const std::string* entry = HistoryItemPath(Sender);
    if (entry == nullptr || !win32::FileExists(*entry))
        return;
    const std::string path = *entry;
    StopByType();
    State.PlayListPositions->Clear();
    State.PlayListPositions->Add("0");
    State.PlayRate = 1.0;
    SetSinglePlayList(path);
    ShowId3Text(path);
    OpenCurrentMedia();
    ShowMediaOpened();
    FullScreenAtOnce();
}
