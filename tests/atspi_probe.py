#!/usr/bin/python3
"""Reads and sets the program's controls through the accessibility bus (AT-SPI), as a screen
reader or a GUI test tool does.

  atspi_probe.py APP cells TABLE_NAME          prints every cell of the table, row by row, tab-separated
  atspi_probe.py APP select TABLE_NAME ROW     selects the row through the table's selection
  atspi_probe.py APP settext FIELD_NAME TEXT   sets the text of an editable field
  atspi_probe.py APP items LIST_NAME           prints the items of a list, one a line
  atspi_probe.py APP choose LIST_NAME INDEX    selects the list's item (its "Toggle" action)
  atspi_probe.py APP fill FIELD_NAME TEXT BUTTON   sets the field's text, then presses the button
A control that is not there yet (a dialog about to open) is waited for up to ten seconds.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find_app(name, seconds=10):
    desktop = Atspi.get_desktop(0)
    end = time.time() + seconds
    while time.time() < end:
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    sys.exit(f"no application {name!r} on the accessibility bus")


def find(node, name, roles, depth=0):
    """The first control of that name and one of the roles, depth first."""
    if node is None or depth > 40:
        return None
    if node.get_name() == name and node.get_role_name() in roles:
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), name, roles, depth + 1)
        if found is not None:
            return found
    return None


def main():
    app_name, command, target = sys.argv[1:4]
    roles = {"cells": {"table"}, "select": {"table"}, "settext": {"text", "entry"}, "fill": {"text", "entry"},
             "items": {"list", "list box"}, "choose": {"list", "list box"}}
    app = find_app(app_name)
    node = find(app, target, roles.get(command, set()))
    end = time.time() + 10
    while node is None and time.time() < end:
        time.sleep(0.2)
        node = find(app, target, roles.get(command, set()))
    if node is None:
        sys.exit(f"no control named {target!r}")
    if command == "cells":
        rows, columns = Atspi.Table.get_n_rows(node), Atspi.Table.get_n_columns(node)
        for r in range(rows):
            cells = [Atspi.Table.get_accessible_at(node, r, c).get_name() for c in range(columns)]
            print("\t".join(cells))
    elif command == "select":
        row = int(sys.argv[4])
        if not Atspi.Table.add_row_selection(node, row):
            sys.exit("the row could not be selected")
    elif command == "settext":
        if not Atspi.EditableText.set_text_contents(node, sys.argv[4]):
            sys.exit("the text could not be set")
    elif command == "fill":
        if not Atspi.EditableText.set_text_contents(node, sys.argv[4]):
            sys.exit("the text could not be set")
        button = find(app, sys.argv[5], {"push button"})
        if button is None or not Atspi.Action.do_action(button, 0):
            sys.exit(f"no button {sys.argv[5]!r} to press")
    elif command == "choose":  # the item's own action, as a screen reader's user selects it
        item = node.get_child_at_index(int(sys.argv[4]))
        if item is None or not Atspi.Action.do_action(item, 0):
            sys.exit("the item could not be selected")
    elif command == "items":
        for i in range(node.get_child_count()):
            print(node.get_child_at_index(i).get_name())
    else:
        sys.exit(f"unknown command {command}")


main()
