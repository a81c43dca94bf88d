#pragma once

#include <QObject>

// The painted pictures of the two dialogs against their area tables.
class CBacklightSkinsTest : public QObject {
    Q_OBJECT

private slots:
    void tablesHoldTheirRecordsInOrder();
    void framesNeverReachAnotherKey();
    void everyAreaAndFrameLiesOnTheWindow();
    void selectedLookIsPaintedExactlyOnTheKeys();
};
