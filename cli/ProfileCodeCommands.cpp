// Profiles as code: import a profile from JSON, change one key of a profile, compare two profiles.
#include "Cli.h"

#include "ProfileJson.h"
#include "ProfileJsonReader.h"
#include "ProfileLayout.h"
#include "ProfileText.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "model/KeyboardRules.h"
#include "model/Profile.h"
#include "zelk/FileReplace.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

using nlohmann::json;

namespace {

int UsageFailure(const std::string& message) {
    std::fprintf(stderr, "zelk-cli: %s; see 'zelk-cli --help'\n", message.c_str());
    return ExitUsage;
}

bool SaveProfileFile(const CKeyboardData& data, const std::string& path) {
    CProblem problem;
    if (SaveProfile(data, Utf8Path(path), &problem))
        return true;
    Fail("cannot write " + path + ": " + Words(problem));
    return false;
}

// The profile set changes: the file when it exists, else the empty profile.
bool ReadOrNewProfile(CKeyboardData& data, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(Utf8Path(path), error)) {
        ClearProfile(data);
        return true;
    }
    return ReadProfileFile(data, path);
}

// A key on the command line: its number (1..87) or its legend.
int KeyArgument(const std::string& text) {
    if (!text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string::npos) {
        const int number = std::stoi(text);
        return number >= 1 && number <= KeyCount ? number : 0;
    }
    return KeyOfLegend(text);
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos;
}

// The options set takes besides its words: --level, and the play settings of a defined entry.
struct CSetWords {
    std::vector<std::string> Words;
    std::map<std::string, std::string> Options;
};

bool SplitSetWords(const std::vector<std::string>& arguments, CSetWords& split, std::string& error) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--level" || word == "--cycles" || word == "--interval" || word == "--play-mode") {
            if (i + 1 >= arguments.size()) {
                error = word + " needs a value";
                return false;
            }
            if (!IsNumber(arguments[i + 1])) {
                error = word + " takes a number, not '" + arguments[i + 1] + "'";
                return false;
            }
            split.Options[word] = arguments[++i];
        } else {
            split.Words.push_back(word);
        }
    }
    return true;
}

int Define(CKeyboardData& data, int mode, const CSetWords& set) {
    const char* option = mode == ModeCombo   ? "--define-combo"
                         : mode == ModeMacro ? "--define-macro"
                                             : "--define-emulation";
    if (set.Words.size() < 3)
        return UsageFailure(std::string(option) + " needs a name and at least one item");
    json entry = {{"name", set.Words[1]}, {"items", json::array()}};
    for (std::size_t i = 2; i < set.Words.size(); ++i)
        entry["items"].push_back(set.Words[i]);
    for (const auto& [name, value] : set.Options) {
        if (name == "--cycles" && mode == ModeMacro)
            entry["cycles"] = std::stoll(value);
        else if (name == "--play-mode" && mode == ModeMacro)
            entry["play_mode"] = std::stoll(value);
        else if (name == "--interval" && mode != ModeCombo)
            entry["delay"] = std::stoll(value), entry["auto_interval"] = mode == ModeMacro ? true : false;
        else
            return UsageFailure(name + " does not go with " + option);
    }
    std::u16string name;
    CActionList content;
    CJsonRefusal refusal;
    if (!ReadEntryJson(entry, data, mode, name, content, refusal))
        return Fail(std::string(option) + " " + set.Words[1] + ": " + refusal.Line());
    CActionList& catalogue = mode == ModeCombo   ? data.PredefinedCombo
                             : mode == ModeMacro ? data.PredefinedMacro
                                                 : data.PredefinedEmu;
    const int found = catalogue.IndexOfText(name);
    if (found >= 0) {
        const auto index = static_cast<std::size_t>(found);
        catalogue.SubLists.resize(std::max(catalogue.SubLists.size(), index + 1),
                                  BlankList(catalogue.SizeOfView));
        catalogue.SubLists[index] = content;
    } else {
        catalogue.List.push_back(name);
        catalogue.SubLists.resize(catalogue.List.size() - 1, BlankList(catalogue.SizeOfView));
        catalogue.SubLists.push_back(content);
    }
    return ExitSuccess;
}

int SetColour(CKeyboardData& data, const CSetWords& set) {
    if (set.Words.size() != 3 || !set.Options.empty())
        return UsageFailure("--colour needs a key and a colour: --colour KEY #rrggbb");
    const int key = KeyArgument(set.Words[1]);
    if (key == 0)
        return Fail("no key \"" + set.Words[1] + "\"");
    CJsonRefusal refusal;
    if (!ReadColourJson(set.Words[2], data.BackgroundLightSettings[static_cast<std::size_t>(key)], refusal))
        return Fail("key " + KeyName(key) + " colour: " + refusal.Line());
    return ExitSuccess;
}

int SetAssignment(CKeyboardData& data, const CSetWords& set) {
    if (set.Words.size() < 2)
        return UsageFailure("set needs a key and a kind: set PROFILE.pro KEY KIND [VALUE...]");
    for (const auto& [name, value] : set.Options) {
        if (name != "--level")
            return UsageFailure(name + " goes with --define-macro or --define-emulation only");
    }
    const auto level = set.Options.find("--level");
    if (level != set.Options.end() && level->second != "1" && level->second != "2")
        return UsageFailure("--level is 1 or 2");
    const int levelIndex = level == set.Options.end() ? 0 : std::stoi(level->second) - 1;
    const int key = KeyArgument(set.Words[0]);
    if (key == 0)
        return Fail("no key \"" + set.Words[0] + "\"");
    const std::string& kind = set.Words[1];
    const int mode = KindOfName(kind);
    const std::size_t values = mode == ModeNotSet ? 0 : 1;
    if (mode >= 0 && set.Words.size() != 2 + values)
        return UsageFailure(
            values == 0 ? "none takes no value"
                        : kind + " takes one value: " +
                              (KindTakesList(mode) ? "the name of a catalogue entry" : "a name or a code"));
    json assignment = {{"kind", kind}};
    if (set.Words.size() > 2) {
        const std::string& value = set.Words[2];
        if (KindTakesList(mode))
            assignment["entry"] = value;
        else
            assignment["code"] = value;
    }
    auto& levels = data.CurrentSettings[static_cast<std::size_t>(key)];
    KeySetting& setting = levels[static_cast<std::size_t>(levelIndex)];
    KeySetting changed;
    CJsonRefusal refusal;
    bool read = ReadLevelJson(assignment, data, key, changed, refusal);
    if (!read && assignment.contains("code") && IsNumber(set.Words[2])) {
        // Not a name: the code itself.
        CJsonRefusal asName = refusal;
        assignment["code"] = std::stoll(set.Words[2]);
        read = ReadLevelJson(assignment, data, key, changed, refusal);
        if (!read)
            refusal = asName;
    }
    if (!read)
        return Fail("key " + KeyName(key) + " level " + std::to_string(levelIndex + 1) + ": " +
                    refusal.Reason);
    // As the editor does: a kind with a code keeps the key's list, a kind with a list keeps its code.
    setting.Mode = changed.Mode;
    if (KindTakesList(changed.Mode))
        setting.ComboKey = changed.ComboKey;
    else if (changed.Mode != ModeNotSet)
        setting.HWCode = changed.HWCode;
    if (changed.Mode == ModeFunction && changed.HWCode == FnCode) {
        // The layer key works only when the key carries it on both levels.
        KeySetting& other = levels[static_cast<std::size_t>(1 - levelIndex)];
        other.Mode = ModeFunction;
        other.HWCode = FnCode;
    }
    return ExitSuccess;
}

// What the keyboard is given for one level, in words, for diff.
std::string Assignment(const CKeyboardData& data, const KeySetting& setting) {
    const std::string kind = KindName(setting.Mode);
    if (setting.Mode == ModeNotSet)
        return kind;
    if (setting.Mode != ModeCombo && setting.Mode != ModeMacro && setting.Mode != ModeEmulation)
        return kind + " " + Utf8(DeviceCodeLabel(data, setting.HWCode)) + " (" +
               std::to_string(setting.HWCode) + ")";
    std::string text = kind + " [";
    for (std::size_t i = 0; i < setting.ComboKey.List.size(); ++i)
        text += (i == 0 ? "" : ", ") + Utf8(setting.ComboKey.List[i]);
    text += "]";
    const CActionList& list = setting.ComboKey;
    if (setting.Mode == ModeEmulation)
        text += " interval " + std::to_string(list.Delay) + " ms";
    if (setting.Mode == ModeMacro)
        text += std::string(list.IsAutoInterval ? " interval " + std::to_string(list.Delay) + " ms"
                                                : " recorded delays") +
                ", play mode " + std::to_string(list.PlayMode) + ", cycles " + std::to_string(list.Cycles);
    return text;
}

std::string Colour(const AreaLight& light) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", light.Red & 0xFF, light.Green & 0xFF,
                  light.Blue & 0xFF);
    return text;
}

int DiffEntries(const CKeyboardData& a, const CKeyboardData& b, int mode, const char* noun) {
    const auto catalogue = [mode](const CKeyboardData& data) -> const CActionList& {
        return mode == ModeCombo   ? data.PredefinedCombo
               : mode == ModeMacro ? data.PredefinedMacro
                                   : data.PredefinedEmu;
    };
    // Each entry in words, by name; the first of two entries with one name counts.
    const auto entries = [&](const CKeyboardData& data) {
        std::map<std::u16string, std::string> words;
        const CActionList& list = catalogue(data);
        for (std::size_t i = 0; i < list.List.size(); ++i) {
            KeySetting setting{mode, 0, i < list.SubLists.size() ? list.SubLists[i] : CActionList{}};
            words.emplace(list.List[i],
                          Assignment(data, setting).substr(std::string(KindName(mode)).size() + 1));
        }
        return words;
    };
    const auto inA = entries(a);
    const auto inB = entries(b);
    std::map<std::u16string, std::pair<std::string, std::string>> both;
    for (const auto& [name, words] : inA)
        both[name].first = words;
    for (const auto& [name, words] : inB)
        both[name].second = words;
    int differences = 0;
    for (const auto& [name, pair] : both) {
        if (pair.first == pair.second)
            continue;
        ++differences;
        std::printf("%s \"%s\": %s -> %s\n", noun, Utf8(name).c_str(),
                    pair.first.empty() ? "(none)" : pair.first.c_str(),
                    pair.second.empty() ? "(none)" : pair.second.c_str());
    }
    return differences;
}

} // namespace

int RunImport(const CCliRun& run) {
    auto data = NewModel(run.Language);
    if (!ReadAnyProfile(*data, run.Arguments[0]))
        return ExitFailure;
    if (!SaveProfileFile(*data, run.Arguments[1]))
        return ExitFailure;
    std::printf("Profile saved to %s\n", run.Arguments[1].c_str());
    return ExitSuccess;
}

int RunSet(const CCliRun& run) {
    if (run.Arguments.size() < 2)
        return UsageFailure("set needs a profile and what to set: set PROFILE.pro KEY KIND [VALUE...]");
    CSetWords set;
    std::string error;
    if (!SplitSetWords(run.Arguments, set, error))
        return UsageFailure(error);
    if (set.Words.empty())
        return UsageFailure("set needs a key and a kind: set PROFILE.pro KEY KIND [VALUE...]");
    const std::string& path = run.Arguments[0];
    auto data = NewModel(run.Language);
    if (!ReadOrNewProfile(*data, path))
        return ExitFailure;
    const std::string& first = set.Words[0];
    const int status = first == "--define-combo"       ? Define(*data, ModeCombo, set)
                       : first == "--define-macro"     ? Define(*data, ModeMacro, set)
                       : first == "--define-emulation" ? Define(*data, ModeEmulation, set)
                       : first == "--colour"           ? SetColour(*data, set)
                                                       : SetAssignment(*data, set);
    if (status != ExitSuccess)
        return status;
    return SaveProfileFile(*data, path) ? ExitSuccess : ExitFailure;
}

int RunDiff(const CCliRun& run) {
    // As diff does: 0 the same, 1 different, 2 trouble.
    auto a = NewModel(UiLanguage::English);
    auto b = NewModel(UiLanguage::English);
    if (!ReadAnyProfile(*a, run.Arguments[0]) || !ReadAnyProfile(*b, run.Arguments[1]))
        return ExitUsage;
    int differences = 0;
    for (int key = 1; key <= KeyCount; ++key) {
        const auto k = static_cast<std::size_t>(key);
        for (int level = 0; level < LevelCount; ++level) {
            const auto l = static_cast<std::size_t>(level);
            const std::string was = Assignment(*a, a->CurrentSettings[k][l]);
            const std::string is = Assignment(*b, b->CurrentSettings[k][l]);
            if (was != is) {
                ++differences;
                std::printf("key %s level %d: %s -> %s\n", KeyName(key).c_str(), level + 1, was.c_str(),
                            is.c_str());
            }
        }
        const std::string was = Colour(a->BackgroundLightSettings[k]);
        const std::string is = Colour(b->BackgroundLightSettings[k]);
        if (was != is) {
            ++differences;
            std::printf("key %s colour: %s -> %s\n", KeyName(key).c_str(), was.c_str(), is.c_str());
        }
    }
    differences += DiffEntries(*a, *b, ModeCombo, "combination");
    differences += DiffEntries(*a, *b, ModeMacro, "macro");
    differences += DiffEntries(*a, *b, ModeEmulation, "emulation");
    if (std::fflush(stdout) != 0)
        return ExitUsage;
    return differences == 0 ? ExitSuccess : ExitFailure;
}
