#pragma once
// A temporary run tree: the program folders in a fresh folder, with the shared playback state pointed at
// them, so that tests never touch the build's own tree. Default.ini is not there until something writes it.

#include <string>

#include "core/Settings.h"
#include "tests/support/TempDir.h"

namespace testing_support {

class RunTree {
public:
    // Resets the shared playback state and points its folders at a new tree.
    RunTree();

    const std::string& Root() const { return dir_.Path(); }
    // Where the program file would be.
    std::string ProgramFile() const { return dir_.File("QuorelMain"); }
    const TProgramFolders& Folders() const { return folders_; }
    std::string IniFile() const { return folders_.IniPath + "/Default.ini"; }

private:
    TempDir dir_;
    TProgramFolders folders_;
};

} // namespace testing_support
