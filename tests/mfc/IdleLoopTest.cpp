// The idle loop: OnIdle's count rises from 0 while no message comes and starts again after
// one; a FALSE answer stops idle calls until the next message; modal loops make none; Run
// runs the passes on the event loop and ends with the main window.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "LayerFixture.h"
#include "mfc/WindowHost.h"

namespace test {
namespace {

TEST_F(LayerTest, CountRisesAndStartsAgainAfterAMessage) {
    theLayerApp.idleAnswer = [](LONG) { return TRUE; };
    host.idle(3);
    QTest::mouseClick(platform::mfc::widgetOf(&frame().m_view), Qt::LeftButton);
    host.pump();
    host.idle(2);
    EXPECT_EQ(theLayerApp.idleCounts, (std::vector<LONG>{0, 1, 2, 0, 1}));
}

TEST_F(LayerTest, FalseStopsIdleCallsUntilTheNextMessage) {
    // The base class asks for more only at count 0, after its command-UI update.
    EXPECT_EQ(host.idle(4), 1);
    EXPECT_EQ(theLayerApp.idleCounts, (std::vector<LONG>{0, 1}));
    QTest::keyClick(platform::mfc::widgetOf(&frame().m_view), Qt::Key_A);
    host.pump();
    host.idle(4);
    EXPECT_EQ(theLayerApp.idleCounts, (std::vector<LONG>{0, 1, 0, 1}));
}

TEST_F(LayerTest, NoIdleCallsWhileAMessageBoxIsOpen) {
    theLayerApp.idleAnswer = [](LONG) { return TRUE; };
    host.idle(2);
    std::size_t callsWhileOpen = 99;
    std::string caption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle().toStdString();
        const std::size_t before = theLayerApp.idleCounts.size();
        host.idle(3);
        callsWhileOpen = theLayerApp.idleCounts.size() - before;
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(frame().MessageBox("text", "Caption", MB_OK), IDOK);
    EXPECT_EQ(callsWhileOpen, 0u);
    EXPECT_EQ(caption, "Caption");
    host.idle(1);
    EXPECT_EQ(theLayerApp.idleCounts, (std::vector<LONG>{0, 1, 0}));  // its end is a message
}

TEST_F(LayerTest, RunMakesIdlePassesUntilTheMainWindowIsGone) {
    theLayerApp.idleAnswer = [](LONG lCount) {
        if (lCount == 5) theLayerApp.m_pMainWnd->SendMessage(WM_CLOSE);
        return TRUE;
    };
    EXPECT_EQ(theLayerApp.Run(), 0);
    EXPECT_EQ(theLayerApp.m_pMainWnd, nullptr);
    EXPECT_EQ(theLayerApp.idleCounts, (std::vector<LONG>{0, 1, 2, 3, 4, 5}));
    // The frame object deleted itself: its destructor, then its members' in reverse order.
    ASSERT_GE(journal().size(), 2u);
    EXPECT_EQ(std::vector<std::string>(journal().end() - 2, journal().end()),
              (std::vector<std::string>{"~frame", "~view"}));
}

}  // namespace
}  // namespace test
