"""Real file systems made and undone for a check, and a throwaway user to run the program as."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from collections.abc import Sequence
from pathlib import Path

FAILING_DISK = Path(__file__).with_name("failing_disk.py")


def mount_table() -> list[tuple[Path, str]]:
    """Every mount point and the type of its file system, from the mount table itself."""
    with open("/proc/self/mountinfo", "rb") as table:
        rows = [line.split() for line in table]
    # The point, its blanks and backslashes in octal, is the fifth field; the type follows "-".
    return [(Path(os.fsdecode(row[4].decode("unicode_escape").encode("latin-1"))),
             row[row.index(b"-") + 1].decode()) for row in rows]


def mounted_under(folder: Path) -> list[Path]:
    """The mount points at or under `folder`, deepest first."""
    points = [path for path, _ in mount_table() if path == folder or folder in path.parents]
    return sorted(points, key=lambda p: len(p.parts), reverse=True)


def through_fuse(path: Path) -> bool:
    """Whether the volume at `path` is mounted through FUSE."""
    return any(point == path and kind.startswith("fuse") for point, kind in mount_table())


def run(*argv: str, env: dict[str, str] | None = None) -> None:
    """Runs a system command, its output kept for the error it may raise."""
    subprocess.run(argv, check=True, capture_output=True, env=env)


def kernel_has(kind: str) -> bool:
    """Whether the kernel knows the file system `kind`."""
    return kind in Path("/proc/filesystems").read_text().split()


class User:
    """A user id no account has, named through nss_wrapper; `prefix` runs a command as it."""

    def __init__(self, folder: Path, uid: int = 4242):
        self.folder = folder
        self.uid = self.gid = uid
        self.home = folder / "home"
        self.home.mkdir(parents=True, exist_ok=True)
        os.chown(self.home, uid, uid)
        passwd, group = folder / "passwd", folder / "group"
        passwd.write_text(f"root:x:0:0:root:/root:/bin/sh\n"
                          f"essai:x:{uid}:{uid}:Essai:{self.home}:/bin/sh\n")
        group.write_text(f"root:x:0:\nessai:x:{uid}:\n")
        library = next(Path("/usr/lib").glob("*/libnss_wrapper.so"), None)  # the machine's kind
        assert library, "no libnss_wrapper.so: the package libnss-wrapper is not installed"
        self.env = {"LD_PRELOAD": str(library), "NSS_WRAPPER_PASSWD": str(passwd),
                    "NSS_WRAPPER_GROUP": str(group), "USER": "essai", "LOGNAME": "essai"}
        self.prefix = ["setpriv", f"--reuid={uid}", f"--regid={uid}", "--clear-groups",
                       "--inh-caps=-all", "--bounding-set=-all", "--"]

    def give(self, path: Path) -> None:
        """Makes `path` and what it holds the user's."""
        for folder, folders, files in os.walk(path):
            os.chown(folder, self.uid, self.gid)
            for name in folders + files:
                os.chown(os.path.join(folder, name), self.uid, self.gid, follow_symlinks=False)


class Mounts:
    """The file systems a test mounts in a scratch folder, and the images behind them."""

    def __init__(self) -> None:
        self.base = Path(tempfile.mkdtemp(prefix="pannes-"))
        self.base.chmod(0o755)
        (self.base / "images").mkdir()
        self.loops_work = self._loops_work()
        self.fuse_works = Path("/dev/fuse").exists() and kernel_has("fuse")
        self.servers: list[subprocess.Popen[bytes]] = []

    @staticmethod
    def _loops_work() -> bool:
        """Whether the kernel lends loop devices here."""
        try:
            run("losetup", "--find")
        except (subprocess.CalledProcessError, FileNotFoundError):
            return False
        return True

    def folder(self, name: str) -> Path:
        """A new empty folder `name` in the scratch folder."""
        path = self.base / name
        path.mkdir(parents=True)
        return path

    def tmpfs(self, name: str, options: Sequence[str] = ()) -> Path:
        """A memory file system mounted on a new folder `name`."""
        path = self.folder(name)
        run("mount", "-t", "tmpfs", "-o", ",".join(["mode=0755", *options]), "vornutil", str(path))
        return path

    def _image(self, name: str, kind: str, megabytes: int, make: Sequence[str] = ()) -> Path:
        """A new disk image of `kind` for the folder `name`, empty."""
        image = self.base / "images" / f"{name.replace('/', '-')}.img"
        with open(image, "wb") as file:
            file.truncate(megabytes << 20)
        run(f"mkfs.{kind}", *make, str(image))
        return image

    def image(self, name: str, kind: str, megabytes: int, options: Sequence[str] = (),
              make: Sequence[str] = ()) -> Path:
        """A new disk image of `kind` mounted through a loop device on a new folder `name`."""
        image = self._image(name, kind, megabytes, make)
        path = self.folder(name)
        run("mount", "-t", kind, "-o", ",".join(["loop", *options]), str(image), str(path))
        return path

    def fat_works(self) -> bool:
        """Whether a FAT image can be mounted here: by the kernel, else through FUSE."""
        return (self.loops_work and kernel_has("vfat")) or self.fuse_works

    def fat(self, name: str, content: Path, user: User) -> Path:
        """A FAT stick holding a copy of `content`, written as a Windows machine writes it
        (mtools: a short name in the stick's code page 850), mounted on a new folder `name` for
        `user`: by the kernel where it has a FAT driver, else through FUSE (fusefat, writable)."""
        image = self._image(name, "vfat", 8)
        tools = {**os.environ, "MTOOLS_SKIP_CHECK": "1", "LC_ALL": "C.UTF-8"}
        run("mcopy", "-s", "-i", str(image), *map(str, content.iterdir()), "::", env=tools)
        path = self.folder(name)
        owner = [f"uid={user.uid}", f"gid={user.gid}"]
        if self.loops_work and kernel_has("vfat"):
            options = ["loop", *owner, "codepage=850", "iocharset=iso8859-1", "shortname=mixed"]
            run("mount", "-t", "vfat", "-o", ",".join(options), str(image), str(path))
        else:  # it goes on in the background: its output goes to a file, not to a pipe to wait on
            with open(self.base / f"{name.replace('/', '-')}.log", "wb") as log:
                subprocess.run(["fusefat", "-o", ",".join(["rw+", "allow_other", *owner]),
                                str(image), str(path)], check=True, stdout=log, stderr=log)
        return path

    def failing_disk(self, name: str, source: Path, failing: Sequence[str],
                     over: Path | None = None) -> Path:
        """`source` at a new folder `name` (or at the folder `over`) through a FUSE file system
        whose `failing` entries answer EIO (failing_disk.py), for every user; it stops once
        unmounted."""
        path = over or self.folder(name)
        with open(self.base / f"{name.replace('/', '-')}.log", "wb") as log:
            self.servers.append(server := subprocess.Popen(
                [sys.executable, str(FAILING_DISK), str(source), str(path), *failing],
                stdout=log, stderr=subprocess.STDOUT))
        for _ in range(100):
            if path in mounted_under(path):
                return path
            if server.poll() is not None:
                break
            time.sleep(0.05)
        raise RuntimeError(f"the failing disk was not mounted: {log.name}: "
                           f"{Path(log.name).read_text()}")

    def bind(self, source: Path, name: str) -> Path:
        """`source` again at a new folder `name`, read-only there alone."""
        path = self.folder(name)
        run("mount", "--bind", str(source), str(path))
        run("mount", "-o", "remount,bind,ro", str(path))
        return path

    def remount_read_only(self, path: Path) -> None:
        """Makes the file system mounted at `path` read-only, as it stands."""
        run("mount", "-o", "remount,ro", str(path))

    def unmount(self, path: Path, lazy: bool = False) -> None:
        """Unmounts `path`: at once, or lazily, as a stick pulled out while in use."""
        run("umount", *(["--lazy"] if lazy else []), str(path))

    def close(self) -> None:
        """Unmounts all (lazily if in use); removes the folder once nothing is mounted there."""
        for point in mounted_under(self.base):
            try:
                run("umount", str(point))
            except subprocess.CalledProcessError:
                run("umount", "--lazy", str(point))
        for _ in range(50):
            if not mounted_under(self.base):
                break
            time.sleep(0.1)
        left = mounted_under(self.base)
        assert not left, f"still mounted, so left in place: {left}"
        for server in self.servers:  # a file system program ends once unmounted
            try:
                server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()
        for image in (self.base / "images").iterdir():
            found = subprocess.run(["losetup", "-j", str(image)], capture_output=True, text=True)
            for line in found.stdout.splitlines():
                run("losetup", "-d", line.split(":")[0])
        shutil.rmtree(self.base)
