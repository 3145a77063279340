#!/usr/bin/env python3
# coding=utf-8
"""QZV•Estampilleur… in the editor's Extensions menu: the open document is handed to the
estampilleur command, which shows the plug-in's own settings dialog in a window; OK gives the
stamped document back to the editor, Annuler gives nothing back and the document stays as it was.
"""

import json
import os
import subprocess
import sys
import tempfile

# The installed command; make install-extension writes its full path here.
COMMAND = "estampilleur"

# The real file ("" for a never-saved document). Read before inkex, which puts the temporary
# copy's path there when it is missing, and that name must not be stamped.
DOCUMENT_PATH = os.environ.get("DOCUMENT_PATH", "")

FOLDER = tempfile.TemporaryDirectory(prefix="estampilleur-")
REPORT = os.path.join(FOLDER.name, "rapport.json")


def stamp(document, page):
    """Starts the command on the editor's copy: the plug-in's window opens over the editor."""
    return subprocess.Popen([COMMAND, "stamp", "--interactive", "--active", str(page), "--document-path",
                             DOCUMENT_PATH, "--report", REPORT, "-o", "-", document],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)


# With nothing selected the page is the first: the window opens while the editor's library loads,
# which takes as long.
STARTED = None
if __name__ == "__main__" and not any(arg.startswith("--id") for arg in sys.argv) and os.path.isfile(sys.argv[-1]):
    try:
        STARTED = stamp(sys.argv[-1], 1)
    except OSError:
        pass  # said below

import inkex  # noqa: E402


class Estampilleur(inkex.EffectExtension):
    """Hands the document to the command and its result back; the plug-in does the rest."""

    def active_page(self):
        """The page holding the centre of the first selected object, counted from 1; else 1."""
        first = self.svg.selection.first()
        parent = first.getparent() if first is not None else None
        box = first.bounding_box(parent.composed_transform()) if parent is not None else None
        if box:
            for number, page in enumerate(self.svg.namedview.get_pages(), 1):
                if page.x <= box.center_x <= page.x + page.width and page.y <= box.center_y <= page.y + page.height:
                    return number
        return 1

    def effect(self):
        try:
            command = STARTED or stamp(self.options.input_file, self.active_page())
        except OSError:
            raise inkex.AbortExtension(f"Estampilleur : la commande {COMMAND} est introuvable ou ne peut "
                                       "pas être lancée (make install l'installe).") from None
        out, err = command.communicate()
        try:
            with open(REPORT, encoding="utf-8") as stream:
                stamped = json.load(stream)["documents"][0]
        except (OSError, ValueError, LookupError):
            stamped = {}
        if command.returncode != 0:
            said = [line.removeprefix("estampilleur: ") for line in
                    err.decode("utf-8", "replace").splitlines() if line.startswith("estampilleur: ")]
            why = stamped.get("endedBy") or (said or ["sans message"])[-1]
            why = why.replace(self.options.input_file, DOCUMENT_PATH or "document").rstrip(".")
            raise inkex.AbortExtension(f"Estampilleur : le document n'a pas été estampillé ({why}).")
        # The plug-in's own alerts, which the host would show (the bleed held to 72 points).
        for alert in stamped.get("alerts", []):
            inkex.errormsg("Estampilleur : " + " ".join(alert.split()))
        if stamped.get("dialog") == "ok":
            self.document = out

    def has_changed(self, ret):
        # Only a stamped result goes back: after Annuler the editor keeps its document untouched.
        return isinstance(self.document, bytes)


if __name__ == "__main__":
    try:
        with FOLDER:
            Estampilleur().run()
    finally:
        if STARTED and STARTED.poll() is None:  # the document was refused before the answer
            STARTED.kill()
