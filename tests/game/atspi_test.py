#!/usr/bin/python3
"""A blind player's game, heard over AT-SPI: the real window on a virtual display (Xvfb), in a
D-Bus session of its own with the accessibility bus, read by a real client (pyatspi).

Usage: atspi_test.py PATH-TO-PELMORA
"""
import itertools
import os
import shutil
import subprocess
import sys
import tempfile
import time


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def start_xvfb():
    """Xvfb on a free display, once it answers."""
    first = 100 + os.getpid() % 400
    for number in range(first, first + 20):
        if os.path.exists("/tmp/.X%d-lock" % number):
            continue
        display = ":%d" % number
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "800x600x24", "-nolisten", "tcp",
                                 "-noreset"], stderr=subprocess.DEVNULL)
        for _ in range(50):
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


def outside(game):
    """Starts Xvfb, then this script again inside dbus-run-session on that display."""
    for tool in ("Xvfb", "dbus-run-session", "xdotool", "xprop", "openbox"):
        if not shutil.which(tool):
            fail(tool + " is missing (scripts/setup.sh installs it)")
    xvfb, display = start_xvfb()
    try:
        env = dict(os.environ, DISPLAY=display, PELMORA_INSIDE_SESSION="1")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("QT_QPA_PLATFORM", None)
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, game],
                               env=env, timeout=120)
    finally:
        xvfb.terminate()
        xvfb.wait(10)


def solve(digits, target=10):
    """The first operators, in the game's search order, that reach the target."""
    for ops in itertools.product("+-/*", repeat=3):
        formula = "".join(d + o for d, o in zip(digits, ops + ("",)))
        try:
            value = eval(formula)
        except ZeroDivisionError:
            continue
        if float("%.15g" % value) == target:
            return ops
    fail("no solution for " + "".join(digits))


def inside(game):
    import pyatspi
    from gi.repository import GLib

    runtime = tempfile.mkdtemp(prefix="pelmora-atspi-")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="xcb")
    pelmora = wm = None
    heard = []

    def listen(event):
        try:
            heard.append((event.source.name, event.type, str(event.any_data)))
        except Exception:  # a source gone meanwhile says nothing
            pass

    def pump(seconds):
        end = time.time() + seconds
        context = GLib.MainContext.default()
        while time.time() < end:
            while context.iteration(False):
                pass
            time.sleep(0.02)

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

    def showing(node):
        return node.getState().contains(pyatspi.STATE_SHOWING)

    def text(node):
        t = node.queryText()
        return t.getText(0, t.characterCount)

    def focused_nodes(node):
        return [n for n in walk(node) if n.getState().contains(pyatspi.STATE_FOCUSED)]

    def wm_ready():
        check = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                               capture_output=True, text=True)
        return "window id" in check.stdout

    def key(name):
        subprocess.check_call(["xdotool", "key", "--delay", "50", name])
        pump(0.4)

    def settle(condition, seconds=15):
        """Pumps events until the condition holds: a busy machine may be slow to tell."""
        end = time.time() + seconds
        while not condition() and time.time() < end:
            pump(0.1)

    try:
        # Asking for the desktop starts the session's accessibility bus and its registry.
        pyatspi.Registry.getDesktop(0)
        # A window manager, as on a desktop: it gives the new window the keyboard focus.
        wm = subprocess.Popen(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
        # A window mapped while the manager is still starting may stay unmanaged, never focused.
        settle(wm_ready, 30)
        if not wm_ready():
            fail("openbox did not come up")
        pelmora = subprocess.Popen([game], env=env)
        for _ in range(100):
            if app() is not None:
                break
            pump(0.1)
        root = app()
        if root is None:
            fail("pelmora does not appear on the accessibility bus")
        pyatspi.Registry.registerEventListener(listen, "object:text-changed:insert",
                                               "object:property-change:accessible-name")
        # On a fresh or busy machine the window manager may take its time to come up and to
        # hand over the keyboard: ask again until the game's frame says it is the active window
        # and one of its controls holds the focus.
        frame = None
        for attempt in range(60):
            if attempt % 5 == 0:
                subprocess.call(["xdotool", "search", "--onlyvisible", "--name", "Pelmora",
                                 "windowactivate"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=10)
            pump(0.5)
            frame = next((n for n in walk(root) if n.getRoleName() == "frame"), None)
            if (frame is not None and frame.getState().contains(pyatspi.STATE_ACTIVE)
                    and focused_nodes(root)):
                break
        else:
            fail("the game's window never took the keyboard focus")

        # Each empty counter is heard once, by its heading.
        names = [n.name for n in walk(root)]
        for heading in ("問題", "正解", "不正解", "経過時間", "残り時間", "点　数", "正解率", "正解例"):
            if names.count(heading) != 1:
                fail("%s is heard %d times" % (heading, names.count(heading)))

        key("Return")  # Start holds the focus

        def shown_digits():
            return [n for n in walk(root) if n.name.startswith("数字 ") and showing(n)]

        settle(lambda: len(shown_digits()) == 4)
        nodes = list(walk(root))
        pictures = shown_digits()
        pictures.sort(key=lambda n: n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
        digits = [n.name.split(" ")[1] for n in pictures]
        if len(digits) != 4:
            fail("four digits expected, heard %r" % digits)
        ops = solve(digits)
        symbols = {"+": "＋", "-": "－", "*": "×", "/": "÷"}
        keys = {"+": "plus", "-": "minus", "*": "asterisk", "/": "slash"}
        pump(0.6)  # a sign at once after Start is fine; wait anyway, as a player would
        heard.clear()
        for op in ops:
            key(keys[op])
        pump(0.5)

        boxes = sorted((n for n in nodes if n.name.endswith("番目の演算子")), key=lambda n: n.name)
        settle(lambda: [text(b) for b in boxes] == [symbols[o] for o in ops])
        chosen = [text(b) for b in boxes]
        if chosen != [symbols[o] for o in ops]:
            fail("operator boxes read %r for %r" % (chosen, ops))
        settle(lambda: all(op == "+" or any(h[0] == b.name and symbols[op] in h[2] for h in heard)
                           for b, op in zip(boxes, ops)))
        for b, op in zip(boxes, ops):
            if op != "+" and not any(h[0] == b.name and symbols[op] in h[2] for h in heard):
                fail("no event on %s with %s; heard %r" % (b.name, symbols[op], heard))
        focused = focused_nodes(root)
        if len(focused) != 1:
            fail("one focused object expected, found %r"
                 % [(n.name, n.getRoleName()) for n in focused])
        formula = " ".join(d + " " + s for d, s in zip(digits, [symbols[o] for o in ops] + ["＝"]))
        formula += " 10"
        settle(lambda: any(formula in h[2] for h in heard))
        if text(focused[0]) != formula or "Text3" in text(focused[0]):
            fail("the focus reads %r, not %r" % (text(focused[0]), formula))
        if not any(formula in h[2] for h in heard):
            fail("the focus never said %r; heard %r" % (formula, heard))

        key("Return")
        settle(lambda: text(focused[0]).startswith("正解 1、"))
        spoken = text(focused[0])
        if not spoken.startswith("正解 1、点数 "):
            fail("after OK the focus reads %r" % spoken)
        names = [n.name for n in walk(root)]
        score = spoken.split("点数 ")[1].split("。")[0]
        for expected in ("正解 1", "点　数 " + score):
            if expected not in names:
                fail("%r is not heard among %r" % (expected, names))
        print("heard: digits %s, operators %s, then %r" % ("".join(digits), "".join(ops), spoken))
        return 0
    finally:
        for process in (pelmora, wm):
            if process is not None:
                process.terminate()
                process.wait(10)
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail(__doc__)
    if os.environ.get("PELMORA_INSIDE_SESSION"):
        sys.exit(inside(sys.argv[1]))
    sys.exit(outside(os.path.abspath(sys.argv[1])))
