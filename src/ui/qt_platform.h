#pragma once
// The outside components of the window program, realised with Qt: message boxes, file and
// folder dialogs, sounds, started programs, help and the end of the process.
#include "help_window.h"
#include "single_instance.h"
#include "system/platform.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QSoundEffect;
class QTemporaryDir;
class QWidget;

namespace kesto {

// Registers the compiled-in pictures, sounds and help pages; call once before the first window.
void initUiResources();

// A file of that name in the program's directory wins over the compiled-in one below
// resourceDir (":/sounds"); empty when neither exists.
QString overridableFile(const QString &appDirPath, const QString &resourceDir);

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget *parentWindow = nullptr) : parentWindow(parentWindow) {}
    void setParentWindow(QWidget *window) { parentWindow = window; }
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                const QString &reason) override;

private:
    QPointer<QWidget> parentWindow;
};

// "Script (*.kst)|*.kst|All|*.txt;*.diz|" -> "Script (*.kst);;All (*.txt *.diz)"; "*.*" means
// every name here, dotted or not.
QString qtNameFilters(const QString &pairs);

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parentWindow = nullptr) : parentWindow(parentWindow) {}
    void setParentWindow(QWidget *window) { parentWindow = window; }

    std::optional<QString> openFile(const FileDialogSetup &setup) override;
    std::optional<QString> saveFile(const FileDialogSetup &setup) override;
    std::optional<QString> pickFolder(const QString &prompt, const QString &startDir) override;

    // The text shown under the folder list for the highlighted folder.
    std::function<QString(const QString &path)> folderStatus;

private:
    std::optional<QString> runFileDialog(const FileDialogSetup &setup, bool save);

    QPointer<QWidget> parentWindow;
};

class QtSound : public Sound {
public:
    QtSound();
    ~QtSound() override;
    QtSound(const QtSound &) = delete;
    QtSound &operator=(const QtSound &) = delete;

    void play(const QString &path) override;
    // What play(path) would sound: the file itself, else the compiled-in one; empty: silence.
    static QUrl sourceFor(const QString &path);

private:
    QHash<QString, QSoundEffect *> effects;
};

class QtHelp : public Help {
public:
    explicit QtHelp(QWidget *ownerWindow = nullptr) : ownerWindow(ownerWindow) {}
    ~QtHelp() override;
    QtHelp(const QtHelp &) = delete;
    QtHelp &operator=(const QtHelp &) = delete;
    void setParentWindow(QWidget *window) { ownerWindow = window; }

    // The pages are compiled in; the help file named by the caller is not read.
    void systemHelp(const QString &helpFile, HelpCommand command) override;
    void open(HelpCommand command, bool activate);
    // Null until the help is first opened.
    HelpWindow *window() const { return helpWindow; }

private:
    QPointer<QWidget> ownerWindow;
    QPointer<HelpWindow> helpWindow;
};

// What a started command line comes to on this system.
struct LaunchAction {
    enum Kind { None, Editor, HelpViewer, Link };
    Kind kind = None;
    QString argument; // the file to edit or show, or the link
    bool operator==(const LaunchAction &) const = default;
};

LaunchAction launchActionFor(const QString &commandLine);
// The editor's program and arguments for a file: $KESTO32_EDITOR, else $VISUAL, else xdg-open.
QStringList editorCommand(const QString &path);

class QtLauncher : public Launcher {
public:
    explicit QtLauncher(QtHelp *help = nullptr);
    ~QtLauncher() override;
    QtLauncher(const QtLauncher &) = delete;
    QtLauncher &operator=(const QtLauncher &) = delete;
    void setHelp(QtHelp *help) { this->help = help; }
    // Where an editor that cannot start is reported.
    void setMessages(MessageBoxes *messages) { this->messages = messages; }

    void start(const QString &commandLine, WindowMode mode) override;
    // Removes the copies of the numbering sample handed to the editor.
    void discardSampleCopies();

private:
    QString editableCopy(const QString &path);

    QtHelp *help = nullptr;
    MessageBoxes *messages = nullptr;
    QTemporaryDir *keptSamples = nullptr;
};

// Ends the process once the main window has closed and its clean-up has run. Nothing is left to
// write by then (archives are synced as they are made); tearing down the sound streams, the
// display connection and the rest would keep a closed program alive for seconds while a sound
// drains.
[[noreturn]] void EndProcessAfterShutdown(int exitStatus);

} // namespace kesto
