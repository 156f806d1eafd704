#!/usr/bin/python3
"""The version is written once, in CMakeLists.txt; the files that cannot take it from there
(the history of changes, and the guides for people, which name the release files) must
state that one. Run before a release, this says what still names another.

usage: version_stated.py SOURCE_DIR VERSION (CTest gives CMake's)
"""
import pathlib
import re
import sys

ROOT, version = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2]
sys.path.insert(0, str(ROOT / "tools"))
from make_msi import code  # noqa: E402  the product code each version gets

wrong = []
# The newest entry of each history is this version's.
for path, newest in (("packaging/debian/changelog", r"^kestramo \(([^)]+)\)"),
                     ("packaging/bg.kestramo.Kestramo.metainfo.xml", r'<release version="([^"]+)"')):
    found = re.search(newest, (ROOT / path).read_text(encoding="utf-8"), re.M).group(1)
    if found != version:
        wrong.append("%s: its newest entry is %s" % (path, found))
# Every release file's name and every "version X.YY" the guides give.
for path in ("README.md", "docs/deploy.md"):
    text = (ROOT / path).read_text(encoding="utf-8")
    for named in re.findall(r"kestramo[-_](\d+\.\d\d)[-_.]|[Vv]ersion (\d+\.\d\d)\b|\((\d\.\d\d)\)",
                            text):
        if version not in named:
            wrong.append("%s: names version %s" % (path, "".join(named)))
    for product in re.findall(r"msiexec /x (\{[0-9A-F-]+\})", text):
        if product != code("product " + version):
            wrong.append("%s: gives the product code %s, not %s's" % (path, product, version))
for line in wrong:
    print("version %s: %s" % (version, line))
print("version %s: %s" % (version, "stated alike everywhere" if not wrong else "stated otherwise"))
sys.exit(1 if wrong else 0)
