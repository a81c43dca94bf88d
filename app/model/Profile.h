// Profile files: the user's catalogues, backlight colours and key assignments as a markup document.
#pragma once

#include "model/KeyboardData.h"

#include <filesystem>

class CXmlDocument;

// Writes the whole profile. The file is written beside the target and renamed over it only when it
// was written completely, so a failed save never destroys the previous file. False when it failed.
bool SaveProfile(const CKeyboardData& data, const std::filesystem::path& file);

// Replaces the user-owned part of the model with the profile's. False, with the model untouched, when
// the file cannot be read or has no root element Zelk.
bool LoadProfile(CKeyboardData& data, const std::filesystem::path& file);

// One list as a List element appended at the document's current position.
bool WriteList(const CActionList& list, CXmlDocument& document);
// Reads the next List element at the document's current level into the list.
bool ReadList(CActionList& list, CXmlDocument& document);
