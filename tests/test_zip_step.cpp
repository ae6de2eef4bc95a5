#include "engine/packaging_run.h"
#include "engine/run_plan.h"
#include "engine/zip_step.h"
#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/paths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

const QByteArray description = "  Tool  \r\n  the whole tree  \r\n";
const QStringList extras{"logo", "readme.txt"};

// A job whose every file exists: description without numbering, nfo, an extra directory.
void setUpJob(TestSession &ts)
{
    JobSettings &job = ts.session.job;
    job.SourcePath = ts.path(QStringLiteral("source/"));
    QDir().mkpath(job.SourcePath);
    ts.writeFile(QStringLiteral("source/a.txt"), "a");
    job.DizPath = ts.writeFile(QStringLiteral("input/my.diz"), description);
    job.DizAutoNumber = false;
    job.DizNoneSelected = true;
    job.NfoPath = ts.writeFile(QStringLiteral("input/tool.nfo"), "Tool\r\n");
    job.NfoFirstOnly = 1;
    ts.writeFile(QStringLiteral("extras/readme.txt"), "read me");
    ts.writeFile(QStringLiteral("extras/logo"), "logo");
    ts.writeFile(QStringLiteral("extras/sub/deep.txt"), "not this");
    job.ExtraIsFile = false;
    job.ExtraIsDirectory = true;
    job.ExtraPath = ts.path(QStringLiteral("extras"));
    job.ZipDir = ts.path(QStringLiteral("out/"));
    QDir().mkpath(job.ZipDir);
    job.ZipName = QStringLiteral("tool");
    job.VolumeSizeSetting = 3;
}

QByteArray volumeBytes(int volume)
{
    return randomBytes(150'000, quint32(volume));
}

// What the archiver leaves: the named volumes in a fresh work directory.
bool makeVolumes(TestSession &ts, const QStringList &names)
{
    RunState &state = ts.session.state;
    state.WorkDir = MakeWorkDir(ts.systemDir());
    if (state.WorkDir.isEmpty())
        return false;
    for (int i = 0; i < names.size(); ++i) {
        QFile file(paths::join(state.WorkDir, names[i]));
        const QByteArray bytes = volumeBytes(i + 1);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    state.RunInProgress = true;
    return true;
}

QStringList threeVolumeNames()
{
    return {"tool.001", "tool.002", "tool.003"};
}

QString out(TestSession &ts, const QString &archive)
{
    return paths::join(ts.session.job.ZipDir, archive);
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList expectedEntries(const QString &volume, bool withNfo)
{
    QStringList names = QStringList{volume, "file_id.diz"} + extras;
    if (withNfo)
        names << QStringLiteral("tool.nfo");
    return sorted(names);
}

} // namespace

class ZipStepTest : public QObject {
    Q_OBJECT

private slots:
    void init() { savedDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(savedDir_); }

    void volumesInTheirOrder_data();
    void volumesInTheirOrder();
    void threeVolumes_data();
    void threeVolumes();
    void unlimitedArchive();
    void extraForms_data();
    void extraForms();
    void noVolumesStillCompletes();
    void buttonStopsSecondArchive_data();
    void buttonStopsSecondArchive();
    void vanishedFileEndsTheRun_data();
    void vanishedFileEndsTheRun();
    void wholeRunFromTheMenu();

private:
    QString savedDir_;
};

void ZipStepTest::volumesInTheirOrder_data()
{
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("past 999") << QStringList{"tool.1000", "tool.010", "tool.999", "tool.001",
                                             "tool.002"}
                              << QStringList{"tool.001", "tool.002", "tool.010", "tool.999",
                                             "tool.1000"};
    QTest::newRow("unlimited archive") << QStringList{"tool.rar"} << QStringList{"tool.rar"};
    QTest::newRow("dotted base name")
        << QStringList{"my.tool.002", "my.tool.001"} << QStringList{"my.tool.001", "my.tool.002"};
}

void ZipStepTest::volumesInTheirOrder()
{
    QFETCH(QStringList, listed);
    QFETCH(QStringList, ordered);
    QCOMPARE(InVolumeOrder(listed), ordered);
}

void ZipStepTest::threeVolumes_data()
{
    QTest::addColumn<int>("nfoFirstOnly");
    QTest::addColumn<bool>("nfoInLaterArchives");

    QTest::newRow("nfo in the first only") << 1 << false;
    QTest::newRow("nfo in every archive") << 0 << true;
    QTest::newRow("greyed: nfo in every archive") << 2 << true;
}

void ZipStepTest::threeVolumes()
{
    QFETCH(int, nfoFirstOnly);
    QFETCH(bool, nfoInLaterArchives);
    TestSession ts;
    setUpJob(ts);
    ts.session.job.NfoFirstOnly = qint16(nfoFirstOnly);
    QVERIFY(makeVolumes(ts, threeVolumeNames()));
    const QString workDir = ts.session.state.WorkDir;
    QList<QPair<QString, QString>> texts;
    ts.window.onServe = [&] {
        const QPair<QString, QString> now{ts.window.archiveText, ts.window.volumeText};
        if (texts.isEmpty() || texts.last() != now)
            texts << now;
    };

    QVERIFY(!RunZipStep(ts.session, RunPlan{}));

    for (int volume = 1; volume <= 3; ++volume) {
        const QString archive = out(ts, QStringLiteral("tool00%1.zip").arg(volume));
        const QString volumeName = QStringLiteral("tool.00%1").arg(volume);
        QVERIFY2(unzipTests(archive), qPrintable(archive));
        QCOMPARE(sorted(unzipNames(archive)),
                 expectedEntries(volumeName, volume == 1 || nfoInLaterArchives));
        QCOMPARE(unzipContent(archive, volumeName), volumeBytes(volume));
        QCOMPARE(unzipContent(archive, QStringLiteral("file_id.diz")), description);
        QCOMPARE(unzipContent(archive, QStringLiteral("readme.txt")), QByteArray("read me"));
    }
    QCOMPARE(entriesOf(ts.session.job.ZipDir),
             (QStringList{"tool001.zip", "tool002.zip", "tool003.zip"}));

    QVERIFY(!QFileInfo::exists(workDir));
    QCOMPARE(QDir::currentPath(), QDir(ts.systemDir()).canonicalPath());
    const RunState &state = ts.session.state;
    QCOMPARE(state.VolumeIndex, 0);
    QCOMPARE(state.VolumeCount, 0);
    QVERIFY(!state.DizTestPassed);
    QVERIFY(!state.RunInProgress);
    QVERIFY(QFileInfo::exists(ts.appDir() + QStringLiteral("/file_id.diz")));
    QVERIFY(QFileInfo::exists(ts.appDir() + QStringLiteral("/tool.nfo")));

    const QList<QPair<QString, QString>> expectedTexts{{"tool001.zip", " 1 of 3"},
                                                       {"tool002.zip", " 2 of 3"},
                                                       {"tool003.zip", " 3 of 3"},
                                                       {"", " 3 of 3"}};
    QCOMPARE(texts, expectedTexts);
    QCOMPARE(ts.window.statusText, QStringLiteral("Kesting complete"));
    const QStringList shown = ts.window.statusHistory;
    QCOMPARE(shown.mid(0, 5),
             (QStringList{"tool.001", "file_id.diz", "tool.nfo", "logo", "readme.txt"}));
    QVERIFY(shown.contains(QStringLiteral("tool.003")));

    const QList<int> writes = ts.window.progressWrites;
    QVERIFY(writes.contains(100));
    QCOMPARE(writes.last(), 0);
    QCOMPARE(ts.window.progressValue, 0);
    // The bar is written only when the completion changes (the closing resets aside).
    for (qsizetype i = 0; i + 2 < writes.size(); ++i)
        QVERIFY2(writes[i] != writes[i + 1], qPrintable(QString::number(i)));

    QCOMPARE(ts.sound.played, QStringList{ts.appDir() + QStringLiteral("/kst.wav")});
    QCOMPARE(ts.window.closes, 0);
    QVERIFY(ts.messages.shown.isEmpty());
    QVERIFY(!ts.zip.serveEvents);
}

void ZipStepTest::unlimitedArchive()
{
    TestSession ts;
    setUpJob(ts);
    ts.session.job.VolumeSizeSetting = 0;
    QVERIFY(makeVolumes(ts, {"tool.rar"}));
    Command12_Click(ts.session); // pressed while no run was under way: no effect on the next

    RunZipStep(ts.session, RunPlan{});

    QCOMPARE(entriesOf(ts.session.job.ZipDir), QStringList{"tool.zip"});
    QCOMPARE(sorted(unzipNames(out(ts, QStringLiteral("tool.zip")))),
             expectedEntries(QStringLiteral("tool.rar"), true));
    QCOMPARE(ts.window.volumeText, QStringLiteral(" 1 of 1"));
    QVERIFY(!ts.session.state.RunInProgress);
}

void ZipStepTest::extraForms_data()
{
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<QString>("extra"); // below the test root
    QTest::addColumn<QStringList>("extraEntries");

    QTest::newRow("directory") << false << "extras" << extras;
    QTest::newRow("directory ending in the separator") << false << "extras/" << extras;
    QTest::newRow("file") << true << "extras/readme.txt" << QStringList{"readme.txt"};
    QTest::newRow("none") << false << "" << QStringList{};
}

void ZipStepTest::extraForms()
{
    QFETCH(bool, isFile);
    QFETCH(QString, extra);
    QFETCH(QStringList, extraEntries);
    TestSession ts;
    setUpJob(ts);
    JobSettings &job = ts.session.job;
    job.ExtraIsFile = isFile;
    job.ExtraIsDirectory = !isFile;
    job.ExtraPath = extra.isEmpty() ? QString() : ts.root.filePath(extra);
    if (isFile)
        QVERIFY(QFile::setPermissions(job.ExtraPath, QFileDevice::ReadOwner));
    QVERIFY(makeVolumes(ts, {"tool.001", "tool.002"}));

    RunZipStep(ts.session, RunPlan{});

    for (const QString &archive : QStringList{"tool001.zip", "tool002.zip"}) {
        const QStringList names = unzipNames(out(ts, archive));
        for (const QString &name : extras)
            QCOMPARE(names.contains(name), extraEntries.contains(name));
        QCOMPARE(names.size(), 2 + extraEntries.size() + (archive == "tool001.zip" ? 1 : 0));
    }
    // A read-only extra file is packed as it is; the user's file is not made writable.
    if (isFile)
        QVERIFY(!(QFile::permissions(job.ExtraPath) & QFileDevice::WriteOwner));
}

void ZipStepTest::noVolumesStillCompletes()
{
    TestSession ts;
    setUpJob(ts);
    QVERIFY(makeVolumes(ts, {}));

    RunZipStep(ts.session, RunPlan{});

    QVERIFY(entriesOf(ts.session.job.ZipDir).isEmpty());
    QCOMPARE(ts.window.statusText, QStringLiteral("Kesting complete"));
    QVERIFY(!QFileInfo::exists(ts.session.state.WorkDir));
    QCOMPARE(ts.sound.played.size(), 1);
    QCOMPARE(ts.session.state.VolumeIndex, 0);
    QVERIFY(!ts.session.state.RunInProgress);
}

void ZipStepTest::buttonStopsSecondArchive_data()
{
    QTest::addColumn<bool>("exit");
    QTest::addColumn<QString>("clickedDuring"); // the file name the status text shows

    QTest::newRow("Abort while the volume is stored") << false << "tool.002";
    QTest::newRow("Abort after the description") << false << "file_id.diz";
    QTest::newRow("Exit while the volume is stored") << true << "tool.002";
}

void ZipStepTest::buttonStopsSecondArchive()
{
    QFETCH(bool, exit);
    QFETCH(QString, clickedDuring);
    TestSession ts;
    setUpJob(ts);
    QVERIFY(makeVolumes(ts, threeVolumeNames()));
    const QString workDir = ts.session.state.WorkDir;
    const QString second = out(ts, QStringLiteral("tool002.zip"));
    QByteArray secondAtClick;
    bool secondExistedAtClick = false;
    bool clicked = false;
    ts.window.onServe = [&] {
        if (clicked || ts.window.archiveText != QLatin1String("tool002.zip") ||
            ts.window.statusText != clickedDuring)
            return;
        if (clickedDuring == QLatin1String("tool.002") &&
            (ts.window.progressValue == 0 || ts.window.progressValue == 100))
            return;
        clicked = true;
        secondExistedAtClick = QFileInfo::exists(second);
        secondAtClick = readAll(second);
        exit ? Command13_Click(ts.session) : Command12_Click(ts.session);
    };

    RunZipStep(ts.session, RunPlan{});

    QVERIFY(clicked);
    const QString first = out(ts, QStringLiteral("tool001.zip"));
    QVERIFY(unzipTests(first));
    QCOMPARE(sorted(unzipNames(first)), expectedEntries(QStringLiteral("tool.001"), true));
    // The second archive is as it was on disk when the button was pressed.
    QCOMPARE(QFileInfo::exists(second), secondExistedAtClick);
    QCOMPARE(readAll(second), secondAtClick);
    if (secondExistedAtClick) {
        QVERIFY(unzipTests(second));
        QVERIFY(!unzipNames(second).contains(QStringLiteral("readme.txt")));
    }
    QVERIFY(!QFileInfo::exists(out(ts, QStringLiteral("tool003.zip"))));
    QCOMPARE(entriesOf(workDir), (QStringList{"tool.002", "tool.003"}));

    QVERIFY(ts.messages.shown.isEmpty());
    QVERIFY(ts.sound.played.isEmpty());
    QCOMPARE(ts.window.closes, exit ? 1 : 0);
    QCOMPARE(ts.window.progressValue, 0);
    QCOMPARE(ts.window.statusText, clickedDuring);
    QCOMPARE(ts.window.archiveText, QStringLiteral("tool002.zip"));
    QCOMPARE(ts.window.volumeText, QStringLiteral(" 2 of 3"));
    QCOMPARE(QDir::currentPath(), QDir(workDir).canonicalPath());
    QVERIFY(!ts.zip.AbortRequest);
}

void ZipStepTest::vanishedFileEndsTheRun_data()
{
    QTest::addColumn<QString>("vanishing"); // "description", "extra directory", "extra file"
    QTest::addColumn<QStringList>("secondHolds");

    QTest::newRow("description") << "description" << QStringList{"tool.002"};
    QTest::newRow("extra directory") << "extra directory" << QStringList{"file_id.diz", "tool.002"};
    QTest::newRow("extra file") << "extra file" << QStringList{"file_id.diz", "tool.002"};
}

void ZipStepTest::vanishedFileEndsTheRun()
{
    QFETCH(QString, vanishing);
    QFETCH(QStringList, secondHolds);
    TestSession ts;
    setUpJob(ts);
    JobSettings &job = ts.session.job;
    if (vanishing == QLatin1String("extra file")) {
        job.ExtraIsFile = true;
        job.ExtraPath = ts.root.filePath(QStringLiteral("extras/readme.txt"));
    }
    QVERIFY(makeVolumes(ts, threeVolumeNames()));
    const QString workDir = ts.session.state.WorkDir;
    // Gone by the time the second archive is begun.
    ts.window.onServe = [&] {
        if (ts.window.archiveText != QLatin1String("tool002.zip"))
            return;
        if (vanishing == QLatin1String("description"))
            QFile::remove(job.DizPath);
        else if (vanishing == QLatin1String("extra directory"))
            QDir(job.ExtraPath).removeRecursively();
        else
            QFile::remove(job.ExtraPath);
    };

    const auto failure = RunZipStep(ts.session, RunPlan{});

    QVERIFY(failure);
    QCOMPARE(ExitStatusOf(failure->kind), 3);
    QVERIFY(unzipTests(out(ts, QStringLiteral("tool001.zip"))));
    QCOMPARE(sorted(unzipNames(out(ts, QStringLiteral("tool002.zip")))), secondHolds);
    QVERIFY(!QFileInfo::exists(out(ts, QStringLiteral("tool003.zip"))));
    QCOMPARE(entriesOf(workDir), (QStringList{"tool.002", "tool.003"}));
    QCOMPARE(ts.window.closes, 0);
}

void ZipStepTest::wholeRunFromTheMenu()
{
    TestSession ts;
    setUpJob(ts);
    ts.session.state.TempDrive = QStringLiteral("c");
    ts.session.job.ZipExtraCompression = Checked;
    ts.runner.action = [&ts](const QString &) {
        for (int volume = 1; volume <= 3; ++volume) {
            QFile file(
                paths::join(ts.session.state.WorkDir, QStringLiteral("tool.00%1").arg(volume)));
            if (file.open(QIODevice::WriteOnly))
                file.write(volumeBytes(volume));
        }
    };

    kesto_Click(ts.session);

    QCOMPARE(ts.runner.commandLines.size(), 1);
    QCOMPARE(entriesOf(ts.session.job.ZipDir),
             (QStringList{"tool001.zip", "tool002.zip", "tool003.zip"}));
    QCOMPARE(sorted(unzipNames(out(ts, QStringLiteral("tool003.zip")))),
             expectedEntries(QStringLiteral("tool.003"), false));
    QCOMPARE(ts.zip.CompressionLevel, 9);
    QVERIFY(ts.session.state.WorkDir.startsWith(ts.systemDir()));
    QVERIFY(!QFileInfo::exists(ts.session.state.WorkDir));
    QCOMPARE(ts.window.statusText, QStringLiteral("Kesting complete"));
    QVERIFY(!ts.session.state.RunInProgress);
    QVERIFY(ts.messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(ZipStepTest)
#include "test_zip_step.moc"
