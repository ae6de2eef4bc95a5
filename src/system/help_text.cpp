#include "help_text.h"

namespace kesto {

QString CommandLineHelpNotes()
{
    return QStringLiteral(
        "\n\n"
        "Exit statuses of an unattended run:\n"
        "  0      completed: every volume is wrapped into its archive, archives synced\n"
        "  1      the script could not be read, or the job it holds is not valid\n"
        "  2      the run's own checks refused the job (name clash, free space,\n"
        "         description test, output directory not writable)\n"
        "  3      the run failed on the way (a file could not be written, copied or\n"
        "         deleted, or a zip operation failed)\n"
        "  4      the archiver failed, warned or left no volume; series not complete\n"
        "  5      another instance runs for this user; nothing was done\n"
        "  128+N  ended by signal N, after cleaning up\n"
        "\n"
        "Environment:\n"
        "  KESTO32_SYSTEM_DIR  private directory for the fixed files and the work\n"
        "                      directories (default $XDG_CACHE_HOME/kesto32)\n"
        "  XDG_CACHE_HOME      default ~/.cache\n"
        "  XDG_DATA_HOME       holds kesto32/, the working copies (default ~/.local/share)\n"
        "  KESTO32_EDITOR      editor for description and nfo files, else VISUAL,\n"
        "  VISUAL              else xdg-open\n"
        "  DISPLAY, WAYLAND_DISPLAY\n"
        "                      without either, the program runs offscreen\n"
        "\n"
        "See kesto32(1) and kesto32.kst(5).");
}

} // namespace kesto
