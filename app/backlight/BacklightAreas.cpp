#include "backlight/BacklightAreas.h"

namespace {

using enum SkinAreaKind;

constexpr std::array<SkinAreaRow, 7> SettingsButtons{{
    {BkIdClose, Picture, {985, 9, 1018, 45}},
    {BkIdDefault, Picture, {143, 420, 238, 454}},
    {BkIdWrite, Picture, {505, 420, 588, 454}},
    {BkIdCancel, Picture, {699, 420, 784, 454}},
    {BkIdOk, Picture, {602, 420, 685, 454}},
    {BkIdSetAll, Picture, {243, 420, 338, 454}},
    {BkIdMultiKey, Picture, {340, 420, 438, 454}},
}};

constexpr std::array<SkinAreaRow, 7> SettingsLabels{{
    {BkIdClose, Label, {450, 13, 602, 45}, TextId::BacklightSettingsTitle},
    {BkIdDefault, Label, {136, 428, 228, 454}, TextId::RestoreDefault},
    {BkIdWrite, Label, {505, 428, 585, 454}, TextId::WriteBacklight},
    {BkIdCancel, Label, {699, 428, 784, 454}, TextId::Cancel},
    {BkIdSetAll, Label, {602, 428, 682, 454}, TextId::Ok},
    {BkIdSetAllLabel, Label, {236, 428, 328, 454}, TextId::SetAll},
    {BkIdMultiKey, Label, {336, 428, 428, 454}, TextId::MultiKey},
}};

constexpr std::array<SkinAreaRow, 2> MultiSelectButtons{{
    {BkIdClose, Picture, {985, 9, 1018, 45}},
    {BkIdSetColour, Picture, {450, 46, 602, 80}},
}};

constexpr std::array<SkinAreaRow, 2> MultiSelectLabels{{
    {BkIdClose, Label, {450, 13, 602, 45}, TextId::MultiKeyTitle},
    {BkIdSetColour, Label, {440, 50, 592, 80}, TextId::SetColour},
}};

// Key index 1 to 87.
constexpr std::array<SkinRect, KeyCount> Keys{{
    {47, 102, 94, 145},   // Esc
    {149, 102, 196, 145}, // F1
    {200, 102, 247, 145}, // F2
    {251, 102, 298, 145}, // F3
    {302, 102, 349, 145}, // F4
    {381, 102, 428, 145}, // F5
    {432, 102, 479, 145}, // F6
    {483, 102, 530, 145}, // F7
    {534, 102, 581, 145}, // F8
    {612, 102, 659, 145}, // F9
    {663, 102, 710, 145}, // F10
    {714, 102, 761, 145}, // F11
    {765, 102, 812, 145}, // F12
    {47, 153, 94, 196},   // ~
    {98, 153, 145, 196},  // 1
    {149, 153, 196, 196}, // 2
    {200, 153, 247, 196}, // 3
    {252, 153, 299, 196}, // 4
    {303, 153, 350, 196}, // 5
    {354, 153, 401, 196}, // 6
    {405, 153, 452, 196}, // 7
    {456, 153, 503, 196}, // 8
    {507, 153, 554, 196}, // 9
    {559, 153, 606, 196}, // 0
    {610, 153, 657, 196}, // -
    {661, 153, 708, 196}, // +
    {712, 153, 812, 196}, // BackSpace
    {47, 203, 122, 246},  // Tab
    {126, 203, 173, 246}, // Q
    {177, 203, 224, 246}, // W
    {228, 203, 275, 246}, // E
    {279, 203, 326, 246}, // R
    {331, 203, 378, 246}, // T
    {382, 203, 429, 246}, // Y
    {433, 203, 480, 246}, // U
    {484, 203, 531, 246}, // I
    {535, 203, 582, 246}, // O
    {586, 203, 633, 246}, // P
    {638, 203, 685, 246}, // [
    {689, 203, 736, 246}, // ]
    {740, 203, 812, 246}, // backslash
    {47, 254, 133, 297},  // Caps Lock
    {137, 254, 184, 297}, // A
    {188, 254, 235, 297}, // S
    {239, 254, 286, 297}, // D
    {291, 254, 338, 297}, // F
    {342, 254, 389, 297}, // G
    {393, 254, 440, 297}, // H
    {444, 254, 491, 297}, // J
    {495, 254, 542, 297}, // K
    {546, 254, 593, 297}, // L
    {598, 254, 645, 297}, // ;
    {649, 254, 696, 297}, // '
    {700, 254, 812, 297}, // Enter
    {47, 304, 164, 347},  // Shift
    {168, 304, 215, 347}, // Z
    {219, 304, 266, 347}, // X
    {271, 304, 318, 347}, // C
    {322, 304, 369, 347}, // V
    {373, 304, 420, 347}, // B
    {424, 304, 471, 347}, // N
    {475, 304, 522, 347}, // M
    {526, 304, 573, 347}, // <
    {578, 304, 625, 347}, // >
    {629, 304, 676, 347}, // ?
    {680, 304, 812, 347}, // Shift
    {47, 355, 110, 398},  // Ctrl
    {114, 355, 177, 398}, // Win (LWin)
    {182, 355, 245, 398}, // Alt (LAlt)
    {249, 355, 544, 398}, // Space
    {548, 355, 611, 398}, // Alt (RAlt)
    {615, 355, 678, 398}, // Win (RWin)
    {682, 355, 745, 398}, // LMenu (RightApp)
    {749, 355, 812, 398}, // Ctrl (RCtrl)
    {842, 102, 889, 145}, // PrtScreen
    {893, 102, 940, 145}, // ScrollLock
    {944, 102, 991, 145}, // Pause
    {842, 153, 889, 196}, // Insert
    {893, 153, 940, 196}, // Home
    {944, 153, 991, 196}, // PgUp
    {842, 203, 889, 246}, // Delete
    {893, 203, 940, 246}, // End
    {944, 203, 991, 246}, // PgDown
    {893, 304, 940, 347}, // Up
    {842, 355, 889, 398}, // Left
    {893, 355, 940, 398}, // Down
    {944, 355, 991, 398}, // Right
}};

std::vector<SkinRegion> FillAreas(std::span<const SkinAreaRow> buttons, std::span<const SkinAreaRow> labels) {
    std::vector<SkinRegion> areas;
    AppendAreas(areas, buttons);
    AppendAreas(areas, labels);
    for (int key = 1; key <= KeyCount; ++key) {
        SkinRegion& area = areas.emplace_back();
        area.id = BkIdKeyBase + key;
        area.keyIndex = key;
        area.rect = BacklightKeyRect(key);
    }
    return areas;
}

} // namespace

SkinRect BacklightKeyRect(int keyIndex) {
    if (keyIndex < 1 || keyIndex > KeyCount)
        return {};
    return Keys[static_cast<std::size_t>(keyIndex - 1)];
}

std::vector<SkinRegion> BkLightSettingsAreas() {
    return FillAreas(SettingsButtons, SettingsLabels);
}

std::vector<SkinRegion> BkLightMultiSelectAreas() {
    return FillAreas(MultiSelectButtons, MultiSelectLabels);
}

std::array<SkinRect, 4> KeyFrameParts(const SkinRect& key) {
    return {{
        {key.left - 2, key.top - 2, key.left, key.bottom + 2},
        {key.right, key.top - 2, key.right + 2, key.bottom + 2},
        {key.left, key.top - 2, key.right, key.top},
        {key.left, key.bottom, key.right, key.bottom + 2},
    }};
}
