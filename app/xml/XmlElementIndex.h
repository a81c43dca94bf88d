#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One element of the document: where its text lies and how it is linked into the tree.
struct SXmlElement {
    enum : std::uint32_t {
        EmptyForm = 1u << 0,       // written as "<name .../>"
        Unended = 1u << 1,         // a start tag whose end tag never came
        NotWellFormed = 1u << 2,   // record 0 only
        TooManyElements = 1u << 3, // record 0 only: the parse stopped at its element limit
    };

    std::size_t Start = 0;          // offset of the start tag's "<"
    std::size_t Length = 0;         // start tag to end of end tag
    std::size_t StartTagLength = 0; // up to and including the start tag's ">"
    std::size_t EndTagLength = 0;   // 0 when there is no end tag
    std::uint32_t Flags = 0;
    std::uint32_t Parent = 0;
    std::uint32_t FirstChild = 0;
    std::uint32_t NextSibling = 0;
    std::uint32_t PreviousSibling = 0; // the first child's holds the last child
};

// The element records of one document. Record 0 stands for the document itself and is the parent of
// the top-level elements. Records are kept in creation order; their indexes stay valid while the
// document is only appended to. Every element's text lies within its parent's and before its next
// sibling's, which lets an edit find the records behind it by walking the tree.
class CXmlElementIndex {
public:
    // Drops every element; room for one record per 64 characters of text plus 8.
    void Reset(std::size_t textLength);
    // Drops every element and frees the memory.
    void Free();
    // Room for that many records in all.
    void Reserve(std::size_t records) { m_Records.reserve(records); }

    std::uint32_t Append(const SXmlElement& element);
    std::size_t Size() const { return m_Records.size(); }
    SXmlElement& operator[](std::uint32_t i) { return m_Records[i]; }
    const SXmlElement& operator[](std::uint32_t i) const { return m_Records[i]; }

    std::uint32_t LastChild(std::uint32_t parent) const;
    void LinkLastChild(std::uint32_t parent, std::uint32_t child);
    void LinkAfter(std::uint32_t sibling, std::uint32_t child);
    // The element's children become its following siblings (a start tag found unended).
    void MoveChildrenAfter(std::uint32_t element);

    // After text of delta characters was inserted (or removed, negative) inside `container`: the
    // container and all its ancestors grow, and every element behind the edit moves. `firstBehind`
    // is the first child of the container that lies behind the edit (0 when none).
    void ShiftBehind(std::uint32_t container, std::uint32_t firstBehind, std::ptrdiff_t delta);

    // Checks the tree against a text of that length: ranges nested and ordered, links consistent.
    bool IsConsistent(std::size_t textLength) const;

private:
    void ShiftSubtree(std::uint32_t root, std::size_t delta);

    std::vector<SXmlElement> m_Records;
};
