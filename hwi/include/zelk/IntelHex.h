// Intel-HEX text: the checks a firmware file must pass and the decoding of one record line.
#pragma once

#include "zelk/Problem.h"
#include "zelk/ZelkHWI.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The value of a hexadecimal digit in either case; -1 for any other character.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

inline constexpr std::size_t MaxFirmwareLineLength = 999;
inline constexpr std::size_t MaxFirmwareRecordBytes = 62;

// The line's characters after the ':' decoded two at a time; a character that is not a hexadecimal
// digit counts as 0 in its nibble.
std::vector<std::uint8_t> DecodeHexRecord(std::string_view line);

// True when the record's byte count matches its length and its checksum is right.
bool IsValidHexRecord(const std::vector<std::uint8_t>& record);

// Checks a whole firmware text before anything is sent: every line starts with ':', holds an even
// number of hexadecimal digits, a correct record of at most 62 bytes, is at most 999 characters and
// ends with CR or CR LF. Only empty lines may follow the last record. On failure, problem says why
// (one of the Hex codes, with the line).
ZELKHWI_API bool CheckFirmwareText(std::string_view text, CProblem& problem);

// No firmware file of the keyboard comes near this size: its whole flash as Intel-HEX text is a few
// megabytes.
inline constexpr std::uintmax_t MaxFirmwareFileBytes = 16u << 20;

enum FirmwareFileStatus : int {
    FirmwareFileRead = 0,
    FirmwareFileUnreadable = 1, // missing, a folder, or no permission
    FirmwareFileRefused = 2,    // a pipe or a device, or far too large
};

// Reads a firmware file whole. Anything but a regular file of at most MaxFirmwareFileBytes is refused
// before a byte is read, so a pipe cannot hold the reader up and a device cannot feed it without end.
// Unless the file was read, problem says why (one of the File codes).
ZELKHWI_API FirmwareFileStatus ReadFirmwareFile(const std::filesystem::path& path, std::string& text,
                                                CProblem& problem);

// Splits the text into its lines as the firmware transfer walks them: each line runs to the next CR,
// and an LF right after the CR belongs to the line end.
class CFirmwareLines {
public:
    explicit CFirmwareLines(std::string_view text) : Text(text) {}
    // The next line, or false at the end of the text.
    bool Next(std::string_view& line, bool& endedByCr);

private:
    std::string_view Text;
    std::size_t Position = 0;
};
