// The window's small behaviours: the page menu on a right click of the passive surfaces (and
// of no control), the path tool-tips, the link panels, the logo panel, F1 and the Help menu,
// and the folder pickers' warning about an unusable drive.
#include "support/fakes.h"
#include "support/small_mount.h"
#include "system/free_space.h"
#include "system/storage_disks.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"
#include "ui/pages/about_page.h"
#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QToolTip>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;
using kesto::ui::MainWindow;

namespace {

struct Popup {
    QMenu *menu;
    QPoint globalPos;
};

// A point of the widget that none of its children covers.
std::optional<QPoint> bareSpot(QWidget *widget)
{
    for (int y = 1; y < widget->height() - 1; y += 2) {
        for (int x = 1; x < widget->width() - 1; x += 2) {
            if (!widget->childAt(x, y))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// The page that holds the widget, if any.
std::optional<Page> pageOf(MainWindow &window, QWidget *widget)
{
    for (Page page :
         {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip, Page::Kesto, Page::About}) {
        QWidget *pageWidget = window.pageWidget(page);
        if (widget == pageWidget || pageWidget->isAncestorOf(widget))
            return page;
    }
    return std::nullopt;
}

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace

class WindowBehavioursTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ts = std::make_unique<TestSession>();
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        window->setPageMenuPopup([this](QMenu *menu, const QPoint &globalPos) {
            popups.append({menu, globalPos});
        });
        window->setAboutSplashOpener([this] { ++aboutSplashes; });
        popups.clear();
        aboutSplashes = 0;
        window->MainWindowLoad();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        closePopups();
        QToolTip::hideText();
        window.reset();
        ts.reset();
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
        const std::optional<QPoint> spot = bareSpot(widget);
        QVERIFY2(spot, "the surface is covered by its controls");

        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            if (surface != QLatin1String("SSPanel7"))
                QTest::mouseClick(widget, button, {}, *spot);
        }
        QVERIFY(popups.isEmpty());
        QTest::mouseClick(widget, Qt::RightButton, {}, *spot);
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups[0].menu, window->pageMenu());
        QCOMPARE(popups[0].globalPos, widget->mapToGlobal(*spot));
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
        const QPoint spot = control == QLatin1String("Frame7") || control == "SSListBar1"
                                ? *bareSpot(widget)
                                : widget->rect().center();
        // Some controls run their own menu modally: close whatever pops up.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, closePopups);
        closer.start(20);
        QTest::mouseClick(widget, Qt::RightButton, {}, spot);
        closer.stop();
        closePopups();
        if (auto *drives = qobject_cast<QComboBox *>(widget))
            drives->hidePopup();
        QVERIFY(popups.isEmpty());
        QCOMPARE(aboutSplashes, 0);
    }

    void pageMenuPopsUpAndShowsTheChosenPage()
    {
        window->setPageMenuPopup(
            [](QMenu *menu, const QPoint &globalPos) { menu->popup(globalPos); });
        QLabel *label = window->findChild<QLabel *>(QStringLiteral("Label2"));
        QTest::mouseClick(label, Qt::RightButton, {}, QPoint(3, 3));
        QMenu *menu = window->pageMenu();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(menu->geometry().topLeft(), label->mapToGlobal(QPoint(3, 3)));
        QTest::keyClick(menu, Qt::Key_D);
        QVERIFY(!menu->isVisible());
        QVERIFY(!window->pageWidget(Page::Diz)->isHidden());
        QCOMPARE(window->titleText(), QStringLiteral(" Diz"));
        QCOMPARE(window->listBar()->currentItem(), QStringLiteral("Diz")); // the mark follows
    }

    void logoPanelOpensTheAboutSplash()
    {
        QWidget *logo = window->findChild<QWidget *>(QStringLiteral("SSPanel7"));
        QCOMPARE(logo->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!logo->cursor().pixmap().isNull());

        QTest::mouseClick(logo, Qt::RightButton);
        QCOMPARE(popups.size(), 1);
        QCOMPARE(aboutSplashes, 0);
        QVERIFY(!ts->session.state.SplashAboutMode);

        QTest::mouseClick(logo, Qt::LeftButton);
        QCOMPARE(aboutSplashes, 1);
        QVERIFY(ts->session.state.SplashAboutMode);
        QTest::mouseClick(logo, Qt::MiddleButton);
        QCOMPARE(aboutSplashes, 2);
        QCOMPARE(popups.size(), 1);
    }

    void pathDisplayShowsItsPathAsTip_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<Page>("page");
        QTest::newRow("source") << "SSPanel8" << Page::Source;
        QTest::newRow("diz") << "SSPanel2" << Page::Diz;
        QTest::newRow("nfo") << "SSPanel3" << Page::Nfo;
        QTest::newRow("extra") << "SSPanel4" << Page::Nfo;
        QTest::newRow("zip dir") << "SSPanel5" << Page::Zip;
    }
    void pathDisplayShowsItsPathAsTip()
    {
        QFETCH(QString, display);
        QFETCH(Page, page);
        window->showPage(page);
        auto *panel = window->findChild<QLabel *>(display);
        QString &field = display == QLatin1String("SSPanel8")   ? ts->session.job.SourcePath
                         : display == QLatin1String("SSPanel2") ? ts->session.job.DizPath
                         : display == QLatin1String("SSPanel3") ? ts->session.job.NfoPath
                         : display == QLatin1String("SSPanel4") ? ts->session.job.ExtraPath
                                                                : ts->session.job.ZipDir;
        const QString longPath = QStringLiteral("/home/ann/projects/a directory with a name far "
                                                "too long for its panel/and one more level");
        // Shown elided in the middle: both ends of a long path stay in view.
        const auto shown = [&](const QString &path) {
            field = path;
            window->jobChanged();
            return panel->grab().toImage();
        };
        QVERIFY(shown(longPath + "/a.txt") != shown(longPath + "/b.txt"));
        QVERIFY(shown("/a" + longPath) != shown("/b" + longPath));
        field = longPath;
        window->jobChanged();
        hover(panel);
        QTRY_COMPARE(panel->toolTip(), longPath);
        QCOMPARE(shownTip(panel), longPath);

        field = QStringLiteral("/srv/new");
        window->jobChanged();
        QCOMPARE(panel->toolTip(), longPath); // until the pointer comes back
        hover(panel);
        QTRY_COMPARE(panel->toolTip(), QStringLiteral("/srv/new"));
        QCOMPARE(shownTip(panel), QStringLiteral("/srv/new"));

        field.clear();
        window->jobChanged();
        hover(panel);
        QTRY_VERIFY(panel->toolTip().isEmpty());
        QVERIFY(shownTip(panel).isEmpty());
    }

    void nameBoxShowsItsTextAsTip()
    {
        window->showPage(Page::Zip);
        auto *name = window->findChild<QLineEdit *>(QStringLiteral("Text3"));
        QTest::keyClicks(name, QStringLiteral("tool"));
        QVERIFY(name->toolTip().isEmpty());
        QTest::mouseMove(name, QPoint(5, 5));
        QTRY_COMPARE(name->toolTip(), QStringLiteral("tool"));
        QTest::keyClicks(name, QStringLiteral("kit"));
        QTest::mouseMove(name, QPoint(9, 6));
        QTRY_COMPARE(name->toolTip(), QStringLiteral("toolkit"));
        name->clear();
        QTest::mouseMove(name, QPoint(5, 5));
        QTRY_VERIFY(name->toolTip().isEmpty());
    }

    void linkPanelsTurnBlueUnderThePointer_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("e-mail") << "SSPanel10"
                                << QStringLiteral("webdial.exe >mailto:") + ui::AuthorEmail;
        QTest::newRow("web") << "SSPanel11" << QStringLiteral("webdial.exe $") + ui::AuthorWebPage;
    }
    void linkPanelsTurnBlueUnderThePointer()
    {
        QFETCH(QString, panel);
        QFETCH(QString, commandLine);
        window->showPage(Page::About);
        auto *link = window->findChild<QLabel *>(panel);
        QPalette red = link->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        link->setPalette(red);

        hover(link);
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 192));
        QVERIFY(ts->launcher.started.isEmpty());
        QTest::mouseMove(window->findChild<QWidget *>(QStringLiteral("Label17")));
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));

        QTest::mouseClick(link, Qt::RightButton);
        QVERIFY(ts->launcher.started.isEmpty());
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine, commandLine);
        QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNoActivate);
    }

    void helpMenuStartsAndCalls_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("helpCommand"); // 0: no help call
        QTest::newRow("web page") << "webm" << QStringLiteral("webdial.exe $") + ui::AuthorWebPage
                                  << 0;
        QTest::newRow("e-mail") << "emailm"
                                << QStringLiteral("webdial.exe >mailto:") + ui::AuthorEmail << 0;
        QTest::newRow("contents") << "contents" << QString() << int(HelpCommand::Contents);
        QTest::newRow("index") << "indexm" << QString() << int(HelpCommand::Finder);
    }
    void helpMenuStartsAndCalls()
    {
        QFETCH(QString, item);
        QFETCH(QString, commandLine);
        QFETCH(int, helpCommand);
        QMenu *help = window->findChild<QMenu *>(QStringLiteral("helpm"));
        help->findChild<QAction *>(item)->trigger();
        if (commandLine.isEmpty()) {
            QVERIFY(ts->launcher.started.isEmpty());
        } else {
            QCOMPARE(ts->launcher.started.size(), 1);
            QCOMPARE(ts->launcher.started[0].commandLine, commandLine);
            QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNormal);
        }
        if (helpCommand == 0) {
            QVERIFY(ts->help.calls.isEmpty());
        } else {
            QCOMPARE(ts->help.calls.size(), 1);
            QCOMPARE(ts->help.calls[0].first, ts->appDir() + QStringLiteral("/Kesto32.HLP"));
            QCOMPARE(int(ts->help.calls[0].second), helpCommand);
        }
        QCOMPARE(aboutSplashes, 0);
    }

    void aboutItemOpensTheSplashNotThePage()
    {
        window->findChild<QMenu *>(QStringLiteral("helpm"))
            ->findChild<QAction *>(QStringLiteral("aboutm"))
            ->trigger();
        QCOMPARE(aboutSplashes, 1);
        QVERIFY(ts->session.state.SplashAboutMode);
        QVERIFY(window->pageWidget(Page::About)->isHidden());
    }

    void f1StartsTheHelpViewer_data()
    {
        QTest::addColumn<QString>("focus"); // the control with the keyboard focus
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("starts");
        QTest::newRow("F1") << "" << int(Qt::Key_F1) << true;
        QTest::newRow("F1 in the name box") << "Text3" << int(Qt::Key_F1) << true;
        QTest::newRow("F1 on a button") << "Command10" << int(Qt::Key_F1) << true;
        QTest::newRow("F2") << "" << int(Qt::Key_F2) << false;
        QTest::newRow("Escape") << "" << int(Qt::Key_Escape) << false;
        QTest::newRow("a letter") << "Command10" << int(Qt::Key_A) << false;
    }
    void f1StartsTheHelpViewer()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, starts);
        window->showPage(Page::Zip);
        QWidget *target = window.get();
        if (!focus.isEmpty()) {
            target = window->findChild<QWidget *>(focus);
            target->setFocus();
        }
        QTest::keyClick(target, Qt::Key(key));
        if (!starts) {
            QVERIFY(ts->launcher.started.isEmpty());
            QVERIFY(ts->help.calls.isEmpty());
            return;
        }
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine,
                 QStringLiteral("winhelp.exe ") + ts->appDir() + QStringLiteral("/kesto32.hlp"));
        QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNoActivate);
    }

    // The folder pickers, with the program's real free-space reading behind them.
    void folderPickerWarnsOfAnUnusableDrive_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("ordinary folder") << "ordinary" << false;
        QTest::newRow("kernel file system") << "proc" << true;
        QTest::newRow("full file system") << "full" << true;
    }
    void folderPickerWarnsOfAnUnusableDrive()
    {
        QFETCH(QString, kind);
        QFETCH(bool, invalid);
        QString folder = ts->path(QStringLiteral("Some Folder"));
        QDir().mkpath(folder);
        std::unique_ptr<SmallMount> mount;
        if (kind == QLatin1String("proc")) {
            folder = QStringLiteral("/proc/self");
        } else if (kind == QLatin1String("full")) {
            mount = std::make_unique<SmallMount>(folder, QStringLiteral("64k"));
            if (!mount->mounted)
                QSKIP("cannot mount a small file system here");
            fill(folder);
            QCOMPARE(StorageDiskInfo().freeBytes(folder), 0);
        }
        StorageDiskInfo disks;
        QtDialogs dialogs;
        dialogs.folderStatus = [&disks](const QString &path) {
            return FolderPickerSelectionChanged(disks, path);
        };
        QString status;
        QTimer::singleShot(0, qApp, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            emit dialog->currentChanged(folder);
            status = dialog->findChild<QLabel *>(QStringLiteral("folderStatus"))->text();
            dialog->reject();
        });
        dialogs.pickFolder(QStringLiteral("Source directory"), ts->root.path());
        QCOMPARE(status, invalid ? QStringLiteral("Invalid drive") : folder);
    }

private:
    // Shows the control's page (the About page with its banner) and returns the control.
    QWidget *bringIntoView(const QString &name)
    {
        QWidget *widget = window->findChild<QWidget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        if (const std::optional<Page> page = pageOf(*window, widget)) {
            if (*page == Page::About) {
                QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
                QTest::mouseClick(window->listBar()->itemButton(QStringLiteral("About")),
                                  Qt::LeftButton);
            } else {
                window->showPage(*page);
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
        QTest::mouseMove(window->findChild<QWidget *>(QStringLiteral("SSPanel1")), QPoint(2, 2));
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

    static void fill(const QString &dir)
    {
        QFile file(dir + QStringLiteral("/filler"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (file.write(block) == block.size()) {
        }
    }

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<MainWindow> window;
    QList<Popup> popups;
    int aboutSplashes = 0;
};

QTEST_MAIN(WindowBehavioursTest)
#include "test_window_behaviours.moc"
