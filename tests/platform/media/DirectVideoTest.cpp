// The renderers on a real X display (a private Xvfb, which offers shared memory): a lone picture is put into
// a native window of its own over the picture's rectangle, with the border colour around it and nothing
// painted through Qt per frame; what it cannot show that way (a second stream mixed in, a translucent or
// mirrored picture) goes back to painting through Qt. What the screen shows is read back from the server.

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include "platform/com/Guids.h"
#include "platform/media/Filters.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Window.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"
#include "tests/support/WindowlessGraph.h"

namespace {

using namespace dshow;
using namespace std::chrono_literals;
using com::ComPtr;
using testing_support::FixtureColour;
using testing_support::MediaFile;
using testing_support::MediaFixture;
using testing_support::NearColour;
using testing_support::Pump;
using testing_support::Rgb;
using testing_support::WaitUntil;

template <class T> ComPtr<T> Create(const com::CLSID& Clsid) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, 3, T::Iid, &raw)))
        return nullptr;
    return ComPtr<T>::Adopt(static_cast<T*>(raw));
}

std::shared_ptr<VideoRenderer> RendererOf(IBaseFilter* Filter) {
    auto* role = dynamic_cast<FilterRole*>(Filter);
    return role != nullptr ? role->Renderer() : nullptr;
}

// Counts the paintings of a widget.
class Paints : public QObject {
public:
    explicit Paints(QWidget* Widget) : widget_(Widget) { widget_->installEventFilter(this); }
    ~Paints() override { widget_->removeEventFilter(this); }
    int count = 0;
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            ++count;
        if (Event->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }

private:
    QWidget* widget_;
};

constexpr Rgb Border{0, 0, 200};

class DirectVideo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // This program's only application object runs on the private server.
        ASSERT_FALSE(testing_support::EnsureQApplicationOnPrivateDisplay().empty()) << "Xvfb did not start";
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    }
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([&] { return g.panel->windowHandle()->isExposed(); }));
        panel = g.panel.get();
    }
    void TearDown() override { g.control->Stop(); }

    // The file rendered into the graph, the video at (50, 0, 400, 300) of the panel.
    void Windowless(MediaFixture Fixture) { ASSERT_EQ(g.Render(Fixture), com::S_OK); }
    void Place(RECT Destination) { g.windowless->SetVideoPosition(nullptr, &Destination); }
    std::shared_ptr<VideoRenderer> Renderer() const { return RendererOf(g.vmr.Get()); }
    // What the screen shows of the panel (or another window), read from the server.
    QImage Screen(QWidget* Window = nullptr) const {
        return QGuiApplication::primaryScreen()->grabWindow((Window ? Window : panel)->winId()).toImage();
    }
    bool Shows(int X, int Y, Rgb Colour, QWidget* Window = nullptr) const {
        return NearColour(Screen(Window).pixel(X, Y), Colour);
    }
    bool PlaysDirectly() const {
        auto renderer = Renderer();
        return renderer && renderer->DirectWindow() != nullptr;
    }

    testing_support::WindowlessGraph g{win32::RGB(Border.r, Border.g, Border.b)};
    QWidget* panel = nullptr;
    ComPtr<IMediaControl>& control = g.control;
    ComPtr<IVMRWindowlessControl9>& windowless = g.windowless;
    ComPtr<IVMRMixerControl9>& mixer = g.mixer;
    ComPtr<IGraphBuilder>& graph = g.graph;
};

// A lone picture: its own native window over the destination, the picture there and the border colour
// beside it on the screen, and the panel not painted again as frames come.
TEST_F(DirectVideo, ALonePictureHasItsOwnWindowAndTheBorderAroundIt) {
    Windowless(MediaFixture::Mp4H264AacLong);
    ASSERT_EQ(control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PlaysDirectly() && Shows(250, 150, FixtureColour); }))
        << std::hex << Screen().pixel(250, 150);
    QWidget* direct = Renderer()->DirectWindow();
    EXPECT_EQ(direct->geometry(), QRect(50, 0, 400, 300));
    EXPECT_NE(direct->internalWinId(), 0u) << "a native window";
    EXPECT_EQ(direct->parentWidget(), panel);
    EXPECT_TRUE(Shows(52, 2, FixtureColour));
    EXPECT_TRUE(Shows(447, 297, FixtureColour));
    EXPECT_TRUE(Shows(25, 150, Border)) << "border colour left of the destination";
    EXPECT_TRUE(Shows(475, 150, Border)) << "border colour right of the destination";
    Paints paints(panel);
    Pump(600ms);
    EXPECT_EQ(paints.count, 0) << "frames are not painted through Qt";
    // The current frame, as the capture of a pair takes it, at the size it is shown.
    std::vector<std::uint8_t> pixels;
    LONG width = 0, height = 0;
    ASSERT_EQ(windowless->GetStreamImage(0, &width, &height, &pixels), com::S_OK);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    const auto middle = (150u * 400u + 200u) * 4u;
    EXPECT_TRUE(NearColour(qRgb(pixels[middle + 2], pixels[middle + 1], pixels[middle]), FixtureColour));
}

// Placed anew while paused (a window resized, full screen), the kept frame is shown at the new place and
// size at once, without a new frame.
TEST_F(DirectVideo, APausedPictureFollowsANewPlace) {
    Windowless(MediaFixture::Mp4H264AacLong);
    ASSERT_EQ(control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PlaysDirectly() && Shows(250, 150, FixtureColour); }));
    ASSERT_EQ(control->Pause(), com::S_OK);
    Pump(200ms);
    Place({300, 150, 500, 300});
    EXPECT_TRUE(WaitUntil([&] { return Shows(400, 225, FixtureColour) && Shows(150, 75, Border); }))
        << std::hex << Screen().pixel(400, 225) << " " << Screen().pixel(150, 75);
    EXPECT_EQ(Renderer()->DirectWindow()->geometry(), QRect(300, 150, 200, 150));
    EXPECT_TRUE(Shows(302, 152, FixtureColour));
    EXPECT_TRUE(Shows(290, 225, Border));
}

// A second stream mixed in: both are painted through Qt, the first filling the destination and the second
// (nearer the viewer) over its corner; the lone picture's window is gone.
TEST_F(DirectVideo, ASecondStreamIsMixedThroughQt) {
    Windowless(MediaFixture::Mp4H264Aac);
    ASSERT_EQ(graph->RenderFile(com::WideString(MediaFile(MediaFixture::Mp4VideoOnly)).c_str(), nullptr),
              com::S_OK);
    const NORMALIZEDRECT corner{0.5f, 0.5f, 1.0f, 1.0f};
    ASSERT_EQ(mixer->SetOutputRect(1, &corner), com::S_OK);
    ASSERT_EQ(mixer->SetZOrder(0, 1), com::S_OK);
    ASSERT_EQ(mixer->SetZOrder(1, 0), com::S_OK);
    ASSERT_EQ(control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] {
        return !PlaysDirectly() && Shows(150, 100, FixtureColour) && !Shows(300, 200, FixtureColour) &&
               !Shows(300, 200, Border);
    })) << std::hex
        << Screen().pixel(150, 100) << " " << Screen().pixel(300, 200);
    EXPECT_TRUE(Shows(25, 150, Border));
}

struct PlainCase {
    const char* name;
    float alpha;
    NORMALIZEDRECT rect;
};

class NotPlain : public DirectVideo, public ::testing::WithParamInterface<PlainCase> {};

// A lone picture made translucent or mirrored is painted through Qt (over the border colour, mirrored), and
// goes back to its own window when it is plain again.
TEST_P(NotPlain, IsPaintedThroughQtUntilItIsPlainAgain) {
    Windowless(MediaFixture::Mp4H264AacLong);
    ASSERT_EQ(control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PlaysDirectly(); }));
    mixer->SetAlpha(0, GetParam().alpha);
    mixer->SetOutputRect(0, &GetParam().rect);
    EXPECT_FALSE(PlaysDirectly());
    EXPECT_TRUE(WaitUntil([&] { return !Shows(250, 150, FixtureColour) || GetParam().alpha >= 1.0f; }));
    if (GetParam().alpha < 1.0f)
        EXPECT_FALSE(Shows(250, 150, Border)) << "the picture lies over the border colour, half through";
    else
        EXPECT_TRUE(WaitUntil([&] { return Shows(250, 150, FixtureColour); }))
            << "mirrored, still the picture";
    mixer->SetAlpha(0, 1.0f);
    const NORMALIZEDRECT whole{0.0f, 0.0f, 1.0f, 1.0f};
    mixer->SetOutputRect(0, &whole);
    EXPECT_TRUE(PlaysDirectly());
    EXPECT_TRUE(WaitUntil([&] { return Shows(250, 150, FixtureColour); }));
}

INSTANTIATE_TEST_SUITE_P(Cases, NotPlain,
                         ::testing::Values(PlainCase{"Translucent", 0.5f, {0.0f, 0.0f, 1.0f, 1.0f}},
                                           PlainCase{"Mirrored", 1.0f, {1.0f, 0.0f, 0.0f, 1.0f}}),
                         [](const ::testing::TestParamInfo<PlainCase>& Info) { return Info.param.name; });

// The graph's own renderer (window mode): the native window fills the renderer's child window where the
// player placed it; outside it the panel shows.
TEST_F(DirectVideo, TheOwnRenderersWindowIsFilledByThePicture) {
    QWidget owner;
    owner.resize(500, 300);
    QPalette palette = owner.palette();
    palette.setColor(QPalette::Window, QColor(Border.r, Border.g, Border.b));
    owner.setPalette(palette);
    owner.setAutoFillBackground(true);
    owner.show();
    ASSERT_TRUE(WaitUntil([&] { return owner.windowHandle()->isExposed(); }));
    auto own = Create<IGraphBuilder>(com::CLSID_FilterGraph);
    auto renderer = Create<IBaseFilter>(com::CLSID_VideoRenderer);
    own->AddFilter(renderer.Get(), u"Video Renderer");
    ASSERT_EQ(own->RenderFile(com::WideString(MediaFile(MediaFixture::Mp4H264AacLong)).c_str(), nullptr),
              com::S_OK);
    auto window = com::QueryInterfaceOf<IVideoWindow>(own.Get());
    ASSERT_EQ(window->put_Owner(win32::HandleOf(&owner)), com::S_OK);
    ASSERT_EQ(window->SetWindowPosition(100, 50, 200, 150), com::S_OK);
    auto ownControl = com::QueryInterfaceOf<IMediaControl>(own.Get());
    ASSERT_EQ(ownControl->Run(), com::S_OK);
    const auto r = RendererOf(renderer.Get());
    ASSERT_TRUE(
        WaitUntil([&] { return r->DirectWindow() != nullptr && Shows(200, 125, FixtureColour, &owner); }));
    EXPECT_EQ(r->DirectWindow()->parentWidget(), r->Window());
    EXPECT_EQ(r->DirectWindow()->geometry(), QRect(0, 0, 200, 150));
    EXPECT_TRUE(Shows(102, 52, FixtureColour, &owner));
    EXPECT_TRUE(Shows(297, 197, FixtureColour, &owner));
    EXPECT_TRUE(Shows(50, 25, Border, &owner)) << "outside the child window the panel shows";
    ASSERT_EQ(window->SetWindowPosition(0, 0, 500, 300), com::S_OK);
    EXPECT_TRUE(WaitUntil(
        [&] { return Shows(50, 25, FixtureColour, &owner) && Shows(480, 280, FixtureColour, &owner); }));
    ownControl->Stop();
}

// The picture's window is no window of the program's own for the desktop: it bears neither title nor class
// (tools find the program's windows by those), and clicks on the picture reach the panel beneath it.
TEST_F(DirectVideo, ThePicturesWindowIsNamelessAndLetsClicksThrough) {
    Windowless(MediaFixture::Mp4H264AacLong);
    ASSERT_EQ(control->Run(), com::S_OK);
    ASSERT_TRUE(WaitUntil([&] { return PlaysDirectly() && Shows(250, 150, FixtureColour); }));
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(Renderer()->DirectWindow()->internalWinId());
    for (xcb_atom_t property : {XCB_ATOM_WM_NAME, XCB_ATOM_WM_CLASS}) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ANY, 0, 64), nullptr);
        ASSERT_NE(reply, nullptr);
        EXPECT_EQ(reply->type, static_cast<xcb_atom_t>(XCB_ATOM_NONE)) << "property " << property;
        std::free(reply);
    }
    Paints presses(panel);
    const QPoint onPicture = panel->mapToGlobal(QPoint(250, 150));
    const std::string click = "DISPLAY=" + testing_support::EnsureQApplicationOnPrivateDisplay() +
                              " xdotool mousemove " + std::to_string(onPicture.x()) + " " +
                              std::to_string(onPicture.y()) + " click 1";
    ASSERT_EQ(std::system(click.c_str()), 0);
    EXPECT_TRUE(WaitUntil([&] { return presses.presses > 0; }, 5s));
}

} // namespace
