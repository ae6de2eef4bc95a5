#pragma once
// The zip component: adds file specifications to a zip archive through libzip.
#include <QObject>
#include <QString>

#include <functional>

namespace kesto {

class ZipComponent : public QObject {
    Q_OBJECT
public:
    explicit ZipComponent(QObject *parent = nullptr);
    ~ZipComponent() override;

    // Asks the add in progress to stop. An add that stops or fails clears it; one that has gone
    // too far to stop leaves it for the next add, which then stops at once.
    bool AbortRequest = false;
    int CompressionLevel = 6;
    // The archive written is ArchivePath + ".zip".
    QString ArchivePath;
    // File specifications, each ended by a CR: a path, a name relative to the current directory,
    // or "dir/*.*" for the regular files directly in dir.
    QString FileList;

    // Results of RunCommand besides 0 (success).
    static constexpr int ResultFailed = 1;
    static constexpr int ResultAborted = 2;

    // Code 0: add FileList to the archive, creating it if needed. 0 on success. An add is
    // all or nothing on disk; the first add to an archive removes what interrupted adds to it
    // left behind.
    int RunCommand(int code);

    // Flushes the archive of ArchivePath and its directory entry to the disk. 0 on success.
    int SyncArchive();

    // Called from inside an add so the window can act (Abort, Exit); may be empty.
    std::function<void()> serveEvents;

    // Why the last RunCommand failed; empty after a success.
    QString errorText() const { return errorText_; }

signals:
    void Adding(const QString &fileName);
    void Status(int completion);

private:
    int fail(int result, const QString &why);

    bool busy_ = false;
    QString cleanedArchive_; // the archive whose leftovers were last removed
    QString errorText_;
};

} // namespace kesto
