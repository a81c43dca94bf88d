// Profile files: the user's catalogues, backlight colours and key assignments as a markup document.
#pragma once

#include "model/KeyboardData.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

class CXmlDocument;

// The largest profile file read, and the most elements it may hold: far more than any real profile
// (every key on both levels with a macro of 1600 steps, and catalogues of 20 such entries, come to
// about 55 MB and 750,000 elements), and few enough that reading one stays within a few hundred
// megabytes. Markup made only of tags could otherwise hold tens of millions of elements.
inline constexpr std::uintmax_t MaxProfileFileBytes = std::uintmax_t{64} << 20;
inline constexpr std::size_t MaxProfileElements = std::size_t{1} << 21;
// Lists nest no deeper than this in a profile read: a key's or an entry's list, its items' child lists,
// theirs, and so on.
inline constexpr int MaxListDepth = 32;

// Writes the whole profile. The file is written to a fresh file beside the target and renamed over it
// only when it was written completely, so a failed save never destroys the previous file; a replaced
// profile keeps its permissions, and a profile that is a symbolic link has its target replaced. False
// when it failed, with problem (when given) saying why.
bool SaveProfile(const CKeyboardData& data, const std::filesystem::path& file, CProblem* problem = nullptr);

// Replaces the user-owned part of the model with the profile's. False, with the model untouched, when
// the file cannot be read, is not a regular file, is larger than MaxProfileFileBytes or holds more than
// MaxProfileElements elements, has no root element Zelk, ends inside an element (a file cut short), or
// is damaged past what a profile can be: lists nested too deep, or item IDs that would make the reader
// hold far more than the file. problem (when given) then says why (one of the Profile codes, whose
// words follow the file's name). The view state of every list read is kept within the list.
bool LoadProfile(CKeyboardData& data, const std::filesystem::path& file, CProblem* problem = nullptr);

// One list as a List element appended at the document's current position.
bool WriteList(const CActionList& list, CXmlDocument& document);
// Reads the next List element at the document's current level into the list; false when its lists
// are damaged as above.
bool ReadList(CActionList& list, CXmlDocument& document);
