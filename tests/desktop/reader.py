"""A screen reader in the session: Orca, speaking through speech-dispatcher into a file."""

import contextlib
import json
from collections.abc import Iterator
from pathlib import Path

from .session import Process, Session, wait_until

# How long Orca and speech-dispatcher may take to start, and Orca to say so.
START = 60.0
# speech-dispatcher, private: one output module that appends each text it is given to a file, whole
# (its one delimiter is a character no text holds) and in UTF-8, each ended by END; no sound
# (libao's null driver).
END = "\x1e\n"
SPEECHD_CONF = """AddModule "file" "sd_generic" "file.conf"
DefaultModule file
LanguageDefaultModule "en" "file"
AudioOutputMethod "libao"
"""
FILE_MODULE = """GenericExecuteSynth "printf '%s\\\\036\\\\n' \\'$DATA\\' >> '{speech}'"
GenericMaxChunkLength 1000000
GenericDelimiters "\x1f"
AddVoice "en" "MALE1" "file"
GenericLanguage "en" "en" "utf-8"
"""
# Orca ends every other Orca of its user as it starts (with --replace), and will not start beside
# one otherwise; it finds them with pgrep. The session's Orca gets a pgrep that looks only within
# its own process session, so the user's own screen reader, or another check's, goes on.
PGREP = '#!/bin/sh\nexec /usr/bin/pgrep --session 0 "$@"\n'
# Orca's own settings, fresh but for two: there is no braille display to drive, and keys are not
# echoed, so that what it says is what the program makes it say.
ORCA_SETTINGS = {
    "general": {"enableBraille": False, "enableKeyEcho": False},
    "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {},
                             "keybindings": {}}},
    "pronunciations": {}, "keybindings": {},
}
# Loaded by Orca as it starts: its debug log is then written line by line, to be read as it goes.
ORCA_CUSTOMIZATIONS = """import orca.debug

if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)
"""
# How Orca speaks a notification: its role, then the line it tells as a text of its own (the line is
# what its braille display shows). The two are heard here as one text.
NOTIFICATION = "notification."
# How Orca logs a key event it hears: the press, or the release of a shortcut the program takes.
KEY_EVENT = "KEYBOARD_EVENT:"


@contextlib.contextmanager
def stopped_on_failure(process: Process) -> Iterator[None]:
    """Stops `process` if what the block waits for fails."""
    try:
        yield
    except BaseException:
        process.stop()
        raise


def heard_as(text: str) -> str:
    """A text as it is heard: a run of blanks or line breaks is one pause."""
    return " ".join(text.split())


class Speech:
    """speech-dispatcher, running, and the texts it was given to speak."""

    def __init__(self, session: Session):
        home = Path(session.env["HOME"])
        config = home / ".config" / "speech-dispatcher"
        (config / "modules").mkdir(parents=True, exist_ok=True)
        self.path = home / "speech.txt"
        self.path.write_text("")
        (config / "speechd.conf").write_text(SPEECHD_CONF)
        (config / "modules" / "file.conf").write_text(FILE_MODULE.format(speech=self.path))
        (home / ".libao").write_text("default_driver=null\n")
        socket = Path(session.env["XDG_RUNTIME_DIR"]) / "speech-dispatcher" / "speechd.sock"
        self.process = session.start("speech-dispatcher", [
            "speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", str(config),
            "--communication-method", "unix_socket", "--socket-path", str(socket)], as_user=True)
        with stopped_on_failure(self.process):
            wait_until(socket.exists, lambda: "speech-dispatcher to listen; it wrote "
                       f"{self.process.log.read_text(errors='replace')!r}", timeout=START)

    def texts(self) -> list[str]:
        """Every text spoken so far, as heard."""
        heard: list[str] = []
        for text in self.path.read_text(errors="replace").split(END)[:-1]:
            if heard and heard[-1] == NOTIFICATION:
                heard[-1] += " " + heard_as(text)
            else:
                heard.append(heard_as(text))
        return heard


class Orca:
    """Orca, running with its own settings fresh, once it has said it is on; its debug log."""

    def __init__(self, session: Session, speech: Speech):
        prefs = Path(session.env["HOME"]) / ".local" / "share" / "orca"
        prefs.mkdir(parents=True, exist_ok=True)
        (prefs / "user-settings.conf").write_text(json.dumps(ORCA_SETTINGS, indent=4))
        (prefs / "orca-customizations.py").write_text(ORCA_CUSTOMIZATIONS)
        self.log = session.folder / "logs" / "orca-debug.log"
        (tools := session.folder / "orca-tools").mkdir(exist_ok=True)
        (tools / "pgrep").write_text(PGREP)
        (tools / "pgrep").chmod(0o755)
        self.process: Process = session.start(
            "orca", ["orca", "--replace", f"--debug-file={self.log}"],
            {"PATH": f"{tools}:{session.env['PATH']}"}, as_user=True)
        self.read, self.carry, self.keys, self.reported = 0, "", 0, 0
        with stopped_on_failure(self.process):
            wait_until(lambda: "Screen reader on." in speech.texts(), "Orca to say it is on",
                       timeout=START)

    def keys_heard(self) -> int:
        """How many key events it has logged so far."""
        with open(self.log, "rb") as log:
            log.seek(self.read)
            new = log.read()
        self.read += len(new)
        text = self.carry + new.decode(errors="replace")
        self.keys += text.count(KEY_EVENT)
        self.carry = text[1 - len(KEY_EVENT):]
        return self.keys

    def progress(self) -> int:
        """How far its debug log has got."""
        return self.log.stat().st_size

    def new_errors(self) -> list[str]:
        """The Python errors it reported (log or output) since last asked, by their last line."""
        lines = (self.log.read_text(errors="replace") +
                 self.process.log.read_text(errors="replace")).splitlines()
        errors = [next((line for line in lines[i + 1:] if line and not line.startswith(" ")), "")
                  for i, line in enumerate(lines) if line.startswith("Traceback")]
        self.reported, new = len(errors), errors[self.reported:]
        return new
