#include "platform/forms/Registry.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

using forms::ERegistryException;
using forms::TRegistry;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;
using win32::HKEY_CLASSES_ROOT;
using win32::HKEY_CURRENT_USER;

namespace {

class TRegistryTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("registry");
    win32::RegistryStore store{path};
};

TEST_F(TRegistryTest, KeyNamesAreTakenFromTheOpenKeyUnlessTheyBeginWithABackslash) {
    TRegistry reg(path);
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Maker", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Maker");
    ASSERT_TRUE(reg.OpenKey("Child", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Maker\\Child");
    EXPECT_TRUE(reg.KeyExists("\\Software\\Maker"));
    EXPECT_FALSE(reg.KeyExists("Maker")) << "relative to Software\\Maker\\Child";
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.KeyExists("Maker\\Child"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_TRUE(reg.KeyExists("Software\\Maker")) << "with no key open, names start at the root";
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "Software\\Maker\\Child"));
}

TEST_F(TRegistryTest, OpenKeyCreatesOnlyWhenAllowed) {
    TRegistry reg(path);
    EXPECT_FALSE(reg.OpenKey("\\Software\\Missing", false));
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software\\Missing"));
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "Software"));
    EXPECT_TRUE(reg.OpenKey("\\Software\\Missing", true));
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "Software\\Missing"));
}

TEST_F(TRegistryTest, ValuesOfTheOpenKeyOrOfTheRoot) {
    TRegistry reg(path);
    reg.WriteString("AtRoot", "r");
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.WriteString("Name", "one");
    reg.WriteString("name", "two");
    reg.WriteString("", "default");
    EXPECT_EQ(reg.ReadString("NAME"), "two");
    EXPECT_EQ(reg.ReadString(""), "default");
    EXPECT_EQ(reg.ReadString("Missing"), "") << "a missing value reads as empty text";
    EXPECT_TRUE(reg.ValueExists("Name"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_FALSE(reg.ValueExists("AtRoot"));
    EXPECT_TRUE(reg.DeleteValue("Name"));
    EXPECT_FALSE(reg.DeleteValue("Name"));
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "", "AtRoot"), "r");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "K", ""), "default");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "K", "Name"), std::nullopt);
}

TEST_F(TRegistryTest, RootKeysAreApartAndChangingTheRootClosesTheKey) {
    TRegistry reg(path);
    ASSERT_TRUE(reg.OpenKey("\\.mkv", true));
    reg.WriteString("", "user");
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_FALSE(reg.KeyExists(".mkv"));
    ASSERT_TRUE(reg.OpenKey(".mkv", true));
    reg.WriteString("", "TarvexDVD.mkv");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, ".mkv", ""), "user");
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, ".mkv", ""), "TarvexDVD.mkv");
}

TEST_F(TRegistryTest, CreateAndDeleteKeys) {
    TRegistry reg(path);
    EXPECT_TRUE(reg.CreateKey("\\A\\B"));
    ASSERT_TRUE(reg.OpenKey("\\A", false));
    EXPECT_TRUE(reg.KeyExists("B"));
    EXPECT_TRUE(reg.DeleteKey("B"));
    EXPECT_FALSE(reg.DeleteKey("B"));
    EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "A\\B"));
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "A"));

    for (const char* key : {"\\A\\Y", "\\A\\X", "\\Z"})
        EXPECT_TRUE(reg.CreateKey(key));
    forms::TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"Y", "X"})) << "below the open key";
    reg.CloseKey();
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"A", "Z"})) << "below the root";
}

TEST_F(TRegistryTest, AKeyOpenedForReadingRefusesChanges) {
    ASSERT_EQ(store.CreateKey(HKEY_CURRENT_USER, "K"), win32::RegistryStatus::Ok);
    ASSERT_EQ(store.WriteString(HKEY_CURRENT_USER, "K", "x", "1"), win32::RegistryStatus::Ok);
    TRegistry reg(path);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(reg.ReadString("x"), "1");
    EXPECT_THROW(reg.WriteString("x", "2"), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("x"));
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "K", "x"), "1");
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    reg.WriteString("x", "2");
    EXPECT_EQ(store.ReadString(HKEY_CURRENT_USER, "K", "x"), "2");
}

TEST_F(TRegistryTest, AStoreThatCannotBeChangedRaisesAClearErrorAndStaysAsItWas) {
    WriteFile(path, "not a registry store\n");
    TRegistry reg(path);
    EXPECT_FALSE(reg.StoreReadable());
    EXPECT_EQ(reg.StorePath(), path);
    EXPECT_FALSE(reg.OpenKey("\\K", true));
    EXPECT_THROW(reg.CreateKey("\\K"), ERegistryException);
    try {
        reg.WriteString("Name", "v");
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to set data for 'Name': the registry store cannot be read");
    }
    EXPECT_EQ(ReadFile(path), "not a registry store\n");
}

TEST(TRegistryStore, TheDefaultStoreIsTheUsersOwn) {
    TempDir dir;
    {
        ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\X", true));
        reg.WriteString("v", "1");
    }
    EXPECT_EQ(win32::RegistryStore(dir.File("TarvexDvd/registry"))
                  .ReadString(HKEY_CURRENT_USER, "Software\\X", "v"),
              "1");
}

// An update makes many changes one write; EndUpdate raises when that write fails, and an update left open
// ends with the object.
TEST_F(TRegistryTest, AnUpdateWritesOnceAndRaisesWhenTheWriteFails) {
    {
        TRegistry reg(path);
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.BeginUpdate();
        ASSERT_TRUE(reg.OpenKey(".mkv", true));
        reg.WriteString("", "TarvexDVD.mkv");
        EXPECT_FALSE(std::filesystem::exists(path));
        TRegistry reader(path);
        reader.SetRootKey(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reader.OpenKeyReadOnly(".mkv"));
        EXPECT_EQ(reader.ReadString(""), "TarvexDVD.mkv");
        reg.EndUpdate();
        EXPECT_TRUE(std::filesystem::exists(path));
        reg.BeginUpdate();
        reg.WriteString("x", "1");
    }
    EXPECT_EQ(store.ReadString(HKEY_CLASSES_ROOT, ".mkv", "x"), "1");

    TempDir other;
    WriteFile(other.File("file"), "a file where the store's folder should be");
    TRegistry failing(other.File("file/registry"));
    failing.BeginUpdate();
    ASSERT_TRUE(failing.OpenKey("A", true));
    EXPECT_THROW(failing.EndUpdate(), ERegistryException);
    EXPECT_FALSE(failing.KeyExists("\\A"));
}

// A cancelled update writes nothing, and the object can begin another.
TEST_F(TRegistryTest, ACancelledUpdateWritesNothing) {
    TRegistry reg(path);
    reg.BeginUpdate();
    reg.BeginUpdate();
    ASSERT_TRUE(reg.OpenKey("\\A", true));
    reg.WriteString("x", "1");
    reg.CancelUpdate();
    EXPECT_FALSE(reg.KeyExists("\\A"));
    EXPECT_FALSE(std::filesystem::exists(path));
    reg.EndUpdate();
    reg.BeginUpdate();
    ASSERT_TRUE(reg.OpenKey("\\B", true));
    reg.EndUpdate();
    EXPECT_TRUE(store.KeyExists(HKEY_CURRENT_USER, "B"));
}

} // namespace
