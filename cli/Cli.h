// zelk-cli: shared pieces of the commands.
#pragma once

#include "text/UiLanguage.h"
#include "zelk/DeviceOptions.h"
#include "zelk/ZelkHWI.h"

#include <memory>
#include <string>
#include <vector>

class CKeyboardData;
class CReportLog;
class CVirtualKeyboard;

enum ExitStatus { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

struct CCliRun {
    CDeviceOptions Device;
    std::vector<std::string> Arguments;        // after the command name
    UiLanguage Language = UiLanguage::English; // the texts of show
    bool Json = false;                         // show: the profile as JSON
    std::string Backup;                        // flash: where the keyboard's settings are saved first
    bool NoBackup = false;                     // flash: without saving them
};

// Prints one line on stderr and returns the failure status.
int Fail(const std::string& message);
// The device library's problem in the words zelk-cli speaks: English.
std::string Words(const CProblem& problem);

// Prints the usage error and returns the usage status.
int UsageError(const std::string& message);

// Opens the keyboard the options name; on failure prints why and returns false. quiet: says nothing
// when no keyboard is connected.
bool OpenKeyboard(const CCliRun& run, CMorvHWI& keyboard, bool quiet = false);

// What the options set up beside the keyboard: the virtual keyboard with its state file, and the
// report log, when they were asked for.
struct CCliDevices {
    std::shared_ptr<CVirtualKeyboard> Virtual;
    std::string StateFile;
    std::shared_ptr<CReportLog> Log;
    std::string LogFile;
};
CCliDevices& OpenedDevices();

// After a transfer that changes the keyboard: false, with the reason printed, when the virtual
// keyboard could not save its state file, so the settings would be gone in the next run.
bool VirtualStateSaved();
// After the command: false, with the reason printed, when a line of the report log was not written.
bool ReportLogComplete();

int RunList(const CCliRun& run);
int RunDetect(const CCliRun& run);
int RunVersion(const CCliRun& run);
int RunFlash(const CCliRun& run);

// Reads the key settings and backlight of the keyboard opened on data.HWI into data and saves them to
// path as a new profile, as read does. On failure prints why, followed by what that means when the
// keyboard could not be read (notRead) or the file not written (notWritten), and returns false; the
// file is then left as it was.
bool SaveKeyboardProfile(CKeyboardData& data, const std::string& path, const std::string& notRead,
                         const std::string& notWritten);

// Profile commands; each takes one profile file.
int RunWrite(const CCliRun& run);
int RunWriteKeys(const CCliRun& run);
int RunWriteLight(const CCliRun& run);
int RunRead(const CCliRun& run);
int RunShow(const CCliRun& run);
int RunApply(const CCliRun& run);

// The profile shelf: list it (marking the profile the keyboard holds), put a profile on it.
int RunProfiles(const CCliRun& run);
int RunSaveToShelf(const CCliRun& run);
// Whether apply's argument is a file rather than a name on the shelf: it holds a folder separator or
// ends in ".pro" or ".json".
bool NamesAFile(const std::string& argument);
// Prints why a profile of the shelf could not be taken (the shelf's problem, or the profile's damage).
int FailOnShelf(const std::string& name, const CProblem& problem);

// Profiles as code: a profile from JSON, one key changed, two profiles compared.
int RunImport(const CCliRun& run);
int RunSet(const CCliRun& run);
int RunDiff(const CCliRun& run);

// The model as the program has it after start-up: catalogue built, everything cleared.
std::unique_ptr<CKeyboardData> NewModel(UiLanguage language);
// Reads a profile file; on failure prints why and returns false.
bool ReadProfileFile(CKeyboardData& data, const std::string& path);
// Reads a profile file, or a JSON document as import reads it (told apart by their first bytes); on
// failure prints why and returns false.
bool ReadAnyProfile(CKeyboardData& data, const std::string& path);
