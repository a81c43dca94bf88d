// Pictures 107 to 127: the key assignment editor's seven pages, each as background, hover and active
// picture. Every page shares the title bar, the tab row (its own tab drawn as the selected one) and
// the Clear, OK and Cancel buttons; the rest is the page's own: list boxes with room for the scroll
// bars the program places, fields behind its edits, and keycap icons whose glyphs say what they do.
// The program draws every caption itself, so the pictures carry no caption text.
#include "Glyphs.h"
#include "SkinPictures.h"
#include "SkinStyle.h"

#include "editor/EditorAreas.h"
#include "editor/EditorPages.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

using namespace SkinStyle;

namespace {

constexpr QSize EditorSize(EditorWidth, EditorHeight);
// The title label starts one pixel from the left edge, 12 pixels down: the corners are cut less
// deeply than on the larger windows so that it stays on the body.
constexpr double ChassisCut = 12;
const QRectF PagePanel(14, 80, 552, 234);
const QRectF TitleTab(217, 6, 140, 30);
const QColor PanelTop(34, 37, 45);
const QColor PanelBottom(21, 23, 28);
const QColor TextBoxFill = ToQColor(TextBoxBackground); // the edits' own background
const QColor Rim(58, 63, 75);

QRectF AreaRect(int id) {
    static const std::vector<SkinRegion> areas = EditorAreas();
    for (const SkinRegion& area : areas) {
        if (area.id == id && !area.labelOnly)
            return ToRectF(area.rect);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The frame every page shares.

// The emblem beside the wordmark: a row of three keys, the middle one lit as the key being set.
void DrawEditorEmblem(QPainter& painter, const QPointF& origin) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const QRectF cap(origin.x() + i * 15, origin.y(), 13, 13);
        const bool lit = i == 1;
        painter.setPen(QPen(lit ? Accent : QColor(78, 85, 100), 1));
        painter.setBrush(lit ? QColor(92, 40, 4) : QColor(36, 39, 47));
        painter.drawRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit ? QColor(255, 150, 50) : QColor(54, 58, 70));
        painter.drawRoundedRect(cap.adjusted(2.5, 2, -2.5, -4.5), 1.5, 1.5);
    }
    painter.restore();
}

void DrawTitleBar(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBrandedHeader(painter,
                      {.logoOrigin = QPointF(30, 35),
                       .logoTop = 14,
                       .logoSize = 24,
                       .barGap = 12,
                       .barTop = 14,
                       .barHeight = 22,
                       .textIndent = 10,
                       .captionSize = 10,
                       .captionSpacing = 2,
                       .captionBaseline = 24,
                       .subtitleSize = 8,
                       .subtitleSpacing = 1.5,
                       .subtitleBaseline = 35},
                      QString(), QString());
    DrawEditorEmblem(painter, QPointF(116, 19));

    // The tab behind the title, which the program draws centred from the top of its label.
    DrawTitleTab(painter, TitleTab, 14, 28);

    // Speed stripes leading to the close box.
    painter.setPen(Qt::NoPen);
    DrawSpeedStripes(
        painter, {.left = 458, .top = 13, .bottom = 29, .step = 15, .width = 5, .count = 5, .alphaStep = 40});

    QLinearGradient rule(24, 0, EditorWidth - 24, 0);
    rule.setColorAt(0, QColor(255, 111, 0, 220));
    rule.setColorAt(0.5, QColor(255, 111, 0, 90));
    rule.setColorAt(1, QColor(255, 111, 0, 0));
    painter.setBrush(rule);
    painter.drawRect(QRectF(24, 40, EditorWidth - 48, 1.5));
    painter.restore();
}

QPolygonF PanelShape(const QRectF& r, double cut) {
    return QPolygonF({r.topLeft(), r.topRight(), QPointF(r.right(), r.bottom() - cut),
                      QPointF(r.right() - cut, r.bottom()), r.bottomLeft()});
}

// The raised face the tabs open onto; the selected tab's face runs on into it without a line.
void DrawPagePanel(QPainter& painter, int page) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(PagePanel.topLeft(), PagePanel.bottomLeft());
    fill.setColorAt(0, PanelTop);
    fill.setColorAt(1, PanelBottom);
    painter.setPen(QPen(Rim, 1));
    painter.setBrush(fill);
    painter.drawPolygon(PanelShape(PagePanel.adjusted(0.5, 0.5, -0.5, -0.5), 12));
    const QRectF selected = AreaRect(EditorPageRowOf(page).tab);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PanelTop);
    painter.drawRect(QRectF(selected.left() + 1, PagePanel.top(), selected.width() - 2, 1.5));

    // Corner ticks, as on the main window's info frame.
    painter.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::SquareCap));
    const QRectF f = PagePanel.adjusted(1, 1, -1, -1);
    painter.drawLine(QPointF(f.left(), f.bottom() - 8), QPointF(f.left(), f.bottom() - 22));
    painter.drawLine(QPointF(f.left() + 8, f.bottom()), QPointF(f.left() + 22, f.bottom()));
    painter.setPen(QPen(Accent, 2.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(f.right() - 2, f.bottom() - 10), QPointF(f.right() - 10, f.bottom() - 2));
    painter.restore();
}

// One tab: the selected one shares the panel's face and carries an accent bar on its top edge.
void DrawTab(QPainter& painter, const QRectF& rect, SkinLook look, bool selected) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = rect.adjusted(0.5, 0.5, -0.5, 1);
    const QPolygonF shape({QPointF(body.left() + 8, body.top()), body.topRight(), body.bottomRight(),
                           body.bottomLeft(), QPointF(body.left(), body.top() + 8)});
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    QColor border(58, 63, 75), bar = Accent;
    if (look == SkinLook::Active) {
        fill.setColorAt(0, QColor(150, 62, 6));
        fill.setColorAt(1, QColor(84, 34, 2));
        border = AccentBright;
        bar = QColor(255, 200, 130);
    } else if (selected) {
        fill.setColorAt(0, look == SkinLook::Hover ? QColor(60, 65, 78) : QColor(46, 50, 60));
        fill.setColorAt(1, PanelTop);
        border = look == SkinLook::Hover ? AccentBright : QColor(72, 78, 94);
        bar = look == SkinLook::Hover ? AccentBright : Accent;
    } else if (look == SkinLook::Hover) {
        fill.setColorAt(0, QColor(78, 86, 102));
        fill.setColorAt(1, QColor(46, 50, 60));
        border = AccentBright;
    } else {
        fill.setColorAt(0, QColor(34, 37, 45));
        fill.setColorAt(1, QColor(24, 26, 32));
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    if (selected || look != SkinLook::Normal) {
        painter.setPen(QPen(bar, 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(rect.left() + 9, rect.top() + 1.5),
                         QPointF(rect.right() - 1, rect.top() + 1.5));
    }
    painter.restore();
}

// The OK button is the dialog's main command: an orange rim marks it.
void DrawPrimaryButton(QPainter& painter, const QRectF& rect, SkinLook look) {
    DrawButton(painter, rect, look);
    if (look != SkinLook::Normal)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = rect.adjusted(0.5, 0.5, -0.5, -5.5);
    painter.setPen(QPen(Accent, 1.5));
    painter.setBrush(QColor(255, 111, 0, 26));
    painter.drawPolygon(Chamfered(face, 7));
    painter.restore();
}

// ---------------------------------------------------------------------------------------------
// Controls of the pages.

QColor ButtonGlyphColour(SkinLook look) {
    return look == SkinLook::Normal ? Accent : QColor(255, 226, 190);
}

// A record button: a lit dot at its front marks it; recording lights the whole button.
void DrawRecordButton(QPainter& painter, const QRectF& rect, SkinLook look) {
    DrawButton(painter, rect, look);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = rect.adjusted(0, 0, 0, -5);
    const QPointF centre(face.left() + 15, face.center().y());
    QRadialGradient dot(centre - QPointF(1.5, 1.5), 6);
    if (look == SkinLook::Active) {
        dot.setColorAt(0, QColor(255, 236, 210));
        dot.setColorAt(1, QColor(255, 70, 40));
    } else {
        dot.setColorAt(0, look == SkinLook::Hover ? QColor(255, 150, 120) : QColor(230, 90, 60));
        dot.setColorAt(1, look == SkinLook::Hover ? QColor(220, 40, 20) : QColor(150, 30, 14));
    }
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1));
    painter.setBrush(dot);
    painter.drawEllipse(centre, 4.6, 4.6);
    painter.restore();
}

// A button whose glyph at its front names what it does.
void DrawGlyphButton(QPainter& painter, const QRectF& rect, SkinLook look, Glyph glyph) {
    DrawButton(painter, rect, look);
    const QRectF face = rect.adjusted(0, 0, 0, -5);
    DrawGlyph(painter, QRectF(face.left() + 5, face.center().y() - 6, 12, 12), glyph,
              ButtonGlyphColour(look));
}

// One of page 1's two modes: a lamp before the program's caption, on a backdrop that fades to the
// right so that a caption running past the area does not look cut.
void DrawModeSwitch(QPainter& painter, const QRectF& rect, SkinLook look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF chip = rect.adjusted(0.5, 2.5, 2, -4.5);
    QLinearGradient backdrop(chip.topLeft(), chip.topRight());
    QColor from(255, 255, 255, 10), edge(255, 255, 255, 24);
    if (look == SkinLook::Hover) {
        from = QColor(255, 255, 255, 34);
        edge = QColor(255, 158, 60, 170);
    } else if (look == SkinLook::Active) {
        from = QColor(255, 111, 0, 80);
        edge = QColor(255, 111, 0, 210);
    }
    QColor to = from;
    to.setAlpha(from.alpha() / 5);
    backdrop.setColorAt(0, from);
    backdrop.setColorAt(1, to);
    QLinearGradient outline(chip.topLeft(), chip.topRight());
    outline.setColorAt(0, edge);
    QColor edgeEnd = edge;
    edgeEnd.setAlpha(0);
    outline.setColorAt(1, edgeEnd);
    painter.setPen(QPen(QBrush(outline), 1));
    painter.setBrush(backdrop);
    painter.drawRoundedRect(chip, chip.height() / 2, chip.height() / 2);

    const QPointF lamp(rect.left() + 9, chip.center().y());
    painter.setPen(QPen(look == SkinLook::Normal ? QColor(96, 104, 120) : AccentBright, 1.4));
    painter.setBrush(QColor(10, 11, 14));
    painter.drawEllipse(lamp, 6.5, 6.5);
    if (look == SkinLook::Active) {
        QRadialGradient lit(lamp - QPointF(1, 1), 5);
        lit.setColorAt(0, QColor(255, 226, 180));
        lit.setColorAt(1, QColor(255, 111, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit);
        painter.drawEllipse(lamp, 4, 4);
    } else if (look == SkinLook::Hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(120, 128, 146));
        painter.drawEllipse(lamp, 3, 3);
    }
    painter.restore();
}

void DrawCheckBox(QPainter& painter, const QRectF& rect, SkinLook look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    QColor border(96, 104, 120);
    if (look == SkinLook::Active) {
        fill.setColorAt(0, AccentBright);
        fill.setColorAt(1, QColor(210, 80, 0));
        border = QColor(255, 200, 140);
    } else if (look == SkinLook::Hover) {
        fill.setColorAt(0, QColor(70, 76, 92));
        fill.setColorAt(1, QColor(44, 48, 58));
        border = AccentBright;
    } else {
        fill.setColorAt(0, QColor(8, 9, 11));
        fill.setColorAt(1, QColor(20, 22, 27));
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 2.5, 2.5);
    if (look == SkinLook::Active) {
        painter.setPen(QPen(QColor(50, 16, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const QPointF c = rect.center();
        painter.drawPolyline(QPolygonF({c + QPointF(-3.6, 0), c + QPointF(-1, 2.8), c + QPointF(3.8, -2.8)}));
    }
    painter.restore();
}

// A row of a list: hovering tints it faintly, the selected row is lit.
void DrawListRow(QPainter& painter, const QRectF& rect, SkinLook look) {
    if (look == SkinLook::Normal)
        return;
    painter.save();
    if (look == SkinLook::Hover) {
        painter.fillRect(rect, QColor(255, 255, 255, 16));
    } else {
        QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
        fill.setColorAt(0, QColor(150, 62, 6));
        fill.setColorAt(1, QColor(96, 38, 2));
        painter.fillRect(rect, fill);
        painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), 1), QColor(255, 150, 60));
        painter.fillRect(QRectF(rect.left(), rect.bottom() - 1, rect.width(), 1), QColor(60, 22, 0));
    }
    painter.restore();
}

// A row of the mouse page: a slim plate with its action's glyph at the front.
void DrawActionRow(QPainter& painter, const QRectF& rect, SkinLook look, Glyph glyph) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    QColor border(54, 59, 71);
    if (look == SkinLook::Active) {
        fill.setColorAt(0, QColor(140, 58, 6));
        fill.setColorAt(1, QColor(80, 32, 2));
        border = Accent;
    } else if (look == SkinLook::Hover) {
        fill.setColorAt(0, QColor(72, 79, 94));
        fill.setColorAt(1, QColor(50, 55, 66));
        border = AccentBright;
    } else {
        fill.setColorAt(0, QColor(38, 41, 50));
        fill.setColorAt(1, QColor(28, 30, 37));
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPolygon(Chamfered(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4));
    painter.restore();
    DrawGlyph(painter, QRectF(rect.left() + 5, rect.top() + 1, 14, 14), glyph, ButtonGlyphColour(look));
}

// An icon of a choice page: a keycap carrying its function's glyph, lit when picked.
void DrawIconKey(QPainter& painter, const QRectF& rect, SkinLook look, Glyph glyph) {
    DrawKeycap(painter, rect, QString(), QString(), look);
    const QRectF face = rect.adjusted(5, 3.5, -5, -8);
    const QColor colour = look == SkinLook::Active  ? QColor(255, 200, 130)
                          : look == SkinLook::Hover ? QColor(255, 255, 255)
                                                    : Legend;
    DrawGlyph(painter, face.adjusted(2, 2, -2, -2), glyph, colour);
}

// ---------------------------------------------------------------------------------------------
// What lies behind the areas of each page.

// A thin outline around a group of controls, with an accent tick at its top-left corner.
void DrawGroupFrame(QPainter& painter, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(50, 54, 65), 1));
    painter.setBrush(QColor(0, 0, 0, 22));
    painter.drawPolygon(Chamfered(rect.adjusted(0.5, 0.5, -0.5, -0.5), 8));
    painter.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(rect.left() + 1, rect.top() + 9), QPointF(rect.left() + 9, rect.top() + 1));
    painter.restore();
}

// A list box: a recessed plate, optionally with a header band that the program's title label sits
// on, and a lane at its right for the scroll bar.
void DrawListBox(QPainter& painter, const QRectF& rect, double headerBottom, double barLeft) {
    DrawPlate(painter, rect, 4);
    painter.save();
    if (headerBottom > rect.top()) {
        QLinearGradient band(rect.topLeft(), QPointF(rect.left(), headerBottom));
        band.setColorAt(0, QColor(40, 44, 54));
        band.setColorAt(1, QColor(28, 31, 38));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(band);
        painter.drawPolygon(
            QPolygonF({QPointF(rect.left() + 4, rect.top() + 1), QPointF(rect.right() - 4, rect.top() + 1),
                       QPointF(rect.right() - 1, rect.top() + 4), QPointF(rect.right() - 1, headerBottom),
                       QPointF(rect.left() + 1, headerBottom), QPointF(rect.left() + 1, rect.top() + 4)}));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRectF(rect.left() + 1, headerBottom, rect.width() - 2, 1), QColor(58, 63, 75));
        painter.fillRect(QRectF(rect.left() + 1, rect.top() + 5, 2, headerBottom - rect.top() - 8), Accent);
    }
    if (barLeft > 0)
        painter.fillRect(QRectF(barLeft - 1, std::max(rect.top(), headerBottom) + 1, 1,
                                rect.bottom() - std::max(rect.top(), headerBottom) - 2),
                         QColor(36, 39, 47));
    painter.restore();
}

// Faint lines between the rows of a list.
void DrawRowRules(QPainter& painter, double left, double right, double firstTop, double pitch, int rows) {
    painter.save();
    for (int k = 1; k < rows; ++k)
        painter.fillRect(QRectF(left, firstTop + k * pitch - 1, right - left, 1), QColor(255, 255, 255, 9));
    painter.restore();
}

// The frame of a caption that belongs to a field right of it (the prompt, the interval).
void DrawCaptionFrame(QPainter& painter, const QRectF& area, double height) {
    const QRectF rect(area.left(), area.top(), area.width(), std::min(area.height(), height));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(42, 46, 56));
    fill.setColorAt(1, QColor(30, 33, 40));
    painter.setPen(QPen(QColor(62, 68, 82), 1));
    painter.setBrush(fill);
    painter.drawPolygon(Chamfered(rect.adjusted(0.5, 0.5, -0.5, -0.5), 5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(rect.left() + 1, rect.top() + 6, 2, rect.height() - 8), Accent);
    painter.restore();
}

void DrawSectionRule(QPainter& painter, double left, double right, double y) {
    painter.save();
    QLinearGradient rule(left, 0, right, 0);
    rule.setColorAt(0, QColor(255, 111, 0, 200));
    rule.setColorAt(0.3, QColor(255, 111, 0, 70));
    rule.setColorAt(1, QColor(255, 111, 0, 0));
    painter.fillRect(QRectF(left, y, right - left, 1), rule);
    painter.restore();
}

// A recessed bed holding a row or grid of icon keys, as the key bed of the main window.
void DrawIconBed(QPainter& painter, const QRectF& rect) {
    DrawPlate(painter, rect, 6);
    painter.save();
    QLinearGradient strip(rect.left() + 20, 0, rect.right() - 20, 0);
    strip.setColorAt(0, QColor(255, 60, 0, 0));
    strip.setColorAt(0.5, QColor(255, 130, 0, 200));
    strip.setColorAt(1, QColor(255, 60, 0, 0));
    painter.fillRect(QRectF(rect.left() + 20, rect.bottom() - 3, rect.width() - 40, 1.5), strip);
    painter.restore();
}

void DrawUniComboPage(QPainter& painter) {
    DrawGroupFrame(painter, QRectF(34, 92, 142, 198));
    DrawGroupFrame(painter, QRectF(202, 92, 334, 198));
    // The single key.
    SkinPlate::DrawTextField(painter, QRectF(44, 162, 120, 26));
    // The combinations on the left, the keys of the selected one on the right, where edit 1005 lies.
    const QRectF table(210, 134, 316, 102);
    DrawListBox(painter, table, 0, 358);
    painter.fillRect(QRectF(375, table.top() + 1, 1, table.height() - 2), QColor(58, 63, 75));
    painter.fillRect(QRectF(376, table.top() + 2, table.right() - 378, table.height() - 4), TextBoxFill);
    DrawRowRules(painter, 212, 356, 136, 16, 6);
}

void DrawListPage(QPainter& painter) {
    DrawListBox(painter, QRectF(33, 92, 166, 152), 112, 181);
    DrawListBox(painter, QRectF(209, 92, 166, 152), 112, 357);
    DrawRowRules(painter, 35, 179, 114, 14, 9);
    DrawRowRules(painter, 211, 356, 114, 14, 9);
}

void DrawMacroPage(QPainter& painter) {
    DrawListPage(painter);
    // Edits 1001 and 1002 sit further right in English than in Chinese: the editor draws their
    // fields where they are.
    painter.fillRect(QRectF(390, 172, 170, 1), QColor(50, 54, 65));
    // The hint's panel, with an information mark before the program's text.
    const QRectF hint(204, 251, 342, 60);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(46, 50, 60), 1));
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawPolygon(Chamfered(hint.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    const QPointF mark(216.5, 262.5);
    painter.setPen(QPen(Accent, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(mark, 7, 7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent);
    painter.drawEllipse(mark + QPointF(0, -3.4), 1.2, 1.2);
    painter.drawRoundedRect(QRectF(mark.x() - 1, mark.y() - 1, 2, 5.5), 0.8, 0.8);
    painter.restore();
}

// Three keys struck one after another: the emulation's picture beside its controls.
void DrawEmulationScene(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double top = 200;
    for (int i = 0; i < 3; ++i) {
        const QRectF cap(395 + i * 48, top + (i == 1 ? 4 : 0), 34, 32);
        painter.setPen(QPen(i == 1 ? QColor(255, 111, 0, 150) : QColor(52, 57, 68), 1));
        painter.setBrush(i == 1 ? QColor(60, 30, 8) : QColor(32, 35, 42));
        painter.drawRoundedRect(cap, 4, 4);
        painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
        painter.setBrush(i == 1 ? QColor(80, 40, 12) : QColor(42, 46, 55));
        painter.drawRoundedRect(cap.adjusted(4, 3, -4, -7), 3, 3);
    }
    // The time line under them, one tick per stroke.
    painter.setPen(QPen(QColor(70, 76, 90), 1.2));
    painter.drawLine(QPointF(392, 252), QPointF(532, 252));
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QPen(i == 1 ? Accent : QColor(96, 104, 120), 2));
        painter.drawLine(QPointF(412 + i * 48, 248), QPointF(412 + i * 48, 256));
    }
    for (int i = 0; i < 2; ++i) {
        QColor chevron = Accent;
        chevron.setAlpha(120);
        painter.setPen(QPen(chevron, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double x = 433 + i * 48;
        painter.drawPolyline(QPolygonF({QPointF(x, 212), QPointF(x + 4, 216), QPointF(x, 220)}));
    }
    painter.restore();
}

void DrawEmulatePage(QPainter& painter) {
    DrawListPage(painter);
    DrawEmulationScene(painter);
}

void DrawMultimediaPage(QPainter& painter) {
    DrawSectionRule(painter, 46, 436, 146);
    DrawSectionRule(painter, 46, 536, 228);
    DrawIconBed(painter, QRectF(40, 148, 397, 46));
    DrawIconBed(painter, QRectF(40, 231, 497, 47));
}

// A mouse in outline: the picture beside the mouse page's rows.
void DrawMouseScene(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(350, 112, 112, 168);
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, QColor(40, 44, 54));
    fill.setColorAt(1, QColor(20, 22, 27));
    painter.setPen(QPen(QColor(66, 72, 88), 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 56, 56);
    painter.setPen(QPen(QColor(10, 11, 14), 2));
    painter.drawLine(QPointF(body.left() + 2, 176), QPointF(body.right() - 2, 176));
    painter.drawLine(QPointF(body.center().x(), body.top() + 2), QPointF(body.center().x(), 176));
    const QRectF wheel(body.center().x() - 7, 132, 14, 30);
    painter.setPen(QPen(AccentBright, 1.2));
    painter.setBrush(QColor(70, 30, 4));
    painter.drawRoundedRect(wheel, 7, 7);
    painter.setPen(QPen(QColor(255, 160, 80, 160), 1));
    for (int i = 0; i < 4; ++i)
        painter.drawLine(QPointF(wheel.left() + 3, wheel.top() + 8 + i * 5),
                         QPointF(wheel.right() - 3, wheel.top() + 8 + i * 5));
    // Light strip along its foot.
    QLinearGradient strip(body.left() + 20, 0, body.right() - 20, 0);
    strip.setColorAt(0, QColor(255, 60, 0, 0));
    strip.setColorAt(0.5, QColor(255, 130, 0, 210));
    strip.setColorAt(1, QColor(255, 60, 0, 0));
    painter.setPen(QPen(QBrush(strip), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(body.adjusted(6, 6, -6, -6), 215 * 16, 110 * 16);
    // The cable.
    painter.setPen(QPen(QColor(66, 72, 88), 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(body.center().x(), body.top()));
    cable.cubicTo(QPointF(body.center().x(), 96), QPointF(470, 104), QPointF(500, 92));
    painter.drawPath(cable);
    painter.restore();
}

void DrawMousePage(QPainter& painter) {
    DrawPlate(painter, QRectF(31, 109, 233, 180), 6);
    DrawMouseScene(painter);
}

void DrawFunctionPage(QPainter& painter) {
    DrawSectionRule(painter, 36, 396, 108);
    DrawSectionRule(painter, 36, 462, 216);
    DrawIconBed(painter, QRectF(30, 109, 366, 86));
    DrawIconBed(painter, QRectF(30, 217, 432, 88));
}

// A keyboard in outline whose three power keys, top right, are lit: where the picks of this page go.
void DrawPowerScene(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF board(186, 224, 210, 72);
    painter.setPen(QPen(QColor(52, 57, 68), 1.2));
    painter.setBrush(QColor(18, 20, 24));
    painter.drawRoundedRect(board, 6, 6);
    const double key = 11, step = 13;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 15; ++column) {
            const bool power = row == 0 && column >= 12;
            const QRectF cap(board.left() + 8 + column * step, board.top() + 8 + row * 15, key,
                             row == 0 ? 8 : key);
            painter.setPen(power ? QPen(Accent, 1) : Qt::NoPen);
            painter.setBrush(power ? QColor(110, 44, 4) : QColor(34, 37, 45));
            painter.drawRoundedRect(cap, 2, 2);
        }
    }
    QLinearGradient strip(board.left() + 20, 0, board.right() - 20, 0);
    strip.setColorAt(0, QColor(255, 60, 0, 0));
    strip.setColorAt(0.5, QColor(255, 130, 0, 160));
    strip.setColorAt(1, QColor(255, 60, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(strip);
    painter.drawRect(QRectF(board.left() + 20, board.bottom() - 2.5, board.width() - 40, 1.5));
    painter.restore();
}

void DrawPowerPage(QPainter& painter) {
    DrawGroupFrame(painter, QRectF(146, 140, 290, 70));
    DrawPlate(painter, QRectF(156, 154, 270, 42), 6);
    DrawPowerScene(painter);
}

void DrawBackdrop(QPainter& painter, EditorBackdrop backdrop) {
    switch (backdrop) {
    case EditorBackdrop::UniCombo:
        DrawUniComboPage(painter);
        break;
    case EditorBackdrop::MacroList:
        DrawMacroPage(painter);
        break;
    case EditorBackdrop::EmulationList:
        DrawEmulatePage(painter);
        break;
    case EditorBackdrop::MediaIcons:
        DrawMultimediaPage(painter);
        break;
    case EditorBackdrop::MouseRows:
        DrawMousePage(painter);
        break;
    case EditorBackdrop::FunctionIcons:
        DrawFunctionPage(painter);
        break;
    case EditorBackdrop::PowerKeys:
        DrawPowerPage(painter);
        break;
    }
}

// ---------------------------------------------------------------------------------------------

void DrawArea(QPainter& painter, const SkinRegion& area, int page, SkinLook look) {
    const QRectF rect = ToRectF(area.rect);
    if (area.listRow) {
        DrawListRow(painter, rect, look);
        return;
    }
    if (const int shows = EditorPageOfTab(area.id); shows != 0) {
        DrawTab(painter, rect, look, shows == page);
        return;
    }
    if (const Glyph glyph = GlyphOf(area.id)) {
        if (area.id >= IdMouseFirst && area.id <= IdMouseLast)
            DrawActionRow(painter, rect, look, glyph);
        else if (area.id >= IdPowerFirst && area.id <= IdPowerLast)
            DrawGlyphButton(painter, rect, look, glyph);
        else
            DrawIconKey(painter, rect, look, glyph);
        return;
    }
    switch (area.id) {
    case IdEditorClose:
        DrawTitleButton(painter, rect, QStringLiteral("\u00d7"), look, true);
        return;
    case IdEditorOk:
        DrawPrimaryButton(painter, rect, look);
        return;
    case IdSingleMode:
    case IdComboMode:
        DrawModeSwitch(painter, rect, look);
        return;
    case IdPromptFrame:
        DrawCaptionFrame(painter, rect, rect.height()); // frames only: they do nothing and do not light up
        return;
    case IdIntervalFrame:
        DrawCaptionFrame(painter, rect, 22); // as tall as the field of edit 1001 beside it
        return;
    case IdRecordSingle:
    case IdRecordCombo:
    case IdRecordMacro:
    case IdRecordEmu:
        DrawRecordButton(painter, rect, look);
        return;
    case IdPlayTimes:
    case IdPlayWhileHeld:
    case IdPlayToggle:
    case IdFixedInterval:
    case IdRecordedDelays:
        DrawCheckBox(painter, rect, look);
        return;
    default:
        DrawButton(painter, rect, look);
        return;
    }
}

void PaintPage(QPainter& painter, int page, SkinLook look) {
    DrawChassis(painter, QRectF(QPointF(0, 0), QSizeF(EditorSize)), ChassisCut);
    DrawTitleBar(painter);
    DrawPagePanel(painter, page);
    DrawBackdrop(painter, EditorPageRowOf(page).backdrop);
    for (const SkinRegion& area : EditorAreas()) {
        const int owner = PageOfArea(area.id);
        if (area.id <= 0 || area.labelOnly || (owner != 0 && owner != page))
            continue;
        // Each look stays inside its area, since the program copies exactly that rectangle.
        painter.save();
        painter.setClipRect(ToRectF(area.rect));
        DrawArea(painter, area, page, look);
        painter.restore();
    }
}

SkinPictureSpec Picture(int id, int page, SkinLook look) {
    return {id, EditorSize, EditorTransparentColour,
            [page, look](QPainter& painter) { PaintPage(painter, page, look); }};
}

} // namespace

std::vector<SkinPictureSpec> EditorPictures() {
    std::vector<SkinPictureSpec> pictures;
    for (const EditorPageRow& row : EditorPages()) {
        pictures.push_back(Picture(row.background, row.page, SkinLook::Normal));
        pictures.push_back(Picture(row.hover, row.page, SkinLook::Hover));
        pictures.push_back(Picture(row.active, row.page, SkinLook::Active));
    }
    return pictures;
}
