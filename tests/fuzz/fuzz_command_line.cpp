// The program's command line as main arranges it, on any bytes. The input is NUL-separated
// words, the program's name first.
#include "engine/series_command.h"
#include "ui/program_arguments.h"

#include <QCommandLineParser>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> words = input.split('\0');
    static const QList<QCommandLineOption> options = kesto::ui::ProgramOptions();
    const kesto::ui::ArrangedArguments arranged = kesto::ui::ArrangeArguments(words, options);
    if (!arranged.error.isEmpty())
        return 0;
    // What is accepted, the option parser reads without complaint; the script's words come
    // after "--", each as given, and decide batch mode by their first byte.
    QCommandLineParser parser;
    parser.addOptions(kesto::SeriesCommandOptions());
    parser.addOption(kesto::ui::QuietOption());
    parser.addHelpOption();
    parser.addVersionOption();
    if (!parser.parse(arranged.arguments))
        std::abort();
    const QByteArray script = parser.positionalArguments().join(QLatin1Char(' ')).toUtf8();
    const bool utf8 = QString::fromUtf8(arranged.scriptBytes).toUtf8() == arranged.scriptBytes;
    if ((utf8 && script != arranged.scriptBytes) ||
        arranged.batch !=
            (arranged.scriptBytes.startsWith('!') || arranged.scriptBytes.startsWith('$')))
        std::abort();
    return 0;
}
