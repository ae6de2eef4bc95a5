#pragma once
// Where the zip component's archives are written. An archive is always written afresh: libzip
// writes it into a hidden temporary file of ours beside the archive's name
// (".<archive>.kesto32-XXXXXX"), which is synced and then renamed over the name once complete.
// The name therefore holds the earlier file or the complete new archive, through a kill, a
// crash or a full disk; whatever stood at the name (an earlier archive, a link, any file) is
// replaced, never read, never written through.
#include <QByteArray>

#include <zip.h>

namespace kesto {

// A source for zip_open_from_source (with ZIP_CREATE) that writes a new archive at the path;
// null with error set when it cannot be made.
zip_source_t *CreateZipStore(const QByteArray &archivePath, zip_error_t *error);

// Whether name (a bare file name) is one of our temporary files for the archive named
// archiveName: "." + archiveName + ".kesto32-" + six letters or digits. No other name is ever
// taken for ours.
bool IsZipStoreTemporary(const QByteArray &name, const QByteArray &archiveName);
// How many bytes longer than its archive's name a temporary file's name is.
inline constexpr qsizetype ZipStoreTemporaryOverhead = 1 + 9 + 6;

// Removes what an interrupted write left beside the archive: our temporary files for it
// (regular files only).
void RemoveZipStoreLeftovers(const QByteArray &archivePath);

// Flushes the archive and its directory entry to the disk. False, with errno, when that fails.
bool SyncZipStore(const QByteArray &archivePath);

// Bytes moved per system call; libzip itself reads and writes 8 KiB at a time.
inline constexpr zip_uint64_t ZipStoreBlock = 256 * 1024;

} // namespace kesto
