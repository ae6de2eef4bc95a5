#include "zip_component.h"

#include "stop_signals.h"

#include "zip_store.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStringDecoder>

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// How a write works with libzip, and what it costs:
// - zip_file_add only records what is to come; all the writing happens in zip_close, into our
//   temporary file (zip_store.h), synced and renamed over the archive's name when complete. The
//   archive is written once, with all its entries: the volume, the description, the nfo and the
//   extra. The entries are read, and the archive written, in blocks of 256 KiB rather than
//   libzip's 8 KiB.
// - A failed or cancelled zip_close leaves the name as it was and removes the temporary file;
//   zip_discard then drops the pending changes.
// - libzip writes zip64 records only for the entries that need them.
// - Progress and cancel callbacks run from zip_close, per block copied or compressed; that is
//   where the window is served, so Abort can act while a write runs. Each entry of the archive
//   gets an equal share of the progress, and for a deflated entry libzip counts the bytes it
//   writes, not those it reads: a file that deflates well shows little progress until its end.

namespace kesto {

namespace {

struct FileToAdd {
    QByteArray path; // file system bytes
    QByteArray name; // stored name: the bare name
    mode_t mode = 0;
};

const QByteArray everyName = QByteArrayLiteral("*.*");

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// The regular files directly in dir (links to regular files count), in name order. Listed with
// readdir, not QDir: a name need not be UTF-8, and it is stored as the bytes it is.
bool collectDirectory(const QByteArray &dir, std::vector<FileToAdd> &files)
{
    DIR *listing = ::opendir(dir.constData());
    if (!listing)
        return false;
    std::vector<FileToAdd> found;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = dir.endsWith('/') ? dir + name : dir + '/' + name;
        struct stat info {};
        if (::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            found.push_back({path, name, info.st_mode});
    }
    ::closedir(listing);
    std::sort(found.begin(), found.end(),
              [](const FileToAdd &a, const FileToAdd &b) { return a.name < b.name; });
    files.insert(files.end(), found.begin(), found.end());
    return true;
}

// One file spec: a file path, a name relative to the current directory, or "dir/*.*".
// Only "*.*" is a pattern; any other name is taken as it is.
bool collectFileSpec(const QString &fileSpec, std::vector<FileToAdd> &files)
{
    QByteArray path = QFile::encodeName(fileSpec);
    if (!path.startsWith('/'))
        path = QFile::encodeName(QDir::currentPath()) + '/' + path;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray name = path.mid(slash + 1);
    if (name == everyName)
        return collectDirectory(slash == 0 ? QByteArrayLiteral("/") : path.left(slash), files);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    files.push_back({path, name, info.st_mode});
    return true;
}

bool collectPath(const QByteArray &path, std::vector<FileToAdd> &files)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    files.push_back({path, path.mid(path.lastIndexOf('/') + 1), info.st_mode});
    return true;
}

// Deflate is tried on the file's first block; data that it does not shrink by at least 1 % is
// stored. The volumes are already compressed: deflating them again costs time and gains nothing
// (libzip's own choice between the two only covers entries that fit into its first read buffer).
constexpr qsizetype sampleSize = 64 * 1024;

zip_int32_t methodFor(const QByteArray &path, int level)
{
    if (level <= 0)
        return ZIP_CM_STORE;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ZIP_CM_DEFLATE; // zip_close reports the file
    QByteArray sample(sampleSize, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < sampleSize) {
        const ssize_t n = ::read(fd, sample.data() + got, size_t(sampleSize - got));
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got == 0)
        return ZIP_CM_STORE;
    sample.truncate(got);
    // qCompress adds a length prefix and the zlib header and checksum around the deflate data.
    const qsizetype deflated = qCompress(sample, level).size() - 4 - 6;
    return deflated * 100 <= got * 99 ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
}

// libzip's file source, wrapped so that Adding is emitted as libzip starts to read the file, and
// read in large blocks (libzip asks for 8 KiB at a time).
struct WatchedFile {
    ZipComponent *component;
    QString name;
    zip_source_t *file;
    zip_error_t error;
    bool announced = false;
    std::vector<char> block;
    zip_uint64_t blockFilled = 0;
    zip_uint64_t blockServed = 0;
};

zip_int64_t takeError(WatchedFile *watched)
{
    zip_error_set(&watched->error, zip_error_code_zip(zip_source_error(watched->file)),
                  zip_error_code_system(zip_source_error(watched->file)));
    return -1;
}

zip_int64_t watchedFile(void *userdata, void *data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto *watched = static_cast<WatchedFile *>(userdata);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        if (!watched->announced) {
            watched->announced = true;
            emit watched->component->Adding(watched->name);
        }
        watched->blockFilled = watched->blockServed = 0;
        return zip_source_open(watched->file) < 0 ? takeError(watched) : 0;
    case ZIP_SOURCE_READ: {
        if (watched->blockServed == watched->blockFilled) {
            watched->block.resize(ZipStoreBlock);
            const zip_int64_t n =
                zip_source_read(watched->file, watched->block.data(), watched->block.size());
            if (n < 0)
                return takeError(watched);
            watched->blockFilled = zip_uint64_t(n);
            watched->blockServed = 0;
        }
        const zip_uint64_t n = std::min(length, watched->blockFilled - watched->blockServed);
        std::memcpy(data, watched->block.data() + watched->blockServed, n);
        watched->blockServed += n;
        return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE:
        watched->block = {};
        zip_source_close(watched->file);
        return 0;
    case ZIP_SOURCE_STAT:
        if (length < sizeof(zip_stat_t)) {
            zip_error_set(&watched->error, ZIP_ER_INVAL, 0);
            return -1;
        }
        if (zip_source_stat(watched->file, static_cast<zip_stat_t *>(data)) < 0)
            return takeError(watched);
        return sizeof(zip_stat_t);
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&watched->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_source_free(watched->file);
        zip_error_fini(&watched->error);
        delete watched;
        return 0;
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
    default: zip_error_set(&watched->error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

// What a libzip error means for the user.
ZipResult resultOf(zip_error_t *error)
{
    if (zip_error_code_zip(error) == ZIP_ER_CANCELLED)
        return ZipResult::Aborted;
    if (zip_error_system_type(error) == ZIP_ET_SYS) {
        if (zip_error_code_system(error) == EFBIG)
            return ZipResult::FileSizeLimit;
        if (zip_error_code_system(error) == ENOSPC)
            return ZipResult::DiskFull;
    }
    return ZipResult::WriteFailed;
}

// Records the file as an entry to be written by zip_close.
ZipResult addEntry(zip_t *archive, ZipComponent *component, const FileToAdd &file, int level)
{
    zip_error_t error;
    zip_error_init(&error);
    const auto finish = qScopeGuard([&error] { zip_error_fini(&error); });
    zip_source_t *content = zip_source_file_create(file.path.constData(), 0, -1, &error);
    if (!content)
        return ZipResult::NotFound;
    auto *watched =
        new WatchedFile{component, QFile::decodeName(file.name), content, {}, false, {}, 0, 0};
    zip_error_init(&watched->error);
    zip_source_t *source = zip_source_function_create(watchedFile, watched, &error);
    if (!source) {
        zip_source_free(content);
        zip_error_fini(&watched->error);
        delete watched;
        return resultOf(&error);
    }
    // A name that is not UTF-8 is written as the bytes it is, without the UTF-8 flag.
    const zip_flags_t encoding = isUtf8(file.name) ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_CP437;
    const zip_int64_t index =
        zip_file_add(archive, file.name.constData(), source, ZIP_FL_OVERWRITE | encoding);
    if (index < 0) {
        zip_source_free(source);
        return resultOf(zip_get_error(archive));
    }
    const zip_int32_t method = methodFor(file.path, level);
    const auto entry = zip_uint64_t(index);
    const zip_uint32_t attributes = zip_uint32_t(S_IFREG | (file.mode & 0777)) << 16;
    if (zip_set_file_compression(archive, entry, method,
                                 method == ZIP_CM_STORE ? 0 : zip_uint32_t(level)) < 0 ||
        zip_file_set_external_attributes(archive, entry, 0, ZIP_OPSYS_UNIX, attributes) < 0)
        return resultOf(zip_get_error(archive));
    return ZipResult::Ok;
}

// One add's progress, shared by libzip's two callbacks. libzip calls them one after the other for
// every block it writes (8 KiB), the progress callback only when the share done has grown by 1 %.
struct AddProgress {
    ZipComponent *component;
    int percent = -1;
    bool news = true; // a percentage the window has not been served since
    int quietBlocks = 0;
};

// Serving the window for each block would cost more than writing the volume (thousands of times
// per volume); it is served when there is a new percentage to show, and at least this often.
constexpr int blocksBetweenServes = 64;

void reportProgress(zip_t *, double done, void *state)
{
    auto *progress = static_cast<AddProgress *>(state);
    const int percent = std::clamp(int(done * 100), 0, 100);
    if (percent != progress->percent) {
        progress->percent = percent;
        progress->news = true;
        emit progress->component->Status(percent);
    }
}

int checkAbort(zip_t *, void *state)
{
    auto *progress = static_cast<AddProgress *>(state);
    ZipComponent *component = progress->component;
    if (progress->news || ++progress->quietBlocks >= blocksBetweenServes) {
        progress->news = false;
        progress->quietBlocks = 0;
        if (component->serveEvents)
            component->serveEvents();
    }
    // A stop signal abandons the add at once, with or without an event loop to pass it on.
    return component->AbortRequest || StopRequested() ? 1 : 0;
}

} // namespace

ZipComponent::ZipComponent(QObject *parent) : QObject(parent) {}

ZipComponent::~ZipComponent() = default;

QString ZipResultText(ZipResult result)
{
    switch (result) {
    case ZipResult::Ok: return QCoreApplication::translate("ZipComponent", "done");
    case ZipResult::Aborted: return QCoreApplication::translate("ZipComponent", "aborted");
    case ZipResult::Busy: return QCoreApplication::translate("ZipComponent", "an add is under way");
    case ZipResult::UnknownCommand:
        return QCoreApplication::translate("ZipComponent", "unknown command");
    case ZipResult::NothingToAdd:
        return QCoreApplication::translate("ZipComponent", "nothing to add");
    case ZipResult::NotFound: return QCoreApplication::translate("ZipComponent", "not found");
    case ZipResult::OpenFailed:
        return QCoreApplication::translate("ZipComponent", "cannot open the archive");
    case ZipResult::FileSizeLimit:
        return QCoreApplication::translate("ZipComponent", "file size limit exceeded");
    case ZipResult::DiskFull:
        return QCoreApplication::translate("ZipComponent", "no space left on the disk");
    case ZipResult::WriteFailed:
        return QCoreApplication::translate("ZipComponent", "cannot write the archive");
    case ZipResult::SyncFailed:
        return QCoreApplication::translate("ZipComponent", "cannot sync the archive");
    }
    return QCoreApplication::translate("ZipComponent", "failed");
}

ZipResult ZipComponent::fail(ZipResult result, const QString &path)
{
    failedPath_ = path;
    return result;
}

ZipResult ZipComponent::RunCommand(int code)
{
    // Reached from the window while an add runs: the request belongs to the running add.
    if (busy_)
        return ZipResult::Busy;
    // A request is used up by the add it stops, or by an add that fails anyway. One that comes
    // when no add can stop any more (between two adds, or after libzip's last look at the cancel
    // callback: it does not look once the last entry is written) stops the next add at once.
    auto requestDone = qScopeGuard([this] { AbortRequest = false; });
    failedPath_.clear();
    const QString archiveName = ArchivePath + QStringLiteral(".zip");
    if (code != 0)
        return fail(ZipResult::UnknownCommand, QString::number(code));
    if (AbortRequest)
        return fail(ZipResult::Aborted, archiveName);

    std::vector<FileToAdd> files;
    const QStringList specifications = FileList.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
    if (specifications.isEmpty() && FilePaths.isEmpty())
        return fail(ZipResult::NothingToAdd, archiveName);
    for (const QString &fileSpec : specifications) {
        if (!collectFileSpec(fileSpec, files))
            return fail(ZipResult::NotFound, fileSpec);
    }
    for (const QByteArray &path : FilePaths) {
        if (!collectPath(path, files))
            return fail(ZipResult::NotFound, QFile::decodeName(path));
    }
    if (files.empty())
        return ZipResult::Ok;

    busy_ = true;
    const auto idle = qScopeGuard([this] { busy_ = false; });
    const QByteArray archivePath = QFile::encodeName(archiveName);
    RemoveZipStoreLeftovers(archivePath);
    zip_error_t openError;
    zip_error_init(&openError);
    zip_source_t *store = CreateZipStore(archivePath, &openError);
    zip_t *archive = store ? zip_open_from_source(store, ZIP_CREATE, &openError) : nullptr;
    zip_error_fini(&openError);
    if (!archive) {
        zip_source_free(store);
        return fail(ZipResult::OpenFailed, archiveName);
    }
    AddProgress progress{this};
    zip_register_progress_callback_with_state(archive, 0.01, reportProgress, nullptr, &progress);
    zip_register_cancel_callback_with_state(archive, checkAbort, nullptr, &progress);

    const int level = CompressionLevel <= 0 ? 0 : std::min(CompressionLevel, 9);
    for (const FileToAdd &file : files) {
        const ZipResult result = addEntry(archive, this, file, level);
        if (result != ZipResult::Ok) {
            zip_discard(archive);
            return fail(result, QFile::decodeName(file.path));
        }
    }
    if (zip_close(archive) != 0) {
        const ZipResult result = resultOf(zip_get_error(archive));
        zip_discard(archive);
        return fail(result, archiveName);
    }
    requestDone.dismiss();
    // libzip leaves out a last step smaller than the precision asked for.
    if (progress.percent != 100)
        emit Status(100);
    return ZipResult::Ok;
}

ZipResult ZipComponent::SyncArchive()
{
    failedPath_.clear();
    const QString archiveName = ArchivePath + QStringLiteral(".zip");
    if (SyncZipStore(QFile::encodeName(archiveName)))
        return ZipResult::Ok;
    return fail(ZipResult::SyncFailed, archiveName);
}

} // namespace kesto
