#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing "/".
    const std::string& Path() const { return path_; }
    // Path() + "/" + Name.
    std::string File(const std::string& Name) const { return path_ + "/" + Name; }

private:
    std::string path_;
};

// Writes Contents to Path (binary); fails the test on error.
void WriteFile(const std::string& Path, const std::string& Contents);
// The whole file, or "" when missing or unreadable.
std::string ReadFile(const std::string& Path);

} // namespace testing_support
