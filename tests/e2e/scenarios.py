"""What a person does with the program on a real desktop, one scenario a CTest test.

    python3 scenarios.py NAME PROGRAM DATABASE

Exit 0 passed, 1 failed, 77 skipped (no X server or tools to run it)."""

import datetime
import os
import re
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop as d  # noqa: E402

MAIN_TITLE = "Brimble! (version 1.0)"
SCENARIOS = {}


def scenario(fn):
    SCENARIOS[fn.__name__] = fn
    return fn


def check(cond, message):
    if not cond:
        raise AssertionError(message)


def days(when):
    """A local date-time as the file stores it: days since 30 December 1899."""
    return (when - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0


def overdue():
    """A repeating memo this long overdue pops at any tick, whatever the minute."""
    return datetime.datetime.now() - datetime.timedelta(minutes=5)


def add_memo(desk, text, when=None, left=300, top=200, width=260, height=180, repeated=0,
             done=0, bgcolor=0x00CCFFFF):
    when = when or datetime.datetime.now()
    rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 %s\\par}" % text
    desk.sql("INSERT INTO bm (datetime, memo, bgcolor, repeated, done, popped, "
             "\"left\", \"top\", tinggi, lebar) VALUES (%r, '%s', %d, %d, %d, 0, %d, %d, %d, %d);"
             % (days(when), rtf, bgcolor, repeated, done, left, top, height, width))


def main_windows(desk, visible=True):
    return desk.app_windows(name=re.escape(MAIN_TITLE), visible=visible)


def popup_windows(desk):
    # Pop-up titles are the memo's due moment: "dd/MM/yy hh:mm ddd".
    return desk.app_windows(name=r"[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2} .*")


def tray_menu(desk, keys):
    """Opens the tray icon's menu with the right button and picks an item by keyboard (a
    pop-up menu is not in the accessibility tree until it is used)."""
    x, y = desk.tray_icon_point()

    def shown():
        return set(desk._out(["xdotool", "search", "--onlyvisible", "--class", "brimble"])
                   .split())
    before = shown()
    for attempt in range(3):
        desk.click_at(x, y, button=3)
        try:
            d.wait_for("the tray menu", lambda: shown() - before, timeout=2)
            break
        except AssertionError:
            if attempt == 2:
                raise
    time.sleep(0.3)
    for k in keys:
        desk.key(k)
        time.sleep(0.2)


def open_from_tray(desk):
    tray_menu(desk, ["Down", "Return"])  # "Open Brimble", the first item
    d.wait_for("the main window", lambda: main_windows(desk))
    desk.find("Create new memo")


def command_states(desk):
    return {name: desk.enabled(desk.find(name))
            for name in ("Create new memo", "Delete Memo", "Save changes")}


def launch_in_tray(desk):
    desk.launch()
    desk.app()  # on the accessibility bus: the program is up and its windows are made
    time.sleep(0.5)


# ---- scenarios ---------------------------------------------------------------------------

@scenario
def starts_in_tray(desk):
    launch_in_tray(desk)
    check(not main_windows(desk), "the main window is shown at start")
    check(not popup_windows(desk), "a pop-up opened with nothing due")
    tray = desk.tray_host()
    icons = desk.tray_icons()
    check(icons, "no icon of the program is embedded in the tray")
    left, top, width, height = desk.frame_geometry(icons[0])
    tl, tt, tw, th = desk.frame_geometry(tray)
    check(tl <= left < tl + tw and tt <= top < tt + th, "the icon is not inside the tray host")


@scenario
def open_brimble_commands(desk):
    add_memo(desk, "Already here", when=datetime.datetime.now() + datetime.timedelta(days=3))
    launch_in_tray(desk)
    open_from_tray(desk)
    expected = {"Create new memo": True, "Delete Memo": False, "Save changes": False}
    check(command_states(desk) == expected, "as opened: %s" % command_states(desk))
    desk.click("Close all Popups ")
    time.sleep(0.3)
    check(command_states(desk) == expected, "after Close all Popups: %s" % command_states(desk))
    # Minimize to the tray, open again: still a fresh window.
    desk.xdotool("windowminimize", main_windows(desk)[0])
    d.wait_for("the window to go to the tray", lambda: not main_windows(desk))
    open_from_tray(desk)
    check(command_states(desk) == expected, "opened again: %s" % command_states(desk))


@scenario
def first_memo(desk):
    launch_in_tray(desk)
    open_from_tray(desk)
    desk.click("Create new memo")
    d.wait_for("editing to begin", lambda: desk.enabled(desk.find("Save changes")))
    desk.type("Buy milk on the way home")
    desk.click("Save changes")
    d.wait_for("the save", lambda: desk.enabled(desk.find("Create new memo")))
    rows = desk.sql("SELECT repeated, done, lebar, tinggi, "
                    "instr(memo, 'Buy milk on the way home') > 0 FROM bm;")
    check(rows == [["1", "0", "200", "200", "1"]], "the file holds %r" % rows)


@scenario
def memo_pops_and_closes(desk):
    add_memo(desk, "Call the dentist", left=310, top=220, width=280, height=190, repeated=1,
             when=overdue())
    launch_in_tray(desk)
    wins = d.wait_for("the pop-up", lambda: popup_windows(desk), timeout=20)
    check(len(wins) == 1, "pop-ups: %d" % len(wins))
    pop = wins[0]
    time.sleep(0.8)  # let the window manager settle the frame
    desk.screenshot(os.path.join(os.environ.get("BRIMBLE_E2E_SHOTS", desk.dir), "popup.png"))
    geometry = desk.frame_geometry(pop)
    check(geometry == (310, 220, 280, 190), "pop-up frame at %r" % (geometry,))
    # No title-bar buttons: the window manager draws no frame of its own (it would add
    # them), the pop-up draws its title.
    check(desk.prop(pop, "_NET_FRAME_EXTENTS") in (None, [0, 0, 0, 0]),
          "the window manager framed the pop-up: %r" % desk.prop(pop, "_NET_FRAME_EXTENTS"))
    check(desk.find_all(desk.window_name(pop)), "the pop-up's title is not shown")
    check(desk.sql("SELECT popped FROM bm;") == [["1"]], "not marked popped")
    desk.xdotool("windowactivate", "--sync", pop)
    desk.key("alt+F4")
    # The memo repeats, so it pops again at a later tick; until then it is closed and clear.
    d.wait_for("the pop-up closed and its mark cleared", lambda: not popup_windows(desk) and
               desk.sql("SELECT popped FROM bm;") == [["0"]], timeout=5, interval=0.05)


@scenario
def minimized_popup_comes_back(desk):
    add_memo(desk, "Do not lose me", repeated=1, when=overdue())
    launch_in_tray(desk)
    pop = d.wait_for("the pop-up", lambda: popup_windows(desk), timeout=15)[0]
    time.sleep(0.5)
    desk.xdotool("windowminimize", pop)
    time.sleep(1.0)
    check(pop in popup_windows(desk), "a minimised pop-up stayed away")
    check("_NET_WM_STATE_HIDDEN" not in desk.wm_state(pop), "still hidden: " + desk.wm_state(pop))


@scenario
def no_tray_host(desk):
    add_memo(desk, "Reminded without a tray", repeated=1, when=overdue())
    launch_in_tray(desk)
    d.wait_for("the reminder", lambda: popup_windows(desk), timeout=10)
    wins = main_windows(desk, visible=False)
    check(wins, "no main window in the taskbar")
    main = wins[0]
    check("_NET_WM_STATE_HIDDEN" in desk.wm_state(main), "the main window stands open at start")
    # Restored from the taskbar, it opens as "Open Brimble" does: the pop-ups close.
    desk.xdotool("windowactivate", "--sync", main)
    d.wait_for("the window to open", lambda: "_NET_WM_STATE_HIDDEN" not in desk.wm_state(main))
    d.wait_for("the pop-ups to close", lambda: not popup_windows(desk))
    time.sleep(2.5)  # a tick's time: nothing pops while the window is open
    check(not popup_windows(desk), "a reminder popped while the window was open")
    desk.xdotool("windowminimize", main)
    d.wait_for("the window to minimize", lambda: "_NET_WM_STATE_HIDDEN" in desk.wm_state(main))
    d.wait_for("the reminder again", lambda: popup_windows(desk), timeout=10)


@scenario
def customize_save_config(desk):
    launch_in_tray(desk)
    open_from_tray(desk)
    desk.click("Options")
    desk.click("Customize")
    desk.click("Save config")
    box = d.wait_for("the information box", lambda: desk.app_windows(name="Information"))
    check(desk.find_all("Config saved!"), "no 'Config saved!' text")
    customize = desk.app_windows(name="Customize")
    check(customize, "Customize is not shown")
    transient = desk._out(["xprop", "-id", str(box[0]), "WM_TRANSIENT_FOR"])
    check(hex(customize[0]) in transient.lower() or str(customize[0]) in transient,
          "the box does not belong to Customize: " + transient)
    desk.key("Return")
    d.wait_for("the box to close", lambda: not desk.app_windows(name="Information"))
    order = desk.clients()
    check(order.index(customize[0]) > order.index(main_windows(desk)[0]),
          "Customize fell behind the main window")


@scenario
def history_ctrl_x_copies(desk):
    add_memo(desk, "Kept for the record", done=1)
    launch_in_tray(desk)
    open_from_tray(desk)
    desk.click("Options")
    desk.click("Edit History")
    d.wait_for("Edit History", lambda: desk.app_windows(name="Edit History"))
    wins = desk.app_windows(name="Edit History")
    left, top, width, height = desk.frame_geometry(wins[0])
    desk.click_at(left + width - 150, top + height // 3)
    desk.key("ctrl+a")
    desk.key("ctrl+x")
    time.sleep(0.3)
    desk.key("alt+F4")  # Edit History closes; the row is written back as the program ends
    tray_menu(desk, ["Up", "Return"])  # "Exit", the last item
    desk.app_proc.wait(10)
    check(desk.sql("SELECT instr(memo, 'Kept for the record') > 0 FROM bm;") == [["1"]],
          "Ctrl-X in the history emptied the memo")


@scenario
def huge_memos_pop(desk):
    # Left behind by another program: one line of 16 MB without a space, and 16 MB of
    # paragraphs. Both pop at once, the tray and the editor still answer, and SIGTERM ends it.
    head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 "
    para = "Some ordinary words of a long memo, one paragraph that wraps.\\par "
    for i, body in enumerate(["replace(hex(zeroblob(8388608)), '0', 'x')",
                              "replace(hex(zeroblob(262144)), '00', '%s')" % para]):
        desk.sql("INSERT INTO bm (datetime, memo, bgcolor, repeated, done, popped, \"left\", "
                 "\"top\", tinggi, lebar) VALUES (%r, '%s' || %s || '}', %d, 1, 0, 0, %d, 150, "
                 "200, 300);" % (days(overdue()), head, body, 0x00CCFFFF, 60 + 350 * i))
    sizes = desk.sql("SELECT length(memo) FROM bm WHERE length(memo) > 1000000 ORDER BY idx;")
    started = time.monotonic()
    launch_in_tray(desk)
    d.wait_for("both pop-ups", lambda: len(popup_windows(desk)) == 2, timeout=30)
    took = time.monotonic() - started
    check(took < 15, "the pop-ups took %.1f s" % took)
    time.sleep(1.0)
    desk.screenshot(os.path.join(os.environ.get("BRIMBLE_E2E_SHOTS", desk.dir), "huge.png"))
    open_from_tray(desk)
    desk.key("ctrl+End")  # the editor shows the memo and moves through it
    time.sleep(1.0)
    desk.screenshot(os.path.join(os.environ.get("BRIMBLE_E2E_SHOTS", desk.dir), "huge-editor.png"))
    check(desk.app_proc.poll() is None, "the program ended")
    stopped = time.monotonic()
    desk.app_proc.terminate()
    desk.app_proc.wait(10)
    check(time.monotonic() - stopped < 6, "SIGTERM took %.1f s" % (time.monotonic() - stopped))
    after = desk.sql("SELECT length(memo) FROM bm WHERE length(memo) > 1000000 ORDER BY idx;")
    check(after == sizes, "the memos changed: %r, then %r" % (sizes, after))


def main(argv):
    if len(argv) != 4 or argv[1] not in SCENARIOS:
        print("usage: scenarios.py {%s} PROGRAM DATABASE" % ",".join(SCENARIOS))
        return 2
    name, program, database = argv[1:]
    gone = d.missing_tools()
    if gone:
        print("SKIPPED: %s: not installed: %s" % (name, ", ".join(gone)))
        return d.SKIP
    tray = name != "no_tray_host"
    config = {"repeatsecond": 2, "autorun": 0}
    # Closing is seen between two ticks; a slower scan leaves room to see it on a busy machine.
    if name == "memo_pops_and_closes":
        config["repeatsecond"] = 5
    shots = os.environ.get("BRIMBLE_E2E_SHOTS")
    if shots:
        os.makedirs(shots, exist_ok=True)
    started = time.monotonic()
    with d.Desktop(program, database, tray=tray, config=config) as desk:
        try:
            SCENARIOS[name](desk)
        except Exception:
            traceback.print_exc()
            shot = os.path.join(os.environ.get("BRIMBLE_E2E_SHOTS", "/tmp"),
                                "brimble-e2e-%s.png" % name)
            desk.screenshot(shot)
            print("screenshot: " + shot)
            if desk.app_proc:
                print("program output:\n" + desk.program_output())
            return 1
        finally:
            if desk.app_proc and desk.app_proc.poll() is not None and desk.app_proc.returncode:
                print("the program ended with code %d" % desk.app_proc.returncode)
    print("%s passed in %.1f s" % (name, time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
