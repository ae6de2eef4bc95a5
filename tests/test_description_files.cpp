// Creating, editing and choosing the description, the nfo and the extra.
#include "describe/description_files.h"
#include "support/fakes.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// CP437 box drawing and a lone CR: must arrive byte for byte.
const QByteArray Art = QByteArray("\xc9\xcd\xcd\xbb\r\n\xba hi \xba\r\xc8\xcd\xcd\xbc\r\n");

void checkEditorStarted(TestSession &t, const QString &commandLine)
{
    QCOMPARE(t.launcher.started.size(), 1);
    QCOMPARE(t.launcher.started[0].commandLine, commandLine);
    QCOMPARE(t.launcher.started[0].mode, WindowMode::ShowNoActivate);
    t.launcher.started.clear();
}

} // namespace

class TestDescriptionFiles : public QObject {
    Q_OBJECT

private slots:
    // The second Create reopens the text of the first; only the description's tells how to save.
    void create()
    {
        for (const bool diz : {true, false}) {
            TestSession t;
            const QString name = diz ? "temp/file_id.diz" : "temp/About.nfo";
            const QString working = t.appDir() + "/" + name;
            const auto click = [&] { diz ? Command4_Click(t.session) : Command7_Click(t.session); };
            QString &field = diz ? t.session.job.DizPath : t.session.job.NfoPath;

            click();
            checkMessage(t, diz ? "Choose 'Save' when finished in notepad, not 'save as'" : "",
                         Icon::None, Buttons::Ok, "Kesto32");
            QVERIFY(QFileInfo::exists(working) && readAll(working).isEmpty());
            QCOMPARE(t.window.served, 1);
            checkEditorStarted(t, "Notepad.exe " + working + " ");
            QCOMPARE(field, working);

            t.writeFile("app/" + name, Art);
            field.clear();
            click();
            QCOMPARE(readAll(working), Art);
            checkEditorStarted(t, "Notepad.exe " + working + " ");
            QCOMPARE(field, working);
        }
    }

    // A regular file named "temp" stands where the working directory must go.
    void createFailureIsReported()
    {
        TestSession t;
        t.writeFile("app/temp", "not a directory");
        t.session.job.NfoPath = "/old.nfo";
        Command7_Click(t.session);
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY(t.messages.shown[0].text.contains(t.appDir() + "/temp"));
        QVERIFY(t.messages.shown[0].icon == Icon::Stop);
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
        t.session.job.NfoPath = "/home/ann/a b.nfo";
        Command11_Click(t.session);
        checkEditorStarted(t, "Notepad.exe /home/ann/a b.nfo");
    }

    void dizBrowse_data()
    {
        QTest::addColumn<QString>("dizPath"); // before
        QTest::addColumn<QString>("chosen");  // relative to the session's root; null: cancelled
        QTest::addColumn<bool>("taken");
        QTest::newRow("chosen, copied to the program's directory") << ""
                                                                   << "Src/File_ID.DIZ" << true;
        QTest::newRow("cancelled removes the description")
            << "/d/file_id.diz" << QString() << false;
        QTest::newRow("the working copy itself") << ""
                                                 << "app/file_id.diz" << false;
        QTest::newRow("the working copy through another path") << ""
                                                               << "app/../app/file_id.diz" << false;
        QTest::newRow("missing file") << ""
                                      << "src/gone.diz" << false;
    }

    void dizBrowse()
    {
        QFETCH(QString, dizPath);
        QFETCH(QString, chosen);
        QFETCH(bool, taken);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.DizPath = dizPath;
        t.writeFile("app/file_id.diz", "working copy");
        t.writeFile("Src/File_ID.DIZ", Art);
        t.dialogs.answers << (chosen.isNull() ? chosen : t.root.filePath(chosen));

        Command6_Click(t.session);

        checkDialog(t, "open",
                    {"Add file_id.diz", "File_id.diz (file_id.diz)|file_id.diz|", "*.diz",
                     dizPath.isEmpty() ? "/src" : dizPath});
        QCOMPARE(t.session.job.DizPath, taken ? t.root.filePath(chosen) : "");
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), taken ? Art : "working copy");
        checkMessage(t,
                     taken || chosen.isNull()
                         ? ""
                         : "The file_id.diz can't be from your application directory",
                     Icon::Stop);
    }

    void nfoBrowse()
    {
        for (const auto &[dizPath, answer] :
             {std::pair<QString, QString>{"/d/file_id.diz", "/n/G.NFO"},
              {"/d/file_id.diz", QString()},
              {"", "/n/a.nfo"}}) {
            TestSession t;
            t.session.job.SourcePath = "/src";
            t.session.job.DizPath = dizPath;
            t.session.job.NfoPath = "/old.nfo";
            t.dialogs.answers << answer;
            Command8_Click(t.session);
            // Starts at the description, even an empty one; cancelling removes the nfo.
            checkDialog(t, "open", {"Add *.nfo", "A nfo (*.nfo)|*.nfo|", "*.nfo", dizPath});
            QCOMPARE(t.session.job.NfoPath, answer.isNull() ? "" : answer);
        }
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

    void extra_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("extraPath");
        QTest::newRow("file chosen") << true << "/x/Read Me.TXT"
                                     << "/x/Read Me.TXT";
        QTest::newRow("file cancelled removes the extra") << true << QString() << "";
        QTest::newRow("directory chosen") << false << "/x/Extras"
                                          << "/x/Extras";
        QTest::newRow("directory cancelled keeps the extra") << false << QString() << "/old";
        QTest::newRow("no file-system path") << false << ""
                                             << "";
    }

    // Only the extra changes: not the source nor its measured size.
    void extra()
    {
        QFETCH(bool, file);
        QFETCH(QString, answer);
        QFETCH(QString, extraPath);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.NfoPath = "/n/a.nfo";
        t.session.job.ExtraPath = "/old";
        file ? Option2_Click(t.session) : Option4_Click(t.session);
        t.window.sourceSizeText = "3 files";
        JobSettings expected = t.session.job;
        expected.ExtraPath = extraPath;
        t.dialogs.answers << answer;

        Command9_Click(t.session);

        if (file)
            checkDialog(t, "open", {"Add extra file", "Extra file (*.*)|*.*|", "*.*", "/n/a.nfo"});
        else
            checkDialog(t, "folder", {"Extra directory of files to add to Zip", "", "", ""});
        QCOMPARE(t.session.job, expected);
        QCOMPARE(t.window.sourceSizeText, "3 files");
        QVERIFY(t.runner.commandLines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDescriptionFiles)
#include "test_description_files.moc"
