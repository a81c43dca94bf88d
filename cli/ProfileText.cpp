#include "ProfileText.h"

#include "catalogue/KeyLegends.h"
#include "xml/XmlEncoding.h"

const char* KeyCaption(int key) {
    return KeyLegendOf(key).name;
}

std::string KeyName(int key) {
    return std::to_string(key) + " (" + KeyCaption(key) + ")";
}

std::string Utf8(std::u16string_view text) {
    std::string out;
    bool lossIgnored = false; // a lone surrogate shows as U+FFFD
    XmlEncoding::AppendUtf16AsUtf8(text, out, lossIgnored);
    return out;
}
