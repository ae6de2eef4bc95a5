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

// The temporary file's name: the archive's, a dot and six random letters or digits, as libzip
// names its own.
const QByteArray temporarySuffix = QByteArrayLiteral(".XXXXXX");

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

// The first size bytes of from into to, by the kernel (which shares the blocks where the file
// system can), else through a buffer.
bool copyStart(int from, int to, zip_uint64_t size)
{
    loff_t in = 0;
    loff_t out = 0;
    while (zip_uint64_t(in) < size) {
        const ssize_t n = ::copy_file_range(from, &in, to, &out, size - zip_uint64_t(in), 0);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 ||
            (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)) {
            if (n == 0)
                errno = EIO; // the archive is shorter than libzip read it to be
            return false;
        }
        std::vector<char> block(ZipStoreBlock);
        while (zip_uint64_t(in) < size) {
            const ssize_t got =
                ::pread(from, block.data(), std::min<zip_uint64_t>(block.size(), size - in), in);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                if (got == 0)
                    errno = EIO;
                return false;
            }
            if (!writeAll(to, block.data(), zip_uint64_t(got), zip_uint64_t(in)))
                return false;
            in += got;
        }
    }
    return true;
}

class ZipStore {
public:
    ZipStore(QByteArray path, zip_source_t *file) : path_(std::move(path)), file_(file)
    {
        zip_error_init(&error_);
    }
    ~ZipStore()
    {
        dropTemporary();
        zip_source_free(file_);
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

    // A failure of libzip's source, passed on as this store's own.
    zip_int64_t fileFailed()
    {
        const zip_error_t *error = zip_source_error(file_);
        zip_error_set(&error_, zip_error_code_zip(error), zip_error_code_system(error));
        return -1;
    }
    zip_int64_t failed(int zipError, int systemError = 0)
    {
        zip_error_set(&error_, zipError, systemError);
        return -1;
    }

    zip_int64_t beginWrite(zip_uint64_t keep);
    zip_int64_t write(const void *data, zip_uint64_t length);
    bool flush();
    zip_int64_t seekWrite(void *data, zip_uint64_t length);
    zip_int64_t commit();
    void dropTemporary();

    const QByteArray path_;
    zip_source_t *const file_; // libzip's own, for reading the archive
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
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE |
               zip_source_make_command_bitmap(ZIP_SOURCE_BEGIN_WRITE_CLONING,
                                              ZIP_SOURCE_ACCEPT_EMPTY,
                                              ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    case ZIP_SOURCE_ACCEPT_EMPTY: return 0; // an empty file is no archive, as for libzip's own
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&error_, data, length);

    case ZIP_SOURCE_OPEN: return zip_source_open(file_) < 0 ? fileFailed() : 0;
    case ZIP_SOURCE_READ: {
        const zip_int64_t n = zip_source_read(file_, data, length);
        return n < 0 ? fileFailed() : n;
    }
    case ZIP_SOURCE_CLOSE: return zip_source_close(file_) < 0 ? fileFailed() : 0;
    case ZIP_SOURCE_SEEK: {
        const auto *args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &error_);
        if (!args)
            return -1;
        return zip_source_seek(file_, args->offset, args->whence) < 0 ? fileFailed() : 0;
    }
    case ZIP_SOURCE_TELL: {
        const zip_int64_t at = zip_source_tell(file_);
        return at < 0 ? fileFailed() : at;
    }
    case ZIP_SOURCE_STAT:
        if (length < sizeof(zip_stat_t))
            return failed(ZIP_ER_INVAL);
        // A missing archive reports libzip's own "read error, no such file": zip_open_from_source
        // takes that for an archive to create.
        if (zip_source_stat(file_, static_cast<zip_stat_t *>(data)) < 0)
            return fileFailed();
        return sizeof(zip_stat_t);
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES:
        if (length < sizeof(zip_file_attributes_t))
            return failed(ZIP_ER_INVAL);
        if (zip_source_get_file_attributes(file_, static_cast<zip_file_attributes_t *>(data)) < 0)
            return fileFailed();
        return sizeof(zip_file_attributes_t);
    case ZIP_SOURCE_REMOVE:
        if (::unlink(path_.constData()) < 0)
            return failed(ZIP_ER_REMOVE, errno);
        return 0;

    case ZIP_SOURCE_BEGIN_WRITE: return beginWrite(0);
    case ZIP_SOURCE_BEGIN_WRITE_CLONING: return beginWrite(length);
    case ZIP_SOURCE_WRITE: return write(data, length);
    case ZIP_SOURCE_TELL_WRITE: return zip_int64_t(position_);
    case ZIP_SOURCE_SEEK_WRITE: return seekWrite(data, length);
    case ZIP_SOURCE_COMMIT_WRITE: return commit();
    case ZIP_SOURCE_ROLLBACK_WRITE: dropTemporary(); return 0;

    default: return failed(ZIP_ER_OPNOTSUPP);
    }
}

// The new archive starts as a copy of the old one's first keep bytes.
zip_int64_t ZipStore::beginWrite(zip_uint64_t keep)
{
    dropTemporary();
    struct stat info {};
    const bool exists = ::stat(path_.constData(), &info) == 0;
    mode_t mode = 0;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    temporaryPath_ = path_ + temporarySuffix;
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
    if (keep > 0) {
        const int archiveFd = ::open(path_.constData(), O_RDONLY | O_CLOEXEC);
        const bool copied = archiveFd >= 0 && copyStart(archiveFd, temporaryFd_, keep);
        const int why = errno;
        if (archiveFd >= 0)
            ::close(archiveFd);
        if (!copied) {
            dropTemporary();
            return failed(ZIP_ER_WRITE, why);
        }
    }
    position_ = size_ = keep;
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
    if (::ftruncate(temporaryFd_, off_t(size_)) < 0 || ::close(temporaryFd_) < 0) {
        temporaryFd_ = -1;
        const int why = errno;
        dropTemporary();
        return failed(ZIP_ER_WRITE, why);
    }
    temporaryFd_ = -1;
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

bool isTemporaryName(const QByteArray &name, const QByteArray &archiveName)
{
    if (name.size() != archiveName.size() + temporarySuffix.size() || !name.startsWith(archiveName))
        return false;
    const QByteArray suffix = name.mid(archiveName.size());
    return suffix.startsWith('.') && std::all_of(suffix.cbegin() + 1, suffix.cend(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
           });
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0    ? QByteArrayLiteral(".")
           : slash == 0 ? QByteArrayLiteral("/")
                        : path.left(slash);
}

} // namespace

zip_source_t *CreateZipStore(const QByteArray &archivePath, zip_error_t *error)
{
    zip_source_t *file = zip_source_file_create(archivePath.constData(), 0, -1, error);
    if (!file)
        return nullptr;
    auto *store = new ZipStore(archivePath, file);
    zip_source_t *source = zip_source_function_create(&ZipStore::call, store, error);
    if (!source)
        delete store;
    return source;
}

void RemoveZipStoreLeftovers(const QByteArray &archivePath)
{
    const QByteArray directory = directoryOf(archivePath);
    const QByteArray archiveName = archivePath.mid(archivePath.lastIndexOf('/') + 1);
    DIR *listing = ::opendir(directory.constData());
    if (!listing)
        return;
    std::vector<QByteArray> leftovers;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (isTemporaryName(name, archiveName))
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
