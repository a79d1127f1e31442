"""A real desktop for one scenario: Xvfb, openbox, a tray host, a session bus and the
accessibility bus, and the program running from a folder of its own with a copy of the
delivered database. Controls are found by their accessible names over AT-SPI and driven with
xdotool, as a person drives them with mouse and keyboard. Only processes started here are
ended, by process id."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

SKIP = 77  # CTest's skip code
KEY = "wvqz47"
TOOLS = ["Xvfb", "openbox", "trayer", "xdotool", "xprop", "xwininfo", "dbus-daemon", "sqlcipher"]
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class Skip(Exception):
    pass


def missing_tools():
    gone = [t for t in TOOLS if shutil.which(t) is None]
    if not os.path.exists(BUS_LAUNCHER):
        gone.append(BUS_LAUNCHER)
    import importlib.util
    # Looked up, not imported: the bridge binds to the session bus when it is imported.
    if importlib.util.find_spec("pyatspi") is None:
        gone.append("python3-pyatspi")
    return gone


def wait_for(what, check, timeout=10.0, interval=0.1):
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


class Desktop:
    def __init__(self, program, database, tray=True, size="1024x768", config=None):
        self.program = program
        self.database = database
        self.tray = tray
        self.size = size
        self.config = config or {}
        self.procs = []
        self.app_proc = None
        self.env = {}
        self.dir = None

    # ---- processes -------------------------------------------------------------------
    def _spawn(self, args, env=None, **kw):
        p = subprocess.Popen(args, env=env or self.env, stdin=subprocess.DEVNULL,
                             start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    def _start(self):
        self.dir = tempfile.mkdtemp(prefix="brimble-e2e-")
        base = {k: v for k, v in os.environ.items()
                if not k.startswith(("QT_", "DBUS_", "AT_SPI", "XDG_", "WAYLAND"))}
        base.pop("DISPLAY", None)
        base.update({
            "HOME": self.dir,
            "XDG_CONFIG_HOME": os.path.join(self.dir, "config"),
            "XDG_DATA_HOME": os.path.join(self.dir, "data"),
            "XDG_CACHE_HOME": os.path.join(self.dir, "cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.dir, "run"),
            "LANG": "C.UTF-8",
        })
        os.makedirs(base["XDG_RUNTIME_DIR"], mode=0o700)
        # X server on a free display of its own choosing.
        r, w = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", self.size + "x24",
                     "-nolisten", "tcp", "-noreset"], env=base, pass_fds=(w,),
                    stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            display = f.readline().strip()
        if not display:
            raise AssertionError("Xvfb did not start")
        base["DISPLAY"] = ":" + display
        # Session bus, then the accessibility bus on it.
        r, w = os.pipe()
        self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                     "--print-address=%d" % w], env=base, pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as f:
            base["DBUS_SESSION_BUS_ADDRESS"] = f.readline().strip()
        self.env = base
        self._spawn([BUS_LAUNCHER, "--launch-immediately"], stderr=subprocess.DEVNULL)
        self._spawn(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
        wait_for("the window manager", lambda: "_NET_SUPPORTING_WM_CHECK" in self._out(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]) and "window id" in self._out(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]))
        if self.tray:
            self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                         "--width", "96", "--height", "28", "--SetDockType", "true",
                         "--expand", "false", "--transparent", "false", "--tint", "0x404040"],
                        stderr=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
            wait_for("the tray host", lambda: self.windows("trayer"))
            time.sleep(0.3)
        os.environ.update({k: base[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        self._install()

    def _install(self):
        """The program in a folder of its own, beside a copy of the delivered database."""
        folder = os.path.join(self.dir, "app")
        os.makedirs(folder)
        self.exe = os.path.join(folder, "brimble")
        try:
            os.link(self.program, self.exe)
        except OSError:
            shutil.copy2(self.program, self.exe)
        self.db = os.path.join(folder, "bm.mdb")
        shutil.copyfile(self.database, self.db)
        for column, value in self.config.items():
            self.sql("UPDATE config SET %s = %s;" % (column, value))

    def launch(self, extra_env=None):
        env = dict(self.env)
        env.update({"QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                    "QT_ACCESSIBILITY": "1", "NO_AT_BRIDGE": "0"})
        env.update(extra_env or {})
        self.log = open(os.path.join(self.dir, "brimble.log"), "w")
        self.app_proc = self._spawn([self.exe], env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self._app = None
        return self.app_proc

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        end = time.monotonic() + 3
        for p in reversed(self.procs):
            try:
                p.wait(max(0.1, end - time.monotonic()))
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                p.wait()
        self.procs = []
        if self.dir and not os.environ.get("BRIMBLE_E2E_KEEP"):
            shutil.rmtree(self.dir, ignore_errors=True)

    def program_output(self):
        self.log.flush()
        with open(os.path.join(self.dir, "brimble.log")) as f:
            return f.read()

    # ---- X ---------------------------------------------------------------------------
    def _out(self, args, check=False):
        r = subprocess.run(args, env=self.env, capture_output=True, text=True)
        if check and r.returncode != 0:
            raise AssertionError("%s failed: %s" % (" ".join(args), r.stderr))
        return r.stdout

    def xdotool(self, *args):
        return self._out(["xdotool"] + [str(a) for a in args], check=True)

    def windows(self, cls):
        """Windows whose class or instance name is `cls`, mapped or not."""
        return [int(w) for w in self._out(["xdotool", "search", "--class", cls]).split()]

    def tray_host(self):
        """The tray host's panel: its largest window."""
        def area(w):
            g = self.frame_geometry(w)
            return g[2] * g[3]
        return max(self.windows("trayer"), key=area)

    def clients(self):
        """The top-level windows the window manager manages, bottom to top."""
        out = self._out(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
        if "#" not in out:
            return []
        return [int(w, 16) for w in out.split("#", 1)[1].replace(",", " ").split()]

    def app_windows(self, name=None, visible=True):
        """The program's managed windows, bottom to top; `name` is matched whole as a regular
        expression; visible ones are those not minimised."""
        found = []
        for w in self.clients():
            info = self._out(["xprop", "-id", str(w), "_NET_WM_PID", "_NET_WM_NAME",
                              "_NET_WM_STATE"])
            props = {}
            for line in info.splitlines():
                if "=" in line:
                    key, value = line.split("=", 1)
                    props[key.split("(")[0].strip()] = value.strip()
            if props.get("_NET_WM_PID") != str(self.app_proc.pid):
                continue
            title = props.get("_NET_WM_NAME", "").strip('"')
            if name is not None and not re.fullmatch(name, title):
                continue
            if visible and "_NET_WM_STATE_HIDDEN" in props.get("_NET_WM_STATE", ""):
                continue
            found.append(w)
        return found

    def tray_icons(self):
        """The program's icons embedded in the tray host (every window of the program carries
        the embedding property; the icon is the one the window manager does not manage)."""
        managed = set(self.clients())
        return [w for w in self.windows("brimble")
                if w not in managed and self.prop(w, "_XEMBED_INFO")
                and "IsViewable" in self._out(["xwininfo", "-id", str(w)])]

    def window_name(self, wid):
        return self._out(["xdotool", "getwindowname", str(wid)]).strip()

    def frame_geometry(self, wid):
        """Outer frame of a managed window: (left, top, width, height)."""
        info = self._out(["xwininfo", "-id", str(wid)])
        vals = {}
        for line in info.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    vals[key] = int(line.split(":")[1])
        ext = self.prop(wid, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
        l, r, t, b = ext
        return (vals["Absolute upper-left X"] - l, vals["Absolute upper-left Y"] - t,
                vals["Width"] + l + r, vals["Height"] + t + b)

    def prop(self, wid, name):
        out = self._out(["xprop", "-id", str(wid), name])
        if "=" not in out:
            return None
        return [int(x.strip(), 0) for x in out.split("=", 1)[1].split(",") if x.strip()]

    def wm_state(self, wid):
        out = self._out(["xprop", "-id", str(wid), "_NET_WM_STATE"])
        return out.split("=", 1)[1].strip() if "=" in out else ""

    def click_at(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", x, y)
        time.sleep(0.05)
        self.xdotool("click", button)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", "--delay", 120, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def screenshot(self, path):
        if shutil.which("import"):
            subprocess.run(["import", "-window", "root", path], env=self.env)

    def tray_icon_point(self):
        """The centre of the program's icon in the tray host."""
        icon = wait_for("the tray icon", self.tray_icons)[0]
        left, top, width, height = self.frame_geometry(icon)
        return left + width // 2, top + height // 2

    # ---- accessibility ---------------------------------------------------------------
    def app(self, timeout=15):
        import pyatspi

        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                try:
                    if a is not None and a.get_process_id() == self.app_proc.pid:
                        return a
                except Exception:
                    continue
            return None
        if self._app is None:
            self._app = wait_for("the program on the accessibility bus", find, timeout)
        return self._app

    def find_all(self, name, role=None, showing=True, root=None):
        import pyatspi
        found = []
        stack = [root or self.app()]
        while stack:
            node = stack.pop()
            try:
                n, r, count = node.name, node.getRoleName(), node.childCount
                states = node.getState()
            except Exception:
                continue
            if n == name and (role is None or r == role) and (
                    not showing or states.contains(pyatspi.STATE_SHOWING)):
                found.append(node)
            if showing and node is not (root or self._app) and not states.contains(
                    pyatspi.STATE_SHOWING) and r not in ("application",):
                continue
            for i in range(count):
                try:
                    child = node.getChildAtIndex(i)
                except Exception:
                    child = None
                if child is not None:
                    stack.append(child)
        return found

    def find(self, name, role=None, timeout=10, root=None):
        return wait_for("'%s'" % name, lambda: (self.find_all(name, role, root=root) or [None])[0],
                        timeout)

    def enabled(self, acc):
        import pyatspi
        return acc.getState().contains(pyatspi.STATE_ENABLED)

    def center(self, acc):
        import pyatspi
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return e.x + e.width // 2, e.y + e.height // 2

    def click(self, name, role=None, button=1):
        acc = self.find(name, role)
        x, y = self.center(acc)
        self.click_at(x, y, button)
        return acc

    def text_of(self, acc):
        t = acc.queryText()
        return t.getText(0, -1)

    # ---- the database file -----------------------------------------------------------
    def sql(self, statement):
        script = "PRAGMA key='%s';\nPRAGMA cipher_page_size=4096;\n.mode list\n%s\n" % (
            KEY, statement)
        r = subprocess.run(["sqlcipher", "-batch", self.db], input=script, text=True,
                           capture_output=True)
        if r.returncode != 0 or "Error" in r.stderr:
            raise AssertionError("sqlcipher: " + r.stderr)
        lines = [l for l in r.stdout.splitlines() if l.strip() and l.strip() != "ok"]
        return [l.split("|") for l in lines]
