"""Opens every window of a VornUtil running natively under weston, through the accessibility
bus (weston's headless backend takes no input), and reads each window's title from the
compositor itself: one screenshot per window into DIR. Exits non-zero on the first fault.

    wayland.py DIR
"""

import os
import re
import subprocess
import sys
import time

from bus import Failure, Program, answer_names, name, pump, the, wait_until

# The windows in the order they are opened, each with the menu entry that opens it and the
# name of its screenshot. The exit screen is reached through the main window's close picture.
WINDOWS = [
    ("VornUtil", None, "menu"),
    ("Horloge", "Horloge", "clock"),
    ("Autrefois...", "Patriarches", "chronology"),
    ("Recherche de fichiers", "Recherche", "files"),
    ("VaviziDaz", "Hexa-Couleurs", "colour"),
    ("La VornEuro", "Convertisseur", "euro"),
    ("Qui fait quoi ?", "Zamours", "chores"),
    ("Erreur", "Tétris", "prank"),
    ("Mes coordonnées", "A propos de...", "about"),
]
VIEW = re.compile(r"top-level window '(?P<title>.*)' of [^\n]*\n\s*position: "
                  r"\((?P<x1>-?\d+), (?P<y1>-?\d+)\) -> \((?P<x2>-?\d+), (?P<y2>-?\d+)\)")


def views():
    """The compositor's top-level windows: title and place (x, y, width, height)."""
    graph = subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True,
                           timeout=10, check=True).stdout
    return {m["title"]: (int(m["x1"]), int(m["y1"]), int(m["x2"]) - int(m["x1"]),
                         int(m["y2"]) - int(m["y1"])) for m in VIEW.finditer(graph)}


def shown_by_compositor(title):
    return wait_until(lambda: views().get(title), f'weston shows no window titled "{title}"; '
                      f"it shows {sorted(views())}")


def shoot(title, out, shot):
    """Saves the compositor's picture of the window `title` as DIR/shot.png."""
    x, y, width, height = shown_by_compositor(title)
    time.sleep(0.3)  # the window's first frames
    before = set(os.listdir("."))
    subprocess.run(["weston-screenshooter"], check=True, timeout=10,
                   stdout=subprocess.DEVNULL)
    taken = wait_until(lambda: set(os.listdir(".")) - before, "weston took no screenshot")
    whole = taken.pop()
    subprocess.run(["convert", whole, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                    os.path.join(out, f"{shot}.png")], check=True)
    os.remove(whole)
    print(f"   {title!r} at {x},{y} {width}x{height}: {shot}.png")


def answer_lottery(program):
    """The lottery explains itself and asks two names before it shows."""
    program.act_later(the(program.window("Préparation mentale"), "push button", "OK"))
    answer_names(program, "Alice", "Bruno")


def main(out):
    program = Program()
    for title, entry, shot in WINDOWS:
        if entry:
            program.act_later(program.menu_item(entry))
            if title == "Qui fait quoi ?":
                answer_lottery(program)
        if name(program.window(title)) != title:
            raise Failure(f'the bus shows "{name(program.window(title))}" for "{title}"')
        shoot(title, out, shot)
    program.act(the(program.window("VornUtil"), "push button", "Fermer"))
    program.window("M'écrire ?")
    shoot("M'écrire ?", out, "exit-screen")
    pump(0.2)
    print(f"every window shown natively on Wayland with its exact title ({len(WINDOWS) + 1})")


if __name__ == "__main__":
    try:
        main(os.path.abspath(sys.argv[1]))
    except (Failure, subprocess.SubprocessError) as failure:
        print(f"wayland: {failure}", file=sys.stderr)
        sys.exit(1)
