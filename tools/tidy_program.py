#!/usr/bin/env python3
"""Runs clang-tidy on every compilation of the program (the game, engine, framework and
platform libraries and the game's main file) listed in a build's compile database.

In a unity build a compilation is a unity file that includes up to eight of a library's
sources; clang-tidy checks them together, reading the shared headers once, and reports each
finding in the source it belongs to. Checks that name a source's own layer (the platform's
stricter names) follow the .clang-tidy next to that source, wherever the compilation lies.

A compilation that passed is not checked again while nothing it is made of changes: the
text of every project file it reads (as the compiler's dependency file lists them), its
command, the checks' settings and clang-tidy itself; system headers count by size and date.
When only some sources of a unity file changed, and none of the headers it reads, those
sources are checked alone with the unity file's command: a change to one source costs the
check of that source, not of its seven neighbours. The passes are kept in
BUILD/clang-tidy-passed. Under CI=true every compilation is checked whole.

    tools/tidy_program.py BUILD_DIR
"""

import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

LAYERS = ("game", "engine", "framework", "platform")
UNITY_TARGETS = tuple(f"/CMakeFiles/reefmaw_{layer}.dir/Unity/" for layer in LAYERS) + (
    "/CMakeFiles/reefmaw.dir/Unity/",)


def sha(data):
    return hashlib.sha256(data).hexdigest()


def is_program(root, path):
    """A compilation of the program: one of its sources, or a unity file of its libraries."""
    if any(target in path for target in UNITY_TARGETS):
        return True
    rel = os.path.relpath(path, root)
    return rel.endswith(".cpp") and rel.split(os.sep)[0] in LAYERS


def dependencies(entry):
    """The files the compiler read for this compilation, from the dependency file next to its
    object; None when the build has not made it yet."""
    args = entry.get("arguments") or shlex.split(entry["command"])
    output = args[args.index("-o") + 1] if "-o" in args[:-1] else None
    if not output:
        return None
    depfile = os.path.join(entry["directory"], output + ".d")
    try:
        with open(depfile, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return None
    text = text.split(":", 1)[1] if ":" in text else ""
    names = text.replace("\\\n", " ").split()
    return [os.path.realpath(os.path.join(entry["directory"], n)) for n in names]


class Fingerprints:
    """Each file's fingerprint, taken once: project files by their text, others by size and date."""

    def __init__(self, root):
        self.root = root + os.sep
        self.known = {}

    def __call__(self, path):
        if path not in self.known:
            try:
                if path.startswith(self.root):
                    with open(path, "rb") as f:
                        self.known[path] = sha(f.read())
                else:
                    st = os.stat(path)
                    self.known[path] = f"{st.st_size}:{st.st_mtime_ns}"
            except OSError:
                self.known[path] = "missing"
        return self.known[path]


def command_of(entry):
    return entry.get("command") or " ".join(entry.get("arguments", []))


def key_of(common, entry, fingerprint):
    deps = dependencies(entry)
    if deps is None:
        return None
    parts = [common, entry["file"], command_of(entry)]
    parts += [f"{d} {fingerprint(d)}" for d in deps]
    return sha("\n".join(parts).encode())


def unity_members(entry):
    """The sources a unity file includes, in order; empty for a plain source."""
    if "/Unity/" not in entry["file"]:
        return []
    with open(entry["file"], encoding="utf-8") as f:
        return [os.path.realpath(m) for m in re.findall(r'^#include "([^"]+)"', f.read(), re.M)]


def member_keys(common, entry, fingerprint):
    """For each source of a unity file, a key made of that source's text and of everything
    else the unity file reads (headers, command, settings), so that a key changes for every
    source when a header changes and for one source when only that source does."""
    deps = dependencies(entry)
    members = unity_members(entry)
    if deps is None or not members:
        return {}
    rest = [common, entry["file"], command_of(entry)]
    rest += [f"{d} {fingerprint(d)}" for d in deps if d not in members]
    shared = sha("\n".join(rest).encode())
    return {m: sha(f"{shared}\n{m} {fingerprint(m)}".encode()) for m in members}


def tidy(build, entry, source=None):
    """clang-tidy on one compilation, or on one source of a unity file with its command."""
    # The compile commands are GCC's; clang-tidy need not know every GCC warning they name.
    cmd = ["clang-tidy", "--quiet", "--extra-arg=-Wno-unknown-warning-option"]
    if source is not None:
        args = shlex.split(command_of(entry))
        if "-o" in args[:-1]:
            at = args.index("-o")
            del args[at:at + 2]
        args = [a for a in args[1:] if a not in ("-c", entry["file"])]
        cmd += [source, "--"] + args
    else:
        cmd += ["-p", build, entry["file"]]
        if "/Unity/" in entry["file"]:
            # A unity file includes the sources by their .cpp names on purpose; the sources
            # themselves are checked for that below, without clang-tidy.
            cmd.append("--checks=-bugprone-suspicious-include")
    run = subprocess.run(cmd, capture_output=True, text=True, cwd=entry["directory"])
    return run.returncode, run.stdout + run.stderr


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
    build = os.path.realpath(sys.argv[1])
    if not build.startswith(root + os.sep):
        # clang-tidy finds .clang-tidy upward from the compilation's folder.
        sys.exit(f"tidy_program: the build folder {build} must lie inside {root}")
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = [e for e in json.load(f) if is_program(root, e["file"])]

    # A source of the program must not include another source (a unity file alone does).
    included_source = re.compile(r'^\s*#\s*include\s*["<][^">]*\.(c|cc|cpp|cxx)[">]', re.M)
    bad = []
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in files:
                if name.endswith((".cpp", ".h")):
                    path = os.path.join(folder, name)
                    with open(path, encoding="utf-8") as f:
                        if included_source.search(f.read()):
                            bad.append(os.path.relpath(path, root))
    if bad:
        for path in sorted(bad):
            print(f"{path}: includes a .cpp file", file=sys.stderr)
        sys.exit(1)

    configs = [os.path.join(root, ".clang-tidy")]
    configs += sorted(os.path.join(root, layer, ".clang-tidy") for layer in LAYERS
                      if os.path.exists(os.path.join(root, layer, ".clang-tidy")))
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout
    common = sha((version + "".join(open(c, encoding="utf-8").read() for c in configs)).encode())

    passed = os.path.join(build, "clang-tidy-passed")
    os.makedirs(passed, exist_ok=True)
    fingerprint = Fingerprints(root)
    every = os.environ.get("CI") == "true"

    def has_passed(key):
        return os.path.exists(os.path.join(passed, key))

    todo = []
    for entry in entries:
        key = key_of(common, entry, fingerprint)
        if not every and key is not None and has_passed(key):
            continue
        members = member_keys(common, entry, fingerprint)
        stale = [m for m, k in members.items() if not has_passed(k)]
        sources = stale if not every and members and len(stale) < len(members) else [None]
        todo.append((entry, [key] + list(members.values()), sources))

    jobs = os.cpu_count() or 1
    runs = sum(len(sources) for _, _, sources in todo)
    print(f"clang-tidy: {len(todo)} of {len(entries)} compilations of the program to check "
          f"({runs} runs), {jobs} at a time", flush=True)
    failed = []
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        started = [(entry, keys, [pool.submit(tidy, build, entry, s) for s in sources])
                   for entry, keys, sources in todo]
        for entry, keys, parts in started:
            results = [part.result() for part in parts]
            if any(code != 0 for code, _ in results):
                failed.append((entry["file"], "".join(text for _, text in results)))
                continue
            # A compilation whose changed sources passed has passed whole, and so has each
            # of its sources.
            for k in keys:
                if k is not None:
                    open(os.path.join(passed, k), "w").close()
    if failed:
        with open(os.path.join(build, "clang-tidy.log"), "w", encoding="utf-8") as log:
            for file, text in failed:
                log.write(f"== {file}\n{text}\n")
        findings = sorted({line for _, text in failed for line in text.splitlines()
                           if "error:" in line or "warning:" in line})
        print("\n".join(findings) or "\n".join(text for _, text in failed), file=sys.stderr)
        sys.exit(f"tidy_program: clang-tidy found the problems above "
                 f"(full output: {os.path.join(build, 'clang-tidy.log')})")
    print("clang-tidy: clean")


if __name__ == "__main__":
    main()
