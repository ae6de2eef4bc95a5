#include "series_command.h"

#include "checksums.h"
#include "job/script.h"
#include "job/session.h"
#include "run_plan.h"
#include "run_preview.h"
#include "series.h"
#include "verify_series.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace kesto {

namespace {

// A command line the program cannot follow (sysexits' EX_USAGE).
constexpr int ExitUsage = 64;

const QCommandLineOption PlanOption(
    QStringLiteral("plan"),
    QStringLiteral("Print what a run of the job would do (archives, their entries, space, checks, "
                   "warnings) without writing anything. Prefix the script with $ for dated "
                   "names."),
    QStringLiteral("script"));
const QCommandLineOption VerifyOption(
    QStringLiteral("verify"),
    QStringLiteral("Check a finished series: an archive of it, or its directory with --name. One "
                   "line per problem; exit status 0 only for a complete, intact series."),
    QStringLiteral("path"));
const QCommandLineOption NameOption(QStringLiteral("name"),
                                    QStringLiteral("The series' zip name, with --verify or "
                                                   "--checksums on a directory."),
                                    QStringLiteral("zipname"));
const QCommandLineOption AgainstOption(
    QStringLiteral("against"),
    QStringLiteral("With --verify: unpack the series and compare it with this source directory, "
                   "byte for byte."),
    QStringLiteral("source"));
const QCommandLineOption JobOption(
    QStringLiteral("job"),
    QStringLiteral("With --verify: the job that made the series (its skip list, numbering and "
                   "nfo)."),
    QStringLiteral("script"));
const QCommandLineOption ChecksumsOption(
    QStringLiteral("checksums"),
    QStringLiteral("Write ZIPNAME.sfv and ZIPNAME.sha256 beside a finished series (kesto32 "
                   "--checksums PATH), or after a batch run (kesto32 --checksums '!job.kst')."));

void say(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

void complain(const QString &line)
{
    std::fputs(("kesto32: " + line).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

bool isBatchScript(const QString &argument)
{
    return argument.startsWith(QLatin1Char('!')) || argument.startsWith(QLatin1Char('$'));
}

std::optional<Series> findSeries(const QCommandLineParser &parser, const QString &path)
{
    QString why;
    const QString name = parser.value(NameOption);
    const QString where =
        !name.isEmpty() && QFileInfo(path).isFile() ? QFileInfo(path).absolutePath() : path;
    std::optional<Series> series = FindSeries(where, name, &why);
    if (!series)
        complain(why);
    return series;
}

int verify(const QCommandLineParser &parser)
{
    std::optional<Session> jobSession;
    if (parser.isSet(JobOption)) {
        jobSession.emplace();
        jobSession->state.BatchRun = true; // no message box
        jobSession->state.ScriptPath = parser.value(JobOption);
        if (const std::optional<RunFailure> failure = LoadScript(*jobSession)) {
            complain(parser.value(JobOption) + QStringLiteral(": ") + BatchReason(*failure));
            return ExitUsage;
        }
    }
    const std::optional<Series> series = findSeries(parser, parser.value(VerifyOption));
    if (!series)
        return 1;
    VerifyOptions options;
    options.against = parser.value(AgainstOption);
    if (!options.against.isEmpty() && !QFileInfo(options.against).isDir()) {
        complain(QStringLiteral("%1 is not a directory").arg(options.against));
        return ExitUsage;
    }
    options.job = jobSession ? &jobSession->job : nullptr;
    int status = 0;
    for (const QString &line : VerifySeriesReport(*series, options, &status))
        say(line);
    return status;
}

} // namespace

QStringList VerifySeriesReport(const Series &series, const VerifyOptions &options, int *status)
{
    QStringList lines;
    const VerifyReport report = VerifySeries(series, options);
    lines << report.problems;
    for (const QString &warning : report.warnings)
        lines << QStringLiteral("warning: ") + warning;
    const int archives = int(series.archives.size());
    if (report.problems.isEmpty()) {
        lines << QStringLiteral("%1: %2 archive(s), complete and intact%3")
                     .arg(series.base)
                     .arg(archives)
                     .arg(options.against.isEmpty() ? QString()
                                                    : QStringLiteral(", the same as the source"));
    } else {
        lines << QStringLiteral("%1: %2 problem(s) in a series of %3 archive(s) found")
                     .arg(series.base)
                     .arg(report.problems.size())
                     .arg(archives);
    }
    if (status)
        *status = report.problems.isEmpty() ? 0 : 1;
    return lines;
}

namespace {

int checksums(const QCommandLineParser &parser, const QString &path)
{
    const std::optional<Series> series = findSeries(parser, path);
    if (!series)
        return 1;
    QString why;
    if (!WriteManifests(*series, &why)) {
        complain(why);
        return ExitStatusOf(Failure::FileFailed);
    }
    say(QStringLiteral("%1 and %2 written for %3 archive(s)")
            .arg(SfvPath(*series), Sha256Path(*series))
            .arg(series->archives.size()));
    return 0;
}

} // namespace

QList<QCommandLineOption> SeriesCommandOptions()
{
    return {PlanOption, VerifyOption, NameOption, AgainstOption, JobOption, ChecksumsOption};
}

std::optional<int> RunSeriesCommand(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.addOptions(SeriesCommandOptions());
    // The program's own parser reports what is not ours.
    parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();
    const bool checksumsOfSeries =
        parser.isSet(ChecksumsOption) && !(positional.size() == 1 && isBatchScript(positional[0]));
    if (!parser.isSet(PlanOption) && !parser.isSet(VerifyOption) && !checksumsOfSeries)
        return std::nullopt;

    std::optional<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kesto32"));
    if (!parser.parse(arguments)) {
        complain(parser.errorText());
        return ExitUsage;
    }
    const int commands =
        int(parser.isSet(PlanOption)) + int(parser.isSet(VerifyOption)) + int(checksumsOfSeries);
    if (commands != 1) {
        complain(QStringLiteral("give one of --plan, --verify and --checksums"));
        return ExitUsage;
    }
    if (parser.isSet(PlanOption)) {
        if (!positional.isEmpty()) {
            complain(QStringLiteral("--plan takes one script"));
            return ExitUsage;
        }
        return PrintRunPreview(parser.value(PlanOption));
    }
    if (parser.isSet(VerifyOption)) {
        if (!positional.isEmpty()) {
            complain(QStringLiteral("--verify takes one path"));
            return ExitUsage;
        }
        return verify(parser);
    }
    if (positional.size() != 1) {
        complain(QStringLiteral("--checksums takes one archive of a series, or a directory with "
                                "--name"));
        return ExitUsage;
    }
    return checksums(parser, positional[0]);
}

bool WriteRunManifests(Session &session, int volumeCount, QString *why)
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
        return false;
    // Archives of an earlier, longer run of the same name are not this series.
    series->archives.removeIf(
        [&](const SeriesArchive &archive) { return archive.number > volumeCount; });
    return WriteManifests(*series, why);
}

} // namespace kesto
