// On Wayland a program cannot place its windows, and GNOME's compositor opens a dialog it does not
// know as modal in the screen's corner. There a dialog with an owner is drawn inside the owner's
// top-level window instead: centred over it as under X11, the window dimmed behind it, the window's
// mouse, keys and shortcuts held back while it shows. Elsewhere dialogs stay windows of their own.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

class QDialog;
class QShortcut;

class CDialogOverlay : public QWidget {
    Q_OBJECT

public:
    // Whether dialogs are drawn inside their owner's window: on Wayland.
    static bool InUse();
    // Called before the dialog is shown. Where InUse(), puts the dialog inside its owner's shown
    // top-level window, behind an overlay of its own; returns whether it is there. A dialog without
    // an owner, or larger than the window, stays a window.
    static bool HoldOverOwner(QDialog& dialog);
    // HoldOverOwner on any platform (the tests').
    static bool HoldInside(QDialog& dialog, QWidget& window);
    ~CDialogOverlay() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab go round the dialog's widgets and never out into the window.
    bool focusNextPrevChild(bool next) override;

private:
    CDialogOverlay(QWidget& window, QDialog& dialog);
    // Covers the window and holds its shortcuts back; gives the dialog the focus once shown.
    void Hold();
    // Gives the window its shortcuts and its focus back.
    void Release();
    void Centre();
    void FocusDialog();

    QWidget& Window;
    QPointer<QWidget> Dialog; // a QWidget: while the dialog is destroyed it is no longer a QDialog
    QPointer<QWidget> FocusBefore;
    std::vector<QPointer<QShortcut>> HeldShortcuts;
    bool Holding = false;
};

// The overlay's dimming: black at this alpha over the window.
inline constexpr int OverlayDimAlpha = 96;
