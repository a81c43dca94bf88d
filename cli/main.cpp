// zelk-cli: the command-line front end of Zelk.
#include "Cli.h"
#include "Console.h"
#include "text/LanguageOption.h"

#include "ZelkVersion.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <string_view>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Within 80 columns, as every line of --help.
const char* Usage = "Usage: zelk-cli [OPTIONS] [--] COMMAND [ARGUMENTS]\n"
                    "\n"
                    "Programs the Zelk 87-key keyboard: key assignments, backlight, profiles and\n"
                    "firmware.\n"
                    "\n"
                    "Commands:\n"
                    "  list                     list every attached keyboard: its path, interface\n"
                    "                           and firmware version ('-' where it cannot be read)\n"
                    "  detect                   tell whether the keyboard is connected\n"
                    "  version                  print the keyboard's firmware version\n"
                    "  flash FILE.hex [--backup OUT.pro | --no-backup]\n"
                    "                           update the keyboard's firmware from an Intel-HEX\n"
                    "                           file; --backup saves the key settings and backlight\n"
                    "                           into OUT.pro first, and nothing is sent when that\n"
                    "                           fails (write OUT.pro puts them back afterwards)\n"
                    "  write PROFILE.pro        write a profile's key settings, then its backlight\n"
                    "  write-keys PROFILE.pro   write only the key settings of a profile\n"
                    "  write-light PROFILE.pro  write only the backlight of a profile\n"
                    "  read OUT.pro             read the key settings and backlight from the keyboard\n"
                    "                           into a new profile (its named combinations, macros\n"
                    "                           and emulations are empty)\n"
                    "  show PROFILE.pro         list every key with its assignment on both levels\n"
                    "\n"
                    "Profiles as code:\n"
                    "  import FILE.json OUT.pro write the profile a JSON document describes (as\n"
                    "                           show --json prints it, or written by hand)\n"
                    "  set PROFILE.pro KEY KIND [VALUE] [--level 1|2]\n"
                    "                           give a key an assignment (the profile is created\n"
                    "                           when missing); KEY is a number or a legend (A, F12)\n"
                    "  set PROFILE.pro --define-combo|--define-macro|--define-emulation NAME ITEM...\n"
                    "                           add or replace a catalogue entry; a macro takes\n"
                    "                           --cycles N, --play-mode 0|1|2 and --interval MS\n"
                    "  set PROFILE.pro --colour KEY #rrggbb\n"
                    "                           set a key's backlight colour\n"
                    "  apply NAME|FILE          check a profile of the shelf, a profile file or a\n"
                    "                           JSON document whole, read the keyboard, then write\n"
                    "                           only the key settings and backlight that differ\n"
                    "  diff A B                 list the keys and catalogue entries that differ; exit\n"
                    "                           status 0 the same, 1 different, 2 trouble\n"
                    "\n"
                    "The profile shelf (a folder of profiles, $XDG_DATA_HOME/zelk/profiles):\n"
                    "  profiles                 list the shelf's profiles by name, marking the one\n"
                    "                           the keyboard holds and the damaged ones\n"
                    "  save-to-shelf PROFILE.pro [NAME] [--replace]\n"
                    "                           put a copy of a profile on the shelf, named NAME or\n"
                    "                           after its file; --replace replaces one of that name\n"
                    "\n"
                    "Exit status: 0 success, 1 a file could not be read or written or a device\n"
                    "operation failed, 2 the command line is wrong.\n"
                    "\n"
                    "Options:\n"
                    "  -h, --help                       show this help\n"
                    "  --version                        print the version of zelk-cli\n"
                    "  --lang zh-CN|en-US               language of the texts show prints (en-US)\n"
                    "  --json                           show: the whole profile as JSON, for scripts\n"
                    "  --backup OUT.pro                 flash: save the keyboard's settings first\n"
                    "  --no-backup                      flash: update without saving them\n"
                    "  --                               end of the options; what follows is the\n"
                    "                                   command and its file\n";

struct CCommand {
    int (*Run)(const CCliRun&);
    const char* Synopsis;      // the arguments the command takes, empty for none
    std::size_t Arguments = 1; // how many; set takes any number and reads its own options
};

constexpr std::size_t AnyArguments = static_cast<std::size_t>(-1);

const std::map<std::string_view, CCommand>& Commands() {
    static const std::map<std::string_view, CCommand> commands = {
        {"list", {RunList, "", 0}},
        {"detect", {RunDetect, "", 0}},
        {"version", {RunVersion, "", 0}},
        {"flash", {RunFlash, "FILE.hex [--backup OUT.pro | --no-backup]"}},
        {"write", {RunWrite, "PROFILE.pro"}},
        {"write-keys", {RunWriteKeys, "PROFILE.pro"}},
        {"write-light", {RunWriteLight, "PROFILE.pro"}},
        {"read", {RunRead, "OUT.pro"}},
        {"show", {RunShow, "PROFILE.pro"}},
        {"import", {RunImport, "FILE.json OUT.pro", 2}},
        {"set", {RunSet, "PROFILE.pro KEY KIND [VALUE...]", AnyArguments}},
        {"apply", {RunApply, "NAME|FILE"}},
        {"profiles", {RunProfiles, "", 0}},
        {"save-to-shelf", {RunSaveToShelf, "PROFILE.pro [NAME] [--replace]", AnyArguments}},
        {"diff", {RunDiff, "A B", 2}},
    };
    return commands;
}

// Consumes --backup FILE, --backup=FILE or --no-backup at args[index]; returns the arguments used, 0
// when args[index] is something else, -1 when the file is missing.
int ParseBackup(const std::vector<std::string_view>& args, std::size_t index, CCliRun& run,
                std::string& error) {
    const std::string_view arg = args[index];
    if (arg == "--no-backup") {
        run.NoBackup = true;
        return 1;
    }
    int used = 0;
    if (arg == "--backup" && index + 1 < args.size()) {
        run.Backup = args[index + 1];
        used = 2;
    } else if (arg.substr(0, 9) == "--backup=") {
        run.Backup = arg.substr(9);
        used = 1;
    } else if (arg != "--backup") {
        return 0;
    }
    if (run.Backup.empty()) {
        error = "--backup needs a file (--backup OUT.pro)";
        return -1;
    }
    return used;
}

// The command line after the program's name, as UTF-8.
int RunCommandLine(const std::vector<std::string>& arguments) {
    const std::vector<std::string_view> args(arguments.begin(), arguments.end());
    CCliRun run;
    std::string_view name;
    const CCommand* command = nullptr;
    bool options = true; // until "--"
    for (std::size_t i = 0; i < args.size();) {
        if (command != nullptr && command->Arguments == AnyArguments) {
            run.Arguments.emplace_back(args[i++]); // the command reads its own options
            continue;
        }
        if (options) {
            if (args[i] == "--") {
                options = false;
                ++i;
                continue;
            }
            if (args[i] == "-h" || args[i] == "--help") {
                std::printf("%s%s", Usage, DeviceOptionsHelp);
                return ExitSuccess;
            }
            if (args[i] == "--version") {
                std::printf("zelk-cli %s\n", ZelkVersion);
                return ExitSuccess;
            }
            if (args[i] == "--json") {
                run.Json = true;
                ++i;
                continue;
            }
            std::string error;
            int used = ParseDeviceOption(args, i, run.Device, error);
            if (used == 0)
                used = ParseLanguageOption(args, i, run.Language, error);
            if (used == 0)
                used = ParseBackup(args, i, run, error);
            if (used < 0)
                return UsageError(error);
            if (used > 0) {
                i += static_cast<std::size_t>(used);
                continue;
            }
            if (args[i].size() > 1 && args[i][0] == '-')
                return UsageError("unknown option " + std::string(args[i]));
        }
        if (command == nullptr) {
            const auto found = Commands().find(args[i]);
            if (found == Commands().end())
                return UsageError("unknown command " + std::string(args[i]));
            name = found->first;
            command = &found->second;
        } else {
            run.Arguments.emplace_back(args[i]);
        }
        ++i;
    }
    if (command == nullptr)
        return UsageError("no command given");
    if (run.Json && name != "show")
        return UsageError("--json goes with show only");
    if ((!run.Backup.empty() || run.NoBackup) && name != "flash")
        return UsageError("--backup and --no-backup go with flash only");
    if (!run.Backup.empty() && run.NoBackup)
        return UsageError("flash takes either --backup OUT.pro or --no-backup");
    const std::size_t wanted = command->Arguments;
    if (wanted != AnyArguments && run.Arguments.size() != wanted) {
        if (wanted == 0)
            return UsageError(std::string(name) + " takes no arguments");
        return UsageError(std::string(name) + (wanted == 1 ? " needs one file" : " needs two files") +
                          ": zelk-cli " + std::string(name) + " " + command->Synopsis);
    }
    const int status = command->Run(run);
    if (status == ExitSuccess && !ReportLogComplete())
        return ExitFailure;
    return status;
}

#if !defined(_WIN32)
// A closed standard stream gets a descriptor that fails every write of its kind, so that no file the
// program opens later takes its number and receives what was meant for it.
void GuardClosedStandardStreams() {
    for (const int stream : {0, 1, 2}) {
        if (::fcntl(stream, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int standIn = ::open("/dev/null", stream == 0 ? O_WRONLY : O_RDONLY);
        if (standIn >= 0 && standIn != stream) {
            ::dup2(standIn, stream);
            ::close(standIn);
        }
    }
}
#endif

// Runs the command line and makes sure that what it printed reached stdout: a command whose output
// was lost fails, with one line saying so, however well the rest went.
int RunAndDeliver(const std::vector<std::string>& arguments) {
    int status = ExitFailure;
    try {
        status = RunCommandLine(arguments);
    } catch (const std::bad_alloc&) {
        return Fail("there is not enough memory to go on");
    }
    errno = 0;
    const bool delivered = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!delivered && status == ExitSuccess) {
        const int error = errno != 0 ? errno : EIO;
        std::fprintf(stderr, "zelk-cli: cannot write the output: %s\n", std::strerror(error));
        return ExitFailure;
    }
    return status;
}

} // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zelk-cli: %s; see 'zelk-cli --help'\n", message.c_str());
    return ExitUsage;
}

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    UseUtf8Console();
    return RunAndDeliver(Utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    GuardClosedStandardStreams();
    return RunAndDeliver(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
