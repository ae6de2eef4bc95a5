#include "source_size.h"

#include "job/session.h"
#include "system/command_runner.h"
#include "system/figures.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/textlines.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <optional>

namespace kesto {

namespace {

const QByteArray TotalLine = QByteArrayLiteral("  Total of all files found");
// Translated where shown: the catalogue is loaded after these are made.
const char *const ErrorText = QT_TRANSLATE_NOOP("SourceSize", "Error");
const char *const NoSourceText = QT_TRANSLATE_NOOP("SourceSize", "- Source size -");

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

// The size program's summary ("1,234 files, 5 bytes in 17 directories", or its first part)
// in the user's language and number format; any other text as it is.
QString localSummary(const QString &summary)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^([\d,]+) files?(?:, ([\d,]+) bytes?(?: in ([\d,]+) director(?:y|ies))?)?$)"));
    const QRegularExpressionMatch match = form.match(summary);
    if (!match.hasMatch())
        return summary;
    const auto count = [&](int group, const char *one, const char *many) {
        const qint64 n = match.captured(group).remove(QLatin1Char(',')).toLongLong();
        return QCoreApplication::translate("SourceSize", n == 1 ? one : many).arg(GroupedNumber(n));
    };
    const QString files = count(1, QT_TRANSLATE_NOOP("SourceSize", "%1 file"),
                                QT_TRANSLATE_NOOP("SourceSize", "%1 files"));
    if (!match.hasCaptured(2))
        return files;
    const QString bytes = count(2, QT_TRANSLATE_NOOP("SourceSize", "%1 byte"),
                                QT_TRANSLATE_NOOP("SourceSize", "%1 bytes"));
    if (!match.hasCaptured(3))
        return QCoreApplication::translate("SourceSize", "%1, %2").arg(files, bytes);
    const QString directories = count(3, QT_TRANSLATE_NOOP("SourceSize", "%1 directory"),
                                      QT_TRANSLATE_NOOP("SourceSize", "%1 directories"));
    //: Files, bytes and directories of the source, as in "5 files, 1,200 bytes in 2 directories"
    return QCoreApplication::translate("SourceSize", "%1, %2 in %3").arg(files, bytes, directories);
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
        return localSummary(withoutLeadingBlanks(lines.at(total + 1)));
    }
    const QString header = shortSource.toUpper();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (QString::fromLocal8Bit(lines.at(i)).mid(2) != header)
            continue;
        if (i + 1 >= lines.size())
            return std::nullopt;
        return localSummary(withoutLeadingBlanks(lines.at(i + 1)));
    }
    return QString();
}

void measure(Session &session, Form form)
{
    const QString shortSource = paths::GetShortFileName(session.job.SourcePath);
    // Given no directory the size program would measure whatever directory it starts in.
    if (shortSource.isEmpty()) {
        showSize(session, QCoreApplication::translate("SourceSize", NoSourceText));
        return;
    }
    // Beside an unattended run the fixed files are the run's: the size report is not replaced.
    if (!runlock::acquire()) {
        showSize(session, QCoreApplication::translate("SourceSize", ErrorText));
        return;
    }
    showSize(session, QCoreApplication::translate("SourceSize", "Calculating files and size"));
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
    showSize(session, summary.value_or(QCoreApplication::translate("SourceSize", ErrorText)));
    setMeasuring(session, false);
    if (!summary && form == Form::Browse)
        session.error(QCoreApplication::translate("SourceSize", "Error calculating source bytes"),
                      Icon::Stop);
}

} // namespace

void BrowseSource(Session &session)
{
    const std::optional<QString> chosen = session.svc.dialogs->pickFolder(
        QCoreApplication::translate("SourceSize", "Source directory"), QString());
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
