// Shared helpers of the backlight tests: the painted skins, a model on a virtual keyboard, and
// answers to the modal windows the dialogs open.
#pragma once

#include "SkinTestSupport.h"

#include "backlight/BacklightAreas.h"
#include "device_ui/DeviceUiSupport.h"
#include "model/KeyboardData.h"
#include "skin/SkinResources.h"
#include "zelk/VirtualKeyboard.h"

#include <QApplication>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

inline QPoint KeyCentre(int keyIndex) {
    return Centre(BacklightKeyRect(keyIndex));
}

inline bool SameLight(const AreaLight& a, const AreaLight& b) {
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

inline QRgb Rgb(const AreaLight& light) {
    return qRgb(light.Red, light.Green, light.Blue);
}

// A model whose device is a virtual keyboard, opened.
struct CBacklightModel {
    std::unique_ptr<CKeyboardData> Data = std::make_unique<CKeyboardData>();
    std::shared_ptr<CVirtualKeyboard> Keyboard = std::make_shared<CVirtualKeyboard>();

    CBacklightModel() {
        Data->UiLanguage = UiLanguage::Chinese;
        Data->HWI.UseDeviceProvider(MakeVirtualKeyboardProvider(Keyboard));
        Data->HWI.__createDev();
    }
    AreaLight& Light(int record) { return Data->BackgroundLightSettings[static_cast<std::size_t>(record)]; }
};

// Answers the colour dialog from a queue of answers (nothing: Cancel) and records the colours it was
// opened with.
struct CColourAnswers {
    std::vector<std::optional<AreaLight>> Answers;
    std::vector<AreaLight> Initial;

    decltype(CPrompts::AskColour) Prompt() {
        return [this](QWidget*, const AreaLight& initial) -> std::optional<AreaLight> {
            Initial.push_back(initial);
            if (Answers.empty())
                return std::nullopt;
            const std::optional<AreaLight> answer = Answers.front();
            Answers.erase(Answers.begin());
            return answer;
        };
    }
};

// Once the next modal window of type T is up, hands it to act (once).
template <class T> void WhenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (T* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(window);
        }
    });
    timer->start();
}

// Answers the device dialogs' message boxes while it lives, keeping their texts.
class CMessageCatcher {
public:
    CMessageCatcher() : Saved(Prompts().ShowMessage) {
        Prompts().ShowMessage = [this](QWidget*, const QString& text) { Texts << text; };
    }
    ~CMessageCatcher() { Prompts().ShowMessage = Saved; }
    CMessageCatcher(const CMessageCatcher&) = delete;
    CMessageCatcher& operator=(const CMessageCatcher&) = delete;

    QStringList Texts;

private:
    decltype(CPrompts::ShowMessage) Saved;
};

// Counts the paint events a widget receives.
class CPaintCounter : public QObject {
public:
    explicit CPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return QObject::eventFilter(watched, event);
    }
};
