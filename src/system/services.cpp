#include "services.h"

#include "command_runner.h"
#include "storage_disks.h"
#include "zip_component.h"

namespace kesto {

struct DefaultServices {
    QuietMessages messages;
    QuietDialogs dialogs;
    QuietSound sound;
    QuietLauncher launcher;
    QuietHelp help;
    SystemCommandRunner runner;
    StorageDiskInfo disks;
    QuietWindow window;
    QuietInstance instance;
    ZipComponent zip;
};

DefaultServices &defaultServices()
{
    static DefaultServices services;
    return services;
}

Services::Services()
{
    use(defaultServices());
}

} // namespace kesto
