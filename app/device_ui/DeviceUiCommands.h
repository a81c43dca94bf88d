// Connects the main window's device buttons (write key settings, read all, firmware update) and its
// help button to the device dialogs, and has the program load the dialogs' pictures at start-up.
#pragma once

void InstallDeviceUiCommands();
