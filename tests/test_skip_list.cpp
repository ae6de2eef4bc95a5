// Adding entries to the skip list and clearing it.
#include "describe/skip_list.h"
#include "support/fakes.h"
#include "support/rows.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// The source is /src; a null answer cancels the dialog.
const struct {
    const char *name, *list;
    QString answer;
    const char *expected;
} subDirectories[] = {
    {"sub-directory, case kept", "", "/src/Old", "/src/Old/*.*\r\n"},
    {"root", "", "/", "/*.*\r\n"},
    {"trailing separator", "", "/src/old/", "/src/old/*.*\r\n"},
    {"appended", "/src/a/*.*\r\n", "/src/b", "/src/a/*.*\r\n/src/b/*.*\r\n"},
    {"source itself", "/src/a/*.*\r\n", "/src", "/src/a/*.*\r\n"},
    {"cancelled", "/src/a/*.*\r\n", QString(), "/src/a/*.*\r\n"},
    {"nothing chosen", "", "", ""},
};

const struct {
    const char *name;
    QString answer;
    bool taken;
} files[] = {
    {"within", "/src/docs/readme.txt", true},
    {"leading characters only", "/src2/a.txt", true},
    {"outside", "/a.txt", false},
    {"shorter than source", "/sr", false},
    {"other case", "/Src/a.txt", false},
    {"nothing chosen", "", false},
    {"cancelled", QString(), false},
};

} // namespace

class TestSkipList : public QObject {
    Q_OBJECT

private slots:
    void subDirectory_data() { addRows(subDirectories); }
    void subDirectory()
    {
        const auto &row = currentRow(subDirectories);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.SkipList = row.list;
        t.dialogs.answers << row.answer;

        AddSkipEntry(t.session, true);

        checkDialog(t, "folder", {"Directory to skip", "", "", "/src"});
        QCOMPARE(t.session.job.SkipList, row.expected);
        QCOMPARE(t.window.jobChanges, t.session.job.SkipList == row.list ? 0 : 1);
        QVERIFY(t.messages.shown.isEmpty());
    }

    void file_data() { addRows(files); }
    void file()
    {
        const auto &row = currentRow(files);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.SkipList = "/src/a/*.*\r\n";
        t.dialogs.answers << row.answer;

        AddSkipEntry(t.session, false);

        checkDialog(t, "open", {"Add skip file", "Skip file (*.*)|*.*|", "*.*", "/src"});
        QCOMPARE(t.session.job.SkipList, "/src/a/*.*\r\n" + (row.taken ? row.answer + "\r\n" : ""));
        checkMessage(t, row.taken || row.answer.isEmpty() ? "" : "Path isn't within source path",
                     Icon::Stop);
    }
};

QTEST_GUILESS_MAIN(TestSkipList)
#include "test_skip_list.moc"
