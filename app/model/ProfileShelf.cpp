#include "model/ProfileShelf.h"

#include "model/Profile.h"
#include "zelk/FileReplace.h"
#include "zelk/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view ProfileSuffix = ".pro";

// Letters of the Latin alphabet folded to lower case; other scripts keep their case, as the shelf has
// no table of their folding.
std::string FoldedCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool EndsWithSuffix(std::string_view file) {
    return file.size() > ProfileSuffix.size() &&
           FoldedCase(file.substr(file.size() - ProfileSuffix.size())) == ProfileSuffix;
}

CProblem ShelfProblem(ProblemCode code, const std::filesystem::path& shelf, const std::string& name = {}) {
    CProblem problem(code);
    problem.Path = Utf8PathText(shelf);
    problem.Detail = name;
    return problem;
}

// The names and files of the shelf, unchecked, in the order of their names.
bool ShelfFiles(const std::filesystem::path& shelf, std::vector<CShelfProfile>& profiles, CProblem& problem) {
    profiles.clear();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(shelf, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        problem = ShelfProblem(ProblemCode::ShelfMissing, shelf);
        return false;
    }
    if (!error && status.type() != std::filesystem::file_type::directory)
        error = std::make_error_code(std::errc::not_a_directory);
    std::filesystem::directory_iterator entry;
    if (!error)
        entry = std::filesystem::directory_iterator(shelf, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string file = Utf8PathText(entry->path().filename());
        std::error_code ignored;
        if (file.front() == '.' || !EndsWithSuffix(file) || entry->is_directory(ignored))
            continue;
        profiles.push_back({file.substr(0, file.size() - ProfileSuffix.size()), entry->path(), {}, {}});
    }
    if (error) {
        profiles.clear();
        problem = ShelfProblem(ProblemCode::ShelfUnreadable, shelf);
        problem.Cause = ProblemCode::FileSystemError;
        problem.SystemError = error.value();
        return false;
    }
    std::sort(profiles.begin(), profiles.end(),
              [](const CShelfProfile& a, const CShelfProfile& b) { return a.Name < b.Name; });
    for (CShelfProfile& profile : profiles) {
        for (const CShelfProfile& other : profiles)
            if (&other != &profile && FoldedCase(other.Name) == FoldedCase(profile.Name))
                profile.SameButCase = other.Name;
    }
    return true;
}

// The profile of exactly that name; null with problem set when there is none.
const CShelfProfile* Named(const std::vector<CShelfProfile>& profiles, const std::filesystem::path& shelf,
                           const std::string& name, CProblem& problem) {
    for (const CShelfProfile& profile : profiles)
        if (profile.Name == name)
            return &profile;
    for (const CShelfProfile& profile : profiles)
        if (FoldedCase(profile.Name) == FoldedCase(name)) {
            problem = ShelfProblem(ProblemCode::ShelfNameDiffersInCase, shelf, profile.Name);
            return nullptr;
        }
    problem = ShelfProblem(ProblemCode::ShelfProfileMissing, shelf, name);
    return nullptr;
}

// Where a profile of that name goes: refused when the name is invalid, a profile of that name is there
// and may not be replaced, or one differs from it only in case.
bool ShelfTarget(const std::filesystem::path& shelf, const std::string& name, bool replace,
                 std::filesystem::path& target, CProblem& problem) {
    if (CProblem invalid = ShelfNameProblem(name); invalid) {
        problem = std::move(invalid);
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(shelf, error);
    std::vector<CShelfProfile> profiles;
    if (error && !std::filesystem::is_directory(shelf)) {
        problem = ShelfProblem(ProblemCode::ShelfUnreadable, shelf);
        problem.Cause = ProblemCode::FileSystemError;
        problem.SystemError = error.value();
        return false;
    }
    if (!ShelfFiles(shelf, profiles, problem))
        return false;
    CProblem absent;
    if (const CShelfProfile* same = Named(profiles, shelf, name, absent)) {
        if (!replace) {
            problem = ShelfProblem(ProblemCode::ShelfProfileExists, shelf, name);
            return false;
        }
        target = same->File;
        return true;
    }
    if (absent.Code == ProblemCode::ShelfNameDiffersInCase) {
        problem = std::move(absent);
        return false;
    }
    target = shelf / Utf8Path(name + std::string(ProfileSuffix));
    return true;
}

// The keyboard keeps a byte of each colour, as the light area is sent.
bool SameLight(const CLightArea& sent, const CLightArea& held) {
    for (std::size_t i = 0; i < sent.size(); ++i)
        if ((sent[i] & 0xFF) != held[i])
            return false;
    return true;
}

} // namespace

std::string Utf8PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path ProfileShelfFolder() {
#if defined(_WIN32)
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0')
        return {};
    return std::filesystem::path(appData) / L"Zelk" / L"profiles";
#else
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // The base directory convention: a relative path is to be ignored.
    if (dataHome != nullptr && dataHome[0] == '/')
        return std::filesystem::path(dataHome) / "zelk" / "profiles";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return {};
    return std::filesystem::path(home) / ".local" / "share" / "zelk" / "profiles";
#endif
}

CProblem ShelfNameProblem(const std::string& name) {
    const auto refused = [](unsigned char c) {
        return c < 0x20 || c == 0x7F ||
               std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
    };
    if (name.empty() || name.front() == '.' || std::any_of(name.begin(), name.end(), refused)) {
        CProblem problem(ProblemCode::ShelfNameInvalid);
        problem.Detail = name;
        return problem;
    }
    return {};
}

bool ListProfileShelf(const std::filesystem::path& shelf, CKeyboardData& scratch,
                      std::vector<CShelfProfile>& profiles, CProblem& problem) {
    if (!ShelfFiles(shelf, profiles, problem))
        return false;
    for (CShelfProfile& profile : profiles)
        LoadProfile(scratch, profile.File, &profile.Damage);
    return true;
}

bool LoadShelfProfile(const std::filesystem::path& shelf, const std::string& name, CKeyboardData& data,
                      CProblem& problem, std::filesystem::path* file) {
    if (CProblem invalid = ShelfNameProblem(name); invalid) {
        problem = std::move(invalid);
        return false;
    }
    std::vector<CShelfProfile> profiles;
    if (!ShelfFiles(shelf, profiles, problem))
        return false;
    const CShelfProfile* profile = Named(profiles, shelf, name, problem);
    if (profile == nullptr)
        return false;
    if (file != nullptr)
        *file = profile->File;
    return LoadProfile(data, profile->File, &problem);
}

bool SaveProfileToShelf(const std::filesystem::path& shelf, const CKeyboardData& data,
                        const std::string& name, bool replace, CProblem& problem) {
    std::filesystem::path target;
    return ShelfTarget(shelf, name, replace, target, problem) && SaveProfile(data, target, &problem);
}

bool CopyProfileToShelf(const std::filesystem::path& shelf, const std::filesystem::path& file,
                        const std::string& name, bool replace, CKeyboardData& scratch, CProblem& problem) {
    if (!LoadProfile(scratch, file, &problem))
        return false;
    std::uintmax_t size = 0;
    std::FILE* in = OpenRegularFileForReading(file, size, problem);
    if (in == nullptr)
        return false;
    std::string contents(static_cast<std::size_t>(size), '\0');
    const std::size_t read = std::fread(contents.data(), 1, contents.size(), in);
    const bool whole = read == contents.size() && std::fgetc(in) == EOF && !std::ferror(in);
    std::fclose(in);
    if (!whole) {
        problem = ProblemCode::FileReadIncomplete; // changed while it was copied
        return false;
    }
    std::filesystem::path target;
    return ShelfTarget(shelf, name, replace, target, problem) &&
           ReplaceFileContents(target, contents, problem);
}

CProfileToApply ProfileToApply(const CKeyboardData& data) {
    return {KeyDefinitionsToSend(data), LightAreaToSend(data), FirstUnsendableAssignment(data)};
}

std::string ShelfProfileSendingTheSame(const std::filesystem::path& shelf, const CKeyboardData& data,
                                       CKeyboardData& scratch) {
    std::vector<CShelfProfile> profiles;
    CProblem problem;
    if (!ShelfFiles(shelf, profiles, problem))
        return {};
    const CProfileToApply sent = ProfileToApply(data);
    const auto same = [](const CKeyDefinitionToSend& a, const CKeyDefinitionToSend& b) {
        return a.Level == b.Level && a.Key == b.Key && a.Array == b.Array;
    };
    for (const CShelfProfile& profile : profiles) {
        if (!LoadProfile(scratch, profile.File, &problem))
            continue;
        const CProfileToApply other = ProfileToApply(scratch);
        if (other.Light == sent.Light &&
            std::equal(other.Keys.begin(), other.Keys.end(), sent.Keys.begin(), sent.Keys.end(), same))
            return profile.Name;
    }
    return {};
}

bool KeyboardHoldsProfile(CMorvHWI& hwi, const CKeyboardReadBack& held, const CProfileToApply& profile) {
    if (!SameLight(profile.Light, held.Light))
        return false;
    // The library's own table, filled with the profile's definitions, gives them in the form a read
    // gives what the keyboard holds; it sends nothing.
    if (profile.Refusal.Key != 0 || !hwi.prepare())
        return false;
    for (const CKeyDefinitionToSend& definition : profile.Keys)
        if (!hwi.setKeyConfiguration(definition.Level, definition.Key, definition.Array.data(),
                                     static_cast<int>(definition.Array.size())))
            return false;
    std::vector<std::vector<int>> table;
    return TableOfLibrary(hwi, table) && table == held.Definitions;
}

CApplyResult ApplyProfile(CMorvHWI& hwi, const CProfileToApply& profile, CMessageTarget* notify) {
    CApplyResult result;
    if (profile.Refusal.Key != 0) {
        result.Failure = CApplyFailure::Refused;
        result.Refusal = profile.Refusal;
        return result;
    }
    CKeyboardReadBack held;
    if (!ReceiveKeyDefinitions(hwi, notify, held.Definitions)) {
        result.Failure = CApplyFailure::ReadKeys;
        return result;
    }
    if (!ReceiveLightArea(hwi, held.Light)) {
        result.Failure = CApplyFailure::ReadLight;
        return result;
    }
    CProfileToApply keysAsHeld = profile;
    // Compared one part at a time, so each is written only when it differs.
    keysAsHeld.Light = held.Light;
    if (!KeyboardHoldsProfile(hwi, held, keysAsHeld)) {
        result.KeysWritten = true;
        if (!SendKeyDefinitions(hwi, profile.Keys, notify, result.Refusal)) {
            result.Failure = CApplyFailure::WriteKeys;
            return result;
        }
    }
    if (!SameLight(profile.Light, held.Light)) {
        result.LightWritten = true;
        if (!SendLightArea(hwi, profile.Light))
            result.Failure = CApplyFailure::WriteLight;
    }
    return result;
}
