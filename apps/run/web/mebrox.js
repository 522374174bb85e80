// The behaviour of a Mebrox application in a browser: what mebrox-run does for hot words, hot
// pictures and areas, wave players, the pause button and the bookmark. Every effect is recorded
// in window.mebroxTrace with the line the headless runner prints for it.
(function () {
  'use strict';

  const trace = [];
  window.mebroxTrace = trace;
  const body = document.body;
  const frames = Array.from(document.querySelectorAll('section.mx-frame'));
  const mainFrame = document.getElementById(body.dataset.main);
  const answers = [];
  let ended = false;
  let screenCursor = 0;
  let keyboardFocus = false;

  // As the headless runner quotes: C escapes for quotes, backslashes and control characters.
  function quote(text) {
    let out = '"';
    for (const c of text) {
      const code = c.charCodeAt(0);
      if (c === '"') out += '\\"';
      else if (c === '\\') out += '\\\\';
      else if (c === '\n') out += '\\n';
      else if (c === '\r') out += '\\r';
      else if (c === '\t') out += '\\t';
      else if (code < 0x20 || code === 0x7f) out += '\\' + code.toString(8).padStart(3, '0');
      else out += c;
    }
    return out + '"';
  }

  function log(line) {
    trace.push(line);
  }

  // ---- the run state: the desktop's run-state file, kept by the browser for this project

  const stateKey = 'mebrox-run:' + body.dataset.project;
  let memoryState = null;  // where the browser keeps nothing (storage switched off)

  function readState() {
    if (memoryState) return memoryState;
    try {
      return JSON.parse(window.localStorage.getItem(stateKey) || '{}') || {};
    } catch (e) {
      memoryState = {};
      return memoryState;
    }
  }

  function writeState(state) {
    if (memoryState) return;
    try {
      window.localStorage.setItem(stateKey, JSON.stringify(state));
    } catch (e) {
      memoryState = state;
    }
  }

  // Sections and keys ignore case, as in the run-state file.
  function readRunState(section, key) {
    const s = readState()[section.toLowerCase()];
    return (s && s[key.toLowerCase()]) || '';
  }

  function writeRunState(section, key, value) {
    const state = readState();
    const name = section.toLowerCase();
    state[name] = state[name] || {};
    state[name][key.toLowerCase()] = value;
    writeState(state);
  }

  function eraseRunStateSection(section) {
    const state = readState();
    delete state[section.toLowerCase()];
    writeState(state);
  }

  // ---- frames

  function framesOfClass(className) {
    return frames.filter((f) => f.dataset.class === className);
  }

  function frameOf(element) {
    return element.closest('section.mx-frame');
  }

  function updateTitle() {
    const shown = frames.find((f) => !f.hidden);
    document.title = shown && shown.dataset.caption ? shown.dataset.caption : body.dataset.title;
  }

  function show(frame) {
    if (!frame.hidden || ended) return;
    frame.hidden = false;
    log('show ' + frame.dataset.class);
    updateTitle();
    focusFrame(frame);
  }

  // The frame shown takes the keyboard, with the mark where it was left on it.
  function focusFrame(frame) {
    const mark = frame.mxMark;
    const target = mark && mark.isConnected && !mark.closest('[hidden]') ? mark : frame;
    target.focus({preventScroll: true});
  }

  function hide(frame) {
    if (frame.hidden || ended) return;
    frame.hidden = true;
    log('hide ' + frame.dataset.class);
    updateTitle();
  }

  function close(frame) {
    if (ended) return;
    log('close ' + frame.dataset.class);
    if (frame === mainFrame) terminate();
    else hide(frame);
  }

  function terminate() {
    if (ended) return;
    log('terminate');
    ended = true;
    for (const audio of document.querySelectorAll('audio')) audio.pause();
    for (const f of frames) f.hidden = true;
    document.getElementById('mx-ended').hidden = false;
    document.title = body.dataset.title;
  }

  function gotoFrame(current, frameName) {
    const target = 'T' + frameName;
    // A link from a frame to itself must not take the place of the frame's real opener.
    if (target !== current.dataset.class) writeRunState(target, 'From', current.dataset.class);
    for (const frame of framesOfClass(target)) {
      if (current === mainFrame) hide(current);
      else close(current);
      show(frame);
    }
  }

  function goBack(current) {
    const opener = readRunState(current.dataset.class, 'From');
    eraseRunStateSection(current.dataset.class);
    if (opener !== current.dataset.class) for (const frame of framesOfClass(opener)) show(frame);
    close(current);
    if (!frames.some((f) => !f.hidden)) terminate();
  }

  function bookmarkAndLeave(current) {
    writeRunState('Marked', 'At', current.dataset.class);
    terminate();
  }

  // ---- dialogs

  function modalLayer(dialog, previous) {
    const layer = document.createElement('div');
    layer.className = 'mx-modal';
    layer.append(dialog);
    body.append(layer);
    dialog.focus();
    return () => {
      layer.remove();
      if (previous && previous.isConnected) previous.focus();
    };
  }

  // Keys for the dialog in front, whatever has the keyboard: a press that opened it may have
  // given the focus back to what was pressed.
  let dialogKeys = null;

  function showDescription(text, x, y) {
    log('modal TMsgDlg ' + quote(text));
    const dialog = document.createElement('div');
    dialog.className = 'mx-dialog mx-description';
    dialog.setAttribute('role', 'dialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-label', 'Note');
    dialog.tabIndex = -1;
    dialog.textContent = text.replace(/\r\n|\r/g, '\n');
    dialog.style.left = Math.max(0, Math.round(x)) + 'px';
    dialog.style.top = Math.max(0, Math.round(y)) + 'px';
    const closeLayer = modalLayer(dialog, document.activeElement);
    const done = () => {
      dialogKeys = null;
      closeLayer();
    };
    dialog.addEventListener('click', done);
    dialogKeys = (e) => {
      if (e.key === 'Escape' || e.key === 'Enter' || e.key === ' ') {
        e.preventDefault();
        done();
      }
    };
  }

  // A message box with Yes and No; the answer goes to then. An answer queued by a script is
  // taken at once, as the headless runner's dialogs take theirs.
  function message(text, then) {
    const answered = (answer) => {
      log('message ' + quote(text) + ' -> ' + answer);
      then(answer);
    };
    if (answers.length > 0) {
      answered(answers.shift());
      return;
    }
    const dialog = document.createElement('div');
    dialog.className = 'mx-dialog mx-message';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.tabIndex = -1;
    // Named as the desktop's message box is titled: by the application.
    dialog.setAttribute('aria-label', body.dataset.title || 'Message');
    const p = document.createElement('p');
    p.id = 'mx-message-text';
    p.textContent = text.replace(/\r\n|\r/g, '\n');
    dialog.setAttribute('aria-describedby', p.id);
    dialog.append(p);
    const closeLayer = modalLayer(dialog, document.activeElement);
    const done = () => {
      dialogKeys = null;
      closeLayer();
    };
    for (const answer of ['yes', 'no']) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = answer === 'yes' ? 'Yes' : 'No';
      button.dataset.answer = answer;
      button.addEventListener('click', () => {
        done();
        answered(answer);
      });
      dialog.append(button);
    }
    dialog.querySelector('button').focus();
    dialogKeys = (e) => {
      if (e.key === 'Escape') {
        e.preventDefault();
        done();
        answered('no');
      } else if (e.key === 'Tab') {
        // The keyboard stays on the box's buttons.
        e.preventDefault();
        const buttons = Array.from(dialog.querySelectorAll('button'));
        const at = buttons.indexOf(document.activeElement);
        buttons[(at + 1) % buttons.length].focus();
      } else if ((e.key === 'Enter' || e.key === ' ') && !dialog.contains(document.activeElement)) {
        e.preventDefault();
        dialog.querySelector('button').click();
      }
    };
  }

  // ---- sound

  const waiting = new Set();  // players the browser will not start before a first gesture

  function start(audio, frame) {
    if (!audio.getAttribute('src')) {
      log('sound missing ' + frame.dataset.class + ' ' + audio.dataset.name);
      return;
    }
    audio.currentTime = 0;
    log('sound play ' + frame.dataset.class + ' ' + audio.dataset.name + ' ' +
        quote(audio.dataset.file || ''));
    const started = audio.play();
    if (started) started.catch(() => {
      waiting.add(audio);
      document.getElementById('mx-sound-hint').hidden = false;
    });
  }

  function playWave(frame, name) {
    for (const audio of frame.querySelectorAll('audio'))
      if (audio.dataset.name === name) start(audio, frame);
  }

  function startWaiting() {
    if (waiting.size === 0) return;
    document.getElementById('mx-sound-hint').hidden = true;
    for (const audio of waiting) audio.play().catch(() => {});
    waiting.clear();
  }

  // One press decides for all of the frame's players: pause those playing, else resume those
  // paused.
  function pauseButton(button) {
    const frame = frameOf(button);
    const players = Array.from(frame.querySelectorAll('audio'));
    const playing = players.filter((a) => !a.paused && !a.ended);
    if (playing.length > 0) {
      for (const a of playing) {
        a.pause();
        log('sound pause ' + frame.dataset.class + ' ' + a.dataset.name);
      }
      button.classList.add('mx-paused');
      button.setAttribute('aria-label', 'Resume');
      return;
    }
    const paused = players.filter((a) => a.paused && !a.ended && a.currentTime > 0);
    for (const a of paused) {
      a.play().catch(() => {});
      log('sound resume ' + frame.dataset.class + ' ' + a.dataset.name);
    }
    button.classList.remove('mx-paused');
    button.setAttribute('aria-label', 'Pause');
  }

  // ---- actions

  function openDocument(element) {
    log('open ' + quote(element.dataset.href));
    window.open(element.dataset.href, '_blank');
  }

  function switchLines(text, index) {
    const k = parseInt(index.trim(), 10);
    if (Number.isNaN(k) || String(k) === text.dataset.index) return;
    const page = text.querySelector(':scope > .mx-page[data-page="' + k + '"]');
    if (!page) return;
    for (const p of text.querySelectorAll(':scope > .mx-page')) p.hidden = p !== page;
    text.dataset.index = String(k);
    text.style.width = page.dataset.width + 'px';
    text.style.height = page.dataset.height + 'px';
  }

  function pressWord(word, x, y) {
    if (word.hasAttribute('data-disabled')) return;
    const frame = frameOf(word);
    const act = word.dataset.act || '';
    switch (word.dataset.code) {
      case '0':
        showDescription(act, x, y);
        break;
      case '1':
        gotoFrame(frame, act);
        break;
      case '2':
        playWave(frame, act);
        break;
      case '3':
        openDocument(word);
        break;
      case '4':
        goBack(frame);
        break;
      case '5':
        switchLines(word.closest('.mx-hypertxt'), act);
        break;
      default:
        break;
    }
  }

  function perform(control, x, y) {
    if (control.hasAttribute('data-disabled')) return;
    const frame = frameOf(control);
    switch (control.dataset.action) {
      case 'acFrame':
        gotoFrame(frame, control.dataset.frame || '');
        break;
      case 'acExecute':
        openDocument(control);
        break;
      case 'acWavePlay':
        playWave(frame, control.dataset.wave || '');
        break;
      case 'acDesc':
        showDescription(control.dataset.desc || '', x, y);
        break;
      case 'acBookMark':
        bookmarkAndLeave(frame);
        break;
      case 'acClose':
        goBack(frame);
        break;
      default:
        break;
    }
  }

  function resume(bookmark) {
    const marked = readRunState('Marked', 'At');
    if (!marked) return;
    message('You have previously Marked the program.\rWould you like to continue?', (answer) => {
      if (answer !== 'yes') return;
      const holder = frameOf(bookmark);
      for (const frame of framesOfClass(marked)) {
        writeRunState(marked, 'From', holder.dataset.class);
        eraseRunStateSection('Marked');
        hide(holder);
        show(frame);
        bookmark.hidden = true;
      }
    });
  }

  function middle(element) {
    const r = element.getBoundingClientRect();
    return [r.left + r.width / 2 + window.scrollX, r.top + r.height / 2 + window.scrollY];
  }

  function activate(element, x, y) {
    if (ended) return;
    if (x === undefined) [x, y] = middle(element);
    if (element.classList.contains('mx-word')) pressWord(element, x, y);
    else if (element.classList.contains('mx-bookmark')) resume(element);
    else if (element.classList.contains('mx-wavepause')) pauseButton(element);
    else perform(element, x, y);
  }

  // ---- the pointer

  function setCursor(cursor) {
    if (cursor === screenCursor) return;
    screenCursor = cursor;
    log('cursor ' + cursor);
  }

  document.addEventListener('mousemove', (e) => {
    const text = e.target.closest && e.target.closest('.mx-hypertxt');
    if (!text) return;
    const word = e.target.closest('.mx-word');
    if (!word) {
      setCursor(0);
      return;
    }
    const code = parseInt(word.dataset.code, 10);
    if (code >= 0 && code <= 5) setCursor(10 + code);
  });

  document.addEventListener('mousedown', (e) => {
    keyboardFocus = false;
    startWaiting();
    if (ended || !e.target.closest) return;
    const text = e.target.closest('.mx-hypertxt');
    if (!text) return;
    // A hot word acts on the press, of either button.
    setCursor(0);
    const word = e.target.closest('.mx-word');
    if (!word) return;
    // The press acts; it does not move the keyboard's mark, as on the desktop.
    e.preventDefault();
    pressWord(word, e.pageX, e.pageY);
  });

  document.addEventListener('click', (e) => {
    const control = e.target.closest && e.target.closest('.mx-act, .mx-wavepause');
    if (!control) return;
    e.preventDefault();
    if (control.classList.contains('mx-word')) {
      // Enter on a focused word; a pointer's press has acted already.
      if (e.detail === 0) activate(control);
      return;
    }
    if (e.detail === 0) activate(control);
    else activate(control, e.pageX, e.pageY);
  });

  document.addEventListener('contextmenu', (e) => {
    if (e.target.closest && e.target.closest('.mx-hypertxt')) e.preventDefault();
  });

  // ---- the keyboard: Tab goes round the stops of the frames that show, Space acts as Enter

  function stops(frame) {
    const list = [];
    if (frame && !frame.hidden) {
      const controls = Array.from(frame.querySelectorAll(
          '.mx-hypertxt, .mx-himage, .mx-harea, .mx-bookmark')).filter((c) => !c.hidden);
      controls.sort((a, b) => (a.offsetTop - b.offsetTop) || (a.offsetLeft - b.offsetLeft));
      for (const c of controls) {
        if (!c.classList.contains('mx-hypertxt')) {
          list.push(c);
          continue;
        }
        const page = c.querySelector(':scope > .mx-page:not([hidden])');
        if (page)
          for (const w of page.querySelectorAll('.mx-word:not([data-continued])')) list.push(w);
      }
    }
    return list;
  }

  function announceFocus(element) {
    const frame = frameOf(element);
    if (!frame) return;
    const owner = element.classList.contains('mx-word') ? element.closest('.mx-hypertxt') : element;
    log('focus ' + frame.dataset.class + ' ' + owner.dataset.name +
        (element.classList.contains('mx-word') ? ' ' + quote(element.dataset.word) : ''));
  }

  document.addEventListener('keydown', (e) => {
    startWaiting();
    if (dialogKeys) {
      dialogKeys(e);
      return;
    }
    if (ended || document.querySelector('.mx-modal')) return;
    if (e.key === 'Tab') {
      const active = document.activeElement;
      const list = stops((active && active.closest && frameOf(active)) ||
                         frames.find((f) => !f.hidden));
      if (list.length === 0) return;
      e.preventDefault();
      let at = list.indexOf(document.activeElement);
      at = at < 0 ? (e.shiftKey ? list.length - 1 : 0)
                  : (at + (e.shiftKey ? list.length - 1 : 1)) % list.length;
      keyboardFocus = true;
      list[at].focus();
      announceFocus(list[at]);
      return;
    }
    const control = e.target.closest && e.target.closest('.mx-act');
    if (control && e.key === ' ') {
      e.preventDefault();
      activate(control);
    }
  });

  // ---- start

  document.addEventListener('focusin', (e) => {
    const frame = e.target.closest && frameOf(e.target);
    if (frame && e.target !== frame) frame.mxMark = e.target;
  });

  window.mebrox = {
    // Gives the frame the keyboard, as a key line without a control does.
    focusFrame(frame) {
      focusFrame(frame);
    },
    // The answer the next message box takes, as a script's answer line gives it.
    queueAnswer(answer) {
      answers.push(answer);
    },
    ended() {
      return ended;
    },
    quote,
  };

  for (const frame of frames) frame.tabIndex = -1;
  for (const element of document.querySelectorAll('[data-disabled]'))
    element.setAttribute('aria-disabled', 'true');
  for (const word of document.querySelectorAll('.mx-word[data-continued]')) word.tabIndex = -1;
  if (readRunState('Marked', 'At'))
    for (const b of document.querySelectorAll('.mx-bookmark')) b.hidden = false;
  if (mainFrame) show(mainFrame);
  updateTitle();
  // Since the page began to load, for the benchmark of the first frame.
  window.mebroxFirstFrameMs = performance.now();
  // Wave players with auto-play start as their frames load, which is all of them, at once.
  for (const audio of document.querySelectorAll('audio[data-autoplay]'))
    start(audio, frameOf(audio));
})();
