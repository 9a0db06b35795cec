#include "tests/support/RunTree.h"

#include "core/PlaybackState.h"

namespace testing_support {

RunTree::RunTree() : folders_(GetProgramFolders(dir_.File("QuorelMain"))) {
    ResetPlaybackState();
    CreateProgramFolders(folders_);
    UseProgramFolders(folders_);
}

} // namespace testing_support
