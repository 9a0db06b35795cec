#include "platform/media/VideoRenderer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <span>

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include "platform/win32/Window.h"

namespace dshow {

struct VideoRenderer::Input {
    VideoRenderer* owner = nullptr;
    int index = 0;
    GstElement* scaleCaps = nullptr; // the capsfilter that sets the painted size (a reference of ours)
    GstCaps* appliedCaps = nullptr;
    bool connected = false;
    // Written by streaming threads, read by the GUI thread: under the renderer's mutex.
    QImage frame;
    QSize native;
    int frames = 0;
    // Mixing, GUI thread only.
    NORMALIZEDRECT rect;
    float alpha = 1.0f;
    DWORD z = 0;
};

// Paints the picture in place of the clipping window's own painting (windowless mode).
class VideoRenderer::PaintHook : public QObject {
public:
    explicit PaintHook(VideoRenderer* Renderer) : renderer_(Renderer) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        auto* widget = qobject_cast<QWidget*>(Watched);
        if (widget == nullptr)
            return false;
        if (Event->type() == QEvent::Resize) {
            renderer_->NoteTargetSize(widget->size());
            return false;
        }
        if (Event->type() != QEvent::Paint)
            return false;
        QPainter painter(widget);
        renderer_->Paint(painter, widget->rect());
        return true;
    }

private:
    VideoRenderer* renderer_;
};

// The renderer's own child window (window mode). Mouse and keys go through to the owner beneath.
class VideoRenderer::WindowWidget : public QWidget {
public:
    WindowWidget(VideoRenderer* Renderer, QWidget* Parent) : QWidget(Parent), renderer_(Renderer) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        renderer_->Paint(painter, rect());
    }

private:
    VideoRenderer* renderer_;
};

VideoRenderer::VideoRenderer(Mode Mode) : mode_(Mode), notifier_(std::make_unique<QObject>()) {
    if (QCoreApplication::instance() != nullptr)
        notifier_->moveToThread(QCoreApplication::instance()->thread());
    SetStreamCount(1);
}

VideoRenderer::~VideoRenderer() {
    Unhook();
    delete window_.data();
    for (auto& in : inputs_) {
        if (in->scaleCaps)
            gst_object_unref(in->scaleCaps);
        if (in->appliedCaps)
            gst_caps_unref(in->appliedCaps);
    }
}

void VideoRenderer::SetMode(Mode Mode) {
    {
        std::lock_guard lock(mutex_);
        mode_ = Mode;
    }
    UpdateTarget();
    UpdateScaling();
}

bool VideoRenderer::SetStreamCount(int Count) {
    if (Count < 1 || Count > MaxStreams || ConnectedInputs() > 0)
        return false;
    std::lock_guard lock(mutex_);
    inputs_.resize(static_cast<std::size_t>(Count));
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        if (!inputs_[i]) {
            inputs_[i] = std::make_unique<Input>();
            inputs_[i]->owner = this;
            inputs_[i]->index = static_cast<int>(i);
            inputs_[i]->z = static_cast<DWORD>(i);
        }
    }
    return true;
}

int VideoRenderer::ConnectedInputs() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(inputs_.begin(), inputs_.end(), [](auto& in) { return in->connected; }));
}

namespace {

GstElement* MakeElement(const char* Factory) {
    return gst_element_factory_make(Factory, nullptr);
}

} // namespace

GstElement* VideoRenderer::CreateInput(int* Index) {
    Input* in = nullptr;
    {
        std::lock_guard lock(mutex_);
        for (auto& candidate : inputs_)
            if (!candidate->connected) {
                in = candidate.get();
                break;
            }
        if (in == nullptr)
            return nullptr;
        in->connected = true;
    }
    if (Index)
        *Index = in->index;

    GstElement* bin = gst_bin_new(nullptr);
    GstElement* queue = MakeElement("queue");
    g_object_set(queue, "max-size-buffers", 3u, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);
    // One pass that converts and scales where the element exists; two elements otherwise.
    GstElement* convertScale = MakeElement("videoconvertscale");
    GstElement* convert = nullptr;
    if (convertScale == nullptr) {
        convertScale = MakeElement("videoscale");
        convert = MakeElement("videoconvert");
    }
    g_object_set(convertScale, "add-borders", FALSE, nullptr);
    GstElement* caps = MakeElement("capsfilter");
    // The painted size changes while frames flow (the picture placed, the window laid out again): the caps
    // the converter has just sent stay accepted until the new ones arrive, instead of failing the stream as
    // not negotiated.
    gst_util_set_object_arg(G_OBJECT(caps), "caps-change-mode", "delayed");
    GstElement* sink = MakeElement("appsink");
    g_object_set(sink, "sync", TRUE, "qos", TRUE, "max-buffers", 2u, "enable-last-sample", FALSE, nullptr);

    gst_bin_add_many(GST_BIN(bin), queue, convertScale, caps, sink, nullptr);
    if (convert) {
        gst_bin_add(GST_BIN(bin), convert);
        gst_element_link_many(queue, convertScale, convert, caps, sink, nullptr);
    } else {
        gst_element_link_many(queue, convertScale, caps, sink, nullptr);
    }
    GstPad* target = gst_element_get_static_pad(queue, "sink");
    GstPad* ghost = gst_ghost_pad_new("sink", target);
    gst_object_unref(target);
    gst_element_add_pad(bin, ghost);

    // The decoder's allocation query is answered here, with no pool of ours: it then decodes into a pool of
    // its own and keeps reusing those buffers. (With the converter's proposal a direct-rendering decoder took
    // fresh memory for nearly every frame: a page fault per 4 KiB of picture, more CPU than the conversion.)
    // The converter reads pictures laid out as the decoder keeps them (the video meta), so they are not
    // copied into a plain layout first.
    gst_pad_add_probe(
        ghost, GST_PAD_PROBE_TYPE_QUERY_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer) -> GstPadProbeReturn {
            GstQuery* query = GST_PAD_PROBE_INFO_QUERY(info);
            if (GST_QUERY_TYPE(query) != GST_QUERY_ALLOCATION)
                return GST_PAD_PROBE_OK;
            gst_query_add_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr);
            return GST_PAD_PROBE_HANDLED;
        },
        nullptr, nullptr);

    // The stream's own size, from its caps before scaling.
    gst_pad_add_probe(
        ghost, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer data) -> GstPadProbeReturn {
            GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
            if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
                return GST_PAD_PROBE_OK;
            GstCaps* streamCaps = nullptr;
            gst_event_parse_caps(event, &streamCaps);
            GstVideoInfo videoInfo;
            if (streamCaps && gst_video_info_from_caps(&videoInfo, streamCaps)) {
                auto* input = static_cast<Input*>(data);
                int width = videoInfo.width;
                if (videoInfo.par_d > 0 && videoInfo.par_n > 0 && videoInfo.par_n != videoInfo.par_d)
                    width = static_cast<int>(gst_util_uint64_scale_int(static_cast<guint64>(width),
                                                                       videoInfo.par_n, videoInfo.par_d));
                {
                    std::lock_guard lock(input->owner->mutex_);
                    input->native = QSize(width, videoInfo.height);
                }
                input->owner->UpdateScaling();
            }
            return GST_PAD_PROBE_OK;
        },
        in, nullptr);

    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = [](GstAppSink* s, gpointer data) {
        return OnSample(GST_ELEMENT(s), static_cast<Input*>(data), true);
    };
    callbacks.new_sample = [](GstAppSink* s, gpointer data) {
        return OnSample(GST_ELEMENT(s), static_cast<Input*>(data), false);
    };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, in, nullptr);

    {
        std::lock_guard lock(mutex_);
        if (in->scaleCaps)
            gst_object_unref(in->scaleCaps);
        in->scaleCaps = GST_ELEMENT(gst_object_ref(caps));
        if (in->appliedCaps) {
            gst_caps_unref(in->appliedCaps);
            in->appliedCaps = nullptr;
        }
    }
    UpdateScaling();
    return bin;
}

void VideoRenderer::DisconnectInputs() {
    std::lock_guard lock(mutex_);
    for (auto& in : inputs_) {
        in->connected = false;
        if (in->scaleCaps) {
            gst_object_unref(in->scaleCaps);
            in->scaleCaps = nullptr;
        }
        if (in->appliedCaps) {
            gst_caps_unref(in->appliedCaps);
            in->appliedCaps = nullptr;
        }
    }
}

namespace {

// A frame as it came out of the pipeline, mapped: the picture painted is these bytes, not a copy of them. The
// buffer goes back to its pool when the last picture over it is let go.
struct MappedSample {
    GstSample* sample = nullptr;
    GstVideoFrame frame{};
};

void ReleaseMappedSample(void* Data) {
    auto* mapped = static_cast<MappedSample*>(Data);
    gst_video_frame_unmap(&mapped->frame);
    gst_sample_unref(mapped->sample);
    delete mapped;
}

} // namespace

GstFlowReturn VideoRenderer::OnSample(GstElement* Sink, Input* In, bool Preroll) {
    GstSample* sample = Preroll ? gst_app_sink_pull_preroll(GST_APP_SINK(Sink))
                                : gst_app_sink_pull_sample(GST_APP_SINK(Sink));
    if (sample == nullptr)
        return GST_FLOW_EOS;
    GstVideoInfo videoInfo;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    auto* mapped = new MappedSample{sample, {}};
    if (buffer == nullptr || !gst_video_info_from_caps(&videoInfo, gst_sample_get_caps(sample)) ||
        !gst_video_frame_map(&mapped->frame, &videoInfo, buffer, GST_MAP_READ)) {
        delete mapped;
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    }
    // BGRx in memory is 0xffRRGGBB read as 32-bit words on this byte order: Qt's RGB32.
    QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped->frame, 0)), videoInfo.width,
                 videoInfo.height, GST_VIDEO_FRAME_PLANE_STRIDE(&mapped->frame, 0), QImage::Format_RGB32,
                 ReleaseMappedSample, mapped);
    {
        std::lock_guard lock(In->owner->mutex_);
        std::swap(In->frame, image);
        ++In->frames;
    }
    // The frame before is let go here, outside the lock: its buffer goes back to the pool.
    image = QImage();
    In->owner->FrameArrived();
    return GST_FLOW_OK;
}

void VideoRenderer::FrameArrived() {
    // One queued repaint at a time; frames that come meanwhile are painted by it.
    if (repaintPending_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        notifier_.get(),
        [this] {
            repaintPending_ = false;
            RepaintPictures();
        },
        Qt::QueuedConnection);
}

QSize VideoRenderer::NativeSize(int Stream) const {
    std::lock_guard lock(mutex_);
    if (Stream < 0 || Stream >= StreamCount())
        return {};
    return inputs_[static_cast<std::size_t>(Stream)]->native;
}

QImage VideoRenderer::LastFrame(int Stream) const {
    std::lock_guard lock(mutex_);
    if (Stream < 0 || Stream >= StreamCount())
        return {};
    return inputs_[static_cast<std::size_t>(Stream)]->frame;
}

int VideoRenderer::FramesReceived(int Stream) const {
    std::lock_guard lock(mutex_);
    if (Stream < 0 || Stream >= StreamCount())
        return 0;
    return inputs_[static_cast<std::size_t>(Stream)]->frames;
}

void VideoRenderer::SetClippingWindow(HWND Window) {
    clippingWindow_ = Window;
    UpdateTarget();
    UpdateScaling();
}

void VideoRenderer::SetBorderColour(COLORREF Colour) {
    borderColour_ = Colour;
    Repaint();
}

void VideoRenderer::SetDestination(const QRect& Rect) {
    {
        std::lock_guard lock(mutex_);
        destination_ = Rect;
    }
    UpdateScaling();
    Repaint();
}

void VideoRenderer::SetOwner(HWND Owner) {
    owner_ = Owner;
    UpdateTarget();
    UpdateScaling();
}

void VideoRenderer::SetWindowRect(const QRect& Rect) {
    {
        std::lock_guard lock(mutex_);
        windowRect_ = Rect;
    }
    if (window_)
        window_->setGeometry(Rect);
    UpdateScaling();
}

void VideoRenderer::SetWindowVisible(bool Visible) {
    windowVisible_ = Visible;
    if (window_)
        window_->setVisible(Visible);
}

QWidget* VideoRenderer::Window() const {
    return window_.data();
}

void VideoRenderer::Unhook() {
    if (!hooked_)
        return;
    hooked_->removeEventFilter(hook_.get());
    hooked_->setAttribute(Qt::WA_OpaquePaintEvent, hookedWasOpaque_);
    hooked_->update();
    hooked_ = nullptr;
}

void VideoRenderer::NoteTargetSize(const QSize& Size) {
    {
        std::lock_guard lock(mutex_);
        if (targetSize_ == Size)
            return;
        targetSize_ = Size;
    }
    UpdateScaling();
}

// The widget painted into follows the mode: the clipping window (hooked) or our own child of the owner.
void VideoRenderer::UpdateTarget() {
    QWidget* clip = mode_ == Mode::Windowless ? win32::WidgetOf(clippingWindow_) : nullptr;
    if (hooked_ != clip) {
        Unhook();
        hooked_ = clip;
        if (clip) {
            if (!hook_)
                hook_ = std::make_unique<PaintHook>(this);
            clip->installEventFilter(hook_.get());
            // Every pixel of it is painted here (the picture and the border colour around it): nothing
            // beneath needs painting first.
            hookedWasOpaque_ = clip->testAttribute(Qt::WA_OpaquePaintEvent);
            clip->setAttribute(Qt::WA_OpaquePaintEvent);
            clip->update();
        }
    }
    QWidget* owner = mode_ == Mode::Window ? win32::WidgetOf(owner_) : nullptr;
    if (QWidget* target = clip != nullptr ? clip : owner)
        NoteTargetSize(target->size());
    if (owner == nullptr) {
        delete window_.data();
    } else if (!window_) {
        window_ = new WindowWidget(this, owner);
        window_->setGeometry(windowRect_);
        window_->setVisible(windowVisible_);
    } else if (window_->parentWidget() != owner) {
        window_->setParent(owner);
        window_->setGeometry(windowRect_);
        window_->setVisible(windowVisible_);
    }
}

namespace {

// The part of Area that a normalised rectangle names; mirrored when it is given reversed.
QRectF MapNormalised(const NORMALIZEDRECT& R, const QRect& Area) {
    const double left = Area.left() + static_cast<double>(std::min(R.left, R.right)) * Area.width();
    const double top = Area.top() + static_cast<double>(std::min(R.top, R.bottom)) * Area.height();
    const double width = std::abs(static_cast<double>(R.right - R.left)) * Area.width();
    const double height = std::abs(static_cast<double>(R.bottom - R.top)) * Area.height();
    return {left, top, width, height};
}

} // namespace

// Called under the mutex, from any thread.
QSize VideoRenderer::PaintedSize(const Input& In) const {
    if (mode_ == Mode::Window && windowRect_.isValid())
        return windowRect_.size();
    if (mode_ == Mode::Windowless && destination_.isValid())
        return MapNormalised(In.rect, destination_).toRect().size();
    // Not placed yet (the graph prerolls before the player places the picture): the stream's own shape fitted
    // into the widget it will be painted in, which is where a picture is mostly placed. The first frames are
    // then not converted at a size far from the painted one.
    if (In.native.isEmpty() || targetSize_.isEmpty())
        return {};
    return In.native.scaled(targetSize_, Qt::KeepAspectRatio);
}

void VideoRenderer::UpdateScaling() {
    // Worked out under the mutex, applied outside it: a caps change reaches into the streaming threads.
    std::vector<std::pair<GstElement*, GstCaps*>> changes;
    {
        std::lock_guard lock(mutex_);
        for (auto& in : inputs_) {
            if (in->scaleCaps == nullptr)
                continue;
            const QSize size = PaintedSize(*in);
            GstCaps* caps =
                size.width() > 0 && size.height() > 0
                    ? gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT,
                                          size.width(), "height", G_TYPE_INT, size.height(),
                                          "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr)
                    : gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx",
                                          "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
            if (in->appliedCaps && gst_caps_is_equal(caps, in->appliedCaps)) {
                gst_caps_unref(caps);
                continue;
            }
            if (in->appliedCaps)
                gst_caps_unref(in->appliedCaps);
            in->appliedCaps = gst_caps_ref(caps);
            changes.emplace_back(GST_ELEMENT(gst_object_ref(in->scaleCaps)), caps);
        }
    }
    for (auto& [element, caps] : changes) {
        g_object_set(element, "caps", caps, nullptr);
        gst_caps_unref(caps);
        gst_object_unref(element);
    }
}

bool VideoRenderer::SetOutputRect(int Stream, const NORMALIZEDRECT& Rect) {
    if (Stream < 0 || Stream >= StreamCount())
        return false;
    {
        std::lock_guard lock(mutex_);
        inputs_[static_cast<std::size_t>(Stream)]->rect = Rect;
    }
    UpdateScaling();
    Repaint();
    return true;
}

NORMALIZEDRECT VideoRenderer::OutputRect(int Stream) const {
    if (Stream < 0 || Stream >= StreamCount())
        return {};
    return inputs_[static_cast<std::size_t>(Stream)]->rect;
}

bool VideoRenderer::SetAlpha(int Stream, float Alpha) {
    if (Stream < 0 || Stream >= StreamCount() || Alpha < 0.0f || Alpha > 1.0f)
        return false;
    inputs_[static_cast<std::size_t>(Stream)]->alpha = Alpha;
    Repaint();
    return true;
}

float VideoRenderer::Alpha(int Stream) const {
    if (Stream < 0 || Stream >= StreamCount())
        return 0.0f;
    return inputs_[static_cast<std::size_t>(Stream)]->alpha;
}

bool VideoRenderer::SetZOrder(int Stream, DWORD Z) {
    if (Stream < 0 || Stream >= StreamCount())
        return false;
    inputs_[static_cast<std::size_t>(Stream)]->z = Z;
    Repaint();
    return true;
}

DWORD VideoRenderer::ZOrder(int Stream) const {
    if (Stream < 0 || Stream >= StreamCount())
        return 0;
    return inputs_[static_cast<std::size_t>(Stream)]->z;
}

void VideoRenderer::Repaint() {
    if (hooked_)
        hooked_->update();
    if (window_)
        window_->update();
}

// After a new frame only the pictures change, not the border around them.
void VideoRenderer::RepaintPictures() {
    if (window_)
        window_->update();
    if (!hooked_)
        return;
    QRect area;
    {
        std::lock_guard lock(mutex_);
        if (!destination_.isValid())
            return;
        for (const auto& in : inputs_)
            if (!in->frame.isNull())
                area |= MapNormalised(in->rect, destination_).toAlignedRect();
    }
    if (!area.isEmpty())
        hooked_->update(area);
}

namespace {
std::atomic<long long> framesPainted = 0;
}

long long VideoRenderer::FramesPainted() {
    return framesPainted.load(std::memory_order_relaxed);
}

namespace {

// The whole pixels that a picture painted at Target covers whatever way its edges are rounded.
QRect InnerPixels(const QRectF& Target) {
    const int left = static_cast<int>(std::ceil(Target.left()));
    const int top = static_cast<int>(std::ceil(Target.top()));
    const int right = static_cast<int>(std::floor(Target.right()));
    const int bottom = static_cast<int>(std::floor(Target.bottom()));
    return right > left && bottom > top ? QRect(left, top, right - left, bottom - top) : QRect();
}

// A frame converted to the painted size is copied as it is; any other is scaled by the painter.
void DrawFrame(QPainter& Painter, const QRectF& Target, const QImage& Frame) {
    const QRect whole = Target.toRect();
    if (Frame.size() == whole.size())
        Painter.drawImage(whole.topLeft(), Frame);
    else
        Painter.drawImage(Target, Frame);
}

} // namespace

void VideoRenderer::Paint(QPainter& Painter, const QRect& Area) const {
    std::lock_guard lock(mutex_);
    if (mode_ == Mode::Window) {
        const QImage& frame = inputs_.front()->frame;
        if (frame.isNull()) {
            Painter.fillRect(Area, Qt::black);
            return;
        }
        DrawFrame(Painter, QRectF(Area), frame);
        framesPainted.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    const QColor border(win32::GetRValue(borderColour_), win32::GetGValue(borderColour_),
                        win32::GetBValue(borderColour_));
    if (!destination_.isValid()) {
        Painter.fillRect(Area, border);
        return;
    }
    // Lower Z is nearer the viewer, so it is painted last; streams of one Z in their order. Sorted in place:
    // this runs at every frame.
    std::array<const Input*, MaxStreams> order{};
    const auto streams = static_cast<std::ptrdiff_t>(inputs_.size());
    for (std::size_t i = 0; i < inputs_.size(); ++i)
        order[i] = inputs_[i].get();
    std::sort(order.begin(), order.begin() + streams, [](const Input* a, const Input* b) {
        return a->z != b->z ? a->z > b->z : a->index < b->index;
    });
    // The border colour goes only where no opaque picture will be painted over it.
    QRegion bare(Area);
    for (const Input* in : std::span(order.data(), inputs_.size()))
        if (!in->frame.isNull() && in->alpha >= 1.0f)
            bare -= InnerPixels(MapNormalised(in->rect, destination_));
    for (const QRect& part : bare)
        Painter.fillRect(part, border);
    for (const Input* in : std::span(order.data(), inputs_.size())) {
        if (in->frame.isNull() || in->alpha <= 0.0f)
            continue;
        const QRectF target = MapNormalised(in->rect, destination_);
        const bool mirrorX = in->rect.left > in->rect.right;
        const bool mirrorY = in->rect.top > in->rect.bottom;
        const bool translucent = in->alpha < 1.0f;
        if (translucent) {
            Painter.save();
            Painter.setOpacity(static_cast<double>(in->alpha));
        }
        if (mirrorX || mirrorY)
            Painter.drawImage(target, in->frame.mirrored(mirrorX, mirrorY));
        else
            DrawFrame(Painter, target, in->frame);
        if (translucent)
            Painter.restore();
        framesPainted.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace dshow
