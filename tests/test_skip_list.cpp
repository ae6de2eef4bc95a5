// Adding entries to the skip list and clearing it.
#include "describe/skip_list.h"
#include "support/fakes.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

void checkStopMessage(const TestSession &t, const char *text)
{
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.messages.shown[0].text, text);
    QCOMPARE(t.messages.shown[0].title, "Kesto32 error");
    QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
}

} // namespace

class TestSkipList : public QObject {
    Q_OBJECT

private slots:
    void subDirectory_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("expected");
        QTest::newRow("sub-directory, case kept") << ""
                                                  << "/src/Old"
                                                  << "/src/Old/*.*\r\n";
        QTest::newRow("root") << ""
                              << "/"
                              << "/*.*\r\n";
        QTest::newRow("trailing separator") << ""
                                            << "/src/old/"
                                            << "/src/old/*.*\r\n";
        QTest::newRow("appended") << "/src/a/*.*\r\n"
                                  << "/src/b"
                                  << "/src/a/*.*\r\n/src/b/*.*\r\n";
        QTest::newRow("source itself") << "/src/a/*.*\r\n"
                                       << "/src"
                                       << "/src/a/*.*\r\n";
        QTest::newRow("cancelled") << "/src/a/*.*\r\n" << QString() << "/src/a/*.*\r\n";
        QTest::newRow("nothing chosen") << ""
                                        << ""
                                        << "";
    }

    void subDirectory()
    {
        QFETCH(QString, list);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.session.job.SkipList = list;
        t.dialogs.answers << answer;

        AddSkipEntry(t.session, true);

        QCOMPARE(t.session.job.SkipList, expected);
        QCOMPARE(t.window.jobChanges, expected == list ? 0 : 1);
        QVERIFY(t.messages.shown.isEmpty());
        QCOMPARE(t.dialogs.calls.size(), 1);
        QCOMPARE(t.dialogs.calls[0].kind, "folder");
        QCOMPARE(t.dialogs.calls[0].setup.title, "Directory to skip");
        QCOMPARE(t.dialogs.calls[0].setup.startDir, "/src");
    }

    void file_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<bool>("taken");
        QTest::newRow("within") << "/src/docs/readme.txt" << true;
        QTest::newRow("leading characters only") << "/src2/a.txt" << true;
        QTest::newRow("outside") << "/a.txt" << false;
        QTest::newRow("shorter than source") << "/sr" << false;
        QTest::newRow("other case") << "/Src/a.txt" << false;
        QTest::newRow("nothing chosen") << "" << false;
        QTest::newRow("cancelled") << QString() << false;
    }

    void file()
    {
        QFETCH(QString, answer);
        QFETCH(bool, taken);
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.dialogs.answers << answer;

        AddSkipEntry(t.session, false);

        QCOMPARE(t.session.job.SkipList, taken ? answer + "\r\n" : "");
        QCOMPARE(t.dialogs.calls.size(), 1);
        const FileDialogSetup &setup = t.dialogs.calls[0].setup;
        QCOMPARE(t.dialogs.calls[0].kind, "open");
        QCOMPARE(setup.title, "Add skip file");
        QCOMPARE(setup.filter, "Skip file (*.*)|*.*|");
        QCOMPARE(setup.initialName, "*.*");
        QCOMPARE(setup.startDir, "/src");
        if (taken || answer.isEmpty())
            QVERIFY(t.messages.shown.isEmpty());
        else
            checkStopMessage(t, "Path isn't within source path");
    }

    void noSourceSendsToSourcePage()
    {
        for (const bool subDir : {true, false}) {
            TestSession t;
            t.session.job.SkipList = "typed\r\n";
            t.dialogs.answers << "/src/a";
            AddSkipEntry(t.session, subDir);
            checkStopMessage(t, "You must pick a source drive or directory first");
            QCOMPARE(t.window.events, (QStringList{"hide", "page:Source"}));
            QVERIFY(t.dialogs.calls.isEmpty());
            QCOMPARE(t.session.job.SkipList, "typed\r\n");
        }
    }

    void entriesAccumulateInOrderAndClear()
    {
        TestSession t;
        t.session.job.SourcePath = "/src";
        t.dialogs.answers = QStringList{"/src/old", "/src/docs/a.txt", "/src/tmp/"};
        AddSkipEntry(t.session, true);
        AddSkipEntry(t.session, false);
        AddSkipEntry(t.session, true);
        QCOMPARE(t.session.job.SkipList, "/src/old/*.*\r\n/src/docs/a.txt\r\n/src/tmp/*.*\r\n");
        QCOMPARE(t.window.jobChanges, 3);
        ClearSkipList(t.session);
        QCOMPARE(t.session.job.SkipList, "");
        QCOMPARE(t.window.jobChanges, 4);
    }
};

QTEST_GUILESS_MAIN(TestSkipList)
#include "test_skip_list.moc"
