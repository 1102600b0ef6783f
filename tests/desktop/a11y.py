"""The program as a screen reader meets it, over the accessibility bus (AT-SPI) alone."""

import contextlib
import functools
import time
import warnings
from collections.abc import Callable
from typing import Any, TypeAlias

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

from .session import wait_until  # noqa: E402

Accessible: TypeAlias = Atspi.Accessible


# An object as a screen reader reads it: role, name, text, whether it is shown, its children.
# A push button's role is named "push button" by at-spi2-core 2.46 (Debian 12), "button" by
# newer ones (2.56 in Debian 13): it is spelt one way here.
def role(obj: Accessible) -> str:
    return "push button" if obj.get_role() == Atspi.Role.PUSH_BUTTON else obj.get_role_name()


def name(obj: Accessible) -> str: return obj.get_name()
# Through the Text interface by name: newer libatspi gives Accessible a get_text of its own.
def text(obj: Accessible) -> str: return Atspi.Text.get_text(obj, 0, -1)
def showing(obj: Accessible) -> bool: return obj.get_state_set().contains(Atspi.StateType.SHOWING)


def children(obj: Accessible) -> list[Accessible]:
    """The object's children."""
    return list(filter(None, map(obj.get_child_at_index, range(obj.get_child_count()))))


def pump(seconds: float = 0.0) -> None:
    """Lets the bus deliver what it holds (events, answers) for about `seconds`."""
    context, end = GLib.MainContext.default(), time.monotonic() + seconds
    while context.pending() or time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


def wait(probe: Callable[[], Any], what: str | Callable[[], str], timeout: float = 10) -> Any:
    """The first true value of probe(), the bus delivering meanwhile; an object gone is none."""
    return wait_until(probe, what, timeout, pause=pump, ignoring=(GLib.Error,))


def find(top: Accessible, wanted_role: str, wanted: str, hidden: bool = False) -> Any:
    """The first object below `top`, depth first, of that role and name (`hidden` or shown)."""
    for child in children(top):
        if hidden or showing(child):
            if (role(child), name(child)) == (wanted_role, wanted):
                return child
            if found := find(child, wanted_role, wanted, hidden):
                return found


def the(top: Accessible, wanted_role: str, wanted: str) -> Accessible:
    """The shown object below `top` of that role and name, once it is there."""
    return wait(lambda: find(top, wanted_role, wanted), f'a {wanted_role} "{wanted}"', 5)


def targets(obj: Accessible, relation: Atspi.RelationType) -> list[Accessible]:
    """The objects `obj` stands in `relation` to."""
    return [rel.get_target(i) for rel in obj.get_relation_set() or []
            if rel.get_relation_type() == relation for i in range(rel.get_n_targets())]


def action_index(obj: Accessible, action: str) -> int:
    """The index of the object's action named `action`."""
    with warnings.catch_warnings():  # the only unlocalised name libatspi 2.46 gives
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [obj.get_action_name(index) for index in range(obj.get_n_actions())]
    assert action in names, f'{role(obj)} "{name(obj)}" has no action "{action}": {names}'
    return names.index(action)


@functools.cache
def accessibility_bus() -> Gio.DBusConnection:
    """A connection of our own to the accessibility bus, to ask without waiting for answers."""
    address = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
        GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, -1).unpack()[0]
    flags = Gio.DBusConnectionFlags
    return Gio.DBusConnection.new_for_address_sync(
        address, flags.AUTHENTICATION_CLIENT | flags.MESSAGE_BUS_CONNECTION)


class AccessibleApp:
    """A running program as the accessibility bus shows it."""

    def __init__(self, pid: int):
        self.app = wait(lambda: next((app for app in children(Atspi.get_desktop(0))
                                      if app.get_process_id() == pid), None),
                        f"process {pid} to join the accessibility bus", 20)
        self.app.set_cache_mask(Atspi.Cache.NONE)  # what it says now, never what it said
        assert name(self.app) == "VornUtil", f"the program is called {name(self.app)!r} on the bus"

    def windows(self) -> dict[str, Accessible]:
        """The program's shown windows and boxes, by title."""
        return {name(window): window for window in children(self.app) if showing(window)}

    def window(self, title: str) -> Accessible:
        """The shown window or box titled `title`, once it is there."""
        return wait(lambda: self.windows().get(title),
                    lambda: f'a window "{title}"; shown: {list(self.windows())}')

    def gone(self, title: str) -> None:
        """Waits for no window titled `title` to be shown."""
        wait(lambda: title not in self.windows(), f'"{title}" to go')

    def act(self, obj: Accessible, action: str = "Press") -> None:
        """Performs an action and waits for the program's answer."""
        obj.do_action(action_index(obj, action))

    def act_later(self, obj: Accessible, action: str = "Press") -> None:
        """Asks for an action without waiting for the answer (a modal box holds it back)."""
        accessibility_bus().call(obj.app.bus_name, obj.path, "org.a11y.atspi.Action", "DoAction",
                                 GLib.Variant("(i)", (action_index(obj, action),)), None,
                                 Gio.DBusCallFlags.NO_AUTO_START, -1)
        pump(0.05)

    def press(self, window: Accessible, button: str, later: bool = False) -> None:
        """Presses the window's button `button`; `later`: without waiting for the answer."""
        (self.act_later if later else self.act)(the(window, "push button", button))

    def menu_item(self, caption: str) -> Accessible:
        """The main window's menu entry `caption`, hidden in its menu or not."""
        assert (item := find(self.window("VornUtil"), "menu item", caption, hidden=True)), caption
        return item

    def answer_names(self, first: str, second: str) -> None:
        """Answers the two boxes in which the chore lottery asks the partners' names."""
        for which, person in (("première", first), ("deuxième", second)):
            wait(lambda: find(self.window("Personnalisation"), "text", f"Donnez le nom de la "
                              f"{which} personne"), f"the box for the {which} name"
                 ).set_text_contents(person)
            self.press(self.window("Personnalisation"), "OK", later=True)


class Events:
    """Records the events a screen reader listens for: kind, source, the source's name."""

    def __init__(self) -> None:
        self.seen: list[tuple[str, str, str]] = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("window:activate", "object:text-changed:insert",
                     "object:property-change:accessible-name", "object:text-caret-moved",
                     "object:text-selection-changed", "object:state-changed:focused"):
            self.listener.register(kind)

    def record(self, event: Atspi.Event) -> None:
        """Notes an event, unless its source has gone already; of the focus, only its coming."""
        if event.type == "object:state-changed:focused" and not event.detail1:
            return
        with contextlib.suppress(GLib.Error):
            self.seen.append((event.type, event.source.path, name(event.source)))

    def clear(self) -> None:
        """Forgets the events delivered so far."""
        pump()
        self.seen.clear()
