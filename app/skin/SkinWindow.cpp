#include "skin/SkinWindow.h"

#include "catalogue/KeyLegends.h"
#include "skin/DialogOverlay.h"
#include "skin/Prompts.h"
#include "skin/ScrollBarGeometry.h"
#include "skin/SkinFocusMoves.h"
#include "skin/SkinRectQt.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

QColor ToQColor(SkinColour colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

} // namespace

int QtTextFlags(std::uint32_t textFormat) {
    int flags = 0;
    if (textFormat & TextCentre)
        flags |= Qt::AlignHCenter;
    else if (textFormat & TextRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // Vertical placement applies to single-line captions only; others start at the top.
    if ((textFormat & TextSingleLine) && (textFormat & TextVCentre))
        flags |= Qt::AlignVCenter;
    else if ((textFormat & TextSingleLine) && (textFormat & TextBottom))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (textFormat & TextWordBreak)
        flags |= Qt::TextWordWrap;
    if (textFormat & TextSingleLine)
        flags |= Qt::TextSingleLine;
    return flags;
}

QFont FittedCaptionFont(const QFont& font, const QString& caption, int width, int textFlags) {
    if (textFlags & Qt::TextWordWrap)
        return font;
    const QStringList lines =
        (textFlags & Qt::TextSingleLine) ? QStringList{caption} : caption.split(QLatin1Char('\n'));
    const auto fits = [&lines, width](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        return std::all_of(lines.begin(), lines.end(),
                           [&](const QString& line) { return metrics.horizontalAdvance(line) <= width; });
    };
    QFont fitted = font;
    for (int pixels = QFontInfo(font).pixelSize() - 1; !fits(fitted) && pixels >= SmallestCaptionPixels;
         --pixels)
        fitted.setPixelSize(pixels);
    return fitted;
}

CSkinWindow::CSkinWindow(const CSkinResources& resources, const UiLanguage& language, SkinPictures pictures,
                         SkinColour transparent, std::size_t areaCount, QWidget* parent)
    : QDialog(parent), Skin(resources), WindowLanguage(language), PictureIds(pictures),
      TransparentColour(transparent), AreaTable(areaCount) {
    setMouseTracking(true);
    // The window's pixels carry alpha: its transparent colour is see-through wherever windows are
    // composited, where a mask alone cuts nothing out (Wayland, Xwayland).
    setAttribute(Qt::WA_TranslucentBackground);
    Skin.UseTransparentColour({pictures.background, pictures.hover, pictures.active}, transparent);
    // The window itself takes the focus, which then rests on one of its areas.
    setFocusPolicy(Qt::StrongFocus);
    InstallSkinAccessibleFactory();
}

CSkinWindow::~CSkinWindow() {
    if (Target)
        Target->Detach();
}

SkinRegion* CSkinWindow::AreaById(int id) {
    for (SkinRegion& area : AreaTable) {
        if (area.id == id)
            return &area;
    }
    return nullptr;
}

bool CSkinWindow::TakesHover(const SkinRegion& area) const {
    return AreaShown(area) && !area.labelOnly;
}

CSkinWindow::HitPart CSkinWindow::HitTest(QPoint clientPoint) {
    LastPoint = clientPoint;
    int inside = 0;
    for (SkinRegion& area : AreaTable) {
        if (!TakesHover(area))
            continue;
        if (area.rect.Contains(clientPoint.x(), clientPoint.y())) {
            ++inside;
            if (!area.hovered && RepaintsOnHover())
                update(ToQRect(area.rect));
            area.hovered = true;
        } else {
            if (area.hovered && RepaintsOnHover())
                update(ToQRect(area.rect));
            area.hovered = false;
        }
    }
    if (inside > 0)
        return HitPart::Client;
    return CSkinWindowGestures::PartOutsideAreas(clientPoint, size());
}

const SkinRegion* CSkinWindow::ClickedArea(QPoint clientPoint) const {
    for (const SkinRegion& area : AreaTable) {
        if (AreaShown(area) && TakesClick(area) && area.rect.Contains(clientPoint.x(), clientPoint.y()))
            return &area;
    }
    return nullptr;
}

void CSkinWindow::OpenSkin() {
    setWindowFlag(Qt::FramelessWindowHint, true);
    const QImage* plain = Skin.PlainPicture(PictureIds.background);
    if (plain == nullptr)
        return;
    WindowShape = SkinShape(*plain, TransparentColour);
    resize(plain->size());
    // The mask keeps input outside the shape falling through where the platform allows it. The offscreen
    // platform used by the tests cannot shape windows and says so on every try.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        setMask(WindowShape);
    const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (where != nullptr) {
        const QRect desk = where->geometry();
        move(desk.x() + (desk.width() - plain->width()) / 2,
             desk.y() + (desk.height() - plain->height()) / 2);
    }
}

void CSkinWindow::setVisible(bool visible) {
    if (visible && parentWidget() != nullptr)
        CDialogOverlay::HoldOverOwner(*this);
    QDialog::setVisible(visible);
}

void CSkinWindow::SetPictures(SkinPictures pictures) {
    PictureIds = pictures;
    Skin.UseTransparentColour({pictures.background, pictures.hover, pictures.active}, TransparentColour);
    update();
}

std::shared_ptr<CWindowMessageTarget> CSkinWindow::MessageTarget() {
    if (!Target)
        Target = std::make_shared<CWindowMessageTarget>(this);
    return Target;
}

QLineEdit* CSkinWindow::AddLineBox(const SkinRect& rect, int id) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("edit%1").arg(id));
    box->setFrame(false);
    box->setGeometry(ToQRect(rect));
    box->setFont(Skin.SkinFont(DefaultSkinFont));
    StyleTextBox(box, Skin);
    return box;
}

QPlainTextEdit* CSkinWindow::AddTextArea(const SkinRect& rect, int id) {
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("edit%1").arg(id));
    box->setFrameShape(QFrame::NoFrame);
    box->setGeometry(ToQRect(rect));
    box->setFont(Skin.SkinFont(DefaultSkinFont));
    StyleTextBox(box, Skin);
    return box;
}

void CSkinWindow::StyleTextBox(QWidget* box, const CSkinResources& resources) {
    // An application style sheet replaces the palette of every widget it styles, so the colours are
    // given to the box's own style sheet as well.
    const QString rule = QStringLiteral("%1 { color: rgb(%2, %3, %4); background-color: rgb(%5, %6, %7); "
                                        "border: none; }")
                             .arg(QString::fromLatin1(box->metaObject()->className()))
                             .arg(TextBoxTextColour.Red)
                             .arg(TextBoxTextColour.Green)
                             .arg(TextBoxTextColour.Blue)
                             .arg(TextBoxBackground.Red)
                             .arg(TextBoxBackground.Green)
                             .arg(TextBoxBackground.Blue);
    box->setStyleSheet(rule);
    QPalette palette = box->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setBrush(group, QPalette::Base, resources.DarkBrush());
        palette.setBrush(group, QPalette::Window, resources.DarkBrush());
        palette.setColor(group, QPalette::Text, ToQColor(TextBoxTextColour));
        palette.setColor(group, QPalette::WindowText, ToQColor(TextBoxTextColour));
    }
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}

void CSkinWindow::OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    Q_UNUSED(message);
    Q_UNUSED(wParam);
    Q_UNUSED(lParam);
}

void CSkinWindow::PaintBackground(QPainter& painter) {
    if (const QPixmap* background = Skin.Picture(PictureIds.background))
        painter.drawPixmap(0, 0, *background);
}

void CSkinWindow::CopyFromPicture(QPainter& painter, int pictureId, const SkinRect& rect) {
    const QPixmap* picture = Skin.Picture(pictureId);
    if (picture == nullptr)
        return;
    const qreal ratio = picture->devicePixelRatio();
    const QRectF source(rect.left * ratio, rect.top * ratio, rect.Width() * ratio, rect.Height() * ratio);
    painter.drawPixmap(QRectF(ToQRect(rect)), *picture, source);
}

void CSkinWindow::PaintPiece(QPainter& painter, Overlay overlay, const SkinRegion& area) {
    const bool hover = overlay == Overlay::Hover;
    const int pictureId = hover ? PictureIds.hover : PictureIds.active;
    const std::size_t index = static_cast<std::size_t>(&area - AreaTable.data());
    if (pictureId == 0 || index >= AreaTable.size())
        return;
    const auto worthCutting = [this, hover](const SkinRegion& other) {
        return hover ? TakesHover(other) : other.active && AreaShown(other);
    };
    const QPixmap& piece =
        (hover ? HoverPieces : ActivePieces).Piece(Skin, pictureId, AreaTable, index, worthCutting);
    if (!piece.isNull())
        painter.drawPixmap(area.rect.left, area.rect.top, piece);
}

void CSkinWindow::PaintAreaState(QPainter& painter, const SkinRegion& area) {
    if (area.active) {
        PaintPiece(painter, Overlay::Active, area);
    } else if (!area.labelOnly && area.rect.Contains(LastPoint.x(), LastPoint.y())) {
        PaintPiece(painter, Overlay::Hover, area);
    }
}

void CSkinWindow::PaintCaption(QPainter& painter, const SkinRegion& area) {
    const QString caption = QString::fromUtf8(area.Caption(WindowLanguage));
    const int flags = QtTextFlags(CaptionFormat(area));
    painter.setFont(FittedCaptionFont(Skin.SkinFont(area.fontIndex), caption, area.rect.Width(), flags));
    painter.setPen(ToQColor(area.active ? area.activeTextColor : area.textColor));
    painter.drawText(ToQRect(area.rect), flags, caption);
}

void CSkinWindow::PaintSkin(QPainter& painter) {
    PaintBackground(painter);
    PaintBeforeAreas(painter);
    for (const SkinRegion& area : AreaTable) {
        if (!AreaShown(area))
            continue;
        PaintAreaState(painter, area);
        if (DrawsCaption(area))
            PaintCaption(painter, area);
    }
    PaintAfterAreas(painter);
    PaintFocusMark(painter);
}

void CSkinWindow::PaintFocusMark(QPainter& painter) {
    if (FocusIndex < 0 || static_cast<std::size_t>(FocusIndex) >= AreaTable.size() || !hasFocus())
        return;
    const SkinRegion& area = AreaTable[static_cast<std::size_t>(FocusIndex)];
    if (!AreaFocusable(area))
        return;
    painter.save();
    painter.setPen(QPen(ToQColor(FocusMarkColour), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(ToQRect(area.rect)).adjusted(1, 1, -1, -1));
    painter.restore();
}

bool CSkinWindow::AreaFocusable(const SkinRegion& area) const {
    return AreaShown(area) && TakesClick(area) && !area.labelOnly;
}

std::vector<int> CSkinWindow::ExposedAreas() const {
    std::vector<int> exposed;
    for (std::size_t i = 0; i < AreaTable.size(); ++i) {
        if (AreaFocusable(AreaTable[i]))
            exposed.push_back(static_cast<int>(i));
    }
    return exposed;
}

SkinAreaSpeech CSkinWindow::AreaSpeech(const SkinRegion& area) const {
    SkinAreaSpeech speech;
    speech.name = QString::fromUtf8(area.Caption(WindowLanguage));
    const QString tip = QString::fromUtf8(area.Tip(WindowLanguage));
    if (const int closeBox = CloseBoxId();
        speech.name.isEmpty() && closeBox > 0 && area.id == closeBox && !area.labelOnly)
        speech.name = UiText(WindowLanguage, TextId::CloseBox);
    // An icon's own tooltip names it before a label near it, which may be its group's heading.
    if (speech.name.isEmpty())
        speech.name = tip;
    else
        speech.description = tip;
    if (speech.name.isEmpty()) {
        // The shown label that covers most of the area names it.
        int covered = 0;
        for (const SkinRegion& label : AreaTable) {
            if (!label.labelOnly || !label.showText || !AreaShown(label))
                continue;
            const QRect common = ToQRect(label.rect).intersected(ToQRect(area.rect));
            const QString caption = QString::fromUtf8(label.Caption(WindowLanguage));
            if (!common.isEmpty() && !caption.isEmpty() && common.width() * common.height() > covered) {
                covered = common.width() * common.height();
                speech.name = caption;
            }
        }
    }
    if (speech.name.isEmpty()) {
        // Else a check box's caption: the shown label that starts just right of it on its line.
        constexpr int Beside = 8;
        for (const SkinRegion& label : AreaTable) {
            const int middle2 = label.rect.top + label.rect.bottom;
            if (label.labelOnly && label.showText && AreaShown(label) && label.rect.left >= area.rect.right &&
                label.rect.left <= area.rect.right + Beside && middle2 >= 2 * area.rect.top &&
                middle2 < 2 * area.rect.bottom) {
                speech.name = QString::fromUtf8(label.Caption(WindowLanguage));
                break;
            }
        }
    }
    if (speech.name.isEmpty() && area.keyIndex >= 1)
        speech.name = SpokenKeyName(area.keyIndex);
    if (area.listRow) {
        speech.role = SkinAreaSpeech::Role::ListItem;
        speech.selected = area.active;
    }
    return speech;
}

QString SpokenKeyName(int keyIndex) {
    const KeyLegend& legend = KeyLegendOf(keyIndex);
    return QString::fromUtf8(*legend.main != '\0' ? legend.main : legend.name);
}

void CSkinWindow::TellAreasChanged(bool structure) {
    TellSkinAreasChanged(this, structure);
}

void CSkinWindow::SetFocusedArea(int index) {
    if (index == FocusIndex)
        return;
    if (FocusIndex >= 0 && static_cast<std::size_t>(FocusIndex) < AreaTable.size())
        update(ToQRect(AreaTable[static_cast<std::size_t>(FocusIndex)].rect));
    FocusIndex = index;
    if (index < 0 || static_cast<std::size_t>(index) >= AreaTable.size())
        return;
    const SkinRegion& area = AreaTable[static_cast<std::size_t>(index)];
    if (const int group = AreaFocusGroup(area); group != 0)
        GroupFocus[group] = index;
    update(ToQRect(area.rect));
    if (QAccessible::isActive() && hasFocus()) {
        if (QAccessibleInterface* focused = SkinAreaAccessible(this, index)) {
            QAccessibleEvent event(focused, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void CSkinWindow::ActivateArea(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= AreaTable.size())
        return;
    const SkinRegion clicked = AreaTable[static_cast<std::size_t>(index)];
    if (AreaShown(clicked) && TakesClick(clicked))
        ClickArea(clicked);
}

void CSkinWindow::ClickArea(const SkinRegion& area) {
    const QPointer<CSkinWindow> alive(this);
    OnAreaClicked(area);
    // A click may rename, check or select areas, or show another page's.
    if (alive)
        TellAreasChanged();
}

bool CSkinWindow::focusNextPrevChild(bool next) {
    if (FocusKeysPaused())
        return false;
    // A stop is an area (its index) or a widget of the window; a group's stop, placed at the
    // rectangle around it, is its first area in reading order, or the one focused last.
    struct Stop {
        int area = -1;
        QWidget* widget = nullptr;
    };
    std::vector<Stop> stops;
    std::vector<SkinRect> places;
    std::map<int, std::size_t> groupStop;
    for (const int index : ExposedAreas()) {
        const SkinRegion& area = AreaTable[static_cast<std::size_t>(index)];
        const int group = AreaFocusGroup(area);
        if (group != 0) {
            if (const auto known = groupStop.find(group); known != groupStop.end()) {
                // The group's place is the rectangle around all of it.
                SkinRect& held = places[known->second];
                const SkinRect& first = AreaTable[static_cast<std::size_t>(stops[known->second].area)].rect;
                if (area.rect.top < first.top || (area.rect.top == first.top && area.rect.left < first.left))
                    stops[known->second].area = index;
                held = {std::min(held.left, area.rect.left), std::min(held.top, area.rect.top),
                        std::max(held.right, area.rect.right), std::max(held.bottom, area.rect.bottom)};
                continue;
            }
            groupStop[group] = stops.size();
        }
        stops.push_back({index, nullptr});
        places.push_back(area.rect);
    }
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isVisible() || !child->isEnabled() ||
            !(child->focusPolicy() & Qt::TabFocus))
            continue;
        const QRect place = child->geometry();
        stops.push_back({-1, child});
        places.push_back({place.left(), place.top(), place.right() + 1, place.bottom() + 1});
    }
    if (stops.empty())
        return false;
    const std::vector<int> order = ReadingOrder(places);
    // Where the focus is now.
    const QWidget* focused = focusWidget();
    const int focusedGroup = FocusIndex >= 0 && static_cast<std::size_t>(FocusIndex) < AreaTable.size()
                                 ? AreaFocusGroup(AreaTable[static_cast<std::size_t>(FocusIndex)])
                                 : 0;
    int at = -1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Stop& stop = stops[static_cast<std::size_t>(order[k])];
        const bool here =
            stop.widget != nullptr
                ? stop.widget == focused
                : (focused == nullptr || focused == this) &&
                      (stop.area == FocusIndex ||
                       (focusedGroup != 0 &&
                        AreaFocusGroup(AreaTable[static_cast<std::size_t>(stop.area)]) == focusedGroup));
        if (here) {
            at = static_cast<int>(k);
            break;
        }
    }
    const int count = static_cast<int>(order.size());
    const int to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    const Stop& target = stops[static_cast<std::size_t>(order[static_cast<std::size_t>(to)])];
    if (target.widget != nullptr) {
        target.widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    int area = target.area;
    const int group = AreaFocusGroup(AreaTable[static_cast<std::size_t>(area)]);
    const auto usable = [this, group](int index) {
        return index >= 0 && static_cast<std::size_t>(index) < AreaTable.size() &&
               AreaFocusable(AreaTable[static_cast<std::size_t>(index)]) &&
               AreaFocusGroup(AreaTable[static_cast<std::size_t>(index)]) == group;
    };
    if (group != 0) {
        const auto remembered = GroupFocus.find(group);
        if (usable(GroupEntryArea(group)))
            area = GroupEntryArea(group);
        else if (remembered != GroupFocus.end() && usable(remembered->second))
            area = remembered->second;
    }
    setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    SetFocusedArea(area);
    update();
    return true;
}

void CSkinWindow::keyPressEvent(QKeyEvent* event) {
    const bool onArea = !FocusKeysPaused() && hasFocus() && FocusIndex >= 0 &&
                        static_cast<std::size_t>(FocusIndex) < AreaTable.size() &&
                        AreaFocusable(AreaTable[static_cast<std::size_t>(FocusIndex)]);
    if (!onArea || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        event->accept();
        ActivateArea(FocusIndex);
        return;
    }
    const int group = AreaFocusGroup(AreaTable[static_cast<std::size_t>(FocusIndex)]);
    // Page Up and Page Down scroll a group that is a list by a page.
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        if (group != 0 && ScrollFocusGroup(group, key == Qt::Key_PageUp ? ScrollPageUp : ScrollPageDown))
            event->accept();
        else
            QDialog::keyPressEvent(event);
        return;
    }
    // The arrows, Home and End move among the focusable areas of the focused area's group.
    std::vector<int> members;
    std::vector<SkinRect> rects;
    int from = -1;
    for (const int index : ExposedAreas()) {
        const SkinRegion& area = AreaTable[static_cast<std::size_t>(index)];
        if (group == 0 || AreaFocusGroup(area) != group)
            continue;
        if (index == FocusIndex)
            from = static_cast<int>(members.size());
        members.push_back(index);
        rects.push_back(area.rect);
    }
    int to = -1;
    switch (key) {
    case Qt::Key_Left:
        to = NearestInDirection(rects, from, FocusDirection::Left);
        break;
    case Qt::Key_Right:
        to = NearestInDirection(rects, from, FocusDirection::Right);
        break;
    case Qt::Key_Up:
        to = NearestInDirection(rects, from, FocusDirection::Up);
        break;
    case Qt::Key_Down:
        to = NearestInDirection(rects, from, FocusDirection::Down);
        break;
    case Qt::Key_Home:
        to = RowEnd(rects, from, false);
        break;
    case Qt::Key_End:
        to = RowEnd(rects, from, true);
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    // Past a list's first or last row shown, the list scrolls under the focus.
    if (to == from && group != 0 && (key == Qt::Key_Up || key == Qt::Key_Down) &&
        ScrollFocusGroup(group, key == Qt::Key_Up ? ScrollLineUp : ScrollLineDown))
        return;
    if (to >= 0 && static_cast<std::size_t>(to) < members.size())
        SetFocusedArea(members[static_cast<std::size_t>(to)]);
}

void CSkinWindow::focusInEvent(QFocusEvent* event) {
    QDialog::focusInEvent(event);
    if (FocusIndex >= 0 && static_cast<std::size_t>(FocusIndex) < AreaTable.size())
        update(ToQRect(AreaTable[static_cast<std::size_t>(FocusIndex)].rect));
}

void CSkinWindow::focusOutEvent(QFocusEvent* event) {
    QDialog::focusOutEvent(event);
    if (FocusIndex >= 0 && static_cast<std::size_t>(FocusIndex) < AreaTable.size())
        update(ToQRect(AreaTable[static_cast<std::size_t>(FocusIndex)].rect));
}

void CSkinWindow::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    PaintSkin(painter);
}

void CSkinWindow::mouseMoveEvent(QMouseEvent* event) {
    if (Gestures.Follow(event->globalPosition().toPoint()))
        return;
    Gestures.ShowCursor(HitTest(event->position().toPoint()));
    QDialog::mouseMoveEvent(event);
}

void CSkinWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const HitPart part = HitTest(event->position().toPoint());
    Gestures.Press(part, ClickedArea(event->position().toPoint()) != nullptr,
                   event->globalPosition().toPoint());
    QDialog::mousePressEvent(event);
}

void CSkinWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    if (Gestures.Release()) {
        const QPoint point = event->position().toPoint();
        HitTest(point);
        if (const SkinRegion* area = ClickedArea(point)) {
            const SkinRegion clicked = *area;
            ClickArea(clicked);
        }
    }
    QDialog::mouseReleaseEvent(event);
}

void CSkinWindow::leaveEvent(QEvent* event) {
    // The pointer left the window: nothing stays hovered.
    if (!Gestures.MovingOrResizing())
        HitTest(QPoint(-1, -1));
    QDialog::leaveEvent(event);
}

bool CSkinWindow::event(QEvent* event) {
    if (event->type() == CPostedMessageEvent::EventType()) {
        const auto* posted = static_cast<CPostedMessageEvent*>(event);
        OnPostedMessage(posted->Message, posted->WParam, posted->LParam);
        return true;
    }
    return QDialog::event(event);
}
