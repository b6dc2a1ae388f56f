// The page around the game: the canvas and its scaling, the pointer as the
// stylus, the frames that drive the game's loop, the clock, Web Audio, the
// progress links, one copy at a time, the goodbye screen and the offline
// worker. The program (horalia.js / horalia.wasm) reaches this page through
// Module.horalia.
"use strict";

(() => {
  const WIDTH = 240;
  const HEIGHT = 320;
  // With nothing drawn and no input for this long, frames stop until the next input.
  const IDLE_MS = 1000;
  // The one name of the progress in local storage; the program takes it from here.
  const STORAGE_KEY = "horalia.registry";
  // The kinds of input the page queues for the program, [kind, a, b]; the
  // program looks the codes up here by these names.
  const INPUT = Object.freeze({ stylusDown: 1, stylusUp: 2, keyDown: 3, keyUp: 4 });
  const REGISTRY_HEADER = "Windows Registry Editor Version 5.00";
  const LOCK_NAME = "horalia";

  const canvas = document.getElementById("screen");
  const context = canvas.getContext("2d", { alpha: false });
  const links = document.getElementById("links");
  const notice = document.getElementById("notice");
  const noticeText = document.getElementById("notice-text");
  const noticeButton = document.getElementById("notice-button");

  // ---- Screen: the largest whole number of device pixels per game pixel
  // that fits; a fraction (still crisp, nearest neighbour) when none does.
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const width = window.innerWidth;
    const height = window.innerHeight - links.offsetHeight;
    const fit = Math.min((width * ratio) / WIDTH, (height * ratio) / HEIGHT);
    const scale = fit >= 1 ? Math.floor(fit) : fit;
    canvas.style.width = (WIDTH * scale) / ratio + "px";
    canvas.style.height = (HEIGHT * scale) / ratio + "px";
  }
  window.addEventListener("resize", fitCanvas);
  window.addEventListener("orientationchange", fitCanvas);
  fitCanvas();

  // ---- The host object the program calls.
  const host = {
    INPUT,
    STORAGE_KEY,
    input: [],            // [kind, a, b], kind one of INPUT: (x, y) or (virtual key, 0)
    resume: null,         // resumes the program's loop at the next frame
    frameRequested: false,
    frameStart: 0,
    lastActivity: performance.now(),
    hiddenSince: document.hidden ? performance.now() : null,
    hiddenTotal: 0,
    stopped: false,
    frames: 0,            // animation frames that drew a picture, for the tests
    drewInWakeup: -1,
    wakeups: 0,           // animation frames that ran the game's loop, for the tests
    firstFrameAt: null,   // ms from navigation to the first picture drawn
    image: context.createImageData(WIDTH, HEIGHT),
    audio: null,
    buffers: new Map(),
    playing: null,

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
      }
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

    // Browsers allow sound only after a user gesture: the first tap opens
    // (or resumes) the audio context.
    unlockAudio() {
      try {
        if (!this.audio) {
          const AudioContextType = window.AudioContext || window.webkitAudioContext;
          if (AudioContextType) this.audio = new AudioContextType();
        }
        if (this.audio && this.audio.state === "suspended") this.audio.resume().catch(() => {});
      } catch (error) {
        this.audio = null;
      }
    },

    // Plays decoded 16-bit samples; a new sound replaces the playing one.
    // Without a running audio context the game stays silent.
    play(samples, channels, rate, key) {
      try {
        if (this.stopped || !this.audio || this.audio.state !== "running") return false;
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
        const source = this.audio.createBufferSource();
        source.buffer = buffer;
        source.connect(this.audio.destination);
        source.start();
        this.playing = source;
        return true;
      } catch (error) {
        return false;
      }
    },

    silence() {
      if (!this.playing) return;
      try {
        this.playing.stop();
      } catch (error) {
        // already ended
      }
      this.playing = null;
    },

    // The game ended by its exit icon.
    ended() {
      this.stopped = true;
      releaseLock();
      showNotice("Well done! See you next time.", "Play again", () => location.reload());
    },

    // Another tab took the game over: this one stops where it is.
    stop() {
      this.stopped = true;
      this.resume = null;
      this.silence();
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
    if (event.pointerId !== activePointer) return;
    activePointer = null;
    const [x, y] = toScreen(event);
    host.queue([INPUT.stylusUp, x, y]);
  }
  window.addEventListener("pointerup", pointerLifted);
  window.addEventListener("pointercancel", pointerLifted);
  document.addEventListener("contextmenu", (event) => event.preventDefault());
  document.addEventListener("selectstart", (event) => event.preventDefault());
  document.addEventListener("dblclick", (event) => event.preventDefault());

  // ---- Keys: letters, digits and Ctrl as the desktop's accelerators know them.
  function virtualKey(event) {
    if (event.key === "Control") return 0x11;
    if (/^Key[A-Z]$/.test(event.code)) return event.code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(event.code)) return event.code.charCodeAt(5);
    return 0;
  }
  for (const [type, kind] of [["keydown", INPUT.keyDown], ["keyup", INPUT.keyUp]]) {
    window.addEventListener(type, (event) => {
      const key = virtualKey(event);
      if (!key || event.repeat) return;
      if (event.ctrlKey && key !== 0x11) event.preventDefault();
      host.queue([kind, key, 0]);
    });
  }

  // ---- Notices over the page.
  function showNotice(text, buttonText, action) {
    noticeText.textContent = text;
    noticeButton.textContent = buttonText;
    noticeButton.onclick = action;
    notice.hidden = false;
  }

  // ---- Progress: the registry text moves in and out as a .reg file.
  function readStored() {
    try {
      return localStorage.getItem(STORAGE_KEY);
    } catch (error) {
      return null;
    }
  }

  document.getElementById("save-progress").addEventListener("click", () => {
    const text = readStored() || REGISTRY_HEADER + "\r\n\r\n";
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
    link.download = "horalia-progress.reg";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });

  const fileInput = document.getElementById("progress-file");
  document.getElementById("load-progress").addEventListener("click", () => fileInput.click());
  fileInput.addEventListener("change", async () => {
    const file = fileInput.files[0];
    fileInput.value = "";
    if (!file) return;
    const text = (await file.text()).replace(/^\uFEFF/, "");
    if (!text.startsWith(REGISTRY_HEADER)) {
      showNotice("That file holds no Horalia progress.", "Back to the game", () => (notice.hidden = true));
      return;
    }
    try {
      localStorage.setItem(STORAGE_KEY, text);
    } catch (error) {
      showNotice("This browser does not let Horalia keep progress.", "Back to the game",
                 () => (notice.hidden = true));
      return;
    }
    // The game reads its progress as it starts.
    location.reload();
  });

  // ---- What Horalia is, and the licences it comes under.
  document.getElementById("about").addEventListener("click", () => {
    showNotice("Horalia teaches children to read and set a clock. It is free software under the MIT " +
               "licence (LICENSE, beside this page); its letters are Liberation Sans, under the SIL " +
               "Open Font License 1.1 (LICENSE.fonts).",
               "Back to the game", () => (notice.hidden = true));
  });

  // ---- One copy at a time: the tab holding the lock plays; the others say
  // so and can take the game over. The tab that loses it stops and says so.
  const channel = "BroadcastChannel" in window ? new BroadcastChannel(LOCK_NAME) : null;
  let releaseLock = () => {};
  let started = false;

  function alreadyOpen() {
    showNotice("Horalia is already open in another tab or window.", "Play here", playHere);
  }

  function playHere() {
    if (started) {
      // This tab's game has stopped; start afresh and take over after the reload.
      location.replace(location.pathname + "#take-over");
      location.reload();
      return;
    }
    notice.hidden = true;
    if (channel) channel.postMessage("take-over");
    navigator.locks.request(LOCK_NAME, (lock) => holdAndStart(lock));
  }

  if (channel) {
    channel.onmessage = (event) => {
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
    host.frameStart = performance.now();
    window.Module = {
      horalia: host,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: () => showNotice("Horalia stopped unexpectedly.", "Start again", () => location.reload()),
    };
    const script = document.createElement("script");
    script.src = "horalia.js";
    script.onerror = () => showNotice("Horalia could not be loaded.", "Try again", () => location.reload());
    document.body.appendChild(script);
  }

  // A stopped tab reloads itself with this mark to take the game over.
  function takeOverAsked() {
    if (location.hash !== "#take-over") return false;
    history.replaceState(null, "", location.pathname + location.search);
    return true;
  }

  function claimAndStart() {
    if (!navigator.locks) {
      startGame();
      return;
    }
    if (takeOverAsked()) {
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

  // ---- Offline: the worker keeps a copy of every file. A new version is
  // fetched beside the copy in use and replaces it once no page of the old
  // one is open, so the next time the game is opened it is new throughout.
  function keepOffline() {
    if ("serviceWorker" in navigator && window.isSecureContext)
      navigator.serviceWorker.register("sw.js").catch(() => {});
  }

  window.horaliaPage = host;
  claimAndStart();
  keepOffline();
})();
