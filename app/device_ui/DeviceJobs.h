// The device side of the progress and firmware dialogs' operations. The key and light transfers are
// the device bridge's four steps: the dialogs take the snapshot and apply the read-back on the
// user-interface thread, and their workers send and receive. The firmware transfer is here.
#pragma once

#include "model/DeviceBridge.h"
#include "model/KeyboardData.h"

#include <string>

// Result codes of a firmware transfer, carried in wParam of WM_DEVICE_DONE.
enum FirmwareResult : int {
    FirmwareNoBuffer = 0, // the file's contents could not be held; no message
    FirmwareWritten = 1,
    FirmwareTransferFailed = 2,
    FirmwareFileNotOpened = 3,
    FirmwareFileInvalid = 4, // not Intel-HEX text the keyboard takes; nothing was sent
};

// Reads the firmware file whole and writes it to the keyboard. For FirmwareFileInvalid, problem says
// what is wrong with the file, for FirmwareFileNotOpened why it could not be read (none without a path).
FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                CProblem& problem);
