// The page buttons, clicked on the real window: each reaches its operation, and its page then
// shows what that did to the job. Also the drive list for temporary files and the wait state
// while the source is measured.
#include "job/script.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "ui/pages/source_page.h"
#include "ui/report_dialog.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

using namespace kesto;
using namespace kesto::test;

class PageButtonsTest : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        QDir().mkpath(ts->path(QStringLiteral("src/old")));
        ts->writeFile(QStringLiteral("src/docs/readme.txt"), "x");
        ts->writeFile(QStringLiteral("src/file_id.diz"),
                      "line one\r\nnumber: xxxxxxx\r\nline three\r\n");
        ts->writeFile(QStringLiteral("src/about.nfo"), "nfo\r\n");
        ts->disks.driveList = {{QStringLiteral("c"), ts->systemDir()}};
        // The size tool's report.
        ts->runner.action = [this](const QString &) {
            ts->writeFile(QStringLiteral("sys/size.txt"),
                          "  Total of all files found\r\n   3 files, 20 bytes\r\n");
        };
        openWindow();
    }
    void cleanup()
    {
        closeWindow();
        QVERIFY(!QApplication::overrideCursor());
    }

    // Each row: what is set up (job fields, the option clicked), the button clicked on its page
    // with the dialog's answer; then the field's value, as the job holds it and its page shows
    // it. {root} and {app} stand for the test's directories.
    void buttonSetsItsField_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("field"); // index into fields below
        QTest::addColumn<QString>("value");
        const auto row = [](const char *name, const char *setup, Page page, const char *button,
                            const char *answer, int field, const char *value) {
            QTest::newRow(name) << setup << page << button << answer << field << value;
        };
        row("source, skip list emptied", "skip", Page::Source, "Command2", "{root}/src", 0,
            "{root}/src");
        row("skip sub-dir", "source", Page::Skip, "Command1", "{root}/src/old", 1,
            "{root}/src/old/*.*\r\n");
        row("skip file", "source,Option5", Page::Skip, "Command1", "{root}/src/docs/readme.txt", 1,
            "{root}/src/docs/readme.txt\r\n");
        row("skip without a source", "", Page::Skip, "Command1", "", 1, "");
        row("skip list cleared", "source,skip", Page::Skip, "Command14", "", 1, "");
        row("diz created", "", Page::Diz, "Command4", "", 2, "{app}/temp/file_id.diz");
        row("diz edited", "diz", Page::Diz, "Command5", "", 2, "{root}/src/file_id.diz");
        row("diz browsed", "source", Page::Diz, "Command6", "{root}/src/file_id.diz", 2,
            "{root}/src/file_id.diz");
        row("nfo created", "", Page::Nfo, "Command7", "", 3, "{app}/temp/About.nfo");
        row("nfo browsed", "", Page::Nfo, "Command8", "{root}/src/about.nfo", 3,
            "{root}/src/about.nfo");
        row("extra file", "Option2", Page::Nfo, "Command9", "{root}/src/docs/readme.txt", 4,
            "{root}/src/docs/readme.txt");
        row("extra directory", "Option4", Page::Nfo, "Command9", "{root}/src/docs", 4,
            "{root}/src/docs");
        row("zip directory", "", Page::Zip, "Command10", "{root}", 5, "{root}");
    }
    void buttonSetsItsField()
    {
        QFETCH(QString, setup);
        QFETCH(Page, page);
        QFETCH(QString, button);
        QFETCH(QString, answer);
        QFETCH(int, field);
        QFETCH(QString, value);
        JobSettings &job = ts->session.job;
        QString *const fields[] = {&job.SourcePath, &job.SkipList,  &job.DizPath,
                                   &job.NfoPath,    &job.ExtraPath, &job.ZipDir};
        const char *const displays[] = {"SSPanel8", "Text1",    "SSPanel2",
                                        "SSPanel3", "SSPanel4", "SSPanel5"};
        const QStringList steps = setup.split(QLatin1Char(','), Qt::SkipEmptyParts);
        const char *const given[] = {"source", "skip", "diz"};
        const char *const givenValues[] = {"{root}/src", "{root}/src/old/*.*\r\n",
                                           "{root}/src/file_id.diz"};
        for (int i = 0; i < 3; ++i) {
            if (steps.contains(QLatin1String(given[i])))
                *fields[i] = expand(QLatin1String(givenValues[i]));
        }
        window->jobChanged();
        window->showPage(page);
        for (const QString &step : steps) {
            if (step.startsWith(QLatin1String("Option")))
                tick(child<QRadioButton>(step));
        }
        if (!answer.isEmpty())
            ts->dialogs.answers << expand(answer);
        QStringList before;
        for (const QString *value : fields)
            before << *value;

        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);

        for (int i = 0; i < 6; ++i) {
            const QString shown = i == 1 ? child<QPlainTextEdit>(displays[i])->toPlainText()
                                         : child<QLabel>(displays[i])->text();
            QCOMPARE(shown, QString(*fields[i]).replace(QLatin1String("\r\n"), "\n"));
            if (i == field)
                QCOMPARE(*fields[i], expand(value));
            else // a new source empties the skips
                QCOMPARE(*fields[i], button == "Command2" && i == 1 ? QString() : before[i]);
        }
        // A skip entry without a source sends the user to the Source page.
        const bool toSource = button == QLatin1String("Command1") && job.SourcePath.isEmpty();
        QCOMPARE(visiblePages(), QList<Page>{toSource ? Page::Source : page});
    }

    // A run, or a failure on the way to one, as the window ends it: each failure keeps its text
    // and says beneath it why; a completed run stands at 100 % with Abort off and names where
    // its archives went.
    void windowSaysHowItEnded_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("text");   // the message; empty: none
        QTest::addColumn<QString>("reason"); // part of the text beneath it; {root} expands
        QTest::newRow("completed") << ""
                                   << ""
                                   << "";
        QTest::newRow("7-Zip missing") << "no 7-Zip"
                                       << "7-Zip not found"
                                       << "Install the package 7zip";
        QTest::newRow("script cut short") << "bad script"
                                          << "Error in Kesto script"
                                          << "{root}/cut.kst, the script ends after line 2";
        QTest::newRow("description unreadable") << "no diz"
                                                << "Can't read the description file"
                                                << "{root}/gone.diz";
    }
    void windowSaysHowItEnded()
    {
        QFETCH(QString, cause);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        JobSettings &job = ts->session.job;
        job.SourcePath = ts->path(QStringLiteral("src"));
        job.DizPath = ts->path(QStringLiteral("src/file_id.diz"));
        job.NfoPath = ts->path(QStringLiteral("src/about.nfo"));
        job.ZipDir = ts->path(QStringLiteral("out"));
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 0; // one archive, tool.zip
        QVERIFY(QDir().mkpath(job.ZipDir));
        // The archiver leaves one volume; the real zip component wraps it.
        ts->runner.action = [this](const QString &) {
            ts->writeFile(
                QStringLiteral("%1/tool.rar")
                    .arg(QDir(ts->root.path()).relativeFilePath(ts->session.state.WorkDir)),
                "volume");
        };
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        if (cause == QLatin1String("no 7-Zip")) {
            qputenv("PATH", QFile::encodeName(ts->path(QStringLiteral("empty-bin"))));
        } else if (cause == QLatin1String("bad script")) {
            ts->dialogs.answers << ts->writeFile(QStringLiteral("cut.kst"),
                                                 "Kesto32 script\r\nSource: /a\r\n");
            window->open_Click();
        } else if (cause == QLatin1String("no diz")) {
            job.DizPath = ts->path(QStringLiteral("gone.diz"));
            job.DizAutoNumber = true;
            job.DizNoneSelected = false;
            job.DizColumn = QStringLiteral("7");
            job.DizLine = QStringLiteral("2");
            window->jobChanged();
            QTest::mouseClick(child<QPushButton>(QStringLiteral("Command3")), Qt::LeftButton);
        }
        if (!cause.startsWith(QLatin1String("bad")) && cause != QLatin1String("no diz"))
            window->kesto_Click();

        QCOMPARE(ts->messages.shown.size(), text.isEmpty() ? 0 : 1);
        if (!text.isEmpty()) {
            QCOMPARE(ts->messages.shown[0].text, text);
            const QString expected =
                QString(reason).replace(QStringLiteral("{root}"), ts->root.path());
            QVERIFY2(ts->messages.shown[0].reason.contains(expected),
                     qPrintable(ts->messages.shown[0].reason));
            return;
        }
        QVERIFY(QFileInfo::exists(job.ZipDir + QStringLiteral("/tool.zip")));
        QTRY_COMPARE(child<QProgressBar>(QStringLiteral("PVProgressBar1"))->value(), 100);
        QVERIFY(!child<QPushButton>(QStringLiteral("Command12"))->isEnabled());
        const QString named = child<QLabel>(QStringLiteral("outputLink"))->text();
        QVERIFY2(named.startsWith(QStringLiteral("1 archive in ")) && named.contains(job.ZipDir),
                 qPrintable(named));
    }

    // Plan and Verify series show the command line's reports on the same job and series.
    void planAndVerifyShowTheCommandLinesReports()
    {
        JobSettings &job = ts->session.job;
        job.SourcePath = ts->path(QStringLiteral("src"));
        job.DizPath = ts->path(QStringLiteral("src/file_id.diz"));
        job.NfoPath = ts->path(QStringLiteral("src/about.nfo"));
        job.ZipDir = ts->path(QStringLiteral("out"));
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 0;
        QVERIFY(QDir().mkpath(job.ZipDir));
        const QString script =
            ts->writeFile(QStringLiteral("job.kst"), ScriptText(job, QDateTime::currentDateTime()));
        ts->session.state.ScriptPath = script;
        StorageDiskInfo disks;
        ts->session.svc.disks = &disks;
        const auto commandLine = [](const QStringList &arguments) {
            QProcess program;
            program.start(QStringLiteral(KESTO_BIN_DIR "/kesto32"), arguments);
            program.waitForFinished(60000);
            return QString::fromLocal8Bit(program.readAllStandardOutput()).trimmed();
        };
        const auto shown = [this] {
            auto *dialog = qobject_cast<ui::ReportDialog *>(window->reportDialog());
            return dialog ? dialog->text() : QString();
        };

        // Free space is read twice and the file system is shared: those figures may move.
        static const QRegularExpression figures(QStringLiteral("^(space: [^0-9]*).*$"),
                                                QRegularExpression::MultilineOption);
        // The Kesto page's link, as File > Plan... does.
        emit child<QLabel>(QStringLiteral("outputLink"))
            ->linkActivated(QStringLiteral("kesto32-plan:"));
        QCOMPARE(shown().replace(figures, QStringLiteral("\\1")),
                 commandLine({QStringLiteral("--plan"), script})
                     .replace(figures, QStringLiteral("\\1")));

        // A series of one archive, made with the real 7-Zip.
        ts->runner.action = [this](const QString &) {
            QProcess sevenZip;
            sevenZip.start(QStringLiteral("7zz"),
                           {QStringLiteral("a"), QStringLiteral("-t7z"),
                            ts->session.state.WorkDir + QStringLiteral("/tool.rar"),
                            ts->session.job.SourcePath});
            sevenZip.waitForFinished(60000);
        };
        window->kesto_Click();
        const QString archive = job.ZipDir + QStringLiteral("/tool.zip");
        QVERIFY(QFileInfo::exists(archive));
        ts->dialogs.answers << archive;
        window->verify_Click();
        const QString verified = shown();
        QVERIFY2(verified.contains(QStringLiteral("complete and intact")), qPrintable(verified));
        QCOMPARE(verified,
                 commandLine({QStringLiteral("--verify"), archive, QStringLiteral("--against"),
                              job.SourcePath, QStringLiteral("--job"), script}));
        QVERIFY(!window->reportDialog()->findChild<QPushButton *>(QStringLiteral("repairButton")));

        // With a recovery set, damage it can undo is offered for repair, and repaired.
        const QByteArray original = readAll(archive);
        QProcess par2;
        par2.setWorkingDirectory(job.ZipDir);
        par2.start(QStringLiteral("par2"),
                   {QStringLiteral("create"), QStringLiteral("-q"), QStringLiteral("-q"),
                    QStringLiteral("-r20"), QStringLiteral("--"), QStringLiteral("tool.par2"),
                    QStringLiteral("tool.zip")});
        QVERIFY(par2.waitForFinished(60000) && par2.exitCode() == 0);
        // Cut short: wherever the archive's bytes fall, its directory is gone.
        ts->writeFile(QStringLiteral("out/tool.zip"), original.left(original.size() - 100));
        ts->dialogs.answers << archive;
        window->verify_Click();
        QVERIFY2(shown().contains(QStringLiteral("(repairable)")), qPrintable(shown()));
        auto *repair =
            window->reportDialog()->findChild<QPushButton *>(QStringLiteral("repairButton"));
        QVERIFY(repair);
        repair->click();
        QVERIFY2(shown().contains(QStringLiteral("complete and intact")), qPrintable(shown()));
        QCOMPARE(readAll(archive), original);
    }

    void testButtonShowsTheSample()
    {
        ts->session.job.DizPath = ts->path(QStringLiteral("src/file_id.diz"));
        ts->session.job.DizAutoNumber = true;
        ts->session.job.DizColumn = QStringLiteral("9");
        ts->session.job.DizLine = QStringLiteral("2");
        window->jobChanged();
        window->showPage(Page::Diz);
        QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
        const QString sample = paths::systemFile(QStringLiteral("~kesto.diz"));
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->launcher.started[0].commandLine, QStringLiteral("notepad.exe ") + sample);
        QCOMPARE(readAll(sample), QByteArray("line one\r\nnumber: 001/999\r\nline three\r\n"));
    }

    void measuringLocksTheSourcePage()
    {
        window->MainWindowLoad();
        auto *browse = child<QPushButton>("Command2");
        bool locked = false;
        const auto writeReport = ts->runner.action;
        ts->runner.action = [&](const QString &commandLine) {
            writeReport(commandLine);
            locked = !browse->isEnabled() && !window->listBar()->isEnabled() &&
                     QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        ts->dialogs.answers << ts->path(QStringLiteral("src"));
        QTest::mouseClick(browse, Qt::LeftButton);
        QVERIFY(locked);
        QCOMPARE(child<QLabel>("Label9")->text(), QStringLiteral("3 files, 20 bytes"));
        QVERIFY(browse->isEnabled() && window->listBar()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    // A drive short of two million bytes is refused and the list goes back to c; an accepted one
    // shows its free space.
    void driveListForTemporaryFiles_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("drive"); // selected afterwards
        QTest::addColumn<QString>("text");
        QTest::newRow("one byte short") << qint64(1'999'999) << QString("c") << " 5000 Meg.";
        QTest::newRow("just enough") << qint64(2'000'000) << QString("d") << " 2 Meg.";
    }
    void driveListForTemporaryFiles()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(QString, drive);
        QFETCH(QString, text);
        const QString root = ts->path(QStringLiteral("mnt/data"));
        QDir().mkpath(root);
        ts->disks.driveList << Drive{QStringLiteral("d"), root};
        ts->disks.freeByPrefix.insert(root, freeBytes);
        openWindow(true);
        auto *drives = child<QComboBox>("Drive1");
        QCOMPARE(drives->itemText(1), QStringLiteral("d: [data]"));
        QCOMPARE(window->sourcePage()->selectedDrive(), QStringLiteral("c"));
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down);
        QCOMPARE(ts->session.state.TempDrive, drive);
        QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("Free space on - \n") + text);
    }

private:
    QString expand(QString text) const
    {
        text.replace(QLatin1String("{root}"), ts->root.path());
        text.replace(QLatin1String("{app}"), ts->appDir());
        return text;
    }
};

QTEST_MAIN(PageButtonsTest)
#include "test_page_buttons.moc"
