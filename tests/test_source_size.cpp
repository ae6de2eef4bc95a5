// Choosing the source and measuring it with the size program.
#include "describe/source_size.h"
#include "support/fakes.h"
#include "system/paths.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString Calculating = QStringLiteral("Calculating files and size");

QString sizeFile()
{
    return paths::systemFile(QStringLiteral("size.txt"));
}

// Stands in for the size program: writes canned output (a null array writes nothing).
void cannedOutput(TestSession &t, const QByteArray &output)
{
    t.runner.action = [output](const QString &) {
        if (output.isNull())
            return;
        QFile file(sizeFile());
        if (file.open(QIODevice::WriteOnly))
            file.write(output);
    };
}

// Runs the real size program on SourcePath, as the command line asks (with or without /t).
void realSizeProgram(TestSession &t, bool withTotal)
{
    t.runner.action = [&t, withTotal](const QString &) {
        QProcess process;
        process.setStandardOutputFile(sizeFile());
        QStringList arguments{t.session.job.SourcePath, QStringLiteral("/s")};
        if (withTotal)
            arguments << QStringLiteral("/t");
        process.start(QStringLiteral(KESTO_BIN_DIR "/size"), arguments);
        process.waitForFinished(-1);
    };
}

} // namespace

class TestSourceSize : public QObject {
    Q_OBJECT

private slots:
    void commandLineNamesToolSourceAndOutput_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shortForm"); // @ stands for the session's root
        QTest::newRow("plain") << "src"
                               << "@/src";
        QTest::newRow("blank quoted") << "My Files"
                                      << "\"@/My Files\"";
        QTest::newRow("no source") << ""
                                   << "";
        QTest::newRow("missing source") << "gone"
                                        << "";
    }

    void commandLineNamesToolSourceAndOutput()
    {
        QFETCH(QString, source);
        QFETCH(QString, shortForm);
        TestSession t;
        if (!source.isEmpty() && source != QLatin1String("gone"))
            QDir().mkpath(t.path(source));
        t.session.job.SourcePath = source.isEmpty() ? QString() : t.path(source);
        shortForm.replace(QLatin1Char('@'), t.root.path());

        CalculateSourceSize(t.session);

        const QString expected = QStringLiteral("command.com /c \"") +
                                 QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/size.exe\" ") + shortForm +
                                 QStringLiteral(" /s /t> ") + t.systemDir() + "/size.txt";
        QCOMPARE(t.runner.commandLines, QStringList{expected});
    }

    void summaryFromOutput_data()
    {
        QTest::addColumn<QByteArray>("output"); // @ stands for the source's header text
        QTest::addColumn<QString>("shown");
        const QByteArray total = "\n  Total of all files found\n     1,234 files, 56,789,012 bytes"
                                 " in 17 directories\n";
        QTest::newRow("total") << total << "1,234 files, 56,789,012 bytes in 17 directories";
        QTest::newRow("header only")
            << QByteArray("  @\n    3 files, 30 bytes\n  @/SUB\n") << "3 files, 30 bytes";
        QTest::newRow("header then total") << QByteArray("  @\n    3 files, 30 bytes\n") + total
                                           << "1,234 files, 56,789,012 bytes in 17 directories";
        QTest::newRow("total before header")
            << QByteArray("  Total of all files found\n  9 files\n  @\n  3 files\n") << "9 files";
        QTest::newRow("any two leading characters") << QByteArray("x>@\n  7 files\n") << "7 files";
        QTest::newRow("crlf lines") << QByteArray("  @\r\n  2 files\r\n") << "2 files";
        QTest::newRow("neither") << QByteArray("  @/SUB\n  1 file\n  Total\n") << "";
        QTest::newRow("other directory only") << QByteArray("  @X\n  1 file\n") << "";
        QTest::newRow("marker with trailing blank")
            << QByteArray("  Total of all files found \n  1 file\n") << "";
        QTest::newRow("empty output") << QByteArray("") << "";
        QTest::newRow("total as last line")
            << QByteArray("  @\n  3 files\n  Total of all files found\n") << "Error";
        QTest::newRow("header as last line") << QByteArray("  @/SUB\n  1 file\n  @") << "Error";
        QTest::newRow("missing output") << QByteArray() << "Error";
    }

    // The quiet form (start-up, opened script): no message whatever the output.
    void summaryFromOutput()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, shown);
        TestSession t;
        t.session.job.SourcePath = t.path(QStringLiteral("Mixed Case"));
        QDir().mkpath(t.session.job.SourcePath);
        // The source's header is the upper-case short form: quoted, since it holds a blank.
        const QByteArray header = "\"" + t.session.job.SourcePath.toUpper().toUtf8() + "\"";
        if (!output.isNull())
            output.replace('@', header);
        cannedOutput(t, output);
        QString shownWhileRunning;
        QList<bool> measuringWhileRunning;
        int servedBeforeRun = -1;
        auto canned = t.runner.action;
        t.runner.action = [&](const QString &commandLine) {
            shownWhileRunning = t.window.sourceSizeText;
            measuringWhileRunning = t.window.measuring;
            servedBeforeRun = t.window.served;
            canned(commandLine);
        };

        CalculateSourceSize(t.session);

        QCOMPARE(shownWhileRunning, Calculating);
        QCOMPARE(measuringWhileRunning, QList<bool>{true});
        QCOMPARE(servedBeforeRun, 1);
        QCOMPARE(t.window.sourceSizeText, shown);
        QCOMPARE(t.window.measuring, (QList<bool>{true, false}));
        QVERIFY(t.messages.shown.isEmpty());
    }

    // A report left by an earlier measurement must not pass for this one.
    void staleOutputIsNotRead()
    {
        TestSession t;
        t.session.job.SourcePath = t.path(QStringLiteral("src"));
        t.writeFile(QStringLiteral("sys/size.txt"), "  Total of all files found\n  old\n");
        cannedOutput(t, QByteArray());
        CalculateSourceSize(t.session);
        QCOMPARE(t.window.sourceSizeText, QStringLiteral("Error"));
    }

    void browseCancelledChangesNothing()
    {
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/old");
        t.session.job.SkipList = QStringLiteral("/old/x/*.*\r\n");
        t.window.sourceSizeText = QStringLiteral("12 files");
        t.dialogs.answers = QStringList{QString()};

        BrowseSource(t.session);

        QCOMPARE(t.dialogs.calls.size(), 1);
        QCOMPARE(t.dialogs.calls[0].kind, QStringLiteral("folder"));
        QCOMPARE(t.dialogs.calls[0].setup.title, QStringLiteral("Source directory"));
        QCOMPARE(t.dialogs.calls[0].setup.startDir, QString());
        QCOMPARE(t.session.job.SourcePath, QStringLiteral("/old"));
        QCOMPARE(t.session.job.SkipList, QStringLiteral("/old/x/*.*\r\n"));
        QCOMPARE(t.window.sourceSizeText, QStringLiteral("12 files"));
        QVERIFY(t.runner.commandLines.isEmpty());
        QCOMPARE(t.window.jobChanges, 0);
    }

    void browseSameSourceAgainEmptiesSkipList()
    {
        TestSession t;
        const QString source = t.path(QStringLiteral("Src"));
        QDir().mkpath(source);
        t.session.job.SourcePath = source;
        t.session.job.SkipList = source + "/old/*.*\r\n";
        t.dialogs.answers = QStringList{source};
        cannedOutput(t, "  Total of all files found\n     2 files, 9 bytes in 1 directory\n");

        BrowseSource(t.session);

        QCOMPARE(t.session.job.SourcePath, source);
        QCOMPARE(t.session.job.SkipList, QString());
        QCOMPARE(t.window.jobChanges, 1);
        QCOMPARE(t.runner.commandLines.size(), 1);
        QCOMPARE(t.window.sourceSizeText, QStringLiteral("2 files, 9 bytes in 1 directory"));
        QVERIFY(t.messages.shown.isEmpty());
    }

    void browseEmptyChoiceStopsBeforeMeasuring()
    {
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/old");
        t.session.job.SkipList = QStringLiteral("/old/x/*.*\r\n");
        t.dialogs.answers = QStringList{QStringLiteral("")};
        BrowseSource(t.session);
        QCOMPARE(t.session.job.SourcePath, QString());
        QCOMPARE(t.session.job.SkipList, QString());
        QVERIFY(t.runner.commandLines.isEmpty());
        QVERIFY(t.window.measuring.isEmpty());
    }

    void browseErrorShowsMessage_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("total as last line") << QByteArray("  Total of all files found\n");
        QTest::newRow("missing output") << QByteArray();
    }

    void browseErrorShowsMessage()
    {
        QFETCH(QByteArray, output);
        TestSession t;
        const QString source = t.path(QStringLiteral("src"));
        QDir().mkpath(source);
        t.dialogs.answers = QStringList{source};
        cannedOutput(t, output);

        BrowseSource(t.session);

        QCOMPARE(t.session.job.SourcePath, source); // kept: only the display reports it
        QCOMPARE(t.window.sourceSizeText, QStringLiteral("Error"));
        QCOMPARE(t.window.measuring, (QList<bool>{true, false}));
        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].text, QStringLiteral("Error calculating source bytes"));
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
        QCOMPARE(t.messages.shown[0].buttons, Buttons::Ok);
    }

    // The real program's report, read back the way the command line produces it.
    void realProgramReport_data()
    {
        QTest::addColumn<bool>("withTotal");
        QTest::addColumn<QString>("shown");
        QTest::newRow("total") << true << "3 files, 1,010 bytes in 2 directories";
        QTest::newRow("source block when no total") << false << "2 files, 10 bytes";
    }

    void realProgramReport()
    {
        QFETCH(bool, withTotal);
        QFETCH(QString, shown);
        TestSession t;
        t.writeFile(QStringLiteral("My Src/a"), "12345");
        t.writeFile(QStringLiteral("My Src/b"), "67890");
        t.writeFile(QStringLiteral("My Src/Sub/c"), QByteArray(1000, 'c'));
        t.session.job.SourcePath = t.path(QStringLiteral("My Src"));
        realSizeProgram(t, withTotal);

        CalculateSourceSize(t.session);

        QCOMPARE(t.window.sourceSizeText, shown);
    }
};

QTEST_GUILESS_MAIN(TestSourceSize)
#include "test_source_size.moc"
