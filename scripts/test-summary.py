#!/usr/bin/env python3
"""Prints the closing line 'N passed, N failed, N skipped' of a test run over
both presets. Arguments: build directories. In each, ctest's JUnit report
(ctest-junit.xml) names the test programs that ran, ctest-registered.json
(ctest --show-only=json-v1) the ones registered, and test-results/ holds the
GoogleTest report of each program, which counts its cases.

A registered program that did not run, or whose report shows no case run,
counts as one failed case; so does a program that failed without a report
(it crashed first), and one that failed although its report shows no
failure (it crashed at exit). A report that cannot be read counts every case
it names as failed. A skipped or disabled case is counted as skipped, never
as passed."""
import json
import os
import re
import sys
import xml.etree.ElementTree as ET

HOUSEKEEPING = {"wine_start", "wine_stop"}


def read_report(path):
    """The report's root element. A program's report may not be well-formed
    XML: a failure message with a Windows-1252 letter in it is not UTF-8,
    and a control character is no XML character at all. Such a report is
    read again with each byte it cannot take replaced, so its cases still
    count one by one; one that cannot be read even so raises ParseError."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        return ET.fromstring(data)
    except ET.ParseError:
        text = data.decode("utf-8", errors="replace")
        text = re.sub(r"[\x00-\x08\x0b\x0c\x0e-\x1f]", "?", text)
        text = re.sub(r"^<\?xml[^>]*\?>", "", text)
        return ET.fromstring(text)


def count_gtest(path):
    passed = failed = skipped = 0
    root = read_report(path)
    for case in root.iter("testcase"):
        if case.get("result") in ("skipped", "suppressed") or case.get("status") == "notrun":
            skipped += 1
        elif case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed, skipped


def registered_tests(build):
    path = os.path.join(build, "ctest-registered.json")
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        return {t["name"] for t in json.load(f).get("tests", [])}


def main(build_dirs):
    passed = failed = skipped = 0

    def fail(message):
        nonlocal failed
        failed += 1
        print(message, file=sys.stderr)

    for build in build_dirs:
        junit = os.path.join(build, "ctest-junit.xml")
        if not os.path.exists(junit):
            fail(f"{build}: no test run")
            continue
        ran = set()
        for case in ET.parse(junit).getroot().iter("testcase"):
            name = case.get("name")
            ran.add(name)
            if name in HOUSEKEEPING:
                continue
            ok = case.get("status") in ("run", "passed", None) and case.find("failure") is None
            report = os.path.join(build, "test-results", name + ".xml")
            if os.path.exists(report):
                try:
                    p, f, s = count_gtest(report)
                except ET.ParseError:
                    # Unreadable: every case it names failed.
                    with open(report, "rb") as r:
                        p, f, s = 0, max(1, r.read().count(b"<testcase ")), 0
                    print(f"{build}: the report of {name} cannot be read", file=sys.stderr)
                if not ok and f == 0:
                    f = 1
                if p + f == 0:
                    fail(f"{build}: {name} ran no case")
                passed += p
                failed += f
                skipped += s
            elif ok:
                passed += 1
            else:
                fail(f"{build}: {name} failed without a report")
        registered = registered_tests(build)
        if registered is None:
            fail(f"{build}: no list of registered tests")
            continue
        for name in sorted(registered - ran):
            fail(f"{build}: {name} is registered but did not run")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
