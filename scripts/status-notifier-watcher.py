"""A notification area as desktops offer it over D-Bus (the StatusNotifierWatcher that KDE Plasma, and
GNOME with its AppIndicator extension, run), for scripts/wayland-check.sh: it takes the icons that
programs register and writes each one's D-Bus name, one per line, to the file named by its argument.

Runs until it is stopped. Needs the session bus and /usr/bin/python3's gi (python3-gi).
"""

import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""

registered_file = sys.argv[1]
items = []


def on_call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        service = parameters.unpack()[0]
        # An item may give its object path instead of its name: the name is then the caller's.
        name = sender if service.startswith("/") else service
        items.append(name)
        with open(registered_file, "a", encoding="utf-8") as out:
            out.write(name + "\n")
        connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                               GLib.Variant("(s)", (name,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def on_bus(connection, name):
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
    connection.register_object("/StatusNotifierWatcher", info, on_call, on_get, None)


def on_lost(connection, name):
    sys.exit("status-notifier-watcher: cannot own " + name)


Gio.bus_own_name(Gio.BusType.SESSION, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE,
                 on_bus, None, on_lost)
GLib.MainLoop().run()
