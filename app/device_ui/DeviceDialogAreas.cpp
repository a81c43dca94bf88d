#include "device_ui/DeviceDialogAreas.h"

#include <array>

namespace {

using enum SkinAreaKind;

constexpr std::uint32_t OneLineCentred = TextCentre | TextVCentre | TextSingleLine;
constexpr std::uint32_t OneLineLeft = TextLeft | TextVCentre | TextSingleLine;
constexpr int TitleFont = 17;
constexpr SkinColour TitleColour{236, 239, 245};
constexpr SkinColour NoticeColour{255, 158, 60};

constexpr std::array<SkinAreaRow, 2> ProgressButtons{{
    {IdDeviceClose, Picture, {332, 9, 355, 45}},
    {IdDeviceCancel, Picture, {237, 201, 327, 235}},
}};

constexpr std::array<SkinAreaRow, 3> ProgressLabels{{
    {IdDeviceNoticeLabel,
     Label,
     {42, 116, 333, 135},
     TextId::KeepConnected,
     OneLineCentred,
     DefaultSkinFont,
     NoticeColour},
    {IdDeviceTitleLabel,
     Label,
     {100, 13, 266, 45},
     TextId::ProgressTitle,
     OneLineCentred,
     TitleFont,
     TitleColour},
    {IdDeviceCancelLabel,
     Label,
     {237, 209, 327, 235},
     TextId::Cancel,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour},
}};

constexpr std::array<SkinAreaRow, 5> FirmwareButtons{{
    {IdDeviceClose, Picture, {332, 9, 355, 45}},
    {IdFirmwareGetVersion, Picture, {220, 70, 333, 100}},
    {IdFirmwareOpen, Picture, {270, 108, 333, 140}},
    {IdFirmwareUpdate, Picture, {47, 201, 129, 235}},
    {IdDeviceCancel, Picture, {237, 201, 327, 235}},
}};

constexpr std::array<SkinAreaRow, 6> FirmwareLabels{{
    {IdDeviceNoticeLabel,
     Label,
     {42, 116, 119, 135},
     TextId::LoadFile,
     OneLineLeft,
     DefaultSkinFont,
     DefaultCaptionColour},
    {IdDeviceTitleLabel,
     Label,
     {100, 13, 266, 45},
     TextId::FirmwareUpdateTitle,
     OneLineCentred,
     TitleFont,
     TitleColour},
    {IdFirmwareGetVersionLabel,
     Label,
     {220, 76, 333, 100},
     TextId::GetVersion,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour},
    {IdFirmwareOpenLabel,
     Label,
     {270, 116, 333, 138},
     TextId::OpenFile,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour},
    {IdFirmwareUpdateLabel,
     Label,
     {47, 209, 129, 235},
     TextId::StartUpdate,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour},
    {IdDeviceCancelLabel,
     Label,
     {237, 209, 327, 235},
     TextId::Cancel,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour},
}};

// The dialogs keep a fixed number of area records; those past the table stay unused.
std::vector<SkinRegion> Fill(int count, std::span<const SkinAreaRow> buttons,
                             std::span<const SkinAreaRow> labels) {
    std::vector<SkinRegion> areas;
    AppendAreas(areas, buttons);
    AppendAreas(areas, labels);
    areas.resize(static_cast<std::size_t>(count));
    return areas;
}

} // namespace

std::vector<SkinRegion> ProgressDialogAreas() {
    return Fill(ProgressDialogAreaCount, ProgressButtons, ProgressLabels);
}

std::vector<SkinRegion> FirmwareDialogAreas() {
    return Fill(FirmwareDialogAreaCount, FirmwareButtons, FirmwareLabels);
}
