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

private:
    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> mainWindow;

    Session &session() { return ts->session; }
    QString thunder() const { return ts->appDir() + QStringLiteral("/thunder.wav"); }

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

    void startupSplashLoadsMainWindowOnFirstTickOnly()
    {
        int loads = 0;
        auto *splash = new Form3(session(), [&] { ++loads; });
        QPointer<Form3> guard(splash);
        QCOMPARE(Form3::loaded(), splash);
        QVERIFY(splash->isVisible());
        QVERIFY(splash->Timer1->isActive());
        QCOMPARE(splash->Timer1->interval(), 2000);
        QCOMPARE(splash->Timer1->timerType(), Qt::PreciseTimer); // never sooner

        // Clicks at start-up neither hurry nor close the splash.
        splash->Form_Click();
        splash->Label1_Click();
        QCOMPARE(loads, 0);
        QCOMPARE(Form3::loaded(), splash);

        splash->Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(!Form3::loaded());
        QVERIFY(!splash->isVisible());
        QVERIFY(!splash->Timer1->isActive());

        // A step that still arrives before the splash is gone loads nothing twice.
        if (guard)
            guard->Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(ts->sound.played.isEmpty());
        QCOMPARE(ts->window.repaints, 0);
    }

    void mainWindowStartupMayCloseTheSplash_data()
    {
        QTest::addColumn<bool>("deleteAtOnce");
        QTest::newRow("close") << false;
        QTest::newRow("delete") << true;
    }

    void mainWindowStartupMayCloseTheSplash()
    {
        QFETCH(bool, deleteAtOnce);
        int loads = 0;
        auto *splash = new Form3(session(), [&] {
            ++loads;
            if (deleteAtOnce)
                delete Form3::loaded();
            else
                CloseSplash();
        });
        splash->Timer1_Timer();
        QCOMPARE(loads, 1);
        QVERIFY(!Form3::loaded());
    }

    void aboutSplashStaysTwoPeriods()
    {
        OpenAboutSplash(session(), mainWindow.get());
        Form3 *splash = Form3::loaded();
        QVERIFY(splash);
        QVERIFY(session().state.SplashAboutMode);
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->windowModality(), Qt::NonModal);
        QCOMPARE(ts->sound.played, QStringList{thunder()});
        QCOMPARE(ts->window.repaints, 1);
        QCOMPARE(splash->Timer1->interval(), 2000);
        QVERIFY(splash->Timer1->isActive());

        splash->Timer1_Timer();
        QVERIFY(!session().state.SplashAboutMode);
        QCOMPARE(Form3::loaded(), splash);
        QVERIFY(splash->isVisible());

        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
        QVERIFY(!splash->isVisible());
        QVERIFY(mainWindow->isVisible());
        QCOMPARE(ts->sound.played.size(), 1);
    }

    void clickInFirstPeriodClosesAtNextStep_data()
    {
        QTest::addColumn<bool>("onLabel");
        QTest::newRow("picture") << false;
        QTest::newRow("version label") << true;
    }

    void clickInFirstPeriodClosesAtNextStep()
    {
        QFETCH(bool, onLabel);
        OpenAboutSplash(session(), mainWindow.get());
        Form3 *splash = Form3::loaded();
        QVERIFY(splash);

        // A real left click, delivered the way the window system would.
        if (onLabel)
            QTest::mouseClick(splash->Label1, Qt::LeftButton);
        else
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(143, 60));
        QVERIFY(!session().state.SplashAboutMode);
        QCOMPARE(Form3::loaded(), splash); // clicks never close it

        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
    }

    void clickInSecondPeriodChangesNothing()
    {
        OpenAboutSplash(session(), mainWindow.get());
        Form3 *splash = Form3::loaded();
        splash->Timer1_Timer();
        splash->Form_Click();
        QVERIFY(!session().state.SplashAboutMode);
        QCOMPARE(Form3::loaded(), splash);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
    }

    void secondOpenWhileOpenAddsOnePeriodWithoutSound()
    {
        OpenAboutSplash(session(), mainWindow.get());
        Form3 *splash = Form3::loaded();
        splash->Timer1_Timer(); // first period over

        OpenAboutSplash(session(), mainWindow.get());
        QCOMPARE(Form3::loaded(), splash);
        QVERIFY(session().state.SplashAboutMode);
        QCOMPARE(ts->sound.played.size(), 1);
        QCOMPARE(ts->window.repaints, 1);

        splash->Timer1_Timer();
        QCOMPARE(Form3::loaded(), splash);
        splash->Timer1_Timer();
        QVERIFY(!Form3::loaded());
    }

    void everyNewAboutSplashThunders()
    {
        OpenAboutSplash(session(), mainWindow.get());
        Form3 *first = Form3::loaded();
        first->Timer1_Timer();
        first->Timer1_Timer();
        QVERIFY(!Form3::loaded());

        // Opened again before the closed one is even deleted: a fresh load.
        OpenAboutSplash(session(), mainWindow.get());
        QVERIFY(Form3::loaded());
        QVERIFY(Form3::loaded() != first);
        QCOMPARE(ts->sound.played, QStringList({thunder(), thunder()}));
    }

    void versionTextIsTheLabelCaption()
    {
        session().state.VersionText = QStringLiteral("stale");
        auto *splash = new Form3(session(), [] {});
        QCOMPARE(session().state.VersionText, splash->Label1->text());
        QCOMPARE(session().state.VersionText, QStringLiteral("v2.20"));
    }

    void labelSitsAtItsDesignedPlace()
    {
        auto *splash = new Form3(session(), [] {});
        QCOMPARE(splash->Label1->geometry(), QRect(118, 199, 51, 16));
        QCOMPARE(splash->Label1->palette().color(QPalette::WindowText), QColor(255, 255, 128));
        QCOMPARE(splash->Label1->font().pointSizeF(), 9.75);
    }

    void windowTakesThePictureOutline()
    {
        auto *splash = new Form3(session(), [] {});
        QCOMPARE(splash->size(), QSize(287, 323));
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QRegion outline = splash->mask();
        QVERIFY(!outline.isEmpty());
        QVERIFY(outline != QRegion(splash->rect()));
        QVERIFY(outline.contains(QPoint(143, 160)));
        QVERIFY(outline.contains(splash->Label1->geometry().center()));
        QVERIFY(!outline.contains(QPoint(0, 0)));
        QVERIFY(!outline.contains(QPoint(0, 322)));
        QVERIFY(!outline.contains(QPoint(286, 322)));
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
