#include "platform/win32/DesktopLinks.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMimeDatabase>

#include "platform/win32/DesktopKeyFile.h"
#include "platform/win32/FakeLog.h"
#include "platform/win32/Files.h"
#include "platform/win32/UserFolders.h"

extern char** environ;

namespace win32 {
namespace {

constexpr std::string_view OwnTypePrefix = "video/x-tarvexdvd-";
constexpr const char* DefaultsGroup = "Default Applications";
constexpr const char* AddedGroup = "Added Associations";
constexpr const char* LinkedTypesGroup = "Linked Types";

bool IsExtension(const std::string& Ext) {
    return Ext.size() >= 2 && Ext.front() == '.' &&
           std::all_of(Ext.begin() + 1, Ext.end(), [](unsigned char c) {
               return std::isalnum(c) != 0 || c == '_' || c == '+' || c == '-';
           });
}

std::string LowerAscii(std::string Text) {
    for (char& c : Text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return Text;
}

bool StartsWith(std::string_view Text, std::string_view Prefix) {
    return Text.substr(0, Prefix.size()) == Prefix;
}

// A value of type string as a desktop entry writes it.
std::string EscapedValue(std::string_view Text) {
    std::string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        switch (Text[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += Text[i];
        }
    }
    return out;
}

// One argument of an Exec line: quoted when it holds a character the rules reserve, "%" doubled.
std::string ExecArgument(std::string_view Argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quoted =
        Argument.empty() || std::any_of(Argument.begin(), Argument.end(), [&](char c) {
            return reserved.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20;
        });
    std::string out = quoted ? "\"" : "";
    for (char c : Argument) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c;
        if (c == '%')
            out += '%';
    }
    return quoted ? out + "\"" : out;
}

std::string EntryText(const std::set<std::string>& Types, const LinkedProgram& Program) {
    std::string text =
        "[Desktop Entry]\nType=Application\nVersion=1.4\nName=" + EscapedValue(Program.Name) + "\n";
    if (!Program.OpenCaption.empty())
        text += "Comment=" + EscapedValue(Program.OpenCaption) + "\n";
    text += "Icon=" + EscapedValue(Program.Icon) + "\n";
    text += "Exec=" + DesktopExecLine(Program.File, {"/o", "%f"}) + "\n";
    // Only a handler of files: no item of its own in the desktop's menus.
    text += "NoDisplay=true\nTerminal=false\nMimeType=";
    for (const std::string& type : Types)
        text += type + ";";
    text += "\n";
    if (!Program.AddCaption.empty()) {
        text += "Actions=AddToPlayList;\n\n[Desktop Action AddToPlayList]\nName=" +
                EscapedValue(Program.AddCaption) + "\nExec=" + DesktopExecLine(Program.File, {"/a", "%f"}) +
                "\n";
    }
    return text;
}

// The player's own types (each with its globs) as a package of the shared MIME-info database.
std::string PackageText(const std::map<std::string, std::set<std::string>>& OwnTypes) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- File types that TarvexDvd opens and the shared MIME-info database does not know. -->\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const auto& [type, globs] : OwnTypes) {
        std::string name = type.substr(OwnTypePrefix.size());
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        text += "  <mime-type type=\"" + type + "\">\n    <comment>" + name +
                " media file</comment>\n    <generic-icon name=\"video-x-generic\"/>\n";
        for (const std::string& glob : globs)
            text += "    <glob pattern=\"" + glob + "\"/>\n";
        text += "  </mime-type>\n";
    }
    return text + "</mime-info>\n";
}

std::string RecordText(const std::map<std::string, std::string>& Previous) {
    std::string text =
        "# The file types that TarvexDvd made open with itself in mimeapps.list, each with the default\n"
        "# it had there before (nothing when it had none).\n[" +
        std::string(LinkedTypesGroup) + "]\n";
    for (const auto& [type, before] : Previous)
        text += type + "=" + before + "\n";
    return text;
}

// A file as it is and as it is to be; nullopt: no file.
struct FileChange {
    std::string path;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// The file's contents, nullopt when there is none; false when a file is there that cannot be read.
bool ReadIfThere(const std::string& Path, std::optional<std::string>& Text, std::string& Failure) {
    std::error_code error;
    Text = ReadWholeFile(Path, error);
    if (Text || error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return true;
    Failure = "\"" + Path + "\" cannot be read (" + error.message() + ")";
    return false;
}

bool Replace(const std::string& Path, const std::optional<std::string>& Contents, std::string& Failure) {
    std::error_code error;
    if (!Contents) {
        if (::unlink(Path.c_str()) == 0 || errno == ENOENT)
            return true;
        error.assign(errno, std::generic_category());
    } else if (!ForceDirectories(std::filesystem::path(Path).parent_path().string())) {
        error = std::make_error_code(std::errc::not_a_directory);
    } else if (WriteFileAtomically(Path, *Contents, error)) {
        return true;
    }
    Failure = "\"" + Path + "\" cannot be written (" + error.message() + ")";
    return false;
}

// update-mime-database on the user's database folder; false when it cannot be run or fails.
bool UpdateMimeDatabase(const std::string& Folder) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string program = "update-mime-database";
    std::string folder = Folder;
    char* argv[] = {program.data(), folder.data(), nullptr};
    pid_t pid = -1;
    const int started = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The player's id first among a type's default programs.
bool IsOurs(const std::optional<std::string>& Value) {
    if (!Value)
        return false;
    const auto ids = SplitDesktopList(*Value);
    return !ids.empty() && ids.front() == DesktopEntryId;
}

// Takes the player's id out of a type's added associations, as they were before it was put first.
void DropAddedAssociation(DesktopKeyFile& Links, const std::string& Type) {
    const auto added = Links.Value(AddedGroup, Type);
    if (!added)
        return;
    const std::string first = std::string(DesktopEntryId) + ";";
    std::string rest;
    if (StartsWith(*added, first)) {
        rest = added->substr(first.size());
    } else {
        auto ids = SplitDesktopList(*added);
        if (std::erase(ids, DesktopEntryId) == 0)
            return;
        for (const std::string& id : ids)
            rest += id + ";";
    }
    if (SplitDesktopList(rest).empty())
        Links.Remove(AddedGroup, Type);
    else
        Links.SetValue(AddedGroup, Type, rest);
}

} // namespace

std::vector<std::string> MimeTypesOfExtension(const std::string& Ext) {
    if (!IsExtension(Ext))
        return {};
    const QMimeDatabase database;
    std::vector<std::string> all, media;
    for (const QMimeType& type : database.mimeTypesForFileName(QString::fromStdString("file" + Ext))) {
        const std::string name = type.name().toStdString();
        all.push_back(name);
        if (StartsWith(name, "audio/") || StartsWith(name, "video/"))
            media.push_back(name);
    }
    // A name some other files share (".ts": video/mp2t, and the translations of Qt programs) opens with the
    // player as media only: a file manager tells the others apart by their contents.
    if (!media.empty())
        return media;
    if (!all.empty())
        return all;
    return {std::string(OwnTypePrefix) + LowerAscii(Ext.substr(1))};
}

std::string DesktopExecLine(const std::string& Program, const std::vector<std::string>& Arguments) {
    std::string line = ExecArgument(Program);
    for (const std::string& argument : Arguments)
        line += " " + argument;
    return EscapedValue(line);
}

std::string XdgDesktopLinks::LinkExtensions(const std::vector<std::string>& Extensions,
                                            const LinkedProgram& Program) {
    const std::string config = XdgConfigHome();
    const std::string data = XdgDataHome();
    if (config.empty() || data.empty())
        return "there is no home folder to keep them in";
    std::string mimeapps = config + "/mimeapps.list";
    // A mimeapps.list that links to a file elsewhere (kept with other settings) is written there.
    std::error_code linkError;
    if (std::filesystem::is_symlink(mimeapps, linkError)) {
        const auto target = std::filesystem::weakly_canonical(mimeapps, linkError);
        // A link that leads nowhere readable (a loop) is read as it is, and its failure said.
        if (!linkError && !target.empty())
            mimeapps = target.string();
    }
    FileChange package{data + "/mime/packages/tarvexdvd.xml", {}, {}};
    FileChange entry{data + "/applications/" + DesktopEntryId, {}, {}};
    FileChange record{config + "/TarvexDvd/desktop-links", {}, {}};
    FileChange links{mimeapps, {}, {}};
    std::string failure;
    for (FileChange* file : {&package, &entry, &record, &links}) {
        RemoveStaleTemporaries(file->path);
        if (!ReadIfThere(file->path, file->before, failure))
            return failure;
    }

    std::set<std::string> types;
    std::map<std::string, std::set<std::string>> ownTypes;
    for (const std::string& ext : Extensions)
        for (const std::string& type : MimeTypesOfExtension(ext)) {
            types.insert(type);
            if (StartsWith(type, OwnTypePrefix))
                ownTypes[type].insert("*." + LowerAscii(ext.substr(1)));
        }

    // The types linked so far, each with the default it had before.
    const DesktopKeyFile kept(record.before.value_or(""));
    std::map<std::string, std::string> previous;
    for (const std::string& type : kept.Keys(LinkedTypesGroup))
        previous[type] = kept.Value(LinkedTypesGroup, type).value_or("");

    DesktopKeyFile defaults(links.before.value_or(""));
    for (const std::string& type : types) {
        if (previous.count(type) != 0)
            continue;
        const auto old = defaults.Value(DefaultsGroup, type);
        previous[type] = old && !IsOurs(old) && !SplitDesktopList(*old).empty() ? *old : "";
        defaults.SetValue(DefaultsGroup, type, DesktopEntryId);
        const auto added = defaults.Value(AddedGroup, type);
        const auto addedIds = SplitDesktopList(added.value_or(""));
        if (std::find(addedIds.begin(), addedIds.end(), DesktopEntryId) == addedIds.end())
            defaults.SetValue(AddedGroup, type, std::string(DesktopEntryId) + ";" + added.value_or(""));
    }
    for (auto type = previous.begin(); type != previous.end();) {
        if (types.count(type->first) != 0) {
            ++type;
            continue;
        }
        if (IsOurs(defaults.Value(DefaultsGroup, type->first))) {
            if (type->second.empty())
                defaults.Remove(DefaultsGroup, type->first);
            else
                defaults.SetValue(DefaultsGroup, type->first, type->second);
        }
        DropAddedAssociation(defaults, type->first);
        type = previous.erase(type);
        // A group the links added goes with their last line.
        defaults.RemoveGroupIfEmpty(AddedGroup);
        defaults.RemoveGroupIfEmpty(DefaultsGroup);
    }

    if (!ownTypes.empty())
        package.after = PackageText(ownTypes);
    if (!types.empty())
        entry.after = EntryText(types, Program);
    if (!previous.empty())
        record.after = RecordText(previous);
    links.after = defaults.Text();
    if (!links.before && links.after->empty())
        links.after.reset();

    // What a failure finds done is put back. The user's MIME database comes last: it is the one file whose
    // putting back (another run of update-mime-database) changes more than the file itself.
    const std::string mimeFolder = data + "/mime";
    std::vector<const FileChange*> done;
    auto undo = [&] {
        for (auto file = done.rbegin(); file != done.rend(); ++file) {
            std::string ignored;
            Replace((*file)->path, (*file)->before, ignored);
            if (*file == &package)
                UpdateMimeDatabase(mimeFolder);
        }
    };
    for (const FileChange* file : {&entry, &record, &links, &package}) {
        if (file->after == file->before)
            continue;
        if (!Replace(file->path, file->after, failure)) {
            undo();
            return failure;
        }
        done.push_back(file);
        if (file == &package && !UpdateMimeDatabase(mimeFolder)) {
            undo();
            return "the MIME database in \"" + mimeFolder + "\" cannot be updated (update-mime-database)";
        }
    }
    return "";
}

std::string FakeDesktopLinks::LinkExtensions(const std::vector<std::string>& Extensions,
                                             const LinkedProgram& Program) {
    Calls.push_back(Extensions);
    LastProgram = Program;
    std::string line = "DesktopLinks";
    for (const std::string& ext : Extensions)
        line += " " + ext;
    AppendFakeLog(line);
    return Failure;
}

namespace {

DesktopLinkService* chosenService = nullptr;

DesktopLinkService& DefaultDesktopLinkService() {
    static XdgDesktopLinks xdg;
    static FakeDesktopLinks fake;
    if (FakeRequested("QUOREL_DESKTOP_LINKS"))
        return fake;
    return xdg;
}

} // namespace

DesktopLinkService& GetDesktopLinkService() {
    return chosenService != nullptr ? *chosenService : DefaultDesktopLinkService();
}

void SetDesktopLinkService(DesktopLinkService* Service) {
    chosenService = Service;
}

} // namespace win32
