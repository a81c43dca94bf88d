#pragma once

#include "xml/XmlElementIndex.h"
#include "xml/XmlEntities.h"
#include "xml/XmlMarkup.h"
#include "xml/XmlResult.h"
#include "zelk/Problem.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <string_view>

// One markup document kept as a single UTF-16 text with an index of its elements, walked with a
// cursor: find an element among the children of the current parent, enter it, leave it, read its
// attributes, and add elements and attributes at the cursor. Apart from what is added, the text stays
// exactly as it was read, and saving writes it back unchanged except for the file's encoding.
struct CXmlAttributeText {
    std::u16string_view Name;
    std::u16string_view Value;
};

class CXmlDocument {
public:
    CXmlDocument();

    // Replaces the text (null gives an empty text and frees the index), clears the result and
    // parses. Returns whether the text is well-formed; a malformed text is still indexed.
    bool SetText(const char16_t* text);
    bool SetText(std::u16string text);
    const std::u16string& GetText() const { return m_Text; }
    bool IsWellFormed() const;

    // Reads a file (byte-order mark, declared encoding, UTF-8 check, ANSI fallback) and parses it.
    // False only when the file cannot be opened or read; the text is then empty.
    bool LoadFile(const std::filesystem::path& path);
    // The same within bounds a file must not make the reader pass: only a regular file (a pipe would
    // hold it up, a device could feed it without end) of at most maxBytes is read, its size checked
    // before anything is reserved, and the parse stops at maxElements (ReachedElementLimit tells).
    // When false, problem says why (FileTooLarge, or why it could not be opened or read).
    bool LoadFile(const std::filesystem::path& path, std::uintmax_t maxBytes, std::size_t maxElements,
                  CProblem& problem);
    bool ReachedElementLimit() const;
    // Whether an element is still open where the text ends, as in a file cut short.
    bool EndsInsideAnElement() const;
    // Writes the text in the encoding it declares (UTF-8 when none), without a byte-order mark.
    bool SaveFile(const std::filesystem::path& path);

    // The cursor back to the top: the next find starts at the first top-level element.
    void ResetPosition();
    // Finds the next element of that exact name among the children of the current parent, after the
    // current element; an empty name finds the next element of any name. On failure nothing changes.
    bool FindElement(std::u16string_view name);
    // Into the current element; the next find starts at its first child (or after the child last left).
    bool EnterElement();
    // Out to the parent, which becomes the current element; false only at the top.
    bool LeaveElement();

    // Adds an empty element after the current one (or as the last child of the current parent when
    // there is no current element) on a line of its own, and makes it current.
    bool AddElement(std::u16string_view name);
    // The same with its attributes, in order, as if each were set with SetAttribute right after; one
    // edit of the text instead of one per attribute.
    bool AddElement(std::u16string_view name, std::span<const CXmlAttributeText> attributes);
    // Sets an attribute of the current element, replacing its value in place when it exists.
    bool SetAttribute(std::u16string_view name, std::u16string_view value);
    bool SetAttribute(std::u16string_view name, int value);

    // The decoded value of an attribute of the current element; empty when there is none.
    std::u16string GetAttribute(std::u16string_view name) const;
    // Calls visit(name, decoded value) for every attribute of the current element, in order, in one
    // pass over its start tag (GetAttribute scans the tag anew for every name). Both are views, valid
    // during the call: a value without references is read straight from the text.
    template <typename Visit> void ForEachAttribute(Visit visit) const;
    // The name of the n-th attribute (from 0) of the current element; empty past the last.
    std::u16string GetAttributeName(std::size_t n) const;
    // The current element's name; empty when there is no current element.
    std::u16string GetTagName() const;
    // The line of the text (from 1) the current element starts on; 0 when there is no current element.
    long GetLineNumber() const;

    // Makes room for a text of that many characters and that many elements in all, so a document built
    // element by element is not moved while it grows.
    void Reserve(std::size_t textLength, std::size_t elementCount);

    // Diagnostic records of the last parse or file operation.
    const std::u16string& GetResult() const { return m_Result.Text(); }

    // Checks the element index against the text (for tests and fuzzing).
    bool CheckIndex() const;

private:
    // The current element's start tag; empty when there is no current element.
    std::u16string_view CurrentStartTag() const;

    void Parse(std::size_t maxElements = std::numeric_limits<std::size_t>::max());
    void ResetCursor();
    std::u16string_view StartTag(std::uint32_t element) const;
    bool HasName(std::uint32_t element, std::u16string_view name) const;
    std::uint32_t NewEmptyElement(std::size_t start, std::size_t tagLength);

    std::u16string m_Text;
    CXmlElementIndex m_Index;
    CXmlResult m_Result;
    std::uint32_t m_Parent = 0;
    std::uint32_t m_Current = 0;
    std::uint32_t m_Child = 0;
    std::u16string m_Edit; // scratch for the text of one edit
};

template <typename Visit> void CXmlDocument::ForEachAttribute(Visit visit) const {
    const std::u16string_view tag = CurrentStartTag();
    if (tag.empty())
        return;
    CXmlAttributeScanner scanner(tag);
    SXmlAttributeSpan span;
    std::u16string decoded;
    while (scanner.Next(span)) {
        std::u16string_view value = tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart);
        if (value.find(u'&') != std::u16string_view::npos) {
            decoded.clear();
            AppendDecodedReferences(decoded, value);
            value = decoded;
        }
        visit(tag.substr(span.NameStart, span.NameEnd - span.NameStart), value);
    }
}
