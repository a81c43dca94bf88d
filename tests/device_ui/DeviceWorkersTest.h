#pragma once

#include <QObject>

// The device workers: one job at a time, and every job waited for before the program ends.
class CDeviceWorkersTest : public QObject {
    Q_OBJECT

private slots:
    void jobsRunOneAtATimeInOrder();
    void waitingForAllCutsPausesShort();
};
