#include "platform/forms/ExtCtrls.h"

#include <chrono>
#include <filesystem>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

using namespace forms;
using testing_support::TempDir;

namespace {

class ExtCtrlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
};

TEST_F(ExtCtrlsTest, TimerNeverRunsFasterThanEveryTenMilliseconds) {
    // The clock starts before the timer does: started after it, a pause of the test between the two (a loaded
    // machine) would shorten the time measured for the same ticks.
    QElapsedTimer clock;
    clock.start();
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    while (ticks < 5 && clock.elapsed() < 10000)
        QTest::qWait(1);
    EXPECT_EQ(ticks, 5);
    EXPECT_GE(clock.elapsed(), 5 * 9); // a tick may come a fraction of a millisecond early
}

TEST_F(ExtCtrlsTest, TimerWithoutIntervalHandlerOrEnabledNeverRuns) {
    TTimer zero;
    zero.SetInterval(0);
    zero.SetOnTimer([](TObject*) { ADD_FAILURE() << "interval 0 fired"; });
    TTimer none;
    none.SetInterval(10);
    TTimer disabled;
    disabled.SetInterval(10);
    disabled.SetEnabled(false);
    disabled.SetOnTimer([](TObject*) { ADD_FAILURE() << "disabled timer fired"; });
    EXPECT_FALSE(zero.Running());
    EXPECT_FALSE(none.Running());
    EXPECT_FALSE(disabled.Running());
    QTest::qWait(50);
    disabled.SetEnabled(true);
    EXPECT_TRUE(disabled.Running());
}

TEST_F(ExtCtrlsTest, ExceptionInATimerGoesToTheApplicationAndTheTimerGoesOn) {
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) { errors.emplace_back(e.what()); };
    TTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        if (++ticks == 1)
            throw EClassLibraryError("first");
    });
    for (int i = 0; i < 1000 && ticks < 2; ++i)
        QTest::qWait(5);
    Application().OnException = nullptr;
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(errors, (std::vector<std::string>{"first"}));
}

void SaveBitmap(const std::string& Path, int W, int H, QRgb Fill, QRgb Corner) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Fill);
    image.setPixel(0, H - 1, Corner);
    ASSERT_TRUE(image.save(QString::fromStdString(Path), "BMP"));
}

// Whatever the case of its name, and in a folder named in UTF-8 or in a legacy 8-bit encoding (the program
// installed under "café" written in Latin-1): paths are bytes.
TEST_F(ExtCtrlsTest, PictureIsFoundWhateverTheCaseOfItsNameAndTheBytesOfItsFolder) {
    for (const char* folder : {"skin", "皮肤", "caf\xE9"}) {
        SCOPED_TRACE(folder);
        TempDir dir;
        SaveBitmap(dir.File("Sound_Normal_btn.bmp"), 30, 30, qRgb(1, 2, 3), qRgb(1, 2, 3));
        std::filesystem::create_directory(dir.File(folder));
        std::filesystem::rename(dir.File("Sound_Normal_btn.bmp"), dir.File(folder) + "/Sound_Normal_btn.bmp");
        TPicture picture;
        picture.LoadFromFile(dir.File(folder) + "/Sound_normal_btn.bmp");
        EXPECT_EQ(picture.Width(), 30);
        EXPECT_EQ(picture.Image().pixel(5, 5), qRgb(1, 2, 3));
    }
}

TEST_F(ExtCtrlsTest, PictureErrorsCarryTheClassLibrarysTexts) {
    TempDir dir;
    testing_support::WriteFile(dir.File("broken.bmp"), "not a bitmap");
    TPicture picture;
    auto message = [&](const std::string& file) {
        try {
            picture.LoadFromFile(file);
        } catch (const EClassLibraryError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(dir.File("missing.bmp")),
              "Cannot open file \"" + dir.File("missing.bmp") + "\". No such file or directory");
    EXPECT_EQ(message(dir.File("broken.bmp")), "Bitmap image is not valid");
    EXPECT_EQ(message(dir.File("x.gif")), "Unknown picture file extension (.gif)");
    EXPECT_TRUE(picture.Empty()); // a failed load leaves the picture as it was
}

TEST_F(ExtCtrlsTest, ImageSizesItselfToItsPictureAndKeysOutTheCornerColour) {
    TempDir dir;
    SaveBitmap(dir.File("p.bmp"), 24, 20, qRgb(200, 10, 10), qRgb(255, 0, 255));
    TPanel panel;
    panel.SetBounds(0, 0, 100, 100);
    panel.SetColor(clBlue);
    panel.SetBevelOuter(bvNone);
    auto* image = new TImage(&panel);
    image->SetAutoSize(true);
    image->SetTransparent(true);
    image->Picture().LoadFromFile(dir.File("p.bmp"));
    EXPECT_EQ(image->size(), QSize(24, 20));
    const QImage shot = panel.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 5), qRgb(200, 10, 10));
    EXPECT_EQ(shot.pixel(50, 50), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(0, 19), qRgb(0, 0, 255)); // the key colour shows the panel
}

TEST_F(ExtCtrlsTest, LabelSizesItselfToItsCaption) {
    TLabel label;
    label.SetBounds(100, 5, 10, 10);
    label.SetCaption("准备完毕");
    const int width = label.Width();
    EXPECT_GT(width, 10);
    label.SetCaption("准备完毕准备完毕");
    EXPECT_GT(label.Width(), width);
    EXPECT_EQ(label.Left(), 100);
    label.SetAlignment(taRightJustify);
    const int right = label.Left() + label.Width();
    label.SetCaption("");
    EXPECT_EQ(label.Left() + label.Width(), right); // a right-justified label keeps its right edge
}

// Every kind of line break gives a line of its own, a lone CR included (the texts of the About box have only
// CRs); the label is as wide as its widest line.
TEST_F(ExtCtrlsTest, LabelBreaksItsLinesAtCrLfOrBoth) {
    TLabel oneLine;
    oneLine.SetCaption("Thanks");
    TLabel longLine;
    longLine.SetCaption("Thanks for you download");
    const int lineHeight = oneLine.Height();
    const struct {
        const char* caption;
        int lines;
    } cases[] = {{"Thanks\rThanks for you download", 2},
                 {"Thanks\nThanks for you download", 2},
                 {"Thanks\r\nThanks for you download", 2},
                 {"Thanks\r\r\r\rThanks for you download", 5}};
    for (const auto& c : cases) {
        TLabel label;
        label.SetCaption(c.caption);
        EXPECT_GE(label.Height(), c.lines * lineHeight - 1) << c.caption;
        EXPECT_LT(label.Height(), (c.lines + 1) * lineHeight) << c.caption;
        EXPECT_EQ(label.Width(), longLine.Width()) << c.caption;
    }
}

TEST_F(ExtCtrlsTest, LabelReportsThePointerComingAndGoing) {
    TForm form;
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 200, 100);
    auto* label = new TLabel(&form);
    label->SetBounds(10, 10, 0, 0);
    label->SetCaption("Shortcut key");
    std::vector<std::string> log;
    label->OnMouseEnter = [&](TObject* Sender) { log.push_back(Sender == label ? "enter" : "enter?"); };
    label->OnMouseLeave = [&](TObject* Sender) { log.push_back(Sender == label ? "leave" : "leave?"); };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // Qt drops a move to where the pointer already is; the first of two moves comes into the window for sure.
    QTest::mouseMove(form.windowHandle(), {150, 80});
    QTest::mouseMove(form.windowHandle(), {190, 90});
    log.clear();
    QTest::mouseMove(form.windowHandle(), {15, 15});
    QTest::mouseMove(form.windowHandle(), {150, 80});
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

} // namespace

namespace {

// The columns from the first to the last lit pixel in rows Top .. Top + Height - 1 of Image (0 when none).
int LitWidth(const QImage& Image, int Top, int Height) {
    int first = Image.width(), last = -1;
    for (int y = Top; y < std::min(Top + Height, Image.height()); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (qGray(Image.pixel(x, y)) > 100) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last < first ? 0 : last - first + 1;
}

TEST_F(ExtCtrlsTest, LabelDrawsEachLineOfItsCaptionOneLineHeightBelowTheLast) {
    TLabel label;
    label.SetColor(clBlack);
    label.Font().SetColor(clWhite);
    // CR LF, LF and CR each end a line; the line end at the end starts none.
    label.SetCaption("i\r\nWWWWWWWWWWWW\nWWWW\r");
    const int h = label.LineHeight();
    ASSERT_GT(h, 5);
    EXPECT_EQ(label.Height(), 3 * h);
    EXPECT_EQ(label.Width(), QFontMetrics(label.font()).horizontalAdvance("WWWWWWWWWWWW"));
    const QImage shot = label.grab().toImage();
    const int first = LitWidth(shot, 0, h), second = LitWidth(shot, h, h), third = LitWidth(shot, 2 * h, h);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, third);
    EXPECT_GT(second, 2 * third); // the widest line, in the second band
}

// A label of thousands of lines (a lyrics text) paints only the lines that cross the part being painted: a
// band of two lines records as much drawing as a label of those two lines alone, and shows what the whole
// label shows there.
TEST_F(ExtCtrlsTest, ALabelOfManyLinesPaintsOnlyTheLinesInThePartPainted) {
    auto whiteOnBlack = [](TLabel& Label, const std::string& Caption) {
        Label.SetColor(clBlack);
        Label.Font().SetColor(clWhite);
        Label.SetCaption(Caption);
    };
    std::string caption;
    for (int i = 0; i < 3000; ++i)
        caption += "line " + std::to_string(i) + "\r\n";
    TLabel label, two;
    whiteOnBlack(label, caption);
    whiteOnBlack(two, "line 1500\r\nline 1501");
    const int h = label.LineHeight();
    ASSERT_EQ(label.Height(), 3000 * h);
    // Lines 1500 and 1501, and a pixel of each line beside them.
    const QRect band(0, 1500 * h - 1, label.Width(), 2 * h + 2);
    QPicture part, alone;
    {
        QPainter painter(&part);
        label.render(&painter, QPoint(), QRegion(band));
    }
    {
        QPainter painter(&alone);
        two.render(&painter, QPoint(), QRegion(0, 0, two.Width(), two.Height() + 2));
    }
    EXPECT_LT(part.size(), 2 * alone.size()) << "drawing recorded for four lines at most";

    QImage shown(band.size(), QImage::Format_RGB32);
    shown.fill(Qt::red);
    label.render(&shown, QPoint(), QRegion(band));
    const QImage whole = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, whole.copy(band));
    EXPECT_GT(LitWidth(shown, 1, h), 0) << "line 1500 drawn";
}

TEST_F(ExtCtrlsTest, LabelExpandsTabs) {
    TLabel tabs, blanks;
    tabs.SetCaption("Title\t\tSong");
    blanks.SetCaption("Title  Song");
    EXPECT_GT(tabs.Width(), blanks.Width() + QFontMetrics(tabs.font()).horizontalAdvance("    "));
    EXPECT_EQ(tabs.Height(), tabs.LineHeight());
}

} // namespace
