// The window's small behaviours: the page menu on a right click of the passive surfaces (and
// of no control), the path tool-tips, the link panels, the logo panel, F1 and the Help menu.
#include "ui/pages/about_page.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolTip>

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
        window->setPageMenuPopup([this](QMenu *menu, const QPoint &at) {
            popups << at;
            Q_UNUSED(menu)
        });
        window->setAboutSplashOpener([this] { ++aboutSplashes; });
        popups.clear();
        aboutSplashes = 0;
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        closePopups();
        QToolTip::hideText();
        closeWindow();
    }

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
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            if (surface != QLatin1String("SSPanel7"))
                QTest::mouseClick(widget, button, {}, spot);
        }
        QVERIFY(popups.isEmpty());
        QTest::mouseClick(widget, Qt::RightButton, {}, spot);
        QCOMPARE(popups, QList<QPoint>{widget->mapToGlobal(spot)});
        QCOMPARE(aboutSplashes, 0);
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

    // Its right click is in the surface table.
    void logoPanelOpensTheAboutSplash()
    {
        QWidget *logo = child("SSPanel7");
        QVERIFY(logo->cursor().shape() == Qt::BitmapCursor && !logo->cursor().pixmap().isNull());
        QTest::mouseClick(logo, Qt::LeftButton);
        QVERIFY(ts->session.state.SplashAboutMode);
        QTest::mouseClick(logo, Qt::MiddleButton);
        QCOMPARE(aboutSplashes, 2);
        QVERIFY(popups.isEmpty());
    }

    // Shown elided in the middle, both ends of a long path stay in view; the whole path (the name
    // box's text) is the tip once the pointer comes.
    void displayShowsItsTextAsTip_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<Page>("page");
        QTest::newRow("source") << "SSPanel8" << Page::Source;
        QTest::newRow("diz") << "SSPanel2" << Page::Diz;
        QTest::newRow("nfo") << "SSPanel3" << Page::Nfo;
        QTest::newRow("extra") << "SSPanel4" << Page::Nfo;
        QTest::newRow("zip dir") << "SSPanel5" << Page::Zip;
        QTest::newRow("zip name") << "Text3" << Page::Zip;
    }
    void displayShowsItsTextAsTip()
    {
        QFETCH(QString, display);
        QFETCH(Page, page);
        window->showPage(page);
        if (auto *name = qobject_cast<QLineEdit *>(child(display))) {
            QTest::keyClicks(name, QStringLiteral("tool"));
            QVERIFY(name->toolTip().isEmpty());
            hover(name);
            QTRY_COMPARE(name->toolTip(), QStringLiteral("tool"));
            QTest::keyClicks(name, QStringLiteral("kit"));
            QTest::mouseMove(name, QPoint(9, 6));
            QTRY_COMPARE(name->toolTip(), QStringLiteral("toolkit"));
            return;
        }
        auto *panel = child<QLabel>(display);
        JobSettings &job = ts->session.job;
        QString &field = display == QLatin1String("SSPanel8")   ? job.SourcePath
                         : display == QLatin1String("SSPanel2") ? job.DizPath
                         : display == QLatin1String("SSPanel3") ? job.NfoPath
                         : display == QLatin1String("SSPanel4") ? job.ExtraPath
                                                                : job.ZipDir;
        const QString longPath = QStringLiteral("/home/ann/projects/a directory with a name far "
                                                "too long for its panel/and one more level");
        const auto shown = [&](const QString &path) {
            field = path;
            window->jobChanged();
            return panel->grab().toImage();
        };
        QVERIFY(shown(longPath + "/a.txt") != shown(longPath + "/b.txt"));
        QVERIFY(shown("/a" + longPath) != shown("/b" + longPath));
        for (const QString &path : {longPath, QString()}) {
            shown(path);
            hover(panel);
            QTRY_COMPARE(panel->toolTip(), path);
            QCOMPARE(shownTip(panel), path);
        }
    }

    void linkPanelsTurnBlueUnderThePointer()
    {
        window->showPage(Page::About);
        for (const char *name : {"SSPanel10", "SSPanel11"}) {
            auto *link = child<QLabel>(name);
            ui::setTextColour(link, Qt::red);
            hover(link);
            QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 192));
            QTest::mouseMove(child("Label17"));
            QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
            QTest::mouseClick(link, Qt::RightButton);
        }
        QVERIFY(ts->launcher.started.isEmpty());
    }

    // The Help menu's items, the About page's link panels, and F1 wherever the focus is.
    void helpMenuAndF1_data()
    {
        QTest::addColumn<QString>("item"); // or "key:" + the focus, or "click:" + a panel
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("helpCommand"); // -1: no help call
        const QString help = QStringLiteral("winhelp.exe {app}/kesto32.hlp|");
        QTest::newRow("web page") << "webm" << 0 << "webdial.exe $" + ui::AuthorWebPage + '|' << -1;
        QTest::newRow("e-mail") << "emailm" << 0 << "webdial.exe >mailto:" + ui::AuthorEmail + '|'
                                << -1;
        QTest::newRow("e-mail panel")
            << "click:SSPanel10" << 0 << "webdial.exe >mailto:" + ui::AuthorEmail + '|' << -1;
        QTest::newRow("web panel")
            << "click:SSPanel11" << 0 << "webdial.exe $" + ui::AuthorWebPage + '|' << -1;
        QTest::newRow("contents") << "contents" << 0 << "" << int(HelpCommand::Contents);
        QTest::newRow("index") << "indexm" << 0 << "" << int(HelpCommand::Finder);
        QTest::newRow("about") << "aboutm" << 0 << "" << -1;
        QTest::newRow("F1") << "key:" << int(Qt::Key_F1) << help << -1;
        QTest::newRow("F1 in the name box") << "key:Text3" << int(Qt::Key_F1) << help << -1;
        QTest::newRow("F1 on a button") << "key:Command10" << int(Qt::Key_F1) << help << -1;
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
        if (helpCommand >= 0) {
            QCOMPARE(ts->help.calls[0].first, ts->appDir() + QStringLiteral("/Kesto32.HLP"));
            QCOMPARE(int(ts->help.calls[0].second), helpCommand);
        }
        const bool about = item == QLatin1String("aboutm");
        QCOMPARE(aboutSplashes, about ? 1 : 0);
        QCOMPARE(ts->session.state.SplashAboutMode, about);
        QCOMPARE(window->pageWidget(Page::About)->isHidden(), menu || item.startsWith("key:"));
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

    // Brings the pointer onto the widget from elsewhere, so that it enters. On a real display
    // the pointer moves through the display server, so checks after it wait for the event.
    void hover(QWidget *widget)
    {
        QTest::mouseMove(child("SSPanel1"), QPoint(2, 2));
        QTest::mouseMove(widget, QPoint(4, 4));
    }

    // The tip the widget shows when the pointer rests on it.
    static QString shownTip(QWidget *widget)
    {
        QHelpEvent rest(QEvent::ToolTip, QPoint(4, 4), widget->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(widget, &rest);
        // Not taken up by the widget nor its containers: no tip.
        return rest.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    QList<QPoint> popups;
    int aboutSplashes = 0;
};

QTEST_MAIN(WindowBehavioursTest)
#include "test_window_behaviours.moc"
