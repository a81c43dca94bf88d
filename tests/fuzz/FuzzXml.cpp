// Parsing, navigation, attribute decoding and building on any bytes. The input is read as a document
// file; its first bytes also drive a short sequence of cursor moves and edits.
#include "xml/XmlCodec.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEntities.h"
#include "xml/XmlResult.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Visits every element depth first, reading its name and every attribute, and finding it again by
// name from its parent's first child.
void WalkAll(CXmlDocument& doc) {
    doc.ResetPosition();
    for (int steps = 0; steps < 200000; ++steps) {
        if (doc.FindElement(u"")) {
            const std::u16string name = doc.GetTagName();
            Require(!name.empty());
            for (std::size_t n = 0; n < 64; ++n) {
                const std::u16string attribute = doc.GetAttributeName(n);
                if (attribute.empty())
                    break;
                doc.GetAttribute(attribute);
            }
            doc.EnterElement();
        } else if (!doc.LeaveElement()) {
            break;
        }
    }
    doc.ResetPosition();
    if (doc.FindElement(u"")) {
        const std::u16string first = doc.GetTagName();
        doc.ResetPosition();
        Require(doc.FindElement(first));
        Require(doc.GetTagName() == first);
    }
}

void Edit(CXmlDocument& doc, const std::uint8_t* script, std::size_t size) {
    static const std::u16string_view values[] = {u"", u"1", u"a&b<c>\"d'", u"\U0001F600", u"&amp;"};
    doc.ResetPosition();
    for (std::size_t i = 0; i < size && i < 48; ++i) {
        const std::uint8_t op = script[i];
        switch (op % 8) {
        case 0:
            doc.FindElement(u"");
            break;
        case 1:
            doc.EnterElement();
            break;
        case 2:
            doc.LeaveElement();
            break;
        case 3:
            if (op & 0x40) {
                // With attributes in one edit, repeated names included.
                const CXmlAttributeText attributes[] = {{u"ID", values[(op >> 3) % 5]},
                                                        {u"t1", values[(op >> 4) % 5]},
                                                        {u"ID", values[(op >> 2) % 5]}};
                doc.AddElement(op & 0x80 ? u"x" : u"List", std::span(attributes, 1 + (op >> 3) % 3));
            } else {
                doc.AddElement(op & 0x80 ? u"x" : u"List");
            }
            break;
        case 4:
        case 5: {
            const std::u16string_view value = values[(op >> 3) % 5];
            const std::u16string name = op & 0x80 ? doc.GetAttributeName(0) : std::u16string(u"t1");
            if (doc.SetAttribute(name.empty() ? u"t1" : name, value) && op & 0x40)
                Require(doc.GetAttribute(name.empty() ? u"t1" : name) == value);
            break;
        }
        case 6:
            doc.ResetPosition();
            break;
        default:
            doc.FindElement(op & 0x80 ? u"x" : u"List");
            break;
        }
        Require(doc.CheckIndex());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CXmlResult result;
    const std::u16string text =
        XmlCodec::DecodeDocumentBytes(std::string(reinterpret_cast<const char*>(data), size), result);

    CXmlDocument doc;
    doc.SetText(text);
    Require(doc.GetText() == text);
    Require(doc.CheckIndex());
    WalkAll(doc);
    DecodeReferences(text);

    Edit(doc, data, size);
    std::u16string encoding;
    XmlCodec::EncodeDocumentText(doc.GetText(), result, encoding);

    // Whatever building made of the text reads again.
    CXmlDocument reread;
    reread.SetText(doc.GetText());
    Require(reread.CheckIndex());
    return 0;
}
