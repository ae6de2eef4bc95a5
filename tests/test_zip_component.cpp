#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/zip_component.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

Q_DECLARE_METATYPE(kesto::ZipResult)

namespace {

const QByteArray text =
    QByteArray("The quick brown fox jumps over the lazy dog.\r\n").repeated(4000);

} // namespace

// Every test works in a fresh directory: sources below src/, the archive out/test.zip.
class ZipComponentTest : public QObject {
    Q_OBJECT

    std::optional<TestSession> t_;
    ZipComponent *zip = nullptr;

    QString path(const QString &relative) const { return t_->root.filePath(relative); }
    QString write(const QString &relative, const QByteArray &bytes) const
    {
        return t_->writeFile(relative, bytes);
    }
    ZipResult add(const QStringList &specifications, const QString &base = "out/test")
    {
        zip->ArchivePath = path(base);
        zip->FileList = specifications.join('\r') + '\r';
        return zip->RunCommand(0);
    }
    QString archive() const { return path("out/test.zip"); }
    QStringList out() const { return entriesOf(path("out")); }

private slots:
    void init()
    {
        t_.emplace();
        zip = &t_->zip;
        QDir().mkpath(path("out"));
    }

    // Regular files directly inside, links to them included; names as they are in any case.
    void directoryPattern()
    {
        write("extra/noext", "1");
        write("extra/with.dot", "2");
        write("extra/.hidden", "3");
        write("extra/sub/inner.txt", "4");
        QVERIFY(QFile::link(path("extra/with.dot"), path("extra/link")));
        QVERIFY(QFile::link(path("extra/gone"), path("extra/broken")));
        QCOMPARE(add({path("extra/*.*")}), ZipResult::Ok);
        QStringList names = unzipNames(archive());
        names.sort();
        QCOMPARE(names, (QStringList{".hidden", "link", "noext", "with.dot"}));
        QCOMPARE(unzipContent(archive(), "link"), "2");
        // An empty directory adds nothing and makes no archive.
        QDir().mkpath(path("empty"));
        QCOMPARE(add({path("empty/*.*")}, "out/fresh"), ZipResult::Ok);
        QVERIFY(!QFile::exists(path("out/fresh.zip")));
    }

    void namesAreFlaggedUtf8OnlyWhenTheyAre()
    {
        write("names/plain.txt", "a");
        write("names/\u00e4rger.txt", "b");
        // A name that is not UTF-8 can only be made below Qt.
        const QByteArray rawName = "raw\xe9.txt";
        const QByteArray rawPath = QFile::encodeName(path("names/")) + rawName;
        const int fd = ::open(rawPath.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);

        QCOMPARE(add({path("names/*.*")}), ZipResult::Ok);
        QVERIFY(unzipTests(archive()));
        QHash<QByteArray, quint16> flags;
        for (const CentralEntry &entry : centralDirectory(archive()))
            flags.insert(entry.name, entry.flags & 0x800);
        const QHash<QByteArray, quint16> expected{
            {"plain.txt", 0}, {QString("\u00e4rger.txt").toUtf8(), 0x800}, {rawName, 0}};
        QCOMPARE(flags, expected);
    }

    // Text deflates at the level asked for; data that deflate does not shrink is stored.
    void deflatesOrStores()
    {
        zip->CompressionLevel = 9;
        const QByteArray noise = randomBytes(300'000, 1);
        QCOMPARE(add({write("src/text.txt", text), write("src/noise.bin", noise)}), ZipResult::Ok);
        const QList<CentralEntry> entries = centralDirectory(archive());
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].method, 8);
        QCOMPARE(entries[0].flags & 0x6, 2); // deflate's option bits: maximum
        QCOMPARE(entries[1].method, 0);
        QCOMPARE(unzipContent(archive(), "noise.bin"), noise);
    }

    void abortLeavesArchiveAsItWas_data()
    {
        QTest::addColumn<bool>("archiveExists");
        QTest::addColumn<bool>("whileStoring"); // else at the first serving of events
        QTest::newRow("existing archive, at once") << true << false;
        QTest::newRow("existing archive, while storing") << true << true;
        QTest::newRow("new archive, while storing") << false << true;
    }
    void abortLeavesArchiveAsItWas()
    {
        QFETCH(bool, archiveExists);
        QFETCH(bool, whileStoring);
        const QString big = write("src/big.bin", randomBytes(2'000'000, 6));
        if (archiveExists)
            QCOMPARE(add({write("src/keep.txt", text)}), ZipResult::Ok);
        const QByteArray before = readAll(archive());
        const QStringList outBefore = out();
        int statusAtAbort = -1;
        if (whileStoring) {
            // Once the new file's own share (after the kept entry's half) has begun.
            connect(zip, &ZipComponent::Status, this, [&](int completion) {
                if (completion > 50 && statusAtAbort < 0) {
                    statusAtAbort = completion;
                    zip->AbortRequest = true;
                }
            });
        } else {
            zip->serveEvents = [this] { zip->AbortRequest = true; };
        }

        QCOMPARE(add({big}), ZipResult::Aborted);
        QCOMPARE(readAll(archive()), before);
        QCOMPARE(out(), outBefore); // no temporary file beside it
        QVERIFY(!zip->AbortRequest);
        if (whileStoring)
            QVERIFY(statusAtAbort < 100);
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("specifications"); // below the test directory
        QTest::addColumn<QString>("base");
        QTest::addColumn<ZipResult>("result");
        QTest::newRow("missing file")
            << QStringList{"src/b.txt", "src/missing.txt"} << "out/test" << ZipResult::NotFound;
        QTest::newRow("empty list") << QStringList{} << "out/test" << ZipResult::NothingToAdd;
        QTest::newRow("not a zip archive")
            << QStringList{"src/b.txt"} << "out/notes" << ZipResult::OpenFailed;
        QTest::newRow("no such directory")
            << QStringList{"src/b.txt"} << "nodir/test" << ZipResult::WriteFailed;
    }
    void refusalsChangeNothing()
    {
        QFETCH(QStringList, specifications);
        QFETCH(QString, base);
        write("src/b.txt", "beta");
        write("out/notes.zip", "just text");
        QCOMPARE(add({write("src/a.txt", "alpha")}), ZipResult::Ok);
        const QByteArray before = readAll(archive());
        for (QString &fileSpec : specifications)
            fileSpec = path(fileSpec);

        QTEST(add(specifications, base), "result");
        QCOMPARE(readAll(archive()), before);
        QCOMPARE(readAll(path("out/notes.zip")), "just text");
        QCOMPARE(out(), (QStringList{"notes.zip", "test.zip"}));
        QVERIFY(!QFileInfo::exists(path("nodir")));
    }

    void addsToAnExistingArchive_data()
    {
        QTest::addColumn<bool>("replace"); // big.bin anew, else c.txt added
        QTest::addColumn<int>("bigSize");
        QTest::addColumn<QString>("otherName"); // "hard", "soft" or empty
        QTest::newRow("entry in the middle") << true << 2'000'000 << QString();
        QTest::newRow("archive with a second name") << false << 300'000 << "hard";
        QTest::newRow("archive reached through a link") << false << 300'000 << "soft";
    }
    // The entries that stay are copied into the new archive, which then replaces the name given,
    // and only that name.
    void addsToAnExistingArchive()
    {
        QFETCH(bool, replace);
        QFETCH(int, bigSize);
        QFETCH(QString, otherName);
        const QString a = write("src/a.txt", text);
        const QString big = write("src/big.bin", randomBytes(bigSize, 8));
        const QString other = path("out/other.zip");
        // What an interrupted add left goes with the next add to that archive, and only that.
        write("out/test.zip.x1Y2z3", "half an archive");
        write("out/test.zip.notes", "the user's");
        QCOMPARE(add({a, big}, otherName == "soft" ? "out/other" : "out/test"), ZipResult::Ok);
        if (otherName == "soft")
            QVERIFY(QFile::link(other, archive()));
        if (otherName == "hard")
            QCOMPARE(::link(QFile::encodeName(archive()).constData(),
                            QFile::encodeName(other).constData()),
                     0);
        const QByteArray otherBefore = readAll(other);

        if (replace)
            write("src/big.bin", randomBytes(bigSize, 9));
        QCOMPARE(add({replace ? big : write("src/c.txt", "gamma")}), ZipResult::Ok);

        const QStringList names =
            replace ? QStringList{"a.txt", "big.bin"} : QStringList{"a.txt", "big.bin", "c.txt"};
        QCOMPARE(unzipNames(archive()), names);
        QVERIFY(unzipTests(archive()));
        QCOMPARE(unzipContent(archive(), "a.txt"), text);
        QCOMPARE(unzipContent(archive(), "big.bin"), randomBytes(bigSize, replace ? 9 : 8));
        QCOMPARE(readAll(other), otherBefore);
        QCOMPARE(out().join(' '), otherName.isEmpty() ? "test.zip test.zip.notes"
                                                      : "other.zip test.zip test.zip.notes");
    }

    void fileSizeLimitLeavesArchiveAsItWas_data()
    {
        QTest::addColumn<bool>("archiveExists");
        QTest::addColumn<int>("limit"); // the largest file that can be written
        // The new entries do not fit beside the entries kept; nor does the copy of those kept.
        QTest::newRow("adding") << true << 3'000'200;
        QTest::newRow("copying the kept entries") << true << 1'000'000;
        QTest::newRow("creating") << false << 1'000'000;
    }
    void fileSizeLimitLeavesArchiveAsItWas()
    {
        QFETCH(bool, archiveExists);
        QFETCH(int, limit);
        const QString added = write("src/added.bin", randomBytes(1'500'000, 11));
        if (archiveExists)
            QCOMPARE(add({write("src/big.bin", randomBytes(3'000'000, 10))}), ZipResult::Ok);
        const QStringList outBefore = out();
        const QByteArray before = readAll(archive());

        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(limit);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const ZipResult result = add({added});
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(result, ZipResult::FileSizeLimit);
        QCOMPARE(zip->failedPath(), archive());
        QCOMPARE(readAll(archive()), before);
        QCOMPARE(out(), outBefore); // no temporary file beside it
        QCOMPARE(add({added}), ZipResult::Ok);
        QVERIFY(unzipTests(archive()));
    }
};

QTEST_GUILESS_MAIN(ZipComponentTest)
#include "test_zip_component.moc"
