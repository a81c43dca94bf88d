#include "skin/SkinAccessible.h"

#include "skin/SkinRectQt.h"
#include "skin/SkinScrollBar.h"
#include "skin/SkinWindow.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>
#include <utility>

namespace {

class CSkinWindowAccessible;

// One area of a window, by its index in the window's area table.
class CSkinAreaAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CSkinAreaAccessible(CSkinWindow* window, int index) : Window(window), Index(index) {}

    bool isValid() const override {
        return Window && Index >= 0 && static_cast<std::size_t>(Index) < Window->Areas().size();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return Window ? Window->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(Window); }
    QAccessibleInterface* child(int index) const override {
        Q_UNUSED(index);
        return nullptr;
    }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        Q_UNUSED(child);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        Q_UNUSED(x);
        Q_UNUSED(y);
        return nullptr;
    }

    QString text(QAccessible::Text kind) const override {
        if (!isValid())
            return {};
        const SkinAreaSpeech speech = Speech();
        // However a window names its areas, the common rule leaves none that takes a click nameless.
        if (kind == QAccessible::Name)
            return speech.name.isEmpty() ? Window->CSkinWindow::AreaSpeech(Area()).name : speech.name;
        if (kind == QAccessible::Description)
            return speech.description;
        return {};
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        Q_UNUSED(kind);
        Q_UNUSED(text);
    }
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = ToQRect(Area().rect);
        return QRect(Window->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        switch (Speech().role) {
        case SkinAreaSpeech::Role::PageTab:
            return QAccessible::PageTab;
        case SkinAreaSpeech::Role::ListItem:
            return QAccessible::ListItem;
        case SkinAreaSpeech::Role::CheckBox:
            return QAccessible::CheckBox;
        case SkinAreaSpeech::Role::RadioButton:
            return QAccessible::RadioButton;
        case SkinAreaSpeech::Role::Button:
            break;
        }
        return QAccessible::PushButton;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const SkinAreaSpeech speech = Speech();
        state.focusable = true;
        state.focused = Window->FocusedArea() == Index && Window->hasFocus();
        state.disabled = speech.unavailable;
        switch (speech.role) {
        case SkinAreaSpeech::Role::CheckBox:
        case SkinAreaSpeech::Role::RadioButton:
            state.checkable = true;
            state.checked = speech.checked;
            break;
        case SkinAreaSpeech::Role::PageTab:
        case SkinAreaSpeech::Role::ListItem:
            state.selectable = true;
            state.selected = speech.selected;
            break;
        case SkinAreaSpeech::Role::Button:
            break;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (!isValid() || action != pressAction())
            return;
        // A click may open a modal dialog: the caller is answered first.
        QPointer<CSkinWindow> window = Window;
        const int index = Index;
        QMetaObject::invokeMethod(
            Window,
            [window, index] {
                if (window)
                    window->ActivateArea(index);
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        Q_UNUSED(action);
        return {};
    }

private:
    const SkinRegion& Area() const { return Window->Areas()[static_cast<std::size_t>(Index)]; }
    SkinAreaSpeech Speech() const { return isValid() ? Window->AreaSpeech(Area()) : SkinAreaSpeech{}; }

    QPointer<CSkinWindow> Window;
    int Index;
};

// A text said once: a notification of the window, shown as it is made.
class CSkinAnnouncementAccessible : public QAccessibleInterface {
public:
    CSkinAnnouncementAccessible(CSkinWindow* window, QString text) : Window(window), Said(std::move(text)) {}

    bool isValid() const override { return Window != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return Window ? Window->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(Window); }
    QAccessibleInterface* child(int index) const override {
        Q_UNUSED(index);
        return nullptr;
    }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        Q_UNUSED(child);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        Q_UNUSED(x);
        Q_UNUSED(y);
        return nullptr;
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? Said : QString();
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        Q_UNUSED(kind);
        Q_UNUSED(text);
    }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

private:
    QPointer<CSkinWindow> Window;
    QString Said;
};

class CSkinWindowAccessible : public QAccessibleWidget {
public:
    explicit CSkinWindowAccessible(CSkinWindow* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
    ~CSkinWindowAccessible() override {
        for (const auto& [index, id] : AreaIds) {
            if (QAccessible::accessibleInterface(id) != nullptr)
                QAccessible::deleteAccessibleInterface(id);
        }
        ForgetAnnouncement();
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            if (const QString name = Window()->AccessibleWindowName(); !name.isEmpty())
                return name;
        }
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override {
        return QAccessibleWidget::childCount() + static_cast<int>(Window()->ExposedAreas().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const std::vector<int> areas = Window()->ExposedAreas();
        const auto at = static_cast<std::size_t>(index - widgets);
        return at < areas.size() ? AreaInterface(areas[at]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : AreaIds) {
            if (QAccessible::accessibleInterface(id) != child)
                continue;
            const std::vector<int> areas = Window()->ExposedAreas();
            const auto found = std::find(areas.begin(), areas.end(), index);
            if (found == areas.end())
                return -1;
            return QAccessibleWidget::childCount() + static_cast<int>(found - areas.begin());
        }
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = Window()->mapFromGlobal(QPoint(x, y));
        for (const int index : Window()->ExposedAreas()) {
            if (Window()->Areas()[static_cast<std::size_t>(index)].rect.Contains(local.x(), local.y()))
                return AreaInterface(index);
        }
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface* focusChild() const override {
        if (Window()->hasFocus() && Window()->FocusedArea() >= 0)
            return AreaInterface(Window()->FocusedArea());
        return QAccessibleWidget::focusChild();
    }

    QAccessibleInterface* AreaInterface(int index) const {
        if (const auto found = AreaIds.find(index); found != AreaIds.end()) {
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(found->second))
                return known;
        }
        auto* area = new CSkinAreaAccessible(Window(), index);
        AreaIds[index] = QAccessible::registerAccessibleInterface(area);
        return area;
    }
    // The interfaces made so far, for the events that tell their change.
    std::vector<QAccessibleInterface*> MadeAreaInterfaces() const {
        std::vector<QAccessibleInterface*> made;
        for (const auto& [index, id] : AreaIds) {
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(id))
                made.push_back(known);
        }
        return made;
    }

    void Announce(const QString& text) {
        ForgetAnnouncement();
        auto* announcement = new CSkinAnnouncementAccessible(Window(), text);
        AnnouncementId = QAccessible::registerAccessibleInterface(announcement);
        QAccessibleEvent shown(announcement, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }

private:
    CSkinWindow* Window() const { return static_cast<CSkinWindow*>(widget()); }
    void ForgetAnnouncement() {
        if (AnnouncementId != 0 && QAccessible::accessibleInterface(AnnouncementId) != nullptr)
            QAccessible::deleteAccessibleInterface(AnnouncementId);
        AnnouncementId = 0;
    }

    mutable std::map<int, QAccessible::Id> AreaIds;
    QAccessible::Id AnnouncementId = 0;
};

QAccessibleInterface* SkinAccessibleFactory(const QString& className, QObject* object) {
    Q_UNUSED(className);
    if (auto* window = qobject_cast<CSkinWindow*>(object))
        return new CSkinWindowAccessible(window);
    if (auto* bar = qobject_cast<CSkinScrollBar*>(object))
        return new QAccessibleWidget(bar, QAccessible::ScrollBar);
    return nullptr;
}

} // namespace

void InstallSkinAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&SkinAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface* SkinAreaAccessible(CSkinWindow* window, int index) {
    auto* windowInterface =
        dynamic_cast<CSkinWindowAccessible*>(QAccessible::queryAccessibleInterface(window));
    return windowInterface != nullptr ? windowInterface->AreaInterface(index) : nullptr;
}

void AnnounceToAssistiveTechnology(CSkinWindow* window, const QString& text) {
    if (!QAccessible::isActive())
        return;
    if (auto* windowInterface =
            dynamic_cast<CSkinWindowAccessible*>(QAccessible::queryAccessibleInterface(window)))
        windowInterface->Announce(text);
}

void TellSkinAreasChanged(CSkinWindow* window, bool structure) {
    if (!QAccessible::isActive())
        return;
    auto* windowInterface =
        dynamic_cast<CSkinWindowAccessible*>(QAccessible::queryAccessibleInterface(window));
    if (windowInterface == nullptr)
        return;
    if (structure) {
        QAccessibleEvent reorder(window, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    for (QAccessibleInterface* area : windowInterface->MadeAreaInterfaces()) {
        for (const QAccessible::Event type :
             {QAccessible::NameChanged, QAccessible::DescriptionChanged, QAccessible::StateChanged}) {
            if (type == QAccessible::StateChanged) {
                QAccessible::State changed;
                changed.checked = true;
                changed.selected = true;
                QAccessibleStateChangeEvent event(area, changed);
                QAccessible::updateAccessibility(&event);
            } else {
                QAccessibleEvent event(area, type);
                QAccessible::updateAccessibility(&event);
            }
        }
    }
}
