#include "shell/StatusLine.h"

#include "model/DeviceBridge.h"
#include "skin/Prompts.h"
#include "skin/SkinResources.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int StatusFont = 12;

} // namespace

void CStatusLine::PlaceAtFoot(QSize panel, const CSkinResources& resources) {
    setGeometry(0, panel.height() - Height, panel.width(), Height);
    setFont(resources.SkinFont(StatusFont));
}

void CStatusLine::Show(UiLanguage language, const CConnectionShown& connection, bool unsaved) {
    const QColor dot = connection.Unopened          ? QColor(230, 60, 50)
                       : connection.VirtualKeyboard ? QColor(70, 160, 255)
                                                    : QColor(60, 200, 90);
    Language = language;
    Connected = QString::fromStdU16String(::ConnectionText(language, connection));
    ShowTexts(dot, QString::fromStdU16String(::SaveStateText(language, unsaved)), unsaved);
}

void CStatusLine::ShowShelfProfile(const QString& name) {
    HeldName = name;
    HeldTransfers = KeyboardTransfers();
    ShowTexts(ConnectionDot, SaveState, Unsaved);
}

QString CStatusLine::ShelfProfile() const {
    return HeldTransfers == KeyboardTransfers() ? HeldName : QString();
}

void CStatusLine::ShowTexts(QColor connectionDot, const QString& saveState, bool unsaved) {
    const QString held = ShelfProfile();
    const QString connection =
        held.isEmpty() ? Connected : UiText(Language, TextId::StatusShelfProfile).arg(Connected, held);
    if (connection == Connection && connectionDot == ConnectionDot && saveState == SaveState &&
        unsaved == Unsaved)
        return;
    Connection = connection;
    ConnectionDot = connectionDot;
    SaveState = saveState;
    Unsaved = unsaved;
    setToolTip(Connection);
    update();
}

void CStatusLine::ShowNotice(const QString& notice) {
    if (notice == Notice)
        return;
    Notice = notice;
    update();
}

void CStatusLine::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(20, 20, 20));
    painter.setPen(QColor(58, 58, 62));
    painter.drawLine(0, 0, width(), 0);
    const QFontMetrics metrics(font());
    const int dot = 8;
    const int middle = (height() + 1) / 2;
    const int saveWidth = metrics.horizontalAdvance(SaveState);
    const int saveLeft = width() - 12 - saveWidth;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ConnectionDot);
    painter.drawEllipse(QRect(4, middle - dot / 2, dot, dot));
    if (Unsaved) {
        painter.setBrush(QColor(255, 150, 40));
        painter.drawEllipse(QRect(saveLeft - dot - 6, middle - dot / 2, dot, dot));
    }
    const int textLeft = 4 + dot + 6;
    const int room = saveLeft - dot - 18 - textLeft;
    painter.setPen(QColor(190, 190, 190));
    painter.drawText(
        QRect(textLeft, 1, std::max(0, room), height() - 1), Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(Notice.isEmpty() ? Connection : Notice, Qt::ElideMiddle, std::max(0, room)));
    painter.setPen(Unsaved ? QColor(255, 170, 60) : QColor(130, 130, 130));
    painter.drawText(QRect(saveLeft, 1, saveWidth, height() - 1), Qt::AlignLeft | Qt::AlignVCenter,
                     SaveState);
}
