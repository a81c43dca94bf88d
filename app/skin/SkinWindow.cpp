#include "skin/SkinWindow.h"

#include "skin/SkinRectQt.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
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
            OnAreaClicked(clicked);
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
