"""The file manager among real faults on real mounts, run as a user without privileges."""

import errno
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unicodedata
from collections.abc import Callable, Iterator
from pathlib import Path

import pytest

from .a11y import Accessible, AccessibleApp, Atspi, children, name, role, showing, text, the, wait
from .conftest import Start, fill
from .mounts import Mounts, User, kernel_has, run, through_fuse
from .session import Session, settled, wait_until
from .x11 import Screen, XServer

TITLE = "Recherche de fichiers"
RUNTIME = "VornUtil"  # the title of the run-time error box
# The boxes of the file manager: its questions, then its refusals.
ASK_KILL = ("Confirmation", "Effacer le fichier ?")
ASK_RMDIR = ("Confirmation", "supprimer le dossier ?")
READ_ONLY = ("Erreur d'accès", "Ecriture impossible, le CD-Rom n'est pas accessible en écriture !")
NOT_EMPTY = ("Erreur", "Le répertoire désigné n'est pas vide !")
BAD_NAME = ("Erreur d'accès", "Nom de dossier incorrect !")
NOT_A_PROGRAM = ("Erreur", "Ce fichier n'est pas un programme : il ne peut pas être exécuté.")
# How soon the lists must show a change another program made, and what the bus may add.
LIVE = 1.0
BUS_DELAY = 0.5
USER = 5.0  # what a window may take to answer a person's choice on a loaded machine
Disk = dict[bytes, tuple[str, int, int]]
Opener = Callable[[Path], "FileManager"]
# A list that loses rows while the accessibility bus reads it: a read that asked for a row
# just gone is answered with nothing, and Qt says so.
pytestmark = pytest.mark.expects_output(r"^QAccessibleTable::child: Invalid index at: \d+ \d+$")


def runtime_error(number: int, description: str) -> tuple[str, str]:
    """The run-time error box: its title and text."""
    return RUNTIME, f"Erreur d'exécution '{number}':\n\n{description}"


def on_disk(folder: Path) -> Disk:
    """Every entry under `folder` by its bytes: its kind, a file's size and time of change."""
    found: Disk = {}
    root = os.fsencode(folder)
    for top, folders, files in os.walk(root):
        for entry in folders + files:
            path = os.path.join(top, entry)
            try:
                info = os.lstat(path)
            except OSError:  # listed by its volume, but not found by that name
                found[os.path.relpath(path, root)] = ("?", 0, 0)
                continue
            if os.path.isdir(path) and not os.path.islink(path):
                found[os.path.relpath(path, root)] = ("d", 0, 0)
            else:
                found[os.path.relpath(path, root)] = ("f", info.st_size, info.st_mtime_ns)
    return found


def readable(raw: bytes) -> str:
    """A plain name as the lists show it: one not UTF-8 read as Windows-1252, and marked."""
    try:
        return raw.decode()
    except UnicodeDecodeError:
        return raw.decode("cp1252", errors="replace") + " (codage non reconnu)"


def files_on_disk(folder: Path) -> list[str]:
    """The names of the files the file list shows in `folder`, read as it reads them: of the
    kind the folder gives each entry, looked at only where it gives none or a link."""
    with os.scandir(os.fsencode(folder)) as entries:
        return sorted(readable(entry.name) for entry in entries
                      if not entry.name.startswith(b".") and entry.is_file())


def labels(obj: Accessible) -> list[str]:
    """The names of the labels below `obj` that say something, depth first."""
    said = []
    for child in children(obj):
        if role(child) == "label" and name(child):
            said.append(name(child))
        said.extend(labels(child))
    return said


def centre(obj: Accessible) -> tuple[int, int]:
    """The screen point at the middle of an object."""
    box = obj.get_extents(Atspi.CoordType.SCREEN)
    return box.x + box.width // 2, box.y + box.height // 2


class FileManager:
    """The file manager window in front of a person, and what it shows over the bus."""

    def __init__(self, app: AccessibleApp, screen: Screen):
        self.app, self.screen = app, screen
        self.window = app.window(TITLE)
        # The window manager places the window once it shows: clicks wait until it stands.
        settled(lambda: centre(self.window), "the window's place")

    def list_named(self, label: str) -> Accessible:
        """The list named `label` ("Fichiers")."""
        return the(self.window, "list", label)

    def files(self) -> list[str]:
        """The names the file list shows."""
        return [name(item) for item in children(self.list_named("Fichiers"))]

    def folders(self) -> list[str]:
        """The names the folder list shows: the open folder's path, then its sub-folders."""
        return [name(item) for item in children(self.list_named("Dossiers"))]

    def drives(self) -> list[str]:
        """The volumes the drive list offers."""
        combo = the(self.window, "combo box", "Lecteurs")
        return [name(item) for popup in children(combo) for item in children(popup)]

    def field(self, label: str) -> str:
        """The text of the box named `label` ("Taille:")."""
        return text(the(self.window, "text", label))

    def click_file(self, shown: str) -> None:
        """Clicks the file showing `shown`."""
        item = wait(lambda: next((i for i in children(self.list_named("Fichiers"))
                                  if name(i) == shown), None), f"the file {shown!r} listed")
        self.screen.click(*centre(item))

    def open_folder(self, shown: str) -> None:
        """Double-clicks the folder showing `shown`."""
        item = wait(lambda: next((i for i in children(self.list_named("Dossiers"))
                                  if name(i) == shown), None), f"the folder {shown!r} listed")
        self.screen.click(*centre(item), times=2)

    def choose_drive(self, root: str) -> None:
        """Opens the drive list with a click and clicks the volume `root`."""
        combo = the(self.window, "combo box", "Lecteurs")
        self.screen.click(*centre(combo))
        item = wait(lambda: next((i for popup in children(combo) for i in children(popup)
                                  if name(i) == root and showing(i)), None),
                    f"the drive {root} offered")
        self.screen.click(*settled(lambda: centre(item), f"the drive {root} in the open list"))

    def press(self, caption: str) -> None:
        """Clicks the button `caption`."""
        self.screen.click(*centre(the(self.window, "push button", caption)))

    def launcher_opens(self, shortcut: str, title: str) -> None:
        """Clicks the launcher's title bar, presses `shortcut` and waits for `title` to show."""
        launcher = self.screen.titled(self.app.app.get_process_id(), "VornUtil")
        assert launcher, "no launcher shown"
        frame, area = self.screen.geometry(launcher, framed=True), self.screen.geometry(launcher)
        self.screen.click(area.x + area.width // 4, frame.y + (area.y - frame.y) // 2)
        wait_until(lambda: self.screen.has_focus(launcher), "the launcher to take the keyboard")
        self.screen.keys(shortcut)
        self.app.window(title)

    def box(self) -> tuple[str, str, Accessible]:
        """The box in front of the window: its title, its text and itself."""
        def front() -> tuple[str, str, Accessible] | None:
            for title, obj in self.app.windows().items():
                if role(obj) in ("alert", "dialog"):
                    return title, "\n".join(labels(obj)), obj
            return None
        title, said, box = wait(front, lambda: f"a box; shown: {list(self.app.windows())}")
        settled(lambda: centre(box), "the box's place")
        return title, said, box

    def answer(self, expected: tuple[str, str], button: str = "OK") -> None:
        """Checks the box in front, then clicks its button `button`."""
        title, said, obj = self.box()
        assert (title, said) == expected, f"the box says {(title, said)!r}, not {expected!r}"
        self.screen.click(*centre(the(obj, "push button", button)))
        self.gone(obj)

    def gone(self, box: Accessible) -> None:
        """Waits for the box to close."""
        wait(lambda: all(o.path != box.path for o in self.app.windows().values()),
             "the box to close")

    def type_name(self, typed: str) -> None:
        """Types a folder name into the box that asks for it and confirms it."""
        title, _, obj = self.box()
        assert title == "Précision"
        self.screen.type(typed)
        self.screen.keys("Return")
        self.gone(obj)

    def shows(self, expected: Callable[[], list[str]], what: str,
              within: float = LIVE + BUS_DELAY) -> float:
        """Waits for the file list to show what `expected` gives; how long it took."""
        start = time.monotonic()
        wait(lambda: sorted(self.files()) == sorted(expected()),
             lambda: f"{what}: the list shows {self.files()!r}, not {sorted(expected())!r}",
             within)
        return time.monotonic() - start


@pytest.fixture(scope="session")
def user() -> Iterator[User]:
    """A throwaway user without privileges, with a folder of its own everyone may traverse."""
    (folder := Path(tempfile.mkdtemp(prefix="vornutil-user-"))).chmod(0o755)
    try:
        yield User(folder)
    finally:
        shutil.rmtree(folder)


@pytest.fixture
def mounts() -> Iterator[Mounts]:
    """A test's scratch folder and the file systems mounted in it, undone whatever happens."""
    made = Mounts()
    try:
        yield made
    finally:
        made.close()


@pytest.fixture(scope="session")
def session(user: User) -> Iterator[Session]:
    """The private session, its daemons and the program run as the user without privileges."""
    session = Session(user.folder / "session", user.prefix)
    session.env.update(user.env)
    user.give(session.folder)
    yield session
    session.close()


@pytest.fixture
def open_files(xserver: XServer, bus: str, program: Start, user: User) -> Opener:
    """Starts the program as the user in a folder and opens the file manager by its shortcut."""
    xserver.use_window_manager("Metacity")
    screen = xserver.screen

    def start(folder: Path) -> FileManager:
        process = program(folder, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        app = AccessibleApp(process.pid)
        app.window("VornUtil")
        status = Path(f"/proc/{process.pid}/status").read_text()
        assert f"Uid:\t{user.uid}\t{user.uid}" in status, "the program does not run as the user"
        assert "CapEff:\t0000000000000000" in status, "the program has capabilities"
        wait_until(lambda: screen.has_focus(screen.titled(process.pid, "VornUtil")),
                   "the launcher to take the keyboard")
        screen.keys("ctrl+r")
        return FileManager(app, screen)

    return start


def test_kill_in_a_folder_without_write_permission(mounts: Mounts, open_files: Opener,
                                                   user: User) -> None:
    folder = mounts.folder("ferme")
    (folder / "a.txt").write_bytes(b"12345")
    folder.chmod(0o555)
    before = on_disk(folder)
    files = open_files(folder)
    files.click_file("a.txt")
    files.press("Kill")
    files.answer(ASK_KILL)
    files.answer(runtime_error(70, "Permission refusée"))
    assert on_disk(folder) == before
    files.shows(lambda: files_on_disk(folder), "after the refusal")


def needs_loops(mounts: Mounts, kind: str = "ext4") -> None:
    """Skips a case whose image needs a loop device or file system the kernel lacks."""
    if not mounts.loops_work:
        pytest.skip("no loop device here: the disk image cannot be mounted")
    if not kernel_has(kind):
        pytest.skip(f"no {kind} file system in this kernel: the disk image cannot be mounted")


def test_kill_on_a_read_only_ext4(mounts: Mounts, open_files: Opener, user: User) -> None:
    needs_loops(mounts)
    volume = mounts.image("ext4", "ext4", 8, make=["-q"])
    (volume / "a.txt").write_bytes(b"12345")
    user.give(volume)
    mounts.remount_read_only(volume)
    before = on_disk(volume)
    files = open_files(volume)
    files.click_file("a.txt")
    files.press("Kill")
    files.answer(ASK_KILL)
    files.answer(READ_ONLY)
    assert on_disk(volume) == before
    files.shows(lambda: files_on_disk(volume), "after the refusal")


def test_make_folder_on_a_read_only_bind_mount(mounts: Mounts, open_files: Opener,
                                               user: User) -> None:
    source = mounts.tmpfs("source", [f"uid={user.uid}", f"gid={user.gid}"])
    (source / "a.txt").write_bytes(b"1")
    seen = mounts.bind(source, "vue")
    before = on_disk(seen)
    files = open_files(seen)
    files.press("Créer dossier")
    files.type_name("Nouveau")
    files.answer(READ_ONLY)
    assert on_disk(seen) == before


def test_remove_folder_after_a_read_only_remount(mounts: Mounts, open_files: Opener,
                                                 user: User) -> None:
    volume = mounts.tmpfs("volume", [f"uid={user.uid}", f"gid={user.gid}"])
    (volume / "vide").mkdir()
    user.give(volume)
    files = open_files(volume)
    files.open_folder("vide")
    wait(lambda: files.folders()[-1] == "vide", "the folder vide opened")
    mounts.remount_read_only(volume)  # while the window shows it
    before = on_disk(volume)
    files.press("RmDir")
    files.answer(ASK_RMDIR)
    files.answer(READ_ONLY)
    assert on_disk(volume) == before


def fill_up(folder: Path) -> None:
    """Writes files into `folder` until its volume takes no more, in room or in entries."""
    for size in (1 << 20, 4096, 1):
        try:
            for number in range(100000):
                with open(folder / f"plein{size}-{number}", "wb") as file:
                    file.write(bytes(size))
        except OSError as full:
            if full.errno not in (errno.ENOSPC, errno.EDQUOT):
                raise


def full_ext4(mounts: Mounts, user: User) -> Path:
    """A folder of the user's on an ext4 volume with no room left."""
    needs_loops(mounts)
    (folder := mounts.image("plein", "ext4", 8, make=["-q", "-m", "0"]) / "dossier").mkdir()
    user.give(folder.parent)
    fill_up(folder)
    return folder


def tmpfs_out_of_inodes(mounts: Mounts, user: User) -> Path:
    """The user's memory volume that can hold no more entries."""
    fill_up(volume := mounts.tmpfs("inodes", ["nr_inodes=16", f"uid={user.uid}",
                                              f"gid={user.gid}"]))
    user.give(volume)
    return volume


@pytest.mark.parametrize("full", [full_ext4, tmpfs_out_of_inodes], ids=lambda full: full.__name__)
def test_make_folder_on_a_full_volume(mounts: Mounts, open_files: Opener, user: User,
                                      full: Callable[[Mounts, User], Path]) -> None:
    before = on_disk(folder := full(mounts, user))
    files = open_files(folder)
    files.press("Créer dossier")
    files.type_name("Nouveau")
    files.answer(runtime_error(61, "Disque plein"))
    assert on_disk(folder) == before


def test_a_disk_that_answers_with_io_errors(mounts: Mounts, open_files: Opener,
                                            user: User) -> None:
    if not mounts.fuse_works:
        pytest.skip("no FUSE in this kernel: no disk that fails its reads can be made")
    # What the disk holds; a file and a folder of it can no longer be read.
    platter = fill(mounts.folder("plateau"), {
        "bon.txt": b"123", "illisible.txt": b"12345", "abime": {"dedans.txt": b"1"}, "sain": {}})
    user.give(platter)
    before = on_disk(platter)
    disk = mounts.failing_disk("disque", platter, ["illisible.txt", "abime"])
    files = open_files(disk)
    files.shows(lambda: ["bon.txt", "illisible.txt"], "the disk's files")
    assert files.folders()[-2:] == ["abime", "sain"]
    files.click_file("bon.txt")
    wait(lambda: files.field("Taille:") == "3", "the size of the file the disk still reads")
    not_ready = runtime_error(71, "Disque non prêt")
    files.click_file("illisible.txt")
    files.answer(not_ready)
    files.press("Kill")
    files.answer(ASK_KILL)
    files.answer(not_ready)
    files.open_folder("abime")
    files.answer(not_ready)
    assert files.folders()[-3:] == ["disque", "abime", "sain"]
    files.shows(lambda: ["bon.txt", "illisible.txt"], "the disk's files after the errors")
    assert on_disk(platter) == before


def test_a_fuse_program_that_no_longer_answers(mounts: Mounts, open_files: Opener,
                                               user: User) -> None:
    if not mounts.fuse_works:
        pytest.skip("no FUSE in this kernel: no volume that stops answering can be made")
    folder = fill(mounts.folder("ici"), {"a.txt": b"123"})
    user.give(folder)
    silent = mounts.failing_disk("muet", fill(mounts.folder("source"), {"b.txt": b"1"}), [])
    server = mounts.servers[-1]
    server.send_signal(signal.SIGSTOP)  # as a network volume whose server hangs
    try:
        files = open_files(folder)
        files.shows(lambda: ["a.txt"], "the files while a volume does not answer", USER)
        assert str(silent) not in files.drives()
        files.click_file("a.txt")
        wait(lambda: files.field("Taille:") == "3", "the size of a file on an answering volume")
        # Its folder opened from the folder list is refused as a disk not ready, in a few
        # seconds; the list stays where it was and the launcher goes on answering.
        files.open_folder(mounts.base.name)
        files.open_folder(silent.name)
        files.answer(runtime_error(71, "Disque non prêt"))
        files.shows(lambda: files_on_disk(mounts.base), "the folder the list was on", USER)
        files.launcher_opens("ctrl+h", "Horloge")
        # Unmounted lazily, as one gets rid of a volume that hangs, and another mounted at its
        # folder: the new one is offered, though the silent one has still not answered.
        mounts.unmount(silent, lazy=True)
        mounts.failing_disk("relais", mounts.folder("source2"), [], over=silent)
        wait(lambda: str(silent) in files.drives(), "the volume mounted where one fell silent",
             LIVE + BUS_DELAY)
    finally:
        server.send_signal(signal.SIGCONT)


def not_utf8(raw: bytes) -> bool:
    """Whether a name's bytes are not UTF-8."""
    try:
        raw.decode()
    except UnicodeDecodeError:
        return True
    return False


def test_fat_stick_names_and_refusals(mounts: Mounts, open_files: Opener, user: User) -> None:
    if not mounts.fat_works():
        pytest.skip("no FAT file system in this kernel and no FUSE: no FAT stick can be mounted")
    stick = mounts.fat("cle", fill(mounts.folder("contenu"), {
        "autre.txt": b"1", "élève.txt": b"123", "dossier": {"sous": {}}}), user)
    # The short name "élève.txt" is in the stick's code page: not UTF-8 as the system gives it.
    names = os.listdir(os.fsencode(stick))
    latin = next(raw for raw in names if not_utf8(raw))
    folder = next(os.fsdecode(raw) for raw in names if raw.lower() == b"dossier")
    before = on_disk(stick)
    files = open_files(stick)
    files.shows(lambda: files_on_disk(stick), "the stick's files")
    assert readable(latin) in files.files()
    exists = runtime_error(58, "Ce fichier existe déjà")  # in another case: FAT tells no case
    for typed, refusal in [("a?b", BAD_NAME), ("Dossier", exists)]:
        files.press("Créer dossier")
        files.type_name(typed)
        files.answer(refusal)
        assert on_disk(stick) == before, f"after the folder {typed!r} refused"
    files.click_file(readable(latin))
    if through_fuse(stick):
        # fusefat lists a short name in its code page, but finds no file by that name.
        files.answer(runtime_error(53, "Fichier introuvable"))
        assert on_disk(stick) == before
    else:
        wait(lambda: files.field("Taille:") == "3", "the size of the Latin-1 file")
        files.press("Kill")
        files.answer(ASK_KILL)
        del before[latin]
        assert on_disk(stick) == before
    files.shows(lambda: files_on_disk(stick), "the stick's files after the Latin-1 one")
    files.open_folder(folder)
    files.press("RmDir")
    files.answer(ASK_RMDIR)
    files.answer(runtime_error(75, "Erreur d'accès au chemin ou au fichier"))
    assert on_disk(stick) == before


def test_files_another_program_creates_and_deletes(mounts: Mounts, open_files: Opener,
                                                   user: User) -> None:
    folder = mounts.folder("partage")
    (folder / "a.txt").write_bytes(b"12345")
    (folder / "b.txt").write_bytes(b"1")
    user.give(folder)
    files = open_files(folder)
    files.click_file("a.txt")
    wait(lambda: files.field("Taille:") == "5", "the size of a.txt")
    (folder / "nouveau.txt").write_bytes(b"")
    files.shows(lambda: files_on_disk(folder), "a file created by another program")
    (folder / "a.txt").unlink()  # the selected one
    files.shows(lambda: files_on_disk(folder), "the selected file deleted by another program")
    assert (files.field("A été créé le:"), files.field("Taille:")) == ("", "")


def churn(folder: Path) -> subprocess.Popen[bytes]:
    """Another program: a file created in `folder` every 10 ms and each removed 40 ms later."""
    script = ("import os, time\n"
              "n = 0\n"
              "while True:\n"
              "    open(f'passe{n % 8}.tmp', 'w').close()\n"
              "    try:\n"
              "        os.unlink(f'passe{(n + 4) % 8}.tmp')\n"
              "    except FileNotFoundError:\n"
              "        pass\n"
              "    n += 1\n"
              "    time.sleep(0.01)\n")
    return subprocess.Popen(["python3", "-c", script], cwd=folder)


def test_ten_thousand_files_while_others_come_and_go(mounts: Mounts, open_files: Opener,
                                                     user: User) -> None:
    folder = mounts.folder("nombreux")
    for number in range(10000):
        (folder / f"f{number:05}.txt").write_bytes(b"")
    (folder / "f05000.txt").write_bytes(b"1234567")
    user.give(folder)
    files = open_files(folder)
    listed = files.list_named("Fichiers")
    wait(lambda: listed.get_child_count() == 10000, "the 10,000 files listed", 20)
    at = lambda index: name(listed.get_child_at_index(index))  # noqa: E731
    other = churn(folder)
    try:
        # The files that come and go sort after the others: the first rows stay in place.
        start = time.monotonic()
        (folder / "f00001.txt").unlink()
        wait(lambda: at(1) == "f00002.txt", "the file deleted by another program to leave",
             LIVE + BUS_DELAY)
        print(f"deletion shown after {time.monotonic() - start:.2f} s")
        files.click_file("f00000.txt")
        files.screen.type("f05000")
        wait(lambda: files.field("Taille:") == "7", "f05000.txt chosen by typing its name")
        files.press("Kill")
        files.answer(ASK_KILL)
        wait(lambda: at(4999) == "f05001.txt", "the file deleted to leave the list")
        assert not (folder / "f05000.txt").exists() and (folder / "f05001.txt").exists()
    finally:
        other.terminate()
        other.wait()
    on_the_disk = files_on_disk(folder)
    wait(lambda: listed.get_child_count() == len(on_the_disk), "the list to settle", 5)
    assert [at(index) for index in range(len(on_the_disk))] == on_the_disk


def test_a_stick_mounted_and_pulled_out(mounts: Mounts, open_files: Opener, user: User) -> None:
    needs_loops(mounts)
    media = mounts.folder("media")
    (media / "note.txt").write_bytes(b"1")
    user.give(media)
    files = open_files(media)
    before = files.drives()
    stick = mounts.image("media/CLE", "ext4", 8, make=["-q"])
    (stick / "photo.jpg").write_bytes(b"123")
    user.give(stick)
    root = str(stick)
    wait(lambda: root in files.drives(), f"the stick {root} among the drives", LIVE + BUS_DELAY)
    files.choose_drive(root)
    files.shows(lambda: ["photo.jpg"], "the stick's files", USER)
    mounts.unmount(stick, lazy=True)  # pulled out while shown
    stick.rmdir()
    wait(lambda: files.drives() == before, lambda: f"the drives {files.drives()} after the stick "
         "was pulled out", LIVE + BUS_DELAY)
    files.shows(lambda: files_on_disk(media), "the nearest folder that exists")
    assert files.folders()[-1] == "media"


# Names that hide something, each with its own size, and how the list must show them.
LOOKALIKES = [
    (b"\xe9l\xe8ve.txt", "élève.txt (codage non reconnu)", 1),
    ("élève.txt".encode(), "élève.txt", 2),
    (unicodedata.normalize("NFD", "élève.txt").encode(),
     unicodedata.normalize("NFD", "élève.txt") + " (forme décomposée)", 3),
    (b"note.txt", "note.txt", 4),
    (b"note.txt ", "note.txt␣", 5),
    (b"a\nb.txt", "a⏎b.txt", 6),
]


def test_names_that_hide_something(mounts: Mounts, open_files: Opener, user: User) -> None:
    folder = mounts.folder("noms")
    for raw, _, size in LOOKALIKES:
        with open(os.fsencode(folder) + b"/" + raw, "wb") as file:
            file.write(bytes(size))
    user.give(folder)
    files = open_files(folder)
    files.shows(lambda: [shown for _, shown, _ in LOOKALIKES], "every name, each told apart")
    for _, shown, size in LOOKALIKES:
        files.click_file(shown)
        wait(lambda: files.field("Taille:") == str(size),
             lambda: f"the size of {shown!r}: {files.field('Taille:')!r}, not {size}")
    left = dict((raw, (shown, size)) for raw, shown, size in LOOKALIKES)
    for raw in (unicodedata.normalize("NFD", "élève.txt").encode(), b"note.txt "):
        before = on_disk(folder)
        files.click_file(left[raw][0])
        wait(lambda: files.field("Taille:") == str(left[raw][1]), "the file to kill chosen")
        files.press("Kill")
        files.answer(ASK_KILL)
        del left[raw], before[raw]
        files.shows(lambda: [shown for shown, _ in left.values()], "after Kill")
        assert on_disk(folder) == before
    # A folder whose name is not UTF-8 opens, and its own files are listed and deleted.
    inside = os.fsencode(folder) + b"/\xe9t\xe9"
    os.mkdir(inside)
    with open(inside + b"/r\xe9sum\xe9.txt", "wb") as file:
        file.write(bytes(9))
    user.give(folder)
    files.open_folder("été (codage non reconnu)")
    files.shows(lambda: ["résumé.txt (codage non reconnu)"], "the files of the Latin-1 folder")
    files.click_file("résumé.txt (codage non reconnu)")
    wait(lambda: files.field("Taille:") == "9", "the size of the file in the Latin-1 folder")
    files.press("Kill")
    files.answer(ASK_KILL)
    files.shows(lambda: [], "after Kill in the Latin-1 folder")
    assert os.listdir(inside) == []


@pytest.mark.parametrize("content, expected", [
    ({".cache": b"x"}, runtime_error(75, "Erreur d'accès au chemin ou au fichier")),
    ({"enfant/": b""}, runtime_error(75, "Erreur d'accès au chemin ou au fichier")),
    ({b"\xe9t\xe9.txt": b"x"}, NOT_EMPTY),
], ids=["hidden file", "sub-folder", "Latin-1 file"])
def test_remove_a_folder_that_is_not_empty(mounts: Mounts, open_files: Opener, user: User,
                                           content: dict[str | bytes, bytes],
                                           expected: tuple[str, str]) -> None:
    folder = mounts.folder("parent/dossier")
    for entry, data in content.items():
        path = os.fsencode(folder) + b"/" + (entry if isinstance(entry, bytes) else entry.encode())
        if path.endswith(b"/"):
            os.mkdir(path)
        else:
            with open(path, "wb") as file:
                file.write(data)
    user.give(folder.parent)
    before = on_disk(folder.parent)
    files = open_files(folder)
    files.press("RmDir")
    files.answer(ASK_RMDIR)
    files.answer(expected)
    assert on_disk(folder.parent) == before
    files.shows(lambda: files_on_disk(folder), "after the refusal")


@pytest.mark.parametrize("marked, attribute", [("dossier", "+i"), ("", "+a")],
                         ids=["immutable", "in an append-only folder"])
def test_remove_a_marked_folder_that_is_not_empty(mounts: Mounts, open_files: Opener, user: User,
                                                  marked: str, attribute: str) -> None:
    needs_loops(mounts)
    volume = mounts.image("ext4", "ext4", 8, make=["-q"])
    folder = volume / "dossier"
    (folder / "enfant").mkdir(parents=True)
    user.give(volume)
    run("chattr", attribute, str(volume / marked))
    before = on_disk(volume)
    files = open_files(folder)
    files.press("RmDir")
    files.answer(ASK_RMDIR)
    files.answer(runtime_error(70, "Permission refusée"))
    assert on_disk(volume) == before


def test_remove_a_folder_emptied_by_another_program(mounts: Mounts, open_files: Opener,
                                                    user: User) -> None:
    folder = mounts.folder("parent/pleine")
    (folder / "p1.txt").write_bytes(b"1")
    user.give(folder.parent)
    files = open_files(folder)
    files.shows(lambda: ["p1.txt"], "the folder's file")
    (folder / "p1.txt").unlink()
    files.press("RmDir")
    files.answer(ASK_RMDIR)
    wait(lambda: not folder.exists(), "the folder removed")
    wait(lambda: files.folders()[-1] == "parent", "the lists on the folder above")


@pytest.mark.parametrize("content", [b"echo bonjour\n", b""], ids=["text", "empty"])
def test_start_a_file_that_is_no_program(mounts: Mounts, open_files: Opener, user: User,
                                         content: bytes) -> None:
    folder = mounts.folder("programmes")
    (folder / "lancer").write_bytes(content)
    (folder / "lancer").chmod(0o755)
    user.give(folder)
    before = on_disk(folder)
    files = open_files(folder)
    files.click_file("lancer")
    files.press("Exécuter")
    files.answer(NOT_A_PROGRAM)
    assert on_disk(folder) == before


def test_kill_a_file_deleted_while_asked(mounts: Mounts, open_files: Opener, user: User) -> None:
    folder = mounts.folder("question")
    (folder / "a.txt").write_bytes(b"1")
    (folder / "b.txt").write_bytes(b"2")
    user.give(folder)
    files = open_files(folder)
    files.click_file("a.txt")
    files.press("Kill")
    title, said, _ = files.box()
    assert (title, said) == ASK_KILL
    (folder / "a.txt").unlink()
    files.answer(ASK_KILL)
    title, said, box = files.box()
    # The lists already show the disk while the box tells the error.
    files.shows(lambda: ["b.txt"], "while the error box is open")
    files.answer(runtime_error(53, "Fichier introuvable"))
    assert files_on_disk(folder) == ["b.txt"]
