#include "support/argv_dump.h"
#include "support/rows.h"
#include "system/command_runner.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <sys/wait.h>

using namespace kesto;
using namespace kesto::test;

namespace {

// No child of ours is left, running or unreaped.
bool noChildLeft()
{
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// This test program, standing in for an outside program, as the first word of a command line.
QString self()
{
    return CommandLineWord(QCoreApplication::applicationFilePath());
}

// Runs a command line from within dir, so that anything it makes lands there.
void runIn(SystemCommandRunner &runner, const QTemporaryDir &dir, const QString &commandLine)
{
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    runner.execCmd(commandLine);
    QDir::setCurrent(oldDir);
}

// Arguments joined by '|'.
const struct {
    const char *name, *line, *program, *arguments, *outputFile = "";
} splits[] = {
    {"archiver, quoted source, trailing blank", "wrar.exe a -y /c/tool.rar \"/c/my files\" ",
     "wrar", "a|-y|/c/tool.rar|/c/my files"},
    {"size tool, redirect glued to the switch", "command.com /c /k/size.exe /a /s /t> /s/size.txt",
     "/k/size", "/a|/s|/t", "/s/size.txt"},
    {"redirect to a quoted name", "prog a >\"/x y/out\"", "prog", "a", "/x y/out"},
    {"'>' at the very end names nothing", "prog a >", "prog", "a"},
    {"quote inside a word joins", "prog -x@\"/a b/skip\" \"/a b\"c", "prog", "-x@/a b/skip|/a bc"},
    {"doubled quote inside quotes is one quote", "prog \"say \"\"hi\"\"\"", "prog", "say \"hi\""},
    {"'>' inside quotes is text", "prog \"a>b\"", "prog", "a>b"},
    {"empty quoted word is a word", "prog \"\" x", "prog", "|x"},
    {"interpreter and .exe in any case", "COMMAND.COM /C Notepad.EXE x", "Notepad", "x"},
    {"interpreter only where it leads", "prog command.com /c", "prog", "command.com|/c"},
    {"backslashes are ordinary characters", "prog C:\\d\\ \"a\\\"", "prog", "C:\\d\\|a\\"},
};

} // namespace

class CommandRunnerTest : public QObject {
    Q_OBJECT

private slots:
    // The stand-in's settings go with the test that made them.
    void cleanup()
    {
        qunsetenv("KESTO_ARGV_DUMP");
        qunsetenv("KESTO_ARGV_STATUS");
    }

    void splitCommandLine_data() { addRows(splits); }
    void splitCommandLine()
    {
        const auto &row = currentRow(splits);
        const SplitCommand split = SplitCommandLine(row.line);
        QCOMPARE(split.program, row.program);
        QCOMPARE(split.arguments.join('|'), row.arguments);
        QCOMPARE(split.outputFile, row.outputFile);
    }

    // A missing name or path, a file without execute permission, an executable text that is
    // no program: nothing starts, and no shell steps in to run the text as a script.
    void programThatCannotStart()
    {
        const int readWrite = QFile::ReadOwner | QFile::WriteOwner;
        for (const auto &[commandLine, permissions] :
             {std::pair<QString, int>{"kesto-no-such-program.exe a", 0},
              {"./prog a", readWrite},
              {"./prog a", readWrite | QFile::ExeOwner}}) {
            QTemporaryDir dir;
            QFile script(dir.filePath("prog"));
            if (permissions) {
                QVERIFY(script.open(QIODevice::WriteOnly) && script.write("touch started\n") > 0);
                script.close();
                QVERIFY(script.setPermissions(QFile::Permissions(permissions)));
            }
            SystemCommandRunner runner;
            runIn(runner, dir, commandLine);

            QVERIFY(!runner.lastStarted());
            QCOMPARE(runner.lastExitStatus(), -1);
            QVERIFY(noChildLeft());
            QVERIFY(!QFile::exists(dir.filePath("started")));
        }
    }

    void hostileArgumentsReachTheProgramUntouched()
    {
        QTemporaryDir dir;
        qputenv("KESTO_ARGV_DUMP", QFile::encodeName(dir.filePath("argv")));
        qputenv("KESTO_ARGV_STATUS", "3");
        // One per line; the last is empty.
        const QStringList arguments = QString("/src/my files\n$(touch pwned)\n`touch pwned`\n"
                                              "; touch pwned\n-rf\na\"b\n\"quoted\"\n*\n"
                                              "x || touch pwned\ntab\there\n\u00fcn\u00efcode\n")
                                          .split('\n');
        QString commandLine = self();
        for (const QString &argument : arguments)
            commandLine += ' ' + CommandLineWord(argument);

        SystemCommandRunner runner;
        runIn(runner, dir, commandLine);

        QVERIFY(runner.lastStarted());
        QCOMPARE(runner.lastExitStatus(), 3);
        QList<QByteArray> expected;
        for (const QString &argument : arguments)
            expected << argument.toUtf8();
        QCOMPARE(readArgvDump(dir.filePath("argv")), expected);
        QVERIFY(!QFile::exists(dir.filePath("pwned")));
        QVERIFY(noChildLeft());
    }

    void outputRedirectedToFile()
    {
        QTemporaryDir dir;
        qputenv("KESTO_ARGV_DUMP", QFile::encodeName(dir.filePath("argv")));
        const QString output = dir.filePath("out file.txt");
        QFile stale(output);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("stale text that is longer than the output\n");
        stale.close();

        SystemCommandRunner runner;
        runner.execCmd("command.com /c " + self() + " a \"b c\" /t> " + CommandLineWord(output));

        QCOMPARE(runner.lastExitStatus(), 0);
        QVERIFY(stale.open(QIODevice::ReadOnly));
        QCOMPARE(stale.readAll(), "a\nb c\n/t\n");
    }
};

KESTO_TEST_MAIN_WITH_ARGV_DUMP(CommandRunnerTest)
#include "test_command_runner.moc"
