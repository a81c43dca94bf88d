#include "text/ProblemTexts.h"

#include "text/UiTexts.h"

#include <cerrno>
#include <cstring>

namespace {

// The row of the text table for each code. The switch names every code, so a code without a text
// does not build.
TextId TextOfCode(ProblemCode code) {
    switch (code) {
    case ProblemCode::None:
        return TextId::None;
    case ProblemCode::FileSystemError:
        return TextId::ProblemSystemError;
    case ProblemCode::FileIsFolder:
        return TextId::ProblemFileIsFolder;
    case ProblemCode::FileNotRegular:
        return TextId::ProblemFileNotRegular;
    case ProblemCode::FileTooLarge:
        return TextId::ProblemFileTooLarge;
    case ProblemCode::FirmwareFileTooLarge:
        return TextId::ProblemFirmwareFileTooLarge;
    case ProblemCode::ProfileUnreadable:
        return TextId::ProblemProfileUnreadable;
    case ProblemCode::ProfileTooManyElements:
        return TextId::ProblemProfileTooManyElements;
    case ProblemCode::ProfileNotZelk:
        return TextId::ProblemProfileNotZelk;
    case ProblemCode::ProfileCutShort:
        return TextId::ProblemProfileCutShort;
    case ProblemCode::ProfileNestedTooDeep:
        return TextId::ProblemProfileNestedTooDeep;
    case ProblemCode::ProfileItemGaps:
        return TextId::ProblemProfileItemGaps;
    case ProblemCode::ProfileOutOfMemory:
        return TextId::ProblemProfileOutOfMemory;
    case ProblemCode::FileOutOfMemory:
        return TextId::ProblemFileOutOfMemory;
    case ProblemCode::FileReadIncomplete:
        return TextId::ProblemFileReadIncomplete;
    case ProblemCode::TargetNotRegular:
        return TextId::ProblemTargetNotRegular;
    case ProblemCode::TargetIsKept:
        return TextId::ProblemTargetIsKept;
    case ProblemCode::ProfileNotEncoded:
        return TextId::ProblemProfileNotEncoded;
    case ProblemCode::HexNotIntelHex:
        return TextId::ProblemHexNotIntelHex;
    case ProblemCode::HexLineEndsWithLfAlone:
        return TextId::ProblemHexLineEndsWithLfAlone;
    case ProblemCode::HexLineEndMissing:
        return TextId::ProblemHexLineEndMissing;
    case ProblemCode::HexRecordAfterEmptyLine:
        return TextId::ProblemHexRecordAfterEmptyLine;
    case ProblemCode::HexRecordAfterEndRecord:
        return TextId::ProblemHexRecordAfterEndRecord;
    case ProblemCode::HexLineTooLong:
        return TextId::ProblemHexLineTooLong;
    case ProblemCode::HexColonMissing:
        return TextId::ProblemHexColonMissing;
    case ProblemCode::HexNotHexadecimal:
        return TextId::ProblemHexNotHexadecimal;
    case ProblemCode::HexOddDigits:
        return TextId::ProblemHexOddDigits;
    case ProblemCode::HexWrongChecksum:
        return TextId::ProblemHexWrongChecksum;
    case ProblemCode::HexRecordTooLong:
        return TextId::ProblemHexRecordTooLong;
    case ProblemCode::HexEndRecordMissing:
        return TextId::ProblemHexEndRecordMissing;
    case ProblemCode::KeyboardNotPermitted:
        return TextId::ProblemKeyboardNotPermitted;
    case ProblemCode::KeyboardRuleNotApplied:
        return TextId::ProblemKeyboardRuleNotApplied;
    case ProblemCode::KeyboardNotOpened:
        return TextId::ProblemKeyboardNotOpened;
    case ProblemCode::KeyboardNotOpenedBecause:
        return TextId::ProblemKeyboardNotOpenedBecause;
    case ProblemCode::KeyboardHeldElsewhere:
        return TextId::ProblemKeyboardHeldElsewhere;
    case ProblemCode::StateFileNotRegular:
        return TextId::ProblemStateFileNotRegular;
    case ProblemCode::StateFileUnreadable:
        return TextId::ProblemStateFileUnreadable;
    case ProblemCode::StateFileTooLarge:
        return TextId::ProblemStateFileTooLarge;
    case ProblemCode::StateFileReadIncomplete:
        return TextId::ProblemStateFileReadIncomplete;
    case ProblemCode::StateFileReadOnly:
        return TextId::ProblemStateFileReadOnly;
    case ProblemCode::StateFileForeign:
        return TextId::ProblemStateFileForeign;
    case ProblemCode::StateFileDamaged:
        return TextId::ProblemStateFileDamaged;
    case ProblemCode::StateFileCutShort:
        return TextId::ProblemStateFileCutShort;
    case ProblemCode::StateFileNotLocked:
        return TextId::ProblemStateFileNotLocked;
    case ProblemCode::StateFileNotWritten:
        return TextId::ProblemStateFileNotWritten;
    case ProblemCode::CombinationEmpty:
        return TextId::ProblemCombinationEmpty;
    case ProblemCode::EmulationEmpty:
        return TextId::ProblemEmulationEmpty;
    case ProblemCode::CombinationTooLong:
        return TextId::ProblemCombinationTooLong;
    case ProblemCode::EmulationTooLong:
        return TextId::ProblemEmulationTooLong;
    case ProblemCode::MacroDelayWithFixedInterval:
        return TextId::ProblemMacroDelayWithFixedInterval;
    case ProblemCode::MacroDelayExpected:
        return TextId::ProblemMacroDelayExpected;
    case ProblemCode::MacroStepExpected:
        return TextId::ProblemMacroStepExpected;
    case ProblemCode::MacroEndsWithDelay:
        return TextId::ProblemMacroEndsWithDelay;
    case ProblemCode::MacroTooLong:
        return TextId::ProblemMacroTooLong;
    case ProblemCode::PlayModeUnknown:
        return TextId::ProblemPlayModeUnknown;
    case ProblemCode::KeyboardNotConnected:
        return TextId::ProblemKeyboardNotConnected;
    case ProblemCode::TransferRunning:
        return TextId::ProblemTransferRunning;
    case ProblemCode::ReportNotSent:
        return TextId::ProblemReportNotSent;
    case ProblemCode::ReportNotReceived:
        return TextId::ProblemReportNotReceived;
    case ProblemCode::NoReply:
        return TextId::ProblemNoReply;
    case ProblemCode::ReplyEndMissing:
        return TextId::ProblemReplyEndMissing;
    case ProblemCode::FaultsInvalid:
        return TextId::ProblemFaultsInvalid;
    case ProblemCode::ReportLogNotOpened:
        return TextId::ProblemReportLogNotOpened;
    case ProblemCode::ReportLogIncomplete:
        return TextId::ProblemReportLogIncomplete;
    case ProblemCode::ShelfMissing:
        return TextId::ProblemShelfMissing;
    case ProblemCode::ShelfUnreadable:
        return TextId::ProblemShelfUnreadable;
    case ProblemCode::ShelfNameInvalid:
        return TextId::ProblemShelfNameInvalid;
    case ProblemCode::ShelfProfileMissing:
        return TextId::ProblemShelfProfileMissing;
    case ProblemCode::ShelfProfileExists:
        return TextId::ProblemShelfProfileExists;
    case ProblemCode::ShelfNameDiffersInCase:
        return TextId::ProblemShelfNameDiffersInCase;
    }
    return TextId::None;
}

// The system's errors a user meets with files, in Chinese; the rest keep the system's own words.
struct CSystemErrorText {
    int Error;
    const char* Chinese;
};
constexpr CSystemErrorText ChineseSystemErrors[] = {
    {ENOENT, "没有那个文件或目录"},
    {EACCES, "权限不够"},
    {EPERM, "不允许的操作"},
    {EISDIR, "它是文件夹"},
    {ENOTDIR, "路径中有一项不是文件夹"},
    {EROFS, "文件系统是只读的"},
    {ENOSPC, "设备上没有空间"},
    {EIO, "输入/输出错误"},
    {ELOOP, "符号链接层数过多"},
    {ENAMETOOLONG, "文件名过长"},
    {EBUSY, "设备或资源忙"},
    {EEXIST, "文件已存在"},
};

std::string SystemErrorText(int error, UiLanguage language) {
    if (language == UiLanguage::Chinese)
        for (const CSystemErrorText& known : ChineseSystemErrors)
            if (known.Error == error)
                return known.Chinese;
    const char* words = std::strerror(error);
    return words != nullptr ? words : "error " + std::to_string(error);
}

} // namespace

std::string ProblemText(const CProblem& problem, UiLanguage language) {
    const std::string text = Text(TextOfCode(problem.Code), language);
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%' || at + 1 == text.size()) {
            out += text[at];
            continue;
        }
        switch (text[++at]) {
        case 'L':
            out += std::to_string(problem.Line);
            break;
        case 'N':
            out += std::to_string(problem.Limit);
            break;
        case 'I':
            out += std::to_string(problem.Item);
            break;
        case 'K':
            out += std::to_string(problem.Count);
            break;
        case 'S':
            out += std::to_string(problem.Size);
            break;
        case 'M':
            out += std::to_string(problem.Limit >> 20);
            break;
        case 'P':
            out += problem.Path;
            break;
        case 'D':
            out += problem.Detail;
            break;
        case 'C':
            out += ProblemText(problem.CauseAlone(), language);
            break;
        case 'E':
            out += SystemErrorText(problem.SystemError, language);
            break;
        default:
            out += '%';
            out += text[at];
        }
    }
    return out;
}

std::string ProblemTextInEveryLanguage(const CProblem& problem) {
    std::string text;
    for (std::size_t language = 0; language < UiLanguageCount; ++language) {
        if (language > 0)
            text += '\n';
        text += ProblemText(problem, static_cast<UiLanguage>(language));
    }
    return text;
}
