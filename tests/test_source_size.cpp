// Choosing the source and measuring it with the size program.
#include "describe/source_size.h"
#include "support/fakes.h"
#include "support/rows.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QProcess>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

QString sizeFile()
{
    return paths::systemFile("size.txt");
}

// Stands in for the size program: writes canned output (a null array writes nothing).
void cannedOutput(TestSession &t, const QByteArray &output)
{
    t.runner.action = [output](const QString &) {
        QFile file(sizeFile());
        if (!output.isNull() && file.open(QIODevice::WriteOnly))
            file.write(output);
    };
}

// Size reports (@ stands for the source's header) and the summary shown; no report: none written.
const struct {
    const char *name, *output, *shown;
} summaries[] = {
    {"total", "\n  Total of all files found\n     1,234 files, 5 bytes in 17 directories\n",
     "1,234 files, 5 bytes in 17 directories"},
    {"header then total", "  @\n  3 files\n  Total of all files found\n  9 files\n", "9 files"},
    {"header only", "  @\n    3 files, 30 bytes\n  @/SUB\n", "3 files, 30 bytes"},
    {"total before header", "  Total of all files found\n  9 files\n  @\n  3 files\n", "9 files"},
    {"any two leading characters", "x>@\n  7 files\n", "7 files"},
    {"crlf lines", "  @\r\n  2 files\r\n", "2 files"},
    {"empty report", "", ""},
    {"total as last line", "  @\n  3 files\n  Total of all files found\n", "Error"},
    {"header as last line", "  @/SUB\n  1 file\n  @", "Error"},
    {"no report", nullptr, "Error"},
};

} // namespace

class TestSourceSize : public QObject {
    Q_OBJECT

private slots:
    void summaryFromOutput_data() { addRows(summaries); }
    // The quiet form (start-up, opened script): no message whatever the output.
    void summaryFromOutput()
    {
        const auto &row = currentRow(summaries);
        TestSession t;
        t.session.job.SourcePath = t.path("Mixed Case");
        QDir().mkpath(t.session.job.SourcePath);
        // A report left by an earlier measurement must not pass for this one.
        t.writeFile("sys/size.txt", "  Total of all files found\n  stale\n");
        // The source's header is the upper-case short form: quoted, since it holds a blank.
        const QByteArray header = "\"" + t.session.job.SourcePath.toUpper().toUtf8() + "\"";
        cannedOutput(t, row.output ? QByteArray(row.output).replace('@', header) : QByteArray());

        CalculateSourceSize(t.session);

        QCOMPARE(t.runner.commandLines.size(), 1);
        QCOMPARE(t.window.sourceSizeText, row.shown);
        QCOMPARE(t.window.measuring, (QList<bool>{true, false}));
        QVERIFY(t.messages.shown.isEmpty());
    }

    // The figures are grouped as the user's locale does it.
    void summaryFollowsLocale()
    {
        TestSession t;
        t.session.job.SourcePath = t.path("src");
        QDir().mkpath(t.session.job.SourcePath);
        cannedOutput(t,
                     "  Total of all files found\n  1,234 files, 1,200,466 bytes in 1 directory\n");
        QLocale::setDefault(QLocale(QLocale::German));
        CalculateSourceSize(t.session);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(t.window.sourceSizeText, "1.234 files, 1.200.466 bytes in 1 directory");
    }

    // Cancelling changes nothing; a measurement that fails shows a message.
    void browse()
    {
        for (const bool cancelled : {true, false}) {
            TestSession t;
            const QString source = t.path("src");
            QDir().mkpath(source);
            t.session.job.SourcePath = source;
            t.session.job.SkipList = source + "/old/*.*\r\n";
            t.window.sourceSizeText = "12 files";
            t.dialogs.answers << (cancelled ? QString() : source);
            cannedOutput(t, QByteArray());

            BrowseSource(t.session);

            checkDialog(t, "folder", {"Source directory", "", "", ""});
            QCOMPARE(t.session.job.SourcePath, source);
            QCOMPARE(t.session.job.SkipList.isEmpty(), !cancelled);
            QCOMPARE(t.window.jobChanges, cancelled ? 0 : 1);
            QCOMPARE(t.window.sourceSizeText, cancelled ? "12 files" : "Error");
            QCOMPARE(t.runner.commandLines.size(), cancelled ? 0 : 1);
            checkMessage(t, cancelled ? "" : "Error calculating source bytes", Icon::Stop);
        }
    }

    // The real size program, run with the arguments and output file of the command line that
    // was built: whatever the source's name, its own files are measured, and nothing is when
    // there is no source (a size program given no directory measures where it starts).
    void realProgramReport_data()
    {
        QTest::addColumn<QString>("source"); // below the session's root; "gone" is not made
        QTest::addColumn<bool>("withTotal");
        QTest::addColumn<QString>("shown");
        const QString three = "3 files, 1,010 bytes in 2 directories";
        QTest::newRow("blank") << "My Src" << true << three;
        QTest::newRow("no total: the source's own block")
            << "My Src" << false << "2 files, 10 bytes";
        QTest::newRow("'>' beside a sibling") << "x>y" << true << three;
        QTest::newRow("quote") << "a\"b" << true << three;
        QTest::newRow("newline") << "a\nb" << true << three;
        QTest::newRow("gone") << "gone" << true << "- Source size -";
        QTest::newRow("none") << "" << true << "- Source size -";
    }
    void realProgramReport()
    {
        QFETCH(QString, source);
        QFETCH(bool, withTotal);
        QFETCH(QString, shown);
        TestSession t;
        if (source != "gone" && !source.isEmpty()) {
            t.writeFile(source + "/a", "12345");
            t.writeFile(source + "/b", "67890");
            t.writeFile(source + "/Sub/c", QByteArray(1000, 'c'));
        }
        t.writeFile("x/big", QByteArray(5000, 'x')); // the sibling a redirection would pick
        t.session.job.SourcePath = source.isEmpty() ? "" : t.path(source);
        t.runner.action = [&](const QString &commandLine) {
            const SplitCommand split = SplitCommandLine(commandLine);
            QProcess size;
            size.setWorkingDirectory(t.root.path());
            size.setStandardOutputFile(split.outputFile);
            size.start(KESTO_BIN_DIR "/size",
                       withTotal ? split.arguments : split.arguments.mid(0, 2));
            size.waitForFinished(-1);
        };
        CalculateSourceSize(t.session);
        QCOMPARE(t.window.sourceSizeText, shown);
        QCOMPARE(t.runner.commandLines.size(), shown.startsWith('-') ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestSourceSize)
#include "test_source_size.moc"
