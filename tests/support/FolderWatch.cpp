#include "tests/support/FolderWatch.h"

#include <cerrno>

#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace testing_support {

FolderWatch::FolderWatch(const std::string& Folder) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    EXPECT_GE(fd_, 0) << "inotify";
    if (fd_ >= 0) {
        // The closes are watched too: the kernel folds an event into the one before it when they are the
        // same, and an open is followed by its close.
        EXPECT_GE(::inotify_add_watch(fd_, Folder.c_str(), IN_OPEN | IN_CLOSE | IN_CREATE | IN_MOVED_TO), 0)
            << Folder;
    }
}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FolderWatch::Drain() {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {
                const std::string name = event->name;
                if (event->mask & IN_OPEN)
                    ++opens_[name];
                if (event->mask & IN_MOVED_TO)
                    ++movedIn_[name];
            }
            EXPECT_EQ(event->mask & IN_Q_OVERFLOW, 0u) << "events were lost";
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

int FolderWatch::Opens(const std::string& Name) {
    Drain();
    return opens_[Name];
}

int FolderWatch::MovedIn(const std::string& Name) {
    Drain();
    return movedIn_[Name];
}

void FolderWatch::Clear() {
    Drain();
    opens_.clear();
    movedIn_.clear();
}

} // namespace testing_support
