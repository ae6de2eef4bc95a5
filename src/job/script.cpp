#include "script.h"

#include "session.h"
#include "system/paths.h"
#include "system/textlines.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <optional>

namespace kesto {

namespace {

QByteArray signedNumber(qint16 value)
{
    const QByteArray digits = QByteArray::number(value);
    return value < 0 ? digits : ' ' + digits;
}

QByteArray booleanWord(bool value)
{
    return value ? QByteArrayLiteral("True") : QByteArrayLiteral("False");
}

// The value of a line from its 1-based position to the end; empty when the line is shorter.
QByteArray valueAt(const QByteArray &line, qsizetype position)
{
    return line.size() < position ? QByteArray() : line.mid(position - 1);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number a text begins with, kept as digits so that no length can overflow.
struct LeadingNumber {
    bool found = false;
    bool negative = false;
    QByteArray whole; // without leading zeros
    QByteArray fraction;
    qsizetype end = 0; // just past the number

    bool isZero() const { return whole.isEmpty() && fraction.count('0') == fraction.size(); }
};

LeadingNumber leadingNumber(const QByteArray &text)
{
    LeadingNumber number;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && isBlank(text[i]))
        ++i;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    while (i < size && isDigit(text[i])) {
        if (!number.whole.isEmpty() || text[i] != '0')
            number.whole += text[i];
        anyDigit = true;
        ++i;
    }
    if (i < size && text[i] == '.') {
        qsizetype j = i + 1;
        while (j < size && isDigit(text[j]))
            number.fraction += text[j++];
        if (anyDigit || !number.fraction.isEmpty()) {
            anyDigit = true;
            i = j;
        }
    }
    if (!anyDigit)
        return {};
    number.found = true;
    number.end = i;
    return number;
}

// Text that does not begin with a number reads as 0.
LeadingNumber numberAt(const QByteArray &line, qsizetype position)
{
    return leadingNumber(valueAt(line, position));
}

// Rounded half to even into 16 bits; nothing when it does not fit.
std::optional<qint16> roundedTo16Bits(const LeadingNumber &number)
{
    if (number.whole.size() > 5)
        return std::nullopt;
    qint32 value = number.whole.isEmpty() ? 0 : number.whole.toInt();
    if (!number.fraction.isEmpty()) {
        const char first = number.fraction[0];
        const bool beyondHalf = number.fraction.mid(1).count('0') != number.fraction.size() - 1;
        if (first > '5' || (first == '5' && (beyondHalf || value % 2 == 1)))
            ++value;
    }
    if (number.negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<qint16> rangedAt(const QByteArray &line, qsizetype position, qint16 highest)
{
    const auto value = roundedTo16Bits(numberAt(line, position));
    if (!value || *value < 0 || *value > highest)
        return std::nullopt;
    return value;
}

qint16 checkStateAt(const QByteArray &line, qsizetype position)
{
    return numberAt(line, position).isZero() ? Unchecked : Checked;
}

// "True" or "False" in any letter case, or a number (0 false).
std::optional<bool> booleanValue(const QByteArray &value)
{
    const QByteArray word = value.trimmed();
    if (word.compare("true", Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare("false", Qt::CaseInsensitive) == 0)
        return false;
    const LeadingNumber number = leadingNumber(word);
    if (!number.found || number.end != word.size())
        return std::nullopt;
    return !number.isZero();
}

// A script's text value as the path or name it names; nothing when it is not valid UTF-8, since
// a replaced byte would name another file. A relative path is taken against the current
// directory now, so that what the checks see is what the run uses.
std::optional<QString> textValue(const QByteArray &bytes, bool path)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    if (path && !text.isEmpty() && QDir::isRelativePath(text))
        text = QDir::current().absoluteFilePath(text);
    return text;
}

// Reads line after line, counting them, so that a failure can name its line.
class ScriptReader {
public:
    explicit ScriptReader(QIODevice &file) : lines_(file) {}

    bool next()
    {
        if (!lines_.readLine(line_))
            return fail(QStringLiteral("the script ends after line %1").arg(number_));
        ++number_;
        return true;
    }
    bool atEnd() { return lines_.atEnd(); }
    const QByteArray &line() const { return line_; }
    bool fail(const QString &why)
    {
        if (error_.isEmpty())
            error_ = why;
        return false;
    }
    bool bad(const QString &what)
    {
        return fail(QStringLiteral("line %1: %2").arg(number_).arg(what));
    }
    // The text from a position into field; false (naming the line) when it is not UTF-8.
    bool text(qsizetype position, QString &field, bool path = true)
    {
        const auto value = textValue(valueAt(line_, position), path);
        if (!value)
            return bad(QStringLiteral("not valid UTF-8"));
        field = *value;
        return true;
    }
    const QString &error() const { return error_; }

private:
    LineReader lines_;
    QByteArray line_;
    int number_ = 0;
    QString error_;
};

// Assigns each field as soon as its line is read; false at the first bad or missing line.
bool readScript(ScriptReader &r, JobSettings &job)
{
    const QByteArray &line = r.line();
    if (!r.next()) // header with the save time
        return false;
    if (!r.next() || !r.text(9, job.SourcePath))
        return false;
    if (!r.next()) // "Skip: "
        return false;
    for (;;) {
        if (r.atEnd())
            return r.fail(QStringLiteral("the skip section has no end"));
        if (!r.next())
            return false;
        if (line.isEmpty())
            break;
        QString entry;
        if (!r.text(1, entry))
            return false;
        // A line whose value is blank names nothing, and written back it would end the section.
        if (!entry.isEmpty())
            job.SkipList += entry + QStringLiteral("\r\n");
    }
    if (!r.next() || !r.text(6, job.DizPath))
        return false;

    if (!r.next())
        return false;
    const auto autoNumber = booleanValue(valueAt(line, 8));
    if (!autoNumber)
        return r.bad(QStringLiteral("not True or False"));
    // Like a click on "S&ubsitute at column"; "&None" is never clicked, so column and line stay.
    job.DizAutoNumber = *autoNumber;
    if (*autoNumber)
        job.DizNoneSelected = false;

    if (!r.next() || !r.text(6, job.DizColumn, false))
        return false;
    if (!r.next() || !r.text(6, job.DizLine, false))
        return false;
    if (!r.next() || !r.text(6, job.NfoPath))
        return false;

    if (!r.next())
        return false;
    const auto firstOnly = rangedAt(line, 6, 2);
    if (!firstOnly)
        return r.bad(QStringLiteral("not 0, 1 or 2"));
    job.NfoFirstOnly = *firstOnly;

    if (!r.next())
        return false;
    const QByteArray extraKind = valueAt(line, 7);
    if (extraKind == "False") {
        job.ExtraIsDirectory = true;
        job.ExtraIsFile = false;
    } else {
        const auto isFile = booleanValue(extraKind);
        if (!isFile)
            return r.bad(QStringLiteral("not True or False"));
        job.ExtraIsFile = *isFile;
        if (*isFile)
            job.ExtraIsDirectory = false;
    }

    if (!r.next() || !r.text(8, job.ExtraPath))
        return false;
    if (!r.next() || !r.text(6, job.ZipDir))
        return false;
    if (!r.next() || !r.text(7, job.ZipName, false))
        return false;

    if (!r.next())
        return false;
    const auto sizeSetting = rangedAt(line, 8, 200);
    if (!sizeSetting)
        return r.bad(QStringLiteral("not a size position from 0 to 200"));
    job.VolumeSizeSetting = *sizeSetting;

    if (!r.next())
        return false;
    job.RarSolid = checkStateAt(line, 8);
    if (!r.next())
        return false;
    job.ZipExtraCompression = checkStateAt(line, 8);
    return true;
}

} // namespace

QByteArray ScriptText(const JobSettings &job, const QDateTime &savedAt)
{
    QByteArray text;
    const auto line = [&text](const char *key, const QByteArray &value) {
        text += key;
        text += value;
        text += crlf;
    };
    const auto bytes = [](const QString &value) { return QFile::encodeName(value); };

    line("Kesto32 script - ", savedAt.toString(QStringLiteral("MM-dd-yyyy  HH:mm:ss")).toLatin1());
    line("Source: ", bytes(job.SourcePath));
    line("Skip: ", {});
    // Every entry already ends with CR LF; this one closes the section.
    text += bytes(job.SkipList);
    text += crlf;
    line("Diz: ", bytes(job.DizPath));
    line("AutoN: ", booleanWord(job.DizAutoNumber));
    line("Col: ", bytes(job.DizColumn));
    line("Lin: ", bytes(job.DizLine));
    line("Nfo: ", bytes(job.NfoPath));
    line(" 1st:", signedNumber(job.NfoFirstOnly));
    line(" File:", booleanWord(job.ExtraIsFile));
    line(" Extra:", bytes(job.ExtraPath));
    line("Zip: ", bytes(job.ZipDir));
    line(" name:", bytes(job.ZipName));
    line(" Size:", signedNumber(job.VolumeSizeSetting));
    line(" Solid:", signedNumber(job.RarSolid));
    line(" Extra:", signedNumber(job.ZipExtraCompression));
    return text;
}

std::optional<RunFailure> LoadScript(Session &session)
{
    std::optional<RunFailure> failure;
    QFile file(session.state.ScriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = RunFailure{Failure::ScriptUnreadable,
                             session.state.ScriptPath + QStringLiteral(": ") + file.errorString()};
    } else {
        ScriptReader reader(file);
        if (!readScript(reader, session.job))
            failure = RunFailure{Failure::ScriptBadValue, reader.error()};
    }
    file.close();
    // The pages, the size display among them, follow whatever was assigned.
    session.jobChanged();
    if (failure)
        session.report(*failure);
    return failure;
}

QString ScriptFileName(const QString &scriptPath)
{
    const qsizetype separator = scriptPath.lastIndexOf(QLatin1Char('/'));
    return separator < 0 ? QString() : scriptPath.mid(separator + 1);
}

FileDialogSetup ScriptDialogSetup(const QString &title, const QString &appDir)
{
    return {title, QStringLiteral("Script (*.kst)|*.kst|"), QStringLiteral("*.kst"), appDir};
}

void ShowScriptTitle(Session &session)
{
    if (session.svc.window)
        session.svc.window->setWindowTitle(QStringLiteral("Kesto32 - ") +
                                           ScriptFileName(session.state.ScriptPath));
}

void SaveScript(Session &session)
{
    if (!session.svc.dialogs)
        return;
    const auto chosen = session.svc.dialogs->saveFile(
        ScriptDialogSetup(QStringLiteral("Save script"), session.state.AppDir));
    if (!chosen || chosen->isEmpty())
        return;
    session.state.ScriptPath = paths::lowerPath(*chosen);

    // A failure ends the command silently; whatever was written stays.
    QFile file(session.state.ScriptPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QByteArray text = ScriptText(session.job, QDateTime::currentDateTime());
    if (file.write(text) != text.size() || !file.flush())
        return;
    file.close();
    ShowScriptTitle(session);
}

} // namespace kesto
