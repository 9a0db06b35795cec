// The desktop's file links on a desktop of the test's own (XdgHome): what the freedesktop.org tools and GIO
// make of the files the service writes, and what it leaves of the files that were there.

#include "platform/win32/DesktopLinks.h"

#include <filesystem>
#include <map>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/FolderWatch.h"
#include "tests/support/XdgHome.h"

using testing_support::ReadFile;
using testing_support::WriteFile;
using Extensions = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

class DesktopLinksTest : public ::testing::Test {
protected:
    std::string Link(const Extensions& Exts) { return desktop.LinkExtensions(Exts, program); }
    std::string Entry() const { return xdg.Applications() + "/tarvexdvd.desktop"; }
    std::string MimeApps() const { return xdg.Config() + "/mimeapps.list"; }
    // Every file below the test's home with its contents (a link as its target's name).
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(xdg.Home())) {
            if (entry.is_symlink())
                files[entry.path().string()] = "-> " + fs::read_symlink(entry.path()).string();
            else if (entry.is_regular_file())
                files[entry.path().string()] = ReadFile(entry.path().string());
        }
        return files;
    }

    testing_support::XdgHome xdg;
    win32::XdgDesktopLinks desktop;
    win32::LinkedProgram program{"/opt/Tarvex Dvd/QuorelMain", "/opt/Tarvex Dvd/Image/logo_s.ico",
                                 "Quorel播放", "使用“Quorel播放”播放该文件",
                                 "添加该文件到“Quorel播放”的播放列表"};
};

struct TypeCase {
    const char* name;
    const char* ext;
    std::vector<std::string> types;
};

class MimeTypes : public DesktopLinksTest, public ::testing::WithParamInterface<TypeCase> {};

// The database's types, its media ones where a name is shared with other files, the player's own type for
// an extension it does not know, none for a text that is not an extension.
TEST_P(MimeTypes, OfAnExtension) {
    EXPECT_EQ(win32::MimeTypesOfExtension(GetParam().ext), GetParam().types);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MimeTypes,
    ::testing::Values(TypeCase{"Known", ".mkv", {"video/x-matroska"}},
                      TypeCase{"AnyCase", ".MOV", {"video/quicktime"}},
                      TypeCase{"SharedWithQtTranslations", ".ts", {"video/mp2t"}},
                      TypeCase{"NotAudioOrVideo", ".swf", {"application/vnd.adobe.flash.movie"}},
                      TypeCase{"Unknown", ".wmp", {"video/x-tarvexdvd-wmp"}},
                      TypeCase{"UnknownInMixedCase", ".ratDVD", {"video/x-tarvexdvd-ratdvd"}},
                      TypeCase{"NoDot", "mkv", {}}, TypeCase{"OnlyADot", ".", {}},
                      TypeCase{"APath", "./x.mkv", {}}, TypeCase{"ABlank", ".m kv", {}},
                      TypeCase{"AGlob", ".*", {}}),
    testing_support::CaseName());

// Ticking ".mkv" makes the player's entry the default that xdg-mime answers (its entry is valid, opens a file
// with "/o" and adds one with "/a"); unticking gives back the default another program had.
TEST_F(DesktopLinksTest, LinkingMakesThePlayerTheDefaultAndUnlinkingGivesThePreviousOneBack) {
    xdg.WriteOtherEntry("other.desktop", "/bin/true", "video/x-matroska;");
    WriteFile(MimeApps(), "[Default Applications]\nvideo/x-matroska=other.desktop\n");
    ASSERT_EQ(xdg.QueryDefault("video/x-matroska"), "other.desktop");
    // xdg-mime takes a default only when its program is there.
    program.File = "/bin/true";
    ASSERT_EQ(Link({".mkv"}), "");
    EXPECT_EQ(xdg.QueryDefault("video/x-matroska"), "tarvexdvd.desktop");
    EXPECT_EQ(xdg.ValidateEntry(Entry()), "");
    const std::string entry = ReadFile(Entry());
    for (const char* line : {"Name=Quorel播放\n", "Comment=使用“Quorel播放”播放该文件\n",
                             "Icon=/opt/Tarvex Dvd/Image/logo_s.ico\n", "Exec=/bin/true /o %f\n",
                             "MimeType=video/x-matroska;\n", "NoDisplay=true\n", "Actions=AddToPlayList;\n",
                             "[Desktop Action AddToPlayList]\nName=添加该文件到“Quorel播放”的播放列表\n"
                             "Exec=/bin/true /a %f\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line << "\n" << entry;

    ASSERT_EQ(Link({}), "");
    EXPECT_EQ(xdg.QueryDefault("video/x-matroska"), "other.desktop");
    EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\nvideo/x-matroska=other.desktop\n");
    EXPECT_FALSE(fs::exists(Entry())) << "nothing linked: no entry";
}

// The Exec line runs the program whatever its file name holds, as GIO (what file managers use) reads it: the
// file opened is the only other argument after "/o". (Not a "%": GIO looks for the program before it reads
// the "%%" that the rules ask for.)
TEST_F(DesktopLinksTest, TheExecLineRunsTheProgramWhateverItsNameHolds) {
    const std::string folder = xdg.Home() + "/odd $HOME `x` \"q\" 'a' back\\slash; (b) <c> | & * ? # ~";
    fs::create_directories(folder);
    program.File = folder + "/Quorel Main";
    const std::string arguments = xdg.Home() + "/arguments";
    WriteFile(program.File, "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + arguments + "'\n");
    fs::permissions(program.File, fs::perms::owner_all);
    ASSERT_EQ(Link({".mp4"}), "");
    EXPECT_EQ(xdg.ValidateEntry(Entry()), "");
    const std::string clip = xdg.Home() + "/my clip 50%.mp4";
    WriteFile(clip, "");
    std::string error;
    const pid_t pid = testing_support::OpenWithDesktopEntry(Entry(), clip, {}, error);
    ASSERT_GT(pid, 0) << error << "\n" << ReadFile(Entry());
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_EQ(ReadFile(arguments), program.File + "\n/o\n" + clip + "\n");
}

// A type the database does not know gets one of the user's own: the user's database knows it afterwards, and
// it goes again when nothing links it.
TEST_F(DesktopLinksTest, AnExtensionTheDatabaseDoesNotKnowGetsATypeOfTheUsers) {
    program.File = "/bin/true";
    ASSERT_EQ(Link({".wmp", ".ratDVD", ".mkv"}), "");
    const std::string globs = ReadFile(xdg.Data() + "/mime/globs2");
    EXPECT_NE(globs.find(":video/x-tarvexdvd-wmp:*.wmp"), std::string::npos) << globs;
    EXPECT_NE(globs.find(":video/x-tarvexdvd-ratdvd:*.ratdvd"), std::string::npos) << globs;
    EXPECT_EQ(xdg.QueryDefault("video/x-tarvexdvd-wmp"), "tarvexdvd.desktop");
    WriteFile(xdg.Home() + "/clip.WMP", "not much");
    EXPECT_EQ(xdg.ContentType(xdg.Home() + "/clip.WMP"), "video/x-tarvexdvd-wmp")
        << "as a file manager sees it";
    EXPECT_NE(
        ReadFile(Entry()).find("MimeType=video/x-matroska;video/x-tarvexdvd-ratdvd;video/x-tarvexdvd-wmp;\n"),
        std::string::npos);

    ASSERT_EQ(Link({".mkv"}), "");
    EXPECT_EQ(ReadFile(xdg.Data() + "/mime/globs2").find("tarvexdvd"), std::string::npos);
    EXPECT_FALSE(fs::exists(xdg.Data() + "/mime/packages/tarvexdvd.xml"));
    EXPECT_NE(xdg.ContentType(xdg.Home() + "/clip.WMP"), "video/x-tarvexdvd-wmp");
    EXPECT_EQ(xdg.QueryDefault("video/x-matroska"), "tarvexdvd.desktop");
}

// ".mpg" and ".vob" share video/mpeg: it stays linked while either is.
TEST_F(DesktopLinksTest, ATypeStaysLinkedWhileOneOfItsExtensionsIs) {
    program.File = "/bin/true";
    ASSERT_EQ(Link({".mpg", ".vob"}), "");
    ASSERT_EQ(Link({".vob"}), "");
    EXPECT_EQ(xdg.QueryDefault("video/mpeg"), "tarvexdvd.desktop");
    ASSERT_EQ(Link({}), "");
    EXPECT_EQ(ReadFile(MimeApps()), "") << "the groups the links added go with them";
}

// Every line the links do not name stays byte for byte, while the types are linked and after they are
// unlinked; a default another program took in the meantime is left to it.
TEST_F(DesktopLinksTest, OtherLinesOfMimeappsListStayByteForByte) {
    const std::string before = "# my own defaults\r\n"
                               "[Default Applications]\r\n"
                               "text/plain=editor.desktop\r\n"
                               "video/x-matroska=mpv.desktop;vlc.desktop;\r\n"
                               "# keep this\r\n"
                               "video/mp4=vlc.desktop\r\n"
                               "\r\n"
                               "[Added Associations]\r\n"
                               "video/x-matroska=mpv.desktop;\r\n"
                               "\r\n"
                               "[Removed Associations]\r\n"
                               "video/x-msvideo=bad.desktop;";
    WriteFile(MimeApps(), before);
    ASSERT_EQ(Link({".mkv", ".avi"}), "");
    const std::string linked = ReadFile(MimeApps());
    EXPECT_EQ(linked, "# my own defaults\r\n"
                      "[Default Applications]\r\n"
                      "text/plain=editor.desktop\r\n"
                      "video/x-matroska=tarvexdvd.desktop\r\n"
                      "# keep this\r\n"
                      "video/mp4=vlc.desktop\r\n"
                      "video/x-msvideo=tarvexdvd.desktop\r\n"
                      "\r\n"
                      "[Added Associations]\r\n"
                      "video/x-matroska=tarvexdvd.desktop;mpv.desktop;\r\n"
                      "video/x-msvideo=tarvexdvd.desktop;\r\n"
                      "\r\n"
                      "[Removed Associations]\r\n"
                      "video/x-msvideo=bad.desktop;");
    ASSERT_EQ(Link({}), "");
    EXPECT_EQ(ReadFile(MimeApps()), before);

    // Another program takes .avi's type while it is linked: unlinking leaves it that one.
    ASSERT_EQ(Link({".avi"}), "");
    std::string taken = ReadFile(MimeApps());
    const std::string ours = "video/x-msvideo=tarvexdvd.desktop";
    taken.replace(taken.find(ours), ours.size(), "video/x-msvideo=totem.desktop");
    WriteFile(MimeApps(), taken);
    ASSERT_EQ(Link({}), "");
    EXPECT_NE(ReadFile(MimeApps()).find("video/x-msvideo=totem.desktop\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(MimeApps()).find("tarvexdvd"), std::string::npos);
}

// Each file is written once per change, and only when it changes.
TEST_F(DesktopLinksTest, EachFileIsWrittenOnceAndOnlyWhenItChanges) {
    testing_support::FolderWatch config(xdg.Config());
    fs::create_directories(xdg.Applications());
    testing_support::FolderWatch applications(xdg.Applications());
    const Extensions many = {".asf", ".wmv", ".rm",  ".mpg", ".mpeg", ".vob", ".aif",
                             ".3gp", ".qt",  ".mov", ".avi", ".mkv",  ".mp4", ".flv",
                             ".swf", ".au",  ".ac3", ".ogg", ".asx",  ".m3u", ".pls"};
    ASSERT_EQ(Link(many), "");
    EXPECT_EQ(config.MovedIn("mimeapps.list"), 1);
    EXPECT_EQ(applications.MovedIn("tarvexdvd.desktop"), 1);
    const auto files = Files();
    ASSERT_EQ(Link(many), "");
    EXPECT_EQ(config.MovedIn("mimeapps.list"), 1);
    EXPECT_EQ(applications.MovedIn("tarvexdvd.desktop"), 1);
    EXPECT_EQ(Files(), files);
    program.AddCaption = "";
    ASSERT_EQ(Link(many), "");
    EXPECT_EQ(applications.MovedIn("tarvexdvd.desktop"), 2) << "the entry follows the program's texts";
    EXPECT_EQ(ReadFile(Entry()).find("Actions="), std::string::npos);
}

// A file that cannot be written, or one there that cannot be read, fails the whole change and every file is
// as it was, those written before the failure included.
struct FailureCase {
    const char* name;
    const char* blocked;      // made a file (a folder for a name ending in "/", a link to itself for "@")
    const char* failureNames; // in the failure's text
};

class DesktopLinksFailure : public DesktopLinksTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DesktopLinksFailure, LeavesEveryFileAsItWas) {
    program.File = "/bin/true";
    WriteFile(MimeApps(), "[Default Applications]\nvideo/mp4=vlc.desktop\n");
    ASSERT_EQ(Link({".mp4"}), "");
    const std::string blocked = xdg.Home() + "/" + GetParam().blocked;
    if (blocked.back() == '/') {
        fs::remove(blocked.substr(0, blocked.size() - 1));
        fs::create_directories(blocked + "x");
    } else if (blocked.back() == '@') {
        const std::string link = blocked.substr(0, blocked.size() - 1);
        fs::remove(link);
        fs::create_symlink(link, link);
    } else {
        fs::remove_all(blocked);
        WriteFile(blocked, "in the way");
    }
    const auto before = Files();
    const std::string failure = Link({".mp4", ".wmp", ".mkv"});
    EXPECT_NE(failure.find(GetParam().failureNames), std::string::npos) << failure;
    EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopLinksFailure,
    ::testing::Values(FailureCase{"TheUsersDatabaseFolder", "data/mime", "tarvexdvd.xml"},
                      FailureCase{"TheEntrysFolder", "data/applications", "tarvexdvd.desktop"},
                      FailureCase{"TheRecordsFolder", "config/TarvexDvd", "desktop-links"},
                      FailureCase{"AMimeappsListThatIsAFolder", "config/mimeapps.list/", "mimeapps.list"},
                      FailureCase{"AMimeappsListThatLinksToItself", "config/mimeapps.list@", "mimeapps.list"}),
    testing_support::CaseName());

// A mimeapps.list kept elsewhere through a link is changed where it is, and the link stays.
TEST_F(DesktopLinksTest, AMimeappsListBehindALinkIsWrittenWhereItIs) {
    fs::create_directories(xdg.Home() + "/dotfiles");
    WriteFile(xdg.Home() + "/dotfiles/mimeapps.list", "[Default Applications]\n");
    fs::create_symlink(xdg.Home() + "/dotfiles/mimeapps.list", MimeApps());
    ASSERT_EQ(Link({".mkv"}), "");
    EXPECT_TRUE(fs::is_symlink(MimeApps()));
    EXPECT_NE(ReadFile(xdg.Home() + "/dotfiles/mimeapps.list").find("video/x-matroska=tarvexdvd.desktop"),
              std::string::npos);
}

// What a change killed half-way left (temporaries older than a minute) goes at the next change.
TEST_F(DesktopLinksTest, TemporariesOfAKilledChangeAreRemoved) {
    fs::create_directories(xdg.Applications());
    const auto aged = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const std::string& stale : {MimeApps() + ".a1B2c3", Entry() + ".Zz9xYq"}) {
        WriteFile(stale, "half");
        fs::last_write_time(stale, aged);
    }
    WriteFile(MimeApps() + ".NewOne", "another program saving now");
    ASSERT_EQ(Link({".mkv"}), "");
    EXPECT_FALSE(fs::exists(MimeApps() + ".a1B2c3"));
    EXPECT_FALSE(fs::exists(Entry() + ".Zz9xYq"));
    EXPECT_TRUE(fs::exists(MimeApps() + ".NewOne"));
}

} // namespace
