#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace testing_support {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/quorel-test-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& Path, const std::string& Contents) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << "cannot write " << Path;
    out << Contents;
}

std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    try {
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return {}; // a folder in the file's place opens but fails its read
    }
}

} // namespace testing_support
