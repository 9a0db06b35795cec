// Frame capture and the capture-list window with the main window behind it: captures of a playing clip
// (each thumbnail its own frame at the video's own size, playback put back as it was), the capture routes,
// saving one or all captures as bitmaps or JPEG files, and the question about unsaved captures.

#include <filesystem>

#include <QTest>

#include <gtest/gtest.h>

#include "core/FrameCapture.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "core/WindowMessages.h"
#include "platform/win32/Window.h"
#include "tests/support/CaptureFixtures.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/CaptureForm.h"
#include "ui/SaveOptionForm.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

constexpr std::int64_t Second = 10000000;

class CaptureTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        forms::SetFileDialogHandler([this](TOpenDialog& Dialog) {
            seenDialogs.push_back(&Dialog);
            return answerDialog ? answerDialog(Dialog) : false;
        });
    }
    // Plays File (the red-then-blue clip unless said otherwise) through the open dialog.
    void Play(const std::string& File) {
        if (!form)
            Run();
        answerDialog = [&](TOpenDialog& D) {
            D.Files.Clear();
            D.Files.Add(File);
            D.FileName = File;
            return true;
        };
        form->OpenFileDialog();
        answerDialog = nullptr;
        seenDialogs.clear();
        ASSERT_TRUE(State.IsPlaying);
    }
    void PlayRedThenBlue() { Play(Copy(testing_support::RedThenBlueClip(), "clip.mp4")); }
    void SeekTo(double Seconds) {
        dshow::LONGLONG at = static_cast<dshow::LONGLONG>(Seconds * Second);
        State.MediaSeeking->SetPositions(&at, dshow::AM_SEEKING_AbsolutePositioning, nullptr,
                                         dshow::AM_SEEKING_NoPositioning);
    }
    void Ini(const std::string& Key, const std::string& Value) {
        WriteIni(DefaultsWith(Key, Value, Current()));
    }
    std::string Current() const {
        const std::string text = ReadFile(tree.IniFile());
        return text.empty() ? DefaultIniText() : text;
    }
    // Thumbnail Index's picture's colour at its centre.
    static QRgb Centre(int Index) {
        const QImage& image = TCapture_Form::ThumbImage(CaptureListForm->RowAt(Index))->Picture().Image();
        return image.pixel(image.width() / 2, image.height() / 2);
    }
    static bool Reddish(QRgb C) { return qRed(C) > 200 && qBlue(C) < 60; }
    static bool Bluish(QRgb C) { return qBlue(C) > 200 && qRed(C) < 60; }
    static V Captions() {
        V captions;
        for (const TPanel* thumb : CaptureListForm->Rows())
            captions.push_back(TCapture_Form::ThumbPath(thumb));
        return captions;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes)
            texts.push_back(b.Text);
        return texts;
    }
    // Two captures of the clip, at 0.4 s (red) and 1.5 s (blue), both queued before either thumbnail is made.
    void TwoCaptures() {
        PlayRedThenBlue();
        form->PauseCommand();
        SeekTo(0.4);
        form->Capture_XI->Click();
        SeekTo(1.5);
        form->Capture_XI->Click();
        QCoreApplication::processEvents();
        ASSERT_NE(CaptureListForm, nullptr);
        ASSERT_EQ(CaptureListForm->RowTotal(), 2);
    }

    std::vector<TOpenDialog*> seenDialogs;
    std::function<bool(TOpenDialog&)> answerDialog;
};

// Two captures made faster than the window takes them: two thumbnails, each of its own frame, each under its
// own name, at the video's own size.
TEST_F(CaptureTest, TwoQuickCapturesGiveTwoThumbnailsOfTheirOwnFrames) {
    TwoCaptures();
    const V captions = Captions();
    EXPECT_NE(captions[0], captions[1]);
    for (const std::string& caption : captions) {
        EXPECT_EQ(caption.rfind(State.TempPath, 0), 0u) << caption;
        EXPECT_EQ(caption.size(), State.TempPath.size() + 12 + 4) << caption;
        EXPECT_FALSE(std::filesystem::exists(caption)) << "nothing is written under the name before a save";
    }
    EXPECT_TRUE(Reddish(Centre(0)));
    EXPECT_TRUE(Bluish(Centre(1)));
    EXPECT_EQ(TCapture_Form::ThumbImage(CaptureListForm->RowAt(0))->Picture().Image().size(),
              QSize(176, 144));
    EXPECT_EQ(State.CaptureFileName, captions[1]);
    EXPECT_TRUE(std::filesystem::exists(State.TempPath + CaptureBitmapName));
    // The thumbnails one pitch apart.
    EXPECT_EQ(CaptureListForm->RowAt(0)->Top(), 10);
    EXPECT_EQ(CaptureListForm->RowAt(1)->Top(), 100);
    EXPECT_EQ(CapturedFrames.Count(), 0u);
}

// Against the main window's right side when there is room; otherwise at the screen's right edge. Shown
// again, it goes back where it was made.
TEST_F(CaptureTest, TheWindowStandsBesideTheMainWindow) {
    Run();
    struct Case {
        int room; // between the main window's right side and the screen's
        QRect expected;
    };
    const int w = form->Width();
    const int screen = Screen().Width();
    for (const Case& c :
         {Case{171, {screen - 171, 40, 170, 442}}, Case{170, {screen - 180, 120, 170, 430}}}) {
        form->SetBounds(screen - w - c.room, 40, w, 442);
        form->CL_LClick(form->CL_L);
        EXPECT_EQ(CaptureListForm->geometry(), c.expected) << c.room;
        CaptureListForm->SetBounds(5, 5, 300, 300);
        form->CL_LClick(form->CL_L);
        EXPECT_EQ(CaptureListForm->geometry(), c.expected) << c.room;
        delete CaptureListForm;
        EXPECT_EQ(State.CaptureWindowHandle, nullptr);
    }
}

struct RestoreCase {
    const char* name;
    bool paused;
    double rate;
};

class CaptureRestores : public CaptureTest, public ::testing::WithParamInterface<RestoreCase> {};

// A capture pauses for its grab and then puts playback back as it was: paused stays paused, a faster rate
// stays faster.
TEST_P(CaptureRestores, PlaybackGoesOnAsItWas) {
    PlayRedThenBlue();
    if (GetParam().rate != 1.0) {
        State.MediaSeeking->SetRate(GetParam().rate);
        State.PlayRate = GetParam().rate;
        form->Status_L->SetCaption("2x");
    }
    if (GetParam().paused)
        form->PauseCommand();
    form->pCapturescreen->Click();
    EXPECT_EQ(State.IsPaused, GetParam().paused);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_DOUBLE_EQ(State.PlayRate, GetParam().rate);
    double rate = 0;
    State.MediaSeeking->GetRate(&rate);
    EXPECT_DOUBLE_EQ(rate, GetParam().rate);
    EXPECT_EQ(form->Status_L->Caption(), GetParam().paused        ? "暂停"
                                         : GetParam().rate != 1.0 ? "2x"
                                                                  : "播放中");
    EXPECT_EQ(form->Ctrl_T->Enabled(), !GetParam().paused);
    EXPECT_EQ(Screen().Cursor(), crDefault);
    EXPECT_NE(State.CaptureFileName, "");
    // As the capture button: the window opens with the frame in it, so that no capture goes unseen.
    ASSERT_NE(CaptureListForm, nullptr);
    EXPECT_TRUE(CaptureListForm->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([] { return CaptureListForm->RowTotal() == 1; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(States, CaptureRestores,
                         ::testing::Values(RestoreCase{"Playing", false, 1.0},
                                           RestoreCase{"Paused", true, 1.0},
                                           RestoreCase{"Faster", false, 2.0}),
                         [](const auto& Info) { return std::string(Info.param.name); });

TEST_F(CaptureTest, NothingPlayingGivesTheMessageAndNoThumbnail) {
    Run();
    State.PlayType = PlayTypes::MediaFile;
    form->CL_LClick(form->CL_L);
    form->CaptureByType();
    QCoreApplication::processEvents();
    EXPECT_EQ(BoxTexts(), V{"No screenshots."});
    EXPECT_EQ(CaptureListForm->RowTotal(), 0);
}

// Audio and discs: the capture button does nothing, and for audio the label opens no window either.
TEST_F(CaptureTest, AudioAndDiscsAreNotCaptured) {
    Run();
    for (int type : {PlayTypes::Audio, PlayTypes::Dvd}) {
        State.PlayType = type;
        form->Capture_XIClick(form->Capture_XI);
        EXPECT_EQ(CaptureListForm, nullptr) << type;
    }
    State.PlayType = PlayTypes::Audio;
    form->CL_LClick(form->CL_L);
    EXPECT_EQ(CaptureListForm, nullptr);
    State.PlayType = PlayTypes::Dvd;
    form->CL_LClick(form->CL_L);
    EXPECT_NE(CaptureListForm, nullptr);
    EXPECT_TRUE(State.CaptureListVisible);
    EXPECT_TRUE(boxes.empty());
}

// A capture folder missing from the settings is the Temp folder, not a folder named "Value no find".
TEST_F(CaptureTest, AMissingCaptureFolderSettingCapturesIntoTemp) {
    Run();
    std::string ini = ReadFile(tree.IniFile());
    const auto at = ini.find("CaptureImagePath=");
    ini.erase(at, ini.find("\r\n", at) + 2 - at);
    WriteIni(ini);
    ASSERT_EQ(ReadIniString("File", "CaptureImagePath"), ValueNoFind);
    PlayRedThenBlue();
    form->Capture_XI->Click();
    QCoreApplication::processEvents();
    ASSERT_EQ(CaptureListForm->RowTotal(), 1);
    EXPECT_EQ(Captions()[0].rfind(State.TempPath, 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(State.TempPath + CaptureBitmapName));
}

// The picture-in-picture branch captures both files of the pair, A first, each its own frame; with nothing
// playing it captures nothing and starts nothing.
TEST_F(CaptureTest, APairGivesTwoThumbnailsFileAFirst) {
    const std::string a = Copy(testing_support::RedThenBlueClip(), "a.mp4");
    const std::string b = Clip("b.mp4");
    Run();
    State.pipMediaFileA = a;
    State.pipMediaFileB = b;
    ASSERT_TRUE(OpenPip(a, b));
    form->ShowPipOpened();
    form->CL_LClick(form->CL_L);
    form->Capture_XI->Click();
    ASSERT_EQ(CaptureListForm->RowTotal(), 2) << "sent: the thumbnails are there at once";
    EXPECT_TRUE(Reddish(Centre(0)));
    const QRgb green = Centre(1);
    EXPECT_NEAR(qGreen(green), 200, 40);
    EXPECT_NEAR(qRed(green), 40, 40);
    EXPECT_EQ(TCapture_Form::ThumbImage(CaptureListForm->RowAt(1))->Picture().Image().size(),
              QSize(320, 240));
    EXPECT_NE(Captions()[0], Captions()[1]);
    form->StopByType();
    ASSERT_FALSE(State.IsPlaying);
    State.PlayType = PlayTypes::Pip;
    form->Capture_XI->Click();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(CaptureListForm->RowTotal(), 2);
    EXPECT_TRUE(boxes.empty());
}

// --- Saving. ---

TEST_F(CaptureTest, SaveWantsASelectionAndThenWritesTheJpegOnly) {
    TwoCaptures();
    Ini("AskSaveOption", "0");
    Ini("DefaultImageType", ".jpg");
    CaptureListForm->Save_XI->Click();
    EXPECT_EQ(BoxTexts(), V{"Please select a image to save."});
    QTest::mouseClick(TCapture_Form::ThumbImage(CaptureListForm->RowAt(1)), Qt::LeftButton);
    EXPECT_EQ(State.SelectedCaptureIndex, 1);
    EXPECT_EQ(CaptureListForm->RowAt(1)->Color(), static_cast<TColor>(State.SelectedPanelColor));
    CaptureListForm->Save_XI->Click();
    const std::string caption = Captions()[1];
    const std::string jpeg = caption.substr(0, caption.size() - 4) + ".jpg";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, jpeg + " Save successfully.");
    EXPECT_EQ(boxes[1].Caption, "Information");
    EXPECT_FALSE(std::filesystem::exists(caption)) << "no bitmap on the way";
    const QImage saved(QString::fromStdString(jpeg), "JPEG");
    ASSERT_EQ(saved.size(), QSize(176, 144));
    EXPECT_TRUE(Bluish(saved.pixel(88, 72)));
    EXPECT_EQ(State.SavedCaptureFiles->Items(), V{caption});
    // Saved: the thumbnail must be clicked again before it saves again.
    CaptureListForm->Save_XI->Click();
    EXPECT_EQ(boxes.back().Text, "Please select a image to save.");
}

struct ChosenNameCase {
    const char* name;
    const char* chosen;
    int filter; // 1 bitmap, 2 JPEG
    const char* written;
};

class SaveWithDialog : public CaptureTest, public ::testing::WithParamInterface<ChosenNameCase> {};

// With AskSaveOption 1 the save dialog names the file and its filter the type; the file's extension always
// matches what is in it, and a chosen JPEG name is the JPEG (never deleted).
TEST_P(SaveWithDialog, TheChosenNameWithTheTypesExtension) {
    TwoCaptures();
    Ini("AskSaveOption", "1");
    const std::string folder = State.TempPath + "x.bmp/";
    std::filesystem::create_directories(folder);
    answerDialog = [&](TOpenDialog& D) {
        D.FileName = folder + GetParam().chosen;
        D.FilterIndex = GetParam().filter;
        return true;
    };
    QTest::mouseClick(TCapture_Form::ThumbImage(CaptureListForm->RowAt(0)), Qt::LeftButton);
    CaptureListForm->Save_XI->Click();
    ASSERT_EQ(seenDialogs.size(), 1u);
    EXPECT_EQ(seenDialogs[0]->FileName, folder + GetParam().chosen) << "proposed: the caption";
    const std::string written = folder + GetParam().written;
    EXPECT_EQ(boxes.back().Text, written + " Save successfully.");
    const QImage saved(QString::fromStdString(written), GetParam().filter == 2 ? "JPEG" : "BMP");
    EXPECT_FALSE(saved.isNull()) << written;
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1);
}

INSTANTIATE_TEST_SUITE_P(Names, SaveWithDialog,
                         ::testing::Values(ChosenNameCase{"NoExtensionBitmap", "shot", 1, "shot.bmp"},
                                           ChosenNameCase{"NoExtensionJpeg", "shot", 2, "shot.jpg"},
                                           ChosenNameCase{"JpegNamedJpeg", "photo.jpg", 2, "photo.jpg"},
                                           ChosenNameCase{"BitmapNamedOtherwise", "a.png", 1, "a.bmp"}),
                         [](const auto& Info) { return std::string(Info.param.name); });

TEST_F(CaptureTest, SaveAllWritesEveryCaptureUnderItsCaption) {
    TwoCaptures();
    Ini("AskSaveOption", "0");
    Ini("DefaultImageType", ".jpg");
    CaptureListForm->SaveAll_XI->Click();
    EXPECT_EQ(BoxTexts(), V{"Photo Save the success of!"});
    for (const std::string& caption : Captions()) {
        const std::string jpeg = caption.substr(0, caption.size() - 4) + ".jpg";
        EXPECT_FALSE(QImage(QString::fromStdString(jpeg), "JPEG").isNull()) << jpeg;
        EXPECT_FALSE(std::filesystem::exists(caption));
    }
    EXPECT_EQ(State.SavedCaptureFiles->Items(), Captions());
}

// A failed save says which file and why, and never that it succeeded.
TEST_F(CaptureTest, AFailedSaveIsReportedNotPraised) {
    TwoCaptures();
    Ini("AskSaveOption", "0");
    Ini("DefaultImageType", ".bmp");
    std::filesystem::remove_all(State.TempPath);
    CaptureListForm->SaveAll_XI->Click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(Captions()[0]), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("No such file or directory"), std::string::npos) << errors[0];
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(State.SavedCaptureFiles->Empty());
    EXPECT_EQ(Screen().Cursor(), crDefault);
}

// With AskSaveOption 1 Save all asks for the folder and type: closed without Save nothing is written; saved
// elsewhere, the captures still count as unsaved for their own names.
TEST_F(CaptureTest, SaveAllAsksWhereAndWhatWhenToldTo) {
    TwoCaptures();
    Ini("AskSaveOption", "1");
    {
        testing_support::WhileModal closeBox([](QWidget* Dialog) { Dialog->close(); });
        CaptureListForm->SaveAll_XI->Click();
        EXPECT_TRUE(closeBox.Ran());
    }
    EXPECT_TRUE(boxes.empty());
    const std::string other = tree.Root() + "/shots";
    std::filesystem::create_directories(other);
    {
        testing_support::WhileModal saveThere([&](QWidget* Dialog) {
            auto* d = static_cast<TSaveOption_Form*>(Dialog);
            d->UseDef_CB->SetChecked(false);
            d->Path_E->SetText(other);
            d->SaveType_Cob->SetItemIndex(0);
            d->Save_Btn->Click();
        });
        CaptureListForm->SaveAll_XI->Click();
        EXPECT_TRUE(saveThere.Ran());
    }
    EXPECT_EQ(BoxTexts(), V{"Photo Save the success of!"});
    for (const std::string& caption : Captions())
        EXPECT_FALSE(QImage(QString::fromStdString(other + "/" + ExtractFileName(caption)), "BMP").isNull());
    boxes.clear();
    answer = win32::IDNO;
    CaptureListForm->Close();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Interception of the images are not saved, to save?");
    EXPECT_EQ(boxes[0].Type, win32::MB_YESNO | win32::MB_ICONINFORMATION);
}

struct CloseCase {
    const char* name;
    bool mainWindowCloses; // else a close request to the capture window
    int answer;
};

class UnsavedQuestion : public CaptureTest, public ::testing::WithParamInterface<CloseCase> {};

// Closing the capture window, or the program, asks about the unsaved captures: Yes saves them with the
// default type, No loses them.
TEST_P(UnsavedQuestion, YesSavesNoLoses) {
    TwoCaptures();
    Ini("DefaultImageType", ".bmp");
    const V captions = Captions();
    answer = GetParam().answer;
    if (GetParam().mainWindowCloses)
        CloseForm();
    else
        CaptureListForm->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Interception of the images are not saved, to save?");
    for (const std::string& caption : captions)
        EXPECT_EQ(std::filesystem::exists(caption), GetParam().answer == win32::IDYES) << caption;
    if (GetParam().answer == win32::IDYES) {
        EXPECT_EQ(boxes.back().Text, "Photo Save the success of!");
    }
    EXPECT_EQ(CaptureListForm, nullptr);
    EXPECT_EQ(State.CaptureWindowHandle, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnsavedQuestion,
                         ::testing::Values(CloseCase{"WindowYes", false, win32::IDYES},
                                           CloseCase{"WindowNo", false, win32::IDNO},
                                           CloseCase{"ProgramYes", true, win32::IDYES}),
                         [](const auto& Info) { return std::string(Info.param.name); });

// Delete removes the selected thumbnail only, and then Save asks for a selection; the close button only
// hides the window, and the thumbnails stay.
TEST_F(CaptureTest, DeleteEmptyAndTheCloseButton) {
    TwoCaptures();
    const V captions = Captions();
    CaptureListForm->Delete_XI->Click();
    EXPECT_EQ(CaptureListForm->RowTotal(), 2) << "nothing selected: nothing deleted";
    QTest::mouseClick(TCapture_Form::ThumbImage(CaptureListForm->RowAt(0)), Qt::LeftButton);
    CaptureListForm->Delete_XI->Click();
    EXPECT_EQ(Captions(), V{captions[1]});
    EXPECT_EQ(CaptureListForm->RowAt(0)->Top(), 10);
    EXPECT_EQ(State.SelectedCaptureIndex, -1);
    CaptureListForm->Save_XI->Click();
    EXPECT_EQ(BoxTexts(), V{"Please select a image to save."});
    CaptureListForm->Close_xi->Click();
    EXPECT_FALSE(CaptureListForm->isVisible());
    EXPECT_FALSE(State.CaptureListVisible);
    form->CL_LClick(form->CL_L);
    EXPECT_TRUE(CaptureListForm->isVisible());
    EXPECT_EQ(CaptureListForm->RowTotal(), 1);
    CaptureListForm->Empty_XI->Click();
    EXPECT_EQ(CaptureListForm->RowTotal(), 0);
    EXPECT_EQ(CaptureListForm->SelectedCapturePath, "");
}

// The capture window's own capture button asks the main window, which captures.
TEST_F(CaptureTest, TheWindowsCaptureButtonAsksTheMainWindow) {
    PlayRedThenBlue();
    form->CL_LClick(form->CL_L);
    CaptureListForm->Capture_xi->Click();
    EXPECT_EQ(CaptureListForm->RowTotal(), 0) << "posted";
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(CaptureListForm->RowTotal(), 1);
}

} // namespace
