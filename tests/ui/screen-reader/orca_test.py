#!/usr/bin/python3
"""Under Orca, by the keyboard: `orca_test.py window OWLET MODULE_SIM` (the panel and the
Loop filter window) or `orca_test.py page CHROMIUM PAGE_FILE`. Each step: keys ("Tab*3"
presses Tab three times), the words Orca must then say (None: not checked), where it must
believe the focus is ("": unmoved; None: not checked), words it must not say. Exit 77
(skipped) where Orca cannot run, 1 then in CI."""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "screen-reader"))
from speech_session import SpeechSession, missing  # noqa: E402

ENTER = "Not edited yet: shows the prompt Enter value."
WINDOW = [
    # key, words, focus, never
    ("ctrl+a type:10", None, None, ()),
    ("Tab", ["Fout  MHz text.", "Enter value selected.", ENTER], "Fout  MHz", ()),
    ("ctrl+a type:145.01", None, None, ()),
    ("Tab", ["Set N push button."], "Set N", ()),
    ("space", ["notification N 16A8 computed, not sent: port 0. "
               "Non-integer ratio: Freq error -10000Hz."], "", ()),
    ("Tab", ["N Register text.", "16A8 selected."], "N Register", ()),
    ("Tab", ["R Register text."], "R Register", ()),
    ("Tab", ["Set R  push button."], "Set R ", ()),
    ("space", ["notification R 0190 computed, not sent: port 0."], "", ()),
    ("Tab", ["COM Port push button."], "COM Port", ()),
    ("Tab", ["COM port number text.", "1 selected.", "Port numbers."], "COM port number", ()),
    ("shift+Tab", ["COM Port push button."], "COM Port", ()),
    ("space", ["Fcomp kHz editable combo box.", "25.", "notification Port 1 open."], None, ()),
    ("shift+Tab", ["Store to EE push button."], "Store to EE", ()),
    ("shift+Tab", ["Update push button."], "Update", ()),
    ("shift+Tab", ["Set R  push button."], "Set R ", ()),
    # Set R writes Fcomp: the focus stays on the button, for Orca too.
    ("space", ["notification R 0190 sent."], "", ()),
    ("Tab", ["Update push button."], "Update", ()),
    ("space", ["notification U sent."], "", ()),
    ("Tab", ["Store to EE push button."], "Store to EE", ()),
    ("Tab", ["Fcomp kHz editable combo box.", "25."], None, ()),
    ("Tab", None, "C Register", ()),
    ("Tab", ["Phase Detector panel.", "PhV/PhR.", "selected radio button"], "PhV/PhR", ()),
    ("Down", None, "PDout", ("Phase Detector",)),
    ("ctrl+l", None, "Kvco (MHz/V)", ()),
    ("Tab", ["VCO point 1 (MHz@V) text.", "Hint: 141@2."], None, ()),
    ("Tab", None, None, ()),
    ("Tab", ["VDD (V) text.", "Hint: 5."], None, ()),
    ("Tab", ["Tuning voltage (V) text.", "Hint: VDD/2."], None, ()),
    ("Tab*13", None, None, ()),
    ("Tab", ["Phase margin (°) text.", "50 selected."], None, ()),
    ("Tab", ["Design for combo box.", "natural frequency and damping."], None, ()),
    ("Tab", ["Series combo box.", "E24."], None, ()),
    # Back to the parts, then to the figures, read a line at a time.
    ("shift+Tab*10 type:1u", None, "C2 (F)", ()),
    ("shift+Tab type:1k5", None, "R2 (Ω)", ()),
    ("shift+Tab type:1k8", None, "R1 (Ω)", ()),
    ("shift+Tab*8 type:8", None, "Kvco (MHz/V)", ()),
    # PDout, as chosen on the panel above.
    ("shift+Tab", ["Figures read only text.",
                   "Detector                   PDout, Kφ 398 mV/rad, up to 2.78 mA into R1."],
     "Figures", ()),
    ("Down", ["Divider                    N = 5800 at 25 kHz"], None, ()),
]

# The page as Chromium shows it to Orca, without a port: the same words after each press,
# from the page's live region. Orca's own "Browse mode" and "Focus mode" are left out.
PAGE = [
    ("ctrl+a type:10", None, None, ()),
    ("Tab", ["Fout MHz entry Enter value selected.", ENTER], None, ()),
    ("ctrl+a type:145.01", None, None, ()),
    ("Tab", ["Set N push button."], None, ()),
    ("space", ["N 16A8 computed, not sent: port 0. Non-integer ratio: Freq error -10000Hz"],
     None, ()),
    ("Tab", ["N Register entry 16A8 selected."], None, ()),
    ("Tab", ["R Register entry."], None, ()),
    ("Tab", ["Set R push button."], None, ()),
    ("space", ["R 0190 computed, not sent: port 0"], None, ()),
    ("Tab", ["COM Port push button."], None, ()),
    ("Tab", None, None, ()),
    ("type:0", None, None, ()),
    ("shift+Tab", ["Set push button."], None, ()),
    ("space", ["Fcomp kHz editable combo box.", "25.", "opens listbox",
               "Port 0: the panel computes, nothing is sent"], None, ()),
    ("Tab", ["C Register entry."], None, ()),
]
ORCA_MODES = ("Browse mode", "Focus mode")


def unable(why):
    print(why)
    sys.exit(1 if os.environ.get("CI") else 77)


def start(kind, args):
    """The session, its steps, the words its opening must end with, and what to stop."""
    if kind == "window":
        owlet, simulator = args
        sim = subprocess.Popen([simulator], stdout=subprocess.PIPE, text=True)
        device = sim.stdout.readline().strip().removeprefix("Module simulator on ")
        session = SpeechSession([owlet], env={"OWLET_COM1": device}, opening_until=ENTER)
        return session, WINDOW, ["Reference MHz text.", "Enter value.", ENTER], sim
    chromium, page = args
    profile = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"owlet-orca-chromium-{os.getpid()}")
    # As an app window: no toolbar or bubble of the browser's own to take the focus.
    session = SpeechSession([chromium, "--no-sandbox", "--force-renderer-accessibility",
                             "--no-first-run", "--no-default-browser-check", "--disable-gpu",
                             "--disable-background-networking", "--disable-component-update",
                             "--disable-sync", "--user-data-dir=" + profile,
                             "--app=file://" + os.path.abspath(page)],
                            settle=40.0, opening_until=ENTER, quiet=1.5)
    return session, PAGE, ["Reference MHz entry Enter value.", ENTER], None


def main():
    kind, args = sys.argv[1], sys.argv[2:4]
    if missing():
        unable("SKIPPED: missing " + ", ".join(missing()) + " (make test installs them)")
    if kind == "page" and not shutil.which(args[0]):
        unable(f"SKIPPED: {args[0]} is not installed (make test installs it)")
    if kind == "page" and not os.path.exists(args[1]):
        unable(f"SKIPPED: the page is not built ({args[1]}; make web)")
    try:
        session, steps, opening_ends, other = start(kind, args)
    except RuntimeError as error:
        unable(str(error))
    faults = []
    try:
        opening = [w for w in session.opening[0] if w not in ORCA_MODES]
        if not any(opening[i:i + len(opening_ends)] == opening_ends for i in range(len(opening))):
            faults.append(f"at start: {opening}")
        for number, (keys, words, focus, never) in enumerate(steps, 1):
            said, moved = [], None
            for key in keys.split():
                key, _, times = key.partition("*")
                for _ in range(int(times or 1)):
                    heard, went = session.press(key, longest=8.0 if key == "ctrl+l" else 4.0)
                    said, moved = said + [w for w in heard if w not in ORCA_MODES], went or moved
            where = f"step {number} ({keys})"
            if words is not None and said != words:
                faults.append(f"{where}: said {said}, not {words}")
            for word in never:
                if any(word in s for s in said):
                    faults.append(f"{where}: said {word!r} again: {said}")
            if focus is not None and (moved or "") != focus:
                expected = repr(focus) if focus else "nowhere"
                faults.append(f"{where}: Orca's focus went to {moved!r}, not {expected}")
    finally:
        session.close()
        if other:
            other.terminate()
    for fault in faults:
        print(fault)
    print(f"{len(steps)} steps, {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
