#include "mfc/SharedImageBlit.h"

#include <bit>
#include <cstdlib>
#include <optional>

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "mfc/SurfaceBlit.h"
#include "mfc/X11Application.h"

#include <sys/ipc.h>
#include <sys/shm.h>

// After every Qt header: Xlib's and xcb's names clash with Qt's.
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace platform::mfc {
namespace {

xcb_connection_t* displayConnection() {
    const auto* x11 = x11Application();
    return x11 ? x11->connection() : nullptr;
}

// The display's connection on Qt's X11 platform, null elsewhere.
xcb_connection_t* x11Connection() {
    // The platform is chosen once, when the application starts.
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return x11 ? displayConnection() : nullptr;
}

bool offersSharedImages(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    return shm && shm->present;
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
    return {reply, &std::free};
}

const xcb_visualtype_t* findVisual(const xcb_setup_t* setup, xcb_visualid_t id) {
    for (auto roots = xcb_setup_roots_iterator(setup); roots.rem; xcb_screen_next(&roots))
        for (auto depths = xcb_screen_allowed_depths_iterator(roots.data); depths.rem;
             xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
                 xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == id) return visuals.data;
    return nullptr;
}

int bitsPerPixel(const xcb_setup_t* setup, std::uint8_t depth) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats))
        if (formats.data->depth == depth) return formats.data->bits_per_pixel;
    return 0;
}

// Whether the window stores x8r8g8b8 pixels (a8r8g8b8 at depth 32) as this machine does.
bool takesFrames(xcb_connection_t* connection, xcb_window_t window, std::uint8_t& depth) {
    const auto geometry = owned(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const auto attributes = owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!geometry || !attributes) return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_visualtype_t* visual = findVisual(setup, attributes->visual);
    depth = geometry->depth;
    constexpr bool littleEndian = std::endian::native == std::endian::little;
    return visual && (depth == 24 || depth == 32) && bitsPerPixel(setup, depth) == 32 &&
           (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) == littleEndian &&
           visual->red_mask == 0xFF0000u && visual->green_mask == 0xFF00u &&
           visual->blue_mask == 0xFFu;
}

// On each expose of the window, the widget is marked for repainting: Qt then paints it, from
// the kept frame, before it shows its store, whose pixels there are older.
class RepaintOnExpose final : public QObject {
public:
    explicit RepaintOnExpose(QWidget& widget) : widget_(&widget) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && widget_) widget_->update();
        return false;
    }

private:
    QPointer<QWidget> widget_;
};

}  // namespace

// The top-level window the frames go into, with its graphics context; unusable when the window
// or the server cannot take them.
class SharedImageBlit::Target {
public:
    Target(xcb_connection_t* connection, QWidget& widget, xcb_window_t window)
        : connection_(connection), window_(window), qtWindow_(widget.window()->windowHandle()),
          repaint_(widget) {
        if (!offersSharedImages(connection) || !takesFrames(connection, window, depth_)) return;
        gc_ = xcb_generate_id(connection);
        const std::uint32_t noExposures = 0;
        xcb_create_gc(connection, gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        qtWindow_->installEventFilter(&repaint_);
    }
    ~Target() {
        if (qtWindow_) qtWindow_->removeEventFilter(&repaint_);
        if (gc_ && displayConnection() == connection_) xcb_free_gc(connection_, gc_);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    bool usable() const noexcept { return gc_ != 0 && sharesMemory_; }
    // The server could not attach a segment: it is on another machine.
    void refuse() noexcept { sharesMemory_ = false; }
    bool is(xcb_connection_t* connection, xcb_window_t window) const noexcept {
        return connection == connection_ && window == window_;
    }
    xcb_connection_t* connection() const noexcept { return connection_; }
    xcb_window_t window() const noexcept { return window_; }
    xcb_gcontext_t gc() const noexcept { return gc_; }
    std::uint8_t depth() const noexcept { return depth_; }

private:
    xcb_connection_t* connection_;
    xcb_window_t window_;
    QPointer<QWindow> qtWindow_;
    RepaintOnExpose repaint_;
    std::uint8_t depth_ = 0;
    xcb_gcontext_t gc_ = 0;
    bool sharesMemory_ = true;
};

// Two images of `pixels` pixels each in one shared memory segment, and for each the request
// after its last put: its answer says the server has read the image.
class SharedImageBlit::Segment {
public:
    static std::unique_ptr<Segment> attach(xcb_connection_t* connection, std::size_t pixels) {
        const int id = shmget(IPC_PRIVATE, 2 * pixels * sizeof(std::uint32_t), IPC_CREAT | 0600);
        if (id == -1) return nullptr;
        void* memory = shmat(id, nullptr, 0);
        if (memory == reinterpret_cast<void*>(-1)) {
            shmctl(id, IPC_RMID, nullptr);
            return nullptr;
        }
        const xcb_shm_seg_t seg = xcb_generate_id(connection);
        // A server on another machine cannot attach it: the one round trip says so.
        xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_shm_attach_checked(connection, seg, id, false));
        shmctl(id, IPC_RMID, nullptr);  // it goes once both sides have let it go
        if (error) {
            std::free(error);
            shmdt(memory);
            return nullptr;
        }
        return std::unique_ptr<Segment>(
            new Segment(connection, seg, static_cast<std::uint32_t*>(memory), pixels));
    }
    ~Segment() {
        const bool connected = displayConnection() == connection_;
        if (connected) {
            for (auto& read : reads_)
                if (read) xcb_discard_reply(connection_, read->sequence);
            xcb_shm_detach(connection_, seg_);
            xcb_flush(connection_);
        }
        shmdt(memory_);
    }
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    std::size_t pixels() const noexcept { return pixels_; }
    xcb_shm_seg_t id() const noexcept { return seg_; }
    std::uint32_t offset(int image) const noexcept {
        return static_cast<std::uint32_t>(image * pixels_ * sizeof(std::uint32_t));
    }

    // The image, once the server has read what was last put from it.
    std::uint32_t* image(int image) {
        if (auto& read = reads_[image]) {
            std::free(xcb_get_input_focus_reply(connection_, *read, nullptr));
            read.reset();
        }
        return memory_ + image * pixels_;
    }
    void put(int image) { reads_[image] = xcb_get_input_focus(connection_); }

private:
    Segment(xcb_connection_t* connection, xcb_shm_seg_t seg, std::uint32_t* memory,
            std::size_t pixels)
        : connection_(connection), seg_(seg), memory_(memory), pixels_(pixels) {}

    xcb_connection_t* connection_;
    xcb_shm_seg_t seg_;
    std::uint32_t* memory_;
    std::size_t pixels_;
    std::optional<xcb_get_input_focus_cookie_t> reads_[2];
};

SharedImageBlit::SharedImageBlit() = default;

SharedImageBlit::~SharedImageBlit() = default;

bool SharedImageBlit::serverCopiesFrames() {
    xcb_connection_t* connection = x11Connection();
    return connection && offersSharedImages(connection);
}

bool SharedImageBlit::prepare(QWidget& widget, const QRect& area) {
    xcb_connection_t* connection = x11Connection();
    const xcb_window_t window = static_cast<xcb_window_t>(widget.window()->internalWinId());
    if (!connection || window == 0) return false;
    if (!target_ || !target_->is(connection, window)) {
        segment_.reset();
        target_ = std::make_unique<Target>(connection, widget, window);
    }
    if (!target_->usable()) return false;
    const auto pixels = static_cast<std::size_t>(area.width()) * area.height();
    if (!segment_ || segment_->pixels() < pixels) {
        segment_.reset();
        segment_ = Segment::attach(connection, pixels);
        // Without shared memory this window keeps to the backing store.
        if (!segment_) target_->refuse();
    }
    return segment_ != nullptr;
}

bool SharedImageBlit::draw(QWidget& widget, win32::PixelRows<const std::uint32_t> frame,
                           const win32::ParallelFor& split) {
    const QRect area = directFrameArea(widget, frame);
    if (area.isEmpty() || !prepare(widget, area)) return false;

    const int width = area.width(), height = area.height();
    std::uint32_t* image = segment_->image(turn_);
    stretch_.prepare(frame.width, width);
    stretch_.rowsSpread(frame, {image, width, height, width}, target_->depth() == 32, split);
    xcb_connection_t* connection = target_->connection();
    const auto w = static_cast<std::uint16_t>(width), h = static_cast<std::uint16_t>(height);
    xcb_shm_put_image(connection, target_->window(), target_->gc(), w, h, 0, 0, w, h,
                      static_cast<std::int16_t>(area.x()), static_cast<std::int16_t>(area.y()),
                      target_->depth(), XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_->id(),
                      segment_->offset(turn_));
    segment_->put(turn_);
    xcb_flush(connection);
    turn_ ^= 1;
    return true;
}

}  // namespace platform::mfc
