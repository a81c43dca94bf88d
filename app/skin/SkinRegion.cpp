#include "skin/SkinRegion.h"

namespace {

const std::string& TextFor(const std::map<std::string, std::string>& texts, const std::string& language) {
    static const std::string none;
    const auto found = texts.find(language);
    return found == texts.end() ? none : found->second;
}

} // namespace

const std::string& SkinRegion::Caption(const std::string& language) const {
    return TextFor(captions, language);
}

const std::string& SkinRegion::Tip(const std::string& language) const {
    return TextFor(tips, language);
}

void AppendAreas(std::vector<SkinRegion>& areas, std::span<const SkinAreaRow> rows) {
    for (const SkinAreaRow& row : rows) {
        SkinRegion& area = areas.emplace_back();
        area.id = row.id;
        area.rect = row.rect;
        area.labelOnly = row.kind == SkinAreaKind::Label;
        area.listRow = row.kind == SkinAreaKind::ListRow;
        if (*row.chinese != '\0' || *row.english != '\0')
            area.captions = {{"zh-CN", row.chinese}, {"en-US", row.english}};
        if (*row.tipChinese != '\0' || *row.tipEnglish != '\0')
            area.tips = {{"zh-CN", row.tipChinese}, {"en-US", row.tipEnglish}};
        area.textFormat = row.format;
        area.fontIndex = row.font;
        area.textColor = row.colour;
        area.activeTextColor = row.activeColour;
        area.code = row.code;
        area.showText = row.showText;
    }
}
