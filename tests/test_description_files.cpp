// Creating, editing and choosing the description, the nfo and the extra.
#include "describe/description_files.h"
#include "support/fakes.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// CP437 box drawing and a lone CR: must arrive byte for byte.
const QByteArray Art = QByteArray("\xc9\xcd\xcd\xbb\r\n\xba hi \xba\r\xc8\xcd\xcd\xbc\r\n");

void checkDialog(const TestSession &t, const char *kind, const char *title, const char *filter,
                 const char *initialName, const QString &startDir)
{
    QCOMPARE(t.dialogs.calls.size(), 1);
    const FileDialogSetup &setup = t.dialogs.calls[0].setup;
    QCOMPARE(t.dialogs.calls[0].kind, kind);
    QCOMPARE(setup.title, title);
    QCOMPARE(setup.filter, filter);
    QCOMPARE(setup.initialName, initialName);
    QCOMPARE(setup.startDir, startDir);
}

void checkEditorStarted(const TestSession &t, const QString &commandLine)
{
    QCOMPARE(t.launcher.started.size(), 1);
    QCOMPARE(t.launcher.started[0].commandLine, commandLine);
    QCOMPARE(t.launcher.started[0].mode, WindowMode::ShowNoActivate);
}

void checkError(const TestSession &t, const QString &text)
{
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.messages.shown[0].title, "Kesto32 error");
    QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
    QVERIFY2(t.messages.shown[0].text.contains(text), qPrintable(t.messages.shown[0].text));
}

} // namespace

class TestDescriptionFiles : public QObject {
    Q_OBJECT

private slots:
    void create_data()
    {
        QTest::addColumn<bool>("diz");
        QTest::addColumn<QString>("name");
        QTest::newRow("description") << true << "file_id.diz";
        QTest::newRow("nfo, without the message") << false << "About.nfo";
    }

    // The second Create reopens the text of the first.
    void create()
    {
        QFETCH(bool, diz);
        QFETCH(QString, name);
        TestSession t;
        const QString working = t.appDir() + "/temp/" + name;
        const auto click = [&] { diz ? Command4_Click(t.session) : Command7_Click(t.session); };

        click();

        QCOMPARE(t.messages.shown.size(), diz ? 1 : 0);
        if (diz) {
            const ShownMessage &shown = t.messages.shown[0];
            QCOMPARE(shown.text, "Choose 'Save' when finished in notepad, not 'save as'");
            QCOMPARE(shown.title, "Kesto32");
            QVERIFY(shown.icon == Icon::None && shown.buttons == Buttons::Ok);
        }
        QCOMPARE(readAll(working), "");
        QVERIFY(QFileInfo::exists(working));
        QCOMPARE(t.window.served, 1);
        checkEditorStarted(t, "Notepad.exe " + working + " ");
        QCOMPARE(diz ? t.session.job.DizPath : t.session.job.NfoPath, working);

        t.writeFile("app/temp/" + name, Art);
        t.launcher.started.clear();
        click();
        QCOMPARE(readAll(working), Art);
        checkEditorStarted(t, "Notepad.exe " + working + " ");
        QCOMPARE(diz ? t.session.job.DizPath : t.session.job.NfoPath, working);
        QCOMPARE(diz ? t.session.job.NfoPath : t.session.job.DizPath, "");
    }

    // A regular file named "temp" stands where the working directory must go.
    void createFailureIsReported()
    {
        TestSession t;
        t.writeFile("app/temp", "not a directory");
        t.session.job.NfoPath = "/old.nfo";
        Command7_Click(t.session);
        checkError(t, t.appDir() + "/temp");
        QVERIFY(t.launcher.started.isEmpty());
        QCOMPARE(t.session.job.NfoPath, "/old.nfo");
    }

    void edit()
    {
        TestSession t;
        Command5_Click(t.session);
        Command11_Click(t.session);
        QVERIFY(t.launcher.started.isEmpty()); // nothing chosen, nothing to edit
        t.session.job.DizPath = "/home/ann/File_ID.diz";
        Command5_Click(t.session);
        checkEditorStarted(t, "Notepad.exe /home/ann/File_ID.diz");
        t.launcher.started.clear();
        t.session.job.NfoPath = "/home/ann/a b.nfo";
        Command11_Click(t.session);
        checkEditorStarted(t, "Notepad.exe /home/ann/a b.nfo");
    }

    void dizBrowseCancelledRemovesDescription_data()
    {
        QTest::addColumn<QString>("dizPath");
        QTest::addColumn<QString>("startDir");
        QTest::newRow("starts at the description") << "/d/file_id.diz"
                                                   << "/d/file_id.diz";
        QTest::newRow("else at the source") << ""
                                            << "/src";
    }

    void dizBrowseCancelledRemovesDescription()
    {
        QFETCH(QString, dizPath);
        QFETCH(QString, startDir);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.DizPath = dizPath;
        Command6_Click(t.session);
        checkDialog(t, "open", "Add file_id.diz", "File_id.diz (file_id.diz)|file_id.diz|", "*.diz",
                    startDir);
        QCOMPARE(t.session.job.DizPath, "");
        QVERIFY(t.messages.shown.isEmpty());
    }

    void dizBrowseCopiesToAppDir()
    {
        TestSession t;
        t.writeFile("app/file_id.diz", "older copy");
        const QString chosen = t.writeFile("Src/File_ID.DIZ", Art);
        t.dialogs.answers << chosen;

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
        t.writeFile("app/file_id.diz", Art);
        t.dialogs.answers << t.root.filePath(chosen);
        Command6_Click(t.session);
        checkError(t, "The file_id.diz can't be from your application directory");
        QCOMPARE(t.session.job.DizPath, "");
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), Art);
    }

    void nfoBrowse_data()
    {
        QTest::addColumn<QString>("dizPath");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::newRow("chosen") << "/d/file_id.diz"
                                << "/n/Group.NFO";
        QTest::newRow("cancelled removes the nfo") << "/d/file_id.diz" << QString();
        QTest::newRow("starts at an empty description") << ""
                                                        << "/n/a.nfo";
    }

    void nfoBrowse()
    {
        QFETCH(QString, dizPath);
        QFETCH(QString, answer);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.DizPath = dizPath;
        t.session.job.NfoPath = "/old.nfo";
        t.dialogs.answers << answer;
        Command8_Click(t.session);
        checkDialog(t, "open", "Add *.nfo", "A nfo (*.nfo)|*.nfo|", "*.nfo", dizPath);
        QCOMPARE(t.session.job.NfoPath, answer.isNull() ? "" : answer);
    }

    void numberingOptions()
    {
        TestSession t;
        JobSettings &job = t.session.job;
        QVERIFY(!DizNumberingEnabled(job));
        Option3_Click(t.session);
        QVERIFY(job.DizAutoNumber && !job.DizNoneSelected && DizNumberingEnabled(job));
        job.DizColumn = "12";
        job.DizLine = "3";
        Option1_Click(t.session);
        QVERIFY(!job.DizAutoNumber && job.DizNoneSelected && !DizNumberingEnabled(job));
        Option3_Click(t.session);
        QVERIFY(job.DizColumn.isEmpty() && job.DizLine.isEmpty() && DizNumberingEnabled(job));
    }

    void extraKindEnablesBrowse()
    {
        TestSession t;
        JobSettings &job = t.session.job;
        QVERIFY(!ExtraBrowseEnabled(job));
        Command9_Click(t.session); // disabled: no dialog
        QVERIFY(t.dialogs.calls.isEmpty());
        Option4_Click(t.session);
        QVERIFY(job.ExtraIsDirectory && !job.ExtraIsFile && ExtraBrowseEnabled(job));
        Option2_Click(t.session);
        QVERIFY(job.ExtraIsFile && !job.ExtraIsDirectory && ExtraBrowseEnabled(job));
    }

    void extraFile()
    {
        for (const QString &answer : {QString("/x/Read Me.TXT"), QString()}) {
            TestSession t;
            t.session.job.NfoPath = "/n/a.nfo";
            t.session.job.ExtraPath = "/old";
            Option2_Click(t.session);
            t.dialogs.answers << answer;
            Command9_Click(t.session);
            checkDialog(t, "open", "Add extra file", "Extra file (*.*)|*.*|", "*.*", "/n/a.nfo");
            QCOMPARE(t.session.job.ExtraPath, answer.isNull() ? "" : answer); // cancel removes
        }
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

    // Only the extra changes: not the source nor its measured size.
    void extraDirectory()
    {
        QFETCH(QString, answer);
        QFETCH(QString, extraPath);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.ExtraPath = "/old";
        Option4_Click(t.session);
        t.window.sourceSizeText = "3 files";
        JobSettings expected = t.session.job;
        expected.ExtraPath = extraPath;
        t.dialogs.answers << answer;

        Command9_Click(t.session);

        checkDialog(t, "folder", "Extra directory of files to add to Zip", "", "", "");
        QCOMPARE(t.session.job, expected);
        QCOMPARE(t.window.sourceSizeText, "3 files");
        QVERIFY(t.runner.commandLines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDescriptionFiles)
#include "test_description_files.moc"
