// Builds without a keyboard capture (no X11 development files, or a platform without one yet): the
// caller always captures the keys typed into its own window.
#include "zelk/ZelkHWI.h"

HookResult InstallHook(std::shared_ptr<CMessageTarget>) {
    return HookUnsupported;
}

void UninstallHook() {}
