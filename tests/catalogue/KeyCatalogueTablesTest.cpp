// The built catalogue against tests/data/catalogue.tsv: every name ("name", key code, text), the key
// code of every device code that has one ("device", device code, key code) and the kinds' names
// ("mode", value, Chinese, English). Both code tables follow from the device rows: a key code listed
// there has that device code, every other has 0; a device code listed has that key code, 0 has 1023
// (the highest key code without a device code) and every other has 0.
#include "DataFile.h"
#include "catalogue/KeyCatalogue.h"
#include "xml/XmlEncoding.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

std::string Utf8(const std::u16string& text) {
    std::string bytes;
    bool loss = false;
    XmlEncoding::AppendUtf16AsUtf8(text, bytes, loss);
    return bytes;
}

TEST(KeyCatalogueTables, NamesCodesAndKindsAreTheCatalogues) {
    auto data = std::make_unique<CKeyCatalogue>();
    FillKeyCatalogue(*data);

    std::map<int, std::string> names;
    std::array<int, CodeTableSize> deviceOfKey{};
    std::array<int, CodeTableSize> keyOfDevice{};
    keyOfDevice[0] = CodeTableSize - 1;
    int modes = 0;
    for (const CDataRow& row : ReadDataRows("catalogue.tsv")) {
        ASSERT_GE(row.Cells.size(), 3u) << "line " << row.Line;
        const int code = std::stoi(row.Cells[1]);
        if (row.Cells[0] == "name") {
            names[code] = row.Cells[2];
        } else if (row.Cells[0] == "device") {
            const int key = std::stoi(row.Cells[2]);
            deviceOfKey[static_cast<std::size_t>(key)] = code;
            keyOfDevice[static_cast<std::size_t>(code)] = key;
        } else if (row.Cells[0] == "mode") {
            ASSERT_EQ(row.Cells.size(), 4u) << "line " << row.Line;
            ++modes;
            EXPECT_EQ(Utf8(ModeName(*data, UiLanguage::Chinese, code)), row.Cells[2]) << "kind " << code;
            EXPECT_EQ(Utf8(ModeName(*data, UiLanguage::English, code)), row.Cells[3]) << "kind " << code;
        }
    }
    ASSERT_EQ(names.size(), 234u);
    ASSERT_EQ(modes, KeyModeCount);

    for (const auto& [code, name] : names) {
        const auto found = data->KeyNames.find(code);
        EXPECT_TRUE(found != data->KeyNames.end() && Utf8(found->second) == name)
            << "key code " << code << " should be named \"" << name << "\"";
    }
    for (const auto& [code, name] : data->KeyNames)
        EXPECT_TRUE(names.count(code) == 1) << "key code " << code << " has a name: \"" << Utf8(name) << "\"";
    for (int code = 0; code < CodeTableSize; ++code) {
        const auto index = static_cast<std::size_t>(code);
        EXPECT_EQ(DeviceCodeOfKey(*data, code), deviceOfKey[index & 511])
            << "device code of key code " << code;
        EXPECT_EQ(KeyOfDeviceCode(*data, code), keyOfDevice[index]) << "key code of device code " << code;
    }
}

} // namespace
