#include "skin/WindowMessageTarget.h"

#include <QCoreApplication>

QEvent::Type CPostedMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CWindowMessageTarget::CWindowMessageTarget(QObject* receiver) : Receiver(receiver) {
    // Direct connection: the receiver's destructor runs on its thread and detaches before the object's
    // posted events are discarded, so no post can slip in after.
    Watch = QObject::connect(
        receiver, &QObject::destroyed, receiver, [this] { Detach(); }, Qt::DirectConnection);
}

CWindowMessageTarget::~CWindowMessageTarget() {
    QObject::disconnect(Watch);
    Detach();
}

void CWindowMessageTarget::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::lock_guard<std::mutex> hold(Lock);
    if (Receiver != nullptr)
        QCoreApplication::postEvent(Receiver, new CPostedMessageEvent(message, wParam, lParam));
}

void CWindowMessageTarget::Detach() {
    const std::lock_guard<std::mutex> hold(Lock);
    Receiver = nullptr;
}
