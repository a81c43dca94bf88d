// The area tables of the two device dialogs: the progress dialog and the firmware update dialog.
// Each dialog fills its records from here and the skin painter draws pictures 128 to 130 and 139 to
// 141 from the same tables, so buttons, labels and the progress bar sit where the program expects.
#pragma once

#include "skin/SkinRegion.h"

#include <vector>

inline constexpr int ProgressDialogAreaCount = 107;
inline constexpr int FirmwareDialogAreaCount = 107;
inline constexpr SkinColour DeviceDialogTransparentColour{255, 0, 0};

inline constexpr int FirmwareBackgroundPicture = 128;
inline constexpr int FirmwareHoverPicture = 129;
inline constexpr int FirmwareActivePicture = 130;
inline constexpr int ProgressBackgroundPicture = 139;
inline constexpr int ProgressHoverPicture = 140;
inline constexpr int ProgressActivePicture = 141;
inline constexpr int DeviceDialogPictureIds[] = {FirmwareBackgroundPicture, FirmwareHoverPicture,
                                                 FirmwareActivePicture,     ProgressBackgroundPicture,
                                                 ProgressHoverPicture,      ProgressActivePicture};

// Both dialogs are drawn at this size.
inline constexpr int DeviceDialogWidth = 375;
inline constexpr int DeviceDialogHeight = 255;

// The progress bar: its full extent, and the width of a full bar.
inline constexpr SkinRect DeviceProgressBarRect{40, 150, 330, 172};
inline constexpr int DeviceProgressBarWidth = 290;

// The firmware dialog's two read-only text boxes: the keyboard's version and the chosen file.
inline constexpr SkinRect FirmwareVersionBoxRect{44, 78, 44 + 162, 78 + 18};
inline constexpr SkinRect FirmwarePathBoxRect{112, 116, 112 + 143, 116 + 19};
inline constexpr int FirmwareVersionBoxId = 1001;
inline constexpr int FirmwarePathBoxId = 1002;

// Command ids of the device dialogs' areas.
enum DeviceDialogId : int {
    IdDeviceClose = 89,
    IdFirmwareGetVersion = 90,
    IdFirmwareOpen = 91,
    IdFirmwareUpdate = 92,
    IdDeviceCancel = 93,
    IdDeviceNoticeLabel = 187, // the progress dialog's warning, the firmware dialog's "File"
    IdDeviceTitleLabel = 188,
    IdFirmwareGetVersionLabel = 190,
    IdFirmwareOpenLabel = 191,
    IdFirmwareUpdateLabel = 192,
    IdDeviceCancelLabel = 193,
};

// The records, filled, in the order that decides clicks and painting.
std::vector<SkinRegion> ProgressDialogAreas();
std::vector<SkinRegion> FirmwareDialogAreas();
