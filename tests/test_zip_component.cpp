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
            // Half-way through the file.
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

    void replacesWhatIsAtTheName_data()
    {
        QTest::addColumn<QString>("earlier"); // at out/test.zip before the write
        QTest::newRow("an earlier archive") << "archive";
        QTest::newRow("an archive with a second name") << "hard link";
        QTest::newRow("a link to another archive") << "soft link";
        QTest::newRow("a file that is no archive") << "text";
    }
    // The archive holds exactly the files written; whatever stood at its name is replaced as a
    // name, never read or written through, and nothing else is touched.
    void replacesWhatIsAtTheName()
    {
        QFETCH(QString, earlier);
        const QString other = path("out/other.zip");
        if (earlier == "text")
            write("out/test.zip", "just text");
        else
            QCOMPARE(
                add({write("src/a.txt", text)}, earlier == "soft link" ? "out/other" : "out/test"),
                ZipResult::Ok);
        if (earlier == "soft link")
            QVERIFY(QFile::link(other, archive()));
        if (earlier == "hard link")
            QCOMPARE(::link(QFile::encodeName(archive()).constData(),
                            QFile::encodeName(other).constData()),
                     0);
        const QByteArray otherBefore = readAll(other);
        // What a killed write left goes with the next write of that archive, and only that.
        write("out/.test.zip.kesto32-x1Y2z3", "half an archive");
        const QStringList usersOwn{".test.zip.kesto32-x1Y2z", "test.zip.x1Y2z3", "test.zip.notes"};
        for (const QString &name : usersOwn)
            write("out/" + name, "the user's");

        QCOMPARE(add({write("src/c.txt", "gamma")}), ZipResult::Ok);

        QCOMPARE(unzipNames(archive()), QStringList{"c.txt"});
        QVERIFY(unzipTests(archive()));
        QVERIFY(!QFileInfo(archive()).isSymLink());
        QCOMPARE(readAll(other), otherBefore);
        QStringList expected = usersOwn + QStringList{"test.zip"};
        if (!otherBefore.isEmpty())
            expected << "other.zip";
        expected.sort();
        QCOMPARE(out(), expected);
    }

    void fileSizeLimitLeavesArchiveAsItWas_data()
    {
        QTest::addColumn<bool>("archiveExists");
        QTest::addColumn<int>("limit"); // the largest file that can be written
        QTest::newRow("replacing") << true << 1'000'000;
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
