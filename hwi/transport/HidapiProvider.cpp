#include "transport/SystemProvider.h"

#include <hidapi.h>

#include <cerrno>
#if defined(__linux__)
#include <unistd.h>
#endif

namespace {

constexpr unsigned short KeyboardVendor = 0x0483;
constexpr unsigned short KeyboardProduct = 0x5021;

class CHidapiDevice : public CReportDevice {
public:
    explicit CHidapiDevice(hid_device* device) : Device(device) {}
    ~CHidapiDevice() override { hid_close(Device); }
    CHidapiDevice(const CHidapiDevice&) = delete;
    CHidapiDevice& operator=(const CHidapiDevice&) = delete;

    bool Write(const std::uint8_t* report, std::size_t length) override {
        return hid_write(Device, report, length) == static_cast<int>(length);
    }
    int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        // hidapi leaves out the report ID of devices without numbered reports; put it back in front.
        if (capacity < 2)
            return -1;
        const int received = hid_read_timeout(Device, report + 1, capacity - 1, timeoutMs);
        if (received <= 0)
            return received;
        report[0] = 0;
        return received + 1;
    }

private:
    hid_device* Device;
};

#if defined(__linux__)
// The keyboard's udev rule where a package or an installation put it (udev's own folders), or "".
std::string InstalledUdevRule() {
    for (const char* folder : {"/etc/udev/rules.d/", "/usr/local/lib/udev/rules.d/", "/usr/lib/udev/rules.d/",
                               "/lib/udev/rules.d/"}) {
        const std::string rule = std::string(folder) + "70-zelk.rules";
        if (access(rule.c_str(), R_OK) == 0)
            return rule;
    }
    return {};
}
#endif

CProblem AccessProblem(const std::string& path) {
    CProblem problem{ProblemCode::KeyboardNotOpened};
    problem.Path = path;
#if defined(__linux__)
    if (access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        // An installed rule that has not reached the device yet was installed while it was plugged in.
        problem.Detail = InstalledUdevRule();
        problem.Code =
            problem.Detail.empty() ? ProblemCode::KeyboardNotPermitted : ProblemCode::KeyboardRuleNotApplied;
        return problem;
    }
#endif
    if (const wchar_t* reason = hid_error(nullptr); reason != nullptr && *reason != 0) {
        problem.Code = ProblemCode::KeyboardNotOpenedBecause;
        for (const wchar_t* c = reason; *c != 0; ++c)
            problem.Detail += *c < 128 ? static_cast<char>(*c) : '?';
    }
    return problem;
}

class CHidapiProvider : public CDeviceProvider {
public:
    CHidapiProvider() { Initialised = hid_init() == 0; }
    ~CHidapiProvider() override {
        if (Initialised)
            hid_exit();
    }
    CHidapiProvider(const CHidapiProvider&) = delete;
    CHidapiProvider& operator=(const CHidapiProvider&) = delete;

    std::vector<CHidInterface> Enumerate() override {
        std::vector<CHidInterface> found;
        if (!Initialised)
            return found;
        hid_device_info* list = hid_enumerate(KeyboardVendor, KeyboardProduct);
        for (hid_device_info* info = list; info != nullptr; info = info->next)
            found.push_back({info->path, info->vendor_id, info->product_id, info->interface_number});
        hid_free_enumeration(list);
        return found;
    }

    std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) override {
        hid_device* device = Initialised ? hid_open_path(path.c_str()) : nullptr;
        if (device == nullptr) {
            problem = AccessProblem(path);
            return nullptr;
        }
        return std::make_unique<CHidapiDevice>(device);
    }

private:
    bool Initialised = false;
};

} // namespace

std::shared_ptr<CDeviceProvider> MakeSystemDeviceProvider() {
    return std::make_shared<CHidapiProvider>();
}
