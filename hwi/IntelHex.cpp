#include "zelk/IntelHex.h"

#include "zelk/RegularFile.h"

#include <cerrno>
#include <new>
#include <system_error>

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
        const int high = HexDigitValue(line[i]);
        const int low = i + 1 < line.size() ? HexDigitValue(line[i + 1]) : -1;
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
    bool endRecord = false;
    for (int number = 1; lines.Next(line, endedByCr); ++number) {
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.find('\n') != std::string_view::npos) {
            problem = where + "ends with LF alone, where lines end with CR or CR LF";
            return false;
        }
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
        if (endRecord) {
            problem = where + "a record follows the end record";
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
            if (HexDigitValue(c) < 0) {
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
        endRecord = record[3] == 0x01;
    }
    if (!endRecord) {
        problem = "the file has no end record, so it may be cut short";
        return false;
    }
    return true;
}

FirmwareFileStatus ReadFirmwareFile(const std::filesystem::path& path, std::string& text,
                                    std::string& problem) {
    text.clear();
    problem.clear();
    std::uintmax_t size = 0;
    std::FILE* file = OpenRegularFileForReading(path, size, problem);
    if (file == nullptr)
        return problem == NotARegularFile ? FirmwareFileRefused : FirmwareFileUnreadable;
    const std::string tooLarge = "it is larger than " + std::to_string(MaxFirmwareFileBytes >> 20) +
                                 " MB, far more than a firmware image of the keyboard";
    if (size > MaxFirmwareFileBytes) {
        std::fclose(file);
        problem = tooLarge;
        return FirmwareFileRefused;
    }
    // Read to the limit and one byte more, in case the file grew since its size was taken.
    bool failed = false;
    try {
        text.reserve(static_cast<std::size_t>(size) + 1);
        char chunk[1 << 16];
        std::size_t got = 0;
        while (text.size() <= MaxFirmwareFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, got);
        failed = std::ferror(file) != 0;
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        text.clear();
        problem = "there is not enough memory to read it";
        return FirmwareFileUnreadable;
    }
    std::fclose(file);
    if (failed) {
        text.clear();
        problem = "it could not be read to its end";
        return FirmwareFileUnreadable;
    }
    if (text.size() > MaxFirmwareFileBytes) {
        text.clear();
        problem = tooLarge;
        return FirmwareFileRefused;
    }
    return FirmwareFileRead;
}
