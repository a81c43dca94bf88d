// Why an operation of the device library failed: a code and the values that go with it. The library
// never words a reason; each front end renders the code in its own language.
#pragma once

#include <cstdint>
#include <string>

enum class ProblemCode : int {
    None,

    // A file the user named, being opened or read.
    FileSystemError, // SystemError: the system's error number
    FileIsFolder,
    FileNotRegular,       // a pipe, a device or a socket
    FileTooLarge,         // Limit: the most bytes taken
    FirmwareFileTooLarge, // Limit: the most bytes a firmware file may have
    FileOutOfMemory,
    FileReadIncomplete, // an error after part of it was read
    // A file being replaced or created.
    TargetNotRegular,  // a folder, a pipe or a device where a file is to be written
    TargetIsKept,      // the report log would destroy a file this run reads or writes
    ProfileNotEncoded, // the profile's encoder failed before a write did

    // A profile file being read; the words follow the file's name.
    ProfileUnreadable,      // Cause
    ProfileTooManyElements, // Limit
    ProfileNotZelk,
    ProfileCutShort,
    ProfileNestedTooDeep, // Limit: levels of lists
    ProfileItemGaps,      // item IDs that would make the reader hold far more than the file
    ProfileOutOfMemory,

    // A firmware file's text, checked before anything is sent. Line: the line, counting from 1.
    HexNotIntelHex,
    HexLineEndsWithLfAlone,
    HexLineEndMissing,
    HexRecordAfterEmptyLine,
    HexRecordAfterEndRecord,
    HexLineTooLong, // Limit: characters
    HexColonMissing,
    HexNotHexadecimal,
    HexOddDigits,
    HexWrongChecksum,
    HexRecordTooLong, // Limit: bytes of a record
    HexEndRecordMissing,

    // Opening the keyboard found by discovery. Path: its interface.
    KeyboardNotPermitted,   // no udev rule gives the user access
    KeyboardRuleNotApplied, // Detail: the installed rule, which has not reached the device yet
    KeyboardNotOpened,
    KeyboardNotOpenedBecause, // Detail: the HID layer's own words
    KeyboardHeldElsewhere,    // Windows: another program holds it

    // The virtual keyboard's state file. Path: the state file.
    StateFileNotRegular,
    StateFileUnreadable, // Cause (with SystemError)
    StateFileTooLarge,
    StateFileReadIncomplete,
    StateFileReadOnly,
    StateFileForeign, // not a state file of the virtual keyboard
    StateFileDamaged, // Line
    StateFileCutShort,
    StateFileNotLocked,  // Cause
    StateFileNotWritten, // Cause

    // An assignment the keyboard cannot hold. Item: the list item concerned (from 0); Count: the list's
    // items; Size: the bytes they make; Limit: what the keyboard takes.
    CombinationEmpty,
    EmulationEmpty,
    CombinationTooLong,
    EmulationTooLong,
    MacroDelayWithFixedInterval,
    MacroDelayExpected,
    MacroStepExpected,
    MacroEndsWithDelay,
    MacroTooLong,
    PlayModeUnknown, // Limit: the last play mode

    // A transfer with the keyboard.
    KeyboardNotConnected,
    TransferRunning,   // another transfer of this program holds the keyboard
    ReportNotSent,     // the keyboard took no report: unplugged, or the write failed
    ReportNotReceived, // reading a report failed
    NoReply,           // Limit: the milliseconds waited
    ReplyEndMissing,   // the keyboard went on replying without the end of its reply

    // A test option: the virtual keyboard's faults are misspelt. Detail: what is wrong with them.
    FaultsInvalid,

    // The report log. Path: the log.
    ReportLogNotOpened,  // Cause
    ReportLogIncomplete, // Cause: the first line that did not reach the file

    // The profile shelf. Path: the shelf folder; Detail: a profile's name.
    ShelfMissing,
    ShelfUnreadable,        // Cause (with SystemError)
    ShelfNameInvalid,       // Detail: the name refused
    ShelfProfileMissing,    // Detail: the name asked for
    ShelfProfileExists,     // Detail: the name
    ShelfNameDiffersInCase, // Detail: the name on the shelf that differs from the one asked for only in case
};

struct CProblem {
    CProblem() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a code alone is a whole problem
    CProblem(ProblemCode code, long line = 0, std::uintmax_t limit = 0)
        : Code(code), Line(line), Limit(limit) {}

    ProblemCode Code = ProblemCode::None;
    // The problem behind it, for codes that wrap one (a state file that cannot be read); its values are
    // the ones below.
    ProblemCode Cause = ProblemCode::None;
    long Line = 0;
    std::uintmax_t Limit = 0;
    long long Item = 0;
    long long Count = 0;
    long long Size = 0;
    int SystemError = 0;
    std::string Path;
    std::string Detail;

    explicit operator bool() const { return Code != ProblemCode::None; }
    // The cause alone, as a problem of its own.
    CProblem CauseAlone() const {
        CProblem cause(Cause, Line, Limit);
        cause.Item = Item;
        cause.Count = Count;
        cause.Size = Size;
        cause.SystemError = SystemError;
        cause.Detail = Detail;
        return cause;
    }
};

inline bool IsStateFileProblem(ProblemCode code) {
    return code >= ProblemCode::StateFileNotRegular && code <= ProblemCode::StateFileNotWritten;
}

// A problem that wraps another as its cause, with the path it concerns.
inline CProblem Wrapped(ProblemCode code, const std::string& path, const CProblem& cause) {
    CProblem wrapped(code, cause.Line, cause.Limit);
    wrapped.Cause = cause.Code;
    wrapped.Item = cause.Item;
    wrapped.Count = cause.Count;
    wrapped.Size = cause.Size;
    wrapped.SystemError = cause.SystemError;
    wrapped.Path = path;
    wrapped.Detail = cause.Detail;
    return wrapped;
}

// The system's error number (errno) as a problem.
inline CProblem SystemProblem(int error) {
    CProblem problem(ProblemCode::FileSystemError);
    problem.SystemError = error;
    return problem;
}
