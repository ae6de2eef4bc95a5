#pragma once
// Interfaces behind which every outside component stands. The real implementations live in
// src/system (no widgets) and src/ui (dialogs, message boxes, sound); tests put scripted fakes
// here.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace kesto {

enum class Icon { None, Stop, Exclamation };
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // reason: shown beneath the text (the file, line, value or remedy); may be empty.
    virtual Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                        const QString &reason) = 0;
};

struct FileDialogSetup {
    QString title;
    QString filter; // "Description|pattern|" pairs
    QString initialName;
    QString startDir;
    // When set, a button of that caption chooses no file: the answer is an empty path.
    QString noneCaption{};
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // nullopt: cancelled.
    virtual std::optional<QString> openFile(const FileDialogSetup &setup) = 0;
    virtual std::optional<QString> saveFile(const FileDialogSetup &setup) = 0;
    virtual std::optional<QString> pickFolder(const QString &prompt, const QString &startDir) = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    // Asynchronous; returns at once. A missing file plays nothing.
    virtual void play(const QString &path) = 0;
};

// How a started program's window is shown: behind ours (the editor with a sample), or in front.
enum class WindowMode { ShowNoActivate, ShowNormal };

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts the command line without waiting (editor, help viewer, link launcher).
    virtual void start(const QString &commandLine, WindowMode mode) = 0;
};

// The help window's contents page, or its index with the search field.
enum class HelpCommand { Contents, Finder };

class Help {
public:
    virtual ~Help() = default;
    virtual void systemHelp(const QString &helpFile, HelpCommand command) = 0;
};

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Runs the command line and returns when the program has ended (or could not start).
    virtual void execCmd(const QString &commandLine) = 0;
    // How the last program ended: its exit status, -1 when it did not start or was killed.
    virtual int lastExitStatus() const = 0;
    // When set, lines "<n>%" on the program's standard output are handed here while it runs,
    // instead of reaching ours.
    std::function<void(int percent)> onProgress;
};

struct Drive {
    QString letter; // "c", "d", ...
    QString root;
};

class DiskInfo {
public:
    virtual ~DiskInfo() = default;
    // Free bytes of the file system holding path; 0 when it cannot be read.
    virtual qint64 freeBytes(const QString &path) = 0;
    // "c" (the private system drive) first, then the other usable drives.
    virtual QList<Drive> drives() = 0;
};

// The one-instance rule: a second start hands over to the program already running.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Whether another instance was already running when this one started.
    virtual bool anotherRunning() = 0;
    // Asks that instance to restore its main window and bring it to the front, and to open the
    // script (an absolute path) when one is given.
    virtual void activateOther(const QString &scriptPath) = 0;
    // In the first instance: a later one asked to come to the front, with a script or none.
    std::function<void(const QString &scriptPath)> onActivate;
};

} // namespace kesto
