#include "source_size.h"

#include "job/session.h"
#include "system/command_runner.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/textlines.h"

#include <QFile>
#include <QList>
#include <optional>

namespace kesto {

namespace {

const QByteArray TotalLine = QByteArrayLiteral("  Total of all files found");
const QString ErrorText = QStringLiteral("Error");
const QString NoSourceText = QStringLiteral("- Source size -");

enum class Form { Quiet, Browse };

void showSize(Session &session, const QString &text)
{
    session.svc.window->setSourceSizeText(text);
}

void setMeasuring(Session &session, bool busy)
{
    session.svc.window->setMeasuring(busy);
}

QString withoutLeadingBlanks(const QByteArray &line)
{
    // The tool writes the local 8-bit encoding; decoded here for display only.
    QString text = QString::fromLocal8Bit(line);
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == QLatin1Char(' '))
        ++blanks;
    return text.mid(blanks);
}

QString sizeCommandLine(const QString &shortSource, const QString &outputFile)
{
    return QStringLiteral("command.com /c ") + QLatin1Char('"') + paths::programDir() +
           QStringLiteral("/size.exe") + QLatin1Char('"') + QLatin1Char(' ') + shortSource +
           QStringLiteral(" /s /t> ") + CommandLineWord(outputFile);
}

// The summary of the whole tree, else of the source's own block; empty when neither is found.
// nullopt when the output cannot be read or ends right after a marker line.
std::optional<QString> summaryFrom(const QString &outputFile, const QString &shortSource)
{
    QFile file(outputFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<QByteArray> lines;
    LineReader reader(file);
    QByteArray line;
    while (reader.readLine(line))
        lines << line;
    if (reader.failed())
        return std::nullopt;

    const qsizetype total = lines.indexOf(TotalLine);
    if (total >= 0) {
        if (total + 1 >= lines.size())
            return std::nullopt;
        return withoutLeadingBlanks(lines.at(total + 1));
    }
    const QString header = shortSource.toUpper();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (QString::fromLocal8Bit(lines.at(i)).mid(2) != header)
            continue;
        if (i + 1 >= lines.size())
            return std::nullopt;
        return withoutLeadingBlanks(lines.at(i + 1));
    }
    return QString();
}

void measure(Session &session, Form form)
{
    const QString shortSource = paths::GetShortFileName(session.job.SourcePath);
    // Given no directory the size program would measure whatever directory it starts in.
    if (shortSource.isEmpty()) {
        showSize(session, NoSourceText);
        return;
    }
    // Beside an unattended run the fixed files are the run's: the size report is not replaced.
    if (!runlock::acquire()) {
        showSize(session, ErrorText);
        return;
    }
    showSize(session, QStringLiteral("Calculating files and size"));
    setMeasuring(session, true);
    session.serveEvents();

    const QString outputFile = paths::systemFile(QStringLiteral("size.txt"));
    // A stale report from an earlier measurement must not pass for this one.
    QFile::remove(outputFile);
    // Without our helper nothing is measured: a program of the same name elsewhere is another.
    if (!FindProgram(QStringLiteral("size")).isEmpty())
        session.svc.runner->execCmd(sizeCommandLine(shortSource, outputFile));

    const std::optional<QString> summary =
        QFile::exists(outputFile) ? summaryFrom(outputFile, shortSource) : std::nullopt;
    showSize(session, summary.value_or(ErrorText));
    setMeasuring(session, false);
    if (!summary && form == Form::Browse)
        session.error(QStringLiteral("Error calculating source bytes"), Icon::Stop);
}

} // namespace

void BrowseSource(Session &session)
{
    const std::optional<QString> chosen =
        session.svc.dialogs->pickFolder(QStringLiteral("Source directory"), QString());
    if (!chosen)
        return;
    session.job.SourcePath = paths::lowerPath(*chosen);
    session.job.SkipList.clear();
    session.jobChanged();
    if (session.job.SourcePath.isEmpty())
        return;
    measure(session, Form::Browse);
}

void CalculateSourceSize(Session &session)
{
    measure(session, Form::Quiet);
}

} // namespace kesto
