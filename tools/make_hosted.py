#!/usr/bin/python3
"""Writes the page for a school's server: a folder with the one-file page as index.html
(which, served over http(s), names its manifest and registers its service worker), the web
app manifest, the service worker, the worker that retires the app, and the app's icons; and
a .zip of that folder, which unpacks to a folder named kestramo. The manifest's names come
from the desktop entry, its colours from the page's own form. The page carries its own
Content-Security-Policy, naming each of its scripts by its hash; the tool prints it.
The same inputs give the same bytes: the zip's times are SOURCE_DATE_EPOCH's (or 1980's).

usage: make_hosted.py --page kestramo.html --folder OUT --zip OUT.zip
The script, the worker, the desktop entry and the icons are this source tree's own.
"""
import argparse
import base64
import hashlib
import json
import os
import pathlib
import re
import shutil
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[1]
SCRIPT = ROOT / "ui/web/hosted.js"
WORKER_SOURCE = ROOT / "ui/web/service_worker.js"
RETIRE_SOURCE = ROOT / "ui/web/retire_worker.js"
DESKTOP = ROOT / "packaging/bg.kestramo.Kestramo.desktop"
ICONS = [ROOT / "app/icons" / name  # any 192, any 512, maskable 512
         for name in ("kestramo-192.png", "kestramo-512.png", "kestramo-maskable-512.png")]
MANIFEST = "manifest.webmanifest"
WORKER = "service-worker.js"
RETIRE = "retire-service-worker.js"
APP = "kestramo"  # the folder the zip unpacks to
TYPES = {".html": "text/html; charset=utf-8", ".webmanifest": "application/manifest+json",
         ".png": "image/png"}
# What the page needs of a browser, for every release alike; the page's own policy names its
# scripts by their hashes too, and a browser that knows hashes then ignores 'unsafe-inline'.
POLICY = ("default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval'; "
          "style-src 'unsafe-inline'; font-src data:; img-src 'self' data:; "
          "manifest-src 'self'; worker-src 'self'; connect-src 'self'; base-uri 'none'; "
          "form-action 'none'")


def desktop_entry(path):
    """The entry's keys, the Bulgarian ones as they are written (Name[bg])."""
    entry = {}
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        key, sep, value = line.partition("=")
        if sep:
            entry[key.strip()] = value.strip()
    return entry


def form_colour(page):
    """The form's colour, from its first look in the page."""
    found = re.search(r'<main id="form" style="[^"]*background-color: rgb\((\d+), (\d+), (\d+)\)',
                      page)
    if not found:
        raise SystemExit("make_hosted.py: the page has no first look of its form")
    return "#%02x%02x%02x" % tuple(int(n) for n in found.groups())


def policy(page):
    """POLICY with the hash of every script the page runs: its own elements, and the program's
    text, which the page runs as a script of its own once the first look shows."""
    hashes = []
    for attributes, text in re.findall(r"<script([^>]*)>(.*?)</script>", page, re.S):
        if "application/octet-stream" not in attributes:  # the program's data, never run
            digest = base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode()
            hashes.append("'sha256-%s'" % digest)
    return POLICY.replace("script-src ", "script-src %s " % " ".join(hashes), 1)


def insert(page, before, text):
    if page.count(before) != 1:
        raise SystemExit("make_hosted.py: the page has %d of %s" % (page.count(before), before))
    return page.replace(before, text + before)


def main():
    given = argparse.ArgumentParser(usage=__doc__)
    for option in ("page", "folder", "zip"):
        given.add_argument("--" + option, required=True)
    a = given.parse_args()

    page = pathlib.Path(a.page).read_text(encoding="utf-8")
    colour = form_colour(page)
    entry = desktop_entry(DESKTOP)
    icons = {"icons/" + p.name: p.read_bytes() for p in ICONS}
    any_192, any_512, maskable = icons
    page = insert(page, "</head>",
                  '<meta name="theme-color" content="%s">\n'
                  '<link rel="apple-touch-icon" href="%s">\n' % (colour, any_192))
    script = SCRIPT.read_text(encoding="utf-8")
    page = insert(page, "</body>", "<script>\n%s</script>\n" % script)
    own_policy = policy(page)
    page = insert(page, '<meta name="viewport"',
                  '<meta http-equiv="Content-Security-Policy" content="%s">\n' % own_policy)
    manifest = {
        "name": entry["Name[bg]"],
        "short_name": entry["Name[bg]"].split(":")[0],  # the launcher's name under its icon
        "description": entry["Comment[bg]"],
        "lang": "bg",
        "dir": "ltr",
        "start_url": "./",
        "scope": "./",
        # A form of fixed size, with nothing of the browser around it.
        "display": "standalone",
        "theme_color": colour,
        "background_color": colour,
        "categories": ["education"],
        "icons": [
            {"src": any_192, "sizes": "192x192", "type": "image/png", "purpose": "any"},
            {"src": any_512, "sizes": "512x512", "type": "image/png", "purpose": "any"},
            {"src": maskable, "sizes": "512x512", "type": "image/png", "purpose": "maskable"},
        ],
    }
    files = {
        "index.html": page.encode("utf-8"),
        MANIFEST: (json.dumps(manifest, ensure_ascii=False, indent=1) + "\n").encode("utf-8"),
        **icons,
    }
    # The version is what the worker keeps: a build that changes any of it is a new one.
    digest = hashlib.sha256()
    for name in sorted(files):
        digest.update(name.encode("utf-8") + b"\0" + files[name])
    kept = {("./" if name == "index.html" else name): {
        "sha256": hashlib.sha256(data).hexdigest(),
        "type": TYPES[pathlib.PurePath(name).suffix],
        "needed": name == "index.html"} for name, data in sorted(files.items())}
    worker = WORKER_SOURCE.read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", digest.hexdigest()[:16])
    worker = worker.replace("@FILES@", json.dumps(kept, indent=1))
    files[WORKER] = worker.encode("utf-8")
    files[RETIRE] = RETIRE_SOURCE.read_bytes()

    folder = pathlib.Path(a.folder)
    shutil.rmtree(folder, ignore_errors=True)
    for name, data in files.items():
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        (folder / name).write_bytes(data)

    # A zip of the folder under its own name, in name order, with one time and mode for all.
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800)
    stamp = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(a.zip, "w") as archive:
        for name in sorted(files):
            info = zipfile.ZipInfo("%s/%s" % (APP, name), date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o100644 << 16
            info.create_system = 3  # Unix, whatever system builds it
            archive.writestr(info, files[name], compresslevel=9)
    print("%s: %d files; %s: %d bytes" % (folder, len(files), a.zip,
                                          pathlib.Path(a.zip).stat().st_size))
    print("The page's Content-Security-Policy: %s" % own_policy)


if __name__ == "__main__":
    main()
