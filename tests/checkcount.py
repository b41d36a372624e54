#!/usr/bin/env python3
"""Checks that a ctest run in BUILD ran every test it should:

    tests/checkcount.py BUILD plain|sanitized

after `ctest --output-junit tests.xml` in BUILD. Every test carries one
label of tests/expected_tests; the tests of each label that ran must be
exactly the number written there for this build, and no test may have
been skipped or left out.
"""
import collections
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET


def main():
    build, column = sys.argv[1], ["plain", "sanitized"].index(sys.argv[2]) + 1
    listfile = os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected_tests")
    expected = {}
    with open(listfile) as f:
        for line in f:
            words = line.split("#")[0].split()
            if words:
                expected[words[0]] = int(words[column])
    listing = json.loads(subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                                        stdout=subprocess.PIPE).stdout)
    label, problems = {}, []
    for test in listing["tests"]:
        labels = [v for p in test.get("properties", []) if p["name"] == "LABELS" for v in p["value"]]
        known = [v for v in labels if v in expected]
        if len(known) != 1:
            problems.append("%s: labels %s, not one of %s" % (test["name"], labels, sorted(expected)))
        label[test["name"]] = known[0] if known else "?"
    ran = collections.Counter()
    for case in ET.parse(os.path.join(build, "tests.xml")).getroot().iter("testcase"):
        if case.get("status") == "run":
            ran[label.get(case.get("name"), "?")] += 1
        else:
            problems.append("%s: %s" % (case.get("name"), case.get("status")))
    for name in sorted(set(expected) | set(ran)):
        if ran[name] != expected.get(name, 0):
            problems.append("label %s: %d tests ran, %s expects %d"
                            % (name, ran[name], listfile, expected.get(name, 0)))
    for p in problems:
        print("checkcount: " + p)
    if not problems:
        print("checkcount: %d tests ran, as expected" % sum(ran.values()))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
