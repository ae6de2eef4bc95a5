#include "series_command.h"

#include "checksums.h"
#include "job/script.h"
#include "job/session.h"
#include "recovery_set.h"
#include "run_plan.h"
#include "run_preview.h"
#include "series.h"
#include "series_repair.h"
#include "system/figures.h"
#include "system/recovery_tool.h"
#include "system/stop_signals.h"
#include "system/timings.h"
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
// --repair: par2 is missing or failed, or the rebuilt archives could not be put in place.
constexpr int ExitRepairFailed = 6;

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
                     "line per problem; exit status 0 only for a complete, intact series, 2 when "
                     "its recovery set can repair every problem.")),
                 QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "path")));
const QCommandLineOption
    RepairOption(QStringLiteral("repair"),
                 QString::fromUtf8(QT_TRANSLATE_NOOP(
                     "SeriesCommand",
                     "Rebuild the damaged and missing archives of a finished series from its "
                     "recovery set (ZIPNAME.par2), then check it as --verify does; exit status 0 "
                     "only when it verifies.")),
                 QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "path")));
const QCommandLineOption
    NameOption(QStringLiteral("name"),
               QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand",
                                                   "The series' zip name, with --verify, --repair, "
                                                   "--checksums or --recovery on a directory.")),
               QString::fromUtf8(QT_TRANSLATE_NOOP("SeriesCommand", "zipname")));
const QCommandLineOption
    AgainstOption(QStringLiteral("against"),
                  QString::fromUtf8(QT_TRANSLATE_NOOP(
                      "SeriesCommand",
                      "With --verify: compare the series with this source directory byte for byte, "
                      "as 7-Zip streams it (nothing is unpacked to disk).")),
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

namespace {

CommandReport stoppedReport(int signal)
{
    CommandReport out;
    out.errors << QCoreApplication::translate("SeriesCommand",
                                              "stopped by signal %1; the check is incomplete")
                      .arg(signal);
    out.status = 128 + signal;
    return out;
}

struct CheckResult {
    VerifyReport report;
    RecoveryVerdict verdict;
};

CommandReport reportOf(const Series &series, const VerifyOptions &options,
                       const CheckResult &checked)
{
    CommandReport out;
    const VerifyReport &report = checked.report;
    const RecoveryVerdict &verdict = checked.verdict;
    out.lines << verdict.problems;
    for (const QString &warning : report.warnings + verdict.warnings)
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
    if (!verdict.summary.isEmpty())
        out.lines << verdict.summary;
    out.status = verdict.repairable ? VerifyRepairableStatus : 1;
    return out;
}

// The whole check, then (withRecovery) the recovery set's verdict on what it found.
std::optional<CheckResult> check(const Series &series, const VerifyOptions &options,
                                 int &stopSignal, bool withRecovery = true)
{
    CheckResult checked;
    checked.report = VerifySeries(series, options);
    stopSignal = checked.report.stopSignal;
    if (stopSignal)
        return std::nullopt;
    if (!withRecovery) {
        checked.verdict.problems = checked.report.problems;
        return checked;
    }
    checked.verdict = AssessRecovery(series, checked.report);
    stopSignal = checked.verdict.stopSignal;
    if (stopSignal)
        return std::nullopt;
    return checked;
}

} // namespace

CommandReport VerifySeriesReport(const Series &series, const VerifyOptions &options)
{
    int stopSignal = 0;
    const std::optional<CheckResult> checked = check(series, options, stopSignal);
    return checked ? reportOf(series, options, *checked) : stoppedReport(stopSignal);
}

CommandReport RepairSeriesReport(const Series &series)
{
    const VerifyOptions options;
    CommandReport out;
    int stopSignal = 0;
    timings::mark("repair-check-start");
    const std::optional<CheckResult> checked = check(series, options, stopSignal);
    timings::mark("repair-check-end");
    if (!checked)
        return stoppedReport(stopSignal);
    const RecoveryVerdict &verdict = checked->verdict;
    const auto nothingChanged = [&](const QString &why, int status) {
        CommandReport refused = reportOf(series, options, *checked);
        refused.errors
            << QCoreApplication::translate("SeriesCommand", "%1; nothing changed").arg(why);
        refused.status = status;
        return refused;
    };
    if (verdict.files.isEmpty())
        return nothingChanged(
            QCoreApplication::translate("SeriesCommand", "%1: no recovery set beside the series")
                .arg(RecoveryIndexName(series.base)),
            1);
    if (!verdict.checked)
        return nothingChanged(verdict.warnings.value(0), ExitRepairFailed);
    if (checked->report.problems.isEmpty()) {
        out = reportOf(series, options, *checked);
        out.lines << QCoreApplication::translate("SeriesCommand", "nothing to repair");
        return out;
    }
    if (!verdict.refusal.isEmpty())
        return nothingChanged(verdict.refusal, 1);
    if (!verdict.repairable)
        return nothingChanged(
            verdict.summary.isEmpty()
                ? QCoreApplication::translate("SeriesCommand",
                                              "the recovery set cannot repair these problems")
                : verdict.summary,
            1);

    timings::mark("repair-start");
    const RepairOutcome repair = RepairArchives(series, verdict);
    timings::mark("repair-end");
    out.lines << repair.lines;
    out.errors << repair.errors;
    if (repair.stopSignal) {
        out.errors << QCoreApplication::translate("SeriesCommand",
                                                  "stopped by signal %1; no archive was changed")
                          .arg(repair.stopSignal);
        out.status = 128 + repair.stopSignal;
        return out;
    }
    if (!repair.errors.isEmpty()) {
        out.status = repair.par2Failed ? ExitRepairFailed : 1;
        return out;
    }
    // The repaired series is what counts: the whole check again.
    QString why;
    const std::optional<Series> again = FindSeries(series.dir, series.base, &why);
    if (!again) {
        out.errors << why;
        out.status = 1;
        return out;
    }
    // par2 has checked what it rebuilt against the set: the series' own check is what is left.
    timings::mark("repair-verify-start");
    const std::optional<CheckResult> after = check(*again, options, stopSignal, false);
    timings::mark("repair-verify-end");
    if (!after) {
        out.errors << stoppedReport(stopSignal).errors;
        out.status = 128 + stopSignal;
        return out;
    }
    const CommandReport afterReport = reportOf(*again, options, *after);
    out.lines << afterReport.lines;
    out.status = afterReport.status == 0 ? 0 : 1;
    return out;
}

CommandReport RepairCommand(const QString &path, const QString &name)
{
    CommandReport out;
    const std::optional<Series> series = findSeries(path, name, out.errors);
    if (!series) {
        out.status = 1;
        return out;
    }
    if (Par2Program().isEmpty() && !RecoveryFiles(series->dir, series->base).isEmpty()) {
        out.errors << Par2MissingText();
        out.status = ExitRepairFailed;
        return out;
    }
    return RepairSeriesReport(*series);
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

int repair(const QCommandLineParser &parser)
{
    StopSignals stopSignalsDuringRepair;
    const CommandReport report =
        RepairCommand(parser.value(RepairOption), parser.value(NameOption));
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
    StopSignals stopSignalsDuringRecovery;
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
    if (parser.isSet(RepairOption)) {
        if (!positional.isEmpty()) {
            complain(QCoreApplication::translate("SeriesCommand", "--repair takes one path"));
            return ExitUsage;
        }
        if (lacksName(parser, parser.value(RepairOption)))
            return ExitUsage;
        return repair(parser);
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
    QList<QCommandLineOption> options{PlanOption,    VerifyOption, RepairOption,    NameOption,
                                      AgainstOption, JobOption,    ChecksumsOption, RecoveryOption};
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
    return parser.isSet(PlanOption) || parser.isSet(VerifyOption) || parser.isSet(RepairOption) ||
           seriesCommands(parser) > 0 || parser.isSet(NameOption) || parser.isSet(AgainstOption) ||
           parser.isSet(JobOption);
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
    const int commands = int(parser.isSet(PlanOption)) + int(parser.isSet(VerifyOption)) +
                         int(parser.isSet(RepairOption)) + seriesCommands(parser);
    if (commands != 1) {
        complain(QCoreApplication::translate(
            "SeriesCommand", "give one of --plan, --verify, --repair, --checksums and --recovery"));
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
