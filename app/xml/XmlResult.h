#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// The diagnostic records of one parse or file operation, kept as a sequence of empty markup elements
// such as <read encoding="UTF-8" length="120"/>.
class CXmlResult {
public:
    using SAttribute = std::pair<std::u16string_view, std::u16string_view>;

    // Records stop being added once the text is longer than this.
    static constexpr std::size_t MaxLength = 999;

    void Clear() { m_Text.clear(); }
    bool IsFull() const { return m_Text.size() > MaxLength; }
    void Add(std::u16string_view record, std::initializer_list<SAttribute> attributes = {});
    const std::u16string& Text() const { return m_Text; }

    static std::u16string Number(long long value);

private:
    std::u16string m_Text;
};
