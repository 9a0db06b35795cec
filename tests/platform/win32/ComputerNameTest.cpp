#include "platform/win32/ComputerName.h"

#include <climits>
#include <fstream>
#include <string>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(GetComputerName, IsTheWholeHostName) {
    char expected[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(expected, sizeof expected), 0);
    EXPECT_EQ(win32::GetComputerName(), expected);
}

// The child's exit codes.
constexpr int NameMatched = 0, NameDiffered = 1, NoNamespace = 2;

bool WriteProcFile(const std::string& Path, const std::string& Text) {
    std::ofstream file(Path);
    file << Text;
    file.flush();
    return static_cast<bool>(file);
}

// A host name of its own for this (single-threaded, forked) process: a new UTS namespace, inside a new user
// namespace when the process may not make one by itself.
bool OwnHostName() {
    if (::unshare(CLONE_NEWUTS) == 0)
        return true;
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    return ::unshare(CLONE_NEWUSER | CLONE_NEWUTS) == 0 && WriteProcFile("/proc/self/setgroups", "deny") &&
           WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

// The longest names the system allows are read in full: the machine's own name is rarely long enough to
// show it, so a child process gets a name of each length to read back.
TEST(GetComputerName, ReadsNamesUpToTheSystemsLimitUncut) {
    for (const std::size_t length : {std::size_t{15}, std::size_t{16}, std::size_t{40},
                                     std::size_t{HOST_NAME_MAX - 1}, std::size_t{HOST_NAME_MAX}}) {
        std::string name;
        for (std::size_t i = 0; i < length; ++i)
            name += static_cast<char>('a' + i % 26);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            if (!OwnHostName() || ::sethostname(name.c_str(), name.size()) != 0)
                ::_exit(NoNamespace);
            ::_exit(win32::GetComputerName() == name ? NameMatched : NameDiffered);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == NoNamespace)
            GTEST_SKIP() << "this system gives a process no host name of its own";
        EXPECT_EQ(WEXITSTATUS(status), NameMatched) << "a name of " << length << " characters";
    }
}

} // namespace
