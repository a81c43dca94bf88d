#include "shell/MainWindowAreas.h"

#include <array>

namespace {

struct ButtonRow {
    int id;
    SkinRect rect;
};

constexpr std::array<ButtonRow, 12> Buttons{{
    {IdLanguage, {1012, 95, 1142, 130}},
    {IdHelp, {1077, 20, 1102, 50}},
    {IdHide, {1050, 20, 1075, 50}},
    {IdExit, {1104, 20, 1129, 50}},
    {IdSave, {35, 95, 130, 130}},
    {IdOpen, {150, 95, 245, 130}},
    {IdClear, {265, 95, 395, 130}},
    {IdWriteKeys, {430, 95, 550, 130}},
    {IdBacklight, {585, 95, 695, 130}},
    {IdReadAll, {740, 95, 850, 130}},
    {IdFirmware, {865, 95, 975, 130}},
    {IdLayer, {50, 210, 120, 270}},
}};

struct KeyRow {
    SkinRect rect;
    KeyLegend legend;
};

// Key index 1 to 87, in the keyboard's order.
constexpr std::array<KeyRow, MainKeyCount> Keys{{
    {{180, 165, 225, 212}, {"Esc", ""}},
    {{277, 165, 327, 212}, {"F1", ""}},
    {{329, 165, 379, 212}, {"F2", ""}},
    {{381, 165, 431, 212}, {"F3", ""}},
    {{433, 165, 483, 212}, {"F4", ""}},
    {{509, 165, 559, 212}, {"F5", ""}},
    {{561, 165, 611, 212}, {"F6", ""}},
    {{613, 165, 663, 212}, {"F7", ""}},
    {{665, 165, 715, 212}, {"F8", ""}},
    {{740, 165, 790, 212}, {"F9", ""}},
    {{792, 165, 842, 212}, {"F10", ""}},
    {{844, 165, 894, 212}, {"F11", ""}},
    {{896, 165, 944, 212}, {"F12", ""}},
    {{180, 217, 225, 262}, {"`", "~"}},
    {{230, 217, 277, 262}, {"1", "!"}},
    {{280, 217, 327, 262}, {"2", "@"}},
    {{331, 217, 379, 262}, {"3", "#"}},
    {{382, 217, 431, 262}, {"4", "$"}},
    {{434, 217, 482, 262}, {"5", "%"}},
    {{484, 217, 532, 262}, {"6", "^"}},
    {{535, 217, 583, 262}, {"7", "&"}},
    {{585, 217, 634, 262}, {"8", "*"}},
    {{637, 217, 686, 262}, {"9", "("}},
    {{688, 217, 738, 262}, {"0", ")"}},
    {{740, 217, 790, 262}, {"-", "_"}},
    {{792, 217, 842, 262}, {"=", "+"}},
    {{845, 217, 944, 262}, {"Backspace", ""}},
    {{180, 267, 254, 312}, {"Tab", ""}},
    {{257, 267, 307, 312}, {"Q", ""}},
    {{310, 267, 359, 312}, {"W", ""}},
    {{360, 267, 410, 312}, {"E", ""}},
    {{412, 267, 462, 312}, {"R", ""}},
    {{464, 267, 513, 312}, {"T", ""}},
    {{515, 267, 564, 312}, {"Y", ""}},
    {{566, 267, 614, 312}, {"U", ""}},
    {{616, 267, 664, 312}, {"I", ""}},
    {{666, 267, 714, 312}, {"O", ""}},
    {{716, 267, 764, 312}, {"P", ""}},
    {{767, 267, 816, 312}, {"[", "{"}},
    {{818, 267, 868, 312}, {"]", "}"}},
    {{869, 267, 944, 312}, {"\\", "|"}},
    {{180, 317, 265, 364}, {"Caps Lock", ""}},
    {{267, 317, 317, 364}, {"A", ""}},
    {{319, 317, 369, 364}, {"S", ""}},
    {{371, 317, 420, 364}, {"D", ""}},
    {{422, 317, 472, 364}, {"F", ""}},
    {{474, 317, 523, 364}, {"G", ""}},
    {{525, 317, 574, 364}, {"H", ""}},
    {{576, 317, 625, 364}, {"J", ""}},
    {{627, 317, 676, 364}, {"K", ""}},
    {{678, 317, 727, 364}, {"L", ""}},
    {{729, 317, 778, 364}, {";", ":"}},
    {{780, 317, 829, 364}, {"'", "\""}},
    {{831, 317, 944, 364}, {"Enter", ""}},
    {{180, 367, 295, 414}, {"Shift", ""}},
    {{298, 367, 347, 414}, {"Z", ""}},
    {{349, 367, 398, 414}, {"X", ""}},
    {{400, 367, 449, 414}, {"C", ""}},
    {{451, 367, 500, 414}, {"V", ""}},
    {{502, 367, 551, 414}, {"B", ""}},
    {{553, 367, 602, 414}, {"N", ""}},
    {{604, 367, 653, 414}, {"M", ""}},
    {{655, 367, 704, 414}, {",", "<"}},
    {{707, 367, 756, 414}, {".", ">"}},
    {{758, 367, 808, 414}, {"/", "?"}},
    {{810, 367, 944, 414}, {"Shift", ""}},
    {{180, 417, 241, 464}, {"Ctrl", ""}},
    {{243, 417, 309, 464}, {"Win", ""}},
    {{311, 417, 376, 464}, {"Alt", ""}},
    {{378, 417, 675, 464}, {"", ""}},
    {{677, 417, 745, 464}, {"Alt", ""}},
    {{747, 417, 813, 464}, {"Win", ""}},
    {{815, 417, 877, 464}, {"Menu", ""}},
    {{879, 417, 944, 464}, {"Ctrl", ""}},
    {{972, 165, 1022, 212}, {"PrtSc", ""}},
    {{1024, 165, 1074, 212}, {"ScrLk", ""}},
    {{1076, 165, 1126, 212}, {"Pause", ""}},
    {{972, 215, 1022, 262}, {"Ins", ""}},
    {{1024, 215, 1074, 262}, {"Home", ""}},
    {{1076, 215, 1126, 262}, {"PgUp", ""}},
    {{972, 265, 1022, 312}, {"Del", ""}},
    {{1024, 265, 1074, 312}, {"End", ""}},
    {{1076, 265, 1126, 312}, {"PgDn", ""}},
    {{1024, 366, 1074, 414}, {"\xe2\x86\x91", ""}},
    {{972, 416, 1022, 464}, {"\xe2\x86\x90", ""}},
    {{1024, 416, 1074, 464}, {"\xe2\x86\x93", ""}},
    {{1076, 416, 1126, 464}, {"\xe2\x86\x92", ""}},
}};

struct LabelRow {
    int id;
    SkinRect rect;
    const char* chinese;
    const char* english;
    bool greenWhenActive;
};

constexpr std::array<LabelRow, 10> Labels{{
    {IdLanguageLabel, {1012, 101, 1142, 130}, "English", "简体中文", false},
    {IdSaveLabel, {35, 101, 130, 130}, "保存配置", "Save", false},
    {IdOpenLabel, {150, 101, 245, 130}, "打开配置", "Open", false},
    {IdClearLabel, {295, 101, 395, 130}, "清空配置", "Clear", false},
    {IdWriteKeysLabel, {435, 101, 550, 130}, "写入按键", "WriteKeys", false},
    {IdBacklightLabel, {585, 101, 695, 130}, "设置背光", "LightSet", false},
    {IdReadAllLabel, {720, 101, 850, 130}, "读取配置", "ReadAll", false},
    {IdFirmwareLabel, {880, 101, 985, 130}, "固件升级", "Update", false},
    {IdLevel1Label, {55, 190, 110, 210}, "上档键", "LevelUp", true},
    {IdLevel2Label, {55, 270, 110, 300}, "下档键", "LevelDn", true},
}};

constexpr SkinColour LayerLabelActiveColour{0, 255, 0};

} // namespace

std::vector<SkinRegion> MainWindowAreas() {
    std::vector<SkinRegion> areas(MainWindowAreaCount);
    auto area = areas.begin();
    for (const ButtonRow& button : Buttons) {
        area->id = button.id;
        area->rect = button.rect;
        ++area;
    }
    for (int key = 1; key <= MainKeyCount; ++key) {
        area->id = IdKeyBase + key;
        area->keyIndex = key;
        area->rect = Keys[static_cast<std::size_t>(key - 1)].rect;
        ++area;
    }
    for (const LabelRow& label : Labels) {
        area->id = label.id;
        area->rect = label.rect;
        area->labelOnly = true;
        area->captions = {{"zh-CN", label.chinese}, {"en-US", label.english}};
        if (label.greenWhenActive)
            area->activeTextColor = LayerLabelActiveColour;
        ++area;
    }
    return areas;
}

KeyLegend MainWindowKeyLegend(int keyIndex) {
    if (keyIndex < 1 || keyIndex > MainKeyCount)
        return {"", ""};
    return Keys[static_cast<std::size_t>(keyIndex - 1)].legend;
}
