#pragma once
// A test program doubles as a stand-in outside program, so that tests see exactly which
// arguments a started program received.
#include <QCoreApplication>
#include <QtTest>
#include <optional>

namespace kesto::test {

// With KESTO_ARGV_DUMP set: writes the arguments (each followed by NUL) to that file and one per
// line to standard output; creates the file KESTO_ARGV_TOUCH; exits with KESTO_ARGV_STATUS (0).
// Without it: nullopt, the tests run.
std::optional<int> runAsArgvDump(int argc, char **argv);

// Reads what runAsArgvDump wrote.
QList<QByteArray> readArgvDump(const QString &path);

} // namespace kesto::test

// QTEST_GUILESS_MAIN that first lets the program act as the stand-in.
#define KESTO_TEST_MAIN_WITH_ARGV_DUMP(TestObject)                                                 \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (const std::optional<int> status = kesto::test::runAsArgvDump(argc, argv))              \
            return *status;                                                                        \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
