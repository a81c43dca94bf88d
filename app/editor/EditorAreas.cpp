#include "editor/EditorAreas.h"

#include "catalogue/UiLanguage.h"

#include <array>

namespace {

using enum SkinAreaKind;

constexpr std::uint32_t Left = TextLeft;
constexpr int RowFont = 11;
constexpr SkinColour Grey = DefaultCaptionColour;
constexpr SkinColour Lit = EditorLitColour;

// The lit caption that takes a Record label's place while recording; hidden until then.
constexpr SkinAreaRow StopRecordLabel(int id, SkinRect rect) {
    return {id,  Label, rect, "停止录制", "Stop Rec", TextCentre, DefaultSkinFont,
            Lit, Lit,   -1,   "",         "",         false};
}

// Pictures and labels every page shows.
constexpr std::array<SkinAreaRow, 11> CommonPictures{{
    {IdEditorClear, Picture, {33, 320, 117, 353}},
    {IdEditorOk, Picture, {365, 320, 449, 353}},
    {IdEditorCancel, Picture, {462, 320, 544, 353}},
    {90, Picture, {18, 48, 95, 80}},
    {91, Picture, {96, 48, 173, 80}},
    {92, Picture, {174, 48, 251, 80}},
    {93, Picture, {252, 48, 329, 80}},
    {94, Picture, {330, 48, 407, 80}},
    {95, Picture, {408, 48, 485, 80}},
    {96, Picture, {486, 48, 563, 80}},
    {IdEditorClose, Picture, {545, 10, 565, 30}},
}};

constexpr std::array<SkinAreaRow, 11> CommonLabels{{
    {IdTitleLabel, Label, {1, 12, 573, 33}, "按键设置面板", "Key Settings"},
    {IdClearCaption, Label, {37, 328, 117, 353}, "清空配置", "Clear"},
    {IdOkCaption, Label, {365, 328, 449, 353}, "确定", "OK"},
    {IdCancelCaption, Label, {462, 328, 544, 353}, "取消", "Cancel"},
    {30, Label, {18, 56, 95, 80}, "单/组合键", "Uni/Combo"},
    {31, Label, {96, 56, 173, 80}, "宏定义", "Macro"},
    {32, Label, {174, 56, 251, 80}, "模拟击键", "Emulate"},
    {33, Label, {252, 56, 329, 80}, "多媒体", "Multimedia"},
    {34, Label, {330, 56, 407, 80}, "鼠标", "Mouse"},
    {35, Label, {408, 56, 485, 80}, "操控键", "Function"},
    {36, Label, {486, 56, 563, 80}, "电源键", "Power"},
}};

// Page 1: the single key on the left, the combinations on the right.
constexpr std::array<SkinAreaRow, 7> UniComboPictures{{
    {IdSingleMode, Picture, {50, 100, 110, 125}},
    {IdComboMode, Picture, {210, 100, 275, 125}},
    {IdPromptFrame, Picture, {45, 135, 160, 155}},
    {IdRecordSingle, Picture, {43, 204, 165, 238}},
    {IdComboNew, Picture, {220, 242, 280, 278}},
    {IdComboDelete, Picture, {290, 242, 350, 278}},
    {IdRecordCombo, Picture, {375, 242, 525, 278}},
}};

constexpr std::array<SkinAreaRow, 12> UniComboLabels{{
    {IdSingleModeLabel,
     Label,
     {70, 104, 130, 125},
     "单键",
     "Uniques",
     TextCentre,
     DefaultSkinFont,
     Grey,
     Lit},
    {IdComboModeLabel,
     Label,
     {230, 104, 275, 125},
     "组合键",
     "Combo",
     TextCentre,
     DefaultSkinFont,
     Grey,
     Lit},
    {153, Label, {45, 135, 160, 155}, "请输入一个单键：", "Press a key:"},
    {IdSingleKeyBox, Label, {48, 166, 160, 188}},
    {IdRecordSingleLabel, Label, {43, 212, 165, 238}, "开始录制", "Record"},
    StopRecordLabel(IdStopSingleLabel, {43, 212, 165, 238}),
    {156, Label, {220, 250, 280, 278}, "新建", "New"},
    {157, Label, {290, 250, 350, 278}, "删除", "Delete"},
    {IdRecordComboLabel, Label, {375, 250, 525, 278}, "开始录制", "Record"},
    StopRecordLabel(IdStopComboLabel, {375, 250, 525, 278}),
    {161, Label, {214, 118, 355, 134}, "组合键列表", "Combo List", Left},
    {162, Label, {378, 118, 522, 134}, "录制框", "Record List", Left},
}};

// Page 2: the macros on the left, the steps in the middle, the play settings on the right.
constexpr std::array<SkinAreaRow, 8> MacroPictures{{
    {IdPlayTimes, Picture, {390, 115, 405, 130}},
    {IdPlayWhileHeld, Picture, {390, 135, 405, 150}},
    {IdPlayToggle, Picture, {390, 155, 405, 170}},
    {IdFixedInterval, Picture, {390, 175, 405, 190}},
    {IdRecordedDelays, Picture, {390, 195, 405, 210}},
    {IdRecordMacro, Picture, {385, 215, 539, 248}},
    {IdMacroNew, Picture, {45, 258, 105, 288}},
    {IdMacroRemove, Picture, {114, 258, 174, 288}},
}};

constexpr std::array<SkinAreaRow, 14> MacroLabels{{
    {261, Label, {407, 111, 475, 129}, "次数播放", "Times Play", Left},
    {275, Label, {522, 111, 580, 129}, "次", "times", Left},
    {272, Label, {407, 132, 570, 150}, "按下播放，释放停止", "Press play, release stop", Left},
    {273, Label, {407, 153, 520, 171}, "按键开/关播放", "Press to play/stop", Left},
    {262, Label, {407, 174, 475, 192}, "自动延时", "Auto delay", Left},
    {262, Label, {522, 174, 580, 192}, "毫秒", "ms", Left},
    {274, Label, {407, 195, 510, 213}, "记录延时", "Record delay", Left},
    {269,
     Label,
     {230, 254, 539, 308},
     "温馨提示：录制框中单击鼠标右键可插入鼠标功能\n录制框中选中延时参数并双击鼠标左键可对其编辑",
     "Tip:Right of mouse click to insert mouse actions in\nrecord list. Select delay parameter and double "
     "click\nleft of mouse to edit in record list.",
     TextVCentre},
    {IdRecordMacroLabel, Label, {385, 224, 539, 248}, "开始录制", "Record"},
    StopRecordLabel(IdStopMacroLabel, {385, 224, 539, 248}),
    {265, Label, {45, 264, 105, 288}, "新建", "New"},
    {266, Label, {114, 264, 174, 288}, "删除", "Remove"},
    {270, Label, {37, 95, 178, 111}, "宏列表", "Macro List", Left},
    {271, Label, {213, 95, 355, 111}, "录制框", "Record List", Left},
}};

// Page 3: the emulations on the left, their keys in the middle, the interval on the right.
constexpr std::array<SkinAreaRow, 4> EmulatePictures{{
    {IdIntervalFrame, Picture, {383, 110, 467, 140}},
    {IdRecordEmu, Picture, {383, 150, 538, 176}},
    {IdEmuNew, Picture, {45, 258, 105, 288}},
    {IdEmuRemove, Picture, {114, 258, 174, 288}},
}};

constexpr std::array<SkinAreaRow, 7> EmulateLabels{{
    {351, Label, {387, 112, 467, 130}, "延时", "Delay"},
    {IdRecordEmuLabel, Label, {383, 154, 538, 176}, "开始录制", "Record"},
    StopRecordLabel(IdStopEmuLabel, {383, 154, 538, 176}),
    {355, Label, {45, 264, 105, 288}, "新建", "New"},
    {356, Label, {114, 264, 174, 288}, "删除", "Remove"},
    {357, Label, {37, 95, 178, 111}, "模拟击键列表", "Emu List", Left},
    {358, Label, {213, 95, 355, 111}, "录制框", "Record List", Left},
}};

// An icon that picks a device code, named by its tooltip.
constexpr SkinAreaRow Icon(int id, int code, const char* tipChinese, const char* tipEnglish, SkinRect rect) {
    return {id, Picture, rect, "", "", TextCentre, DefaultSkinFont, Grey, Grey, code, tipChinese, tipEnglish};
}

// Page 4.
constexpr std::array<SkinAreaRow, 20> MultimediaAreas{{
    Icon(401, 115, "播放器", "Media Select", {46, 152, 81, 188}),
    Icon(402, 111, "播放/暂停", "Play/Pause", {96, 152, 131, 188}),
    Icon(403, 110, "停止", "Stop", {146, 152, 181, 188}),
    Icon(404, 108, "下一首", "Next Track", {196, 152, 231, 188}),
    Icon(405, 109, "上一首", "Previous Track", {246, 152, 281, 188}),
    Icon(406, 114, "音量减小", "Volume Down", {296, 152, 331, 188}),
    Icon(407, 113, "音量加大", "Volume Up", {346, 152, 381, 188}),
    Icon(408, 112, "静音", "Mute", {396, 152, 431, 188}),
    Icon(409, 121, "后退", "WWW Back", {46, 235, 81, 272}),
    Icon(410, 122, "前进", "WWW Forward", {96, 235, 131, 272}),
    Icon(411, 123, "停止", "WWW Stop", {146, 235, 181, 272}),
    Icon(412, 124, "刷新", "WWW Refresh", {196, 235, 231, 272}),
    Icon(413, 125, "收藏夹", "WWW Favorites", {246, 235, 281, 272}),
    Icon(414, 119, "搜索", "WWW Search", {296, 235, 331, 272}),
    Icon(415, 116, "邮件", "E-mail", {346, 235, 381, 272}),
    Icon(416, 120, "主页", "WWW Home", {396, 235, 431, 272}),
    Icon(417, 118, "资源管理器", "My Computer", {446, 235, 481, 272}),
    Icon(418, 117, "计算器", "Calculator", {496, 235, 531, 272}),
    {451, Label, {46, 127, 167, 150}, "多媒体功能", "Media Function", Left},
    {452, Label, {46, 207, 167, 230}, "浏览器功能", "Browser Function", Left},
}};

// Page 5: ten rows, each a picture with its label on the same rectangle.
constexpr SkinRect MouseRow(int id) {
    return {37, 114 + 17 * (id - 502), 258, 114 + 17 * (id - 502) + 16};
}
constexpr SkinAreaRow MouseAction(int id, int code) {
    return {id, Picture, MouseRow(id), "", "", TextCentre, DefaultSkinFont, Grey, Grey, code};
}
constexpr SkinAreaRow MouseLabel(int id, const char* chinese, const char* english) {
    return {id, Label, MouseRow(id - 50), chinese, english};
}

constexpr std::array<SkinAreaRow, 20> MouseAreas{{
    MouseAction(502, 126),
    MouseAction(503, 127),
    MouseAction(504, 128),
    MouseAction(505, 129),
    MouseAction(506, 130),
    MouseAction(507, 131),
    MouseAction(508, 132),
    MouseAction(509, 133),
    MouseAction(510, 134),
    MouseAction(511, 199),
    MouseLabel(552, "左移", "Move Left"),
    MouseLabel(553, "右移", "Move Right"),
    MouseLabel(554, "上移", "Move Up"),
    MouseLabel(555, "下移", "Move Down"),
    MouseLabel(556, "左键", "Left Click"),
    MouseLabel(557, "右键", "Right Click"),
    MouseLabel(558, "中键", "Middle Click"),
    MouseLabel(559, "滚轮前翻", "Wheel Up"),
    MouseLabel(560, "滚轮后翻", "Wheel Down"),
    MouseLabel(561, "左键双击", "Left Double Click"),
}};

// Page 6.
constexpr std::array<SkinAreaRow, 21> FunctionAreas{{
    Icon(602, 150, "键盘锁", "Keyboard Lock", {89, 112, 125, 148}),
    Icon(604, 152, "Ctrl和Caps对调", "Ctrl to Caps convert", {195, 112, 231, 148}),
    Icon(608, 153, "锁Win", "Win Lock", {36, 155, 72, 191}),
    Icon(611, 158, "鼠标DPI-", "Mouse DPI-", {195, 155, 231, 191}),
    Icon(612, 157, "鼠标DPI+", "Mouse DPI+", {248, 155, 284, 191}),
    Icon(613, 156, "下档组合键,按键的上下档键须同时设置",
         "level down combination key,Keys level up and down must be set to FN", {301, 155, 337, 191}),
    Icon(614, 159, "可编程键盘", "Programmable Keyboard", {354, 155, 390, 191}),
    Icon(615, 137, "演示", "Demonstrate", {36, 220, 72, 256}),
    Icon(616, 138, "流星雨", "Star shower", {100, 220, 136, 256}),
    Icon(617, 139, "涟漪", "Riffle", {164, 220, 200, 256}),
    Icon(618, 145, "背光亮度-", "Backlight Lighteness-", {228, 220, 264, 256}),
    Icon(619, 144, "背光亮度+", "Backlight Lighteness+", {292, 220, 328, 256}),
    Icon(622, 135, "背光开关", "Backlight switch", {36, 265, 72, 301}),
    Icon(623, 141, "背光呼吸", "Backlight Breathe", {100, 265, 136, 301}),
    Icon(624, 136, "背光自定义", "Backlight Macro", {164, 265, 200, 301}),
    Icon(625, 143, "呼吸频率+", "Breathe Frequence+", {228, 265, 264, 301}),
    Icon(626, 142, "呼吸频率-", "Breathe Frequence-", {292, 265, 328, 301}),
    Icon(627, 146, "日落/放松模式", "Sunset/Relax Mode", {356, 265, 392, 301}),
    Icon(628, 148, "全盘颜色调节", "Backlight All Color Regulate", {418, 265, 456, 301}),
    {651, Label, {36, 92, 167, 150}, "按键功能", "Key Function", Left},
    {652, Label, {36, 200, 167, 230}, "背光功能", "Backlight Function", Left},
}};

// Page 7.
constexpr std::array<SkinAreaRow, 6> PowerAreas{{
    Icon(701, 75, "唤醒", "WakeUp", {162, 160, 242, 190}),
    Icon(702, 76, "睡眠", "Sleep", {251, 160, 331, 190}),
    Icon(703, 77, "电源", "Power", {340, 160, 420, 190}),
    {751, Label, {162, 166, 242, 190}, "唤醒", "Wake"},
    {752, Label, {251, 166, 331, 190}, "睡眠", "Sleep"},
    {753, Label, {340, 166, 420, 190}, "电源", "Power"},
}};

// Rows of a list: count rows from firstId, at left..right, from top in steps of pitch, each pitch - 1
// pixels high.
void AppendRows(std::vector<SkinRegion>& areas, int firstId, int count, int left, int right, int top,
                int pitch, std::uint32_t format, bool showText = true) {
    for (int k = 0; k < count; ++k) {
        SkinRegion& row = areas.emplace_back();
        row.id = firstId + k;
        row.listRow = true;
        row.rect = {left, top + pitch * k, right, top + pitch * k + pitch - 1};
        row.fontIndex = RowFont;
        row.textFormat = format;
        row.showText = showText;
    }
}

} // namespace

std::vector<SkinRegion> EditorAreas() {
    std::vector<SkinRegion> areas;
    areas.reserve(EditorAreaCount);
    AppendAreas(areas, CommonPictures);
    AppendAreas(areas, UniComboPictures);
    AppendAreas(areas, MacroPictures);
    AppendAreas(areas, EmulatePictures);
    AppendRows(areas, IdComboNameRow, 6, 214, 355, 136, 16, TextLeft);
    // The combination's keys are shown in edit 1005 over these rows, never in the rows themselves.
    AppendRows(areas, IdComboKeyRow, 6, 378, 522, 136, 16, TextCentre, false);
    AppendRows(areas, IdMacroNameRow, 9, 37, 178, 114, 14, TextLeft);
    AppendRows(areas, IdMacroStepRow, 9, 213, 355, 114, 14, TextLeft);
    AppendRows(areas, IdEmuNameRow, 9, 37, 178, 114, 14, TextLeft);
    AppendRows(areas, IdEmuKeyRow, 9, 213, 355, 114, 14, TextLeft);
    AppendAreas(areas, MultimediaAreas);
    AppendAreas(areas, MouseAreas);
    AppendAreas(areas, FunctionAreas);
    AppendAreas(areas, PowerAreas);
    AppendAreas(areas, CommonLabels);
    AppendAreas(areas, UniComboLabels);
    AppendAreas(areas, MacroLabels);
    AppendAreas(areas, EmulateLabels);
    constexpr std::array<SkinAreaRow, 1> OwnKeysNote{{{IdOwnKeysNote,
                                                       Label,
                                                       {122, 328, 360, 353},
                                                       "仅录制在本窗口中按下的键",
                                                       "Only keys typed here are recorded",
                                                       TextCentre,
                                                       11,
                                                       Lit,
                                                       Lit,
                                                       -1,
                                                       "",
                                                       "",
                                                       false}}};
    AppendAreas(areas, OwnKeysNote);
    areas.resize(EditorAreaCount);
    return areas;
}

SkinRect EditorEditRect(int control, const std::string& language) {
    const bool english = IsEnglishUi(language);
    switch (control) {
    case IdRepeatEdit:
        return {english ? 485 : 470, 112, (english ? 485 : 470) + 36, 112 + 18};
    case IdIntervalEdit:
        return {english ? 480 : 470, 176, (english ? 480 : 470) + 36, 176 + 18};
    case IdComboKeysBox:
        return {380, 138, 380 + 141, 138 + 93};
    default:
        return {};
    }
}
