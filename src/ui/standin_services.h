#pragma once
// Temporary stand-ins for the outside components, so that the program builds and starts before
// the real implementations are merged. Delete this file and standin_services.cpp then, and include
// ui/qt_platform.h, system/command_runner.h and system/storage_disks.h in main.cpp instead.
#include "system/platform.h"

namespace kesto::standin {

class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
};

class QtDialogs : public Dialogs {
public:
    std::optional<QString> openFile(const FileDialogSetup &setup) override;
    std::optional<QString> saveFile(const FileDialogSetup &setup) override;
    std::optional<QString> pickFolder(const QString &prompt, const QString &startDir) override;
};

class QtSound : public Sound {
public:
    void play(const QString &) override {}
};

class QtLauncher : public Launcher {
public:
    void start(const QString &, WindowMode) override {}
};

class QtHelp : public Help {
public:
    void systemHelp(const QString &, HelpCommand) override {}
};

class SystemCommandRunner : public CommandRunner {
public:
    void execCmd(const QString &) override {}
};

class StorageDiskInfo : public DiskInfo {
public:
    qint64 freeBytes(const QString &path) override;
    QList<Drive> drives() override;
};

class ProcessLifetime : public Lifetime {
public:
    void endProgram(int exitStatus, const QString &reason) override;
};

class LocalSingleInstance : public SingleInstance {
public:
    bool anotherRunning() override { return false; }
    void activateOther() override {}
};

} // namespace kesto::standin
