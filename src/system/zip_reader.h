#pragma once
// Reads zip archives back: their entries, and each entry's bytes with its CRC checked.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

struct zip;

namespace kesto {

class ZipReader {
public:
    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // Opens the archive and checks that its local headers agree with its central directory.
    bool open(const QString &path);
    // Why open or read failed.
    QString errorText() const { return error_; }

    // Stored names, in central directory order.
    QList<QByteArray> names() const { return names_; }
    // Reads an entry to its end, handing its bytes to sink in blocks; false when it cannot be
    // read, the data is damaged (a bad CRC) or sink returns false.
    bool read(int index, const std::function<bool(const char *, qint64)> &sink);
    // An entry's uncompressed size as its directory records it; -1 when unknown.
    qint64 size(int index) const;
    // An entry's bytes, for small entries.
    bool readAll(int index, QByteArray &bytes);

private:
    zip *archive_ = nullptr;
    QList<QByteArray> names_;
    QString error_;
};

} // namespace kesto
