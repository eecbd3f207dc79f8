#!/usr/bin/python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""A slow passthrough file system for tests: a network share or a tired USB stick on demand.

Mounts BACKING at MOUNTPOINT through FUSE (python3-fusepy). Every request sleeps the current
delay before it is answered, and requests on paths under a hung prefix wait until released,
like a drive that stops answering. Listings carry names only, as on many network file systems,
unless --listing-types is given.

It is steered while mounted through a Unix socket (--control), one command a line, each answered
with one line ("ok", a number, or "error ..."):
    delay MS        sleep MS milliseconds on every later request
    hang PREFIX     block requests on PREFIX and below (path inside the mount, e.g. /share/a)
    release         let every blocked request go on and hang nothing any more
    count           requests answered or begun since the last reset
    reset           set the count to 0
    blocked         requests waiting on a hung path right now
"""

import argparse
import errno
import os
import socket
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class Steering:
    """What the control socket sets and the file system's threads read."""

    def __init__(self, delay_ms):
        self.lock = threading.Condition()
        self.delay = delay_ms / 1000.0
        self.hung = None  # a path prefix, or None
        self.count = 0
        self.blocked = 0

    def _under_hung(self, path):
        prefix = self.hung
        if prefix is None:
            return False
        return prefix == "/" or path == prefix or path.startswith(prefix + "/")

    def enter(self, paths):
        with self.lock:
            self.count += 1
            delay = self.delay
            if any(self._under_hung(p) for p in paths):
                self.blocked += 1
                while any(self._under_hung(p) for p in paths):
                    self.lock.wait()
                self.blocked -= 1
        if delay > 0:
            time.sleep(delay)

    def command(self, line):
        words = line.split(None, 1)
        if not words:
            return "error empty command"
        name, arg = words[0], (words[1] if len(words) > 1 else "")
        with self.lock:
            if name == "delay":
                self.delay = max(0, int(arg)) / 1000.0
            elif name == "hang":
                path = "/" + arg.strip().strip("/")
                self.hung = path
            elif name == "release":
                self.hung = None
                self.lock.notify_all()
            elif name == "count":
                return str(self.count)
            elif name == "reset":
                self.count = 0
            elif name == "blocked":
                return str(self.blocked)
            else:
                return "error unknown command " + name
        return "ok"


def serve_control(path, steering):
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(4)

    def client(conn):
        with conn, conn.makefile("rw", encoding="utf-8", newline="\n") as f:
            for line in f:
                f.write(steering.command(line.strip()) + "\n")
                f.flush()

    def accept():
        while True:
            conn, _ = server.accept()
            threading.Thread(target=client, args=(conn,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()


class SlowFs(Operations):
    use_ns = True

    def __init__(self, backing, steering, listing_types):
        self.root = os.path.realpath(backing)
        self.steering = steering
        self.listing_types = listing_types

    def __call__(self, op, *args):
        # The paths a request names: the first argument, and the target of a rename or link.
        paths = [a for a in args[:2] if isinstance(a, str) and a.startswith("/")]
        if op in ("init", "destroy"):
            paths = []
        else:
            self.steering.enter(paths)
        if not hasattr(self, op):
            raise FuseOSError(errno.ENOSYS)
        try:
            return getattr(self, op)(*args)
        except OSError as e:
            raise FuseOSError(e.errno or errno.EIO)

    def _real(self, path):
        return self.root + path

    # Names and attributes

    def getattr(self, path, fh=None):
        st = os.fstat(fh) if fh is not None else os.lstat(self._real(path))
        keys = ("st_mode", "st_nlink", "st_uid", "st_gid", "st_size", "st_atime_ns",
                "st_mtime_ns", "st_ctime_ns")
        attrs = {k: getattr(st, k) for k in keys}
        for k in ("st_atime", "st_mtime", "st_ctime"):
            attrs[k] = attrs.pop(k + "_ns")
        return attrs

    def readdir(self, path, fh):
        names = [".", ".."] + os.listdir(self._real(path))
        if not self.listing_types:
            return names
        real = self._real(path)
        entries = []
        for name in names:
            try:
                mode = stat.S_IFMT(os.lstat(os.path.join(real, name)).st_mode)
            except OSError:
                mode = 0
            entries.append((name, {"st_mode": mode} if mode else None, 0))
        return entries

    def readlink(self, path):
        return os.readlink(self._real(path))

    def access(self, path, amode):
        if not os.access(self._real(path), amode, follow_symlinks=False):
            raise FuseOSError(errno.EACCES)
        return 0

    def statfs(self, path):
        sv = os.statvfs(self._real(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files",
                "f_flag", "f_frsize", "f_namemax")
        return {k: getattr(sv, k) for k in keys}

    # Changes to names

    def mkdir(self, path, mode):
        os.mkdir(self._real(path), mode)

    def rmdir(self, path):
        os.rmdir(self._real(path))

    def mknod(self, path, mode, dev):
        os.mknod(self._real(path), mode, dev)

    def unlink(self, path):
        os.unlink(self._real(path))

    def symlink(self, target, source):
        os.symlink(source, self._real(target))

    def link(self, target, source):
        os.link(self._real(source), self._real(target))

    def rename(self, old, new):
        os.rename(self._real(old), self._real(new))

    def chmod(self, path, mode):
        os.chmod(self._real(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self._real(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self._real(path), ns=times, follow_symlinks=False)

    def truncate(self, path, length, fh=None):
        if fh is not None:
            os.ftruncate(fh, length)
        else:
            os.truncate(self._real(path), length)

    # Open files

    def open(self, path, flags):
        return os.open(self._real(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._real(path), os.O_RDWR | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        if datasync:
            os.fdatasync(fh)
        else:
            os.fsync(fh)
        return 0

    def release(self, path, fh):
        os.close(fh)
        return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("backing")
    parser.add_argument("mountpoint")
    parser.add_argument("--control", required=True, help="Unix socket to steer the delay and hangs")
    parser.add_argument("--delay-ms", type=int, default=0)
    parser.add_argument("--listing-types", action="store_true",
                        help="listings carry each entry's type, as local file systems do")
    args = parser.parse_args()

    steering = Steering(args.delay_ms)
    serve_control(args.control, steering)
    # No attribute or name caching in the kernel: every lookup reaches us, as on a share whose
    # contents others change.
    FUSE(SlowFs(args.backing, steering, args.listing_types), args.mountpoint, foreground=True,
         nothreads=False, fsname="slowfs", subtype="slowfs", attr_timeout=0, entry_timeout=0,
         negative_timeout=0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
