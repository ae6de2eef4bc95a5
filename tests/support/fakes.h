#pragma once
// Scripted fakes for the outside components, and a session wired to them.
#include "job/session.h"
#include "system/platform.h"
#include "system/window.h"
#include "system/zip_component.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>

namespace kesto::test {

struct ShownMessage {
    QString text;
    QString title;
    Icon icon;
    Buttons buttons;
    QString reason;
};

class FakeMessages : public MessageBoxes {
public:
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                const QString &reason) override;
    QList<ShownMessage> shown;
    std::deque<Answer> answers; // next answers; OK when empty
};

struct DialogCall {
    QString kind;          // "open", "save", "folder"
    FileDialogSetup setup; // for folders: title = prompt, startDir
};

class FakeDialogs : public Dialogs {
public:
    std::optional<QString> openFile(const FileDialogSetup &setup) override;
    std::optional<QString> saveFile(const FileDialogSetup &setup) override;
    std::optional<QString> pickFolder(const QString &prompt, const QString &startDir) override;
    QList<DialogCall> calls;
    // Next answers: a null QString() cancels, "" chooses nothing; cancel when none is left.
    QStringList answers;

private:
    std::optional<QString> next(const QString &kind, const FileDialogSetup &setup);
};

class FakeSound : public Sound {
public:
    void play(const QString &path) override { played << path; }
    QStringList played;
};

struct Launch {
    QString commandLine;
    WindowMode mode;
};

class FakeLauncher : public Launcher {
public:
    void start(const QString &commandLine, WindowMode mode) override
    {
        started.append({commandLine, mode});
    }
    QList<Launch> started;
};

class FakeHelp : public Help {
public:
    void systemHelp(const QString &helpFile, HelpCommand command) override
    {
        calls.append({helpFile, command});
    }
    QList<std::pair<QString, HelpCommand>> calls;
};

// Records command lines; an optional action stands in for the program.
class FakeRunner : public CommandRunner {
public:
    void execCmd(const QString &commandLine) override
    {
        commandLines << commandLine;
        if (action)
            action(commandLine);
    }
    int lastExitStatus() const override { return exitStatus; }
    QStringList commandLines;
    std::function<void(const QString &)> action;
    int exitStatus = 0;
};

class FakeDisks : public DiskInfo {
public:
    qint64 freeBytes(const QString &path) override;
    QList<Drive> drives() override { return driveList; }
    QList<Drive> driveList;
    qint64 defaultFree = 5'000'000'000LL;
    QHash<QString, qint64> freeByPrefix; // longest matching path prefix wins
};

// Records what the engine asked of the window.
class FakeWindow : public Window {
public:
    void hideAllPages() override { events << QStringLiteral("hide"); }
    void showPage(Page page) override;
    void focusField(Field field) override;
    void setTitleText(const QString &caption) override { titleText = caption; }
    void setWindowTitle(const QString &title) override { windowTitle = title; }
    void setStatusText(const QString &text) override { statusText = text; }
    void setArchiveText(const QString &text) override { archiveText = text; }
    void setVolumeText(const QString &text) override { volumeText = text; }
    int progress() const override { return progressValue; }
    void setProgress(int percent) override { progressValue = percent; }
    void setSourceSizeText(const QString &text) override { sourceSizeText = text; }
    void setMeasuring(bool busy) override { measuring << busy; }
    void setTempFreeSpaceText(const QString &text) override { tempFreeText = text; }
    void setZipFreeSpaceText(const QString &) override {}
    void setSizeDisplayText(const QString &text) override { sizeDisplayText = text; }
    void jobChanged() override { ++jobChanges; }
    void serveEvents() override
    {
        ++served;
        if (onServe)
            onServe();
    }
    void repaint() override {}
    void closeMainWindow() override { ++closes; }

    QStringList events; // "hide", "page:Diz", "focus:ZipName"
    std::optional<Page> page;
    std::optional<Field> focus;
    QString titleText, windowTitle, statusText, archiveText, volumeText;
    int progressValue = 0;
    QList<bool> measuring;
    QString sourceSizeText, tempFreeText, sizeDisplayText;
    int jobChanges = 0, served = 0, closes = 0;
    std::function<void()> onServe;
};

QString pageName(Page page);
QString fieldName(Field field);

// A session whose outside world is fakes; its system drive and AppDir are fresh directories.
class TestSession {
public:
    TestSession();
    ~TestSession();
    TestSession(const TestSession &) = delete;
    TestSession &operator=(const TestSession &) = delete;

    Session session;
    FakeMessages messages;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeLauncher launcher;
    FakeHelp help;
    FakeRunner runner;
    FakeDisks disks;
    FakeWindow window;
    ZipComponent zip;

    QTemporaryDir root; // holds sys/, app/ and whatever a test makes
    QString systemDir() const;
    QString appDir() const;
    // A path below root; the parent directories are created.
    QString path(const QString &relative) const;
    // Writes bytes to a file below root and returns its path.
    QString writeFile(const QString &relative, const QByteArray &bytes) const;
};

QByteArray readAll(const QString &path);

// Checks that exactly one message was shown, as given; with an empty text, that none was.
void checkMessage(const TestSession &t, const QString &text, Icon icon = Icon::Exclamation,
                  Buttons buttons = Buttons::Ok,
                  const QString &title = QStringLiteral("Kesto32 error"));
// Checks that exactly one dialog was asked for ("open", "save" or "folder"), set up as given.
void checkDialog(const TestSession &t, const QString &kind, const FileDialogSetup &setup);

} // namespace kesto::test
