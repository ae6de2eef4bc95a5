#pragma once
// Where the zip component's archives are read from and written to. An add never changes the
// archive in place: libzip writes the new archive into a temporary file beside it
// ("<archive>.XXXXXX") that is renamed over the archive when complete, so a kill, a crash or a
// full disk leaves the archive as it was before the add or as it is after it.
//
// When the entries already in the archive stay where they are (an add), libzip asks its storage
// to keep the archive's first bytes ("cloning"); its own file source can answer only on file
// systems that share blocks between files. This store answers on any: the kernel copies the kept
// part into the temporary file (sharing the blocks where it can), and libzip writes only the new
// entries and the new central directory after it.
#include <QByteArray>

#include <zip.h>

namespace kesto {

// A source for zip_open_from_source; null with error set when libzip's file source cannot be
// made for the path.
zip_source_t *CreateZipStore(const QByteArray &archivePath, zip_error_t *error);

// Removes what an interrupted add left beside the archive: its temporary files.
void RemoveZipStoreLeftovers(const QByteArray &archivePath);

// Flushes the archive and its directory entry to the disk. False, with errno, when that fails.
bool SyncZipStore(const QByteArray &archivePath);

// Bytes moved per system call; libzip itself reads and writes 8 KiB at a time.
inline constexpr zip_uint64_t ZipStoreBlock = 256 * 1024;

} // namespace kesto
