// What the device dialogs share: the questions they put to the person in front of them (answered by
// tests themselves), the skin resources they borrow, and the choice of a text by UI language.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

class CSkinResources;
class QWidget;

struct CDeviceUiPrompts {
    // A message box captioned with the program's name.
    std::function<void(QWidget* owner, const QString& text)> ShowMessage;
    // The firmware file to write; empty when the person cancelled.
    std::function<QString(QWidget* owner)> AskFirmwarePath;
    // Opens a document with the desktop's viewer; false when none took it.
    std::function<bool(const QUrl& url)> OpenUrl;
};

// The system's message boxes, file dialog and desktop services.
CDeviceUiPrompts SystemDeviceUiPrompts();
// The prompts the device dialogs use; the system's unless replaced.
CDeviceUiPrompts& DeviceUiPrompts();
void ShowDeviceMessage(QWidget* owner, const QString& text);

// The skin of the nearest skinned window among owner and its parents, when it holds the device
// dialogs' pictures; otherwise the pictures read once from the resource file beside the program.
const CSkinResources& DeviceDialogResources(QWidget* owner);
// The picture ids of both device dialogs.
const std::vector<int>& DeviceDialogPictureIds();

// The Chinese text for "zh-CN", the English one for every other language.
QString ByLanguage(const std::string& language, const char* chinese, const char* english);
