#include "zelk/DeviceOptions.h"

#include "Discovery.h"
#include "transport/SystemProvider.h"
#include "zelk/ReportLog.h"
#include "zelk/VirtualKeyboard.h"

int ParseDeviceOption(const std::vector<std::string_view>& args, std::size_t index, CDeviceOptions& options,
                      std::string& error) {
    const std::string_view arg = args[index];
    auto valueOf = [&](std::string_view name, std::string& value) -> int {
        if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
            value = std::string(arg.substr(name.size() + 1));
            return 1;
        }
        if (arg != name)
            return 0;
        if (index + 1 >= args.size()) {
            error = std::string(name) + " needs a value";
            return -1;
        }
        value = std::string(args[index + 1]);
        return 2;
    };

    if (arg == "--virtual-keyboard") {
        options.VirtualKeyboard = true;
        return 1;
    }
    if (arg.substr(0, 19) == "--virtual-keyboard=") {
        if (arg.size() == 19) {
            error = "--virtual-keyboard= needs a state file name (without '=', the keyboard keeps nothing)";
            return -1;
        }
        options.VirtualKeyboard = true;
        options.StateFile = std::string(arg.substr(19));
        return 1;
    }
    if (const int used = valueOf("--device", options.DevicePath); used != 0) {
        if (used > 0 && options.DevicePath.empty()) {
            error = "--device needs a keyboard's path";
            return -1;
        }
        return used;
    }
    if (const int used = valueOf("--report-log", options.ReportLog); used != 0)
        return used;
    if (const int used = valueOf("--virtual-fault", options.Faults); used != 0) {
        CVirtualKeyboardFaults faults;
        if (used > 0 && !ParseVirtualKeyboardFaults(options.Faults, faults, error))
            return -1;
        options.VirtualKeyboard = true;
        return used;
    }
    return 0;
}

namespace {

class CChosenDeviceProvider : public CDeviceProvider {
public:
    CChosenDeviceProvider(std::shared_ptr<CDeviceProvider> inner, std::string path)
        : Inner(std::move(inner)), Path(std::move(path)) {}
    std::vector<CHidInterface> Enumerate() override {
        std::vector<CHidInterface> found;
        for (CHidInterface& candidate : Inner->Enumerate())
            if (candidate.Path == Path)
                found.push_back(std::move(candidate));
        return found;
    }
    std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) override {
        return Inner->Open(path, problem);
    }

private:
    std::shared_ptr<CDeviceProvider> Inner;
    std::string Path;
};

} // namespace

std::vector<CHidInterface> KeyboardInterfaces(CDeviceProvider& provider) {
    std::vector<CHidInterface> keyboards;
    for (CHidInterface& candidate : provider.Enumerate())
        if (IsKeyboardInterface(candidate))
            keyboards.push_back(std::move(candidate));
    return keyboards;
}

std::shared_ptr<CDeviceProvider> WithChosenDevice(std::shared_ptr<CDeviceProvider> provider,
                                                  const std::string& path) {
    return std::make_shared<CChosenDeviceProvider>(std::move(provider), path);
}

std::shared_ptr<CDeviceProvider> MakeDeviceProvider(const CDeviceOptions& options, CProblem& problem,
                                                    std::shared_ptr<CVirtualKeyboard>* keyboard,
                                                    std::shared_ptr<CReportLog>* reportLog) {
    std::shared_ptr<CDeviceProvider> provider;
    if (options.VirtualKeyboard) {
        auto simulated = std::make_shared<CVirtualKeyboard>(options.StateFile);
        if (const CProblem refused = simulated->StateProblem(); refused) {
            problem = refused;
            return nullptr;
        }
        CVirtualKeyboardFaults faults;
        if (!ParseVirtualKeyboardFaults(options.Faults, faults, problem.Detail)) {
            problem.Code = ProblemCode::FaultsInvalid;
            return nullptr;
        }
        simulated->SetFaults(faults);
        if (keyboard != nullptr)
            *keyboard = simulated;
        provider = MakeVirtualKeyboardProvider(simulated);
    } else {
        provider = MakeSystemDeviceProvider();
    }
    if (!options.ReportLog.empty()) {
        std::vector<std::string> kept = options.KeptFiles;
        kept.push_back(options.StateFile);
        auto log = std::make_shared<CReportLog>(options.ReportLog, kept);
        if (!log->Ok()) {
            problem = Wrapped(ProblemCode::ReportLogNotOpened, options.ReportLog, log->Problem());
            return nullptr;
        }
        if (reportLog != nullptr)
            *reportLog = log;
        provider = WithReportLog(provider, log);
    }
    if (!options.DevicePath.empty())
        provider = WithChosenDevice(provider, options.DevicePath);
    return provider;
}
