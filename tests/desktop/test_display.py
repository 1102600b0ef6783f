"""Every window by pointer and keys under metacity at scales 1 and 2; the launcher's round trip."""

from collections.abc import Callable
from pathlib import Path

import pytest

from .conftest import Start
from .session import Process, wait_until
from .x11 import Rect, Screen, Window, XError, XServer

ALL = {"minimise", "maximise", "resize", "close"}
# What metacity lets the user do with each window, as its border kind asks. The message boxes
# can only be closed and the input box resized and closed: dialogs of their window.
GRANTED = {**dict.fromkeys(["VornUtil", "M'écrire ?", "Mes coordonnées", "Horloge",
                            "Autrefois...", "Recherche de fichiers"], ALL),
           "VaviziDaz": ALL - {"maximise"}, "Personnalisation": {"resize", "close"},
           **dict.fromkeys(["La VornEuro", "Qui fait quoi ?", "Erreur", "Rappel",
                            "Préparation mentale", "Dépacement de capacité"], {"close"})}
# Where the controls are: left, top, width and height in twips (15 to a logical pixel), from
# the top-left corner of the window's client area, below its menu bar.
PLACES = {
    "Menu/Image1": (120, 120, 480, 480), "Menu/Bouch": (3400, 200, 500, 400),
    "SplashFin/Image1": (360, 480, 975, 975), "SplashFin/Image2": (2040, 480, 855, 975),
    "SplashFin/Image3": (4100, 480, 475, 975),  # the part right of the letters O, U, T
    "Main/Text1": (3480, 870, 1095, 375), "Main/Command1": (5520, 870, 735, 375),
    "Main/Command2": (6360, 870, 975, 375), "VornEuro/un": (240, 720, 495, 375),
    "VornEuro/zero": (960, 2520, 495, 375), "VornEuro/euros": (2760, 2040, 975, 375),
    "VornEuro/off": (240, 2520, 495, 375), "Color/Text2": (360, 360, 495, 345),
    "Color/Label1": (360, 960, 1935, 1335), "Recherche/Dir1": (240, 960, 2415, 2340),
    "Recherche/File1": (3000, 960, 2175, 1845), "Recherche/Command1": (5640, 240, 1095, 375),
    "MARIAGE/Option3": (1680, 1200, 2175, 255), "MARIAGE/Command1": (4680, 360, 1935, 375),
    "MARIAGE/Command3": (4680, 1800, 1935, 375), "Tétris/Admission": (230, 1680, 850, 425),
    "Tétris/Refus": (2160, 1680, 850, 425),
    "Horloge/landscape": (0, 0, 1200, 1200),  # bare background, left of the dial
}
# What a person does in each window opened from the menu, step by step, before it goes: a
# method of Person and what it takes after the window.
USES = {
    "Horloge": [("shot", "clock"), ("press", "Horloge/landscape", 2)],
    "Autrefois...": [("press", "Main/Command1"), ("answer", "Rappel"), ("press", "Main/Text1"),
                     ("type", "-1225"), ("press", "Main/Command1"), ("grown", 400),
                     ("shot", "chronology"), ("press", "Main/Command2")],
    "Recherche de fichiers": [("open_second_folder",), ("shot", "files"),
                              ("press", "Recherche/Command1")],
    "VaviziDaz": [("press", "Color/Text2"), ("type", "", "ctrl+a"), ("type", "0", "Tab"),
                  ("shows", "Color/Label1", (0, 255, 255)), ("shot", "colour"), ("close_box",)],
    "La VornEuro": [*[("press", f"VornEuro/{key}") for key in ("un", "zero", "zero", "euros")],
                    ("shot", "euro"), ("press", "VornEuro/off")],
    "Qui fait quoi ?": [("press", "MARIAGE/Option3"), ("press", "MARIAGE/Command1"),
                        ("shot", "chores"), ("press", "MARIAGE/Command3"),
                        ("gone", "Qui fait quoi ?"), ("close_about",)],
    "Erreur": [("press", "Tétris/Refus"), ("shot", "prank"), ("press", "Tétris/Admission"),
               ("answer", "Dépacement de capacité")],
    "Mes coordonnées": [("shot", "about"), ("close_box",)],
}
# Each window by pointer: its menu entry (top entry, entry, entries under it), its title, and
# the names the lottery asks first.
BY_POINTER = [((1, 0, 5), "Horloge", ()), ((1, 1, 5), "Autrefois...", ()),
              ((1, 2, 5), "Recherche de fichiers", ()), ((1, 3, 5), "VaviziDaz", ()),
              ((1, 4, 5), "La VornEuro", ()), ((2, 0, 1), "Qui fait quoi ?", ("Alice", "Bruno")),
              ((3, 0, 1), "Erreur", ()), ((4, 0, 1), "Mes coordonnées", ())]
# Each window by its shortcut, closed by its frame's close box: the names the lottery asks
# first, and the steps that follow the close box.
BY_SHORTCUT = [("ctrl+h", "Horloge", (), []), ("F11", "Autrefois...", (), []),
               ("ctrl+r", "Recherche de fichiers", (), []), ("F12", "VaviziDaz", (), []),
               ("ctrl+c", "La VornEuro", (), []), ("ctrl+a", "Mes coordonnées", (), []),
               ("ctrl+z", "Qui fait quoi ?", ("", ""), [("close_about",)]),
               ("ctrl+t", "Erreur", (), [("answer", "Dépacement de capacité")])]
# The file manager opens on the current folder: a small, typical one.
DOCUMENTS = {"Courrier": {}, "Musique": {}, "Images": {
    name: 180000 + len(name) * 1013 for name in ("au marché.jpg", "la plage.jpg", "le phare.jpg")},
    **{name: 1000 + len(name) * 97 for name in (
        "budget 2026.ods", "lettre à Paul.txt", "liste des courses.txt", "recette du gâteau.odt")}}


def granted(screen: Screen, window: Window) -> set[str]:
    """What the window manager lets the user do with the window, in the table's words."""
    actions = {screen.display.get_atom_name(atom).removeprefix("_NET_WM_ACTION_")
               for atom in screen.property(window, "_NET_WM_ALLOWED_ACTIONS") or []}
    maximise = len(actions & {"MAXIMIZE_HORZ", "MAXIMIZE_VERT"})
    return {word for action, word in (("MINIMIZE", "minimise"), ("RESIZE", "resize"),
                                      ("CLOSE", "close")) if action in actions} | \
        ({"maximise"} if maximise == 2 else {"maximise one way"} if maximise else set())


class Person:
    """A person before the program with a pointer and a keyboard: what they do and see."""

    def __init__(self, program: Process, screen: Screen, scale: int, shots: Path, wm: str):
        self.program, self.screen, self.scale, self.shots = program, screen, scale, shots
        self.wm = wm

    def window(self, title: str, opens: bool = False) -> Window:
        """The window titled `title`, with what metacity grants it; one that `opens` takes keys."""
        pid, screen = self.program.pid, self.screen
        window = wait_until(lambda: screen.titled(pid, title), lambda: f'a window titled "{title}"'
                            f"; shown: {[screen.title(w) for w in screen.windows(pid)]}",
                            ignoring=(XError,))
        if self.wm == "Metacity":
            assert title in GRANTED, f'a window titled "{title}" that the check does not know'
            wait_until(lambda: granted(screen, window) == GRANTED[title], lambda: f"metacity to "
                       f'grant "{title}" {GRANTED[title]}, not {granted(screen, window)}', 5)
        if opens:
            wait_until(lambda: screen.has_focus(window), f'"{title}" to take the keyboard')
        return window

    def use(self, window: Window, steps: list[tuple]) -> None:
        """Takes the steps in the window: each a method and what it takes after the window."""
        for step, *arguments in steps:
            getattr(self, step)(window, *arguments)

    def gone(self, window: Window, title: str, after: str = "its last step") -> None:
        """Waits for the window to go away after what the person did."""
        wait_until(lambda: window not in self.screen.windows(self.program.pid),
                   f'"{title}" to go away after {after}')

    def centre(self, window: Window, control: str) -> tuple[int, int]:
        """The centre on the screen of a control ("Form/Name") of the window."""
        left, top, width, height = PLACES[control]
        area = self.screen.geometry(window)
        below = self.menu_bar() if control.startswith("Menu/") else 0
        return (area.x + self.scale * (2 * left + width) // 30,
                area.y + below + self.scale * (2 * top + height) // 30)

    def press(self, window: Window, control: str, times: int = 1) -> None:
        """Clicks a control of the window, or double-clicks it."""
        self.screen.click(*self.centre(window, control), times)

    def type(self, window: Window, text: str, *keys: str) -> None:
        """Types into the control that has the keyboard, then presses keys."""
        self.screen.type(text)
        if keys:
            self.screen.keys(*keys)

    def shot(self, window: Window, name: str) -> None:
        """Saves the window with its frame as NAME.png, or NAME@2x.png at scale 2."""
        self.screen.xdotool("mousemove", 0, 0)
        self.screen.save(self.screen.geometry(window, framed=True), self.shots /
                         f"{name}{'' if self.scale == 1 else f'@{self.scale}x'}.png", self.program)

    def close_box(self, window: Window) -> None:
        """Clicks the close box at the right end of the window's title bar."""
        _, right, top, _ = self.screen.frame_extents(window)
        area = self.screen.geometry(window)
        self.screen.click(area.x + area.width + right - top // 2, area.y - top // 2)

    def close_about(self, *_: Window) -> None:
        """Closes by its close box the about window that shows after another."""
        self.close_box(about := self.window("Mes coordonnées", opens=True))
        self.gone(about, "Mes coordonnées", "its close box")

    def answer(self, window: Window | None, title: str, text: str = "") -> None:
        """Answers the box titled `title` by a click into it, text and Enter; the keys go back."""
        area = self.screen.geometry(box := self.window(title, opens=True))
        self.screen.click(area.x + 3, area.y + 3)
        self.type(box, text, "Return")
        self.gone(box, title, "it was answered")
        wait_until(lambda: any(map(self.screen.has_focus, self.screen.windows(self.program.pid))),
                   "a window of the program to take the keyboard back")

    def grown(self, window: Window, height: int) -> None:
        """Waits for the window to grow taller than `height` logical pixels."""
        wait_until(lambda: self.screen.geometry(window).height > self.scale * height,
                   f"the window to grow taller than {height}")

    def shows(self, window: Window, control: str, colour: tuple[int, int, int]) -> None:
        """Waits for the centre of a control of the window to show a colour."""
        centre = Rect(*self.centre(window, control), 1, 1)
        wait_until(lambda: self.screen.colours(centre) == [colour], lambda: f"{control} to show "
                   f"{colour}, not {self.screen.colours(centre)}", 5)

    def open_second_folder(self, window: Window) -> None:
        """Double-clicks the open folder's second sub-folder (rows below its highlight), a file."""
        left, top, width, height = PLACES["Recherche/Dir1"]
        area = self.screen.geometry(window)
        column = Rect(area.x + self.scale * ((left + width) // 15 - 12),
                      area.y + self.scale * top // 15, 1, self.scale * height // 15)

        def highlighted() -> tuple[int, int] | None:
            rows = [y for y, (red, _, blue) in enumerate(self.screen.colours(column))
                    if blue > 150 and red < 100]
            return (rows[0], rows[-1] - rows[0] + 1) if rows and \
                rows[-1] - rows[0] >= self.scale * 8 else None

        first, row = wait_until(highlighted, "the folder list to highlight the open folder", 5)
        self.screen.click(column.x, column.y + first + 2 * row + row // 2, times=2)
        left, top, width, height = PLACES["Recherche/File1"]
        self.screen.click(area.x + self.scale * (left + width // 2) // 15,
                          area.y + self.scale * (top // 15 + 10))

    def answer_lottery(self, names: tuple[str, str]) -> None:
        """The lottery explains itself and asks the two names before it shows."""
        for title, text in ("Préparation mentale", ""), *[("Personnalisation", n) for n in names]:
            self.answer(None, title, text)

    def menu_bar(self) -> int:
        """The height of the launcher's menu bar: the rows above its blue background."""
        area = self.screen.geometry(self.window("VornUtil"))
        edge = Rect(area.x + area.width - 1, area.y, 1, area.height)
        return wait_until(lambda: next((y for y, (red, _, blue) in enumerate(
            self.screen.colours(edge)) if blue > red + 60), None), "the launcher's background")

    def top_entries(self) -> list[int]:
        """The centres of the menu bar's five entries: runs of dark text apart by wider gaps."""
        def entries() -> list[int] | None:
            area = self.screen.geometry(self.window("VornUtil"))
            pixels = self.screen.colours(area._replace(height=self.menu_bar()))
            dark = [x for x in range(area.width) if any(
                sum(pixels[x + y]) < 300 for y in range(0, len(pixels), area.width))]
            starts = [x for i, x in enumerate(dark) if not i or x - dark[i - 1] > 6]
            ends = [x for i, x in enumerate(dark) if x == dark[-1] or dark[i + 1] - x > 6]
            return [(a + b) // 2 for a, b in zip(starts, ends)] if len(starts) == 5 else None

        return wait_until(entries, "the menu bar to show its five entries", 5)

    def choose(self, top: int, entry: int, entries: int) -> None:
        """Opens entry `entry` of the `entries` under top entry `top` (from 0) by pointer."""
        area = self.screen.geometry(self.window("VornUtil", opens=True))
        self.screen.click(area.x + self.top_entries()[top], area.y + self.menu_bar() // 2)
        menu = self.screen.geometry(wait_until(lambda: self.screen.windows(
            self.program.pid, popups=True), f"top entry {top} of the menu bar to open")[0])
        self.screen.click(menu.x + 40 * self.scale,
                          menu.y + menu.height * (2 * entry + 1) // (2 * entries))

    def stands_at(self, window: Window, place: tuple[int, ...], after: str) -> None:
        """Waits for the window's frame corner and client size to be `place`."""
        def now() -> tuple[int, ...]:
            frame, area = self.screen.geometry(window, framed=True), self.screen.geometry(window)
            return frame.x, frame.y, area.width, area.height

        wait_until(lambda: now() == place, lambda: f"the launcher at {place} after {after}, "
                   f"not at {now()}", 5)

    def leave_launcher(self) -> Window:
        """Leaves the launcher by its close picture for the exit screen."""
        self.press(launcher := self.window("VornUtil"), "Menu/Image1")
        self.gone(launcher, "VornUtil", "a click on its close picture")
        return self.window("M'écrire ?", opens=True)

    def round_trip(self, everything: bool) -> None:
        """Leaves the launcher dragged, then placed by the window manager; it comes back there."""
        frame = self.screen.geometry(launcher := self.window("VornUtil"), framed=True)
        area = self.screen.geometry(launcher)
        start = (area.x + area.width // 4, area.y - (area.y - frame.y) // 2)
        self.screen.drag(start, (start[0] + 333 - frame.x, start[1] + 377 - frame.y))
        self.stands_at(launcher, place := (333, 377, area.width, area.height), "a drag")
        self.use(self.leave_launcher(), [("shot", "exit-screen")] * everything +
                 [("close_box",), ("gone", "M'écrire ?", "its close box")])
        self.stands_at(self.window("VornUtil"), place, "the exit screen's close box")
        self.screen.move_resize(launcher, *(place := (520, 261, area.width + 80, area.height + 40)))
        self.stands_at(launcher, place, "a move and a resize by the window manager")
        self.use(self.leave_launcher(), [("press", "SplashFin/Image1"), ("close_about",)] *
                 everything + [
            ("press", "SplashFin/Image2"), ("gone", "M'écrire ?", "a click on the way back")])
        self.stands_at(self.window("VornUtil"), place, "the way back")

    def leave_by_exit_picture(self) -> None:
        """Leaves the launcher, then the program by the exit screen's exit picture."""
        self.press(self.leave_launcher(), "SplashFin/Image3")
        assert self.program.ends("the exit picture") == 0


@pytest.fixture(scope="module", params=[1, 2], ids=["scale1", "scale2"])
def scale(request: pytest.FixtureRequest) -> int:
    """The scale factor: device pixels to a logical pixel."""
    return request.param


@pytest.fixture
def window_manager() -> str:
    """The window manager of the test."""
    return "Metacity"


@pytest.fixture(scope="module")
def folder(documents: Callable[..., Path]) -> Path:
    """The folder the program starts in."""
    return documents("Bureau/Documents", DOCUMENTS)


@pytest.fixture
def person(xserver: XServer, program: Start, folder: Path, shots: Path, scale: int,
           window_manager: str) -> Person:
    """A person before the program's launcher, at the scale factor, under the window manager."""
    xserver.use_window_manager(window_manager)
    person = Person(program(folder, QT_SCALE_FACTOR=str(scale)), xserver.screen, scale, shots,
                    window_manager)
    person.window("VornUtil")
    return person


@pytest.mark.parametrize("scale", [1], ids=["scale1"])
def test_close_box_ends_the_program(person: Person) -> None:
    person.close_box(person.window("VornUtil"))
    assert person.program.ends("the main window's close box") == 0


def test_launcher(person: Person) -> None:
    person.top_entries()
    person.shot(person.window("VornUtil"), "menu")


@pytest.mark.parametrize("menu, title, names", BY_POINTER, ids=[
    "clock", "chronology", "files", "colour", "euro", "chores", "prank", "about"])
def test_by_pointer(person: Person, menu: tuple[int, int, int], title: str,
                    names: tuple[str, str]) -> None:
    person.choose(*menu)
    if names:
        person.answer_lottery(names)
    person.use(window := person.window(title, opens=True), USES[title])
    person.gone(window, title, f"its last step {USES[title][-1]}")


@pytest.mark.parametrize("key, title, names, after", BY_SHORTCUT, ids=[r[0] for r in BY_SHORTCUT])
def test_by_shortcut(person: Person, key: str, title: str, names: tuple[str, str],
                     after: list[tuple]) -> None:
    person.press(person.window("VornUtil"), "Menu/Bouch")
    person.window("VornUtil", opens=True)
    person.screen.keys(key)
    if names:
        person.answer_lottery(names)
    person.close_box(window := person.window(title, opens=True))
    person.use(window, after)
    person.gone(window, title, "its close box")


def test_round_trip(person: Person) -> None:
    person.round_trip(everything=True)


def test_exit_picture_ends_the_program(person: Person) -> None:
    person.leave_by_exit_picture()


@pytest.mark.parametrize("scale, window_manager", [(1, "Openbox")], ids=["openbox"])
def test_round_trip_under_openbox(person: Person) -> None:
    person.top_entries()
    person.round_trip(everything=False)
    person.leave_by_exit_picture()
