// Pictures 101 (background), 102 (hover) and 103 (active) of the main window.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include "catalogue/KeyLegends.h"
#include "shell/MainWindowAreas.h"

#include <QLinearGradient>
#include <QPainterPath>

using namespace SkinStyle;

namespace {

constexpr QSize MainWindowSize(1170, 680);
const QRectF SidePanel(30, 150, 110, 332);
const QRectF KeyBed(160, 150, 986, 332);
const QRectF InfoFrame(41, 500, 925, 156);
const QRectF BadgePanel(978, 500, 168, 156);

void DrawGlobe(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 8, 8);
    painter.drawEllipse(centre, 3.5, 8);
    painter.drawLine(centre - QPointF(8, 0), centre + QPointF(8, 0));
    painter.drawLine(centre - QPointF(7, 4), centre + QPointF(7, -4));
    painter.drawLine(centre - QPointF(7, -4), centre + QPointF(7, 4));
    painter.restore();
}

void DrawBin(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(centre + QPointF(-7, -6), centre + QPointF(7, -6));
    painter.drawLine(centre + QPointF(-2.5, -8.5), centre + QPointF(2.5, -8.5));
    QPolygonF can({centre + QPointF(-5.5, -4), centre + QPointF(5.5, -4), centre + QPointF(4.5, 8),
                   centre + QPointF(-4.5, 8)});
    painter.drawPolygon(can);
    painter.drawLine(centre + QPointF(-1.8, -1.5), centre + QPointF(-1.5, 5.5));
    painter.drawLine(centre + QPointF(1.8, -1.5), centre + QPointF(1.5, 5.5));
    painter.restore();
}

void DrawTopBar(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    DrawBrandedHeader(painter,
                      {.logoOrigin = QPointF(36, 56),
                       .logoTop = 22,
                       .logoSize = 38,
                       .barGap = 18,
                       .barTop = 25,
                       .barHeight = 30,
                       .textIndent = 12,
                       .captionSize = 12,
                       .captionSpacing = 2.4,
                       .captionBaseline = 38,
                       .subtitleSize = 10,
                       .subtitleSpacing = 1.8,
                       .subtitleBaseline = 54},
                      QStringLiteral("PROGRAMMABLE GAMING KEYBOARD"),
                      QStringLiteral("87 KEYS  \u00b7  2 LAYERS  \u00b7  MACRO  \u00b7  RGB"));

    // The stripes and the divider are outlined in the header's dim legend colour.
    painter.setPen(LegendDim);
    // Speed stripes leading to the title-bar buttons.
    DrawSpeedStripes(
        painter, {.left = 930, .top = 26, .bottom = 44, .step = 16, .width = 6, .count = 6, .alphaStep = 36});

    // Divider between the title bar and the command row.
    QLinearGradient rule(30, 0, 1140, 0);
    rule.setColorAt(0, QColor(255, 111, 0, 220));
    rule.setColorAt(0.35, QColor(255, 111, 0, 60));
    rule.setColorAt(1, QColor(255, 111, 0, 0));
    painter.setBrush(rule);
    painter.drawRect(QRectF(30, 76, 1110, 1.5));
    painter.restore();
}

void DrawSidePanel(QPainter& painter) {
    DrawPlate(painter, SidePanel, 10);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont header = Font(10, QFont::Bold);
    header.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(header);
    painter.setPen(LegendDim);
    painter.drawText(QRectF(SidePanel.left(), 158, SidePanel.width(), 16), Qt::AlignCenter,
                     QStringLiteral("LAYER"));
    painter.setPen(QPen(QColor(255, 111, 0, 120), 1));
    painter.drawLine(QPointF(SidePanel.left() + 30, 178), QPointF(SidePanel.right() - 30, 178));

    // Decorative vents at the foot of the panel.
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        painter.setBrush(QColor(32, 35, 42));
        painter.drawRoundedRect(QRectF(SidePanel.left() + 22, 330 + i * 16, SidePanel.width() - 44, 6), 3, 3);
    }
    painter.restore();
}

void DrawKeyBed(QPainter& painter) {
    DrawPlate(painter, KeyBed, 14);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Underglow strip along the front edge of the board.
    QLinearGradient strip(KeyBed.left(), 0, KeyBed.right(), 0);
    strip.setColorAt(0, QColor(255, 60, 0));
    strip.setColorAt(0.5, QColor(255, 150, 0));
    strip.setColorAt(1, QColor(255, 60, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(strip);
    painter.drawRect(QRectF(KeyBed.left() + 40, KeyBed.bottom() - 4, KeyBed.width() - 80, 2));
    painter.restore();
}

void DrawInfoFrame(QPainter& painter) {
    DrawPlate(painter, InfoFrame, 8);
    painter.save();
    painter.fillRect(ToRectF(MainInfoPanelRect), QColor(20, 20, 20));
    painter.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::SquareCap));
    const QRectF f = InfoFrame.adjusted(1, 1, -1, -1);
    const double arm = 14;
    painter.drawLine(QPointF(f.left() + 8, f.top()), QPointF(f.left() + 8 + arm, f.top()));
    painter.drawLine(QPointF(f.left(), f.top() + 8), QPointF(f.left(), f.top() + 8 + arm));
    painter.drawLine(QPointF(f.right() - 8, f.bottom()), QPointF(f.right() - 8 - arm, f.bottom()));
    painter.drawLine(QPointF(f.right(), f.bottom() - 8), QPointF(f.right(), f.bottom() - 8 - arm));
    painter.restore();
}

void DrawBadge(QPainter& painter) {
    DrawPlate(painter, BadgePanel, 8);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawProgramIcon(painter, QRectF(BadgePanel.center().x() - 28, BadgePanel.top() + 14, 56, 56));
    QFont model = Font(18, QFont::Black, true);
    model.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(model);
    painter.setPen(QColor(226, 230, 236));
    painter.drawText(QRectF(BadgePanel.left(), BadgePanel.top() + 76, BadgePanel.width(), 26),
                     Qt::AlignCenter, QStringLiteral("ZELK K87"));
    QFont tag = Font(9, QFont::Bold);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    painter.setFont(tag);
    painter.setPen(Accent);
    painter.drawText(QRectF(BadgePanel.left(), BadgePanel.top() + 104, BadgePanel.width(), 16),
                     Qt::AlignCenter, QStringLiteral("TENKEYLESS  \u00b7  USB"));
    painter.setPen(LegendDim);
    painter.drawText(QRectF(BadgePanel.left(), BadgePanel.top() + 122, BadgePanel.width(), 16),
                     Qt::AlignCenter, QStringLiteral("KEY PROGRAMMING SUITE"));
    painter.restore();
}

void DrawArea(QPainter& painter, const SkinRegion& area, SkinLook look) {
    const QRectF rect = ToRectF(area.rect);
    if (area.keyIndex > 0) {
        const KeyLegend legend = KeyLegendOf(area.keyIndex);
        DrawKeycap(painter, rect, QString::fromUtf8(legend.main), QString::fromUtf8(legend.shifted), look);
        return;
    }
    switch (area.id) {
    case IdHelp:
        DrawTitleButton(painter, rect, QStringLiteral("?"), look, false);
        return;
    case IdHide:
        DrawTitleButton(painter, rect, QStringLiteral("\u2013"), look, false);
        return;
    case IdExit:
        DrawTitleButton(painter, rect, QStringLiteral("\u00d7"), look, true);
        return;
    case IdLayer:
        DrawToggle(painter, rect, look);
        return;
    case IdLevel1Label:
    case IdLevel2Label:
        DrawLabelPlate(painter, rect, look, ToQColor(area.activeTextColor));
        return;
    default:
        break;
    }
    if (area.labelOnly)
        return; // command captions are drawn by the program over their buttons
    DrawButton(painter, rect, look);
    const QColor iconColour = look == SkinLook::Normal ? QColor(255, 111, 0) : QColor(255, 226, 190);
    if (area.id == IdLanguage)
        DrawGlobe(painter, QPointF(rect.left() + 18, rect.center().y() - 1), iconColour);
    else if (area.id == IdClear)
        DrawBin(painter, QPointF(rect.left() + 17, rect.center().y()), iconColour);
}

void PaintMainWindow(QPainter& painter, SkinLook look) {
    DrawChassis(painter, QRectF(QPointF(0, 0), QSizeF(MainWindowSize)));
    DrawTopBar(painter);
    DrawSidePanel(painter);
    DrawKeyBed(painter);
    DrawInfoFrame(painter);
    DrawBadge(painter);
    for (const SkinRegion& area : MainWindowAreas())
        DrawArea(painter, area, look == SkinLook::Hover && area.labelOnly ? SkinLook::Normal : look);
}

} // namespace

std::vector<SkinPictureSpec> MainWindowPictures() {
    return {
        {MainBackgroundPicture, MainWindowSize, MainWindowTransparentColour,
         [](QPainter& painter) { PaintMainWindow(painter, SkinLook::Normal); }},
        {MainHoverPicture, MainWindowSize, MainWindowTransparentColour,
         [](QPainter& painter) { PaintMainWindow(painter, SkinLook::Hover); }},
        {MainActivePicture, MainWindowSize, MainWindowTransparentColour,
         [](QPainter& painter) { PaintMainWindow(painter, SkinLook::Active); }},
    };
}
