#!/usr/bin/python3
"""Builds the Windows Installer package from packaging/windows/kestramo.wxs with wixl, then
mends what wixl cannot do itself, so the package is Bulgarian and the same bytes each time:

- wixl's table strings lose every character outside ASCII (its string pool takes the build
  machine's locale, not the package's code page), so each Bulgarian text goes through wixl
  as a stand-in and is put back, in code page 1251, once the package's code page is set;
- wixl draws a new package code and stamps the build's time and language 1033 into the
  summary; here the product code comes from the version, the package code from the version
  and the bytes it carries, and both times from SOURCE_DATE_EPOCH (or the newest input).

The terms (LICENSE) and the notices of the work of others (NOTICES) go in beside the
program, from the sources that this script belongs to.

usage: make_msi.py WXS EXE GUIDE ICON VERSION OUTPUT
"""
import hashlib
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import uuid

try:
    import gi

    gi.require_version("Libmsi", "1.0")
    from gi.repository import Libmsi
except (ImportError, ValueError):  # a machine without msitools may still ask for a code
    Libmsi = None

CODEPAGE = 1251  # Cyrillic, for language 1026 (Bulgarian)
LANGUAGE = 1026
# Every code of this program's packages is a name-based UUID in this namespace.
NAMESPACE = uuid.UUID("8E6DB957-30F2-48A0-AC8A-FAE9BC5241EA")
# Seconds between 1601-01-01 (Windows file times) and 1970-01-01.
FILETIME_EPOCH = 11644473600
ROOT = pathlib.Path(__file__).resolve().parents[1]


def code(name):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, name)).upper()


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def stand_ins(source, version):
    """The source with every attribute value outside ASCII replaced by a stand-in."""
    texts = {}

    def replace(match):
        value = match.group(2)
        if value.isascii():
            return match.group(0)
        key = "KESTRAMOTEXT%02d" % len(texts)
        texts[key] = (value.replace("$(var.Version)", version)
                     .replace("&quot;", '"').replace("&amp;", "&"))
        return '%s="%s"' % (match.group(1), key)

    return re.sub(r'(\w+)="([^"]*)"', replace, source), texts


def put_back(database, texts, work):
    """Each table with a stand-in, exported and imported again with its real texts."""
    forced = os.path.join(work, "_ForceCodepage.idt")
    with open(forced, "w", newline="") as f:
        f.write("\r\n\r\n%d\t_ForceCodepage\r\n" % CODEPAGE)
    database.import_(forced)

    query = Libmsi.Query.new(database, "SELECT `Name` FROM `_Tables`")
    query.execute(None)
    tables = []
    while (record := query.fetch()) is not None:
        tables.append(record.get_string(1))
    query.close()

    for table in tables:
        path = os.path.join(work, table + ".idt")
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        database.export(table, fd)
        os.close(fd)
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        if "KESTRAMOTEXT" not in text:
            continue
        for key, value in texts.items():
            text = text.replace(key, value)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        database.import_(path)


def summary(database, texts, version_digest, epoch):
    info = Libmsi.SummaryInfo.new(database, 20)
    for prop in (Libmsi.Property.SUBJECT, Libmsi.Property.COMMENTS, Libmsi.Property.KEYWORDS,
                 Libmsi.Property.AUTHOR, Libmsi.Property.TITLE):
        value = info.get_string(prop)
        if value in texts:
            info.set_string(prop, texts[value])
    info.set_int(Libmsi.Property.CODEPAGE, CODEPAGE)
    info.set_string(Libmsi.Property.TEMPLATE, "x64;%d" % LANGUAGE)
    info.set_string(Libmsi.Property.UUID, code("package " + version_digest))
    filetime = (epoch + FILETIME_EPOCH) * 10_000_000
    info.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    info.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    info.save(database)


def main():
    if len(sys.argv) != 7:
        sys.exit(__doc__.strip().splitlines()[-1])
    wxs, exe, guide, icon, version, output = sys.argv[1:]
    terms, notices = str(ROOT / "LICENSE"), str(ROOT / "NOTICES")
    inputs = (wxs, exe, guide, icon, terms, notices)
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    epoch = int(epoch) if epoch else int(max(os.stat(p).st_mtime for p in inputs))

    with tempfile.TemporaryDirectory(prefix="kestramo-msi.") as work:
        # The cabinet keeps each file's time: the files go in with the release's time.
        staged = {}
        for name, path in (("kestramo.exe", exe), ("guide-bg.html", guide),
                           ("kestramo.ico", icon), ("LICENSE.txt", terms),
                           ("NOTICES.txt", notices)):
            staged[name] = os.path.join(work, name)
            shutil.copyfile(path, staged[name])
            os.utime(staged[name], (epoch, epoch))
        with open(wxs, encoding="utf-8") as f:
            source, texts = stand_ins(f.read(), version)
        with open(os.path.join(work, "kestramo.wxs"), "w", encoding="utf-8") as f:
            f.write(source)

        # wixl takes the files by names relative to where it runs.
        msi = os.path.join(work, "kestramo.msi")
        subprocess.run(
            ["wixl", "--arch", "x64", "--output", "kestramo.msi",
             "-D", "Version=" + version,
             "-D", "ProductCode=" + code("product " + version).strip("{}"),
             "-D", "Exe=kestramo.exe", "-D", "Guide=guide-bg.html", "-D", "Icon=kestramo.ico",
             "-D", "License=LICENSE.txt", "-D", "Notices=NOTICES.txt",
             # The second and third lines of LICENSE: who holds the rights, and the licence.
             "-D", "Licence=" + " ".join(pathlib.Path(terms).read_text(
                 encoding="utf-8").splitlines()[1:3]),
             "kestramo.wxs"],
            check=True, cwd=work, env=dict(os.environ, LC_ALL="C.UTF-8"))

        database = Libmsi.Database.new(msi, Libmsi.DbFlags.TRANSACT, None)
        put_back(database, texts, work)
        version_digest = " ".join([version] + [digest(p) for p in inputs])
        summary(database, texts, version_digest, epoch)
        database.commit()
        del database
        shutil.copyfile(msi, output)
        os.utime(output, (epoch, epoch))


if __name__ == "__main__":
    main()
