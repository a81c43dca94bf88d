// The device options every front end shares: --virtual-keyboard[=STATE_FILE], --device PATH,
// --report-log FILE and --virtual-fault SPEC.
#pragma once

#include "zelk/ZelkHWI.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CReportLog;
class CVirtualKeyboard;

struct CDeviceOptions {
    bool VirtualKeyboard = false;
    std::string StateFile;
    std::string ReportLog;
    std::string Faults;
    // The keyboard to use (its configuration interface's path, as listed); empty: the first one found.
    std::string DevicePath;
    // Files the run reads or writes (besides the state file), which the report log must never be.
    std::vector<std::string> KeptFiles;
};

// Within 80 columns, as every line of the programs' --help. The test-only options (--report-log,
// --virtual-fault) are left out of the user's help; the man pages describe them for developers.
inline constexpr const char* DeviceOptionsHelp =
    "  --virtual-keyboard[=STATE_FILE]  use the simulated keyboard instead of a real\n"
    "                                   one; with a STATE_FILE it keeps its settings\n"
    "                                   there between runs\n"
    "  --device PATH                    use the keyboard at PATH (zelk-cli list names\n"
    "                                   them) instead of the first one found\n";

// Consumes the device option at args[index] (with its value). Returns how many arguments it used:
// 0 when args[index] is not a device option, -1 when it is malformed (error says why).
ZELKHWI_API int ParseDeviceOption(const std::vector<std::string_view>& args, std::size_t index,
                                  CDeviceOptions& options, std::string& error);

// The configuration interfaces of the keyboards the provider finds, in enumeration order.
ZELKHWI_API std::vector<CHidInterface> KeyboardInterfaces(CDeviceProvider& provider);

// A provider that finds only the interface at path among what provider finds.
ZELKHWI_API std::shared_ptr<CDeviceProvider> WithChosenDevice(std::shared_ptr<CDeviceProvider> provider,
                                                              const std::string& path);

// The provider the options ask for; null with problem set when it cannot be made (among the reasons: a
// state file that is not the virtual keyboard's own, or a damaged one, which is then left as it is). When the
// virtual keyboard is chosen and keyboard is given, it receives the simulated keyboard; when a report log is
// asked for and reportLog is given, it receives the log, whose Problem tells later whether every line was
// written.
ZELKHWI_API std::shared_ptr<CDeviceProvider>
MakeDeviceProvider(const CDeviceOptions& options, CProblem& problem,
                   std::shared_ptr<CVirtualKeyboard>* keyboard = nullptr,
                   std::shared_ptr<CReportLog>* reportLog = nullptr);
