// The device side of the progress and firmware dialogs' operations. The key and light transfers are
// the device bridge's four steps: the dialogs take the snapshot and apply the read-back on the
// user-interface thread, and their workers send and receive. The firmware transfer is here.
#pragma once

#include "model/DeviceBridge.h"
#include "model/KeyboardData.h"

#include <filesystem>
#include <memory>
#include <string>

// Result codes of a firmware transfer, carried in wParam of WM_DEVICE_DONE.
enum FirmwareResult : int {
    FirmwareNoBuffer = 0, // the file's contents could not be held; no message
    FirmwareWritten = 1,
    FirmwareTransferFailed = 2,
    FirmwareFileNotOpened = 3,
    FirmwareFileInvalid = 4,    // not Intel-HEX text the keyboard takes; nothing was sent
    FirmwareBackupNotRead = 5,  // the keyboard's settings could not be read; nothing was sent or saved
    FirmwareBackupNotSaved = 6, // the backup file could not be written; nothing was sent
};

// Where the keyboard's settings are saved before an update: a model of their own (with its catalogue,
// otherwise cleared) that the transfer fills, and the profile file.
struct CFirmwareBackup {
    std::unique_ptr<CKeyboardData> Profile;
    std::filesystem::path File;
};

// A model for a backup, as a new profile starts.
CFirmwareBackup NewFirmwareBackup(const std::filesystem::path& file, UiLanguage language);

// Reads the firmware file whole and writes it to the keyboard. With a backup, the keyboard's key
// settings and backlight are first read and saved to its file; when either fails, nothing is sent.
// For FirmwareFileInvalid, problem says what is wrong with the file, for FirmwareFileNotOpened why it
// could not be read (none without a path), for FirmwareBackupNotSaved why the backup was not written,
// for FirmwareBackupNotRead and FirmwareTransferFailed why the transfer failed.
FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                CProblem& problem, CFirmwareBackup* backup = nullptr);
