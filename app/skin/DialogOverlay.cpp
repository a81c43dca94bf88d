#include "skin/DialogOverlay.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace {

// Where the window shows: a shaped window within its shape, which a compositor may make smaller
// than the surface it gives the window (weston's kiosk shell makes it the whole output).
QRect ShownArea(const QWidget& window) {
    return window.mask().isEmpty() ? window.rect() : window.mask().boundingRect();
}

} // namespace

bool CDialogOverlay::InUse() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool CDialogOverlay::HoldOverOwner(QDialog& dialog) {
    if (auto* held = qobject_cast<CDialogOverlay*>(dialog.parentWidget())) {
        held->Hold();
        return true;
    }
    if (!InUse() || dialog.parentWidget() == nullptr)
        return false;
    return HoldInside(dialog, *dialog.parentWidget()->window());
}

bool CDialogOverlay::HoldInside(QDialog& dialog, QWidget& window) {
    if (auto* held = qobject_cast<CDialogOverlay*>(dialog.parentWidget())) {
        held->Hold();
        return true;
    }
    // Hidden, the window has nothing to show the dialog in; too small, it would cut it off.
    const QSize size = dialog.testAttribute(Qt::WA_Resized) ? dialog.size() : dialog.sizeHint();
    const QRect area = ShownArea(window);
    if (!window.isVisible() || size.width() > area.width() || size.height() > area.height())
        return false;
    auto* overlay = new CDialogOverlay(window, dialog);
    dialog.setParent(overlay, Qt::Widget);
    // A window's background is filled by the platform; a widget's only when asked (skinned dialogs
    // paint their own, around which the window shows through).
    if (!dialog.testAttribute(Qt::WA_TranslucentBackground))
        dialog.setAutoFillBackground(true);
    overlay->Hold();
    return true;
}

CDialogOverlay::CDialogOverlay(QWidget& window, QDialog& dialog)
    : QWidget(&window), Window(window), Dialog(&dialog) {
    setFocusPolicy(Qt::NoFocus);
    dialog.installEventFilter(this);
    window.installEventFilter(this);
    connect(&dialog, &QObject::destroyed, this, [this] {
        Release();
        deleteLater();
    });
}

CDialogOverlay::~CDialogOverlay() {
    // The dialog belongs to whoever made it, not to the window the overlay goes with.
    if (Dialog) {
        Dialog->removeEventFilter(this);
        disconnect(Dialog, nullptr, this, nullptr);
        Dialog->setParent(nullptr);
    }
}

void CDialogOverlay::Hold() {
    if (Holding)
        return;
    Holding = true;
    QWidget* focused = QApplication::focusWidget();
    FocusBefore =
        focused != nullptr && focused->window() == &Window && !isAncestorOf(focused) ? focused : nullptr;
    setGeometry(Window.rect());
    if (Window.mask().isEmpty())
        clearMask();
    else
        setMask(Window.mask());
    for (QShortcut* shortcut : Window.findChildren<QShortcut*>()) {
        const auto* owner = qobject_cast<QWidget*>(shortcut->parent());
        if (!shortcut->isEnabled() || (owner != nullptr && isAncestorOf(owner)))
            continue;
        shortcut->setEnabled(false);
        HeldShortcuts.emplace_back(shortcut);
    }
    raise();
    show();
}

void CDialogOverlay::Release() {
    if (!Holding)
        return;
    Holding = false;
    for (const QPointer<QShortcut>& shortcut : HeldShortcuts) {
        if (shortcut)
            shortcut->setEnabled(true);
    }
    HeldShortcuts.clear();
    hide();
    if (FocusBefore)
        FocusBefore->setFocus(Qt::OtherFocusReason);
    else
        Window.setFocus(Qt::OtherFocusReason);
}

void CDialogOverlay::Centre() {
    if (!Dialog)
        return;
    const QRect area = ShownArea(Window);
    Dialog->move(area.x() + std::max(0, (area.width() - Dialog->width()) / 2),
                 area.y() + std::max(0, (area.height() - Dialog->height()) / 2));
}

void CDialogOverlay::FocusDialog() {
    if (!Dialog || !Dialog->isVisible())
        return;
    const QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && (focused == Dialog || Dialog->isAncestorOf(focused)))
        return;
    // The widget focused last in the dialog, else the dialog itself where it takes the focus (a
    // skinned window's areas), else its default button, else its first widget that Tab reaches.
    QWidget* target = Dialog->focusWidget();
    if (target == nullptr || !Dialog->isAncestorOf(target)) {
        target = nullptr;
        if (Dialog->focusPolicy() != Qt::NoFocus) {
            target = Dialog;
        } else {
            for (QPushButton* button : Dialog->findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isVisible())
                    target = button;
            }
        }
    }
    if (target != nullptr)
        target->setFocus(Qt::ActiveWindowFocusReason);
    else
        focusNextPrevChild(true);
}

bool CDialogOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Dialog) {
        switch (event->type()) {
        case QEvent::Show:
            Centre();
            // Qt's own dialogs settle their size and focus while they show.
            QTimer::singleShot(0, this, [this] {
                Centre();
                FocusDialog();
            });
            break;
        case QEvent::Resize:
            Centre();
            break;
        case QEvent::Hide:
            Release();
            break;
        default:
            break;
        }
    } else if (watched == &Window && event->type() == QEvent::Resize && Holding) {
        setGeometry(Window.rect());
        Centre();
    }
    return QWidget::eventFilter(watched, event);
}

void CDialogOverlay::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, OverlayDimAlpha));
    // A dialog without a shape of its own (Qt's) gets the skins' orange edge the desktop's frame
    // would have given it.
    if (Dialog && Dialog->mask().isEmpty()) {
        painter.setPen(QColor(0xf0, 0x78, 0x20));
        painter.drawRect(Dialog->geometry().adjusted(-1, -1, 0, 0));
    }
}

// The window behind takes no mouse and no keys while the dialog shows.
void CDialogOverlay::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CDialogOverlay::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void CDialogOverlay::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CDialogOverlay::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void CDialogOverlay::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void CDialogOverlay::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void CDialogOverlay::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

bool CDialogOverlay::focusNextPrevChild(bool next) {
    if (!Dialog)
        return true;
    QWidget* const from =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : Dialog.data();
    QWidget* candidate = from;
    // The focus chain is a ring through every widget of the window.
    for (int step = 0; step < 10000; ++step) {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == nullptr || candidate == from)
            break;
        if (Dialog->isAncestorOf(candidate) && candidate->isVisible() && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    }
    return true;
}
