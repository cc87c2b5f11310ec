#!/usr/bin/env python3
"""One configuration's outcome, read from the JUnit file CTest writes.

  ctest-results.py JUNIT_FILE

Prints "counts PASSED FAILED SKIPPED", then one line per test that did not
pass: "failed NAME (WHY)" or "skipped NAME (WHY)". Nothing here reads what a
test printed, so no output of a test changes a count. Exits 1 when the file
is missing or unreadable (CTest did not finish), 2 when it lists no test.

A test counts as skipped only by its exit status (CTest's skip return code)
or as disabled; a skip that CTest took from the test's output alone says
nothing of how the program ended, and is a failure. Any other test that did
not run (a failed fixture, a missing program) is a failure too, as CTest
counts it.
"""
import sys
import xml.etree.ElementTree as ElementTree


def outcome(case):
    """("passed"|"failed"|"skipped", why) of one testcase element."""
    status = case.get("status")
    if status == "run":
        return "passed", ""
    if status == "disabled":
        return "skipped", "disabled"
    if status == "notrun":
        skipped = case.find("skipped")
        why = skipped.get("message", "") if skipped is not None else ""
        if why.startswith("SKIP_RETURN_CODE="):
            return "skipped", "skipped"
        if why == "SKIP_REGULAR_EXPRESSION_MATCHED":
            return "failed", "skipped on its printed output alone"
        return "failed", f"not run: {why}" if why else "not run"
    failure = case.find("failure")
    why = failure.get("message", "") if failure is not None else ""
    if why.startswith("Skip regular expression found"):
        why = "ended abnormally, its output holding a skip mark"
    return "failed", why or "failed"


def main():
    try:
        suite = ElementTree.parse(sys.argv[1]).getroot()
    except (OSError, ElementTree.ParseError):
        return 1
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    notes = []
    for case in suite.iter("testcase"):
        kind, why = outcome(case)
        counts[kind] += 1
        if kind != "passed":
            notes.append(f"{kind} {case.get('name')} ({why})")
    print(f"counts {counts['passed']} {counts['failed']} {counts['skipped']}")
    for note in notes:
        print(note)
    return 0 if sum(counts.values()) else 2


if __name__ == "__main__":
    sys.exit(main())
