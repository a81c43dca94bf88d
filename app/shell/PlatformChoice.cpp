#include "shell/PlatformChoice.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStringList>

namespace {

bool WaylandPlatformInstalled() {
    QStringList folders =
        qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders) {
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("*qwayland*")}, QDir::Files)
                 .isEmpty())
            return true;
    }
    return false;
}

} // namespace

QString FallBackFromMissingWayland() {
    // Only a request for Wayland alone ends the program; a list ("wayland;xcb") falls back by itself.
    const QString asked = qEnvironmentVariable("QT_QPA_PLATFORM").trimmed();
    if (!asked.startsWith(QLatin1String("wayland")) || asked.contains(QLatin1Char(';')) ||
        WaylandPlatformInstalled())
        return {};
    qputenv("QT_QPA_PLATFORM", "xcb");
    return QStringLiteral("Zelk: Qt's Wayland platform (qt6-wayland) is not installed; running through X11 "
                          "(Xwayland) instead.");
}
