"""Fixtures of the real-session checks: a private session, its servers, buses and the program."""

import os
import shutil
import tempfile
from collections.abc import Callable, Iterator, Mapping
from pathlib import Path
from typing import Any

import pytest

from .session import OUTSIDE, Process, Session
from .x11 import XServer

Start = Callable[..., Process]
FILE_TIME = 1796722887  # 2026-12-08 09:41:27 UTC: the date of every file the program is shown
# The folder the program starts in, which the file manager opens on: a small, typical one.
DOCUMENTS = {"Courrier": {}, "Musique": {}, "Images": {
    name: 180000 + len(name) * 1013 for name in ("au marché.jpg", "la plage.jpg", "le phare.jpg")},
    **{name: 1000 + len(name) * 97 for name in (
        "budget 2026.ods", "lettre à Paul.txt", "liste des courses.txt", "recette du gâteau.odt")}}
# A session bus that root may join too, whoever runs it; its services start from the usual places.
BUS = ('<busconfig><type>session</type><listen>unix:dir={}</listen><auth>EXTERNAL</auth>'
       '<standard_session_servicedirs/><policy context="default"><allow user="root"/>'
       '<allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>'
       '<allow own="*"/></policy></busconfig>')


def pytest_addoption(parser: pytest.Parser) -> None:
    """--shots DIR: where the screenshots go; --desktop NAME: the desktop the session claims."""
    parser.addoption("--shots", type=Path, help="the folder the screenshots go into")
    parser.addoption("--desktop", help="XDG_CURRENT_DESKTOP of every program started")


def pytest_configure(config: pytest.Config) -> None:
    """Declares the marker of a test that expects the program or a window manager to write."""
    config.addinivalue_line("markers", "expects_output(pattern, ...): lines it may write")


@pytest.fixture(scope="session")
def session(tmp_path_factory: pytest.TempPathFactory,
            pytestconfig: pytest.Config) -> Iterator[Session]:
    """The private session every program of the run starts in; all it started ends with it."""
    session = Session(tmp_path_factory.mktemp("session"))
    if desktop := pytestconfig.getoption("--desktop"):
        session.env["XDG_CURRENT_DESKTOP"] = desktop
    yield session
    session.close()


@pytest.fixture(scope="session")
def xserver(session: Session) -> Iterator[XServer]:
    """The virtual X server; the programs started after it show on it."""
    session.env["DISPLAY"] = (server := XServer(session)).screen.name
    yield server
    server.screen.display.close()


@pytest.fixture(scope="session")
def bus(session: Session, xserver: XServer) -> str:
    """The session bus, whose accessibility bus knows the display; libatspi here joins it too."""
    (config := session.folder / "bus.conf").write_text(BUS.format(session.folder / "runtime"))
    _, address = session.start_daemon("dbus-daemon", [
        "dbus-daemon", "--nofork", "--print-address={fd}", f"--config-file={config}"],
        as_user=True)
    for key in OUTSIDE:
        os.environ.pop(key, None)
    session.env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    return address


@pytest.fixture(scope="session")
def shots(request: pytest.FixtureRequest, tmp_path_factory: pytest.TempPathFactory) -> Path:
    """The folder the screenshots go into."""
    return request.config.getoption("shots") or tmp_path_factory.mktemp("shots")


def fill(folder: Path, tree: Mapping[str, Any]) -> Path:
    """Puts `tree` into `folder`: a file of each size given, a folder for each tree."""
    folder.mkdir(parents=True, exist_ok=True)
    for entry, content in tree.items():
        if isinstance(content, dict):
            fill(folder / entry, content)
        else:
            (folder / entry).write_bytes(bytes(content))
        os.utime(folder / entry, (FILE_TIME, FILE_TIME))
    return folder


@pytest.fixture(scope="session")
def documents() -> Iterator[Callable[[str, Mapping[str, Any]], Path]]:
    """Makes a folder for the file manager under a new temporary one named short, as mktemp's."""
    made: list[Path] = []

    def make(path: str, tree: Mapping[str, Any]) -> Path:
        made.append(Path(tempfile.mkdtemp(prefix="tmp.")))
        return fill(made[-1] / path, tree)

    yield make
    for folder in made:
        shutil.rmtree(folder)


@pytest.fixture(scope="session")
def folder(documents: Callable[[str, Mapping[str, Any]], Path]) -> Path:
    """The folder the program starts in."""
    return documents("Bureau/Documents", DOCUMENTS)


@pytest.fixture(scope="session")
def vornutil() -> Path:
    """The program under test: VORNUTIL, or the one built in build/."""
    program = Path(os.environ.get("VORNUTIL") or Path(__file__).parents[2] / "build/src/vornutil")
    assert program.is_file(), f"no program at {program}"
    return program.resolve()


@pytest.fixture(scope="module")
def kept() -> Iterator[dict[Any, Process]]:
    """The program a module's tests hand on to each other, by how it was started."""
    yield (kept := dict[Any, Process]())
    for process in kept.values():
        process.stop()


@pytest.fixture
def program(request: pytest.FixtureRequest, session: Session, bus: str, vornutil: Path,
            kept: dict[Any, Process]) -> Start:
    """Starts the program(cwd, **env changes), or hands on the one running if no test failed."""
    # Like every desktop session it has a session bus: without one, the program's look-up of the
    # accessibility bus has libdbus launch a bus of its own, which outlives the check.
    def start(cwd: Path | None = None, **env: str | None) -> Process:
        key = (cwd, *sorted(env.items()), request.session.testsfailed)
        if key not in kept or kept[key].poll() is not None:
            for process in kept.values():
                process.stop()
            kept.clear()
            kept[key] = session.start("vornutil", [str(vornutil)], env, quiet=True, as_user=True,
                                      cwd=cwd)
        return kept[key]

    return start


@pytest.fixture(autouse=True)
def quiet(request: pytest.FixtureRequest, session: Session) -> Iterator[None]:
    """Fails the test during which a quiet process wrote a line its expects_output mark denies."""
    yield
    for process in session.processes:
        process.check_quiet([pattern for mark in request.node.iter_markers("expects_output")
                             for pattern in mark.args])
