// Replacing a file's contents safely. The new contents go to a fresh file created exclusively, under
// a name nobody can foresee, in the target's own folder, and are renamed over the target only once
// they are written completely: a failed write never destroys the old file, and no link planted at a
// temporary name is followed. The new file keeps the old one's permissions, and when the target is a
// symbolic link, the file it points to is replaced and the link stays.
#pragma once

#include "ZelkHWI.h"

#include <filesystem>
#include <string>
#include <string_view>

// False, with problem saying why (for example "No such file or directory"), when the file could not be
// replaced; the old file is then as it was.
ZELKHWI_API bool ReplaceFileContents(const std::filesystem::path& target, std::string_view contents,
                                     std::string& problem);
