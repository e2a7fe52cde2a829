// The overlay draws the same lines every frame: once their glyphs are cached, drawing them again
// must not allocate. This executable replaces the global operator new to count.
#include <atomic>
#include <cstdlib>
#include <new>

#include "FontTesting.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace test {
namespace {

using FontAllocation = FontFixture;

TEST_F(FontAllocation, RedrawingCachedTextAllocatesNothing) {
    ComRef<ID3DXFont> font = overlayFont();
    const char* const lines[] = {
        "FPS: 0123456789.",
        "일정 영역에서 반응; P_모으기/ O_흩트리기/ K_때리기",
        "ASDW_이동/ QE_회전",
        "1_모드 변환",
        "현재; 확인 모드",
    };
    auto frame = [&](const char* fps) {
        RECT rect;
        SetRect(&rect, 5, 5, 0, 0);
        font->DrawTextA(nullptr, fps, -1, &rect, DT_NOCLIP, kYellow);
        for (int i = 1; i < 5; ++i) {
            SetRect(&rect, 5, 5 + 20 * i, 0, 0);
            font->DrawTextA(nullptr, lines[i], -1, &rect, DT_NOCLIP, kYellow);
        }
    };
    const long start = allocations.load();
    frame(lines[0]);
    const long before = allocations.load();
    EXPECT_GT(before - start, 0);  // the first frame caches the glyphs, through this counter
    frame("FPS: 59.940060");
    frame("FPS: 61.234567");
    EXPECT_EQ(0, allocations.load() - before);
}

}  // namespace
}  // namespace test
