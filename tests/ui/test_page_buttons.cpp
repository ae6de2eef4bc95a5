// The page buttons and options, clicked on the real window: what each does to the job, what
// its page then shows, which dialog it asks and which program it starts, cancelled dialogs
// included. Also the drive list for temporary files and the wait state while measuring.
#include "engine/output_settings.h"
#include "support/fakes.h"
#include "support/small_mount.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"
#include "ui/pages/source_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;
using kesto::ui::MainWindow;

Q_DECLARE_METATYPE(kesto::Page)

class PageButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ts = std::make_unique<TestSession>();
        QDir().mkpath(ts->path(QStringLiteral("src/old")));
        ts->writeFile(QStringLiteral("src/docs/readme.txt"), "x");
        ts->writeFile(QStringLiteral("other/a.txt"), "x");
        ts->writeFile(QStringLiteral("src/file_id.diz"),
                      "line one\r\nnumber: xxxxxxx\r\nline three\r\n");
        ts->writeFile(QStringLiteral("src/about.nfo"), "nfo\r\n");
        QDir().mkpath(ts->path(QStringLiteral("out")));
        ts->disks.driveList = {{QStringLiteral("c"), ts->systemDir()}};
        // The size tool's report.
        ts->runner.action = [this](const QString &) {
            ts->writeFile(QStringLiteral("sys/size.txt"),
                          "  Total of all files found\r\n   3 files, 20 bytes\r\n");
        };
        makeWindow();
    }
    void cleanup()
    {
        window.reset();
        ts.reset();
        QVERIFY(!QApplication::overrideCursor());
    }

    // Each row: what is set up, the button clicked on its page, the dialog's answers; then
    // the field it sets (as its page shows it), the dialog asked, the program started and the
    // message shown. {root} and {app} stand for the test's directories.
    void buttonSetsItsField_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("dialog"); // kind|title|start folder
        QTest::addColumn<QString>("launch"); // command line, always without focus
        QTest::addColumn<QString>("message");
        const QString none;
        const QStringList cancel = {QString()};

        QTest::newRow("source chosen empties the skip list")
            << "skip" << Page::Source << "Command2" << QStringList{"{root}/src"} << "SourcePath"
            << "{root}/src"
            << "folder|Source directory|" << none << none;
        QTest::newRow("source cancelled")
            << "source,skip" << Page::Source << "Command2" << cancel << "SkipList"
            << "{root}/src/old/*.*\r\n"
            << "folder|Source directory|" << none << none;

        QTest::newRow("skip sub-dir")
            << "source" << Page::Skip << "Command1" << QStringList{"{root}/src/old"} << "SkipList"
            << "{root}/src/old/*.*\r\n"
            << "folder|Directory to skip|{root}/src" << none << none;
        QTest::newRow("skip sub-dir cancelled")
            << "source" << Page::Skip << "Command1" << cancel << "SkipList"
            << ""
            << "folder|Directory to skip|{root}/src" << none << none;
        QTest::newRow("skip the source itself")
            << "source" << Page::Skip << "Command1" << QStringList{"{root}/src"} << "SkipList"
            << ""
            << "folder|Directory to skip|{root}/src" << none << none;
        QTest::newRow("skip file") << "source,skipfile" << Page::Skip << "Command1"
                                   << QStringList{"{root}/src/docs/readme.txt"} << "SkipList"
                                   << "{root}/src/docs/readme.txt\r\n"
                                   << "open|Add skip file|{root}/src" << none << none;
        QTest::newRow("skip file outside the source")
            << "source,skipfile" << Page::Skip << "Command1" << QStringList{"{root}/other/a.txt"}
            << "SkipList"
            << ""
            << "open|Add skip file|{root}/src" << none << "Path isn't within source path";
        QTest::newRow("skip without a source")
            << "" << Page::Skip << "Command1" << QStringList() << "SkipList"
            << "" << none << none << "You must pick a source drive or directory first";
        QTest::newRow("skip list cleared")
            << "source,skip" << Page::Skip << "Command14" << QStringList() << "SkipList"
            << "" << none << none << none;

        QTest::newRow("diz created")
            << "" << Page::Diz << "Command4" << QStringList() << "DizPath"
            << "{app}/temp/file_id.diz" << none << "Notepad.exe {app}/temp/file_id.diz "
            << "Choose 'Save' when finished in notepad, not 'save as'";
        QTest::newRow("diz edited")
            << "diz" << Page::Diz << "Command5" << QStringList() << "DizPath"
            << "{root}/src/file_id.diz" << none << "Notepad.exe {root}/src/file_id.diz" << none;
        QTest::newRow("diz edited without one")
            << "" << Page::Diz << "Command5" << QStringList() << "DizPath"
            << "" << none << none << none;
        QTest::newRow("diz browsed") << "source" << Page::Diz << "Command6"
                                     << QStringList{"{root}/src/file_id.diz"} << "DizPath"
                                     << "{root}/src/file_id.diz"
                                     << "open|Add file_id.diz|{root}/src" << none << none;
        QTest::newRow("diz browse cancelled")
            << "diz" << Page::Diz << "Command6" << cancel << "DizPath"
            << ""
            << "open|Add file_id.diz|{root}/src/file_id.diz" << none << none;
        QTest::newRow("diz from the program's own copy")
            << "appdiz" << Page::Diz << "Command6" << QStringList{"{app}/file_id.diz"} << "DizPath"
            << ""
            << "open|Add file_id.diz|" << none
            << "The file_id.diz can't be from your application directory";

        QTest::newRow("nfo created")
            << "" << Page::Nfo << "Command7" << QStringList() << "NfoPath"
            << "{app}/temp/About.nfo" << none << "Notepad.exe {app}/temp/About.nfo " << none;
        QTest::newRow("nfo edited")
            << "nfo" << Page::Nfo << "Command11" << QStringList() << "NfoPath"
            << "{root}/src/about.nfo" << none << "Notepad.exe {root}/src/about.nfo" << none;
        QTest::newRow("nfo browsed from the diz's place")
            << "diz" << Page::Nfo << "Command8" << QStringList{"{root}/src/about.nfo"} << "NfoPath"
            << "{root}/src/about.nfo"
            << "open|Add *.nfo|{root}/src/file_id.diz" << none << none;
        QTest::newRow("nfo browse cancelled")
            << "nfo" << Page::Nfo << "Command8" << cancel << "NfoPath"
            << ""
            << "open|Add *.nfo|" << none << none;

        QTest::newRow("extra file") << "nfo,extrafile" << Page::Nfo << "Command9"
                                    << QStringList{"{root}/other/a.txt"} << "ExtraPath"
                                    << "{root}/other/a.txt"
                                    << "open|Add extra file|{root}/src/about.nfo" << none << none;
        QTest::newRow("extra file cancelled")
            << "extra,extrafile" << Page::Nfo << "Command9" << cancel << "ExtraPath"
            << ""
            << "open|Add extra file|" << none << none;
        QTest::newRow("extra directory")
            << "source,extradir" << Page::Nfo << "Command9" << QStringList{"{root}/other"}
            << "ExtraPath"
            << "{root}/other"
            << "folder|Extra directory of files to add to Zip|" << none << none;
        QTest::newRow("extra directory cancelled")
            << "extra,extradir" << Page::Nfo << "Command9" << cancel << "ExtraPath"
            << "{root}/other"
            << "folder|Extra directory of files to add to Zip|" << none << none;

        QTest::newRow("zip directory")
            << "" << Page::Zip << "Command10" << QStringList{"{root}/out"} << "ZipDir"
            << "{root}/out"
            << "folder|Directory for zip's|" << none << none;
        QTest::newRow("zip directory cancelled")
            << "zipdir" << Page::Zip << "Command10" << cancel << "ZipDir"
            << "{root}/src"
            << "folder|Directory for zip's|" << none << none;
    }
    void buttonSetsItsField()
    {
        QFETCH(QString, setup);
        QFETCH(Page, page);
        QFETCH(QString, button);
        QFETCH(QStringList, answers);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, dialog);
        QFETCH(QString, launch);
        QFETCH(QString, message);
        prepare(setup.split(QLatin1Char(','), Qt::SkipEmptyParts));
        for (const QString &answer : answers)
            ts->dialogs.answers << (answer.isNull() ? QString() : expand(answer));
        const JobSettings before = ts->session.job;

        window->showPage(page);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);

        QCOMPARE(fieldText(field), expand(value));
        QCOMPARE(shownText(field), expand(value).replace(QLatin1String("\r\n"), "\n"));
        if (dialog.isEmpty()) {
            QVERIFY(ts->dialogs.calls.isEmpty());
        } else {
            QCOMPARE(ts->dialogs.calls.size(), 1);
            const DialogCall &call = ts->dialogs.calls[0];
            QCOMPARE(call.kind + '|' + call.setup.title + '|' + call.setup.startDir,
                     expand(dialog));
        }
        if (launch.isEmpty()) {
            QVERIFY(ts->launcher.started.isEmpty());
        } else {
            QCOMPARE(ts->launcher.started.size(), 1);
            QCOMPARE(ts->launcher.started[0].commandLine, expand(launch));
            QCOMPARE(ts->launcher.started[0].mode, WindowMode::ShowNoActivate);
        }
        if (message.isEmpty()) {
            QVERIFY(ts->messages.shown.isEmpty());
        } else {
            QCOMPARE(ts->messages.shown.size(), 1);
            QCOMPARE(ts->messages.shown[0].text, message);
        }
        // Only the source's own button empties the skip list; a refused skip entry sends the
        // user to the Source page.
        if (button != QLatin1String("Command2") && button != QLatin1String("Command14") &&
            field != QLatin1String("SkipList"))
            QCOMPARE(ts->session.job.SkipList, before.SkipList);
        if (button == QLatin1String("Command9"))
            QCOMPARE(ts->session.job.SourcePath, before.SourcePath);
        if (button == QLatin1String("Command2") && !answers.constFirst().isNull()) {
            QVERIFY(ts->session.job.SkipList.isEmpty());
            QCOMPARE(child<QLabel>("Label9")->text(), QStringLiteral("3 files, 20 bytes"));
        }
        const bool sentToSource = message.startsWith(QLatin1String("You must pick"));
        QCOMPARE(!window->pageWidget(sentToSource ? Page::Source : page)->isHidden(), true);
    }

    void createReopensTheWorkingFile()
    {
        window->showPage(Page::Diz);
        QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
        const QString working = ts->appDir() + QStringLiteral("/temp/file_id.diz");
        QVERIFY(QFileInfo(working).isFile());
        QFile file(working);
        QVERIFY(file.open(QIODevice::Append));
        file.write("my text\r\n");
        file.close();
        QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
        QCOMPARE(readAll(working), QByteArray("my text\r\n"));
        QCOMPARE(ts->session.job.DizPath, working);
        QCOMPARE(ts->launcher.started.size(), 2);
        QCOMPARE(ts->messages.shown.size(), 2);
    }

    void browsedDescriptionIsCopiedBesideTheProgram()
    {
        window->showPage(Page::Diz);
        ts->dialogs.answers << ts->path(QStringLiteral("src/file_id.diz"));
        QTest::mouseClick(child<QPushButton>("Command6"), Qt::LeftButton);
        QCOMPARE(readAll(ts->appDir() + QStringLiteral("/file_id.diz")),
                 readAll(ts->path(QStringLiteral("src/file_id.diz"))));
    }

    void zipDirectoryShowsItsFreeSpace()
    {
        ts->disks.freeByPrefix.insert(ts->path(QStringLiteral("out")), 700'000'000);
        window->showPage(Page::Zip);
        ts->dialogs.answers << ts->path(QStringLiteral("out"));
        QTest::mouseClick(child<QPushButton>("Command10"), Qt::LeftButton);
        QCOMPARE(child<QLabel>("Label14")->text(), QStringLiteral("Free space  700 M"));

        ts->disks.freeByPrefix.insert(ts->path(QStringLiteral("out")), 5'000'000);
        QTest::mouseClick(child<QPushButton>("Command10"), Qt::LeftButton); // cancelled
        QCOMPARE(child<QLabel>("Label14")->text(), QStringLiteral("Free space  700 M"));
    }

    void numberingOptionsGreyTheFields()
    {
        window->showPage(Page::Diz);
        const QColor buttonFace = QApplication::palette().color(QPalette::Button);
        const QColor windowBackground = QApplication::palette().color(QPalette::Base);
        auto *column = child<QLineEdit>("Text2");
        auto *line = child<QLineEdit>("Text6");
        auto *test = child<QPushButton>("Command3");
        QCOMPARE(column->palette().color(QPalette::Base), buttonFace);
        QVERIFY(!test->isEnabled());

        tick(child<QRadioButton>("Option3"));
        QVERIFY(ts->session.job.DizAutoNumber);
        QCOMPARE(column->palette().color(QPalette::Base), windowBackground);
        QCOMPARE(line->palette().color(QPalette::Base), windowBackground);
        QVERIFY(test->isEnabled());
        QTest::keyClicks(column, QStringLiteral("12"));
        QTest::keyClicks(line, QStringLiteral("2"));

        tick(child<QRadioButton>("Option1"));
        QVERIFY(!ts->session.job.DizAutoNumber);
        QCOMPARE(column->palette().color(QPalette::Base), buttonFace);
        QCOMPARE(line->palette().color(QPalette::Base), buttonFace);
        QVERIFY(!test->isEnabled());

        tick(child<QRadioButton>("Option3"));
        QVERIFY(column->text().isEmpty() && line->text().isEmpty());
        QVERIFY(ts->session.job.DizColumn.isEmpty() && ts->session.job.DizLine.isEmpty());
        QVERIFY(child<QRadioButton>("Option3")->isChecked());
        QVERIFY(!child<QRadioButton>("Option1")->isChecked());
    }

    void extraBrowseWaitsForAKind_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("file") << "Option2";
        QTest::newRow("directory") << "Option4";
    }
    void extraBrowseWaitsForAKind()
    {
        QFETCH(QString, option);
        window->showPage(Page::Nfo);
        auto *browse = child<QPushButton>("Command9");
        QVERIFY(!browse->isEnabled());
        QTest::mouseClick(browse, Qt::LeftButton);
        QVERIFY(ts->dialogs.calls.isEmpty());
        tick(child<QRadioButton>(option));
        QVERIFY(browse->isEnabled());
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(ts->dialogs.calls.size(), 1);
    }

    void testButtonShowsTheSample()
    {
        ts->session.job.DizPath = ts->path(QStringLiteral("src/file_id.diz"));
        ts->session.job.DizAutoNumber = true;
        window->jobChanged();
        window->showPage(Page::Diz);
        QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("9"));
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("2"));
        QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
        QVERIFY(ts->messages.shown.isEmpty());
        QCOMPARE(ts->launcher.started.size(), 1);
        const QString sample = paths::systemFile(QStringLiteral("~kesto.diz"));
        QCOMPARE(ts->launcher.started[0].commandLine, QStringLiteral("notepad.exe ") + sample);
        QCOMPARE(readAll(sample), QByteArray("line one\r\nnumber: 001/999\r\nline three\r\n"));

        // A line beyond the description: refused, nothing started.
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("0"));
        QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(ts->launcher.started.size(), 1);
        QCOMPARE(ts->messages.shown.size(), 1);
        QCOMPARE(ts->messages.shown[0].text, QStringLiteral("Line number too high"));
    }

    void measuringLocksTheSourcePage()
    {
        window->MainWindowLoad();
        auto *browse = child<QPushButton>("Command2");
        bool locked = false;
        QString shownWhileMeasuring;
        const auto writeReport = ts->runner.action;
        ts->runner.action = [&](const QString &commandLine) {
            writeReport(commandLine);
            locked = !browse->isEnabled() && !window->listBar()->isEnabled() &&
                     QApplication::overrideCursor() &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            shownWhileMeasuring = child<QLabel>("Label9")->text();
        };
        ts->dialogs.answers << ts->path(QStringLiteral("src"));
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(ts->runner.commandLines.size(), 1);
        QVERIFY(locked);
        QCOMPARE(shownWhileMeasuring, QStringLiteral("Calculating files and size"));
        QVERIFY(browse->isEnabled());
        QVERIFY(window->listBar()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    // The drive list offers every drive with its directory's name, "c: [kesto32]", "d: [name]",
    // and the whole directory as tip; c is selected at start-up.
    void driveListShowsTheDrives()
    {
        ts->disks.driveList << Drive{QStringLiteral("d"), ts->path(QStringLiteral("mnt/data"))};
        makeWindow();
        window->MainWindowLoad();
        auto *drives = child<QComboBox>("Drive1");
        QCOMPARE(drives->count(), 2);
        QCOMPARE(drives->itemText(0),
                 "c: [" + QFileInfo(ts->systemDir()).fileName() + QLatin1Char(']'));
        QCOMPARE(drives->itemData(0, Qt::ToolTipRole).toString(), ts->systemDir());
        QCOMPARE(drives->itemText(1), QStringLiteral("d: [data]"));
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(window->sourcePage()->selectedDrive(), QStringLiteral("c"));
    }

    void tempDriveNeedsTwoMillionBytes_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("drive"); // selected afterwards
        QTest::addColumn<QString>("text");
        QTest::newRow("one byte short") << qint64(1'999'999) << "c"
                                        << " 5000 Meg.";
        QTest::newRow("just enough") << qint64(2'000'000) << "d"
                                     << " 2 Meg.";
        QTest::newRow("half rounds to even") << qint64(3'500'000) << "d"
                                             << " 4 Meg.";
        QTest::newRow("unreadable") << qint64(0) << "c"
                                    << " 5000 Meg.";
    }
    void tempDriveNeedsTwoMillionBytes()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(QString, drive);
        QFETCH(QString, text);
        const QString root = ts->path(QStringLiteral("mnt/d"));
        QDir().mkpath(root);
        ts->disks.driveList << Drive{QStringLiteral("d"), root};
        ts->disks.freeByPrefix.insert(root, freeBytes);
        makeWindow();
        window->MainWindowLoad();

        auto *drives = child<QComboBox>("Drive1");
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down);
        QCOMPARE(window->sourcePage()->selectedDrive(), drive);
        QCOMPARE(drives->currentText().left(2), drive + ':');
        QCOMPARE(ts->session.state.TempDrive, drive);
        QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("Free space on - \n") + text);
    }

    void fullSystemDriveStaysSelected()
    {
        // c itself is short of space: the list stays on c, the start-up text stays.
        const QString root = ts->path(QStringLiteral("mnt/d"));
        QDir().mkpath(root);
        ts->disks.driveList << Drive{QStringLiteral("d"), root};
        ts->disks.freeByPrefix.insert(ts->systemDir(), 1'000'000);
        ts->disks.freeByPrefix.insert(root, 1'000);
        makeWindow();
        window->MainWindowLoad();
        child<QComboBox>("Drive1")->setCurrentIndex(1);
        QCOMPARE(window->sourcePage()->selectedDrive(), QStringLiteral("c"));
        QCOMPARE(ts->session.state.TempDrive, QStringLiteral("c"));
        QCOMPARE(child<QLabel>("Label3")->text(),
                 QStringLiteral("Free space on - \nless than 2 Meg."));
    }

    void tempDriveOnRealFileSystems_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("1 MB") << "1m" << false;
        QTest::newRow("4 MB") << "4m" << true;
    }
    void tempDriveOnRealFileSystems()
    {
        QFETCH(QString, size);
        QFETCH(bool, accepted);
        const QString dir = ts->path(QStringLiteral("small"));
        SmallMount mount(dir, size);
        if (!mount.mounted)
            QSKIP("cannot mount a small file system here");
        StorageDiskInfo disks;
        ts->session.svc.disks = &disks;
        makeWindow();
        window->MainWindowLoad();
        auto *drives = child<QComboBox>("Drive1");
        const int index = drives->findData(dir, Qt::ToolTipRole);
        QVERIFY2(index > 0, qPrintable(dir));
        const QString letter = drives->itemData(index).toString();
        drives->setCurrentIndex(index);
        QCOMPARE(window->sourcePage()->selectedDrive(), accepted ? letter : QStringLiteral("c"));
        QCOMPARE(ts->session.state.TempDrive, accepted ? letter : QStringLiteral("c"));
        if (accepted) {
            QCOMPARE(child<QLabel>("Label3")->text(),
                     QStringLiteral("Free space on - \n ") +
                         QString::number(FreeSpaceMB(QStorageInfo(dir).bytesAvailable())) +
                         QStringLiteral(" Meg."));
        }
    }

private:
    void makeWindow()
    {
        window.reset();
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QString expand(QString text) const
    {
        text.replace(QLatin1String("{root}"), ts->root.path());
        text.replace(QLatin1String("{app}"), ts->appDir());
        return text;
    }

    void prepare(const QStringList &steps)
    {
        JobSettings &job = ts->session.job;
        for (const QString &step : steps) {
            if (step == QLatin1String("source"))
                job.SourcePath = expand(QStringLiteral("{root}/src"));
            else if (step == QLatin1String("skip"))
                job.SkipList = expand(QStringLiteral("{root}/src/old/*.*\r\n"));
            else if (step == QLatin1String("diz"))
                job.DizPath = expand(QStringLiteral("{root}/src/file_id.diz"));
            else if (step == QLatin1String("appdiz"))
                ts->writeFile(QStringLiteral("app/file_id.diz"), "x\r\n");
            else if (step == QLatin1String("nfo"))
                job.NfoPath = expand(QStringLiteral("{root}/src/about.nfo"));
            else if (step == QLatin1String("extra"))
                job.ExtraPath = expand(QStringLiteral("{root}/other"));
            else if (step == QLatin1String("zipdir"))
                job.ZipDir = expand(QStringLiteral("{root}/src"));
            else if (step != QLatin1String("skipfile") && step != QLatin1String("extrafile") &&
                     step != QLatin1String("extradir"))
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
        window->jobChanged();
        // The options are clicked as the user would.
        const std::pair<const char *, const char *> options[] = {
            {"skipfile", "Option5"}, {"extrafile", "Option2"}, {"extradir", "Option4"}};
        for (const auto &[step, option] : options) {
            if (steps.contains(QLatin1String(step))) {
                window->showPage(QLatin1String(option) == QLatin1String("Option5") ? Page::Skip
                                                                                   : Page::Nfo);
                tick(child<QRadioButton>(option));
            }
        }
    }

    QString fieldText(const QString &field) const
    {
        const JobSettings &job = ts->session.job;
        const std::pair<const char *, const QString *> fields[] = {
            {"SourcePath", &job.SourcePath}, {"SkipList", &job.SkipList},
            {"DizPath", &job.DizPath},       {"NfoPath", &job.NfoPath},
            {"ExtraPath", &job.ExtraPath},   {"ZipDir", &job.ZipDir}};
        for (const auto &[name, value] : fields) {
            if (field == QLatin1String(name))
                return *value;
        }
        qFatal("unknown field");
    }

    // What the field's page shows of it.
    QString shownText(const QString &field)
    {
        if (field == QLatin1String("SkipList"))
            return child<QPlainTextEdit>("Text1")->toPlainText();
        const std::pair<const char *, const char *> displays[] = {{"SourcePath", "SSPanel8"},
                                                                  {"DizPath", "SSPanel2"},
                                                                  {"NfoPath", "SSPanel3"},
                                                                  {"ExtraPath", "SSPanel4"},
                                                                  {"ZipDir", "SSPanel5"}};
        for (const auto &[name, display] : displays) {
            if (field == QLatin1String(name))
                return child<QLabel>(display)->text();
        }
        qFatal("unknown field");
    }

    template <class Widget> Widget *child(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    template <class Widget> Widget *child(const char *name) const
    {
        return child<Widget>(QLatin1String(name));
    }

    // Options react to clicks on their mark and caption only.
    static void tick(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(PageButtonsTest)
#include "test_page_buttons.moc"
