#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/zip_component.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

QString write(const QTemporaryDir &dir, const QString &relative, const QByteArray &bytes)
{
    const QString path = dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

int add(ZipComponent &zip, const QString &archivePath, const QStringList &specifications)
{
    zip.ArchivePath = archivePath;
    zip.FileList.clear();
    for (const QString &fileSpec : specifications)
        zip.FileList += fileSpec + QLatin1Char('\r');
    return zip.RunCommand(0);
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

const QByteArray text =
    QByteArray("The quick brown fox jumps over the lazy dog.\r\n").repeated(4000);

} // namespace

class ZipComponentTest : public QObject {
    Q_OBJECT

private slots:
    void init() { savedDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(savedDir_); }

    void createsThenKeepsAndReplaces();
    void directoryPatternTakesRegularFilesDirectlyInside();
    void relativeNamesComeFromCurrentDirectory();
    void emptyDirectoryPatternAddsNothing();
    void namesAreFlaggedUtf8OnlyWhenTheyAre();
    void deflatesOrStores_data();
    void deflatesOrStores();
    void addingPrecedesEachFileAndStatusRunsToTheEnd();
    void abortLeavesArchiveAsItWas_data();
    void abortLeavesArchiveAsItWas();
    void requestTooLateForAnAddStopsTheNextOnly();
    void failingListChangesNothing_data();
    void failingListChangesNothing();
    void unusableArchiveFails();
    void addStartedFromInsideAnAddIsRefused();
    void addsToAnExistingArchive_data();
    void addsToAnExistingArchive();
    void failedWriteLeavesArchiveAsItWas_data();
    void failedWriteLeavesArchiveAsItWas();

private:
    QString savedDir_;
};

void ZipComponentTest::createsThenKeepsAndReplaces()
{
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("src/a.txt"), "alpha");
    const QString b = write(dir, QStringLiteral("src/b.txt"), "beta");
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const QString base = dir.filePath(QStringLiteral("out/test"));
    const QString archive = base + QStringLiteral(".zip");
    // What an interrupted add left goes with the next add to that archive, and only that.
    write(dir, QStringLiteral("out/test.zip.x1Y2z3"), "half an archive");
    write(dir, QStringLiteral("out/test.zip.notes"), "the user's");
    write(dir, QStringLiteral("out/other.zip.x1Y2z3"), "another archive's");
    ZipComponent zip;

    QCOMPARE(add(zip, base, {a}), 0);
    QVERIFY(zip.errorText().isEmpty());
    QCOMPARE(unzipNames(archive), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("out"))),
             (QStringList{"other.zip.x1Y2z3", "test.zip", "test.zip.notes"}));

    QCOMPARE(add(zip, base, {b}), 0);
    QCOMPARE(sorted(unzipNames(archive)), (QStringList{"a.txt", "b.txt"}));

    write(dir, QStringLiteral("src/a.txt"), "alpha, second edition");
    QCOMPARE(add(zip, base, {a}), 0);
    QCOMPARE(sorted(unzipNames(archive)), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(unzipContent(archive, QStringLiteral("a.txt")), QByteArray("alpha, second edition"));
    QCOMPARE(unzipContent(archive, QStringLiteral("b.txt")), QByteArray("beta"));
    QVERIFY(unzipTests(archive));
}

void ZipComponentTest::directoryPatternTakesRegularFilesDirectlyInside()
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("extra/noext"), "1");
    write(dir, QStringLiteral("extra/with.dot"), "2");
    write(dir, QStringLiteral("extra/.hidden"), "3");
    write(dir, QStringLiteral("extra/sub/inner.txt"), "4");
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("extra/with.dot")),
                        dir.filePath(QStringLiteral("extra/link"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("extra/gone")),
                        dir.filePath(QStringLiteral("extra/broken"))));
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;

    QCOMPARE(add(zip, base, {dir.filePath(QStringLiteral("extra/*.*"))}), 0);
    QCOMPARE(sorted(unzipNames(base + QStringLiteral(".zip"))),
             (QStringList{".hidden", "link", "noext", "with.dot"}));
    QCOMPARE(unzipContent(base + QStringLiteral(".zip"), QStringLiteral("link")), QByteArray("2"));
}

void ZipComponentTest::relativeNamesComeFromCurrentDirectory()
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("work/tool.001"), "volume");
    write(dir, QStringLiteral("work/other"), "other");
    write(dir, QStringLiteral("tool.001"), "not this one");
    QVERIFY(QDir::setCurrent(dir.filePath(QStringLiteral("work"))));
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;

    QCOMPARE(add(zip, base, {QStringLiteral("tool.001")}), 0);
    QCOMPARE(unzipNames(base + QStringLiteral(".zip")), QStringList{"tool.001"});
    QCOMPARE(unzipContent(base + QStringLiteral(".zip"), QStringLiteral("tool.001")),
             QByteArray("volume"));

    QCOMPARE(add(zip, base, {QStringLiteral("*.*")}), 0);
    QCOMPARE(sorted(unzipNames(base + QStringLiteral(".zip"))), (QStringList{"other", "tool.001"}));
}

void ZipComponentTest::emptyDirectoryPatternAddsNothing()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("empty/sub")));
    const QString a = write(dir, QStringLiteral("a.txt"), "alpha");
    ZipComponent zip;

    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QCOMPARE(add(zip, fresh, {dir.filePath(QStringLiteral("empty/*.*"))}), 0);
    QVERIFY(!QFile::exists(fresh + QStringLiteral(".zip")));

    const QString base = dir.filePath(QStringLiteral("test"));
    QCOMPARE(add(zip, base, {a}), 0);
    const QByteArray before = readAll(base + QStringLiteral(".zip"));
    QCOMPARE(add(zip, base, {dir.filePath(QStringLiteral("empty/*.*"))}), 0);
    QCOMPARE(readAll(base + QStringLiteral(".zip")), before);
}

void ZipComponentTest::namesAreFlaggedUtf8OnlyWhenTheyAre()
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("names/plain.txt"), "a");
    write(dir, QStringLiteral("names/\u00e4rger.txt"), "b");
    // A name that is not UTF-8 can only be made below Qt.
    const QByteArray rawName = QByteArrayLiteral("raw\xe9.txt");
    const QByteArray rawPath = QFile::encodeName(dir.filePath(QStringLiteral("names/"))) + rawName;
    const int fd = ::open(rawPath.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "c", 1), ssize_t(1));
    ::close(fd);
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;

    QCOMPARE(add(zip, base, {dir.filePath(QStringLiteral("names/*.*"))}), 0);
    const QString archive = base + QStringLiteral(".zip");
    QVERIFY(unzipTests(archive));
    QHash<QByteArray, quint16> flags;
    for (const CentralEntry &entry : centralDirectory(archive))
        flags.insert(entry.name, entry.flags);
    constexpr quint16 utf8Flag = 0x800;
    QCOMPARE(flags.size(), 3);
    QVERIFY(flags.contains(QStringLiteral("\u00e4rger.txt").toUtf8()));
    QCOMPARE(flags.value(QStringLiteral("\u00e4rger.txt").toUtf8()) & utf8Flag, utf8Flag);
    QVERIFY(flags.contains(rawName));
    QCOMPARE(flags.value(rawName) & utf8Flag, 0);
    QVERIFY(flags.contains("plain.txt"));
}

void ZipComponentTest::deflatesOrStores_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("levelBits"); // deflate's option bits 1 and 2

    constexpr int stored = 0;
    constexpr int deflated = 8;
    QTest::newRow("text, normal level") << text << 6 << deflated << 0;
    QTest::newRow("text, extra compression") << text << 9 << deflated << 2;
    QTest::newRow("text, no compression") << text << 0 << stored << 0;
    QTest::newRow("compressed data") << randomBytes(300'000, 1) << 9 << stored << 0;
    QTest::newRow("small compressed data") << randomBytes(100, 2) << 6 << stored << 0;
    QTest::newRow("empty file") << QByteArray() << 6 << stored << 0;
}

void ZipComponentTest::deflatesOrStores()
{
    QFETCH(QByteArray, content);
    QFETCH(int, level);
    QFETCH(int, method);
    QFETCH(int, levelBits);
    QTemporaryDir dir;
    const QString file = write(dir, QStringLiteral("data.bin"), content);
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;
    zip.CompressionLevel = level;

    QCOMPARE(add(zip, base, {file}), 0);
    const QString archive = base + QStringLiteral(".zip");
    const QList<CentralEntry> entries = centralDirectory(archive);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(int(entries[0].method), method);
    QCOMPARE(entries[0].flags & 0x6, levelBits);
    QVERIFY(unzipTests(archive));
    QCOMPARE(unzipContent(archive, QStringLiteral("data.bin")), content);
}

void ZipComponentTest::addingPrecedesEachFileAndStatusRunsToTheEnd()
{
    QTemporaryDir dir;
    const QString one = write(dir, QStringLiteral("one.bin"), randomBytes(400'000, 4));
    const QString two = write(dir, QStringLiteral("two.bin"), randomBytes(400'000, 5));
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;
    QStringList events;
    int served = 0;
    zip.serveEvents = [&served] { ++served; };
    connect(&zip, &ZipComponent::Adding, this,
            [&events](const QString &name) { events << QStringLiteral("adding ") + name; });
    connect(&zip, &ZipComponent::Status, this,
            [&events](int completion) { events << QString::number(completion); });

    QCOMPARE(add(zip, base, {one, two}), 0);

    const qsizetype first = events.indexOf(QStringLiteral("adding one.bin"));
    const qsizetype second = events.indexOf(QStringLiteral("adding two.bin"));
    QVERIFY2(first >= 0 && second > first, qPrintable(events.join(QLatin1Char(' '))));
    QCOMPARE(events.last(), QStringLiteral("100"));
    QList<int> percents;
    for (const QString &event : std::as_const(events)) {
        if (!event.startsWith(QLatin1String("adding")))
            percents << event.toInt();
    }
    QVERIFY(std::is_sorted(percents.cbegin(), percents.cend()));
    // Progress is reported while the first file is stored, before the second is announced.
    const QStringList whileFirst = events.mid(first + 1, second - first - 1);
    QVERIFY2(std::any_of(whileFirst.cbegin(), whileFirst.cend(),
                         [](const QString &e) { return e.toInt() > 0 && e.toInt() < 100; }),
             qPrintable(events.join(QLatin1Char(' '))));
    QVERIFY(served > 0);
}

void ZipComponentTest::abortLeavesArchiveAsItWas_data()
{
    QTest::addColumn<bool>("archiveExists");
    QTest::addColumn<bool>("fromStatus"); // else from the first serving of events

    QTest::newRow("existing archive, at once") << true << false;
    QTest::newRow("existing archive, half-way") << true << true;
    QTest::newRow("new archive, at once") << false << false;
    QTest::newRow("new archive, half-way") << false << true;
}

void ZipComponentTest::abortLeavesArchiveAsItWas()
{
    QFETCH(bool, archiveExists);
    QFETCH(bool, fromStatus);
    QTemporaryDir dir;
    const QString keep = write(dir, QStringLiteral("src/keep.txt"), text);
    const QString big = write(dir, QStringLiteral("src/big.bin"), randomBytes(2'000'000, 6));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const QString base = dir.filePath(QStringLiteral("out/test"));
    const QString archive = base + QStringLiteral(".zip");
    ZipComponent zip;
    if (archiveExists)
        QCOMPARE(add(zip, base, {keep}), 0);
    const QByteArray before = readAll(archive);
    const QStringList entriesBefore = entriesOf(dir.filePath(QStringLiteral("out")));

    bool announced = false;
    int statusAtAbort = -1;
    int statusAtAnnounce = -1;
    int lastStatus = -1;
    connect(&zip, &ZipComponent::Adding, this, [&] {
        announced = true;
        statusAtAnnounce = lastStatus;
    });
    if (fromStatus) {
        // While the new file is being stored.
        connect(&zip, &ZipComponent::Status, this, [&](int completion) {
            lastStatus = completion;
            if (announced && completion > statusAtAnnounce && statusAtAbort < 0) {
                statusAtAbort = completion;
                zip.AbortRequest = true;
            }
        });
    } else {
        zip.serveEvents = [&zip] { zip.AbortRequest = true; };
    }

    QCOMPARE(add(zip, base, {big}), ZipComponent::ResultAborted);
    QCOMPARE(readAll(archive), before);
    QCOMPARE(QFile::exists(archive), archiveExists);
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("out"))), entriesBefore);
    QVERIFY(!zip.AbortRequest);
    QVERIFY(!zip.errorText().isEmpty());
    if (fromStatus) {
        QVERIFY(announced);
        QVERIFY(statusAtAbort > 0 && statusAtAbort < 100);
    }
}

void ZipComponentTest::requestTooLateForAnAddStopsTheNextOnly()
{
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("a.txt"), "alpha");
    const QString b = write(dir, QStringLiteral("b.txt"), "beta");
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;
    int announced = 0;
    connect(&zip, &ZipComponent::Adding, this, [&announced] { ++announced; });
    // Pressed when the add has nothing left to stop.
    const QMetaObject::Connection lateClick =
        connect(&zip, &ZipComponent::Status, this, [&zip](int completion) {
            if (completion == 100)
                zip.AbortRequest = true;
        });

    QCOMPARE(add(zip, base, {a}), 0);
    QVERIFY(zip.AbortRequest);
    disconnect(lateClick);
    const QByteArray afterFirst = readAll(base + QStringLiteral(".zip"));

    QCOMPARE(add(zip, base, {b}), ZipComponent::ResultAborted);
    QCOMPARE(announced, 1);
    QVERIFY(!zip.AbortRequest);
    QCOMPARE(readAll(base + QStringLiteral(".zip")), afterFirst);

    QCOMPARE(add(zip, base, {b}), 0);
    QCOMPARE(sorted(unzipNames(base + QStringLiteral(".zip"))), (QStringList{"a.txt", "b.txt"}));
}

void ZipComponentTest::failingListChangesNothing_data()
{
    QTest::addColumn<QStringList>("specifications"); // relative to the test directory

    QTest::newRow("missing file") << QStringList{"src/b.txt", "src/missing.txt"};
    QTest::newRow("missing directory") << QStringList{"src/b.txt", "nodir/*.*"};
    QTest::newRow("directory named as a file") << QStringList{"src/b.txt", "src"};
    QTest::newRow("empty list") << QStringList{};
}

void ZipComponentTest::failingListChangesNothing()
{
    QFETCH(QStringList, specifications);
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("src/a.txt"), "alpha");
    write(dir, QStringLiteral("src/b.txt"), "beta");
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const QString base = dir.filePath(QStringLiteral("out/test"));
    ZipComponent zip;
    QCOMPARE(add(zip, base, {a}), 0);
    const QByteArray before = readAll(base + QStringLiteral(".zip"));
    for (QString &fileSpec : specifications)
        fileSpec = dir.filePath(fileSpec);

    QCOMPARE(add(zip, base, specifications), ZipComponent::ResultFailed);
    QVERIFY(!zip.errorText().isEmpty());
    QCOMPARE(readAll(base + QStringLiteral(".zip")), before);
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("out"))), QStringList{"test.zip"});
}

void ZipComponentTest::unusableArchiveFails()
{
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("a.txt"), "alpha");
    ZipComponent zip;

    const QString notZip = write(dir, QStringLiteral("notes.zip"), "just text");
    QCOMPARE(add(zip, dir.filePath(QStringLiteral("notes")), {a}), ZipComponent::ResultFailed);
    QCOMPARE(readAll(notZip), QByteArray("just text"));

    QCOMPARE(add(zip, dir.filePath(QStringLiteral("nodir/test")), {a}), ZipComponent::ResultFailed);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nodir"))));

    QCOMPARE(zip.RunCommand(1), ZipComponent::ResultFailed);
}

void ZipComponentTest::addStartedFromInsideAnAddIsRefused()
{
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("a.bin"), randomBytes(100'000, 7));
    const QString base = dir.filePath(QStringLiteral("test"));
    ZipComponent zip;
    int inner = -1;
    zip.serveEvents = [&] {
        if (inner < 0)
            inner = zip.RunCommand(0);
    };

    QCOMPARE(add(zip, base, {a}), 0);
    QCOMPARE(inner, ZipComponent::ResultFailed);
    QCOMPARE(unzipNames(base + QStringLiteral(".zip")), QStringList{"a.bin"});
}

void ZipComponentTest::addsToAnExistingArchive_data()
{
    QTest::addColumn<QString>("replaced");  // the entry added anew, or empty for a new one
    QTest::addColumn<int>("bigSize");       // bytes of big.bin, the archive's second entry
    QTest::addColumn<QString>("otherName"); // "hard", "soft" or empty

    QTest::newRow("new entry after the others") << QString() << 300'000 << QString();
    QTest::newRow("entry in the middle") << QStringLiteral("big.bin") << 2'000'000 << QString();
    QTest::newRow("archive with a second name") << QString() << 300'000 << "hard";
    QTest::newRow("archive reached through a link") << QString() << 300'000 << "soft";
}

// The entries that stay are copied into the new archive, which then replaces the name given, and
// only that name.
void ZipComponentTest::addsToAnExistingArchive()
{
    QFETCH(QString, replaced);
    QFETCH(int, bigSize);
    QFETCH(QString, otherName);
    QTemporaryDir dir;
    const QString a = write(dir, QStringLiteral("src/a.txt"), text);
    const QString big = write(dir, QStringLiteral("src/big.bin"), randomBytes(bigSize, 8));
    const QString c = write(dir, QStringLiteral("src/c.txt"), "gamma");
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const QString base = dir.filePath(QStringLiteral("out/test"));
    const QString archive = base + QStringLiteral(".zip");
    const QString other = dir.filePath(QStringLiteral("out/other.zip"));
    ZipComponent zip;
    if (otherName == QLatin1String("soft")) {
        QCOMPARE(add(zip, dir.filePath(QStringLiteral("out/other")), {a, big}), 0);
        QVERIFY(QFile::link(other, archive));
    } else {
        QCOMPARE(add(zip, base, {a, big}), 0);
        if (otherName == QLatin1String("hard"))
            QCOMPARE(::link(QFile::encodeName(archive).constData(),
                            QFile::encodeName(other).constData()),
                     0);
    }
    const QByteArray otherBefore = readAll(other);

    const QByteArray newBig = randomBytes(bigSize, 9);
    if (!replaced.isEmpty())
        write(dir, QStringLiteral("src/big.bin"), newBig);
    QCOMPARE(add(zip, base, {replaced.isEmpty() ? c : big}), 0);

    const QStringList expected = replaced.isEmpty() ? QStringList{"a.txt", "big.bin", "c.txt"}
                                                    : QStringList{"a.txt", "big.bin"};
    QCOMPARE(unzipNames(archive), expected);
    QVERIFY(unzipTests(archive));
    QCOMPARE(unzipContent(archive, QStringLiteral("a.txt")), text);
    QCOMPARE(unzipContent(archive, QStringLiteral("big.bin")),
             replaced.isEmpty() ? randomBytes(bigSize, 8) : newBig);
    if (!otherName.isEmpty())
        QCOMPARE(readAll(other), otherBefore);
    const QStringList files =
        otherName.isEmpty() ? QStringList{"test.zip"} : QStringList{"other.zip", "test.zip"};
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("out"))), files);
}

void ZipComponentTest::failedWriteLeavesArchiveAsItWas_data()
{
    QTest::addColumn<bool>("archiveExists");
    QTest::addColumn<int>("limit"); // the largest file that can be written

    // The new entries do not fit beside the entries kept.
    QTest::newRow("adding") << true << 3'000'200;
    // Nor does the copy of the entries kept.
    QTest::newRow("copying the kept entries") << true << 1'000'000;
    QTest::newRow("creating") << false << 1'000'000;
}

// A full disk: the archive stays as it was and the temporary file is removed.
void ZipComponentTest::failedWriteLeavesArchiveAsItWas()
{
    QFETCH(bool, archiveExists);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString big = write(dir, QStringLiteral("src/big.bin"), randomBytes(3'000'000, 10));
    const QString added = write(dir, QStringLiteral("src/added.bin"), randomBytes(1'500'000, 11));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const QString base = dir.filePath(QStringLiteral("out/test"));
    const QString archive = base + QStringLiteral(".zip");
    ZipComponent zip;
    if (archiveExists)
        QCOMPARE(add(zip, base, {big}), 0);
    const QStringList entriesBefore = entriesOf(dir.filePath(QStringLiteral("out")));
    const QByteArray before = readAll(archive);

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(limit);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int result = add(zip, base, {added});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(result, ZipComponent::ResultFailed);
    QVERIFY(!zip.errorText().isEmpty());
    QCOMPARE(readAll(archive), before);
    QCOMPARE(entriesOf(dir.filePath(QStringLiteral("out"))), entriesBefore);
    QCOMPARE(add(zip, base, {added}), 0);
    QVERIFY(unzipTests(archive));
}

QTEST_GUILESS_MAIN(ZipComponentTest)
#include "test_zip_component.moc"
