// The profile shelf: a folder of ordinary profile files, each named by its file name without ".pro",
// and the one way a profile goes to the keyboard from it: read what the keyboard holds first (reads
// do not wear its memory) and write only the parts that differ, the key table or the backlight.
//
// Applying comes in two steps, as the device bridge's transfers do: take what to apply from a model
// (the model's thread), then apply it (any thread; it touches the device facade only). zelk-cli, the
// tray's menu and anything that switches profiles by itself all call ApplyProfile.
#pragma once

#include "model/DeviceBridge.h"
#include "model/KeyboardData.h"

#include <filesystem>
#include <string>
#include <vector>

// $XDG_DATA_HOME/zelk/profiles, or ~/.local/share/zelk/profiles when XDG_DATA_HOME is unset or not an
// absolute path; %APPDATA%\Zelk\profiles on Windows. Empty when neither it nor a home folder is known.
std::filesystem::path ProfileShelfFolder();

// A path as UTF-8 text, as names and messages carry it.
std::string Utf8PathText(const std::filesystem::path& path);

// One profile on the shelf.
struct CShelfProfile {
    std::string Name; // UTF-8, the file name without ".pro"
    std::filesystem::path File;
    CProblem Damage; // why it does not load (a Profile code, whose words follow its name); none when it does
    std::string SameButCase; // another profile on the shelf whose name differs only in case
};

// The profiles of the shelf in the order of their names, each loaded once into scratch (a model with
// its key catalogue) to tell whether it is damaged. Only files ending in ".pro" count; hidden files
// (an unfinished save among them) do not. False, with problem ShelfMissing or ShelfUnreadable, when
// the folder cannot be listed.
bool ListProfileShelf(const std::filesystem::path& shelf, CKeyboardData& scratch,
                      std::vector<CShelfProfile>& profiles, CProblem& problem);

// Why a name cannot name a profile on any shelf (ShelfNameInvalid): empty, starting with a dot, or
// holding a character some file system refuses (/ \ : * ? " < > | or a control character). Spaces and
// letters of any script are fine.
CProblem ShelfNameProblem(const std::string& name);

// Loads the profile of that name into data. False, with data untouched, when the name is invalid, the
// shelf cannot be listed, no profile has exactly that name (ShelfProfileMissing, or
// ShelfNameDiffersInCase when one differs from it only in case) or it is damaged (the Profile code,
// whose words follow the profile's name). file (when given) receives the profile's file.
bool LoadShelfProfile(const std::filesystem::path& shelf, const std::string& name, CKeyboardData& data,
                      CProblem& problem, std::filesystem::path* file = nullptr);

// Puts the model on the shelf as a profile of that name, creating the shelf when it is missing. A
// profile of that name is replaced only when replace is true (else ShelfProfileExists), and a name that
// differs from one on the shelf only in case is refused (ShelfNameDiffersInCase), as a file system that
// ignores case would mix them up. The file is written whole or not at all.
bool SaveProfileToShelf(const std::filesystem::path& shelf, const CKeyboardData& data,
                        const std::string& name, bool replace, CProblem& problem);
// The same for a profile file, copied as it is once it loads into scratch (a damaged one is refused).
bool CopyProfileToShelf(const std::filesystem::path& shelf, const std::filesystem::path& file,
                        const std::string& name, bool replace, CKeyboardData& scratch, CProblem& problem);

// What applying a profile sends: its key definitions and backlight, and the first assignment the
// keyboard cannot hold (then nothing is sent at all).
struct CProfileToApply {
    std::vector<CKeyDefinitionToSend> Keys;
    CLightArea Light{};
    CKeyRefusal Refusal;
};
CProfileToApply ProfileToApply(const CKeyboardData& data);

// Where applying stopped.
enum class CApplyFailure { None, Refused, ReadKeys, ReadLight, WriteKeys, WriteLight };

struct CApplyResult {
    CApplyFailure Failure = CApplyFailure::None;
    CKeyRefusal Refusal; // for Refused and WriteKeys: the assignment the keyboard cannot hold
    bool KeysWritten = false;
    bool LightWritten = false;
    bool Succeeded() const { return Failure == CApplyFailure::None; }
    // Succeeded, and the keyboard already held the whole profile.
    bool AlreadyHeld() const { return Succeeded() && !KeysWritten && !LightWritten; }
};

// Reads the keyboard, then writes the key table when it differs and the backlight when it differs;
// notify receives the transfers' progress. The keyboard must be open.
CApplyResult ApplyProfile(CMorvHWI& hwi, const CProfileToApply& profile, CMessageTarget* notify);

// The name of the first shelf profile that puts on the keyboard what data does (the same key table and
// backlight), or empty when none does or the shelf cannot be read. scratch: a model with its key
// catalogue.
std::string ShelfProfileSendingTheSame(const std::filesystem::path& shelf, const CKeyboardData& data,
                                       CKeyboardData& scratch);

// Whether the keyboard, which was read into held, holds the profile's key table and backlight. Uses the
// facade's table, as the next write prepares it anew.
bool KeyboardHoldsProfile(CMorvHWI& hwi, const CKeyboardReadBack& held, const CProfileToApply& profile);
