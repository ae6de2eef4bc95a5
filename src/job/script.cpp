#include "script.h"

#include "session.h"
#include "system/paths.h"
#include "system/textlines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <optional>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Stateless: a sequence cut short at the end is an error, not held back for more input; and a
    // leading byte order mark is a character of the value, not dropped.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                  QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (utf8.hasError() || text.toUtf8() != bytes)
        return std::nullopt;
    if (path && !text.isEmpty() && QDir::isRelativePath(text))
        text = QDir::current().absoluteFilePath(text);
    return text;
}

QByteArray &commandLineScript()
{
    static QByteArray name;
    return name;
}

// The name as the file system knows it: the command line's own bytes when they name this path,
// so that a name that is not valid UTF-8 still opens.
QByteArray scriptNameBytes(const QString &path)
{
    const QByteArray &raw = commandLineScript();
    if (!raw.isEmpty() && QFile::decodeName(raw) == path)
        return raw;
    return QFile::encodeName(path);
}

// Reads line after line, counting them, so that a failure can name its line.
class ScriptReader {
public:
    explicit ScriptReader(QIODevice &file) : lines_(file) {}

    bool next()
    {
        if (!lines_.readLine(line_))
            return fail(QCoreApplication::translate("script", "the script ends after line %1")
                            .arg(number_));
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
        //: %1 the script's line number, %2 what is wrong with it
        return fail(QCoreApplication::translate("script", "line %1: %2").arg(number_).arg(what));
    }
    // The text from a position into field; false (naming the line) when it is not UTF-8.
    bool text(qsizetype position, QString &field, bool path = true)
    {
        const auto value = textValue(valueAt(line_, position), path);
        if (!value)
            return bad(QCoreApplication::translate("script", "not valid UTF-8"));
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

// How a stored field is written and read.
enum class Kind {
    Header,   // the save time; never read
    Path,     // a path, made absolute against the current directory when read
    Text,     // a name or a number as typed
    Skip,     // the key line, one line per skip entry, an empty line
    Option,   // "True"/"False": true switches the option on and its companion off
    FileKind, // as Option, but exactly "False" switches the companion on instead
    Number,   // a signed number from 0 to highest
    Check,    // a two-state box: -1 checked, 0 unchecked (any other number reads as checked)
    Tristate, // 0 unchecked, 1 checked, 2 greyed
};

struct StoredField {
    const char *key;
    qsizetype position; // 1-based column where the value starts
    Kind kind;
    QString JobSettings::*text = nullptr;
    bool JobSettings::*option = nullptr;
    bool JobSettings::*companion = nullptr;
    qint16 JobSettings::*number = nullptr;
    qint16 highest = 0;
    const char *range = nullptr; // what a bad number is told
    CheckState JobSettings::*check = nullptr;
};

using J = JobSettings;

// The script, line by line in file order; both the reader and the writer walk it.
const StoredField scriptFields[] = {
    {"Kesto32 script - ", 0, Kind::Header},
    {"Source: ", 9, Kind::Path, &J::SourcePath},
    {"Skip: ", 1, Kind::Skip, &J::SkipList},
    {"Diz: ", 6, Kind::Path, &J::DizPath},
    {"AutoN: ", 8, Kind::Option, nullptr, &J::DizAutoNumber, &J::DizNoneSelected},
    {"Col: ", 6, Kind::Text, &J::DizColumn},
    {"Lin: ", 6, Kind::Text, &J::DizLine},
    {"Nfo: ", 6, Kind::Path, &J::NfoPath},
    {" 1st:", 6, Kind::Tristate, nullptr, nullptr, nullptr, nullptr, 2,
     QT_TRANSLATE_NOOP("script", "not 0, 1 or 2"), &J::NfoFirstOnly},
    {" File:", 7, Kind::FileKind, nullptr, &J::ExtraIsFile, &J::ExtraIsDirectory},
    {" Extra:", 8, Kind::Path, &J::ExtraPath},
    {"Zip: ", 6, Kind::Path, &J::ZipDir},
    {" name:", 7, Kind::Text, &J::ZipName},
    {" Size:", 8, Kind::Number, nullptr, nullptr, nullptr, &J::VolumeSizeSetting, 200,
     QT_TRANSLATE_NOOP("script", "not a size position from 0 to 200")},
    {" Solid:", 8, Kind::Check, nullptr, nullptr, nullptr, nullptr, 0, nullptr, &J::RarSolid},
    {" Extra:", 8, Kind::Check, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
     &J::ZipExtraCompression},
};

// Skip entries, each followed by CR LF, until the empty line that ends the section.
bool readSkipSection(ScriptReader &r, QString &skipList)
{
    for (;;) {
        if (r.atEnd())
            return r.fail(QCoreApplication::translate("script", "the skip section has no end"));
        if (!r.next())
            return false;
        if (r.line().isEmpty())
            return true;
        QString entry;
        if (!r.text(1, entry))
            return false;
        // A line whose value is blank names nothing, and written back it would end the section.
        if (!entry.isEmpty())
            skipList += entry + QStringLiteral("\r\n");
    }
}

bool readField(ScriptReader &r, const StoredField &f, JobSettings &job)
{
    const QByteArray value = valueAt(r.line(), f.position);
    switch (f.kind) {
    case Kind::Header: return true;
    case Kind::Path: return r.text(f.position, job.*f.text);
    case Kind::Text: return r.text(f.position, job.*f.text, false);
    case Kind::Skip: return readSkipSection(r, job.*f.text);
    case Kind::FileKind:
        if (value == "False") {
            job.*f.companion = true;
            job.*f.option = false;
            return true;
        }
        [[fallthrough]];
    case Kind::Option: {
        const auto on = booleanValue(value);
        if (!on)
            return r.bad(QCoreApplication::translate("script", "not True or False"));
        // Like a click on the option: only switching it on changes its companion.
        job.*f.option = *on;
        if (*on)
            job.*f.companion = false;
        return true;
    }
    case Kind::Number:
    case Kind::Tristate: {
        const auto number = rangedAt(r.line(), f.position, f.highest);
        if (!number)
            return r.bad(QCoreApplication::translate("script", f.range));
        if (f.kind == Kind::Number)
            job.*f.number = *number;
        else
            job.*f.check = CheckState(*number);
        return true;
    }
    case Kind::Check:
        job.*f.check = leadingNumber(value).isZero() ? Unchecked : Checked;
        return true;
    }
    return false;
}

// Assigns each field as soon as its line is read; false at the first bad or missing line.
bool readScript(ScriptReader &r, JobSettings &job)
{
    for (const StoredField &field : scriptFields) {
        if (!r.next() || !readField(r, field, job))
            return false;
    }
    return true;
}

QByteArray storedValue(const StoredField &f, const JobSettings &job, const QDateTime &savedAt)
{
    switch (f.kind) {
    case Kind::Header: return savedAt.toString(QStringLiteral("MM-dd-yyyy  HH:mm:ss")).toLatin1();
    case Kind::Path:
    case Kind::Text: return QFile::encodeName(job.*f.text);
    // Every entry already ends with CR LF; the line break after the key and the empty line that
    // closes the section come around them.
    case Kind::Skip: return crlf + QFile::encodeName(job.*f.text);
    case Kind::Option:
    case Kind::FileKind: return booleanWord(job.*f.option);
    case Kind::Number: return signedNumber(job.*f.number);
    case Kind::Check: return signedNumber(job.*f.check == Unchecked ? 0 : -1);
    case Kind::Tristate: return signedNumber(qint16(job.*f.check));
    }
    return {};
}

} // namespace

QByteArray ScriptText(const JobSettings &job, const QDateTime &savedAt)
{
    QByteArray text;
    for (const StoredField &field : scriptFields) {
        text += field.key;
        text += storedValue(field, job, savedAt);
        text += crlf;
    }
    return text;
}

void SetCommandLineScriptBytes(const QByteArray &name)
{
    commandLineScript() = name;
}

std::optional<RunFailure> LoadScript(Session &session)
{
    std::optional<RunFailure> failure;
    QFile file;
    // Never blocks: a pipe or a device is refused, not waited on.
    const QByteArray name = scriptNameBytes(session.state.ScriptPath);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat info;
    QString why;
    if (fd < 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    else if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        why = QCoreApplication::translate("script", "not a regular file");
    else if (::fcntl(fd, F_SETFL, O_RDONLY) != 0 ||
             !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        why = file.errorString();
    if (fd >= 0 && !file.isOpen())
        ::close(fd);
    if (!why.isEmpty()) {
        failure = RunFailure{Failure::ScriptUnreadable,
                             EscapedName(session.state.ScriptPath) + QStringLiteral(": ") + why};
    } else {
        ScriptReader reader(file);
        if (!readScript(reader, session.job))
            failure = RunFailure{Failure::ScriptBadValue, reader.error()};
    }
    file.close();
    // The pages, the size display among them, follow whatever was assigned.
    session.jobChanged();
    // The window names the script; a batch line starts with its name already.
    if (failure && failure->kind == Failure::ScriptBadValue)
        session.report(
            {failure->kind, session.state.ScriptPath + QStringLiteral(", ") + failure->detail});
    else if (failure)
        session.report(*failure);
    return failure;
}

QString EscapedName(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c == QLatin1Char('\\'))
            shown += QStringLiteral("\\\\");
        else
            shown += c;
    }
    return shown;
}

QString ScriptFileName(const QString &scriptPath)
{
    // "job.kst" as given from its own directory names itself.
    return scriptPath.mid(scriptPath.lastIndexOf(QLatin1Char('/')) + 1);
}

FileDialogSetup ScriptDialogSetup(const QString &title, const RunState &state)
{
    QString startDir;
    if (!state.ScriptPath.isEmpty()) {
        const QFileInfo script(state.ScriptPath);
        if (script.absoluteDir().exists())
            startDir = script.absolutePath();
    }
    if (startDir.isEmpty())
        startDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return {title, QStringLiteral("Script (*.kst)|*.kst|"), QStringLiteral("*.kst"), startDir};
}

QString ScriptSaveName(const QString &chosen)
{
    if (chosen.isEmpty() || chosen.endsWith(QLatin1Char('/')))
        return chosen;
    return QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".kst") : chosen;
}

void ShowScriptTitle(Session &session)
{
    session.svc.window->setWindowTitle(QStringLiteral("Kesto32 - ") +
                                       ScriptFileName(session.state.ScriptPath));
}

void SaveScript(Session &session, bool askName)
{
    if (askName || session.state.ScriptPath.isEmpty()) {
        const auto chosen = session.svc.dialogs->saveFile(ScriptDialogSetup(
            //: Designed text: the caption of the dialog that saves a script
            QCoreApplication::translate("script", "Save script"), session.state));
        if (!chosen || chosen->isEmpty())
            return;
        session.state.ScriptPath = paths::lowerPath(ScriptSaveName(*chosen));
    }

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
