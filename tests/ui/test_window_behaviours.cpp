// The window's small behaviours: the page menu on a right click of the passive surfaces (and
// of no control), the logo panel, the path tool-tips, F1 and the Help menu.
#include "ui/pages/about_page.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>

using namespace kesto;
using namespace kesto::test;

namespace {

// A point of the widget that none of its children covers.
QPoint bareSpot(QWidget *widget)
{
    for (int y = 1; y < widget->height() - 1; y += 2) {
        for (int x = 1; x < widget->width() - 1; x += 2) {
            if (!widget->childAt(x, y))
                return QPoint(x, y);
        }
    }
    qFatal("%s is covered by its controls", qPrintable(widget->objectName()));
}

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace

class WindowBehavioursTest : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        openWindow(true);
        window->setPageMenuPopup([this](QMenu *, const QPoint &at) { popups << at; });
        window->setAboutSplashOpener([this] { ++aboutSplashes; });
        popups.clear();
        aboutSplashes = 0;
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        closePopups();
        closeWindow();
    }

    // Left and middle clicks pop up nothing; on the logo panel they open the About splash.
    void rightClickOnASurfacePopsUpThePageMenu_data()
    {
        QTest::addColumn<QString>("surface");
        for (const char *name :
             {"client",   "Picture1", "Picture2", "Picture4", "Picture5", "Picture6",  "Picture7",
              "Picture8", "SSFrame1", "SSFrame2", "Frame3",   "Frame4",   "Frame5",    "Frame6",
              "Frame8",   "Label1",   "Label2",   "Label3",   "Label4",   "Label5",    "Label6",
              "Label7",   "Label8",   "Label9",   "Label10",  "Label11",  "Label12",   "Label13",
              "Label14",  "Label15",  "Label16",  "Label17",  "SSPanel8", "SSPanel2",  "SSPanel3",
              "SSPanel4", "SSPanel5", "SSPanel6", "SSPanel1", "SSPanel7", "PVMarquee1"})
            QTest::newRow(name) << name;
    }
    void rightClickOnASurfacePopsUpThePageMenu()
    {
        QFETCH(QString, surface);
        QWidget *widget = bringIntoView(surface);
        const QPoint spot = bareSpot(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, spot);
        QTest::mouseClick(widget, Qt::MiddleButton, {}, spot);
        QVERIFY(popups.isEmpty());
        QCOMPARE(aboutSplashes, surface == QLatin1String("SSPanel7") ? 2 : 0);
        QTest::mouseClick(widget, Qt::RightButton, {}, spot);
        QCOMPARE(popups, QList<QPoint>{widget->mapToGlobal(spot)});
    }

    // Controls keep their own right click, even where they lie on a surface.
    void rightClickOnAControlPopsUpNothing_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *name :
             {"Command2",       "Drive1",    "Frame7",    "Text1",     "Option6",   "Command1",
              "Command14",      "Command4",  "Command3",  "Option1",   "Text2",     "Text6",
              "Check1",         "Option2",   "Command9",  "Text3",     "VScroll1",  "SSCheck1",
              "PVProgressBar1", "Command12", "SSPanel10", "SSPanel11", "SSListBar1"})
            QTest::newRow(name) << name;
    }
    void rightClickOnAControlPopsUpNothing()
    {
        QFETCH(QString, control);
        QWidget *widget = bringIntoView(control);
        const bool container = control == QLatin1String("Frame7") || control == "SSListBar1";
        // Some controls run their own menu modally: close whatever pops up.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, closePopups);
        closer.start(20);
        QTest::mouseClick(widget, Qt::RightButton, {},
                          container ? bareSpot(widget) : widget->rect().center());
        closer.stop();
        closePopups();
        if (auto *drives = qobject_cast<QComboBox *>(widget))
            drives->hidePopup();
        QVERIFY(popups.isEmpty());
        QCOMPARE(aboutSplashes, 0);
    }

    // A path display's tip is its whole path, as the job holds it now.
    void pathDisplayShowsItsPathAsTip()
    {
        window->showPage(Page::Nfo);
        auto *panel = child<QLabel>("SSPanel3");
        for (const QString &path :
             {QStringLiteral("/home/ann/a long directory/about.nfo"), QString()}) {
            ts->session.job.NfoPath = path;
            window->jobChanged();
            QTest::mouseMove(child("SSPanel1"), QPoint(2, 2));
            QTest::mouseMove(panel, QPoint(4, 4));
            QTRY_COMPARE(panel->toolTip(), path);
        }
    }

    // The Help menu's items, the About page's link panels, and F1 wherever the focus is.
    void helpMenuAndF1_data()
    {
        QTest::addColumn<QString>("item"); // or "key:" + the focus, or "click:" + a panel
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("helpCommand"); // -1: no help call
        const QString help = QStringLiteral("winhelp.exe {app}/kesto32.hlp|");
        const QString web = "webdial.exe $" + ui::AuthorWebPage + '|';
        const QString mail = "webdial.exe >mailto:" + ui::AuthorEmail + '|';
        QTest::newRow("web page") << "webm" << 0 << web << -1;
        QTest::newRow("e-mail") << "emailm" << 0 << mail << -1;
        QTest::newRow("e-mail panel") << "click:SSPanel10" << 0 << mail << -1;
        QTest::newRow("web panel") << "click:SSPanel11" << 0 << web << -1;
        QTest::newRow("contents") << "contents" << 0 << "" << int(HelpCommand::Contents);
        QTest::newRow("index") << "indexm" << 0 << "" << int(HelpCommand::Finder);
        QTest::newRow("about") << "aboutm" << 0 << "" << -1;
        QTest::newRow("F1") << "key:" << int(Qt::Key_F1) << help << -1;
        QTest::newRow("F1 in the name box") << "key:Text3" << int(Qt::Key_F1) << help << -1;
        QTest::newRow("F2") << "key:" << int(Qt::Key_F2) << "" << -1;
        QTest::newRow("a letter") << "key:Command10" << int(Qt::Key_A) << "" << -1;
    }
    void helpMenuAndF1()
    {
        QFETCH(QString, item);
        QFETCH(int, key);
        QFETCH(QString, commandLine);
        QFETCH(int, helpCommand);
        const bool menu = !item.contains(QLatin1Char(':'));
        if (item.startsWith(QLatin1String("click:"))) {
            window->showPage(Page::About);
            QTest::mouseClick(child(item.mid(6)), Qt::LeftButton);
        } else if (!menu) {
            window->showPage(Page::Zip);
            QWidget *target = item.size() > 4 ? child(item.mid(4)) : window.get();
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
        } else {
            child<QMenu>("helpm")->findChild<QAction *>(item)->trigger();
        }
        QString started;
        for (const Launch &launch : ts->launcher.started) {
            QCOMPARE(launch.mode, menu ? WindowMode::ShowNormal : WindowMode::ShowNoActivate);
            started += launch.commandLine + '|';
        }
        QCOMPARE(started, QString(commandLine).replace(QLatin1String("{app}"), ts->appDir()));
        QCOMPARE(ts->help.calls.size(), helpCommand >= 0 ? 1 : 0);
        if (helpCommand >= 0)
            QCOMPARE(int(ts->help.calls[0].second), helpCommand);
        QCOMPARE(aboutSplashes, item == QLatin1String("aboutm") ? 1 : 0);
    }

private:
    // Shows the control's page (the About page with its banner) and returns the control.
    QWidget *bringIntoView(const QString &name)
    {
        QWidget *widget = child(name);
        for (Page page : allPages) {
            QWidget *pageWidget = window->pageWidget(page);
            if (widget != pageWidget && !pageWidget->isAncestorOf(widget))
                continue;
            if (page == Page::About) {
                showHelpGroup();
                clickItem(QStringLiteral("About"));
            } else {
                window->showPage(page);
            }
        }
        if (!widget->isVisible())
            qFatal("%s is not in view", qPrintable(name));
        return widget;
    }

    QList<QPoint> popups;
    int aboutSplashes = 0;
};

QTEST_MAIN(WindowBehavioursTest)
#include "test_window_behaviours.moc"
