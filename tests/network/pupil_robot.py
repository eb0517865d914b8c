"""Plays a pupil at a running program from outside, as a user with a screen reader would: finds
controls through the accessibility interface by their accessible names and presses them.

pupil_robot.py PID login FIRST SECOND PASSWORD   identify, registering a new pupil if needed
pupil_robot.py PID press NAME                    press the showing button with that name
pupil_robot.py PID question                      print the test window's title and its answers
pupil_robot.py PID answer [TEXT]                 click the answer TEXT (the first one shown
                                                 when none is given), press "Ответить" and
                                                 wait for the next question
pupil_robot.py PID finish                        answer with the first answer shown until the
                                                 test window closes
pupil_robot.py PID expect DESCRIPTION VALUE ...  wait until the control described so shows the
                                                 value as its name (a cell of the teacher's
                                                 monitor, say), for every pair given

Every wait is bounded; a failure prints its reason and exits with 1.
"""
import subprocess
import sys
import time

import pyatspi

WAIT = 15
# What another computer does reaches a window with that computer's delay.
REMOTE_WAIT = 60


class Failure(Exception):
    pass


def program(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                # Names change as the program runs: read them afresh.
                app.clear_cache()
                return app
        except Exception:
            continue
    return None


def walk(node):
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child)


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def windows(pid):
    app = program(pid)
    if app is None:
        return []
    return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and showing(w)]


def wait_for(what, probe, timeout=WAIT):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = probe()
        except Exception:
            found = None
        if found:
            return found
        time.sleep(0.2)
    raise Failure('timed out waiting for ' + what)


def control(pid, name, role=None, inside=None):
    roles = (role,) if isinstance(role, str) else role
    for window in windows(pid):
        if inside is not None and window.name != inside:
            continue
        for node in walk(window):
            if node.name == name and showing(node) and (roles is None or node.getRoleName() in roles):
                return node
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    action.doAction(names.index('press') if 'press' in names else 0)


# An answer is chosen with the mouse: the accessible toggle action of a radio button checks it
# without the click the test window listens to.
def click(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(['xdotool', 'mousemove', str(x + min(8, width // 2)),
                    str(y + height // 2), 'click', '1'], check=True, timeout=WAIT)


def checked(node):
    node.clear_cache()
    return node.getState().contains(pyatspi.STATE_CHECKED)


# The password field is masked as soon as the administrator's names are typed.
def set_text(pid, name, text):
    field = wait_for('the field ' + name, lambda: control(pid, name, ('text', 'password text')))
    field.queryEditableText().setTextContents(text)
    wait_for('the text of ' + name, lambda: shows(field, text))


# A masked field keeps its text to itself and tells only its length.
def shows(field, text):
    readable = field.queryText()
    got = readable.getText(0, -1)
    return got == text or (got == '' and readable.characterCount == len(text))


def login(pid, first, second, password):
    window = 'Идентификация пользователя .'
    set_text(pid, 'Имя', first)
    set_text(pid, 'Фамилия', second)
    set_text(pid, 'Пароль', password)
    # An unknown pupil is registered by the second press.
    for _ in range(2):
        ok = wait_for('the button Войти', lambda: control(pid, 'Войти', 'push button', window))
        press(ok)
        try:
            wait_for('the login window to close',
                     lambda: all(w.name != window for w in windows(pid)), 2)
            return
        except Failure:
            pass
    raise Failure('the login window stayed open')


def test_window(pid):
    for window in windows(pid):
        if window.name.strip().startswith('Вопрос №'):
            return window
    return None


def answers(window):
    return [n for n in walk(window) if n.getRoleName() == 'radio button' and showing(n)]


def question(pid):
    window = wait_for('the test window', lambda: test_window(pid))
    shown = wait_for('the answers', lambda: [n.name for n in answers(window) if n.name])
    print(window.name.strip())
    for text in shown:
        print(text)


def answer(pid, text=None):
    window = wait_for('the test window', lambda: test_window(pid))
    title = window.name
    choice = wait_for('the answer ' + (text or 'shown first'),
                      lambda: next((n for n in answers(window)
                                    if n.name and n.name == (text or n.name)), None))
    click(choice)
    wait_for('the answer to be chosen', lambda: checked(choice))
    # As a person reads the question first: the program takes no answer to a question that has
    # been on screen for less than half a second.
    time.sleep(0.6)
    press(wait_for('the button Ответить', lambda: control(pid, 'Ответить', 'push button')))
    wait_for('the next question', lambda: (test_window(pid) is None
                                           or test_window(pid).name != title))


def finish(pid):
    while test_window(pid) is not None:
        answer(pid)


def described(pid, description):
    for window in windows(pid):
        for node in walk(window):
            if node.description == description and showing(node):
                return node
    return None


def expect(pid, pairs):
    for description, value in zip(pairs[::2], pairs[1::2]):
        seen = []

        def shows():
            seen.append(described(pid, description).name)
            return seen[-1] == value
        try:
            wait_for(description, shows, REMOTE_WAIT)
        except Failure:
            raise Failure('%s shows %r, not %r' % (description, seen[-1] if seen else None, value))


def main(argv):
    pid = int(argv[1])
    command, args = argv[2], argv[3:]
    wait_for('the program on the accessibility bus', lambda: program(pid))
    if command == 'login':
        login(pid, *args)
    elif command == 'press':
        press(wait_for('the button ' + args[0],
                       lambda: control(pid, args[0], 'push button')))
    elif command == 'question':
        question(pid)
    elif command == 'answer':
        answer(pid, *args[:1])
    elif command == 'finish':
        finish(pid)
    elif command == 'expect' and args and len(args) % 2 == 0:
        expect(pid, args)
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv))
    except Failure as failure:
        print(failure, file=sys.stderr)
        sys.exit(1)
