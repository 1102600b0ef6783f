"""Every window by pointer and keys under metacity at scales 1 and 2; the launcher's round trip."""

import re
import time
from pathlib import Path

import pytest

from .conftest import Start
from .session import Process, Session, wait_until
from .windows import ALL, CYAN, FRANCS, LOTTERY, MENU_BAR, NAMES, RED, WINDOW, WINDOWS, YEAR, Known
from .x11 import Rect, Screen, Window, XError, XServer

# Where the controls are: left, top, width and height in twips (15 to a logical pixel), from
# the top-left corner of the window's client area, below its menu bar.
PLACES = {
    "Menu/Image1": (120, 120, 480, 480), "Menu/Bouch": (3400, 200, 500, 400),
    "SplashFin/Image1": (360, 480, 975, 975), "SplashFin/Image2": (2040, 480, 855, 975),
    "SplashFin/Image3": (4100, 480, 475, 975),  # the part right of the letters O, U, T
    "Main/Text1": (3480, 870, 1095, 375), "Main/Command1": (5520, 870, 735, 375),
    "Main/Command2": (6360, 870, 975, 375), "VornEuro/1": (240, 720, 495, 375),
    "VornEuro/0": (960, 2520, 495, 375), "VornEuro/Euros": (2760, 2040, 975, 375),
    "VornEuro/Off": (240, 2520, 495, 375), "Color/Text2": (360, 360, 495, 345),
    "Color/Label1": (360, 960, 1935, 1335), "Recherche/Dir1": (240, 960, 2415, 2340),
    "Recherche/File1": (3000, 960, 2175, 1845), "Recherche/Command1": (5640, 240, 1095, 375),
    "MARIAGE/Option3": (1680, 1200, 2175, 255), "MARIAGE/Command1": (4680, 360, 1935, 375),
    "MARIAGE/Command3": (4680, 1800, 1935, 375), "Tétris/Admission": (230, 1680, 850, 425),
    "Tétris/Refus": (2160, 1680, 850, 425),
    "Horloge/landscape": (0, 0, 1200, 1200),  # bare background, left of the dial
}
# What a person does in each window opened from the menu, step by step, before it goes: a
# method of Person and what it takes after the window.
USES: dict[str, list[tuple]] = {
    "Horloge": [("shot",), ("press", "Horloge/landscape", 2)],
    "Autrefois...": [("press", "Main/Command1"), ("answer", "Rappel"), ("press", "Main/Text1"),
                     ("type", YEAR), ("press", "Main/Command1"), ("grown", 400), ("shot",),
                     ("press", "Main/Command2")],
    "Recherche de fichiers": [("open_second_folder",), ("shot",), ("press", "Recherche/Command1")],
    "VaviziDaz": [("press", "Color/Text2"), ("type", "", "ctrl+a"), ("type", RED, "Tab"),
                  ("shows", "Color/Label1", CYAN), ("shot",), ("close_box",)],
    "La VornEuro": [*[("press", f"VornEuro/{key}") for key in (*FRANCS, "Euros")], ("shot",),
                    ("press", "VornEuro/Off")],
    "Qui fait quoi ?": [("press", "MARIAGE/Option3"), ("press", "MARIAGE/Command1"), ("shot",),
                        ("press", "MARIAGE/Command3"), ("gone", "Qui fait quoi ?"),
                        ("close_about",)],
    "Erreur": [("press", "Tétris/Refus"), ("shot",), ("press", "Tétris/Admission"),
               ("answer", "Dépacement de capacité")],
    "Mes coordonnées": [("shot",), ("close_box",)],
}
# The steps that follow a window's close box, where it leaves another window or a box.
AFTER_CLOSE_BOX: dict[str, list[tuple]] = {"Qui fait quoi ?": [("close_about",)],
                                           "Erreur": [("answer", "Dépacement de capacité")]}
MENU = [known for known in WINDOWS if known.entry]  # the windows the launcher's menu opens
each_window = pytest.mark.parametrize("known", MENU, ids=[known.shot for known in MENU])


def granted(screen: Screen, window: Window) -> frozenset[str]:
    """What the window manager lets the user do with the window, of what the table tells."""
    return ALL & {screen.display.get_atom_name(atom).removeprefix("_NET_WM_ACTION_")
                  for atom in screen.property(window, "_NET_WM_ALLOWED_ACTIONS") or []}


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
            assert title in WINDOW, f'a window titled "{title}" that the check does not know'
            wanted = set(WINDOW[title].granted)
            wait_until(lambda: granted(screen, window) == wanted, lambda: f'metacity to grant '
                       f'"{title}" {wanted}, not {granted(screen, window)}', 5)
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

    def place(self, window: Window, control: str) -> Rect:
        """Where a control ("Form/Name") of the window shows on the screen."""
        area = self.screen.geometry(window)
        below = self.menu_bar()[0] if control.startswith("Menu/") else 0
        left, top, width, height = (self.scale * twips // 15 for twips in PLACES[control])
        return Rect(area.x + left, area.y + below + top, width, height)

    def press(self, window: Window, control: str, times: int = 1) -> None:
        """Clicks a control of the window in its middle, or double-clicks it."""
        x, y, width, height = self.place(window, control)
        self.screen.click(x + width // 2, y + height // 2, times)

    def type(self, window: Window, text: str, *keys: str) -> None:
        """Types into the control that has the keyboard, then presses keys."""
        self.screen.type(text)
        if keys:
            self.screen.keys(*keys)

    def shot(self, window: Window) -> None:
        """Saves the window with its frame under its name, NAME.png or NAME@2x.png at scale 2."""
        name = WINDOW[self.screen.title(window)].shot + ("" if self.scale == 1 else "@2x")
        self.screen.xdotool("mousemove", 0, 0)
        # Under a compositing window manager the screen may show less than the window drew:
        # a first frame it missed stays black until something repaints it.
        wait_until(lambda: self.screen.shows_drawn(window),
                   "the screen to show all that the window drew", 5, ignoring=(XError,))
        self.screen.save(self.screen.geometry(window, framed=True), self.shots / f"{name}.png",
                         self.program)

    def close_box(self, window: Window) -> None:
        """Clicks the close box at the right end of the window's title bar."""
        frame, area = self.screen.geometry(window, framed=True), self.screen.geometry(window)
        title_bar = area.y - frame.y
        self.screen.click(frame.x + frame.width - title_bar // 2, frame.y + title_bar // 2)

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

    def answer_lottery(self, names: tuple[str, str]) -> None:
        """The lottery explains itself and asks the two names before it shows."""
        for title, text in ("Préparation mentale", ""), *[("Personnalisation", n) for n in names]:
            self.answer(None, title, text)

    def grown(self, window: Window, height: int) -> None:
        """Waits for the window to grow taller than `height` logical pixels."""
        wait_until(lambda: self.screen.geometry(window).height > self.scale * height,
                   f"the window to grow taller than {height}")

    def shows(self, window: Window, control: str, colour: str) -> None:
        """Waits for the middle of a control of the window to show a colour, as #RRGGBB."""
        x, y, width, height = self.place(window, control)
        middle = Rect(x + width // 2, y + height // 2, 1, 1)
        wanted = tuple(bytes.fromhex(colour[1:]))
        wait_until(lambda: self.screen.colours(middle) == [wanted], lambda: f"{control} to show "
                   f"{colour}, not {self.screen.colours(middle)}", 5)

    def open_second_folder(self, window: Window) -> None:
        """Double-clicks the open folder's second sub-folder (rows below its highlight), a file."""
        folders, files = self.place(window, "Recherche/Dir1"), self.place(window, "Recherche/File1")
        column = folders._replace(x=folders.x + folders.width - 12 * self.scale, width=1)

        def highlight() -> re.Match | None:
            rows = "".join("#" if blue > 150 and red < 100 else " "
                           for red, _, blue in self.screen.colours(column))
            return re.search(f"#{{{self.scale * 8 + 1},}}", rows)

        first, end = wait_until(highlight, "the folder list to highlight the open folder", 5).span()
        self.screen.click(column.x, column.y + first + (end - first) * 5 // 2, times=2)
        self.screen.click(files.x + files.width // 2, files.y + 10 * self.scale)

    def menu_bar(self) -> tuple[int, list[int]]:
        """The launcher's menu bar as it shows: its height and the middle of each top entry."""
        def shown() -> tuple[int, list[int]] | None:
            area = self.screen.geometry(self.window("VornUtil"))
            edge = self.screen.colours(area._replace(x=area.x + area.width - 1, width=1))
            # The bar is the rows above the blue background; an entry, a run of dark columns.
            if not (height := next((y for y, (r, _, b) in enumerate(edge) if b > r + 60), 0)):
                return None
            pixels = self.screen.colours(area._replace(height=height))
            dark = {i % area.width for i, colour in enumerate(pixels) if sum(colour) < 300}
            columns = "".join("#" if x in dark else " " for x in range(area.width))
            middles = [(run.start() + run.end()) // 2 for run in re.finditer("#( {,5}#)*", columns)]
            return (height, middles) if len(middles) == len(MENU_BAR) else None

        return wait_until(shown, "the launcher's menu bar to show its five entries")

    def choose(self, known: Known) -> None:
        """Opens the window's menu entry by pointer: its top entry, then the entry in its menu."""
        area = self.screen.geometry(self.window("VornUtil", opens=True))
        height, middles = self.menu_bar()
        self.screen.click(area.x + middles[MENU_BAR.index(known.top)], area.y + height // 2)
        menu = self.screen.geometry(wait_until(lambda: self.screen.windows(
            self.program.pid, popups=True), f'the menu "{known.top}" to open')[0])
        entries = [other.entry for other in WINDOWS if other.top == known.top]
        self.screen.click(menu.x + 40 * self.scale, menu.y + menu.height * (
            2 * entries.index(known.entry) + 1) // (2 * len(entries)))

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
        self.use(self.leave_launcher(), [("shot",)] * everything +
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
    person.menu_bar()
    person.shot(person.window("VornUtil"))


@each_window
def test_by_pointer(person: Person, known: Known) -> None:
    person.choose(known)
    if known == LOTTERY:
        person.answer_lottery(NAMES)
    person.use(window := person.window(known.title, opens=True), USES[known.title])
    person.gone(window, known.title, f"its last step {USES[known.title][-1]}")


@each_window
def test_by_shortcut(person: Person, known: Known) -> None:
    person.press(person.window("VornUtil"), "Menu/Bouch")
    person.window("VornUtil", opens=True)
    person.screen.keys(known.shortcut)
    if known == LOTTERY:
        person.answer_lottery(("", ""))
    person.close_box(window := person.window(known.title, opens=True))
    person.use(window, AFTER_CLOSE_BOX.get(known.title, []))
    person.gone(window, known.title, "its close box")


@pytest.mark.parametrize("scale, window_manager", [(1, "Openbox")], ids=["openbox"])
def test_box_closed_from_outside_leaves_the_keyboard(person: Person, session: Session,
                                                     vornutil: Path, folder: Path) -> None:
    """The prank's box closed by a task bar while another program has the keys: they stay there."""
    screen = person.screen
    person.press(person.window("VornUtil"), "Menu/Bouch")
    person.window("VornUtil", opens=True)
    screen.keys("ctrl+t")
    person.press(prank := person.window("Erreur", opens=True), "Tétris/Admission")
    box = person.window("Dépacement de capacité", opens=True)
    other = session.start("other", [str(vornutil)], quiet=True, as_user=True, cwd=folder)
    theirs = wait_until(lambda: screen.titled(other.pid, "VornUtil"), "another program's window")
    wait_until(lambda: screen.has_focus(theirs), "another program to take the keyboard")
    # Qt tells a program that the keyboard left it only after 0.4 s, in case it comes back.
    time.sleep(1)
    screen.close(box)
    person.gone(prank, "Erreur", "its box was closed from outside")
    # Moved by the window manager once it has read all that the program asked of it.
    screen.move_resize(theirs, 40, 40, *screen.geometry(theirs)[2:])
    wait_until(lambda: screen.geometry(theirs, framed=True)[:2] == (40, 40), "a move")
    assert screen.has_focus(theirs), "the program took the keyboard from another program"
    other.stop()
    person.press(person.window("VornUtil"), "Menu/Bouch")
    person.window("VornUtil", opens=True)


def test_round_trip(person: Person) -> None:
    person.round_trip(everything=True)


def test_exit_picture_ends_the_program(person: Person) -> None:
    person.leave_by_exit_picture()


@pytest.mark.parametrize("scale, window_manager", [(1, "Openbox")], ids=["openbox"])
def test_round_trip_under_openbox(person: Person) -> None:
    person.menu_bar()
    person.round_trip(everything=False)
    person.leave_by_exit_picture()
