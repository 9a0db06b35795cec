#pragma once
// A desktop of the test's own, so that no test reads or changes the desktop of the user running it: $HOME,
// $XDG_CONFIG_HOME and $XDG_DATA_HOME in a temporary folder, and $XDG_DATA_DIRS naming a folder that holds
// the system's shared MIME-info database and nothing else (no other program's desktop entries). The variables
// are set for the test's process until the end of its scope; Environment() gives them to a program it starts.
//
// It also asks the desktop's own tools: xdg-mime (xdg-utils) for a type's default program,
// desktop-file-validate (desktop-file-utils) about a desktop entry, and GIO, as a file manager does, to open
// a file with an entry.

#include <string>
#include <sys/types.h>
#include <vector>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace testing_support {

class XdgHome {
public:
    XdgHome();

    const std::string& Home() const { return dir_.Path(); }
    std::string Config() const { return dir_.File("config"); }
    std::string Data() const { return dir_.File("data"); }
    std::string Applications() const { return dir_.File("data/applications"); }
    // "NAME=value" for each variable, and XDG_CURRENT_DESKTOP=X-Generic (the desktop's tools then read the
    // freedesktop.org files themselves).
    std::vector<std::string> Environment() const;

    // What `xdg-mime query default Type` answers (its output without the line end).
    std::string QueryDefault(const std::string& Type) const;
    // The type GIO (which file managers use) gives File: `gio info`'s standard::content-type.
    std::string ContentType(const std::string& File) const;
    // What desktop-file-validate says of the entry: "" when it finds no error.
    std::string ValidateEntry(const std::string& Entry) const;
    // Writes a desktop entry Id of another program that opens Types with Program.
    void WriteOtherEntry(const std::string& Id, const std::string& Program, const std::string& Types) const;

private:
    std::string Run(const std::string& Command) const;

    TempDir dir_;
    ScopedEnv home_;
    ScopedEnv config_;
    ScopedEnv data_;
    ScopedEnv dataDirs_;
    ScopedEnv configDirs_;
    ScopedEnv desktop_;
};

// Opens File with the desktop entry Entry as a file manager does (GIO expands its Exec line for the file and
// starts it), with Environment ("NAME=value") added. The program's process, which the caller waits for
// (waitpid), or -1 with the reason in Error.
pid_t OpenWithDesktopEntry(const std::string& Entry, const std::string& File,
                           const std::vector<std::string>& Environment, std::string& Error);

} // namespace testing_support
