// Creating, editing and choosing the description, the nfo and the extra.
#include "describe/description_files.h"
#include "support/fakes.h"
#include "support/rows.h"

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

// The description before, the file chosen (below the session's root; null: cancelled), and
// whether it is taken.
const struct {
    const char *name, *dizPath;
    QString chosen;
    bool taken;
} dizChoices[] = {
    {"chosen, copied to the program's directory", "", "Src/File_ID.DIZ", true},
    {"cancelled keeps the description", "/d/file_id.diz", QString(), false},
    {"none chosen removes the description", "/d/file_id.diz", "", false},
    {"the working copy itself", "", "app/file_id.diz", false},
    {"the working copy through another path", "", "app/../app/file_id.diz", false},
    {"missing file", "", "src/gone.diz", false},
};

// The extra's kind, the answer to its dialog (null: cancelled) and the extra afterwards.
const struct {
    const char *name;
    bool file;
    QString answer;
    const char *extraPath;
} extras[] = {
    {"file cancelled keeps the extra", true, QString(), "/old"},
    {"no file chosen removes the extra", true, "", ""},
    {"directory cancelled keeps the extra", false, QString(), "/old"},
    {"no file-system path", false, "", ""},
};

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
            const auto click = [&] { diz ? CreateDescription(t.session) : CreateNfo(t.session); };
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

    void dizBrowse_data() { addRows(dizChoices); }
    void dizBrowse()
    {
        const auto &row = currentRow(dizChoices);
        const QString dizPath = row.dizPath, chosen = row.chosen;
        const bool taken = row.taken;
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.DizPath = dizPath;
        t.writeFile("app/file_id.diz", "working copy");
        t.writeFile("Src/File_ID.DIZ", Art);
        t.dialogs.answers << (chosen.isEmpty() ? chosen : t.root.filePath(chosen));

        ChooseDescription(t.session);

        checkDialog(t, "open",
                    {"Add file_id.diz", "File_id.diz (file_id.diz)|file_id.diz|", "*.diz",
                     dizPath.isEmpty() ? "/src" : dizPath});
        QCOMPARE(t.session.job.DizPath, taken             ? t.root.filePath(chosen)
                                        : chosen.isNull() ? dizPath
                                                          : "");
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), taken ? Art : "working copy");
        checkMessage(t,
                     taken || chosen.isEmpty()
                         ? ""
                         : "The file_id.diz can't be from your application directory",
                     Icon::Stop);
    }

    void nfoBrowse()
    {
        for (const auto &[dizPath, answer] :
             {std::pair<QString, QString>{"/d/file_id.diz", "/n/G.NFO"},
              {"/d/file_id.diz", QString()},
              {"/d/file_id.diz", ""},
              {"", "/n/a.nfo"}}) {
            TestSession t;
            t.session.job.SourcePath = "/src";
            t.session.job.DizPath = dizPath;
            t.session.job.NfoPath = "/old.nfo";
            t.dialogs.answers << answer;
            ChooseNfo(t.session);
            // Starts at the description, even an empty one; cancelling keeps the nfo, no file
            // chosen removes it.
            checkDialog(t, "open", {"Add *.nfo", "A nfo (*.nfo)|*.nfo|", "*.nfo", dizPath});
            QCOMPARE(t.session.job.NfoPath, answer.isNull() ? "/old.nfo" : answer);
        }
    }

    void numberingOptions()
    {
        TestSession t;
        JobSettings &job = t.session.job;
        QVERIFY(!DizNumberingEnabled(job));
        NumberDescriptionOn(t.session);
        QVERIFY(job.DizAutoNumber && !job.DizNoneSelected && DizNumberingEnabled(job));
        job.DizColumn = "12";
        job.DizLine = "3";
        NumberDescriptionOff(t.session);
        QVERIFY(!job.DizAutoNumber && job.DizNoneSelected && !DizNumberingEnabled(job));
        NumberDescriptionOn(t.session);
        QVERIFY(job.DizColumn.isEmpty() && job.DizLine.isEmpty() && DizNumberingEnabled(job));
    }

    void extra_data() { addRows(extras); }
    // Only the extra changes: not the source nor its measured size.
    void extra()
    {
        const auto &[name, file, answer, extraPath] = currentRow(extras);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.NfoPath = "/n/a.nfo";
        t.session.job.ExtraPath = "/old";
        file ? SelectExtraFileKind(t.session) : SelectExtraDirectoryKind(t.session);
        t.window.sourceSizeText = "3 files";
        JobSettings expected = t.session.job;
        expected.ExtraPath = extraPath;
        t.dialogs.answers << answer;

        ChooseExtra(t.session);

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
