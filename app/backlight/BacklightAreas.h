// The area tables of the backlight settings dialog and of its multi-key selection dialog: their
// buttons, their text labels and the 87 keys, which sit at the same rectangles in both. The dialogs
// fill their records from here and the skin painter draws pictures 131, 142 and 143 from the same
// tables.
#pragma once

#include "skin/SkinRegion.h"
#include "zelk/ZelkHWI.h"

#include <array>
#include <vector>

// Light records: entry 0 belongs to no key but travels with the others.
inline constexpr int BacklightRecordCount = KeyCount + 1;

inline constexpr int BkLightSettingsAreaCount = 101;
inline constexpr int BkLightMultiSelectAreaCount = 91;

inline constexpr int BkLightSettingsPicture = 131;
inline constexpr int BkLightMultiSelectPicture = 142;
inline constexpr int BkLightMultiSelectActivePicture = 143;
inline constexpr int BacklightPictureIds[] = {BkLightSettingsPicture, BkLightMultiSelectPicture,
                                              BkLightMultiSelectActivePicture};

inline constexpr SkinColour BkLightSettingsTransparentColour{1, 3, 254};
inline constexpr SkinColour BkLightMultiSelectTransparentColour{255, 0, 0};

// Size of the pictures, and so of the windows.
inline constexpr int BkLightWindowWidth = 1040;
inline constexpr int BkLightSettingsHeight = 478;
inline constexpr int BkLightMultiSelectHeight = 430;

// Command ids of the two dialogs' areas. Some labels share the id of a button, and a click on such
// a label does what the button does.
enum BacklightId : int {
    BkIdClose = 88, // close button and title label
    BkIdDefault = 90,
    BkIdWrite = 91,
    BkIdCancel = 92,
    BkIdOk = 94,
    BkIdSetAll = 95,      // also the id of the label that reads "OK"
    BkIdSetAllLabel = 96, // takes clicks but does nothing
    BkIdMultiKey = 97,
    BkIdSetColour = 97, // in the multi-key dialog
    // A key area's id is this plus its key index.
    BkIdKeyBase = 99,
};

// The rectangle of a key, 1 to 87.
SkinRect BacklightKeyRect(int keyIndex);

// The records of each dialog in table order: buttons, labels, keys; filled.
std::vector<SkinRegion> BkLightSettingsAreas();
std::vector<SkinRegion> BkLightMultiSelectAreas();

// The four strips of the 2-pixel colour frame just outside a key: left, right, top, bottom.
std::array<SkinRect, 4> KeyFrameParts(const SkinRect& key);
