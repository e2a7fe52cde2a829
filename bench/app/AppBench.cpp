// app_bench: times the program's own frame on the software device, presented into an offscreen
// Qt window, against the device's share of the same frame, and counts the heap allocations
// per frame. The program is started as the tests start it (the MFC layer's test host: the real
// application object, InitInstance, idle passes), and the view is rebuilt at each size.
//
// Three frames, interleaved so that they share the machine's load:
//   device  the scene's device work only: Clear, the material, BeginScene, the ground, the
//           overview camera, the player, the thirty boxes, the empty second cube, EndScene;
//   render  CChildView::Render: the same plus the movement, the contacts, the boxes' state
//           steps, the overlay's five lines and Present into the window;
//   idle    one idle pass: COrvekApp::OnIdle, the frame loop's clock, Render and, every 26 ms,
//           the keyboard and mouse polls.
//
// Allocations are counted over as many frames again after the timed ones, for each frame and for
// the overlay alone and Present alone, the two parts of render that the device frame leaves out.
//
// Usage: app_bench [--sizes WxH[,WxH...]] [--threads N] [--warmup N] [--frames N] [--data DIR]
// Defaults: --sizes 640x480,1280x720 --threads 0 (one per core) --warmup 30 --frames 300.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "AllocationCounter.h"
#include "Arguments.h"
#include "Camera.h"
#include "MainFrm.h"
#include "Terrain.h"
#include "Statistics.h"
#include "ViewAtSize.h"
#include "d3d9/DeviceOptions.h"
#include "mfc/TestHost.h"

namespace {

struct Size {
    int width;
    int height;
};

struct Options {
    std::vector<Size> sizes = {{640, 480}, {1280, 720}};
    bench::FrameRun run{0, 30, 300};
    std::string data = ORVEK_DATA_DIR;
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
        if (std::sscanf(item.c_str(), "%dx%d", &s.width, &s.height) != 2 || s.width <= 0 ||
            s.height <= 0)
            fail("bad size " + item);
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

void runSize(CMainFrame& frame, platform::mfc::TestHost& host, const Options& o, Size size) {
    if (!bench::rebuildViewAt(frame, size.width, size.height)) std::exit(1);
    CChildView& view = frame.m_wndView;
    Measured kinds[] = {
        {"device", [&] { drawSceneOnly(view); }, {}},
        {"render", [&] { view.Render(); }, {}},
        {"idle", [&] { host.idle(1); }, {}},
    };

    for (int i = 0; i < o.run.warmup; ++i)
        for (Measured& m : kinds) m.frame();

    using Clock = std::chrono::steady_clock;
    for (Measured& m : kinds) m.ms.reserve(static_cast<std::size_t>(o.run.frames));
    for (int i = 0; i < o.run.frames; ++i) {
        for (Measured& m : kinds) {
            const auto start = Clock::now();
            m.frame();
            m.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
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
    });
    const unsigned long long present =
        allocationsOf([&] { view.m_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr); });

    const double device = median(kinds[0].ms);
    std::printf("size=%dx%d threads=%u frames=%d", size.width, size.height,
                platform::d3d9::renderThreads(), o.run.frames);
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
    std::printf(" overlay_allocations=%llu present_allocations=%llu\n", overlay, present);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseOptions(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a display set by the caller wins
    if (chdir(o.data.c_str()) != 0) fail("cannot enter the data directory " + o.data);
    platform::d3d9::setRenderThreads(o.run.threads);

    platform::mfc::TestHost host;
    if (!host.started()) fail("InitInstance failed");
    auto* frame = static_cast<CMainFrame*>(host.mainWindow());
    for (const Size& size : o.sizes) runSize(*frame, host, o, size);
    return 0;
}
