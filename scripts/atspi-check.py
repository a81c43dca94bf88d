"""Reads the running program's accessibility tree through AT-SPI (run by scripts/atspi-check.sh).

Checks the names of the main window's command buttons and keys, runs the default action of the key A
and sees the key assignment editor open, named by its title and the key, closes it through its Cancel
button, then with the keyboard alone moves the focus to the key F2, opens the editor for it with Enter,
shows the macro page with Ctrl+Tab (its tab focused, which a screen reader says; its scroll bar and
text box named) and leaves with Escape; then gives F2 Play/Pause on the Multimedia page with the
keyboard alone (Ctrl+Page Down focusing the tabs), reads the assignment in the key's description and
saves the profile with Ctrl+S and the file's name typed, finding the assignment in the file; Ctrl+Z
takes it out of F2's description and Ctrl+Shift+Z brings it back; in the key test (Ctrl+T) a typed key
is a checked check box and another an unchecked one. Then the
backlight dialog (keys described by their colour), the progress dialog while the keys are written and
the firmware dialog name their buttons and the firmware dialog itself by its title, and the
keyboard alone moves among the backlight dialog's keys and closes the firmware dialog; last, the
language button turns the names English and back, announcing the new language each time."""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def fail(message):
    print("atspi-check: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    fail(what + " did not come")


def children(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield child


def walk(node, depth=0):
    yield node
    if depth < 6:
        for child in children(node):
            yield from walk(child, depth + 1)


def program():
    for application in children(pyatspi.Registry.getDesktop(0)):
        if application.name == "Zelk":
            return application
    return None


def find(node, role, name):
    for found in walk(node):
        if found.getRole() == role and found.name == name:
            return found
    return None


def window_with(role, name):
    """The program's window that holds an object of the role and name; None when there is none."""
    application = program()
    if application is None:
        return None
    for window in children(application):
        if find(window, role, name) is not None:
            return window
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    if "Press" not in names:
        fail("%s has no Press action, only %s" % (node.name, names))
    action.doAction(names.index("Press"))


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "150"] + list(names), check=True, timeout=30)


BUTTON = pyatspi.ROLE_PUSH_BUTTON
TAB = pyatspi.ROLE_PAGE_TAB

# What a screen reader hears of: objects that take the focus and notifications that show.
heard = []


def hear(event):
    try:
        if event.detail1 == 1:
            heard.append((event.type, event.source.getRole(), event.source.name))
    except Exception:  # the object may be gone already
        pass


for kind in ["object:state-changed:focused", "object:state-changed:showing"]:
    pyatspi.Registry.registerEventListener(hear, kind)


def heard_of(kind, role, name):
    """True once an event of the kind has come from an object of the role and name, else None."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)
    return True if ("object:state-changed:" + kind, role, name) in heard else None


def forget_heard():
    heard_of("focused", None, None)
    heard.clear()


main = wait_for("the main window in the tree", lambda: window_with(BUTTON, "Esc"))
# The program starts in Chinese.
for name in ["保存配置", "打开配置", "清空配置", "写入按键", "设置背光", "读取配置", "固件升级", "English",
             "打开使用手册", "退出程序"]:
    if find(main, BUTTON, name) is None:
        fail("no command button named %r" % name)
for name in ["Esc", "F12", "`", "Backspace", "A", "Enter", "Space"]:
    if find(main, BUTTON, name) is None:
        fail("no key named %r" % name)
buttons = [node for node in children(main) if node.getRole() == BUTTON]
if len(buttons) != 87 + 11:
    fail("the main window has %d buttons, not 98" % len(buttons))
layer = find(main, pyatspi.ROLE_CHECK_BOX, "切换显示的按键层（上档键或下档键）")
if layer is None:
    fail("no layer switch")
key_a = find(main, BUTTON, "A")
if "上档键：" not in key_a.description or "下档键：" not in key_a.description:
    fail("the key A is described as %r" % key_a.description)

press(key_a)
editor = wait_for("the editor after the key A's action", lambda: window_with(TAB, "单/组合键"))
if editor.name != "按键设置面板 A":
    fail("the editor is named %r, not by its title and the key" % editor.name)
first_tab = find(editor, TAB, "单/组合键")
if not first_tab.getState().contains(pyatspi.STATE_SELECTED):
    fail("the editor's first page tab is not selected")
for name in ["宏定义", "多媒体", "鼠标"]:
    if find(editor, TAB, name) is None:
        fail("the editor has no page tab %r" % name)
for name in ["确定", "取消", "清空配置"]:
    if find(editor, BUTTON, name) is None:
        fail("the editor has no button %r" % name)
press(find(editor, BUTTON, "取消"))
wait_for("the editor's end after Cancel",
         lambda: True if window_with(TAB, "单/组合键") is None else None)

# The keyboard alone: the keys are the stop after the command row, the language button and the layer
# switch.
def focus_main():
    """Gives the main window the focus, which the X server without a window manager does not give it
    back when a dialog over it closes."""
    window = os.environ["ZELK_MAIN_WINDOW"]
    subprocess.run(["xdotool", "mousemove", "--window", window, "600", "480"], check=True, timeout=30)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=30)
    time.sleep(0.5)


focus_main()
keys(*(["Tab"] * 13))


def focused_key():
    for node in children(main):
        if node.getRole() == BUTTON and node.getState().contains(pyatspi.STATE_FOCUSED):
            return node.name
    return None


wait_for("the focus on Esc after Tab", lambda: True if focused_key() == "Esc" else None, 10)
keys("Right", "Right")
wait_for("the focus on F2 after Right Right", lambda: True if focused_key() == "F2" else None, 10)
keys("Down", "End", "Home")
wait_for("the focus on ` after Down End Home", lambda: True if focused_key() == "`" else None, 10)
keys("Up", "Right", "Right", "Return")
editor = wait_for("the editor after Enter on F2", lambda: window_with(TAB, "单/组合键"))
if editor.name != "按键设置面板 F2":
    fail("the editor for F2 is named %r" % editor.name)
forget_heard()
keys("ctrl+Tab")


def macro_page_shown():
    editor = window_with(TAB, "宏定义")
    tab = find(editor, TAB, "宏定义") if editor is not None else None
    return True if tab is not None and tab.getState().contains(pyatspi.STATE_SELECTED) else None


wait_for("the macro page after Ctrl+Tab", macro_page_shown, 10)
wait_for("the macro page's tab focused after Ctrl+Tab", lambda: heard_of("focused", TAB, "宏定义"), 10)
macro_page = window_with(TAB, "宏定义")
if not find(macro_page, TAB, "宏定义").getState().contains(pyatspi.STATE_FOCUSED):
    fail("the macro page's tab is not focused after Ctrl+Tab")
if find(macro_page, pyatspi.ROLE_SCROLL_BAR, "宏列表") is None:
    fail("the macro page has no scroll bar named 宏列表")
if find(macro_page, pyatspi.ROLE_TEXT, "次数播放") is None:
    fail("the macro page has no text box named 次数播放")
if find(macro_page, pyatspi.ROLE_RADIO_BUTTON, "次数播放") is None:
    fail("the macro page has no radio button named 次数播放")
keys("Escape")
wait_for("the editor's end after Escape", lambda: True if window_with(TAB, "单/组合键") is None else None)

# F2 gets Play/Pause with the keyboard alone: Enter, the Multimedia page (its tab focused), Tab from the
# tabs to the icons, Right, Enter picks; Tab past Clear to OK, Enter.
focus_main()
keys("Return")
wait_for("the editor after Enter on F2 again", lambda: window_with(TAB, "单/组合键"))
forget_heard()
keys("ctrl+Next", "ctrl+Next", "ctrl+Next")
wait_for("the Multimedia tab focused after Ctrl+Page Down", lambda: heard_of("focused", TAB, "多媒体"), 10)
keys("Tab", "Right", "Return")


def play_pause_picked():
    editor = window_with(TAB, "多媒体")
    icon = find(editor, pyatspi.ROLE_CHECK_BOX, "播放/暂停") if editor is not None else None
    return True if icon is not None and icon.getState().contains(pyatspi.STATE_CHECKED) else None


wait_for("Play/Pause picked", play_pause_picked, 10)
keys("Tab", "Tab", "Return")
wait_for("the editor's end after OK", lambda: True if window_with(TAB, "单/组合键") is None else None)
key_f2 = find(main, BUTTON, "F2")
if not key_f2.description.startswith("上档键：多媒体键 Play/Pause\n"):
    fail("after OK the key F2 is described as %r" % key_f2.description)

def windows():
    application = program()
    return list(children(application)) if application is not None else []


def other_window(count):
    """None until the program shows more than one window (a dialog over the main one)."""
    return True if len(windows()) > count else None


# Saved with the keyboard alone: Ctrl+S, the file's name typed into the file dialog, Enter.
profile = os.path.join(os.environ["ZELK_ATSPI_WORK"], "keyboard-only.pro")
focus_main()
shown = len(windows())
keys("ctrl+s")
wait_for("the file dialog after Ctrl+S", lambda: other_window(shown), 10)
time.sleep(0.5)
subprocess.run(["xdotool", "type", "--delay", "20", profile], check=True, timeout=30)
keys("Return")
wait_for("the profile saved", lambda: True if os.path.exists(profile) and os.path.getsize(profile) > 0 else None)
with open(profile, encoding="utf-8", errors="replace") as saved:
    text = saved.read()
if '<KEY ID="3" Level="0" Mode="5" HWCode="111">' not in text:
    fail("the saved profile does not hold F2's Play/Pause: %s" % text[:600])

# Ctrl+Z takes the editor's OK back: F2's description loses Play/Pause; Ctrl+Shift+Z brings it again.
focus_main()
keys("ctrl+z")
wait_for("F2 undone after Ctrl+Z",
         lambda: True if "Play/Pause" not in find(main, BUTTON, "F2").description else None, 10)
keys("ctrl+shift+z")
wait_for("F2 redone after Ctrl+Shift+Z",
         lambda: True if "Play/Pause" in find(main, BUTTON, "F2").description else None, 10)

# The key test: after Ctrl+T the keys are check boxes; a typed key is checked, another is not.
keys("ctrl+t")
wait_for("the keys as check boxes in the key test", lambda: find(main, pyatspi.ROLE_CHECK_BOX, "A"), 10)
keys("a")
wait_for("A checked after it was typed", lambda: True if find(main, pyatspi.ROLE_CHECK_BOX, "A").getState().contains(
    pyatspi.STATE_CHECKED) else None, 10)
if find(main, pyatspi.ROLE_CHECK_BOX, "S").getState().contains(pyatspi.STATE_CHECKED):
    fail("the key S is checked in the key test though it was not typed")
keys("ctrl+t")
wait_for("the keys as buttons after the key test", lambda: find(main, BUTTON, "A"), 10)

# The backlight dialog: its keys named and described by their colour, its buttons named.
press(find(main, BUTTON, "设置背光"))
backlight = wait_for("the backlight dialog", lambda: window_with(BUTTON, "多键设置"))
for name in ["恢复默认", "写入背光", "全域设置", "取消"]:
    if find(backlight, BUTTON, name) is None:
        fail("the backlight dialog has no button %r" % name)
light_a = find(backlight, BUTTON, "A")
if light_a is None or not light_a.description.startswith("RGB "):
    fail("the backlight dialog's key A is %r" % (light_a.description if light_a else None))


def focused_in(window):
    for node in walk(window):
        if node.getRole() == BUTTON and node.getState().contains(pyatspi.STATE_FOCUSED):
            return node.name
    return None


def tab_to(window, name, what, tries):
    """Presses Tab until the button named name in window has the focus, at most tries times."""
    for _ in range(tries):
        keys("Tab")
        if focused_in(window) == name:
            return
    fail("Tab never reached %s; the focus is on %r" % (what, focused_in(window)))


# Its keys are one Tab stop among its buttons, and the arrows move within them as on the main window.
tab_to(backlight, "Esc", "the backlight dialog's keys", 12)
keys("Down", "Right")
wait_for("the focus on 1 in the backlight dialog", lambda: True if focused_in(backlight) == "1" else None, 10)
keys("Escape")
wait_for("the backlight dialog's end", lambda: True if window_with(BUTTON, "多键设置") is None else None)

# The progress dialog while the keys are written: its Cancel button named; then the message at the end.
press(find(main, BUTTON, "写入按键"))
wait_for("the progress dialog", lambda: window_with(BUTTON, "取消"), 10)
ended = wait_for("the message after writing", lambda: window_with(pyatspi.ROLE_LABEL, "OK!"), 20)
press(find(ended, BUTTON, "OK") or find(ended, BUTTON, "确定"))
wait_for("the message's end", lambda: True if window_with(pyatspi.ROLE_LABEL, "OK!") is None else None)

# The firmware dialog: its buttons named; Cancel closes it.
press(find(main, BUTTON, "固件升级"))
firmware = wait_for("the firmware dialog", lambda: window_with(BUTTON, "获取固件版本"))
if firmware.name != "键盘固件升级":
    fail("the firmware dialog is named %r" % firmware.name)
for name in ["打开", "更新", "取消"]:
    if find(firmware, BUTTON, name) is None:
        fail("the firmware dialog has no button %r" % name)
# Tab reaches its buttons, and Enter on Cancel closes it.
tab_to(firmware, "取消", "the firmware dialog's Cancel", 8)
keys("Return")
wait_for("the firmware dialog's end", lambda: True if window_with(BUTTON, "获取固件版本") is None else None)

# The language button renames the buttons and rewords the keys' descriptions, and says the new language.
forget_heard()
press(find(main, BUTTON, "English"))
wait_for("the English names after the language button",
         lambda: True if find(main, BUTTON, "Save") is not None else None, 10)
wait_for("English announced", lambda: heard_of("showing", pyatspi.ROLE_NOTIFICATION, "English"), 10)
for name in ["Open", "Clear", "WriteKeys", "LightSet", "ReadAll", "Update", "简体中文", "Open the manual"]:
    if find(main, BUTTON, name) is None:
        fail("no command button named %r in English" % name)
if not find(main, BUTTON, "A").description.startswith("Key settings L1："):
    fail("the key A is described in English as %r" % find(main, BUTTON, "A").description)
press(find(main, BUTTON, "简体中文"))
wait_for("中文 announced", lambda: heard_of("showing", pyatspi.ROLE_NOTIFICATION, "中文"), 10)
print("atspi-check: command buttons and keys named, a key's action and the keyboard open the editor, "
      "the keyboard alone assigns a key and saves it, page changes and the language are heard, the "
      "dialogs name themselves and their buttons")
