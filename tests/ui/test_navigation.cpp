// The list bar, the page menu and the run's refusals bring the right page into view, with its
// title, focus and sound; the pages write what the user changes into the job.
#include "support/fakes.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;
using kesto::ui::MainWindow;
using kesto::ui::twipsPoint;

Q_DECLARE_METATYPE(kesto::Page)

class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ts = std::make_unique<TestSession>();
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        window.reset();
        ts.reset();
    }

    void listBarItemBringsItsPage_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<int>("keyboardSteps"); // 0: clicked; else arrow presses, then Enter
        QTest::newRow("Skip") << "Skip" << Page::Skip << twipsPoint(1190, 580) << 0;
        QTest::newRow("Diz") << "Diz" << Page::Diz << twipsPoint(1190, 580) << 0;
        QTest::newRow("Nfo") << "Nfo" << Page::Nfo << twipsPoint(1190, 580) << 0;
        QTest::newRow("Zip") << "Zip" << Page::Zip << twipsPoint(1190, 680) << 0;
        QTest::newRow("About") << "About" << Page::About << twipsPoint(1190, 680) << 0;
        QTest::newRow("Source") << "Source" << Page::Source << twipsPoint(1185, 660) << 0;
        QTest::newRow("Nfo by keyboard") << "Nfo" << Page::Nfo << twipsPoint(1190, 580) << 3;
        QTest::newRow("Source by keyboard")
            << "Source" << Page::Source << twipsPoint(1185, 660) << -1;
    }
    void listBarItemBringsItsPage()
    {
        QFETCH(QString, item);
        QFETCH(Page, page);
        QFETCH(QPoint, place);
        QFETCH(int, keyboardSteps);
        if (page == Page::Source)
            window->skip_Click();
        if (page == Page::About)
            QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
        ts->sound.played.clear();

        if (keyboardSteps == 0) {
            clickItem(item);
        } else {
            // The cursor starts on the page in view.
            window->listBar()->setFocus();
            for (int i = 0; i < qAbs(keyboardSteps); ++i)
                QTest::keyClick(window->listBar(), keyboardSteps > 0 ? Qt::Key_Down : Qt::Key_Up);
            QTest::keyClick(window->listBar(), Qt::Key_Return);
        }
        QCOMPARE(visiblePages(), QList<Page>{page});
        QCOMPARE(window->listBar()->currentItem(), item);
        QCOMPARE(window->pageWidget(page)->pos(), place);
        QCOMPARE(window->titleText(), QLatin1Char(' ') + item);
        QCOMPARE(ts->sound.played, QStringList{ts->appDir() + QStringLiteral("/type.wav")});

        // The page in view: nothing but the title.
        window->setTitleText(QStringLiteral("elsewhere"));
        clickItem(item);
        QCOMPARE(visiblePages(), QList<Page>{page});
        QCOMPARE(window->titleText(), QLatin1Char(' ') + item);
        QCOMPARE(ts->sound.played.size(), 1);
    }

    void kestoItemStartsTheRunUnlessItsPageIsInView()
    {
        // An empty job: the run starts, and its first check sends the user to the Source page.
        window->diz_Click();
        clickItem(QStringLiteral("Kesto!"));
        QCOMPARE(ts->sound.played, QStringList{ts->appDir() + QStringLiteral("/type.wav")});
        QCOMPARE(visiblePages(), QList<Page>{Page::Source});

        window->showPage(Page::Kesto);
        QCOMPARE(window->titleText(), QStringLiteral(" Kesto!"));
        window->setTitleText(QStringLiteral("elsewhere"));
        ts->sound.played.clear();
        clickItem(QStringLiteral("Kesto!"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Kesto});
        QCOMPARE(window->titleText(), QStringLiteral(" Kesto!"));
        QVERIFY(ts->sound.played.isEmpty());
    }

    void helpItemOpensHelpAndKeepsThePage()
    {
        window->diz_Click();
        QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
        ts->sound.played.clear();
        clickItem(QStringLiteral("Help"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Diz});
        QCOMPARE(window->titleText(), QStringLiteral(" Help"));
        QVERIFY(ts->sound.played.isEmpty());
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine,
                 QStringLiteral("winhelp.exe ") + ts->appDir() + QStringLiteral("/kesto32.hlp"));
        QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNoActivate);
    }

    void aboutBannerOnlyAfterTheAboutItem()
    {
        QWidget *banner = window->findChild<QWidget *>(QStringLiteral("PVMarquee1"));
        QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
        ts->sound.played.clear();
        clickItem(QStringLiteral("About"));
        QVERIFY(!banner->isHidden());
        // Its frame shows on all four sides, and its line comes in from the right edge.
        const QImage shown = banner->grab().toImage();
        const QRgb fill = banner->palette().color(QPalette::Base).rgb();
        const int w = shown.width(), h = shown.height();
        for (const QPoint edge :
             {QPoint(w / 2, 0), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 1, h / 2)})
            QVERIFY(shown.pixel(edge) != fill);
        for (int x = 3; x < w * 3 / 4; ++x) {
            for (int y = 3; y < h - 3; ++y)
                QVERIFY(shown.pixel(x, y) == fill);
        }
        clickItem(QStringLiteral("Help"));
        QCOMPARE(visiblePages(), QList<Page>{Page::About});
        QVERIFY(banner->isHidden());
        clickItem(QStringLiteral("About"));
        QVERIFY(!banner->isHidden());
        QCOMPARE(window->titleText(), QStringLiteral(" About"));
        QCOMPARE(ts->sound.played.size(), 1);
    }

    void pageMenuShowsThePageEvenWhenInView_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("title");
        QTest::newRow("source") << "source" << Page::Source << " Source";
        QTest::newRow("skip") << "skip" << Page::Skip << " Skip";
        QTest::newRow("diz") << "diz" << Page::Diz << " Diz";
        QTest::newRow("nfo") << "nfo" << Page::Nfo << " Nfo";
        QTest::newRow("zip") << "zip" << Page::Zip << " Zip";
    }
    void pageMenuShowsThePageEvenWhenInView()
    {
        QFETCH(QString, action);
        QFETCH(Page, page);
        QFETCH(QString, title);
        QAction *item = window->pageMenu()->findChild<QAction *>(action);
        QVERIFY(item);
        for (int round = 0; round < 2; ++round) {
            window->setTitleText(QStringLiteral("elsewhere"));
            item->trigger();
            QCOMPARE(visiblePages(), QList<Page>{page});
            QCOMPARE(window->titleText(), title);
        }
        QVERIFY(ts->sound.played.isEmpty());
        QCOMPARE(window->listBar()->currentGroup(), 0);
    }

    void switchingGroupsWhooshes()
    {
        const QString whoosh = ts->appDir() + QStringLiteral("/whoosh.wav");
        QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
        QCOMPARE(ts->sound.played, QStringList{whoosh});
        QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
        QCOMPARE(ts->sound.played.size(), 1);
        QTest::mouseClick(window->listBar()->groupButton(0), Qt::LeftButton);
        QCOMPARE(ts->sound.played, (QStringList{whoosh, whoosh}));
        QCOMPARE(visiblePages(), QList<Page>{Page::Source});
    }

    void refusedRunShowsThePageAtFault_data()
    {
        QTest::addColumn<int>("filled"); // how many of the checked fields are filled in
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QString>("zipName");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        QTest::newRow("no source") << 0 << false << "" << Page::Source << ""
                                   << "";
        QTest::newRow("no diz") << 1 << false << "" << Page::Diz << ""
                                << "";
        QTest::newRow("no column") << 2 << true << "" << Page::Diz << "Text2"
                                   << "";
        QTest::newRow("no line") << 3 << true << "" << Page::Diz << "Text6"
                                 << "";
        QTest::newRow("no nfo") << 4 << true << "" << Page::Nfo << ""
                                << "";
        QTest::newRow("no zip dir") << 5 << false << "" << Page::Zip << ""
                                    << "";
        QTest::newRow("no zip name") << 6 << false << "" << Page::Zip << "Text3"
                                     << "";
        QTest::newRow("blank in name") << 6 << false << "my tool" << Page::Zip << "Text3"
                                       << "Spaces aren't allowed in filename";
    }
    void refusedRunShowsThePageAtFault()
    {
        QFETCH(int, filled);
        QFETCH(bool, numbered);
        QFETCH(QString, zipName);
        QFETCH(Page, page);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        JobSettings &job = ts->session.job;
        job.DizAutoNumber = numbered;
        QString *fields[] = {&job.SourcePath, &job.DizPath, &job.DizColumn,
                             &job.DizLine,    &job.NfoPath, &job.ZipDir};
        for (int i = 0; i < filled; ++i)
            *fields[i] = i == 2 || i == 3 ? QStringLiteral("3") : ts->path(QStringLiteral("f"));
        job.ZipName = zipName;
        window->jobChanged();

        window->pageMenu()->findChild<QAction *>(QStringLiteral("kesto"))->trigger();
        QCOMPARE(visiblePages(), QList<Page>{page});
        if (!focus.isEmpty())
            QCOMPARE(window->focusWidget(), window->findChild<QWidget *>(focus));
        if (message.isEmpty()) {
            QVERIFY(ts->messages.shown.isEmpty());
        } else {
            QCOMPARE(ts->messages.shown.size(), 1);
            QCOMPARE(ts->messages.shown[0].text, message);
        }
    }

    void pagesWriteUserChangesIntoTheJob()
    {
        const JobSettings &job = ts->session.job;
        window->diz_Click();
        QCOMPARE(child<QPushButton>("Command3")->isEnabled(), false);
        tick(child<QRadioButton>("Option3"));
        QVERIFY(job.DizAutoNumber);
        QVERIFY(child<QPushButton>("Command3")->isEnabled());
        QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("34"));
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("3"));
        QCOMPARE(job.DizColumn, QStringLiteral("34"));
        QCOMPARE(job.DizLine, QStringLiteral("3"));
        tick(child<QRadioButton>("Option1"));
        QVERIFY(!job.DizAutoNumber);
        QVERIFY(job.DizColumn.isEmpty() && job.DizLine.isEmpty());
        QVERIFY(child<QLineEdit>("Text2")->text().isEmpty());
        QVERIFY(child<QRadioButton>("Option1")->isChecked());
        QVERIFY(!child<QRadioButton>("Option3")->isChecked());
        QCOMPARE(child<QLineEdit>("Text2")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));
        // Clicking the option already on keeps it on.
        tick(child<QRadioButton>("Option1"));
        QVERIFY(child<QRadioButton>("Option1")->isChecked());

        window->nfo_Click();
        QVERIFY(!child<QPushButton>("Command9")->isEnabled());
        tick(child<QRadioButton>("Option4"));
        QVERIFY(job.ExtraIsDirectory && !job.ExtraIsFile);
        QVERIFY(child<QPushButton>("Command9")->isEnabled());
        tick(child<QRadioButton>("Option2"));
        QVERIFY(job.ExtraIsFile && !job.ExtraIsDirectory);
        QVERIFY(!child<QRadioButton>("Option4")->isChecked());
        tick(child<QCheckBox>("Check1"));
        QCOMPARE(job.NfoFirstOnly, Checked);

        window->zip_Click();
        QTest::keyClicks(child<QLineEdit>("Text3"), QStringLiteral("tool"));
        QCOMPARE(job.ZipName, QStringLiteral("tool"));
        child<QScrollBar>("VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(job.VolumeSizeSetting, qint16(4));
        tick(child<QCheckBox>("SSCheck1"));
        QCOMPARE(job.RarSolid, Checked);
        QCOMPARE(job.ZipExtraCompression, Unchecked);
    }

    void jobChangedShowsTheJobWithoutWritingBack()
    {
        JobSettings &job = ts->session.job;
        job.SourcePath = QStringLiteral("/data/src");
        job.SkipList = QStringLiteral("/data/src/old/*.*\r\n/data/src/a.txt\r\n");
        job.DizPath = QStringLiteral("/data/file_id.diz");
        job.DizAutoNumber = false;
        job.DizNoneSelected = false; // a script cleared numbering: neither option is on
        job.DizColumn = QStringLiteral("7");
        job.NfoPath = QStringLiteral("/data/a.nfo");
        job.NfoFirstOnly = Greyed;
        job.ExtraIsDirectory = true;
        job.ExtraPath = QStringLiteral("/data/extra");
        job.ZipDir = QStringLiteral("/out");
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 5;
        job.ZipExtraCompression = Checked;
        const JobSettings before = job;
        window->jobChanged();

        QCOMPARE(job, before);
        QCOMPARE(child<QLabel>("SSPanel8")->text(), job.SourcePath);
        QCOMPARE(child<QPlainTextEdit>("Text1")->toPlainText(),
                 QStringLiteral("/data/src/old/*.*\n/data/src/a.txt\n"));
        QCOMPARE(child<QLabel>("SSPanel2")->text(), job.DizPath);
        QVERIFY(!child<QRadioButton>("Option1")->isChecked());
        QVERIFY(!child<QRadioButton>("Option3")->isChecked());
        QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("7"));
        QCOMPARE(child<QCheckBox>("Check1")->checkState(), Qt::PartiallyChecked);
        QVERIFY(child<QRadioButton>("Option4")->isChecked());
        QCOMPARE(child<QLabel>("SSPanel4")->text(), job.ExtraPath);
        QCOMPARE(child<QLabel>("SSPanel5")->text(), job.ZipDir);
        QCOMPARE(child<QLineEdit>("Text3")->text(), job.ZipName);
        QCOMPARE(child<QScrollBar>("VScroll1")->value(), 5);
        QVERIFY(child<QCheckBox>("SSCheck2")->isChecked());
        QVERIFY(!child<QCheckBox>("SSCheck1")->isChecked());
    }

    // A volume is stored in milliseconds, a hundred values: the bar shows them a frame at a time
    // and always comes to rest on the last one.
    void progressBarComesToRestOnTheLastValue()
    {
        auto *bar = child<QProgressBar>("PVProgressBar1");
        for (int percent = 1; percent <= 100; ++percent)
            window->setProgress(percent);
        window->setProgress(0);
        QCOMPARE(window->progress(), 0);
        QTRY_COMPARE(bar->value(), 0);
        window->setProgress(37);
        QCOMPARE(window->progress(), 37);
        QTRY_COMPARE(bar->value(), 37);
    }

private:
    template <class Widget> Widget *child(const char *name)
    {
        auto *widget = window->findChild<Widget *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // Options and check boxes react to clicks on their mark and caption only.
    static void tick(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void clickItem(const QString &item)
    {
        QAbstractButton *button = window->listBar()->itemButton(item);
        QVERIFY2(button && !button->isHidden(), qPrintable(item));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QList<Page> visiblePages() const
    {
        QList<Page> visible;
        for (Page page : {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip, Page::Kesto,
                          Page::About}) {
            if (!window->pageWidget(page)->isHidden())
                visible << page;
        }
        return visible;
    }

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
