// zelk-cli: the command-line front end of Zelk.
#include "Cli.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>

namespace {

const char* Usage =
    "Usage: zelk-cli [OPTIONS] COMMAND [ARGUMENTS]\n"
    "\n"
    "Programs the Zelk 87-key keyboard: key assignments, backlight, profiles and firmware.\n"
    "\n"
    "Commands:\n"
    "  detect              tell whether the keyboard is connected\n"
    "  version             print the keyboard's firmware version\n"
    "  flash FILE.hex      update the keyboard's firmware from an Intel-HEX file\n"
    "\n"
    "Options:\n"
    "  -h, --help                       show this help\n";

struct CCommand {
    int (*Run)(const CCliRun&);
};

const std::map<std::string_view, CCommand>& Commands() {
    static const std::map<std::string_view, CCommand> commands = {
        {"detect", {RunDetect}},
        {"version", {RunVersion}},
        {"flash", {RunFlash}},
    };
    return commands;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zelk-cli: %s\nTry 'zelk-cli --help'.\n", message.c_str());
    return ExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    CCliRun run;
    const CCommand* command = nullptr;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "-h" || args[i] == "--help") {
            std::printf("%s%s", Usage, DeviceOptionsHelp);
            return ExitSuccess;
        }
        std::string error;
        const int used = ParseDeviceOption(args, i, run.Device, error);
        if (used < 0)
            return UsageError(error);
        if (used > 0) {
            i += static_cast<std::size_t>(used);
            continue;
        }
        if (args[i].size() > 1 && args[i][0] == '-')
            return UsageError("unknown option " + std::string(args[i]));
        if (command == nullptr) {
            const auto found = Commands().find(args[i]);
            if (found == Commands().end())
                return UsageError("unknown command " + std::string(args[i]));
            command = &found->second;
        } else {
            run.Arguments.emplace_back(args[i]);
        }
        ++i;
    }
    if (command == nullptr)
        return UsageError("no command given");
    return command->Run(run);
}
