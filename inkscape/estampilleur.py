#!/usr/bin/env python3
# coding=utf-8
"""QZV•Estampilleur… in the editor's Extensions menu: the open document is handed to the
estampilleur command, which shows the plug-in's own settings dialog in a window; OK gives the
stamped document back to the editor, Annuler gives nothing back and the document stays as it was.
"""

import os
import sys

# The installed command; make install-extension writes its full path here.
COMMAND = "estampilleur"

# The real file ("" for a never-saved document). Read before inkex, which puts the temporary
# copy's path there when it is missing, and that name must not be stamped.
DOCUMENT_PATH = os.environ.get("DOCUMENT_PATH", "")


class Refused(Exception):
    """The document was not stamped: one French line for the editor to show."""


def stamp(document, page, folder):
    """Runs the command on the editor's copy, the plug-in's window over the editor; gives the
    stamped document, None after Annuler, and the plug-in's alerts."""
    report, errors = os.path.join(folder, "rapport.json"), os.path.join(folder, "erreurs.txt")
    # Through os alone: subprocess takes a tenth of the window's start to load.
    read, write = os.pipe()
    try:
        pid = os.posix_spawnp(COMMAND, [COMMAND, "stamp", "--interactive", "--active", str(page), "--document-path",
                                        DOCUMENT_PATH, "--report", report, "-o", "-", document], os.environ,
                              file_actions=[(os.POSIX_SPAWN_DUP2, write, 1),
                                            (os.POSIX_SPAWN_OPEN, 2, errors, os.O_WRONLY | os.O_CREAT, 0o600)])
    except OSError:
        os.close(read)
        raise Refused(f"Estampilleur : la commande {COMMAND} est introuvable ou ne peut pas être lancée "
                      "(make install l'installe).") from None
    finally:
        os.close(write)
    import json  # while the window opens

    with os.fdopen(read, "rb") as stream:
        out = stream.read()
    status = os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])
    with open(errors, "rb") as stream:
        err = stream.read()
    try:
        with open(report, encoding="utf-8") as stream:
            stamped = json.load(stream)["documents"][0]
    except (OSError, ValueError, LookupError):
        stamped = {}
    if status != 0:
        said = [line.removeprefix("estampilleur: ") for line in
                err.decode("utf-8", "replace").splitlines() if line.startswith("estampilleur: ")]
        why = stamped.get("endedBy") or (said or ["sans message"])[-1]
        why = why.replace(document, DOCUMENT_PATH or "document").rstrip(".")
        raise Refused(f"Estampilleur : le document n'a pas été estampillé ({why}).")
    # The plug-in's own alerts, which the host would show (the bleed held to 72 points).
    alerts = ["Estampilleur : " + " ".join(alert.split()) for alert in stamped.get("alerts", [])]
    return (out if stamped.get("dialog") == "ok" else None), alerts


def stamp_with_selection():
    """With a selection the page is the one holding the centre of the first selected object,
    which only the editor's own library measures."""
    import inkex

    class Estampilleur(inkex.EffectExtension):
        def effect(self):
            first = self.svg.selection.first()
            parent = first.getparent() if first is not None else None
            box = first.bounding_box(parent.composed_transform()) if parent is not None else None
            pages = list(enumerate(self.svg.namedview.get_pages(), 1)) if box else []
            page = next((number for number, area in pages if area.x <= box.center_x <= area.x + area.width
                         and area.y <= box.center_y <= area.y + area.height), 1)
            try:
                self.document, self.alerts = stamp(self.options.input_file, page, FOLDER)
            except Refused as refused:
                raise inkex.AbortExtension(str(refused)) from None
            for alert in self.alerts:
                inkex.errormsg(alert)

        def has_changed(self, ret):
            # Only a stamped result goes back: after Annuler the editor keeps its document.
            return isinstance(self.document, bytes)

    Estampilleur().run()


def main():
    # Nothing selected, the page is the first, and the editor's library (slower to load than the
    # window is to open) is not needed: the document goes to the command and back as it is.
    if any(argument.startswith("--id") for argument in sys.argv[1:]):
        return stamp_with_selection()
    try:
        out, alerts = stamp(sys.argv[-1], 1, FOLDER)
    except Refused as refused:
        sys.stderr.write(f"{refused}\n")
        return 1
    for alert in alerts:
        sys.stderr.write(f"{alert}\n")
    if out is not None:
        sys.stdout.buffer.write(out)
    return 0


if __name__ == "__main__":
    # A private folder for the command's report, made and removed with os alone: loading tempfile
    # and shutil would delay the window by a tenth of its own start.
    FOLDER = os.path.join(os.environ.get("TMPDIR") or "/tmp", "estampilleur-" + os.urandom(8).hex())
    os.mkdir(FOLDER, 0o700)
    try:
        sys.exit(main())
    finally:
        for name in os.listdir(FOLDER):
            os.remove(os.path.join(FOLDER, name))
        os.rmdir(FOLDER)
