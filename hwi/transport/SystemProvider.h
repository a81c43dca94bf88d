// The system's HID devices: hidapi on Linux and macOS, the Win32 HID interfaces on Windows.
#pragma once

#include "zelk/ZelkHWI.h"

#include <memory>

std::shared_ptr<CDeviceProvider> MakeSystemDeviceProvider();
