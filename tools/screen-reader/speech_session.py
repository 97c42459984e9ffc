#!/usr/bin/python3
"""What Orca says of a program, driven by the keyboard on an X server of its own.

    tools/screen-reader/speech_session.py PROGRAM [ARGS...]

starts Xvfb, a window manager, a session bus, Orca and PROGRAM (with Qt's accessibility
on), then reads key names from standard input (xdotool's: Tab, shift+Tab, space, ctrl+l;
"type:TEXT" types TEXT) and prints what Orca says after each. Orca's words are read from
its debug log; nothing is played. The tests use SpeechSession the same way.
"""

import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?:\{'established.*)?$", re.M)
FOCUS = re.compile(r"ORCA: Changing locusOfFocus from .* to \[[^|]*\| ?(.*)\]\. Notify")

# Orca started from Python with its debug log line-buffered, so it can be read as it runs.
ORCA = """
import runpy, sys
from orca import debug
debug.debugLevel = debug.LEVEL_INFO
debug.debugFile = open(sys.argv[1], "w", buffering=1)
sys.argv = ["orca"]
runpy.run_path("/usr/bin/orca", run_name="__main__")
"""

NEEDED = ["Xvfb", "openbox", "dbus-daemon", "orca", "xdotool"]


def _die_with_parent():
    """Each program of the session ends when the session's own process ends, killed or not."""
    ctypes.CDLL(None, use_errno=True).prctl(1, 9)  # PR_SET_PDEATHSIG, SIGKILL


def missing():
    """The programs this machine lacks to run a session, or an empty list."""
    return [p for p in NEEDED if shutil.which(p) is None]


class SpeechSession:
    def __init__(self, program, env=None, settle=8.0, opening_until=None, quiet=1.0):
        self.dir = tempfile.mkdtemp(prefix="owlet-speech-")
        self.processes = []
        self.env = self._environment(env or {})
        self._start_display()
        self._start("dbus", ["dbus-daemon", "--session", "--nofork",
                             "--address=unix:path=" + os.path.join(self.dir, "bus")])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + os.path.join(self.dir, "bus")
        self._wait(lambda: os.path.exists(os.path.join(self.dir, "bus")), 5, "the session bus")
        self._start("openbox", ["openbox"])
        self.log = os.path.join(self.dir, "orca.log")
        self._start("orca", ["/usr/bin/python3", "-c", ORCA, self.log])
        self._wait(lambda: "Screen reader on" in self._read(), 20, "Orca")
        self.read_to = len(self._read())
        self.quiet = quiet
        self._start("program", program)
        # What it says as it opens: until `opening_until` has been said, if given (a browser
        # may be quiet for a while before its page has loaded), or `settle` seconds.
        end = time.monotonic() + settle
        said, focus = self.words(settle)
        while opening_until and opening_until not in said and time.monotonic() < end:
            more, moved = self.words(end - time.monotonic())
            said, focus = said + more, moved or focus
        self.opening = said, focus

    def _environment(self, extra):
        home = os.path.join(self.dir, "home")
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("XDG_", "DBUS_", "AT_SPI", "NO_AT_BRIDGE", "WAYLAND",
                                    "DISPLAY"))}
        env.update({
            "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.dir, "run"),
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb",
        })
        env.update(extra)
        os.makedirs(os.path.join(home, ".config", "speech-dispatcher"))
        os.makedirs(env["XDG_DATA_HOME"])
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        # No sound card: speech-dispatcher's dummy output, into ALSA's null device, so
        # that Orca never waits on the sound (it would stall about 11 s an utterance).
        with open(os.path.join(home, ".config", "speech-dispatcher", "speechd.conf"), "w") as f:
            f.write('AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n'
                    'AudioOutputMethod "alsa"\n')
        with open(os.path.join(home, ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\n")
        return env

    def _start_display(self):
        read, write = os.pipe()
        self._start("Xvfb", ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            self.env["DISPLAY"] = ":" + f.readline().strip()

    def _start(self, name, command, **options):
        out = open(os.path.join(self.dir, name + ".out"), "w")
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=out,
                                               stderr=subprocess.STDOUT,
                                               preexec_fn=_die_with_parent, **options))

    def _read(self):
        try:
            with open(self.log, errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def _wait(self, done, seconds, what):
        end = time.monotonic() + seconds
        while not done():
            if time.monotonic() > end:
                raise RuntimeError(what + " did not start: see " + self.dir)
            time.sleep(0.1)

    def words(self, longest=4.0, quiet=None):
        """What Orca said since last asked, once it has been quiet for `quiet` seconds (or
        `longest` has passed), without the echo of the keys pressed; and the name of the
        object Orca last took the focus to, if it moved."""
        quiet = quiet or self.quiet
        end = time.monotonic() + longest
        seen, since = len(self._read()), time.monotonic()
        while time.monotonic() < end:
            time.sleep(0.1)
            now = len(self._read())
            if now != seen:
                seen, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                break
        text = self._read()
        new, self.read_to = text[self.read_to:], len(text)
        said = [m.group(1) for m in SPOKEN.finditer(new)]
        focus = [m.group(1) for m in FOCUS.finditer(new)]
        # Key echo ends in a blank ("tab ", "space ", "1 "): Orca's, not the program's.
        return [s.strip() for s in said if not s.endswith(" ")], (focus[-1] if focus else None)

    def press(self, key, longest=4.0):
        if key.startswith("type:"):
            subprocess.run(["xdotool", "type", "--delay", "60", key[5:]], env=self.env, check=True)
        else:
            subprocess.run(["xdotool", "key", key], env=self.env, check=True)
        return self.words(longest)

    def close(self):
        for p in reversed(self.processes):
            p.terminate()
        for p in reversed(self.processes):
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(self.dir, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if missing():
        sys.exit("speech_session: missing " + ", ".join(missing()) + " (make test installs them)")
    session = SpeechSession(sys.argv[1:])
    try:
        print("(opening)", " / ".join(session.opening[0]))
        for line in sys.stdin:
            if line.strip():
                said, _ = session.press(line.strip())
                print(line.strip() + ":", " / ".join(said), flush=True)
    finally:
        session.close()


if __name__ == "__main__":
    main()
