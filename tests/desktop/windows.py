"""The program's windows and boxes as every check knows them, and what a person gives them."""

import re
from collections.abc import Sequence
from typing import NamedTuple

MAXIMISE = frozenset({"MAXIMIZE_HORZ", "MAXIMIZE_VERT"})
CLOSE = frozenset({"CLOSE"})
ALL = frozenset({"MINIMIZE", "RESIZE"}) | MAXIMISE | CLOSE  # in _NET_WM_ALLOWED_ACTIONS' words
MENU_BAR = ("Fichier", "Utiliaires", "Détente", "Farces", "?")  # the launcher's top entries
TIME, DATE = re.compile(r"\d\d:\d\d:\d\d"), re.compile(r"\d\d/\d\d/\d\d\d\d")


class Known(NamedTuple):
    """A window or box of the program: how it is opened, what it is granted, what it announces."""

    title: str
    shot: str = ""  # its screenshot's name
    top: str = ""  # the top entry of the menu bar its entry is under
    entry: str = ""  # the caption of that entry
    shortcut: str = ""  # the keys that open it from the launcher
    granted: frozenset[str] = ALL  # what metacity lets the user do with it, as its border asks
    role: str = "frame"  # what a screen reader announces it as
    # Its controls as a screen reader announces them, in order: role and name (a pattern where
    # the name changes with the time). The entries of the lists are the disk's: not listed.
    announces: Sequence[tuple[str, str | re.Pattern]] = ()


# The windows in the order they first open; under each top entry, in the order of its entries.
# Message boxes can only be closed and the input box resized and closed: dialogs of a window.
WINDOWS = [
    Known("VornUtil", "menu", announces=[("push button", "Fermer"), ("label", "Fermer"), *[
        ("menu item", top) for top in MENU_BAR]]),
    Known("Horloge", "clock", "Utiliaires", "Horloge", "ctrl+h",
          announces=[("label", TIME), ("label", DATE)]),
    Known("Autrefois...", "chronology", "Utiliaires", "Patriarches", "F11", announces=[
        ("label", "Depuis Abraham jusqu'à Jésus Christ."),
        ("label", "Entrer une date (ex: -1225)"), ("text", "Entrer une date (ex: -1225)"),
        ("push button", "OK"), ("push button", "Annuler")]),
    Known("Recherche de fichiers", "files", "Utiliaires", "Recherche", "ctrl+r", announces=[
        ("label", "Fichier:"), ("label", "A été créé le:"), ("label", "Taille:"),
        ("text", "Fichier:"), ("text", "A été créé le:"), ("text", "Taille:"),
        *[("push button", button) for button in (
            "Fermer", "OK", "Kill", "Créer dossier", "Exécuter", "RmDir")],
        ("list", "Dossiers"), ("list", "Fichiers"), ("combo box", "Lecteurs")]),
    Known("VaviziDaz", "colour", "Utiliaires", "Hexa-Couleurs", "F12", ALL - MAXIMISE, announces=[
        ("label", "Rouge"), ("label", "Vert"), ("label", "Bleu"), ("label", "Valeur Hexadécimale"),
        ("text", "Vert"), ("text", "Rouge"), ("text", "Bleu"), ("label", "Aperçu"),
        ("text", "Valeur Hexadécimale"), *[("push button", button) for button in (
            "Couleur récente", "Couleur précédente", "Couleur la plus ancienne", "Animation")]]),
    Known("La VornEuro", "euro", "Utiliaires", "Convertisseur", "ctrl+c", CLOSE, announces=[
        ("text", "Affichage"), ("label", "Unité"), ("label", "Convertir       en:"),
        *[("push button", key) for key in ["Euros", "Francs", *"1234567890", "Virgule", "Off",
                                           "Delete"]]]),
    Known("Qui fait quoi ?", "chores", "Détente", "Zamours", "ctrl+z", CLOSE, announces=[
        *[("radio button", chore) for chore in (
            "Fera la vaisselle ?", "Sortira les poubelles ?", "Promènera le chien ?",
            "Changera le bébé ?", "Fera la lit tous les matins ?", "Préparera le repas ?",
            "Lavera la voiture ?")],
        *[("push button", button) for button in (
            "Je veux savoir", "J'en ai trop peur", "Je préfère ne pas savoir")],
        ("text", "Réponse")]),
    Known("Erreur", "prank", "Farces", "Tétris", "ctrl+t", CLOSE, role="alert", announces=[
        ("label", re.compile(r"Windows a détecté une insuffisence intellec- tuelle .*une "
                             r"solution vous sera donnée\.")),
        ("push button", "Je l'admet"), ("push button", "Je refuse"), ("push button", "Aide")]),
    Known("Mes coordonnées", "about", "?", "A propos de...", "ctrl+a", announces=[
        ("label", "Le projet VornUtil"), ("label", re.compile(r"Suite d'utilitaires .*", re.S)),
        ("label", "Tickets : dépôt VornUtil")]),
    Known("M'écrire ?", "exit-screen", announces=[("push button", button) for button in (
        "Mes coordonnées", "Retour au menu", "Quitter")]),
    Known("Personnalisation", granted=frozenset({"RESIZE", "CLOSE"}), role="dialog"),
    *[Known(title, granted=CLOSE, role="alert") for title in (
        "Rappel", "Rappel essentiel", "Préparation mentale", "Dépacement de capacité")],
]
WINDOW = {known.title: known for known in WINDOWS}
LOTTERY = WINDOW["Qui fait quoi ?"]  # asks the partners' names before it shows
# What a person gives the windows, by pointer or over the bus, and what they answer.
YEAR = "-1225"  # a year the chronology knows
COMMENTED = "-166"  # one it has a commentary for
FRANCS, EUROS = "100", "15,245"  # an amount in francs, and in euros
RED, CYAN = "0", "#00FFFF"  # the red that turns the colour window's white into cyan
NAMES = ("Alice", "Bruno")  # the partners the lottery asks for
