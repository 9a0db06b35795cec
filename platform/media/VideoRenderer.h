#pragma once
// The layer's own video renderer: decoded frames come out of an appsink per input stream and are painted
// into a widget. Two ways of showing them, as the media-graph service has:
// - window mode: a child window of its own (created when an owner is given), placed by SetWindowRect, the
//   picture filling it;
// - windowless mode: painted into the clipping window itself, the picture at the destination rectangle and
//   the border colour around it; each input stream at its output rectangle (a part of the destination, with
//   alpha and mirroring), which is how two streams are mixed.
// Frames come out of the decoder as it made them and are converted (scaled and turned into RGB in one pass)
// to the size they are shown at, by the streaming thread they arrive on. Where they are shown:
// - on an X display that offers shared memory (XShmImage), a picture that stands alone (one stream, opaque,
//   not mirrored) is put by that thread straight into a native window of its own, placed over the
//   picture's rectangle: no copy into the toolkit's window buffer, no painting on the GUI thread;
// - otherwise (pictures mixed, Qt's offscreen platform, a display without the extension) it is painted
//   through Qt: into the renderer's child window, or into the clipping window with the border colour
//   around it.
// The last frame of each stream is kept as decoded, so that a repaint, a capture or a new size converts it
// again.
//
// Geometry calls and painting happen on the GUI thread; frames arrive on streaming threads.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>

#include "platform/media/Interfaces.h"

// After the platform types: GLib defines TRUE and FALSE as macros.
#include <gst/gst.h>

#include "platform/media/FrameConverter.h"
#include "platform/media/XShmOutput.h"

class QObject;
class QPainter;
class QWidget;

namespace dshow {

class VideoRenderer {
public:
    enum class Mode { Window, Windowless };

    explicit VideoRenderer(Mode Mode);
    ~VideoRenderer();
    VideoRenderer(const VideoRenderer&) = delete;
    VideoRenderer& operator=(const VideoRenderer&) = delete;

    Mode GetMode() const { return mode_; }
    void SetMode(Mode Mode);

    static constexpr int MaxStreams = 16;
    // Input streams: how many there may be (1..MaxStreams, changeable while none is connected).
    bool SetStreamCount(int Count);
    int StreamCount() const { return static_cast<int>(inputs_.size()); }
    // A new branch (a floating bin with one sink pad) that feeds the first unconnected input, or nullptr when
    // every input is taken. Index tells which input it feeds.
    GstElement* CreateInput(int* Index);
    int ConnectedInputs() const;
    // The pipeline that held the branches is gone: every input is free again (frames are kept).
    void DisconnectInputs();

    // The stream's size as it is to be shown (pixel aspect applied), empty before its first caps.
    QSize NativeSize(int Stream) const;
    // The last frame that arrived for the stream, at the size it is painted; null before the first.
    QImage LastFrame(int Stream) const;
    int FramesReceived(int Stream) const;

    // Windowless mode.
    void SetClippingWindow(HWND Window);
    HWND ClippingWindow() const { return clippingWindow_; }
    void SetBorderColour(COLORREF Colour);
    COLORREF BorderColour() const { return borderColour_; }
    void SetDestination(const QRect& Rect);
    QRect Destination() const { return destination_; }

    // Window mode.
    void SetOwner(HWND Owner);
    HWND Owner() const { return owner_; }
    void SetWindowRect(const QRect& Rect);
    QRect WindowRect() const { return windowRect_; }
    void SetWindowVisible(bool Visible);
    bool WindowVisible() const { return windowVisible_; }
    // The child window (for tests and for the window's stacking), nullptr before an owner is given.
    QWidget* Window() const;
    // The native window a lone picture is put into directly, while it is (nullptr while pictures are
    // painted through Qt).
    QWidget* DirectWindow() const;

    // Mixing.
    bool SetOutputRect(int Stream, const NORMALIZEDRECT& Rect);
    NORMALIZEDRECT OutputRect(int Stream) const;
    bool SetAlpha(int Stream, float Alpha);
    float Alpha(int Stream) const;
    bool SetZOrder(int Stream, DWORD Z);
    DWORD ZOrder(int Stream) const;

    // Paints the kept frames again.
    void Repaint();
    // Paints the picture into Area of a widget being painted (the whole of it in windowless mode).
    void Paint(QPainter& Painter, const QRect& Area) const;
    // How many frames every renderer of the process has painted (for the start-up measurements).
    static long long FramesPainted();

private:
    struct Input;
    class PaintHook;
    class WindowWidget;
    class DirectWidget;

    static GstFlowReturn OnSample(GstElement* Sink, Input* In, bool Preroll);
    void FrameArrived();
    void RepaintPictures();
    void Unhook();
    // The size of the widget painted into (GUI thread): what a picture not placed yet is fitted into.
    void NoteTargetSize(const QSize& Size);
    QSize PaintedSize(const Input& In) const; // under the mutex
    // The stream's frame converted to its painted size, converted again from the kept frame when the
    // picture has been given another size since (under the mutex).
    const QImage& PaintedFrame(Input& In) const;
    void UpdateTarget();
    // Shows the lone picture through its native window, or goes back to painting through Qt (GUI thread).
    void UpdateDirect();
    void UpdateDirectLater();
    void PutDirectAgain();

    Mode mode_;
    std::vector<std::unique_ptr<Input>> inputs_;
    mutable std::mutex mutex_;

    HWND clippingWindow_ = nullptr;
    COLORREF borderColour_ = 0;
    QRect destination_;
    HWND owner_ = nullptr;
    QRect windowRect_;
    bool windowVisible_ = true;

    std::unique_ptr<QObject> notifier_; // lives on the GUI thread; queued repaints go through it
    std::unique_ptr<PaintHook> hook_;
    QPointer<QWidget> hooked_;
    bool hookedWasOpaque_ = false;
    QSize targetSize_; // under the mutex
    QPointer<QWidget> window_;
    std::atomic<bool> repaintPending_{false};

    // The direct way: the native window, and (under the mutex) its X window, size and stream while pictures
    // go there.
    QPointer<QWidget> direct_;
    unsigned long directWindow_ = 0;
    QSize directSize_;
    int directInput_ = -1;
    int directShownFrames_ = -1; // the stream's frame count when its picture was last put
    bool directRefused_ = false; // the window could not take the pictures (GUI thread)
    std::unique_ptr<XShmImage> directImage_;
    mutable FrameConverter guiConverter_; // conversions the GUI thread makes (a repaint at a new size)
};

} // namespace dshow
