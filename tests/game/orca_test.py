#!/usr/bin/python3
"""A blind player's whole game, heard through Orca: the real window on a virtual display (Xvfb)
with openbox, in a D-Bus session of its own, read by Orca on its default settings, whose speech
goes to speech-dispatcher and there to a synthesizer that only writes down each text it is
given. The test plays by keys and checks what was spoken at each step.

Usage: orca_test.py PATH-TO-PELMORA
"""
import fcntl
import itertools
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

STEP_SECONDS = 30  # the longest wait for one thing to be spoken, on a busy machine
SKIPPED = 77  # the status CTest counts as a skipped test


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    if SPOKEN and os.path.exists(SPOKEN):
        with open(SPOKEN, encoding="utf-8", errors="replace") as f:
            print("Spoken so far:\n" + f.read(), file=sys.stderr)
    sys.exit(1)


SPOKEN = None  # the synthesizer's file, once there is one


def start_xvfb():
    """Xvfb on a free display, once it answers."""
    first = 100 + os.getpid() % 400
    for number in range(first, first + 20):
        if os.path.exists("/tmp/.X%d-lock" % number):
            continue
        display = ":%d" % number
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "800x600x24", "-nolisten", "tcp",
                                 "-noreset"], stderr=subprocess.DEVNULL)
        for _ in range(100):
            if xvfb.poll() is not None:
                break  # another server took the display meanwhile
            if subprocess.call(["xdotool", "getdisplaygeometry"],
                               env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL) == 0:
                return xvfb, display
            time.sleep(0.1)
        xvfb.terminate()
        xvfb.wait(10)
    fail("Xvfb did not start")


def one_orca_at_a_time():
    """Orca refuses to start beside another Orca of the same user, whatever its display (and
    with --replace ends it): runs of this test wait for each other, and a screen reader the
    user already runs is left alone and the test skipped."""
    lock = open(os.path.join(tempfile.gettempdir(), "pelmora-orca-test-%d.lock" % os.getuid()),
                "w")
    end = time.time() + 240
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            break
        except BlockingIOError:
            if time.time() > end:
                fail("another run of this test kept Orca for four minutes")
            time.sleep(0.5)
    if subprocess.call(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                       stdout=subprocess.DEVNULL) == 0:
        print("SKIPPED: Orca already runs for this user; this test needs one of its own")
        sys.exit(SKIPPED)
    return lock


def outside(game):
    """Starts Xvfb, then this script again inside dbus-run-session on that display."""
    for tool in ("Xvfb", "dbus-run-session", "xdotool", "xprop", "openbox", "orca",
                 "speech-dispatcher", "pgrep"):
        if not shutil.which(tool):
            fail(tool + " is missing (scripts/setup.sh installs it)")
    lock = one_orca_at_a_time()  # held until the end of the process
    xvfb, display = start_xvfb()
    # Folders of its own for everything the session's programs keep: nothing of the user's
    # is read or written.
    work = tempfile.mkdtemp(prefix="pelmora-orca-")
    try:
        env = dict(os.environ, DISPLAY=display, PELMORA_INSIDE_SESSION=work,
                   XDG_RUNTIME_DIR=os.path.join(work, "run"),
                   XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_CACHE_HOME=os.path.join(work, "cache"),
                   LC_ALL=japanese_locale())
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        for name in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "SPEECHD_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "LANGUAGE"):
            env.pop(name, None)
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, game],
                               env=env, timeout=300)
    finally:
        xvfb.terminate()
        xvfb.wait(10)
        if not os.environ.get("PELMORA_ORCA_KEEP"):  # set it to look at the files afterwards
            shutil.rmtree(work, ignore_errors=True)


def japanese_locale():
    """A player's locale when the machine has it; the test does not depend on it."""
    known = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    return "ja_JP.utf8" if "ja_JP.utf8" in known else "C.UTF-8"


def solve(digits, target=10):
    """The first operators, in the game's search order, that reach the target."""
    for ops in itertools.product("+-/*", repeat=3):
        formula = "".join(d + o for d, o in zip(digits, ops + ("",)))
        if float("%.15g" % eval(formula)) == target:
            return ops
    fail("no solution for " + "".join(digits))


def wrong(digits, target=10):
    """Operators that miss the target."""
    for ops in itertools.product("+-*", repeat=3):
        formula = "".join(d + o for d, o in zip(digits, ops + ("",)))
        if float("%.15g" % eval(formula)) != target:
            return ops
    fail("every choice reaches the target for " + "".join(digits))


# The synthesizer: a speech-dispatcher output module that appends each text, on one line, to a
# file. speech-dispatcher gets no symbol preprocessing, so the file holds what Orca sent; the
# module plays no sound, but needs an audio output, ALSA's null device.
SPEECHD_CONF = """\
LogLevel 3
LogDir "{work}/speechd-log"
DefaultModule logger
DefaultLanguage "ja"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "logger" "sd_generic" "logger.conf"
"""
LOGGER_CONF = """\
GenericExecuteSynth "printf %s \\'$DATA\\' | tr '\\\\n' ' ' >> {spoken}; echo >> {spoken}"
GenericMaxChunkLength 100000
AddVoice "ja" "MALE1" "ja"
AddVoice "en" "MALE1" "en"
GenericLanguage "ja" "ja" "utf-8"
GenericLanguage "en" "en" "utf-8"
"""


class Speech:
    """What the synthesizer has been given, line by line."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                return [l.rstrip() for l in f]
        except FileNotFoundError:
            return []

    def since(self, mark):
        return self.lines()[mark:]

    def mark(self):
        return len(self.lines())

    def wait(self, pattern, mark, seconds=STEP_SECONDS):
        """The first line after mark that matches, once it has been spoken."""
        end = time.time() + seconds
        while True:
            for line in self.since(mark):
                found = re.search(pattern, line)
                if found:
                    return found
            if time.time() > end:
                fail("never spoken: %r; spoken since: %r" % (pattern, self.since(mark)))
            time.sleep(0.05)


def inside(game):
    import pyatspi

    work = os.environ["PELMORA_INSIDE_SESSION"]
    runtime = os.environ["XDG_RUNTIME_DIR"]
    config = os.environ["XDG_CONFIG_HOME"]
    global SPOKEN
    spoken = SPOKEN = os.path.join(work, "spoken.txt")
    os.makedirs(os.path.join(config, "speech-dispatcher", "modules"))
    os.makedirs(os.path.join(work, "speechd-log"))
    with open(os.path.join(config, "speech-dispatcher", "speechd.conf"), "w") as f:
        f.write(SPEECHD_CONF.format(work=work))
    with open(os.path.join(config, "speech-dispatcher", "modules", "logger.conf"), "w") as f:
        f.write(LOGGER_CONF.format(spoken=spoken))
    socket = os.path.join(runtime, "speechd.sock")
    env = dict(os.environ, SPEECHD_ADDRESS="unix_socket:" + socket)
    processes = []
    speech = Speech(spoken)

    def start(command, **kwargs):
        process = subprocess.Popen(command, env=env, **kwargs)
        processes.append(process)
        return process

    def wm_ready():
        check = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                               capture_output=True, text=True)
        return "window id" in check.stdout

    def until(condition, what, seconds=STEP_SECONDS):
        end = time.time() + seconds
        while not condition():
            if time.time() > end:
                fail(what)
            time.sleep(0.1)

    def key(name):
        subprocess.check_call(["xdotool", "key", name])

    def say(keys, pattern, seconds=STEP_SECONDS):
        """Presses the keys, then waits until Orca has spoken a line that matches; returns the
        match and every line spoken meanwhile."""
        mark = speech.mark()
        for name in keys:
            key(name)
        found = speech.wait(pattern, mark, seconds)
        return found, speech.since(mark)

    def announced(text):
        """A text of the game's, as it reaches the synthesizer (Orca may end it with a full
        stop, and speaks ＋ and － in their plain forms)."""
        return "^" + re.escape(text).replace("＋", "[＋+]").replace("－", "[－-]") + r"\.?\s*$"

    digits_said = r"(\d) (\d) (\d) (\d)\.?\s*$"
    symbols = {"+": "＋", "-": "－", "*": "×", "/": "÷"}
    keys = {"+": "plus", "-": "minus", "*": "asterisk", "/": "slash"}
    ours = []  # every line the game announced during play

    def choose(ops):
        for place, op in enumerate(ops, 1):
            found, _ = say([keys[op]], announced("%d 番目 %s" % (place, symbols[op])))
            ours.append(found.string)

    def walk(node):
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from walk(child)

    def app():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == "pelmora":
                return a
        return None

    try:
        start(["speech-dispatcher", "--run-single", "--timeout", "0",
               "--config-dir", os.path.join(config, "speech-dispatcher"),
               "--socket-path", socket, "--pid-file", os.path.join(work, "speechd.pid")],
              stderr=subprocess.DEVNULL)
        until(lambda: os.path.exists(socket), "speech-dispatcher did not open its socket")
        # Asking for the desktop starts the session's accessibility bus and its registry.
        pyatspi.Registry.getDesktop(0)
        # A window manager, as on a desktop: it gives the new window the keyboard focus. A
        # window mapped while the manager is still starting may stay unmanaged, never focused.
        start(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
        until(wm_ready, "openbox did not come up")
        debug = os.environ.get("PELMORA_ORCA_DEBUG")  # a file for Orca's debug log
        start(["orca", "-u", os.path.join(work, "orca")] +
              (["--debug-file", debug] if debug else []),
              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        speech.wait(".", 0, 90)  # Orca says that it is on

        # Launch: the window's short name, then Start, which holds the focus, with the keys.
        launch = speech.mark()
        start([game])
        end = time.time() + 90
        while True:
            # A busy machine may be slow to hand the new window the keyboard: ask again.
            subprocess.call(["xdotool", "search", "--onlyvisible", "--name", "Pelmora",
                             "windowactivate"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=10)
            if any(re.search("^スタート", l) for l in speech.since(launch)) or time.time() > end:
                break
            time.sleep(1)
        speech.wait("^スタート", launch, 1)
        speech.wait("^Pelmora\\b", launch, 1)
        speech.wait("^演算子は .*Esc キー", launch)

        root = app()
        if root is None:
            fail("pelmora is not on the accessibility bus")
        names = [n.name for n in walk(root)]
        for heading in ("問題", "正解", "不正解", "経過時間", "残り時間", "点　数", "正解率", "正解例"):
            if names.count(heading) != 1:
                fail("%s is in the tree %d times" % (heading, names.count(heading)))
        hidden = [n for n in names if n.startswith("数字 ") or n in ("計算式変更", "計算式")]
        if len(hidden) != 4:  # the four dealt digits; the picture store and hidden boxes not
            fail("hidden controls are in the tree: %r" % hidden)

        # Start: the four digits.
        found, _ = say(["Return"], "^" + digits_said)
        digits = list(found.groups())
        ours.append(found.string)

        # A correct answer: each operator as it is set, then the verdict, the points and the
        # new digits.
        ops = solve(digits)
        choose(ops)
        boxes = sorted((n for n in walk(root) if "番目の演算子" in n.name), key=lambda n: n.name)
        chosen = [b.queryText().getText(0, -1) for b in boxes]
        if chosen != [symbols[o] for o in ops]:
            fail("the operator boxes read %r after %r" % (chosen, ops))
        found, _ = say(["Return"], r"^正解 (\d) 点、計 (\d+) 点。" + digits_said)
        points, score = found.group(1), found.group(2)
        if points not in "123" or score != points:
            fail("a first correct answer said %r" % found.group(0))
        ours.append(found.string)
        digits = list(found.groups()[2:])

        # A wrong answer: the verdict and the score, nothing more.
        missed = wrong(digits)
        choose(missed)
        found, _ = say(["Return"], announced("不正解、計 %s 点" % score))
        ours.append(found.string)

        # Orca's review of the screen, line by line from where it starts, reads the formula row
        # with the operators chosen.
        found, _ = say(["KP_Up"], ".")
        for _ in range(6):
            if "番目の演算子" in found.string:
                break
            found, _ = say(["KP_Prior"], ".")
        plain = lambda text: text.replace("＋", "+").replace("－", "-")
        row = re.findall(r"(\d) 番目の演算子 (\S)", plain(found.string))
        if row != [(str(i), plain(symbols[o])) for i, o in enumerate(missed, 1)]:
            fail("the review of the screen reads the formula row as %r" % found.string)

        # Next: the new digits.
        found, _ = say(["space"], "^先に進みます。" + digits_said)
        ours.append(found.string)

        # Backspace, then the time runs out: the time at 10 and at 5 seconds left, and not every
        # second; then what the time-out did and the new digits, and nothing stale.
        found, _ = say(["BackSpace"], announced("次は 3 番目"))
        ours.append(found.string)
        found, lines = say([], "^時間切れ。" + digits_said, 60)
        lines = [l for l in lines if l]
        ours.extend(lines)
        # A tick late by a moment may show one second less.
        if (len(lines) != 3 or not re.search(announced("残り 10 秒") + "|" + announced("残り 9 秒"), lines[0])
                or not re.search(announced("残り 5 秒") + "|" + announced("残り 4 秒"), lines[1])):
            fail("the time and the time-out were spoken as %r" % lines)

        # Stop: the result of the game.
        choose(["*"])
        say(["Escape"], announced("終了。問題 4、正解 1、不正解 3、点数 %s、正解率 25%%" % score))

        # Between games: an operator box reads its choice, the focus place reads no formula, and
        # a description is not read twice.
        say(["Tab"], "^閉じる")
        mark = speech.mark()
        say(["Tab"], "^1 番目の演算子")
        speech.wait("^×", mark)
        for place in ("2 番目の演算子", "3 番目の演算子", "目標の値", "キー入力", "スタート", "閉じる"):
            say(["Tab"], "^" + place)
        everything = speech.lines()
        place = [i for i, l in enumerate(everything) if l.startswith("キー入力")][-1]
        after = [i for i, l in enumerate(everything) if l.startswith("スタート") and i > place][0]
        if any(re.search(r"\d", l) for l in everything[place:after]):
            fail("between games the focus place reads %r" % everything[place:after])

        for line in everything:
            if "Ver1" in line or "開発チーム" in line:
                fail("the caption was spoken: %r" % line)
        for description, least in (("演算子は", 1), ("Pelmora を終了します", 1),
                                   ("1 番目の演算子 + - * / のキー", 0)):
            said = len([l for l in everything if l.startswith(description)])
            if said > 1 or said < least:
                fail("%r was spoken %d times" % (description, said))
        # About 3 seconds of speech at Orca's default rate.
        for line in ours:
            if len(line.rstrip(".")) > 24:
                fail("too long to be heard before the player acts: %r" % line)
        print("\n".join(everything[launch:]))
        return 0
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail(__doc__)
    if os.environ.get("PELMORA_INSIDE_SESSION"):  # the folder of the session's files
        sys.exit(inside(sys.argv[1]))
    sys.exit(outside(os.path.abspath(sys.argv[1])))
