#include "platform/win32/Registry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;
using win32::HKEY_CLASSES_ROOT;
using win32::HKEY_CURRENT_USER;
using win32::RegistryStatus;
using win32::RegistryStore;

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("config/TarvexDvd/registry");
    RegistryStore store{path};
};

TEST_F(RegistryStoreTest, KeyNamesIgnoreCaseAndEmptyNamesAndCreateTheirParents) {
    ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, "\\Software\\HurlvanWebCapture"), RegistryStatus::Ok);
    struct Case {
        win32::HKEY root;
        const char* key;
        bool exists;
    };
    for (const Case& c : {
             Case{HKEY_CURRENT_USER, "Software\\HurlvanWebCapture", true},
             Case{HKEY_CURRENT_USER, "software\\HURLVANWEBCAPTURE", true},
             Case{HKEY_CURRENT_USER, "\\Software\\\\HurlvanWebCapture\\", true},
             Case{HKEY_CURRENT_USER, "Software", true},
             Case{HKEY_CURRENT_USER, "", true},
             Case{HKEY_CURRENT_USER, "Software\\Hurlvan", false},
             Case{HKEY_CURRENT_USER, "Software\\HurlvanWebCapture\\Below", false},
             Case{HKEY_CLASSES_ROOT, "Software\\HurlvanWebCapture", false},
             Case{reinterpret_cast<win32::HKEY>(std::uintptr_t{0x80000002u}), "Software", false},
         })
        EXPECT_EQ(store.KeyExists(c.root, c.key), c.exists) << c.key;
}

TEST_F(RegistryStoreTest, ValuesAreWrittenReplacedAndDeletedByNameWithoutRegardToCase) {
    EXPECT_EQ(store.WriteString(HKEY_CURRENT_USER, "A", "x", "1"), RegistryStatus::NotFound)
        << "a value needs its key";
    EXPECT_FALSE(std::filesystem::exists(path)) << "a failed change writes nothing";
    ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Ok);
    EXPECT_EQ(store.WriteString(HKEY_CURRENT_USER, "A", "Name", "first"), RegistryStatus::Ok);
    EXPECT_EQ(store.WriteString(HKEY_CURRENT_USER, "a", "NAME", "second"), RegistryStatus::Ok);
    EXPECT_EQ(store.WriteString(HKEY_CURRENT_USER, "A", "", "default"), RegistryStatus::Ok);
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", "name"), "second");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", ""), "default");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", "Other"), std::nullopt);
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, "A", "Name"), std::nullopt) << "roots are apart";

    EXPECT_EQ(store.DeleteValue(HKEY_CURRENT_USER, "A", "nAmE"), RegistryStatus::Ok);
    EXPECT_EQ(store.DeleteValue(HKEY_CURRENT_USER, "A", "Name"), RegistryStatus::NotFound);
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", "Name"), std::nullopt);
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", ""), "default");
}

TEST_F(RegistryStoreTest, EveryByteButNulSurvivesTheFile) {
    const std::string awkward[] = {"plain",
                                   "with \"quotes\" and \\back\\slashes\\",
                                   "line\r\nends\rand\ttabs",
                                   "=]@[\"=",
                                   "使用“Quorel播放”播放该文件",
                                   "\x01\x7F\xFF",
                                   ""};
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".mkv\\Shell\\Open ] [x]"), RegistryStatus::Ok);
    for (const std::string& text : awkward)
        ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".mkv\\Shell\\Open ] [x]", text + "#", text),
                  RegistryStatus::Ok);
    RegistryStore again(path);
    for (const std::string& text : awkward)
        EXPECT_EQ(again.ReadString(HKEY_CLASSES_ROOT, ".MKV\\shell\\open ] [X]", text + "#"), text);
}

TEST_F(RegistryStoreTest, TheFileIsTextAUserCanRead) {
    ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, "Software\\HurlvanWebCapture"), RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CURRENT_USER, "Software\\HurlvanWebCapture", "Path", "C:\\x \"y\"\n"),
              RegistryStatus::Ok);
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".avi"), RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".avi", "", "TarvexDVD.avi"), RegistryStatus::Ok);
    EXPECT_EQ(ReadFile(path), "TarvexDvd registry 1\n"
                              "\n[HKEY_CURRENT_USER\\Software]\n"
                              "\n[HKEY_CURRENT_USER\\Software\\HurlvanWebCapture]\n"
                              "\"Path\"=\"C:\\\\x \\\"y\\\"\\x0A\"\n"
                              "\n[HKEY_CLASSES_ROOT\\.avi]\n"
                              "@=\"TarvexDVD.avi\"\n");
}

TEST_F(RegistryStoreTest, AHandWrittenFileWithCrLfAndBlankLinesIsRead) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFile(path, "TarvexDvd registry 1\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"x\"=\"1\"\r\n@=\"d\"\r\n\r\n"
                    "[HKEY_CURRENT_USER]\r\n\"top\"=\"t\"\r\n");
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "A")) << "a stored key's parents exist";
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A\\B", "x"), "1");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A\\B", ""), "d");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "", "top"), "t");
}

TEST_F(RegistryStoreTest, DeletingAKeyTakesWhatIsBelowItAndKeepsItsParent) {
    for (const char* key : {"P\\K\\C1", "P\\K\\C2\\D", "P\\Kx", "Q"})
        ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, key), RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CURRENT_USER, "P\\K", "v", "1"), RegistryStatus::Ok);
    EXPECT_EQ(store.DeleteKey(HKEY_CURRENT_USER, "p\\k"), RegistryStatus::Ok);
    for (const char* gone : {"P\\K", "P\\K\\C1", "P\\K\\C2", "P\\K\\C2\\D"})
        EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, gone)) << gone;
    for (const char* kept : {"P", "P\\Kx", "Q"})
        EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, kept)) << kept;
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "P\\K"), RegistryStatus::Ok);
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "P\\K", "v"), std::nullopt) << "a new key is empty";
    using Names = std::vector<std::string>;
    EXPECT_EQ(store.SubKeyNames(HKEY_CURRENT_USER, "p"), (Names{"Kx", "K"})) << "in the order made";
    EXPECT_EQ(store.SubKeyNames(HKEY_CURRENT_USER, ""), (Names{"P", "Q"}));
    EXPECT_EQ(store.SubKeyNames(HKEY_CURRENT_USER, "P\\K"), Names{});
    EXPECT_EQ(store.SubKeyNames(HKEY_CURRENT_USER, "Missing"), Names{});

    EXPECT_EQ(store.DeleteKey(HKEY_CURRENT_USER, "Missing"), RegistryStatus::NotFound);
    EXPECT_EQ(store.DeleteKey(HKEY_CURRENT_USER, "\\"), RegistryStatus::BadName) << "the root stays";
}

TEST_F(RegistryStoreTest, KeyNamesWithControlCharactersAndUnknownRootsAreRefused) {
    const auto unknownRoot = reinterpret_cast<win32::HKEY>(std::uintptr_t{5});
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A\nB"), RegistryStatus::BadName);
    EXPECT_EQ(store.CreateKey(unknownRoot, "A"), RegistryStatus::BadName);
    EXPECT_EQ(store.WriteString(unknownRoot, "", "x", "1"), RegistryStatus::BadName);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RegistryStoreTest, ReadingWritesNothing) {
    EXPECT_TRUE(store.Readable()) << "no file is an empty store";
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A"));
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", "x"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).parent_path()));
}

TEST_F(RegistryStoreTest, AChangeReplacesTheFileInsteadOfRewritingIt) {
    ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Ok);
    const std::string before = ReadFile(path);
    std::filesystem::create_hard_link(path, dir.File("second-name"));
    ASSERT_EQ(store.WriteString(HKEY_CURRENT_USER, "A", "x", "1"), RegistryStatus::Ok);
    EXPECT_EQ(ReadFile(dir.File("second-name")), before);
    EXPECT_NE(ReadFile(path), before);
}

// A batch keeps its changes in memory, where every store object on the file reads them, and writes the file
// once at the end of the outermost batch; a batch that changed nothing writes nothing.
TEST_F(RegistryStoreTest, ABatchWritesItsChangesOnceAtItsEnd) {
    ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".mkv"), RegistryStatus::Ok);
    const std::string before = ReadFile(path);
    RegistryStore other(path);
    store.BeginBatch();
    other.BeginBatch();
    EXPECT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".mkv", "", "TarvexDVD.mkv"), RegistryStatus::Ok);
    EXPECT_EQ(other.CreateKey(HKEY_CLASSES_ROOT, "TarvexDVD.mkv\\Shell"), RegistryStatus::Ok);
    EXPECT_EQ(other.ReadString(HKEY_CLASSES_ROOT, ".mkv", ""), "TarvexDVD.mkv");
    EXPECT_TRUE(store.KeyExists(HKEY_CLASSES_ROOT, "TarvexDVD.mkv\\Shell"));
    EXPECT_EQ(other.EndBatch(), RegistryStatus::Ok);
    EXPECT_EQ(ReadFile(path), before) << "an inner batch writes nothing";
    EXPECT_EQ(store.EndBatch(), RegistryStatus::Ok);
    RegistryStore fresh(path);
    EXPECT_EQ(fresh.ReadString(HKEY_CLASSES_ROOT, ".mkv", ""), "TarvexDVD.mkv");
    EXPECT_TRUE(fresh.KeyExists(HKEY_CLASSES_ROOT, "TarvexDVD.mkv\\Shell"));

    const auto written = std::filesystem::last_write_time(path);
    std::filesystem::create_hard_link(path, dir.File("second-name"));
    store.BeginBatch();
    EXPECT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, ".mkv"), RegistryStatus::Ok);
    EXPECT_EQ(store.EndBatch(), RegistryStatus::Ok);
    EXPECT_EQ(std::filesystem::hard_link_count(path), 2u) << "not replaced";
    EXPECT_EQ(std::filesystem::last_write_time(path), written);

    // A cancelled batch ends at once, however deep, and its changes are gone.
    store.BeginBatch();
    other.BeginBatch();
    EXPECT_EQ(other.WriteString(HKEY_CLASSES_ROOT, ".mkv", "", "Other.mkv"), RegistryStatus::Ok);
    store.CancelBatch();
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, ".mkv", ""), "TarvexDVD.mkv");
    EXPECT_EQ(other.EndBatch(), RegistryStatus::Ok);
    EXPECT_EQ(store.EndBatch(), RegistryStatus::Ok);
    EXPECT_EQ(std::filesystem::hard_link_count(path), 2u) << "not replaced";
}

TEST(RegistryStoreFailures, ABatchThatCannotBeWrittenReportsItAtItsEnd) {
    TempDir dir;
    WriteFile(dir.File("file"), "a file where the store's folder should be");
    RegistryStore store(dir.File("file/TarvexDvd/registry"));
    store.BeginBatch();
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Ok);
    EXPECT_EQ(store.EndBatch(), RegistryStatus::WriteFailed);
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A"));

    WriteFile(dir.File("damaged"), "not a store\n");
    RegistryStore damaged(dir.File("damaged"));
    damaged.BeginBatch();
    EXPECT_EQ(damaged.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Unreadable);
    EXPECT_EQ(damaged.EndBatch(), RegistryStatus::Ok);
    EXPECT_EQ(ReadFile(dir.File("damaged")), "not a store\n");
}

struct DamagedCase {
    const char* name;
    const char* contents;
};

void PrintTo(const DamagedCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

class DamagedStoreTest : public ::testing::TestWithParam<DamagedCase> {};

// A store that is not in the format reads as empty and is kept as it is for the user to mend: every change
// fails instead of replacing it with what could be read.
TEST_P(DamagedStoreTest, ReadsAsEmptyAndIsNeverWrittenOver) {
    TempDir dir;
    const std::string path = dir.File("registry");
    WriteFile(path, GetParam().contents);
    RegistryStore store(path);
    EXPECT_FALSE(store.Readable());
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A"));
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "A", "x"), std::nullopt);
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "B"), RegistryStatus::Unreadable);
    EXPECT_EQ(store.WriteString(HKEY_CURRENT_USER, "A", "x", "2"), RegistryStatus::Unreadable);
    EXPECT_EQ(store.DeleteValue(HKEY_CURRENT_USER, "A", "x"), RegistryStatus::Unreadable);
    EXPECT_EQ(store.DeleteKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Unreadable);
    EXPECT_EQ(ReadFile(path), GetParam().contents);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedStoreTest,
    ::testing::Values(
        DamagedCase{"NoHeader", "[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n"},
        DamagedCase{"OtherVersion", "TarvexDvd registry 2\n[HKEY_CURRENT_USER\\A]\n"},
        DamagedCase{"UnknownRoot", "TarvexDvd registry 1\n[HKEY_LOCAL_MACHINE\\A]\n"},
        DamagedCase{"UnclosedKeyLine", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A\n"},
        DamagedCase{"ValueBeforeAnyKey", "TarvexDvd registry 1\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\A]\n"},
        DamagedCase{"UnclosedQuote", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\n"},
        DamagedCase{"UnknownEscape", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"\\q\"\n"},
        DamagedCase{"ShortHexEscape", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"\\x4\"\n"},
        DamagedCase{"TextAfterValue", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\" junk\n"},
        DamagedCase{"NoEquals", "TarvexDvd registry 1\n[HKEY_CURRENT_USER\\A]\n\"x\"\n"},
        DamagedCase{"BinaryJunk", "\x89PNG\r\n\x1A\n"}),
    [](const auto& Info) { return std::string(Info.param.name); });

TEST(RegistryStoreFailures, AFolderInTheStoresPlaceReadsAsEmptyAndRefusesChanges) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("registry"));
    RegistryStore store(dir.File("registry"));
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A"));
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Unreadable);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("registry")));
}

TEST(RegistryStoreFailures, AStoreThatCannotBeWrittenReportsItAndKeepsNothingHalfDone) {
    TempDir dir;
    WriteFile(dir.File("file"), "a file where the store's folder should be");
    RegistryStore store(dir.File("file/TarvexDvd/registry"));
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::WriteFailed);
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A"));
    EXPECT_EQ(ReadFile(dir.File("file")), "a file where the store's folder should be");

    RegistryStore nowhere("");
    EXPECT_EQ(nowhere.CreateKey(HKEY_CURRENT_USER, "A"), RegistryStatus::Unreadable);
}

TEST(UserRegistryStorePath, FollowsTheConfigurationFolderOfTheUser) {
    struct Case {
        const char* config;
        const char* home;
        const char* expected;
    };
    for (const Case& c : {
             Case{"/x/config", "/home/u", "/x/config/TarvexDvd/registry"},
             Case{nullptr, "/home/u", "/home/u/.config/TarvexDvd/registry"},
             Case{"", "/home/u", "/home/u/.config/TarvexDvd/registry"},
             Case{"relative/config", "/home/u", "/home/u/.config/TarvexDvd/registry"},
             Case{nullptr, nullptr, ""},
         }) {
        ScopedEnv config("XDG_CONFIG_HOME", c.config);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(win32::UserRegistryStorePath(), c.expected)
            << (c.config ? c.config : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

} // namespace
