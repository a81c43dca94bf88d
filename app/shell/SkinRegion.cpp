#include "shell/SkinRegion.h"

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

void AppendButtonAreas(std::vector<SkinRegion>& areas, std::span<const SkinButtonRow> buttons) {
    for (const SkinButtonRow& button : buttons) {
        SkinRegion& area = areas.emplace_back();
        area.id = button.id;
        area.rect = button.rect;
    }
}

void AppendLabelAreas(std::vector<SkinRegion>& areas, std::span<const SkinLabelRow> labels) {
    for (const SkinLabelRow& label : labels) {
        SkinRegion& area = areas.emplace_back();
        area.id = label.id;
        area.rect = label.rect;
        area.labelOnly = true;
        area.captions = {{"zh-CN", label.chinese}, {"en-US", label.english}};
        area.textFormat = label.format;
        area.fontIndex = label.font;
        area.textColor = label.colour;
        area.activeTextColor = label.colour;
    }
}
