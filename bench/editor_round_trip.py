#!/usr/bin/python3
"""The editor extension's round trip, timed as the editor runs it: from the script's start to
its result written, OK pressed as soon as the plug-in's window shows; beside the editor's stock
«Printing Marks» run the same way (its defaults, no dialog of its own) on the same one-page
document. Medians of RUNS runs, under a private Xvfb.

    /usr/bin/python3 bench/editor_round_trip.py [RUNS] [COMMAND]    (make bench-editor)
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(SOURCE / "tests" / "editor"))
from desktop import LIMIT, Person, install_extension  # noqa: E402

STOCK = Path("/usr/share/inkscape/extensions")
# Every parameter of printing_marks.inx at its default, as the editor passes them.
MARKS = ["--tab=marks", "--crop_marks=true", "--bleed_marks=false", "--registration_marks=true",
         "--star_target=false", "--colour_bars=true", "--page_info=false", "--where=canvas", "--unit=px",
         "--crop_offset=5", "--bleed_top=5", "--bleed_bottom=5", "--bleed_left=5", "--bleed_right=5"]


def timed(person, folder, script, arguments, answer):
    """Seconds from the start to the result read, to the window shown (when answered), and the
    person's reaction: from the window found to the key sent (xdotool run three times)."""
    copy = folder / "ink_ext_XXXXXX.svgBENCH"
    shutil.copy(SOURCE / "examples" / "affiche-a4.svg", copy)
    env = dict(person.env, DOCUMENT_PATH=str(SOURCE / "examples" / "affiche-a4.svg"), PYTHONUNBUFFERED="1",
               PYTHONPATH=f"{script.parent}:{STOCK}", XDG_CONFIG_HOME=str(folder / "config"))
    start = time.monotonic()
    process = subprocess.Popen(["timeout", str(LIMIT), "/usr/bin/python3", script.name, *arguments, str(copy)],
                               cwd=script.parent, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    shown = reaction = None
    if answer:
        shown = person.answer("Return")
        reaction = time.monotonic() - shown
        shown -= start
    out, err = process.communicate(timeout=LIMIT)
    took = time.monotonic() - start
    if process.returncode != 0 or err or b"</svg>" not in out:
        raise RuntimeError(f"{script.name} failed ({process.returncode}): {err.decode()}")
    return took, shown, reaction


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    command = sys.argv[2] if len(sys.argv) > 2 else str(SOURCE / "build" / "release" / "bin" / "estampilleur")
    folder = Path(tempfile.mkdtemp(prefix="estampilleur-bench-"))
    person = Person()
    try:
        profile = folder / "profil"
        ours = install_extension(SOURCE, profile, command) / "estampilleur.py"
        timed(person, folder, ours, [], True)  # the caches warm
        timed(person, folder, STOCK / "printing_marks.py", MARKS, False)
        results = {"ours": [], "shown": [], "net": [], "selected": [], "selected net": [], "marks": []}
        for _ in range(runs):
            took, shown, reaction = timed(person, folder, ours, [], True)
            results["ours"].append(took)
            results["shown"].append(shown)
            results["net"].append(took - reaction)
            took, _, reaction = timed(person, folder, ours, ["--id=soleil"], True)
            results["selected"].append(took)
            results["selected net"].append(took - reaction)
            results["marks"].append(timed(person, folder, STOCK / "printing_marks.py", MARKS, False)[0])
    finally:
        person.close()
        shutil.rmtree(folder)
    median = {name: statistics.median(values) * 1000 for name, values in results.items()}
    print(f"one A4 page, medians of {runs} runs, milliseconds")
    print("                                       round trip  less the person's reaction")
    print(f"QZV•Estampilleur…, nothing selected   {median['ours']:10.0f}  {median['net']:10.0f}"
          f"  (its window shown at {median['shown']:.0f})")
    print(f"QZV•Estampilleur…, an object selected {median['selected']:10.0f}  {median['selected net']:10.0f}")
    print(f"Printing Marks (stock, no dialog)     {median['marks']:10.0f}")


if __name__ == "__main__":
    main()
