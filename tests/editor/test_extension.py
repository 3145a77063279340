"""The editor extension as the editor runs it: its description against the editor's own
schema; the script with a temporary copy of the document, DOCUMENT_PATH and --id as the editor
gives them, and the plug-in's window answered by real key presses and clicks; the editor itself.
Each test class has its own X server, so that the keys go to its own windows only."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from desktop import LIMIT, Person, install_extension, run

SOURCE = Path(os.environ["ESTAMPILLEUR_SOURCE"])
COMMAND = os.environ["ESTAMPILLEUR_COMMAND"]
EDITOR_DATA = Path("/usr/share/inkscape")
ALL_PAGES = (159, 160, 174)  # «Sur tous les plans»: top, left and bottom in the dialog


class Workspace(unittest.TestCase):
    """A folder with the extension installed by make into an editor profile of its own."""

    @classmethod
    def setUpClass(cls):
        cls.folder = Path(tempfile.mkdtemp(prefix="estampilleur-editor-"))
        cls.profile = cls.folder / "profil"
        cls.extension = install_extension(SOURCE, cls.profile, COMMAND)
        cls.person = Person()
        cls.env = dict(cls.person.env, XDG_CONFIG_HOME=str(cls.folder / "config"), SOURCE_DATE_EPOCH="1334016000",
                       INKSCAPE_PROFILE_DIR=str(cls.profile))

    @classmethod
    def tearDownClass(cls):
        cls.person.close()
        shutil.rmtree(cls.folder)

    def document(self, example, name):
        path = self.folder / name
        shutil.copy(SOURCE / "examples" / example, path)
        return path


class Description(unittest.TestCase):
    def test_the_description_follows_the_editors_schema_and_is_installed_with_the_command(self):
        schema = EDITOR_DATA / "extensions" / "inkscape.extension.rng"
        inx = SOURCE / "inkscape" / "estampilleur.inx"
        done = run(["xmllint", "--noout", "--relaxng", str(schema), str(inx)])
        self.assertEqual(done.returncode, 0, done.stderr.decode())
        with tempfile.TemporaryDirectory() as profile:
            for target in ("install-extension", "uninstall-extension"):
                done = run(["make", "-s", "-C", str(SOURCE), target, f"INKSCAPE_PROFILE_DIR={profile}",
                            "ESTAMPILLEUR=/opt/qzv/bin/estampilleur"])
                self.assertEqual(done.returncode, 0, done.stderr.decode())
                if target == "install-extension":
                    script = (Path(profile) / "extensions/estampilleur/estampilleur.py").read_text()
                    self.assertIn('\nCOMMAND = "/opt/qzv/bin/estampilleur"\n', script)
            self.assertEqual(list(Path(profile).glob("extensions/*")), [])


class Script(Workspace):
    """The script run as the editor runs it, with the plug-in's window answered by a person."""

    def start(self, document, document_path, ids=(), env=None):
        copy = self.folder / "ink_ext_XXXXXX.svgKRQSZ3"
        shutil.copy(document, copy)
        env = dict(env or self.env, PYTHONUNBUFFERED="1", PYTHONIOENCODING="UTF-8",
                   PYTHONPATH=f"{self.extension}:{EDITOR_DATA}/extensions")
        env.pop("DOCUMENT_PATH", None)
        if document_path is not None:
            env["DOCUMENT_PATH"] = document_path
        return subprocess.Popen(["timeout", str(LIMIT), "/usr/bin/python3", "estampilleur.py",
                                 *[f"--id={i}" for i in ids], str(copy)],
                                cwd=self.extension, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def stamp(self, document, document_path, *acts, ids=()):
        script = self.start(document, document_path, ids)
        self.person.answer(*acts, process=script)
        out, err = script.communicate(timeout=LIMIT)
        self.assertEqual((script.returncode, err.decode()), (0, ""))
        return out.decode()

    def test_ok_stamps_the_real_files_name_and_a_never_saved_document_as_such(self):
        real = self.document("affiche-a4.svg", "Affiche finale.svg")
        out = self.stamp(real, str(real), "Return")
        self.assertEqual(out.count("data-tag-QZVNOM"), 4)
        self.assertIn(" - Affiche finale.svg<", out)
        self.assertNotIn("ink_ext", out)
        for unsaved in ("", None):
            out = self.stamp(real, unsaved, "Return")
            self.assertIn(" - Fichier non enregistré<", out)

    def test_annuler_gives_nothing_back(self):
        real = self.document("affiche-a4.svg", "affiche.svg")
        self.assertEqual(self.stamp(real, str(real), "Escape"), "")

    def test_the_page_of_the_selection_is_the_active_one(self):
        leaflet = self.document("plaquette-multipage.svg", "plaquette.svg")
        # «Sur tous les plans» off, on the second page's art; then the first page when nothing
        # is selected, with the settings OK stored.
        out = self.stamp(leaflet, str(leaflet), ALL_PAGES, "Return", ids=["r2", "t1"])
        self.assertIn(">2/3<", out)
        self.assertNotIn(">1/3<", out)
        out = self.stamp(leaflet, str(leaflet), "Return")
        self.assertIn(">1/3<", out)
        self.assertNotIn(">2/3<", out)
        out = self.stamp(leaflet, str(leaflet), "Return", ids=["t3"])
        self.assertIn(">3/3<", out)

    def test_a_failure_is_one_french_line_and_gives_nothing_back(self):
        # A page without area: the editor keeps it, the host cannot have such an artboard.
        broken = self.folder / "sans-surface.svg"
        broken.write_text(self.document("plaquette-multipage.svg", "plaquette.svg").read_text().replace(
            'width="321.25985"', 'width="0"'))
        real = self.document("affiche-a4.svg", "affiche.svg")
        for document, env in ((broken, self.env), (real, dict(self.env, ESTAMPILLEUR_PLUGIN="/nulle/part.so"))):
            script = self.start(document, str(document), env=env)
            out, err = script.communicate(timeout=LIMIT)
            self.assertNotEqual(script.returncode, 0)
            self.assertEqual(out, b"")
            self.assertRegex(err.decode(), r"^Estampilleur : le document n'a pas été estampillé \(.+\)\.\n$")

    def test_the_plugins_alert_is_shown_and_the_document_still_stamped(self):
        real = self.document("affiche-a4.svg", "affiche.svg")
        env = dict(self.env, XDG_CONFIG_HOME=str(self.folder / "grands-corps"))
        # Texts too tall for the bleed, stored by an OK of the command.
        run([COMMAND, "stamp", "--name-pt", "50", "--size-pt", "50", "--date-pt", "50", "-o",
             str(self.folder / "grands.svg"), str(real)], env=env)
        script = self.start(real, str(real), env=env)
        self.person.answer("Return", process=script)
        out, err = script.communicate(timeout=LIMIT)
        self.assertEqual(script.returncode, 0)
        self.assertEqual(err.decode(), "Estampilleur : L'application impose un fond perdu maximum de 72 points. "
                                       "Décochez Infos superposées et/ou réduisez les corps des polices.\n")
        self.assertEqual(out.count(b"data-tag-QZVNOM"), 4)


class Editor(Workspace):
    def test_the_editor_runs_the_extension_and_saves_the_stamped_document(self):
        real = self.document("plaquette-multipage.svg", "plaquette.svg")
        result = self.folder / "resultat.svg"
        actions = f"select-by-id:t2;qzv.estampilleur;export-filename:{result};export-plain-svg;export-do"
        editor = subprocess.Popen(["timeout", str(LIMIT), "inkscape", "--with-gui", "--batch-process",
                                   f"--actions={actions}", str(real)],
                                  env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.person.answer("Return", process=editor)
        _, err = editor.communicate(timeout=LIMIT)
        self.assertEqual(editor.returncode, 0, err.decode())
        svg = result.read_text()
        self.assertEqual(svg.count("data-tag-QZVNOM"), 12)
        self.assertEqual(svg.count(" - plaquette.svg<"), 3)


if __name__ == "__main__":
    unittest.main()
