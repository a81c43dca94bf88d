// zelk-cli: the texts the profile commands print about keys.
#pragma once

#include <string>
#include <string_view>

// What key index 1..87 is on the keyboard ("Esc", "F1", ..., "Right"), in the main window's order.
const char* KeyCaption(int key);
// "7 (F6)": a key's index with its caption.
std::string KeyName(int key);
// UTF-8 of a wide text; a lone surrogate becomes U+FFFD.
std::string Utf8(std::u16string_view text);
