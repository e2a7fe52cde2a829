#include "ViewAtSize.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include "MainFrm.h"
#include "mfc/WindowHost.h"

namespace bench {
namespace {

void pump() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// An X server answers a resize or a map in its own time: events are pumped until it has.
bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (pump(); !done(); pump()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Releases everything set-up made, so that InitD3D starts from a view without a scene.
void dropScene(CChildView& view) {
    view.m_Cube.Release();
    view.Cleanup();
    view.m_pd3dDevice = nullptr;
    view.m_pD3D = nullptr;
    view.m_pFont = nullptr;
    view.m_pTerrain = nullptr;
    view.m_pCamera = nullptr;
    view.m_pCube2 = nullptr;
}

}  // namespace

bool rebuildViewAt(CMainFrame& frame, int width, int height) {
    QWidget* view = platform::mfc::widgetOf(&frame.m_wndView);
    if (!view) {
        std::fprintf(stderr, "app_bench: the view has no window\n");
        return false;
    }
    const QSize target(width, height);
    // The bars keep their heights, so the frame grows by what the view lacks; a second round
    // catches a bar that wrapped at the new width.
    for (int round = 0; round < 3 && view->size() != target; ++round) {
        QWidget* window = view->window();
        const QSize wanted = window->size() + (target - view->size());
        window->resize(wanted);
        pumpUntil([&] { return window->size() == wanted; });
    }
    if (view->size() != target) {
        std::fprintf(stderr, "app_bench: the view is %dx%d, not %dx%d\n", view->width(),
                     view->height(), width, height);
        return false;
    }

    dropScene(frame.m_wndView);
    // The boxes drew their two anchor coordinates each before start-up's scene drew its
    // numbers: start the generator as at process start and skip those to get the same layout.
    std::srand(1);
    for (int i = 0; i < 2 * CChildView::kBoxCount; ++i) std::rand();
    frame.InitD3D();
    if (!frame.m_wndView.m_pd3dDevice) {
        std::fprintf(stderr, "app_bench: no device at %dx%d\n", width, height);
        return false;
    }
    return true;
}

bool waitUntilShown(CMainFrame& frame) {
    QWidget* window = platform::mfc::widgetOf(&frame);
    return window &&
           pumpUntil([&] { return window->windowHandle() && window->windowHandle()->isExposed(); });
}

}  // namespace bench
