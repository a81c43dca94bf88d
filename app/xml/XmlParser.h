#pragma once

#include <cstddef>
#include <limits>
#include <string_view>

class CXmlElementIndex;
class CXmlResult;

// Reads a whole text node by node and builds its element index, adding a record to `result` for
// every fault met. Never rejects a text: malformed markup is indexed as well as it can be.
// Returns whether the document is well-formed: exactly one top-level element and no syntax error,
// lone end tag or unended start tag. At maxElements elements the parse stops, the text after them
// unread: record 0 of the index then has the flag TooManyElements, and the document is not well-formed.
bool ParseXmlText(std::u16string_view text, CXmlElementIndex& index, CXmlResult& result,
                  std::size_t maxElements = std::numeric_limits<std::size_t>::max());
