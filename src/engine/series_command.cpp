#include "series_command.h"

#include "checksums.h"
#include "job/script.h"
#include "job/session.h"
#include "recovery_set.h"
#include "run_plan.h"
#include "run_preview.h"
#include "series.h"
#include "system/figures.h"
#include "system/recovery_tool.h"
#include "system/stop_signals.h"
#include "verify_series.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace kesto {

namespace {

// A command line the program cannot follow (sysexits' EX_USAGE); output that cannot be written
// (EX_IOERR).
constexpr int ExitUsage = 64;
constexpr int ExitOutputError = 74;

const QCommandLineOption
    PlanOption(QStringLiteral("plan"),
               QString::fromUtf8(QT_TRANSLATE_NOOP(
                   "SeriesCommand",
                   "Print what a run of the job would do (archives, their entries, space, checks, "
                   "warnings) without writing anything. Prefix the script with $ for dated "
                   "names.")),
               QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "script")));
const QCommandLineOption
    VerifyOption(QStringLiteral("verify"),
                 QString::fromUtf8(QT_TRANSLATE_NOOP(
                     "SeriesCommand",
                     "Check a finished series: an archive of it, or its directory with --name. One "
                     "line per problem; exit status 0 only for a complete, intact series.")),
                 QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "path")));
const QCommandLineOption NameOption(
    QStringLiteral("name"),
    QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand",
                                        "The series' zip name, with --verify, --checksums or "
                                        "--recovery on a directory.")),
    QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "zipname")));
const QCommandLineOption
    AgainstOption(QStringLiteral("against"),
                  QString::fromUtf8(QT_TRANSLATE_NOOP(
                      "SeriesCommand",
                      "With --verify: unpack the series and compare it with this source directory, "
                      "byte for byte.")),
                  QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "source")));
const QCommandLineOption
    JobOption(QStringLiteral("job"),
              QString::fromUtf8(QT_TRANSLATE_NOOP(
                  "SeriesCommand",
                  "With --verify: the job that made the series (its skip list, numbering and "
                  "nfo).")),
              QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "script")));
const QCommandLineOption ChecksumsOption(
    QStringLiteral("checksums"),
    QString::fromUtf8(QT_TRANSLATE_NOOP(
        "SeriesCommand",
        "Write ZIPNAME.sfv and ZIPNAME.sha256 beside a finished series (kesto32 "
        "--checksums PATH), or after a batch run (kesto32 --checksums '!job.kst').")));

const QCommandLineOption RecoveryOption(
    QStringLiteral("recovery"),
    QString::fromUtf8(QT_TRANSLATE_NOOP(
        "SeriesCommand",
        "Write a recovery set of N percent (1 to 100) with par2: ZIPNAME.par2 and its volume "
        "files beside a finished series that verifies (kesto32 --recovery 10 PATH), after a "
        "completed batch run (kesto32 --recovery 10 '!job.kst'), or shown by --plan.")),
    QStringLiteral("N"));

void complain(const QString &line)
{
    std::fputs(("kesto32: " + line).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

bool isBatchScript(const QString &argument)
{
    return argument.startsWith(QLatin1Char('!')) || argument.startsWith(QLatin1Char('$'));
}

void print(const CommandReport &report)
{
    PrintCommandReport(report);
}

std::optional<Series> findSeries(const QString &path, const QString &name, QStringList &errors)
{
    QString why;
    const QString where =
        !name.isEmpty() && QFileInfo(path).isFile() ? QFileInfo(path).absolutePath() : path;
    std::optional<Series> series = FindSeries(where, name, &why);
    if (!series)
        errors << why;
    return series;
}

} // namespace

CommandReport VerifyCommand(const QString &path, const QString &name, const QString &against,
                            const QString &jobScript)
{
    CommandReport out;
    std::optional<Session> jobSession;
    if (!jobScript.isEmpty()) {
        jobSession.emplace();
        jobSession->state.BatchRun = true; // no message box
        jobSession->state.ScriptPath = jobScript;
        if (const std::optional<RunFailure> failure = LoadScript(*jobSession)) {
            out.errors << jobScript + QStringLiteral(": ") + BatchReason(*failure);
            out.status = ExitUsage;
            return out;
        }
    }
    const std::optional<Series> series = findSeries(path, name, out.errors);
    if (!series) {
        out.status = 1;
        return out;
    }
    VerifyOptions options;
    options.against = against;
    if (!options.against.isEmpty() && !QFileInfo(options.against).isDir()) {
        out.errors << QCoreApplication::translate("SeriesCommand", "%1 is not a directory")
                          .arg(options.against);
        out.status = ExitUsage;
        return out;
    }
    options.job = jobSession ? &jobSession->job : nullptr;
    return VerifySeriesReport(*series, options);
}

CommandReport VerifySeriesReport(const Series &series, const VerifyOptions &options)
{
    CommandReport out;
    const VerifyReport report = VerifySeries(series, options);
    if (report.stopSignal) {
        out.errors << QCoreApplication::translate("SeriesCommand",
                                                  "stopped by signal %1; the check is incomplete")
                          .arg(report.stopSignal);
        out.status = 128 + report.stopSignal;
        return out;
    }
    out.lines << report.problems;
    for (const QString &warning : report.warnings)
        out.lines << QCoreApplication::translate("SeriesCommand", "warning: %1").arg(warning);
    if (report.problems.isEmpty()) {
        out.lines << (options.against.isEmpty()
                          ? QCoreApplication::translate("SeriesCommand",
                                                        "%1: %2 archive(s), complete and intact")
                          : QCoreApplication::translate(
                                "SeriesCommand",
                                "%1: %2 archive(s), complete and intact, the same as the source"))
                         .arg(series.base)
                         .arg(report.length);
        out.status = 0;
        return out;
    }
    out.lines << QCoreApplication::translate("SeriesCommand",
                                             "%1: %2 problem(s) in a series of %3 archive(s)")
                     .arg(series.base)
                     .arg(report.problems.size())
                     .arg(report.length);
    out.status = 1;
    return out;
}

CommandReport ChecksumsCommand(const QString &path, const QString &name)
{
    CommandReport out;
    std::optional<Series> series = findSeries(path, name, out.errors);
    if (!series) {
        out.status = 1;
        return out;
    }
    // Exactly one series: archives beyond the last one its volumes need are not of it.
    if (const int length = SeriesLength(*series); length > 0) {
        for (const SeriesArchive &archive : std::as_const(series->archives)) {
            if (archive.number > length)
                out.errors << QCoreApplication::translate(
                                  "SeriesCommand",
                                  "%1: stale archive beyond the end of the series, left out")
                                  .arg(archive.name);
        }
        series->archives.removeIf(
            [length](const SeriesArchive &archive) { return archive.number > length; });
    }
    QString why;
    if (!WriteManifests(*series, &why)) {
        out.errors << why;
        out.status = ExitStatusOf(Failure::FileFailed);
        return out;
    }
    out.lines << QCoreApplication::translate("SeriesCommand", "%1 and %2 written for %3 archive(s)")
                     .arg(SfvPath(*series), Sha256Path(*series))
                     .arg(series->archives.size());
    return out;
}

CommandReport RecoveryCommand(const QString &path, const QString &name, int percent)
{
    CommandReport out;
    std::optional<Series> series = findSeries(path, name, out.errors);
    if (!series) {
        out.status = 1;
        return out;
    }
    // Said before the check, which may take minutes: without par2 nothing can come of it.
    if (Par2Program().isEmpty()) {
        out.errors << Par2MissingText();
        out.status = ExitStatusOf(Failure::RecoveryMissing);
        return out;
    }
    // A set made for damaged archives would rebuild the damage: only a series that checks out.
    const VerifyReport report = VerifySeries(*series, {});
    if (report.stopSignal) {
        out.errors << QCoreApplication::translate("SeriesCommand",
                                                  "stopped by signal %1; nothing was written")
                          .arg(report.stopSignal);
        out.status = 128 + report.stopSignal;
        return out;
    }
    if (!report.problems.isEmpty()) {
        out.errors << report.problems;
        out.errors << QCoreApplication::translate(
                          "SeriesCommand",
                          "%1: %2 problem(s); no recovery set written for a series that does not "
                          "verify")
                          .arg(series->base, QString::number(report.problems.size()));
        out.status = 1;
        return out;
    }
    if (report.length > 0)
        series->archives.removeIf(
            [&](const SeriesArchive &archive) { return archive.number > report.length; });
    RecoveryWritten written;
    if (const std::optional<RunFailure> failure = WriteRecoverySet(*series, percent, &written)) {
        if (failure->kind == Failure::Stopped) {
            out.errors << QCoreApplication::translate("SeriesCommand",
                                                      "stopped by signal %1; nothing was written")
                              .arg(CaughtStopSignal());
            out.status = 128 + CaughtStopSignal();
            return out;
        }
        out.errors << failure->detail;
        out.status = ExitStatusOf(failure->kind);
        return out;
    }
    for (const QString &path : std::as_const(written.removed))
        out.lines << QCoreApplication::translate("SeriesCommand",
                                                 "removed %1, of an earlier recovery set")
                         .arg(path);
    out.lines << RecoverySummary(*series, written, percent);
    return out;
}

QString RecoverySummary(const Series &series, const RecoveryWritten &written, int percent)
{
    qint64 seriesBytes = 0;
    for (const SeriesArchive &archive : series.archives)
        seriesBytes += QFileInfo(archive.path).size();
    //: %1 the index file's path, %2 the percentage asked for, %3 the number of files, %4 their
    //: bytes, %5 their share of the archives' bytes, %6 the number of archives
    return QCoreApplication::translate(
               "SeriesCommand",
               "%1 written (%2 %): %3 file(s), %4 bytes, %5 % of the %6 archive(s)")
        // In one pass: a path may hold a '%'.
        .arg(QDir(series.dir).filePath(RecoveryIndexName(series.base)), QString::number(percent),
             QString::number(written.files.size()), GroupedNumber(written.bytes),
             QString::number(seriesBytes > 0 ? double(written.bytes) * 100.0 / double(seriesBytes)
                                             : 0.0,
                             'f', 1),
             QString::number(series.archives.size()));
}

namespace {

int verify(const QCommandLineParser &parser)
{
    StopSignals stopSignals;
    const CommandReport report =
        VerifyCommand(parser.value(VerifyOption), parser.value(NameOption),
                      parser.value(AgainstOption), parser.value(JobOption));
    print(report);
    return report.status;
}

int checksums(const QCommandLineParser &parser, const QString &path)
{
    const CommandReport report = ChecksumsCommand(path, parser.value(NameOption));
    print(report);
    return report.status;
}

int recovery(const QCommandLineParser &parser, const QString &path, int percent)
{
    StopSignals stopSignals;
    const CommandReport report = RecoveryCommand(path, parser.value(NameOption), percent);
    print(report);
    return report.status;
}

// The --recovery value, 0 without the option; nullopt when it is refused (said).
std::optional<int> recoveryPercent(const QCommandLineParser &parser)
{
    if (!parser.isSet(RecoveryOption))
        return 0;
    const QString value = parser.value(RecoveryOption);
    if (const int percent = RecoveryPercentOf(value))
        return percent;
    complain(RecoveryPercentRefusal(value));
    return std::nullopt;
}

// A directory names a series only with its zip name.
bool lacksName(const QCommandLineParser &parser, const QString &path)
{
    if (parser.isSet(NameOption) || !QFileInfo(path).isDir())
        return false;
    complain(QCoreApplication::translate("SeriesCommand",
                                         "%1 is a directory: give the series' zip name "
                                         "with --name")
                 .arg(path));
    return true;
}

int runCommand(const QCommandLineParser &parser, const QStringList &positional)
{
    const std::optional<int> percent = recoveryPercent(parser);
    if (!percent)
        return ExitUsage;
    if (parser.isSet(PlanOption)) {
        if (!positional.isEmpty()) {
            complain(QCoreApplication::translate("SeriesCommand", "--plan takes one script"));
            return ExitUsage;
        }
        return PrintRunPreview(parser.value(PlanOption), *percent);
    }
    if (parser.isSet(VerifyOption)) {
        if (!positional.isEmpty()) {
            complain(QCoreApplication::translate("SeriesCommand", "--verify takes one path"));
            return ExitUsage;
        }
        if (lacksName(parser, parser.value(VerifyOption)))
            return ExitUsage;
        return verify(parser);
    }
    if (positional.size() != 1) {
        complain((parser.isSet(ChecksumsOption)
                      ? QCoreApplication::translate("SeriesCommand",
                                                    "--checksums takes one archive of a series, "
                                                    "or a directory with --name")
                      : QCoreApplication::translate("SeriesCommand",
                                                    "--recovery takes one archive of a series, "
                                                    "or a directory with --name")));
        return ExitUsage;
    }
    if (lacksName(parser, positional[0]))
        return ExitUsage;
    if (parser.isSet(ChecksumsOption))
        return checksums(parser, positional[0]);
    return recovery(parser, positional[0], *percent);
}

} // namespace

QList<QCommandLineOption> SeriesCommandOptions()
{
    QList<QCommandLineOption> options{PlanOption, VerifyOption,    NameOption,    AgainstOption,
                                      JobOption,  ChecksumsOption, RecoveryOption};
    for (QCommandLineOption &option : options) {
        option.setDescription(
            QCoreApplication::translate("SeriesCommand", option.description().toUtf8()));
        if (!option.valueName().isEmpty())
            option.setValueName(
                QCoreApplication::translate("SeriesCommand", option.valueName().toUtf8()));
    }
    return options;
}

namespace {

// --checksums and --recovery work on a finished series unless they come with a batch run (or,
// --recovery, with --plan).
int seriesCommands(const QCommandLineParser &parser)
{
    const QStringList positional = parser.positionalArguments();
    const bool withRun = positional.size() == 1 && isBatchScript(positional[0]);
    return int(parser.isSet(ChecksumsOption) && !withRun) +
           int(parser.isSet(RecoveryOption) && !withRun && !parser.isSet(PlanOption));
}

} // namespace

bool IsSeriesCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions(SeriesCommandOptions());
    // The program's own parser reports what is not ours.
    parser.parse(arguments);
    // --name, --against and --job mean nothing alone: they go to the check below.
    return parser.isSet(PlanOption) || parser.isSet(VerifyOption) || seriesCommands(parser) > 0 ||
           parser.isSet(NameOption) || parser.isSet(AgainstOption) || parser.isSet(JobOption);
}

std::optional<int> RunSeriesCommand(int &argc, char **argv, const QStringList &arguments)
{
    if (!IsSeriesCommand(arguments))
        return std::nullopt;
    QCommandLineParser parser;
    parser.addOptions(SeriesCommandOptions());
    parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();

    std::optional<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kesto32"));
    if (!parser.parse(arguments)) {
        complain(parser.errorText());
        return ExitUsage;
    }
    const int commands =
        int(parser.isSet(PlanOption)) + int(parser.isSet(VerifyOption)) + seriesCommands(parser);
    if (commands != 1) {
        complain(QCoreApplication::translate(
            "SeriesCommand", "give one of --plan, --verify, --checksums and --recovery"));
        return ExitUsage;
    }
    const int status = runCommand(parser, positional);
    // What was printed is the command's result: output that could not be written fails it.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QCoreApplication::translate("SeriesCommand", "standard output cannot be written"));
        return status == 0 ? ExitOutputError : status;
    }
    return status;
}

std::optional<Series> RunWrittenSeries(const Session &session, int volumeCount, QString *why)
{
    const JobSettings &job = session.job;
    const RunState &state = session.state;
    const QString stamp = state.BatchRunDated ? DateStamp(QDate::currentDate()) : QString();
    const QString dir =
        OutputBase(job.ZipDir).isEmpty() ? QStringLiteral("/") : OutputBase(job.ZipDir);
    const QString base = job.ZipName + stamp;
    std::optional<Series> series =
        job.VolumeSizeSetting == 0 ? Series{dir,
                                            base,
                                            true,
                                            {{1, base + QStringLiteral(".zip"),
                                              QDir(dir).filePath(base + QStringLiteral(".zip"))}}}
                                   : FindSeries(dir, base, why);
    if (!series)
        return std::nullopt;
    // Archives of an earlier, longer run of the same name are not this series.
    series->archives.removeIf(
        [&](const SeriesArchive &archive) { return archive.number > volumeCount; });
    return series;
}

bool WriteRunManifests(Session &session, int volumeCount, QString *why)
{
    const std::optional<Series> series = RunWrittenSeries(session, volumeCount, why);
    return series && WriteManifests(*series, why);
}

std::optional<int> RecoveryPercentOption(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions(SeriesCommandOptions());
    parser.parse(arguments);
    return recoveryPercent(parser);
}

} // namespace kesto
