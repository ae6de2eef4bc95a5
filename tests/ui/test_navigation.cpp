// The list bar and the page menu bring the right page into view, with its title, mark and sound;
// the pages show the job and write what the user changes into it.
#include "window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace kesto;
using namespace kesto::test;

class NavigationTest : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void listBarItemBringsItsPage_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<Page>("page");
        QTest::addColumn<int>("keyboardSteps"); // 0: clicked; else arrow presses, then Enter
        for (Page page : allPages) {
            if (page != Page::Kesto)
                QTest::newRow(qPrintable(pageName(page))) << pageName(page) << page << 0;
        }
        QTest::newRow("Nfo by keyboard") << "Nfo" << Page::Nfo << 3;
        QTest::newRow("Source by keyboard") << "Source" << Page::Source << -1;
    }
    void listBarItemBringsItsPage()
    {
        QFETCH(QString, item);
        QFETCH(Page, page);
        QFETCH(int, keyboardSteps);
        if (page == Page::Source)
            window->skip_Click();
        if (page == Page::About)
            showHelpGroup();
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
        QCOMPARE(window->titleText(), QLatin1Char(' ') + item);
        QCOMPARE(ts->sound.played, QStringList{ts->appDir() + QStringLiteral("/type.wav")});
        // The page in view: nothing but the title.
        window->setTitleText(QStringLiteral("elsewhere"));
        clickItem(item);
        QCOMPARE(visiblePages(), QList<Page>{page});
        QCOMPARE(window->titleText(), QLatin1Char(' ') + item);
        QCOMPARE(ts->sound.played.size(), 1);
    }

    void kestoAndHelpItems()
    {
        // An empty job: the run starts, and its first check sends the user to the Source page.
        window->diz_Click();
        clickItem(QStringLiteral("Kesto!"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Source});
        window->showPage(Page::Kesto);
        QCOMPARE(window->titleText(), QStringLiteral(" Kesto!"));
        ts->sound.played.clear();
        clickItem(QStringLiteral("Kesto!"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Kesto});
        QVERIFY(ts->sound.played.isEmpty());
        // Help opens the help file and keeps the page.
        showHelpGroup();
        clickItem(QStringLiteral("Help"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Kesto});
        QCOMPARE(window->titleText(), QStringLiteral(" Help"));
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine,
                 QStringLiteral("winhelp.exe ") + ts->appDir() + QStringLiteral("/kesto32.hlp"));
        QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNoActivate);
    }

    void aboutBannerOnlyAfterTheAboutItem()
    {
        QWidget *banner = child(QStringLiteral("PVMarquee1"));
        showHelpGroup();
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
    }

    void pageMenuShowsThePageEvenWhenInView()
    {
        for (Page page : {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip}) {
            const QString name = pageName(page);
            QAction *item = window->pageMenu()->findChild<QAction *>(name.toLower());
            for (int round = 0; round < 2; ++round) {
                window->setTitleText(QStringLiteral("elsewhere"));
                item->trigger();
                QCOMPARE(visiblePages(), QList<Page>{page});
                QCOMPARE(window->titleText(), QLatin1Char(' ') + name);
                QCOMPARE(window->listBar()->currentItem(), name); // the mark follows
            }
        }
        QVERIFY(ts->sound.played.isEmpty());
    }

    void switchingGroupsWhooshes()
    {
        const QString whoosh = ts->appDir() + QStringLiteral("/whoosh.wav");
        showHelpGroup();
        showHelpGroup();
        QCOMPARE(ts->sound.played, QStringList{whoosh});
        QTest::mouseClick(window->listBar()->groupButton(0), Qt::LeftButton);
        QCOMPARE(ts->sound.played, (QStringList{whoosh, whoosh}));
        QCOMPARE(visiblePages(), QList<Page>{Page::Source});
    }

    void fieldAtFaultTakesTheFocus()
    {
        const std::tuple<Field, Page, const char *> fields[] = {
            {Field::DizColumn, Page::Diz, "Text2"},
            {Field::DizLine, Page::Diz, "Text6"},
            {Field::ZipName, Page::Zip, "Text3"}};
        for (const auto &[field, page, control] : fields) {
            window->showPage(page);
            window->focusField(field);
            QCOMPARE(window->focusWidget(), child(control));
        }
    }

    void pagesWriteUserChangesIntoTheJob()
    {
        const JobSettings &job = ts->session.job;
        window->diz_Click();
        QVERIFY(!child<QPushButton>("Command3")->isEnabled());
        tick(child<QRadioButton>("Option3"));
        QVERIFY(job.DizAutoNumber);
        QVERIFY(child<QPushButton>("Command3")->isEnabled());
        QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("34"));
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("3"));
        QCOMPARE(job.DizColumn + job.DizLine, QStringLiteral("343"));
        tick(child<QRadioButton>("Option1"));
        tick(child<QRadioButton>("Option1")); // the option already on stays on
        QVERIFY(!job.DizAutoNumber && job.DizColumn.isEmpty() && job.DizLine.isEmpty());
        QVERIFY(child<QLineEdit>("Text6")->text().isEmpty());
        QVERIFY(!child<QPushButton>("Command3")->isEnabled());
        QCOMPARE(child<QLineEdit>("Text6")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));

        window->nfo_Click();
        QVERIFY(!child<QPushButton>("Command9")->isEnabled());
        tick(child<QRadioButton>("Option4"));
        QVERIFY(job.ExtraIsDirectory && !job.ExtraIsFile);
        QVERIFY(child<QPushButton>("Command9")->isEnabled());
        tick(child<QRadioButton>("Option2"));
        QVERIFY(job.ExtraIsFile && !job.ExtraIsDirectory);
        tick(child<QCheckBox>("Check1"));
        QCOMPARE(job.NfoFirstOnly, Checked);
        tick(child<QCheckBox>("Check1"));
        QCOMPARE(job.NfoFirstOnly, Unchecked);

        window->zip_Click();
        QTest::keyClicks(child<QLineEdit>("Text3"), QStringLiteral("tool"));
        QCOMPARE(job.ZipName, QStringLiteral("tool"));
        child<QScrollBar>("VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(job.VolumeSizeSetting, qint16(4));
        tick(child<QCheckBox>("SSCheck1"));
        QCOMPARE(job.RarSolid, Checked);
        QCOMPARE(job.ZipExtraCompression, Unchecked);
    }

    // The displays of the paths are checked by the page-button tests.
    void jobChangedShowsTheJobWithoutWritingBack()
    {
        JobSettings &job = ts->session.job;
        job.SkipList = QStringLiteral("/data/src/old/*.*\r\n/data/src/a.txt\r\n");
        job.DizNoneSelected = false; // a script cleared numbering: neither option is on
        job.DizColumn = QStringLiteral("7");
        job.NfoFirstOnly = Greyed;
        job.ExtraIsDirectory = true;
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 5;
        job.ZipExtraCompression = Checked;
        const JobSettings before = job;
        window->jobChanged();

        QCOMPARE(job, before);
        QCOMPARE(child<QLabel>("SSPanel6")->text(), QStringLiteral("2.5 M"));
        QCOMPARE(child<QPlainTextEdit>("Text1")->toPlainText(),
                 QStringLiteral("/data/src/old/*.*\n/data/src/a.txt\n"));
        QVERIFY(!child<QRadioButton>("Option1")->isChecked());
        QVERIFY(!child<QRadioButton>("Option3")->isChecked());
        QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("7"));
        QCOMPARE(child<QCheckBox>("Check1")->checkState(), Qt::PartiallyChecked);
        QVERIFY(child<QRadioButton>("Option4")->isChecked());
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
        QTRY_COMPARE(bar->value(), 0);
        window->setProgress(37);
        QCOMPARE(window->progress(), 37);
        QTRY_COMPARE(bar->value(), 37);
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
