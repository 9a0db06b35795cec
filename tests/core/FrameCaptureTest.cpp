#include "core/FrameCapture.h"

#include <deque>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/com/Guids.h"
#include "platform/forms/StringList.h"
#include "tests/support/CaptureFixtures.h"
#include "tests/support/RunTree.h"

using testing_support::RunTree;
using testing_support::WriteFile;

namespace {

TEST(RandomDigits12, TwelveDigitsAndNoRepeatsWithinAMoment) {
    std::set<std::string> seen;
    std::set<char> digits;
    for (int i = 0; i < 2000; ++i) {
        const std::string d = RandomDigits12();
        ASSERT_EQ(d.size(), 12u);
        for (char c : d) {
            ASSERT_TRUE(c >= '0' && c <= '9') << d;
            digits.insert(c);
        }
        seen.insert(d);
    }
    // Drawn in one burst, faster than any clock tick: a generator seeded anew each time repeats itself.
    EXPECT_EQ(seen.size(), 2000u);
    EXPECT_EQ(digits.size(), 10u);
}

// A name whose file exists or that a thumbnail holds is drawn again.
TEST(NewCaptureName, DrawsAgainWhileTheNameIsTaken) {
    RunTree tree;
    const std::string folder = State.TempPath;
    WriteFile(folder + "000000000001.bmp", "x");
    std::deque<std::string> draws = {"000000000001", "000000000002", "000000000003"};
    int drawn = 0;
    const std::string name = NewCaptureName(
        folder, [&](const std::string& Name) { return Name == folder + "000000000002.bmp"; },
        [&] {
            ++drawn;
            std::string d = draws.front();
            draws.pop_front();
            return d;
        });
    EXPECT_EQ(name, folder + "000000000003.bmp");
    EXPECT_EQ(drawn, 3);
}

struct FolderCase {
    const char* name;
    const char* line; // the CaptureImagePath line of [File], or nullptr for none
    std::string (*expected)(const RunTree&);
};

class CaptureFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(CaptureFolderTest, IsTheSettingWithASlashOrTheTempFolder) {
    RunTree tree;
    std::string ini = "[File]\r\n";
    if (GetParam().line != nullptr)
        ini += std::string(GetParam().line) + "\r\n";
    WriteFile(tree.IniFile(), ini);
    EXPECT_EQ(CaptureFolder(), GetParam().expected(tree));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CaptureFolderTest,
    ::testing::Values(FolderCase{"Set", "CaptureImagePath=/data/shots",
                                 [](const RunTree&) { return std::string("/data/shots/"); }},
                      FolderCase{"SetWithSlash", "CaptureImagePath=/data/shots/",
                                 [](const RunTree&) { return std::string("/data/shots/"); }},
                      FolderCase{"Missing", nullptr, [](const RunTree&) { return State.TempPath; }},
                      FolderCase{"Empty",
                                 "CaptureImagePath=", [](const RunTree&) { return State.TempPath; }}),
    [](const auto& Info) { return std::string(Info.param.name); });

struct ExtensionCase {
    const char* fileName;
    const char* imageType;
    const char* written;
    const char* saved;
};

class SaveNames : public ::testing::TestWithParam<ExtensionCase> {};

// Only the file name's own extension changes: a folder named like a bitmap is left alone, a name that is
// already a JPEG stays one file, and bitmap content never goes out under another extension.
TEST_P(SaveNames, OnlyTheFileNamesExtensionFollowsTheType) {
    EXPECT_EQ(ImageFileFor(GetParam().fileName, GetParam().imageType), GetParam().written);
    EXPECT_EQ(WithSaveExtension(GetParam().fileName), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveNames,
    ::testing::Values(ExtensionCase{"/t/123.bmp", ".bmp", "/t/123.bmp", "/t/123.bmp"},
                      ExtensionCase{"/t/123.bmp", ".jpg", "/t/123.jpg", "/t/123.bmp"},
                      ExtensionCase{"/t/shot", ".bmp", "/t/shot.bmp", "/t/shot.bmp"},
                      ExtensionCase{"/t/shot", ".jpg", "/t/shot.jpg", "/t/shot.bmp"},
                      ExtensionCase{"/t/x.bmp/shot", ".jpg", "/t/x.bmp/shot.jpg", "/t/x.bmp/shot.bmp"},
                      ExtensionCase{"/t/x.bmp/1.bmp", ".JPG", "/t/x.bmp/1.jpg", "/t/x.bmp/1.bmp"},
                      ExtensionCase{"/t/photo.jpg", ".jpg", "/t/photo.jpg", "/t/photo.jpg"},
                      ExtensionCase{"/t/a.png", ".bmp", "/t/a.bmp", "/t/a.png"},
                      ExtensionCase{"/t/a.png", "", "/t/a.bmp", "/t/a.png"}));

class SaveCaptureFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        State.SavedCaptureFiles = std::make_unique<forms::TStringList>();
        picture = QImage(40, 30, QImage::Format_RGB32);
        picture.fill(qRgb(10, 200, 30));
    }
    RunTree tree;
    QImage picture;
};

TEST_F(SaveCaptureFileTest, JpegUnderItsOwnNameSurvivesAndCountsAsSaved) {
    const std::string name = State.TempPath + "photo.jpg";
    EXPECT_EQ(SaveCaptureFile(picture, name, ".jpg"), name);
    const QImage read(QString::fromStdString(name), "JPEG");
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.size(), picture.size());
    EXPECT_EQ(State.SavedCaptureFiles->IndexOf(name), 0);
    // Saved again: listed once.
    SaveCaptureFile(picture, name, ".jpg");
    EXPECT_EQ(State.SavedCaptureFiles->Count(), 1);
}

TEST_F(SaveCaptureFileTest, BitmapTypeWritesABitmapAndLeavesNoOtherFile) {
    const std::string name = State.TempPath + "111111111111.bmp";
    EXPECT_EQ(SaveCaptureFile(picture, name, ".bmp"), name);
    EXPECT_EQ(QImage(QString::fromStdString(name), "BMP").size(), picture.size());
    EXPECT_EQ(SaveCaptureFile(picture, State.TempPath + "222222222222.bmp", ".jpg"),
              State.TempPath + "222222222222.jpg");
    EXPECT_FALSE(std::filesystem::exists(State.TempPath + "222222222222.bmp"));
    EXPECT_EQ(State.SavedCaptureFiles->Count(), 2);
}

TEST_F(SaveCaptureFileTest, AFailedWriteNamesTheFileAndTheReasonAndCountsNothing) {
    const std::string name = State.TempPath + "missing/333333333333.bmp";
    try {
        SaveCaptureFile(picture, name, ".jpg");
        FAIL() << "no error";
    } catch (const forms::EClassLibraryError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find(State.TempPath + "missing/333333333333.jpg"), std::string::npos) << text;
        EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    }
    EXPECT_EQ(State.SavedCaptureFiles->Count(), 0);
}

com::ComPtr<dshow::IMediaDet> Detector(const std::string& File) {
    void* raw = nullptr;
    EXPECT_EQ(com::CoCreateInstance(com::CLSID_MediaDet, nullptr, com::CLSCTX_INPROC_SERVER,
                                    dshow::IMediaDet::Iid, &raw),
              com::S_OK);
    auto det = com::ComPtr<dshow::IMediaDet>::Adopt(static_cast<dshow::IMediaDet*>(raw));
    EXPECT_EQ(det->put_Filename(com::WideString(File).c_str()), com::S_OK);
    return det;
}

// The native size (not the window's 550 x 350 floor) and the frame of the time asked for, read back from the
// capture bitmap at once.
TEST(CaptureToBitmap, TakesTheNativeSizedFrameOfTheTime) {
    RunTree tree;
    auto det = Detector(testing_support::RedThenBlueClip());
    int width = 0, height = 0;
    ASSERT_TRUE(VideoStreamSize(det.Get(), width, height));
    EXPECT_EQ(width, 176);
    EXPECT_EQ(height, 144);
    QImage first, second;
    const std::string bitmap = State.TempPath + CaptureBitmapName;
    ASSERT_TRUE(CaptureToBitmap(det.Get(), 0.5, width, height, bitmap, first));
    ASSERT_TRUE(CaptureToBitmap(det.Get(), 1.5, width, height, bitmap, second));
    EXPECT_EQ(first.size(), QSize(176, 144));
    EXPECT_GT(qRed(first.pixel(88, 72)), 200);
    EXPECT_GT(qBlue(second.pixel(88, 72)), 200) << "the second capture has its own picture";
    EXPECT_GT(qRed(first.pixel(88, 72)), 200) << "and the first keeps its own";
    // A capture folder whose name is not UTF-8 (Latin-1 "café") is written and read back all the same.
    const std::string latin1 = State.TempPath + "caf\xE9";
    std::filesystem::create_directory(latin1);
    QImage third;
    ASSERT_TRUE(CaptureToBitmap(det.Get(), 1.5, width, height, latin1 + "/" + CaptureBitmapName, third));
    EXPECT_GT(qBlue(third.pixel(88, 72)), 200);
    QImage none;
    EXPECT_FALSE(CaptureToBitmap(det.Get(), 0.5, width, height, State.TempPath + "no/such.bmp", none));
    EXPECT_FALSE(CaptureToBitmap(nullptr, 0.5, width, height, bitmap, none));
}

} // namespace
