#!/usr/bin/python3
"""The page as a school's server hosts it (the folder make_hosted.py writes), served from
this machine's loopback under the policy docs/deploy.md gives: an app the browser can
install, whose window is the form's size, which opens and runs with no network once
visited, and which a new build replaces by the next visit.

usage: test_hosted.py build-web/kestramo-web ENGINE [unittest arguments]
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

import engines

ROOT = engines.ROOT
POLICY = re.search(r"^Content-Security-Policy: (.+worker-src.+)$",
                   (ROOT / "docs" / "deploy.md").read_text(encoding="utf-8"), re.M).group(1)


def rebuilt(folder, mark):
    """The folder as a rebuilt page makes it, the page marked so that it can be told apart."""
    # The one-file page the folder was made from, beside it in the build.
    page = (FOLDER.parent / "kestramo.html").read_text(encoding="utf-8")
    folder.mkdir()
    source = folder / "kestramo.html"
    source.write_text(page.replace("</body>", "<!-- %s -->\n</body>" % mark), encoding="utf-8")
    built = folder / "kestramo"
    subprocess.run(["/usr/bin/python3", str(ROOT / "tools" / "make_hosted.py"), "--page",
                    str(source), "--folder", str(built), "--zip", str(folder / "web.zip")],
                   check=True, stdout=subprocess.DEVNULL)
    return built


class HostedTest(unittest.TestCase):
    def setUp(self):
        # A fresh browser each time: what one test's visit keeps is not the next one's.
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="kestramo-hosted-"))
        self.folder = engines.Folder(FOLDER, "/kestramo/",
                                     {"Content-Security-Policy": POLICY,
                                      "Cache-Control": "no-cache"})
        self.server = engines.Host(self.folder)
        self.url = self.server.origin + "/kestramo/"
        self.engine = ENGINE()
        self.addCleanup(shutil.rmtree, self.work, True)
        self.addCleanup(self.server.stop)
        self.addCleanup(self.engine.close)

    def cache(self, folder):
        """The name of the cache the build in `folder` keeps when served here."""
        worker = (folder / "service-worker.js").read_text(encoding="utf-8")
        return "kestramo %s %s" % (self.url,
                                   re.search(r"const VERSION = '(\w+)'", worker).group(1))

    def visit(self):
        return engines.Page(self.engine, None, url=self.url)

    def kept(self, page):
        """Once the service worker runs the page, the names of the caches it keeps."""
        page.wait(lambda: page.script("return !!navigator.serviceWorker.controller"), 20,
                  "the service worker")
        return self.caches(page)

    def caches(self, page):
        page.script("caches.keys().then(keys => { window.keptCaches = keys; })")
        page.wait(lambda: page.script("return window.keptCaches !== undefined"))
        return page.script("const keys = keptCaches; delete window.keptCaches; return keys")

    def serves_workers(self, page):
        if not page.script("return 'serviceWorker' in navigator && isSecureContext"):
            self.skipTest("%s offers no service worker to a page its driver opens"
                          % self.engine.name)

    def test_after_one_visit_it_opens_and_runs_with_no_network(self):
        page = self.visit()
        self.serves_workers(page)
        self.assertEqual(self.kept(page), [self.cache(FOLDER)])
        self.server.stop()
        if isinstance(self.engine, engines.Chromium):
            self.engine.cdp("Network.enable")
            self.engine.cdp("Network.emulateNetworkConditions", offline=True, latency=0,
                            downloadThroughput=-1, uploadThroughput=-1)
        page = self.visit()
        page.letter_test(timeout=60)
        self.assertEqual(page.errors(), [])

    def test_a_new_build_replaces_the_old_by_the_next_visit(self):
        page = self.visit()
        self.serves_workers(page)
        self.kept(page)
        self.folder.root = rebuilt(self.work / "next", "the next build")
        # This visit may still show the old build, while the new one is fetched behind it.
        page = self.visit()
        page.wait(lambda: self.caches(page) == [self.cache(self.folder.root)],
                  20, "the new build's cache alone")
        page = self.visit()
        self.assertIn("<!-- the next build -->", page.script("return document.body.innerHTML"))

    def test_the_browser_can_install_it_as_an_app(self):
        if not isinstance(self.engine, engines.Chromium):
            self.skipTest("only Chromium's DevTools tell what the browser reads to install it")
        self.visit()
        found = self.engine.cdp("Page.getAppManifest")
        self.assertEqual(found["errors"], [])
        manifest = found["manifest"]
        lavender = "rgba(%d,%d,%d,1)" % engines.LAVENDER  # the form's own colour
        for field, expected in (
                ("name", "Кестрамо: време за реакция"),
                ("description", "Два теста за това колко бързо реагирате на видяното"),
                ("display", "kStandalone"), ("startUrl", self.url),
                ("scope", self.url), ("id", self.url),
                ("themeColor", lavender), ("backgroundColor", lavender)):
            self.assertEqual(manifest.get(field), expected, field)
        self.assertEqual([(icon["sizes"], icon["url"].rsplit("/", 1)[1])
                          for icon in manifest["icons"]],
                         [("192x192", "kestramo-192.png"), ("512x512", "kestramo-512.png"),
                          ("512x512", "kestramo-maskable-512.png")])
        self.assertEqual(self.engine.cdp("Page.getInstallabilityErrors"),
                         {"installabilityErrors": []})

    def test_its_app_window_is_the_forms_size(self):
        if not isinstance(self.engine, engines.Chromium):
            self.skipTest("only Chromium opens a page as an app from its command line")
        # An app's own window, the bar inside it standing for a title bar inside a frame.
        app = engines.Chromium(app=self.url)
        self.addCleanup(app.close)
        sizes = lambda: app.script("const form = document.getElementById('form');"
                                   "return [innerWidth, innerHeight, form.offsetWidth,"
                                   " form.offsetHeight]")
        engines.wait_until(lambda: sizes()[:2] == sizes()[2:], 10, "the window at the form's size")
        self.assertTrue(app.script("return matchMedia('(display-mode: standalone)').matches"))

if __name__ == "__main__":
    FOLDER = pathlib.Path(sys.argv[1]).resolve()
    ENGINE = engines.ENGINES[sys.argv[2]]
    del sys.argv[1:3]
    unittest.main()
