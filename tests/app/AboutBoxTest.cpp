// The About box: opened from the Help menu and from the toolbar, laid out from its template
// in dialog units, modal over the frame with no frames drawn while it is open.
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ShellFixture.h"
#include "mfc/DialogUnits.h"
#include "resource.h"

namespace test {
namespace {

// Runs inspect on the modal dialog once its loop runs, then presses its OK button.
void whenAboutBoxOpens(const std::function<void(QDialog&)>& inspect) {
    QTimer::singleShot(0, [inspect] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inspect(*dialog);
        auto* ok = dialog->findChild<QPushButton*>();
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
}

TEST_F(ShellTest, AboutBoxIsLaidOutFromItsTemplate) {
    bool inspected = false;
    whenAboutBoxOpens([&](QDialog& dialog) {
        inspected = true;
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Orvek 정보");
        EXPECT_EQ(dialog.parentWidget(), window());  // the main frame owns it
        EXPECT_TRUE(dialog.isModal());
        const auto units = platform::mfc::baseUnitsOf(dialog.font());
        EXPECT_GT(units.x, 0);
        EXPECT_GT(units.y, 0);
        EXPECT_EQ(dialog.size(), platform::mfc::toPixels(units, 0, 0, 235, 55).size());

        const QList<QWidget*> controls =
            dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(controls.size(), 5);
        auto* icon = qobject_cast<QLabel*>(controls[0]);
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
        EXPECT_EQ(icon->pos(), platform::mfc::toPixels(units, 11, 17, 20, 20).topLeft());
        EXPECT_EQ(icon->size(), QSize(32, 32));  // an icon static takes the icon's size

        struct Text {
            int index, x, y, cx, cy;
        };
        for (const Text& t : {Text{1, 40, 10, 119, 8}, Text{2, 40, 25, 119, 8},
                              Text{4, 40, 40, 119, 8}}) {
            auto* label = qobject_cast<QLabel*>(controls[t.index]);
            ASSERT_NE(label, nullptr) << t.index;
            EXPECT_FALSE(label->text().isEmpty());
            EXPECT_EQ(label->geometry(), platform::mfc::toPixels(units, t.x, t.y, t.cx, t.cy));
        }
        auto* ok = qobject_cast<QPushButton*>(controls[3]);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text().toStdString(), "확인");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(ok->geometry(), platform::mfc::toPixels(units, 178, 7, 50, 14));
        for (QWidget* control : controls) EXPECT_TRUE(control->isVisible());
    });
    menuItem(ID_APP_ABOUT)->trigger();
    EXPECT_TRUE(inspected);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_NE(host.mainWindow(), nullptr);
}

TEST_F(ShellTest, AboutBoxFromTheToolbarStopsTheFramesWhileOpen) {
    const auto* view = platform::mfc::WindowHost::fromHandle(frame().m_wndView.m_hWnd);
    int presentsWhileOpen = -1;
    whenAboutBoxOpens([&](QDialog&) {
        const int before = view->presentCount();
        host.idle(5);
        presentsWhileOpen = view->presentCount() - before;
    });
    host.idle(1);
    toolButton(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(presentsWhileOpen, 0);
    const int after = view->presentCount();
    host.idle(1);
    EXPECT_EQ(view->presentCount(), after + 1);  // the frames resume once it is closed
}

TEST_F(ShellTest, EscapeAndTheCloseBoxEndTheAboutBox) {
    for (const bool useEscape : {true, false}) {
        SCOPED_TRACE(useEscape ? "Escape" : "close box");
        bool closed = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            if (useEscape) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
            closed = QApplication::activeModalWidget() == nullptr;
        });
        theApp.OnAppAbout();
        EXPECT_TRUE(closed);
        EXPECT_NE(host.mainWindow(), nullptr);  // Escape in the box is not the frame's Exit
    }
}

}  // namespace
}  // namespace test
