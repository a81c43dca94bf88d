#include "ProfileText.h"

#include "model/KeyboardData.h"

#include <array>

namespace {

// What each key index is on the keyboard, in the order of the main window's layout.
// clang-format off
constexpr std::array<const char*, KeyIndexCount> KeyCaptions = {
    "", "Esc", "F1", "F2", "F3", "F4", "F5", "F6",
    "F7", "F8", "F9", "F10", "F11", "F12", "` ~", "1",
    "2", "3", "4", "5", "6", "7", "8", "9",
    "0", "- _", "= +", "Backspace", "Tab", "Q", "W", "E",
    "R", "T", "Y", "U", "I", "O", "P", "[ {",
    "] }", "\\ |", "Caps Lock", "A", "S", "D", "F", "G",
    "H", "J", "K", "L", "; :", "' \"", "Enter", "Left Shift",
    "Z", "X", "C", "V", "B", "N", "M", ", <",
    ". >", "/ ?", "Right Shift", "Left Ctrl", "Left Win", "Left Alt", "Space", "Right Alt",
    "Right Win", "Menu", "Right Ctrl", "Print Screen", "Scroll Lock", "Pause", "Insert", "Home",
    "Page Up", "Delete", "End", "Page Down", "Up", "Left", "Down", "Right",
};
// clang-format on

} // namespace

const char* KeyCaption(int key) {
    return key >= 0 && key < KeyIndexCount ? KeyCaptions[static_cast<std::size_t>(key)] : "";
}

std::string KeyName(int key) {
    return std::to_string(key) + " (" + KeyCaption(key) + ")";
}

std::string Utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // a lone surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
