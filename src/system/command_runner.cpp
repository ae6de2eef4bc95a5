#include "command_runner.h"

#include "paths.h"
#include "stop_signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace kesto {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString &reportPrefix()
{
    static QString prefix = QStringLiteral("kesto32: ");
    return prefix;
}

} // namespace

void SetReportPrefix(const QString &prefix)
{
    reportPrefix() = prefix;
}

void ReportLine(const QString &text)
{
    const QByteArray line = (reportPrefix() + text).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

SplitCommand SplitCommandLine(const QString &commandLine)
{
    SplitCommand result;
    QStringList words;
    QString word;
    bool inWord = false; // also true for an empty quoted word ""
    bool quoted = false;
    bool redirectPending = false;

    const auto finishWord = [&] {
        if (!inWord)
            return;
        if (redirectPending) {
            result.outputFile = word;
            redirectPending = false;
        } else {
            words << word;
        }
        word.clear();
        inWord = false;
    };

    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < commandLine.size() && commandLine.at(i + 1) == QLatin1Char('"')) {
                word += c;
                ++i;
            } else {
                quoted = !quoted;
            }
            inWord = true;
        } else if (!quoted && isBlank(c)) {
            finishWord();
        } else if (!quoted && c == QLatin1Char('>')) {
            finishWord();
            redirectPending = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    finishWord();

    if (words.size() >= 2 &&
        words.at(0).compare(QLatin1String("command.com"), Qt::CaseInsensitive) == 0 &&
        words.at(1).compare(QLatin1String("/c"), Qt::CaseInsensitive) == 0)
        words.remove(0, 2);
    if (words.isEmpty())
        return result;

    result.program = words.takeFirst();
    if (result.program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        result.program.chop(4);
    result.arguments = words;
    return result;
}

QString QuotedWord(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString CommandLineWord(const QString &text)
{
    const bool plain = !text.isEmpty() && std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return isBlank(c) || c == QLatin1Char('"') || c == QLatin1Char('>');
    });
    return plain ? text : QuotedWord(text);
}

QString FindProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (program.contains(QLatin1Char('/'))) {
        // The size tool's command names it in the program's directory; installed, it lies in
        // the helpers' directory, and /usr/bin/size is binutils'.
        const QFileInfo named(program);
        if (QDir::cleanPath(named.absolutePath()) == QDir::cleanPath(paths::programDir()))
            return paths::helperProgram(named.fileName());
        return isExecutableFile(program) ? program : QString();
    }
    return paths::helperProgram(program);
}

void SystemCommandRunner::execCmd(const QString &commandLine)
{
    lastStarted_ = false;
    lastExitStatus_ = -1;

    const SplitCommand command = SplitCommandLine(commandLine);
    const QString program = FindProgram(command.program);
    // The run judges a program by its effect; these lines only tell the user what went wrong.
    const auto report = [&command](const QString &what) {
        ReportLine(QFileInfo(command.program).fileName() + QLatin1Char(' ') + what);
    };
    if (program.isEmpty()) {
        report(QCoreApplication::translate("runner", "cannot be found"));
        return;
    }

    if (StopRequested()) {
        report(QCoreApplication::translate("runner", "not started: the program is stopping"));
        return;
    }

    QProcess process;
    process.setProgram(program);
    // Given as a process setting: the program's own current directory stays the user's.
    process.setWorkingDirectory(paths::systemDir());
    // A group of its own, so that a stop reaches everything the program started (7-Zip under
    // wrar); and it ends with us, even when we are killed.
    StartInOwnGroup(process);
    process.setArguments(command.arguments);
    // Nobody can answer a question while the window ignores input.
    process.setStandardInputFile(QProcess::nullDevice());
    // The output file is replaced as a whole once the program has ended, never written through
    // a link.
    QSaveFile output(command.outputFile);
    QByteArray pending; // a progress line not yet complete
    const auto readProgress = [&](bool ended) {
        pending += process.readAllStandardOutput();
        if (ended && !pending.isEmpty() && !pending.endsWith('\n'))
            pending += '\n';
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            bool number = false;
            const int percent = line.endsWith('%') ? line.chopped(1).toInt(&number) : 0;
            if (number)
                onProgress(percent);
            else
                std::fprintf(stdout, "%s\n", line.constData());
        }
    };
    if (command.outputFile.isEmpty() && onProgress) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [&readProgress] { readProgress(false); });
    } else if (command.outputFile.isEmpty()) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        if (!paths::dropLink(command.outputFile) ||
            !output.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            report(
                QCoreApplication::translate("runner", "cannot write %1").arg(command.outputFile));
            return;
        }
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&process, &QProcess::readyReadStandardOutput,
                         [&] { output.write(process.readAllStandardOutput()); });
    }
    process.start();
    if (!process.waitForStarted(-1)) {
        report(QCoreApplication::translate("runner", "cannot be started"));
        return;
    }
    lastStarted_ = true;
    SetChildProcessGroup(static_cast<pid_t>(process.processId()));
    if (StopRequested()) // caught between the check above and now
        RequestStop();

    // Repaints and timers go on while the program runs; clicks and keys wait until it has ended.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    while (process.state() != QProcess::NotRunning) {
        // A quitting application refuses nested loops (-1); then wait without serving anything.
        if (!QCoreApplication::instance() || loop.exec(QEventLoop::ExcludeUserInputEvents) == -1)
            process.waitForFinished(-1);
    }
    if (command.outputFile.isEmpty() && onProgress)
        readProgress(true);
    SetChildProcessGroup(0);
    if (output.isOpen()) {
        output.write(process.readAllStandardOutput());
        if (!output.commit())
            report(QCoreApplication::translate("runner", "output cannot be written to %1")
                       .arg(command.outputFile));
    }
    if (process.exitStatus() == QProcess::NormalExit)
        lastExitStatus_ = process.exitCode();
    if (lastExitStatus_ != 0 && !StopRequested()) // a stop is reported once, by the program
        report(QCoreApplication::translate("runner", "ended with status %1").arg(lastExitStatus_));
}

} // namespace kesto
