#include "recovery_check.h"

#include "paths.h"
#include "recovery_tool.h"
#include "stop_signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

namespace kesto {

namespace {

// par2 redraws its progress with a carriage return: those pieces say nothing of the result.
bool isProgress(const QByteArray &piece)
{
    for (const char *word : {"Loading: ", "Scanning: ", "Repairing: ", "Solving: ", "Processing: ",
                             "Constructing: ", "Computing: ", "Opening: "}) {
        if (piece.startsWith(word))
            return true;
    }
    return false;
}

// The pieces of output between line ends and carriage returns, less progress.
QList<QByteArray> resultLines(const QByteArray &output)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= output.size(); ++i) {
        if (i < output.size() && output[i] != '\n' && output[i] != '\r')
            continue;
        const QByteArray piece = output.mid(start, i - start);
        start = i + 1;
        if (!isProgress(piece))
            lines << piece;
    }
    return lines;
}

qint64 number(const QRegularExpressionMatch &match, int group)
{
    return match.captured(group).toLongLong();
}

// `Target: "NAME" - state`: the name is everything between the first quote and the last
// `" - `, so that quotes and dashes in it stay part of it.
bool splitNamed(const QByteArray &line, const QByteArray &lead, QByteArray &name, QByteArray &state)
{
    if (!line.startsWith(lead))
        return false;
    const qsizetype end = line.lastIndexOf("\" - ");
    if (end < lead.size())
        return false;
    name = line.mid(lead.size(), end - lead.size());
    state = line.mid(end + 4);
    return true;
}

} // namespace

Par2Report ParsePar2Output(const QByteArray &output, int exitStatus)
{
    static const QRegularExpression total(
        QStringLiteral("^There are a total of (\\d+) data blocks"));
    static const QRegularExpression available(
        QStringLiteral("^You have (\\d+) out of (\\d+) data blocks available"));
    static const QRegularExpression recovery(
        QStringLiteral("^You have (\\d+) recovery blocks available"));
    static const QRegularExpression needed(QStringLiteral("^You need (\\d+) more recovery blocks"));
    static const QRegularExpression loadedBlocks(
        QStringLiteral("^Loaded \\d+ new packets(?: including (\\d+) recovery blocks)?"));
    static const QRegularExpression damaged(
        QStringLiteral("^damaged\\. Found (\\d+) of (\\d+) data blocks"));

    Par2Report report;
    report.exitStatus = exitStatus;
    QByteArray loading; // the recovery file whose load is under way
    QList<QByteArray> gavePackets;
    qint64 loadedRecovery = 0;
    bool allCorrect = false;
    const QList<QByteArray> lines = resultLines(output);
    const auto setTarget = [&report](const Par2Target &target) {
        for (Par2Target &known : report.targets) {
            if (known.name == target.name) {
                known = target;
                return;
            }
        }
        report.targets << target;
    };
    for (const QByteArray &line : lines) {
        const QString text = QString::fromLatin1(line);
        QByteArray name, state;
        if (line.startsWith("Loading \"") && line.endsWith("\".")) {
            loading = line.mid(9, line.size() - 11);
        } else if (const QRegularExpressionMatch m = loadedBlocks.match(text); m.hasMatch()) {
            loadedRecovery += number(m, 1);
            if (!loading.isEmpty() && !gavePackets.contains(loading))
                gavePackets << loading;
            loading.clear();
        } else if (line.startsWith("No new packets found")) {
            if (!loading.isEmpty() && !report.unusable.contains(loading))
                report.unusable << loading;
            loading.clear();
        } else if (splitNamed(line, "Target: \"", name, state)) {
            Par2Target target{name};
            if (state.startsWith("found"))
                target.state = Par2Target::State::Found;
            else if (state.startsWith("missing"))
                target.state = Par2Target::State::Missing;
            else if (const QRegularExpressionMatch m = damaged.match(QString::fromLatin1(state));
                     m.hasMatch())
                target = {name, Par2Target::State::Damaged, number(m, 1), number(m, 2)};
            else
                continue;
            setTarget(target);
        } else if (splitNamed(line, "File: \"", name, state) && state.startsWith("no data found")) {
            setTarget({name, Par2Target::State::Damaged, 0, -1});
        } else if (const QRegularExpressionMatch m = total.match(text); m.hasMatch()) {
            report.dataBlocks = number(m, 1);
        } else if (const QRegularExpressionMatch m = available.match(text); m.hasMatch()) {
            report.dataBlocksAvailable = number(m, 1);
            report.dataBlocks = number(m, 2);
        } else if (const QRegularExpressionMatch m = recovery.match(text); m.hasMatch()) {
            report.recoveryBlocks = number(m, 1);
        } else if (const QRegularExpressionMatch m = needed.match(text); m.hasMatch()) {
            report.blocksStillNeeded = number(m, 1);
        } else if (line.startsWith("All files are correct")) {
            allCorrect = true;
            report.understood = true;
        } else if (line.startsWith("Repair is required")) {
            report.repairRequired = true;
            report.understood = true;
        } else if (line.startsWith("Repair is possible")) {
            report.repairPossible = true;
        } else if (line.startsWith("Repair complete")) {
            report.repaired = true;
        }
    }
    // A file loaded twice (the main file is read again at the end) is unusable only when no
    // load of it gave packets.
    report.unusable.removeIf([&](const QByteArray &file) { return gavePackets.contains(file); });
    report.loaded = gavePackets;
    if (report.recoveryBlocks < 0 && !lines.isEmpty())
        report.recoveryBlocks = loadedRecovery;
    if (allCorrect && report.dataBlocks >= 0)
        report.dataBlocksAvailable = report.dataBlocks;
    // par2's statuses: 0 all correct (or repaired), 1 repair possible, 2 not possible; from 3 on
    // it could not do its work.
    if (exitStatus < 0 || exitStatus >= 3 || !report.understood) {
        QStringList said;
        for (const QByteArray &line : lines) {
            if (!line.trimmed().isEmpty())
                said << QString::fromLocal8Bit(line.trimmed());
        }
        report.failure =
            said.mid(std::max<qsizetype>(0, said.size() - 3)).join(QStringLiteral("; "));
        if (report.failure.isEmpty())
            report.failure =
                QCoreApplication::translate("RecoveryCheck", "par2 ended with status %1")
                    .arg(exitStatus);
        report.understood = report.understood && exitStatus >= 0 && exitStatus < 3;
    }
    if (exitStatus != 0)
        report.repaired = false;
    return report;
}

Par2Run RunPar2Program(const QStringList &arguments)
{
    Par2Run run;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Its words, not a translation of them, are what the output is read for.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.remove(QStringLiteral("LANGUAGE"));
    process.setProcessEnvironment(env);
    // Given as a process setting, like every outside program's: never the user's directory.
    const QString systemDir = paths::systemDirPath();
    process.setWorkingDirectory(QFileInfo(systemDir).isDir() ? systemDir : QDir::rootPath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    StartInOwnGroup(process);
    process.start(Par2Program(), arguments);
    if (!process.waitForStarted(-1)) {
        run.failure = process.errorString();
        return run;
    }
    run.started = true;
    SetChildProcessGroup(pid_t(process.processId()));
    if (StopRequested()) // caught between the check above and now
        RequestStop();
    // Progress is dropped as it comes, so the output kept stays small however long par2 runs.
    QByteArray pending;
    const auto take = [&] {
        pending += process.readAll();
        const qsizetype end = std::max(pending.lastIndexOf('\n'), pending.lastIndexOf('\r'));
        if (end < 0)
            return;
        for (const QByteArray &line : resultLines(pending.left(end)))
            run.output += line + '\n';
        pending.remove(0, end + 1);
    };
    while (!process.waitForFinished(100)) {
        take();
        if (process.state() == QProcess::NotRunning)
            break;
        if (StopRequested()) {
            run.stopped = true;
            break;
        }
        // The window repaints while par2 works; clicks and keys wait until it has ended.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    SetChildProcessGroup(0);
    if (process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGTERM);
        process.waitForFinished(-1);
    }
    take();
    run.output += pending;
    run.stopped = run.stopped || StopRequested();
    if (process.exitStatus() == QProcess::NormalExit && !run.stopped)
        run.exitStatus = process.exitCode();
    return run;
}

QString Par2LastWords(const QByteArray &output)
{
    const QList<QByteArray> lines = resultLines(output);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->trimmed().isEmpty())
            return QString::fromLocal8Bit(line->trimmed());
    }
    return {};
}

Par2Report RunPar2(Par2Action action, const QString &mainFile)
{
    const QString command =
        action == Par2Action::Verify ? QStringLiteral("verify") : QStringLiteral("repair");
    const Par2Run run = RunPar2Program({command, QStringLiteral("--"), mainFile});
    if (!run.started) {
        Par2Report report;
        report.failure = QCoreApplication::translate("RecoveryCheck", "par2 cannot be started: %1")
                             .arg(run.failure);
        return report;
    }
    Par2Report report = ParsePar2Output(run.output, run.exitStatus);
    if (run.stopped)
        report.stopSignal = CaughtStopSignal() ? CaughtStopSignal() : SIGTERM;
    return report;
}

} // namespace kesto
