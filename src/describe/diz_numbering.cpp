#include "diz_numbering.h"

#include "job/session.h"
#include "system/paths.h"
#include "system/textlines.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace kesto {

namespace {

const QByteArray SampleNumber = QByteArrayLiteral("001/999");
const QByteArray TagLine = QByteArray(28, ' ') + QByteArrayLiteral("Packaged with Kesto32 by ZWT");
const QByteArray TagPrefix = TagLine.left(40);

// A field's text read as a decimal number; a text that does not begin with one reads as 0.
qint64 leadingNumber(const QString &text)
{
    // Far beyond any line or column, and small enough that sums with it cannot overflow.
    constexpr qint64 limit = 1'000'000'000'000;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(value * 10 + (text[i].unicode() - '0'), limit);
    return negative ? -value : value;
}

// Descriptions and nfo files are small. Reading the input whole before its copy is opened keeps
// it intact when both name the same file (a description kept beside the program).
std::optional<QByteArray> readInput(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// Writes lines, each followed by CR LF, into a file that is created or emptied.
class LineWriter {
public:
    // The file is replaced as a whole when finished, never written through a link.
    explicit LineWriter(const QString &path) : file_(path)
    {
        ok_ = paths::dropLink(path) && file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isOpen() const { return file_.isOpen(); }
    void write(const QByteArray &line)
    {
        if (ok_)
            ok_ = file_.write(line) == line.size() && file_.write(crlf) == crlf.size();
    }
    // Puts the file in place; false when anything could not be written.
    bool finish()
    {
        if (ok_)
            ok_ = file_.commit();
        else
            file_.cancelWriting();
        return ok_;
    }

private:
    QSaveFile file_;
    bool ok_ = false;
};

// The number takes the place of the field's seven columns from the 1-based column when they fit
// the line, else goes after the line's end. A wider number (a series of 1000 or more) fills the
// same field and the line grows. A column below 1 takes the line's first column, the nearest
// place, as one beyond it appends.
void placeNumber(QByteArray &line, qint64 column, const QByteArray &number)
{
    const qint64 start = std::max<qint64>(column, 1) - 1;
    if (start + SampleNumber.size() > line.size())
        line.append(number);
    else
        line.replace(start, SampleNumber.size(), number);
}

const char SampleWriteFailure[] =
    QT_TRANSLATE_NOOP("DizNumbering", "Can't write the sample description");

// A failed test: the Diz page with the field at fault; the job itself is left as typed. Returns
// what failed, for a batch run's report.
QString refuseTest(Session &session, std::optional<Field> field, const QString &message,
                   const QString &quietReason = {}, const QString &reason = {})
{
    session.showPage(Page::Diz);
    if (field)
        session.focusField(*field);
    if (!message.isEmpty())
        session.error(message, Icon::Exclamation, Buttons::Ok, reason);
    session.state.DizTestPassed = false;
    return message.isEmpty() ? quietReason : message;
}

} // namespace

bool SampleUnwritable(const QString &why)
{
    return why == QCoreApplication::translate("DizNumbering", SampleWriteFailure);
}

QString NumberText(int volume, int volumeCount)
{
    const auto threeDigits = [](int n) {
        return QString::number(n).rightJustified(3, QLatin1Char('0'));
    };
    return threeDigits(volume) + QLatin1Char('/') + threeDigits(volumeCount);
}

bool WriteNumberedDiz(Session &session, int volume, int volumeCount)
{
    const qint64 lineNumber = leadingNumber(session.job.DizLine);
    const qint64 column = leadingNumber(session.job.DizColumn);
    const QByteArray number = NumberText(volume, volumeCount).toLatin1();

    std::optional<QByteArray> input = readInput(session.job.DizPath);
    if (!input)
        return false;
    QBuffer buffer(&*input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    LineWriter copy(session.state.AppDir + QStringLiteral("/file_id.diz"));
    if (!copy.isOpen())
        return false;

    QByteArray line;
    for (qint64 counter = 1; reader.readLine(line); ++counter) {
        if (counter == lineNumber)
            placeNumber(line, column, number);
        copy.write(line);
    }
    return copy.finish();
}

QString DizNumberingProblem(const QByteArray &description, qint64 lineNumber, qint64 column,
                            bool *lineAtFault)
{
    if (lineAtFault)
        *lineAtFault = false;
    QByteArray bytes = description;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    qint64 counter = 1;
    QByteArray line;
    for (; reader.readLine(line); ++counter) {
        if (counter != lineNumber)
            continue;
        if (column < 1)
            return QCoreApplication::translate("DizNumbering", "Column number too low");
        if (column - 1 + SampleNumber.size() > line.size())
            return QCoreApplication::translate("DizNumbering", "Column number too high");
    }
    if (lineNumber > counter - 1) {
        if (lineAtFault)
            *lineAtFault = true;
        return QCoreApplication::translate("DizNumbering", "Line number too high");
    }
    return {};
}

QString TestDizNumbering(Session &session, bool showResult)
{
    const JobSettings &job = session.job;
    if (job.DizPath.isEmpty() || !job.DizAutoNumber)
        return {};
    if (job.DizColumn.isEmpty())
        return refuseTest(session, Field::DizColumn, {},
                          QCoreApplication::translate("DizNumbering", "no column"));
    if (job.DizLine.isEmpty())
        return refuseTest(session, Field::DizLine, {},
                          QCoreApplication::translate("DizNumbering", "no line"));
    const qint64 lineNumber = leadingNumber(job.DizLine);
    const qint64 column = leadingNumber(job.DizColumn);

    std::optional<QByteArray> input = readInput(job.DizPath);
    if (!input)
        return refuseTest(
            session, std::nullopt,
            QCoreApplication::translate("DizNumbering", "Can't read the description file"), {},
            job.DizPath);
    // The plan of a run judges by the same verdict.
    bool lineAtFault = false;
    if (const QString problem = DizNumberingProblem(*input, lineNumber, column, &lineAtFault);
        !problem.isEmpty())
        return refuseTest(session, lineAtFault ? Field::DizLine : Field::DizColumn, problem);
    QBuffer buffer(&*input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    const QString samplePath = paths::systemFile(QStringLiteral("~kesto.diz"));
    const QString writeFailure = QCoreApplication::translate("DizNumbering", SampleWriteFailure);
    LineWriter sample(samplePath);
    if (!sample.isOpen()) {
        return refuseTest(session, std::nullopt, writeFailure, {}, samplePath);
    }

    qint64 counter = 1;
    QByteArray line;
    while (reader.readLine(line)) {
        if (counter == lineNumber)
            line.replace(column - 1, SampleNumber.size(), SampleNumber);
        sample.write(line);
        ++counter;
        session.serveEvents();
    }
    if (!sample.finish()) {
        return refuseTest(session, std::nullopt, writeFailure, {}, samplePath);
    }

    session.state.DizTestPassed = true;
    if (showResult) {
        // The editor reads the sample in its own time (the desktop hands the file on), so no
        // moment to delete it is safe: it stays until the next test replaces it or the program
        // shuts down.
        session.svc.launcher->start(QStringLiteral("notepad.exe ") +
                                        paths::GetShortFileName(samplePath),
                                    WindowMode::ShowNoActivate);
        return {};
    }
    QFile::remove(samplePath);
    return {};
}

bool WriteVolumeNfo(Session &session)
{
    const QString &nfoPath = session.job.NfoPath;
    const qsizetype slash = nfoPath.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        session.state.NfoWorkName = nfoPath.mid(slash + 1);
    if (session.state.NfoWorkName.isEmpty())
        return false;

    std::optional<QByteArray> input = readInput(nfoPath);
    if (!input)
        return false;
    QBuffer buffer(&*input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    LineWriter copy(session.state.AppDir + QLatin1Char('/') + session.state.NfoWorkName);
    if (!copy.isOpen())
        return false;

    QByteArray line;
    while (reader.readLine(line)) {
        copy.write(line);
        // The nfo already carries the tag: it ends here, without a second one.
        if (line.startsWith(TagPrefix))
            return copy.finish();
        session.serveEvents();
    }
    copy.write(QByteArray());
    copy.write(TagLine);
    return copy.finish();
}

} // namespace kesto
