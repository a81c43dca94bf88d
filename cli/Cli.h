// zelk-cli: shared pieces of the commands.
#pragma once

#include "DeviceOptions.h"
#include "ZelkHWI.h"

#include <string>
#include <vector>

enum ExitStatus { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

struct CCliRun {
    CDeviceOptions Device;
    std::vector<std::string> Arguments; // after the command name
    std::string Language = "en-US";     // "en-US" or "zh-CN": the texts of show
    bool Json = false;                  // show: the profile as JSON
};

// Prints one line on stderr and returns the failure status.
int Fail(const std::string& message);

// Opens the keyboard the options name; on failure prints why and returns false.
bool OpenKeyboard(const CCliRun& run, CMorvHWI& keyboard);

int RunDetect(const CCliRun& run);
int RunVersion(const CCliRun& run);
int RunFlash(const CCliRun& run);

// Profile commands; each takes one profile file.
int RunWrite(const CCliRun& run);
int RunWriteKeys(const CCliRun& run);
int RunWriteLight(const CCliRun& run);
int RunRead(const CCliRun& run);
int RunShow(const CCliRun& run);
