#include "describe/diz_numbering.h"
#include "support/fakes.h"
#include "support/rows.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

QString dataFile(const QString &name)
{
    return QStringLiteral(KESTO_TEST_DATA "/diz/") + name;
}

const QByteArray Line3 = QByteArray("Line three, forty characters wide: ").leftJustified(40, '=');

// Ten lines; the third, given or Line3, is 40 characters long.
QByteArray tenLineDiz(const QByteArray &line3 = Line3)
{
    QByteArray text;
    for (int i = 1; i <= 10; ++i)
        text += (i == 3 ? line3 : "line " + QByteArray::number(i)) + "\r\n";
    return text;
}

void setDiz(TestSession &t, const QString &path, const QString &line, const QString &column)
{
    t.session.job.DizPath = path;
    t.session.job.DizAutoNumber = true;
    t.session.job.DizLine = line;
    t.session.job.DizColumn = column;
}

// Numbered copies of the files in tests/data against the expected bytes there.
const struct {
    const char *name, *input, *line, *column;
    int volume, count;
    const char *expected;
} copies[] = {
    {"cp437 middle", "cp437.diz", "3", "10", 2, 5, "cp437_middle.expected"},
    {"cp437 last columns", "cp437.diz", "2", "34", 12, 12, "cp437_line_end.expected"},
    {"cp437 appended", "cp437.diz", "6", "3", 3, 12, "cp437_appended.expected"},
    {"LF only", "lf.diz", "3", "8", 1, 3, "line_ends.expected"},
    {"CR only", "cr.diz", "3", "8", 1, 3, "line_ends.expected"},
    {"mixed", "mixed.diz", "3", "8", 1, 3, "line_ends.expected"},
    {"no final break", "no_final_break.diz", "3", "8", 1, 3, "line_ends.expected"},
    {"fields with text after the number", "lf.diz", "3rd", " 8 col", 1, 3, "line_ends.expected"},
};

// Where the number lands in tenLineDiz(): the third line afterwards.
const struct {
    const char *name, *line, *column;
    int volume, count;
    QByteArray line3;
    const char *file = "src/file_id.diz"; // below the session's root
} placements[] = {
    {"columns 34 to 40", "3", "34", 2, 5, Line3.left(33) + "002/005"},
    {"one column too far", "3", "35", 2, 5, Line3 + "002/005"},
    {"column 0 counts as 1", "3", "0", 2, 5, "002/005" + Line3.mid(7)},
    // From 1000 volumes the number is wider than its field: the line grows.
    {"wide number in the last columns", "3", "34", 999, 1000, Line3.left(33) + "999/1000"},
    {"wide number mid-line", "3", "32", 1000, 1000, Line3.left(31) + "1000/1000" + Line3.mid(38)},
    {"wide number one column too far", "3", "35", 1, 1000, Line3 + "001/1000"},
    {"line beyond the file", "11", "1", 2, 5, Line3},
    {"line 0", "0", "1", 2, 5, Line3},
    {"the numbered copy's own place", "3", "34", 4, 9, Line3.left(33) + "004/009",
     "app/file_id.diz"},
};

const char *const AtColumn = "page:Diz focus:DizColumn", *const AtLine = "page:Diz focus:DizLine";

enum Description { Ten, Empty, Gone }; // tenLineDiz(), an empty file, no file

const struct {
    const char *name, *line, *column;
    const char *message; // empty when passed or silent
    const char *events;  // what the window was asked, in order; empty: passed
    bool batch = false;
    Description description = Ten;
} tests[] = {
    {"fits", "3", "34", "", ""},
    {"column too high", "3", "35", "Column number too high", AtColumn},
    {"column too high, batch", "3", "35", "", AtColumn, true},
    {"column 0", "3", "0", "Column number too low", AtColumn},
    {"line beyond the file", "11", "1", "Line number too high", AtLine},
    {"empty description", "1", "1", "Line number too high", AtLine, false, Empty},
    {"line 0", "0", "99", "", ""},
    {"line field empty", "", "99", "", AtLine},
    {"column field empty", "3", "", "", AtColumn},
    {"description gone", "3", "34", "Can't read the description file", "page:Diz", false, Gone},
};

} // namespace

class DizNumberingTest : public QObject {
    Q_OBJECT

private slots:
    void numberedCopy_data() { addRows(copies); }
    void numberedCopy()
    {
        const auto &row = currentRow(copies);
        TestSession t;
        setDiz(t, dataFile(row.input), row.line, row.column);
        QVERIFY(WriteNumberedDiz(t.session, row.volume, row.count));
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), readAll(dataFile(row.expected)));
    }

    void numberPlacement_data() { addRows(placements); }
    void numberPlacement()
    {
        const auto &row = currentRow(placements);
        TestSession t;
        setDiz(t, t.writeFile(row.file, tenLineDiz()), row.line, row.column);
        QVERIFY(WriteNumberedDiz(t.session, row.volume, row.count));
        QCOMPARE(readAll(t.appDir() + "/file_id.diz"), tenLineDiz(row.line3));
    }

    void test_data() { addRows(tests); }
    void test()
    {
        const auto &row = currentRow(tests);
        const QString events = row.events;
        TestSession t;
        const QByteArray text = row.description == Ten ? tenLineDiz() : "";
        setDiz(t,
               row.description == Gone ? t.path("gone/file_id.diz")
                                       : t.writeFile("src/file_id.diz", text),
               row.line, row.column);
        t.session.state.BatchRun = row.batch;
        t.session.state.DizTestPassed = !events.isEmpty();
        const JobSettings before = t.session.job;

        const QString why = TestDizNumbering(t.session, false);

        QCOMPARE(t.session.state.DizTestPassed, events.isEmpty());
        QCOMPARE(why.isEmpty(), events.isEmpty());
        QCOMPARE(t.window.events.join(' '), events);
        checkMessage(t, row.message);
        QCOMPARE(t.session.job, before);
        QVERIFY(t.launcher.started.isEmpty());
        QVERIFY(!QFile::exists(t.systemDir() + "/~kesto.diz")); // no sample kept unshown
    }

    void nfoCopy_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("served");
        QTest::newRow("without tag") << "plain.nfo" << 4;
        QTest::newRow("ending in the tag") << "tagged.nfo" << 2;
        QTest::newRow("tag followed by more lines") << "tag_then_more.nfo" << 1;
    }

    void nfoCopy()
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
};

QTEST_GUILESS_MAIN(DizNumberingTest)
#include "test_diz_numbering.moc"
