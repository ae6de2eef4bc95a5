// The list bar, the page menu and the engine's page requests bring the right page into view,
// with its title, mark and sound; the pages show the job and write what the user changes into it.
#include "window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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
        QCOMPARE(ts->sound.played, QStringList{ts->appDir() + QStringLiteral("/type.wav")});
        // The page in view: nothing but the title.
        window->setTitleText(QStringLiteral("elsewhere"));
        clickItem(item);
        QCOMPARE(window->titleText(), QLatin1Char(' ') + item);
        QCOMPARE(ts->sound.played.size(), 1);
    }

    // The page menu and the engine show the page even when it is in view, without a sound.
    void pageMenuAndEngineShowThePage()
    {
        for (Page page : allPages) {
            const QString name = page == Page::Kesto ? QStringLiteral("Kesto!") : pageName(page);
            QAction *item = window->pageMenu()->findChild<QAction *>(pageName(page).toLower());
            for (int round = 0; round < 2; ++round) {
                window->setTitleText(QStringLiteral("elsewhere"));
                if (page <= Page::Zip && round == 0)
                    item->trigger();
                else
                    window->showPage(page);
                QCOMPARE(visiblePages(), QList<Page>{page});
                QCOMPARE(window->titleText(), QLatin1Char(' ') + name);
                QCOMPARE(window->listBar()->currentItem(), name); // the mark follows
            }
        }
        QVERIFY(ts->sound.played.isEmpty());
    }

    void helpItemAndGroups()
    {
        const QString whoosh = ts->appDir() + QStringLiteral("/whoosh.wav");
        window->showPage(Page::Zip);
        showHelpGroup();
        showHelpGroup();
        QCOMPARE(ts->sound.played, QStringList{whoosh});
        // Help opens the help file and keeps the page.
        clickItem(QStringLiteral("Help"));
        QCOMPARE(visiblePages(), QList<Page>{Page::Zip});
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine,
                 QStringLiteral("winhelp.exe ") + ts->appDir() + QStringLiteral("/kesto32.hlp"));
        // The About banner shows only after the About item.
        QWidget *banner = child(QStringLiteral("PVMarquee1"));
        clickItem(QStringLiteral("About"));
        QVERIFY(!banner->isHidden());
        clickItem(QStringLiteral("Help"));
        QVERIFY(banner->isHidden());
        clickItem(QStringLiteral("About"));
        QVERIFY(!banner->isHidden());
        QTest::mouseClick(window->listBar()->groupButton(0), Qt::LeftButton);
        QCOMPARE(ts->sound.played.count(whoosh), 2);
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
        tick(child<QRadioButton>("Option3"));
        QVERIFY(job.DizAutoNumber && child<QPushButton>("Command3")->isEnabled());
        QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("34"));
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("3"));
        QCOMPARE(job.DizColumn + job.DizLine, QStringLiteral("343"));
        tick(child<QRadioButton>("Option1"));
        QVERIFY(!job.DizAutoNumber && job.DizColumn.isEmpty() && job.DizLine.isEmpty());
        // Greyed, the fields take no typing.
        QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("5"));
        QVERIFY(job.DizColumn.isEmpty());
        QVERIFY(!child<QPushButton>("Command3")->isEnabled());

        window->nfo_Click();
        tick(child<QRadioButton>("Option4"));
        QVERIFY(job.ExtraIsDirectory && !job.ExtraIsFile);
        tick(child<QRadioButton>("Option2"));
        QVERIFY(job.ExtraIsFile && !job.ExtraIsDirectory);
        tick(child<QCheckBox>("Check1"));
        QCOMPARE(job.NfoFirstOnly, Checked);

        window->zip_Click();
        QTest::keyClicks(child<QLineEdit>("Text3"), QStringLiteral("tool"));
        QCOMPARE(job.ZipName, QStringLiteral("tool"));
        child<QScrollBar>("VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(job.VolumeSizeSetting, qint16(4));
        tick(child<QCheckBox>("SSCheck1"));
        QCOMPARE(job.RarSolid, Checked);
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
        QCOMPARE(child<QScrollBar>("VScroll1")->value(), 5);
        QVERIFY(child<QCheckBox>("SSCheck2")->isChecked());
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
