"""Every window as a screen reader meets it over the accessibility bus, checked and used."""

import re
from collections.abc import Callable
from pathlib import Path

import pytest

from .a11y import (Accessible, AccessibleApp, Atspi, Events, children, find, name, pump, role,
                   showing, targets, text, the, wait)
from .conftest import Start
from .x11 import XServer

# What each window announces as it opens, in a screen reader's order: the window's role, then
# each control's role and name (a pattern where it changes with the time). The entries of the
# lists are the disk's and are not listed.
TIME, DATE = re.compile(r" \d\d:\d\d:\d\d"), re.compile(r"\d\d/\d\d/\d\d\d\d")
Announced = list[tuple[str, str | re.Pattern]]
CATALOGUE: dict[str, tuple[str, Announced]] = {
    "VornUtil": ("frame", [("label", "Fermer"), ("push button", "Fermer"), *[
        ("menu item", entry) for entry in ("Fichier", "Utiliaires", "Détente", "Farces", "?")]]),
    "Horloge": ("frame", [("label", TIME), ("label", DATE)]),
    "Autrefois...": ("frame", [
        ("label", "Depuis Abraham jusqu'à Jésus Christ."),
        ("label", "Entrer une date (ex: -1225)"), ("text", "Entrer une date (ex: -1225)"),
        ("push button", "OK"), ("push button", "Annuler")]),
    "Recherche de fichiers": ("frame", [
        ("label", "Fichier:"), ("label", "A été créé le:"), ("label", "Taille:"),
        ("text", "Fichier:"), ("text", "A été créé le:"), ("text", "Taille:"),
        ("push button", "Fermer"),
        ("push button", "OK"), ("push button", "Kill"), ("push button", "Créer dossier"),
        ("push button", "Exécuter"), ("push button", "RmDir"), ("list", "Dossiers"),
        ("list", "Fichiers"), ("combo box", "Lecteurs")]),
    "VaviziDaz": ("frame", [
        ("label", "Rouge"), ("label", "Vert"), ("label", "Bleu"), ("label", "Valeur Hexadécimale"),
        ("text", "Vert"), ("text", "Rouge"), ("text", "Bleu"), ("label", "Aperçu"),
        ("text", "Valeur Hexadécimale"), ("push button", "Couleur récente"),
        ("push button", "Couleur précédente"), ("push button", "Couleur la plus ancienne"),
        ("push button", "Animation")]),
    "La VornEuro": ("frame", [
        ("text", "Affichage"), ("label", "Unité"), ("label", "Convertir       en:"),
        *[("push button", key) for key in ["Euros", "Francs", *"1234567890", "Virgule", "Off",
                                           "Delete"]]]),
    "Qui fait quoi ?": ("frame", [*[("radio button", chore) for chore in (
        "Fera la vaisselle ?", "Sortira les poubelles ?", "Promènera le chien ?",
        "Changera le bébé ?", "Fera la lit tous les matins ?", "Préparera le repas ?",
        "Lavera la voiture ?")], ("push button", "Je veux savoir"),
        ("push button", "J'en ai trop peur"), ("push button", "Je préfère ne pas savoir"),
        ("text", "Réponse")]),
    "Erreur": ("alert", [("label", re.compile(
        r"Windows a détecté une insuffisence intellec- tuelle .*une solution vous sera donnée\.")),
        ("push button", "Je l'admet"), ("push button", "Je refuse"), ("push button", "Aide")]),
    "Mes coordonnées": ("frame", [
        ("label", "Le projet VornUtil"), ("label", re.compile(r"Suite d'utilitaires .*", re.S)),
        ("label", "Tickets : dépôt VornUtil")]),
    "M'écrire ?": ("frame", [("push button", "Mes coordonnées"),
                             ("push button", "Retour au menu"), ("push button", "Quitter")]),
}
# The chronology window once a year is accepted: its answer rows appear below the entry row.
TALL_CHRONOLOGY = CATALOGUE["Autrefois..."][1] + [
    ("label", "           Juge"), ("label", "Roi d'Israël"), ("label", "Roi de Juda"),
    ("label", "  Patriarche"), ("label", "Commentaire"), ("text", "  Patriarche"),
    ("text", "Période du patriarche"), ("text", "           Juge"), ("text", "Période du juge"),
    ("text", "Roi d'Israël"), ("text", "Période du roi d'Israël"), ("text", "Roi de Juda"),
    ("text", "Période du roi de Juda"), ("text", "Commentaire"),
    ("image", "Caravane dans le désert"), ("label", "Projet VornUtil")]
CONTAINERS = {"filler", "panel", "menu bar", "scroll pane", "viewport"}  # need no name
LISTS = {"list", "combo box"}  # their entries are data (folder and file names): one object
LABEL_FOR = Atspi.RelationType.LABEL_FOR
# The file manager opens on the current folder: a small one with two sub-folders.
DOCUMENTS = {"Courrier": {}, "Images": {"la plage.jpg": 183456, "le phare.jpg": 201234},
             "lettre.txt": 1234}


class Walk:
    """A screen reader's walk through the program, and what it finds wrong."""

    def __init__(self, app: AccessibleApp, events: Events, folder: Path):
        self.app, self.events, self.folder, self.findings = app, events, folder, []

    def announced(self, window: Accessible) -> list[Accessible]:
        """The objects of `window` a screen reader announces, in its order."""
        found = []
        for child in filter(showing, children(window)):
            if role(child) not in CONTAINERS or name(child).strip():
                found.append(child)
            if role(child) not in LISTS:
                found += self.announced(child)
        return found

    def check_window(self, window: Accessible, expected: Announced | None = None) -> None:
        """Checks `window` against its catalogue entry, or against `expected`."""
        kind, controls = CATALOGUE[title := name(window)]
        expected, objects = expected or controls, self.announced(window)
        heard = [(role(obj), name(obj)) for obj in objects]
        if role(window) != kind:
            self.findings.append(f'"{title}" is announced as {role(window)}, not as a {kind}')
        if len(heard) != len(expected) or any(r != want_r or not (w.fullmatch(n) if isinstance(
                w, re.Pattern) else n == w) for (r, n), (want_r, w) in zip(heard, expected)):
            self.findings.append(f'"{title}" announces {heard}, not {expected}')
        for obj in objects:
            self.findings += control_findings(title, obj, objects)

    def opened(self, title: str, kinds: tuple[str, ...] = ("frame",)) -> Accessible:
        """The window `title` once shown, checked to be announced as it came forward."""
        window = self.app.window(title)
        if title not in CATALOGUE and role(window) not in kinds:
            self.findings.append(f'"{title}" is announced as {role(window)}, not as {kinds}')
        self.heard("window:activate", f'"{title}" as it came forward', title=title)
        return window

    def open_from_menu(self, caption: str, title: str, check: bool = True) -> Accessible:
        """Opens a window through its menu entry, checked against the catalogue."""
        self.events.clear()
        self.app.act_later(self.app.menu_item(caption))
        if check:
            self.check_window(self.app.window(title))
        return self.opened(title)

    def heard(self, kind: str, what: str, obj: Accessible | None = None, title: str = "") -> None:
        """Checks that `obj`, or the window `title`, raised the event a screen reader speaks."""
        try:
            self.events.wait_for(kind, f"{what} to raise {kind}", obj.path if obj else "", title)
        except AssertionError as failure:
            self.findings.append(str(failure))

    def reads(self, window: Accessible, box: str, wanted: str, what: str) -> None:
        """Checks the text a screen reader reads in a text box of the window."""
        if (actual := text(the(window, "text", box))) != wanted:
            self.findings.append(f"{what}: {actual!r}, not {wanted!r}")


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


def launcher(walk: Walk) -> None:
    """The launcher as it first shows."""
    walk.check_window(walk.app.window("VornUtil"))


def clock(walk: Walk) -> None:
    """The clock's time label announces each new time."""
    time_label = walk.announced(walk.open_from_menu("Horloge", "Horloge"))[0]
    walk.events.clear()
    walk.heard("object:property-change:accessible-name", "the clock's time", time_label)


def chronology(walk: Walk) -> None:
    """A year shows its rows; a year out of range raises the reminder, an alert."""
    app, window = walk.app, walk.open_from_menu("Patriarches", "Autrefois...")
    (year := the(window, "text", "Entrer une date (ex: -1225)")).set_text_contents("-1225")
    walk.events.clear()
    app.act(the(window, "push button", "OK"))
    wait(lambda: find(window, "text", "           Juge"), "the answer rows after a year")
    walk.check_window(window, TALL_CHRONOLOGY)
    walk.reads(window, "           Juge", "Gédéon", "the judge of -1225")
    walk.reads(window, "  Patriarche", "Aucun", "the patriarch of -1225")
    walk.reads(window, "Roi d'Israël", "Hors période", "the king of Israel of -1225")
    walk.heard("object:text-changed", "the judge's name", the(window, "text", "           Juge"))
    year.set_text_contents("91")
    app.act_later(the(window, "push button", "OK"))
    app.act_later(the(walk.opened("Rappel", ("alert",)), "push button", "OK"))
    app.gone("Rappel")
    app.act(the(window, "push button", "Annuler"))
    app.gone("Autrefois...")


def files(walk: Walk) -> None:
    """By keys alone the second sub-folder opens; a file picked shows its size and date."""
    app, window = walk.app, walk.open_from_menu("Recherche", "Recherche de fichiers")
    folders = the(window, "list", "Dossiers")
    # The folder list has the focus: down to the second sub-folder, opened with Enter.
    for keysym in (0xFF54, 0xFF54, 0xFF0D):
        Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
        pump(0.1)
    wait(lambda: any(name(item) == "Images" and item.get_state_set().contains(
        Atspi.StateType.SELECTED) for item in children(folders)) and find(
        window, "list item", "la plage.jpg"), "the folder Images to open")
    size = the(window, "text", "Taille:")
    walk.events.clear()
    app.act(the(the(window, "list", "Fichiers"), "list item", "la plage.jpg"), "Toggle")
    wanted = str((walk.folder / "Images" / "la plage.jpg").stat().st_size)
    wait(lambda: text(size) == wanted, lambda: f"the size {wanted}, not {text(size)!r}")
    walk.heard("object:text-changed", "the file's size", size)
    walk.reads(window, "A été créé le:", "08/12/2026 09:41:27", "the file's date")
    app.act(the(window, "push button", "Fermer"))
    app.gone("Recherche de fichiers")


def colours(walk: Walk) -> None:
    """Red 0 shows cyan's hexadecimal value; the recent colour comes back."""
    window = walk.open_from_menu("Hexa-Couleurs", "VaviziDaz")
    red, hexa = the(window, "text", "Rouge"), the(window, "text", "Valeur Hexadécimale")
    red.grab_focus()
    red.set_text_contents("0")
    walk.events.clear()
    the(window, "text", "Vert").grab_focus()  # leaving the red box rebuilds the colour
    wait(lambda: text(hexa) == "#00FFFF", lambda: f"#00FFFF after red 0, not {text(hexa)!r}")
    walk.heard("object:text-changed", "the hexadecimal value", hexa)
    walk.app.act(the(window, "push button", "Couleur récente"))
    wait(lambda: text(hexa) == "#FFFFFF", lambda: f"the recalled #FFFFFF, not {text(hexa)!r}")


def euro(walk: Walk) -> None:
    """100 francs converted, the amount and its unit announced."""
    app, window = walk.app, walk.open_from_menu("Convertisseur", "La VornEuro")
    amount = the(window, "text", "Affichage")
    walk.events.clear()
    for key, shown in (("1", "1"), ("0", "10"), ("0", "100"), ("Euros", "15,245")):
        app.act(the(window, "push button", key))
        wait(lambda: text(amount) == shown, lambda: f'{shown} after "{key}", not {text(amount)}')
    unit = wait(lambda: find(window, "label", "Euros"), "a unit label reading Euros")
    walk.reads(window, "Montant converti", "100", "the amount converted")
    the(window, "label", "Francs")
    walk.heard("object:text-changed", "the converted amount", amount)
    walk.heard("object:property-change:accessible-name", "the amount's unit", unit)
    app.act(the(window, "push button", "Off"))
    app.gone("La VornEuro")


def lottery(walk: Walk) -> None:
    """The two names asked, a chore drawn, the boxes as alerts and dialogs."""
    app = walk.app
    walk.events.clear()
    app.act_later(app.menu_item("Zamours"))
    app.act_later(the(walk.opened("Préparation mentale", ("alert",)), "push button", "OK"))
    walk.opened("Personnalisation", ("dialog",))
    app.answer_names("Alice", "Bruno")
    walk.check_window(window := walk.opened("Qui fait quoi ?"))
    app.act(chore := the(window, "radio button", "Promènera le chien ?"), "Toggle")
    wait(lambda: chore.get_state_set().contains(Atspi.StateType.CHECKED), "the chore picked")
    answer = the(window, "text", "Réponse")
    walk.events.clear()
    app.act(the(window, "push button", "Je veux savoir"))
    wait(lambda: text(answer) in ("Alice", "Bruno"), lambda: f"a name drawn, not {text(answer)!r}")
    walk.heard("object:text-changed", "the name drawn", answer)
    app.act_later(the(window, "push button", "J'en ai trop peur"))
    app.act_later(the(walk.opened("Rappel essentiel", ("alert",)), "push button", "OK"))
    app.gone("Rappel essentiel")
    walk.events.clear()
    app.act_later(the(window, "push button", "Je préfère ne pas savoir"))
    app.gone("Qui fait quoi ?")
    walk.check_window(walk.opened("Mes coordonnées"))


def prank(walk: Walk) -> None:
    """"Je refuse" flees, "Aide" does nothing, "Je l'admet" ends with an alert."""
    app, window = walk.app, walk.open_from_menu("Tétris", "Erreur")
    place = (refusal := the(window, "push button", "Je refuse")).get_extents(Atspi.CoordType.WINDOW)
    app.act(refusal)
    wait(lambda: refusal.get_extents(Atspi.CoordType.WINDOW).x != place.x, '"Je refuse" to move')
    app.act(the(window, "push button", "Aide"))
    app.act_later(the(window, "push button", "Je l'admet"))
    app.act_later(the(walk.opened("Dépacement de capacité", ("alert",)), "push button", "OK"))
    app.gone("Erreur")


def brought_forward(walk: Walk) -> None:
    """An open window's menu entry brings it forward, announced again."""
    for caption, title in (("Horloge", "Horloge"), ("A propos de...", "Mes coordonnées")) * 2:
        walk.open_from_menu(caption, title, check=False)


def exit_screen(walk: Walk) -> None:
    """The exit screen's three pictures: about, back to the menu, and the end."""
    app, menu = walk.app, walk.app.window("VornUtil")
    app.act(the(menu, "push button", "Fermer"))
    walk.check_window(screen := walk.opened("M'écrire ?"))
    wait(lambda: not showing(menu), "the main window to go away")
    walk.events.clear()
    app.act(the(screen, "push button", "Mes coordonnées"))
    walk.opened("Mes coordonnées")
    app.act(the(screen, "push button", "Retour au menu"))
    app.gone("M'écrire ?")
    app.act(the(walk.opened("VornUtil"), "push button", "Fermer"))
    app.act(the(walk.opened("M'écrire ?"), "push button", "Quitter"))
    app.gone("M'écrire ?")
    app.gone("VornUtil")


@pytest.fixture(scope="module")
def events(bus: str) -> Events:
    """The events a screen reader listens for, recorded; programs started later know it."""
    return Events()


@pytest.fixture(scope="module")
def folder(documents: Callable[..., Path]) -> Path:
    """The folder the program starts in."""
    return documents("Documents", DOCUMENTS)


@pytest.fixture
def walk(xserver: XServer, events: Events, program: Start, folder: Path) -> Walk:
    """A screen reader before the program, under openbox."""
    xserver.use_window_manager("Openbox")
    return Walk(AccessibleApp(program(folder, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1").pid),
                events, folder)


@pytest.mark.parametrize("job", [launcher, clock, chronology, files, colours, euro, lottery,
                                 prank, brought_forward, exit_screen], ids=lambda job: job.__name__)
def test_window(walk: Walk, job: Callable[[Walk], None]) -> None:
    job(walk)
    if walk.findings:
        pytest.fail("\n".join(walk.findings))
