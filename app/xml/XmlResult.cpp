#include "xml/XmlResult.h"

#include "xml/XmlEntities.h"

void CXmlResult::Add(std::u16string_view record, std::initializer_list<SAttribute> attributes) {
    if (IsFull())
        return;
    m_Text += u'<';
    m_Text += record;
    for (const auto& [name, value] : attributes) {
        m_Text += u' ';
        m_Text += name;
        m_Text += u"=\"";
        AppendEscapedAttribute(m_Text, value);
        m_Text += u'"';
    }
    m_Text += u"/>";
}

std::u16string CXmlResult::Number(long long value) {
    char16_t digits[24];
    std::size_t n = 0;
    unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::u16string text;
    if (value < 0)
        text += u'-';
    while (n > 0)
        text += digits[--n];
    return text;
}
