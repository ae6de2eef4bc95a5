// size: counts the regular files and their bytes in a directory tree.
//
//   size directory [/s] [/t]
//
// /s walks the sub-directories too, /t ends the report with the total of everything counted.
// The first argument is the directory whatever it looks like ("/t" and "-h" are directories
// there); without one nothing is measured. The report has, per directory, a header line
// (two blanks, then the directory in upper case, in double quotes when it holds a blank: the form
// in which a command line names it, so a caller can find the block of the directory it passed)
// and a summary line of the files directly in it. With /t there follow the line
// "  Total of all files found" and the summary of the whole walk.
//
// Every name that is not a directory counts as a file, as an archive stores it: a symbolic link
// with its own length (links inside the tree are never followed), a pipe or a device with none.
// The directory named on the command line is taken as given, link or not. Each name of a
// hard-linked file counts once.
// A directory that cannot be read is reported on standard error and the walk goes on.
// Exit status: 0 all read, 1 some directory could not be read, 2 the directory itself could not
// be read (nothing is printed), 7 usage.

#include <QFile>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Options {
    QByteArray directory; // raw bytes: a name need not be valid in any encoding
    bool subdirectories = false;
    bool total = false;
};

struct Tally {
    qint64 files = 0;
    qint64 bytes = 0;
};

const char Usage[] = "usage: size directory [/s] [/t]\n"
                     "  /s  include sub-directories\n"
                     "  /t  end with the total of all files found\n";

bool isSwitch(const char *arg, char letter)
{
    return arg[0] == '/' && (arg[1] == letter || arg[1] == letter - 'a' + 'A') && arg[2] == '\0';
}

// Slash switches are beyond QCommandLineParser, and the directory must stay raw bytes.
bool parseArguments(int argc, char **argv, Options &options)
{
    if (argc < 2 || argv[1][0] == '\0')
        return false;
    options.directory = argv[1];
    for (int i = 2; i < argc; ++i) {
        if (isSwitch(argv[i], 's'))
            options.subdirectories = true;
        else if (isSwitch(argv[i], 't'))
            options.total = true;
        else
            return false;
    }
    return true;
}

QByteArray joinPath(const QByteArray &dir, const char *name)
{
    QByteArray path = dir;
    if (!path.endsWith('/'))
        path += '/';
    return path + name;
}

QByteArray headerLine(const QByteArray &path)
{
    QString shown = QFile::decodeName(path);
    if (shown.contains(QLatin1Char(' ')))
        shown = QLatin1Char('"') + shown + QLatin1Char('"');
    return "  " + QFile::encodeName(shown.toUpper()) + '\n';
}

QString grouped(qint64 number)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(number);
}

QByteArray summaryLine(const Tally &tally, qint64 directories)
{
    QString line = QStringLiteral("%1 %2, %3 %4")
                       .arg(grouped(tally.files), 10)
                       .arg(tally.files == 1 ? QStringLiteral("file") : QStringLiteral("files"))
                       .arg(grouped(tally.bytes))
                       .arg(tally.bytes == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"));
    if (directories >= 0)
        line += QStringLiteral(" in %1 %2")
                    .arg(grouped(directories), directories == 1 ? QStringLiteral("directory")
                                                                : QStringLiteral("directories"));
    return line.toLatin1() + '\n';
}

void write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

void reportUnreadable(const QByteArray &path, int error)
{
    std::fprintf(stderr, "size: cannot read %s: %s\n", path.constData(), std::strerror(error));
}

// Counts the regular files directly in path and collects its sub-directories (sorted).
bool readDirectory(const QByteArray &path, bool followLink, Tally &own,
                   std::vector<QByteArray> &subdirectories)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int fd = ::open(path.constData(), flags);
    if (fd < 0) {
        reportUnreadable(path, errno);
        return false;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        reportUnreadable(path, errno);
        ::close(fd);
        return false;
    }
    std::vector<QByteArray> names;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (entry->d_type == DT_DIR) {
            names.emplace_back(name);
            continue;
        }
        struct stat info;
        if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the listing
        if (S_ISDIR(info.st_mode)) {
            names.emplace_back(name);
        } else {
            ++own.files;
            own.bytes += S_ISREG(info.st_mode) || S_ISLNK(info.st_mode) ? info.st_size : 0;
        }
    }
    const int listingError = errno;
    ::closedir(dir);
    if (listingError != 0)
        reportUnreadable(path, listingError);
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names)
        subdirectories.push_back(joinPath(path, name.constData()));
    return listingError == 0;
}

int run(const Options &options)
{
    const QByteArray &top = options.directory;
    Tally total;
    qint64 directories = 0;
    bool allRead = true;

    // Depth first with an explicit stack: a deep tree must not exhaust the call stack.
    std::vector<QByteArray> pending{top};
    while (!pending.empty()) {
        const QByteArray path = std::move(pending.back());
        pending.pop_back();
        const bool isTop = directories == 0;
        Tally own;
        std::vector<QByteArray> subdirectories;
        const bool read = readDirectory(path, isTop, own, subdirectories);
        if (!read && isTop && own.files == 0 && subdirectories.empty())
            return 2;
        allRead = allRead && read;
        ++directories;
        total.files += own.files;
        total.bytes += own.bytes;
        write(headerLine(path));
        write(summaryLine(own, -1));
        if (options.subdirectories)
            pending.insert(pending.end(), subdirectories.rbegin(), subdirectories.rend());
    }
    if (options.total) {
        write("\n  Total of all files found\n");
        write(summaryLine(total, directories));
    }
    return allRead ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::fputs(Usage, stderr);
        return 7;
    }
    const int status = run(options);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return 2;
    return status;
}
