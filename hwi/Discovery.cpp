#include "Discovery.h"

#include <cctype>
#include <string>
#include <string_view>

namespace {

bool FollowedBy(std::string_view path, std::size_t marker, std::size_t markerLength, std::string_view id) {
    return marker != std::string_view::npos && path.substr(marker + markerLength, id.size()) == id;
}

} // namespace

bool IsKeyboardInterface(const CHidInterface& candidate) {
    const std::string_view path = candidate.Path;
    std::string lowered(path);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lowered.find("vid_") == std::string::npos) {
        return candidate.VendorId == 0x0483 && candidate.ProductId == 0x5021 &&
               candidate.InterfaceNumber == 1;
    }
    const std::size_t vendor = path.find("vid_");
    const std::size_t product = path.find("pid_");
    const std::size_t marker = path.find("mi_01");
    return marker != std::string_view::npos && marker > 0 && FollowedBy(path, vendor, 4, "0483") &&
           FollowedBy(path, product, 4, "5021");
}

int FindKeyboardInterface(const std::vector<CHidInterface>& interfaces) {
    for (std::size_t i = 0; i < interfaces.size(); ++i)
        if (IsKeyboardInterface(interfaces[i]))
            return static_cast<int>(i);
    return -1;
}
