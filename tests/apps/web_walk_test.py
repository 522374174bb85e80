#!/usr/bin/python3
"""The tour published and walked in headless Chromium against mebrox-run --headless.

Both walk examples/tour with its walkthrough.txt and then walkthrough-resume.txt (which resumes
at the bookmark the first left); the navigation lines of the two traces must be the same. Then
both walk it afresh with walkthrough-keys.txt, where the focus lines must be the same as well.
The page's own dialogs are worked as a person would: the description closed by Escape, Enter,
Space and a click; the resume offer answered No, then Yes. A wave player that plays by itself
waits, with a hint, for the first click where the browser wants one. Last, axe-core looks at
every frame,
and at the description and the resume offer open: no serious or critical violation (skipped,
with a message, where axe-core is not installed). Then
every hot word of every text the tour can show is looked at in the browser: its text must lie
within 2 pixels of the slot the kit's layout gave it. Exit code 77 (skipped) only where Chromium
cannot start.
"""

import argparse
import importlib.machinery
import os
import shutil
import subprocess
import sys
import tempfile
import types

SKIP = 77
NAVIGATION = ('show ', 'hide ', 'close ', 'modal ', 'message ', 'terminate', 'focus ')

BOXES = """
for (const f of document.querySelectorAll('section.mx-frame')) f.hidden = false;
const out = [];
for (const text of document.querySelectorAll('.mx-hypertxt')) {
  const pages = Array.from(text.querySelectorAll(':scope > .mx-page'));
  for (const page of pages) {
    for (const p of pages) p.hidden = p !== page;
    const origin = text.getBoundingClientRect();
    for (const word of page.querySelectorAll('.mx-word')) {
      const range = document.createRange();
      range.selectNodeContents(word);
      const r = range.getBoundingClientRect();
      out.push([text.closest('section').id + ' ' + text.dataset.name + ' ' + page.dataset.page,
                word.dataset.word, parseFloat(word.style.left), parseFloat(word.style.top),
                parseFloat(word.style.width), r.left - origin.left, r.top - origin.top,
                r.width]);
    }
  }
}
return out;
"""


# The faces the page embeds, once every frame has been laid out with them.
FACES = """
const done = arguments[0];
document.fonts.ready.then(() => done(Array.from(document.fonts).map(
    (f) => [f.family, f.weight, f.status])));
"""


def navigation(trace):
    return [line for line in trace.splitlines() if line.startswith(NAVIGATION)]


def dialogs(driver, index):
    """The description and the resume offer, worked with real keys and clicks."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    problems = []

    def word(frame, text):
        return driver.find_element(
            By.CSS_SELECTOR, '#%s .mx-page:not([hidden]) .mx-word[data-word="%s"]' % (frame, text))

    def popup():
        found = driver.find_elements(By.CSS_SELECTOR, '.mx-modal [role="dialog"]')
        return found[0] if found else None

    def expect(condition, what):
        if not condition:
            problems.append(what)

    description = word('Form1', 'description')
    for close in ('Escape', 'Enter', 'Space', 'click'):
        if close == 'Escape':
            ActionChains(driver).click(description).perform()
        else:
            driver.execute_script('arguments[0].focus()', description)
            ActionChains(driver).send_keys(Keys.ENTER if close != 'Space' else Keys.SPACE).perform()
        shown = popup()
        expect(shown is not None, 'no description after opening it for ' + close)
        if shown is None:
            continue
        expect(driver.switch_to.active_element == shown,
               'the description has not the keyboard (' + close + ')')
        if close == 'click':
            ActionChains(driver).click(shown).perform()
        else:
            key = {'Escape': Keys.ESCAPE, 'Enter': Keys.ENTER, 'Space': Keys.SPACE}[close]
            ActionChains(driver).send_keys(key).perform()
        expect(popup() is None, close + ' did not close the description')
    trace = driver.execute_script('return window.mebroxTrace')
    modals = [t for t in trace if t.startswith('modal TMsgDlg')]
    expect(len(modals) == 4, 'four descriptions traced, not %d' % len(modals))

    # Out through the ribbon, in again: the bookmark offers to resume.
    ActionChains(driver).click(word('Form1', 'second frame')).perform()
    ActionChains(driver).click(word('Form2', 'third frame')).perform()
    ActionChains(driver).click(driver.find_element(
        By.CSS_SELECTOR, '#Form3 [data-name="HyperArea1"]')).perform()
    expect(driver.execute_script('return mebrox.ended()'), 'the ribbon did not end the application')
    driver.get(index)
    for answer in ('no', 'yes'):
        ActionChains(driver).click(driver.find_element(
            By.CSS_SELECTOR, '#Form1 [data-name="Bookmark1"]')).perform()
        buttons = driver.find_elements(By.CSS_SELECTOR, '.mx-modal [data-answer="%s"]' % answer)
        expect(len(buttons) == 1, 'no %s button on the resume offer' % answer)
        if buttons:
            buttons[0].click()
    trace = driver.execute_script('return window.mebroxTrace')
    offer = 'message "You have previously Marked the program.\\rWould you like to continue?" -> '
    expect(trace == ['show TForm1', offer + 'no', offer + 'yes', 'hide TForm1', 'show TForm3'],
           'the resume offer traced ' + ' | '.join(trace))
    for p in problems:
        print('dialogs: ' + p)
    print('dialogs: %s' % ('as on the desktop' if not problems else '%d problems' % len(problems)))
    return len(problems)


AXE_FRAME = """
const [id, open, done] = arguments;
for (const f of document.querySelectorAll('section.mx-frame')) f.hidden = f.id !== id;
for (const b of document.querySelectorAll('.mx-bookmark')) b.hidden = false;
for (const m of document.querySelectorAll('.mx-modal')) m.remove();
if (open) document.querySelector('#' + id + ' ' + open).click();
const shown = document.querySelector('.mx-modal') !== null;
axe.run(document, {resultTypes: ['violations']}).then((r) => done([shown,
    r.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical').map(
        (v) => v.id + ' (' + v.impact + '): ' + v.nodes.map((n) => n.html).join(' ; '))]));
"""


def accessibility(driver, index):
    """axe-core on every frame, and on the dialogs open; the number of violations found."""
    try:
        root = subprocess.run(['npm', 'root', '-g'], capture_output=True, text=True).stdout.strip()
    except OSError:
        root = ''
    axe = os.environ.get('MEBROX_AXE', os.path.join(root, 'axe-core', 'axe.min.js'))
    if not os.path.isfile(axe):
        print('accessibility: SKIPPED: axe-core is not installed (scripts/install-deps.sh '
              'installs it from the npm registry)')
        return 0
    with open(axe, encoding='utf-8') as f:
        source = f.read()
    driver.get(index)
    driver.execute_script(source)
    frames = driver.execute_script(
        'return Array.from(document.querySelectorAll("section.mx-frame")).map((f) => f.id)')
    views = [(f, None) for f in frames]
    views += [('Form1', '.mx-word[data-code="0"]'), ('Form1', '.mx-bookmark')]
    found = 0
    for frame, open_ in views:
        if open_ == '.mx-bookmark':
            # A bookmark left by an earlier visit, so that the resume offer opens.
            driver.execute_script('localStorage.setItem("mebrox-run:" + document.body.dataset'
                                  '.project, JSON.stringify({marked: {at: "TForm3"}}))')
        shown, violations = driver.execute_async_script(AXE_FRAME, frame, open_)
        if open_ and not shown:
            print('accessibility: %s: %s opened no dialog' % (frame, open_))
            found += 1
        for v in violations:
            print('accessibility: %s%s: %s' % (frame, ' with ' + open_ if open_ else '', v))
        found += len(violations)
    print('accessibility: %d views looked at, %d serious or critical violations'
          % (len(views), found))
    return found


def autoplay(walker, work, run_program, env):
    """The tour with the welcome frame's chime set to play by itself, in a browser that lets
    sound start only after a gesture: the hint shows, and the first click starts the sound."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
    tour = os.path.join(work, 'tour')
    unit = os.path.join(tour, 'Unit1.dfm')
    with open(unit, encoding='utf-8') as f:
        form = f.read()
    with open(unit, 'w', encoding='utf-8') as f:
        f.write(form.replace("    WaveName = 'chime.wav'\n",
                             "    Options = [wvAutoPlay]\n    WaveName = 'chime.wav'\n"))
    exported = run([run_program, '--export-html', 'web-autoplay', 'tour/Tour.dpr'], work, env)
    with open(unit, 'w', encoding='utf-8') as f:
        f.write(form)
    if exported.returncode != 0:
        print('autoplay: export failed:\n' + exported.stderr)
        return 1
    driver = walker.start_browser(os.path.join(work, 'profile-autoplay'), autoplay=False)
    problems = 0
    try:
        driver.get('file://' + os.path.join(work, 'web-autoplay', 'index.html'))
        hint = 'return !document.getElementById("mx-sound-hint").hidden'
        playing = 'return !document.querySelector("#Form1 audio").paused'
        try:
            WebDriverWait(driver, 20).until(lambda d: d.execute_script(hint))
        except Exception:
            print('autoplay: no hint while the browser holds the sound back')
            problems += 1
        ActionChains(driver).move_to_element(driver.find_element(By.ID, 'Form1')).click().perform()
        try:
            WebDriverWait(driver, 20).until(
                lambda d: d.execute_script(playing) and not d.execute_script(hint))
        except Exception:
            print('autoplay: the first click did not start the sound and take the hint away')
            problems += 1
    finally:
        driver.quit()
    print('autoplay: %s' % ('the hint, then the sound on the first click' if not problems
                            else '%d problems' % problems))
    return problems


def run(args, cwd, env):
    return subprocess.run(args, cwd=cwd, env=env, capture_output=True, text=True, timeout=240)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--run', required=True, help='mebrox-run')
    parser.add_argument('--tour', required=True, help='the tour, sounds made')
    parser.add_argument('--walker', required=True, help='scripts/web-walk.py')
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix='mebrox-web-test-') as work:
        env = dict(os.environ, MEBROX_WINDIR=os.path.join(work, 'windir'),
                   QT_QPA_PLATFORM='offscreen', SDL_AUDIODRIVER='dummy')
        tour = os.path.join(work, 'tour')
        shutil.copytree(args.tour, tour)
        for stale in ('Tour.RUN',):
            if os.path.exists(os.path.join(tour, stale)):
                os.remove(os.path.join(tour, stale))

        exported = run([args.run, '--export-html', 'web', 'tour/Tour.dpr'], work, env)
        if exported.returncode != 0:
            print('export failed:\n' + exported.stderr)
            return 1

        failures = 0
        walks = [('walkthrough.txt', 'profile'), ('walkthrough-resume.txt', 'profile'),
                 ('walkthrough-keys.txt', 'profile-keys')]
        for script, profile_name in walks:
            profile = os.path.join(work, profile_name)
            if script == 'walkthrough-keys.txt' and os.path.exists(os.path.join(tour, 'Tour.RUN')):
                os.remove(os.path.join(tour, 'Tour.RUN'))
            desktop = run([args.run, '--headless', '--script', os.path.join(tour, script),
                           os.path.join(tour, 'Tour.dpr')], work, env)
            if desktop.returncode != 0:
                print('mebrox-run --headless failed on %s:\n%s' % (script, desktop.stderr))
                return 1
            web = run([sys.executable, args.walker, '--profile', profile, 'web',
                       os.path.join(tour, script)], work, env)
            if web.returncode == 3:
                print('SKIPPED: ' + web.stderr.strip())
                return SKIP
            if web.returncode != 0:
                print('web-walk failed on %s:\n%s' % (script, web.stderr))
                return 1
            want, got = navigation(desktop.stdout), navigation(web.stdout)
            if want != got:
                failures += 1
                print('%s: the browser walked otherwise than mebrox-run' % script)
                print('  mebrox-run: ' + ' | '.join(want))
                print('  browser:    ' + ' | '.join(got))
            else:
                print('%s: %d lines of navigation and focus alike' % (script, len(want)))

        # The walker's file name has a hyphen, so it is loaded from its path.
        loader = importlib.machinery.SourceFileLoader('web_walk', args.walker)
        walker = types.ModuleType(loader.name)
        loader.exec_module(walker)
        driver = walker.start_browser(os.path.join(work, 'profile-boxes'))
        try:
            index = 'file://' + os.path.join(work, 'web', 'index.html')
            driver.get(index)
            failures += dialogs(driver, index)
            failures += accessibility(driver, index)
            driver.get(index)
            boxes = driver.execute_script(BOXES)
            faces = driver.execute_async_script(FACES)
        finally:
            driver.quit()
        for place, word, left, top, width, x, y, w in boxes:
            if abs(x - left) > 2 or abs(y - top) > 2 or abs(w - width) > 2:
                failures += 1
                print('%s "%s": the browser draws it at %.1f,%.1f, %.1f wide; the slot is at '
                      '%d,%d, %d wide' % (place, word, x, y, w, left, top, width))
        print('%d hot words looked at in the browser' % len(boxes))
        for family, weight, status in faces:
            if status != 'loaded':
                failures += 1
                print('the embedded face %s %s is %s in the browser' % (family, weight, status))
        print('%d embedded faces: %s' % (len(faces), ', '.join(
            '%s %s %s' % tuple(f) for f in faces)))
        if not faces:
            print('no face embedded: the page falls back on the reader\'s fonts')
            failures += 1
        failures += autoplay(walker, work, args.run, env)
        if len(boxes) < 14:
            print('too few hot words: the tour shows more')
            failures += 1
        return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
