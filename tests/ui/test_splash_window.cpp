// The splash window: at start-up it loads the main window once, at its first timer step; opened
// from the About links it stays two periods, thunders once per new window and never closes on
// a click; it takes its picture's outline.
#include "support/fakes.h"
#include "ui/qt_platform.h"
#include "ui/splash_window.h"

#include <QBitmap>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace kesto;
using kesto::test::TestSession;

class SplashWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> mainWindow;

    Session &session() { return ts->session; }
    QString thunder() const { return ts->appDir() + QStringLiteral("/thunder.wav"); }
    Form3 *openAbout()
    {
        OpenAboutSplash(session(), mainWindow.get());
        return Form3::loaded();
    }

private slots:
    void initTestCase() { initUiResources(); }
    void init()
    {
        ts = std::make_unique<TestSession>();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
    }
    void cleanup()
    {
        delete Form3::loaded();
        mainWindow.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Form3::loaded());
        ts.reset();
    }

    // The main window's start-up may itself close or delete the splash.
    void startupSplashLoadsMainWindowOnFirstStepOnly_data()
    {
        QTest::addColumn<int>("closeBy"); // 0: left open, 1: closed, 2: deleted
        QTest::newRow("left open") << 0;
        QTest::newRow("closed by the start-up") << 1;
        QTest::newRow("deleted by the start-up") << 2;
    }
    void startupSplashLoadsMainWindowOnFirstStepOnly()
    {
        QFETCH(int, closeBy);
        session().state.VersionText = QStringLiteral("stale");
        int loads = 0;
        auto *splash = new Form3(session(), [&] {
            ++loads;
            if (closeBy == 1)
                CloseSplash();
            else if (closeBy == 2)
                delete Form3::loaded();
        });
        QPointer<Form3> guard(splash);
        QVERIFY(splash->isVisible() && splash->Timer1->isActive());
        QCOMPARE(session().state.VersionText, splash->Label1->text());
        // Clicks at start-up neither hurry nor close the splash.
        splash->Form_Click();
        splash->Label1_Click();
        QCOMPARE(loads, 0);
        QCOMPARE(Form3::loaded(), splash);

        splash->Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(!Form3::loaded());
        // A step that still arrives before the splash is gone loads nothing twice.
        if (guard) {
            QVERIFY(!splash->isVisible() && !splash->Timer1->isActive());
            guard->Timer1_Timer();
        }
        QCOMPARE(loads, 1);
        QVERIFY(ts->sound.played.isEmpty());
        QCOMPARE(ts->window.repaints, 0);
    }

    // A real left click (on the picture or the version label) in the first period ends it; one
    // in the second period changes nothing.
    void clicksShortenOnlyTheFirstPeriod_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<bool>("onLabel");
        QTest::newRow("picture") << 1 << false;
        QTest::newRow("version label") << 1 << true;
        QTest::newRow("second period") << 2 << false;
    }
    void clicksShortenOnlyTheFirstPeriod()
    {
        QFETCH(int, period);
        QFETCH(bool, onLabel);
        Form3 *splash = openAbout();
        if (period == 2)
            splash->Timer1_Timer();
        if (onLabel)
            QTest::mouseClick(splash->Label1, Qt::LeftButton);
        else
            QTest::mouseClick(splash, Qt::LeftButton, {}, splash->rect().center());
        QVERIFY(!session().state.SplashAboutMode);
        QCOMPARE(Form3::loaded(), splash); // clicks never close it
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
    }

    // Two periods; opened again while open: one more period, no sound; once closed (even before
    // it is deleted): a fresh window that thunders.
    void aboutSplashStaysTwoPeriods()
    {
        Form3 *splash = openAbout();
        QVERIFY(splash && splash->isVisible() && session().state.SplashAboutMode);
        QCOMPARE(splash->windowModality(), Qt::NonModal);
        QCOMPARE(ts->sound.played, QStringList{thunder()});
        splash->Timer1_Timer();
        QVERIFY(!session().state.SplashAboutMode);
        QCOMPARE(openAbout(), splash);
        QVERIFY(session().state.SplashAboutMode);
        QCOMPARE(ts->window.repaints, 1);
        splash->Timer1_Timer();
        QCOMPARE(Form3::loaded(), splash);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded() && !splash->isVisible() && mainWindow->isVisible());
        QCOMPARE(ts->sound.played, QStringList{thunder()});
        QVERIFY(openAbout() && Form3::loaded() != splash);
        QCOMPARE(ts->sound.played, QStringList({thunder(), thunder()}));
    }

    void windowTakesThePictureOutline()
    {
        auto *splash = new Form3(session(), [] {});
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QRegion outline = splash->mask();
        const QRect all = splash->rect();
        QVERIFY(outline.contains(all.center()));
        QVERIFY(outline.contains(splash->Label1->geometry().center()));
        for (const QPoint corner : {all.topLeft(), all.bottomLeft(), all.bottomRight()})
            QVERIFY(!outline.contains(corner));
    }

    void pictureInProgramDirectoryWins()
    {
        QPixmap own(100, 80);
        own.fill(Qt::red);
        QVERIFY(own.save(ts->appDir() + QStringLiteral("/splash.png")));
        auto *splash = new Form3(session(), [] {});
        QCOMPARE(splash->size(), QSize(100, 80));
        QVERIFY(splash->mask().isEmpty()); // an opaque picture keeps the rectangle
    }
};

QTEST_MAIN(SplashWindowTest)
#include "test_splash_window.moc"
