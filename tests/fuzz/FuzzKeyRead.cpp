// Answers the key read, the light read and the version query with arbitrary replies from a fake
// device, and rebuilds a model from what the key read brings back: nothing may crash, hang or read
// outside its input. The first byte picks the request; every further 64 bytes are one reply, and
// when they run out the device stays silent.
#include "FuzzSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/DeviceBridge.h"
#include "zelk/ZelkHWI.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

class CScriptedDevice : public CReportDevice {
public:
    CScriptedDevice(const std::uint8_t* replies, std::size_t size) : Replies(replies), Size(size) {}
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
    int Read(std::uint8_t* report, std::size_t capacity, int) override {
        if (Position >= Size || capacity < 65)
            return 0; // silent: the read times out at once
        std::uint8_t full[65] = {};
        const std::size_t n = std::min<std::size_t>(64, Size - Position);
        std::memcpy(full + 1, Replies + Position, n);
        Position += n;
        std::memcpy(report, full, 65);
        return 65;
    }

private:
    const std::uint8_t* Replies;
    std::size_t Size;
    std::size_t Position = 0;
};

class CScriptedProvider : public CDeviceProvider {
public:
    CScriptedProvider(const std::uint8_t* replies, std::size_t size) : Replies(replies), Size(size) {}
    std::vector<CHidInterface> Enumerate() override {
        return {{"scripted:hid#vid_0483&pid_5021&mi_01", 0x0483, 0x5021, 1}};
    }
    std::unique_ptr<CReportDevice> Open(const std::string&, CProblem&) override {
        return std::make_unique<CScriptedDevice>(Replies, Size);
    }

private:
    const std::uint8_t* Replies;
    std::size_t Size;
};

CKeyboardData& Model() {
    static CKeyboardData* model = [] {
        auto* data = new CKeyboardData;
        BuildKeyCatalogue(*data);
        return data;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    CKeyboardData& model = Model();
    model.Clear();
    model.HWI.__closeDev();
    model.HWI.UseDeviceProvider(std::make_shared<CScriptedProvider>(data + 1, size - 1));
    if (!model.HWI.__createDev())
        Broken();
    switch (data[0] % 3) {
    case 0:
        ReadKeysFromDevice(model, nullptr);
        break;
    case 1:
        ReadLightFromDevice(model);
        break;
    default: {
        char16_t version[VersionTextCapacity] = {};
        if (model.HWI.ReadKeyboardVersion(version) && version[VersionTextCapacity - 2] != 0)
            Broken(); // the text is always terminated within 62 characters
        break;
    }
    }
    model.HWI.__closeDev();
    return 0;
}
