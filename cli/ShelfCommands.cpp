// The profile shelf from the command line: list it, and put a profile on it. apply takes its names.
#include "Cli.h"

#include "Files.h"

#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "model/ProfileShelf.h"
#include "zelk/FileReplace.h"

#include <cstdio>
#include <string_view>

namespace {

bool EndsWith(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    for (std::size_t i = 0; i < ending.size(); ++i) {
        char c = text[text.size() - ending.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i])
            return false;
    }
    return true;
}

bool IsProfileProblem(ProblemCode code) {
    return code >= ProblemCode::ProfileUnreadable && code <= ProblemCode::ProfileOutOfMemory;
}

// "the profile "Work" on the shelf is not a Zelk profile"
std::string DamagedWords(const std::string& name, const CProblem& problem) {
    return "the profile \"" + name + "\" on the shelf " + Words(problem);
}

// The shelf's own problems, with what to do about a missing one.
int FailShelf(const CProblem& problem) {
    if (problem.Code == ProblemCode::ShelfMissing)
        return Fail(Words(problem) + "; zelk-cli save-to-shelf PROFILE.pro puts a profile there");
    return Fail(Words(problem));
}

} // namespace

bool NamesAFile(const std::string& argument) {
#if defined(_WIN32)
    if (argument.find('\\') != std::string::npos)
        return true;
#endif
    return argument.find('/') != std::string::npos || EndsWith(argument, ".pro") ||
           EndsWith(argument, ".json");
}

int FailOnShelf(const std::string& name, const CProblem& problem) {
    if (IsProfileProblem(problem.Code))
        return Fail(DamagedWords(name, problem) + "; nothing was written");
    return FailShelf(problem);
}

int RunProfiles(const CCliRun& run) {
    auto scratch = NewModel(run.Language);
    std::vector<CShelfProfile> profiles;
    CProblem problem;
    const std::filesystem::path shelf = ProfileShelfFolder();
    if (!ListProfileShelf(shelf, *scratch, profiles, problem))
        return FailShelf(problem);
    // Marks the one the keyboard holds, when a keyboard answers; the list goes without the mark else.
    CKeyboardReadBack held;
    bool read = false;
    if (OpenKeyboard(run, scratch->HWI, true)) {
        read = ReceiveKeyDefinitions(scratch->HWI, nullptr, held.Definitions) &&
               ReceiveLightArea(scratch->HWI, held.Light);
        if (!read)
            std::fprintf(stderr, "zelk-cli: the keyboard could not be read; which profile it holds is not "
                                 "shown\n");
    }
    for (const CShelfProfile& profile : profiles) {
        std::string note;
        if (profile.Damage) {
            note = "damaged: " + Utf8PathText(profile.File.filename()) + " " + Words(profile.Damage);
        } else if (read) {
            auto data = NewModel(run.Language);
            if (LoadProfile(*data, profile.File) &&
                KeyboardHoldsProfile(scratch->HWI, held, ProfileToApply(*data)))
                note = "on the keyboard";
        }
        if (!profile.SameButCase.empty())
            note += std::string(note.empty() ? "" : "; ") + "differs from \"" + profile.SameButCase +
                    "\" only in case";
        std::printf("%s%s%s\n", profile.Name.c_str(), note.empty() ? "" : "\t", note.c_str());
    }
    if (profiles.empty())
        std::fprintf(stderr, "zelk-cli: the profile shelf %s is empty\n", Utf8PathText(shelf).c_str());
    return ExitSuccess;
}

int RunSaveToShelf(const CCliRun& run) {
    std::string file;
    std::string name;
    bool replace = false;
    for (const std::string& argument : run.Arguments) {
        if (argument == "--replace")
            replace = true;
        else if (file.empty())
            file = argument;
        else if (name.empty())
            name = argument;
        else
            return UsageError("save-to-shelf takes a profile and a name: zelk-cli save-to-shelf PROFILE.pro "
                              "[NAME] [--replace]");
    }
    if (file.empty())
        return UsageError(
            "save-to-shelf needs a profile: zelk-cli save-to-shelf PROFILE.pro [NAME] [--replace]");
    if (name.empty()) {
        name = Utf8PathText(Utf8Path(file).filename());
        if (EndsWith(name, ".pro"))
            name.resize(name.size() - 4);
    }
    if (const std::string problem = ReadProblem(file); !problem.empty())
        return Fail("cannot read " + file + ": " + problem);
    auto scratch = NewModel(run.Language);
    CProblem problem;
    if (!CopyProfileToShelf(ProfileShelfFolder(), Utf8Path(file), name, replace, *scratch, problem)) {
        if (IsProfileProblem(problem.Code))
            return Fail(file + " " + Words(problem) + "; nothing was put on the shelf");
        if (problem.Code == ProblemCode::ShelfProfileExists)
            return Fail(Words(problem) + "; --replace replaces it");
        if (problem.Code >= ProblemCode::ShelfMissing)
            return Fail(Words(problem));
        return Fail("cannot put " + file + " on the profile shelf: " + Words(problem));
    }
    std::printf("Saved to the profile shelf as \"%s\".\n", name.c_str());
    return ExitSuccess;
}
