// Adding entries to the skip list and clearing it.
#include "describe/skip_list.h"
#include "support/fakes.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

class TestSkipList : public QObject {
    Q_OBJECT

private slots:
    void subDirectory_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("expected");
        QTest::newRow("sub-directory") << ""
                                       << "/src/old"
                                       << "/src/old/*.*\r\n";
        QTest::newRow("case kept") << ""
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
        t.session.job.SourcePath = QStringLiteral("/src");
        t.session.job.SkipList = list;
        t.dialogs.answers = QStringList{answer};

        AddSkipEntry(t.session, true);

        QCOMPARE(t.session.job.SkipList, expected);
        QCOMPARE(t.window.jobChanges, expected == list ? 0 : 1);
        QVERIFY(t.messages.shown.isEmpty());
        QCOMPARE(t.dialogs.calls.size(), 1);
        QCOMPARE(t.dialogs.calls[0].kind, QStringLiteral("folder"));
        QCOMPARE(t.dialogs.calls[0].setup.title, QStringLiteral("Directory to skip"));
        QCOMPARE(t.dialogs.calls[0].setup.startDir, QStringLiteral("/src"));
    }

    void file_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("refused");
        QTest::newRow("within") << "/src/docs/readme.txt"
                                << "/src/docs/readme.txt\r\n"
                                << false;
        QTest::newRow("leading characters only") << "/src2/a.txt"
                                                 << "/src2/a.txt\r\n"
                                                 << false;
        QTest::newRow("outside") << "/a.txt"
                                 << "" << true;
        QTest::newRow("shorter than source") << "/sr"
                                             << "" << true;
        QTest::newRow("other case") << "/Src/a.txt"
                                    << "" << true;
        QTest::newRow("nothing chosen") << ""
                                        << "" << false;
        QTest::newRow("cancelled") << QString() << "" << false;
    }

    void file()
    {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QFETCH(bool, refused);
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/src");
        t.dialogs.answers = QStringList{answer};

        AddSkipEntry(t.session, false);

        QCOMPARE(t.session.job.SkipList, expected);
        QCOMPARE(t.dialogs.calls.size(), 1);
        const DialogCall &call = t.dialogs.calls[0];
        QCOMPARE(call.kind, QStringLiteral("open"));
        QCOMPARE(call.setup.title, QStringLiteral("Add skip file"));
        QCOMPARE(call.setup.filter, QStringLiteral("Skip file (*.*)|*.*|"));
        QCOMPARE(call.setup.initialName, QStringLiteral("*.*"));
        QCOMPARE(call.setup.startDir, QStringLiteral("/src"));
        QCOMPARE(t.messages.shown.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(t.messages.shown[0].text, QStringLiteral("Path isn't within source path"));
            QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
            QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
        }
    }

    void noSourceSendsToSourcePage_data()
    {
        QTest::addColumn<bool>("subDir");
        QTest::newRow("sub-dir") << true;
        QTest::newRow("file") << false;
    }

    void noSourceSendsToSourcePage()
    {
        QFETCH(bool, subDir);
        TestSession t;
        t.session.job.SkipList = QStringLiteral("typed\r\n");
        t.dialogs.answers = QStringList{QStringLiteral("/src/a")};

        AddSkipEntry(t.session, subDir);

        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].text,
                 QStringLiteral("You must pick a source drive or directory first"));
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Stop);
        QCOMPARE(t.window.events, (QStringList{"hide", "page:Source"}));
        QVERIFY(t.dialogs.calls.isEmpty());
        QCOMPARE(t.session.job.SkipList, QStringLiteral("typed\r\n"));
    }

    void entriesAccumulateInOrder()
    {
        TestSession t;
        t.session.job.SourcePath = QStringLiteral("/src");
        t.dialogs.answers = QStringList{"/src/old", "/src/docs/a.txt", "/src/tmp/"};
        AddSkipEntry(t.session, true);
        AddSkipEntry(t.session, false);
        AddSkipEntry(t.session, true);
        QCOMPARE(t.session.job.SkipList,
                 QStringLiteral("/src/old/*.*\r\n/src/docs/a.txt\r\n/src/tmp/*.*\r\n"));
        QCOMPARE(t.window.jobChanges, 3);
    }

    void clear()
    {
        TestSession t;
        t.session.job.SkipList = QStringLiteral("/src/old/*.*\r\n");
        ClearSkipList(t.session);
        QCOMPARE(t.session.job.SkipList, QString());
        QCOMPARE(t.window.jobChanges, 1);
    }
};

QTEST_GUILESS_MAIN(TestSkipList)
#include "test_skip_list.moc"
