// Replacing a file's contents safely. The new contents go to a fresh file created exclusively, under
// a name nobody can foresee, in the target's own folder, and are renamed over the target only once
// they are written completely: a failed write never destroys the old file, and no link planted at a
// temporary name is followed. The new file keeps the old one's permissions, and when the target is a
// symbolic link, the file it points to is replaced and the link stays.
#pragma once

#include "zelk/Problem.h"
#include "zelk/ZelkHWI.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The path that UTF-8 text names. The library and its programs keep paths as UTF-8 text; on Windows a
// path made from a narrow string directly would take its bytes for characters one by one.
inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Hands the new contents to the file piece by piece: false when the piece could not be written.
using FileContentsWriter = std::function<bool(const char* bytes, std::size_t count)>;

// False, with problem saying why (the system's error, or TargetNotRegular), when the file could not be
// replaced; the old file is then as it was.
ZELKHWI_API bool ReplaceFileContents(const std::filesystem::path& target, std::string_view contents,
                                     CProblem& problem);
// The same with contents that produce writes piece by piece, so that they need not be held whole; it
// returns false when it could not make them or a write failed (the problem is then the write's, or
// producerProblem when no write failed).
ZELKHWI_API bool ReplaceFileContents(const std::filesystem::path& target,
                                     const std::function<bool(const FileContentsWriter& write)>& produce,
                                     ProblemCode producerProblem, CProblem& problem);

// Removes the temporary files that replacing the target left behind when it was interrupted (the
// process killed between creating and renaming one). Only for a target whose writers exclude each
// other: a temporary file of a replacement still going on looks the same.
void RemoveStaleReplacements(const std::filesystem::path& target);
