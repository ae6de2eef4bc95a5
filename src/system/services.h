#pragma once
#include "platform.h"
#include "window.h"

#include <type_traits>

namespace kesto {

class ZipComponent;

// Stand-ins where a run has no such component (a batch run has no window, no dialogs, no
// sound): they show nothing, play nothing and answer as a cancelled dialog would.
class QuietMessages : public MessageBoxes {
public:
    Answer show(const QString &, const QString &, Icon, Buttons, const QString &) override
    {
        return Answer::Ok;
    }
};
class QuietDialogs : public Dialogs {
public:
    std::optional<QString> openFile(const FileDialogSetup &) override { return {}; }
    std::optional<QString> saveFile(const FileDialogSetup &) override { return {}; }
    std::optional<QString> pickFolder(const QString &, const QString &) override { return {}; }
};
class QuietSound : public Sound {
public:
    void play(const QString &) override {}
};
class QuietLauncher : public Launcher {
public:
    void start(const QString &, WindowMode) override {}
};
class QuietHelp : public Help {
public:
    void systemHelp(const QString &, HelpCommand) override {}
};
class QuietWindow : public Window {
public:
    void hideAllPages() override {}
    void showPage(Page) override {}
    void focusField(Field) override {}
    void setTitleText(const QString &) override {}
    void setWindowTitle(const QString &) override {}
    void setStatusText(const QString &) override {}
    void setArchiveText(const QString &) override {}
    void setVolumeText(const QString &) override {}
    int progress() const override { return 0; }
    void setProgress(int) override {}
    void setSourceSizeText(const QString &) override {}
    void setMeasuring(bool) override {}
    void setTempFreeSpaceText(const QString &) override {}
    void setZipFreeSpaceText(const QString &) override {}
    void setSizeDisplayText(const QString &) override {}
    void jobChanged() override {}
    void serveEvents() override {}
    void repaint() override {}
    void closeMainWindow() override {}
};
class QuietInstance : public SingleInstance {
public:
    bool anotherRunning() override { return false; }
    void activateOther(const QString &) override {}
};

// The quiet stand-ins and the components every run needs (command runner, drives, zip
// component), shared by the program.
struct DefaultServices;
DefaultServices &defaultServices();

// Every outside component the program reaches, in one place; never null.
struct Services {
    Services();

    MessageBoxes *messages;
    Dialogs *dialogs;
    Sound *sound;
    Launcher *launcher;
    Help *help;
    CommandRunner *runner;
    DiskInfo *disks;
    Window *window;
    SingleInstance *instance;
    ZipComponent *zip;

    // Puts in the members of components named as these are (messages, dialogs, ...); the
    // others stay as they were.
    template <class Components> void use(Components &c)
    {
        if constexpr (requires { c.messages; })
            messages = &c.messages;
        if constexpr (requires { c.dialogs; })
            dialogs = &c.dialogs;
        if constexpr (requires { c.sound; })
            sound = &c.sound;
        if constexpr (requires { c.launcher; })
            launcher = &c.launcher;
        if constexpr (requires { c.help; })
            help = &c.help;
        if constexpr (requires { c.runner; })
            runner = &c.runner;
        if constexpr (requires { c.disks; })
            disks = &c.disks;
        if constexpr (requires { c.window; })
            window = &c.window;
        if constexpr (requires { c.instance; })
            instance = &c.instance;
        if constexpr (requires { c.zip; })
            zip = &c.zip;
    }
};

} // namespace kesto
