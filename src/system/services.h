#pragma once
#include "platform.h"
#include "window.h"

namespace kesto {

class ZipComponent;

// Every outside component the program reaches, in one place.
struct Services {
    MessageBoxes *messages = nullptr;
    Dialogs *dialogs = nullptr;
    Sound *sound = nullptr;
    Launcher *launcher = nullptr;
    Help *help = nullptr;
    CommandRunner *runner = nullptr;
    DiskInfo *disks = nullptr;
    Window *window = nullptr;
    SingleInstance *instance = nullptr;
    ZipComponent *zip = nullptr;
};

} // namespace kesto
