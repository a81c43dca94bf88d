#include "IntelHex.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool CFirmwareLines::Next(std::string_view& line, bool& endedByCr) {
    if (Position >= Text.size())
        return false;
    const std::size_t cr = Text.find('\r', Position);
    endedByCr = cr != std::string_view::npos;
    const std::size_t end = endedByCr ? cr : Text.size();
    line = Text.substr(Position, end - Position);
    Position = endedByCr ? end + 1 : end;
    if (endedByCr && Position < Text.size() && Text[Position] == '\n')
        ++Position;
    return true;
}

std::vector<std::uint8_t> DecodeHexRecord(std::string_view line) {
    std::vector<std::uint8_t> bytes;
    if (line.empty())
        return bytes;
    bytes.reserve(line.size() / 2);
    for (std::size_t i = 1; i < line.size() && line[i] != '\n'; i += 2) {
        const int high = HexValue(line[i]);
        const int low = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
        bytes.push_back(static_cast<std::uint8_t>((high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low)));
    }
    return bytes;
}

bool IsValidHexRecord(const std::vector<std::uint8_t>& record) {
    if (record.size() < 5 || record.size() != static_cast<std::size_t>(record[0]) + 5)
        return false;
    unsigned sum = 0;
    for (std::uint8_t byte : record)
        sum += byte;
    return (sum & 0xFF) == 0;
}

bool CheckFirmwareText(std::string_view text, std::string& problem) {
    if (text.empty() || text.front() != ':') {
        problem = "the file is not an Intel-HEX file (it does not start with ':')";
        return false;
    }
    CFirmwareLines lines(text);
    std::string_view line;
    bool endedByCr = false;
    bool afterEnd = false;
    for (int number = 1; lines.Next(line, endedByCr); ++number) {
        const std::string where = "line " + std::to_string(number) + ": ";
        if (!endedByCr) {
            problem = where + "does not end with CR or CR LF";
            return false;
        }
        if (line.empty()) {
            afterEnd = true;
            continue;
        }
        if (afterEnd) {
            problem = where + "a record follows an empty line";
            return false;
        }
        if (line.size() > MaxFirmwareLineLength) {
            problem = where + "longer than 999 characters";
            return false;
        }
        if (line.front() != ':') {
            problem = where + "does not start with ':'";
            return false;
        }
        const std::string_view digits = line.substr(1);
        for (char c : digits) {
            if (HexValue(c) < 0) {
                problem = where + "holds a character that is not a hexadecimal digit";
                return false;
            }
        }
        if (digits.size() % 2 != 0) {
            problem = where + "holds an odd number of hexadecimal digits";
            return false;
        }
        const std::vector<std::uint8_t> record = DecodeHexRecord(line);
        if (!IsValidHexRecord(record)) {
            problem = where + "wrong record length or checksum";
            return false;
        }
        if (record.size() > MaxFirmwareRecordBytes) {
            problem = where + "a record longer than 62 bytes";
            return false;
        }
    }
    return true;
}
