"""Every window natively under weston, and the window system the program picks by session."""

import re
import subprocess
import tempfile
from pathlib import Path

import pytest

from .a11y import AccessibleApp
from .conftest import Start
from .session import Process, Session, settled, wait_until
from .windows import LOTTERY, NAMES, WINDOWS, Known
from .x11 import Rect, XServer

VIEW = re.compile(r"PID (\d+), [^\n]*top-level window '(.*)' of [^\n]*\n"
                  r"\s*position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)")
SHOWN = [known for known in WINDOWS if known.shot]  # the windows, in the order they open
# The outer height, frame included, of a window that sizes itself as it loads: the chronology
# opens short, 2150 twips at 15 to a pixel.
OUTER_HEIGHT = {"Autrefois...": 143}
# Where the program shows, by desktop and by the platform the user names: a GNOME Wayland
# session with an X server at hand on X11, other desktops natively; a named platform wins.
CHOICES = [("GNOME", None, "x11"), ("ubuntu:GNOME", None, "x11"), ("KDE", None, "wayland"),
           ("sway", None, "wayland"), ("GNOME", "wayland", "wayland"), ("KDE", "xcb", "x11")]


class Compositor:
    """weston, headless, its socket in the session's runtime folder."""

    def __init__(self, session: Session, socket: str = "wayland-vorn"):
        self.session, self.env = session, {"WAYLAND_DISPLAY": socket}
        self.process = session.start("weston", [
            "weston", "--backend=headless-backend.so", "--use-pixman", "--width=1280",
            "--height=1024", f"--socket={socket}", "--idle-time=0", "--debug"])
        wait_until((path := Path(session.env["XDG_RUNTIME_DIR"], socket)).is_socket,
                   f"weston to open {path}")

    def run(self, argv: list[str], cwd: str | None = None) -> str:
        """Runs one of weston's clients; what it prints."""
        return subprocess.run(argv, env={**self.session.env, **self.env}, cwd=cwd, timeout=10,
                              check=True, capture_output=True, text=True).stdout

    def views(self, pid: int) -> dict[str, Rect]:
        """The shown top-level windows of process `pid`, by title."""
        return {title: Rect(x1, y1, x2 - x1, y2 - y1) for owner, title, *place in
                VIEW.findall(self.run(["weston-debug", "scene-graph"])) if int(owner) == pid
                for x1, y1, x2, y2 in [map(int, place)]}

    def save(self, painter: Process, title: str, path: Path) -> None:
        """Saves the program's window `title` as weston shows it, once the program has painted."""
        settled(painter.activity, f"{painter.name} to finish painting")
        x, y, width, height = wait_until(lambda: self.views(painter.pid).get(title), lambda:
                                         f'weston to show "{title}": {self.views(painter.pid)}')
        with tempfile.TemporaryDirectory() as folder:
            self.run(["weston-screenshooter"], cwd=folder)
            subprocess.run(["convert", str(next(Path(folder).glob("*.png"))), "-crop",
                            f"{width}x{height}+{x}+{y}", "+repage", "-strip", str(path)],
                           check=True)


@pytest.fixture(scope="session")
def compositor(session: Session) -> Compositor:
    """weston, headless, ended with the session; the programs meant for it get its `env`."""
    return Compositor(session)


@pytest.fixture
def native(bus: str, compositor: Compositor, program: Start,
           folder: Path) -> tuple[Process, AccessibleApp]:
    """The program natively on weston, with no X server, in a GNOME session."""
    # weston's headless backend has no seat, which no desktop lacks; Qt 6.4's Wayland text input
    # then reads the missing seat once a text box draws its cursor, and crashes: compose it is.
    vornutil = program(folder, DISPLAY=None, XDG_SESSION_TYPE="wayland",
                       XDG_CURRENT_DESKTOP="GNOME", QT_IM_MODULE="compose",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **compositor.env)
    return vornutil, AccessibleApp(vornutil.pid)


@pytest.mark.parametrize("known", SHOWN, ids=[known.shot for known in SHOWN])
def test_native_window(native: tuple[Process, AccessibleApp], compositor: Compositor,
                       shots: Path, known: Known) -> None:
    vornutil, app = native
    if known.entry:
        app.act_later(app.menu_item(known.entry))
    elif known.title == "M'écrire ?":  # shown by the main window's close picture
        app.press(app.window("VornUtil"), "Fermer")
    if known == LOTTERY:  # the lottery explains itself and asks two names first
        app.press(app.window("Préparation mentale"), "OK", later=True)
        app.answer_names(*NAMES)
    app.window(known.title)
    if height := OUTER_HEIGHT.get(known.title):
        wait_until(lambda: compositor.views(vornutil.pid)[known.title].height == height,
                   lambda: f'"{known.title}" {height} high, frame included, not '
                   f"{compositor.views(vornutil.pid)[known.title].height}")
    compositor.save(vornutil, known.title, shots / f"{known.shot}.png")


@pytest.mark.parametrize("desktop, platform, where", CHOICES, ids=[
    f"{desktop}-{platform or 'unset'}" for desktop, platform, _ in CHOICES])
def test_window_system_choice(bus: str, compositor: Compositor, xserver: XServer, program: Start,
                              desktop: str, platform: str | None, where: str) -> None:
    vornutil = program(XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP=desktop,
                       QT_QPA_PLATFORM=platform, **compositor.env)
    shows = {"x11": lambda: xserver.screen.titled(vornutil.pid, "VornUtil"),
             "wayland": lambda: "VornUtil" in compositor.views(vornutil.pid)}
    wait_until(shows.pop(where), f"a window on {where}")
    assert not shows.popitem()[1](), "a window on the other window system too"
