#!/usr/bin/env python3
"""Samples single-token mutants of the portable code and runs the native tests on each.

usage: scripts/mutants.py [--count N] [--seed S] [--build DIR] [FILE...]

Each mutant changes one operator or constant on one line of a portable source
(the private block, the Job Settings fields, the legacy-system test, picture
selection, list entries, the PPD reader, model, constraints, index and
allocation), rebuilds the native configuration and runs its tests,
leaving out those that say nothing about a single line: the fuzz run, the
corpus sample and the checks of the shipped binaries. Lines that only the
Windows build compiles (under #ifdef _WIN32) are not sampled: no native test
can see them. A mutant is killed when a test fails, survives when all pass,
and is not counted when it does not build.
Survivors listed in scripts/mutants-equivalent.txt (the same file and mutated
line, and where the same line is in several functions, the function) are
counted as equivalent, or as untestable where the reason says so (a change no
test can reach, such as a cap at half a billion entries); neither enters the
score. The native-only stand-in for the system code page is sampled too, but
its mutants are reported apart: it does not ship. The survivors' diffs go to
DIR/mutants.txt.

Every source is restored at the end, also when the run is interrupted; a run
killed outright leaves its originals in DIR/mutants-originals, and the next run
puts them back before it starts.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

PORTABLE_SOURCES = [
    "extension/frame/private_devmode.cpp",
    "extension/frame/job_settings_fields.cpp",
    "extension/frame/legacy_system.cpp",
    "extension/layout/preview_selection.cpp",
    "extension/layout/layout_lists.cpp",
    "extension/ppd/ppd_text.cpp",
    "extension/ppd/ppd_text_pool.cpp",
    "extension/ppd/ppd_byte_source.cpp",
    "extension/ppd/ppd_tokenizer.cpp",
    "extension/ppd/ppd_name_translation.cpp",
    "extension/ppd/ppd_keyword_table.cpp",
    "extension/ppd/ppd_model.cpp",
    "extension/ppd/ppd_model_builder.cpp",
    "extension/ppd/ppd_constraints.cpp",
    "extension/ppd/ppd_constraint_index.cpp",
    "extension/ppd/known_feature_table.cpp",
    "extension/ppd/ppd_allocation.cpp",
]

# Built natively only, in place of the system code page the Windows builds
# use: sampled, but reported apart from the shipped code's score.
NATIVE_ONLY_SOURCES = [
    "extension/ppd/wide_from_byte_units_cp1252.cpp",
]

# A listed survivor whose reason begins so cannot be reached by any test, as
# against one that behaves the same as the code.
UNTESTABLE = "untestable:"

# Tests that cannot tell one line's change: they run for a fixed time, sample
# real files, or read the shipped Windows binaries.
EXCLUDED_TESTS = "_fuzz_|ppd_corpus_sample|ShippedBinaryTest|PeImageReader"

# One token and what it becomes. Longer tokens first, so "<=" is never read
# as "<" followed by "=".
REPLACEMENTS = {
    "<=": ["<"], ">=": [">"], "<": ["<="], ">": [">="],
    "==": ["!="], "!=": ["=="], "&&": ["||"], "||": ["&&"],
    "++": ["--"], "--": ["++"], "+": ["-"], "-": ["+"],
    "true": ["false"], "false": ["true"],
}
TOKEN = re.compile(
    r"//.*|/\*.*?\*/|\"(?:\\.|[^\"\\])*\"|'(?:\\.|[^'\\])*'"
    r"|<<=?|>>=?|->|::|<=|>=|==|!=|&&|\|\||\+\+|--|[-+<>]"
    r"|\b(?:true|false)\b|\b0[xX][0-9A-Fa-f]+[uUlL]*\b|\b\d+[uUlL]*\b|[A-Za-z_]\w*|.")


COMPARISONS = ("<", ">", "<=", ">=")


def binary_operator(line, token):
    """True when a token stands between spaces, as every binary operator of
    the formatted sources does (`a < b`); `static_cast<int>` does not."""
    before = line[token.start() - 1] if token.start() > 0 else ""
    after = line[token.end()] if token.end() < len(line) else ""
    return before == " " and after == " "


def neighbours(number):
    """A constant one more and one less, written as it was (hex stays hex)."""
    digits = re.match(r"0[xX][0-9A-Fa-f]+|\d+", number).group(0)
    suffix = number[len(digits):]
    hexadecimal = digits[:2] in ("0x", "0X")
    value = int(digits, 16 if hexadecimal else 10)
    others = [value + 1] + ([value - 1] if value > 0 else [])
    if not hexadecimal:
        return [str(other) + suffix for other in others]
    upper = digits[2:] != digits[2:].lower()
    return [digits[:2] + format(other, "0%d%s" % (len(digits) - 2, "X" if upper else "x")) + suffix
            for other in others]


def mutation_sites(path):
    """(line number, column, old token, new token) for every site in a file."""
    sites = []
    in_comment = False
    with open(os.path.join(ROOT, path), encoding="utf-8") as source:
        lines = source.read().split("\n")
    windows_only = False  # inside #ifdef _WIN32: the native build never compiles it
    for number, line in enumerate(lines):
        stripped = line.strip()
        if stripped.startswith("#ifdef _WIN32"):
            windows_only = True
        elif windows_only and stripped.startswith(("#else", "#endif")):
            windows_only = False
        if windows_only:
            continue
        if in_comment:
            in_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*") and "*/" not in stripped:
            in_comment = True
            continue
        if (stripped.startswith("#") or "static_assert" in stripped
                or "template" in stripped or "#include" in stripped):
            continue
        for token in TOKEN.finditer(line):
            text = token.group(0)
            if text.startswith(("//", "/*", '"', "'")):
                continue
            if text in REPLACEMENTS:
                if text in COMPARISONS and not binary_operator(line, token):
                    continue  # a template's brackets: such a mutant would not build
                for new in REPLACEMENTS[text]:
                    sites.append((number, token.start(), text, new))
            elif re.fullmatch(r"(?:0[xX][0-9A-Fa-f]+|\d+)[uUlL]*", text):
                for other in neighbours(text):
                    sites.append((number, token.start(), text, other))
    return lines, sites


def load_equivalents():
    """Keys of the mutants named as equivalent, with their reasons: (file,
    stripped mutated line), or (file, function, stripped mutated line) for an
    entry that names the function."""
    known = {}
    path = os.path.join(ROOT, "scripts", "mutants-equivalent.txt")
    if os.path.exists(path):
        with open(path, encoding="utf-8") as listing:
            for entry in listing:
                if entry.startswith("#") or not entry.strip():
                    continue
                parts = entry.rstrip("\n").split("\t")
                if len(parts) == 3:
                    known[(parts[0], parts[1].strip())] = parts[2]
                elif len(parts) == 4:
                    known[(parts[0], parts[1], parts[2].strip())] = parts[3]
    return known


FUNCTION_START = re.compile(r"^[A-Za-z_][\w:<>,*& ]*?\b(\w+)\(")


def enclosing_function(lines, number):
    """The name of the function whose body holds line `number`: the nearest
    line above it that starts a definition in the first column."""
    for text in reversed(lines[:number + 1]):
        match = FUNCTION_START.match(text)
        if match:
            return match.group(1)
    return ""


def listed_reason(equivalents, path, lines, number):
    """The reason a listed survivor gives, or None for one not listed."""
    mutated = lines[number].strip()
    return equivalents.get((path, mutated),
                           equivalents.get((path, enclosing_function(lines, number), mutated)))


class Sources:
    """Keeps the originals of the files being mutated, on disk as well, so that
    nothing is lost however the run ends."""

    def __init__(self, store):
        self.store = store
        self.originals = {}
        self.restore_left_over()

    def restore_left_over(self):
        if not os.path.isdir(self.store):
            return
        for folder, _, names in os.walk(self.store):
            for name in names:
                saved = os.path.join(folder, name)
                target = os.path.join(ROOT, os.path.relpath(saved, self.store))
                shutil.copyfile(saved, target)
                print("restored %s from an interrupted run" % os.path.relpath(target, ROOT))
        shutil.rmtree(self.store)

    def write(self, path, text):
        if path not in self.originals:
            with open(os.path.join(ROOT, path), encoding="utf-8") as source:
                self.originals[path] = source.read()
            saved = os.path.join(self.store, path)
            os.makedirs(os.path.dirname(saved), exist_ok=True)
            with open(saved, "w", encoding="utf-8") as copy:
                copy.write(self.originals[path])
        with open(os.path.join(ROOT, path), "w", encoding="utf-8") as source:
            source.write(text)

    def restore(self, path):
        with open(os.path.join(ROOT, path), "w", encoding="utf-8") as source:
            source.write(self.originals[path])

    def restore_all(self):
        for path in self.originals:
            self.restore(path)
        self.originals = {}
        shutil.rmtree(self.store, ignore_errors=True)


def run(command, timeout):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return 124


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "native"))
    parser.add_argument("files", nargs="*", default=PORTABLE_SOURCES + NATIVE_ONLY_SOURCES)
    options = parser.parse_args()

    sources = Sources(os.path.join(options.build, "mutants-originals"))

    def interrupted(signum, _frame):
        sources.restore_all()
        print("interrupted: every source restored")
        sys.exit(128 + signum)

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupted)

    build = ["cmake", "--build", options.build]
    test = ["ctest", "--test-dir", options.build, "-E", EXCLUDED_TESTS, "-j2",
            "--stop-on-failure", "--timeout", "120"]
    if run(build, 1800) != 0 or run(test, 1800) != 0:
        print("the unmutated code does not build or pass its tests: nothing sampled")
        return 2

    texts = {}
    every_site = []
    for path in options.files:
        lines, sites = mutation_sites(path)
        texts[path] = lines
        every_site += [(path,) + site for site in sites]
    sample = random.Random(options.seed).sample(every_site, min(options.count, len(every_site)))
    equivalents = load_equivalents()

    tally = {}
    survivors = []
    try:
        for index, (path, number, column, old, new) in enumerate(sample, 1):
            lines = list(texts[path])
            line = lines[number]
            lines[number] = line[:column] + new + line[column + len(old):]
            sources.write(path, "\n".join(lines))
            if run(build, 1800) != 0:
                outcome = "no-build"
            elif run(test, 1800) != 0:
                outcome = "killed"
            elif listed_reason(equivalents, path, lines, number) is not None:
                reason = listed_reason(equivalents, path, lines, number)
                outcome = "untestable" if reason.startswith(UNTESTABLE) else "equivalent"
            else:
                outcome = "survived"
                survivors.append("%s:%d: %s -> %s\n-%s\n+%s\n" % (
                    path, number + 1, old, new, line, lines[number]))
            sources.restore(path)
            counts = tally.setdefault(path, {})
            counts[outcome] = counts.get(outcome, 0) + 1
            print("%3d %-10s %s:%d  %s -> %s" % (index, outcome, path, number + 1, old, new),
                  flush=True)
    finally:
        sources.restore_all()
        run(build, 1800)

    with open(os.path.join(options.build, "mutants.txt"), "w", encoding="utf-8") as report:
        report.write("".join(survivors))
    print()
    shipped = [path for path in options.files if path not in NATIVE_ONLY_SOURCES]
    stand_ins = [path for path in options.files if path in NATIVE_ONLY_SOURCES]
    report_group("", shipped, tally, options)
    if stand_ins:
        print()
        report_group("native-only stand-in (not in the score above) ", stand_ins, tally, options)
    print("survivors in %s" % os.path.join(options.build, "mutants.txt"))
    return 0


OUTCOMES = ("killed", "survived", "equivalent", "untestable", "no-build")


def report_group(title, paths, tally, options):
    """One row per file and a summary line; the score counts only mutants a
    test could tell from the code, and there is none without such mutants."""
    print(("%-48s" + " %10s" * len(OUTCOMES)) % (("file",) + OUTCOMES))
    totals = dict.fromkeys(OUTCOMES, 0)
    for path in paths:
        counts = tally.get(path, {})
        for outcome in OUTCOMES:
            totals[outcome] += counts.get(outcome, 0)
        print(("%-48s" + " %10d" * len(OUTCOMES)) % (
            (path,) + tuple(counts.get(outcome, 0) for outcome in OUTCOMES)))
    scored = totals["killed"] + totals["survived"]
    score = ("%.1f%% of the scored killed" % (100.0 * totals["killed"] / scored) if scored
             else "no mutant scored")
    print("%smutants: %d killed, %d survived, %d equivalent, %d untestable, %d did not build; "
          "%s (seed %d)" % (title, totals["killed"], totals["survived"], totals["equivalent"],
                            totals["untestable"], totals["no-build"], score, options.seed))


if __name__ == "__main__":
    sys.exit(main())
