"""The X side of a session: Xvfb, window managers, windows, pixels, a person's pointer and keys."""

import contextlib
import os
import subprocess
from collections.abc import Callable
from pathlib import Path
from typing import Any, NamedTuple

from Xlib import X, Xatom, display, error
from Xlib.protocol import event
from Xlib.xobject.drawable import Window

from .session import Process, Session, settled, wait_until

XError = error.XError
Rect = NamedTuple("Rect", [("x", int), ("y", int), ("width", int), ("height", int)])
# Each window manager by the name it announces: its command and its private settings. Metacity
# shows the minimise, maximise and close buttons and plays no sound (there is no sound card);
# openbox's menu leaves out the list of installed programs, a file that may not exist.
WINDOW_MANAGERS: dict[str, tuple[list[str], Callable[[], dict[str, str]]]] = {
    "Metacity": (["metacity"], lambda: {
        "glib-2.0/settings/keyfile": "[org/gnome/desktop/wm/preferences]\nbutton-layout="
        "':minimize,maximize,close'\naudible-bell=false\n[org/gnome/desktop/sound]\n"
        "event-sounds=false\n",
        "gtk-3.0/settings.ini": "[Settings]\ngtk-enable-event-sounds=false\n"}),
    "Openbox": (["openbox", "--sm-disable"], lambda: {
        "openbox/rc.xml": "".join(line for line in Path("/etc/xdg/openbox/rc.xml").read_text()
                                  .splitlines(keepends=True) if "debian-menu" not in line),
        "openbox/menu.xml": '<openbox_menu xmlns="http://openbox.org/3.4/menu">'
        '<menu id="root-menu" label="Openbox"/></openbox_menu>\n'}),
}


def rgb(pixels: bytes) -> list[tuple[int, int, int]]:
    """The red, green and blue of each pixel grabbed: blue, green, red and a spare byte each."""
    return list(zip(pixels[2::4], pixels[1::4], pixels[0::4]))


class Screen:
    """The X server as a person sees it and works it."""

    def __init__(self, name: str):
        self.name, self.display = name, display.Display(name)
        self.root = self.display.screen().root

    def property(self, window: Window, name: str) -> Any:
        """A property of the window, if it has it."""
        found = window.get_full_property(self.display.get_atom(name), X.AnyPropertyType)
        return found.value if found else None

    def title(self, window: Window) -> str:
        """The window's title as the window system holds it."""
        return (self.property(window, "_NET_WM_NAME") or b"").decode()

    def windows(self, pid: int, popups: bool = False) -> list[Window]:
        """The shown windows of process `pid`: the framed ones, or else its popups."""
        found = []

        def visit(parent: Window) -> None:
            for child in parent.query_tree().children:
                with contextlib.suppress(XError):  # gone meanwhile
                    if (attributes := child.get_attributes()).map_state == X.IsViewable:
                        if bool(attributes.override_redirect) == popups \
                                and (self.property(child, "_NET_WM_PID") or [0])[0] == pid:
                            found.append(child)
                        visit(child)

        visit(self.root)
        return found

    def titled(self, pid: int, title: str) -> Window | None:
        """The shown window of process `pid` titled exactly `title`."""
        return next((window for window in self.windows(pid) if self.title(window) == title), None)

    def geometry(self, window: Window, framed: bool = False) -> Rect:
        """The window's client area on the screen, or the window with its window manager's frame."""
        extents = self.property(window, "_NET_FRAME_EXTENTS") if framed else None
        left, right, top, bottom = extents or (0, 0, 0, 0)
        place, size = self.root.translate_coords(window, 0, 0), window.get_geometry()
        return Rect(place.x - left, place.y - top, size.width + left + right,
                    size.height + top + bottom)

    def has_focus(self, window: Window) -> bool:
        """Whether the keyboard goes to the window."""
        focus = self.display.get_input_focus().focus
        while isinstance(focus, Window) and focus not in (self.root, window):
            focus = focus.query_tree().parent
        return focus == window

    def move_resize(self, window: Window, x: int, y: int, width: int, height: int) -> None:
        """Asks the window manager to put the window's frame at x, y, its client area sized."""
        self.ask(window, "_NET_MOVERESIZE_WINDOW", 1 | 0xF00, x, y, width, height)

    def close(self, window: Window) -> None:
        """Asks the window manager to close the window, as a task bar or a pager does."""
        self.ask(window, "_NET_CLOSE_WINDOW", self.now(), 2)

    def now(self) -> int:
        """The X server's time, which a request for a person carries: a property's change's."""
        clock = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                        event_mask=X.PropertyChangeMask)
        clock.change_property(Xatom.WM_NAME, Xatom.STRING, 8, b"")
        while (told := self.display.next_event()).type != X.PropertyNotify:
            pass
        clock.destroy()
        return told.time

    def ask(self, window: Window, request: str, *numbers: int) -> None:
        """Sends the window manager a request about the window: its name and numbers."""
        self.root.send_event(event.ClientMessage(
            window=window, client_type=self.display.get_atom(request),
            data=(32, [*numbers, 0, 0, 0, 0, 0][:5])),
            X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.display.flush()

    def grab(self, rect: Rect) -> bytes:
        """The screen's pixels in rect: blue, green, red and a spare byte each."""
        return bytes(self.root.get_image(*rect, X.ZPixmap, 0xFFFFFFFF).data)

    def shows_drawn(self, window: Window) -> bool:
        """Whether the screen shows the window's client area as the window drew it."""
        size = window.get_geometry()
        drawn = window.get_image(0, 0, size.width, size.height, X.ZPixmap, 0xFFFFFFFF).data
        return self.colours(self.geometry(window)) == rgb(drawn)

    def colours(self, rect: Rect) -> list[tuple[int, int, int]]:
        """The red, green and blue of each pixel in rect, row after row."""
        return rgb(self.grab(rect))

    def save(self, rect: Rect, path: Path, painter: Process) -> None:
        """Saves rect as a PNG picture once the program that paints it is done painting."""
        pixels, _ = settled(lambda: (self.grab(rect), painter.activity()), f"the screen at {rect}")
        subprocess.run(["convert", "-size", f"{rect.width}x{rect.height}", "-depth", "8", "bgra:-",
                        "-alpha", "off", "-strip", "-quality", "85", str(path)],
                       input=pixels, check=True)

    def xdotool(self, *arguments: object) -> None:
        """Works the pointer and the keyboard as a person does (XTEST, through xdotool)."""
        subprocess.run(["xdotool", *map(str, arguments)], check=True,
                       env={**os.environ, "DISPLAY": self.name})

    def click(self, x: int, y: int, times: int = 1) -> None:
        """Clicks the left button at x, y once, or twice for a double-click."""
        self.xdotool("mousemove", x, y, "click", "--repeat", times, "--delay", 80, 1)

    def keys(self, *combinations: str) -> None:
        """Presses each key combination in turn: "Return", "F11", "ctrl+a"."""
        self.xdotool("key", "--delay", 30, *combinations)

    def type(self, text: str) -> None:
        """Types text, letter by letter."""
        self.xdotool("type", "--delay", 20, "--", text)

    def drag(self, start: tuple[int, int], end: tuple[int, int], steps: int = 5) -> None:
        """Drags with the left button, then waits for the window manager to let the pointer go."""
        self.xdotool("mousemove", *start, "mousedown", 1)
        for step in range(1, steps + 1):
            self.xdotool("sleep", 0.05, "mousemove", *(a + (b - a) * step // steps
                                                       for a, b in zip(start, end)))
        self.xdotool("mouseup", 1)
        wait_until(lambda: self.root.grab_pointer(False, 0, X.GrabModeAsync, X.GrabModeAsync,
                                                  X.NONE, X.NONE, X.CurrentTime) == X.GrabSuccess,
                   "the window manager to let the pointer go")
        self.display.ungrab_pointer(X.CurrentTime)


class XServer:
    """A virtual X server (Xvfb), with one window manager at a time."""

    def __init__(self, session: Session):
        self.session = session
        self.window_manager: Process | None = None
        self.process, number = session.start_daemon("Xvfb", [
            "Xvfb", "-displayfd", "{fd}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"])
        self.screen = Screen(f":{number}")

    def use_window_manager(self, name: str) -> None:
        """Runs the window manager `name` (quiet, private settings, no bus) in place of another."""
        if running := self.window_manager:
            if (running.name, running.poll()) == (name, None):
                return
            running.stop()
        argv, files = WINDOW_MANAGERS[name]
        home = self.session.folder / "wm" / name
        for path, text in files().items():
            (home / path).parent.mkdir(parents=True, exist_ok=True)
            (home / path).write_text(text)
        self.window_manager = self.session.start(name, argv, quiet=True, env=dict(
            HOME=str(home), XDG_CONFIG_HOME=str(home), XDG_CACHE_HOME=str(home / "cache"),
            XDG_DATA_HOME=str(home / "data"), GSETTINGS_BACKEND="keyfile", NO_AT_BRIDGE="1",
            DISPLAY=self.screen.name, DBUS_SESSION_BUS_ADDRESS=None))

        def managing() -> str:
            check = self.screen.property(self.screen.root, "_NET_SUPPORTING_WM_CHECK")
            return self.screen.title(self.screen.display.create_resource_object("window", check[0]))

        wait_until(lambda: managing() == name, f"{name} to manage the screen",
                   ignoring=(XError, TypeError))
