#include "program_arguments.h"

#include "job/run_state.h"

#include <QByteArray>

namespace kesto::ui {

QStringList ParserArguments(const QStringList &arguments, const QList<QCommandLineOption> &own)
{
    QStringList ownWords;
    for (const QCommandLineOption &option : own) {
        for (const QString &name : option.names())
            ownWords << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    // The help option also answers to --help-all.
    if (ownWords.contains(QStringLiteral("--help")))
        ownWords << QStringLiteral("--help-all");

    QStringList result = arguments;
    for (qsizetype i = 1; i < result.size(); ++i) {
        if (!ownWords.contains(result.at(i))) {
            result.insert(i, QStringLiteral("--"));
            break;
        }
    }
    return result;
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
