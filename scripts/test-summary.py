#!/usr/bin/env python3
"""Prints the closing line 'N passed, N failed' of a test run over both
presets. Arguments: build directories. In each, ctest's JUnit report
(ctest-junit.xml) names the test programs that ran, and test-results/ holds
the GoogleTest report of each program, which counts its cases. A program
that failed without a report (it crashed first) counts as one failed case;
one that failed although its report shows no failure (it crashed at exit)
adds one failed case."""
import os
import sys
import xml.etree.ElementTree as ET

HOUSEKEEPING = {"wine_start", "wine_stop"}


def count_gtest(path):
    passed = failed = 0
    root = ET.parse(path).getroot()
    for case in root.iter("testcase"):
        if case.get("result") == "skipped" or case.get("status") == "notrun":
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed


def main(build_dirs):
    passed = failed = 0
    for build in build_dirs:
        junit = os.path.join(build, "ctest-junit.xml")
        if not os.path.exists(junit):
            failed += 1
            print(f"{build}: no test run", file=sys.stderr)
            continue
        for case in ET.parse(junit).getroot().iter("testcase"):
            name = case.get("name")
            if name in HOUSEKEEPING:
                continue
            ok = case.get("status") in ("run", "passed", None) and case.find("failure") is None
            report = os.path.join(build, "test-results", name + ".xml")
            if os.path.exists(report):
                try:
                    p, f = count_gtest(report)
                except ET.ParseError:
                    p, f = 0, 1
                if not ok and f == 0:
                    f = 1
                passed += p
                failed += f
            elif ok:
                passed += 1
            else:
                failed += 1
    print(f"{passed} passed, {failed} failed")


if __name__ == "__main__":
    main(sys.argv[1:])
