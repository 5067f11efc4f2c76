#!/usr/bin/python3
# A GTK 3 editor for the desktop tests, the same as test_editor but built with another toolkit:
# it writes its text to <state>.text on every change, appends the name of every Escape and
# Space it receives to <state>.keys, and writes its window id to <state>.window once shown.
#   gtk_editor.py <state> [text] [selection start] [selection length]
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("GdkX11", "3.0")
from gi.repository import GdkX11, GLib, Gtk  # noqa: E402,F401


def write(path, text, append=False):
    with open(path, "a" if append else "w", encoding="utf-8") as f:
        f.write(text)


def main():
    state = sys.argv[1]
    window = Gtk.Window(title="GTK test editor")
    window.set_default_size(500, 300)
    view = Gtk.TextView()
    window.add(view)
    buffer = view.get_buffer()
    buffer.connect("changed", lambda b: write(state + ".text", b.get_text(b.get_start_iter(), b.get_end_iter(), True)))

    def on_key(_widget, event):
        name = {65307: "Escape", 32: "Space"}.get(event.keyval)
        if name:
            write(state + ".keys", name + "\n", True)
        return False

    view.connect("key-press-event", on_key)
    window.connect("destroy", Gtk.main_quit)
    if len(sys.argv) > 2:
        buffer.set_text(sys.argv[2])
    window.show_all()
    view.grab_focus()

    def shown():
        if len(sys.argv) > 4:
            start = buffer.get_iter_at_offset(int(sys.argv[3]))
            end = buffer.get_iter_at_offset(int(sys.argv[3]) + int(sys.argv[4]))
            buffer.select_range(start, end)
        write(state + ".window", str(window.get_window().get_xid()))
        return False

    GLib.timeout_add(100, shown)
    Gtk.main()


main()
