#include "core/Associations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/PlaybackState.h"
#include "platform/forms/Forms.h"
#include "platform/win32/DesktopLinks.h"
#include "platform/win32/MessageBox.h"
#include "tests/support/CaseName.h"
#include "tests/support/TempDir.h"

using forms::TRegistry;
using win32::HKEY_CLASSES_ROOT;

namespace {

class AssociationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlaybackState();
        State.ImagePath = "/opt/player/Image";
        State.Language = Languages::Chinese;
        registry.SetRootKey(HKEY_CLASSES_ROOT);
        win32::SetDesktopLinkService(&desktop);
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& Box) {
            boxes.push_back(Box);
            return win32::IDOK;
        });
    }
    void TearDown() override {
        ResetPlaybackState();
        win32::SetDesktopLinkService(nullptr);
        win32::SetMessageBoxHandler(nullptr);
    }

    // The value Name of Key as the store holds it; nullopt when missing.
    std::optional<std::string> Value(const std::string& Key, const std::string& Name = "") const {
        return store.ReadString(HKEY_CLASSES_ROOT, Key, Name);
    }
    void Give(const std::string& Key, const std::string& Default) {
        ASSERT_EQ(store.CreateKey(HKEY_CLASSES_ROOT, Key), win32::RegistryStatus::Ok);
        ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, Key, "", Default), win32::RegistryStatus::Ok);
    }

    testing_support::TempDir dir;
    std::string path = dir.File("registry");
    win32::RegistryStore store{path};
    TRegistry registry{path};
    win32::FakeDesktopLinks desktop;
    std::vector<win32::MessageBoxRequest> boxes;
};

using Extensions = std::vector<std::string>;

// What linking and unlinking leave, by what the extension's key held before.
struct LinkCase {
    const char* name;
    const char* before;      // the key's default value before; nullptr: no key
    bool linkTwice;          // linked a second time before the unlink
    const char* backup;      // the backup value after the link(s); nullptr: none
    const char* afterUnlink; // the default after the unlink
};

class LinkAndUnlink : public AssociationsTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkAndUnlink, TheLinkPointsAtTheProgIdAndTheUnlinkGivesThePreviousDefaultBack) {
    const LinkCase& c = GetParam();
    if (c.before != nullptr)
        Give(".mkv", c.before);
    AssociateExtension(".mkv", registry);
    if (c.linkTwice)
        AssociateExtension(".mkv", registry);
    EXPECT_FALSE(registry.KeyOpen());
    EXPECT_EQ(Value(".mkv"), "TarvexDVD.mkv");
    EXPECT_EQ(Value(".mkv", AssociationBackupValue),
              c.backup ? std::optional<std::string>(c.backup) : std::nullopt);
    EXPECT_TRUE(IsExtensionAssociated(".mkv", registry));

    UnassociateExtension(".mkv", registry);
    EXPECT_FALSE(registry.KeyOpen());
    EXPECT_EQ(Value(".mkv"), c.afterUnlink);
    EXPECT_EQ(Value(".mkv", AssociationBackupValue), std::nullopt);
    EXPECT_FALSE(IsExtensionAssociated(".mkv", registry));
    EXPECT_TRUE(store.KeyExists(HKEY_CLASSES_ROOT, "TarvexDVD.mkv\\Shell\\Open\\Command"))
        << "the ProgID stays";
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkAndUnlink,
                         ::testing::Values(LinkCase{"AnotherProgramsLink", "OtherPlayer.mkv", false,
                                                    "OtherPlayer.mkv", "OtherPlayer.mkv"},
                                           LinkCase{"LinkedTwiceKeepsTheFirstBackup", "OtherPlayer.mkv", true,
                                                    "OtherPlayer.mkv", "OtherPlayer.mkv"},
                                           LinkCase{"NoKeyBefore", nullptr, false, nullptr, ""},
                                           LinkCase{"EmptyDefaultBefore", "", false, nullptr, ""},
                                           // Linked a second time without a backup, the ProgID becomes the
                                           // backup; the unlink does not give it back.
                                           LinkCase{"NoKeyLinkedTwice", nullptr, true, "TarvexDVD.mkv", ""}),
                         testing_support::CaseName());

// The ProgID's keys: the icon of the Image folder, the two verbs with their captions by language (none for a
// code other than 1 and 2) and their commands.
struct VerbCase {
    const char* name;
    int language;
    const char* openCaption; // nullptr: no caption written
    const char* playCaption;
};

class ProgIdKeys : public AssociationsTest, public ::testing::WithParamInterface<VerbCase> {};

TEST_P(ProgIdKeys, IconVerbsAndCommands) {
    State.Language = GetParam().language;
    AssociateExtension(".avi", registry);
    const std::string program = "\"" + forms::Application().ExeName() + "\"";
    EXPECT_EQ(Value("TarvexDVD.avi\\DefaultIcon"), "/opt/player/Image/logo_s.ico, 0");
    EXPECT_TRUE(store.KeyExists(HKEY_CLASSES_ROOT, "TarvexDVD.avi\\Shell"));
    EXPECT_EQ(Value("TarvexDVD.avi\\Shell"), std::nullopt);
    auto caption = [](const char* Text) { return Text ? std::optional<std::string>(Text) : std::nullopt; };
    EXPECT_EQ(Value("TarvexDVD.avi\\Shell\\Open"), caption(GetParam().openCaption));
    EXPECT_EQ(Value("TarvexDVD.avi\\Shell\\Play"), caption(GetParam().playCaption));
    EXPECT_EQ(Value("TarvexDVD.avi\\Shell\\Open\\Command"), program + " \"/o\" \"%1\"");
    EXPECT_EQ(Value("TarvexDVD.avi\\Shell\\Play\\Command"), program + " \"/a\" \"%1\"");
}

INSTANTIATE_TEST_SUITE_P(Languages, ProgIdKeys,
                         ::testing::Values(VerbCase{"English", 1, "Use TarvexDVD open",
                                                    "Add to the play list of TarvexDVD"},
                                           VerbCase{"Chinese", 2, "使用“Quorel播放”播放该文件",
                                                    "添加该文件到“Quorel播放”的播放列表"},
                                           VerbCase{"Other", 0, nullptr, nullptr}),
                         testing_support::CaseName());

// Unlinking what is not the player's link changes nothing: another program's link, a missing key (which is
// not made), an extension unlinked already.
TEST_F(AssociationsTest, UnlinkingWhatIsNotThePlayersLinkChangesNothing) {
    Give(".mp4", "OtherPlayer.mp4");
    ASSERT_EQ(store.WriteString(HKEY_CLASSES_ROOT, ".mp4", AssociationBackupValue, "Older.mp4"),
              win32::RegistryStatus::Ok);
    UnassociateExtension(".mp4", registry);
    EXPECT_EQ(Value(".mp4"), "OtherPlayer.mp4");
    EXPECT_EQ(Value(".mp4", AssociationBackupValue), "Older.mp4");
    UnassociateExtension(".ogg", registry);
    EXPECT_FALSE(store.KeyExists(HKEY_CLASSES_ROOT, ".ogg"));
    EXPECT_FALSE(registry.KeyOpen());
}

TEST_F(AssociationsTest, OnlyTheExactProgIdCountsAsLinked) {
    Give(".flv", "tarvexdvd.flv");
    EXPECT_FALSE(IsExtensionAssociated(".flv", registry));
    EXPECT_FALSE(IsExtensionAssociated("Flash media type", registry));
    EXPECT_FALSE(IsExtensionAssociated(".swf", registry));
    EXPECT_FALSE(store.KeyExists(HKEY_CLASSES_ROOT, ".swf")) << "the test makes no key";
    EXPECT_FALSE(registry.KeyOpen());
}

// A store that cannot be read would refuse every link, silently: it is kept aside as "registry.bad" (then
// numbered), the user is told once, and the link is made in a new store.
TEST_F(AssociationsTest, AStoreThatCannotBeReadIsKeptAsideOnceAndTheLinkIsMade) {
    testing_support::WriteFile(path, "not a registry store\n");
    AssociateExtension(".mkv", registry);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_NE(boxes[0].Text.find("\"" + path + ".bad\""), std::string::npos) << boxes[0].Text;
    EXPECT_EQ(testing_support::ReadFile(path + ".bad"), "not a registry store\n");
    EXPECT_TRUE(IsExtensionAssociated(".mkv", registry));
    EXPECT_EQ(desktop.Calls.back(), Extensions{".mkv"});
    UnassociateExtension(".mkv", registry);
    EXPECT_EQ(boxes.size(), 1u) << "said once";
    EXPECT_EQ(Value(".mkv"), "");

    testing_support::WriteFile(path, "damaged again\n");
    AssociateExtension(".avi", registry);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(testing_support::ReadFile(path + ".bad.2"), "damaged again\n");
    EXPECT_EQ(testing_support::ReadFile(path + ".bad"), "not a registry store\n") << "the first one stays";
    EXPECT_EQ(Value(".avi"), "TarvexDVD.avi");
}

// A store that cannot be read nor moved aside (a folder in its place) raises the registry's error and is
// left as it is; the desktop is not asked to change.
TEST_F(AssociationsTest, AStoreThatCannotBeMovedAsideRaisesAndChangesNothing) {
    std::filesystem::create_directory(path);
    EXPECT_THROW(AssociateExtension(".mkv", registry), forms::ERegistryException);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(desktop.Calls.empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(registry.KeyOpen());
    EXPECT_THROW(UnassociateExtension(".mkv", registry), forms::ERegistryException) << "each change says so";
    EXPECT_TRUE(boxes.empty());
}

// Each link or unlink on its own hands the desktop the extensions the registry links after it, with the
// program and the captions of the language; inside an outer update only the outer one does, once.
TEST_F(AssociationsTest, TheDesktopFollowsTheRegistryOncePerUpdate) {
    Give(".other", "OtherPlayer.other");
    Give(".avi", "TarvexDVD.avi");
    AssociateExtension(".mkv", registry);
    ASSERT_EQ(desktop.Calls.size(), 1u);
    EXPECT_EQ(desktop.Calls[0], (Extensions{".avi", ".mkv"}));
    EXPECT_EQ(desktop.LastProgram.File, forms::Application().ExeName());
    EXPECT_EQ(desktop.LastProgram.Icon, "/opt/player/Image/logo_s.ico");
    EXPECT_EQ(desktop.LastProgram.Name, "Quorel播放");
    EXPECT_EQ(desktop.LastProgram.OpenCaption, "使用“Quorel播放”播放该文件");
    EXPECT_EQ(desktop.LastProgram.AddCaption, "添加该文件到“Quorel播放”的播放列表");

    {
        TAssociationUpdate update(registry);
        UnassociateExtension(".avi", registry);
        AssociateExtension(".flv", registry);
        EXPECT_EQ(desktop.Calls.size(), 1u) << "not before the outer update ends";
        update.Commit();
    }
    ASSERT_EQ(desktop.Calls.size(), 2u);
    EXPECT_EQ(desktop.Calls[1], (Extensions{".mkv", ".flv"}));
    EXPECT_EQ(LinkedExtensions(registry), (Extensions{".mkv", ".flv"}));

    State.Language = 0;
    UnassociateExtension(".flv", registry);
    EXPECT_EQ(desktop.LastProgram.Name, "TarvexDVD");
    EXPECT_EQ(desktop.LastProgram.AddCaption, "") << "no caption: no second verb";
}

// When the desktop's links cannot be written, the registry is not written either, and one error says why;
// an update left without Commit drops its changes.
TEST_F(AssociationsTest, ADesktopThatCannotBeWrittenLeavesTheRegistryAsItWas) {
    Give(".avi", "OtherPlayer.avi");
    const std::string before = testing_support::ReadFile(path);
    desktop.Failure = "\"/x/mimeapps.list\" cannot be written (Read-only file system)";
    try {
        AssociateExtension(".avi", registry);
        ADD_FAILURE() << "no error";
    } catch (const forms::EClassLibraryError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to link the file types in the desktop: " + desktop.Failure);
    }
    EXPECT_EQ(testing_support::ReadFile(path), before);
    EXPECT_FALSE(IsExtensionAssociated(".avi", registry));

    desktop.Failure.clear();
    {
        TAssociationUpdate update(registry);
        AssociateExtension(".avi", registry);
    }
    EXPECT_EQ(testing_support::ReadFile(path), before);
    AssociateExtension(".avi", registry);
    EXPECT_TRUE(IsExtensionAssociated(".avi", registry)) << "a later update works";
}

// When the registry cannot be written after the desktop's links were, the desktop is given back the
// extensions the registry still links.
TEST_F(AssociationsTest, ARegistryThatCannotBeWrittenGivesTheDesktopItsLinksBack) {
    testing_support::TempDir other;
    testing_support::WriteFile(other.File("file"), "a file where the store's folder should be");
    TRegistry failing(other.File("file/registry"));
    failing.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_THROW(AssociateExtension(".mkv", failing), forms::ERegistryException);
    ASSERT_EQ(desktop.Calls.size(), 2u);
    EXPECT_EQ(desktop.Calls[0], Extensions{".mkv"});
    EXPECT_EQ(desktop.Calls[1], Extensions{});
}

} // namespace
