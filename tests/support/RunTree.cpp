#include "tests/support/RunTree.h"

#include "core/PlaybackState.h"

namespace testing_support {

RunTree::RunTree() : folders_(GetProgramFolders(dir_.File("QuorelMain"))) {
    ResetPlaybackState();
    CreateProgramFolders(folders_);
    State.AppPath = folders_.AppPath;
    State.TempPath = folders_.TempPath;
    State.ProjectPath = folders_.ProjectPath;
    State.IniPath = folders_.IniPath;
    State.ImagePath = folders_.ImagePath;
    State.SkinDir = folders_.SkinDir;
    State.LrcDir = folders_.LrcDir;
    State.SkinPath = IncludeTrailingSlash(IncludeTrailingSlash(folders_.SkinDir) + "Default");
    State.IniFilePath = IncludeTrailingSlash(folders_.IniPath) + "Default.ini";
}

} // namespace testing_support
