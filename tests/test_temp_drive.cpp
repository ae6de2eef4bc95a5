// The drive for temporary files, the free-space texts and the folder pickers' status text.
#include "engine/temp_drive.h"
#include "support/fakes.h"
#include "system/free_space.h"
#include "system/paths.h"
#include "system/storage_disks.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString Head = QStringLiteral("Free space on - \r");

// Drive c on the session's system directory, d on a directory of its own.
QString addDriveD(TestSession &t, qint64 freeOfD)
{
    const QString d = t.path(QStringLiteral("mnt/d"));
    QDir().mkpath(d);
    t.disks.driveList = {{QStringLiteral("c"), t.systemDir()}, {QStringLiteral("d"), d}};
    t.disks.freeByPrefix[d] = freeOfD;
    return d;
}

} // namespace

class TestTempDrive : public QObject {
    Q_OBJECT

private slots:
    void startupText_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("2,500,000 halves down to even") << 2'500'000LL << Head + " 2 Meg.";
        QTest::newRow("3,500,000 halves up to even") << 3'500'000LL << Head + " 4 Meg.";
        QTest::newRow("2,500,001") << 2'500'001LL << Head + " 3 Meg.";
        QTest::newRow("1,499,999,999") << 1'499'999'999LL << Head + " 1500 Meg.";
        QTest::newRow("beyond 4 GiB") << 4'294'967'296LL * 3 << Head + " 12885 Meg.";
        QTest::newRow("minimum") << 2'000'000LL << Head + " 2 Meg.";
        QTest::newRow("below minimum") << 1'999'999LL << Head + "less than 2 Meg.";
        QTest::newRow("unreadable") << 0LL << Head + "less than 2 Meg.";
    }

    void startupText()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(QString, text);
        TestSession t;
        addDriveD(t, 9'000'000);
        t.disks.freeByPrefix[t.systemDir()] = freeBytes;
        t.session.state.TempDrive = QStringLiteral("d");

        QCOMPARE(TempDriveStartup(t.session), QStringLiteral("c"));

        QCOMPARE(t.session.state.TempDrive, QStringLiteral("c"));
        QCOMPARE(t.window.tempFreeText, text);
    }

    void driveChange_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<qint64>("freeOfD");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("text"); // null: left as it was
        QTest::newRow("minimum accepted") << "d" << 2'000'000LL << "d" << Head + " 2 Meg.";
        QTest::newRow("one byte short") << "d" << 1'999'999LL << "c" << QString();
        QTest::newRow("not ready") << "d" << 0LL << "c" << QString();
        QTest::newRow("list text with colon and label")
            << "d: data" << 3'500'000LL << "d" << Head + " 4 Meg.";
        QTest::newRow("upper case") << "D:" << 1'499'999'999LL << "d" << Head + " 1500 Meg.";
        QTest::newRow("a") << "a" << 3'500'000LL << "c" << QString();
        QTest::newRow("unknown letter") << "q" << 3'500'000LL << "c" << QString();
        QTest::newRow("empty") << "" << 3'500'000LL << "c" << QString();
    }

    void driveChange()
    {
        QFETCH(QString, selected);
        QFETCH(qint64, freeOfD);
        QFETCH(QString, result);
        QFETCH(QString, text);
        TestSession t;
        addDriveD(t, freeOfD);
        t.disks.driveList.append({QStringLiteral("a"), t.systemDir()});
        t.window.tempFreeText = QStringLiteral("before");

        QCOMPARE(TempDriveChanged(t.session, selected), result);

        QCOMPARE(t.session.state.TempDrive, result);
        // A refusal leaves the text to the run that selecting "c" makes.
        QCOMPARE(t.window.tempFreeText, text.isNull() ? QStringLiteral("before") : text);
    }

    void driveWithoutMediumReturnsToC()
    {
        TestSession t;
        const QString d = addDriveD(t, 9'000'000);
        QDir(d).removeRecursively();
        QCOMPARE(TempDriveChanged(t.session, QStringLiteral("d")), QStringLiteral("c"));
        QCOMPARE(t.session.state.TempDrive, QStringLiteral("c"));
    }

    void unwritableRootReturnsToC()
    {
        if (::geteuid() == 0)
            QSKIP("root writes every directory");
        TestSession t;
        const QString d = addDriveD(t, 9'000'000);
        QVERIFY(::chmod(QFile::encodeName(d).constData(), 0555) == 0);
        const QString result = TempDriveChanged(t.session, QStringLiteral("d"));
        ::chmod(QFile::encodeName(d).constData(), 0755);
        QCOMPARE(result, QStringLiteral("c"));
    }

    void systemDriveBelowMinimumStays()
    {
        TestSession t;
        addDriveD(t, 9'000'000);
        t.disks.freeByPrefix[t.systemDir()] = 1'000'000;
        t.window.tempFreeText = QStringLiteral("before");
        QCOMPARE(TempDriveChanged(t.session, QStringLiteral("c")), QStringLiteral("c"));
        QCOMPARE(t.window.tempFreeText, QStringLiteral("before"));
        t.disks.freeByPrefix[t.systemDir()] = 2'500'000;
        QCOMPARE(TempDriveChanged(t.session, QStringLiteral("c")), QStringLiteral("c"));
        QCOMPARE(t.window.tempFreeText, Head + " 2 Meg.");
    }

    void folderPickerStatus_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("status");
        QTest::newRow("usable") << "/media/Stick/Dir" << 1LL << "/media/Stick/Dir";
        QTest::newRow("empty drive") << "/media/Stick/Dir" << 0LL << "Invalid drive";
        QTest::newRow("no path") << "" << 0LL << "";
    }

    void folderPickerStatus()
    {
        QFETCH(QString, path);
        QFETCH(qint64, freeBytes);
        QFETCH(QString, status);
        FakeDisks disks;
        disks.freeByPrefix[QStringLiteral("/media/Stick")] = freeBytes;
        QCOMPARE(FolderPickerSelectionChanged(disks, path), status);
    }

    void realDrives()
    {
        TestSession t;
        StorageDiskInfo disks;
        const QList<Drive> drives = disks.drives();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives[0].letter, QStringLiteral("c"));
        QCOMPARE(drives[0].root, t.systemDir());
        for (qsizetype i = 1; i < drives.size(); ++i) {
            QCOMPARE(drives[i].letter, QString(QLatin1Char(char('d' + i - 1))));
            QVERIFY(!drives[i].root.startsWith(QLatin1String("/proc")));
            QVERIFY(!drives[i].root.startsWith(QLatin1String("/sys")));
            if (i > 1)
                QVERIFY(drives[i - 1].root < drives[i].root);
        }
        QVERIFY(disks.freeBytes(t.systemDir()) > 0);
        QCOMPARE(disks.freeBytes(t.path(QStringLiteral("no/such/dir"))), 0);
        QCOMPARE(FolderPickerSelectionChanged(disks, t.systemDir()), t.systemDir());

        // The system drive is usable as temporary drive (the test machine has room there).
        t.session.svc.disks = &disks;
        QCOMPARE(TempDriveChanged(t.session, QStringLiteral("c")), QStringLiteral("c"));
        QVERIFY(t.window.tempFreeText.startsWith(Head + " "));
        QVERIFY(t.window.tempFreeText.endsWith(QLatin1String(" Meg.")));
    }
};

QTEST_GUILESS_MAIN(TestTempDrive)
#include "test_temp_drive.moc"
