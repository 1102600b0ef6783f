"""Drives a running VornUtil over the accessibility bus (AT-SPI), as a screen reader does.

Everything here goes through the bus alone: the tree of accessible objects, their names,
roles, states, texts and actions, and the events the program raises.
"""

import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402


class Failure(Exception):
    """A finding: what the program shows a screen reader is not what it should be."""


def pump(seconds=0.0):
    """Lets the bus deliver what it holds (events, answers) for about `seconds`."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_until(probe, what, seconds=10.0):
    """Returns the first true value of `probe()`, trying for at most `seconds`."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except GLib.Error:
            value = None
        if value:
            return value
        if time.monotonic() >= end:
            raise Failure(f"{what}: not within {seconds:g} s")
        pump(0.05)


# --- Reading objects -------------------------------------------------------------------------


def role(obj):
    return obj.get_role_name()


def name(obj):
    return obj.get_name()


def showing(obj):
    return obj.get_state_set().contains(Atspi.StateType.SHOWING)


def children(obj):
    for index in range(obj.get_child_count()):
        child = obj.get_child_at_index(index)
        if child is not None:
            yield child


def descendants(obj, shown_only=True):
    """Every object below `obj`, depth first; hidden ones and what they hold are skipped."""
    for child in children(obj):
        if shown_only and not showing(child):
            continue
        yield child
        yield from descendants(child, shown_only)


def text(obj):
    return obj.get_text(0, -1)


def targets(obj, relation):
    """The objects `obj` stands in `relation` to (an Atspi.RelationType)."""
    found = []
    for rel in obj.get_relation_set() or []:
        if rel.get_relation_type() == relation:
            found.extend(rel.get_target(i) for i in range(rel.get_n_targets()))
    return found


def find(top, wanted_role, wanted_name, shown_only=True):
    """The first object below `top` of that role and name, or None."""
    for obj in descendants(top, shown_only):
        if role(obj) == wanted_role and name(obj) == wanted_name:
            return obj
    return None


def the(top, wanted_role, wanted_name):
    return wait_until(lambda: find(top, wanted_role, wanted_name),
                      f'no {wanted_role} "{wanted_name}" in "{name(top)}"', 5)


def action_index(obj, action):
    for index in range(obj.get_n_actions()):
        if obj.get_action_name(index) == action:
            return index
    raise Failure(f'{role(obj)} "{name(obj)}" has no action "{action}"')


# --- The program -----------------------------------------------------------------------------


class Program:
    """The running program as the accessibility bus shows it."""

    def __init__(self, app_name="VornUtil", seconds=20):
        desktop = Atspi.get_desktop(0)

        def lookup():
            for app in children(desktop):
                if name(app) == app_name:
                    return app
            return None

        self.app = wait_until(lookup, f'no application "{app_name}" on the bus', seconds)
        # Read everything afresh: a cached name or state would hide what the program says now.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                    None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, -1,
                                    None).unpack()[0]
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                 | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        self._bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    def windows(self):
        """The program's shown windows and boxes: (role, title, object)."""
        return [(role(w), name(w), w) for w in children(self.app) if showing(w)]

    def window(self, title, seconds=10):
        """The shown window or box titled `title`, once it is there."""

        def lookup():
            for _, shown_title, obj in self.windows():
                if shown_title == title:
                    return obj
            return None

        return wait_until(lookup, f'no window "{title}" shown; shown: {self.titles()}', seconds)

    def gone(self, title, seconds=10):
        wait_until(lambda: all(t != title for _, t, _ in self.windows()),
                   f'"{title}" is still shown', seconds)

    def titles(self):
        return [f"{kind} {title!r}" for kind, title, _ in self.windows()]

    def act(self, obj, action="Press"):
        """Performs an action and waits for the program's answer."""
        obj.do_action(action_index(obj, action))

    def act_later(self, obj, action="Press"):
        """Asks for an action without waiting for the answer: a handler that opens a modal box
        answers only once the box is closed."""
        self._bus.call(obj.app.bus_name, obj.path, "org.a11y.atspi.Action", "DoAction",
                       GLib.Variant("(i)", (action_index(obj, action),)), None,
                       Gio.DBusCallFlags.NO_AUTO_START, -1, None, None, None)
        pump(0.05)

    def menu_item(self, caption):
        """The main window's menu entry `caption`, hidden in its menu or not."""
        menu = self.window("VornUtil")
        for obj in descendants(menu, shown_only=False):
            if role(obj) == "menu item" and name(obj) == caption:
                return obj
        raise Failure(f'no menu entry "{caption}"')


class Events:
    """Records the events a screen reader listens for, by kind, with their source."""

    KINDS = ("window:activate", "object:text-changed:insert",
             "object:property-change:accessible-name")

    def __init__(self):
        self.seen = []
        self._listener = Atspi.EventListener.new(self._record)
        for kind in self.KINDS:
            self._listener.register(kind)

    def _record(self, event):
        try:
            source = event.source
            self.seen.append((event.type, source.path, role(source), name(source)))
        except GLib.Error:
            pass  # gone already

    def clear(self):
        pump()
        self.seen.clear()

    def wait_for(self, kind, source, what, seconds=5):
        """Waits for an event of `kind` raised by the object `source`."""
        wait_until(lambda: any(k.startswith(kind) and path == source.path
                               for k, path, _, _ in self.seen), what, seconds)

    def wait_for_window(self, title, what, seconds=5):
        """Waits for a window titled `title` to be announced as it comes forward."""
        wait_until(lambda: any(k == "window:activate" and n == title
                               for k, _, _, n in self.seen), what, seconds)


def answer_names(program, first, second):
    """Answers the two boxes in which the chore lottery asks the partners' names."""
    for prompt, person in (("Donnez le nom de la première personne", first),
                           ("Donnez le nom de la deuxième personne", second)):
        ask = wait_until(lambda: find(program.window("Personnalisation"), "text", prompt),
                         f'no box asks "{prompt}"')
        ask.set_text_contents(person)
        program.act_later(the(program.window("Personnalisation"), "push button", "OK"))
