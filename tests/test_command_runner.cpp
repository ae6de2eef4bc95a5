#include "support/argv_dump.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <sys/wait.h>

using namespace kesto;
using kesto::test::readArgvDump;
using kesto::test::ScopedEnv;

namespace {

// No child of ours is left, running or unreaped.
bool noChildLeft()
{
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

QString self()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace

class CommandRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void splitCommandLine_data();
    void splitCommandLine();
    void commandLineWordSplitsBack_data();
    void commandLineWordSplitsBack();
    void shortFileName();
    void programThatCannotStart_data();
    void programThatCannotStart();
    void hostileArgumentsReachTheProgramUntouched();
    void outputRedirectedToFile();
    void programFoundOnPathWithoutExe();
    void exitStatusRecorded();
    void eventsServedWhileWaiting();
};

void CommandRunnerTest::splitCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("outputFile");

    QTest::newRow("archiver, quoted source, trailing blank")
        << "wrar.exe a -r -v0000b -y /c/Kesto001/tool.rar \"/c/my files\" "
        << "wrar" << QStringList{"a", "-r", "-v0000b", "-y", "/c/Kesto001/tool.rar", "/c/my files"}
        << "";
    QTest::newRow("size tool, redirect glued to the switch")
        << "command.com /c /opt/k/size.exe /src/a /s /t> /sys/size.txt"
        << "/opt/k/size" << QStringList{"/src/a", "/s", "/t"} << "/sys/size.txt";
    QTest::newRow("redirect without blank") << "prog a >out.txt"
                                            << "prog" << QStringList{"a"} << "out.txt";
    QTest::newRow("redirect to a quoted name") << "prog a > \"/x y/out.txt\""
                                               << "prog" << QStringList{"a"} << "/x y/out.txt";
    QTest::newRow("words after the redirect target stay arguments")
        << "prog >o a b"
        << "prog" << QStringList{"a", "b"} << "o";
    QTest::newRow("'>' at the very end names nothing") << "prog a >"
                                                       << "prog" << QStringList{"a"} << "";
    QTest::newRow("quote inside a word joins") << "prog -x@\"/a b/skip.txt\""
                                               << "prog" << QStringList{"-x@/a b/skip.txt"} << "";
    QTest::newRow("quoted part then more of the word") << "prog \"/a b\"c d"
                                                       << "prog" << QStringList{"/a bc", "d"} << "";
    QTest::newRow("doubled quote inside quotes is one quote")
        << "prog \"say \"\"hi\"\"\""
        << "prog" << QStringList{"say \"hi\""} << "";
    QTest::newRow("'>' inside quotes is text") << "prog \"a>b\""
                                               << "prog" << QStringList{"a>b"} << "";
    QTest::newRow("empty quoted word is a word") << "prog \"\" x"
                                                 << "prog" << QStringList{"", "x"} << "";
    QTest::newRow("tabs and runs of blanks") << "prog\t a  \t b "
                                             << "prog" << QStringList{"a", "b"} << "";
    QTest::newRow("interpreter and .exe in any case") << "COMMAND.COM /C Notepad.EXE x"
                                                      << "Notepad" << QStringList{"x"} << "";
    QTest::newRow("interpreter only where it leads")
        << "prog command.com /c"
        << "prog" << QStringList{"command.com", "/c"} << "";
    QTest::newRow(".exe only at the end") << "my.exe.tool"
                                          << "my.exe.tool" << QStringList{} << "";
    QTest::newRow("backslashes are ordinary characters")
        << "prog C:\\dir\\ \"a\\\""
        << "prog" << QStringList{"C:\\dir\\", "a\\"} << "";
    QTest::newRow("shell syntax is text")
        << "prog $(touch x); `id` | cat && y *"
        << "prog" << QStringList{"$(touch", "x);", "`id`", "|", "cat", "&&", "y", "*"} << "";
    QTest::newRow("nothing but blanks") << "   "
                                        << "" << QStringList{} << "";
}

void CommandRunnerTest::splitCommandLine()
{
    QFETCH(QString, line);
    const SplitCommand split = SplitCommandLine(line);
    QTEST(split.program, "program");
    QTEST(split.arguments, "arguments");
    QTEST(split.outputFile, "outputFile");
}

void CommandRunnerTest::commandLineWordSplitsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unchanged");

    QTest::newRow("plain path") << "/c/Kesto001/tool.001" << true;
    QTest::newRow("leading dash, semicolon, $()") << "-rf;$(id)&&x|y*" << true;
    QTest::newRow("blank") << "/media/My Disk/Kesto001" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("quote") << "a\"b" << false;
    QTest::newRow("only quotes") << "\"\"" << false;
    QTest::newRow("redirect sign") << "a>b" << false;
    QTest::newRow("empty") << "" << false;
}

void CommandRunnerTest::commandLineWordSplitsBack()
{
    QFETCH(QString, text);
    QFETCH(bool, unchanged);
    const QString word = CommandLineWord(text);
    QCOMPARE(word == text, unchanged);
    const SplitCommand split = SplitCommandLine(QStringLiteral("prog ") + word + " next");
    QCOMPARE(split.arguments, (QStringList{text, "next"}));
    QCOMPARE(split.outputFile, QString());
}

void CommandRunnerTest::shortFileName()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("plain"));
    QVERIFY(QDir(dir.path()).mkpath("with blank"));
    const QString plain = dir.filePath("plain");
    const QString blank = dir.filePath("with blank");

    QCOMPARE(paths::GetShortFileName(plain), plain);
    QCOMPARE(paths::GetShortFileName(blank), "\"" + blank + "\"");
    QCOMPARE(paths::GetShortFileName(dir.filePath("missing")), QString());
    QCOMPARE(paths::GetShortFileName(QString()), QString());
    // What the size tool's command line relies on: the path comes back as one word.
    QCOMPARE(SplitCommandLine("size " + paths::GetShortFileName(blank) + " /s").arguments,
             (QStringList{blank, "/s"}));
}

void CommandRunnerTest::programThatCannotStart_data()
{
    QTest::addColumn<QString>("setup");

    QTest::newRow("name on no path") << "missing-name";
    QTest::newRow("path that does not exist") << "missing-path";
    QTest::newRow("file without execute permission") << "not-executable";
    QTest::newRow("executable text that is no program") << "no-program";
}

void CommandRunnerTest::programThatCannotStart()
{
    QFETCH(QString, setup);
    QTemporaryDir dir;
    const QString file = dir.filePath("prog");
    QString commandLine = file + " a b";
    if (setup == "missing-name") {
        commandLine = "kesto-no-such-program.exe a b";
    } else if (setup != "missing-path") {
        QFile script(file);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("touch started\n");
        script.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (setup == "no-program")
            permissions |= QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(file, permissions));
    }

    SystemCommandRunner runner;
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    runner.execCmd(commandLine);
    QDir::setCurrent(oldDir);

    QVERIFY(!runner.lastStarted());
    QCOMPARE(runner.lastExitStatus(), -1);
    QVERIFY(noChildLeft());
    // No shell stepped in to run the text as a script.
    QVERIFY(!QFile::exists(dir.filePath("started")));
}

void CommandRunnerTest::hostileArgumentsReachTheProgramUntouched()
{
    QTemporaryDir dir;
    const QString dump = dir.filePath("argv");
    const ScopedEnv dumpEnv("KESTO_ARGV_DUMP", QFile::encodeName(dump));
    const QStringList arguments{"/src/my files",
                                "$(touch pwned)",
                                "`touch pwned`",
                                "; touch pwned",
                                "-rf",
                                "a\"b",
                                "\"quoted\"",
                                "*",
                                "x || touch pwned",
                                "tab\there",
                                "ünïcode",
                                ""};
    QString commandLine = CommandLineWord(self());
    for (const QString &argument : arguments)
        commandLine += ' ' + CommandLineWord(argument);

    SystemCommandRunner runner;
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    runner.execCmd(commandLine);
    QDir::setCurrent(oldDir);

    QVERIFY(runner.lastStarted());
    QCOMPARE(runner.lastExitStatus(), 0);
    QList<QByteArray> expected;
    for (const QString &argument : arguments)
        expected << argument.toUtf8();
    QCOMPARE(readArgvDump(dump), expected);
    QVERIFY(!QFile::exists(dir.filePath("pwned")));
    QVERIFY(noChildLeft());
}

void CommandRunnerTest::outputRedirectedToFile()
{
    QTemporaryDir dir;
    const ScopedEnv dumpEnv("KESTO_ARGV_DUMP", QFile::encodeName(dir.filePath("argv")));
    const QString output = dir.filePath("out file.txt");
    QFile stale(output);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("stale text that is longer than the output\n");
    stale.close();

    SystemCommandRunner runner;
    runner.execCmd("command.com /c " + CommandLineWord(self()) + " a \"b c\" /t> " +
                   CommandLineWord(output));

    QCOMPARE(runner.lastExitStatus(), 0);
    QFile result(output);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll(), QByteArray("a\nb c\n/t\n"));
}

void CommandRunnerTest::programFoundOnPathWithoutExe()
{
    QTemporaryDir dir;
    const QString dump = dir.filePath("argv");
    QVERIFY(QFile::link(self(), dir.filePath("kesto-stand-in")));
    const ScopedEnv dumpEnv("KESTO_ARGV_DUMP", QFile::encodeName(dump));
    const ScopedEnv path("PATH", QFile::encodeName(dir.path()) + ':' + qgetenv("PATH"));

    QCOMPARE(FindProgram("kesto-stand-in"), dir.filePath("kesto-stand-in"));
    SystemCommandRunner runner;
    runner.execCmd("Kesto-Stand-In.EXE one");
    QVERIFY(!runner.lastStarted()); // names are case-sensitive here
    runner.execCmd("kesto-stand-in.EXE one");
    QVERIFY(runner.lastStarted());
    QCOMPARE(readArgvDump(dump), QList<QByteArray>{"one"});
}

void CommandRunnerTest::exitStatusRecorded()
{
    QTemporaryDir dir;
    const ScopedEnv dumpEnv("KESTO_ARGV_DUMP", QFile::encodeName(dir.filePath("argv")));
    const ScopedEnv status("KESTO_ARGV_STATUS", "3");
    SystemCommandRunner runner;
    runner.execCmd(CommandLineWord(self()));
    QVERIFY(runner.lastStarted());
    QCOMPARE(runner.lastExitStatus(), 3);
}

// The program only ends once a timer of ours has fired: so the wait serves events.
void CommandRunnerTest::eventsServedWhileWaiting()
{
    QTemporaryDir dir;
    const QString go = dir.filePath("go");
    const ScopedEnv dumpEnv("KESTO_ARGV_DUMP", QFile::encodeName(dir.filePath("argv")));
    const ScopedEnv waitFor("KESTO_ARGV_WAIT_FOR", QFile::encodeName(go));
    bool fired = false;
    QTimer::singleShot(0, [&] {
        fired = true;
        QFile file(go);
        QVERIFY(file.open(QIODevice::WriteOnly));
    });

    SystemCommandRunner runner;
    runner.execCmd(CommandLineWord(self()));

    QVERIFY(fired);
    QCOMPARE(runner.lastExitStatus(), 0);
}

KESTO_TEST_MAIN_WITH_ARGV_DUMP(CommandRunnerTest)
#include "test_command_runner.moc"
