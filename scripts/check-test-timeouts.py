#!/usr/bin/env python3
"""Every test of a build configuration has a time-out.

  check-test-timeouts.py CTEST BUILD_DIR

Lists the configuration's tests as CTest itself has them
(`ctest --show-only=json-v1`) and fails, naming them, when any has no
TIMEOUT property or a zero one: without it a hung Windows program holds
the whole run until CI's own limit, and nothing says which test it was.
"""
import json
import subprocess
import sys


def main():
    ctest, build = sys.argv[1], sys.argv[2]
    listing = subprocess.run([ctest, "--test-dir", build, "--show-only=json-v1"],
                             capture_output=True, text=True, check=False)
    if listing.returncode != 0:
        print(f"ctest could not list the tests of {build}:\n{listing.stderr}")
        return 1
    tests = json.loads(listing.stdout).get("tests", [])
    if not tests:
        print(f"no tests listed in {build}")
        return 1
    missing = []
    for test in tests:
        timeouts = [p["value"] for p in test.get("properties", []) if p["name"] == "TIMEOUT"]
        if not timeouts or float(timeouts[0]) <= 0:
            missing.append(test["name"])
    for name in missing:
        print(f"no time-out: {name}")
    print(f"{len(tests) - len(missing)} of {len(tests)} tests have a time-out")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
