"""A private X server and a person using the windows on it (xdotool): for the extension's tests,
its benchmark and the README's screenshots."""

import os
import re
import select
import subprocess
import time

LIMIT = 120  # seconds for any program started here
DIALOG = r"QZV•Estampilleur \(Réglages\)"  # the settings dialog's window title (a regular expression)


def run(args, **options):
    return subprocess.run(["timeout", str(LIMIT), *args], capture_output=True, check=False, **options)


def install_extension(source, profile, command):
    """Installs the extension of the tree `source` into the editor profile `profile`, calling
    `command`, as `make install-extension` does for a person; returns the extension's folder."""
    done = run(["make", "-s", "-C", str(source), "install-extension", f"INKSCAPE_PROFILE_DIR={profile}",
                f"ESTAMPILLEUR={command}"])
    if done.returncode != 0:
        raise RuntimeError(done.stderr.decode())
    return profile / "extensions" / "estampilleur"


class Person:
    def __init__(self, size="1280x1024"):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", size + "x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as announced:
            if not select.select([announced], [], [], 30)[0]:
                self.server.kill()
                raise RuntimeError("Xvfb did not start")
            display = announced.readline().strip()
        self.env = dict(os.environ, DISPLAY=":" + display, GDK_BACKEND="x11", GSK_RENDERER="cairo",
                        GTK_A11Y="none", GDK_DEBUG="gl-disable", WAYLAND_DISPLAY="")
        if run(["xdotool", "getdisplaygeometry"], env=self.env).returncode != 0:
            self.close()
            raise RuntimeError(f"Xvfb announced display :{display}, which cannot be opened")

    def close(self):
        self.server.terminate()
        self.server.wait(timeout=30)

    def xdotool(self, *args):
        done = run(["xdotool", *args], env=self.env)
        if done.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)}: {done.stderr.decode()}")
        return done.stdout.decode()

    def window(self, title, process=None, seconds=LIMIT):
        """The first visible window whose title matches, once it shows (polled often, so that a
        benchmark sees it at once), unless the process that should show it ends first."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if process is not None and process.poll() is not None:
                raise RuntimeError(f"ended ({process.returncode}) before «{title}» showed: "
                                   f"{process.stderr.read().decode() if process.stderr else ''}")
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=self.env,
                                   capture_output=True, check=False, timeout=30).stdout.split()
            if found:
                return found[0].decode()
            time.sleep(0.02)
        raise RuntimeError(f"no window «{title}» showed within {seconds} s")

    def answer(self, *acts, process=None):
        """Waits for the settings dialog, then clicks the check boxes given as (top, left,
        bottom) in the dialog and presses the keys given by name. Returns when the dialog showed."""
        window = self.window(DIALOG, process)
        shown = time.monotonic()
        where = dict(re.findall(r"(\w+)=(\d+)", self.xdotool("getwindowgeometry", "--shell", window)))
        self.xdotool("windowfocus", "--sync", window)
        for act in acts:
            if isinstance(act, tuple):
                top, left, bottom = act
                self.xdotool("mousemove", "--sync", str(int(where["X"]) + left + 6),
                             str(int(where["Y"]) + (top + bottom) // 2), "click", "1")
            else:
                self.xdotool("key", act)  # through the server to the focused dialog, as typed
        return shown

    def screenshot(self, file):
        done = run(["import", "-window", "root", str(file)], env=self.env)
        if done.returncode != 0:
            raise RuntimeError(f"import: {done.stderr.decode()}")
