// The message target a window hands to the device library, a worker thread or the keyboard hook:
// a post becomes a Qt event delivered to the window on its own thread. Once the window is gone,
// posts are dropped, never delivered to freed memory.
#pragma once

#include "zelk/ZelkHWI.h"

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <mutex>

class CPostedMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();

    CPostedMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(EventType()), Message(message), WParam(wParam), LParam(lParam) {}

    const unsigned Message;
    const std::uintptr_t WParam;
    const std::intptr_t LParam;
};

class CWindowMessageTarget : public CMessageTarget {
public:
    // The receiver gets a CPostedMessageEvent for every post until it is destroyed.
    explicit CWindowMessageTarget(QObject* receiver);
    ~CWindowMessageTarget() override;
    CWindowMessageTarget(const CWindowMessageTarget&) = delete;
    CWindowMessageTarget& operator=(const CWindowMessageTarget&) = delete;

    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Stops delivery; called by the receiver's destruction, callable earlier.
    void Detach();

private:
    std::mutex Lock;
    QObject* Receiver = nullptr;
    QMetaObject::Connection Watch;
};
