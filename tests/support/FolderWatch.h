#pragma once
// Watches the files of one folder (inotify) and counts, by file name, how often they were opened and how
// often a file was moved into place under that name (an atomic save): the reads and writes a step made, seen
// from outside the program.

#include <map>
#include <string>

namespace testing_support {

class FolderWatch {
public:
    explicit FolderWatch(const std::string& Folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // What happened to Name since the watch began or was last cleared.
    int Opens(const std::string& Name);
    int MovedIn(const std::string& Name);
    void Clear();

private:
    void Drain();

    int fd_ = -1;
    std::map<std::string, int> opens_;
    std::map<std::string, int> movedIn_;
};

} // namespace testing_support
