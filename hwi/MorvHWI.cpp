#include "zelk/ZelkHWI.h"

#include "Discovery.h"
#include "Firmware.h"
#include "Morv.h"
#include "transport/SystemProvider.h"

#include <cstring>

CMessageTarget::~CMessageTarget() = default;
CReportDevice::~CReportDevice() = default;
CDeviceProvider::~CDeviceProvider() = default;

CMorvHWI::CMorvHWI() = default;

CMorvHWI::~CMorvHWI() {
    __closeDev();
}

void CMorvHWI::UseDeviceProvider(std::shared_ptr<CDeviceProvider> provider) {
    DeviceProvider = std::move(provider);
}

std::shared_ptr<CDeviceProvider> CMorvHWI::Provider() {
    if (!DeviceProvider)
        DeviceProvider = MakeSystemDeviceProvider();
    return DeviceProvider;
}

bool CMorvHWI::DetectDevice() {
    return FindKeyboardInterface(Provider()->Enumerate()) >= 0;
}

bool CMorvHWI::__createDev() {
    if (Transport != nullptr)
        return true;
    std::shared_ptr<CDeviceProvider> provider = Provider();
    const std::vector<CHidInterface> interfaces = provider->Enumerate();
    const int found = FindKeyboardInterface(interfaces);
    if (found < 0)
        return false;
    // A keyboard that is present but cannot be opened still gives an open facade whose transfers fail.
    OpenProblem = {};
    Transport = new CMorvUtil(provider->Open(interfaces[found].Path, OpenProblem));
    Keyboard = new CMorv(*Transport);
    return true;
}

bool CMorvHWI::__closeDev() {
    delete Keyboard;
    Keyboard = nullptr;
    delete Transport;
    Transport = nullptr;
    return true;
}

bool CMorvHWI::IsOpen() const {
    return Transport != nullptr;
}

const CProblem& CMorvHWI::AccessProblem() const {
    return OpenProblem;
}

void CMorvHWI::Begin() {
    if (Transport != nullptr)
        Transport->ForgetProblem();
}

CProblem CMorvHWI::TransferProblem() const {
    return Transport != nullptr ? Transport->LastProblem() : CProblem(ProblemCode::KeyboardNotConnected);
}

const char16_t* CMorvHWI::getHardwareVersion() {
    if (Transport != nullptr)
        Transport->ReadVersion(Version);
    return Version;
}

bool CMorvHWI::ReadKeyboardVersion(char16_t* destination) {
    Begin();
    return Transport != nullptr && destination != nullptr && Transport->ReadVersion(destination);
}

bool CMorvHWI::setKeyConfiguration(int level, int keyNumber, const int* array, int length) {
    return Keyboard != nullptr && Keyboard->setKeyConfiguration(level, keyNumber, array, length);
}

bool CMorvHWI::getKeyConfiguration(int level, int keyNumber, int* array, int capacity) {
    return Keyboard != nullptr && Keyboard->getKeyConfiguration(level, keyNumber, array, capacity);
}

bool CMorvHWI::prepare() {
    return Keyboard != nullptr && Keyboard->prepare();
}

bool CMorvHWI::writeKeyConfigurationToDev(CMessageTarget* target) {
    Begin();
    return Keyboard != nullptr && Keyboard->writeKeyConfigurationToDev(target);
}

bool CMorvHWI::readKeyDefinationFromDev(CMessageTarget* target) {
    Begin();
    return Keyboard != nullptr && Keyboard->readKeyDefinationFromDev(target);
}

bool CMorvHWI::setKeyboardLightArea(const int* area) {
    Begin();
    return Keyboard != nullptr && area != nullptr && Keyboard->setKeyboardLightArea(area);
}

bool CMorvHWI::getKeyboardLightArea(int* area) {
    return Keyboard != nullptr && area != nullptr && Keyboard->getKeyboardLightArea(area);
}

bool CMorvHWI::readKeyLightFromDev() {
    Begin();
    return Keyboard != nullptr && Keyboard->readKeyLightFromDev();
}

bool CMorvHWI::WriteFirmwareToKeyboard(const char* text, std::size_t length, CMessageTarget* target) {
    Begin();
    if (Transport == nullptr || text == nullptr || length == 0)
        return false;
    // The text ends at its terminating zero, and never beyond the length the caller gave.
    const std::size_t end = strnlen(text, length);
    return SendFirmware(*Transport, std::string_view(text, end), target);
}
