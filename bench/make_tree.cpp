// make_tree: writes a deterministic source tree for the benchmarks.
//
//   make_tree <directory> [--size <MB>] [--seed <n>]
//
// The same size and seed always give the same names, bytes and modification times. The tree
// mixes what a release holds: many small text files in nested directories, a few large text
// files (logs, data dumps) and a few large files of random bytes (media, already compressed),
// with blanks in many names. The directory must not exist or be empty.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// xoshiro256**, seeded through splitmix64: fixed by its definition, unlike the distributions of
// <random>, so the tree is the same with any compiler and library.
class Random {
public:
    explicit Random(std::uint64_t seed)
    {
        for (std::uint64_t &word : s_) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }
    std::uint64_t next()
    {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // In [low, high].
    std::uint64_t between(std::uint64_t low, std::uint64_t high)
    {
        return low + next() % (high - low + 1);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

// A fixed vocabulary of pronounceable words; text is drawn from it with a skewed frequency, as
// in prose, so that it compresses about as well as real text does.
std::vector<std::string> makeVocabulary(Random &random)
{
    static const char *const onsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "k",  "l",
                                         "m",  "n",  "p",  "r",  "s",  "t",  "v",  "w",
                                         "st", "tr", "pl", "gr", "ch", "sh", "th", ""};
    static const char *const vowels[] = {"a", "e", "i", "o", "u", "ai", "ea", "ou", "y"};
    static const char *const codas[] = {"", "", "n", "r", "s", "t", "l", "nd", "st", "ck"};
    std::vector<std::string> words;
    for (int i = 0; i < 4000; ++i) {
        std::string word;
        const int syllables = int(random.between(1, 4));
        for (int j = 0; j < syllables; ++j) {
            word += onsets[random.next() % std::size(onsets)];
            word += vowels[random.next() % std::size(vowels)];
            word += codas[random.next() % std::size(codas)];
        }
        words.push_back(word);
    }
    return words;
}

class TextSource {
public:
    TextSource(Random &random, const std::vector<std::string> &vocabulary)
        : random_(random), vocabulary_(vocabulary)
    {
    }
    // Lines of words, some with numbers, each ended by LF; exactly size bytes.
    std::string text(std::size_t size)
    {
        std::string out;
        out.reserve(size + 128);
        std::size_t lineStart = 0;
        std::size_t lineWidth = random_.between(40, 100);
        while (out.size() < size) {
            const std::uint64_t r = random_.next();
            if ((r & 31) == 0) {
                out += std::to_string((r >> 8) % 100000);
            } else {
                // The minimum of two draws favours the first words of the vocabulary.
                const std::size_t a = (r >> 8) % vocabulary_.size();
                const std::size_t b = (r >> 32) % vocabulary_.size();
                out += vocabulary_[std::min(a, b)];
            }
            if (out.size() - lineStart >= lineWidth) {
                out += '\n';
                lineStart = out.size();
                lineWidth = random_.between(40, 100);
            } else {
                out += ' ';
            }
        }
        out.resize(size);
        return out;
    }
    std::string word() { return vocabulary_[random_.next() % vocabulary_.size()]; }

private:
    Random &random_;
    const std::vector<std::string> &vocabulary_;
};

std::string randomBytes(Random &random, std::size_t size)
{
    std::string out(size, '\0');
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t r = random.next();
        for (int k = 0; k < 8; ++k)
            out[i + k] = char((r >> (8 * k)) & 0xff);
    }
    const std::uint64_t r = random.next();
    for (int k = 0; i < size; ++i, ++k)
        out[i] = char((r >> (8 * k)) & 0xff);
    return out;
}

// Every file gets the same time, so a tree is identical down to its metadata.
constexpr time_t fixedTime = 946'684'800; // 2000-01-01 00:00:00 UTC

bool writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        return false;
    file.close();
    const timespec times[2] = {{fixedTime, 0}, {fixedTime, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

struct Totals {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

class TreeWriter {
public:
    TreeWriter(const QString &top, std::uint64_t seed)
        : top_(top), random_(seed), vocabulary_(makeVocabulary(random_)),
          text_(random_, vocabulary_)
    {
    }

    bool write(std::uint64_t target)
    {
        // A third small text files, a third large text files, a third random bytes.
        const std::uint64_t smallShare = target / 3;
        const std::uint64_t largeTextShare = target / 3;
        const std::uint64_t randomShare = target - smallShare - largeTextShare;
        return writeSmallFiles(smallShare) && writeLargeText(largeTextShare) &&
               writeRandom(randomShare) && fixDirectoryTimes();
    }
    Totals totals() const { return totals_; }

private:
    QString name(const char *extension)
    {
        // Every other name has a blank in it.
        const bool blank = random_.next() % 2 == 0;
        std::string base = text_.word() + (blank ? " " : "_") + text_.word();
        base += "." + std::string(extension);
        return QString::fromStdString(base);
    }
    bool makeDirectory(const QString &path)
    {
        if (!QDir().mkpath(path))
            return false;
        // mkpath may have made parents too: each gets its time at the end.
        for (QString dir = path; dir.size() > top_.size(); dir = QFileInfo(dir).path())
            directories_.push_back(dir);
        return true;
    }
    // Last, since every file written changed its directory's time.
    bool fixDirectoryTimes()
    {
        directories_.push_back(top_);
        const timespec times[2] = {{fixedTime, 0}, {fixedTime, 0}};
        for (const QString &dir : directories_) {
            if (::utimensat(AT_FDCWD, QFile::encodeName(dir).constData(), times, 0) != 0)
                return false;
        }
        return true;
    }
    bool add(const QString &path, const std::string &bytes)
    {
        // A drawn name may come twice in one directory; the later file gets a number.
        QString unique = path;
        for (int n = 2; QFile::exists(unique); ++n)
            unique = path + QString::number(n);
        if (!writeFile(unique, bytes)) {
            std::fprintf(stderr, "make_tree: cannot write %s\n", qPrintable(unique));
            return false;
        }
        ++totals_.files;
        totals_.bytes += bytes.size();
        return true;
    }

    bool writeSmallFiles(std::uint64_t share)
    {
        static const char *const extensions[] = {"txt", "c", "h", "md", "ini", "html"};
        QString dir = top_ + QStringLiteral("/src");
        if (!makeDirectory(dir))
            return false;
        std::uint64_t written = 0;
        int inDirectory = 0;
        while (written < share) {
            // A new directory every few dozen files, nested up to four levels below src.
            if (inDirectory >= int(random_.between(10, 60))) {
                inDirectory = 0;
                const int depth = int(random_.between(0, 3));
                QString parent = top_ + QStringLiteral("/src");
                for (int level = 0; level < depth; ++level) {
                    const QString child =
                        parent + QLatin1Char('/') + QString::fromStdString(text_.word()) +
                        (random_.next() % 3 == 0 ? QStringLiteral(" files") : QString());
                    parent = child;
                }
                dir = parent;
                if (!makeDirectory(dir))
                    return false;
            }
            const std::size_t size = std::size_t(
                std::min<std::uint64_t>(random_.between(200, 16 * 1024), share - written));
            const char *extension = extensions[random_.next() % std::size(extensions)];
            if (!add(dir + QLatin1Char('/') + name(extension), text_.text(size)))
                return false;
            written += size;
            ++inDirectory;
        }
        return true;
    }

    bool writeLargeText(std::uint64_t share)
    {
        const QString dir = top_ + QStringLiteral("/data/logs and dumps");
        if (!makeDirectory(dir))
            return false;
        for (std::uint64_t written = 0; written < share;) {
            const std::size_t size = std::size_t(
                std::min<std::uint64_t>(random_.between(2'000'000, 8'000'000), share - written));
            if (!add(dir + QLatin1Char('/') + name("log"), text_.text(size)))
                return false;
            written += size;
        }
        return true;
    }

    bool writeRandom(std::uint64_t share)
    {
        const QString dir = top_ + QStringLiteral("/media");
        if (!makeDirectory(dir))
            return false;
        for (std::uint64_t written = 0; written < share;) {
            const std::size_t size = std::size_t(
                std::min<std::uint64_t>(random_.between(3'000'000, 10'000'000), share - written));
            if (!add(dir + QLatin1Char('/') + name("bin"), randomBytes(random_, size)))
                return false;
            written += size;
        }
        return true;
    }

    QString top_;
    Random random_;
    std::vector<std::string> vocabulary_;
    TextSource text_;
    std::vector<QString> directories_;
    Totals totals_;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a deterministic source tree."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("directory"),
                                 QStringLiteral("Where to write the tree (absent or empty)."));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Total size in MB (10^6 bytes)."),
                                        QStringLiteral("MB"), QStringLiteral("60"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    parser.addOption(sizeOption);
    parser.addOption(seedOption);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(64);

    bool sizeOk = false;
    bool seedOk = false;
    const std::uint64_t megabytes = parser.value(sizeOption).toULongLong(&sizeOk);
    const std::uint64_t seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!sizeOk || !seedOk || megabytes == 0) {
        std::fprintf(stderr, "make_tree: the size and the seed are positive whole numbers\n");
        return 64;
    }

    const QString top = QDir(parser.positionalArguments().constFirst()).absolutePath();
    const QDir topDir(top);
    if (topDir.exists() &&
        !topDir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        std::fprintf(stderr, "make_tree: %s is not empty\n", qPrintable(top));
        return 1;
    }
    TreeWriter writer(top, seed);
    if (!writer.write(megabytes * 1'000'000))
        return 1;
    std::printf("%llu files, %llu bytes in %s\n",
                static_cast<unsigned long long>(writer.totals().files),
                static_cast<unsigned long long>(writer.totals().bytes), qPrintable(top));
    return 0;
}
