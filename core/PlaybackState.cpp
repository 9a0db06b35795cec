#include "core/PlaybackState.h"

PlaybackState State;

void ResetPlaybackState() { State = PlaybackState{}; }

namespace {
const std::string* EntryAt(const std::unique_ptr<forms::TStringList>& list, int index) {
    if (!list || index < 0 || index >= list->Count())
        return nullptr;
    return &(*list)[index];
}
} // namespace

const std::string* CurrentPlayListFile() { return EntryAt(State.PlayListFiles, State.PlayListIndex); }

const std::string* CurrentPlayListPosition() { return EntryAt(State.PlayListPositions, State.PlayListIndex); }
