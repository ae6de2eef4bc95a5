#include "zip_store.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

bool writeAll(int fd, const char *bytes, zip_uint64_t size, zip_uint64_t at)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size, off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= zip_uint64_t(n);
        at += zip_uint64_t(n);
    }
    return true;
}

// Reads exactly size bytes unless the file ends first; the count read, or -1.
zip_int64_t readAll(int fd, char *bytes, zip_uint64_t size, zip_uint64_t at)
{
    zip_uint64_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes + got, size - got, off_t(at + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += zip_uint64_t(n);
    }
    return zip_int64_t(got);
}

class ZipStore {
public:
    ZipStore(QByteArray path, zip_source_t *file) : path_(std::move(path)), file_(file)
    {
        zip_error_init(&error_);
    }
    ~ZipStore()
    {
        dropAppend();
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
    enum class Writing { No, Replacing, Appending };

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

    zip_int64_t beginAppend(zip_uint64_t keep);
    zip_int64_t write(const void *data, zip_uint64_t length);
    bool spill();
    bool flush();
    zip_uint64_t tailSize() const { return tailFd_ < 0 ? zip_uint64_t(tail_.size()) : tailSize_; }
    zip_int64_t seekWrite(void *data, zip_uint64_t length);
    zip_int64_t commit();
    bool writeTail();
    void rollback();
    void dropAppend();

    const QByteArray path_;
    zip_source_t *const file_;
    zip_error_t error_;
    Writing writing_ = Writing::No;
    std::vector<char> pending_; // written by libzip, not yet by the store
    zip_uint64_t position_ = 0; // where libzip writes next, pending bytes included

    // Appending: the archive's first keep_ bytes stay; what follows is held in tail_, or in the
    // tail file once it has grown large.
    int archiveFd_ = -1;
    zip_uint64_t keep_ = 0;
    std::vector<char> tail_;
    int tailFd_ = -1;
    QByteArray tailPath_;
    zip_uint64_t tailSize_ = 0;
    std::vector<char> oldEnd_; // the archive's bytes after keep_, to put back on failure
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

    case ZIP_SOURCE_BEGIN_WRITE:
        if (zip_source_begin_write(file_) < 0)
            return fileFailed();
        writing_ = Writing::Replacing;
        position_ = 0;
        pending_.clear();
        return 0;
    case ZIP_SOURCE_BEGIN_WRITE_CLONING: return beginAppend(length);
    case ZIP_SOURCE_WRITE: return write(data, length);
    case ZIP_SOURCE_TELL_WRITE: return zip_int64_t(position_);
    case ZIP_SOURCE_SEEK_WRITE: return seekWrite(data, length);
    case ZIP_SOURCE_COMMIT_WRITE: return commit();
    case ZIP_SOURCE_ROLLBACK_WRITE: rollback(); return 0;

    default: return failed(ZIP_ER_OPNOTSUPP);
    }
}

zip_int64_t ZipStore::beginAppend(zip_uint64_t keep)
{
    // The archive is changed in place: a link or a second name would see it change (libzip's
    // rewrite replaces the name given, and only that).
    struct stat info {};
    if (::lstat(path_.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1)
        return failed(ZIP_ER_OPNOTSUPP);
    const auto size = zip_uint64_t(info.st_size);
    if (keep > size || size - keep > ZipStoreMaxReplaced)
        return failed(ZIP_ER_OPNOTSUPP);

    archiveFd_ = ::open(path_.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (archiveFd_ < 0)
        return failed(ZIP_ER_OPNOTSUPP, errno);
    oldEnd_.resize(size - keep);
    if (readAll(archiveFd_, oldEnd_.data(), oldEnd_.size(), keep) != zip_int64_t(oldEnd_.size())) {
        dropAppend();
        return failed(ZIP_ER_READ, errno);
    }
    writing_ = Writing::Appending;
    keep_ = keep;
    tailSize_ = 0;
    position_ = keep;
    pending_.clear();
    return 0;
}

zip_int64_t ZipStore::write(const void *data, zip_uint64_t length)
{
    if (writing_ == Writing::No)
        return failed(ZIP_ER_INTERNAL);
    const auto *bytes = static_cast<const char *>(data);
    if (writing_ == Writing::Appending && tailFd_ < 0) {
        const zip_uint64_t at = position_ - keep_;
        if (at + length > tail_.size())
            tail_.resize(at + length);
        std::copy(bytes, bytes + length, tail_.begin() + qsizetype(at));
        position_ += length;
        if (tail_.size() > ZipStoreMaxInMemory && !spill())
            return -1;
        return zip_int64_t(length);
    }
    pending_.insert(pending_.end(), bytes, bytes + length);
    position_ += length;
    if (pending_.size() >= ZipStoreBlock && !flush())
        return -1;
    return zip_int64_t(length);
}

// The tail goes on in a file beside the archive.
bool ZipStore::spill()
{
    // Named as libzip names its own temporary file, so a leftover looks the same.
    tailPath_ = path_ + ".XXXXXX";
    tailFd_ = ::mkostemp(tailPath_.data(), O_CLOEXEC);
    if (tailFd_ < 0) {
        tailPath_.clear();
        failed(ZIP_ER_TMPOPEN, errno);
        return false;
    }
    if (!writeAll(tailFd_, tail_.data(), tail_.size(), 0)) {
        failed(ZIP_ER_WRITE, errno);
        return false;
    }
    tailSize_ = tail_.size();
    tail_ = {};
    return true;
}

bool ZipStore::flush()
{
    if (pending_.empty())
        return true;
    if (writing_ == Writing::Replacing) {
        const zip_int64_t n = zip_source_write(file_, pending_.data(), pending_.size());
        if (n != zip_int64_t(pending_.size())) {
            fileFailed();
            return false;
        }
    } else {
        const zip_uint64_t at = position_ - pending_.size() - keep_;
        if (!writeAll(tailFd_, pending_.data(), pending_.size(), at)) {
            failed(ZIP_ER_WRITE, errno);
            return false;
        }
        tailSize_ = std::max(tailSize_, at + pending_.size());
    }
    pending_.clear();
    return true;
}

zip_int64_t ZipStore::seekWrite(void *data, zip_uint64_t length)
{
    if (!flush())
        return -1;
    if (writing_ == Writing::Replacing) {
        const auto *args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &error_);
        if (!args)
            return -1;
        if (zip_source_seek_write(file_, args->offset, args->whence) < 0)
            return fileFailed();
        const zip_int64_t at = zip_source_tell_write(file_);
        if (at < 0)
            return fileFailed();
        position_ = zip_uint64_t(at);
        return 0;
    }
    if (writing_ != Writing::Appending)
        return failed(ZIP_ER_INTERNAL);
    const zip_int64_t at =
        zip_source_seek_compute_offset(position_, keep_ + tailSize(), data, length, &error_);
    if (at < 0)
        return -1;
    // libzip goes back only into what it wrote itself.
    if (zip_uint64_t(at) < keep_)
        return failed(ZIP_ER_INVAL);
    position_ = zip_uint64_t(at);
    return 0;
}

zip_int64_t ZipStore::commit()
{
    if (!flush())
        return -1;
    if (writing_ == Writing::Replacing) {
        writing_ = Writing::No;
        return zip_source_commit_write(file_) < 0 ? fileFailed() : 0;
    }
    if (writing_ != Writing::Appending)
        return failed(ZIP_ER_INTERNAL);

    const bool written = writeTail() && ::ftruncate(archiveFd_, off_t(keep_ + tailSize())) == 0;
    const int why = errno;
    if (!written) {
        // The old end fits where it was: putting it back needs no new space.
        writeAll(archiveFd_, oldEnd_.data(), oldEnd_.size(), keep_);
        ::ftruncate(archiveFd_, off_t(keep_ + oldEnd_.size()));
    }
    dropAppend();
    return written ? 0 : failed(ZIP_ER_WRITE, why);
}

// The new end over the old one.
bool ZipStore::writeTail()
{
    if (tailFd_ < 0)
        return writeAll(archiveFd_, tail_.data(), tail_.size(), keep_);
    std::vector<char> block(std::min(tailSize_, ZipStoreBlock));
    for (zip_uint64_t at = 0; at < tailSize_; at += block.size()) {
        const zip_uint64_t n = std::min<zip_uint64_t>(block.size(), tailSize_ - at);
        if (readAll(tailFd_, block.data(), n, at) != zip_int64_t(n) ||
            !writeAll(archiveFd_, block.data(), n, keep_ + at))
            return false;
    }
    return true;
}

void ZipStore::rollback()
{
    pending_.clear();
    if (writing_ == Writing::Replacing)
        zip_source_rollback_write(file_);
    dropAppend();
}

void ZipStore::dropAppend()
{
    if (tailFd_ >= 0)
        ::close(tailFd_);
    if (!tailPath_.isEmpty())
        ::unlink(tailPath_.constData());
    if (archiveFd_ >= 0)
        ::close(archiveFd_);
    tailFd_ = -1;
    archiveFd_ = -1;
    tailPath_.clear();
    tail_ = {};
    oldEnd_ = {};
    writing_ = Writing::No;
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

} // namespace kesto
