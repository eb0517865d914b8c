#!/usr/bin/env python3
"""Compiles every source of the program, the data generator and the portable tests for Windows
with MinGW-w64, syntax and semantics only, against Debian's Qt headers.

The flags of each file come from the build's compile_commands.json (the project's own
definitions and include folders); the Linux make specs give way to win32-g++, and the moc
output of a test that includes its own is made anew with Windows defined, since a test's slots
may differ there. Sources that need POSIX are named by the build in posix-only-sources.txt.
Stops at the first file that would not compile and prints its errors.
"""
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys
import tempfile

COMPILER = "x86_64-w64-mingw32-g++-posix"
MOC = "/usr/lib/qt6/libexec/moc"
WINDOWS_DEFINES = ["-DWIN32", "-D_WIN32", "-DUNICODE", "-D_UNICODE", "-DMINGW_HAS_SECURE_API=1"]


def windows_flags(command):
    """The compile command's definitions and include folders, for the cross compiler."""
    args = shlex.split(command)[1:]
    flags = []
    skip_next = False
    for arg in args:
        if skip_next:
            skip_next = False
            continue
        if arg in ("-o", "-c"):
            skip_next = True
            continue
        if arg.startswith(("-std=", "-fsanitize", "-fno-omit")) or arg in ("-fPIC", "-g"):
            continue
        if arg.startswith("-isystem") or arg.startswith("-I"):
            arg = arg.replace("mkspecs/linux-g++", "mkspecs/win32-g++")
        flags.append(arg)
    return flags


def includes_own_moc(path):
    name = os.path.splitext(os.path.basename(path))[0] + ".moc"
    with open(path, encoding="utf-8") as source:
        return any(line.strip() == f'#include "{name}"' for line in source)


def check(entry, moc_root):
    path = entry["file"]
    flags = windows_flags(entry["command"])
    prefix = []
    if includes_own_moc(path):
        moc_dir = tempfile.mkdtemp(dir=moc_root)
        moc_name = os.path.splitext(os.path.basename(path))[0] + ".moc"
        includes = [f for f in flags if f.startswith("-I") or f.startswith("-D")]
        includes += ["-I" + f for f in flags_after(flags, "-isystem")]
        moc = subprocess.run([MOC, *WINDOWS_DEFINES, *includes, path, "-o",
                              os.path.join(moc_dir, moc_name)],
                             capture_output=True, text=True, cwd=entry["directory"])
        if moc.returncode:
            return path, moc.stderr
        prefix = ["-I" + moc_dir]
    run = subprocess.run([COMPILER, "-fsyntax-only", "-std=c++20", *WINDOWS_DEFINES, *prefix,
                          *flags, path], capture_output=True, text=True, cwd=entry["directory"])
    return path, run.stderr if run.returncode else None


def flags_after(flags, option):
    return [flags[i + 1] for i, flag in enumerate(flags[:-1]) if flag == option]


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    source_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as commands:
        entries = json.load(commands)
    with open(os.path.join(build, "posix-only-sources.txt"), encoding="utf-8") as listed:
        posix_only = {line.strip() for line in listed if line.strip()}
    wanted = [e for e in entries
              if e["file"].startswith(source_root + os.sep)
              and not e["file"].startswith(build + os.sep)
              and e["file"] not in posix_only]
    wanted = list({e["file"]: e for e in wanted}.values())
    wanted.sort(key=lambda e: e["file"])
    jobs = os.cpu_count() or 2
    with tempfile.TemporaryDirectory() as moc_root, \
            concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for path, errors in pool.map(lambda e: check(e, moc_root), wanted):
            if errors is not None:
                print(f"windows-syntax: {os.path.relpath(path, source_root)} does not compile "
                      "for Windows:", file=sys.stderr)
                print(errors, file=sys.stderr)
                pool.shutdown(cancel_futures=True)
                return 1
    print(f"windows-syntax: {len(wanted)} files compile for Windows "
          f"({len(posix_only)} POSIX-only left out).")
    return 0


if __name__ == "__main__":
    sys.exit(main())
