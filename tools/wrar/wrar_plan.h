#pragma once
// What wrar asks of 7-Zip: the archiver command line it understands, and its translation.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace wrar {

// Exit status for a command line wrar does not understand (7-Zip's own "usage" status).
constexpr int UsageStatus = 7;
// Exit status for a failure before 7-Zip runs (7-Zip's "fatal error").
constexpr int FatalStatus = 2;

// a -r -v<N>b [-m5] [-s] -y <archive> <source> [-x@<list>]
struct Request {
    qint64 volumeSize = 0;        // 0: one archive of any size
    bool bestCompression = false; // -m5
    bool solid = false;           // -s
    QString archive;              // the first volume's path
    QString source;
    QString listFile; // empty: nothing excluded
};

// False, with the reason, for anything outside the grammar above.
bool ParseArguments(const QStringList &arguments, Request &request, QString &error);

// The name 7-Zip is given: without ".001" when cut into volumes, since 7-Zip adds the numbers.
QString SevenZipArchiveName(const Request &request);

// 7-Zip's arguments; translatedList is the exclusion list file for 7-Zip, or empty.
QStringList SevenZipArguments(const Request &request, const QString &translatedList);

// The skip file (absolute paths, "dir/*.*" for a whole directory, lines ended CR LF, LF or CR)
// as 7-Zip's exclusion list: paths as stored in the archive, which begin with the source folder's
// own name, one quoted entry per line. Entries outside the source cannot match and are dropped.
// packedPath is what 7-Zip is given when that is not the source as named (a link resolved).
QByteArray TranslateExclusions(const QByteArray &skipFile, const QByteArray &sourcePath,
                               const QByteArray &packedPath = {});

} // namespace wrar
