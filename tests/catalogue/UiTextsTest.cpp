#include "text/UiTexts.h"
#include "text/ProblemTexts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <utility>

TEST(UiLanguage, TheLanguageButtonVisitsEveryLanguageAndReturnsToTheFirst) {
    std::set<UiLanguage> seen;
    UiLanguage language = StartUiLanguage;
    do {
        EXPECT_TRUE(seen.insert(language).second);
        language = NextUiLanguage(language);
    } while (language != StartUiLanguage && seen.size() <= UiLanguageCount);
    EXPECT_EQ(seen.size(), UiLanguageCount);
}

TEST(UiLanguage, CodesNameTheLanguages) {
    EXPECT_EQ(StartUiLanguage, UiLanguage::Chinese);
    EXPECT_EQ(LanguageCode(UiLanguage::Chinese), "zh-CN");
    EXPECT_EQ(LanguageCode(UiLanguage::English), "en-US");
    EXPECT_EQ(UiLanguageOfCode("zh-CN"), UiLanguage::Chinese);
    EXPECT_EQ(UiLanguageOfCode("en-US"), UiLanguage::English);
    EXPECT_EQ(UiLanguageOfCode("en"), std::nullopt);
    EXPECT_EQ(UiLanguageOfCode(""), std::nullopt);
}

TEST(UiTexts, StartUpMessagesSayItInEveryLanguageOnePerLine) {
    EXPECT_EQ(TextInEveryLanguage(TextId::SkinFileMissing),
              "找不到皮肤资源文件 %1。\nThe skin resource file %1 is missing or damaged.");
}

TEST(UiTexts, Utf16TextDecodesTheTablesUtf8) {
    EXPECT_EQ(Utf16Text(TextId::ProblemHexNotIntelHex, UiLanguage::Chinese),
              u"该文件不是 Intel-HEX 文件（不以“:”开头）");
    EXPECT_EQ(Utf16Text(TextId::None, UiLanguage::English), u"");
}

// Every problem of the device library has Chinese words of its own, naming the fault and its values.
TEST(ProblemTexts, EveryProblemIsNamedInChinese) {
    const auto with = [](ProblemCode code, long line = 0, std::uintmax_t limit = 0) {
        CProblem problem(code, line, limit);
        problem.Path = "/dev/hidraw3";
        problem.Detail = "R";
        return problem;
    };
    const auto counted = [](ProblemCode code, long long count, std::uintmax_t limit, long long size = 0) {
        CProblem problem(code, 0, limit);
        problem.Count = count;
        problem.Size = size;
        return problem;
    };
    const auto wrapping = [](ProblemCode code, const CProblem& cause) {
        return Wrapped(code, "k.state", cause);
    };
    using enum ProblemCode;
    const std::pair<CProblem, const char*> cases[] = {
        {SystemProblem(ENOENT), "没有那个文件或目录"},
        {SystemProblem(EACCES), "权限不够"},
        {FileIsFolder, "它是文件夹，不是文件"},
        {FileNotRegular, "它不是普通文件（而是管道或设备）"},
        {with(FileTooLarge, 0, 64u << 20), "文件大于 64 MB"},
        {with(FirmwareFileTooLarge, 0, 16u << 20), "文件大于 16 MB，远超键盘固件的大小"},
        {wrapping(ProfileUnreadable, SystemProblem(EACCES)), "无法读取：权限不够"},
        {with(ProfileTooManyElements, 0, 2097152), "已损坏：它含有超过 2097152 个元素，远多于任何配置文件"},
        {ProfileNotZelk, "不是 Zelk 配置文件"},
        {ProfileCutShort, "已损坏：文件在所有元素结束之前就结束了（是否不完整？）"},
        {with(ProfileNestedTooDeep, 0, 32), "已损坏：它的列表嵌套超过 32 层"},
        {ProfileItemGaps, "已损坏：它的条目编号留下的空缺远大于它所含的条目"},
        {ProfileOutOfMemory, "无法读取：内存不足"},
        {FileOutOfMemory, "内存不足，无法读取"},
        {FileReadIncomplete, "无法读到文件末尾"},
        {TargetNotRegular, "它不是普通文件"},
        {TargetIsKept, "它是本次运行要读写的文件，写日志会毁掉它"},
        {ProfileNotEncoded, "无法对配置文件编码"},
        {HexNotIntelHex, "该文件不是 Intel-HEX 文件（不以“:”开头）"},
        {with(HexLineEndsWithLfAlone, 3), "第 3 行：行尾只有 LF，而每行应以 CR 或 CR LF 结尾"},
        {with(HexLineEndMissing, 4), "第 4 行：行尾不是 CR 或 CR LF"},
        {with(HexRecordAfterEmptyLine, 5), "第 5 行：空行之后还有记录"},
        {with(HexRecordAfterEndRecord, 6), "第 6 行：结束记录之后还有记录"},
        {with(HexLineTooLong, 7, 999), "第 7 行：超过 999 个字符"},
        {with(HexColonMissing, 8), "第 8 行：不以“:”开头"},
        {with(HexNotHexadecimal, 9), "第 9 行：含有不是十六进制数字的字符"},
        {with(HexOddDigits, 10), "第 10 行：十六进制数字的个数是奇数"},
        {with(HexWrongChecksum, 11), "第 11 行：记录长度或校验和错误"},
        {with(HexRecordTooLong, 12, 62), "第 12 行：记录长于 62 字节"},
        {HexEndRecordMissing, "文件没有结束记录，可能不完整"},
        {with(KeyboardNotPermitted),
         "已找到键盘（/dev/hidraw3），但没有打开它的权限。请运行以下命令安装 udev 规则：\nsudo install -m "
         "644 "
         "res/70-zelk.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger\n"
         "然后重新插拔键盘。"},
        {with(KeyboardRuleNotApplied),
         "已找到键盘（/dev/hidraw3），但没有打开它的权限，尽管 udev 规则 R 已安装。请运行以下命令使它生效：\n"
         "sudo udevadm control --reload && sudo udevadm trigger\n然后重新插拔键盘。"},
        {with(KeyboardNotOpened), "已找到键盘（/dev/hidraw3），但无法打开（可能有其他程序正在使用它）。"},
        {with(KeyboardNotOpenedBecause), "已找到键盘（/dev/hidraw3），但无法打开：R。"},
        {KeyboardHeldElsewhere, "已找到键盘，但无法打开（可能有其他程序正在使用它）。"},
        {with(StateFileNotRegular),
         "虚拟键盘的状态文件 /dev/hidraw3 不是普通文件，因此不可能是虚拟键盘的状态文件"},
        {wrapping(StateFileUnreadable, FileIsFolder),
         "无法读取虚拟键盘的状态文件 k.state：它是文件夹，不是文件"},
        {with(StateFileTooLarge), "虚拟键盘的状态文件 /dev/hidraw3 太大，不可能是虚拟键盘的状态文件"},
        {with(StateFileReadIncomplete), "无法读到虚拟键盘的状态文件 /dev/hidraw3 的末尾"},
        {with(StateFileReadOnly), "虚拟键盘的状态文件 /dev/hidraw3 是只读的，虚拟键盘无法在其中保存设置"},
        {with(StateFileForeign), "/dev/hidraw3 不是虚拟键盘的状态文件"},
        {with(StateFileDamaged, 178),
         "虚拟键盘的状态文件 /dev/hidraw3 第 178 行已损坏（状态文件只含 slot、light 和 firmware 行）"},
        {with(StateFileCutShort), "虚拟键盘的状态文件 /dev/hidraw3 不完整：缺少结束行"},
        {wrapping(StateFileNotLocked, SystemProblem(EROFS)),
         "无法锁定虚拟键盘的状态文件 k.state：文件系统是只读的"},
        {wrapping(StateFileNotWritten, SystemProblem(ENOSPC)),
         "无法写入虚拟键盘的状态文件 k.state：设备上没有空间"},
        {CombinationEmpty, "组合键至少需要一个键"},
        {EmulationEmpty, "模拟击键至少需要一个键"},
        {counted(CombinationTooLong, 60, 58), "60 个键超过了组合键能容纳的数目（58）"},
        {counted(EmulationTooLong, 57, 56), "57 个键超过了模拟击键能容纳的数目（56）"},
        {MacroDelayWithFixedInterval, "固定间隔的宏不含延时项"},
        {MacroDelayExpected, "记录延时的宏中按键与延时交替出现；此处应为延时"},
        {MacroStepExpected, "记录延时的宏中按键与延时交替出现；此处应为按键"},
        {MacroEndsWithDelay, "记录延时的宏须以按键结尾"},
        {counted(MacroTooLong, 40001, 65535, 80001),
         "宏超出了键盘能容纳的长度（40001 项共 80001 字节；最多 65535 字节）"},
        {with(PlayModeUnknown, 0, 2), "键盘没有这种播放方式（最多为 2）"},
        {KeyboardNotConnected, "键盘未连接"},
        {TransferRunning, "另一个传输正在使用键盘"},
        {ReportNotSent, "键盘没有接收报告（是否已拔下？）"},
        {ReportNotReceived, "无法从键盘读取报告（是否已拔下？）"},
        {with(NoReply, 0, 1000), "键盘在 1000 毫秒内没有应答"},
        {ReplyEndMissing, "键盘的回复没有结束"},
        {with(FaultsInvalid), "R"},
        {wrapping(ReportLogNotOpened, TargetIsKept),
         "无法写入报告日志 k.state：它是本次运行要读写的文件，写日志会毁掉它"},
        {wrapping(ReportLogIncomplete, SystemProblem(EIO)), "报告日志 k.state 不完整：输入/输出错误"},
    };
    for (const auto& [problem, expected] : cases)
        EXPECT_EQ(ProblemText(problem, UiLanguage::Chinese), expected) << static_cast<int>(problem.Code);
    EXPECT_EQ(ProblemText(CProblem(HexLineTooLong, 7, 999), UiLanguage::English),
              "line 7: longer than 999 characters");
}
