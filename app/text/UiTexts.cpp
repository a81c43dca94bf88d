#include "text/UiTexts.h"

#include "ZelkVersion.h"

#include <array>
#include <iterator>

namespace {

struct TextRow {
    TextId id;
    std::array<const char*, UiLanguageCount> texts; // in the order of UiLanguage
};

// One row per text, in the order of TextId; one column per language: zh-CN, en-US.
constexpr TextRow Texts[] = {
    {TextId::None, {"", ""}},
    {TextId::StopRecord, {"停止录制", "Stop Rec"}},
    {TextId::OwnKeysOnly, {"仅录制在本窗口中按下的键", "Only keys typed here are recorded"}},
    {TextId::KeySettingsTitle, {"按键设置面板", "Key Settings"}},
    {TextId::ClearAll, {"清空配置", "Clear"}},
    {TextId::Ok, {"确定", "OK"}},
    {TextId::Cancel, {"取消", "Cancel"}},
    {TextId::UniComboTab, {"单/组合键", "Uni/Combo"}},
    {TextId::MacroTab, {"宏定义", "Macro"}},
    {TextId::EmulateTab, {"模拟击键", "Emulate"}},
    {TextId::MultimediaTab, {"多媒体", "Multimedia"}},
    {TextId::MouseTab, {"鼠标", "Mouse"}},
    {TextId::FunctionTab, {"操控键", "Function"}},
    {TextId::PowerTab, {"电源键", "Power"}},
    {TextId::SingleMode, {"单键", "Uniques"}},
    {TextId::ComboMode, {"组合键", "Combo"}},
    {TextId::PressAKey, {"请输入一个单键：", "Press a key:"}},
    {TextId::StartRecord, {"开始录制", "Record"}},
    {TextId::New, {"新建", "New"}},
    {TextId::Delete, {"删除", "Delete"}},
    {TextId::ComboList, {"组合键列表", "Combo List"}},
    {TextId::RecordList, {"录制框", "Record List"}},
    {TextId::TimesPlay, {"次数播放", "Times Play"}},
    {TextId::TimesUnit, {"次", "times"}},
    {TextId::PressPlayReleaseStop, {"按下播放，释放停止", "Press play, release stop"}},
    {TextId::PressToPlayStop, {"按键开/关播放", "Press to play/stop"}},
    {TextId::AutoDelay, {"自动延时", "Auto delay"}},
    {TextId::Milliseconds, {"毫秒", "ms"}},
    {TextId::RecordDelay, {"记录延时", "Record delay"}},
    {TextId::MacroStepTip,
     {"温馨提示：录制框中单击鼠标右键可插入鼠标功能\n录制框中选中延时参数并双击鼠标左键可对其编辑",
      "Tip:Right of mouse click to insert mouse actions in\nrecord list. Select delay parameter and double "
      "click\nleft of mouse to edit in record list."}},
    {TextId::Remove, {"删除", "Remove"}},
    {TextId::MacroList, {"宏列表", "Macro List"}},
    {TextId::Delay, {"延时", "Delay"}},
    {TextId::EmuList, {"模拟击键列表", "Emu List"}},
    {TextId::MediaSelect, {"播放器", "Media Select"}},
    {TextId::PlayPause, {"播放/暂停", "Play/Pause"}},
    {TextId::Stop, {"停止", "Stop"}},
    {TextId::NextTrack, {"下一首", "Next Track"}},
    {TextId::PreviousTrack, {"上一首", "Previous Track"}},
    {TextId::VolumeDown, {"音量减小", "Volume Down"}},
    {TextId::VolumeUp, {"音量加大", "Volume Up"}},
    {TextId::Mute, {"静音", "Mute"}},
    {TextId::WwwBack, {"后退", "WWW Back"}},
    {TextId::WwwForward, {"前进", "WWW Forward"}},
    {TextId::WwwStop, {"停止", "WWW Stop"}},
    {TextId::WwwRefresh, {"刷新", "WWW Refresh"}},
    {TextId::WwwFavorites, {"收藏夹", "WWW Favorites"}},
    {TextId::WwwSearch, {"搜索", "WWW Search"}},
    {TextId::Email, {"邮件", "E-mail"}},
    {TextId::WwwHome, {"主页", "WWW Home"}},
    {TextId::MyComputer, {"资源管理器", "My Computer"}},
    {TextId::Calculator, {"计算器", "Calculator"}},
    {TextId::MediaFunction, {"多媒体功能", "Media Function"}},
    {TextId::BrowserFunction, {"浏览器功能", "Browser Function"}},
    {TextId::MoveLeft, {"左移", "Move Left"}},
    {TextId::MoveRight, {"右移", "Move Right"}},
    {TextId::MoveUp, {"上移", "Move Up"}},
    {TextId::MoveDown, {"下移", "Move Down"}},
    {TextId::LeftClick, {"左键", "Left Click"}},
    {TextId::RightClick, {"右键", "Right Click"}},
    {TextId::MiddleClick, {"中键", "Middle Click"}},
    {TextId::WheelUp, {"滚轮前翻", "Wheel Up"}},
    {TextId::WheelDown, {"滚轮后翻", "Wheel Down"}},
    {TextId::LeftDoubleClick, {"左键双击", "Left Double Click"}},
    {TextId::KeyboardLock, {"键盘锁", "Keyboard Lock"}},
    {TextId::CtrlToCapsConvert, {"Ctrl和Caps对调", "Ctrl to Caps convert"}},
    {TextId::WinLock, {"锁Win", "Win Lock"}},
    {TextId::MouseDpiMinus, {"鼠标DPI-", "Mouse DPI-"}},
    {TextId::MouseDpiPlus, {"鼠标DPI+", "Mouse DPI+"}},
    {TextId::LevelDownCombination,
     {"下档组合键,按键的上下档键须同时设置",
      "level down combination key,Keys level up and down must be set to FN"}},
    {TextId::ProgrammableKeyboard, {"可编程键盘", "Programmable Keyboard"}},
    {TextId::Demonstrate, {"演示", "Demonstrate"}},
    {TextId::StarShower, {"流星雨", "Star shower"}},
    {TextId::Riffle, {"涟漪", "Riffle"}},
    {TextId::BacklightLightenessMinus, {"背光亮度-", "Backlight Lighteness-"}},
    {TextId::BacklightLightenessPlus, {"背光亮度+", "Backlight Lighteness+"}},
    {TextId::BacklightSwitch, {"背光开关", "Backlight switch"}},
    {TextId::BacklightBreathe, {"背光呼吸", "Backlight Breathe"}},
    {TextId::BacklightMacro, {"背光自定义", "Backlight Macro"}},
    {TextId::BreatheFrequencePlus, {"呼吸频率+", "Breathe Frequence+"}},
    {TextId::BreatheFrequenceMinus, {"呼吸频率-", "Breathe Frequence-"}},
    {TextId::SunsetRelaxMode, {"日落/放松模式", "Sunset/Relax Mode"}},
    {TextId::BacklightAllColorRegulate, {"全盘颜色调节", "Backlight All Color Regulate"}},
    {TextId::KeyFunction, {"按键功能", "Key Function"}},
    {TextId::BacklightFunction, {"背光功能", "Backlight Function"}},
    {TextId::WakeUp, {"唤醒", "WakeUp"}},
    {TextId::Sleep, {"睡眠", "Sleep"}},
    {TextId::Power, {"电源", "Power"}},
    {TextId::Wake, {"唤醒", "Wake"}},
    {TextId::BacklightSettingsTitle, {"背光设置面板", "BackLight Settings"}},
    {TextId::RestoreDefault, {"恢复默认", "Default"}},
    {TextId::WriteBacklight, {"写入背光", "Program"}},
    {TextId::SetAll, {"全域设置", "Set All"}},
    {TextId::MultiKey, {"多键设置", "MultiKey"}},
    {TextId::MultiKeyTitle, {"多键设置面板", "Set Multi Key"}},
    {TextId::SetColour, {"设置", "Set Color"}},
    {TextId::KeepConnected, {"正在读写键盘，请勿插拔！", "Keep the keyboard connected!"}},
    {TextId::ProgressTitle, {"读写进度", "Progress"}},
    {TextId::LoadFile, {"载入文件：", "File"}},
    {TextId::FirmwareUpdateTitle, {"键盘固件升级", "Firmware Update"}},
    {TextId::GetVersion, {"获取固件版本", "Get Version"}},
    {TextId::OpenFile, {"打开", "Open"}},
    {TextId::StartUpdate, {"更新", "Update"}},
    {TextId::OtherLanguage, {"English", "简体中文"}},
    {TextId::SaveProfile, {"保存配置", "Save"}},
    {TextId::OpenProfile, {"打开配置", "Open"}},
    {TextId::WriteKeys, {"写入按键", "WriteKeys"}},
    {TextId::SetBacklight, {"设置背光", "LightSet"}},
    {TextId::ReadAll, {"读取配置", "ReadAll"}},
    {TextId::UpdateFirmware, {"固件升级", "Update"}},
    {TextId::LevelUpLabel, {"上档键", "LevelUp"}},
    {TextId::LevelDownLabel, {"下档键", "LevelDn"}},
    {TextId::LevelOne, {"上档键", "Level 1"}},
    {TextId::LevelTwo, {"下档键", "Level 2"}},
    {TextId::KeySettingRefused,
     {"按键设置未写入：键盘无法保存按键“%1”在%2上的设置（内容过长或播放方式不受支持）。",
      "The key settings were not written: the keyboard cannot hold the setting of key \"%1\" on %2 (too "
      "long, or a play mode the keyboard lacks)."}},
    {TextId::WriteKeysFailed,
     {"写入按键设置失败！请检查键盘连接后重试。",
      "Writing the key settings failed! Check that the keyboard is connected and try again."}},
    {TextId::ReadAllFailed,
     {"读取键盘配置失败！当前配置保持不变，请检查键盘连接后重试。",
      "Reading the keyboard failed! The settings shown are unchanged. Check that the keyboard is connected "
      "and try again."}},
    {TextId::WriteBacklightFailed,
     {"写入背光设置失败！请检查键盘连接后重试。",
      "Writing the backlight settings failed! Check that the keyboard is connected and try again."}},
    {TextId::FirmwareUpdateRunning,
     {"固件正在更新，请等待更新完成。", "A firmware update is running. Please wait until it has finished."}},
    {TextId::KeyboardBusy,
     {"键盘正忙，请稍后再试。", "The keyboard is busy with another transfer. Please try again in a moment."}},
    {TextId::VersionNotRead, {"读取键盘版本失败", "Failed on reading keyboard version infomation"}},
    {TextId::FirmwareWritten,
     {"固件下载完成。\r\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，请拔下USB重新上电。",
      "The Firmware is downloaded successfully.\r\nPlease keep the USB plug in until three indicator lights "
      "flash simultaneously.\r\nThen firmware updated completely,pleased unplug the USB and plug in."}},
    {TextId::FirmwareNotWritten, {"固件下载失败!", "Firmware download failed."}},
    {TextId::FirmwareFileNotOpened, {"打开固件文件失败", "Can't open firmware file"}},
    {TextId::FirmwareFileInvalid,
     {"固件文件无效，未向键盘写入任何内容：\n%1",
      "This is not a valid firmware file; nothing was written to the keyboard:\n%1"}},
    {TextId::ManualMissing, {"找不到用户手册：\n%1", "The user manual is missing:\n%1"}},
    {TextId::ManualNotOpened, {"无法打开用户手册：\n%1", "The user manual could not be opened:\n%1"}},
    {TextId::StepPress, {"按下", "Press"}},
    {TextId::StepRelease, {"释放", "Release"}},
    {TextId::StepClick, {"点击", "Click"}},
    {TextId::StepLeftButton, {"鼠标左键", "Left Click"}},
    {TextId::StepRightButton, {"鼠标右键", "Right Click"}},
    {TextId::StepMiddleButton, {"鼠标中键", "Middle Click"}},
    {TextId::StepWheel, {"滚轮", "Wheel"}},
    {TextId::StepWheelUp, {"前翻", "Up"}},
    {TextId::StepWheelDown, {"后翻", "Down"}},
    {TextId::StepDelete, {"删除", "Deleta"}},
    {TextId::KindNotSet, {"未设置", "Not set"}},
    {TextId::KindSingle, {"单键", "Single"}},
    {TextId::KindCombo, {"组合键", "Combo"}},
    {TextId::KindMacro, {"宏键", "Macro"}},
    {TextId::KindEmulation, {"模拟击键", "Emulation"}},
    {TextId::KindMultimedia, {"多媒体键", "Multimedia"}},
    {TextId::KindMouse, {"鼠标键", "Mouse"}},
    {TextId::KindFunction, {"操控键", "Function"}},
    {TextId::KindPower, {"电源键", "Power"}},
    {TextId::NewComboName, {"组合键", "New Combo "}},
    {TextId::NewMacroName, {"宏定义", "New Macro "}},
    {TextId::NewEmuName, {"模拟击键", "New Emu "}},
    {TextId::ManualFile, {"index.zh-CN.html", "index.html"}},
    {TextId::MainWindowTitle,
     {"Zelk 编程软件 [版本 " ZELK_VERSION "]", "Zelk Programming Software [Ver " ZELK_VERSION "]"}},
    {TextId::LevelOneHeading, {"上档键：", "Key settings L1："}},
    {TextId::LevelTwoHeading, {"下档键：", "Key settings L2："}},
    {TextId::KeyboardUnopenedStatus, {"已找到键盘，但无法打开", "Keyboard found but not opened"}},
    {TextId::ConnectedStatus, {"已连接键盘", "Connected to the keyboard"}},
    {TextId::VirtualKeyboardStatus,
     {"虚拟键盘（设置不会保留）", "Virtual keyboard (its settings are not kept)"}},
    {TextId::VirtualKeyboardFileStatus,
     {"虚拟键盘（设置保存在 %1）", "Virtual keyboard (settings kept in %1)"}},
    {TextId::UnsavedChanges, {"有未保存的更改", "Unsaved changes"}},
    {TextId::NoUnsavedChanges, {"没有未保存的更改", "No unsaved changes"}},
    {TextId::LanguageTip, {"切换为英文界面", "Switch the program to Chinese"}},
    {TextId::HelpTip, {"打开使用手册", "Open the manual"}},
    {TextId::MinimiseTip, {"最小化窗口", "Minimise the window"}},
    {TextId::HideTip, {"隐藏到通知区域", "Hide the window to the notification area"}},
    {TextId::ExitTip, {"退出程序", "Exit the program"}},
    {TextId::SaveTip, {"将配置保存到文件（Ctrl+S）", "Save the profile to a file (Ctrl+S)"}},
    {TextId::OpenTip, {"从文件打开配置（Ctrl+O）", "Open a profile from a file (Ctrl+O)"}},
    {TextId::ClearTip,
     {"清空所有按键设置、背光颜色和列表", "Clear every key assignment, backlight colour and list"}},
    {TextId::WriteKeysTip, {"将按键设置写入键盘", "Write the key assignments to the keyboard"}},
    {TextId::BacklightTip, {"设置每个按键的背光颜色", "Set the backlight colour of every key"}},
    {TextId::ReadAllTip,
     {"从键盘读取按键设置和背光颜色", "Read the key assignments and backlight colours from the keyboard"}},
    {TextId::FirmwareTip,
     {"读取固件版本并升级键盘固件", "Read the firmware version and update the keyboard's firmware"}},
    {TextId::LayerTip, {"切换显示的按键层（上档键或下档键）", "Show the other layer (Level 1 or Level 2)"}},
    {TextId::SaveBeforeEnding,
     {"程序即将退出。当前配置有未保存的更改，是否先保存？",
      "The program is ending. The profile has unsaved changes: save them first?"}},
    {TextId::SaveBeforeLosing,
     {"当前配置有未保存的更改，是否先保存？", "The profile has unsaved changes. Save them first?"}},
    {TextId::SaveAnswer, {"保存", "Save"}},
    {TextId::DiscardAnswer, {"不保存", "Don't Save"}},
    {TextId::TrayExit, {"关闭", "Exit"}},
    {TextId::ProfileNotSaved, {"无法保存配置文件 %1。", "The profile could not be saved to %1."}},
    {TextId::ProfileNotOpened, {"无法打开配置文件 %1。", "The profile %1 could not be opened."}},
    // %1: the problem's text.
    {TextId::StateFileNotWritten,
     {"设置已送达虚拟键盘，但%1。", "The settings reached the virtual keyboard, but %1"}},
    {TextId::ReportLogIncomplete, {"传输已完成，但%1。", "The transfer ended, but %1"}},
    // The problem codes of the device library. %L: line, %N: limit, %M: limit in MB, %I: item, %K: count,
    // %S: size, %P: path, %D: detail, %C: the cause's text, %E: the system's words for its error.
    {TextId::ProblemSystemError, {"%E", "%E"}},
    {TextId::ProblemFileIsFolder, {"它是文件夹，不是文件", "it is a folder, not a file"}},
    {TextId::ProblemFileNotRegular,
     {"它不是普通文件（而是管道或设备）", "it is not a regular file (a pipe or a device)"}},
    {TextId::ProblemFileTooLarge, {"文件大于 %M MB", "it is larger than %M MB"}},
    {TextId::ProblemFirmwareFileTooLarge,
     {"文件大于 %M MB，远超键盘固件的大小",
      "it is larger than %M MB, far more than a firmware image of the keyboard"}},
    {TextId::ProblemProfileUnreadable, {"无法读取：%C", "cannot be read: %C"}},
    {TextId::ProblemProfileTooManyElements,
     {"已损坏：它含有超过 %N 个元素，远多于任何配置文件",
      "is damaged: it holds more than %N elements, far more than any profile"}},
    {TextId::ProblemProfileNotZelk, {"不是 Zelk 配置文件", "is not a Zelk profile"}},
    {TextId::ProblemProfileCutShort,
     {"已损坏：文件在所有元素结束之前就结束了（是否不完整？）",
      "is damaged: it ends before all of its elements are closed (is it cut short?)"}},
    {TextId::ProblemProfileNestedTooDeep,
     {"已损坏：它的列表嵌套超过 %N 层", "is damaged: its lists are nested more than %N deep"}},
    {TextId::ProblemProfileItemGaps,
     {"已损坏：它的条目编号留下的空缺远大于它所含的条目",
      "is damaged: its item IDs leave gaps far larger than the items it holds"}},
    {TextId::ProblemProfileOutOfMemory,
     {"无法读取：内存不足", "cannot be read: there is not enough memory for it"}},
    {TextId::ProblemFileOutOfMemory, {"内存不足，无法读取", "there is not enough memory to read it"}},
    {TextId::ProblemFileReadIncomplete, {"无法读到文件末尾", "it could not be read to its end"}},
    {TextId::ProblemTargetNotRegular, {"它不是普通文件", "it is not a regular file"}},
    {TextId::ProblemTargetIsKept,
     {"它是本次运行要读写的文件，写日志会毁掉它",
      "it is a file this run reads or writes, which the log would destroy"}},
    {TextId::ProblemProfileNotEncoded, {"无法对配置文件编码", "the profile could not be encoded"}},
    {TextId::ProblemHexNotIntelHex,
     {"该文件不是 Intel-HEX 文件（不以“:”开头）",
      "the file is not an Intel-HEX file (it does not start with ':')"}},
    {TextId::ProblemHexLineEndsWithLfAlone,
     {"第 %L 行：行尾只有 LF，而每行应以 CR 或 CR LF 结尾",
      "line %L: ends with LF alone, where lines end with CR or CR LF"}},
    {TextId::ProblemHexLineEndMissing,
     {"第 %L 行：行尾不是 CR 或 CR LF", "line %L: does not end with CR or CR LF"}},
    {TextId::ProblemHexRecordAfterEmptyLine,
     {"第 %L 行：空行之后还有记录", "line %L: a record follows an empty line"}},
    {TextId::ProblemHexRecordAfterEndRecord,
     {"第 %L 行：结束记录之后还有记录", "line %L: a record follows the end record"}},
    {TextId::ProblemHexLineTooLong, {"第 %L 行：超过 %N 个字符", "line %L: longer than %N characters"}},
    {TextId::ProblemHexColonMissing, {"第 %L 行：不以“:”开头", "line %L: does not start with ':'"}},
    {TextId::ProblemHexNotHexadecimal,
     {"第 %L 行：含有不是十六进制数字的字符", "line %L: holds a character that is not a hexadecimal digit"}},
    {TextId::ProblemHexOddDigits,
     {"第 %L 行：十六进制数字的个数是奇数", "line %L: holds an odd number of hexadecimal digits"}},
    {TextId::ProblemHexWrongChecksum,
     {"第 %L 行：记录长度或校验和错误", "line %L: wrong record length or checksum"}},
    {TextId::ProblemHexRecordTooLong,
     {"第 %L 行：记录长于 %N 字节", "line %L: a record longer than %N bytes"}},
    {TextId::ProblemHexEndRecordMissing,
     {"文件没有结束记录，可能不完整", "the file has no end record, so it may be cut short"}},
    {TextId::ProblemKeyboardNotPermitted,
     {"已找到键盘（%P），但没有打开它的权限。请运行以下命令安装 udev 规则：\nsudo install -m 644 "
      "res/70-zelk.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm "
      "trigger\n然后重新插拔键盘。",
      "The keyboard was found at %P but cannot be opened: permission denied. Install the udev rule (sudo "
      "install -m 644 res/70-zelk.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm "
      "trigger), then unplug and replug the keyboard."}},
    {TextId::ProblemKeyboardRuleNotApplied,
     {"已找到键盘（%P），但没有打开它的权限，尽管 udev 规则 %D 已安装。请运行以下命令使它生效：\nsudo "
      "udevadm control --reload && sudo udevadm trigger\n然后重新插拔键盘。",
      "The keyboard was found at %P but cannot be opened: permission denied although the udev rule %D is "
      "installed. Apply it (sudo udevadm control --reload && sudo udevadm trigger), then unplug and replug "
      "the keyboard."}},
    {TextId::ProblemKeyboardNotOpened,
     {"已找到键盘（%P），但无法打开（可能有其他程序正在使用它）。",
      "The keyboard was found at %P but cannot be opened."}},
    {TextId::ProblemKeyboardNotOpenedBecause,
     {"已找到键盘（%P），但无法打开：%D。", "The keyboard was found at %P but cannot be opened: %D."}},
    {TextId::ProblemKeyboardHeldElsewhere,
     {"已找到键盘，但无法打开（可能有其他程序正在使用它）。",
      "The keyboard was found but cannot be opened (another program may hold it)."}},
    {TextId::ProblemStateFileNotRegular,
     {"虚拟键盘的状态文件 %P 不是普通文件，因此不可能是虚拟键盘的状态文件",
      "the virtual keyboard's state file %P is not a regular file, so it cannot be a state file of the "
      "virtual keyboard"}},
    {TextId::ProblemStateFileUnreadable,
     {"无法读取虚拟键盘的状态文件 %P：%C", "the virtual keyboard's state file %P cannot be read: %C"}},
    {TextId::ProblemStateFileTooLarge,
     {"虚拟键盘的状态文件 %P 太大，不可能是虚拟键盘的状态文件",
      "the virtual keyboard's state file %P is too large to be a state file of the virtual keyboard"}},
    {TextId::ProblemStateFileReadIncomplete,
     {"无法读到虚拟键盘的状态文件 %P 的末尾",
      "the virtual keyboard's state file %P cannot be read to its end"}},
    {TextId::ProblemStateFileReadOnly,
     {"虚拟键盘的状态文件 %P 是只读的，虚拟键盘无法在其中保存设置",
      "the virtual keyboard's state file %P is read-only, so the virtual keyboard could not keep its "
      "settings there"}},
    {TextId::ProblemStateFileForeign,
     {"%P 不是虚拟键盘的状态文件",
      "the virtual keyboard's state file %P is not a state file of the virtual keyboard"}},
    {TextId::ProblemStateFileDamaged,
     {"虚拟键盘的状态文件 %P 第 %L 行已损坏（状态文件只含 slot、light 和 firmware 行）",
      "the virtual keyboard's state file %P is damaged at line %L (a state file of the virtual keyboard "
      "holds slot, light and firmware lines)"}},
    {TextId::ProblemStateFileCutShort,
     {"虚拟键盘的状态文件 %P 不完整：缺少结束行",
      "the virtual keyboard's state file %P is cut short: its end line is missing"}},
    {TextId::ProblemStateFileNotLocked,
     {"无法锁定虚拟键盘的状态文件 %P：%C", "the virtual keyboard's state file %P cannot be locked: %C"}},
    {TextId::ProblemStateFileNotWritten,
     {"无法写入虚拟键盘的状态文件 %P：%C", "the virtual keyboard's state file %P cannot be written: %C"}},
    {TextId::ProblemCombinationEmpty, {"组合键至少需要一个键", "a combination needs at least one key"}},
    {TextId::ProblemEmulationEmpty, {"模拟击键至少需要一个键", "an emulation needs at least one key"}},
    {TextId::ProblemCombinationTooLong,
     {"%K 个键超过了组合键能容纳的数目（%N）", "%K keys are more than a combination takes (%N)"}},
    {TextId::ProblemEmulationTooLong,
     {"%K 个键超过了模拟击键能容纳的数目（%N）", "%K keys are more than an emulation takes (%N)"}},
    {TextId::ProblemMacroDelayWithFixedInterval,
     {"固定间隔的宏不含延时项", "a macro with a fixed interval has no delay items"}},
    {TextId::ProblemMacroDelayExpected,
     {"记录延时的宏中按键与延时交替出现；此处应为延时",
      "a macro with recorded delays alternates steps and delays; expected a delay"}},
    {TextId::ProblemMacroStepExpected,
     {"记录延时的宏中按键与延时交替出现；此处应为按键",
      "a macro with recorded delays alternates steps and delays; expected a step"}},
    {TextId::ProblemMacroEndsWithDelay,
     {"记录延时的宏须以按键结尾", "a macro with recorded delays ends with a step"}},
    {TextId::ProblemMacroTooLong,
     {"宏超出了键盘能容纳的长度（%K 项共 %S 字节；最多 %N 字节）",
      "the macro is longer than the keyboard takes (%K items make %S bytes; at most %N)"}},
    {TextId::ProblemPlayModeUnknown,
     {"键盘没有这种播放方式（最多为 %N）", "the keyboard has no such play mode (at most %N)"}},
    {TextId::ProblemKeyboardNotConnected, {"键盘未连接", "the keyboard is not connected"}},
    {TextId::ProblemTransferRunning, {"另一个传输正在使用键盘", "another transfer is using the keyboard"}},
    {TextId::ProblemReportNotSent,
     {"键盘没有接收报告（是否已拔下？）", "the keyboard took no report (is it unplugged?)"}},
    {TextId::ProblemReportNotReceived,
     {"无法从键盘读取报告（是否已拔下？）", "no report could be read from the keyboard (is it unplugged?)"}},
    {TextId::ProblemNoReply, {"键盘在 %N 毫秒内没有应答", "the keyboard did not answer within %N ms"}},
    {TextId::ProblemReplyEndMissing, {"键盘的回复没有结束", "the keyboard's reply did not end"}},
    {TextId::ProblemFaultsInvalid, {"%D", "%D"}},
    {TextId::ProblemReportLogNotOpened, {"无法写入报告日志 %P：%C", "cannot write the report log %P: %C"}},
    {TextId::ProblemReportLogIncomplete, {"报告日志 %P 不完整：%C", "the report log %P is incomplete: %C"}},
    {TextId::ProblemReason, {"原因：%1", "Reason: %1"}},
    // Said at start-up in every language.
    {TextId::SkinFileMissing,
     {"找不到皮肤资源文件 %1。", "The skin resource file %1 is missing or damaged."}},
    {TextId::SkinPictureMissing,
     {"皮肤资源文件 %1 缺少图片 %2。", "The skin resource file %1 lacks picture %2."}},
    {TextId::VirtualKeyboardHint,
     {"没有键盘时，可以用虚拟键盘试用 Zelk。", "To try Zelk without the keyboard, start it as:"}},
    {TextId::OutOfMemory, {"内存不足，操作已停止。", "There is not enough memory for that; it was stopped."}},
    // Accessible names
    {TextId::CloseBox, {"关闭", "Close"}},
    // Said when the language button has changed the language, in the new one.
    {TextId::UiLanguageName, {"中文", "English"}},
    // The firmware dialog's box of the keyboard's version, under the picture's "VERSION".
    {TextId::FirmwareVersionBox, {"固件版本", "Firmware version"}},
    // Firmware backup
    {TextId::BackupQuestion,
     {"升级前是否先把键盘的按键设置和背光备份到文件？升级后可以用它恢复这些设置。",
      "Save the keyboard's key settings and backlight to a backup file before the update? With it they "
      "can be put back afterwards."}},
    {TextId::BackupSaveAnswer, {"保存备份…", "Save a Backup..."}},
    {TextId::BackupSkipAnswer, {"不备份直接升级", "Update Without a Backup"}},
    {TextId::BackupNotRead,
     {"无法读取键盘设置，未保存备份，固件未升级。\n请检查键盘连接后再次点击“更新”。",
      "The keyboard's settings could not be read, so no backup was saved and the firmware was not "
      "updated.\nCheck that the keyboard is connected, then press Update again."}},
    // %1: the backup file, %2: the problem's text.
    {TextId::BackupNotSaved,
     {"无法保存备份 %1：%2\n固件未升级。请选择其他文件夹后再次点击“更新”。",
      "The backup %1 could not be saved: %2\nThe firmware was not updated. Choose another folder, then "
      "press Update again."}},
    {TextId::BackupSaved,
     {"按键设置和背光已备份到 %1。\n键盘重新启动后，用“打开配置”打开该文件，再点击“写入按键”恢复按键设置，"
      "在“设置背光”中点击“写入背光”恢复背光。",
      "Your key settings and backlight are saved in %1.\nOnce the keyboard has restarted, open that file "
      "with Open, then press WriteKeys to put the key settings back, and Program under LightSet for the "
      "backlight."}},
    {TextId::UpdateRetry,
     {"请保持USB连接，再次点击“更新”重试；使用手册的“升级失败时”一节有详细说明。",
      "Keep the USB plug in and press Update again; the manual's section \"If an update fails\" tells "
      "more."}},
    {TextId::BackupKept,
     {"设置已备份到 %1。重试时请选择“不备份直接升级”，以免替换该备份。",
      "Your settings are kept in %1. Choose Update Without a Backup when you try again, so that this backup "
      "is "
      "kept."}},
    // %1: what the step did ("F2 Multimedia Play/Pause"); empty when there is no step.
    {TextId::UndoMenu, {"撤销 %1（Ctrl+Z）", "Undo %1 (Ctrl+Z)"}},
    {TextId::RedoMenu, {"重做 %1（Ctrl+Shift+Z）", "Redo %1 (Ctrl+Shift+Z)"}},
    {TextId::UndoneStatus, {"已撤销：%1", "Undone: %1"}},
    {TextId::RedoneStatus, {"已重做：%1", "Redone: %1"}},
    {TextId::KeyTestMenu, {"按键测试（Ctrl+T）", "Key test (Ctrl+T)"}},
    {TextId::KeyTestStarted,
     {"按键测试：按下键盘上的按键，Ctrl+T 结束", "Key test: press keys on the keyboard, Ctrl+T ends it"}},
    {TextId::KeyTestEnded, {"按键测试已结束", "Key test ended"}},
    // %1: the key's name, %2: its scan code.
    {TextId::KeyTestInfo, {"按键测试——最后按下：%1（扫描码 %2）", "Key test: last key %1 (scan code %2)"}},
    {TextId::BacklightStep, {"背光颜色", "Backlight colours"}},
    {TextId::ClearStep, {"清空", "Clear"}},
    {TextId::OpenStep, {"打开 %1", "Open %1"}},
    {TextId::ReadStep, {"从键盘读取", "Read from the keyboard"}},
    // The profile shelf. %P: the shelf folder, %D: a profile's name.
    {TextId::ProblemShelfMissing, {"配置架 %P 尚不存在", "the profile shelf %P does not exist yet"}},
    {TextId::ProblemShelfUnreadable, {"无法读取配置架 %P：%C", "the profile shelf %P cannot be read: %C"}},
    {TextId::ProblemShelfNameInvalid,
     {"“%D”不能作为配置名称：名称不能为空、不能以点开头，也不能含有 / \\ : * ? \" < > | 或控制字符",
      "\"%D\" cannot name a profile: a name is not empty, does not start with a dot and holds none of "
      "/ \\ : * ? \" < > | or control characters"}},
    {TextId::ProblemShelfProfileMissing,
     {"配置架 %P 上没有名为“%D”的配置", "the profile shelf %P holds no profile named \"%D\""}},
    {TextId::ProblemShelfProfileExists,
     {"配置架上已有名为“%D”的配置", "the profile shelf already holds a profile named \"%D\""}},
    {TextId::ProblemShelfNameDiffersInCase,
     {"配置架上的“%D”与该名称仅大小写不同；不区分大小写的文件系统无法同时保存两者",
      "the profile shelf holds \"%D\", whose name differs from it only in case; a file system that "
      "ignores case cannot keep both"}},
    // The tray's menu: the shelf's profiles; %1: a profile's name.
    {TextId::TrayShelfEmpty, {"（配置架上没有配置）", "(no profiles on the shelf)"}},
    {TextId::TrayShelfUnreadable, {"（无法读取配置架）", "(the profile shelf cannot be read)"}},
    {TextId::TrayShelfDamaged, {"%1（已损坏）", "%1 (damaged)"}},
    {TextId::ShelfAlreadyHeld,
     {"键盘上已是“%1”，未写入任何内容。", "The keyboard already holds \"%1\"; nothing was written."}},
    {TextId::ShelfApplied, {"键盘上现在是“%1”。", "The keyboard now holds \"%1\"."}},
    // %1: the profile's name, %2: why.
    {TextId::ShelfProfileNotApplied, {"无法应用“%1”：%2", "\"%1\" was not applied: %2"}},
    // %1: what the window works with, %2: the shelf profile the keyboard holds.
    {TextId::StatusShelfProfile, {"%1 · 键盘上是“%2”", "%1 · \"%2\" on the keyboard"}},
    {TextId::SaveToShelfTitle, {"保存到配置架", "Save to Shelf"}},
    {TextId::SaveToShelfName, {"配置架上的配置名称：", "Name of the profile on the shelf:"}},
    {TextId::ShelfReplaceQuestion,
     {"配置架上已有名为“%1”的配置。要替换它吗？", "The profile shelf already holds \"%1\". Replace it?"}},
    {TextId::ShelfSaved, {"已保存到配置架：“%1”。", "Saved to the profile shelf as \"%1\"."}},
    {TextId::ShelfNotSaved, {"未保存到配置架：%1", "Not saved to the profile shelf: %1"}},
    {TextId::SaveToShelfMenu, {"保存到配置架…", "Save to Shelf…"}},
};

constexpr bool RowsFollowTheIds() {
    for (std::size_t index = 0; index < std::size(Texts); ++index)
        if (static_cast<std::size_t>(Texts[index].id) != index)
            return false;
    return true;
}
static_assert(RowsFollowTheIds() && std::size(Texts) == static_cast<std::size_t>(TextId::Count),
              "the rows of Texts are in the order of TextId, one row per id");

constexpr bool EveryTextInEveryLanguage() {
    for (const TextRow& row : Texts)
        for (const char* text : row.texts)
            if (text == nullptr)
                return false;
    return true;
}
static_assert(EveryTextInEveryLanguage(), "every row has a text for every language");

} // namespace

const char* Text(TextId id, UiLanguage language) {
    return Texts[static_cast<std::size_t>(id)].texts[static_cast<std::size_t>(language)];
}

std::u16string Utf16Text(TextId id, UiLanguage language) {
    std::u16string text;
    for (const char* at = Text(id, language); *at != '\0';) {
        const auto lead = static_cast<unsigned char>(*at++);
        const int trailing = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t point = trailing == 0 ? lead : lead & (0x3F >> trailing);
        for (int k = 0; k < trailing; ++k)
            point = (point << 6) | (static_cast<unsigned char>(*at++) & 0x3F);
        if (point >= 0x10000) {
            text += static_cast<char16_t>(0xD7C0 + (point >> 10));
            text += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
        } else {
            text += static_cast<char16_t>(point);
        }
    }
    return text;
}

std::string TextInEveryLanguage(TextId id) {
    std::string text;
    for (std::size_t language = 0; language < UiLanguageCount; ++language) {
        if (language > 0)
            text += '\n';
        text += Text(id, static_cast<UiLanguage>(language));
    }
    return text;
}
