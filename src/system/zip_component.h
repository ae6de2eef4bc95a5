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

    // Asks the add in progress to stop; it applies to that add only.
    bool AbortRequest = false;
    int CompressionLevel = 6;
    // The archive written is ArchivePath + ".zip".
    QString ArchivePath;
    // File specifications, each ended by a CR: a path, a name relative to the current directory,
    // or "dir/*.*" for the regular files directly in dir.
    QString FileList;

    // Code 0: add FileList to the archive, creating it if needed. 0 on success.
    int RunCommand(int code);

    // Called from inside an add so the window can act (Abort, Exit); may be empty.
    std::function<void()> serveEvents;

signals:
    void Adding(const QString &fileName);
    void Status(int completion);
};

} // namespace kesto
