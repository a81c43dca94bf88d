// Feeds arbitrary files to LoadProfile: it must never crash, hang or read outside its input, and a
// file it refuses must leave the model as it was.
#include "model/Profile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path& InputFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zelk-fuzz-profile-" + std::to_string(getpid()) + ".pro");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(InputFile().c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    auto model = std::make_unique<CKeyboardData>();
    model->Clear();
    model->PredefinedCombo.AppendItem(u"sentinel");
    if (!LoadProfile(*model, InputFile()) && model->PredefinedCombo.Count() != 1)
        __builtin_trap(); // a refused file changed the model
    return 0;
}
