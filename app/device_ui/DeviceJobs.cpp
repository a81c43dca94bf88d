#include "device_ui/DeviceJobs.h"

#include "IntelHex.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                std::string& problem) {
    problem.clear();
    if (path.empty())
        return FirmwareFileNotOpened;
    const std::filesystem::path where(path);
    std::error_code error;
    if (std::filesystem::is_directory(where, error))
        return FirmwareFileNotOpened;
    std::ifstream file(where, std::ios::binary);
    if (!file)
        return FirmwareFileNotOpened;
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        return FirmwareNoBuffer;
    }
    if (file.bad())
        return FirmwareFileNotOpened;
    if (!CheckFirmwareText(text, problem))
        return FirmwareFileInvalid;
    return hwi.WriteFirmwareToKeyboard(text.c_str(), text.size(), notify) ? FirmwareWritten
                                                                          : FirmwareTransferFailed;
}
