#include "shell/MainWindowAreas.h"

#include <array>

namespace {

using enum SkinAreaKind;

constexpr std::array<SkinAreaRow, 12> Buttons{{
    {IdLanguage, Picture, {1012, 95, 1142, 130}},
    {IdHelp, Picture, {1077, 20, 1102, 50}},
    {IdHide, Picture, {1050, 20, 1075, 50}},
    {IdExit, Picture, {1104, 20, 1129, 50}},
    {IdSave, Picture, {35, 95, 130, 130}},
    {IdOpen, Picture, {150, 95, 245, 130}},
    {IdClear, Picture, {265, 95, 395, 130}},
    {IdWriteKeys, Picture, {430, 95, 550, 130}},
    {IdBacklight, Picture, {585, 95, 695, 130}},
    {IdReadAll, Picture, {740, 95, 850, 130}},
    {IdFirmware, Picture, {865, 95, 975, 130}},
    {IdLayer, Picture, {50, 210, 120, 270}},
}};

// Key index 1 to 87, in the keyboard's order.
constexpr std::array<SkinRect, KeyCount> Keys{{
    {180, 165, 225, 212},   {277, 165, 327, 212},   {329, 165, 379, 212},   {381, 165, 431, 212},
    {433, 165, 483, 212},   {509, 165, 559, 212},   {561, 165, 611, 212},   {613, 165, 663, 212},
    {665, 165, 715, 212},   {740, 165, 790, 212},   {792, 165, 842, 212},   {844, 165, 894, 212},
    {896, 165, 944, 212},   {180, 217, 225, 262},   {230, 217, 277, 262},   {280, 217, 327, 262},
    {331, 217, 379, 262},   {382, 217, 431, 262},   {434, 217, 482, 262},   {484, 217, 532, 262},
    {535, 217, 583, 262},   {585, 217, 634, 262},   {637, 217, 686, 262},   {688, 217, 738, 262},
    {740, 217, 790, 262},   {792, 217, 842, 262},   {845, 217, 944, 262},   {180, 267, 254, 312},
    {257, 267, 307, 312},   {310, 267, 359, 312},   {360, 267, 410, 312},   {412, 267, 462, 312},
    {464, 267, 513, 312},   {515, 267, 564, 312},   {566, 267, 614, 312},   {616, 267, 664, 312},
    {666, 267, 714, 312},   {716, 267, 764, 312},   {767, 267, 816, 312},   {818, 267, 868, 312},
    {869, 267, 944, 312},   {180, 317, 265, 364},   {267, 317, 317, 364},   {319, 317, 369, 364},
    {371, 317, 420, 364},   {422, 317, 472, 364},   {474, 317, 523, 364},   {525, 317, 574, 364},
    {576, 317, 625, 364},   {627, 317, 676, 364},   {678, 317, 727, 364},   {729, 317, 778, 364},
    {780, 317, 829, 364},   {831, 317, 944, 364},   {180, 367, 295, 414},   {298, 367, 347, 414},
    {349, 367, 398, 414},   {400, 367, 449, 414},   {451, 367, 500, 414},   {502, 367, 551, 414},
    {553, 367, 602, 414},   {604, 367, 653, 414},   {655, 367, 704, 414},   {707, 367, 756, 414},
    {758, 367, 808, 414},   {810, 367, 944, 414},   {180, 417, 241, 464},   {243, 417, 309, 464},
    {311, 417, 376, 464},   {378, 417, 675, 464},   {677, 417, 745, 464},   {747, 417, 813, 464},
    {815, 417, 877, 464},   {879, 417, 944, 464},   {972, 165, 1022, 212},  {1024, 165, 1074, 212},
    {1076, 165, 1126, 212}, {972, 215, 1022, 262},  {1024, 215, 1074, 262}, {1076, 215, 1126, 262},
    {972, 265, 1022, 312},  {1024, 265, 1074, 312}, {1076, 265, 1126, 312}, {1024, 366, 1074, 414},
    {972, 416, 1022, 464},  {1024, 416, 1074, 464}, {1076, 416, 1126, 464},
}};

constexpr SkinColour LayerLabelActiveColour{0, 255, 0};

constexpr std::array<SkinAreaRow, 10> Labels{{
    {IdLanguageLabel, Label, {1012, 101, 1142, 130}, TextId::OtherLanguage},
    {IdSaveLabel, Label, {35, 101, 130, 130}, TextId::SaveProfile},
    {IdOpenLabel, Label, {150, 101, 245, 130}, TextId::OpenProfile},
    {IdClearLabel, Label, {295, 101, 395, 130}, TextId::ClearAll},
    {IdWriteKeysLabel, Label, {435, 101, 550, 130}, TextId::WriteKeys},
    {IdBacklightLabel, Label, {585, 101, 695, 130}, TextId::SetBacklight},
    {IdReadAllLabel, Label, {720, 101, 850, 130}, TextId::ReadAll},
    {IdFirmwareLabel, Label, {880, 101, 985, 130}, TextId::UpdateFirmware},
    {IdLevel1Label,
     Label,
     {55, 190, 110, 210},
     TextId::LevelUpLabel,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour,
     LayerLabelActiveColour},
    {IdLevel2Label,
     Label,
     {55, 270, 110, 300},
     TextId::LevelDownLabel,
     TextCentre,
     DefaultSkinFont,
     DefaultCaptionColour,
     LayerLabelActiveColour},
}};

} // namespace

std::vector<SkinRegion> MainWindowAreas() {
    std::vector<SkinRegion> areas;
    areas.reserve(MainWindowAreaCount);
    AppendAreas(areas, Buttons);
    for (int key = 1; key <= KeyCount; ++key) {
        SkinRegion& area = areas.emplace_back();
        area.id = IdKeyBase + key;
        area.keyIndex = key;
        area.rect = Keys[static_cast<std::size_t>(key - 1)];
    }
    AppendAreas(areas, Labels);
    return areas;
}
