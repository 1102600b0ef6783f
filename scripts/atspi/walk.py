"""Walks every window of a running VornUtil over the accessibility bus, as a screen reader
user meets it, and says what is wrong.

Every window is opened through the accessible menu and checked against the catalogue below:
it is a window with its exact title, announced when it opens; each control is announced once,
with its role and a name; nothing that only decorates is announced. Then each window's main
job is done through the bus alone, listening for the events that make a screen reader speak
the result. Prints what it walked; exits non-zero on any finding.

    walk.py FOLDER   (the folder the program was started in; see check-accessibility)
"""

import os
import re
import sys

from bus import (Events, Failure, Program, answer_names, children, find, name, pump, role,
                 showing, targets, text, the, wait_until)
from gi.repository import Atspi

# What each window announces when it opens, in the order a screen reader walks it: the
# window's role and title, then each control's role and name. A name given as a pattern
# changes with the time or the disk. Lists are announced with their name; their entries are
# the disk's and are not listed here.
TIME = re.compile(r" \d\d:\d\d:\d\d")
DATE = re.compile(r"\d\d/\d\d/\d\d\d\d")
MENU = ["Fichier", "Utiliaires", "Détente", "Farces", "?"]
CATALOGUE = {
    "VornUtil": ("frame", [
        ("label", "Fermer"), ("push button", "Fermer"),
        *[("menu item", entry) for entry in MENU],
    ]),
    "Horloge": ("frame", [("label", TIME), ("label", DATE)]),
    "Autrefois...": ("frame", [
        ("label", "Depuis Abraham jusqu'à Jésus Christ."),
        ("label", "Entrer une date (ex: -1225)"), ("text", "Entrer une date (ex: -1225)"),
        ("push button", "OK"), ("push button", "Annuler"),
    ]),
    "Recherche de fichiers": ("frame", [
        ("label", "Fichier:"), ("label", "A été créé le:"), ("label", "Taille:"),
        ("text", "Fichier:"), ("text", "A été créé le:"), ("text", "Taille:"),
        ("push button", "Fermer"), ("push button", "OK"), ("push button", "Kill"),
        ("push button", "Créer dossier"), ("push button", "Exécuter"), ("push button", "RmDir"),
        ("list", "Dossiers"), ("list", "Fichiers"), ("combo box", "Lecteurs"),
    ]),
    "VaviziDaz": ("frame", [
        ("label", "Rouge"), ("label", "Vert"), ("label", "Bleu"),
        ("label", "Valeur Hexadécimale"),
        ("text", "Vert"), ("text", "Rouge"), ("text", "Bleu"),
        ("label", "Aperçu"), ("text", "Valeur Hexadécimale"),
        ("push button", "Couleur récente"), ("push button", "Couleur précédente"),
        ("push button", "Couleur la plus ancienne"), ("push button", "Animation"),
    ]),
    "La VornEuro": ("frame", [
        ("text", "Affichage"), ("label", "Unité"), ("label", "Convertir       en:"),
        ("push button", "Euros"), ("push button", "Francs"),
        *[("push button", key) for key in "123456789"],
        ("push button", "0"), ("push button", "Virgule"), ("push button", "Off"),
        ("push button", "Delete"),
    ]),
    "Qui fait quoi ?": ("frame", [
        *[("radio button", chore) for chore in (
            "Fera la vaisselle ?", "Sortira les poubelles ?", "Promènera le chien ?",
            "Changera le bébé ?", "Fera la lit tous les matins ?", "Préparera le repas ?",
            "Lavera la voiture ?")],
        ("push button", "Je veux savoir"), ("push button", "J'en ai trop peur"),
        ("push button", "Je préfère ne pas savoir"), ("text", "Réponse"),
    ]),
    "Erreur": ("frame", [
        ("label", re.compile(r"Windows a détecté une insuffisence intellec- tuelle .*"
                             r"une solution vous sera donnée\.")),
        ("push button", "Je l'admet"), ("push button", "Je refuse"), ("push button", "Aide"),
    ]),
    "Mes coordonnées": ("frame", [
        ("label", "Le projet VornUtil"), ("label", re.compile(r"Suite d'utilitaires .*", re.S)),
        ("label", "Tickets : dépôt VornUtil"),
    ]),
    "M'écrire ?": ("frame", [
        ("push button", "Mes coordonnées"), ("push button", "Retour au menu"),
        ("push button", "Quitter"),
    ]),
}
# The chronology window once a year is accepted: its answer rows appear below the entry row.
TALL_CHRONOLOGY = CATALOGUE["Autrefois..."][1] + [
    ("label", "           Juge"), ("label", "Roi d'Israël"), ("label", "Roi de Juda"),
    ("label", "  Patriarche"), ("label", "Commentaire"),
    ("text", "  Patriarche"), ("text", "Période du patriarche"),
    ("text", "           Juge"), ("text", "Période du juge"),
    ("text", "Roi d'Israël"), ("text", "Période du roi d'Israël"),
    ("text", "Roi de Juda"), ("text", "Période du roi de Juda"),
    ("text", "Commentaire"), ("image", "Caravane dans le désert"), ("label", "Projet VornUtil"),
]
KEYSYMS = {"Down": 0xFF54, "Return": 0xFF0D}
# Roles that only hold other objects: they need no name of their own.
CONTAINERS = {"filler", "panel", "menu bar", "scroll pane", "viewport"}
# Roles whose entries are data (folder and file names), walked as one object.
LISTS = {"list", "combo box"}


class Walk:
    def __init__(self, folder):
        self.folder = folder
        self.findings = []
        self.windows = set()
        self.objects = 0
        self.program = Program()
        self.events = Events()
        pump(0.3)

    def finding(self, message):
        print(f"  finding: {message}")
        self.findings.append(message)

    # --- What a window announces ------------------------------------------------------------

    def announced(self, window):
        """The objects of `window` a screen reader announces, in its order."""
        found = []

        def visit(obj):
            for child in children(obj):
                if not showing(child):
                    continue
                if role(child) in CONTAINERS and not name(child).strip():
                    visit(child)
                    continue
                found.append(child)
                if role(child) not in LISTS:
                    visit(child)

        visit(window)
        return found

    def check_window(self, window, expected=None):
        """Checks `window` against its catalogue entry, or against `expected`."""
        title = name(window)
        kind, controls = CATALOGUE[title]
        expected = expected or controls
        self.windows.add(title)
        print(f"== {role(window)} {title!r}")
        if role(window) != kind:
            self.finding(f'"{title}" is announced as {role(window)}, not as a {kind}')
        objects = self.announced(window)
        self.objects += len(objects)
        heard = [(role(obj), name(obj)) for obj in objects]
        for obj in objects:
            print(f"   {role(obj)} {name(obj)!r}")
        if not _matches(heard, expected):
            self.finding(f'"{title}" announces {heard}, not {expected}')
        for obj in objects:
            self.check_control(title, obj, objects)

    def check_control(self, title, obj, objects):
        what = f'{role(obj)} {name(obj)!r} in "{title}"'
        if not name(obj).strip():
            self.finding(f"a {role(obj)} without a name in \"{title}\"")
        if role(obj) in ("image", "icon", "filler", "panel"):
            if role(obj) != "image" or name(obj) != "Caravane dans le désert":
                self.finding(f"{what}: a decoration is announced")
        if role(obj) == "label" and len(name(obj).strip()) == 1:
            self.finding(f"{what}: a letter is announced on its own")
        # A name said twice is one too many, unless one of the two is the label of the other.
        for other in objects:
            if other is obj or name(other).strip() != name(obj).strip():
                continue
            labels = targets(obj, Atspi.RelationType.LABEL_FOR) + \
                targets(other, Atspi.RelationType.LABEL_FOR)
            if not any(target in (obj, other) for target in labels):
                self.finding(f"{what}: its name is announced twice")
                break
        if role(obj) == "text" and not targets(obj, Atspi.RelationType.LABELLED_BY):
            # A text box with no label beside it names itself; one with a label is named by it.
            for other in objects:
                if role(other) == "label" and name(other) == name(obj):
                    self.finding(f"{what}: named after a label it is not tied to")

    def opened(self, title, kinds=("frame",)):
        """Waits for the window `title` to be shown and announced."""
        window = self.program.window(title)
        if title not in CATALOGUE and role(window) not in kinds:
            self.finding(f'"{title}" is announced as {role(window)}, not as {" or ".join(kinds)}')
        try:
            self.events.wait_for_window(title, f'"{title}" was not announced when it came forward')
        except Failure as failure:
            self.finding(str(failure))
        return window

    def open_from_menu(self, caption, title, check=True):
        self.events.clear()
        self.program.act_later(self.program.menu_item(caption))
        window = self.opened(title)
        if check:
            self.check_window(window)
        return window

    def result(self, kind, obj, what):
        """Checks that `obj` raised the event that makes a screen reader speak `what`."""
        try:
            self.events.wait_for(kind, obj, f"{what} raised no {kind}")
        except Failure as failure:
            self.finding(str(failure))

    def expect(self, actual, wanted, what):
        if actual != wanted:
            self.finding(f"{what}: {actual!r}, not {wanted!r}")

    # --- Each window's job ------------------------------------------------------------------

    def clock(self):
        window = self.open_from_menu("Horloge", "Horloge")
        label = self.announced(window)[0]  # the time
        self.events.clear()
        self.result("object:property-change:accessible-name", label, "the clock's time")

    def chronology(self):
        p = self.program
        window = self.open_from_menu("Patriarches", "Autrefois...")
        year = the(window, "text", "Entrer une date (ex: -1225)")
        year.set_text_contents("-1225")
        self.events.clear()
        p.act(the(window, "push button", "OK"))
        wait_until(lambda: find(window, "text", "           Juge"), "no answer rows after a year")
        self.check_window(window, TALL_CHRONOLOGY)
        judge = the(window, "text", "           Juge")
        self.expect(text(judge), "Gédéon", "the judge of -1225")
        self.expect(text(the(window, "text", "  Patriarche")), "Aucun", "the patriarch of -1225")
        self.expect(text(the(window, "text", "Roi d'Israël")), "Hors période",
                    "the king of Israel of -1225")
        self.result("object:text-changed", judge, "the judge's name")
        # A year out of range: the reminder is an alert, answered through the bus.
        year.set_text_contents("91")
        p.act_later(the(window, "push button", "OK"))
        reminder = self.opened("Rappel", ("alert",))
        p.act_later(the(reminder, "push button", "OK"))
        p.gone("Rappel")
        p.act(the(window, "push button", "Annuler"))
        p.gone("Autrefois...")

    def files(self):
        p = self.program
        window = self.open_from_menu("Recherche", "Recherche de fichiers")
        folders = the(window, "list", "Dossiers")
        # The folder list has the focus: a screen reader user goes down to the second
        # sub-folder and opens it with Enter.
        for key in ("Down", "Down", "Return"):
            Atspi.generate_keyboard_event(KEYSYMS[key], None, Atspi.KeySynthType.SYM)
            pump(0.1)
        wait_until(lambda: any(name(item) == "Images" and item.get_state_set().contains(
            Atspi.StateType.SELECTED) for item in children(folders)) and
            find(window, "list item", "la plage.jpg"), "the folder Images was not opened")
        files = the(window, "list", "Fichiers")
        entry = next(item for item in children(files) if name(item) == "la plage.jpg")
        size = the(window, "text", "Taille:")
        self.events.clear()
        p.act(entry, "Toggle")
        wanted = str(os.path.getsize(os.path.join(self.folder, "Images", "la plage.jpg")))
        wait_until(lambda: text(size) == wanted, f"the size read is {text(size)!r}, not {wanted}")
        self.result("object:text-changed", size, "the file's size")
        self.expect(text(the(window, "text", "A été créé le:")), "08/12/2026 09:41:27",
                    "the file's date")
        p.act(the(window, "push button", "Fermer"))
        p.gone("Recherche de fichiers")

    def colours(self):
        p = self.program
        window = self.open_from_menu("Hexa-Couleurs", "VaviziDaz")
        red = the(window, "text", "Rouge")
        hexa = the(window, "text", "Valeur Hexadécimale")
        red.grab_focus()
        red.set_text_contents("0")
        self.events.clear()
        the(window, "text", "Vert").grab_focus()  # leaving the red box rebuilds the colour
        wait_until(lambda: text(hexa) == "#00FFFF", f"red 0 shows {text(hexa)!r}")
        self.result("object:text-changed", hexa, "the hexadecimal value")
        p.act(the(window, "push button", "Couleur récente"))
        wait_until(lambda: text(hexa) == "#FFFFFF", f"the recalled colour is {text(hexa)!r}")

    def euro(self):
        p = self.program
        window = self.open_from_menu("Convertisseur", "La VornEuro")
        amount = the(window, "text", "Affichage")
        self.events.clear()
        for key, shown in (("1", "1"), ("0", "10"), ("0", "100"), ("Euros", "15,245")):
            p.act(the(window, "push button", key))
            wait_until(lambda: text(amount) == shown,
                       f'after "{key}" the display shows {text(amount)!r}, not {shown!r}')
        unit = wait_until(lambda: find(window, "label", "Euros"), "no unit label reads Euros")
        converted = the(window, "text", "Montant converti")
        self.expect(text(converted), "100", "the amount converted")
        the(window, "label", "Francs")
        self.result("object:text-changed", amount, "the converted amount")
        self.result("object:property-change:accessible-name", unit, "the amount's unit")
        p.act(the(window, "push button", "Off"))
        p.gone("La VornEuro")

    def lottery(self):
        p = self.program
        self.events.clear()
        p.act_later(p.menu_item("Zamours"))
        box = self.opened("Préparation mentale", ("alert",))
        p.act_later(the(box, "push button", "OK"))
        self.opened("Personnalisation", ("dialog",))
        answer_names(p, "Alice", "Bruno")
        window = self.opened("Qui fait quoi ?")
        self.check_window(window)
        chore = the(window, "radio button", "Promènera le chien ?")
        p.act(chore, "Toggle")
        wait_until(lambda: chore.get_state_set().contains(Atspi.StateType.CHECKED),
                   "the chore was not picked")
        answer = the(window, "text", "Réponse")
        self.events.clear()
        p.act(the(window, "push button", "Je veux savoir"))
        wait_until(lambda: text(answer) in ("Alice", "Bruno"),
                   f"the draw shows {text(answer)!r}")
        self.result("object:text-changed", answer, "the name drawn")
        p.act_later(the(window, "push button", "J'en ai trop peur"))
        remark = self.opened("Rappel essentiel", ("alert",))
        p.act_later(the(remark, "push button", "OK"))
        p.gone("Rappel essentiel")
        self.events.clear()
        p.act_later(the(window, "push button", "Je préfère ne pas savoir"))
        p.gone("Qui fait quoi ?")
        self.check_window(self.opened("Mes coordonnées"))

    def prank(self):
        p = self.program
        window = self.open_from_menu("Tétris", "Erreur")
        refusal = the(window, "push button", "Je refuse")
        place = refusal.get_extents(Atspi.CoordType.WINDOW)
        p.act(refusal)
        wait_until(lambda: refusal.get_extents(Atspi.CoordType.WINDOW).x != place.x,
                   '"Je refuse" did not move')
        p.act(the(window, "push button", "Aide"))  # does nothing
        p.act_later(the(window, "push button", "Je l'admet"))
        box = self.opened("Dépacement de capacité", ("alert",))
        p.act_later(the(box, "push button", "OK"))
        p.gone("Erreur")

    def about(self):
        # Both are open already: each entry brings its window forward, announced again.
        self.open_from_menu("Horloge", "Horloge", check=False)
        self.open_from_menu("A propos de...", "Mes coordonnées", check=False)

    def exit_screen(self):
        p = self.program
        menu = p.window("VornUtil")
        p.act(the(menu, "push button", "Fermer"))
        screen = self.opened("M'écrire ?")
        self.check_window(screen)
        wait_until(lambda: not showing(menu), "the main window is still shown")
        self.events.clear()
        p.act(the(screen, "push button", "Mes coordonnées"))
        self.opened("Mes coordonnées")
        p.act(the(screen, "push button", "Retour au menu"))
        p.gone("M'écrire ?")
        self.opened("VornUtil")
        p.act(the(p.window("VornUtil"), "push button", "Fermer"))
        screen = self.opened("M'écrire ?")
        p.act(the(screen, "push button", "Quitter"))
        p.gone("M'écrire ?")
        p.gone("VornUtil")

    def run(self):
        menu = self.program.window("VornUtil")
        self.check_window(menu)
        steps = [self.clock, self.chronology, self.files, self.colours, self.euro,
                 self.lottery, self.prank, self.about]
        for step in steps:
            try:
                step()
            except Failure as failure:
                self.finding(f"{step.__name__}: {failure}")
        try:
            self.exit_screen()
        except Failure as failure:
            self.finding(f"exit screen: {failure}")
        print(f"walked {len(self.windows)} windows, {self.objects} objects; "
              f"findings: {len(self.findings)}")
        return 1 if self.findings else 0


def _matches(heard, expected):
    if len(heard) != len(expected):
        return False
    for (heard_role, heard_name), (want_role, want_name) in zip(heard, expected):
        if heard_role != want_role:
            return False
        if isinstance(want_name, re.Pattern):
            if not want_name.fullmatch(heard_name):
                return False
        elif heard_name != want_name:
            return False
    return True


if __name__ == "__main__":
    sys.exit(Walk(sys.argv[1]).run())
