#!/usr/bin/python3
"""A desktop's portal backend for the tests: remote desktop (org.freedesktop.impl.portal.
RemoteDesktop), which grants or refuses and writes one line for each thing it is asked, and
settings (org.freedesktop.impl.portal.Settings), whose appearance contrast is N and turns
between 0 and 1 at each SIGUSR1.
Usage: portal_backend.py LOG [--refuse] [--close-after N] [--contrast N]"""
import signal
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.impl.portal.desktop.glidtavlatest"
PATH = "/org/freedesktop/portal/desktop"
IMPL = "org.freedesktop.impl.portal.RemoteDesktop"
SESSION = "org.freedesktop.impl.portal.Session"
SETTINGS = "org.freedesktop.impl.portal.Settings"
APPEARANCE = "org.freedesktop.appearance"

log_path = sys.argv[1]
refuse = "--refuse" in sys.argv
close_after = int(sys.argv[sys.argv.index("--close-after") + 1]) if "--close-after" in sys.argv else 0
contrast = int(sys.argv[sys.argv.index("--contrast") + 1]) if "--contrast" in sys.argv else 0


def record(line):
    with open(log_path, "a") as log:
        log.write(line + "\n")


class Session(dbus.service.Object):
    def __init__(self, bus, path):
        super().__init__(bus, path)

    @dbus.service.method(SESSION, in_signature="", out_signature="")
    def Close(self):
        record("Close")
        self.remove_from_connection()

    @dbus.service.signal(SESSION, signature="")
    def Closed(self):
        pass


class RemoteDesktop(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.sessions = {}
        self.keys = 0
        self.persist = 0

    @dbus.service.method(IMPL, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session_handle, app_id, options):
        record("CreateSession")
        self.sessions[str(session_handle)] = Session(self.bus, session_handle)
        return dbus.UInt32(0), dbus.Dictionary({}, signature="sv")

    @dbus.service.method(IMPL, in_signature="oosa{sv}", out_signature="ua{sv}")
    def SelectDevices(self, handle, session_handle, app_id, options):
        shown = " ".join("%s=%s" % (k, options[k]) for k in sorted(options) if k != "handle_token")
        record("SelectDevices " + shown)
        self.persist = int(options.get("persist_mode", 0))
        return dbus.UInt32(0), dbus.Dictionary({}, signature="sv")

    @dbus.service.method(IMPL, in_signature="oossa{sv}", out_signature="ua{sv}")
    def Start(self, handle, session_handle, app_id, parent_window, options):
        record("Start" + (" refused" if refuse else ""))
        if refuse:
            return dbus.UInt32(1), dbus.Dictionary({}, signature="sv")
        results = {"devices": dbus.UInt32(1)}
        if self.persist:  # a permission kept only when asked to keep it
            results["persist_mode"] = dbus.UInt32(self.persist)
            results["restore_token"] = dbus.String("glidtavla-test-token")
        return dbus.UInt32(0), dbus.Dictionary(results, signature="sv")

    @dbus.service.method(IMPL, in_signature="oa{sv}iu", out_signature="")
    def NotifyKeyboardKeysym(self, session_handle, options, keysym, state):
        record("keysym 0x%x %s" % (keysym, "press" if state else "release"))
        self.keys += 1
        if close_after and self.keys == close_after:
            session = self.sessions.get(str(session_handle))
            if session is not None:
                GLib.idle_add(lambda: (record("closing"), session.Closed(), False)[-1])

    @dbus.service.method(SETTINGS, in_signature="as", out_signature="a{sa{sv}}")
    def ReadAll(self, namespaces):
        return {APPEARANCE: {"contrast": dbus.UInt32(contrast)}}

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v")
    def Read(self, namespace, key):
        record("Read %s %s" % (namespace, key))
        if namespace == APPEARANCE and key == "contrast":
            return dbus.UInt32(contrast)
        raise dbus.exceptions.DBusException("no such setting",
                                            name="org.freedesktop.portal.Error.NotFound")

    @dbus.service.signal(SETTINGS, signature="ssv")
    def SettingChanged(self, namespace, key, value):
        pass

    def TurnContrast(self):
        global contrast
        contrast = 1 - contrast
        record("contrast %d" % contrast)
        self.SettingChanged(APPEARANCE, "contrast", dbus.UInt32(contrast))
        return False

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return self.GetAll(interface)[prop]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"AvailableDeviceTypes": dbus.UInt32(1), "version": dbus.UInt32(2)}


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = RemoteDesktop(bus)
name = dbus.service.BusName(NAME, bus)
# Heard by the main loop itself: a Python handler would wait for the loop to return.
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, lambda: portal.TurnContrast() or True)
GLib.MainLoop().run()
