// The device side of the progress and firmware dialogs' operations, split so that a worker thread
// touches only the keyboard facade: what goes to the keyboard is taken from the model on the
// user-interface thread before the worker starts, and what comes back is applied to the model there
// after the worker has ended. The conversions between assignments and interchange arrays are the
// device bridge's; the calls to the facade come in the bridge's order.
#pragma once

#include "model/DeviceBridge.h"
#include "model/KeyboardData.h"

#include <array>
#include <string>
#include <vector>

// One assignment to hand to the device library.
struct CKeyDefinitionToSend {
    int Level = 0;
    int Key = 0;
    std::vector<int> Array;
};

using CLightArea = std::array<int, LightAreaSize>;

// Everything a read brings back: one interchange array per slot (level × 87 + key − 1) and the
// light area.
struct CKeyboardReadBack {
    std::vector<std::vector<int>> Definitions;
    CLightArea Light{};
};

// User-interface thread: the assignments of both levels (keys without one are sent empty), the
// colours of keys 1..87, and the model rebuilt from a complete read.
std::vector<CKeyDefinitionToSend> KeyDefinitionsToSend(const CKeyboardData& data);
CLightArea LightAreaToSend(const CKeyboardData& data);
void ApplyReadBack(CKeyboardData& data, const CKeyboardReadBack& readBack);

// Worker thread. Each returns what the device library reports.
// Hands every definition to the library and sends the whole table; when the library refuses one,
// refusal names it and nothing is sent.
bool SendKeyDefinitions(CMorvHWI& hwi, const std::vector<CKeyDefinitionToSend>& definitions,
                        CMessageTarget* notify, CKeyRefusal& refusal);
// Reads the whole table from the keyboard into definitions; on failure definitions is left empty.
bool ReceiveKeyDefinitions(CMorvHWI& hwi, CMessageTarget* notify, std::vector<std::vector<int>>& definitions);
bool SendLightArea(CMorvHWI& hwi, const CLightArea& light);
bool ReceiveLightArea(CMorvHWI& hwi, CLightArea& light);

// Result codes of a firmware transfer, carried in wParam of WM_DEVICE_DONE.
enum FirmwareResult : int {
    FirmwareNoBuffer = 0, // the file's contents could not be held; no message
    FirmwareWritten = 1,
    FirmwareTransferFailed = 2,
    FirmwareFileNotOpened = 3,
    FirmwareFileInvalid = 4, // not Intel-HEX text the keyboard takes; nothing was sent
};

// Reads the firmware file whole and writes it to the keyboard. For FirmwareFileInvalid, problem says
// what is wrong with the file.
FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                std::string& problem);
