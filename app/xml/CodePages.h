#pragma once

#include <string_view>

// The code pages the markup engine knows: their numbers (as Windows numbers them), usual names,
// iconv's names for them, and the names (IANA and Windows aliases) documents declare them by.
namespace XmlEncoding {

struct SCodePage {
    int Number;
    std::u16string_view Name;
    const char* IconvName; // nullptr: converted by our own code; on Windows the system converts by number
};

// The known code page of that number, nullptr when there is none.
const SCodePage* FindCodePage(int number);
// The code page a name declares, given in lower case ASCII; 0 when the name is unknown.
int CodePageOfAlias(std::string_view lowerCaseName);

} // namespace XmlEncoding
