#include "describe/diz_numbering.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

QString dataFile(const QString &name)
{
    return QStringLiteral(KESTO_TEST_DATA "/diz/") + name;
}

// Ten lines; the third is 40 characters long.
QByteArray tenLineDiz()
{
    QByteArray text;
    for (int i = 1; i <= 10; ++i) {
        if (i == 3)
            text += QByteArray("Line three, forty characters wide: ").leftJustified(40, '=');
        else
            text += "line " + QByteArray::number(i);
        text += "\r\n";
    }
    return text;
}

QByteArray lineOf(const QByteArray &text, int number)
{
    return text.split('\n').value(number - 1).chopped(1); // without its CR
}

} // namespace

class DizNumberingTest : public QObject {
    Q_OBJECT

private slots:
    void numberText_data();
    void numberText();
    void numberedCopy_data();
    void numberedCopy();
    void numberPlacement_data();
    void numberPlacement();
    void numberedCopyOfItsOwnPath();
    void numberedCopyWithoutDescription();
    void test_data();
    void test();
    void testShowsSampleInEditor();
    void testWithoutResultRemovesSample();
    void testStopsEarly_data();
    void testStopsEarly();
    void nfoCopy_data();
    void nfoCopy();
    void nfoPathWithoutSeparator();
    void nfoMissing();
};

void DizNumberingTest::numberText_data()
{
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2 of 5") << 2 << 5 << "002/005";
    QTest::newRow("17 of 120") << 17 << 120 << "017/120";
    QTest::newRow("999 of 999") << 999 << 999 << "999/999";
    QTest::newRow("999 of 1000") << 999 << 1000 << "999/1000";
    QTest::newRow("1000 of 1000") << 1000 << 1000 << "1000/1000";
}

void DizNumberingTest::numberText()
{
    QFETCH(int, volume);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(volume, count), expected);
}

void DizNumberingTest::numberedCopy_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cp437 middle") << "cp437.diz"
                                  << "3"
                                  << "10" << 2 << 5 << "cp437_middle.expected";
    QTest::newRow("cp437 last columns") << "cp437.diz"
                                        << "2"
                                        << "34" << 12 << 12 << "cp437_line_end.expected";
    QTest::newRow("cp437 appended") << "cp437.diz"
                                    << "6"
                                    << "3" << 3 << 12 << "cp437_appended.expected";
    QTest::newRow("LF only") << "lf.diz"
                             << "3"
                             << "8" << 1 << 3 << "line_ends.expected";
    QTest::newRow("CR only") << "cr.diz"
                             << "3"
                             << "8" << 1 << 3 << "line_ends.expected";
    QTest::newRow("mixed") << "mixed.diz"
                           << "3"
                           << "8" << 1 << 3 << "line_ends.expected";
    QTest::newRow("no final break") << "no_final_break.diz"
                                    << "3"
                                    << "8" << 1 << 3 << "line_ends.expected";
    QTest::newRow("fields with text after the number")
        << "lf.diz"
        << "3rd"
        << " 8 col" << 1 << 3 << "line_ends.expected";
}

void DizNumberingTest::numberedCopy()
{
    QFETCH(QString, input);
    QFETCH(QString, line);
    QFETCH(QString, column);
    QFETCH(int, volume);
    QFETCH(int, count);
    QFETCH(QString, expected);
    TestSession t;
    t.session.job.DizPath = dataFile(input);
    t.session.job.DizAutoNumber = true;
    t.session.job.DizLine = line;
    t.session.job.DizColumn = column;

    QVERIFY(WriteNumberedDiz(t.session, volume, count));
    QCOMPARE(readAll(t.appDir() + "/file_id.diz"), readAll(dataFile(expected)));
}

void DizNumberingTest::numberPlacement_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("expectedLine3");
    const QByteArray line3 = lineOf(tenLineDiz(), 3);
    QTest::newRow("columns 34 to 40") << "3"
                                      << "34" << 2 << 5 << line3.left(33) + "002/005";
    QTest::newRow("one column too far") << "3"
                                        << "35" << 2 << 5 << line3 + "002/005";
    QTest::newRow("column 1") << "3"
                              << "1" << 2 << 5 << "002/005" + line3.mid(7);
    QTest::newRow("column 0 counts as 1") << "3"
                                          << "0" << 2 << 5 << "002/005" + line3.mid(7);
    QTest::newRow("wide number fits") << "3"
                                      << "32" << 1000 << 1000 << line3.left(31) + "1000/1000";
    QTest::newRow("wide number appended") << "3"
                                          << "34" << 999 << 1000 << line3 + "999/1000";
    QTest::newRow("line beyond the file") << "11"
                                          << "1" << 2 << 5 << line3;
    QTest::newRow("line 0") << "0"
                            << "1" << 2 << 5 << line3;
    QTest::newRow("line not a number") << "three"
                                       << "1" << 2 << 5 << line3;
}

void DizNumberingTest::numberPlacement()
{
    QFETCH(QString, line);
    QFETCH(QString, column);
    QFETCH(int, volume);
    QFETCH(int, count);
    QFETCH(QByteArray, expectedLine3);
    TestSession t;
    const QByteArray original = tenLineDiz();
    t.session.job.DizPath = t.writeFile("src/file_id.diz", original);
    t.session.job.DizLine = line;
    t.session.job.DizColumn = column;

    QVERIFY(WriteNumberedDiz(t.session, volume, count));
    const QByteArray copy = readAll(t.appDir() + "/file_id.diz");
    QByteArray expected = original;
    expected.replace(lineOf(original, 3), expectedLine3);
    QCOMPARE(copy, expected);
}

void DizNumberingTest::numberedCopyOfItsOwnPath()
{
    TestSession t;
    const QByteArray original = tenLineDiz();
    t.session.job.DizPath = t.writeFile("app/file_id.diz", original);
    t.session.job.DizLine = "3";
    t.session.job.DizColumn = "34";

    QVERIFY(WriteNumberedDiz(t.session, 4, 9));
    QByteArray expected = original;
    expected.replace(lineOf(original, 3), lineOf(original, 3).left(33) + "004/009");
    QCOMPARE(readAll(t.session.job.DizPath), expected);
}

void DizNumberingTest::numberedCopyWithoutDescription()
{
    TestSession t;
    t.session.job.DizPath = t.path("gone/file_id.diz");
    t.session.job.DizLine = "1";
    t.session.job.DizColumn = "1";
    QVERIFY(!WriteNumberedDiz(t.session, 1, 2));
    QVERIFY(!QFile::exists(t.appDir() + "/file_id.diz"));

    t.session.job.DizPath = t.writeFile("file_id.diz", "text\r\n");
    QDir(t.appDir()).removeRecursively();
    QVERIFY(!WriteNumberedDiz(t.session, 1, 2));
}

void DizNumberingTest::test_data()
{
    QTest::addColumn<QByteArray>("description"); // null: no such file
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("batch");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("events"); // what the window was asked, in order

    const QByteArray diz = tenLineDiz();
    QTest::newRow("fits") << diz << "3"
                          << "34" << false << true << ""
                          << "";
    QTest::newRow("column too high") << diz << "3"
                                     << "35" << false << false << "Column number too high"
                                     << "page:Diz focus:DizColumn";
    QTest::newRow("column too high, batch") << diz << "3"
                                            << "35" << true << false << ""
                                            << "page:Diz focus:DizColumn";
    QTest::newRow("column 0") << diz << "3"
                              << "0" << false << false << "Column number too low"
                              << "page:Diz focus:DizColumn";
    QTest::newRow("column not a number") << diz << "3"
                                         << "x" << false << false << "Column number too low"
                                         << "page:Diz focus:DizColumn";
    QTest::newRow("line beyond the file") << diz << "11"
                                          << "1" << false << false << "Line number too high"
                                          << "page:Diz focus:DizLine";
    QTest::newRow("line beyond the file, batch") << diz << "11"
                                                 << "1" << true << false << ""
                                                 << "page:Diz focus:DizLine";
    QTest::newRow("empty description") << QByteArray("") << "1"
                                       << "1" << false << false << "Line number too high"
                                       << "page:Diz focus:DizLine";
    QTest::newRow("line 0") << diz << "0"
                            << "99" << false << true << ""
                            << "";
    QTest::newRow("line not a number") << diz << "last"
                                       << "99" << false << true << ""
                                       << "";
    QTest::newRow("line field empty") << diz << ""
                                      << "99" << false << false << ""
                                      << "page:Diz focus:DizLine";
    QTest::newRow("column field empty") << diz << "3"
                                        << "" << false << false << ""
                                        << "page:Diz focus:DizColumn";
    QTest::newRow("both fields empty") << diz << ""
                                       << "" << false << false << ""
                                       << "page:Diz focus:DizColumn";
    QTest::newRow("description gone") << QByteArray() << "3"
                                      << "34" << false << false << "Can't read the description file"
                                      << "page:Diz";
    QTest::newRow("description gone, batch") << QByteArray() << "3"
                                             << "34" << true << false << ""
                                             << "page:Diz";
}

void DizNumberingTest::test()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, line);
    QFETCH(QString, column);
    QFETCH(bool, batch);
    QFETCH(bool, passed);
    QFETCH(QString, message);
    QFETCH(QString, events);
    TestSession t;
    JobSettings &job = t.session.job;
    job.DizPath = description.isNull() ? t.path("gone/file_id.diz")
                                       : t.writeFile("src/file_id.diz", description);
    job.DizAutoNumber = true;
    job.DizLine = line;
    job.DizColumn = column;
    t.session.state.BatchRun = batch;
    t.session.state.DizTestPassed = !passed;
    const JobSettings before = job;

    TestDizNumbering(t.session, false);

    QCOMPARE(t.session.state.DizTestPassed, passed);
    QCOMPARE(t.window.events.join(' '), events);
    QCOMPARE(t.messages.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(t.messages.shown[0].text, message);
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Exclamation);
        QCOMPARE(t.messages.shown[0].buttons, Buttons::Ok);
    }
    QVERIFY(job == before);
    QVERIFY(t.launcher.started.isEmpty());
    QVERIFY(!t.lifetime.ended);
}

void DizNumberingTest::testShowsSampleInEditor()
{
    TestSession t;
    const QByteArray original = tenLineDiz();
    t.session.job.DizPath = t.writeFile("src/file_id.diz", original);
    t.session.job.DizAutoNumber = true;
    t.session.job.DizLine = "3";
    t.session.job.DizColumn = "34";

    TestDizNumbering(t.session, true);

    QVERIFY(t.session.state.DizTestPassed);
    const QString sample = t.systemDir() + "/~kesto.diz";
    QCOMPARE(t.launcher.started.size(), 1);
    QCOMPARE(t.launcher.started[0].commandLine, "notepad.exe " + sample);
    QCOMPARE(t.launcher.started[0].mode, WindowMode::ShowNoActivate);
    // The editor may read the sample late: it is still there.
    QByteArray expected = original;
    expected.replace(lineOf(original, 3), lineOf(original, 3).left(33) + "001/999");
    QCOMPARE(readAll(sample), expected);
    QCOMPARE(t.window.served, 10);
    QVERIFY(t.messages.shown.isEmpty());
}

void DizNumberingTest::testWithoutResultRemovesSample()
{
    TestSession t;
    t.session.job.DizPath = t.writeFile("src/file_id.diz", tenLineDiz());
    t.session.job.DizAutoNumber = true;
    t.session.job.DizLine = "3";
    t.session.job.DizColumn = "34";
    TestDizNumbering(t.session, false);
    QVERIFY(t.session.state.DizTestPassed);
    QVERIFY(!QFile::exists(t.systemDir() + "/~kesto.diz"));
}

void DizNumberingTest::testStopsEarly_data()
{
    QTest::addColumn<bool>("withPath");
    QTest::addColumn<bool>("autoNumber");
    QTest::addColumn<bool>("passedBefore");
    QTest::newRow("no description") << false << true << true;
    QTest::newRow("no description, not passed") << false << true << false;
    QTest::newRow("numbering off") << true << false << true;
}

void DizNumberingTest::testStopsEarly()
{
    QFETCH(bool, withPath);
    QFETCH(bool, autoNumber);
    QFETCH(bool, passedBefore);
    TestSession t;
    t.session.job.DizPath = withPath ? t.writeFile("src/file_id.diz", tenLineDiz()) : QString();
    t.session.job.DizAutoNumber = autoNumber;
    t.session.job.DizLine = "99"; // would fail if the test ran
    t.session.job.DizColumn = "1";
    t.session.state.DizTestPassed = passedBefore;

    TestDizNumbering(t.session, true);

    QCOMPARE(t.session.state.DizTestPassed, passedBefore);
    QVERIFY(t.window.events.isEmpty());
    QVERIFY(t.messages.shown.isEmpty());
    QVERIFY(t.launcher.started.isEmpty());
    QVERIFY(QDir(t.systemDir()).isEmpty());
}

void DizNumberingTest::nfoCopy_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("served");
    QTest::newRow("without tag") << "plain.nfo" << 4;
    QTest::newRow("ending in the tag") << "tagged.nfo" << 2;
    QTest::newRow("tag followed by more lines") << "tag_then_more.nfo" << 1;
}

void DizNumberingTest::nfoCopy()
{
    QFETCH(QString, input);
    QFETCH(int, served);
    TestSession t;
    t.session.job.NfoPath = dataFile(input);

    QVERIFY(WriteVolumeNfo(t.session));
    QCOMPARE(t.session.state.NfoWorkName, input);
    QCOMPARE(readAll(t.appDir() + "/" + input), readAll(dataFile(input + ".expected")));
    QCOMPARE(t.window.served, served);
}

void DizNumberingTest::nfoPathWithoutSeparator()
{
    TestSession t;
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(KESTO_TEST_DATA "/diz"));
    t.session.job.NfoPath = "tagged.nfo";
    t.session.state.NfoWorkName = "earlier.nfo";

    const bool written = WriteVolumeNfo(t.session);
    QDir::setCurrent(previousDir);

    QVERIFY(written);
    QCOMPARE(t.session.state.NfoWorkName, QStringLiteral("earlier.nfo"));
    QCOMPARE(readAll(t.appDir() + "/earlier.nfo"), readAll(dataFile("tagged.nfo.expected")));
}

void DizNumberingTest::nfoMissing()
{
    TestSession t;
    t.session.job.NfoPath = t.path("gone/about.nfo");
    QVERIFY(!WriteVolumeNfo(t.session));
    QCOMPARE(t.session.state.NfoWorkName, QStringLiteral("about.nfo"));
    QVERIFY(!QFile::exists(t.appDir() + "/about.nfo"));
}

QTEST_GUILESS_MAIN(DizNumberingTest)
#include "test_diz_numbering.moc"
