#include "zip_store.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

// Our temporary files: a hidden name no user file is likely to have, with the program's marker.
const QByteArray temporaryMarker = QByteArrayLiteral(".kesto32-");
const QByteArray temporaryPattern = QByteArrayLiteral("XXXXXX");

bool writeAll(int fd, const char *bytes, zip_uint64_t size, zip_uint64_t at)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size, off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += n;
        size -= zip_uint64_t(n);
        at += zip_uint64_t(n);
    }
    return true;
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0    ? QByteArrayLiteral(".")
           : slash == 0 ? QByteArrayLiteral("/")
                        : path.left(slash);
}

QByteArray fileNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

class ZipStore {
public:
    explicit ZipStore(QByteArray path) : path_(std::move(path)) { zip_error_init(&error_); }
    ~ZipStore()
    {
        dropTemporary();
        zip_error_fini(&error_);
    }

    static zip_int64_t call(void *store, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto *self = static_cast<ZipStore *>(store);
        if (command == ZIP_SOURCE_FREE) {
            delete self;
            return 0;
        }
        return self->handle(data, length, command);
    }

private:
    zip_int64_t handle(void *data, zip_uint64_t length, zip_source_cmd_t command);

    zip_int64_t failed(int zipError, int systemError = 0)
    {
        zip_error_set(&error_, zipError, systemError);
        return -1;
    }

    zip_int64_t beginWrite();
    zip_int64_t write(const void *data, zip_uint64_t length);
    bool flush();
    zip_int64_t seekWrite(void *data, zip_uint64_t length);
    zip_int64_t commit();
    void dropTemporary();

    const QByteArray path_;
    zip_error_t error_;

    int temporaryFd_ = -1;
    QByteArray temporaryPath_;
    std::vector<char> pending_; // written by libzip, not yet to the file; it ends at position_
    zip_uint64_t position_ = 0; // where libzip writes next
    zip_uint64_t size_ = 0;     // of the new archive so far, pending bytes included
};

zip_int64_t ZipStore::handle(void *data, zip_uint64_t length, zip_source_cmd_t command)
{
    switch (command) {
    // libzip opens only sources that claim reading too; it never reads a new archive's.
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_WRITABLE;
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&error_, data, length);
    // Whatever is at the name is never read: to libzip the archive does not exist yet.
    case ZIP_SOURCE_STAT: return failed(ZIP_ER_READ, ENOENT);
    // An archive with no entry is never written, so there is nothing to remove.
    case ZIP_SOURCE_REMOVE: return 0;

    case ZIP_SOURCE_BEGIN_WRITE: return beginWrite();
    case ZIP_SOURCE_WRITE: return write(data, length);
    case ZIP_SOURCE_TELL_WRITE: return zip_int64_t(position_);
    case ZIP_SOURCE_SEEK_WRITE: return seekWrite(data, length);
    case ZIP_SOURCE_COMMIT_WRITE: return commit();
    case ZIP_SOURCE_ROLLBACK_WRITE: dropTemporary(); return 0;

    default: return failed(ZIP_ER_OPNOTSUPP);
    }
}

// The new archive starts empty, in our temporary file beside the name.
zip_int64_t ZipStore::beginWrite()
{
    dropTemporary();
    // A regular file replaced keeps its mode; anything else gives way to a new file's.
    struct stat info {};
    mode_t mode = 0;
    if (::lstat(path_.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    temporaryPath_ =
        directoryOf(path_) + "/." + fileNameOf(path_) + temporaryMarker + temporaryPattern;
    temporaryFd_ = ::mkostemp(temporaryPath_.data(), O_CLOEXEC);
    if (temporaryFd_ < 0) {
        temporaryPath_.clear();
        return failed(ZIP_ER_TMPOPEN, errno);
    }
    if (::fchmod(temporaryFd_, mode) < 0) {
        const int why = errno;
        dropTemporary();
        return failed(ZIP_ER_TMPOPEN, why);
    }
    position_ = size_ = 0;
    pending_.clear();
    return 0;
}

zip_int64_t ZipStore::write(const void *data, zip_uint64_t length)
{
    if (temporaryFd_ < 0)
        return failed(ZIP_ER_INTERNAL);
    const auto *bytes = static_cast<const char *>(data);
    pending_.insert(pending_.end(), bytes, bytes + length);
    position_ += length;
    size_ = std::max(size_, position_);
    if (pending_.size() >= ZipStoreBlock && !flush())
        return -1;
    return zip_int64_t(length);
}

bool ZipStore::flush()
{
    if (pending_.empty())
        return true;
    if (!writeAll(temporaryFd_, pending_.data(), pending_.size(), position_ - pending_.size())) {
        failed(ZIP_ER_WRITE, errno);
        return false;
    }
    pending_.clear();
    return true;
}

zip_int64_t ZipStore::seekWrite(void *data, zip_uint64_t length)
{
    if (temporaryFd_ < 0)
        return failed(ZIP_ER_INTERNAL);
    if (!flush())
        return -1;
    const zip_int64_t at = zip_source_seek_compute_offset(position_, size_, data, length, &error_);
    if (at < 0)
        return -1;
    position_ = zip_uint64_t(at);
    return 0;
}

zip_int64_t ZipStore::commit()
{
    if (temporaryFd_ < 0)
        return failed(ZIP_ER_INTERNAL);
    if (!flush())
        return -1;
    // Synced before the rename: the name never holds an archive whose bytes are not on disk.
    if (::ftruncate(temporaryFd_, off_t(size_)) < 0 || ::fsync(temporaryFd_) < 0) {
        const int why = errno;
        dropTemporary();
        return failed(ZIP_ER_WRITE, why);
    }
    const int closed = ::close(temporaryFd_);
    temporaryFd_ = -1;
    if (closed < 0) {
        const int why = errno;
        dropTemporary();
        return failed(ZIP_ER_WRITE, why);
    }
    if (::rename(temporaryPath_.constData(), path_.constData()) < 0) {
        const int why = errno;
        dropTemporary();
        return failed(ZIP_ER_RENAME, why);
    }
    temporaryPath_.clear();
    return 0;
}

void ZipStore::dropTemporary()
{
    if (temporaryFd_ >= 0)
        ::close(temporaryFd_);
    if (!temporaryPath_.isEmpty())
        ::unlink(temporaryPath_.constData());
    temporaryFd_ = -1;
    temporaryPath_.clear();
    pending_ = {};
}

} // namespace

zip_source_t *CreateZipStore(const QByteArray &archivePath, zip_error_t *error)
{
    auto *store = new ZipStore(archivePath);
    zip_source_t *source = zip_source_function_create(&ZipStore::call, store, error);
    if (!source)
        delete store;
    return source;
}

bool IsZipStoreTemporary(const QByteArray &name, const QByteArray &archiveName)
{
    const QByteArray start = '.' + archiveName + temporaryMarker;
    if (archiveName.isEmpty() || name.size() != start.size() + temporaryPattern.size() ||
        !name.startsWith(start))
        return false;
    return std::all_of(name.cbegin() + start.size(), name.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

void RemoveZipStoreLeftovers(const QByteArray &archivePath)
{
    const QByteArray directory = directoryOf(archivePath);
    const QByteArray archiveName = fileNameOf(archivePath);
    DIR *listing = ::opendir(directory.constData());
    if (!listing)
        return;
    std::vector<QByteArray> leftovers;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (IsZipStoreTemporary(name, archiveName))
            leftovers.push_back(directory + '/' + name);
    }
    ::closedir(listing);
    for (const QByteArray &path : leftovers) {
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.constData());
    }
}

bool SyncZipStore(const QByteArray &archivePath)
{
    for (const QByteArray &path : {archivePath, directoryOf(archivePath)}) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool synced = ::fsync(fd) == 0;
        const int why = errno;
        ::close(fd);
        if (!synced) {
            errno = why;
            return false;
        }
    }
    return true;
}

} // namespace kesto
