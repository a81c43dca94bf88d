#include "Cli.h"
#include "Files.h"
#include "IntelHex.h"
#include "ProgressBar.h"

#include <cstdio>

int Fail(const std::string& message) {
    std::fprintf(stderr, "zelk-cli: %s\n", message.c_str());
    return ExitFailure;
}

bool OpenKeyboard(const CCliRun& run, CMorvHWI& keyboard) {
    std::string error;
    auto provider = MakeDeviceProvider(run.Device, error);
    if (!provider) {
        Fail(error);
        return false;
    }
    keyboard.UseDeviceProvider(provider);
    if (!keyboard.__createDev()) {
        Fail("Keyboard is not connected");
        return false;
    }
    if (!keyboard.AccessProblem().empty()) {
        Fail(keyboard.AccessProblem());
        return false;
    }
    return true;
}

int RunDetect(const CCliRun& run) {
    std::string error;
    auto provider = MakeDeviceProvider(run.Device, error);
    if (!provider)
        return Fail(error);
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
    std::string text;
    for (const char16_t* c = version; *c != 0; ++c)
        text += *c < 128 ? static_cast<char>(*c) : '?';
    std::printf("%s\n", text.c_str());
    return ExitSuccess;
}

int RunFlash(const CCliRun& run) {
    if (run.Arguments.size() != 1) {
        std::fprintf(stderr, "zelk-cli: flash needs one firmware file (flash FILE.hex)\n");
        return ExitUsage;
    }
    const std::string& path = run.Arguments[0];
    std::string text;
    std::string problem;
    if (!ReadWholeFile(path, text, problem))
        return Fail("cannot read " + path + ": " + problem);
    if (!CheckFirmwareText(text, problem))
        return Fail(path + " is not a valid firmware file: " + problem);

    CMorvHWI keyboard;
    if (!OpenKeyboard(run, keyboard))
        return ExitFailure;
    CProgressBar bar("Updating firmware", 150);
    const bool sent = keyboard.WriteFirmwareToKeyboard(text.c_str(), text.size(), &bar);
    bar.Finish();
    if (!sent)
        return Fail("The firmware update failed; the keyboard may need the update again");
    std::printf("Firmware sent. The keyboard restarts with the new firmware.\n");
    return ExitSuccess;
}
