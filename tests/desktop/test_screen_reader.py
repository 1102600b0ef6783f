"""What Orca says of each window used by keys alone: as it opens, on Tab, after jobs, closing."""

import re
import time
from collections.abc import Callable, Iterator, Sequence
from dataclasses import dataclass, field
from pathlib import Path

import pytest

from .conftest import Start
from .reader import NOTIFICATION, Orca, Speech, heard_as
from .session import Process, Session, wait_until
from .x11 import XServer

# How long Orca may take to say what a step must make it say, and how long its log and the speech
# must stay still for it to be done with a key (it takes a second or two to settle).
SPEECH = 15.0
SETTLED = 0.8
# What the program may write: Qt's notes that the screen reader answered a key event late, when
# the wait for the answer ends and when the answer comes after it. The key itself is not lost.
KEY_TIMING = r"^QSpiApplication::(keyEventError |notifyKeyboardListenerCallback with no queued key)"
# What Orca says after a control's name, by role; and the roles of what only decorates.
ROLES = ("push button", "read only text", "text", "radio button", "combo box", "label", "list",
         "frame", "alert", "dialog", "menu item", "menu")
DECORATIONS = ("image", "icon", "panel", "filler", "graphic")
# What Orca says of a selection it is told of apart from the focus: the text, then one of these.
SELECTION = ("selected", "unselected", "Text unselected.")
Pattern = str | re.Pattern
SILENT = None  # a Tab that leaves the focus where it was: nothing new to say


def said(pattern: Pattern, text: str) -> bool:
    """Whether `text`, as heard, is what `pattern` says must be said."""
    if isinstance(pattern, re.Pattern):
        return bool(pattern.fullmatch(text))
    return text == heard_as(pattern)


# How a result told without the focus moving is heard: Orca's notification, then the result.
TOLD = NOTIFICATION + " "


def told(result: str) -> re.Pattern:
    """A result told without the focus moving, as Orca speaks a notification (a pattern)."""
    return re.compile(f"{re.escape(TOLD)}{result}\\.")


@dataclass
class Step:
    """Keys pressed (text to type after a quote mark), what Orca must say after them in order."""

    kind: str
    keys: Sequence[str]
    says: Sequence[Pattern] = ()
    ends: bool = False  # the program must end with it

    def label(self) -> str:
        """The step as the transcript names it."""
        keys = " ".join(f"typed {k[1:]!r}" if k.startswith('"') else k for k in self.keys)
        return f"{self.kind} ({keys})" if keys else self.kind


def opens(keys: str | Sequence[str], *says: Pattern) -> Step:
    """The window opening."""
    return Step("opens", [keys] if isinstance(keys, str) else keys, says)


def job(keys: str | Sequence[str], *says: Pattern) -> Step:
    """Part of the window's main job."""
    return Step("job", [keys] if isinstance(keys, str) else keys, says)


def closes(keys: str | Sequence[str], *says: Pattern, ends: bool = False) -> Step:
    """The window closing, and what Orca says of the window that comes back."""
    return Step("closes", [keys] if isinstance(keys, str) else keys, says, ends)


def where_am_i(window: Sequence[str]) -> Step:
    """Orca's "where am I" (KP_Enter) in a window whose focus is on none of its controls: the
    window's title and role, then its description, said as it opens, in one text."""
    return Step("where am I", ["KP_Enter"], [f"{window[0].rstrip('.')} {window[1]}"])


def tabs(*says: Pattern | None) -> list[Step]:
    """Tab, once per control up to the first again (a full cycle), and what Orca says of each."""
    return [Step("Tab", ["Tab"], () if text is SILENT else (text,)) for text in says]


LAUNCHER = ("VornUtil frame.", "La touche Alt ouvre les menus des outils ; Tab mène à Fermer.")
ABOUT = ("Mes coordonnées frame.",
         "Le projet VornUtil. Suite d'utilitaires de bureau en français. Remarques et idées : "
         "ouvrez un ticket dans le suivi du projet VornUtil. Tickets : dépôt VornUtil.")
EXIT_SCREEN = ("M'écrire ? frame.",
               "Tab mène à Mes coordonnées, Retour au menu et Quitter ; Entrée choisit.")
CLOCK = ("Horloge frame.", told(r"\d\d:\d\d:\d\d"))
CLOSE = closes("alt+F4", *LAUNCHER)
DOCUMENTS = {"Courrier": {}, "Images": {"la plage.jpg": 183456, "le phare.jpg": 201234},
             "lettre.txt": 1234}

# Each window's script, in the order of the tour, from the launcher and back to it. Orca says the
# roles in its own words; it reads "..." as "dot dot dot".
WINDOWS: dict[str, list[Step]] = {
    "VornUtil": [
        opens([], *LAUNCHER),
        where_am_i(LAUNCHER),
        *tabs("Fermer push button.", SILENT),
    ],
    "Horloge": [
        opens("ctrl+h", *CLOCK),
        *tabs(SILENT),
        job("alt+Tab", *LAUNCHER),
        job("ctrl+h", *CLOCK),
        CLOSE,
    ],
    "Autrefois...": [
        opens("F11", "Autrefois dot dot dot frame.", "Entrer une date (ex: -1225) text."),
        job(['"-1225', "Return"], told("Juge : Gédéon, -1249 à -1209")),
        *tabs("OK push button.", "Annuler push button.", "Patriarche read only text.",
              "Période du patriarche read only text.", "Juge read only text.",
              "Période du juge read only text.", "Roi d'Israël read only text.",
              "Période du roi d'Israël read only text.", "Roi de Juda read only text.",
              "Période du roi de Juda read only text.", "Commentaire read only text.",
              "Entrer une date (ex: -1225) text."),
        job(["ctrl+a", '"91', "Return"], "alert Rappel.",
            "La Bible prend en compte les dates allant de -4004 à 90 !", "OK push button."),
        job("Return", "Autrefois dot dot dot frame.", "Entrer une date (ex: -1225) text."),
        CLOSE,
    ],
    "Recherche de fichiers": [
        opens("ctrl+r", "Recherche de fichiers frame.", "Dossiers.",
              re.compile(r"List with \d+ items\.")),
        *tabs("Fichiers.", "Lecteurs combo box.", "Fichier: text.", "Fermer push button.",
              "OK push button.", "A été créé le: read only text.", "Taille: read only text.",
              "Kill push button.", "Créer dossier push button.", "Exécuter push button.",
              "RmDir push button.", "Dossiers."),
        job(["Down", "Down", "Return"], "Images."),
        job("Tab", "Fichiers.", "List with 2 items."),
        job("Down", "la plage.jpg.", told("Créé le 08/12/2026 09:41:27, 183456 octets")),
        job("Down", "le phare.jpg.", told("Créé le 08/12/2026 09:41:27, 201234 octets")),
        CLOSE,
    ],
    "VaviziDaz": [
        opens("F12", "VaviziDaz frame.", "Vert text.", "255."),
        *tabs("Rouge text.", "Bleu text.", "Valeur Hexadécimale read only text.",
              "Couleur récente push button.", "Couleur précédente push button.",
              "Couleur la plus ancienne push button.", "Animation push button.", "Vert text."),
        job(["Tab", "ctrl+a", '"0', "Tab"], "Bleu text.", told("#00FFFF")),
        job(["Tab", "Tab", "Tab", "Tab"], "Couleur la plus ancienne push button."),
        job("space", told("#FFFFFF")),
        CLOSE,
    ],
    "La VornEuro": [
        opens("ctrl+c", "La VornEuro frame.", "Affichage text."),
        *tabs("Euros push button.", "Francs push button.",
              *[f"{key} push button." for key in "1234567890"], "Virgule push button.",
              "Off push button.", "Delete push button.", "Affichage text."),
        job(['"100', "Return"], told("15,245 Euros")),
        CLOSE,
    ],
    "Qui fait quoi ?": [
        opens("ctrl+z", "alert Préparation mentale.",
              "Ce petit programme vous permettra de définir qui dans votre couple fera telle ou "
              "telle tâche ménagère, et ce sans dispute.", "OK push button."),
        job("Return", "Personnalisation dialog.", "Donnez le nom de la première personne text."),
        job('"Alice'),
        *tabs("OK push button.", "Annuler push button.",
              "Donnez le nom de la première personne text."),
        job("Return", "Personnalisation dialog.",
            "Donnez le nom de la deuxième personne text."),
        job(['"Bruno', "Return"], "Qui fait quoi ? frame.", "Fera la vaisselle ?",
            "not selected radio button"),
        *tabs("Je veux savoir push button.", "J'en ai trop peur push button.",
              "Je préfère ne pas savoir push button.", "Réponse text.", "Fera la vaisselle ?"),
        job(["Tab", "space"], "Je veux savoir push button.", told("(Alice|Bruno)")),
        job(["Tab", "space"], "J'en ai trop peur push button.", "alert Rappel essentiel.",
            "Alors comme ça on a peur de prendre ses responsabilités ?!", "OK push button."),
        job("Return", "Qui fait quoi ? frame.", "J'en ai trop peur push button."),
        closes(["Tab", "space"], "Je préfère ne pas savoir push button.", *ABOUT),
        CLOSE,
    ],
    "Mes coordonnées": [
        opens("ctrl+a", *ABOUT),
        *tabs(SILENT),
        CLOSE,
    ],
    "Erreur": [
        opens("ctrl+t", "alert Erreur.",
              "Windows a détecté une insuffisence intellec- tuelle chez l'utilisateur et ne peut "
              "donc pas exécuter correctement ce programme. Si vous admettez que vous êtes "
              "simplet, une solution vous sera donnée.", "Je l'admet push button."),
        *tabs("Je refuse push button.", "Aide push button.", "Je l'admet push button."),
        job(["Tab", "space"], "Je refuse push button."),
        job(["shift+Tab", "space"], "Je l'admet push button.", "alert Dépacement de capacité.",
            "Votre cas est trop prononcé, désolé, mais Windows ne peut rien pour vous!",
            "OK push button."),
        closes("Return", *LAUNCHER),
    ],
    "M'écrire ?": [
        opens(["Tab", "space"], *EXIT_SCREEN),
        where_am_i(EXIT_SCREEN),
        *tabs("Mes coordonnées push button.", "Retour au menu push button.",
              "Quitter push button.", "Mes coordonnées push button."),
        job("space", *ABOUT),
        job("alt+F4", *EXIT_SCREEN, "Mes coordonnées push button."),
        job(["Tab", "space"], "Retour au menu push button.", *LAUNCHER, "Fermer push button."),
        job("space", *EXIT_SCREEN),
        closes(["shift+Tab", "space"], "Quitter push button.", ends=True),
    ],
}


@dataclass
class Heard:
    """One step, what Orca said after it, and what is wrong in that."""

    step: Step
    texts: list[str] = field(default_factory=list)
    findings: list[str] = field(default_factory=list)


def findings(step: Step, texts: list[str]) -> list[str]:
    """What is wrong in what Orca said after `step`, whatever it had to say."""
    found, named = [], dict[str, str]()
    wanted = [p for p in step.says if isinstance(p, re.Pattern) and
              p.pattern.startswith(re.escape(TOLD))]
    results = [text for text in texts if text.startswith(TOLD)]
    if len(results) != len(wanted) or not all(map(said, wanted, results)):
        found.append(f"results told {results}, where {[p.pattern for p in wanted]} must be, once")
    if step.kind == "opens" and len(texts) < 2:
        found.append("the window opens silent: nothing after its title")
    for index, text in enumerate(texts):
        bare = text.rstrip(".")
        if role := next((r for r in ROLES if bare == r or bare.endswith(" " + r)), None):
            name = bare[:-len(role)].strip()
            # A radio button's name comes as a text of its own, a question, before its role.
            if name in ("", "selected", "not selected") and (
                    index == 0 or texts[index - 1].endswith(".")):
                found.append(f"a {role} without a name: {text!r}")
            elif name and named.get(name) == role:
                found.append(f"{name!r} said twice as a {role}")
            named[name] = role
        if step.kind == "Tab" and text in SELECTION:
            found.append(f"a selection told apart from the control the focus reached: {text!r}")
        if len(bare) == 1 and bare.isalpha():
            found.append(f"a lone letter: {text!r}")
        if any(bare == kind or bare.endswith(" " + kind) for kind in DECORATIONS):
            found.append(f"a decoration: {text!r}")
    return found


class Listener:
    """A person at the keyboard, who listens to Orca after each key before going on."""

    def __init__(self, xserver: XServer, orca: Orca, speech: Speech):
        self.xserver, self.orca, self.speech = xserver, orca, speech

    def settle(self) -> None:
        """Waits until Orca's log and the speech have been still for SETTLED seconds."""
        last, since = (self.orca.progress(), len(self.speech.texts())), time.monotonic()

        def still() -> bool:
            nonlocal last, since
            if (now := (self.orca.progress(), len(self.speech.texts()))) != last:
                last, since = now, time.monotonic()
            return time.monotonic() - since >= SETTLED

        wait_until(still, "Orca to be done speaking", timeout=SPEECH)

    def press(self, key: str) -> None:
        """Presses a key combination, or types what follows a quote mark; waits for Orca."""
        heard = self.orca.keys_heard()
        if key.startswith('"'):
            self.xserver.screen.type(key[1:])
        else:
            self.xserver.screen.keys(key)
        wait_until(lambda: self.orca.keys_heard() > heard, f"Orca to hear {key}", timeout=SPEECH)
        self.settle()

    def hear(self, step: Step, since: int | None = None) -> Heard:
        """Takes the step: what Orca said after it, or since its `since`th text."""
        start = len(self.speech.texts()) if since is None else since
        for key in step.keys:
            self.press(key)
        heard = Heard(step)

        def in_order() -> bool:
            texts = iter(self.speech.texts()[start:])
            return all(any(said(pattern, text) for text in texts) for pattern in step.says)

        try:
            wait_until(in_order, lambda: f"Orca to say {[str(p) for p in step.says]}",
                       timeout=SPEECH)
        except AssertionError as silence:
            heard.findings.append(str(silence))
        self.settle()
        heard.texts = self.speech.texts()[start:]
        heard.findings += findings(step, heard.texts)
        return heard


@dataclass
class Tour:
    """What Orca said, window by window, in the program it said it of."""

    windows: dict[str, list[Heard]] = field(default_factory=dict)
    program: Process | None = None
    started: float = field(default_factory=time.monotonic)

    def figure(self) -> str:
        """The tour in figures."""
        heard = [item for steps in self.windows.values() for item in steps]
        results = sum(text.startswith(TOLD) for item in heard for text in item.texts)
        return (f"{len(self.windows)} windows, {len(heard)} steps, "
                f"{sum(len(item.texts) for item in heard)} texts spoken, {results} results told "
                f"as they appeared, {time.monotonic() - self.started:.0f} s")


def transcript(title: str, heard: list[Heard]) -> str:
    """What Orca said in the window, step by step, with what is wrong."""
    lines = [f"== {title}"]
    for item in heard:
        lines.append(f"  {item.step.label()}:")
        lines += [f"      {text}" for text in item.texts or ["(nothing)"]]
        lines += [f"    FINDING: {finding}" for finding in item.findings]
    return "\n".join(lines)


@pytest.fixture(scope="module")
def speech(session: Session) -> Iterator[Speech]:
    """speech-dispatcher for the session, writing each text it is given to speak to a file."""
    yield (speech := Speech(session))
    speech.process.stop()


@pytest.fixture(scope="module")
def orca(session: Session, xserver: XServer, bus: str, speech: Speech) -> Iterator[Orca]:
    """Orca with its own settings fresh, on the session's display and buses, speaking."""
    yield (orca := Orca(session, speech))
    orca.process.stop()


@pytest.fixture(scope="module")
def folder(documents: Callable[..., Path]) -> Path:
    """The folder the program starts in, which the file manager opens on."""
    return documents("Documents", DOCUMENTS)


@pytest.fixture(scope="module")
def tour() -> Iterator[Tour]:
    """The transcript of the tour, whose figure is printed at its end."""
    yield (tour := Tour())
    print(f"\nwhat Orca said: {tour.figure()}")


@pytest.mark.expects_output(KEY_TIMING)
@pytest.mark.parametrize("title", WINDOWS)
def test_window(title: str, xserver: XServer, orca: Orca, speech: Speech, program: Start,
                folder: Path, tour: Tour) -> None:
    """Orca says what it must in the window, from its opening to its closing, and nothing else."""
    xserver.use_window_manager("Openbox")
    listener, steps, heard = Listener(xserver, orca, speech), WINDOWS[title], []
    before = len(speech.texts())
    if (process := program(folder)) is not tour.program:
        # Started for this window: the launcher speaks first, which is its own opening.
        tour.program = process
        first = steps[0] if not steps[0].keys else opens([], *LAUNCHER)
        heard.append(listener.hear(first, since=before))
        steps = steps[1:] if first is steps[0] else steps
    for step in steps:
        heard.append(listener.hear(step))
        if step.ends:
            process.ends(after=step.label())
    print("\n" + transcript(title, tour.windows.setdefault(title, heard)))
    problems = [f"{item.step.label()}: {finding}" for item in heard for finding in item.findings]
    problems += [f"Orca reported a Python error: {error}" for error in orca.new_errors()]
    if problems:
        pytest.fail("\n".join(problems))
