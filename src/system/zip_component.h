#pragma once
// The zip component: writes a zip archive of file specifications through libzip.
#include <QByteArrayList>
#include <QObject>
#include <QString>

#include <functional>

namespace kesto {

// How an add (or a sync) ended.
enum class ZipResult {
    Ok,
    Aborted,        // AbortRequest or a stop signal: the archive is as it was
    Busy,           // asked from inside an add
    UnknownCommand, // a RunCommand code other than 0
    NothingToAdd,   // an empty FileList
    NotFound,       // the file or pattern names no regular file or directory
    OpenFailed,     // the archive cannot be made or is no zip archive
    FileSizeLimit,  // the process may not write a file that large (RLIMIT_FSIZE)
    DiskFull,
    WriteFailed, // any other failure while writing the archive
    SyncFailed,
};

// "aborted", "disk full", ... for a batch run's line.
QString ZipResultText(ZipResult result);

class ZipComponent : public QObject {
    Q_OBJECT
public:
    explicit ZipComponent(QObject *parent = nullptr);
    ~ZipComponent() override;

    // Asks the write in progress to stop. A write that stops or fails clears it; one that has
    // gone too far to stop leaves it for the next write, which then stops at once.
    bool AbortRequest = false;
    int CompressionLevel = 6;
    // The archive written is ArchivePath + ".zip".
    QString ArchivePath;
    // File specifications, each ended by a CR: a path, a name relative to the current directory,
    // or "dir/*.*" for the regular files directly in dir.
    QString FileList;
    // Files given by their exact bytes (a name need not be UTF-8 and may hold any character),
    // stored under their bare names after FileList's.
    QByteArrayList FilePaths;

    // Code 0: writes the archive afresh, holding exactly the files of FileList and FilePaths
    // (none: nothing is written). Whatever stood at the archive's name (an earlier archive, a
    // link, any other file) is replaced, never read or written through, and only once the new
    // archive is complete and synced. Each write first removes what interrupted writes of
    // that archive left behind.
    ZipResult RunCommand(int code);

    // Flushes the archive of ArchivePath and its directory entry to the disk.
    ZipResult SyncArchive();

    // Called from inside a write so the window can act (Abort, Exit); may be empty.
    std::function<void()> serveEvents;

    // The file, pattern or archive the last failure concerns; empty after a success.
    QString failedPath() const { return failedPath_; }

signals:
    void Adding(const QString &fileName);
    void Status(int completion);

private:
    ZipResult fail(ZipResult result, const QString &path);

    bool busy_ = false;
    QString failedPath_;
};

} // namespace kesto
