#include "platform/media/VideoRenderer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <span>

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include "platform/win32/Window.h"

namespace dshow {

struct VideoRenderer::Input {
    VideoRenderer* owner = nullptr;
    int index = 0;
    bool connected = false;
    // The stream's thread alone: its converter, and a picture buffer to convert the next frame into.
    FrameConverter converter;
    QImage spare;
    // Written by streaming threads, read by the GUI thread: under the renderer's mutex.
    GstSample* sample = nullptr; // the last frame as decoded (a reference of ours)
    QImage frame;                // converted for painting through Qt
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

// The native window a lone picture is put into, over the picture's rectangle. The toolkit never paints it:
// an exposed part gets the kept picture again. Mouse and keys go through to the window beneath, as they do
// through the picture painted by Qt.
class VideoRenderer::DirectWidget : public QWidget {
public:
    DirectWidget(VideoRenderer* Renderer, QWidget* Parent) : QWidget(Parent), renderer_(Renderer) {
        // Only this window is native: Qt would otherwise make its siblings, its ancestors and theirs native
        // too (the player's whole frame), each a window that covers what lies beneath it.
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_PaintOnScreen);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        winId();
        if (QWindow* window = windowHandle())
            window->setFlag(Qt::WindowTransparentForInput);
    }
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    void paintEvent(QPaintEvent*) override { renderer_->PutDirectAgain(); }

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
    delete direct_.data();
    delete window_.data();
    for (auto& in : inputs_)
        if (in->sample)
            gst_sample_unref(in->sample);
}

void VideoRenderer::SetMode(Mode Mode) {
    {
        std::lock_guard lock(mutex_);
        mode_ = Mode;
    }
    UpdateTarget();
    UpdateDirect();
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
    // The decoder's pictures go to the sink as they are (the converter before it only acts for a format
    // the renderer does not read itself): the renderer scales and converts them in one pass.
    GstElement* convert = MakeElement("videoconvert");
    GstElement* caps = MakeElement("capsfilter");
    GstCaps* accepted = FrameConverter::AcceptedCaps();
    g_object_set(caps, "caps", accepted, nullptr);
    gst_caps_unref(accepted);
    GstElement* sink = MakeElement("appsink");
    g_object_set(sink, "sync", TRUE, "qos", TRUE, "max-buffers", 2u, "enable-last-sample", FALSE, nullptr);

    gst_bin_add_many(GST_BIN(bin), queue, convert, caps, sink, nullptr);
    gst_element_link_many(queue, convert, caps, sink, nullptr);
    GstPad* target = gst_element_get_static_pad(queue, "sink");
    GstPad* ghost = gst_ghost_pad_new("sink", target);
    gst_object_unref(target);
    gst_element_add_pad(bin, ghost);

    // The decoder's allocation query is answered here: pictures laid out as the decoder keeps them (the video
    // meta) are read as they are, and a pool of plain video buffers that can grow and take the decoder's
    // alignment is offered. A direct-rendering decoder then decodes into that pool's buffers and hands them
    // on; without one it decodes into a pool of its own, which it uses for its output only where the picture
    // is as high as the codec's coded height (not 1080-line H.264, coded 1088 lines high): every other
    // picture would be copied once more on its way out.
    gst_pad_add_probe(
        ghost, GST_PAD_PROBE_TYPE_QUERY_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer) -> GstPadProbeReturn {
            GstQuery* query = GST_PAD_PROBE_INFO_QUERY(info);
            if (GST_QUERY_TYPE(query) != GST_QUERY_ALLOCATION)
                return GST_PAD_PROBE_OK;
            GstCaps* offered = nullptr;
            gst_query_parse_allocation(query, &offered, nullptr);
            GstVideoInfo videoInfo;
            if (offered != nullptr && gst_video_info_from_caps(&videoInfo, offered)) {
                GstBufferPool* pool = gst_video_buffer_pool_new();
                GstStructure* config = gst_buffer_pool_get_config(pool);
                const auto size = static_cast<guint>(GST_VIDEO_INFO_SIZE(&videoInfo));
                gst_buffer_pool_config_set_params(config, offered, size, 0, 0);
                gst_buffer_pool_config_add_option(config, GST_BUFFER_POOL_OPTION_VIDEO_META);
                gst_buffer_pool_set_config(pool, config);
                gst_query_add_allocation_pool(query, pool, size, 0, 0);
                gst_object_unref(pool);
            }
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
                std::lock_guard lock(input->owner->mutex_);
                input->native = QSize(width, videoInfo.height);
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

    // A second stream mixes the pictures: the lone one's native window gives way to painting.
    UpdateDirectLater();
    return bin;
}

void VideoRenderer::DisconnectInputs() {
    {
        std::lock_guard lock(mutex_);
        for (auto& in : inputs_)
            in->connected = false;
    }
    UpdateDirectLater();
}

namespace {

std::atomic<long long> framesPainted = 0;

// A picture buffer for Size, its rows on 64-byte boundaries (the converter writes those fastest).
QImage NewPicture(QSize Size) {
    const int stride = (Size.width() * 4 + 63) / 64 * 64;
    const auto bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(Size.height());
    void* memory = std::aligned_alloc(64, bytes);
    if (memory == nullptr)
        return {};
    return QImage(static_cast<uchar*>(memory), Size.width(), Size.height(), stride, QImage::Format_RGB32,
                  std::free, memory);
}

// Maps a kept frame for reading; the caller unmaps it.
bool MapSample(GstSample* Sample, GstVideoFrame& Frame) {
    GstVideoInfo info;
    GstBuffer* buffer = Sample != nullptr ? gst_sample_get_buffer(Sample) : nullptr;
    return buffer != nullptr && gst_video_info_from_caps(&info, gst_sample_get_caps(Sample)) &&
           gst_video_frame_map(&Frame, &info, buffer, GST_MAP_READ);
}

// The frame converted to Size, into Reuse when it is of that size and no painting holds it any more.
QImage ConvertFrame(FrameConverter& Converter, const GstVideoFrame& Frame, QSize Size, QImage Reuse = {}) {
    QImage picture =
        !Reuse.isNull() && Reuse.size() == Size && Reuse.isDetached() ? std::move(Reuse) : NewPicture(Size);
    if (picture.isNull() ||
        !Converter.Convert(Frame, picture.bits(), static_cast<int>(picture.bytesPerLine()), Size.width(),
                           Size.height()))
        return {};
    return picture;
}

} // namespace

GstFlowReturn VideoRenderer::OnSample(GstElement* Sink, Input* In, bool Preroll) {
    GstSample* sample = Preroll ? gst_app_sink_pull_preroll(GST_APP_SINK(Sink))
                                : gst_app_sink_pull_sample(GST_APP_SINK(Sink));
    if (sample == nullptr)
        return GST_FLOW_EOS;
    GstVideoFrame frame;
    if (!MapSample(sample, frame)) {
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    }
    VideoRenderer* renderer = In->owner;
    unsigned long window = 0;
    QSize size;
    int number = 0;
    {
        std::lock_guard lock(renderer->mutex_);
        std::swap(In->sample, sample); // the frame kept is this one now; the one before is let go below
        number = ++In->frames;
        if (renderer->directWindow_ != 0 && renderer->directInput_ == In->index) {
            window = renderer->directWindow_;
            size = renderer->directSize_;
        } else {
            size = renderer->PaintedSize(*In);
        }
    }
    if (sample != nullptr)
        gst_sample_unref(sample);
    if (window != 0) {
        if (renderer->directImage_->Put(frame, window, size)) {
            framesPainted.fetch_add(1, std::memory_order_relaxed);
            std::lock_guard lock(renderer->mutex_);
            renderer->directShownFrames_ = number;
        }
    } else if (!size.isEmpty()) {
        QImage picture = ConvertFrame(In->converter, frame, size, std::move(In->spare));
        {
            std::lock_guard lock(renderer->mutex_);
            std::swap(In->frame, picture);
        }
        // The picture before is converted into next time, unless a painting still holds it.
        In->spare = std::move(picture);
        renderer->FrameArrived();
    }
    gst_video_frame_unmap(&frame);
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
    return PaintedFrame(*inputs_[static_cast<std::size_t>(Stream)]);
}

// The size a stream's picture is converted to when it is painted: where it is painted, or before it is
// placed anywhere, its own size.
const QImage& VideoRenderer::PaintedFrame(Input& In) const {
    QSize size = PaintedSize(In);
    if (size.isEmpty())
        size = In.native;
    if (In.sample == nullptr || size.isEmpty() || In.frame.size() == size)
        return In.frame;
    GstVideoFrame frame;
    if (MapSample(In.sample, frame)) {
        if (QImage picture = ConvertFrame(guiConverter_, frame, size); !picture.isNull())
            In.frame = std::move(picture);
        gst_video_frame_unmap(&frame);
    }
    return In.frame;
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
    UpdateDirect();
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
    UpdateDirect();
    Repaint();
}

void VideoRenderer::SetOwner(HWND Owner) {
    owner_ = Owner;
    UpdateTarget();
    UpdateDirect();
}

void VideoRenderer::SetWindowRect(const QRect& Rect) {
    {
        std::lock_guard lock(mutex_);
        windowRect_ = Rect;
    }
    if (window_)
        window_->setGeometry(Rect);
    UpdateDirect();
}

void VideoRenderer::SetWindowVisible(bool Visible) {
    windowVisible_ = Visible;
    if (window_)
        window_->setVisible(Visible);
    UpdateDirect();
}

QWidget* VideoRenderer::Window() const {
    return window_.data();
}

QWidget* VideoRenderer::DirectWindow() const {
    return direct_ && direct_->isVisible() ? direct_.data() : nullptr;
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
    std::lock_guard lock(mutex_);
    targetSize_ = Size;
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

// A picture that stands alone (the only stream, opaque, not mirrored) is put into a native window of its own
// where the display lets it; it is painted through Qt otherwise, and as soon as a second stream is mixed in.
void VideoRenderer::UpdateDirect() {
    QWidget* parent = nullptr;
    QRect geometry;
    int lone = -1;
    {
        std::lock_guard lock(mutex_);
        int connected = 0;
        for (const auto& in : inputs_)
            if (in->connected) {
                ++connected;
                lone = in->index;
            }
        const Input* in = connected == 1 ? inputs_[static_cast<std::size_t>(lone)].get() : nullptr;
        const bool plain = in != nullptr && in->alpha >= 1.0f && in->rect.left <= in->rect.right &&
                           in->rect.top <= in->rect.bottom;
        if (plain && mode_ == Mode::Window && window_ && windowVisible_) {
            parent = window_;
            geometry = QRect(QPoint(), windowRect_.size());
        } else if (plain && mode_ == Mode::Windowless && hooked_ && destination_.isValid()) {
            parent = hooked_;
            geometry = MapNormalised(in->rect, destination_).toRect();
        }
    }
    if (parent == nullptr || geometry.isEmpty() || directRefused_ || !XShmImage::Available()) {
        if (direct_ && !direct_->isHidden()) {
            {
                std::lock_guard lock(mutex_);
                directWindow_ = 0;
                directInput_ = -1;
            }
            direct_->hide();
            Repaint(); // painted through Qt again
        }
        return;
    }
    if (direct_ && direct_->parentWidget() != parent)
        delete direct_.data();
    if (!direct_) {
        direct_ = new DirectWidget(this, parent);
        XShmImage::Unname(direct_->winId());
        if (!XShmImage::Suits(direct_->winId())) {
            // A window of another depth (a translucent top-level window): painted through Qt for good.
            delete direct_.data();
            directRefused_ = true;
            return;
        }
        if (!directImage_)
            directImage_ = std::make_unique<XShmImage>();
    }
    direct_->setGeometry(geometry);
    {
        std::lock_guard lock(mutex_);
        directWindow_ = direct_->winId();
        directSize_ = geometry.size();
        directInput_ = lone;
    }
    if (direct_->isHidden())
        direct_->show();
    direct_->raise();
    direct_->update(); // the kept picture at its new place and size
}

void VideoRenderer::UpdateDirectLater() {
    QMetaObject::invokeMethod(
        notifier_.get(), [this] { UpdateDirect(); }, Qt::QueuedConnection);
}

// The direct window exposed, or given a new size: the kept picture again, converted anew when its size or
// the frame has changed since it was put.
void VideoRenderer::PutDirectAgain() {
    unsigned long window = 0;
    QSize size;
    GstSample* sample = nullptr;
    int number = 0;
    bool shown = false;
    {
        std::lock_guard lock(mutex_);
        if (directWindow_ == 0 || directInput_ < 0)
            return;
        window = directWindow_;
        size = directSize_;
        const Input& in = *inputs_[static_cast<std::size_t>(directInput_)];
        number = in.frames;
        shown = number == directShownFrames_;
        if (in.sample != nullptr)
            sample = gst_sample_ref(in.sample);
    }
    if (!(shown && directImage_->PutAgain(window, size)) && sample != nullptr) {
        GstVideoFrame frame;
        if (MapSample(sample, frame)) {
            if (directImage_->Put(frame, window, size)) {
                std::lock_guard lock(mutex_);
                directShownFrames_ = number;
            }
            gst_video_frame_unmap(&frame);
        }
    }
    if (sample != nullptr)
        gst_sample_unref(sample);
}

bool VideoRenderer::SetOutputRect(int Stream, const NORMALIZEDRECT& Rect) {
    if (Stream < 0 || Stream >= StreamCount())
        return false;
    {
        std::lock_guard lock(mutex_);
        inputs_[static_cast<std::size_t>(Stream)]->rect = Rect;
    }
    UpdateDirect();
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
    UpdateDirect();
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
    if (direct_ && !direct_->isHidden())
        direct_->update();
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
    // The stream put into the direct window is not painted here: that window lies over it.
    const int direct = directWindow_ != 0 ? directInput_ : -1;
    if (mode_ == Mode::Window) {
        Input& in = *inputs_.front();
        const QImage& frame = direct == in.index ? QImage() : PaintedFrame(in);
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
    std::array<Input*, MaxStreams> order{};
    const auto streams = static_cast<std::ptrdiff_t>(inputs_.size());
    for (std::size_t i = 0; i < inputs_.size(); ++i)
        order[i] = inputs_[i].get();
    std::sort(order.begin(), order.begin() + streams, [](const Input* a, const Input* b) {
        return a->z != b->z ? a->z > b->z : a->index < b->index;
    });
    // The border colour goes only where no opaque picture will be painted over it.
    QRegion bare(Area);
    for (const Input* in : std::span(order.data(), inputs_.size()))
        if ((in->index == direct || in->sample != nullptr) && in->alpha >= 1.0f)
            bare -= InnerPixels(MapNormalised(in->rect, destination_));
    for (const QRect& part : bare)
        Painter.fillRect(part, border);
    for (Input* in : std::span(order.data(), inputs_.size())) {
        if (in->index == direct || in->alpha <= 0.0f)
            continue;
        const QImage& frame = PaintedFrame(*in);
        if (frame.isNull())
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
            Painter.drawImage(target, frame.mirrored(mirrorX, mirrorY));
        else
            DrawFrame(Painter, target, frame);
        if (translucent)
            Painter.restore();
        framesPainted.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace dshow
