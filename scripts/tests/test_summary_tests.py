#!/usr/bin/env python3
"""The closing line of a test run, from made-up build directories: each case
a set of programs as ctest and GoogleTest would report them, and the line
and exit status the summary must give."""
import json
import os
import subprocess
import sys
import tempfile
import unittest

SUMMARY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "test-summary.py")


def gtest_report(*cases):
    """A GoogleTest report; each case (name, 'ok' | 'failed' | 'skipped')."""
    body = []
    for name, result in cases:
        if result == "failed":
            body.append(f'<testcase name="{name}" status="run" result="completed">'
                        '<failure message="x"/></testcase>')
        elif result == "skipped":
            body.append(f'<testcase name="{name}" status="run" result="skipped"/>')
        else:
            body.append(f'<testcase name="{name}" status="run" result="completed"/>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<testsuites><testsuite name="S">'
            + "".join(body) + "</testsuite></testsuites>").encode()


def build_dir(root, registered, ran, reports):
    """ran: {program: passed by ctest}; reports: {program: bytes}."""
    os.makedirs(os.path.join(root, "test-results"))
    with open(os.path.join(root, "ctest-registered.json"), "w") as f:
        json.dump({"tests": [{"name": n} for n in registered]}, f)
    cases = "".join(
        f'<testcase name="{n}" status="{"run" if ok else "fail"}">'
        + ("" if ok else "<failure message='Failed'/>") + "</testcase>"
        for n, ok in ran.items())
    with open(os.path.join(root, "ctest-junit.xml"), "w") as f:
        f.write(f"<testsuite>{cases}</testsuite>")
    for name, data in reports.items():
        with open(os.path.join(root, "test-results", name + ".xml"), "wb") as f:
            f.write(data)
    return root


class Summary(unittest.TestCase):
    def summary(self, *builds):
        done = subprocess.run([sys.executable, SUMMARY, *builds], capture_output=True, text=True)
        return done.stdout.strip().splitlines()[-1], done.returncode

    def test_cases(self):
        table = [
            ("every case passed",
             dict(registered=["wine_start", "a"], ran={"wine_start": True, "a": True},
                  reports={"a": gtest_report(("x", "ok"), ("y", "ok"))}),
             ("2 passed, 0 failed, 0 skipped", 0)),
            ("a skipped case is not passed",
             dict(registered=["a"], ran={"a": True},
                  reports={"a": gtest_report(("x", "ok"), ("y", "skipped"))}),
             ("1 passed, 0 failed, 1 skipped", 0)),
            ("a crash before the report",
             dict(registered=["a"], ran={"a": False}, reports={}),
             ("0 passed, 1 failed, 0 skipped", 1)),
            ("a crash at exit after a clean report",
             dict(registered=["a"], ran={"a": False}, reports={"a": gtest_report(("x", "ok"))}),
             ("1 passed, 1 failed, 0 skipped", 1)),
            ("a program without a report of its own",
             dict(registered=["script"], ran={"script": True}, reports={}),
             ("1 passed, 0 failed, 0 skipped", 0)),
            ("a registered program that never ran",
             dict(registered=["a", "b"], ran={"a": True}, reports={"a": gtest_report(("x", "ok"))}),
             ("1 passed, 1 failed, 0 skipped", 1)),
            ("a report with a Windows-1252 letter is read case by case",
             dict(registered=["a"], ran={"a": False},
                  reports={"a": gtest_report(("x", "ok"), ("y", "failed"), ("z", "ok"))
                           .replace(b'message="x"', b'message="n\xe3o \x01"')}),
             ("2 passed, 1 failed, 0 skipped", 1)),
            ("an unreadable report fails every case it names",
             dict(registered=["a"], ran={"a": True},
                  reports={"a": gtest_report(("x", "ok"), ("y", "ok"), ("z", "ok"))[:-20]}),
             ("0 passed, 3 failed, 0 skipped", 1)),
        ]
        for name, build, expected in table:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                self.assertEqual(self.summary(build_dir(os.path.join(root, "b"), **build)),
                                 expected)

    def test_a_build_that_did_not_run(self):
        with tempfile.TemporaryDirectory() as root:
            ran = build_dir(os.path.join(root, "native"), ["a"], {"a": True},
                            {"a": gtest_report(("x", "ok"))})
            self.assertEqual(self.summary(ran, os.path.join(root, "win64")),
                             ("1 passed, 1 failed, 0 skipped", 1))


if __name__ == "__main__":
    unittest.main()
