// The main window's area table: its twelve buttons, the 87 keys and the ten text labels, in the
// order that decides clicks (first match) and painting (first to last). The window fills its
// records from here and the skin painter draws pictures 101 to 103 from the same table.
#pragma once

#include "skin/SkinRegion.h"
#include "zelk/ZelkHWI.h"

#include <vector>

inline constexpr int MainWindowAreaCount = 109;
inline constexpr SkinColour MainWindowTransparentColour{0, 0, 255};

inline constexpr int MainBackgroundPicture = 101;
inline constexpr int MainHoverPicture = 102;
inline constexpr int MainActivePicture = 103;
inline constexpr int MainWindowPictureIds[] = {MainBackgroundPicture, MainHoverPicture, MainActivePicture};

// Where the window's info panel (a read-only text box) sits.
inline constexpr SkinRect MainInfoPanelRect{47, 506, 47 + 913, 506 + 144};

// Command ids of the main window's areas.
enum MainWindowId : int {
    IdLanguageLabel = 65,
    IdSaveLabel = 70,
    IdOpenLabel = 71,
    IdClearLabel = 72,
    IdWriteKeysLabel = 73,
    IdBacklightLabel = 74,
    IdReadAllLabel = 75,
    IdFirmwareLabel = 76,
    IdLevel1Label = 77,
    IdLevel2Label = 78,
    IdLanguage = 85,
    IdHelp = 87,
    IdHide = 88,
    IdExit = 89,
    IdSave = 90,
    IdOpen = 91,
    IdClear = 92,
    IdWriteKeys = 93,
    IdBacklight = 94,
    IdReadAll = 95,
    IdFirmware = 96,
    IdLayer = 97,
    // A key area's id is this plus its key index.
    IdKeyBase = 99,
};

inline constexpr int MainFirstKeyArea = 12;
inline constexpr int MainFirstLabelArea = 99;

// The 109 records, filled.
std::vector<SkinRegion> MainWindowAreas();
