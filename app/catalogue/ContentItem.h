// The texts of content items, the entries of a combination, a macro or an emulation: a key's catalogue
// name, alone or with " Down" (a recorded press) or " UP" (a recorded release), or a delay item
// "<%d ms>" between two macro steps. The text is what identifies the key, in memory and in profile
// files, so these rules are shared by every reader and writer of items. Header-only and free of
// everything but the standard library, so the catalogue and the editor can include it.
#pragma once

#include <climits>
#include <string>
#include <string_view>

// Rows the editor's list boxes show, and so the SizeOfView of every list the program builds.
inline constexpr int ComboViewRows = 6;
inline constexpr int MacroViewRows = 9;
inline constexpr int EmuViewRows = 9;

inline constexpr std::u16string_view PressSuffix = u" Down";
inline constexpr std::u16string_view ReleaseSuffix = u" UP";

// Reads a decimal number as the C library's atoi does: leading blanks, one sign, then digits up to
// the first other character; no digits give 0. Out-of-range values saturate instead of overflowing.
inline int LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

// The delay item for a number of milliseconds: "<%d ms>".
inline std::u16string DelayItem(int milliseconds) {
    const std::string digits = "<" + std::to_string(milliseconds) + " ms>";
    return std::u16string(digits.begin(), digits.end());
}

// Reads a delay item exactly as DelayItem writes it: "<", one to five digits, " ms>". False for any
// other text, which may still pass the looser tests below.
inline bool ReadDelayItem(std::u16string_view item, int& milliseconds) {
    constexpr std::u16string_view end = u" ms>";
    if (item.size() < 2 + end.size() || item.front() != u'<' || item.substr(item.size() - end.size()) != end)
        return false;
    const std::u16string_view digits = item.substr(1, item.size() - 1 - end.size());
    if (digits.size() > 5)
        return false;
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    milliseconds = value;
    return true;
}

// The two tests for a delay item differ on purpose and are kept apart.
// The device bridge's test: the text contains "ms>" anywhere.
inline bool ContainsDelayMark(std::u16string_view item) {
    return item.find(u"ms>") != std::u16string_view::npos;
}
// The editor's and the macro label's test: the text starts with "<" and its first ">" is its last
// character. (The label also asks for more than 4 characters.)
inline bool IsBracketedDelayItem(std::u16string_view item) {
    return !item.empty() && item.front() == u'<' && item.find(u'>') == item.size() - 1;
}

// The number part of a delay item as text: the characters from position 1 with length (length − 5),
// so "<30 ms>" gives "30"; empty when the item is shorter than 5 characters.
inline std::u16string_view DelayNumberText(std::u16string_view item) {
    if (item.size() < 5)
        return {};
    return item.substr(1, item.size() - 5);
}
// The milliseconds of a delay item: its number part read with LeadingNumber (0 when it is no number).
inline int DelayMilliseconds(std::u16string_view item) {
    return LeadingNumber(DelayNumberText(item));
}

// A key name with the direction of a recorded step.
inline std::u16string WithDirection(std::u16string_view name, bool release) {
    std::u16string item(name);
    item += release ? ReleaseSuffix : PressSuffix;
    return item;
}
// The item names the key: it is the name, or the name followed by " UP" or " Down" (exact,
// case-sensitive).
inline bool ItemNamesKey(std::u16string_view item, std::u16string_view name) {
    if (item.size() < name.size() || item.substr(0, name.size()) != name)
        return false;
    const std::u16string_view rest = item.substr(name.size());
    return rest.empty() || rest == ReleaseSuffix || rest == PressSuffix;
}
// A step without its direction, as the macro label shows it: an item longer than 5 characters whose
// first " Down" ends it loses those 5 characters; otherwise one longer than 3 whose first " UP" ends
// it loses those 3; any other item stays whole. "Volume Down" with " Down" keeps its whole text,
// because its first " Down" is not at its end.
inline std::u16string_view WithoutDirection(std::u16string_view item) {
    for (const std::u16string_view suffix : {PressSuffix, ReleaseSuffix}) {
        const std::size_t at = item.find(suffix);
        if (item.size() > suffix.size() && at != std::u16string_view::npos &&
            at + suffix.size() == item.size())
            return item.substr(0, at);
    }
    return item;
}
