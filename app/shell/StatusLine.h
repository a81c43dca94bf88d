// The status line at the foot of the main window's info panel: on the left what the window works
// with (and the shelf profile the keyboard holds, when one is known), or for a while what was just done
// (undone, redone); on the right whether there are unsaved changes. A dot before each tells the state
// at a glance.
#pragma once

#include "shell/MainWindowText.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QWidget>

#include <string>

class CSkinResources;

// A QObject of its own, so that a search among the window's children finds it.
class CStatusLine : public QWidget {
    Q_OBJECT

public:
    // The panel keeps this much of its foot free for the line.
    static constexpr int Height = 22;

    explicit CStatusLine(QWidget* panel) : QWidget(panel) {}

    // Lays the line over the foot of a panel of the size, in its skin font.
    void PlaceAtFoot(QSize panel, const CSkinResources& resources);
    void Show(UiLanguage language, const CConnectionShown& connection, bool unsaved);
    // Shown on the left in place of the connection until it is cleared (empty).
    void ShowNotice(const QString& notice);
    const QString& NoticeText() const { return Notice; }
    // Names the shelf profile the keyboard now holds, until a later transfer (KeyboardTransfers) may
    // have changed the keyboard.
    void ShowShelfProfile(const QString& name);
    // That name while it holds; empty otherwise.
    QString ShelfProfile() const;
    const QString& ConnectionText() const { return Connection; }
    const QString& SaveStateText() const { return SaveState; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowTexts(QColor connectionDot, const QString& saveState, bool unsaved);

    QString Notice;
    UiLanguage Language = StartUiLanguage;
    QString Connected;  // what the window works with
    QString Connection; // that, and the shelf profile on the keyboard
    QColor ConnectionDot;
    QString HeldName;
    unsigned long HeldTransfers = 0;
    QString SaveState;
    bool Unsaved = false;
};
