#include "device_ui/DeviceJobs.h"

#include "model/Profile.h"
#include "zelk/IntelHex.h"

#include <filesystem>
#include <new>
#include <optional>

CFirmwareBackup NewFirmwareBackup(const std::filesystem::path& file, UiLanguage language) {
    CFirmwareBackup backup{std::make_unique<CKeyboardData>(), file};
    BuildKeyCatalogue(*backup.Profile);
    backup.Profile->UiLanguage = language;
    backup.Profile->Clear();
    return backup;
}

namespace {

// Why the update stops before anything is sent; nothing when the backup was saved.
std::optional<FirmwareResult> BackupFailure(CMorvHWI& hwi, CFirmwareBackup& backup, CProblem& problem) {
    CKeyboardReadBack readBack;
    if (!ReceiveKeyDefinitions(hwi, nullptr, readBack.Definitions) ||
        !ReceiveLightArea(hwi, readBack.Light)) {
        problem = hwi.TransferProblem();
        return FirmwareBackupNotRead;
    }
    ApplyReadBack(*backup.Profile, readBack);
    if (!SaveProfile(*backup.Profile, backup.File, &problem))
        return FirmwareBackupNotSaved;
    return std::nullopt;
}

} // namespace

FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                CProblem& problem, CFirmwareBackup* backup) {
    problem = {};
    if (path.empty())
        return FirmwareFileNotOpened;
    std::string text;
    try {
        switch (ReadFirmwareFile(std::filesystem::path(path), text, problem)) {
        case FirmwareFileUnreadable:
            return FirmwareFileNotOpened;
        case FirmwareFileRefused:
            return FirmwareFileInvalid;
        case FirmwareFileRead:
            break;
        }
    } catch (const std::bad_alloc&) {
        return FirmwareNoBuffer;
    }
    if (!CheckFirmwareText(text, problem))
        return FirmwareFileInvalid;
    if (backup != nullptr) {
        if (const std::optional<FirmwareResult> failure = BackupFailure(hwi, *backup, problem))
            return *failure;
    }
    if (hwi.WriteFirmwareToKeyboard(text.c_str(), text.size(), notify))
        return FirmwareWritten;
    problem = hwi.TransferProblem();
    return FirmwareTransferFailed;
}
