#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace kesto::test {

Answer FakeMessages::show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                          const QString &reason)
{
    shown.append({text, title, icon, buttons, reason});
    if (answers.empty())
        return Answer::Ok;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::next(const QString &kind, const FileDialogSetup &setup)
{
    calls.append({kind, setup});
    if (answers.isEmpty())
        return std::nullopt;
    const QString answer = answers.takeFirst();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<QString> FakeDialogs::openFile(const FileDialogSetup &setup)
{
    return next(QStringLiteral("open"), setup);
}

std::optional<QString> FakeDialogs::saveFile(const FileDialogSetup &setup)
{
    return next(QStringLiteral("save"), setup);
}

std::optional<QString> FakeDialogs::pickFolder(const QString &prompt, const QString &startDir)
{
    return next(QStringLiteral("folder"), {prompt, {}, {}, startDir});
}

qint64 FakeDisks::freeBytes(const QString &path)
{
    qsizetype best = -1;
    qint64 result = defaultFree;
    for (auto it = freeByPrefix.cbegin(); it != freeByPrefix.cend(); ++it) {
        if (path.startsWith(it.key()) && it.key().size() > best) {
            best = it.key().size();
            result = it.value();
        }
    }
    return result;
}

QString pageName(Page page)
{
    static const char *const names[] = {"Source", "Skip", "Diz", "Nfo", "Zip", "Kesto", "About"};
    return QString::fromLatin1(names[int(page)]);
}

QString fieldName(Field field)
{
    static const char *const names[] = {"DizColumn", "DizLine", "ZipName"};
    return QString::fromLatin1(names[int(field)]);
}

void FakeWindow::showPage(Page shown)
{
    page = shown;
    events << QStringLiteral("page:") + pageName(shown);
}

void FakeWindow::focusField(Field field)
{
    focus = field;
    events << QStringLiteral("focus:") + fieldName(field);
}

TestSession::TestSession()
{
    QDir().mkpath(systemDir());
    QDir().mkpath(appDir());
    qputenv("KESTO32_SYSTEM_DIR", QFile::encodeName(systemDir()));
    session.state.AppDir = appDir();
    session.svc.use(*this);
}

TestSession::~TestSession()
{
    qunsetenv("KESTO32_SYSTEM_DIR");
}

QString TestSession::systemDir() const
{
    return root.filePath(QStringLiteral("sys"));
}

QString TestSession::appDir() const
{
    return root.filePath(QStringLiteral("app"));
}

QString TestSession::path(const QString &relative) const
{
    const QString full = root.filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    return full;
}

QString TestSession::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString full = path(relative);
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(full));
    return full;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void checkMessage(const TestSession &t, const QString &text, Icon icon, Buttons buttons,
                  const QString &title)
{
    QCOMPARE(t.messages.shown.size(), text.isEmpty() ? 0 : 1);
    if (text.isEmpty())
        return;
    const ShownMessage &shown = t.messages.shown[0];
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.title, title);
    QVERIFY(shown.icon == icon);
    QVERIFY(shown.buttons == buttons);
}

void checkDialog(const TestSession &t, const QString &kind, const FileDialogSetup &setup)
{
    QCOMPARE(t.dialogs.calls.size(), 1);
    const DialogCall &call = t.dialogs.calls[0];
    QCOMPARE(call.kind, kind);
    QCOMPARE(call.setup.title, setup.title);
    QCOMPARE(call.setup.filter, setup.filter);
    QCOMPARE(call.setup.initialName, setup.initialName);
    QCOMPARE(call.setup.startDir, setup.startDir);
}

} // namespace kesto::test
