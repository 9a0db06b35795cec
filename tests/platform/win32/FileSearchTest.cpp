#include "platform/win32/FileSearch.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using testing_support::TempDir;
using testing_support::WriteFile;
using namespace win32;

namespace {

// Every kind of entry a folder can hold.
class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        for (const char* name : {"a.txt", "b.TXT", "noext", ".hidden", "readonly.dat"})
            WriteFile(dir.File(name), "12345");
        fs::permissions(dir.File("readonly.dat"), fs::perms::owner_read | fs::perms::group_read);
        fs::create_directory(dir.File("c"));
        fs::create_directory(dir.File(".hiddendir"));
        fs::create_symlink("a.txt", dir.File("link-to-file"));
        fs::create_symlink("c", dir.File("link-to-folder"));
        fs::create_symlink("missing", dir.File("broken-link"));
        ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0644), 0);
    }

    // The names found for Pattern with Attr, in the order found.
    std::vector<std::string> Found(const std::string& Pattern, int Attr) {
        std::vector<std::string> names;
        TSearchRec rec;
        if (FindFirst(dir.File(Pattern), Attr, rec) == 0) {
            do
                names.push_back(rec.Name);
            while (FindNext(rec) == 0);
            FindClose(rec);
        }
        return names;
    }

    // The names of the folder listing that are among Wanted, in the listing's order.
    std::vector<std::string> ListingOrder(const std::vector<std::string>& Wanted) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (std::find(Wanted.begin(), Wanted.end(), name) != Wanted.end())
                names.push_back(name);
        }
        return names;
    }

    TempDir dir;
};

TEST_F(FileSearchTest, TheMaskDecidesAboutFoldersAndHiddenEntriesInTheListingsOrder) {
    const std::vector<std::string> files = {"a.txt", "b.TXT", "noext", "readonly.dat", "link-to-file"};
    struct Case {
        int attr;
        std::vector<std::string> extra; // besides the files; "." and ".." are hidden folders here
    };
    for (const Case& c : {
             Case{0, {}},
             Case{faReadOnly | faSysFile | 0x40, {}},
             Case{faDirectory, {"c", "link-to-folder"}},
             Case{faHidden, {".hidden"}},
             Case{faHidden | faDirectory, {".hidden", "c", "link-to-folder", ".hiddendir", ".", ".."}},
         }) {
        std::vector<std::string> wanted = files;
        wanted.insert(wanted.end(), c.extra.begin(), c.extra.end());
        std::vector<std::string> found = Found("*.*", c.attr);
        const auto dots = std::erase_if(found, [](const std::string& n) { return n == "." || n == ".."; });
        EXPECT_EQ(found, ListingOrder(wanted)) << "mask " << c.attr;
        EXPECT_EQ(dots, (c.attr & faHidden) && (c.attr & faDirectory) ? 2u : 0u) << "mask " << c.attr;
    }
}

TEST_F(FileSearchTest, AttributesAndSizeOfWhatIsFound) {
    struct Case {
        const char* name;
        int attr;
    };
    for (const Case& c : {
             Case{"a.txt", faArchive},
             Case{"readonly.dat", faArchive | faReadOnly},
             Case{".hidden", faArchive | faHidden},
             Case{"c", faDirectory},
             Case{".hiddendir", faDirectory | faHidden},
         }) {
        TSearchRec rec;
        ASSERT_EQ(FindFirst(dir.File(c.name), faAnyFile, rec), 0) << c.name;
        EXPECT_EQ(rec.Name, c.name);
        EXPECT_EQ(rec.Attr, c.attr) << c.name;
        EXPECT_EQ(rec.Size, (c.attr & faDirectory) ? 0 : 5) << c.name;
        EXPECT_NE(FindNext(rec), 0);
        FindClose(rec);
    }
}

TEST_F(FileSearchTest, PatternsMatchWithoutRegardToCase) {
    auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(sorted(Found("*.txt", 0)), (std::vector<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(sorted(Found("?.Txt", 0)), (std::vector<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(sorted(Found("NOEXT", 0)), (std::vector<std::string>{"noext"}));
    EXPECT_EQ(sorted(Found("*", 0)), sorted(Found("*.*", 0))) << "*.* finds names without a dot too";
}

TEST_F(FileSearchTest, NothingFoundLeavesNoOpenSearch) {
    struct Case {
        std::string path;
        int error;
    };
    for (const Case& c : {
             Case{dir.File("*.none"), ENOENT},
             Case{dir.File("missing/*.*"), ENOENT},
             Case{dir.File("a.txt/*.*"), ENOTDIR},
             Case{dir.File(""), ENOENT},
             Case{dir.File("pipe"), ENOENT},
             Case{dir.File("broken-link"), ENOENT},
         }) {
        TSearchRec rec;
        EXPECT_EQ(FindFirst(c.path, faAnyFile, rec), c.error) << c.path;
        EXPECT_EQ(rec.Handle, nullptr) << c.path;
        EXPECT_NE(FindNext(rec), 0) << c.path;
    }
}

} // namespace
