// The area record of a skinned window: one clickable area, key or text label, with its rectangle,
// its caption and tooltip (text ids, or a text that is data) and its drawing state. Free of Qt so that the
// build-time skin painter draws the pictures from the very tables the windows use.
#pragma once

#include "text/UiTexts.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct SkinColour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const SkinColour&, const SkinColour&) = default;
};

// Left and top are inside the rectangle, right and bottom outside.
struct SkinRect {
    std::int32_t left = -1;
    std::int32_t top = -1;
    std::int32_t right = -1;
    std::int32_t bottom = -1;

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SkinRect&) const = default;
};

// Text drawing flags of a caption, with the values the skin tables use.
enum SkinTextFormat : std::uint32_t {
    TextLeft = 0,
    TextCentre = 1,
    TextRight = 2,
    TextVCentre = 4,
    TextBottom = 8,
    TextWordBreak = 16,
    TextSingleLine = 32,
};

inline constexpr SkinColour DefaultCaptionColour{200, 200, 200};
inline constexpr int DefaultSkinFont = 13;
// The text-box look of the skinned windows: orange text on the dark brush.
inline constexpr SkinColour TextBoxTextColour{255, 111, 0};
inline constexpr SkinColour TextBoxBackground{20, 20, 20};

struct SkinRegion {
    std::int32_t id = -1;
    TextId caption = TextId::None;
    TextId tip = TextId::None;
    // Shown instead of the caption in every language: the text of a list row or of the single-key box.
    std::string dataText;
    SkinRect rect;
    SkinColour textColor = DefaultCaptionColour;
    SkinColour activeTextColor = DefaultCaptionColour;
    std::int32_t keyIndex = -1;
    std::int32_t code = -1;
    bool active = false;
    bool labelOnly = false;
    bool listRow = false;
    bool showText = true;
    bool hovered = false;
    std::uint32_t textFormat = TextCentre;
    std::int32_t fontIndex = DefaultSkinFont;

    // UTF-8; empty when the area has none.
    std::string Caption(UiLanguage language) const;
    std::string Tip(UiLanguage language) const;
};

// What an area of a window's table is.
enum class SkinAreaKind {
    Picture, // drawn from the window's pictures, hovered and clicked
    Label,   // carries a caption; never hovered, and clicked only in windows whose labels take clicks
    ListRow, // a row of a list: its caption is drawn and it takes clicks
};

// One row of a window's area table as the tables write it; the row becomes one area record.
struct SkinAreaRow {
    std::int32_t id;
    SkinAreaKind kind;
    SkinRect rect;
    TextId caption = TextId::None;
    std::uint32_t format = TextCentre;
    std::int32_t font = DefaultSkinFont;
    SkinColour colour = DefaultCaptionColour;
    SkinColour activeColour = colour;
    std::int32_t code = -1;
    TextId tip = TextId::None;
    bool showText = true;
};

// Appends an area record for every row.
void AppendAreas(std::vector<SkinRegion>& areas, std::span<const SkinAreaRow> rows);
