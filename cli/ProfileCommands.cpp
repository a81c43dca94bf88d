// The profile commands: write a profile to the keyboard, read the keyboard into a profile, and list a
// profile's assignments.
#include "Cli.h"

#include "Files.h"
#include "ProfileJson.h"
#include "ProfileJsonReader.h"
#include "ProfileText.h"
#include "ProgressBar.h"
#include "text/UiTexts.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"
#include "model/AssignmentLabel.h"
#include "model/DeviceBridge.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "model/ProfileShelf.h"
#include "xml/XmlDocument.h"
#include "zelk/FileReplace.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <string_view>

std::unique_ptr<CKeyboardData> NewModel(UiLanguage language) {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->UiLanguage = language;
    data->Clear();
    return data;
}

bool ReadAnyProfile(CKeyboardData& data, const std::string& path) {
    if (const std::string problem = ReadProblem(path); !problem.empty()) {
        Fail("cannot read " + path + ": " + problem);
        return false;
    }
    std::ifstream in(Utf8Path(path), std::ios::binary);
    std::string text(MaxProfileJsonSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        Fail("cannot read " + path);
        return false;
    }
    if (!LooksLikeJson(text)) {
        CProblem problem;
        if (!LoadProfile(data, Utf8Path(path), &problem)) {
            Fail(path + " " + Words(problem));
            return false;
        }
        return true;
    }
    CJsonRefusal refusal;
    if (!ReadProfileJson(text, data, refusal)) {
        Fail(path + ": " + refusal.Line());
        return false;
    }
    return true;
}

bool ReadProfileFile(CKeyboardData& data, const std::string& path) {
    if (const std::string problem = ReadProblem(path); !problem.empty()) {
        Fail("cannot read " + path + ": " + problem);
        return false;
    }
    CProblem problem;
    if (!LoadProfile(data, Utf8Path(path), &problem)) {
        Fail(path + " " + Words(problem));
        return false;
    }
    return true;
}

namespace {

// "the keyboard cannot hold the macro of key 3 (F2) on level 1: the macro is longer than ..."
std::string CannotHold(const CKeyboardData& data, const CKeyRefusal& refusal) {
    const int mode = data.CurrentSettings[refusal.Key][refusal.Level].Mode;
    const std::string kind =
        mode >= 0 && mode < KeyModeCount ? Utf8(ModeName(data, UiLanguage::English, mode)) : "assignment";
    return "the keyboard cannot hold the " + kind + " of key " + KeyName(refusal.Key) + " on level " +
           std::to_string(refusal.Level + 1) + (refusal.Reason ? ": " + Words(refusal.Reason) : "");
}

// The line of the element that gives a key's assignment on a level in a profile file: the last KEY
// element of that key and level, as the loader takes the last; 0 when there is none.
long KeyElementLine(const std::string& path, int key, int level) {
    CXmlDocument document;
    if (!document.LoadFile(Utf8Path(path)) || !document.FindElement(u"Zelk") || !document.EnterElement() ||
        !document.FindElement(u"CurrentSettings") || !document.EnterElement())
        return 0;
    long line = 0;
    while (document.FindElement(u"KEY")) {
        if (LeadingNumber(document.GetAttribute(u"ID")) == key &&
            LeadingNumber(document.GetAttribute(u"Level")) == level)
            line = document.GetLineNumber();
    }
    return line;
}

bool WriteKeys(CKeyboardData& data) {
    CProgressBar bar("Writing key settings", SlotCount - 1);
    CKeyRefusal refusal;
    const bool written = WriteKeysToDevice(data, bar.OnTerminal() ? &bar : nullptr, &refusal);
    bar.Finish();
    if (refusal.Key != 0) {
        Fail(CannotHold(data, refusal) + "; nothing was written");
        return false;
    }
    if (!written) {
        Fail("writing the key settings failed: " + Words(data.HWI.TransferProblem()) +
             "; the keyboard may hold only part of them");
        return false;
    }
    if (!VirtualStateSaved())
        return false;
    std::printf("Key settings written.\n");
    return true;
}

bool WriteLight(CKeyboardData& data) {
    if (!WriteLightToDevice(data)) {
        Fail("writing the backlight failed: " + Words(data.HWI.TransferProblem()));
        return false;
    }
    if (!VirtualStateSaved())
        return false;
    std::printf("Backlight written.\n");
    return true;
}

enum class CWhat { KeysAndLight, Keys, Light };

int WriteProfile(const CCliRun& run, CKeyboardData& data, CWhat what) {
    if (!OpenKeyboard(run, data.HWI))
        return ExitFailure;
    if (what != CWhat::Light && !WriteKeys(data))
        return ExitFailure;
    if (what != CWhat::Keys && !WriteLight(data))
        return ExitFailure;
    return ExitSuccess;
}

int RunWriteProfile(const CCliRun& run, CWhat what) {
    auto data = NewModel(run.Language);
    if (!ReadProfileFile(*data, run.Arguments[0]))
        return ExitFailure;
    return WriteProfile(run, *data, what);
}

// "<kind> <label>" in the info panel's words, for one level.
std::string LevelText(const CKeyboardData& data, int key, int level) {
    const char* heading =
        Text(level == 0 ? TextId::LevelOneHeading : TextId::LevelTwoHeading, data.UiLanguage);
    std::string text = heading + Utf8(ModeName(data, data.UiLanguage, data.CurrentSettings[key][level].Mode));
    const std::u16string label = AssignmentLabel(data, key, level);
    if (!label.empty())
        text += " " + Utf8(label);
    return text;
}

} // namespace

int RunWrite(const CCliRun& run) {
    return RunWriteProfile(run, CWhat::KeysAndLight);
}

int RunWriteKeys(const CCliRun& run) {
    return RunWriteProfile(run, CWhat::Keys);
}

int RunWriteLight(const CCliRun& run) {
    return RunWriteProfile(run, CWhat::Light);
}

namespace {

// "Key settings written." or "... already on the keyboard.", and the same of the backlight.
void SayApplied(const CApplyResult& result, const std::string& name) {
    if (result.AlreadyHeld()) {
        std::printf("The keyboard already holds %s; nothing was written.\n", name.c_str());
        return;
    }
    std::printf(result.KeysWritten ? "Key settings written.\n" : "Key settings already on the keyboard.\n");
    std::printf(result.LightWritten ? "Backlight written.\n" : "Backlight already on the keyboard.\n");
}

int FailToApply(const CApplyResult& result) {
    switch (result.Failure) {
    case CApplyFailure::ReadKeys:
        return Fail("reading the key settings failed; nothing was written");
    case CApplyFailure::ReadLight:
        return Fail("reading the backlight failed; nothing was written");
    case CApplyFailure::WriteKeys:
        if (result.Refusal.Key != 0)
            return Fail("the keyboard cannot hold the assignment of key " + KeyName(result.Refusal.Key) +
                        " on level " + std::to_string(result.Refusal.Level + 1) + "; nothing was written");
        return Fail("writing the key settings failed; the keyboard may hold only part of them");
    case CApplyFailure::WriteLight:
        return Fail("writing the backlight failed");
    case CApplyFailure::Refused:
    case CApplyFailure::None:
        break;
    }
    return ExitFailure;
}

} // namespace

int RunApply(const CCliRun& run) {
    std::string path = run.Arguments[0];
    std::string shown = path;
    auto data = NewModel(run.Language);
    CProblem problem;
    if (!NamesAFile(path)) {
        const std::filesystem::path shelf = ProfileShelfFolder();
        // A name the shelf lacks may still be a file here, as apply took before the shelf.
        std::filesystem::path file;
        const bool onShelf = LoadShelfProfile(shelf, path, *data, problem, &file);
        const bool fileInstead =
            !onShelf &&
            (problem.Code == ProblemCode::ShelfProfileMissing || problem.Code == ProblemCode::ShelfMissing) &&
            ReadProblem(path).empty();
        if (!onShelf && !fileInstead)
            return FailOnShelf(path, problem);
        if (onShelf) {
            shown = "\"" + path + "\"";
            path = Utf8PathText(file);
        }
    }
    if (shown == path && !ReadAnyProfile(*data, path))
        return ExitFailure;
    // Checked whole before anything is sent. A JSON document was held to import's rules as it was read;
    // a profile file is sent as write sends it, unless the keyboard cannot hold an assignment of it,
    // which is named with its element's line.
    if (const CKeyRefusal refused = FirstUnsendableAssignment(*data); refused.Key != 0) {
        const long line = KeyElementLine(path, refused.Key, refused.Level);
        return Fail(path + (line > 0 ? ":" + std::to_string(line) : "") + ": " + CannotHold(*data, refused) +
                    "; nothing was written");
    }
    CCliRun opened = run;
    opened.Arguments = {path};
    if (!OpenKeyboard(opened, data->HWI))
        return ExitFailure;
    // Filled once by the read, and once more by the key settings' write when they differ.
    CProgressBar bar("Applying " + shown, SlotCount - 1);
    const CApplyResult result =
        ApplyProfile(data->HWI, ProfileToApply(*data), bar.OnTerminal() ? &bar : nullptr);
    bar.Finish();
    if (!result.Succeeded())
        return FailToApply(result);
    if (!result.AlreadyHeld() && !VirtualStateSaved())
        return ExitFailure;
    SayApplied(result, shown);
    return ExitSuccess;
}

bool SaveKeyboardProfile(CKeyboardData& data, const std::string& path, const std::string& notRead,
                         const std::string& notWritten) {
    CProgressBar bar("Reading key settings", SlotCount - 1);
    const bool keysRead = ReadKeysFromDevice(data, bar.OnTerminal() ? &bar : nullptr);
    bar.Finish();
    if (!keysRead) {
        Fail("reading the key settings failed: " + Words(data.HWI.TransferProblem()) + notRead);
        return false;
    }
    if (!ReadLightFromDevice(data)) {
        Fail("reading the backlight failed: " + Words(data.HWI.TransferProblem()) + notRead);
        return false;
    }
    CProblem problem;
    if (!SaveProfile(data, Utf8Path(path), &problem)) {
        Fail("cannot write " + path + ": " + Words(problem) + notWritten);
        return false;
    }
    return true;
}

int RunRead(const CCliRun& run) {
    const std::string& path = run.Arguments[0];
    auto data = NewModel(run.Language);
    if (!OpenKeyboard(run, data->HWI))
        return ExitFailure;
    if (!SaveKeyboardProfile(*data, path, "; nothing was saved", ""))
        return ExitFailure;
    std::printf("Key settings and backlight saved to %s\n", path.c_str());
    return ExitSuccess;
}

int RunShow(const CCliRun& run) {
    auto data = NewModel(run.Language);
    if (!ReadProfileFile(*data, run.Arguments[0]))
        return ExitFailure;
    if (run.Json) {
        const std::string json = ProfileJson(*data);
        std::fwrite(json.data(), 1, json.size(), stdout);
        return ExitSuccess; // whether it reached stdout is checked for every command at the end
    }
    for (int key = 1; key <= KeyCount; ++key) {
        std::printf("%2d %-12s  %s   %s\n", key, KeyCaption(key), LevelText(*data, key, 0).c_str(),
                    LevelText(*data, key, 1).c_str());
    }
    return ExitSuccess;
}
