"""A disk that answers with I/O errors: a FUSE file system showing a folder, some entries failing.

    python3 failing_disk.py SOURCE MOUNTPOINT ENTRY...

Shows SOURCE at MOUNTPOINT (in the foreground, until unmounted) as it is, except that each ENTRY
(a path under SOURCE) answers EIO as a damaged disk does: a failing file to being looked at,
read or removed; a failing folder to being listed, removed or written in, and everything under
it to everything. What the disk lets through it does to SOURCE itself, so that a check compares
SOURCE before and after.
"""

import errno
import os
import stat
import sys
from typing import Any

import fuse

fuse.fuse_python_api = (0, 2)


class FailingDisk(fuse.Fuse):  # type: ignore[misc]
    """SOURCE through FUSE, its failing entries answering EIO."""

    def __init__(self, source: str, failing: set[str], **options: Any) -> None:
        super().__init__(**options)
        self.source, self.failing = source, failing

    def fails(self, path: str, itself: bool = True) -> bool:
        """Whether `path` lies in a failing folder, or is (when `itself`) a failing entry."""
        parts = path.strip("/").split("/")
        above = ["/".join(parts[:n]) for n in range(1, len(parts))]
        return any(p in self.failing for p in above) or (itself and "/".join(parts) in self.failing)

    def real(self, path: str, itself: bool = True) -> str:
        """The path in SOURCE behind `path`; raises EIO where the disk fails."""
        if self.fails(path, itself):
            raise OSError(errno.EIO, os.strerror(errno.EIO))
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path: str) -> os.stat_result:
        """A failing file cannot be looked at; a failing folder can, its content not."""
        real = self.real(path, itself=False)
        if self.fails(path) and not os.path.isdir(real):
            raise OSError(errno.EIO, os.strerror(errno.EIO))
        return os.lstat(real)

    def readdir(self, path: str, offset: int) -> list[fuse.Direntry]:
        """The folder's entries with their kinds, as a disk's folder gives them."""
        with os.scandir(self.real(path)) as found:
            entries = [(e.name, stat.S_IFMT(e.stat(follow_symlinks=False).st_mode)) for e in found]
        return [fuse.Direntry(name, type=kind)
                for name, kind in [(".", stat.S_IFDIR), ("..", stat.S_IFDIR), *entries]]

    def open(self, path: str, flags: int) -> None:
        """Any file that can be looked at can be opened, to be read only."""
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise OSError(errno.EROFS, os.strerror(errno.EROFS))
        self.real(path)

    def read(self, path: str, size: int, offset: int) -> bytes:
        """The file's bytes."""
        with open(self.real(path), "rb") as file:
            file.seek(offset)
            return file.read(size)

    def unlink(self, path: str) -> None:
        """Removes the file."""
        os.unlink(self.real(path))

    def rmdir(self, path: str) -> None:
        """Removes the folder."""
        os.rmdir(self.real(path))

    def mkdir(self, path: str, mode: int) -> None:
        """Makes a folder, owned by whoever asked."""
        os.mkdir(real := self.real(path), mode)
        context = self.GetContext()
        os.chown(real, context["uid"], context["gid"])

    def statfs(self) -> os.statvfs_result:
        """The room of SOURCE's volume."""
        return os.statvfs(self.source)


def main() -> None:
    """Mounts SOURCE at MOUNTPOINT for every user, the kernel checking permissions."""
    source, mountpoint, *failing = sys.argv[1:]
    disk = FailingDisk(os.path.abspath(source), set(failing), dash_s_do="setsingle")
    disk.parse(args=[mountpoint, "-f", "-o", "allow_other,default_permissions,fsname=vornutil"],
               errex=1)
    disk.main()


if __name__ == "__main__":
    main()
