#include "zip_reader.h"

#include <QCoreApplication>
#include <QFile>

#include <zip.h>

#include <vector>

namespace kesto {

ZipReader::~ZipReader()
{
    if (archive_)
        zip_discard(archive_);
}

bool ZipReader::open(const QString &path)
{
    int code = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive_) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        error_ = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(archive_, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        names_.append(name ? QByteArray(name) : QByteArray());
    }
    return true;
}

bool ZipReader::read(int index, const std::function<bool(const char *, qint64)> &sink)
{
    zip_file_t *file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
    if (!file) {
        error_ = QString::fromUtf8(zip_strerror(archive_));
        return false;
    }
    std::vector<char> block(256 * 1024);
    bool ok = true;
    for (;;) {
        // libzip checks the CRC when the entry has been read to its end.
        const zip_int64_t got = zip_fread(file, block.data(), block.size());
        if (got < 0) {
            error_ = QString::fromUtf8(zip_file_strerror(file));
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (!sink(block.data(), got)) {
            error_ = QCoreApplication::translate("ZipReader", "cannot write the entry's copy");
            ok = false;
            break;
        }
    }
    zip_fclose(file);
    return ok;
}

qint64 ZipReader::size(int index) const
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
        return -1;
    return qint64(stat.size);
}

bool ZipReader::readAll(int index, QByteArray &bytes)
{
    bytes.clear();
    return read(index, [&bytes](const char *data, qint64 size) {
        bytes.append(data, size);
        return true;
    });
}

} // namespace kesto
