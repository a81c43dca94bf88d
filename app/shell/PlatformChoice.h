// The windowing platform the program asks Qt for. Qt ends the program when the platform it is told
// to use is missing; a Wayland session without Qt's Wayland platform (Debian's qt6-wayland) runs
// through X11 (Xwayland) instead, and says so in one line.
#pragma once

#include <QString>

// Called before the application object exists. Returns the line told to the user, empty when the
// platform stays as asked.
QString FallBackFromMissingWayland();
