#!/usr/bin/python3
"""Walks a published Mebrox application in headless Chromium with an event script.

    scripts/web-walk.py [--profile DIR] [--screenshots DIR] EXPORT_DIR SCRIPT

EXPORT_DIR is a folder written by `mebrox-run --export-html`; SCRIPT is an event script as
`mebrox-run --headless` takes it. The pointer lines (move, down, up, click, by point or by hot
word), key, answer, wait and screenshot are carried out with real pointer and key events; then
the page's trace (window.mebroxTrace) is printed, one line each, as the headless runner prints
its own. A description popup is closed at once, and a message box without an answer takes its
first button, as in a headless run. `wait` lets no time pass: sound plays in the browser's own
time.

--profile DIR keeps the browser's profile there, so that the bookmark of one walk is there for
the next. --timing tells on standard error how long after the page began to load its first
frame showed (`first-frame-ms MS`). Exit codes: 0 after the walk, 2 for a faulty script line (the message names it), 3
when Chromium cannot be started. MEBROX_CHROMIUM names the browser binary when it is not
/usr/bin/chromium.
"""

import argparse
import os
import shlex
import sys
import tempfile

EXIT_USAGE = 2
EXIT_NO_BROWSER = 3


class ScriptError(Exception):
    pass


def parse_line(text):
    """Words of a script line, a quoted word as one (kept with a mark that it was quoted)."""
    words = []
    for word in shlex.split(text, comments=True, posix=False):
        if len(word) >= 2 and word[0] == '"' and word[-1] == '"':
            words.append(('quoted', word[1:-1].replace('\\"', '"').replace('\\\\', '\\')))
        else:
            words.append(('plain', word))
    return words


def read_script(path):
    commands = []
    with open(path, encoding='utf-8') as f:
        for number, text in enumerate(f, 1):
            try:
                words = parse_line(text)
            except ValueError as e:
                raise ScriptError('%s(%d): %s' % (path, number, e))
            if words:
                commands.append((number, words))
    return commands


KEYS = {
    'enter': 'ENTER', 'escape': 'ESCAPE', 'tab': 'TAB', 'space': 'SPACE',
    'backspace': 'BACK_SPACE', 'delete': 'DELETE', 'home': 'HOME', 'end': 'END',
    'pageup': 'PAGE_UP', 'pagedown': 'PAGE_DOWN', 'up': 'ARROW_UP', 'down': 'ARROW_DOWN',
    'left': 'ARROW_LEFT', 'right': 'ARROW_RIGHT',
}

FIND_CONTROL = """
const [form, control] = arguments;
const frames = Array.from(document.querySelectorAll('section.mx-frame'));
const frame = frames.find((f) => f.id.toLowerCase() === form.toLowerCase());
if (!frame) return ['There is no form named ' + form];
if (frame.hidden) return ['Form ' + frame.id + ' is not showing'];
if (!control) return [null, frame];
const found = Array.from(frame.querySelectorAll('[data-name]')).find(
    (e) => e.dataset.name.toLowerCase() === control.toLowerCase());
if (!found) return ['Form ' + frame.id + ' has no component named ' + control];
if (found.closest('[hidden]')) return [control + ' is not showing'];
if (found.hasAttribute('disabled')) return [control + ' is disabled'];
return [null, found];
"""

FIND_WORD = """
const [text, word] = arguments;
const page = text.querySelector(':scope > .mx-page:not([hidden])');
const words = page ? Array.from(page.querySelectorAll('.mx-word')) : [];
const hit = words.find((w) => w.dataset.word === word);
if (hit) return [null, hit];
const shown = [...new Set(words.map((w) => w.dataset.word))];
return [shown.length ? 'it shows ' + shown.map((w) => mebrox.quote(w)).join(', ')
                     : 'it shows no hot words at all'];
"""

# What a headless run does with a modal form: a popup is closed at once, a message box without
# an answer takes its default button.
CLOSE_DIALOGS = """
for (const d of document.querySelectorAll('.mx-modal .mx-description')) d.click();
const b = document.querySelector('.mx-modal .mx-message button');
if (b) b.click();
"""


class Walker:
    def __init__(self, driver, script_name):
        self.driver = driver
        self.script_name = script_name

    def fail(self, number, message):
        raise ScriptError('%s(%d): %s' % (self.script_name, number, message))

    def target(self, number, name):
        form, _, control = name.partition('.')
        result = self.driver.execute_script(FIND_CONTROL, form, control or None)
        if result[0]:
            self.fail(number, result[0])
        return result[1], control

    def pointer(self, number, verb, words):
        from selenium.webdriver.common.action_chains import ActionChains
        if len(words) < 2:
            self.fail(number, verb + ' needs FORM[.CONTROL] and X Y or "WORD"')
        element, control = self.target(number, words[1][1])
        rest = words[2:]
        if rest and rest[0][0] == 'quoted':
            word = rest[0][1].lstrip(' ')
            found = self.driver.execute_script(FIND_WORD, element, word)
            if found[0]:
                self.fail(number, '%s shows no hot word "%s"; %s' % (control, word, found[0]))
            element = found[1]
            dx = dy = 0
            rest = rest[1:]
        else:
            if len(rest) < 2:
                self.fail(number, verb + ' needs X Y or "WORD"')
            try:
                x, y = int(rest[0][1]), int(rest[1][1])
            except ValueError:
                self.fail(number, 'X and Y are whole numbers')
            rect = element.rect
            dx = x - int(rect['width']) // 2
            dy = y - int(rect['height']) // 2
            rest = rest[2:]
        right = bool(rest) and rest[0][1].lower() == 'right'
        chain = ActionChains(self.driver).move_to_element_with_offset(element, dx, dy)
        if verb == 'move':
            pass
        elif right:
            if verb in ('down', 'click'):
                chain = chain.context_click()
        elif verb == 'down':
            chain = chain.click_and_hold()
        elif verb == 'up':
            chain = chain.release()
        else:
            chain = chain.click()
        chain.perform()

    def key(self, number, words):
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys
        if len(words) != 3:
            self.fail(number, 'key needs FORM[.CONTROL] and KEY')
        element, control = self.target(number, words[1][1])
        if control:
            self.driver.execute_script('arguments[0].focus()', element)
        else:
            self.driver.execute_script('mebrox.focusFrame(arguments[0])', element)
        parts = words[2][1].split('+')
        modifiers = {'shift': Keys.SHIFT, 'ctrl': Keys.CONTROL, 'alt': Keys.ALT}
        held = []
        for m in parts[:-1]:
            if m.lower() not in modifiers:
                self.fail(number, 'unknown key ' + words[2][1])
            held.append(modifiers[m.lower()])
        name = parts[-1]
        if name.lower() in KEYS:
            key = getattr(Keys, KEYS[name.lower()])
        elif name.upper().startswith('F') and name[1:].isdigit() and 1 <= int(name[1:]) <= 12:
            key = getattr(Keys, name.upper())
        elif len(name) == 1 and name.isalnum():
            key = name.lower()
        else:
            self.fail(number, 'unknown key ' + words[2][1])
        chain = ActionChains(self.driver)
        for m in held:
            chain = chain.key_down(m)
        chain = chain.send_keys(key)
        for m in reversed(held):
            chain = chain.key_up(m)
        chain.perform()

    def run(self, commands, start_dir):
        for number, words in commands:
            if self.driver.execute_script('return mebrox.ended()'):
                break
            verb = words[0][1].lower()
            if verb in ('move', 'down', 'up', 'click'):
                self.pointer(number, verb, words)
            elif verb == 'key':
                self.key(number, words)
            elif verb == 'answer':
                if len(words) != 2 or words[1][1].lower() not in ('yes', 'no', 'ok', 'cancel'):
                    self.fail(number, 'answer takes yes, no, ok or cancel')
                self.driver.execute_script('mebrox.queueAnswer(arguments[0])',
                                           words[1][1].lower())
            elif verb == 'wait':
                if len(words) != 2 or not words[1][1].isdigit():
                    self.fail(number, 'wait takes a number of milliseconds')
            elif verb == 'screenshot':
                if len(words) != 3:
                    self.fail(number, 'screenshot needs FORM and FILE.png')
                frame, _ = self.target(number, words[1][1])
                path = words[2][1]
                if not os.path.isabs(path):
                    path = os.path.join(start_dir, path)
                frame.screenshot(path)
            else:
                self.fail(number, 'a browser walk cannot do ' + verb)
            self.driver.execute_script(CLOSE_DIALOGS)


def start_browser(profile, autoplay=True):
    """Headless Chromium; autoplay=False keeps the browser's rule that sound waits for a first
    click or key."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError as e:
        raise RuntimeError('Selenium for Python is not installed (%s)' % e)
    options = webdriver.ChromeOptions()
    for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                '--window-size=1400,1400', '--force-device-scale-factor=1',
                '--user-data-dir=' + profile):
        options.add_argument(arg)
    if autoplay:
        options.add_argument('--autoplay-policy=no-user-gesture-required')
    # MEBROX_CHROMIUM names another browser binary (Chromium or Chrome).
    binary = os.environ.get('MEBROX_CHROMIUM', '/usr/bin/chromium')
    if os.path.exists(binary) or 'MEBROX_CHROMIUM' in os.environ:
        options.binary_location = binary
    driver_path = '/usr/bin/chromedriver'
    service = Service(driver_path) if os.path.exists(driver_path) else Service()
    try:
        return webdriver.Chrome(service=service, options=options)
    except Exception as e:  # any failure to start is the same to the caller
        raise RuntimeError('Chromium cannot start: %s' % str(e).strip().splitlines()[0])


def main():
    parser = argparse.ArgumentParser(description='Walk a published Mebrox application.')
    parser.add_argument('--profile', help='keep the browser profile (and the bookmark) here')
    parser.add_argument('--timing', action='store_true',
                        help='tell on standard error how long the first frame took to show')
    parser.add_argument('export_dir')
    parser.add_argument('script')
    args = parser.parse_args()

    index = os.path.join(os.path.abspath(args.export_dir), 'index.html')
    if not os.path.isfile(index):
        print('web-walk: %s holds no index.html' % args.export_dir, file=sys.stderr)
        return EXIT_USAGE
    try:
        commands = read_script(args.script)
    except (OSError, ScriptError) as e:
        print('web-walk: %s' % e, file=sys.stderr)
        return EXIT_USAGE

    with tempfile.TemporaryDirectory(prefix='mebrox-web-walk-') as scratch:
        profile = os.path.abspath(args.profile) if args.profile else scratch
        try:
            driver = start_browser(profile)
        except RuntimeError as e:
            print('web-walk: %s' % e, file=sys.stderr)
            return EXIT_NO_BROWSER
        status = 0
        try:
            driver.get('file://' + index)
            if args.timing:
                shown = driver.execute_script('return window.mebroxFirstFrameMs')
                print('first-frame-ms %.3f' % shown, file=sys.stderr)
            walker = Walker(driver, args.script)
            try:
                walker.run(commands, os.getcwd())
            except ScriptError as e:
                print('web-walk: %s' % e, file=sys.stderr)
                status = EXIT_USAGE
            for line in driver.execute_script('return window.mebroxTrace'):
                print(line)
        finally:
            driver.quit()
        return status


if __name__ == '__main__':
    sys.exit(main())
