// The splash window: at start-up it loads the main window once, at its first timer step; opened
// from the About links it stays two periods, thunders once per new window and never closes on
// a click.
#include "support/fakes.h"
#include "ui/qt_platform.h"
#include "ui/splash_window.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace kesto;

class SplashWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> ts;
    std::unique_ptr<QWidget> mainWindow;

    RunState &state() { return ts->session.state; }
    Form3 *openAbout()
    {
        OpenAboutSplash(ts->session, mainWindow.get());
        return Form3::loaded();
    }

private slots:
    void initTestCase() { initUiResources(); }
    void init()
    {
        ts = std::make_unique<test::TestSession>();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
    }
    void cleanup()
    {
        delete Form3::loaded();
        mainWindow.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ts.reset();
    }

    // The main window's start-up may itself close or delete the splash.
    void startupSplashLoadsMainWindowOnce_data()
    {
        QTest::addColumn<int>("closeBy"); // 0: left open, 1: closed, 2: deleted
        QTest::newRow("left open") << 0;
        QTest::newRow("closed by the start-up") << 1;
        QTest::newRow("deleted by the start-up") << 2;
    }
    void startupSplashLoadsMainWindowOnce()
    {
        QFETCH(int, closeBy);
        int loads = 0;
        auto *splash = new Form3(ts->session, [&] {
            ++loads;
            if (closeBy == 1)
                CloseSplash();
            else if (closeBy == 2)
                delete Form3::loaded();
        });
        QPointer<Form3> guard(splash);
        // Clicks at start-up neither hurry nor close the splash.
        splash->Form_Click();
        splash->Label1_Click();
        QCOMPARE(loads, 0);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
        if (guard) // a step that still arrives before the splash is gone
            guard->Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(ts->sound.played.isEmpty());
    }

    // A left click on the picture or its label ends the About box's first period, never the box.
    void clickShortensTheFirstPeriod_data()
    {
        QTest::addColumn<bool>("onLabel");
        QTest::newRow("picture") << false;
        QTest::newRow("version label") << true;
    }
    void clickShortensTheFirstPeriod()
    {
        QFETCH(bool, onLabel);
        Form3 *splash = openAbout();
        QVERIFY(state().SplashAboutMode);
        if (onLabel)
            QTest::mouseClick(splash->Label1, Qt::LeftButton);
        else
            QTest::mouseClick(splash, Qt::LeftButton, {}, splash->rect().center());
        QVERIFY(!state().SplashAboutMode);
        QCOMPARE(Form3::loaded(), splash);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
    }

    // Opened again while open: one more period, no sound; once closed: a fresh window that
    // thunders.
    void aboutSplashStaysTwoPeriods()
    {
        const QString thunder = ts->appDir() + QStringLiteral("/thunder.wav");
        Form3 *splash = openAbout();
        splash->Timer1_Timer();
        QCOMPARE(openAbout(), splash);
        splash->Timer1_Timer();
        QCOMPARE(Form3::loaded(), splash);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded() && mainWindow->isVisible());
        QCOMPARE(ts->sound.played, QStringList{thunder});
        QVERIFY(openAbout() != splash);
        QCOMPARE(ts->sound.played, QStringList({thunder, thunder}));
    }
};

QTEST_MAIN(SplashWindowTest)
#include "test_splash_window.moc"
