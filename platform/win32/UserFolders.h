#pragma once
// The user's folders for settings and data, as the freedesktop.org base directory rules name them.

#include <string>

namespace win32 {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not an absolute path; "" when $HOME is needed and names
// no folder.
std::string XdgConfigHome();
// $XDG_DATA_HOME, or ~/.local/share, likewise.
std::string XdgDataHome();

} // namespace win32
