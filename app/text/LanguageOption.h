// The --lang option the program and zelk-cli share.
#pragma once

#include "text/UiLanguage.h"

#include <string>
#include <string_view>
#include <vector>

// The command-line option --lang VALUE or --lang=VALUE at args[index]: returns the arguments it takes,
// 0 when args[index] is another, -1 (error says why) when the value is missing or names no language.
inline int ParseLanguageOption(const std::vector<std::string_view>& args, std::size_t index,
                               UiLanguage& language, std::string& error) {
    const std::string_view arg = args[index];
    std::string_view value;
    int used = 0;
    if (arg == "--lang") {
        if (index + 1 >= args.size()) {
            error = "--lang needs a value (zh-CN or en-US)";
            return -1;
        }
        value = args[index + 1];
        used = 2;
    } else if (arg.substr(0, 7) == "--lang=") {
        value = arg.substr(7);
        used = 1;
    } else {
        return 0;
    }
    const std::optional<UiLanguage> known = UiLanguageOfCode(value);
    if (!known) {
        error = "unknown language '" + std::string(value) + "' (zh-CN or en-US)";
        return -1;
    }
    language = *known;
    return used;
}
