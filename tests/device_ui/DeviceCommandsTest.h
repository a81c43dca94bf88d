#pragma once

#include <QObject>

// The main window's write, read, firmware and help buttons, connected to the device dialogs.
class CDeviceCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void writeAndReadButtonsReportOkOrTheFailure();
    void cancelledReadShowsNothing();
    void firmwareButtonOpensTheDialog();
    void helpOpensTheManualInTheUiLanguage();
};
