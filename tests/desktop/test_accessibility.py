"""Every window as a screen reader meets it over the accessibility bus, checked and used."""

import re
from collections.abc import Sequence
from pathlib import Path

import pytest

from .a11y import (Accessible, AccessibleApp, Atspi, Events, children, find, name, pump, role,
                   showing, targets, text, the, wait)
from .conftest import Start
from .windows import COMMENTED, CYAN, EUROS, FRANCS, LOTTERY, NAMES, RED, WINDOW, YEAR
from .x11 import Screen, XServer

# The chronology window once a year is accepted: its answer rows appear below the entry row.
TALL_CHRONOLOGY = [*WINDOW["Autrefois..."].announces, *[("label", row) for row in (
    "Juge", "Roi d'Israël", "Roi de Juda", "Patriarche", "Commentaire")], *[
    ("text", box) for box in (
        "Patriarche", "Période du patriarche", "Juge", "Période du juge",
        "Roi d'Israël", "Période du roi d'Israël", "Roi de Juda", "Période du roi de Juda",
        "Commentaire")], ("image", "Caravane dans le désert"), ("label", "Projet VornUtil")]
CONTAINERS = {"filler", "panel", "menu bar", "scroll pane", "viewport"}  # need no name
LISTS = {"list", "combo box"}  # their entries are data (folder and file names): one object
LABEL_FOR = Atspi.RelationType.LABEL_FOR
JOBS = ["launcher", "clock", "chronology", "files", "colours", "euro", "lottery", "prank",
        "brought_forward", "exit_screen"]


def announced(window: Accessible) -> list[Accessible]:
    """The objects of `window` a screen reader announces, in its order."""
    found = []
    for child in filter(showing, children(window)):
        if role(child) not in CONTAINERS or name(child).strip():
            found.append(child)
        if role(child) not in LISTS:
            found += announced(child)
    return found


def control_findings(title: str, obj: Accessible, objects: list[Accessible]) -> list[str]:
    """What is wrong with a control as a screen reader announces it among the window's others."""
    kind, said, what = role(obj), name(obj), f'{role(obj)} {name(obj)!r} in "{title}"'
    # A name said twice is one too many, unless one of the two is the label of the other.
    twice = [other for other in objects if other is not obj and name(other).strip() == said.strip()
             and not {obj, other} & set(targets(obj, LABEL_FOR) + targets(other, LABEL_FOR))]
    # A text box with no label beside it names itself; one with a label is named by it.
    untied = kind == "text" and not targets(obj, Atspi.RelationType.LABELLED_BY) and any(
        role(other) == "label" and name(other) == said for other in objects)
    return [finding for wrong, finding in (
        (not said.strip(), f'a {kind} without a name in "{title}"'),
        (kind in ("image", "icon", "filler", "panel") and (kind, said) != (
            "image", "Caravane dans le désert"), f"{what}: a decoration is announced"),
        (kind == "label" and len(said.strip()) == 1, f"{what}: a letter announced alone"),
        (twice, f"{what}: its name is announced twice"),
        (untied, f"{what}: named after a label it is not tied to")) if wrong]


class Walk:
    """A screen reader's walk through the program, a job a window, and what it finds wrong."""

    def __init__(self, app: AccessibleApp, events: Events, folder: Path, screen: Screen):
        self.app, self.events, self.folder, self.screen = app, events, folder, screen

    def check_window(self, window: Accessible, expected: Sequence | None = None) -> None:
        """Checks `window` and what it announces against the table, or against `expected`."""
        title, objects = name(window), announced(window)
        expected, heard = expected or WINDOW[title].announces, [(role(o), name(o)) for o in objects]
        findings = [finding for obj in objects for finding in control_findings(title, obj, objects)]
        if role(window) != (kind := WINDOW[title].role):
            findings.append(f'"{title}" is announced as {role(window)}, not as a {kind}')
        if len(heard) != len(expected) or any(r != want_r or not (w.fullmatch(n) if isinstance(
                w, re.Pattern) else n == w) for (r, n), (want_r, w) in zip(heard, expected)):
            findings.append(f'"{title}" announces {heard}, not {expected}')
        if findings:  # said once: an assertion would list them again
            pytest.fail("\n".join(findings))

    def opened(self, title: str) -> Accessible:
        """The window `title` once shown, heard as it came up; a box checked to be what it is."""
        window, box = self.app.window(title), WINDOW[title]
        assert box.announces or role(window) == box.role, \
            f'"{title}" is announced as {role(window)}, not as a {box.role}'
        self.heard("window:activate", f'"{title}" as it came forward', title=title)
        return window

    def open_from_menu(self, title: str, check: bool = True) -> Accessible:
        """Opens a window through its menu entry, checked against the table."""
        self.events.clear()
        self.app.act_later(self.app.menu_item(WINDOW[title].entry))
        if check:
            self.check_window(self.app.window(title))
        return self.opened(title)

    def dismiss(self, title: str) -> None:
        """Answers the message box `title` by its OK button, checked to be announced."""
        self.app.press(self.opened(title), "OK", later=True)
        self.app.gone(title)

    def heard(self, kind: str, what: str, obj: Accessible | None = None, title: str = "") -> None:
        """Waits for `obj`, or the window `title`, to raise the event a screen reader speaks."""
        path = obj.path if obj else ""
        wait(lambda: any(k.startswith(kind) and path in ("", p) and title in ("", n)
                         for k, p, n in self.events.seen), f"{what} to raise {kind}", 5)

    def says(self, window: Accessible, box: str, wanted: str | tuple[str, ...], what: str) -> None:
        """Waits for a text box of the window to read `wanted` (or one of them), heard changing."""
        shown = the(window, "text", box)
        wanted = (wanted,) if isinstance(wanted, str) else wanted
        wait(lambda: text(shown) in wanted, lambda: f"{what}: {wanted}, not {text(shown)!r}")
        self.heard("object:text-changed", what, shown)
        # A magnifier follows the text cursor: only the box the user is in may move it.
        pump(0.2)
        assert shown.get_state_set().contains(Atspi.StateType.FOCUSED) or not any(
            k == "object:text-caret-moved" and p == shown.path for k, p, _ in self.events.seen), \
            f"{what}: the text cursor of a box without the focus is told as moving"

    def click(self, obj: Accessible, button: int = 1) -> None:
        """Clicks the middle of `obj` on the screen with a button, as a person's pointer does."""
        place = obj.get_extents(Atspi.CoordType.SCREEN)
        self.screen.xdotool("mousemove", place.x + place.width // 2, place.y + place.height // 2,
                            "click", button)

    def reads(self, window: Accessible, box: str, wanted: str, what: str) -> None:
        """Checks the text a screen reader reads in a text box of the window."""
        actual = text(the(window, "text", box))
        assert actual == wanted, f"{what}: {actual!r}, not {wanted!r}"

    def launcher(self) -> None:
        """The launcher as it first shows; by keys, the focus goes from one menu to the next."""
        self.check_window(self.app.window("VornUtil"))
        self.events.clear()
        for keysym in (0xFFC7, 0xFF53):  # F10 opens the first menu, Right the next one
            Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
            pump(0.1)
        self.heard("object:state-changed:focused", "the next menu's first entry", title="Horloge")

        def since_entry() -> list[str]:
            focus = [n for k, _, n in self.events.seen if k == "object:state-changed:focused"]
            return focus[focus.index("Horloge"):]
        # Escape closes the menu, its title on the bar taking the focus, then leaves the bar: the
        # events come in order, so a magnifier following the focus stays on the entry till then.
        for keysym, then in ((0xFF1B, "Utiliaires"), (0xFF1B, "VornUtil")):
            Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
            wait(lambda: since_entry()[-1] == then, f"{then} to take the focus")
        assert since_entry() == ["Horloge", "Utiliaires", "VornUtil"], \
            f"the focus went on from the menu's entry: {since_entry()}"
        wait(lambda: not find(self.app.window("VornUtil"), "menu item", "Horloge"),
             "the menu to close")

    def clock(self) -> None:
        """The clock's time label announces each new time."""
        time_label = announced(self.open_from_menu("Horloge"))[0]
        self.events.clear()
        self.heard("object:property-change:accessible-name", "the clock's time", time_label)

    def chronology(self) -> None:
        """A year shows its rows; a year out of range raises the reminder, an alert."""
        window = self.open_from_menu("Autrefois...")
        (year := the(window, "text", "Entrer une date (ex: -1225)")).set_text_contents(YEAR)
        self.events.clear()
        self.app.press(window, "OK")
        self.says(window, "Juge", "Gédéon", f"the judge of {YEAR}")
        self.check_window(window, TALL_CHRONOLOGY)
        self.reads(window, "Patriarche", "Aucun", f"the patriarch of {YEAR}")
        self.reads(window, "Roi d'Israël", "Hors période", f"the king of Israel of {YEAR}")
        # A part of the commentary selected, the user goes back to the year: the next answer
        # replaces the commentary without a word of its selection, which a screen reader would
        # speak and show on the braille display in place of the box the user is in.
        year.set_text_contents(COMMENTED)
        self.app.press(window, "OK")
        commentary = the(window, "text", "Commentaire")
        wait(lambda: text(commentary), f"the commentary of {COMMENTED}")

        # An entry of a box's context menu chosen by the pointer, the focus is told back in the
        # box: in the year, an on-screen keyboard shows itself again for the user to type. The
        # pointer goes down the menu till it rests on "Tout sélectionner", its one entry enabled.
        def on_entry() -> bool:
            self.screen.xdotool("mousemove_relative", 0, 4)
            return any(k == "object:state-changed:focused" and n.startswith("Tout sélectionner")
                       for k, _, n in self.events.seen)
        for box, what in ((year, "year"), (commentary, "commentary")):
            self.events.clear()
            self.click(box, button=3)
            wait(on_entry, f"the pointer on the {what}'s context menu's entry")
            self.events.clear()
            self.screen.xdotool("click", 1)
            self.heard("object:state-changed:focused", f"the {what} as its context menu closes",
                       box)
        commentary.grab_focus()
        Atspi.Text.add_selection(commentary, 0, 7)
        year.grab_focus()
        self.events.clear()
        year.set_text_contents(YEAR)
        self.app.press(window, "OK")
        self.says(window, "Juge", "Gédéon", f"the judge of {YEAR}")
        assert not any(k == "object:text-selection-changed" and p == commentary.path
                       for k, p, _ in self.events.seen), \
            "the selection of the commentary, left by the user, is told as it is replaced"

        year.set_text_contents("91")
        self.app.press(window, "OK", later=True)
        self.dismiss("Rappel")
        self.app.press(window, "Annuler")
        self.app.gone("Autrefois...")

    def files(self) -> None:
        """By keys alone the second sub-folder opens; a file picked shows its size and date."""
        window = self.open_from_menu("Recherche de fichiers")
        folders = the(window, "list", "Dossiers")
        # The folder list has the focus: down to the second sub-folder, opened with Enter.
        for keysym in (0xFF54, 0xFF54, 0xFF0D):
            Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
            pump(0.1)
        wait(lambda: any(name(item) == "Images" and item.get_state_set().contains(
            Atspi.StateType.SELECTED) for item in children(folders)) and find(
            window, "list item", "la plage.jpg"), "the folder Images to open")
        self.events.clear()
        self.app.act(the(the(window, "list", "Fichiers"), "list item", "la plage.jpg"), "Toggle")
        self.says(window, "Taille:", str((self.folder / "Images/la plage.jpg").stat().st_size),
                  "the file's size")
        self.reads(window, "A été créé le:", "08/12/2026 09:41:27", "the file's date")
        self.app.press(window, "Fermer")
        self.app.gone("Recherche de fichiers")

    def colours(self) -> None:
        """Red 0 shows cyan's hexadecimal value; the recent colour comes back."""
        window = self.open_from_menu("VaviziDaz")
        (red := the(window, "text", "Rouge")).grab_focus()
        red.set_text_contents(RED)
        self.events.clear()
        the(window, "text", "Vert").grab_focus()  # leaving the red box rebuilds the colour
        self.says(window, "Valeur Hexadécimale", CYAN, f"the value after red {RED}")
        self.app.press(window, "Couleur récente")
        self.says(window, "Valeur Hexadécimale", "#FFFFFF", "the recalled colour")

    def euro(self) -> None:
        """Francs converted, the amount and its unit announced."""
        window = self.open_from_menu("La VornEuro")
        self.events.clear()
        for n, key in enumerate([*FRANCS, "Euros"]):
            self.app.press(window, key)
            self.says(window, "Affichage", FRANCS[:n + 1] if key != "Euros" else EUROS,
                      f'the amount after "{key}"')
        unit = the(window, "label", "Euros")
        self.reads(window, "Montant converti", FRANCS, "the amount converted")
        the(window, "label", "Francs")
        self.heard("object:property-change:accessible-name", "the amount's unit", unit)
        self.app.press(window, "Off")
        self.app.gone("La VornEuro")

    def lottery(self) -> None:
        """The two names asked, a chore drawn, the boxes as alerts and dialogs."""
        self.events.clear()
        self.app.act_later(self.app.menu_item(LOTTERY.entry))
        self.dismiss("Préparation mentale")
        self.opened("Personnalisation")
        self.app.answer_names(*NAMES)
        self.check_window(window := self.opened(LOTTERY.title))
        self.app.act(chore := the(window, "radio button", "Promènera le chien ?"), "Toggle")
        wait(lambda: chore.get_state_set().contains(Atspi.StateType.CHECKED), "the chore picked")
        self.events.clear()
        self.app.press(window, "Je veux savoir")
        self.says(window, "Réponse", NAMES, "the name drawn")
        self.app.press(window, "J'en ai trop peur", later=True)
        self.dismiss("Rappel essentiel")
        self.events.clear()
        self.app.press(window, "Je préfère ne pas savoir", later=True)
        self.app.gone(LOTTERY.title)
        self.check_window(self.opened("Mes coordonnées"))

    def prank(self) -> None:
        """"Je refuse" flees, "Aide" does nothing, "Je l'admet" ends with an alert."""
        window = self.open_from_menu("Erreur")
        refusal = the(window, "push button", "Je refuse")
        place = refusal.get_extents(Atspi.CoordType.WINDOW)
        self.app.act(refusal)
        wait(lambda: refusal.get_extents(Atspi.CoordType.WINDOW).x != place.x,
             '"Je refuse" to move')
        self.app.press(window, "Aide")
        self.app.press(window, "Je l'admet", later=True)
        self.dismiss("Dépacement de capacité")
        self.app.gone("Erreur")

    def brought_forward(self) -> None:
        """An open window's menu entry brings it forward, announced again."""
        for title in ("Horloge", "Mes coordonnées") * 2:
            self.open_from_menu(title, check=False)

    def exit_screen(self) -> None:
        """The exit screen's three pictures: about, back to the menu, and the end."""
        self.app.press(menu := self.app.window("VornUtil"), "Fermer")
        self.check_window(screen := self.opened("M'écrire ?"))
        wait(lambda: not showing(menu), "the main window to go away")
        self.events.clear()
        self.app.press(screen, "Mes coordonnées")
        self.opened("Mes coordonnées")
        self.app.press(screen, "Retour au menu")
        self.app.gone("M'écrire ?")
        self.app.press(self.opened("VornUtil"), "Fermer")
        self.app.press(self.opened("M'écrire ?"), "Quitter")
        self.app.gone("M'écrire ?")
        self.app.gone("VornUtil")


@pytest.fixture(scope="module")
def events(bus: str) -> Events:
    """The events a screen reader listens for, recorded; programs started later know it."""
    return Events()


@pytest.fixture
def walk(xserver: XServer, events: Events, program: Start, folder: Path) -> Walk:
    """A screen reader before the program, under openbox."""
    xserver.use_window_manager("Openbox")
    return Walk(AccessibleApp(program(folder, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1").pid),
                events, folder, xserver.screen)


@pytest.mark.parametrize("job", JOBS)
def test_window(walk: Walk, job: str) -> None:
    getattr(walk, job)()
