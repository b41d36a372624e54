#!/usr/bin/env python3
"""tests/checkcount.py BUILD plain|sanitized, after `ctest --output-junit
tests.xml` in BUILD: the tests that ran, by label, must be the numbers of
tests/expected_tests for this build, and none may be left out; a skipped
test is named, and is a failure under CI=true.
"""
import collections, json, os, subprocess, sys
import xml.etree.ElementTree as ET

build, column = sys.argv[1], ["plain", "sanitized"].index(sys.argv[2]) + 1
listfile = os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected_tests")
expected = {w[0]: int(w[column]) for w in (l.split("#")[0].split() for l in open(listfile)) if w}
tests = json.loads(subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                                  stdout=subprocess.PIPE).stdout)["tests"]
label = {t["name"]: ([v for p in t.get("properties", []) if p["name"] == "LABELS"
                      for v in p["value"] if v in expected] + ["(no label of the list)"])[0]
         for t in tests}
problems, ran = [], collections.Counter()
for case in ET.parse(os.path.join(build, "tests.xml")).getroot().iter("testcase"):
    if case.get("status") == "run":
        ran[label.get(case.get("name"), "(no label of the list)")] += 1
    elif case.get("status") == "notrun" and not os.environ.get("CI"):
        # outside CI a test may skip for a missing tool or corpus; say so
        ran[label.get(case.get("name"), "(no label of the list)")] += 1
        print("checkcount: %s skipped (under CI=true this fails)" % case.get("name"))
    else:
        problems.append("%s: %s" % (case.get("name"), case.get("status")))
for name in sorted(set(expected) | set(ran)):
    if ran[name] != expected.get(name, 0):
        problems.append("%s: %d tests ran, %s expects %d" % (name, ran[name], listfile, expected.get(name, 0)))
print("\n".join("checkcount: " + p for p in problems) or "checkcount: %d tests ran, as expected" % sum(ran.values()))
sys.exit(1 if problems else 0)
