#!/usr/bin/env python3
"""Fails when a file includes from a layer it may not see, or includes an
operating-system header outside the files that stand in for the system.

Layers, each seeing only those before it:
  platform <- net <- channel <- kiosk (records <- support <- server | cash | cardissue | payment
                                       | printing <- screen <- app)
Tools see platform, net, channel, the kiosk's record layouts and what they
share (tools/common); no tool reaches into another. Cross-process
tests, benchmarks and fuzz targets drive whole programs and may see anything.
"""
import pathlib
import re
import subprocess
import sys

BASE = ["platform/"]
NET = BASE + ["net/"]
CHANNEL = NET + ["channel/"]
RECORDS = NET + ["kiosk/records/"]
SUPPORT = CHANNEL + ["kiosk/records/", "kiosk/support/"]

# Most specific prefix first: (folder, what its files may include).
RULES = [
    ("platform/", BASE),
    ("net/", NET),
    ("channel/", CHANNEL),
    ("kiosk/records/", RECORDS),
    ("kiosk/support/", SUPPORT),
    ("kiosk/server/", SUPPORT + ["kiosk/server/"]),
    ("kiosk/cash/", SUPPORT + ["kiosk/cash/"]),
    ("kiosk/cardissue/", SUPPORT + ["kiosk/cardissue/"]),
    ("kiosk/payment/", SUPPORT + ["kiosk/payment/"]),
    ("kiosk/printing/", SUPPORT + ["kiosk/printing/"]),
    ("kiosk/screen/", SUPPORT + ["kiosk/cash/", "kiosk/cardissue/", "kiosk/payment/",
                                 "kiosk/printing/", "kiosk/screen/"]),
    ("kiosk/app/", SUPPORT + ["kiosk/server/", "kiosk/cash/", "kiosk/cardissue/", "kiosk/payment/",
                              "kiosk/printing/", "kiosk/screen/", "kiosk/app/"]),
    ("kiosk/", ["kiosk/"] + CHANNEL),
    ("tools/", CHANNEL + ["kiosk/records/", "tools/"]),
    ("tests/support/", CHANNEL + ["kiosk/records/", "tools/", "tests/support/"]),
    ("tests/", None),
    ("bench/", None),
    ("fuzz/", None),
]

# Standard C and C++ headers, and the libraries of the dependency list: all
# are there on every system the kiosk is built for.
PORTABLE_SYSTEM = re.compile(
    r"^(c[a-z]+|[a-z_]+|(assert|ctype|errno|float|limits|math|stdarg|stddef|stdint|stdio|stdlib"
    r"|string|time)\.h|immintrin\.h|gtest/.*|gmock/.*|benchmark/.*|nlohmann/.*|civetweb\.h"
    r"|sqlite3\.h|zlib\.h|libdeflate\.h|png\.h|ft2build\.h|freetype/.*|curl/.*)$"
)
# Files that are the system's stand-ins: back ends and the transport's socket file.
OS_FILES = re.compile(r"(_posix\.cpp|_posix_test\.cpp|^net/socket_api\.h)$")
TEST_FILE = re.compile(r"(_test\.cpp|/testing_[^/]*\.h|/test_[^/]*\.h|_test_support\.h)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def allowed_prefixes(path):
    for folder, allowed in RULES:
        if path.startswith(folder):
            return folder, allowed
    return None, None


def check_project_include(path, target):
    folder, allowed = allowed_prefixes(path)
    if allowed is None:
        return None
    if target.startswith(folder) and folder not in ("kiosk/", "tools/", "tests/support/"):
        return None
    if any(target.startswith(prefix) for prefix in allowed):
        if folder == "tools/" and target.startswith("tools/"):
            own = "/".join(path.split("/")[:2]) + "/"
            if not target.startswith(own) and not target.startswith("tools/common/"):
                return f"{target}: one tool does not reach into another"
        return None
    if TEST_FILE.search(path) and (
        target.startswith("tests/support/") or re.search(r"/testing_[^/]*\.h$", target)
    ):
        return None
    return f"{target}: {folder} may not include from there"


def check_file(root, path):
    problems = []
    for number, line in enumerate((root / path).read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        kind, target = match.groups()
        if kind == "<":
            if not PORTABLE_SYSTEM.match(target) and not OS_FILES.search(path):
                problems.append(f"{path}:{number}: <{target}> is a system header; "
                                "keep system calls in a *_posix.cpp file")
        else:
            problem = check_project_include(path, target)
            if problem:
                problems.append(f"{path}:{number}: {problem}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=root, check=True,
                           capture_output=True, text=True).stdout.split()
    problems = [p for f in files if (root / f).exists() for p in check_file(root, f)]
    for problem in problems:
        print(problem)
    print(f"{len(files)} files checked, {len(problems)} wrong includes")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
