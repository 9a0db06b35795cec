#include "platform/media/XShmOutput.h"

#include <cstdlib>
#include <cstring>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <QGuiApplication>

#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace dshow {

namespace {

// What the pictures are put with, found once: the toolkit's connection, a graphics context for 24-bit
// windows of the screen, and whether the server reads this process's shared memory at all.
struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    xcb_gcontext_t context = 0;
};

// Whether the screen shows 24-bit TrueColor at 32 bits a pixel with red, green and blue in the bytes the
// converter writes them to (B, G, R, x in memory).
bool ScreenTakesBgrx(const xcb_setup_t* Setup, const xcb_screen_t* Screen) {
    if (Screen->root_depth != 24 || Setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    bool thirtyTwoBits = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(Setup); formats.rem > 0; xcb_format_next(&formats))
        if (formats.data->depth == 24)
            thirtyTwoBits = formats.data->bits_per_pixel == 32;
    if (!thirtyTwoBits)
        return false;
    for (auto depths = xcb_screen_allowed_depths_iterator(Screen); depths.rem > 0; xcb_depth_next(&depths)) {
        if (depths.data->depth != 24)
            continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t* v = visuals.data;
            if (v->visual_id == Screen->root_visual)
                return v->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v->red_mask == 0xff0000 &&
                       v->green_mask == 0x00ff00 && v->blue_mask == 0x0000ff;
        }
    }
    return false;
}

// Memory of Size bytes that the server reads as well (its name there is Segment), or nullptr when there is
// none: the system has no more, or the server cannot attach it (it runs on another machine). Marked for
// removal at once: it goes from the system as soon as both sides have let go of it, also when the process
// ends abruptly.
std::uint8_t* AttachSegment(xcb_connection_t* Connection, std::size_t Size, xcb_shm_seg_t& Segment) {
    const int id = shmget(IPC_PRIVATE, Size, IPC_CREAT | 0600);
    if (id < 0)
        return nullptr;
    void* memory = shmat(id, nullptr, 0);
    Segment = xcb_generate_id(Connection);
    xcb_generic_error_t* error =
        memory != reinterpret_cast<void*>(-1)
            ? xcb_request_check(
                  Connection, xcb_shm_attach_checked(Connection, Segment, static_cast<std::uint32_t>(id), 1))
            : nullptr;
    shmctl(id, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1) || error != nullptr) {
        std::free(error);
        if (memory != reinterpret_cast<void*>(-1))
            shmdt(memory);
        return nullptr;
    }
    return static_cast<std::uint8_t*>(memory);
}

bool ServerAttachesSharedMemory(xcb_connection_t* Connection) {
    xcb_shm_seg_t segment = 0;
    std::uint8_t* memory = AttachSegment(Connection, 4096, segment);
    if (memory == nullptr)
        return false;
    xcb_shm_detach(Connection, segment);
    shmdt(memory);
    return true;
}

Display FindDisplay() {
    const char* forced = std::getenv("QUOREL_VIDEO_OUTPUT");
    if (forced != nullptr && std::strcmp(forced, "qt") == 0)
        return {};
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return {};
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
    if (extension == nullptr || !extension->present)
        return {};
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (screen == nullptr || !ScreenTakesBgrx(setup, screen) || !ServerAttachesSharedMemory(connection))
        return {};
    Display display{connection, screen->root, xcb_generate_id(connection)};
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection, display.context, screen->root, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    return display;
}

// Found on the GUI thread at the first picture; read by streaming threads afterwards.
const Display& TheDisplay() {
    static const Display display = FindDisplay();
    return display;
}

} // namespace

bool XShmImage::Available() {
    return TheDisplay().connection != nullptr;
}

bool XShmImage::Suits(unsigned long Window) {
    const Display& display = TheDisplay();
    if (display.connection == nullptr || Window == 0)
        return false;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        display.connection, xcb_get_geometry(display.connection, static_cast<xcb_drawable_t>(Window)),
        nullptr);
    const bool suits = geometry != nullptr && geometry->depth == 24 && geometry->root == display.root;
    std::free(geometry);
    return suits;
}

void XShmImage::Unname(unsigned long Window) {
    const Display& display = TheDisplay();
    if (display.connection == nullptr || Window == 0)
        return;
    const auto window = static_cast<xcb_window_t>(Window);
    xcb_delete_property(display.connection, window, XCB_ATOM_WM_NAME);
    xcb_delete_property(display.connection, window, XCB_ATOM_WM_CLASS);
    static const char* const more[] = {"_NET_WM_NAME", "_NET_WM_PID"};
    for (const char* name : more) {
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            display.connection,
            xcb_intern_atom(display.connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        if (atom != nullptr && atom->atom != XCB_ATOM_NONE)
            xcb_delete_property(display.connection, window, atom->atom);
        std::free(atom);
    }
    xcb_flush(display.connection);
}

XShmImage::~XShmImage() {
    Release();
}

void XShmImage::Release() {
    if (memory_ == nullptr)
        return;
    // The toolkit's connection goes with the application object: after it, only the memory is let go.
    if (qGuiApp != nullptr)
        xcb_shm_detach(TheDisplay().connection, segment_);
    shmdt(memory_);
    memory_ = nullptr;
    segment_ = 0;
    capacity_ = 0;
    filled_ = false;
}

bool XShmImage::Reserve(std::size_t Bytes) {
    if (Bytes <= capacity_)
        return true;
    Release();
    // Whole mebibytes, so that a window resized a pixel at a time does not make a segment each step.
    constexpr std::size_t Step = 1 << 20;
    const std::size_t size = (Bytes + Step - 1) / Step * Step;
    xcb_shm_seg_t segment = 0;
    memory_ = AttachSegment(TheDisplay().connection, size, segment);
    if (memory_ == nullptr)
        return false;
    segment_ = segment;
    capacity_ = size;
    return true;
}

bool XShmImage::Put(const GstVideoFrame& Frame, unsigned long Window, QSize Size) {
    if (!Available() || Size.isEmpty())
        return false;
    std::lock_guard lock(mutex_);
    // Rows on 64-byte boundaries, as the converter writes them fastest.
    const int stride = (Size.width() * 4 + 63) / 64 * 64;
    if (!Reserve(static_cast<std::size_t>(stride) * static_cast<std::size_t>(Size.height())))
        return false;
    filled_ = converter_.Convert(Frame, memory_, stride, Size.width(), Size.height());
    if (!filled_)
        return false;
    size_ = Size;
    stride_ = stride;
    return Send(Window);
}

bool XShmImage::PutAgain(unsigned long Window, QSize Size) {
    std::lock_guard lock(mutex_);
    if (!filled_ || Size != size_)
        return false;
    return Send(Window);
}

bool XShmImage::Send(unsigned long Window) {
    const Display& display = TheDisplay();
    xcb_shm_put_image(display.connection, static_cast<xcb_drawable_t>(Window), display.context,
                      static_cast<std::uint16_t>(stride_ / 4), static_cast<std::uint16_t>(size_.height()), 0,
                      0, static_cast<std::uint16_t>(size_.width()),
                      static_cast<std::uint16_t>(size_.height()), 0, 0, 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                      segment_, 0);
    // A round trip: when it comes back the server has read the memory.
    std::free(
        xcb_get_input_focus_reply(display.connection, xcb_get_input_focus(display.connection), nullptr));
    return true;
}

} // namespace dshow
