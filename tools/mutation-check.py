#!/usr/bin/env python3
"""Measures what the tests catch: applies a seeded sample of small changes to src/, one at a
time, rebuilds the test programs each change reaches and runs them.

    python3 tools/mutation-check.py [--seed N] [--count N] [--build DIR] [--list]

Each mutant is one of: a comparison flipped, an integer constant off by one, && and || swapped,
a statement removed, a returned value changed. A mutant is "killed" when a test program fails
(or hangs past the time limit), "survived" when every test program it reaches passes, and "not
built" when the change does not compile. Run by hand, not by CI: it rebuilds once per mutant.
It works in the tree of tools/coverage.sh (build-coverage), so run that first and both figures
come from one build.
The source file is restored after every mutant, also when the run is interrupted.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Folders of src/ that the Linux build compiles; the Windows host is tested under Wine only.
SOURCE_DIRS = ["src"]
SKIP_DIRS = ["src/hosts/win32"]
# Test programs left out of every run: the soak repeats what the others check over a day of
# virtual time, and takes minutes.
SLOW_TESTS = {"test_soak"}
# Single tests left out for the same reason: an hour of playing to count journal writes, and a
# long random run comparing the panel after every transfer; each takes minutes in this -O0 tree,
# while the other tests reach the same code.
# Shards per test program where it differs from --shards. More shards of the integration tests
# than the default made the unchanged tree fail on a 2-core machine (their real-time deadlines).
SHARDS = {}
SLOW_FILTER = "-ResumeJournal.WritesAtMost*:FrameChangesRandomRun.*"

# Programs that tests start as processes, with the test programs that start them (None: any).
RUN_BY = {"lorvan": ["test_integration"], "lorvan-sim": None}

COMPARISONS = [("==", "!="), ("!=", "=="), ("<=", ">"), (">=", "<"), ("<", ">="), (">", "<=")]


def strip_strings(line):
    """The line with string and character literals blanked, so no mutation lands inside one."""
    out, quote, escape = [], None, False
    for ch in line:
        if quote:
            out.append(" ")
            if escape:
                escape = False
            elif ch == "\\":
                escape = True
            elif ch == quote:
                quote = None
        elif ch in "\"'":
            quote = ch
            out.append(" ")
        else:
            out.append(ch)
    return "".join(out)


def code_part(line):
    """The line up to a line comment, strings blanked."""
    blank = strip_strings(line)
    cut = blank.find("//")
    return blank if cut < 0 else blank[:cut]


def candidates_in_line(path, number, line):
    """Every mutant of one line: (path, line number, kind, new line)."""
    stripped = line.strip()
    if (not stripped or stripped.startswith(("#", "//", "*", "/*", "static_assert", "template"))
            or "operator" in stripped):
        return []
    code = code_part(line)
    found = []

    def replaced(start, end, text):
        return line[:start] + text + line[end:]

    # Comparisons: only a lone operator, not part of <<, >>, ->, <=>, templates' < > pairs.
    for m in re.finditer(r"(?<![<>=!\-])(==|!=|<=|>=|<|>)(?![<>=])", code):
        op = m.group(1)
        if op in ("<", ">") and not re.search(r"\s$", code[:m.start()]):
            continue  # a template argument list, not a comparison
        new = dict(COMPARISONS)[op]
        found.append((path, number, "comparison %s -> %s" % (op, new), replaced(m.start(), m.end(), new)))
    for m in re.finditer(r"&&|\|\|", code):
        new = "||" if m.group(0) == "&&" else "&&"
        found.append((path, number, "logic %s -> %s" % (m.group(0), new), replaced(m.start(), m.end(), new)))
    for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", code):
        value = int(m.group(1))
        found.append((path, number, "constant %d -> %d" % (value, value + 1),
                      replaced(m.start(), m.end(), str(value + 1))))
    m = re.match(r"^(\s*)return\s+(true|false)\s*;", code)
    if m:
        new = "false" if m.group(2) == "true" else "true"
        found.append((path, number, "return %s -> %s" % (m.group(2), new),
                      "%sreturn %s;%s" % (m.group(1), new, line[len(code):] if line.endswith("\n") else "\n")))
    # A statement removed: a whole-line call or assignment, not a declaration or a control line.
    if (re.match(r"^\s*[\w:.\->\[\]()]+(\s*[-+*/|&]?=\s*.+|\(.*\))\s*;\s*$", code)
            and not re.match(r"^\s*(return|break|continue|case|default|goto|using|typedef)\b", code)
            and not re.match(r"^\s*(const\s+)?[\w:<>]+[\s*&]+\w+\s*=", code)):
        indent = re.match(r"^\s*", line).group(0)
        found.append((path, number, "statement removed", indent + ";\n"))
    return found


def all_candidates():
    found = []
    for top in SOURCE_DIRS:
        for folder, dirs, files in os.walk(os.path.join(ROOT, top)):
            rel_folder = os.path.relpath(folder, ROOT)
            if any(rel_folder == s or rel_folder.startswith(s + "/") for s in SKIP_DIRS):
                dirs[:] = []
                continue
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(".cpp"):
                    continue
                path = os.path.join(rel_folder, name)
                with open(os.path.join(ROOT, path), encoding="utf-8", errors="surrogateescape") as f:
                    for number, line in enumerate(f, 1):
                        found.extend(candidates_in_line(path, number, line))
    return found


def test_programs(build):
    return sorted(n for n in os.listdir(build)
                  if n.startswith("test_") and os.access(os.path.join(build, n), os.X_OK)
                  and n not in SLOW_TESTS)


def exe_stamp(build, exe):
    path = os.path.join(build, exe)
    return os.stat(path).st_mtime_ns if os.path.exists(path) else None


def stamps(build, programs):
    return {p: os.stat(os.path.join(build, p)).st_mtime_ns for p in programs}


def run(cmd, timeout, cwd=None):
    """Exit status and output of cmd; None when it ran past timeout (its whole group is ended)."""
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return None, "timed out"


def first_failure(build, programs, shards, jobs, timeout):
    """The first of programs whose tests fail (or run past the time limit), or None. Each program
    runs as gtest shards, up to jobs at once, since much of the time goes to waiting on outside
    processes; the first failure ends the others. The unchanged tree must pass first, so a
    flaky test shows there."""
    pending = [(p, i, SHARDS.get(p, shards)) for p in programs for i in range(SHARDS.get(p, shards))]
    running = {}
    failed = None

    def start(program, index, count):
        env = dict(os.environ, GTEST_TOTAL_SHARDS=str(count), GTEST_SHARD_INDEX=str(index))
        proc = subprocess.Popen([os.path.join(build, program), "--gtest_fail_fast", "--gtest_filter=" + SLOW_FILTER], cwd=build, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        return proc, time.time()

    while (pending or running) and not failed:
        while pending and len(running) < jobs:
            key = pending.pop(0)
            running[key] = start(*key)
        time.sleep(0.05)
        for key, (proc, began) in list(running.items()):
            if proc.poll() is None and time.time() - began < timeout:
                continue
            if proc.returncode is None:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
            del running[key]
            if proc.returncode != 0:
                failed = key[0]
                break
    for proc, _ in running.values():
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--count", type=int, default=150)
    parser.add_argument("--build", default=os.path.join(ROOT, "build-coverage"))
    parser.add_argument("--timeout", type=int, default=120, help="seconds a test shard may take")
    parser.add_argument("--shards", type=int, default=4, help="gtest shards per test program")
    parser.add_argument("--jobs", type=int, default=6, help="test shards run at once")
    parser.add_argument("--from", dest="first", type=int, default=1,
                        help="the sample's mutant to start at (1 for all), to go on with a run that was stopped")
    parser.add_argument("--only", default="", help="comma-separated numbers of the sample's mutants to run")
    parser.add_argument("--programs", default="", help="comma-separated test programs to run (default: all)")
    parser.add_argument("--list", action="store_true", help="only print the sample")
    args = parser.parse_args()

    candidates = all_candidates()
    sample = random.Random(args.seed).sample(candidates, min(args.count, len(candidates)))
    sample.sort(key=lambda c: (c[0], c[1]))
    print("mutation-check: %d candidates, sample of %d, seed %d" % (len(candidates), len(sample), args.seed))
    if args.list:
        for path, number, kind, _ in sample:
            print("%s:%d: %s" % (path, number, kind))
        return 0

    build = args.build
    if not os.path.exists(os.path.join(build, "build.ninja")):
        # The tree of tools/coverage.sh: -O0 without debug information rebuilds a mutant fastest.
        linker = " -fuse-ld=mold" if shutil.which("mold") else ""
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                        "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DLORVAN_BUILD_BENCH=OFF", "-DCMAKE_CXX_FLAGS=--coverage",
                        "-DCMAKE_EXE_LINKER_FLAGS=--coverage" + linker], check=True, stdout=subprocess.DEVNULL)
    print("mutation-check: building the unchanged tree in %s" % build, flush=True)
    subprocess.run(["cmake", "--build", build], check=True, stdout=subprocess.DEVNULL)
    programs = test_programs(build)
    if args.programs:
        programs = [p for p in programs if p in args.programs.split(",")]
    only = {int(n) for n in args.only.split(",") if n}
    baseline_failures = [p for p in programs
                         if first_failure(build, [p], args.shards, args.jobs, args.timeout)]
    if baseline_failures:
        print("mutation-check: the unchanged tree fails %s; fix that first" % ", ".join(baseline_failures))
        return 1

    killed, survived, not_built = 0, [], 0
    current = {"path": None, "text": None}

    def restore(*_):
        if current["path"]:
            with open(current["path"], "w", encoding="utf-8", errors="surrogateescape", newline="") as f:
                f.write(current["text"])
            current["path"] = None

    def interrupted(*_):
        restore()
        sys.exit(130)

    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)
    started = time.time()
    for index, (path, number, kind, new_line) in enumerate(sample, 1):
        if index < args.first or (only and index not in only):
            continue
        full = os.path.join(ROOT, path)
        with open(full, encoding="utf-8", errors="surrogateescape", newline="") as f:
            text = f.read()
        lines = text.splitlines(keepends=True)
        if not new_line.endswith("\n"):
            new_line += "\n"
        mutated = lines[:number - 1] + [new_line] + lines[number:]
        current["path"], current["text"] = full, text
        before = stamps(build, programs)
        before_exes = {exe: exe_stamp(build, exe) for exe in RUN_BY}
        try:
            with open(full, "w", encoding="utf-8", errors="surrogateescape", newline="") as f:
                f.write("".join(mutated))
            code, _ = run(["cmake", "--build", build, "--target"] + programs + list(RUN_BY), 900)
            if code != 0:
                verdict = "not built"
                not_built += 1
            else:
                reached = [p for p, t in stamps(build, programs).items() if t != before[p]]
                # The test programs that run a changed program rather than link its code.
                for exe, users in RUN_BY.items():
                    if exe_stamp(build, exe) != before_exes[exe]:
                        reached = sorted(set(reached) | (set(users or programs) & set(programs)))
                failed = first_failure(build, reached, args.shards, args.jobs, args.timeout)
                verdict = "killed by %s" % failed if failed else "survived"
                if verdict == "survived":
                    survived.append("%s:%d: %s (%d test programs reached)" % (path, number, kind, len(reached)))
                else:
                    killed += 1
        finally:
            restore()
        print("[%3d/%d] %s:%d: %s: %s" % (index, len(sample), path, number, kind, verdict), flush=True)
    # Put the object files back in step with the restored sources.
    subprocess.run(["cmake", "--build", build], stdout=subprocess.DEVNULL)

    built = killed + len(survived)
    score = 100.0 * killed / built if built else 0.0
    print("mutation-check: seed %d, sample %d: %d killed, %d survived, %d not built; score %.1f%% of the built"
          % (args.seed, len(sample), killed, len(survived), not_built, score))
    print("mutation-check: %.0f s" % (time.time() - started))
    for s in survived:
        print("survived: " + s)
    return 0


if __name__ == "__main__":
    sys.exit(main())
