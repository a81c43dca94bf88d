#include "skin/SkinRegion.h"

std::string SkinRegion::Caption(UiLanguage language) const {
    return dataText.empty() ? Text(caption, language) : dataText;
}

std::string SkinRegion::Tip(UiLanguage language) const {
    return Text(tip, language);
}

void AppendAreas(std::vector<SkinRegion>& areas, std::span<const SkinAreaRow> rows) {
    for (const SkinAreaRow& row : rows) {
        SkinRegion& area = areas.emplace_back();
        area.id = row.id;
        area.rect = row.rect;
        area.labelOnly = row.kind == SkinAreaKind::Label;
        area.listRow = row.kind == SkinAreaKind::ListRow;
        area.caption = row.caption;
        area.tip = row.tip;
        area.textFormat = row.format;
        area.fontIndex = row.font;
        area.textColor = row.colour;
        area.activeTextColor = row.activeColour;
        area.code = row.code;
        area.showText = row.showText;
    }
}
