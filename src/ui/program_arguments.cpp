#include "program_arguments.h"

#include "engine/series_command.h"
#include "job/run_state.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace kesto::ui {

ArrangedArguments ArrangeArguments(const QList<QByteArray> &arguments,
                                   const QList<QCommandLineOption> &own)
{
    ArrangedArguments result;
    result.arguments << (arguments.isEmpty() ? QStringLiteral("kesto32")
                                             : QFile::decodeName(arguments.first()));
    QStringList scriptWords;
    QList<QByteArray> scriptBytes;
    bool optionsEnded = false;
    // Where an option's value goes when another option of ours stands between them
    // ("--plan --recovery 10 job.kst"): the next word that is no option takes the place.
    qsizetype pendingValueAt = -1;
    const auto isOwnOption = [&own](const QByteArray &word) {
        if (!word.startsWith("--"))
            return false;
        const QString name = QFile::decodeName(word.mid(2, word.indexOf('=') - 2));
        return std::any_of(own.cbegin(), own.cend(), [&name](const QCommandLineOption &option) {
            return option.names().contains(name);
        });
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray &word = arguments.at(i);
        if (optionsEnded || !word.startsWith('-') || word == "-") {
            if (pendingValueAt >= 0) {
                result.arguments.insert(pendingValueAt, QFile::decodeName(word));
                pendingValueAt = -1;
                continue;
            }
            scriptWords << QFile::decodeName(word);
            scriptBytes << word;
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const bool longForm = word.startsWith("--");
        const qsizetype equals = word.indexOf('=');
        const QString name = QFile::decodeName(
            word.mid(longForm ? 2 : 1, equals < 0 ? -1 : equals - (longForm ? 2 : 1)));
        const QCommandLineOption *option = nullptr;
        for (const QCommandLineOption &candidate : own) {
            for (const QString &candidateName : candidate.names()) {
                // Long names with two dashes, one-letter names with one.
                if (candidateName == name && longForm == (candidateName.size() > 1))
                    option = &candidate;
            }
        }
        if (longForm && name == QLatin1String("help-all"))
            result.helpOrVersion = true;
        else if (!option) {
            result.error = QCoreApplication::translate("kesto32", "unrecognized option '%1'")
                               .arg(QFile::decodeName(word));
            return result;
        }
        result.arguments << QFile::decodeName(word);
        if (option && (option->names().contains(QLatin1String("help")) ||
                       option->names().contains(QLatin1String("version"))))
            result.helpOrVersion = true;
        if (option && !option->valueName().isEmpty() && equals < 0) {
            if (pendingValueAt < 0 && i + 1 < arguments.size() &&
                isOwnOption(arguments.at(i + 1))) {
                pendingValueAt = result.arguments.size();
                continue;
            }
            if (++i >= arguments.size()) {
                result.error = QCoreApplication::translate("kesto32", "option '%1' needs a value")
                                   .arg(QFile::decodeName(word));
                return result;
            }
            result.arguments << QFile::decodeName(arguments.at(i));
        } else if (option && option->valueName().isEmpty() && equals >= 0) {
            result.error = QCoreApplication::translate("kesto32", "option '%1' takes no value")
                               .arg(QFile::decodeName(word));
            return result;
        }
    }
    if (pendingValueAt >= 0) {
        result.error = QCoreApplication::translate("kesto32", "option '%1' needs a value")
                           .arg(result.arguments.at(pendingValueAt - 1));
        return result;
    }
    result.arguments << QStringLiteral("--") << scriptWords;
    result.scriptBytes = scriptBytes.join(' ');
    result.batch = result.scriptBytes.startsWith('!') || result.scriptBytes.startsWith('$');
    return result;
}

QList<QCommandLineOption> HelpAndVersionOptions()
{
    // As QCommandLineParser names them here ("-?" only on Windows).
    return {QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
            QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")})};
}

QCommandLineOption QuietOption()
{
    return QCommandLineOption(
        QStringLiteral("quiet"),
        QCoreApplication::translate("kesto32", "With ! or $: report failures only, no progress."));
}

QList<QCommandLineOption> ProgramOptions()
{
    return SeriesCommandOptions() + HelpAndVersionOptions() + QList{QuietOption()};
}

std::optional<int> RefuseCommandLine(const ArrangedArguments &arranged)
{
    const auto say = [](const QString &text) {
        const QByteArray bytes = text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    };
    if (!arranged.error.isEmpty()) {
        say(QStringLiteral("kesto32: ") + arranged.error + QLatin1Char('\n') +
            QCoreApplication::translate("kesto32", "Usage: kesto32 [options] [script]\n"
                                                   "Try 'kesto32 --help' for more information.\n"));
        return ExitUsage;
    }
    return std::nullopt;
}

std::optional<int> RefuseWindowWithoutDisplay(const ArrangedArguments &arranged)
{
    // The window needs a display; on a server, in cron or in CI only an unattended run can work.
    if (!arranged.batch && !arranged.helpOrVersion && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QByteArray text =
            QCoreApplication::translate(
                "kesto32",
                "kesto32: the window needs a display (DISPLAY or WAYLAND_DISPLAY); to run "
                "a job unattended, give its script with the prefix ! or $: "
                "kesto32 '!job.kst'\n")
                .toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return ExitUsage;
    }
    return std::nullopt;
}

bool WriteStandardOutput(const QByteArray &text)
{
    const bool written =
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

namespace {

QtMessageHandler previousHandler = nullptr;

// A fatal message still says why the program aborts.
void keepOnlyFatal(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg)
        previousHandler(type, context, message);
}

} // namespace

void DropQtNotesWhenUnattended(bool batchRun)
{
    if (batchRun || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        previousHandler = qInstallMessageHandler(keepOnlyFatal);
}

void ReadCommandLine(RunState &state, const QString &commandLine)
{
    if (!commandLine.isEmpty()) {
        state.BatchRunDated = commandLine.startsWith(QLatin1Char('$'));
        state.CommandLineScript = state.BatchRunDated ? commandLine.mid(1) : commandLine;
    }
    state.BatchRun = commandLine.startsWith(QLatin1Char('!'));
    if (state.BatchRun)
        state.CommandLineScript = commandLine.mid(1);
}

} // namespace kesto::ui
