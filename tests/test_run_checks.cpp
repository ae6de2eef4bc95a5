// The packaging run's checks before anything is written, and its planning.
#include "engine/packaging_run.h"
#include "engine/run_plan.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

class RunChecksTest : public QObject {
    Q_OBJECT

    // A job that passes every check; each case breaks one thing.
    static void fillValidJob(TestSession &t)
    {
        JobSettings &job = t.session.job;
        job.SourcePath = t.path(QStringLiteral("src"));
        QDir().mkpath(job.SourcePath);
        job.DizPath = t.writeFile(QStringLiteral("in/file_id.diz"), "line one\r\n");
        job.NfoPath = t.writeFile(QStringLiteral("in/about.nfo"), "nfo\r\n");
        job.ZipDir = t.path(QStringLiteral("out"));
        QDir().mkpath(job.ZipDir);
        job.ZipName = QStringLiteral("tool");
    }

private slots:
    void refusesInPageOrder_data()
    {
        QTest::addColumn<QString>("breakWhat");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");

        QTest::newRow("no source") << "source" << "Source" << "" << "";
        QTest::newRow("no diz") << "diz" << "Diz" << "" << "";
        QTest::newRow("no column") << "column" << "Diz" << "DizColumn" << "";
        QTest::newRow("no line") << "line" << "Diz" << "DizLine" << "";
        QTest::newRow("no nfo, all else set") << "nfo" << "Nfo" << "" << "";
        QTest::newRow("no zip dir") << "zipdir" << "Zip" << "" << "";
        QTest::newRow("no zip name") << "zipname" << "Zip" << "ZipName" << "";
        QTest::newRow("blank inside") << "my tool" << "Zip" << "ZipName"
                                      << "Spaces aren't allowed in filename";
        QTest::newRow("leading blank") << " tool" << "Zip" << "ZipName"
                                       << "Spaces aren't allowed in filename";
        QTest::newRow("trailing blank") << "tool " << "Zip" << "ZipName"
                                        << "Spaces aren't allowed in filename";
        // Source and nfo both missing: the earlier page wins.
        QTest::newRow("source and nfo") << "source+nfo" << "Source" << "" << "";
    }

    void refusesInPageOrder()
    {
        QFETCH(QString, breakWhat);
        QFETCH(QString, page);
        QFETCH(QString, focus);
        QFETCH(QString, message);

        for (const bool batch : {false, true}) {
            TestSession t;
            fillValidJob(t);
            JobSettings &job = t.session.job;
            job.DizAutoNumber = breakWhat == QLatin1String("column") || breakWhat == QLatin1String("line");
            if (job.DizAutoNumber) {
                job.DizColumn = breakWhat == QLatin1String("column") ? QString() : QStringLiteral("1");
                job.DizLine = breakWhat == QLatin1String("line") ? QString() : QStringLiteral("1");
            }
            if (breakWhat.contains(QLatin1String("source")))
                job.SourcePath.clear();
            if (breakWhat.contains(QLatin1String("nfo")))
                job.NfoPath.clear();
            if (breakWhat == QLatin1String("diz"))
                job.DizPath.clear();
            if (breakWhat == QLatin1String("zipdir"))
                job.ZipDir.clear();
            if (breakWhat == QLatin1String("zipname"))
                job.ZipName.clear();
            if (breakWhat.contains(QLatin1Char(' ')) || breakWhat.startsWith(QLatin1Char(' ')))
                job.ZipName = breakWhat;
            t.session.state.BatchRun = batch;

            kesto_Click(t.session);

            QVERIFY(t.window.page.has_value());
            QCOMPARE(pageName(*t.window.page), page);
            QCOMPARE(t.window.focus ? fieldName(*t.window.focus) : QString(), focus);
            QCOMPARE(t.runner.commandLines.size(), 0);
            QVERIFY(QDir(t.systemDir()).entryList({QStringLiteral("Kesto*")}).isEmpty());
            if (batch) {
                QVERIFY(t.messages.shown.isEmpty());
                QVERIFY(t.lifetime.ended);
                QCOMPARE(t.lifetime.status, int(ExitCheckFailed));
            } else {
                QVERIFY(!t.lifetime.ended);
                QCOMPARE(t.messages.shown.size(), message.isEmpty() ? 0 : 1);
                if (!message.isEmpty()) {
                    QCOMPARE(t.messages.shown[0].text, message);
                    QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
                    QCOMPARE(t.messages.shown[0].icon, Icon::Exclamation);
                }
                // The Kesto page came first, then the page at fault.
                QVERIFY(t.window.events.indexOf(QStringLiteral("page:Kesto")) >= 0);
            }
        }
    }

    void nameClashAsksBeforeOverwriting_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("asked");
        QTest::newRow("archive of the series") << "tool001.zip" << true;
        // Any file beginning with the name counts, archive or not.
        QTest::newRow("unrelated file") << "tools.txt" << true;
        QTest::newRow("other name") << "atool.zip" << false;
        QTest::newRow("directory of that name") << "toolbox/" << false;
    }

    void nameClashAsksBeforeOverwriting()
    {
        QFETCH(QString, existing);
        QFETCH(bool, asked);
        for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
            TestSession t;
            fillValidJob(t);
            if (existing.endsWith(QLatin1Char('/')))
                QDir().mkpath(t.session.job.ZipDir + QLatin1Char('/') + existing);
            else
                t.writeFile(QStringLiteral("out/") + existing, "x");
            t.messages.answers.push_back(answer);

            kesto_Click(t.session);

            QCOMPARE(t.messages.shown.size(), asked ? 1 : 0);
            if (asked) {
                QCOMPARE(t.messages.shown[0].text,
                         QStringLiteral("Duplicate zip name in zip directory\nOverwrite?"));
                QCOMPARE(t.messages.shown[0].buttons, Buttons::OkCancel);
                QCOMPARE(t.messages.shown[0].icon, Icon::Exclamation);
            }
            const bool ran = !asked || answer == Answer::Ok;
            QCOMPARE(t.runner.commandLines.size(), ran ? 1 : 0);
            if (!ran) {
                QCOMPARE(pageName(*t.window.page), QStringLiteral("Zip"));
                QCOMPARE(fieldName(*t.window.focus), QStringLiteral("ZipName"));
            }
        }
    }

    void batchRunNeverAsksAboutAClash()
    {
        TestSession t;
        fillValidJob(t);
        t.writeFile(QStringLiteral("out/tool001.zip"), "old");
        t.session.state.BatchRunDated = true;
        kesto_Click(t.session);
        QVERIFY(t.messages.shown.isEmpty());
        QCOMPARE(t.runner.commandLines.size(), 1);
    }

    void sizeSwitch_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unlimited") << 0 << "-v0000b";
        QTest::newRow("half million") << 1 << "-v500000b";
        QTest::newRow("one million") << 2 << "-v1000000b";
        QTest::newRow("floppy") << 3 << "-v1440000b";
        QTest::newRow("two million") << 4 << "-v2000000b";
        QTest::newRow("fifteen million is not a floppy") << 30 << "-v15000000b";
        QTest::newRow("largest") << 200 << "-v100000000b";
    }

    void sizeSwitch()
    {
        QFETCH(int, position);
        QFETCH(QString, expected);
        QCOMPARE(SizeSwitch(position), expected);
    }

    void names_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("number");
        QTest::newRow("unlimited has no number") << 0 << 1 << "";
        QTest::newRow("first") << 3 << 1 << "001";
        QTest::newRow("twelfth") << 5 << 12 << "012";
        QTest::newRow("999") << 200 << 999 << "999";
        QTest::newRow("widens after 999") << 1 << 1000 << "1000";
    }

    void names()
    {
        QFETCH(int, position);
        QFETCH(int, volume);
        QFETCH(QString, number);
        QCOMPARE(VolumeNumberText(position, volume), number);
        QCOMPARE(RarExtension(position), position == 0 ? QStringLiteral(".rar") : QStringLiteral(".001"));
    }

    void dateStamp_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("day without zero") << QDate(1998, 6, 4) << "06498";
        QTest::newRow("two-digit day") << QDate(1998, 6, 14) << "061498";
        QTest::newRow("new century") << QDate(2026, 12, 5) << "12526";
        QTest::newRow("year 2000") << QDate(2000, 1, 31) << "013100";
    }

    void dateStamp()
    {
        QFETCH(QDate, date);
        QFETCH(QString, stamp);
        QCOMPARE(DateStamp(date), stamp);
    }

    void outputBase_data()
    {
        QTest::addColumn<QString>("zipDir");
        QTest::addColumn<QString>("base");
        QTest::newRow("root") << "/" << "";
        QTest::newRow("directory") << "/srv/zips" << "/srv/zips";
        QTest::newRow("trailing separator") << "/srv/zips/" << "/srv/zips";
    }

    void outputBase()
    {
        QFETCH(QString, zipDir);
        QFETCH(QString, base);
        QCOMPARE(OutputBase(zipDir), base);
        QCOMPARE(OutputBase(zipDir) + QStringLiteral("/tool001"), base + QStringLiteral("/tool001"));
    }

    void workDirTakesFirstFreeName()
    {
        TestSession t;
        const QString root = t.path(QStringLiteral("drive"));
        QDir().mkpath(root);
        QDir().mkpath(root + QStringLiteral("/Kesto001"));
        t.writeFile(QStringLiteral("drive/Kesto002"), "a file takes the name too");
        QFile::link(root + QStringLiteral("/nowhere"), root + QStringLiteral("/Kesto003"));
        const QString made = MakeWorkDir(root);
        QCOMPARE(made, root + QStringLiteral("/Kesto004"));
        QVERIFY(QFileInfo(made).isDir());
        QCOMPARE(MakeWorkDir(root), root + QStringLiteral("/Kesto005"));
    }

    void workDirOnMissingDriveFails()
    {
        TestSession t;
        QCOMPARE(MakeWorkDir(t.path(QStringLiteral("no/such/drive"))), QString());
        QCOMPARE(MakeWorkDir(QString()), QString());
    }

    void plannedRunUsesTempDriveAndNames()
    {
        TestSession t;
        fillValidJob(t);
        const QString other = t.path(QStringLiteral("drive-d"));
        QDir().mkpath(other);
        t.disks.driveList = {{QStringLiteral("c"), t.systemDir()}, {QStringLiteral("d"), other}};
        t.session.state.TempDrive = QStringLiteral("d");
        t.session.job.VolumeSizeSetting = 0;
        QDir().mkpath(other + QStringLiteral("/Kesto001"));

        kesto_Click(t.session);

        QCOMPARE(t.session.state.WorkDir, other + QStringLiteral("/Kesto002"));
        QCOMPARE(t.runner.commandLines.size(), 1);
        QVERIFY(t.runner.commandLines[0].contains(other + QStringLiteral("/Kesto002/tool.rar")));
        QVERIFY(t.runner.commandLines[0].contains(QStringLiteral("-v0000b")));
    }

    void unknownTempDriveFailsTheRun()
    {
        TestSession t;
        fillValidJob(t);
        t.session.state.TempDrive = QStringLiteral("q");
        t.session.state.BatchRun = true;
        kesto_Click(t.session);
        QVERIFY(t.runner.commandLines.isEmpty());
        QCOMPARE(t.lifetime.status, int(ExitRunFailed));
    }
};

QTEST_GUILESS_MAIN(RunChecksTest)
#include "test_run_checks.moc"
