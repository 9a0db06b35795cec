#pragma once
// The desktop's file links: the program a file manager opens a file with, by the file's type. On a Linux
// desktop they are the freedesktop.org standards:
// - the program's desktop entry "tarvexdvd.desktop" in $XDG_DATA_HOME/applications, whose Exec line opens a
//   file ("/o") and whose action adds one to the stored play list ("/a"), with MimeType= the linked types;
// - each extension's MIME type from the shared MIME-info database; an extension the database does not know
//   gets a type of its own ("video/x-tarvexdvd-" and the extension) in the user's database
//   ($XDG_DATA_HOME/mime/packages/tarvexdvd.xml, made known by update-mime-database);
// - each linked type's default program in $XDG_CONFIG_HOME/mimeapps.list ([Default Applications], and the
//   entry among the type's [Added Associations]). The default a type had there before is kept (beside the
//   player's registry store, in "desktop-links") and given back when the type is unlinked; a type that had
//   none loses its line again. A type whose default another program has taken since is left to it.
// Each file is written whole to a temporary name and renamed; every other line of mimeapps.list stays byte
// for byte. $XDG_DATA_HOME and $XDG_CONFIG_HOME default to ~/.local/share and ~/.config.
//
// The player names all the extensions linked with it at once, after each change: the service makes the
// desktop agree, and writes each file once (only those that change). Several extensions may share a type
// (".mpg" and ".mpeg"): a type stays linked while one of its extensions is.

#include <string>
#include <vector>

namespace win32 {

// The program that linked files open with, and its texts.
struct LinkedProgram {
    std::string File;        // its full file name
    std::string Icon;        // its icon file
    std::string Name;        // its name as the desktop shows it
    std::string OpenCaption; // what opening a file does; "" for none
    std::string AddCaption;  // the verb that adds a file to the stored play list; "" leaves it out
};

class DesktopLinkService {
public:
    virtual ~DesktopLinkService() = default;
    // Makes Extensions (each with its leading dot) exactly the extensions that open with Program. "" when
    // done; otherwise a short English text of what failed, and every file is left as it was.
    virtual std::string LinkExtensions(const std::vector<std::string>& Extensions,
                                       const LinkedProgram& Program) = 0;
};

// The freedesktop.org files of the user.
class XdgDesktopLinks : public DesktopLinkService {
public:
    std::string LinkExtensions(const std::vector<std::string>& Extensions,
                               const LinkedProgram& Program) override;
};

// Records each call (and writes "DesktopLinks" and the extensions to the fake log); answers Failure.
class FakeDesktopLinks : public DesktopLinkService {
public:
    std::string LinkExtensions(const std::vector<std::string>& Extensions,
                               const LinkedProgram& Program) override;

    std::vector<std::vector<std::string>> Calls;
    LinkedProgram LastProgram;
    std::string Failure;
};

// The service in use: the user's freedesktop.org files, or a FakeDesktopLinks when QUOREL_DESKTOP_LINKS=fake.
DesktopLinkService& GetDesktopLinkService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps
// ownership.
void SetDesktopLinkService(DesktopLinkService* Service);

// The file name of the player's desktop entry.
inline constexpr const char* DesktopEntryId = "tarvexdvd.desktop";

// The MIME types a file manager may give a file with extension Ext: those of the shared MIME-info database
// (its audio and video types when it has some), or the player's own type for an extension it does not know.
// None for a text that is not an extension ("." and letters, digits, "_", "+" or "-").
std::vector<std::string> MimeTypesOfExtension(const std::string& Ext);

// The Exec line of a desktop entry that runs Program with Arguments (field codes such as "%f" are passed as
// they are), quoted and escaped as the desktop entry rules ask.
std::string DesktopExecLine(const std::string& Program, const std::vector<std::string>& Arguments);

} // namespace win32
