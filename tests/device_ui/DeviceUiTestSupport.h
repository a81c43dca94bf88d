// Shared helpers of the device dialog tests: the painted skins, a model on a virtual keyboard, and
// prompts that record messages and answer questions instead of a person.
#pragma once

#include "SkinTestSupport.h"

#include "model/KeyboardData.h"
#include "skin/SkinResources.h"
#include "zelk/VirtualKeyboard.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// A model with its catalogue, connected to a fresh virtual keyboard, and the device dialogs' prompts
// answered by the fixture. Removing the fixture waits for every device worker.
class CDeviceFixture {
public:
    explicit CDeviceFixture(UiLanguage language = UiLanguage::English);
    ~CDeviceFixture();
    CDeviceFixture(const CDeviceFixture&) = delete;
    CDeviceFixture& operator=(const CDeviceFixture&) = delete;

    KeySetting& Setting(int key, int level);

    CTestPrompts Answers;
    std::unique_ptr<CKeyboardData> Data = std::make_unique<CKeyboardData>();
    std::shared_ptr<CVirtualKeyboard> Keyboard;
    QStringList Messages;
    QString FirmwarePath; // the answer to the open-file dialog; empty cancels it
    int FirmwareAsked = 0;
    // The answer to any other file dialog (empty cancels it), and the name its system dialog proposes.
    QString SavePath;
    QStringList ProposedNames;
    QStringList OpenedUrls;
    bool UrlOpens = true;
};

// Calls act with the modal dialog that opens next (polling while the caller's modal loop runs).
void WhenModalOpens(std::function<void(QWidget* dialog)> act);

// A model's assignments of both levels and colours compare equal.
bool SameKeyboardSettings(const CKeyboardData& a, const CKeyboardData& b);

// A firmware text of lines Intel-HEX data records (16 bytes each) and an end record, CR LF ended.
std::string FirmwareText(int lines);
