// app_bench: times the program's own frame on the software device, presented into a Qt window
// (offscreen, or mapped on an X server of its own with --xvfb), against the device's share of
// the same frame, and counts the heap allocations per frame. The program is started as the tests
// start it (the MFC layer's test host: the real application object, InitInstance, idle passes), and
// the view is rebuilt at each size.
//
// Three frames, interleaved so that they share the machine's load:
//   device  the scene's device work only: Clear, the material, BeginScene, the ground, the
//           overview camera, the player, the thirty boxes, the empty second cube, EndScene,
//           and the drawing that Present would start;
//   render  CChildView::Render: the same plus the movement, the contacts, the boxes' state
//           steps, the overlay's five lines and Present into the window;
//   idle    one idle pass: COrvekApp::OnIdle, the frame loop's clock, Render and, every 26 ms,
//           the keyboard and mouse polls.
//
// Allocations are counted over as many frames again after the timed ones, for each frame and for
// the overlay alone and Present alone, the two parts of render that the device frame leaves out.
//
// On an X server it also times the server's own work: its processor time over as many idle
// frames again, per frame.
//
// Usage: app_bench [--sizes WxH|default[,...]] [--threads N] [--warmup N] [--frames N]
//                  [--data DIR] [--xvfb SCREEN_WxH]
// Defaults: --sizes 640x480,1280x720 --threads 0 (one per core) --warmup 30 --frames 300;
// `default` is the view as start-up sized it (a share of the screen). --xvfb starts Xvfb with a
// screen of that size and maps the window there; without it Qt's offscreen platform is used
// unless QT_QPA_PLATFORM says otherwise.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>
#include <QWindow>

#include <time.h>
#include <unistd.h>

#include "AllocationCounter.h"
#include "Arguments.h"
#include "Camera.h"
#include "MainFrm.h"
#include "Terrain.h"
#include "Statistics.h"
#include "ServerWaits.h"
#include "ViewAtSize.h"
#include "XServer.h"
#include "d3d9/DeviceOptions.h"
#include "d3d9/DrawCounters.h"
#include "mfc/TestHost.h"
#include "mfc/WindowHost.h"

namespace {

struct Size {
    int width;
    int height;  // 0 by 0: the view as start-up sized it
};

struct Options {
    std::vector<Size> sizes = {{640, 480}, {1280, 720}};
    bench::FrameRun run{0, 30, 300};
    std::string data = ORVEK_DATA_DIR;
    bool xvfb = false;
    int screenWidth = 2560;  // the X server's screen
    int screenHeight = 1600;
};

[[noreturn]] void fail(const std::string& message) {
    bench::fail("app_bench", message);
}

std::vector<Size> parseSizes(std::string_view list) {
    std::vector<Size> sizes;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string item(list.substr(0, comma));
        Size s{};
        if (item == "default") {
            sizes.push_back(s);
        } else if (std::sscanf(item.c_str(), "%dx%d", &s.width, &s.height) != 2 || s.width <= 0 ||
                   s.height <= 0)
            fail("bad size " + item);
        else
            sizes.push_back(s);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    if (sizes.empty()) fail("no size");
    return sizes;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    bench::Arguments arguments("app_bench", argc, argv);
    const auto value = [&] { return arguments.value(); };
    for (std::string_view arg = arguments.next(); !arg.empty(); arg = arguments.next()) {
        if (arguments.readFrameRun(o.run)) continue;
        if (arg == "--sizes") {
            o.sizes = parseSizes(value());
        } else if (arg == "--data") {
            o.data = value();
        } else if (arg == "--xvfb") {
            o.xvfb = true;
            const std::string screen = value();
            if (std::sscanf(screen.c_str(), "%dx%d", &o.screenWidth, &o.screenHeight) != 2 ||
                o.screenWidth <= 0 || o.screenHeight <= 0)
                fail("bad screen size " + screen);
        } else {
            fail("unknown option " + std::string(arg) + " (see the top of AppBench.cpp)");
        }
    }
    return o;
}

// The device's share of CChildView::Render, in its order, without the shell's parts.
void drawSceneOnly(CChildView& view) {
    IDirect3DDevice9* device = view.m_pd3dDevice;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6E93BF, 1.0f, 0);
    view.SetupMaterial();
    if (FAILED(device->BeginScene())) fail("BeginScene failed");
    view.m_pTerrain->Render();
    view.SetupMatrices();
    device->SetTransform(D3DTS_VIEW, view.m_pCamera->GetViewMatrix());
    view.m_Player.Render();
    for (Box& box : view.m_Boxes) box.Render();
    view.m_pCube2->RenderInstances();
    device->EndScene();
    // The device draws a scene when its pixels are needed, as Present needs them; asking for
    // its counts needs them too.
    platform::d3d9::drawCounts(device);
}

double median(const std::vector<double>& values) {
    return bench::percentile(values, 0.5);
}

struct Measured {
    const char* name;
    std::function<void()> frame;
    std::vector<double> ms;
    std::uint64_t allocations = 0;
};

// Processor time the X server has used, in ms.
double serverMilliseconds(int pid) {
    clockid_t clock;
    timespec used{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0) return 0.0;
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) * 1e-6;
}

void runSize(CMainFrame& frame, platform::mfc::TestHost& host, const Options& o, Size size) {
    CChildView& view = frame.m_wndView;
    if (size.width == 0) {
        const QWidget* widget = platform::mfc::widgetOf(&view);
        size = {widget->width(), widget->height()};
    }
    if (!bench::rebuildViewAt(frame, size.width, size.height)) std::exit(1);
    Measured kinds[] = {
        {"device", [&] { drawSceneOnly(view); }, {}},
        {"render", [&] { view.Render(); }, {}},
        {"idle", [&] { host.idle(1); }, {}},
    };

    for (int i = 0; i < o.run.warmup; ++i)
        for (Measured& m : kinds) m.frame();

    using Clock = std::chrono::steady_clock;
    for (Measured& m : kinds) m.ms.reserve(static_cast<std::size_t>(o.run.frames));
    Measured& idle = kinds[2];
    // Each idle frame less its waits for the X server's answers, and the waits.
    std::vector<double> idleLessWaits, waits;
    idleLessWaits.reserve(static_cast<std::size_t>(o.run.frames));
    waits.reserve(static_cast<std::size_t>(o.run.frames));
    for (int i = 0; i < o.run.frames; ++i) {
        for (Measured& m : kinds) {
            const bench::ServerWaitTiming waiting;
            const auto start = Clock::now();
            m.frame();
            m.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (&m != &idle) continue;
            waits.push_back(waiting.milliseconds());
            idleLessWaits.push_back(m.ms.back() - waits.back());
        }
    }
    for (Measured& m : kinds) {
        const bench::AllocationCount count;
        for (int i = 0; i < o.run.frames; ++i) m.frame();
        m.allocations = count.count();
    }

    // Where render's allocations come from: its two parts beyond the device's work.
    const auto allocationsOf = [&](const std::function<void()>& part) {
        const bench::AllocationCount count;
        for (int i = 0; i < o.run.frames; ++i) part();
        return static_cast<unsigned long long>(count.count());
    };
    const unsigned long long overlay = allocationsOf([&] {
        view.m_pd3dDevice->BeginScene();
        view.DrawHUD();
        view.m_pd3dDevice->EndScene();
        platform::d3d9::drawCounts(view.m_pd3dDevice);
    });
    const unsigned long long present =
        allocationsOf([&] { view.m_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr); });

    const double device = median(kinds[0].ms);
    std::printf("size=%dx%d threads=%u frames=%d", size.width, size.height,
                platform::d3d9::renderThreads(view.m_hWnd->presentingProcessors()), o.run.frames);
    for (const Measured& m : kinds) {
        const double ms = median(m.ms);
        std::printf(" %s_median_ms=%.3f %s_fps=%.1f", m.name, ms, m.name, 1000.0 / ms);
    }
    for (const Measured& m : kinds) {
        if (&m == &kinds[0]) continue;
        std::printf(" %s_over_device_pct=%.1f", m.name, (median(m.ms) / device - 1.0) * 100.0);
    }
    for (const Measured& m : kinds)
        std::printf(" %s_allocations=%llu", m.name, static_cast<unsigned long long>(m.allocations));
    std::printf(" overlay_allocations=%llu present_allocations=%llu", overlay, present);
    if (const test::x11::XServer* server = o.xvfb ? test::x11::XServer::get() : nullptr) {
        const double before = serverMilliseconds(server->pid());
        for (int i = 0; i < o.run.frames; ++i) host.idle(1);
        const double serverMs = (serverMilliseconds(server->pid()) - before) / o.run.frames;
        std::printf(" xserver_ms=%.3f xserver_wait_ms=%.3f shell_over_device_pct=%.1f", serverMs,
                    median(waits), (median(idleLessWaits) / device - 1.0) * 100.0);
    }
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseOptions(argc, argv);
    if (o.xvfb && !test::x11::XServer::get(o.screenWidth, o.screenHeight))
        fail(test::x11::XServer::failure());
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a display set by the caller wins
    if (chdir(o.data.c_str()) != 0) fail("cannot enter the data directory " + o.data);
    platform::d3d9::setRenderThreads(o.run.threads);

    platform::mfc::TestHost host;
    if (!host.started()) fail("InitInstance failed");
    auto* frame = static_cast<CMainFrame*>(host.mainWindow());
    if (!bench::waitUntilShown(*frame)) fail("the frame window was never shown on the screen");
    for (const Size& size : o.sizes) runSize(*frame, host, o, size);
    return 0;
}
