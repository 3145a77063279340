#!/usr/bin/python3
"""The README's pictures of the editor extension, made under a private Xvfb: the editor's
Extensions menu open on «QZV•Outils», then the plug-in's settings dialog over the document.

    /usr/bin/python3 docs/editor_screenshots.py [COMMAND]    (needs inkscape, xvfb, xdotool, imagemagick)
"""

import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(SOURCE / "tests" / "editor"))
from desktop import LIMIT, Person, install_extension  # noqa: E402

# Where the editor 1.2 draws its menus in a 1280 x 800 window at the screen's corner.
EXTENSIONS_MENU = (424, 12)
TOOLS_SUBMENU = (440, 313)  # «QZV•Outils», after the stock «Modify Path»
SETTINGS_ITEM = (790, 313)


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else str(SOURCE / "build" / "release" / "bin" / "estampilleur")
    folder = Path(tempfile.mkdtemp(prefix="estampilleur-docs-"))
    person = Person("1280x800")
    editor = None
    try:
        profile = folder / "profil"
        install_extension(SOURCE, profile, command)
        document = folder / "affiche.svg"
        shutil.copy(SOURCE / "examples" / "affiche-a4.svg", document)
        env = dict(person.env, INKSCAPE_PROFILE_DIR=str(profile), XDG_CONFIG_HOME=str(folder / "config"),
                   SOURCE_DATE_EPOCH="1334016000", ESTAMPILLEUR_FONTS=str(SOURCE / "tests" / "fonts"))
        editor = subprocess.Popen(["timeout", str(LIMIT), "inkscape", str(document)], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = person.window("affiche.svg - Inkscape", editor)
        person.xdotool("windowsize", window, "1280", "800")
        time.sleep(2)
        person.xdotool("mousemove", "--sync", "1100", "600", "click", "1")
        person.xdotool("key", "5")  # the whole page in the window
        time.sleep(2)
        person.xdotool("mousemove", "--sync", *map(str, EXTENSIONS_MENU), "click", "1")
        time.sleep(1)
        person.xdotool("mousemove", "--sync", *map(str, TOOLS_SUBMENU))
        time.sleep(1)
        person.xdotool("mousemove", "--sync", *map(str, SETTINGS_ITEM))
        time.sleep(0.2)  # before its tooltip covers the page
        person.screenshot(SOURCE / "docs" / "editeur-menu.png")
        person.xdotool("click", "1")
        person.answer("Escape", process=editor)
        # The editor repaints nothing while an extension runs: the dialog's picture is taken
        # from «Previous Extension» (Alt+Q), with no menu left painted under it.
        time.sleep(2)
        person.xdotool("windowfocus", "--sync", window)
        person.xdotool("key", "alt+q")
        person.answer(process=editor)
        time.sleep(1)
        person.screenshot(SOURCE / "docs" / "editeur-dialogue.png")
        person.answer("Escape", process=editor)
    finally:
        if editor is not None:
            editor.terminate()
            editor.wait(timeout=30)
        person.close()
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
