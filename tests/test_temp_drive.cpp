// The drive for temporary files, the free-space texts and the folder pickers' status text.
#include "engine/run_plan.h"
#include "engine/temp_drive.h"
#include "support/fakes.h"
#include "support/rows.h"
#include "support/small_mount.h"
#include "system/free_space.h"
#include "system/storage_disks.h"

#include <QtTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString Head = "Free space on - \r";

// The letter the drive list gives the file system mounted at root.
QString letterOf(DiskInfo &disks, const QString &root)
{
    for (const Drive &drive : disks.drives()) {
        if (drive.root == root)
            return drive.letter;
    }
    return {};
}

// Drive c on the session's system directory, d on a directory of its own, a on c's; every drive
// with the same free space.
QString addDrives(TestSession &t, qint64 freeBytes)
{
    const QString d = t.root.filePath("mnt/d");
    QDir().mkpath(d);
    t.disks.driveList = {{"c", t.systemDir()}, {"d", d}, {"a", t.systemDir()}};
    t.disks.freeByPrefix[d] = t.disks.freeByPrefix[t.systemDir()] = freeBytes;
    return d;
}

// Selecting a drive in the list (none: the start-up's choice of "c"), and the text shown below
// it (none: left as it was).
const struct {
    const char *name, *selected;
    qint64 freeBytes;
    const char *result, *text = nullptr;
    const char *listedRoot = nullptr; // "d": d's root; else a path
} changes[] = {
    {"start-up, halves to even", nullptr, 2'500'000, "c", " 2 Meg."},
    {"start-up below the minimum", nullptr, 1'999'999, "c", "less than 2 Meg."},
    {"minimum accepted", "d", 2'000'000, "d", " 2 Meg."},
    {"one byte short", "d", 1'999'999, "c"},
    {"list text with colon and label", "d: data", 3'500'000, "d", " 4 Meg."},
    {"upper case", "D:", 1'499'999'999, "d", " 1500 Meg."},
    {"a", "a", 3'500'000, "c"},
    {"unknown letter", "q", 3'500'000, "c"},
    {"c below the minimum stays", "c", 1'000'000, "c"},
    // The list was made before an unmount moved the letters: its item still means that root.
    {"letters moved since listed", "e", 3'500'000, "e", " 4 Meg.", "d"},
    {"listed root no longer mounted", "d", 3'500'000, "c", nullptr, "/kesto32-unmounted"},
};

} // namespace

class TestTempDrive : public QObject {
    Q_OBJECT

private slots:
    // Decimal millions, halves to the even neighbour, in 64 bits.
    void freeSpaceMB()
    {
        const std::pair<qint64, qint64> figures[] = {{-1, 0},        {500'000, 0},
                                                     {500'001, 1},   {2'500'000, 2},
                                                     {3'500'000, 4}, {8'589'934'592, 8590}};
        for (const auto &[bytes, megabytes] : figures)
            QCOMPARE(FreeSpaceMB(bytes), megabytes);
    }

    void driveChange_data() { addRows(changes); }
    void driveChange()
    {
        const auto &row = currentRow(changes);
        TestSession t;
        const QString d = addDrives(t, row.freeBytes);
        t.session.state.TempDrive = "d";
        t.window.tempFreeText = "before";
        const QString listed = row.listedRoot == QLatin1String("d") ? d : row.listedRoot;

        QCOMPARE(row.selected ? TempDriveChanged(t.session, row.selected, listed)
                              : TempDriveStartup(t.session),
                 row.result);

        QCOMPARE(t.session.state.TempDrive, row.result);
        // A refusal leaves the text to the run that selecting "c" makes.
        QCOMPARE(t.window.tempFreeText, row.text ? Head + row.text : "before");
    }

    void unusableRootReturnsToC()
    {
        TestSession t;
        const QString d = addDrives(t, 9'000'000);
        QVERIFY(::chmod(QFile::encodeName(d).constData(), 0555) == 0);
        if (::geteuid() != 0) // root writes every directory
            QCOMPARE(TempDriveChanged(t.session, "d"), "c");
        QDir(d).removeRecursively(); // no medium
        QCOMPARE(TempDriveChanged(t.session, "d"), "c");
        QCOMPARE(t.session.state.TempDrive, "c");
    }

    void realDrives()
    {
        TestSession t;
        StorageDiskInfo disks;
        const QList<Drive> drives = disks.drives();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives[0].letter, "c");
        QCOMPARE(drives[0].root, t.systemDir());
        for (qsizetype i = 1; i < drives.size(); ++i) {
            QCOMPARE(drives[i].letter, QString(QLatin1Char(char('d' + i - 1))));
            QVERIFY(!drives[i].root.startsWith("/proc") && !drives[i].root.startsWith("/sys"));
            QVERIFY(i == 1 || drives[i - 1].root < drives[i].root);
        }
        QVERIFY(disks.freeBytes(t.systemDir()) > 0);
        QCOMPARE(disks.freeBytes(t.path("no/such/dir")), 0);

        // The system drive is usable as temporary drive (the test machine has room there).
        t.session.svc.disks = &disks;
        QCOMPARE(TempDriveChanged(t.session, "c"), "c");

        // A file system mounted after the choice moves the letters; the run keeps the root.
        std::optional<SmallMount> chosen;
        chosen.emplace(t.path("mnt/b"), "8m");
        if (!chosen->mounted)
            QSKIP("mounting a small file system needs root");
        const QString letter = letterOf(disks, t.path("mnt/b"));
        QCOMPARE(TempDriveChanged(t.session, letter), letter);
        const SmallMount tiny(t.path("mnt/a"), "2m");
        QVERIFY(tiny.mounted);
        QCOMPARE(letterOf(disks, t.path("mnt/a")), letter);
        QCOMPARE(TempDriveRoot(t.session), t.path("mnt/b"));
        QCOMPARE(QFileInfo(MakeWorkDir(TempDriveRoot(t.session))).path(), t.path("mnt/b"));
        // Unmounted: the directory left there is another file system's, never the run's.
        chosen.reset();
        QCOMPARE(TempDriveRoot(t.session), QString());
    }
};

QTEST_GUILESS_MAIN(TestTempDrive)
#include "test_temp_drive.moc"
