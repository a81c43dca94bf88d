// Feeds firmware texts through the facade to the virtual keyboard: nothing may crash, hang or grow
// without bound, and the image the keyboard keeps must be a set of separate runs within its limit.
// When the first byte is odd, every line's count and checksum are set right before the text is sent,
// so that the records reach the keyboard rather than stop at the checks.
#include "FuzzSupport.h"

#include "zelk/IntelHex.h"
#include "zelk/VirtualKeyboard.h"
#include "zelk/ZelkHWI.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// Sets the byte count and the checksum of every line that is a record of hexadecimal digits.
std::string Repaired(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        bool digits = line.size() >= 11 && line[0] == ':' && line.size() % 2 == 1;
        for (std::size_t i = 1; digits && i < line.size(); ++i)
            digits = HexDigitValue(line[i]) >= 0;
        if (digits) {
            const std::size_t bytes = (line.size() - 1) / 2;
            char count[3];
            std::snprintf(count, sizeof count, "%02X", static_cast<unsigned>((bytes - 5) & 0xFF));
            line.replace(1, 2, count);
            unsigned sum = 0;
            for (std::size_t i = 1; i + 2 < line.size(); i += 2)
                sum += static_cast<unsigned>(HexDigitValue(line[i]) * 16 + HexDigitValue(line[i + 1]));
            char check[3];
            std::snprintf(check, sizeof check, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
            line.replace(line.size() - 2, 2, check);
        }
        out += line;
        out += text.substr(end, end < text.size() ? 1 : 0);
        start = end + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        text = Repaired(text);

    auto keyboard = std::make_shared<CVirtualKeyboard>();
    CMorvHWI facade;
    facade.UseDeviceProvider(MakeVirtualKeyboardProvider(keyboard));
    if (!facade.__createDev())
        Broken();
    facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), nullptr);

    std::size_t total = 0;
    std::uint64_t lastEnd = 0;
    bool first = true;
    for (const auto& [address, bytes] : keyboard->FirmwareSegments()) {
        if (bytes.empty() || (!first && address <= lastEnd) ||
            address + bytes.size() > (std::uint64_t{1} << 32))
            Broken(); // runs must be separate, in order, and inside the address space
        lastEnd = address + bytes.size();
        total += bytes.size();
        first = false;
    }
    if (total > MaxVirtualFirmwareBytes)
        Broken();
    const std::vector<std::uint8_t> image = keyboard->FirmwareImage();
    if (!image.empty() && image.size() < total)
        Broken();
    return 0;
}
