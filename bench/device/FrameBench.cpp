// device_bench: times whole frames of the demo scene on the software device and prints one
// key=value line. A frame is Clear + BeginScene + the draws + EndScene, then a copy of the
// finished back buffer into host memory (GetRenderTargetData) and a Present to a headless window.
//
// Usage: device_bench [--size WxH] [--threads N] [--warmup N] [--frames N]
//                     [--parts all|ground|cubes|none] [--ppm FILE] [--label TEXT]
// --threads 0 takes one per core; --ppm writes the last frame as a binary PPM. On one thread it
// also draws the scene with no draws and at a quarter of the size, to print the drawing's cost
// per rasterized triangle and per shaded pixel.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Arguments.h"
#include "DemoScene.h"
#include "Statistics.h"
#include "d3d9/DeviceOptions.h"
#include "d3d9/DrawCounters.h"
#include "d3d9/HeadlessDevice.h"

namespace {

struct Options {
    int width = 1280;
    int height = 720;
    bench::FrameRun run{1, 20, 200};
    bench::Parts parts = bench::Parts::All;
    std::string partsName = "all";
    const char* ppm = nullptr;
    std::string label = "-";
};

[[noreturn]] void fail(const std::string& message) {
    bench::fail("device_bench", message);
}

Options parseOptions(int argc, char** argv) {
    Options o;
    bench::Arguments arguments("device_bench", argc, argv);
    const auto value = [&] { return arguments.value(); };
    for (std::string_view arg = arguments.next(); !arg.empty(); arg = arguments.next()) {
        if (arguments.readFrameRun(o.run)) continue;
        if (arg == "--size") {
            if (std::sscanf(value(), "%dx%d", &o.width, &o.height) != 2) fail("bad --size");
        } else if (arg == "--parts") {
            o.partsName = value();
            if (o.partsName == "all")
                o.parts = bench::Parts::All;
            else if (o.partsName == "ground")
                o.parts = bench::Parts::Ground;
            else if (o.partsName == "cubes")
                o.parts = bench::Parts::Cubes;
            else if (o.partsName == "none")
                o.parts = bench::Parts::None;
            else
                fail("bad --parts");
        } else if (arg == "--ppm") {
            o.ppm = value();
        } else if (arg == "--label") {
            o.label = value();
        } else {
            fail("unknown option " + std::string(arg) + " (see the top of FrameBench.cpp)");
        }
    }
    if (o.width <= 0 || o.height <= 0) fail("bad --size");
    return o;
}

void writePpm(const char* path, const std::vector<std::uint32_t>& pixels, int width, int height) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) fail(std::string("cannot write ") + path);
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = static_cast<unsigned char>(p >> 16);
            row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(p);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    std::fclose(file);
}

struct Measurement {
    double medianMs, minMs, p90Ms, maxMs, readPresentMedianMs;
    double triangles;  // rasterized a frame
    double pixels;     // shaded a frame
    std::vector<std::uint32_t> lastFrame;
};

// Draws `run.warmup` then `run.frames` frames of `parts` on a new device of width x height.
Measurement measure(int width, int height, bench::Parts parts, const bench::FrameRun& run) {
    platform::d3d9::HeadlessWindow window(width, height);
    platform::ComRef<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d) fail("Direct3DCreate9 failed");
    const platform::ComRef<IDirect3DDevice9> device =
        platform::d3d9::createHeadlessDevice(d3d.get(), window);
    if (!device) fail("CreateDevice failed");
    platform::ComRef<IDirect3DSurface9> backBuffer;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()))) {
        fail("GetBackBuffer failed");
    }

    // The finished frame goes to host memory as a program reading frames back takes it: the
    // device copies it into a system-memory surface.
    platform::ComRef<IDirect3DSurface9> host;
    if (FAILED(device->CreateOffscreenPlainSurface(width, height, D3DFMT_X8R8G8B8,
                                                   D3DPOOL_SYSTEMMEM, host.put(), nullptr))) {
        fail("CreateOffscreenPlainSurface failed");
    }
    const auto readBack = [&] {
        if (FAILED(device->GetRenderTargetData(backBuffer.get(), host.get()))) {
            fail("GetRenderTargetData failed");
        }
        if (FAILED(device->Present(nullptr, nullptr, nullptr, nullptr))) fail("Present failed");
    };
    const auto lastFrame = [&] {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        D3DLOCKED_RECT locked;
        if (FAILED(host->LockRect(&locked, nullptr, D3DLOCK_READONLY))) fail("LockRect failed");
        for (int y = 0; y < height; ++y) {
            std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width,
                        static_cast<const unsigned char*>(locked.pBits) +
                            static_cast<std::size_t>(y) * locked.Pitch,
                        static_cast<std::size_t>(width) * 4);
        }
        host->UnlockRect();
        return pixels;
    };

    bench::DemoScene scene(*device.get(), width, height);
    const auto frame = [&] {
        if (FAILED(scene.drawFrame(parts))) fail("a draw call failed");
    };
    for (int i = 0; i < run.warmup; ++i) {
        frame();
        readBack();
    }
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    std::vector<double> frameMs;
    std::vector<double> readMs;
    frameMs.reserve(run.frames);
    readMs.reserve(run.frames);
    const platform::d3d9::DrawCounts before = platform::d3d9::drawCounts(device.get());
    for (int i = 0; i < run.frames; ++i) {
        const auto start = Clock::now();
        frame();
        const auto drawn = Clock::now();
        readBack();
        const auto end = Clock::now();
        frameMs.push_back(ms(start, end));
        readMs.push_back(ms(drawn, end));
    }
    const platform::d3d9::DrawCounts after = platform::d3d9::drawCounts(device.get());
    const double frames = std::max(1, run.frames);
    return {bench::percentile(frameMs, 0.5),
            bench::percentile(frameMs, 0.0),
            bench::percentile(frameMs, 0.9),
            bench::percentile(frameMs, 1.0),
            bench::percentile(readMs, 0.5),
            static_cast<double>(after.triangles - before.triangles) / frames,
            static_cast<double>(after.pixels - before.pixels) / frames,
            lastFrame()};
}

// Splits the drawing part of a one-thread frame (the whole frame less a frame with no draws)
// into a cost per rasterized triangle and one per shaded pixel, from the same scene at this
// size and at a quarter of it, where nearly the same triangles cover a sixteenth of the
// pixels: two equations, drawing = triangles * a + pixels * b, in two unknowns.
struct Costs {
    double nsPerTriangle;
    double nsPerPixel;
};

Costs splitCosts(int width, int height, const Measurement& whole, const bench::FrameRun& run) {
    const auto drawingNs = [&](int w, int h, const Measurement& all) {
        return (all.medianMs - measure(w, h, bench::Parts::None, run).medianMs) * 1.0e6;
    };
    const int smallWidth = std::max(1, width / 4);
    const int smallHeight = std::max(1, height / 4);
    const Measurement small = measure(smallWidth, smallHeight, bench::Parts::All, run);
    const double big = drawingNs(width, height, whole);
    const double little = drawingNs(smallWidth, smallHeight, small);
    const double determinant = whole.triangles * small.pixels - small.triangles * whole.pixels;
    if (determinant == 0.0) return {0.0, 0.0};
    return {(big * small.pixels - little * whole.pixels) / determinant,
            (whole.triangles * little - small.triangles * big) / determinant};
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseOptions(argc, argv);
    platform::d3d9::setRenderThreads(o.run.threads);
    const unsigned threads = platform::d3d9::renderThreads();
    try {
        const Measurement m = measure(o.width, o.height, o.parts, o.run);
        if (o.ppm) writePpm(o.ppm, m.lastFrame, o.width, o.height);
        std::printf(
            "label=%s size=%dx%d parts=%s threads=%u frames=%d median_ms=%.3f "
            "min_ms=%.3f p90_ms=%.3f max_ms=%.3f read_present_median_ms=%.3f "
            "triangles=%.0f pixels=%.0f",
            o.label.c_str(), o.width, o.height, o.partsName.c_str(), threads, o.run.frames,
            m.medianMs, m.minMs, m.p90Ms, m.maxMs, m.readPresentMedianMs, m.triangles, m.pixels);
        if (threads == 1 && o.parts == bench::Parts::All) {
            const Costs costs = splitCosts(o.width, o.height, m, o.run);
            std::printf(" ns_per_triangle=%.1f ns_per_pixel=%.2f", costs.nsPerTriangle,
                        costs.nsPerPixel);
        }
        std::printf("\n");
    } catch (const std::runtime_error& e) {
        fail(e.what());
    }
    return 0;
}
