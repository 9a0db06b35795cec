#include "tests/support/XdgHome.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <gtest/gtest.h>

namespace testing_support {
namespace {

// Text as one word of a shell command.
std::string ShellWord(const std::string& Text) {
    std::string word = "'";
    for (char c : Text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::string Folder(const TempDir& Dir, const char* Name) {
    std::filesystem::create_directories(Dir.File(Name));
    return Dir.File(Name);
}

} // namespace

XdgHome::XdgHome()
    : home_("HOME", dir_.Path().c_str()), config_("XDG_CONFIG_HOME", Folder(dir_, "config").c_str()),
      data_("XDG_DATA_HOME", Folder(dir_, "data").c_str()),
      dataDirs_("XDG_DATA_DIRS", Folder(dir_, "system").c_str()),
      configDirs_("XDG_CONFIG_DIRS", Folder(dir_, "system-config").c_str()),
      desktop_("XDG_CURRENT_DESKTOP", "X-Generic") {
    std::filesystem::create_directory_symlink("/usr/share/mime", dir_.File("system/mime"));
}

std::vector<std::string> XdgHome::Environment() const {
    return {"HOME=" + Home(),
            "XDG_CONFIG_HOME=" + Config(),
            "XDG_DATA_HOME=" + Data(),
            "XDG_DATA_DIRS=" + dir_.File("system"),
            "XDG_CONFIG_DIRS=" + dir_.File("system-config"),
            "XDG_CURRENT_DESKTOP=X-Generic"};
}

std::string XdgHome::Run(const std::string& Command) const {
    // A clean environment: the tools must find nothing of the machine's desktop session.
    std::string line = "env -i PATH=/usr/bin:/bin";
    for (const std::string& entry : Environment())
        line += " " + ShellWord(entry);
    line += " " + Command + " 2>&1";
    std::string output;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr)
        return "(could not run " + Command + ")";
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr)
        output += buffer.data();
    ::pclose(pipe);
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

std::string XdgHome::QueryDefault(const std::string& Type) const {
    return Run("xdg-mime query default " + ShellWord(Type));
}

std::string XdgHome::ContentType(const std::string& File) const {
    const std::string said = Run("gio info -a standard::content-type " + ShellWord(File));
    const std::string key = "standard::content-type: ";
    const auto at = said.find(key);
    return at == std::string::npos ? said
                                   : said.substr(at + key.size(), said.find('\n', at) - at - key.size());
}

std::string XdgHome::ValidateEntry(const std::string& Entry) const {
    const std::string said = Run("desktop-file-validate " + ShellWord(Entry));
    // Hints are advice, not errors.
    std::string errors;
    std::size_t at = 0;
    while (at < said.size()) {
        const std::size_t end = std::min(said.find('\n', at), said.size());
        const std::string line = said.substr(at, end - at);
        if (line.find("hint:") == std::string::npos)
            errors += line + "\n";
        at = end + 1;
    }
    return errors;
}

void XdgHome::WriteOtherEntry(const std::string& Id, const std::string& Program,
                              const std::string& Types) const {
    std::filesystem::create_directories(Applications());
    WriteFile(Applications() + "/" + Id, "[Desktop Entry]\nType=Application\nName=Other\nExec=" + Program +
                                             " %f\nMimeType=" + Types + "\n");
}

pid_t OpenWithDesktopEntry(const std::string& Entry, const std::string& File,
                           const std::vector<std::string>& Environment, std::string& Error) {
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(Entry.c_str());
    if (info == nullptr) {
        Error = "GIO does not take the entry (its program must exist)";
        return -1;
    }
    GAppLaunchContext* context = g_app_launch_context_new();
    for (const std::string& entry : Environment) {
        const auto equals = entry.find('=');
        g_app_launch_context_setenv(context, entry.substr(0, equals).c_str(),
                                    entry.substr(equals + 1).c_str());
    }
    GFile* file = g_file_new_for_path(File.c_str());
    char* uri = g_file_get_uri(file);
    GList* uris = g_list_append(nullptr, uri);
    pid_t pid = -1;
    GError* error = nullptr;
    const auto started = [](GDesktopAppInfo*, GPid Pid, gpointer Data) { *static_cast<pid_t*>(Data) = Pid; };
    if (!g_desktop_app_info_launch_uris_as_manager(info, uris, context, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                                   nullptr, started, &pid, &error)) {
        Error = error != nullptr ? error->message : "the launch failed";
        pid = -1;
    }
    if (error != nullptr)
        g_error_free(error);
    g_list_free(uris);
    g_free(uri);
    g_object_unref(file);
    g_object_unref(context);
    g_object_unref(info);
    return pid;
}

} // namespace testing_support
