#!/usr/bin/python3
"""The web page in headless Chromium: it loads cleanly, plays with mouse and
touch (the first touch heard, sound resting between sounds) and with keys
alone (a screen reader hearing the questions), keeps progress
across reloads and within the storage's room, loads a progress file only when
asked and can undo it, draws the same pixels as the headless host (in every
language, every kind of question; crisp on a phone, laid out before the first
paint), speaks the game's language, survives damaged or throwing storage,
plays in one tab at a time, plays offline after one download, and rests when
nothing moves.

Each case gets a browser profile of its own; the page is served by a local
server on 127.0.0.1 that lives as long as the run.

  web_test.py --site build/web/site --reference build/test/tests/web/reference_screen
  ... --measure                 first-frame times and the idle renderer's CPU
  ... --screenshots docs/screenshots
"""
import argparse
import base64
import functools
import http.server
import io
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import traceback

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from game_places import AUTO_BOX, CHECK, EXIT, HEIGHT, HOUR_BACK, HOUR_FORWARD, MENU, MINUTE_FORWARD, OK_BUTTON, TITLE, WIDTH  # noqa: E402


def level_box(level):
    """A point inside the box of a level (1 to 10) on the level screen."""
    return ((level - 1) % 5 + 1) * 30 + 5, ((level - 1) // 5 + 4) * 20 + 5


ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# The game's languages and a locale of each, as the resources list them.
with open(os.path.join(ROOT, "resources", "languages.h"), encoding="ascii") as header:
    LANGUAGES = re.findall(r'\{"(\w+)", "([\w.-]+)"', header.read())
# The translation table's rows by language, for the page's own words.
with open(os.path.join(ROOT, "resources", "translations.tsv"), encoding="utf-8") as table:
    _rows = [line.rstrip("\n").split("\t") for line in table if line.strip()]
WORDS = {language: {row[0]: (row + [""] * len(_rows[0]))[column] for row in _rows[1:]}
         for column, language in enumerate(_rows[0]) if column}
# The languages written from right to left.
RIGHT_TO_LEFT = {"ar"}
# The kinds of question, each at the numbers that make it widest (two-digit
# hours and minutes) and at those that change its words (1, a few, 0):
# level, hours, minutes. Each changes the level, so that each is asked anew.
QUESTIONS = [(4, 12, 55), (1, 1, 0), (4, 1, 55), (1, 12, 0),                 # whole hours, minutes
             (5, 1, 0), (7, 1, 0), (5, 4, 0), (7, 4, 0), (5, 12, 0), (7, 12, 0),  # hours from now, in the past
             (6, 0, 0), (8, 0, 0), (6, 0, 55), (8, 0, 55),                   # minutes
             (9, 12, 55), (10, 12, 55)]                                     # both
# The local time of every case; it also seeds the questions.
WHEN = (2026, 12, 8, 10, 9, 30)
FIXED_DATE = """(() => {
  const fixed = new Date(%d, %d, %d, %d, %d, %d).getTime();
  const RealDate = Date;
  class FixedDate extends RealDate {
    constructor(...args) { if (args.length === 0) super(fixed); else super(...args); }
    static now() { return fixed; }
  }
  window.Date = FixedDate;
})();""" % (WHEN[0], WHEN[1] - 1, WHEN[2], WHEN[3], WHEN[4], WHEN[5])
# Layout shifts of the page, from its start.
LAYOUT_SHIFTS = """window.layoutShifts = [];
new PerformanceObserver((list) => { for (const e of list.getEntries()) window.layoutShifts.push(e.value); })
  .observe({type: "layout-shift", buffered: true});"""
# The texts that the page's status line shows, as they come.
STATUS_SHOWN = """document.addEventListener("DOMContentLoaded", () => {
  const line = document.getElementById("status");
  window.statusShown = line.textContent ? [line.textContent] : [];
  new MutationObserver(() => line.textContent && window.statusShown.push(line.textContent))
    .observe(line, {childList: true});
});"""
# What the live region said, with when, as it comes.
SPOKEN = """document.addEventListener("DOMContentLoaded", () => {
  const region = document.getElementById("spoken");
  window.spokenTexts = [];
  new MutationObserver(() => region.textContent && window.spokenTexts.push([performance.now(), region.textContent]))
    .observe(region, {childList: true});
});"""
THROWING_STORAGE = """(() => {
  for (const name of ["getItem", "setItem", "removeItem"])
    Storage.prototype[name] = () => { throw new DOMException("denied", "SecurityError"); };
})();"""


class Server:
    """The site on a local port, in a thread of this process; it notes the
    path and status of every answer (requests) and holds the answers of the
    paths in delays back for that many seconds."""

    def __init__(self, site):
        handler = functools.partial(QuietHandler, directory=site)
        self.site = site
        self.httpd = QuietServer(("127.0.0.1", 0), handler)
        self.requests = self.httpd.requests = []
        self.delays = self.httpd.delays = {}
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):  # a browser that closed mid-answer
            super().handle_error(request, client_address)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json"}

    def do_GET(self):
        time.sleep(self.server.delays.get(self.path, 0))
        super().do_GET()

    def log_request(self, code="-", size="-"):
        self.server.requests.append((self.path.split("?")[0], int(code)))

    def log_message(self, *args):
        pass


class Browser:
    """One Chromium with a fresh profile, and the page's helpers."""

    def __init__(self, url, width=600, height=800, scripts=(FIXED_DATE,), autoplay=True):
        self.profile = tempfile.TemporaryDirectory(prefix="horalia-web-test.")
        options = Options()
        options.binary_location = "/usr/bin/chromium"
        # Without autoplay, sound waits for the user's permission as on a real phone.
        policy = "no-user-gesture-required" if autoplay else "document-user-activation-required"
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--user-data-dir=" + self.profile.name, "--window-size=%d,%d" % (width, height),
                         "--autoplay-policy=" + policy):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.url = url
        for script in scripts:
            self.cdp("Page.addScriptToEvaluateOnNewDocument", source=script)

    def close(self):
        self.driver.quit()
        self.profile.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *error):
        self.close()

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self):
        self.driver.get(self.url)
        self.wait_for(lambda: self.js("return window.horaliaPage && window.horaliaPage.frames > 0"),
                      "the first picture")
        self.settle()

    def reload(self):
        self.driver.refresh()
        self.wait_for(lambda: self.js("return window.horaliaPage && window.horaliaPage.frames > 0"),
                      "the first picture after a reload")
        self.settle()

    def wait_for(self, condition, what, seconds=15):
        end = time.time() + seconds
        while time.time() < end:
            if condition():
                return
            time.sleep(0.05)
        raise AssertionError("timed out waiting for %s (notice: %s)" % (what, self.js(
            "const n = document.getElementById('notice'); return n && !n.hidden ? n.textContent : null")))

    def settle(self, quiet=0.3):
        """Waits until no picture has been drawn for a while (watched in the
        page, which spares a round trip to the browser at every look)."""
        self.driver.execute_async_script(
            "const [quiet, done] = arguments; let last = -1, since = performance.now();"
            "(function look() {"
            "  const frames = window.horaliaPage.frames;"
            "  if (frames !== last) { last = frames; since = performance.now(); }"
            "  if (performance.now() - since >= quiet) done(); else setTimeout(look, 10);"
            "})();", quiet * 1000)

    def page_point(self, point):
        box = self.js("const b = document.getElementById('screen').getBoundingClientRect();"
                      "return [b.left, b.top, b.width, b.height];")
        return (box[0] + (point[0] + 0.5) * box[2] / WIDTH, box[1] + (point[1] + 0.5) * box[3] / HEIGHT)

    def tap(self, point, touch=False, quick=False):
        """A child's tap; a quick one follows the last at once (taps far apart
        never pair into a double-click)."""
        x, y = self.page_point(point)
        if touch:
            self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
            self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        else:
            for kind in ("mousePressed", "mouseReleased"):
                self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
        if quick:
            self.settle(quiet=0.15)
            return
        # Further than the double-click time apart, as a child taps.
        time.sleep(0.55)
        self.settle()

    def key(self, name, shift=False):
        """Presses and lets go of a key (a DOM key name), with Shift held if
        asked, as far apart from the last press as a tap."""
        codes = {"ArrowUp": 38, "Enter": 13, "Tab": 9, " ": 32, "Shift": 16, "Escape": 27}
        keys = ["Shift", name] if shift else [name]
        for kind, order in (("keyDown", keys), ("keyUp", keys[::-1])):
            for key in order:
                # Enter and Space type a character, as a button's activation needs.
                text = {"Enter": "\r", " ": " "}.get(key, "") if kind == "keyDown" else ""
                self.cdp("Input.dispatchKeyEvent", type=kind, key=key, windowsVirtualKeyCode=codes[key],
                         modifiers=8 if shift else 0, text=text)
        time.sleep(0.55)
        self.settle()

    def pixels(self):
        """The canvas as RGB bytes."""
        data = self.js("const c = document.getElementById('screen');"
                       "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
                       "let rgb = ''; for (let i = 0; i < d.length; i += 4) rgb += String.fromCharCode(d[i], d[i + 1], d[i + 2]);"
                       "return btoa(rgb);")
        return base64.b64decode(data)

    def stored(self):
        return self.js("try { return localStorage.getItem('horalia.registry'); } catch (e) { return null; }")

    def errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    def notice(self):
        """The notice's text (no-break spaces as spaces); None when none is shown."""
        return self.js("const n = document.getElementById('notice');"
                       "return n.hidden ? null : document.getElementById('notice-text').textContent.replace(/\u00a0/g, ' ');")

    def click(self, element_id):
        self.js("document.getElementById(arguments[0]).click();", element_id)

    def load_file(self, text):
        """Chooses a file of that text (bytes) with "Load progress"."""
        with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as f:
            f.write(text)
        try:
            self.driver.find_element("id", "progress-file").send_keys(f.name)
            self.wait_for(lambda: self.notice() is not None, "the page's answer to a loaded file")
        finally:
            os.unlink(f.name)


class Reference:
    """The headless host's pictures and the first question's answer."""

    def __init__(self, tool):
        self.tool = tool
        self.folder = tempfile.TemporaryDirectory(prefix="horalia-reference.")

    def screen(self, name, progress=None):
        """The screen's picture, with the progress of that file when given."""
        path = os.path.join(self.folder.name, name + ".ppm")
        subprocess.run([self.tool, name, *map(str, WHEN), path, *([progress] if progress else [])], check=True)
        with open(path, "rb") as ppm:
            data = ppm.read()
        header = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT)
        assert data.startswith(header), "unexpected reference picture"
        return data[len(header):]

    def matrix(self, locale, questions):
        """The title, game and level screens and the questions' screens in the
        language of the locale, and the seed of each question."""
        folder = os.path.join(self.folder.name, locale)
        os.makedirs(folder, exist_ok=True)
        environment = {name: value for name, value in os.environ.items()
                       if name not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
        environment["LANG"] = locale
        out = subprocess.run([self.tool, "matrix", *map(str, WHEN), folder, *("%d:%d:%d" % q for q in questions)],
                             check=True, capture_output=True, text=True, env=environment)
        seeds = list(map(int, out.stdout.split()))
        names = ["title", "game", "level"] + ["question-%d" % (i + 1) for i in range(len(questions))]
        header = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT)
        screens = {}
        for name in names:
            with open(os.path.join(folder, name + ".ppm"), "rb") as ppm:
                screens[name] = ppm.read()[len(header):]
        return screens, seeds

    def answer(self):
        out = subprocess.run([self.tool, "answer", *map(str, WHEN), "-"], check=True, capture_output=True, text=True)
        minutes, hours = map(int, out.stdout.split())
        return minutes, hours


def differences(a, b):
    return sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])


def answer_right(browser, reference):
    minutes, hours = reference.answer()
    for _ in range(minutes):
        browser.tap(MINUTE_FORWARD)
    for _ in range(hours):
        browser.tap(HOUR_FORWARD)
    browser.tap(CHECK)
    browser.settle(quiet=1.0)  # the spin, then the next question


def score_stored(browser):
    text = browser.stored() or ""
    for line in text.splitlines():
        if line.startswith('"score"='):
            return line.split("=", 1)[1].strip('"')
    return None


# ---- The cases.

def case_play_keep_progress(server, reference):
    """Loads with no console error; a tap starts the game with sound; a right
    answer at level 1 scores 12; after a reload the game goes on from 12."""
    with Browser(server.url) as browser:
        browser.open()
        # What each sound handed to Web Audio came to (false: silence).
        browser.js("const page = window.horaliaPage; page.played = []; const play = page.play;"
                   "page.play = function (...args) { const ok = play.apply(this, args); this.played.push(ok); return ok; };")
        browser.tap(TITLE)
        assert browser.pixels() == reference.screen("game"), "the title tap did not start the game"
        played = browser.js("return window.horaliaPage.played")
        assert played and all(played), "sounds after the first tap: %s" % played
        answer_right(browser, reference)
        assert score_stored(browser) == "12", "score after a right answer: %r" % score_stored(browser)
        browser.reload()
        assert score_stored(browser) == "12", "score after a reload: %r" % score_stored(browser)
        browser.tap(TITLE)
        answer_right(browser, reference)  # the same seed draws the same first question
        assert score_stored(browser) == "24", "the reloaded game did not go on from 12: %r" % score_stored(browser)
        errors = browser.errors()
        assert not errors, "console errors: %s" % errors


def case_touch(server, reference):
    """On a touch screen, where a touch's press does not yet count as the
    user's permission for sound, the first tap starts the game as a click
    does and is heard; sound rests (the audio suspended) once it has ended and
    wakes for the next; the exit icon ends the game with a goodbye."""
    with Browser(server.url, autoplay=False) as browser:
        browser.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=2)
        browser.open()
        browser.tap(TITLE, touch=True)
        assert browser.pixels() == reference.screen("game"), "a touch did not start the game"
        sound = "const page = window.horaliaPage; return [page.soundsStarted, page.audio && page.audio.state];"
        assert browser.js(sound)[0] == 1, "the first tap was not heard: %s" % browser.js(sound)
        browser.wait_for(lambda: browser.js(sound)[1] == "suspended", "the sound to rest")
        browser.tap(HOUR_FORWARD, touch=True)
        assert browser.js(sound)[0] == 2, "the next tap was not heard"
        browser.wait_for(lambda: browser.js(sound)[1] == "suspended", "the sound to rest again")
        refused = [e["message"] for e in browser.driver.get_log("browser") if "AudioContext was not allowed" in e["message"]]
        assert not refused, refused
        browser.tap(EXIT, touch=True)
        browser.wait_for(lambda: browser.notice() is not None, "the goodbye after the exit icon")
        assert "See you next time" in browser.notice()


def case_same_pixels_in_every_language(server, reference):
    """In every language, one page load: the page speaks it (lang, its
    direction, its links, its manifest, the goodbye), downloads the resources
    of that language and of no other, and draws the headless host's title,
    game and level screens and every kind of question at its widest numbers,
    pixel for pixel."""
    compared, wrong = 0, []
    for language, locale in LANGUAGES:
        del server.requests[:]
        screens, seeds = reference.matrix(locale, QUESTIONS)
        tag = language.replace("_", "-")
        languages = "Object.defineProperty(Navigator.prototype, 'languages', {get: () => ['%s']});" % tag
        with Browser(server.url, scripts=(FIXED_DATE, languages)) as browser:
            def compare(name):
                different = differences(browser.pixels(), screens[name])
                if different:
                    wrong.append("%s %s: %d pixels" % (language, name, different))
                return 1
            browser.open()
            words = WORDS[language]
            assert browser.js("return document.documentElement.lang") == tag, language
            assert browser.js("return document.getElementById('save-progress').textContent") == \
                words["page.save_progress"], language
            assert browser.js("return document.documentElement.dir") == \
                ("rtl" if language in RIGHT_TO_LEFT else "ltr"), language
            manifest = browser.driver.execute_async_script(
                "fetch(document.querySelector('link[rel=manifest]').href).then(r => r.json()).then(arguments[0]);")
            assert (manifest["lang"], manifest["description"]) == (tag, words["package.summary"]), manifest
            packs = sorted({path for path, _ in server.requests if path.startswith("/languages/")})
            assert packs == ([] if language == "en" else ["/languages/%s.res" % language]), (language, packs)
            compared += compare("title")
            browser.tap(TITLE, quick=True)
            compared += compare("game")
            browser.tap(MENU, quick=True)
            compared += compare("level")
            for i, ((level, _, _), seed) in enumerate(zip(QUESTIONS, seeds)):
                browser.tap(level_box(level), quick=True)
                browser.js("window.horaliaPage.seedRandom(arguments[0]);", seed)
                browser.tap(OK_BUTTON, quick=True)
                compared += compare("question-%d" % (i + 1))
                browser.tap(MENU, quick=True)
            browser.tap(EXIT, quick=True)
            browser.wait_for(lambda: browser.notice() is not None, "the goodbye in " + language)
            assert browser.notice() == words["page.goodbye"].replace("\u00a0", " "), (language, browser.notice())
            assert not browser.errors(), "console errors: %s" % browser.errors()
    print("web: %d screens compared in %d languages" % (compared, len(LANGUAGES)))
    assert not wrong, "screens that differ from the headless host's: %s" % wrong


def damaged_copies(browser):
    return browser.js("return Object.keys(localStorage).filter(k => k.startsWith('horalia.registry.damaged-'))"
                      ".map(k => localStorage.getItem(k));")


def case_storage_kept(server, reference):
    """Progress cannot silently stop being kept. A stored text that cannot be
    read is set aside as the one damaged copy (older ones go) and the game
    starts afresh at level 1; one that does not fit beside what else the
    browser keeps is dropped, with a word, so that progress is kept again. A
    file over the size limit is refused before anything is stored, its size
    named. Writes that fail are told once."""
    with Browser(server.url, scripts=(FIXED_DATE, STATUS_SHOWN)) as browser:
        browser.open()
        browser.js("localStorage.setItem('horalia.registry.damaged-20250101-000000', 'older');"
                   "localStorage.setItem('horalia.registry', 'not a registry\\u0000');")
        browser.reload()
        browser.tap(TITLE)
        assert damaged_copies(browser) == ["not a registry\u0000"], "kept aside: %r" % damaged_copies(browser)
        assert browser.pixels() == reference.screen("game"), "the game did not start afresh at level 1"
        # 2.5 MB of another page's data and 2 MB of damaged progress leave no
        # room for a copy (the browser allows about 5 MB).
        browser.js("localStorage.clear(); localStorage.setItem('another page', 'x'.repeat(2.5 * 1048576));"
                   "localStorage.setItem('horalia.registry', 'damaged ' + 'y'.repeat(2 * 1048576));")
        browser.reload()
        assert damaged_copies(browser) == [], "a copy that cannot fit"
        assert (browser.stored() or "").startswith("Windows Registry Editor"), "progress is not kept again"
        assert any("had to be removed" in text for text in browser.js("return window.statusShown"))
        stored = browser.stored()
        header = b"Windows Registry Editor Version 5.00\r\n\r\n"
        browser.load_file(header + b";" * ((6 << 20) - len(header)))
        assert "6.0 MB" in browser.notice() and "2 MB" in browser.notice(), browser.notice()
        assert browser.stored() == stored, "the file over the limit was stored"
        browser.click("notice-button")
        # A full storage: the game's writes fail and the player is told once.
        browser.js("const set = Storage.prototype.setItem; Storage.prototype.setItem = function (key, value) {"
                   "  if (key === 'horalia.registry') throw new DOMException('full', 'QuotaExceededError');"
                   "  return set.call(this, key, value); };")
        for tap in (TITLE, MENU, AUTO_BOX, AUTO_BOX):
            browser.tap(tap)
        told = [text for text in browser.js("return window.statusShown") if "keep progress" in text]
        assert len(told) == 1, "failed writes told %d times" % len(told)


def case_throwing_storage(server, reference):
    """Storage that throws at every call leaves the game playable, and says so once."""
    with Browser(server.url, scripts=(FIXED_DATE, THROWING_STORAGE, STATUS_SHOWN)) as browser:
        browser.open()
        browser.tap(TITLE)
        assert browser.pixels() == reference.screen("game"), "the game did not start without storage"
        frames = browser.js("return window.horaliaPage.frames")
        browser.tap(HOUR_FORWARD)
        assert browser.js("return window.horaliaPage.frames") > frames, "the arrow did not move the hand"
        assert not browser.errors(), "console errors: %s" % browser.errors()
        told = browser.js("return window.statusShown")
        assert len(told) == 1 and "keep progress" in told[0], "told: %s" % told


# Progress as the page stores it, and as a Windows registry editor exports
# other progress: UTF-16 with numbers as DWORDs (level 3, score 123).
STORED_PROGRESS = ('Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n'
                   '"score"="345"\n"level"="8"\n\n')
EXPORTED_PROGRESS = b"\xff\xfe" + ('Windows Registry Editor Version 5.00\r\n\r\n'
                                   '[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\r\n'
                                   '"Level"=dword:00000003\r\n"Score"=dword:0000007b\r\n\r\n').encode("utf-16-le")


def case_load_progress(server, reference):
    """Loading a file asks first, with level and score on both sides: "Keep
    mine" (or Escape) changes nothing; "Replace" loads it (the game then draws what the
    headless host draws from the same file); "Undo" brings the progress back."""
    with Browser(server.url) as browser, tempfile.NamedTemporaryFile(suffix=".reg") as exported:
        exported.write(EXPORTED_PROGRESS)
        exported.flush()
        browser.open()
        browser.js("localStorage.setItem('horalia.registry', arguments[0]);", STORED_PROGRESS)
        browser.reload()
        browser.load_file(EXPORTED_PROGRESS)
        asked = browser.notice()
        assert "level 8, score 345" in asked and "level 3, score 123" in asked, asked
        browser.click("notice-other")
        assert browser.notice() is None and browser.stored() == STORED_PROGRESS, "kept progress changed"
        browser.load_file(EXPORTED_PROGRESS)
        browser.key("Escape")  # as "Keep mine"
        assert browser.notice() is None and browser.stored() == STORED_PROGRESS, "Escape did not keep progress"
        browser.load_file(EXPORTED_PROGRESS)
        browser.click("notice-button")
        restarted = ("return !!window.horaliaPage && window.horaliaPage.frames > 0 && "
                     "document.getElementById('undo-load').hidden === %s")
        browser.wait_for(lambda: browser.js(restarted % "false"), "the game with the loaded progress")
        browser.settle()
        browser.tap(TITLE)
        assert browser.pixels() == reference.screen("game", exported.name), "not the file's progress"
        browser.click("undo-load")
        browser.wait_for(lambda: browser.js(restarted % "true") and browser.stored() == STORED_PROGRESS,
                         "the earlier progress back")


def case_layout(server, reference):
    """On a phone of three device pixels to the CSS pixel the canvas is laid
    out before the first paint (nothing shifts), takes the screen's width in
    whole device pixels and draws every game pixel whole (only the game's
    colours within it); the page may be zoomed while the canvas keeps
    double-taps from zooming; Save and Load are buttons that Tab reaches; the
    manifest lets a tablet turn and brings a maskable icon; the page's script
    is minified; a notice taller than the screen scrolls."""
    with Browser(server.url, scripts=(FIXED_DATE, LAYOUT_SHIFTS)) as browser:
        browser.cdp("Emulation.setDeviceMetricsOverride", width=393, height=852, deviceScaleFactor=3, mobile=True)
        server.delays["/horalia_page.js"] = 0.5  # the page paints before its script has come
        try:
            browser.open()
        finally:
            server.delays.clear()
        assert browser.js("return window.layoutShifts") == [], "layout shifts %s" % browser.js("return window.layoutShifts")
        box = browser.js("const b = document.getElementById('screen').getBoundingClientRect();"
                         "return {x: b.left, y: b.top, width: b.width, height: b.height, scale: 1};")
        assert box["width"] == 393 and box["height"] * 3 == 1572, "canvas %s" % box
        shot = Image.open(io.BytesIO(base64.b64decode(browser.cdp("Page.captureScreenshot", clip=box)["data"])))
        title = reference.screen("title")
        colours = {tuple(title[i:i + 3]) for i in range(0, len(title), 3)}
        shown = {colour for _, colour in shot.convert("RGB").getcolors(1 << 20)}
        assert shot.size == (1179, 1572) and shown <= colours, "%s, %d colours not the game's" % (
            shot.size, len(shown - colours))
        viewport = browser.js("return document.querySelector('meta[name=viewport]').content")
        assert "user-scalable" not in viewport and "maximum-scale" not in viewport, viewport
        assert browser.js("return getComputedStyle(document.getElementById('screen')).touchAction") == "pinch-zoom"
        # The first Tab gives the game the focus; on the title, with no
        # buttons of its own, the game hands the next one on to the page.
        for expected in ("CANVAS ", "BUTTON Save progress", "BUTTON Load progress"):
            browser.cdp("Input.dispatchKeyEvent", type="keyDown", key="Tab", code="Tab", windowsVirtualKeyCode=9)
            browser.cdp("Input.dispatchKeyEvent", type="keyUp", key="Tab", code="Tab", windowsVirtualKeyCode=9)
            browser.wait_for(lambda: browser.js("const e = document.activeElement; return e.tagName + ' ' + "
                                                "e.textContent;") == expected, "Tab to reach " + expected)
        manifest, script = browser.driver.execute_async_script(
            "Promise.all([fetch(document.querySelector('link[rel=manifest]').href).then(r => r.json()),"
            " fetch('horalia_page.js').then(r => r.text())])"
            ".then(arguments[0]);")
        assert manifest["orientation"] == "any", manifest["orientation"]
        assert any(icon["purpose"] == "maskable" for icon in manifest["icons"]), manifest["icons"]
        assert script.count("\n") <= 1, "the page's script is not minified"
        # Turned and zoomed, a notice taller than the screen scrolls: its first line and its button reachable.
        browser.cdp("Emulation.setDeviceMetricsOverride", width=640, height=230, deviceScaleFactor=3, mobile=True)
        browser.click("about")
        top, bottom = browser.js("const n = document.getElementById('notice'), top = n.firstElementChild;"
                                 "const t = top.getBoundingClientRect().top; n.scrollTop = n.scrollHeight;"
                                 "return [t, n.lastElementChild.getBoundingClientRect().bottom];")
        assert top >= 0 and bottom <= 230, "About on a short screen spans %s to %s" % (top, bottom)


def case_second_tab(server, reference):
    """A second tab says the game is open elsewhere; "Play here" moves it."""
    with Browser(server.url) as browser:
        browser.open()
        first = browser.driver.current_window_handle
        browser.driver.switch_to.new_window("tab")
        second = browser.driver.current_window_handle
        browser.driver.get(server.url)
        browser.wait_for(lambda: browser.notice() is not None, "the notice in the second tab")
        assert "already open" in browser.notice()
        assert browser.js("return window.horaliaPage.frames") == 0, "the second tab started a game too"
        browser.js("document.getElementById('notice-button').click();")
        browser.wait_for(lambda: browser.js("return window.horaliaPage.frames > 0"), "the game in the second tab")
        assert browser.notice() is None
        browser.driver.switch_to.window(first)
        browser.wait_for(lambda: browser.notice() is not None, "the notice in the first tab")
        assert "already open" in browser.notice()
        assert browser.js("return window.horaliaPage.stopped"), "the first tab still plays"
        # And back: the stopped tab starts afresh and takes the game over.
        browser.js("document.getElementById('notice-button').click();")
        browser.wait_for(lambda: browser.js("return !!window.horaliaPage && window.horaliaPage.frames > 0"),
                         "the game back in the first tab")
        assert browser.notice() is None
        browser.driver.switch_to.window(second)
        browser.wait_for(lambda: browser.notice() is not None, "the notice in the second tab again")
        # Once the tab that plays is closed, the other offers to play.
        browser.driver.switch_to.window(first)
        browser.driver.close()
        browser.driver.switch_to.window(second)
        browser.wait_for(lambda: "no longer open" in (browser.notice() or ""), "the offer once the game is free")
        browser.click("notice-button")
        browser.wait_for(lambda: browser.js("return !!window.horaliaPage && window.horaliaPage.frames > 0"),
                         "the game in the remaining tab")
        assert browser.notice() is None


def case_offline(server, reference):
    """A first visit downloads each file once, the offline worker's copies
    included, and of the languages' own files only its language's; with the
    worker installed, a reload without network still plays, in English and
    in a language whose resources the page fetches beside the program."""
    for language, locale in (("en", "en_US.UTF-8"), ("ar", "ar_EG.UTF-8")):
        screens, _ = reference.matrix(locale, [])
        languages = "Object.defineProperty(Navigator.prototype, 'languages', {get: () => ['%s']});" % language
        with Browser(server.url, scripts=(FIXED_DATE, languages)) as browser:
            del server.requests[:]
            browser.open()
            browser.wait_for(lambda: browser.js("return !!navigator.serviceWorker.controller"), "the offline worker",
                             30)
            downloads = [path for path, status in server.requests if status == 200]
            twice = sorted({path for path in downloads if downloads.count(path) > 1})
            assert not twice, "downloaded twice: %s" % twice
            own = sorted({path.split("/")[2] for path, _ in server.requests
                          if re.match(r"/(languages|words|manifests)/", path)})
            assert all(name.startswith(language + ".") for name in own), (language, own)
            browser.cdp("Network.enable")
            browser.cdp("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=0,
                        uploadThroughput=0)
            browser.reload()
            assert browser.pixels() == screens["title"], "the offline page in %s" % language
            browser.tap(TITLE)
            assert browser.pixels() == screens["game"], "the offline page did not play in %s" % language


def case_new_version(server, reference):
    """A new version of the page replaces the offline copy whole once the old
    page is closed, and the old copy goes."""
    folder = tempfile.TemporaryDirectory(prefix="horalia-site.")
    site = os.path.join(folder.name, "site")
    shutil.copytree(server.site, site)
    own = Server(site)
    browser = Browser(own.url)
    try:
        browser.open()
        browser.wait_for(lambda: browser.js("return !!navigator.serviceWorker.controller"), "the offline worker", 30)
        # The next version: another page and another stamp, as a build makes them.
        with open(os.path.join(site, "index.html")) as f:
            page = f.read()
        with open(os.path.join(site, "index.html"), "w") as f:
            f.write(page.replace("<title>", '<meta name="horalia-test-version" content="2">\n<title>'))
        with open(os.path.join(site, "sw.js")) as f:
            worker = f.read()
        old_cache = re.search(r'"(horalia-[0-9a-f]+)"', worker).group(1)
        with open(os.path.join(site, "sw.js"), "w") as f:
            f.write(worker.replace(old_cache, "horalia-0000000000000002"))
        browser.open()  # this visit still plays the old version, while the new one is fetched
        assert not browser.js("return !!document.querySelector('meta[name=horalia-test-version]')")
        browser.wait_for(lambda: browser.driver.execute_async_script(
            "navigator.serviceWorker.getRegistration().then(r => arguments[0](!!(r && r.waiting)));"),
            "the new version waiting", 30)
        # The game closed and opened again. The browser lets the new version
        # take over only after the last old page has gone, and a busy machine
        # may take a moment for that: a page opened sooner still gets the old
        # version, so it is closed again and the next try waits longer.
        for attempt in range(5):
            old_tab = browser.driver.current_window_handle
            browser.driver.switch_to.new_window("tab")
            new_tab = browser.driver.current_window_handle
            browser.driver.switch_to.window(old_tab)
            browser.driver.close()
            browser.driver.switch_to.window(new_tab)
            time.sleep(0.5 * attempt)
            browser.open()
            if browser.js("return !!document.querySelector('meta[name=horalia-test-version]')"):
                break
        else:
            raise AssertionError("the old version still plays")
        caches = browser.driver.execute_async_script("caches.keys().then(arguments[0]);")
        assert caches == ["horalia-0000000000000002"], "caches: %s" % caches
        assert browser.pixels() == reference.screen("title")
    finally:
        browser.close()
        own.close()
        folder.cleanup()


def case_idle_and_spin(server, reference):
    """At rest no frame runs; while the tab is hidden nothing runs and the
    game's clock stands still; a right answer's spin runs at its normal pace."""
    with Browser(server.url) as browser:
        browser.open()
        browser.tap(TITLE)
        time.sleep(1.5)  # frames stop a second after the last change
        wakeups = browser.js("return window.horaliaPage.wakeups")
        time.sleep(2)
        rested = browser.js("return window.horaliaPage.wakeups") - wakeups
        assert rested == 0, "%d frames ran at rest" % rested
        hide = ("Object.defineProperty(document, 'hidden', {configurable: true, get: () => %s});"
                "document.dispatchEvent(new Event('visibilitychange'));")
        browser.js(hide % "true")
        browser.tap(HOUR_FORWARD)  # queued, not played, while hidden
        ticks, wakeups = browser.js("return [window.horaliaPage.ticks(), window.horaliaPage.wakeups]")
        time.sleep(1)
        later = browser.js("return [window.horaliaPage.ticks(), window.horaliaPage.wakeups]")
        assert later[1] == wakeups, "frames ran in a hidden tab"
        assert later[0] - ticks < 50, "the game's clock moved %d ms while hidden" % (later[0] - ticks)
        browser.js(hide % "false")
        browser.settle()
        assert browser.js("return window.horaliaPage.wakeups") > wakeups, "the game did not resume"
        browser.tap(HOUR_BACK)
        minutes, hours = reference.answer()
        for _ in range(minutes):
            browser.tap(MINUTE_FORWARD)
        for _ in range(hours):
            browser.tap(HOUR_FORWARD)
        # The times of the pictures drawn from here on.
        browser.js("const page = window.horaliaPage; page.drawTimes = []; const present = page.present;"
                   "page.present = function (...args) { const before = this.frames; present.apply(this, args);"
                   "  if (this.frames !== before) this.drawTimes.push(performance.now()); };")
        browser.tap(CHECK)
        browser.settle(quiet=1.0)
        times = browser.js("return window.horaliaPage.drawTimes")
        gaps = sorted(b - a for a, b in zip(times, times[1:]))
        # A step at least 84 ms after the last, at the next animation frame.
        assert len(gaps) >= 5, "the spin drew %d pictures" % len(times)
        pace = statistics.median(gaps)
        assert 84 <= pace <= 125, "the spin's steps came %.0f ms apart" % pace


def case_keys_and_screen_reader(server, reference):
    """The canvas is an application with a label and its keys described; keys
    alone start the game and answer a question; the live region says the
    question as it appears, then "Right!" with the score once the spin is
    over, never during it; Tab past the game's last control reaches the
    page's buttons, and About opens and closes by keys."""
    with Browser(server.url, scripts=(FIXED_DATE, SPOKEN)) as browser:
        browser.open()
        role, label, help_text = browser.js(
            "const c = document.getElementById('screen');"
            "return [c.getAttribute('role'), c.getAttribute('aria-label'),"
            "        document.getElementById(c.getAttribute('aria-describedby')).textContent];")
        assert role == "application" and label == "Horalia: set the clock", (role, label)
        assert "Enter checks" in help_text, help_text
        browser.key(" ")
        browser.wait_for(lambda: browser.js("return window.spokenTexts.length > 0"), "the first question said")
        question = browser.js("return window.spokenTexts[0][1]")
        assert re.fullmatch(r"Score: 0\. Level 1\. Set time to \d+:00", question), question
        minutes, hours = reference.answer()
        assert minutes == 0, "level 1 has no minutes to set"
        for _ in range(hours):
            browser.key("ArrowUp")
        checked = browser.js("return performance.now()")
        browser.key("Enter")
        browser.settle(quiet=1.0)  # the spin, then the next question
        assert score_stored(browser) == "12", "score after a right answer by keys: %r" % score_stored(browser)
        when, said = browser.js("return window.spokenTexts[window.spokenTexts.length - 1]")
        assert said.startswith("Right! Score: 12. Set time to "), said
        assert when - checked > 2000, "said %.0f ms after the check, during the spin" % (when - checked)
        # A key held with Ctrl stays the browser's: Ctrl+0 resets the zoom.
        browser.js("window.addEventListener('keydown', (e) => (window.keptFromBrowser = e.defaultPrevented));")
        for kind in ("rawKeyDown", "keyUp"):
            browser.cdp("Input.dispatchKeyEvent", type=kind, key="0", code="Digit0", windowsVirtualKeyCode=48, modifiers=2)
        assert browser.js("return window.keptFromBrowser") is False, "Ctrl+0 was kept from the browser"
        # The first Tab gives the game the focus; then from the check button
        # the hour arrows, the menu button, the exit icon, and the page.
        for _ in range(6):
            browser.key("Tab")
        focused = browser.js("return document.activeElement.id")
        assert focused == "save-progress", "Tab past the game's controls reached %r" % focused
        # About by keys: Escape puts it aside and the focus goes back to its button.
        for key in ("Tab", "Tab", "Enter"):
            browser.key(key)
        assert browser.notice().startswith("Horalia teaches"), browser.notice()
        for _ in range(2):  # past the page's end, Tab stays off what the notice hides
            browser.key("Tab")
            assert browser.js("return !document.getElementById('stage').contains(document.activeElement)")
        # What the game says is still heard: the live region is not hidden with the page behind the notice.
        region = browser.cdp("DOM.querySelector", nodeId=browser.cdp("DOM.getDocument")["root"]["nodeId"],
                             selector="#spoken")["nodeId"]
        assert not browser.cdp("Accessibility.getPartialAXTree", nodeId=region, fetchRelatives=False)["nodes"][0] \
            .get("ignored"), "the live region is hidden while About is up"
        browser.key("Escape")
        shown, focused = browser.notice(), browser.js("return document.activeElement.id")
        assert shown is None and focused == "about", "after About and Escape: %r, focus on %r" % (shown, focused)
        # The key where M is on a Latin layout: as AZERTY's "," it is no key of
        # the game's; as Russian's "ь" it is M and opens the level screen.
        browser.js("document.getElementById('screen').focus()")
        for typed, opens in ((",", False), ("\u044c", True)):
            said = browser.js("return window.spokenTexts.length")
            for kind in ("keyDown", "keyUp"):
                browser.cdp("Input.dispatchKeyEvent", type=kind, key=typed, code="KeyM", windowsVirtualKeyCode=77)
            browser.settle()
            spoken = browser.js("return window.spokenTexts.slice(%d).map((s) => s[1])" % said)
            assert bool(spoken) == opens and all(s.startswith("Level 1.") for s in spoken), (typed, spoken)
        errors = browser.errors()
        assert not errors, "console errors: %s" % errors


CASES = [case_play_keep_progress, case_touch, case_same_pixels_in_every_language, case_storage_kept,
         case_throwing_storage, case_load_progress, case_layout, case_second_tab, case_offline, case_new_version,
         case_idle_and_spin, case_keys_and_screen_reader]


# ---- Figures and screenshots.

def cpu_seconds(driver_pid):
    """CPU seconds used so far by one chromedriver's browser: its renderer
    processes, and all its processes (audio, GPU and network services too)."""
    parents, commands, times = {}, {}, {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                commands[int(pid)] = f.read()
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        parents[int(pid)] = int(fields[1])
        times[int(pid)] = int(fields[11]) + int(fields[12])
    renderers, everything = 0, 0
    for pid, command in commands.items():
        ancestor = parents.get(pid)
        while ancestor and ancestor != driver_pid:
            ancestor = parents.get(ancestor)
        if ancestor == driver_pid:
            everything += times.get(pid, 0)
            if b"--type=renderer" in command:
                renderers += times.get(pid, 0)
    assert renderers, "no renderer process of this browser"
    return renderers / os.sysconf("SC_CLK_TCK"), everything / os.sysconf("SC_CLK_TCK")


def measure(server):
    first_visits, reloads = [], []
    for _ in range(3):
        with Browser(server.url) as browser:
            browser.open()
            first_visits.append(browser.js("return window.horaliaPage.firstFrameAt"))
            for _ in range(5):
                browser.reload()
                reloads.append(browser.js("return window.horaliaPage.firstFrameAt"))
    print("first frame, first visit: median %.0f ms of %s" % (statistics.median(first_visits),
                                                             ["%.0f" % t for t in first_visits]))
    print("first frame, reload: median %.0f ms of %d" % (statistics.median(reloads), len(reloads)))

    # A first visit on a slow link, 1.6 Mbit/s down with 75 ms latency
    # (Chromium throttles the page's own requests), until the offline worker
    # has kept every file; the server counts what it sent whole (200) and what
    # it confirmed unchanged (304).
    with Browser(server.url) as browser:
        browser.cdp("Network.enable")
        browser.cdp("Network.emulateNetworkConditions", offline=False, latency=75, downloadThroughput=200000,
                    uploadThroughput=96000)
        del server.requests[:]
        browser.driver.get(server.url)
        browser.wait_for(lambda: browser.js("return !!window.horaliaPage && window.horaliaPage.frames > 0"),
                         "the first picture on the slow link", 120)
        first = browser.js("return window.horaliaPage.firstFrameAt")
        browser.wait_for(lambda: browser.js("return !!navigator.serviceWorker.controller"), "the offline worker", 120)
        sent = {}
        for path, status in server.requests:
            sent.setdefault(path, []).append(status)
        print("slow link: first frame %.0f ms; answers per file until offline: %s" % (
            first, ", ".join("%s %s" % (path, "+".join(map(str, codes))) for path, codes in sorted(sent.items()))))

    # At rest on each screen: the title before its first tap (its opening
    # sound waits for the permission a tap gives), the game and level screens
    # after the taps that reach them, which click.
    with Browser(server.url) as browser:
        browser.open()
        driver = browser.driver.service.process.pid
        for screen, taps in (("title", ()), ("game", (TITLE, HOUR_FORWARD)), ("level", (MENU,))):
            for tap in taps:
                browser.tap(tap)
            time.sleep(5)  # past the last sound, and the browser's compiling of the code just run
            before = cpu_seconds(driver)
            time.sleep(20)
            after = cpu_seconds(driver)
            print("at rest on the %s screen, over 20 s: renderer %.2f %%, whole browser %.2f %% of a core"
                  % (screen, (after[0] - before[0]) / 20 * 100, (after[1] - before[1]) / 20 * 100))


def screenshots(server, folder):
    os.makedirs(folder, exist_ok=True)
    for name, width, height, mobile, ratio in (("web-phone", 360, 740, True, 2), ("web-desktop", 1280, 800, False, 1)):
        with Browser(server.url) as browser:
            browser.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=ratio,
                        mobile=mobile)
            browser.open()
            browser.tap(TITLE)
            browser.js("window.dispatchEvent(new Event('resize'));")
            browser.settle()
            with open(os.path.join(folder, name + ".png"), "wb") as f:
                f.write(browser.driver.get_screenshot_as_png())
    print("screenshots in", folder)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--site", required=True)
    parser.add_argument("--reference", help="the reference_screen tool (for the test cases)")
    parser.add_argument("--measure", action="store_true")
    parser.add_argument("--screenshots")
    parser.add_argument("--only", help="run only the cases whose names contain this")
    options = parser.parse_args()
    server = Server(os.path.abspath(options.site))
    try:
        if options.measure:
            measure(server)
        if options.screenshots:
            screenshots(server, options.screenshots)
        if options.measure or options.screenshots:
            return 0
        reference = Reference(options.reference)
        passed, failed = 0, []
        for case in CASES:
            if options.only and options.only not in case.__name__:
                continue
            try:
                case(server, reference)
                passed += 1
                print("ok   ", case.__name__)
            except Exception:
                failed.append(case.__name__)
                print("FAIL ", case.__name__)
                traceback.print_exc()
            sys.stdout.flush()
        print("web: %d passed, %d failed" % (passed, len(failed)))
        return 1 if failed else 0
    finally:
        server.close()


if __name__ == "__main__":
    sys.exit(main())
