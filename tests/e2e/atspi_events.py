#!/usr/bin/python3
"""Listens on the session's AT-SPI bus as a screen reader does and writes one line per event a
program sends: "EVENT-TYPE ROLE NAME" (the source's role and accessible name).
Usage: atspi_events.py LOG"""
import sys

import pyatspi

log = open(sys.argv[1], "a", buffering=1)


def heard(event):
    try:
        name = event.source.name if event.source is not None else ""
        role = event.source.getRoleName().replace(" ", "_") if event.source is not None else "-"
    except Exception:  # the source may be gone by the time it is asked
        name, role = "", "-"
    log.write("%s %s %s\n" % (event.type, role, name.replace(" ", "_") or "-"))


pyatspi.Registry.registerEventListener(
    heard, "object:text-changed", "object:property-change", "object:state-changed",
    "object:text-caret-moved", "object:value-changed", "object:children-changed")
log.write("listening\n")
pyatspi.Registry.start()
