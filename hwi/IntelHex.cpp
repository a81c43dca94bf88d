#include "zelk/IntelHex.h"

#include "zelk/RegularFile.h"

#include <algorithm>
#include <new>

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

bool CheckFirmwareText(std::string_view text, CProblem& problem) {
    problem = {};
    if (text.empty() || text.front() != ':') {
        problem.Code = ProblemCode::HexNotIntelHex;
        return false;
    }
    CFirmwareLines lines(text);
    std::string_view line;
    bool endedByCr = false;
    bool afterEnd = false;
    bool endRecord = false;
    const auto refuse = [&problem](ProblemCode code, long number, std::uintmax_t limit = 0) {
        problem.Code = code;
        problem.Line = number;
        problem.Limit = limit;
        return false;
    };
    for (long number = 1; lines.Next(line, endedByCr); ++number) {
        if (line.find('\n') != std::string_view::npos)
            return refuse(ProblemCode::HexLineEndsWithLfAlone, number);
        if (!endedByCr)
            return refuse(ProblemCode::HexLineEndMissing, number);
        if (line.empty()) {
            afterEnd = true;
            continue;
        }
        if (afterEnd)
            return refuse(ProblemCode::HexRecordAfterEmptyLine, number);
        if (endRecord)
            return refuse(ProblemCode::HexRecordAfterEndRecord, number);
        if (line.size() > MaxFirmwareLineLength)
            return refuse(ProblemCode::HexLineTooLong, number, MaxFirmwareLineLength);
        if (line.front() != ':')
            return refuse(ProblemCode::HexColonMissing, number);
        const std::string_view digits = line.substr(1);
        if (std::any_of(digits.begin(), digits.end(), [](char c) { return HexDigitValue(c) < 0; }))
            return refuse(ProblemCode::HexNotHexadecimal, number);
        if (digits.size() % 2 != 0)
            return refuse(ProblemCode::HexOddDigits, number);
        const std::vector<std::uint8_t> record = DecodeHexRecord(line);
        if (!IsValidHexRecord(record))
            return refuse(ProblemCode::HexWrongChecksum, number);
        if (record.size() > MaxFirmwareRecordBytes)
            return refuse(ProblemCode::HexRecordTooLong, number, MaxFirmwareRecordBytes);
        endRecord = record[3] == 0x01;
    }
    if (!endRecord) {
        problem.Code = ProblemCode::HexEndRecordMissing;
        return false;
    }
    return true;
}

FirmwareFileStatus ReadFirmwareFile(const std::filesystem::path& path, std::string& text, CProblem& problem) {
    text.clear();
    problem = {};
    std::uintmax_t size = 0;
    std::FILE* file = OpenRegularFileForReading(path, size, problem);
    if (file == nullptr)
        return problem.Code == ProblemCode::FileNotRegular ? FirmwareFileRefused : FirmwareFileUnreadable;
    const CProblem tooLarge(ProblemCode::FirmwareFileTooLarge, 0, MaxFirmwareFileBytes);
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
        problem = ProblemCode::FileOutOfMemory;
        return FirmwareFileUnreadable;
    }
    std::fclose(file);
    if (failed) {
        text.clear();
        problem = ProblemCode::FileReadIncomplete;
        return FirmwareFileUnreadable;
    }
    if (text.size() > MaxFirmwareFileBytes) {
        text.clear();
        problem = tooLarge;
        return FirmwareFileRefused;
    }
    return FirmwareFileRead;
}
