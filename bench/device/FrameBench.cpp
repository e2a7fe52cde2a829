// device_bench: times whole frames of the demo scene on the software device and prints one
// key=value line. A frame is Clear + BeginScene + the draws + EndScene, then a copy of the
// finished back buffer into host memory and a Present to a headless window.
//
// Usage: device_bench [--size WxH] [--threads N] [--warmup N] [--frames N]
//                     [--parts all|ground|cubes|none] [--ppm FILE] [--label TEXT]
// --threads 0 takes one per core; --ppm writes the last frame as a binary PPM.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "DemoScene.h"
#include "d3d9/DeviceOptions.h"
#include "d3d9/HeadlessWindow.h"

namespace {

struct Options {
    int width = 1280;
    int height = 720;
    unsigned threads = 1;
    int warmup = 20;
    int frames = 200;
    bench::Parts parts = bench::Parts::All;
    std::string partsName = "all";
    const char* ppm = nullptr;
    std::string label = "-";
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "device_bench: %s\n", message.c_str());
    std::exit(1);
}

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> const char* {
            if (i + 1 >= argc) fail("missing value after " + std::string(arg));
            return argv[++i];
        };
        if (arg == "--size") {
            if (std::sscanf(value(), "%dx%d", &o.width, &o.height) != 2) fail("bad --size");
        } else if (arg == "--threads") {
            o.threads = static_cast<unsigned>(std::atoi(value()));
        } else if (arg == "--warmup") {
            o.warmup = std::atoi(value());
        } else if (arg == "--frames") {
            o.frames = std::atoi(value());
        } else if (arg == "--parts") {
            o.partsName = value();
            if (o.partsName == "all") o.parts = bench::Parts::All;
            else if (o.partsName == "ground") o.parts = bench::Parts::Ground;
            else if (o.partsName == "cubes") o.parts = bench::Parts::Cubes;
            else if (o.partsName == "none") o.parts = bench::Parts::None;
            else fail("bad --parts");
        } else if (arg == "--ppm") {
            o.ppm = value();
        } else if (arg == "--label") {
            o.label = value();
        } else {
            fail("unknown option " + std::string(arg) + " (see the top of FrameBench.cpp)");
        }
    }
    if (o.width <= 0 || o.height <= 0 || o.frames <= 0 || o.warmup < 0) fail("bad size or count");
    return o;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(at);
    const std::size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
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

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseOptions(argc, argv);
    platform::d3d9::setRenderThreads(o.threads);
    const unsigned threads = platform::d3d9::renderThreads();
    platform::d3d9::HeadlessWindow window(o.width, o.height);

    platform::ComRef<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d) fail("Direct3DCreate9 failed");
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    platform::ComRef<IDirect3DDevice9> device;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, device.put()))) {
        fail("CreateDevice failed");
    }
    platform::ComRef<IDirect3DSurface9> backBuffer;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()))) {
        fail("GetBackBuffer failed");
    }

    std::vector<std::uint32_t> host(static_cast<std::size_t>(o.width) * o.height);
    const auto readBack = [&] {
        D3DLOCKED_RECT locked;
        if (FAILED(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            fail("LockRect failed");
        }
        for (int y = 0; y < o.height; ++y) {
            std::memcpy(host.data() + static_cast<std::size_t>(y) * o.width,
                        static_cast<const unsigned char*>(locked.pBits) +
                            static_cast<std::size_t>(y) * locked.Pitch,
                        static_cast<std::size_t>(o.width) * 4);
        }
        backBuffer->UnlockRect();
        if (FAILED(device->Present(nullptr, nullptr, nullptr, nullptr))) fail("Present failed");
    };

    try {
        bench::DemoScene scene(*device.get(), o.width, o.height);
        const auto frame = [&] {
            if (FAILED(scene.drawFrame(o.parts))) fail("a draw call failed");
        };
        for (int i = 0; i < o.warmup; ++i) {
            frame();
            readBack();
        }
        using Clock = std::chrono::steady_clock;
        const auto ms = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double, std::milli>(b - a).count();
        };
        std::vector<double> frameMs;
        std::vector<double> readMs;
        frameMs.reserve(o.frames);
        readMs.reserve(o.frames);
        for (int i = 0; i < o.frames; ++i) {
            const auto start = Clock::now();
            frame();
            const auto drawn = Clock::now();
            readBack();
            const auto end = Clock::now();
            frameMs.push_back(ms(start, end));
            readMs.push_back(ms(drawn, end));
        }
        if (o.ppm) writePpm(o.ppm, host, o.width, o.height);
        std::printf("label=%s size=%dx%d parts=%s threads=%u frames=%d median_ms=%.3f "
                    "min_ms=%.3f p90_ms=%.3f max_ms=%.3f read_present_median_ms=%.3f\n",
                    o.label.c_str(), o.width, o.height, o.partsName.c_str(), threads, o.frames,
                    percentile(frameMs, 0.5), percentile(frameMs, 0.0), percentile(frameMs, 0.9),
                    percentile(frameMs, 1.0), percentile(readMs, 0.5));
    } catch (const std::runtime_error& e) {
        fail(e.what());
    }
    return 0;
}
