#include "DeviceUiTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "device_ui/DeviceUiSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "device_ui/ProgressDialog.h"
#include "zelk/DeviceOptions.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <cstdio>

CDeviceFixture::CDeviceFixture(UiLanguage language) {
    BuildKeyCatalogue(*Data);
    Data->UiLanguage = language;
    CDeviceOptions options;
    options.VirtualKeyboard = true;
    CProblem refused;
    Data->HWI.UseDeviceProvider(MakeDeviceProvider(options, refused, &Keyboard));
    Data->HWI.__createDev();
    Data->Clear();
    CMorvDialogProgress::SetSettleTimes(0, 0);

    Answers->ShowMessage = [this](QWidget*, const QString& text) { Messages << text; };
    Answers->AskPath = [this](QWidget*, PathQuestion question) {
        if (question != PathQuestion::OpenFirmware) {
            QFileDialog system;
            SetUpPathDialog(system, question);
            ProposedNames << QFileInfo(system.selectedFiles().value(0)).fileName();
            return SavePath;
        }
        ++FirmwareAsked;
        return FirmwarePath;
    };
    Answers->OpenUrl = [this](const QUrl& url) {
        OpenedUrls << url.toLocalFile();
        return UrlOpens;
    };
}

CDeviceFixture::~CDeviceFixture() {
    CDeviceWorkers::Instance().WaitForAll();
    // Completions posted to windows that are gone are dropped here, not in the next test.
    QCoreApplication::processEvents();
}

KeySetting& CDeviceFixture::Setting(int key, int level) {
    return Data->CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
}

void WhenModalOpens(std::function<void(QWidget* dialog)> act) {
    auto* poll = new QTimer(qApp);
    QWidget* before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, before, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == before || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start(5);
}

bool SameKeyboardSettings(const CKeyboardData& a, const CKeyboardData& b) {
    for (int key = 1; key <= KeyCount; ++key) {
        for (int level = 0; level < LevelCount; ++level) {
            const KeySetting& x =
                a.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
            const KeySetting& y =
                b.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
            if (x.Mode != y.Mode || (x.Mode != ModeNotSet && !x.ComboKey.ContentEquals(y.ComboKey)))
                return false;
            if (x.Mode != ModeNotSet && x.Mode != ModeCombo && x.Mode != ModeMacro &&
                x.Mode != ModeEmulation && x.HWCode != y.HWCode)
                return false;
        }
        const AreaLight& x = a.BackgroundLightSettings[static_cast<std::size_t>(key)];
        const AreaLight& y = b.BackgroundLightSettings[static_cast<std::size_t>(key)];
        if (x.Red != y.Red || x.Green != y.Green || x.Blue != y.Blue)
            return false;
    }
    return true;
}

std::string FirmwareText(int lines) {
    std::string text;
    char line[64];
    for (int i = 0; i < lines; ++i) {
        const int address = i * 16;
        int sum = 16 + (address >> 8) + (address & 0xFF);
        std::string record = ":10";
        std::snprintf(line, sizeof line, "%04X00", address & 0xFFFF);
        record += line;
        for (int b = 0; b < 16; ++b) {
            const int value = (i * 7 + b * 13) & 0xFF;
            sum += value;
            std::snprintf(line, sizeof line, "%02X", value);
            record += line;
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += record + line;
    }
    return text + ":00000001FF\r\n";
}
