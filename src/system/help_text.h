#pragma once
#include <QString>

namespace kesto {

// What --help says after the options' summary: the exit statuses of an unattended run and the
// environment variables the program reads.
QString CommandLineHelpNotes();

} // namespace kesto
