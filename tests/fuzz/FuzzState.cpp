// Feeds arbitrary state files to the virtual keyboard: nothing may crash or grow without bound; a
// refused file is never written; an accepted one saves and loads back to the same state.
#include "FuzzSupport.h"

#include "zelk/VirtualKeyboard.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadBack(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool SameState(const CVirtualKeyboard& a, const CVirtualKeyboard& b) {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (a.SlotPackets(slot) != b.SlotPackets(slot))
            return false;
    return a.LightArea() == b.LightArea() && a.FirmwareSegments() == b.FirmwareSegments();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path input = FuzzFile("state");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(input, std::ios::binary | std::ios::trunc) << text;

    CVirtualKeyboard keyboard(input.string());
    if (keyboard.StateProblem()) {
        if (keyboard.Save() || ReadBack(input) != text)
            Broken(); // a refused file was written
        return 0;
    }
    if (!keyboard.Save())
        Broken();
    const CVirtualKeyboard again(input.string());
    if (again.StateProblem() || !SameState(keyboard, again))
        Broken(); // what was saved does not load back
    return 0;
}
