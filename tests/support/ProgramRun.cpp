#include "tests/support/ProgramRun.h"

#include <csignal>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace testing_support {

ProgramRun::ProgramRun() : ProgramRun(std::string()) {}

ProgramRun::ProgramRun(const std::string& Folder) : root_(Folder.empty() ? dir_.Path() : dir_.File(Folder)) {
    // A copy, not a link: the program finds its folders from its own path.
    const fs::path dist = QUOREL_DIST_DIR;
    fs::create_directories(root_);
    for (const auto& entry : fs::directory_iterator(dist)) {
        const auto name = entry.path().filename().string();
        if (name == "Ini" || name == "Project" || name == "Temp" || name == "Lrc")
            continue; // fresh, empty folders below
        fs::copy(entry.path(), File(name), fs::copy_options::recursive);
    }
    for (const char* folder : {"Ini", "Project", "Temp", "Lrc"})
        fs::create_directories(File(folder));
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0 && !Reap()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void ProgramRun::Start(const std::vector<std::string>& Arguments, const std::vector<std::string>& Environment) {
    const std::string program = File("QuorelMain");
    const std::string errorLog = dir_.File("stderr.log");
    // A run tree may see several runs one after the other: each has its own exit.
    exited_ = false;
    exitStatus_ = -1;
    pid_ = ::fork();
    if (pid_ != 0)
        return;
    int fd = ::open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        ::dup2(fd, 2);
        ::close(fd);
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (const auto& entry : Environment)
        ::putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : Arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

bool ProgramRun::WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + Timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Condition();
}

bool ProgramRun::Reap() const {
    if (pid_ <= 0 || exited_)
        return exited_;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_)
        return false;
    exited_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

bool ProgramRun::Running() const { return pid_ > 0 && !Reap(); }

int ProgramRun::Close(std::chrono::milliseconds Timeout) {
    if (pid_ <= 0)
        return -1;
    if (!Reap())
        ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + Timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Reap()) {
            pid_ = -1;
            return exitStatus_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return -1;
}

std::string ProgramRun::ErrorOutput() const { return ReadFile(dir_.File("stderr.log")); }

std::string ProgramRun::Setting(const std::string& Key) const {
    const std::string ini = ReadFile(File("Ini/Default.ini"));
    const auto at = ini.find("\r\n" + Key + "=");
    if (at == std::string::npos)
        return "";
    const auto start = at + 3 + Key.size();
    return ini.substr(start, ini.find("\r\n", start) - start);
}

void ProgramRun::SetSetting(const std::string& Key, const std::string& Value) const {
    std::string ini = ReadFile(File("Ini/Default.ini"));
    const auto at = ini.find("\r\n" + Key + "=");
    ASSERT_NE(at, std::string::npos) << Key;
    const auto start = at + 3 + Key.size();
    ini.replace(start, ini.find("\r\n", start) - start, Value);
    WriteFile(File("Ini/Default.ini"), ini);
}

} // namespace testing_support
