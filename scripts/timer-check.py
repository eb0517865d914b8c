#!/usr/bin/env python3
"""Fails when a timer in the source is not declared below with its reason, or when a repeating
timer's slot begins by testing a value and does nothing otherwise.

Usage: timer-check.py SRC_FOLDER. It first proves itself on planted faults, then checks SRC_FOLDER.

A value our own code changes is announced by a signal, or whoever changes it starts and stops
the timer; a timer that looks at it every few milliseconds hides who changed it and when. The
timers left exist for what sends no signal: time itself, other computers' files, a limit on a
wait, a pause before something, the end of the current event.
"""
import pathlib
import re
import sys

# Kinds of timers. A repeating kind must repeat, a single kind must fire once.
REPEATING = {
    'clock': 'counts time the user sees',
    'poll-files': "reads other computers' files, which send no signal",
    'animation': 'moves or blinks what is shown',
}
SINGLE = {
    'watchdog': 'ends a wait that may never answer',
    'delay': 'does one thing after a pause',
    'deferred': 'runs once the current event has returned',
}

# file under src, slot (Class::method, or "lambda of" the timer or singleShot), kind
DECLARED = [
    ('app/mainmenu.cpp', 'lambda of singleShot', 'deferred'),
    ('app/splash.cpp', 'QWidget::close', 'delay'),
    ('network/monitorwindow.cpp', 'MonitorWindow::poll', 'poll-files'),
    ('network/pupilpoller.cpp', 'PupilPoller::finish', 'watchdog'),
    ('network/remoteadminwindow.cpp', 'lambda of singleShot', 'watchdog'),
    ('network/watchwindows.cpp', 'WatchWindow::blink', 'animation'),
    ('network/watchwindows.cpp', 'WatchWindow::refresh', 'poll-files'),
    ('reading/contentswindow.cpp', 'ContentsWindow::reportOutlineProblem', 'deferred'),
    ('reading/helpwindow.cpp', 'lambda of timer', 'delay'),
    ('reading/pictureviewer.cpp', 'PictureViewer::tick', 'animation'),
    ('reading/readerwindow.cpp', 'ReaderFlow::openParagraph', 'deferred'),
    ('reading/readerwindow.cpp', 'ReaderWindow::hide', 'deferred'),
    ('testing/achievements.cpp', 'lambda of timer', 'delay'),
    ('testing/testsettings.cpp', 'SettingsPush::finish', 'watchdog'),
    ('testing/testwindow.cpp', 'TestSession::tick', 'clock'),
    ('testing/testwindow.cpp', 'lambda of singleShot', 'deferred'),
    ('ui/cueplayer.cpp', 'QEventLoop::quit', 'watchdog'),
]


def strip(text):
    """Comments become blanks and string or character literals empty, so that neither is
    read as code."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            i = text.find('\n', i)
            i = n if i < 0 else i
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            i = n if end < 0 else end + 2
            out.append(' ')
        elif c == '"' or (c == "'" and not (i and text[i - 1].isdigit())):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == '\\' else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def closing(text, start):
    """Index after the bracket that closes the one at start."""
    pairs = {'(': ')', '{': '}', '[': ']'}
    stack = []
    for i in range(start, len(text)):
        if text[i] in pairs:
            stack.append(pairs[text[i]])
        elif stack and text[i] == stack[-1]:
            stack.pop()
            if not stack:
                return i + 1
    return len(text)


def arguments(text, open_paren):
    """The top-level arguments of the call whose '(' is at open_paren."""
    end = closing(text, open_paren)
    args, depth, begin = [], 0, open_paren + 1
    for i in range(open_paren + 1, end - 1):
        if text[i] in '([{':
            depth += 1
        elif text[i] in ')]}':
            depth -= 1
        elif text[i] == ',' and depth == 0:
            args.append(text[begin:i].strip())
            begin = i + 1
    args.append(text[begin:end - 1].strip())
    return args


def sites(text):
    """(timer, slot argument, fires once) for each timer in a stripped file; timer is None
    for QTimer::singleShot."""
    found = []
    for m in re.finditer(r'\bQTimer::singleShot\s*\(', text):
        found.append((None, arguments(text, m.end() - 1)[-1], True))
    for m in re.finditer(r'\bconnect\s*\(', text):
        args = arguments(text, m.end() - 1)
        timeout = r'&\s*QTimer::timeout|SIGNAL\s*\(\s*timeout\s*\(\s*\)\s*\)'
        if len(args) >= 3 and re.fullmatch(timeout, args[1]):
            found.append((args[0], args[-1], None))
    for m in re.finditer(r'([\w.>-]+?)\s*(?:->|\.)\s*callOnTimeout\s*\(', text):
        found.append((m.group(1), arguments(text, m.end() - 1)[-1], None))
    return found


def unsupported(text):
    return re.findall(r'\b(startTimer|timerEvent|QBasicTimer|QChronoTimer)\b', text)


def body_of(slot, texts):
    """(name, body) of a slot argument; body is None for a function outside the source."""
    if slot.startswith('['):
        start = slot.find('{', closing(slot, 0))
        return 'lambda', slot[start + 1:closing(slot, start) - 1]
    name = re.sub(r'\s+', '', slot).lstrip('&')
    qualifiers = r'\)\s*(?:const\s*)?(?:noexcept\s*)?(?:override\s*)?\{'
    outside = re.compile(re.escape(name) + r'\s*\([^;{}]*' + qualifiers)
    owner, _, method = name.rpartition('::')
    # Without parentheses among the parameters, so that a call such as `if (tick()) {` is not
    # taken for the definition.
    inside = re.compile(r'\b' + re.escape(method) + r'\s*\([^;{}()]*' + qualifiers)
    for text in texts.values():
        # Defined outside its class, or inline in the file that declares the class.
        m = outside.search(text)
        if not m and owner and re.search(r'\bclass\s+' + re.escape(owner) + r'\b[^;]*\{', text):
            m = inside.search(text)
        if m:
            return name, text[m.end():closing(text, m.end() - 1) - 1]
    return name, None


def reads_values_only(condition):
    """True when the condition calls nothing with arguments: it tests variables, members and
    getters."""
    plain = re.sub(r'\b\w+\s*\(\s*\)', 'v', condition)
    return re.search(r'\w\s*\(', plain) is None


def statement_end(text, i):
    """Index after the statement that begins at i."""
    m = re.match(r'(if|for|while|switch)\s*\(', text[i:])
    if m:
        end = statement_end(text, skip_blanks(text, closing(text, i + m.end() - 1)))
        k = skip_blanks(text, end)
        if m.group(1) == 'if' and re.match(r'else\b', text[k:]):
            end = statement_end(text, skip_blanks(text, k + 4))
        return end
    if text[i] == '{':
        return closing(text, i)
    depth = 0
    for j in range(i, len(text)):
        if text[j] in '([{':
            depth += 1
        elif text[j] in ')]}':
            depth -= 1
        elif text[j] == ';' and depth == 0:
            return j + 1
    return len(text)


def skip_blanks(text, i):
    while i < len(text) and text[i].isspace():
        i += 1
    return i


def statements(text):
    found, i = [], skip_blanks(text, 0)
    while i < len(text):
        end = statement_end(text, i)
        found.append(text[i:end].strip())
        i = skip_blanks(text, end)
    return found


def only_tests_a_value(body):
    """True when the body is `if (value) one thing;`, or begins with `if (value) return;`
    followed by one thing: it runs to notice that a value changed. Resetting the tested value
    is not counted as a thing."""
    first, *rest = statements(body) or ['']
    m = re.match(r'if\s*\(', first)
    if not m:
        return False
    cond_end = closing(first, m.end() - 1)
    condition = first[m.end():cond_end - 1]
    then, *otherwise = statements(first[cond_end:])
    if otherwise or not reads_values_only(condition):
        return False
    inner = statements(then[1:-1] if then.startswith('{') else then)
    if inner == ['return;']:
        work = rest
    elif not rest:
        work = inner
    else:
        return False
    tested = set(re.findall(r'\w+', condition))
    work = [s for s in work if not (re.match(r'([\w.>*-]*?)(\w+)\s*=[^=]', s) and
                                    re.match(r'([\w.>*-]*?)(\w+)\s*=', s).group(2) in tested)]
    return len(work) <= 1


def repeats(timer, slot, single_shot, body, text):
    """Whether the timer fires more than once: a member timer unless set single-shot, and any
    timer whose slot starts it again."""
    if single_shot is None:
        name = re.escape(timer.lstrip('&').strip())
        single_shot = re.search(name + r'\s*(?:->|\.)\s*setSingleShot\s*\(\s*true', text)
    if body is None:
        return not single_shot
    if timer is None:
        rearm = r'singleShot\s*\([^;]*' + re.escape(slot.split('::')[-1].strip())
    else:
        rearm = re.escape(timer.lstrip('&').strip()) + r'\s*(?:->|\.)\s*start\s*\('
    return not single_shot or re.search(rearm, body) is not None


def problems(texts, declared):
    """Every fault found in texts ({file: stripped source}) against the declared timers."""
    kinds = {**REPEATING, **SINGLE}
    found, faults = set(), []
    for path, text in sorted(texts.items()):
        for word in unsupported(text):
            faults.append(f'{path}: {word}: use a QTimer with a slot, which this check reads')
        for timer, slot, single_shot in sites(text):
            name, body = body_of(slot, texts)
            if name == 'lambda':
                name = f'lambda of {timer.lstrip("&").strip() if timer else "singleShot"}'
            repeating = repeats(timer, slot, single_shot, body, text)
            found.add((path, name))
            kind = next((k for p, s, k in declared if (p, s) == (path, name)), None)
            if kind is None:
                faults.append(f'{path}: a timer calls {name} and is not declared in '
                              f'{pathlib.Path(__file__).name} with its kind ({", ".join(kinds)})')
            elif repeating != (kind in REPEATING):
                faults.append(f'{path}: {name} is declared {kind} but the timer '
                              f'{"repeats" if repeating else "fires once"}')
            if repeating and body is not None and only_tests_a_value(body):
                faults.append(f'{path}: {name} only tests a value every time its timer fires: '
                              'whoever changes the value should signal it')
    for path, name, kind in declared:
        if (path, name) not in found:
            faults.append(f'{path}: the declared timer calling {name} is gone: remove its line')
        elif kind not in kinds:
            faults.append(f'{path}: {name} has the unknown kind {kind}')
    return faults


# label: (source, slot, declared kind or None, what the fault says)
PLANTED = {
    'flag': ('void W::W() { connect(m_t, &QTimer::timeout, this, &W::tick); }\n'
             'void W::tick() { if (m_reload) reload(m_path); }', 'W::tick', 'clock', 'only tests'),
    'guard': ('void W::W() { connect(m_t, &QTimer::timeout, this, [this] {\n'
              '  if (!m_data.isDirty()) { return; }\n  save(m_data); }); }', 'lambda of m_t', 'clock',
              'only tests'),
    'reset': ('void W::W() { connect(m_t, &QTimer::timeout, this, &W::tick); }\n'
              'void W::tick() { if (!m_reload) return; m_reload = false; reload(); }', 'W::tick',
              'clock', 'only tests'),
    'inline, old connect': ('class W : public QObject {\n  W() { connect(m_t, SIGNAL(timeout()), this,'
                            ' &W::tick); }\n  void tick() { if (m_dirty) save(); }\n};', 'W::tick',
                            'clock', 'only tests'),
    'self-arming': ('void W::tick() { if (m_ready) go(); QTimer::singleShot(100, this, &W::tick); }',
                    'W::tick', 'delay', 'repeats'),
    'undeclared': ('void W::W() { QTimer::singleShot(0, this, &W::show); }', 'W::show', None,
                   'not declared'),
    'gone': ('void W::W() {}', 'W::tick', 'delay', 'is gone'),
    'raw timer': ('void W::timerEvent(QTimerEvent *) {}', 'W::tick', None, 'use a QTimer'),
}
# label: (source, slot, declared kind)
SOUND = {
    'clock': ('void W::W() { connect(m_t, &QTimer::timeout, this, &W::tick); }\n'
              '// if (m_x) return;\nvoid W::tick() { ++m_seconds; show(m_seconds); }', 'W::tick',
              'clock'),
    'watchdog': ('void W::W() { QTimer::singleShot(10, this, [answered] {\n'
                 '  if (!*answered) done(false); }); }', 'lambda of singleShot',
                 'watchdog'),
    'clock under a test': ('void W::W() { connect(m_t, &QTimer::timeout, this, &W::tick); }\n'
                           'void W::tick() { if (m_state != Answering) return; count();\n'
                           '  Q_EMIT changed(); }', 'W::tick', 'clock'),
    'work under a test': ('void W::W() { m_t->callOnTimeout(this, &W::tick); }\n'
                          'void W::tick() { if (contains(m_row, "x")) read(); }', 'W::tick',
                          'poll-files'),
}


def prove():
    """The check finds each planted fault and passes sound timers."""
    failures = []
    for label, (source, slot, kind, expected) in PLANTED.items():
        declared = [('w.cpp', slot, kind)] if kind else []
        if not any(expected in f for f in problems({'w.cpp': strip(source)}, declared)):
            failures.append(f'planted fault not found: {label}')
    for label, (source, slot, kind) in SOUND.items():
        faults = problems({'w.cpp': strip(source)}, [('w.cpp', slot, kind)])
        failures += [f'sound timer "{label}" refused: {f}' for f in faults]
    return failures


def main():
    folder = pathlib.Path(sys.argv[1])
    texts = {p.relative_to(folder).as_posix(): strip(p.read_text(encoding='utf-8'))
             for p in sorted(folder.rglob('*')) if p.suffix in ('.cpp', '.h')}
    faults = prove() + problems(texts, DECLARED)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
