#!/usr/bin/python3
"""The page as a school's server hosts it (the folder make_hosted.py writes), served from
this machine's loopback under the page's own policy: an app the browser can install, whose
window is the form's size, which opens and runs with no network once visited, whatever the
server's quirks, which a whole new build replaces by the next visit and a half-uploaded one
never does, which leaves the school's other pages alone, and which its retiring worker takes
away. In Chromium, the zip unpacked behind Debian's real nginx and Apache, configured with
the lines docs/deploy.md gives, as they stand.

usage: test_hosted.py build-web/kestramo-web ENGINE [unittest arguments]
"""
import pathlib
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest
import urllib.request
import zipfile

import engines

ROOT = engines.ROOT
DEPLOY_GUIDE = (ROOT / "docs" / "deploy.md").read_text(encoding="utf-8")


def own_policy(folder):
    """The policy the page in `folder` carries, which names its scripts by their hashes."""
    page = (folder / "index.html").read_text(encoding="utf-8")
    return re.search(r'<meta http-equiv="Content-Security-Policy" content="([^"]+)">',
                     page).group(1)


def rebuilt(folder, mark, page="kestramo.html"):
    """The folder as a rebuilt page makes it, the page marked so that it can be told apart."""
    # The one-file page the folder was made from, beside it in the build.
    html = (FOLDER.parent / page).read_text(encoding="utf-8")
    folder.mkdir()
    source = folder / "kestramo.html"
    source.write_text(html.replace("</body>", "<!-- %s -->\n</body>" % mark), encoding="utf-8")
    built = folder / "kestramo"
    subprocess.run(["/usr/bin/python3", str(ROOT / "tools" / "make_hosted.py"), "--page",
                    str(source), "--folder", str(built), "--zip", str(folder / "web.zip")],
                   check=True, stdout=subprocess.DEVNULL)
    return built


class HostedTest(unittest.TestCase):
    def setUp(self):
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="kestramo-hosted-"))
        self.addCleanup(shutil.rmtree, self.work, True)

    def serve(self, root=None, quirks=(), engine=None):
        """The folder on a loopback server, with a fresh browser: what one visit keeps is not
        the next test's."""
        root = root or FOLDER
        self.folder = engines.Folder(root, "/kestramo/", {
            "Content-Security-Policy": own_policy(root), "Cache-Control": "no-cache"}, quirks)
        self.server = engines.Host(self.folder)
        self.url = self.server.origin + "/kestramo/"
        self.engine = engine or ENGINE()
        self.addCleanup(self.server.stop)
        self.addCleanup(self.engine.close)

    def cache(self, folder):
        """The name of the cache the build in `folder` keeps when served here."""
        worker = (folder / "service-worker.js").read_text(encoding="utf-8")
        return "kestramo %s %s" % (self.url,
                                   re.search(r"const VERSION = '(\w+)'", worker).group(1))

    def visit(self, address="", wait_for=engines.LIVE_FORM):
        return engines.Page(self.engine, None, url=self.url + address, wait_for=wait_for)

    def kept(self, page):
        """Once the service worker runs the page, the names of the caches it keeps."""
        page.wait(lambda: page.script("return !!navigator.serviceWorker.controller"), 20,
                  "the service worker")
        return self.caches(page)

    def settled(self, page, promise):
        """What a promise made by the page's script comes to."""
        page.script("window.settled = undefined; (%s).then(v => { window.settled = [v]; },"
                    " e => { window.settled = [String(e)]; })" % promise)
        page.wait(lambda: page.script("return window.settled !== undefined"), 20, promise)
        return page.script("return window.settled[0]")

    def caches(self, page):
        return self.settled(page, "caches.keys()")

    def offline(self):
        """The network gone: the server stopped, and Chromium told so as well."""
        self.server.stop()
        if isinstance(self.engine, engines.Chromium):
            self.engine.cdp("Network.enable")
            self.engine.cdp("Network.emulateNetworkConditions", offline=True, latency=0,
                            downloadThroughput=-1, uploadThroughput=-1)

    def installed(self, quirks=()):
        """Served, and visited once: the page's worker runs it."""
        self.serve(quirks=quirks)
        page = self.visit()
        if not page.script("return 'serviceWorker' in navigator && isSecureContext"):
            self.skipTest("%s offers no service worker to a page its driver opens"
                          % self.engine.name)
        self.assertEqual(self.kept(page), [self.cache(FOLDER)])
        return page

    def test_after_one_visit_it_opens_and_runs_with_no_network(self):
        for quirks in (("a page beside",), ("redirect",), ("no manifest type",)):
            with self.subTest(quirks=quirks):
                self.installed(quirks)
                if quirks == ("a page beside",):  # the school's own, which stays its own
                    self.visit("news.html", wait_for=None)
                    self.assertEqual(self.engine.script("return document.title"), "Новини")
                self.offline()
                page = self.visit("?from=launcher")
                page.letter_test(timeout=60)
                # A manifest the server never gave is missing offline too: the form is not.
                self.assertEqual([error for error in page.errors() if "no manifest type" not in
                                  quirks or "manifest.webmanifest" not in error], [])

    def test_a_new_build_replaces_the_old_only_once_it_is_whole(self):
        self.installed()
        whole = rebuilt(self.work / "next", "the next build")
        half = self.work / "half"
        shutil.copytree(whole, half)
        index = (half / "index.html").read_bytes()
        (half / "index.html").write_bytes(index[:len(index) // 2])
        # Caught mid-upload: the new worker is there, its page only half. The visit shows the
        # old build; its update is refused, and the old build stays, online and offline.
        self.folder.root = half
        page = self.visit()
        update = ("navigator.serviceWorker.getRegistration().then(r => r.update().then(() =>"
                  " new Promise(done => { const w = r.installing; const look = () =>"
                  " !w || ['redundant', 'activated'].includes(w.state) ? done(w && w.state)"
                  " : setTimeout(look, 50); look(); })))")
        self.assertEqual(self.settled(page, update), "redundant")
        self.assertEqual(self.caches(page), [self.cache(FOLDER)])
        self.assertNotIn("the next build", self.visit().script("return document.body.innerHTML"))
        # The upload done: one visit fetches the new build behind the old, the next shows it.
        self.folder.root = whole
        page = self.visit()
        page.wait(lambda: self.caches(page) == [self.cache(whole)], 20,
                  "the new build's cache alone")
        page = self.visit()
        self.assertIn("<!-- the next build -->", page.script("return document.body.innerHTML"))

    def test_its_retiring_worker_takes_it_away(self):
        self.installed()
        self.folder.root = self.work
        shutil.copy(FOLDER / "retire-service-worker.js", self.work / "service-worker.js")
        # The visit shows the kept page, whose worker is replaced behind it; the page is then
        # reloaded from the server, which has it no more.
        page = self.visit()

        def reloaded():
            try:
                return not page.script("return !!document.getElementById('form')")
            except Exception:  # asked while it reloads
                return False
        engines.wait_until(reloaded, 30, "the page reloaded from the server")
        self.assertEqual(self.settled(page, "navigator.serviceWorker.getRegistrations().then("
                                            "r => caches.keys().then(c => r.length + c.length))"), 0)
        page = self.visit("?again", wait_for=None)
        self.assertFalse(page.script("return !!document.getElementById('form')"))

    def test_the_report_works_under_the_pages_policy(self):
        self.serve(rebuilt(self.work / "test", "the test page", "kestramo-test.html"))
        page = self.visit()
        page.script("Module._kestramo_test_break()")
        page.click(page.control("Command1(0)"))
        self.assertTrue(page.script("return document.getElementById('report').open"))
        page.click("#report button")
        self.assertFalse(page.script("return document.getElementById('report').open"))
        self.assertEqual(page.focused(), "Command1(0)")
        self.assertEqual(page.errors(), [])

    def test_the_browser_can_install_it_as_an_app(self):
        if ENGINE is not engines.Chromium:
            self.skipTest("only Chromium's DevTools tell what the browser reads to install it")
        self.serve()
        self.visit()
        self.assert_installable()

    def assert_installable(self):
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
        if ENGINE is not engines.Chromium:
            self.skipTest("only Chromium opens a page as an app from its command line")
        # An app's own window, the bar inside it standing for a title bar inside a frame.
        self.serve()
        app = engines.Chromium(app=self.url)
        self.addCleanup(app.close)
        sizes = lambda: app.script("const form = document.getElementById('form');"
                                   "return [innerWidth, innerHeight, form.offsetWidth,"
                                   " form.offsetHeight]")
        engines.wait_until(lambda: sizes()[:2] == sizes()[2:], 10, "the window at the form's size")
        self.assertTrue(app.script("return matchMedia('(display-mode: standalone)').matches"))

    def test_served_by_nginx_and_apache_as_documented(self):
        if ENGINE is not engines.Chromium:
            self.skipTest("the real servers are tried in Chromium")
        with zipfile.ZipFile(next(FOLDER.parent.glob("kestramo-*-web.zip"))) as archive:
            archive.extractall(self.work / "site")
        self.work.chmod(0o755)  # the servers' workers read it as nobody
        documented = re.search(r'add_header Content-Security-Policy "([^"]+)"',
                               DEPLOY_GUIDE).group(1)
        # The page's own policy is the documented one with its scripts' hashes.
        self.assertEqual(re.sub(r"'sha256-[^']+' ", "", own_policy(self.work / "site/kestramo")),
                         documented)
        for server in (Nginx, Apache):
            with self.subTest(server=server.__name__):
                self.engine = engines.Chromium()
                self.addCleanup(self.engine.close)
                self.server = server(self.work)
                self.addCleanup(self.server.stop)
                self.url = self.server.origin + "/kestramo/"
                for name, kind in (("", "text/html"), ("manifest.webmanifest",
                                                       "application/manifest+json")):
                    headers = urllib.request.urlopen(self.url + name).headers
                    self.assertEqual(headers["Content-Type"].split(";")[0], kind)
                    self.assertEqual(headers.get_all("Content-Security-Policy"), [documented])
                    self.assertEqual(headers["X-Content-Type-Options"], "nosniff")
                    self.assertEqual(headers["Cache-Control"], "no-cache")
                page = self.visit()
                self.assert_installable()
                self.kept(page)
                self.offline()
                page = self.visit()
                page.letter_test(timeout=60)
                self.assertEqual(page.errors(), [])


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class RealServer:
    """A server of Debian's started on loopback over `work`/site, whose own policy for the
    whole site the documented lines must replace in the app's folder."""
    SITE_POLICY = "default-src 'self'"

    def __init__(self, work):
        self.port = free_port()
        self.origin = "http://localhost:%d" % self.port
        self.folder = pathlib.Path(tempfile.mkdtemp(dir=work))
        self.folder.chmod(0o755)
        (self.folder / "server.conf").write_text(
            self.configuration(work / "site", re.search(
                r"```%s\n(.*?)```" % self.LANGUAGE, DEPLOY_GUIDE, re.S).group(1)))
        self.process = subprocess.Popen(self.command(), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE)
        engines.wait_until(self.answers, 10, self.LANGUAGE)

    def answers(self):
        if self.process.poll() is not None:
            raise AssertionError(self.process.stderr.read().decode())
        try:
            return bool(urllib.request.urlopen(self.origin + "/kestramo/").read())
        except OSError:
            return False

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)


class Nginx(RealServer):
    LANGUAGE = "nginx"

    def configuration(self, site, lines):
        return ("daemon off; master_process off; pid %(f)s/pid; error_log stderr;\n"
                "events {}\nhttp {\n include /etc/nginx/mime.types; access_log off;\n"
                " client_body_temp_path %(f)s; proxy_temp_path %(f)s;"
                " fastcgi_temp_path %(f)s; uwsgi_temp_path %(f)s; scgi_temp_path %(f)s;\n"
                " server {\n  listen 127.0.0.1:%(port)d;\n  root %(site)s;\n"
                "  add_header Content-Security-Policy \"%(site_policy)s\" always;\n"
                "%(lines)s }\n}\n" % {"f": self.folder, "port": self.port, "site": site,
                                       "site_policy": self.SITE_POLICY, "lines": lines})

    def command(self):
        return ["/usr/sbin/nginx", "-p", str(self.folder), "-c", str(self.folder / "server.conf"),
                "-e", "stderr"]


class Apache(RealServer):
    LANGUAGE = "apache"
    MODULES = ("mpm_event", "authz_core", "mime", "dir", "headers")

    def configuration(self, site, lines):
        return "".join("LoadModule %s_module /usr/lib/apache2/modules/mod_%s.so\n" % (m, m)
                       for m in self.MODULES) + (
            "ServerName localhost\nListen 127.0.0.1:%(port)d\nPidFile %(f)s/pid\n"
            "DefaultRuntimeDir %(f)s\nErrorLog /dev/stderr\nUser nobody\nGroup nogroup\n"
            "TypesConfig /etc/mime.types\nDirectoryIndex index.html\nDocumentRoot %(site)s\n"
            "<Directory %(site)s>\n Require all granted\n</Directory>\n"
            "Header set Content-Security-Policy \"%(site_policy)s\"\n%(lines)s"
            % {"f": self.folder, "port": self.port, "site": site,
               "site_policy": self.SITE_POLICY, "lines": lines})

    def command(self):
        return ["/usr/sbin/apache2", "-d", str(self.folder), "-f", str(self.folder / "server.conf"),
                "-DFOREGROUND"]


if __name__ == "__main__":
    FOLDER = pathlib.Path(sys.argv[1]).resolve()
    ENGINE = engines.ENGINES[sys.argv[2]]
    del sys.argv[1:3]
    unittest.main()
