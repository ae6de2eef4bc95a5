#pragma once
// Where the zip component's archives are read from and written to: libzip's own file source,
// with its writes gathered into large blocks, and with in-place appending.
//
// libzip writes a complete new archive on every zip_close, into a temporary file that replaces
// the old one. When the entries already in the archive stay where they are and only new ones
// follow (an add), libzip asks its storage to keep the archive's first bytes ("cloning") and
// writes only what comes after them. This store answers that request on any file system: the
// bytes after the kept part are held in memory (or, when large, in a temporary file beside the
// archive), and only when libzip commits are they written over the archive's old end (its
// central directory). Until then the
// archive is untouched, so a cancelled or failed add leaves it as it was; should the copy fail,
// the old end is put back. A request the store cannot answer (a link, a file with several
// names, a large part to replace) is refused, and libzip then rewrites the whole archive.
#include <QByteArray>

#include <zip.h>

namespace kesto {

// A source for zip_open_from_source; null with error set when libzip's file source cannot be
// made for the path.
zip_source_t *CreateZipStore(const QByteArray &archivePath, zip_error_t *error);

// Bytes moved per system call; libzip itself reads and writes 8 KiB at a time.
inline constexpr zip_uint64_t ZipStoreBlock = 256 * 1024;

// The most the store keeps in memory to put back an archive's old end.
inline constexpr zip_uint64_t ZipStoreMaxReplaced = 1024 * 1024;
// The most of an add's new bytes held in memory; beyond, they go to a file beside the archive.
inline constexpr zip_uint64_t ZipStoreMaxInMemory = 1024 * 1024;

} // namespace kesto
