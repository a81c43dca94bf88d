#include "editor/AreaTip.h"

#include <QCursor>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int TipDelayMs = 100;

} // namespace

CAreaTip::CAreaTip(QWidget* window)
    : QObject(window), Label(new QLabel(window, Qt::ToolTip)), Delay(new QTimer(this)) {
    Label->setStyleSheet(QStringLiteral("QLabel { color: rgb(0, 0, 255); background-color: rgb(255, 255, 0); "
                                        "border: 1px solid rgb(0, 0, 0); padding: 1px 3px; }"));
    Label->hide();
    Delay->setSingleShot(true);
    Delay->setInterval(TipDelayMs);
    connect(Delay, &QTimer::timeout, this, [this] {
        if (Label->text().isEmpty())
            return;
        Label->adjustSize();
        Label->move(QCursor::pos() + QPoint(12, 18));
        Label->show();
    });
}

void CAreaTip::Point(int area, const QString& text) {
    if (area < 0) {
        Hide();
        return;
    }
    if (area == Area)
        return;
    Hide();
    Area = area;
    Label->setText(text);
    Delay->start();
}

void CAreaTip::Hide() {
    Delay->stop();
    Label->hide();
    Area = -1;
}

QString CAreaTip::Shown() const {
    return Label->isVisible() || Delay->isActive() ? Label->text() : QString();
}
