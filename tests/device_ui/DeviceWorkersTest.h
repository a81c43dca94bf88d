#pragma once

#include <QObject>

// The device workers: one job at a time, every job waited for before the program ends, and a read
// through them applied only as a whole.
class CDeviceWorkersTest : public QObject {
    Q_OBJECT

private slots:
    void jobsRunOneAtATimeInOrder();
    void waitingForAllCutsPausesShort();
    void readWithOneUnreadableDefinitionLeavesTheModel();
};
