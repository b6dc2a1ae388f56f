#!/usr/bin/python3
"""horalia.exe under Wine on a virtual X display, as a child uses it: the
title, the game and the level screen equal the headless host's pictures pixel
for pixel, in every language the game speaks; a question is answered right with real mouse clicks and keys and
the registry holds the points; a second copy brings the first to the front and
ends with 0; the progress is exported while the game runs, the exit icon ends
it with 0, and an edited export imports back.

The questions follow the second the game started in, read from the clock as
the game reads it. The references are made for every second between the
start and the window's appearance (one or two), and the game screen must
equal one of them; that one also gives the first question's answer.

  wine_smoke.py --exe build/windows/horalia.exe --probe build/windows/tests/windows/window_probe.exe
                --reference build/test/tests/web/reference_screen [--measure]
"""
import argparse
import os
import random
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from game_places import CHECK, EXIT, HEIGHT, HOUR_FORWARD, MENU, MINUTE_FORWARD, TITLE, WIDTH, OK_BUTTON as OK  # noqa: E402
KEY = r"HKCU\Software\Quillmoor\Horalia"


class Wine:
    """Wine's programs in the given prefix, on the given display, in a locale."""

    def __init__(self, prefix, display, locale=None):
        self.prefix, self.display = prefix, display
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", DISPLAY=display)
        if locale:
            for name in ("LANGUAGE", "LC_MESSAGES"):
                self.env.pop(name, None)
            self.env.update(LANG=locale, LC_ALL=locale)

    def speaking(self, locale):
        """The same Wine, its programs started in another locale (their UI language)."""
        return Wine(self.prefix, self.display, locale)

    def start(self, *args):
        return subprocess.Popen(["wine", *args], env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def run(self, *args, check=True):
        # Output through a file: Wine's own processes that start with the first
        # program keep a pipe open long after the program ended.
        with tempfile.TemporaryFile() as out:
            done = subprocess.run(["wine", *args], env=self.env, stdout=out, stderr=subprocess.DEVNULL,
                                  timeout=60)
            out.seek(0)
            done.stdout = out.read().decode("utf-8", "replace")
        if check and done.returncode != 0:
            raise AssertionError("wine %s ended with %d" % (" ".join(args), done.returncode))
        return done

    def registry(self):
        """The game's values as reg.exe lists them: {name: (type, data)}."""
        out = self.run("reg", "query", KEY, check=False).stdout
        return {m[0]: (m[1], m[2].strip()) for m in re.findall(r"^\s+(\S+)\s+(REG_\w+)\s*(.*)$", out, re.M)}


class Game:
    """One running horalia.exe: where its display is, taps, and its pixels."""

    def __init__(self, wine, exe, probe):
        self.wine, self.probe = wine, probe
        self.started = time.time()
        self.process = wine.start(exe)
        where = wine.run(probe, check=False)
        self.shown = time.time()
        if where.returncode != 0:
            raise AssertionError("no window of class VARDO titled Horalia appeared")
        self.x, self.y, self.scale = map(int, where.stdout.split())

    def tap(self, point, nudge=0):
        """A click at a display point; nudge moves it sideways, so that quick
        taps on one button stay further apart than a double-click allows."""
        x = self.x + (point[0] + nudge) * self.scale + self.scale // 2
        y = self.y + point[1] * self.scale + self.scale // 2
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.wine.env, check=True)
        time.sleep(0.3)

    def key(self, name):
        """A key stroke, further from the last than a double-tap allows."""
        subprocess.run(["xdotool", "key", name], env=self.wine.env, check=True)
        time.sleep(0.6)

    def pixels(self):
        """The display as RGB bytes, one sample of each scaled pixel."""
        size = "%dx%d+%d+%d" % (WIDTH * self.scale, HEIGHT * self.scale, self.x, self.y)
        screen = subprocess.run(["xwd", "-silent", "-root"], env=self.wine.env, capture_output=True,
                                check=True).stdout
        shot = subprocess.run(["convert", "xwd:-", "-crop", size, "+repage", "-sample", "%dx%d!" % (WIDTH, HEIGHT),
                               "ppm:-"], input=screen, capture_output=True, check=True).stdout
        return ppm_pixels(shot)

    def wait(self, seconds=10):
        return self.process.wait(seconds)


def ppm_pixels(data):
    header = re.match(rb"P6\s+(?:#.*\n\s*)*(\d+)\s+(\d+)\s+255\s", data)
    assert header and header.groups() == (b"%d" % WIDTH, b"%d" % HEIGHT), "not a %dx%d picture" % (WIDTH, HEIGHT)
    return data[header.end():]


class Reference:
    """The headless host's pictures at a local time, and the first question's answer."""

    def __init__(self, tool, folder, locale=None):
        self.tool, self.folder = tool, folder
        self.env = dict(os.environ)
        if locale:
            for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES"):
                self.env.pop(name, None)
            self.env["LANG"] = locale

    def screen(self, name, when):
        path = os.path.join(self.folder, "%s-%d.ppm" % (name, when))
        subprocess.run([self.tool, name, *stamp(when), path], check=True, env=self.env)
        with open(path, "rb") as ppm:
            return ppm_pixels(ppm.read())

    def answer(self, when):
        out = subprocess.run([self.tool, "answer", *stamp(when), "-"], check=True, capture_output=True, text=True)
        return tuple(map(int, out.stdout.split()))


def stamp(when):
    t = time.localtime(when)
    return map(str, (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec))


def differences(actual, expected):
    return sum(1 for i in range(0, len(expected), 3) if actual[i:i + 3] != expected[i:i + 3])


def rest_cpu(pid, seconds=5.0):
    """The share of one core a process used over some seconds."""
    def ticks():
        with open("/proc/%d/stat" % pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    before = ticks()
    time.sleep(seconds)
    return (ticks() - before) / os.sysconf("SC_CLK_TCK") / seconds


def windows_path(wine, path):
    return wine.run("winepath", "-w", path).stdout.strip()


def check(args, wine, folder):
    reference = Reference(args.reference, folder)
    wine.run("reg", "delete", KEY, "/f", check=False)
    game = Game(wine, args.exe, args.probe)
    seconds = range(int(game.started), int(game.shown) + 1)
    time.sleep(0.5)
    title = game.pixels()
    assert differences(title, reference.screen("title", seconds[0])) == 0, "the title differs from the headless host's"

    game.tap(TITLE)
    shown = game.pixels()
    seed = next((s for s in seconds if shown == reference.screen("game", s)), None)
    assert seed is not None, "the game screen equals no headless picture of the seconds %s" % list(seconds)
    game.tap(MENU)
    assert game.pixels() == reference.screen("level", seed), "the level screen differs from the headless host's"
    print("ok: title, game and level screen equal the headless host's")

    game.tap(OK)
    minutes, hours = reference.answer(seed)
    for i in range(minutes):
        game.tap(MINUTE_FORWARD, 3 * (i % 2))
    for _ in range(hours):
        game.key("Up")  # the hour arrow's key
    game.tap(CHECK)
    time.sleep(0.5)
    values = wine.registry()
    assert values.get("score") == ("REG_SZ", "12"), "the registry holds %s" % values
    assert values.get("stat", ("", ""))[0] == "REG_BINARY" and values["stat"][1].startswith("0100000001000000"), \
        "the registry holds %s" % values
    print("ok: a right answer (%d minute taps, %d hour keys) is in the registry" % (minutes, hours))

    if args.measure:
        time.sleep(5)  # the spin ends, then the game rests
        print("measure: at rest horalia.exe uses %.2f %% of a core" % (100 * rest_cpu(game.process.pid, 10)))

    second = wine.start(args.exe)
    assert second.wait(20) == 0, "the second copy did not end with 0"
    assert game.process.poll() is None, "the first copy ended"
    assert wine.run(args.probe, check=False).returncode == 0, "the first copy's window went"
    print("ok: a second copy ended with 0 and left the first one running")

    exported = os.path.join(folder, "progress.reg")
    wine.run(args.exe, "--export", windows_path(wine, exported))
    with open(exported, encoding="utf-8") as text:
        progress = text.read()
    assert progress.startswith("Windows Registry Editor Version 5.00"), progress
    assert '"score"="12"' in progress, progress
    game.tap(EXIT)
    assert game.wait() == 0, "the exit icon did not end the program with 0"

    with open(exported, "w", encoding="utf-8") as text:
        text.write(progress.replace('"score"="12"', '"score"="40"').rstrip("\r\n") + '\r\n"level"="5"\r\n')
    wine.run(args.exe, "--import", windows_path(wine, exported))
    values = wine.registry()
    assert values.get("score") == ("REG_SZ", "40") and values.get("level") == ("REG_SZ", "5"), values
    print("ok: the exit icon ended it with 0; the exported progress, edited, imported back")


def check_languages(args, wine, folder):
    """In every language the game speaks, started in its locale: the title,
    the game and the level screen equal the headless host's in that locale."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "languages.h"),
              encoding="ascii") as header:
        languages = re.findall(r'\{"(\w+)", "([\w.-]+)"', header.read())
    wrong = []
    wine.run("reg", "delete", KEY, "/f", check=False)  # no progress, as the references have none
    for language, locale in languages:
        reference = Reference(args.reference, folder, locale)
        game = Game(wine.speaking(locale), args.exe, args.probe)
        seconds = range(int(game.started), int(game.shown) + 1)
        time.sleep(0.5)
        if differences(game.pixels(), reference.screen("title", seconds[0])):
            wrong.append(language + " title")
        game.tap(TITLE)
        shown = game.pixels()
        seed = next((s for s in seconds if shown == reference.screen("game", s)), None)
        if seed is None:
            wrong.append(language + " game")
        game.tap(MENU)
        if seed is not None and game.pixels() != reference.screen("level", seed):
            wrong.append(language + " level")
        game.tap(EXIT)
        game.wait()
    assert not wrong, "screens that differ from the headless host's: %s" % wrong
    print("ok: the title, game and level screens equal the headless host's in %d languages" % len(languages))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--reference", required=True)
    parser.add_argument("--prefix", required=True, help="Wine's folder")
    parser.add_argument("--measure", action="store_true", help="also measure the CPU at rest")
    args = parser.parse_args()
    display = ":%d" % (200 + random.randrange(100))
    xvfb = subprocess.Popen(["Xvfb", display, "-noreset", "-screen", "0", "1024x768x24"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    wine = Wine(os.path.abspath(args.prefix), display)
    try:
        time.sleep(1)
        with tempfile.TemporaryDirectory(prefix="horalia-wine.") as folder:
            check(args, wine, folder)
            check_languages(args, wine, folder)
    except AssertionError as problem:
        print("FAIL: %s" % problem)
        return 1
    finally:
        subprocess.run(["wineserver", "-k"], env=wine.env, check=False)
        xvfb.terminate()
        xvfb.wait()
    print("wine smoke: every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
