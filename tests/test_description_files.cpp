// Creating, editing and choosing the description, the nfo and the extra.
#include "describe/description_files.h"
#include "support/fakes.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// CP437 box drawing and a lone CR: must arrive byte for byte.
const QByteArray Art = QByteArray("\xc9\xcd\xcd\xbb\r\n\xba hi \xba\r\xc8\xcd\xcd\xbc\r\n");

void checkOpenDialog(const TestSession &t, const QString &title, const QString &filter,
                     const QString &initialName, const QString &startDir)
{
    QCOMPARE(t.dialogs.calls.size(), 1);
    const DialogCall &call = t.dialogs.calls[0];
    QCOMPARE(call.kind, QStringLiteral("open"));
    QCOMPARE(call.setup.title, title);
    QCOMPARE(call.setup.filter, filter);
    QCOMPARE(call.setup.initialName, initialName);
    QCOMPARE(call.setup.startDir, startDir);
}

} // namespace

class TestDescriptionFiles : public QObject {
    Q_OBJECT

private slots:
    void dizCreateTwiceReopensTheText()
    {
        TestSession t;
        const QString working = t.appDir() + "/temp/file_id.diz";

        Command4_Click(t.session);

        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].text,
                 QStringLiteral("Choose 'Save' when finished in notepad, not 'save as'"));
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32"));
        QCOMPARE(t.messages.shown[0].icon, Icon::None);
        QCOMPARE(t.messages.shown[0].buttons, Buttons::Ok);
        QVERIFY(QFileInfo::exists(working));
        QCOMPARE(readAll(working), QByteArray());
        QCOMPARE(t.window.served, 1);
        QCOMPARE(t.launcher.started.size(), 1);
        QCOMPARE(t.launcher.started[0].commandLine, "Notepad.exe " + working + " ");
        QCOMPARE(t.launcher.started[0].mode, WindowMode::ShowNoActivate);
        QCOMPARE(t.session.job.DizPath, working);

        t.writeFile(QStringLiteral("app/temp/file_id.diz"), Art);
        Command4_Click(t.session);
        QCOMPARE(readAll(working), Art);
        QCOMPARE(t.launcher.started.size(), 2);
        QCOMPARE(t.launcher.started[1].commandLine, "Notepad.exe " + working + " ");
        QCOMPARE(t.session.job.DizPath, working);
    }

    void nfoCreateShowsNoMessage()
    {
        TestSession t;
        const QString working = t.appDir() + "/temp/About.nfo";
        Command7_Click(t.session);
        QVERIFY(t.messages.shown.isEmpty());
        QVERIFY(QFileInfo::exists(working));
        QCOMPARE(t.launcher.started.size(), 1);
        QCOMPARE(t.launcher.started[0].commandLine, "Notepad.exe " + working + " ");
        QCOMPARE(t.session.job.NfoPath, working);
        QCOMPARE(t.session.job.DizPath, QString());
    }

    // A regular file named "temp" stands where the working directory must go.
    void createFailureIsReported()
    {
        TestSession t;
        t.writeFile(QStringLiteral("app/temp"), "not a directory");
        t.session.job.NfoPath = QStringLiteral("/old.nfo");

        Command7_Click(t.session);

        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
        QVERIFY(t.messages.shown[0].text.contains(t.appDir() + "/temp"));
        QVERIFY(t.launcher.started.isEmpty());
        QCOMPARE(t.session.job.NfoPath, QStringLiteral("/old.nfo"));
    }

    void edit_data()
    {
        QTest::addColumn<bool>("diz");
        QTest::addColumn<QString>("path");
        QTest::newRow("diz") << true << "/home/ann/File_ID.diz";
        QTest::newRow("nfo") << false << "/home/ann/a b.nfo";
        QTest::newRow("diz empty") << true << "";
        QTest::newRow("nfo empty") << false << "";
    }

    void edit()
    {
        QFETCH(bool, diz);
        QFETCH(QString, path);
        TestSession t;
        (diz ? t.session.job.DizPath : t.session.job.NfoPath) = path;
        diz ? Command5_Click(t.session) : Command11_Click(t.session);
        if (path.isEmpty()) {
            QVERIFY(t.launcher.started.isEmpty());
            return;
        }
        QCOMPARE(t.launcher.started.size(), 1);
        QCOMPARE(t.launcher.started[0].commandLine, "Notepad.exe " + path);
        QCOMPARE(t.launcher.started[0].mode, WindowMode::ShowNoActivate);
    }

    void dizBrowseStartsAtDescriptionElseSource_data()
    {
        QTest::addColumn<QString>("dizPath");
        QTest::addColumn<QString>("startDir");
        QTest::newRow("description set") << "/d/file_id.diz"
                                         << "/d/file_id.diz";
        QTest::newRow("no description") << ""
                                        << "/src";
    }

    void dizBrowseStartsAtDescriptionElseSource()
    {
        QFETCH(QString, dizPath);
        QFETCH(QString, startDir);
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/src");
        t.session.job.DizPath = dizPath;
        t.dialogs.answers = QStringList{QString()};

        Command6_Click(t.session);

        checkOpenDialog(t, QStringLiteral("Add file_id.diz"),
                        QStringLiteral("File_id.diz (file_id.diz)|file_id.diz|"),
                        QStringLiteral("*.diz"), startDir);
        QCOMPARE(t.session.job.DizPath, QString()); // cancelling removes the description
        QVERIFY(t.messages.shown.isEmpty());
    }

    void dizBrowseCopiesToAppDir()
    {
        TestSession t;
        t.writeFile(QStringLiteral("app/file_id.diz"), "older copy");
        const QString chosen = t.writeFile(QStringLiteral("Src/File_ID.DIZ"), Art);
        t.dialogs.answers = QStringList{chosen};

        Command6_Click(t.session);

        QCOMPARE(t.session.job.DizPath, chosen);
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), Art);
        QVERIFY(t.messages.shown.isEmpty());
        QCOMPARE(t.window.jobChanges, 1);
    }

    void dizBrowseCopyFailure_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the session's root
        QTest::newRow("the working copy itself") << "app/file_id.diz";
        QTest::newRow("the working copy through another path") << "app/../app/file_id.diz";
        QTest::newRow("missing file") << "src/gone.diz";
    }

    void dizBrowseCopyFailure()
    {
        QFETCH(QString, chosen);
        TestSession t;
        t.writeFile(QStringLiteral("app/file_id.diz"), Art);
        t.dialogs.answers = QStringList{t.root.filePath(chosen)};

        Command6_Click(t.session);

        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].text,
                 QStringLiteral("The file_id.diz can't be from your application directory"));
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
        QCOMPARE(t.session.job.DizPath, QString());
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), Art);
    }

    void nfoBrowse_data()
    {
        QTest::addColumn<QString>("dizPath");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("nfoPath");
        QTest::newRow("chosen") << "/d/file_id.diz"
                                << "/n/Group.NFO"
                                << "/n/Group.NFO";
        QTest::newRow("cancelled") << "/d/file_id.diz" << QString() << "";
        QTest::newRow("starts at empty description") << ""
                                                     << "/n/a.nfo"
                                                     << "/n/a.nfo";
    }

    void nfoBrowse()
    {
        QFETCH(QString, dizPath);
        QFETCH(QString, answer);
        QFETCH(QString, nfoPath);
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/src");
        t.session.job.DizPath = dizPath;
        t.session.job.NfoPath = QStringLiteral("/old.nfo");
        t.dialogs.answers = QStringList{answer};

        Command8_Click(t.session);

        checkOpenDialog(t, QStringLiteral("Add *.nfo"), QStringLiteral("A nfo (*.nfo)|*.nfo|"),
                        QStringLiteral("*.nfo"), dizPath);
        QCOMPARE(t.session.job.NfoPath, nfoPath);
    }

    void numberingOptions()
    {
        TestSession t;
        QVERIFY(!DizNumberingEnabled(t.session.job));
        Option3_Click(t.session);
        QVERIFY(t.session.job.DizAutoNumber);
        QVERIFY(!t.session.job.DizNoneSelected);
        QVERIFY(DizNumberingEnabled(t.session.job));
        t.session.job.DizColumn = QStringLiteral("12");
        t.session.job.DizLine = QStringLiteral("3");

        Option1_Click(t.session);
        QVERIFY(!t.session.job.DizAutoNumber);
        QVERIFY(t.session.job.DizNoneSelected);
        QVERIFY(!DizNumberingEnabled(t.session.job));

        Option3_Click(t.session);
        QCOMPARE(t.session.job.DizColumn, QString());
        QCOMPARE(t.session.job.DizLine, QString());
        QVERIFY(DizNumberingEnabled(t.session.job));
    }

    void extraKindEnablesBrowse()
    {
        TestSession t;
        QVERIFY(!ExtraBrowseEnabled(t.session.job));
        Command9_Click(t.session); // disabled: no dialog
        QVERIFY(t.dialogs.calls.isEmpty());
        Option4_Click(t.session);
        QVERIFY(t.session.job.ExtraIsDirectory && !t.session.job.ExtraIsFile);
        QVERIFY(ExtraBrowseEnabled(t.session.job));
        Option2_Click(t.session);
        QVERIFY(t.session.job.ExtraIsFile && !t.session.job.ExtraIsDirectory);
        QVERIFY(ExtraBrowseEnabled(t.session.job));
    }

    void extraFile_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("extraPath");
        QTest::newRow("chosen") << "/x/Read Me.TXT"
                                << "/x/Read Me.TXT";
        QTest::newRow("cancelled removes the extra") << QString() << "";
    }

    void extraFile()
    {
        QFETCH(QString, answer);
        QFETCH(QString, extraPath);
        TestSession t;
        t.session.job.NfoPath = QStringLiteral("/n/a.nfo");
        t.session.job.ExtraPath = QStringLiteral("/old");
        Option2_Click(t.session);
        t.dialogs.answers = QStringList{answer};

        Command9_Click(t.session);

        checkOpenDialog(t, QStringLiteral("Add extra file"),
                        QStringLiteral("Extra file (*.*)|*.*|"), QStringLiteral("*.*"),
                        QStringLiteral("/n/a.nfo"));
        QCOMPARE(t.session.job.ExtraPath, extraPath);
    }

    void extraDirectory_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("extraPath");
        QTest::newRow("chosen") << "/x/Extras"
                                << "/x/Extras";
        QTest::newRow("cancelled keeps the extra") << QString() << "/old";
        QTest::newRow("no file-system path") << ""
                                             << "";
    }

    void extraDirectory()
    {
        QFETCH(QString, answer);
        QFETCH(QString, extraPath);
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/src");
        t.session.job.ExtraPath = QStringLiteral("/old");
        Option4_Click(t.session);
        t.window.sourceSizeText = QStringLiteral("3 files");
        JobSettings expected = t.session.job;
        expected.ExtraPath = extraPath;
        t.dialogs.answers = QStringList{answer};

        Command9_Click(t.session);

        QCOMPARE(t.dialogs.calls.size(), 1);
        QCOMPARE(t.dialogs.calls[0].kind, QStringLiteral("folder"));
        QCOMPARE(t.dialogs.calls[0].setup.title,
                 QStringLiteral("Extra directory of files to add to Zip"));
        QCOMPARE(t.dialogs.calls[0].setup.startDir, QString());
        QVERIFY(t.session.job == expected);
        QCOMPARE(t.window.sourceSizeText, QStringLiteral("3 files"));
        QVERIFY(t.runner.commandLines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDescriptionFiles)
#include "test_description_files.moc"
