#pragma once

#include <string_view>

class CXmlElementIndex;
class CXmlResult;

// Reads a whole text node by node and builds its element index, adding a record to `result` for
// every fault met. Never rejects a text: malformed markup is indexed as well as it can be.
// Returns whether the document is well-formed: exactly one top-level element and no syntax error,
// lone end tag or unended start tag.
bool ParseXmlText(std::u16string_view text, CXmlElementIndex& index, CXmlResult& result);
