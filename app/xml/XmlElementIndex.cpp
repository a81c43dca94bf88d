#include "xml/XmlElementIndex.h"

void CXmlElementIndex::Reset(std::size_t textLength) {
    m_Records.clear();
    m_Records.reserve(textLength / 64 + 8);
    SXmlElement document;
    document.Length = textLength;
    m_Records.push_back(document);
}

void CXmlElementIndex::Free() {
    std::vector<SXmlElement>().swap(m_Records);
    m_Records.push_back(SXmlElement{});
}

std::uint32_t CXmlElementIndex::Append(const SXmlElement& element) {
    if (m_Records.size() == m_Records.capacity())
        m_Records.reserve(m_Records.capacity() + m_Records.capacity() / 2 + 8);
    m_Records.push_back(element);
    return static_cast<std::uint32_t>(m_Records.size() - 1);
}

std::uint32_t CXmlElementIndex::LastChild(std::uint32_t parent) const {
    const std::uint32_t first = m_Records[parent].FirstChild;
    return first ? m_Records[first].PreviousSibling : 0;
}

void CXmlElementIndex::LinkLastChild(std::uint32_t parent, std::uint32_t child) {
    SXmlElement& c = m_Records[child];
    c.Parent = parent;
    c.NextSibling = 0;
    const std::uint32_t first = m_Records[parent].FirstChild;
    if (first == 0) {
        m_Records[parent].FirstChild = child;
        c.PreviousSibling = child;
        return;
    }
    const std::uint32_t last = m_Records[first].PreviousSibling;
    m_Records[last].NextSibling = child;
    c.PreviousSibling = last;
    m_Records[first].PreviousSibling = child;
}

void CXmlElementIndex::LinkAfter(std::uint32_t sibling, std::uint32_t child) {
    const std::uint32_t parent = m_Records[sibling].Parent;
    const std::uint32_t next = m_Records[sibling].NextSibling;
    SXmlElement& c = m_Records[child];
    c.Parent = parent;
    c.PreviousSibling = sibling;
    c.NextSibling = next;
    if (next)
        m_Records[next].PreviousSibling = child;
    else
        m_Records[m_Records[parent].FirstChild].PreviousSibling = child;
    m_Records[sibling].NextSibling = child;
}

void CXmlElementIndex::MoveChildrenAfter(std::uint32_t element) {
    const std::uint32_t first = m_Records[element].FirstChild;
    if (first == 0)
        return;
    const std::uint32_t last = m_Records[first].PreviousSibling;
    const std::uint32_t parent = m_Records[element].Parent;
    for (std::uint32_t c = first; c; c = m_Records[c].NextSibling)
        m_Records[c].Parent = parent;
    const std::uint32_t after = m_Records[element].NextSibling;
    m_Records[element].NextSibling = first;
    m_Records[element].FirstChild = 0;
    m_Records[first].PreviousSibling = element;
    m_Records[last].NextSibling = after;
    if (after)
        m_Records[after].PreviousSibling = last;
    else
        m_Records[m_Records[parent].FirstChild].PreviousSibling = last;
}

void CXmlElementIndex::ShiftSubtree(std::uint32_t root, std::size_t delta) {
    std::uint32_t x = root;
    for (;;) {
        m_Records[x].Start += delta;
        if (m_Records[x].FirstChild) {
            x = m_Records[x].FirstChild;
            continue;
        }
        while (x != root && m_Records[x].NextSibling == 0)
            x = m_Records[x].Parent;
        if (x == root)
            return;
        x = m_Records[x].NextSibling;
    }
}

void CXmlElementIndex::ShiftBehind(std::uint32_t container, std::uint32_t firstBehind, std::ptrdiff_t delta) {
    // Offsets are unsigned; adding the two's complement of a negative delta moves them back.
    const auto step = static_cast<std::size_t>(delta);
    for (std::uint32_t s = firstBehind; s; s = m_Records[s].NextSibling)
        ShiftSubtree(s, step);
    std::uint32_t c = container;
    for (;;) {
        m_Records[c].Length += step;
        if (c == 0)
            return;
        for (std::uint32_t s = m_Records[c].NextSibling; s; s = m_Records[s].NextSibling)
            ShiftSubtree(s, step);
        c = m_Records[c].Parent;
    }
}

bool CXmlElementIndex::IsConsistent(std::size_t textLength) const {
    const std::size_t n = m_Records.size();
    if (n == 0 || m_Records[0].Start != 0 || m_Records[0].Length != textLength)
        return false;
    std::vector<bool> seen(n);
    seen[0] = true;
    std::size_t visited = 1;
    std::vector<std::uint32_t> parents{0};
    std::vector<std::size_t> previousEnds;
    std::size_t previousEnd = 0;
    std::uint32_t x = m_Records[0].FirstChild;
    for (;;) {
        if (x == 0) {
            const std::uint32_t done = parents.back();
            if (done == 0)
                return visited == n;
            parents.pop_back();
            previousEnd = previousEnds.back();
            previousEnds.pop_back();
            x = m_Records[done].NextSibling;
            continue;
        }
        if (x >= n || seen[x])
            return false;
        seen[x] = true;
        ++visited;
        const std::uint32_t parent = parents.back();
        const SXmlElement& e = m_Records[x];
        const SXmlElement& p = m_Records[parent];
        const std::size_t contentStart = parent ? p.Start + p.StartTagLength : 0;
        const std::size_t contentEnd = p.Start + p.Length - p.EndTagLength;
        if (e.Parent != parent || e.StartTagLength == 0 || e.StartTagLength > e.Length ||
            e.EndTagLength > e.Length - e.StartTagLength || e.Start < contentStart || e.Start < previousEnd ||
            e.Start + e.Length > contentEnd)
            return false;
        if (e.NextSibling == 0 && m_Records[p.FirstChild].PreviousSibling != x)
            return false;
        if (e.NextSibling != 0 && (e.NextSibling >= n || m_Records[e.NextSibling].PreviousSibling != x))
            return false;
        if (e.FirstChild) {
            if (e.Flags & SXmlElement::EmptyForm)
                return false;
            previousEnds.push_back(e.Start + e.Length);
            parents.push_back(x);
            previousEnd = 0;
            x = e.FirstChild;
            continue;
        }
        previousEnd = e.Start + e.Length;
        x = e.NextSibling;
    }
}
