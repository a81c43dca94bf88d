#include "Cli.h"
#include "ProgressBar.h"
#include "model/KeyboardData.h"
#include "text/ProblemTexts.h"
#include "zelk/FileReplace.h"
#include "zelk/IntelHex.h"
#include "zelk/ReportLog.h"
#include "zelk/VirtualKeyboard.h"

#include <cstdio>
#include <filesystem>

int Fail(const std::string& message) {
    std::fflush(stdout); // what was said before comes first, where stdout is buffered too
    std::fprintf(stderr, "zelk-cli: %s\n", message.c_str());
    std::fflush(stderr);
    return ExitFailure;
}

std::string Words(const CProblem& problem) {
    return ProblemText(problem, UiLanguage::English);
}

CCliDevices& OpenedDevices() {
    static CCliDevices devices;
    return devices;
}

bool VirtualStateSaved() {
    const CCliDevices& devices = OpenedDevices();
    if (!devices.Virtual || devices.StateFile.empty())
        return true;
    const CProblem problem = devices.Virtual->SaveProblem();
    if (!problem)
        return true;
    Fail(Words(problem) + "; the settings are not kept for the next run");
    return false;
}

bool ReportLogComplete() {
    const CCliDevices& devices = OpenedDevices();
    if (!devices.Log || !devices.Log->Problem())
        return true;
    Fail(Words(Wrapped(ProblemCode::ReportLogIncomplete, devices.LogFile, devices.Log->Problem())));
    return false;
}

namespace {

// A state file refused is never written: saying so tells that nothing of it was lost.
int FailToProvide(const CProblem& refused) {
    return Fail(Words(refused) + (IsStateFileProblem(refused.Code) ? "; it is left as it is" : ""));
}

} // namespace

bool OpenKeyboard(const CCliRun& run, CMorvHWI& keyboard, bool quiet) {
    CProblem refused;
    CCliDevices& devices = OpenedDevices();
    CDeviceOptions options = run.Device;
    options.KeptFiles = run.Arguments; // the profile or firmware of the command
    auto provider = MakeDeviceProvider(options, refused, &devices.Virtual, &devices.Log);
    devices.StateFile = run.Device.StateFile;
    devices.LogFile = run.Device.ReportLog;
    if (!provider) {
        FailToProvide(refused);
        return false;
    }
    keyboard.UseDeviceProvider(provider);
    if (!keyboard.__createDev()) {
        if (!quiet)
            Fail("Keyboard is not connected");
        return false;
    }
    if (keyboard.AccessProblem()) {
        Fail(Words(keyboard.AccessProblem()));
        return false;
    }
    return true;
}

namespace {

std::string VersionText(const char16_t* version) {
    std::string text;
    for (const char16_t* c = version; *c != 0; ++c)
        text += *c < 128 ? static_cast<char>(*c) : '?';
    return text;
}

} // namespace

int RunList(const CCliRun& run) {
    CProblem refused;
    CCliDevices& devices = OpenedDevices();
    auto provider = MakeDeviceProvider(run.Device, refused, &devices.Virtual, &devices.Log);
    devices.StateFile = run.Device.StateFile;
    devices.LogFile = run.Device.ReportLog;
    if (!provider)
        return FailToProvide(refused);
    // One line a keyboard, tab-separated: its configuration interface's path (what --device takes), the
    // interface number and the firmware version, '-' where the keyboard cannot be opened or is silent.
    for (const CHidInterface& found : KeyboardInterfaces(*provider)) {
        CMorvHWI keyboard;
        keyboard.UseDeviceProvider(WithChosenDevice(provider, found.Path));
        char16_t version[VersionTextCapacity] = {};
        const bool read =
            keyboard.__createDev() && !keyboard.AccessProblem() && keyboard.ReadKeyboardVersion(version);
        std::printf("%s\t%d\t%s\n", found.Path.c_str(), found.InterfaceNumber,
                    read ? VersionText(version).c_str() : "-");
    }
    if (!VirtualStateSaved() || !ReportLogComplete())
        return ExitFailure;
    return ExitSuccess;
}

int RunDetect(const CCliRun& run) {
    CProblem refused;
    auto provider = MakeDeviceProvider(run.Device, refused);
    if (!provider)
        return FailToProvide(refused);
    CMorvHWI keyboard;
    keyboard.UseDeviceProvider(provider);
    if (!keyboard.DetectDevice())
        return Fail("Keyboard is not connected");
    std::printf("Keyboard found\n");
    return ExitSuccess;
}

int RunVersion(const CCliRun& run) {
    CMorvHWI keyboard;
    if (!OpenKeyboard(run, keyboard))
        return ExitFailure;
    char16_t version[VersionTextCapacity] = {};
    if (!keyboard.ReadKeyboardVersion(version))
        return Fail("The keyboard did not answer the version request");
    std::printf("%s\n", VersionText(version).c_str());
    return ExitSuccess;
}

namespace {

// A path as a shell takes it back: quoted when it holds anything but plain characters.
std::string ShellWord(const std::string& path) {
    const bool plain =
        !path.empty() && path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789._-/+:@%,=") == std::string::npos;
    if (plain)
        return path;
    std::string quoted = "'";
    for (const char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(Utf8Path(a), Utf8Path(b), error);
}

} // namespace

int RunFlash(const CCliRun& run) {
    if (run.Arguments.size() != 1) {
        std::fprintf(stderr, "zelk-cli: flash needs one firmware file (flash FILE.hex)\n");
        return ExitUsage;
    }
    const std::string& path = run.Arguments[0];
    std::string text;
    CProblem problem;
    switch (ReadFirmwareFile(Utf8Path(path), text, problem)) {
    case FirmwareFileUnreadable:
        return Fail("cannot read " + path + ": " + Words(problem));
    case FirmwareFileRefused:
        return Fail(path + " is not a valid firmware file: " + Words(problem));
    case FirmwareFileRead:
        break;
    }
    if (!CheckFirmwareText(text, problem))
        return Fail(path + " is not a valid firmware file: " + Words(problem));
    const std::string& backup = run.Backup;
    if (!backup.empty() && SameFile(backup, path))
        return Fail("the backup " + backup + " would replace the firmware file; nothing was flashed");

    auto data = NewModel(run.Language);
    CCliRun opened = run;
    if (!backup.empty())
        opened.Arguments.push_back(backup); // the report log must not take its place either
    if (!OpenKeyboard(opened, data->HWI))
        return ExitFailure;
    if (!backup.empty()) {
        const std::string notRead = "; no backup was written and nothing was flashed: check that the "
                                    "keyboard is plugged in, then run flash again";
        const std::string notWritten =
            "; nothing was flashed: choose another backup file, then run flash again";
        if (!SaveKeyboardProfile(*data, backup, notRead, notWritten))
            return ExitFailure;
    }
    CProgressBar bar("Updating firmware", 150);
    const bool sent = data->HWI.WriteFirmwareToKeyboard(text.c_str(), text.size(), &bar);
    bar.Finish();
    if (!sent) {
        const std::string failed = "the firmware update failed: " + Words(data->HWI.TransferProblem());
        if (backup.empty())
            return Fail(failed + "; keep the keyboard plugged in and run flash again");
        // A second backup read from a keyboard that is not updated completely could replace the good one.
        return Fail(failed + "; your settings are kept in " + backup +
                    ": keep the keyboard plugged in, run 'zelk-cli flash " + ShellWord(path) +
                    " --no-backup', then 'zelk-cli write " + ShellWord(backup) + "' once it has restarted");
    }
    if (!VirtualStateSaved())
        return ExitFailure;
    std::printf("Firmware sent. The keyboard restarts with the new firmware.\n");
    // Said after the update, so that a failure is still told in one line.
    if (backup.empty() && !run.NoBackup) {
        std::fflush(stdout);
        std::fprintf(stderr, "zelk-cli: no backup of the keyboard's settings was made (flash --backup "
                             "OUT.pro saves one first)\n");
    }
    if (!backup.empty())
        std::printf("Your key settings and backlight are saved in %s. Once the keyboard has restarted, put "
                    "them back with:\n  zelk-cli write %s\n",
                    backup.c_str(), ShellWord(backup).c_str());
    return ExitSuccess;
}
