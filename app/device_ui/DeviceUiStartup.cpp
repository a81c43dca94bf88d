// Compiled into the program itself (not a library), so that its initialiser always runs.
#include "device_ui/DeviceUiCommands.h"

namespace {

[[maybe_unused]] const bool Installed = [] {
    InstallDeviceUiCommands();
    return true;
}();

} // namespace
