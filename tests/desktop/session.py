"""A private desktop session: its folder, environment and processes, and waits that say why."""

import contextlib
import os
import re
import signal
import subprocess
import time
from collections.abc import Callable, Mapping, Sequence
from pathlib import Path
from typing import Any

# The desktop the checks are started from: none of its variables reach the session.
OUTSIDE = ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS",
           "AT_SPI_BUS_ADDRESS", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "QT_QPA_PLATFORM",
           "QT_SCALE_FACTOR", "QT_IM_MODULE", "SESSION_MANAGER")


def wait_until(probe: Callable[[], Any], what: str | Callable[[], str], timeout: float = 10,
               pause: Callable[[float], Any] = time.sleep,
               ignoring: tuple[type[Exception], ...] = ()) -> Any:
    """The first true value of probe(), tried for at most `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        with contextlib.suppress(*ignoring):
            if value := probe():
                return value
        if time.monotonic() > end:
            raise AssertionError(f"waited {timeout:g} s for {what() if callable(what) else what}")
        pause(0.05)


def settled(read: Callable[[], Any], what: str) -> Any:
    """What read() gives once two reads 0.1 s apart agree, as a window done painting."""
    seen = [read()]
    for _ in range(20):
        time.sleep(0.1)
        if (value := read()) == seen[-1]:
            return value
        seen.append(value)
    raise AssertionError(f"waited 2 s for {what} to stop changing")


class Process(subprocess.Popen[bytes]):
    """A program started in the session, in a process group of its own; its output in a log."""

    def __init__(self, name: str, argv: Sequence[str], log: Path, quiet: bool, **options: Any):
        with open(log, "wb") as output:
            super().__init__(argv, stdin=subprocess.DEVNULL, stdout=output, stderr=output,
                             start_new_session=True, **options)
        self.name, self.log, self.quiet, self.read = name, log, quiet, 0

    def activity(self) -> tuple[float, ...]:
        """The processor time it has used; while it waits for a processor, a value never seen."""
        stat = Path(f"/proc/{self.pid}/stat").read_text().rsplit(")", 1)[1].split()
        return (time.monotonic(),) if stat[0] == "R" else (int(stat[11]) + int(stat[12]),)

    def check_quiet(self, allowed: Sequence[str] = ()) -> None:
        """Fails if, quiet, it wrote a line since the last check that no pattern allows."""
        written = self.log.read_bytes()[self.read:]
        self.read += len(written)
        lines = [line for line in written.decode(errors="replace").splitlines()
                 if not any(re.search(pattern, line) for pattern in allowed)]
        assert not (self.quiet and lines), f"{self.name} wrote:\n    " + "\n    ".join(lines)

    def ends(self, after: str) -> int:
        """Waits for it to end by itself; its exit status."""
        wait_until(lambda: self.poll() is not None, f"{self.name} to end after {after}")
        return self.returncode

    def stop(self) -> None:
        """Ends it and whatever it started."""
        with contextlib.suppress(ProcessLookupError):
            os.killpg(self.pid, signal.SIGTERM)
            with contextlib.suppress(subprocess.TimeoutExpired):
                self.wait(5)
            os.killpg(self.pid, signal.SIGKILL)
        self.wait()


class Session:
    """A private folder and environment; `user_prefix` (setpriv's) runs what is `as_user`."""

    def __init__(self, folder: Path, user_prefix: Sequence[str] = ()):
        self.folder, self.user_prefix, self.processes = folder, list(user_prefix), list[Process]()
        for sub in ("home", "runtime", "logs"):
            (folder / sub).mkdir(mode=0o700, parents=True, exist_ok=True)
        self.env = {key: value for key, value in os.environ.items() if key not in OUTSIDE}
        self.env.update(LC_ALL="C.UTF-8", LANG="C.UTF-8", TZ="UTC", HOME=str(folder / "home"),
                        XDG_RUNTIME_DIR=str(folder / "runtime"))

    def start(self, name: str, argv: Sequence[str], env: Mapping[str, str | None] = {},
              quiet: bool = False, as_user: bool = False, **options: Any) -> Process:
        """Starts argv, `env` changing the session's (None removes); a quiet one must not write."""
        self.processes.append(Process(
            name, [*(self.user_prefix if as_user else []), *argv], quiet=quiet,
            log=self.folder / "logs" / f"{len(self.processes)}-{name}.log",
            env={key: value for key, value in dict(self.env, **env).items() if value is not None},
            **options))
        return self.processes[-1]

    def close(self) -> None:
        """Ends everything it started, last first; then checks each to have written nothing."""
        for process in reversed(self.processes):
            process.stop()
        for process in self.processes:
            process.check_quiet()

    def start_daemon(self, name: str, argv: Sequence[str], as_user: bool = False) -> tuple:
        """Starts a daemon that says a line on the descriptor "{fd}" of argv once ready."""
        with open(ready := self.folder / "logs" / f"{name}.ready", "w") as writing:
            process = self.start(name, [arg.format(fd=writing.fileno()) for arg in argv],
                                 as_user=as_user, pass_fds=(writing.fileno(),))
        said = wait_until(lambda: (line := ready.read_text()).endswith("\n") and line,
                          lambda: f"{name} to start; it wrote {process.log.read_text()!r}")
        return process, said.strip()
