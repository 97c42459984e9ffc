#!/usr/bin/python3
"""The panel and the Loop filter window by the keyboard under Orca: what it says at each
stop, step by step as a blind user goes.

    orca_test.py OWLET MODULE_SIM

Each step is a key, the words Orca must say after it (None: not checked; a word in
`never` must not be said), and where Orca must believe the focus is ("" when it must not
move). Exit 77 (skipped) where Orca or its session cannot run, 1 then in CI.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "screen-reader"))
from speech_session import SpeechSession, missing  # noqa: E402

ENTER = "Not edited yet: shows the prompt Enter value."
STEPS = [
    # key, words, focus, never
    ("ctrl+a", None, None, ()),
    ("type:10", None, None, ()),
    ("Tab", ["Fout  MHz text.", "Enter value selected.", ENTER], "Fout  MHz", ()),
    ("ctrl+a", None, None, ()),
    ("type:145.01", None, None, ()),
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
] + [("Tab", None, None, ())] * 13 + [
    ("Tab", ["Phase margin (°) text.", "50 selected."], None, ()),
    ("Tab", ["Design for combo box.", "natural frequency and damping."], None, ()),
    ("Tab", ["Series combo box.", "E24."], None, ()),
]


def unable(why):
    print(why)
    sys.exit(1 if os.environ.get("CI") else 77)


def main():
    owlet, simulator = sys.argv[1:3]
    if missing():
        unable("SKIPPED: missing " + ", ".join(missing()) + " (make test installs them)")
    sim = subprocess.Popen([simulator], stdout=subprocess.PIPE, text=True)
    device = sim.stdout.readline().strip().removeprefix("Module simulator on ")
    try:
        session = SpeechSession([owlet], env={"OWLET_COM1": device})
    except RuntimeError as error:
        sim.terminate()
        unable(str(error))
    faults = []
    try:
        opening, _ = session.opening
        if opening[-3:] != ["Reference MHz text.", "Enter value.", ENTER]:
            faults.append(f"at start: {opening}")
        for number, (key, words, focus, never) in enumerate(STEPS, 1):
            said, moved = session.press(key, longest=8.0 if key == "ctrl+l" else 4.0)
            where = f"step {number} ({key})"
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
        sim.terminate()
    for fault in faults:
        print(fault)
    print(f"{len(STEPS)} steps, {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
