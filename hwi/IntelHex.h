// Intel-HEX text: the checks a firmware file must pass and the decoding of one record line.
#pragma once

#include "ZelkHWI.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t MaxFirmwareLineLength = 999;
inline constexpr std::size_t MaxFirmwareRecordBytes = 62;

// The line's characters after the ':' decoded two at a time; a character that is not a hexadecimal
// digit counts as 0 in its nibble.
std::vector<std::uint8_t> DecodeHexRecord(std::string_view line);

// True when the record's byte count matches its length and its checksum is right.
bool IsValidHexRecord(const std::vector<std::uint8_t>& record);

// Checks a whole firmware text before anything is sent: every line starts with ':', holds an even
// number of hexadecimal digits, a correct record of at most 62 bytes, is at most 999 characters and
// ends with CR or CR LF. Only empty lines may follow the last record. On failure, problem says why.
ZELKHWI_API bool CheckFirmwareText(std::string_view text, std::string& problem);

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
