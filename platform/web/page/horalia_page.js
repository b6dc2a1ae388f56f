// The page around the game: its words in the game's language, the frames
// that drive the game's loop, the pointer as the stylus, the keys, what a
// screen reader says, the clock, Web Audio, the progress in local storage and
// in files, one copy at a time, the goodbye screen and the offline worker.
// (index.html sizes the canvas before the first paint.) The program
// (horalia.js / horalia.wasm) reaches this page through Module.horalia. The
// build minifies this file with the parser and printer that Debian's
// emscripten carries, which know the language up to ES2017 with async
// functions: no optional chaining or ?? here.
"use strict";

(() => {
  const WIDTH = 240;
  const HEIGHT = 320;
  // With nothing drawn and no input for this long, frames stop until the next input.
  const IDLE_MS = 1000;
  // A sound asked for before the first tap unlocked audio plays if the unlock
  // comes within this time (a touch's press comes before its release).
  const PENDING_SOUND_MS = 1000;
  const STATUS_MS = 6000;
  const REGISTRY_HEADER = "Windows Registry Editor Version 5.00";
  // The same limit as the program's storage; the game's own text stays under 1 KB.
  const MAX_PROGRESS_BYTES = 2 * 1024 * 1024;
  const LOCK_NAME = "horalia";
  // The kinds of input the page queues for the program, [kind, a, b]; the
  // program looks the codes up here by these names.
  const INPUT = Object.freeze({ stylusDown: 1, stylusUp: 2, keyDown: 3, keyUp: 4 });

  // ---- Words: the page speaks the language that index.html chose (as the
  // game chooses it), in the words that it loaded for it (words/<language>.js,
  // made from the translation table); {name} in a text is filled in.
  const language = window.HORALIA_LANGUAGE;
  const words = window.HORALIA_WORDS;
  document.documentElement.lang = language.replace("_", "-");
  document.documentElement.dir = words.dir;
  // The language's own resources (the words in its pictures, the faces of
  // its script), fetched beside the program, which carries only English and
  // what every language shares; a visit downloads just its language's.
  const languagePack = language === "en" ? Promise.resolve(null) :
    fetch("languages/" + language + ".res").then((response) => {
      if (!response.ok) throw new Error("languages/" + language + ".res: " + response.status);
      return response.arrayBuffer();
    }).then((bytes) => new Uint8Array(bytes));
  document.querySelector("meta[name=description]").content = words.description;
  for (const element of document.querySelectorAll("[data-word]")) element.textContent = words[element.dataset.word];
  document.getElementById("links").style.visibility = "visible";  // hidden until it has its words: nothing moves

  // A filled-in value stays on the line of the word before it.
  function fill(template, values) {
    return template.replace(/ (?=\{\w+\})/g, "\u00a0").replace(/\{(\w+)\}/g, (whole, name) => values[name]);
  }

  const byId = (id) => document.getElementById(id);
  const canvas = byId("screen");
  const context = canvas.getContext("2d", { alpha: false });
  const notice = byId("notice");
  const stage = byId("stage");
  const noticeText = byId("notice-text");
  const noticeButton = byId("notice-button");
  const noticeOther = byId("notice-other");
  const statusLine = byId("status");
  const saveButton = byId("save-progress");
  const loadButton = byId("load-progress");
  const undoButton = byId("undo-load");
  const fileInput = byId("progress-file");
  const spoken = byId("spoken");
  canvas.setAttribute("aria-label", words.canvas_label);

  // ---- Notices: over the whole page, with one or two answers; and a short
  // status line over the foot of the page that goes by itself. Escape gives
  // the answer that puts a notice aside (none for one that must be answered),
  // and the focus goes back to where it was, as a dialog's does; the page
  // behind is inert meanwhile, so Tab cannot reach a button the notice hides.
  let focusBeforeNotice = null;
  let noticeBack = null;
  function showNotice(text, buttonText, action, otherText, otherAction) {
    if (notice.hidden) focusBeforeNotice = document.activeElement;
    noticeBack = [action, otherAction].find((answer) => answer === hideNotice) || null;
    noticeText.textContent = text;
    noticeButton.textContent = buttonText;
    noticeButton.onclick = action;
    noticeOther.hidden = !otherText;
    noticeOther.textContent = otherText || "";
    noticeOther.onclick = otherAction || null;
    notice.hidden = false;
    stage.inert = true;
    // A notice taller than the screen shows its first line first; it scrolls down to its button.
    noticeButton.focus({ preventScroll: true });
    notice.scrollTop = 0;
  }

  function hideNotice() {
    notice.hidden = true;
    stage.inert = false;
    noticeBack = null;
    const before = focusBeforeNotice;
    focusBeforeNotice = null;
    if (before && before !== document.body && before.isConnected && !before.hidden) before.focus({ preventScroll: true });
  }

  let statusTimer = 0;
  function showStatus(text) {
    statusLine.textContent = text;
    clearTimeout(statusTimer);
    statusTimer = setTimeout(() => (statusLine.textContent = ""), STATUS_MS);
  }

  // ---- Storage: the progress (the registry text) under one key of the
  // browser's local storage, the newest text that could not be read set
  // aside, and the progress that a loaded file replaced, kept for one Undo.
  // The live progress comes first: the two copies give way when room runs out.
  const KEY = "horalia.registry";
  const DAMAGED = KEY + ".damaged-";
  const REPLACED = KEY + ".replaced";
  let toldCannotKeep = false;

  // Said once: the game plays on without keeping progress.
  function cannotKeep() {
    if (toldCannotKeep) return;
    toldCannotKeep = true;
    showStatus(words.cannot_keep);
  }

  function timeStamp() {
    const pad = (n) => String(n).padStart(2, "0");
    const now = new Date();
    return "" + now.getFullYear() + pad(now.getMonth() + 1) + pad(now.getDate()) + "-" + pad(now.getHours()) +
           pad(now.getMinutes()) + pad(now.getSeconds());
  }

  const storage = {
    // The stored progress; null when there is none, undefined when storage
    // cannot be reached.
    read() {
      try {
        return localStorage.getItem(KEY);
      } catch (error) {
        cannotKeep();
        return undefined;
      }
    },

    // Stores the progress, making room by dropping the copies when needed;
    // false (and the player told once) when it cannot be stored.
    write(text) {
      if (this.put(KEY, text)) return true;
      this.dropCopies();
      if (this.put(KEY, text)) return true;
      cannotKeep();
      return false;
    },

    // Moves the stored progress aside as the one kept copy of a text that
    // could not be read (older ones go); a copy that does not fit is
    // dropped, and the player told. False when storage cannot be reached.
    setAside() {
      try {
        const text = localStorage.getItem(KEY);
        this.removeCopies(DAMAGED);
        if (text !== null && !this.put(DAMAGED + timeStamp(), text)) showStatus(words.damaged_dropped);
        localStorage.removeItem(KEY);
        return true;
      } catch (error) {
        cannotKeep();
        return false;
      }
    },

    // Puts a loaded file's text in place of the progress, which is kept for
    // one Undo when there is room ("" when there was none). False when the
    // text could not be stored.
    replace(text) {
      const before = this.read();
      if (before === undefined) return false;
      this.removeCopies(REPLACED);
      this.put(REPLACED, before || "");
      if (this.write(text)) return true;
      this.removeCopies(REPLACED);
      return false;
    },

    // Brings back the progress that the last loaded file replaced.
    undo() {
      try {
        const before = localStorage.getItem(REPLACED);
        if (before === null) return false;
        if (before === "") localStorage.removeItem(KEY);
        else if (!this.write(before)) return false;
        localStorage.removeItem(REPLACED);
        return true;
      } catch (error) {
        cannotKeep();
        return false;
      }
    },

    put(key, text) {
      try {
        localStorage.setItem(key, text);
        return true;
      } catch (error) {
        return false;
      }
    },

    removeCopies(prefix) {
      try {
        for (const key of Object.keys(localStorage)) if (key.startsWith(prefix)) localStorage.removeItem(key);
      } catch (error) {
        // storage out of reach: nothing to remove
      }
    },

    dropCopies() {
      this.removeCopies(DAMAGED);
      this.removeCopies(REPLACED);
    },
  };

  // ---- The host object the program calls.
  let firstFrameShown;
  const firstFrame = new Promise((resolve) => (firstFrameShown = resolve));

  const host = {
    storage,
    INPUT,
    fileText: "",         // a progress file being looked at (horalia_web_file_progress)
    input: [],            // [kind, a, b], kind one of INPUT: (x, y) or (virtual key, 0)
    resume: null,         // resumes the program's loop at the next frame
    frameRequested: false,
    frameStart: 0,
    lastActivity: performance.now(),
    hiddenSince: document.hidden ? performance.now() : null,
    hiddenTotal: 0,
    stopped: false,
    language,             // the table's column the page speaks, for the tests
    frames: 0,            // animation frames that drew a picture, for the tests
    drewInWakeup: -1,
    wakeups: 0,           // animation frames that ran the game's loop, for the tests
    firstFrameAt: null,   // ms from navigation to the first picture drawn
    image: context.createImageData(WIDTH, HEIGHT),
    audio: null,
    unlocked: false,      // the browser has let the audio context run
    unlocking: false,
    pending: null,        // the sound asked for before the unlock
    buffers: new Map(),
    playing: null,
    soundsStarted: 0,     // for the tests

    present(pixels, width, height) {
      if (this.stopped || width !== WIDTH || height !== HEIGHT) return;
      const data = this.image.data;
      data.set(pixels);
      for (let i = 3; i < data.length; i += 4) data[i] = 255;
      context.putImageData(this.image, 0, 0);
      if (this.drewInWakeup !== this.wakeups) this.frames += 1;
      this.drewInWakeup = this.wakeups;
      this.lastActivity = performance.now();
      if (this.firstFrameAt === null) {
        this.firstFrameAt = performance.now();
        performance.mark("horalia-first-frame");
        firstFrameShown();
      }
    },

    // What the game says for a screen reader, into the polite live region;
    // emptied first, so that the same words twice are said twice.
    announce(text) {
      if (this.stopped) return;
      spoken.textContent = "";
      setTimeout(() => (spoken.textContent = text), 50);
    },

    // The game's focus went past its last control (or before its first):
    // the page's first (or last) button takes it.
    passFocusOn(forward) {
      const buttons = [...links.querySelectorAll("button")].filter((button) => !button.hidden);
      const next = forward ? buttons[0] : buttons[buttons.length - 1];
      if (!next) return false;
      next.focus();
      return true;
    },

    takeInput() {
      return this.input.shift() || null;
    },

    // Game time in milliseconds: the page's clock without the time the tab
    // spent hidden, so the game resumes where it left off instead of
    // catching up a burst of steps.
    ticks() {
      const now = performance.now();
      const hidden = this.hiddenTotal + (this.hiddenSince === null ? 0 : now - this.hiddenSince);
      return Math.floor(now - hidden) % 4294967296;
    },

    frameElapsed() {
      return performance.now() - this.frameStart;
    },

    nextFrame() {
      return new Promise((resolve) => {
        this.resume = resolve;
        this.schedule();
      });
    },

    // Asks for a frame when the loop waits for one, the tab is visible and
    // something happened lately; otherwise input or visibility asks later.
    schedule() {
      if (!this.resume || this.frameRequested || this.stopped || document.hidden) return;
      if (performance.now() - this.lastActivity > IDLE_MS) return;
      this.frameRequested = true;
      requestAnimationFrame(() => {
        this.frameRequested = false;
        if (this.stopped || !this.resume) return;
        this.frameStart = performance.now();
        this.wakeups += 1;
        const resume = this.resume;
        this.resume = null;
        resume();
      });
    },

    wake() {
      this.lastActivity = performance.now();
      this.schedule();
    },

    queue(event) {
      if (this.stopped) return;
      this.input.push(event);
      this.wake();
    },

    // Browsers let sound start only in an event that counts as the user's
    // permission (a mouse press, a touch's release, a click, a key), and
    // refuse it with a warning otherwise: audio is opened in the first such
    // event, and the sound the game asked for just before plays then.
    unlockAudio() {
      if (this.unlocked || this.unlocking || this.stopped) return;
      if (navigator.userActivation && !navigator.userActivation.isActive) return;
      try {
        if (!this.audio) {
          const AudioContextType = window.AudioContext || window.webkitAudioContext;
          if (!AudioContextType) return;
          this.audio = new AudioContextType();
        }
        this.unlocking = true;
        this.audio.resume().then(() => {
          this.unlocking = false;
          if (this.audio.state !== "running") return;
          this.unlocked = true;
          const sound = this.pending;
          this.pending = null;
          if (sound && performance.now() - sound.at < PENDING_SOUND_MS)
            this.start(sound.samples, sound.channels, sound.rate, sound.key);
          else if (!this.playing) this.audio.suspend().catch(() => {});
        }, () => (this.unlocking = false));
      } catch (error) {
        this.audio = null;
        this.unlocking = false;
      }
    },

    // Plays decoded 16-bit samples; a new sound replaces the playing one.
    // Before the first permission the latest sound waits for it.
    play(samples, channels, rate, key) {
      if (this.stopped) return false;
      if (this.unlocked) return this.start(samples, channels, rate, key);
      this.pending = { samples: samples.slice(), channels, rate, key, at: performance.now() };
      return true;
    },

    // The audio context runs only while a sound plays: it is suspended when
    // the last one ends (a running context costs the browser a few per cent
    // of a core even in silence) and resumed for the next.
    start(samples, channels, rate, key) {
      try {
        let buffer = this.buffers.get(key);
        if (!buffer) {
          const frames = samples.length / channels;
          buffer = this.audio.createBuffer(channels, frames, rate);
          for (let c = 0; c < channels; ++c) {
            const out = buffer.getChannelData(c);
            for (let i = 0; i < frames; ++i) out[i] = samples[i * channels + c] / 32768;
          }
          this.buffers.set(key, buffer);
        }
        this.silence();
        if (this.audio.state === "suspended") this.audio.resume().catch(() => {});
        const source = this.audio.createBufferSource();
        source.buffer = buffer;
        source.connect(this.audio.destination);
        source.onended = () => {
          if (this.playing !== source) return;
          this.playing = null;
          this.audio.suspend().catch(() => {});
        };
        source.start();
        this.playing = source;
        this.soundsStarted += 1;
        return true;
      } catch (error) {
        return false;
      }
    },

    silence() {
      if (!this.playing) return;
      const playing = this.playing;
      this.playing = null;
      try {
        playing.stop();
      } catch (error) {
        // already ended
      }
    },

    // The game ended by its exit icon (its click plays on).
    ended() {
      this.stopped = true;
      this.resume = null;
      releaseLock();
      showNotice(words.goodbye, words.play_again, () => location.reload());
    },

    // For the tests: the next questions come from this seed, as the headless
    // host draws them.
    seedRandom(seed) {
      Module._horalia_web_seed_random(seed >>> 0);
    },

    // The game stops where it is: another tab took it over, or the page
    // starts afresh.
    stop() {
      this.stopped = true;
      this.resume = null;
      this.silence();
      if (this.audio) this.audio.suspend().catch(() => {});
    },
  };

  // The game chose its language at the start.
  window.addEventListener("languagechange", () => {
    if (started && !host.stopped) location.reload();
  });

  document.addEventListener("visibilitychange", () => {
    const now = performance.now();
    if (document.hidden) {
      if (host.hiddenSince === null) host.hiddenSince = now;
    } else {
      if (host.hiddenSince !== null) host.hiddenTotal += now - host.hiddenSince;
      host.hiddenSince = null;
      host.wake();
    }
  });

  // ---- Stylus: one pointer at a time (mouse, touch or pen); a second one
  // is ignored until the first lifts. Only presses on the picture count; a
  // release ends the press wherever it happens.
  let activePointer = null;

  function toScreen(event) {
    const box = canvas.getBoundingClientRect();
    const x = Math.floor(((event.clientX - box.left) * WIDTH) / box.width);
    const y = Math.floor(((event.clientY - box.top) * HEIGHT) / box.height);
    return [Math.min(Math.max(x, 0), WIDTH - 1), Math.min(Math.max(y, 0), HEIGHT - 1)];
  }

  canvas.addEventListener("pointerdown", (event) => {
    event.preventDefault();
    canvas.focus({ preventScroll: true }); // the keys go to the game again
    host.unlockAudio();
    if (activePointer !== null || (event.pointerType === "mouse" && event.button !== 0)) return;
    activePointer = event.pointerId;
    try {
      canvas.setPointerCapture(event.pointerId);
    } catch (error) {
      // the release still arrives at the window
    }
    const [x, y] = toScreen(event);
    host.queue([INPUT.stylusDown, x, y]);
  });

  function pointerLifted(event) {
    host.unlockAudio();
    if (event.pointerId !== activePointer) return;
    activePointer = null;
    const [x, y] = toScreen(event);
    host.queue([INPUT.stylusUp, x, y]);
  }
  window.addEventListener("pointerup", pointerLifted);
  window.addEventListener("pointercancel", pointerLifted);
  for (const type of ["touchend", "click", "keydown"])
    window.addEventListener(type, () => host.unlockAudio(), { passive: true });
  document.addEventListener("contextmenu", (event) => event.preventDefault());
  document.addEventListener("selectstart", (event) => event.preventDefault());
  document.addEventListener("dblclick", (event) => event.preventDefault());

  // ---- Keys, as Windows names them: the arrows, Enter, Space, Escape, Tab,
  // Shift, Ctrl, the letters (as the keyboard's layout types them) and the
  // digits. They belong to the game unless a notice is up or one of the
  // page's own buttons has the focus; Tab only once the game has the focus
  // (the first Tab gives it the focus); a held key's repeats are not new presses.
  const NAMED_KEYS = { Tab: 0x09, Enter: 0x0d, Shift: 0x10, Control: 0x11, Escape: 0x1b, " ": 0x20,
    ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28 };
  const VK_SHIFT = 0x10, VK_TAB = 0x09;
  function virtualKey(event) {
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    if (/^[a-z0-9]$/i.test(event.key)) return event.key.toUpperCase().charCodeAt(0);
    // A layout of another script types no Latin letter there: its letter
    // keys are named by their place. Punctuation (AZERTY's "," where M is on
    // other layouts) stays no key of the game's, as on the desktop.
    if (/^Key[A-Z]$/.test(event.code) && /^[^\x00-\x7f]$/u.test(event.key)) return event.code.charCodeAt(3);
    if (/^(Digit|Numpad)[0-9]$/.test(event.code)) return event.code.charCodeAt(event.code.length - 1);
    return 0;
  }
  function keysForTheGame() {
    const focused = document.activeElement;
    return notice.hidden && (!focused || focused === document.body || focused === canvas);
  }
  const keysDown = new Set();
  // The game reads Shift as a key of its own; one pressed while the page had
  // the keys is told to the game with the next key.
  function tellShift(held) {
    if (held === keysDown.has(VK_SHIFT)) return;
    if (held) keysDown.add(VK_SHIFT);
    else keysDown.delete(VK_SHIFT);
    host.queue([held ? INPUT.keyDown : INPUT.keyUp, VK_SHIFT, 0]);
  }
  window.addEventListener("keydown", (event) => {
    if (event.key === "Escape" && !notice.hidden && noticeBack) {
      event.preventDefault();
      noticeBack();
      return;
    }
    const key = virtualKey(event);
    if (!key || event.altKey || event.metaKey || !keysForTheGame()) return;
    if (key === VK_TAB && document.activeElement !== canvas) return;
    // The arrows and Space do not scroll, Tab does not leave the game: the game moves its own focus.
    // A key held with Ctrl stays the browser's (Ctrl+0 resets the zoom, Ctrl+R reloads); the game ignores it.
    if (key !== 0x11 && !event.ctrlKey) event.preventDefault();
    if (event.repeat || keysDown.has(key)) return;
    tellShift(event.shiftKey);
    if (key === VK_SHIFT) return;
    keysDown.add(key);
    host.queue([INPUT.keyDown, key, 0]);
  });
  window.addEventListener("keyup", (event) => {
    const key = virtualKey(event);
    if (key === VK_SHIFT) tellShift(false);
    if (!keysDown.delete(key)) return;
    host.queue([INPUT.keyUp, key, 0]);
  });

  // ---- Progress files: the registry text moves in and out as a .reg file.
  // A file is looked at before it replaces anything: its size, its header
  // and what the game would read from it, shown beside what it would replace.
  saveButton.addEventListener("click", () => {
    const text = storage.read() || REGISTRY_HEADER + "\r\n\r\n";
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
    link.download = "horalia-progress.reg";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });

  loadButton.addEventListener("click", () => fileInput.click());

  function tooLarge(bytes) {
    const megabytes = (fraction) => new Intl.NumberFormat(document.documentElement.lang, {
      style: "unit", unit: "megabyte", minimumFractionDigits: fraction, maximumFractionDigits: fraction });
    // Rounded up, so that a file just over the limit does not read as the limit.
    const size = megabytes(1).format(Math.ceil((bytes / 1048576) * 10) / 10);
    const limit = megabytes(0).format(MAX_PROGRESS_BYTES / 1048576);
    showNotice(fill(words.too_large, { size, limit }), words.back_to_game, hideNotice);
  }

  // The file's text: UTF-16 with its byte-order mark as a Windows registry
  // editor exports, otherwise UTF-8; null when it is neither.
  function fileText(bytes) {
    const utf16 = bytes.length >= 2 && bytes[0] === 0xff && bytes[1] === 0xfe;
    try {
      return new TextDecoder(utf16 ? "utf-16le" : "utf-8", { fatal: true }).decode(bytes);
    } catch (error) {
      return null;
    }
  }

  // Level and score as the game would read them from a text; null when the
  // game could not read it.
  function progressIn(text) {
    host.fileText = text;
    const found = Module._horalia_web_file_progress();
    host.fileText = "";
    return found < 0 ? null : { level: Math.floor(found / 1000000), score: found % 1000000 };
  }

  fileInput.addEventListener("change", async () => {
    const file = fileInput.files[0];
    fileInput.value = "";
    if (!file) return;
    if (file.size > MAX_PROGRESS_BYTES) {
      tooLarge(file.size);
      return;
    }
    const text = fileText(new Uint8Array(await file.arrayBuffer()));
    const stored = new TextEncoder().encode(text || "").length;
    if (stored > MAX_PROGRESS_BYTES) {
      tooLarge(stored);
      return;
    }
    await firstFrame;  // the program is running
    const incoming = text && text.startsWith(REGISTRY_HEADER) ? progressIn(text) : null;
    if (!incoming) {
      showNotice(words.not_progress, words.back_to_game, hideNotice);
      return;
    }
    const now = progressIn(storage.read() || REGISTRY_HEADER + "\n") || { level: 1, score: 0 };
    const question = [words.replace_ask, fill(words.progress_now, now), fill(words.progress_in_file, incoming)];
    showNotice(question.join("\n"), words.replace, () => {
      // Stopped first, so that nothing the game still does mixes into the new progress.
      host.stop();
      if (!storage.replace(text)) {
        showNotice(words.cannot_keep, words.try_again, () => location.reload());
        return;
      }
      restart("#progress-loaded");
    }, words.keep_mine, hideNotice);
  });

  // ---- What Horalia is, and the licences it comes under.
  byId("about").addEventListener("click", () => showNotice(words.about_text, words.back_to_game, hideNotice));

  undoButton.addEventListener("click", () => {
    host.stop();
    storage.undo();
    restart("");
  });

  // The game reads its progress as it starts: the page starts afresh, with a
  // mark that says why.
  function restart(mark) {
    if (mark) location.replace(location.pathname + location.search + mark);
    location.reload();
  }

  function markedBy(mark) {
    if (location.hash !== mark) return false;
    history.replaceState(null, "", location.pathname + location.search);
    return true;
  }

  // ---- One copy at a time: the tab holding the lock plays; the others say
  // so and can take the game over. The tab that loses it stops and says so.
  // A tab that waits learns when the lock comes free (the other tab closed)
  // and then offers to play; it does not hold the lock unasked, so a tab
  // that reloads finds it free.
  const channel = "BroadcastChannel" in window ? new BroadcastChannel(LOCK_NAME) : null;
  let releaseLock = () => {};
  let started = false;
  let waiting = false;
  let watching = false;

  function alreadyOpen() {
    waiting = true;
    showNotice(words.already_open, words.play_here, playHere);
    if (watching || !navigator.locks) return;
    watching = true;
    navigator.locks.request(LOCK_NAME, () => {
      watching = false;
      if (waiting) showNotice(words.other_closed, words.play_here, playHere);
    });
  }

  function playHere() {
    waiting = false;
    if (started) {
      // This tab's game has stopped; start afresh and take over after the reload.
      restart("#take-over");
      return;
    }
    hideNotice();
    if (channel) channel.postMessage("take-over");
    navigator.locks.request(LOCK_NAME, (lock) => holdAndStart(lock));
  }

  if (channel) {
    channel.onmessage = (event) => {
      if (event.data === "playing" && waiting) alreadyOpen();
      if (event.data !== "take-over" || !started || host.stopped) return;
      host.stop();
      releaseLock();
      alreadyOpen();
    };
  }

  function holdAndStart() {
    return new Promise((release) => {
      releaseLock = release;
      startGame();
    });
  }

  // ---- The program.
  function startGame() {
    started = true;
    if (channel) channel.postMessage("playing");
    host.frameStart = performance.now();
    window.Module = {
      horalia: host,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: () => showNotice(words.stopped, words.start_again, () => location.reload()),
    };
    const notLoaded = () => showNotice(words.not_loaded, words.try_again, () => location.reload());
    languagePack.then((pack) => {
      host.languagePack = pack;
      const script = document.createElement("script");
      script.src = "horalia.js";
      script.onerror = notLoaded;
      document.body.appendChild(script);
    }, notLoaded);
  }

  function claimAndStart() {
    if (!navigator.locks) {
      startGame();
      return;
    }
    // A stopped tab reloads itself with this mark to take the game over.
    if (markedBy("#take-over")) {
      if (channel) channel.postMessage("take-over");
      navigator.locks.request(LOCK_NAME, (lock) => holdAndStart(lock));
      return;
    }
    navigator.locks.request(LOCK_NAME, { ifAvailable: true }, (lock) => {
      if (!lock) {
        alreadyOpen();
        return undefined;
      }
      return holdAndStart(lock);
    });
  }

  // ---- Offline: the worker keeps a copy of every file that the page needs
  // in its language. It starts after the first picture, once the page has
  // loaded all it asked for, so that it finds the files in the browser's
  // cache (the server only confirms that they are current) and a first visit
  // downloads each file once. A new version is fetched beside the copy in
  // use and replaces it once no page of the old one is open, so the next
  // time the game is opened it is new throughout; so is a worker for another
  // language, when the browser's language changes.
  function keepOffline() {
    if (!("serviceWorker" in navigator) || !window.isSecureContext) return;
    const register = () => navigator.serviceWorker.register("sw.js?language=" + language).catch(() => {});
    if (document.readyState === "complete") register();
    else window.addEventListener("load", register, { once: true });
  }

  if (markedBy("#progress-loaded")) {
    undoButton.hidden = false;
    showStatus(words.progress_loaded);
  }
  window.horaliaPage = host;
  claimAndStart();
  firstFrame.then(keepOffline);
})();
