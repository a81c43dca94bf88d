#include "device_ui/DeviceJobs.h"

#include "zelk/IntelHex.h"

#include <filesystem>
#include <new>

FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                CProblem& problem) {
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
    return hwi.WriteFirmwareToKeyboard(text.c_str(), text.size(), notify) ? FirmwareWritten
                                                                          : FirmwareTransferFailed;
}
