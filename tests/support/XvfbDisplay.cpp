#include "tests/support/XvfbDisplay.h"

#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

XvfbDisplay::XvfbDisplay(int Width, int Height) {
    const std::string screen = std::to_string(Width) + "x" + std::to_string(Height) + "x24";
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                 "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // The server writes its display number once it is ready for clients.
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&wait, 1, 20000) > 0) {
        char c = 0;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (!number.empty())
        name_ = ":" + number;
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

} // namespace testing_support
