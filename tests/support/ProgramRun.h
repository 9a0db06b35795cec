#pragma once
// Runs the built program in a temporary copy of the run tree (Qt's offscreen platform), for end-to-end tests.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/support/TempDir.h"

namespace testing_support {

class ProgramRun {
public:
    // Copies the program, its libraries and the run tree's folders into a new temporary folder, or into a
    // folder of that name inside it (a tree at a path of its own: odd bytes in a folder's name).
    ProgramRun();
    explicit ProgramRun(const std::string& Folder);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    const std::string& Root() const { return root_; }
    std::string File(const std::string& Name) const { return root_ + "/" + Name; }

    // Starts the program with Arguments; extra environment entries are "NAME=value". After a Close the same
    // tree can run the program again.
    void Start(const std::vector<std::string>& Arguments = {}, const std::vector<std::string>& Environment = {});
    // Polls Condition until it holds or Timeout passes; false when it never held.
    bool WaitFor(const std::function<bool()>& Condition,
                 std::chrono::milliseconds Timeout = std::chrono::seconds(20)) const;
    // Asks the program to close as a user would and waits for it; its exit status, or -1 when it had to be killed.
    int Close(std::chrono::milliseconds Timeout = std::chrono::seconds(20));
    bool Running() const;
    // The running program's process (to signal it), -1 before the first start.
    pid_t Pid() const { return pid_; }
    // What the program printed on standard error.
    std::string ErrorOutput() const;

    // The value of Key in the run tree's Ini/Default.ini as text ("" when absent), and a change of it (the
    // key must be there; the test fails otherwise).
    std::string Setting(const std::string& Key) const;
    void SetSetting(const std::string& Key, const std::string& Value) const;

private:
    // Collects the exit status once the program has ended; true when it has.
    bool Reap() const;

    TempDir dir_;
    std::string root_;
    pid_t pid_ = -1;
    mutable bool exited_ = false;
    mutable int exitStatus_ = -1;
};

} // namespace testing_support
