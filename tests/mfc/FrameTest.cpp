// The frame from its resources: title, default size, menu, accelerators, toolbar images and
// tips, status panes; and a dialog from its template.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "LayerFixture.h"
#include "mfc/DialogUnits.h"
#include "mfc/WindowHost.h"

namespace test {
namespace {

QMainWindow* windowOf(const CWnd& frame) {
    return qobject_cast<QMainWindow*>(platform::mfc::widgetOf(&frame));
}

TEST_F(LayerTest, FrameTakesItsTitleAndOpensAtThreeQuartersOfTheScreen) {
    EXPECT_EQ(frame().GetWindowText(), "Layer Frame");  // the string up to its line feed
    EXPECT_STREQ(theLayerApp.m_pszAppName, "LayerTest");
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(windowOf(frame())->size(),
              QSize(available.width() * 3 / 4, available.height() * 3 / 4));
    EXPECT_EQ(windowOf(frame())->centralWidget(), platform::mfc::widgetOf(&frame().m_view));
}

TEST_F(LayerTest, MenuItemsSendTheirCommandsAndFollowTheUpdate) {
    const QList<QAction*> items = windowOf(frame())->menuBar()->actions().front()->menu()->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0]->text().toStdString(), "&Handled\tCtrl+K");
    EXPECT_TRUE(items[2]->isSeparator());
    host.idle(1);
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());  // no handler
    EXPECT_FALSE(items[3]->isEnabled());  // its update handler says so
    EXPECT_TRUE(items[4]->isEnabled());   // the application takes it
    items[0]->trigger();
    items[3]->trigger();
    EXPECT_EQ(frame().handled, 1);
    EXPECT_TRUE(journal().empty() || journal().back() != "disabled command ran");
}

TEST_F(LayerTest, AcceleratorsSendCommandsOfEnabledItemsOnly) {
    QWidget* view = platform::mfc::widgetOf(&frame().m_view);
    QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_L, Qt::ControlModifier);  // disabled by its update handler
    QTest::keyClick(view, Qt::Key_J, Qt::ControlModifier);  // no handler
    EXPECT_EQ(frame().handled, 1);
    for (const std::string& entry : journal()) EXPECT_NE(entry, "disabled command ran");
    ASSERT_NE(host.mainWindow(), nullptr);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(host.mainWindow(), nullptr);
}

TEST_F(LayerTest, ToolbarCutsItsBitmapIntoButtonImages) {
    auto* toolBar = qobject_cast<QToolBar*>(platform::mfc::widgetOf(&frame().m_toolBar));
    ASSERT_NE(toolBar, nullptr);
    const QList<QAction*> buttons = toolBar->actions();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[1]->isSeparator());
    EXPECT_EQ(frame().m_toolBar.GetItemID(2), kCmdOrphan);
    EXPECT_EQ(toolBar->iconSize(), QSize(16, 15));
    const QImage first = buttons[0]->icon().pixmap(QSize(16, 15)).toImage();
    const QImage second = buttons[2]->icon().pixmap(QSize(16, 15)).toImage();
    EXPECT_EQ(first.pixel(8, 7), 0xFFFF0000u);
    EXPECT_EQ(second.pixel(8, 7), 0xFF0000FFu);
    // The standard colours take the buttons' colours of the moment.
    const QPalette& colours = toolBar->palette();
    const QPalette::ColorRole kStandard[] = {QPalette::ButtonText, QPalette::Dark,
                                             QPalette::Button, QPalette::Light};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(first.pixel(x, 0), colours.color(QPalette::Active, kStandard[x]).rgba()) << x;
    EXPECT_EQ(buttons[0]->toolTip().toStdString(), "Handled");
    host.idle(1);
    EXPECT_TRUE(buttons[0]->isEnabled());
    EXPECT_FALSE(buttons[2]->isEnabled());
    EXPECT_TRUE(toolBar->isMovable());
    EXPECT_EQ(toolBar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(windowOf(frame())->toolBarArea(toolBar), Qt::TopToolBarArea);
}

TEST_F(LayerTest, StatusBarShowsTheIdleTextAndPrompts) {
    EXPECT_EQ(frame().m_status.GetPaneText(0), "Ready");
    frame().SetMessageText(kCmdHandled);
    EXPECT_EQ(frame().m_status.GetPaneText(0), "Runs the handled command");
    frame().SetMessageText(ID_FILE_PRINT);  // no string
    EXPECT_EQ(frame().m_status.GetPaneText(0), "");
    frame().SetMessageText(AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(frame().m_status.GetPaneText(0), "Ready");
}

TEST_F(LayerTest, DialogIsBuiltFromItsTemplateAndEndsWithItsButton) {
    CDialog dialog(kDialogId);
    QRect okPlace, expectedOk;
    std::string text, caption;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        caption = shown->windowTitle().toStdString();
        EXPECT_EQ(shown->parentWidget(), windowOf(frame()));
        const auto units = platform::mfc::baseUnitsOf(shown->font());
        expectedOk = platform::mfc::toPixels(units, 120, 7, 50, 14);
        auto* label = shown->findChild<QLabel*>();
        auto* ok = shown->findChild<QPushButton*>();
        ASSERT_TRUE(label && ok);
        text = label->text().toStdString();
        okPlace = ok->geometry();
        ok->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(caption, "Layer Dialog");
    EXPECT_EQ(text, "A & B");  // "&&" is an ampersand
    EXPECT_EQ(okPlace, expectedOk);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(LayerTest, DialogWithoutATemplateFails) {
    CDialog dialog(999);
    EXPECT_EQ(dialog.DoModal(), -1);
}

}  // namespace
}  // namespace test
