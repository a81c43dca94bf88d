#pragma once

#include <QObject>

// The multi-key selection dialog on its own: selection, drawing, the labels that take clicks and
// the colour it hands back.
class CBkLightMultiSelectTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickingAKeyTwiceLeavesItUnselected();
    void selectedKeysShowTheirSelectedLook();
    void framesShowTheSnapshotAndPureRedStaysVisible();
    void titleAndCloseButtonEndWithCancel();
    void setColourLabelBesideTheButtonOpensTheColourDialog();
    void cancellingTheColourDialogKeepsTheSelection();
};
