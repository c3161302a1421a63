"""Reads the CSV files that the CSV tools export with Python's own csv module, as code page 932,
and checks that every file gives the same cells as the tools read back from it.

Usage: check_exports.py EXPORT_SAMPLE_PROGRAM
"""
import csv
import json
import os
import subprocess
import sys
import tempfile


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        out = subprocess.run([program, folder], check=True, capture_output=True, text=True).stdout
        names = out.split()
        if len(names) < 10:
            sys.exit("too few CSV files exported: %r" % names)
        data = os.path.join(folder, "data")
        failures = 0
        quoted = 0
        for name in names:
            path = os.path.join(data, name)
            with open(path, "rb") as f:
                raw = f.read()
            if raw and not raw.endswith(b"\r\n"):
                failures += 1
                print("%s: the last line does not end with CR LF" % name)
            quoted += raw.count(b'"')
            with open(path, encoding="cp932", newline="") as f:
                rows = [row for row in csv.reader(f)]
            with open(path + ".json", encoding="utf-8") as f:
                expected = json.load(f)
            if rows != expected:
                failures += 1
                print("%s: Python reads other cells" % name)
                for got, want in zip(rows, expected):
                    if got != want:
                        print("  python: %r\n  tools:  %r" % (got, want))
                        break
                if len(rows) != len(expected):
                    print("  python reads %d rows, the tools %d" % (len(rows), len(expected)))
        if quoted == 0:
            failures += 1
            print("no exported cell was quoted: the sample lacks its awkward names")
        print("%d CSV files read, %d differ" % (len(names), failures))
        sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
