#!/usr/bin/python3
"""The windows as a screen reader meets them: through the desktop's accessibility bus (AT-SPI).

Started by tests/bus/run-bus-test inside its own X server and D-Bus session, on a temporary
program folder filled by bus_data. Opens every window through the bus, the way an assistive
technology would (actions of buttons, pickers and grid cells; keys sent through the bus), and
checks window by window that:
- every control a user can reach has a name a person would understand;
- pickers list their entries and report the chosen one, and a choice made through the bus does
  what a click does;
- grids report their rows and cells; status panels report their text;
- disabled and read-only controls say so;
- Tab visits every enabled control once, and Escape closes a dialog without saving.
Every problem names the window and the control; the test fails when there is any.

usage: bus_test.py PROGRAM BUS_DATA
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

PROGRAM, BUS_DATA = sys.argv[1], sys.argv[2]
TIMEOUT = 10.0  # seconds to wait for the program to answer

problems = []


def problem(window, control, text):
    problems.append(f"{window}: {control}: {text}")
    print(f"PROBLEM {window}: {control}: {text}", flush=True)


# --- reading the bus ---------------------------------------------------------------------


def pump():
    """Delivers the events that arrived from the program."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, timeout=TIMEOUT):
    """Polls what() until it returns something true; returns it, or None after timeout."""
    end = time.monotonic() + timeout
    while True:
        pump()
        try:
            result = what()
        except Exception:  # an object that went away while it was read
            result = None
        if result or time.monotonic() > end:
            return result
        time.sleep(0.05)


def has(acc, state):
    return acc.getState().contains(state)


def children(acc):
    for i in range(acc.childCount):
        c = acc.getChildAtIndex(i)
        if c is not None:
            yield c


def walk(acc):
    """Every object under acc (acc included), but not the entries of lists and pickers nor the
    cells of grids: those are read through their owners."""
    yield acc
    if acc.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_COMBO_BOX):
        return
    for c in children(acc):
        yield from walk(c)


def text_of(acc):
    try:
        t = acc.queryText()
    except NotImplementedError:
        return None
    return t.getText(0, -1)


class Missing(Exception):
    """A window or control the test looks for is not on the bus."""


class Stuck(Exception):
    """The program did not answer an action."""


def do_action(acc, name):
    """Does an action of a control, as a screen reader does; the program must answer at once
    (an action that opens a modal window included)."""
    a = acc.queryAction()
    for i in range(a.nActions):
        if a.getName(i) == name:
            try:
                a.doAction(i)
            except GLib.Error as e:
                raise Stuck(f"{describe(acc)}: the action «{name}» got no answer") from e
            return True
    raise Missing(f"{describe(acc)} has no action «{name}»")


def describe(acc):
    return f"{acc.getRoleName()} «{acc.name}»"


def find(root, role, name=None, showing=True):
    """The first control under root with the role and name (a text or a pattern)."""
    for acc in walk(root):
        if acc.getRole() != role:
            continue
        if name is not None:
            if isinstance(name, str) and acc.name != name:
                continue
            if not isinstance(name, str) and not name.search(acc.name or ""):
                continue
        if showing and not has(acc, pyatspi.STATE_SHOWING):
            continue
        return acc
    raise Missing(f"no control «{name}»")


# --- keys through the bus ----------------------------------------------------------------

KEYS = {"Tab": 0xFF09, "Escape": 0xFF1B, "space": 0x20}  # X key symbols


def key(name):
    pyatspi.Registry.generateKeyboardEvent(KEYS[name], None, pyatspi.KEY_SYM)
    time.sleep(0.05)


def typed(text):
    """Types lower-case Latin letters and digits (their key symbols are their codes)."""
    for c in text:
        pyatspi.Registry.generateKeyboardEvent(ord(c), None, pyatspi.KEY_SYM)
    time.sleep(0.05)


# --- focus, as a screen reader follows it ------------------------------------------------

focus_log = []


def on_focus(event):
    if event.detail1 == 1:
        focus_log.append(event.source)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
# A program that does not answer within 5 s counts as stuck (a screen reader gives up too).
pyatspi.setTimeout(5000, 30000)


def focused_after(step):
    """Runs step and returns the object that took the focus then (None when none did)."""
    pump()
    focus_log.clear()
    step()
    if not wait_for(lambda: focus_log, 2.0):
        return None
    time.sleep(0.05)
    pump()
    return focus_log[-1]


# --- the program ----------------------------------------------------------------------------


def start_program(folder):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", LANG="ru_RU.UTF-8")
    env.pop("QT_QPA_PLATFORMTHEME", None)
    return subprocess.Popen([PROGRAM, "--dir", folder], env=env)


def find_application(name="Quenmara"):
    def app():
        desktop = pyatspi.Registry.getDesktop(0)
        for a in children(desktop):
            if a.name == name:
                return a
        return None

    found = wait_for(app, 30)
    if not found:
        raise SystemExit("the program did not appear on the accessibility bus")
    return found


def window(app, title, timeout=TIMEOUT):
    """The program's window with the title (a text or a pattern), once it is shown."""

    def shown():
        for w in children(app):
            if not has(w, pyatspi.STATE_SHOWING):
                continue
            if (w.name == title) if isinstance(title, str) else title.search(w.name or ""):
                return w
        return None

    return wait_for(shown, timeout)


def files(folder):
    """The program folder's data: every file's bytes by its path."""
    found = {}
    for root, _, names in os.walk(folder):
        for n in names:
            path = os.path.join(root, n)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


# --- what every window is checked for ----------------------------------------------------

# Controls a user reaches with the mouse or the keys (scroll bars and the cells of lists and
# grids are read through their owners).
REACHABLE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_SLIDER, pyatspi.ROLE_MENU_ITEM,
}
# What a name is not: an identifier of the code (ComboBox1, okButton, qt_scrollarea_vcontainer).
IDENTIFIER = re.compile(r"[A-Za-z]+\d+|[a-z]+(?:[A-Z][a-z0-9]*)+|\w*_\w*")


def understandable(name):
    name = (name or "").strip()
    return bool(name) and not IDENTIFIER.fullmatch(name) and bool(re.search(r"[^\W\d_]|№", name))


def controls(win):
    return [a for a in walk(win) if a.getRole() in REACHABLE and has(a, pyatspi.STATE_SHOWING)]


def owner(acc):
    """The control a focused object belongs to: a grid's cell to its grid, a picker's text box
    to its picker."""
    parent = acc.parent
    if acc.getRole() in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM) and parent:
        return owner(parent)
    if parent and parent.getRole() == pyatspi.ROLE_COMBO_BOX:
        return parent
    return acc


def entries(combo):
    lst = next((c for c in children(combo) if c.getRole() == pyatspi.ROLE_LIST), None)
    return lst, (list(children(lst)) if lst else [])


def check_picker(wname, combo, count):
    lst, items = entries(combo)
    label = describe(combo)
    for box in children(combo):
        if box.getRole() == pyatspi.ROLE_TEXT and not understandable(box.name):
            problem(wname, label, "its text box has no name a person would understand")
    if lst is None:
        problem(wname, label, "no list of entries")
        return
    if count is not None and len(items) != count:
        problem(wname, label, f"lists {len(items)} entries, not {count}")
    shown = text_of(combo)
    if shown is None:
        problem(wname, label, "does not report the chosen entry as its text")
        return
    chosen = [i.name for i in items if has(i, pyatspi.STATE_SELECTED)]
    if shown and chosen != [shown]:
        problem(wname, label, f"shows «{shown}» but the selected entries are {chosen}")
    if not shown and chosen:
        problem(wname, label, f"shows nothing but the selected entries are {chosen}")


def choose(combo, index):
    """Chooses an entry through the bus, as a screen reader does: opens the list, selects the
    entry, closes the list."""
    do_action(combo, "ShowMenu")
    if not wait_for(lambda: has(combo, pyatspi.STATE_EXPANDED), 3):
        return None
    _, items = entries(combo)
    do_action(items[index], "Toggle")
    do_action(combo, "Press")
    wait_for(lambda: not has(combo, pyatspi.STATE_EXPANDED), 3)
    return items[index].name


def check_grid(wname, table, rows):
    t = table.queryTable()
    label = describe(table)
    if t.nRows != rows:
        problem(wname, label, f"reports {t.nRows} rows, not {rows}")
    for c in range(t.nColumns):
        header = t.getColumnHeader(c)
        if header is None or not understandable(header.name):
            problem(wname, label, f"column {c + 1} has no title")
    if rows and t.nRows:
        cell = t.getAccessibleAt(0, 0)
        if cell is None or not (cell.name or "").strip():
            problem(wname, label, "the first cell reports no text")


def check_window(wname, win, expect):
    """The checks that hold for every window: names, states, pickers, grids, panels."""
    found = controls(win)
    for acc in found:
        if not understandable(acc.name):
            problem(wname, describe(acc), "has no name a person would understand")
    disabled = {a.name for a in found if not has(a, pyatspi.STATE_ENABLED)}
    if disabled != set(expect.get("disabled", ())):
        problem(wname, "disabled controls",
                f"the bus reports {sorted(disabled)}, expected {sorted(expect.get('disabled', ()))}")
    read_only = {a.name for a in found if has(a, pyatspi.STATE_READ_ONLY)}
    if read_only != set(expect.get("read_only", ())):
        problem(wname, "read-only controls",
                f"the bus reports {sorted(read_only)}, expected {sorted(expect.get('read_only', ()))}")
    for name, count in expect.get("pickers", {}).items():
        try:
            check_picker(wname, find(win, pyatspi.ROLE_COMBO_BOX, name), count)
        except Missing:
            problem(wname, f"picker «{name}»", "not found on the bus")
    for acc in found:
        if acc.getRole() == pyatspi.ROLE_COMBO_BOX and acc.name not in expect.get("pickers", {}):
            check_picker(wname, acc, None)
    for name, rows in expect.get("grids", {}).items():
        try:
            check_grid(wname, find(win, pyatspi.ROLE_TABLE, name), rows)
        except Missing:
            problem(wname, f"grid «{name}»", "not found on the bus")
    labels = [a.name or "" for a in walk(win) if a.getRole() == pyatspi.ROLE_LABEL]
    for panel in expect.get("panels", ()):
        if not any(panel.fullmatch(n) for n in labels):
            problem(wname, f"status panel /{panel.pattern}/", f"not on the bus; labels: {labels}")


def tab_stop(acc):
    """Whether Tab must stop at the control: enabled and focusable, but not a read-only box
    (Tab may pass those by) nor a radio button (Tab stops at one of a group, the arrow keys
    move inside it)."""
    if not (has(acc, pyatspi.STATE_ENABLED) and has(acc, pyatspi.STATE_FOCUSABLE)):
        return False
    role = acc.getRole()
    if role == pyatspi.ROLE_TEXT and has(acc, pyatspi.STATE_READ_ONLY):
        return False
    return role not in (pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_RADIO_BUTTON)


def check_tab(wname, win):
    """Tab goes round every enabled control of the window, each once."""
    found = controls(win)
    expected = [a for a in found if tab_stop(a)]
    visited = []
    for _ in range(len(found) + 1):
        f = focused_after(lambda: key("Tab"))
        if f is None:
            problem(wname, "Tab", f"moves the focus nowhere after {[describe(v) for v in visited]}")
            return
        f = owner(f)
        if visited and f == visited[0]:
            break  # once round
        visited.append(f)
    twice = sorted({describe(v) for v in visited if visited.count(v) > 1})
    missed = [describe(a) for a in expected if a not in visited]
    radios = [a for a in found if a.getRole() == pyatspi.ROLE_RADIO_BUTTON
              and has(a, pyatspi.STATE_ENABLED)]
    if radios and not any(v.getRole() == pyatspi.ROLE_RADIO_BUTTON for v in visited):
        missed.append(f"the choice among {[describe(a) for a in radios]}")
    if twice or missed:
        problem(wname, "Tab", f"visits {twice} more than once and never reaches {missed}: "
                f"{[describe(v) for v in visited]}")


# --- the windows -----------------------------------------------------------------------------


class Visit:
    """A window opened by pressing a button of the window before it: what it shows on the bus,
    what is done in it, and the windows opened from it."""

    def __init__(self, title, press, expect=None, then=None, opens=(), typing=None):
        self.title, self.press, self.expect = title, press, expect or {}
        self.then, self.opens, self.typing = then, opens, typing

    def name(self):
        return self.title if isinstance(self.title, str) else self.title.pattern


def press(win, name):
    """Presses a button (a toggle included) of the window through the bus."""
    for role in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON):
        try:
            button = find(win, role, name)
        except Missing:
            continue
        do_action(button, "Press")
        return
    raise Missing(f"no button «{name}»")


def visit(app, parent, v, folder):
    wname = v.name()
    try:
        press(parent, v.press)
    except Missing as e:
        problem(wname, f"button «{v.press}»", str(e))
        return
    win = window(app, v.title)
    if not win:
        problem(wname, "window", f"did not open on «{v.press}»")
        return
    check_window(wname, win, v.expect)
    if v.then:
        v.then(app, win)
    check_tab(wname, win)
    for child in v.opens:
        visit(app, win, child, folder)
    before = files(folder)
    if v.typing:
        # The test data fill every box; the box is emptied first so that the typing fits.
        box = find(win, pyatspi.ROLE_TEXT, v.typing)
        box.queryEditableText().setTextContents("")
        focused_after(lambda: do_action(box, "SetFocus"))
        typed("test")
        if not wait_for(lambda: "test" in (text_of(box) or ""), 3):
            problem(wname, describe(box), "typing through the bus does not reach the box")
    key("Escape")
    if not wait_for(lambda: not has(win, pyatspi.STATE_SHOWING), 3):
        problem(wname, "Escape", "does not close the window")
        press(win, "Close")  # so that the next windows can open
        wait_for(lambda: not has(win, pyatspi.STATE_SHOWING), 3)
    elif files(folder) != before:
        problem(wname, "Escape", "closed the window but saved")


def cell_to_panel(app, win):
    """A cell chosen through the bus shows its whole text in the status panel, as a click."""
    t = find(win, pyatspi.ROLE_TABLE, "Организации").queryTable()
    do_action(t.getAccessibleAt(1, 2), "Toggle")
    row = {"Текст ячейки: " + t.getAccessibleAt(1, c).name for c in range(t.nColumns)}
    if not wait_for(lambda: any(a.name in row for a in walk(win) if a.getRole() == pyatspi.ROLE_LABEL), 3):
        problem("Организации", "status panel", "does not read the text of the cell chosen")


def deleted_view(app, win):
    """The toggle of deleted organizations, pressed through the bus, shows them."""
    press(win, "Deleted")
    shown = window(app, "Удаленные организации", 3)
    if not shown:
        problem("Организации", "check box «Deleted»", "does not show the deleted organizations")
        return
    check_window("Удаленные организации", shown,
                 {"grids": {"Организации": 2}, "disabled": ["New", "Edit", "Del", "Филиал", "Сотр."]})
    press(win, "Deleted")
    window(app, "Организации", 3)


def hint_lets_the_click_through(app, win):
    """Typing past the limit of a box shows a hint a screen reader hears; a click on the next
    box goes to that box (the hint neither covers it nor takes the click)."""
    wname = "Новый сотрудник"
    surname = find(win, pyatspi.ROLE_TEXT, "Фамилия")
    first = find(win, pyatspi.ROLE_TEXT, "Имя")
    focused_after(lambda: do_action(surname, "SetFocus"))
    typed("konstantinopolskiy")

    def hint():
        for w in children(app):
            if w.getRole() == pyatspi.ROLE_TOOL_TIP and has(w, pyatspi.STATE_SHOWING):
                return w
        return None

    shown = wait_for(hint, 3)
    if not shown or "16" not in (shown.name or ""):
        problem(wname, describe(surname), "no hint a screen reader hears after typing too much")
    e = first.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(e.x + e.width // 2, e.y + e.height * 3 // 4, "b1c")
    wait_for(lambda: has(first, pyatspi.STATE_FOCUSED), 3)
    typed("aleksandra")
    if not wait_for(lambda: text_of(first) == "aleksandra", 3):
        problem(wname, describe(first), f"a click on it and typing put «{text_of(first)}» there")
    for box in (surname, first):
        box.queryEditableText().setTextContents("")


# The bank details in the details window are shown, and changed in a window of their own.
BANK_BOXES = ["Р/Сч.", "Сокр. название", "К/Сч.", "Полн. название", "БИК"]

ORGANIZATIONS = Visit(
    "Организации", "Firms",
    {"grids": {"Организации": 3}, "disabled": ["Restore"], "panels": [re.compile("Текст ячейки.*")]},
    then=lambda app, win: (cell_to_panel(app, win), deleted_view(app, win)),
    opens=[
        Visit("Редактирование", "Edit", {"read_only": BANK_BOXES}, typing="Название организации",
              opens=[Visit(re.compile(".* - Редактирование$"), "Банк"),
                     Visit("Карточка организации", "Text")]),
        Visit("Новая организация", "New", {"read_only": BANK_BOXES, "disabled": ["Филиал"]},
              typing="Название организации"),
        Visit("Удалить организацию", "Del"),
        Visit(re.compile("^Филиалы"), "Филиал", {"grids": {"Филиалы": 1}},
              opens=[Visit(re.compile("^Новый филиал"), "Add"),
                     Visit("Удалить филиал организации", "Del")]),
        Visit(re.compile("^Сотрудники"), "Сотр.", {"grids": {"Сотрудники": 1}},
              opens=[Visit(re.compile("^Новый сотрудник"), "Add", then=hint_lets_the_click_through),
                     Visit("Удаление", "Del")]),
    ])

ORDERS = Visit(
    "Платежки", "List",
    {"grids": {"Платежки": 4}, "disabled": ["Filter"], "panels": [re.compile("Число платежек: 4")]},
    opens=[Visit("FormFilter", "Set Filter",
                 {"pickers": {"Плательщик": 2, "Получатель": 1}, "disabled": ["Получатель"]}),
           Visit("Удалить платежку", "Del")])

SETTINGS = Visit("FormSet", "Set")


def editor_page(app, main):
    """The first page of the main window: pickers chosen through the bus do what a click does,
    and so does the check box."""
    wname = "Главное окно"
    check_window(wname, main, {
        "pickers": {"Кто платит": 3, "Кому платит": 3},
        "disabled": ["Save", "New", "Печать", "Налоги"],
        "read_only": ["НДС", "Вид платежа", "Очер. плат.", "Статус"]})
    payer = find(main, pyatspi.ROLE_COMBO_BOX, "Кто платит")
    number = find(main, pyatspi.ROLE_TEXT, "№")
    chosen = choose(payer, 1)
    if chosen is None:
        problem(wname, describe(payer), "does not open its list through the bus")
    elif not wait_for(lambda: text_of(payer) == chosen, 3):
        problem(wname, describe(payer), f"shows «{text_of(payer)}» after «{chosen}» was chosen")
    elif not re.fullmatch(r"\d+", text_of(number) or ""):
        problem(wname, describe(number), "no number proposed after the payer was chosen")
    check_picker(wname, payer, 3)
    payee = find(main, pyatspi.ROLE_COMBO_BOX, "Кому платит")
    chosen = choose(payee, 2)
    if chosen is None or not wait_for(lambda: text_of(payee) == chosen, 3):
        problem(wname, describe(payee), "an entry chosen through the bus is not shown")
    check_picker(wname, payee, 3)

    accepted = find(main, pyatspi.ROLE_CHECK_BOX, "Принята в банк")
    amount = find(main, pyatspi.ROLE_TEXT, "Сумма")
    do_action(accepted, "Toggle")
    if not wait_for(lambda: has(accepted, pyatspi.STATE_CHECKED) and not has(amount, pyatspi.STATE_ENABLED), 3):
        problem(wname, describe(accepted), "ticked through the bus, it does not lock the fields")
    do_action(accepted, "Toggle")
    if not wait_for(lambda: not has(accepted, pyatspi.STATE_CHECKED) and has(amount, pyatspi.STATE_ENABLED), 3):
        problem(wname, describe(accepted), "unticked through the bus, it does not unlock the fields")
    check_tab(wname, main)


def budget_fields(app, main, folder):
    """"Налоги" opens once the status is not "Нет"; the status advances by Space in its box."""
    status = find(main, pyatspi.ROLE_TEXT, "Статус")
    taxes = find(main, pyatspi.ROLE_PUSH_BUTTON, "Налоги")
    focused_after(lambda: do_action(status, "SetFocus"))
    key("space")
    if not wait_for(lambda: has(taxes, pyatspi.STATE_ENABLED), 3):
        problem("Главное окно", describe(status), "Space does not advance the status")
        return
    visit(app, main, Visit("Налоги", "Налоги"), folder)
    focused_after(lambda: do_action(status, "SetFocus"))
    key("space")
    key("space")
    wait_for(lambda: not has(taxes, pyatspi.STATE_ENABLED), 3)


def preview_page(app, main):
    tabs = find(main, pyatspi.ROLE_PAGE_TAB_LIST, "Платежка")
    pages = [c for c in children(tabs) if c.getRole() == pyatspi.ROLE_PAGE_TAB]
    warnings = find(main, pyatspi.ROLE_LABEL, "Предупреждения о реквизитах", showing=False)
    do_action(pages[1], "Press")
    if not wait_for(lambda: has(warnings, pyatspi.STATE_SHOWING), 3):
        problem("Главное окно", "second page", "does not open through the bus")
        return
    check_window("Главное окно, вторая страница", main,
                 {"disabled": ["Save", "New", "Печать"]})
    check_tab("Главное окно, вторая страница", main)
    do_action(pages[0], "Press")
    wait_for(lambda: not has(warnings, pyatspi.STATE_SHOWING), 3)


def settings_by_bus(app, main, folder):
    """A check box of the settings ticked through the bus is kept, as a click keeps it."""
    for turn in range(2):
        before = files(folder)
        press(main, "Set")
        win = window(app, "FormSet")
        if not win:
            problem("FormSet", "window", "did not open on «Set»")
            return
        box = find(win, pyatspi.ROLE_CHECK_BOX, re.compile("УСН"))
        was = has(box, pyatspi.STATE_CHECKED)
        do_action(box, "Toggle")
        wait_for(lambda: has(box, pyatspi.STATE_CHECKED) != was, 3)
        press(win, "OK")
        wait_for(lambda: not has(win, pyatspi.STATE_SHOWING), 3)
        if files(folder).get("Set") == before.get("Set"):
            problem("FormSet", describe(box), "changed through the bus, the setting is not kept")


def run(app, folder):
    main = window(app, "Quenmara  V.2.0")
    if not main:
        raise SystemExit("the main window did not appear on the bus")
    # The window takes the keyboard as it would from a window manager: by a click into it.
    box = find(main, pyatspi.ROLE_TEXT, "№")
    e = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if not focused_after(lambda: pyatspi.Registry.generateMouseEvent(
            e.x + e.width // 2, e.y + e.height // 2, "b1c")):
        raise SystemExit("the main window does not take the keyboard")
    steps = [
        ("Главное окно", lambda: editor_page(app, main)),
        ("Налоги", lambda: budget_fields(app, main, folder)),
        ("Главное окно, вторая страница", lambda: preview_page(app, main)),
        ("FormSet", lambda: visit(app, main, SETTINGS, folder)),
        ("FormSet", lambda: settings_by_bus(app, main, folder)),
        ("Платежки", lambda: visit(app, main, ORDERS, folder)),
        ("Организации", lambda: visit(app, main, ORGANIZATIONS, folder)),
    ]
    for wname, step in steps:
        try:
            step()
        except Stuck as e:
            problem(wname, "bus", str(e))
            return  # the program waits in a window the test cannot reach
        except (Missing, GLib.Error) as e:
            problem(wname, "bus", str(e))


def main():
    started = time.monotonic()
    folder = tempfile.mkdtemp(prefix="quenmara-bus-")
    try:
        subprocess.run([BUS_DATA, folder], check=True)
        program = start_program(folder)
        try:
            run(find_application(), folder)
        finally:
            program.kill()
            program.wait()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"bus test: {len(problems)} problems, {time.monotonic() - started:.0f} s")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
