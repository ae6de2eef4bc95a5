#include "help_text.h"

#include <QCoreApplication>

namespace kesto {

QString CommandLineHelpNotes()
{
    //: The notes after the options of --help; keep the layout: lines of at most 80 columns
    return QStringLiteral("\n\n") +
           QCoreApplication::translate(
               "HelpText",
               "Exit statuses of an unattended run (! or $):\n"
               "  0  the run completed: the archiver reported no problem, every volume it made is\n"
               "     wrapped into its archive, and the archives are on disk\n"
               "  1  the script could not be read (missing, unreadable, cut short, a bad or\n"
               "     out-of-range value, a path that is not valid UTF-8), or the job it holds is "
               "not\n"
               "     valid (a field missing, a file or directory it names gone, a blank or a slash "
               "in\n"
               "     the name, the description's line or column out of reach)\n"
               "  2  the run's own checks refused the job (the description test, an output "
               "directory\n"
               "     that cannot be written)\n"
               "  3  the run failed on the way (a file that could not be written, copied or "
               "deleted;\n"
               "     a zip operation that failed; a missing size helper), the program lies in the\n"
               "     root directory, or the system directory is full, cannot be written or is not\n"
               "     private (another user's, or writable by others)\n"
               "  4  the archiver (wrar or 7-Zip) was not found, failed, warned (files it could "
               "not read) "
               "or left no\n"
               "     volume; the volumes it left are wrapped, but the series is not complete\n"
               "  5  another instance of the program runs for this user (it holds the lock in the\n"
               "     system directory, and its process id is named): nothing was done\n"
               "  6  the run completed and its archives are written, but the recovery set\n"
               "     (--recovery) could not be written: par2 is missing or failed\n"
               "  128+N  ended by signal N (SIGINT, SIGTERM or SIGHUP): the archiver is stopped, "
               "the\n"
               "     archive being written stays as it was, the work directory and the fixed files "
               "are\n"
               "     removed\n"
               "\n"
               "Failures and progress go to standard error as lines \"kesto32: <script>: "
               "<reason>\".\n"
               "\n"
               "Environment:\n"
               "  KESTO32_SYSTEM_DIR  private directory for the fixed files and the work\n"
               "                      directories (default $XDG_CACHE_HOME/kesto32)\n"
               "  XDG_CACHE_HOME      default ~/.cache\n"
               "  XDG_DATA_HOME       holds kesto32/, the working copies (default ~/.local/share)\n"
               "  KESTO32_EDITOR      editor for description and nfo files, else VISUAL,\n"
               "  VISUAL              else xdg-open\n"
               "  DISPLAY, WAYLAND_DISPLAY\n"
               "                      without either, only ! and $ runs and the series commands\n"
               "                      work\n"
               "\n"
               "Options may follow the script; -- ends them. An unknown option ends with status "
               "64,\n"
               "output that cannot be written with status 74.\n"
               "\n"
               "See kesto32(1) and kesto32.kst(5).");
}

} // namespace kesto
