// Picture 131 (the backlight settings dialog) and pictures 142 and 143 (the multi-key selection
// dialog, its background and its look of selected keys). The program draws each key's colour frame
// 2 pixels outside the key, so every key sits in a dark groove that the frame fills.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include "backlight/BacklightAreas.h"
#include "catalogue/KeyLegends.h"
#include "shell/MainWindowAreas.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>

using namespace SkinStyle;

namespace {

enum class Dialog { Settings, MultiSelect };

const QRectF KeyBed(30, 84, 980, 326);
const QRectF TitleTab(418, 6, 216, 32);
constexpr double DividerY = 63;

QRectF AreaRect(const std::vector<SkinRegion>& areas, int id) {
    for (const SkinRegion& area : areas) {
        if (area.id == id && !area.labelOnly)
            return ToRectF(area.rect);
    }
    return {};
}

void DrawTitleBar(QPainter& painter, Dialog dialog) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // The header, as on the main window but smaller.
    const bool settings = dialog == Dialog::Settings;
    DrawBrandedHeader(painter,
                      {.logoOrigin = QPointF(34, 46),
                       .logoTop = 20,
                       .logoSize = 28,
                       .barGap = 14,
                       .barTop = 20,
                       .barHeight = 27,
                       .textIndent = 11,
                       .captionSize = 11,
                       .captionSpacing = 2.2,
                       .captionBaseline = 31,
                       .subtitleSize = 9,
                       .subtitleSpacing = 1.6,
                       .subtitleBaseline = 45},
                      settings ? QStringLiteral("PER-KEY RGB BACKLIGHT")
                               : QStringLiteral("MULTI-KEY SELECTION"),
                      settings ? QStringLiteral("CLICK A KEY  \u00b7  PICK ITS COLOUR")
                               : QStringLiteral("CLICK KEYS  \u00b7  THEN SET ONE COLOUR"));

    // The tab behind the title caption, which the program draws from the top of its label.
    DrawTitleTab(painter, TitleTab, 16, 30);

    // Speed stripes leading to the close button.
    painter.setPen(Qt::NoPen);
    DrawSpeedStripes(
        painter, {.left = 890, .top = 18, .bottom = 36, .step = 16, .width = 6, .count = 5, .alphaStep = 40});

    // Divider under the title bar; the multi-key dialog's Set Color button breaks it.
    const auto rule = [&](double from, double to, bool fadeRight) {
        QLinearGradient fill(from, 0, to, 0);
        fill.setColorAt(0, QColor(255, 111, 0, fadeRight ? 220 : 0));
        fill.setColorAt(1, QColor(255, 111, 0, fadeRight ? 0 : 220));
        painter.setBrush(fill);
        painter.drawRect(QRectF(from, DividerY, to - from, 1.5));
    };
    if (dialog == Dialog::Settings) {
        rule(30, 1010, true);
    } else {
        rule(30, 430, false);
        rule(612, 1010, true);
    }
    painter.restore();
}

// The groove the program's colour frame fills.
void DrawKeySocket(QPainter& painter, const QRectF& key) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(key.adjusted(-2, -2, 2, 2), QColor(4, 4, 6));
    painter.restore();
}

// A tick in a lit badge: the key is one of the selected.
void DrawSelectedMark(QPainter& painter, const QRectF& key) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(key.right() - 6.5, key.top() + 6.5);
    painter.setPen(QPen(QColor(60, 20, 0), 1));
    painter.setBrush(AccentBright);
    painter.drawEllipse(centre, 5, 5);
    painter.setPen(QPen(QColor(40, 14, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(
        QPolygonF({centre + QPointF(-2.5, 0.1), centre + QPointF(-0.7, 2), centre + QPointF(2.6, -1.9)}));
    painter.restore();
}

void DrawKeys(QPainter& painter, SkinLook look) {
    for (int key = 1; key <= KeyCount; ++key)
        DrawKeySocket(painter, ToRectF(BacklightKeyRect(key)));
    for (int key = 1; key <= KeyCount; ++key) {
        const QRectF rect = ToRectF(BacklightKeyRect(key));
        const KeyLegend legend = KeyLegendOf(key);
        DrawKeycap(painter, rect, QString::fromUtf8(legend.main), QString::fromUtf8(legend.shifted), look);
        if (look == SkinLook::Active)
            DrawSelectedMark(painter, rect);
    }
}

void DrawKeyBed(QPainter& painter) {
    DrawPlate(painter, KeyBed, 14);
    painter.save();
    // Underglow strip along the front edge, in the colours a backlight runs through.
    QLinearGradient strip(KeyBed.left() + 40, 0, KeyBed.right() - 40, 0);
    const QColor spectrum[] = {QColor(255, 40, 40), QColor(255, 150, 0),  QColor(240, 230, 40),
                               QColor(40, 220, 90), QColor(30, 170, 255), QColor(150, 80, 255),
                               QColor(255, 40, 160)};
    constexpr int stops = sizeof spectrum / sizeof spectrum[0];
    for (int i = 0; i < stops; ++i)
        strip.setColorAt(static_cast<double>(i) / (stops - 1), spectrum[i]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(strip);
    painter.drawRect(QRectF(KeyBed.left() + 40, KeyBed.bottom() - 4, KeyBed.width() - 80, 2));
    painter.restore();
}

// Glyphs on the right of a button face, clear of its caption.
void DrawResetGlyph(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(centre.x() - 6, centre.y() - 6, 12, 12);
    painter.drawArc(circle, 100 * 16, 290 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(
        QPolygonF({centre + QPointF(-4.5, -9), centre + QPointF(1.5, -6.2), centre + QPointF(-3.6, -2.6)}));
    painter.restore();
}

void DrawAllGlyph(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            painter.drawRect(QRectF(centre.x() - 6.5 + column * 4.5, centre.y() - 6.5 + row * 4.5, 3.5, 3.5));
    }
    painter.restore();
}

void DrawSomeGlyph(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 1));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF cell(centre.x() - 6.5 + column * 4.5, centre.y() - 6.5 + row * 4.5, 3.5, 3.5);
            if ((row + column) % 2 == 0)
                painter.fillRect(cell, colour);
            else
                painter.fillRect(cell, QColor(colour.red(), colour.green(), colour.blue(), 70));
        }
    }
    painter.restore();
}

void DrawPaletteGlyph(QPainter& painter, const QPointF& centre) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor dots[] = {QColor(255, 60, 60), QColor(255, 200, 40), QColor(60, 210, 100),
                           QColor(50, 160, 255)};
    for (int i = 0; i < 4; ++i) {
        const double angle = (200 + i * 50) * 3.14159265 / 180;
        painter.setPen(Qt::NoPen);
        painter.setBrush(dots[i]);
        painter.drawEllipse(centre + QPointF(6 * std::cos(angle), 6 * std::sin(angle) + 2), 2.2, 2.2);
    }
    painter.setPen(QPen(QColor(255, 226, 190), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre + QPointF(0, 1), 9.5, 8);
    painter.restore();
}

// The write button is the dialog's main command: an orange rim marks it.
void DrawPrimaryButton(QPainter& painter, const QRectF& rect) {
    DrawButton(painter, rect, SkinLook::Normal);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = rect.adjusted(0.5, 0.5, -0.5, -5.5);
    painter.setPen(QPen(Accent, 1.5));
    painter.setBrush(QColor(255, 111, 0, 26));
    painter.drawPolygon(Chamfered(face, 7));
    painter.restore();
}

void DrawHint(QPainter& painter, const QRectF& rect, const QString& chinese, const QString& english) {
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(Font(11, QFont::DemiBold));
    painter.setPen(LegendDim);
    painter.drawText(QRectF(rect.left(), rect.top(), rect.width(), rect.height() / 2),
                     Qt::AlignRight | Qt::AlignVCenter, chinese);
    QFont small = Font(9, QFont::Bold);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.4);
    painter.setFont(small);
    painter.setPen(QColor(255, 111, 0, 190));
    painter.drawText(QRectF(rect.left(), rect.center().y(), rect.width(), rect.height() / 2),
                     Qt::AlignRight | Qt::AlignVCenter, english);
    painter.restore();
}

void DrawSettingsCommands(QPainter& painter) {
    const std::vector<SkinRegion> areas = BkLightSettingsAreas();
    const QColor glyph(255, 111, 0);
    for (const int id : {BkIdDefault, BkIdSetAll, BkIdMultiKey, BkIdCancel, BkIdOk})
        DrawButton(painter, AreaRect(areas, id), SkinLook::Normal);
    DrawPrimaryButton(painter, AreaRect(areas, BkIdWrite));
    // Captions of the first three run left of their buttons' centres; the glyphs balance them.
    const auto glyphAt = [&](int id) {
        const QRectF face = AreaRect(areas, id).adjusted(0, 0, 0, -5);
        return QPointF(face.right() - 14, face.center().y() + 1);
    };
    DrawResetGlyph(painter, glyphAt(BkIdDefault), glyph);
    DrawAllGlyph(painter, glyphAt(BkIdSetAll), glyph);
    DrawSomeGlyph(painter, glyphAt(BkIdMultiKey), glyph);
    DrawHint(painter, QRectF(800, 420, 204, 34), QStringLiteral("点击按键即可设置其颜色"),
             QStringLiteral("CLICK A KEY FOR ITS COLOUR"));
}

void DrawMultiSelectCommand(QPainter& painter) {
    const std::vector<SkinRegion> areas = BkLightMultiSelectAreas();
    // The face also spans the caption, which starts left of the button and takes clicks too.
    const QRectF button = AreaRect(areas, BkIdSetColour);
    const QRectF face(button.left() - 10, button.top(), button.width() + 10, button.height());
    DrawPrimaryButton(painter, face);
    DrawPaletteGlyph(painter, QPointF(face.right() - 16, face.top() + 14));
}

void PaintDialog(QPainter& painter, Dialog dialog, SkinLook keys) {
    const int height = dialog == Dialog::Settings ? BkLightSettingsHeight : BkLightMultiSelectHeight;
    DrawChassis(painter, QRectF(0, 0, BkLightWindowWidth, height));
    DrawTitleBar(painter, dialog);
    const std::vector<SkinRegion> areas =
        dialog == Dialog::Settings ? BkLightSettingsAreas() : BkLightMultiSelectAreas();
    DrawTitleButton(painter, AreaRect(areas, BkIdClose), QStringLiteral("\u00d7"), SkinLook::Normal, true);
    DrawKeyBed(painter);
    DrawKeys(painter, keys);
    if (dialog == Dialog::Settings)
        DrawSettingsCommands(painter);
    else
        DrawMultiSelectCommand(painter);
}

} // namespace

std::vector<SkinPictureSpec> BacklightPictures() {
    return {
        {BkLightSettingsPicture, QSize(BkLightWindowWidth, BkLightSettingsHeight),
         BkLightSettingsTransparentColour,
         [](QPainter& painter) { PaintDialog(painter, Dialog::Settings, SkinLook::Normal); }},
        {BkLightMultiSelectPicture, QSize(BkLightWindowWidth, BkLightMultiSelectHeight),
         BkLightMultiSelectTransparentColour,
         [](QPainter& painter) { PaintDialog(painter, Dialog::MultiSelect, SkinLook::Normal); }},
        {BkLightMultiSelectActivePicture, QSize(BkLightWindowWidth, BkLightMultiSelectHeight),
         BkLightMultiSelectTransparentColour,
         [](QPainter& painter) { PaintDialog(painter, Dialog::MultiSelect, SkinLook::Active); }},
    };
}
