// Every window's area table against the layout held in tests/data/*-areas.tsv. A row there is one
// record: id, kind (picture, label or row), left, top, right, bottom, the "zh-CN" and "en-US"
// captions ("-" none, "*" not compared), then name=value cells for the fields that differ from the
// record defaults: key, code, colour, active (text colours as r,g,b), format, font, show, tipzh, tipen
// ("*" not compared). Directives: "@count N" records in all, the rest unused; "@free a,b" fields not
// compared unless a row names them; "@include FILE" its rows here; "@order
// labels-after-what-they-cover" rows matched by id and rectangle, the order checked only where a label
// lies over a clickable area (otherwise each row is the record at its place).
#include "DataFile.h"
#include "backlight/BacklightAreas.h"
#include "device_ui/DeviceDialogAreas.h"
#include "editor/EditorAreas.h"
#include "shell/MainWindowAreas.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace {

struct CLayout {
    std::size_t Count = 0;
    std::set<std::string> Free;
    bool MatchByPlace = false;
    std::vector<CDataRow> Rows;
};

CLayout ReadLayout(const std::string& file, CLayout layout = {}) {
    for (CDataRow& row : ReadDataRows(file)) {
        const std::string& head = row.Cells[0];
        const std::string value = row.Cells.size() > 1 ? row.Cells[1] : "";
        if (head == "@count") {
            layout.Count = std::stoul(value);
        } else if (head == "@free") {
            std::stringstream names(value);
            for (std::string name; std::getline(names, name, ',');)
                layout.Free.insert(name);
        } else if (head == "@include") {
            layout = ReadLayout(value, std::move(layout));
        } else if (head == "@order") {
            layout.MatchByPlace = value == "labels-after-what-they-cover";
        } else {
            layout.Rows.push_back(std::move(row));
        }
    }
    return layout;
}

std::string Colour(const SkinColour& colour) {
    return std::to_string(colour.Red) + "," + std::to_string(colour.Green) + "," +
           std::to_string(colour.Blue);
}

// The record's fields as the data files write them.
std::map<std::string, std::string> Fields(const SkinRegion& area) {
    return {
        {"id", std::to_string(area.id)},
        {"kind",
         area.listRow ? (area.labelOnly ? "label+row" : "row") : (area.labelOnly ? "label" : "picture")},
        {"left", std::to_string(area.rect.left)},
        {"top", std::to_string(area.rect.top)},
        {"right", std::to_string(area.rect.right)},
        {"bottom", std::to_string(area.rect.bottom)},
        {"zh", area.Caption(UiLanguage::Chinese)},
        {"en", area.Caption(UiLanguage::English)},
        {"key", std::to_string(area.keyIndex)},
        {"code", std::to_string(area.code)},
        {"colour", Colour(area.textColor)},
        {"active", Colour(area.activeTextColor)},
        {"format", std::to_string(area.textFormat)},
        {"font", std::to_string(area.fontIndex)},
        {"show", area.showText ? "1" : "0"},
        {"tipzh", area.Tip(UiLanguage::Chinese)},
        {"tipen", area.Tip(UiLanguage::English)},
    };
}

// What a row expects of its record: every field, those the row does not name at their defaults.
std::map<std::string, std::string> Expected(const CLayout& layout, const CDataRow& row) {
    static const char* const columns[] = {"id", "kind", "left", "top", "right", "bottom", "zh", "en"};
    std::map<std::string, std::string> expected = Fields(SkinRegion{});
    for (const std::string& name : layout.Free)
        expected[name] = "*";
    for (std::size_t i = 0; i < row.Cells.size(); ++i) {
        const std::string& cell = row.Cells[i];
        if (i < std::size(columns)) {
            expected[columns[i]] = cell == "-" ? "" : Unescaped(cell);
        } else {
            const std::size_t equals = cell.find('=');
            expected[cell.substr(0, equals)] = equals == std::string::npos ? "" : cell.substr(equals + 1);
        }
    }
    return expected;
}

void CompareRecord(const std::map<std::string, std::string>& expected, const SkinRegion& area, int line,
                   std::vector<std::string>& differences) {
    const std::map<std::string, std::string> shown = Fields(area);
    for (const auto& [name, value] : expected) {
        if (value == "*")
            continue;
        const auto found = shown.find(name);
        if (found == shown.end())
            differences.push_back("line " + std::to_string(line) + ": no field " + name);
        else if (found->second != value)
            differences.push_back("line " + std::to_string(line) + " (id " + expected.at("id") + "): " +
                                  name + " is \"" + found->second + "\", the layout says \"" + value + "\"");
    }
}

bool Overlap(const SkinRect& a, const SkinRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool SamePlace(const std::map<std::string, std::string>& expected, const SkinRegion& area) {
    const std::map<std::string, std::string> shown = Fields(area);
    for (const char* name : {"id", "left", "top", "right", "bottom"})
        if (shown.at(name) != expected.at(name))
            return false;
    return true;
}

// Every difference between the table and the layout file, one line each.
std::vector<std::string> CompareAreas(const std::string& file, const std::vector<SkinRegion>& areas) {
    const CLayout layout = ReadLayout(file);
    std::vector<std::string> differences;
    if (layout.Rows.empty())
        return {"the layout " + file + " has no rows (is it missing?)"};
    if (areas.size() != layout.Count)
        differences.push_back(std::to_string(areas.size()) + " records, the layout says " +
                              std::to_string(layout.Count));
    std::vector<bool> used(areas.size(), false);
    for (std::size_t r = 0; r < layout.Rows.size(); ++r) {
        const CDataRow& row = layout.Rows[r];
        const std::map<std::string, std::string> expected = Expected(layout, row);
        std::size_t match = r;
        if (layout.MatchByPlace) {
            match = areas.size();
            for (std::size_t i = 0; i < areas.size() && match == areas.size(); ++i)
                if (!used[i] && SamePlace(expected, areas[i]))
                    match = i;
        }
        if (match >= areas.size()) {
            differences.push_back("line " + std::to_string(row.Line) + " (id " + expected.at("id") +
                                  "): no such record");
            continue;
        }
        used[match] = true;
        CompareRecord(expected, areas[match], row.Line, differences);
    }
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (!used[i] && areas[i].id != -1)
            differences.push_back("record " + std::to_string(i) + " (id " + std::to_string(areas[i].id) +
                                  ") is not in the layout");
    if (layout.MatchByPlace) {
        // A label drawn and clicked before an area beneath it would hide that area.
        for (std::size_t l = 0; l < areas.size(); ++l) {
            if (!areas[l].labelOnly || areas[l].id <= 0)
                continue;
            for (std::size_t p = l + 1; p < areas.size(); ++p) {
                const bool samePage =
                    PageOfArea(areas[p].id) == PageOfArea(areas[l].id) || PageOfArea(areas[l].id) == 0;
                if (!areas[p].labelOnly && areas[p].id > 0 && samePage &&
                    Overlap(areas[l].rect, areas[p].rect))
                    differences.push_back("label " + std::to_string(areas[l].id) + " comes before area " +
                                          std::to_string(areas[p].id) + " beneath it");
            }
        }
    }
    return differences;
}

std::string Listed(const std::vector<std::string>& differences) {
    std::string text;
    for (const std::string& difference : differences)
        text += "\n  " + difference;
    return text;
}

TEST(AreaTables, EveryWindowMatchesItsLayout) {
    const std::pair<const char*, std::vector<SkinRegion>> tables[] = {
        {"main-window-areas.tsv", MainWindowAreas()},
        {"backlight-settings-areas.tsv", BkLightSettingsAreas()},
        {"backlight-multiselect-areas.tsv", BkLightMultiSelectAreas()},
        {"progress-dialog-areas.tsv", ProgressDialogAreas()},
        {"firmware-dialog-areas.tsv", FirmwareDialogAreas()},
        {"editor-areas.tsv", EditorAreas()},
    };
    for (const auto& [file, areas] : tables) {
        const std::vector<std::string> differences = CompareAreas(file, areas);
        EXPECT_TRUE(differences.empty()) << file << Listed(differences);
    }
}

} // namespace
