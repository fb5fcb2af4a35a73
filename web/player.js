"use strict";
// SPDX-License-Identifier: GPL-3.0-or-later
// The web show's player: plays the show as Lumetta's player does, composing every slide at the
// window's size in device pixels and running each transition in the WebAssembly core.
(function () {
  const show = JSON.parse(document.getElementById("show").textContent);
  const testing = location.hash === "#test";
  const stage = document.getElementById("stage");
  const stageContext = stage.getContext("2d", { alpha: false });
  const kCaptionBarHeight = 26;
  const kCaptionFontSize = 16;
  const kShadowColour = "#303030";
  const kSwipeDistance = 40;
  // Ctrl in a manual show advances at the player's first interval.
  const kManualResumeMs = 500;

  // Every data block must be there, or the page was cut short inside them.
  const blockIds = show.slides.map((s) => s.data).concat(show.music.map((m) => m.data));
  if (show.background.data) blockIds.push(show.background.data);
  if (blockIds.some((id) => !document.getElementById(id))) return;
  window.lumettaPlayerLoaded = true;

  function BlockBlob(id) {
    const block = document.getElementById(id);
    const text = atob(block.textContent);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return new Blob([bytes], { type: block.dataset.type });
  }

  // Decoded pictures, the few the show needs next.
  const pictures = new Map();
  function PictureBitmap(index) {
    if (!pictures.has(index)) {
      pictures.set(index, createImageBitmap(BlockBlob(show.slides[index].data)));
      while (pictures.size > 4) {
        const oldest = pictures.keys().next().value;
        pictures.get(oldest).then((bitmap) => bitmap.close(), () => {});
        pictures.delete(oldest);
      }
    }
    return pictures.get(index);
  }
  const backgroundBitmap = show.background.kind === "picture" ? createImageBitmap(BlockBlob(show.background.data)) : null;

  let core = null;
  // The area transitions run in (the screen less the caption bar) and the screen, device pixels.
  let area = { width: 0, height: 0, screenHeight: 0, bar: 0 };

  function SlidePlace(pictureWidth, pictureHeight, screenWidth, screenHeight) {
    const out = core._malloc(32);
    const hasShadow = core._LumettaPlaceSlide(pictureWidth, pictureHeight, screenWidth, screenHeight, show.percent,
      show.shadow, out);
    const v = Array.from(new Int32Array(core.HEAPU8.buffer, out, 8));
    core._free(out);
    return { picture: v.slice(0, 4), shadow: hasShadow ? v.slice(4, 8) : null };
  }

  // The gradient as the player draws it: 256 bands, edges and colours by MulDiv.
  function Gradient(width, height) {
    const canvas = new OffscreenCanvas(Math.max(width, 1), Math.max(height, 1));
    const context = canvas.getContext("2d");
    const top = Rgb(show.background.top), bottom = Rgb(show.background.bottom);
    for (let i = 0; i < 256; ++i) {
      const y0 = core._LumettaMulDiv(i, height, 256), y1 = core._LumettaMulDiv(i + 1, height, 256);
      const c = top.map((v, k) => v + core._LumettaMulDiv(i, bottom[k] - v, 255));
      context.fillStyle = `rgb(${c[0]},${c[1]},${c[2]})`;
      context.fillRect(0, y0, width, y1 - y0);
    }
    return canvas;
  }
  function Rgb(text) {
    return [1, 3, 5].map((at) => parseInt(text.substr(at, 2), 16));
  }

  // The background control's picture drawn into the area as its placement says.
  function DrawBackground(context, picture, width, height) {
    const w = picture.width, h = picture.height;
    switch (show.background.placement) {
      case "tile":
        if (w > 0 && h > 0)
          for (let x = 0; x < width; x += w) for (let y = 0; y < height; y += h) context.drawImage(picture, x, y);
        break;
      case "stretch":
        context.drawImage(picture, 0, 0, width, height);
        break;
      case "center":
        context.drawImage(picture, Math.trunc((width - w) / 2), Math.trunc((height - h) / 2));
        break;
      default:
        context.drawImage(picture, 0, 0);
    }
  }

  // A slide's caption as the player draws it: a size on a 1080-pixel screen scaled to this one,
  // lines wrapped and centred at the top, middle or bottom of the picture (of the area when the
  // picture is too narrow or too low for it), a dark edge that reads on any photo.
  function WrapCaption(context, text, width) {
    const lines = [];
    for (const paragraph of text.split("\n")) {
      let line = "";
      for (const word of paragraph.split(" ")) {
        const wider = line ? line + " " + word : word;
        if (line && context.measureText(wider).width > width) {
          lines.push(line);
          line = word;
        } else {
          line = wider;
        }
      }
      lines.push(line);
    }
    return lines;
  }
  function DrawCaption(context, caption, width, height, picture) {
    const shorter = Math.min(width, height);
    const size = Math.max(1, Math.round((caption.size * shorter) / 1080));
    const margin = Math.max(2, Math.floor(shorter / 24));
    const family = caption.font ? `"${caption.font.replace(/"/g, "")}", sans-serif` : "sans-serif";
    context.font = `${size}px ${family}`;
    const spacing = Math.round(size * 1.2);
    const whole = [0, 0, width, height];
    const left = Math.max(0, picture[0]), top = Math.max(0, picture[1]);
    let frame = [left, top, Math.min(width, picture[0] + picture[2]) - left, Math.min(height, picture[1] + picture[3]) - top];
    if (frame[2] < width / 3 || frame[2] <= 2 * margin) frame = whole;
    let lines = WrapCaption(context, caption.text, frame[2] - 2 * margin);
    if (frame !== whole && lines.length * spacing + 2 * margin > frame[3]) {
      frame = whole;
      lines = WrapCaption(context, caption.text, frame[2] - 2 * margin);
    }
    const block = lines.length * spacing;
    let y0 = frame[1] + margin;
    if (caption.position === "middle") y0 = frame[1] + Math.floor((frame[3] - block) / 2);
    else if (caption.position === "bottom") y0 = frame[1] + frame[3] - margin - block;
    const x = frame[0] + frame[2] / 2;
    const edge = Math.max(1, size / 14);
    context.textAlign = "center";
    context.textBaseline = "top";
    context.lineJoin = "round";
    lines.forEach((text, i) => {
      const y = y0 + i * spacing;
      context.fillStyle = context.strokeStyle = "rgba(0, 0, 0, 0.78)";
      if (caption.outline) {
        context.lineWidth = edge * 2;
        context.strokeText(text, x, y);
      } else {
        context.fillText(text, x + edge * 1.5, y + edge * 1.5);
      }
      context.fillStyle = caption.colour;
      context.fillText(text, x, y);
    });
  }

  let composer = null;
  let backgroundLayer = null;
  // The area as it shows slide INDEX (null: the background alone), composed at the area's size.
  async function Compose(index) {
    const { width, height, screenHeight } = area;
    if (!composer || composer.width !== width || composer.height !== height) {
      composer = new OffscreenCanvas(width, height);
      backgroundLayer = null;
    }
    const context = composer.getContext("2d", { willReadFrequently: true });
    if (!backgroundLayer) {
      backgroundLayer = new OffscreenCanvas(width, height);
      const layer = backgroundLayer.getContext("2d");
      layer.fillStyle = show.background.kind === "plain" ? show.background.top : "#000000";
      layer.fillRect(0, 0, width, height);
      if (show.background.kind === "gradient") DrawBackground(layer, Gradient(width, screenHeight), width, height);
      else if (backgroundBitmap) DrawBackground(layer, await backgroundBitmap, width, height);
    }
    context.drawImage(backgroundLayer, 0, 0);
    if (index !== null) {
      const picture = await PictureBitmap(index);
      // The picture's own size, as the player places it, though the page may hold it smaller.
      const slide = show.slides[index];
      const place = SlidePlace(slide.width || picture.width, slide.height || picture.height, width, screenHeight);
      if (place.shadow) {
        context.fillStyle = kShadowColour;
        context.fillRect(...place.shadow);
      }
      context.imageSmoothingEnabled = true;
      context.imageSmoothingQuality = "high";
      context.drawImage(picture, ...place.picture);
      if (slide.caption) DrawCaption(context, slide.caption, width, height, place.picture);
    }
    return context.getImageData(0, 0, width, height).data;
  }

  function Pixels(pointer) {
    return new Uint8Array(core.HEAPU8.buffer, pointer, area.width * area.height * 4);
  }
  // The frame picture as the canvas takes it: a view on the module's memory, no copy.
  function ShowFrame() {
    const view = new Uint8ClampedArray(core.HEAPU8.buffer, core._LumettaFrame(), area.width * area.height * 4);
    stageContext.putImageData(new ImageData(view, area.width, area.height), 0, 0);
  }

  function DrawCaptionBar(text) {
    if (!show.captionBar || area.bar === 0) return;
    const y = area.height, w = stage.width, h = area.bar, ratio = window.devicePixelRatio || 1;
    stageContext.fillStyle = show.captionBar;
    stageContext.fillRect(0, y, w, h);
    // A lowered bevel: dark above and left, light below and right.
    const line = Math.max(1, Math.round(ratio));
    stageContext.fillStyle = "#808080";
    stageContext.fillRect(0, y, w, line);
    stageContext.fillRect(0, y, line, h);
    stageContext.fillStyle = "#ffffff";
    stageContext.fillRect(0, y + h - line, w, line);
    stageContext.fillRect(w - line, y, line, h);
    stageContext.fillStyle = "#000000";
    stageContext.font = `${Math.round(kCaptionFontSize * ratio)}px sans-serif`;
    stageContext.textAlign = "center";
    stageContext.textBaseline = "middle";
    stageContext.fillText(text, w / 2, y + h / 2);
  }

  // Sizes the canvas and the core's pictures for WIDTH x HEIGHT device pixels.
  function SetSize(width, height, ratio) {
    const bar = show.captionBar ? Math.round(kCaptionBarHeight * ratio) : 0;
    area = { width, height: Math.max(1, height - bar), screenHeight: height, bar };
    stage.width = width;
    stage.height = height;
    core._LumettaResize(area.width, area.height);
    composer = null;
  }

  // The show's state, as the player's sequencer keeps it.
  const state = {
    running: false, nextSlide: 0, shown: null, caption: "", busy: false, pending: 0, tickDue: false,
    timerOn: false, timer: 0, helpOpen: false, cutShort: false, steps: 0, lastPass: null, resizeDue: false,
    // performance.now() when the player was ready, the show asked for and its first slide composed.
    readyAt: null, startAt: null, firstSlideAt: null,
  };

  function ChooseEffect() {
    const entry = core._LumettaDrawEntry(show.selection.length);
    if (entry < 0) return null;
    const text = show.selection[entry];
    const number = /^\d+$/.test(text) ? parseInt(text, 10) : -1;
    return number >= 0 && number <= 20 ? number : null;
  }

  // Runs catalogue entry EFFECT from the frame picture to the new picture, paced by the screen's
  // refresh to the effect's length; FRAMES, when given, hands over just those frames, unpaced.
  function RunEffect(effect, onFrame, frames) {
    const entry = show.effects[effect];
    const frameCount = core._LumettaBegin(...entry.settings.map(Number));
    if (frames) {
      // Every frame, as the engine's headless pass draws them; random effects depend on the steps.
      const last = Math.max(0, ...frames);
      for (let f = 1; f <= last && f < frameCount; ++f) {
        core._LumettaDraw(f);
        if (frames.includes(f)) onFrame(f, frameCount);
      }
      core._LumettaDrawLast();
      return Promise.resolve(frameCount);
    }
    return new Promise((resolve) => {
      let start = null, previous = 0;
      // Screen refreshes the pass saw and how many brought a new frame.
      const pace = { refreshes: 0, frames: 0, milliseconds: entry.milliseconds };
      state.lastPass = pace;
      function Tick(now) {
        if (start === null) start = now;
        pace.refreshes += 1;
        // The frame the time asks for; an unpaced effect draws every frame.
        const elapsed = now - start;
        const frame = entry.milliseconds > 0 ? Math.floor((elapsed * frameCount) / entry.milliseconds) : previous + 1;
        if (state.cutShort || frame >= frameCount) {
          core._LumettaDrawLast();
          onFrame(frameCount, frameCount);
          resolve(frameCount);
          return;
        }
        if (frame > previous) {
          core._LumettaDraw(frame);
          previous = frame;
          onFrame(frame, frameCount);
          pace.frames += 1;
        }
        requestAnimationFrame(Tick);
      }
      requestAnimationFrame(Tick);
    });
  }

  async function SlideStep(delta, timed) {
    state.busy = true;
    try {
      // After picture i, nextSlide is i + 1: one step on is delta - 1 further, one back is two less.
      state.nextSlide += delta - 1;
      // Going back from the first picture stays there.
      if (state.nextSlide < 0) state.nextSlide = 0;
      // The generator is drawn at every step, also for a slide with a transition of its own.
      const drawn = ChooseEffect();
      if (state.nextSlide > show.slides.length - 1) {
        state.nextSlide = 0;
        if (!show.looping) {
          EndShow();
          return;
        }
      }
      const index = state.nextSlide;
      const slide = show.slides[index];
      const effect = slide.transition === "none" ? null : typeof slide.transition === "number" ? slide.transition : drawn;
      // A transition chosen for the slide runs also in a show without effects.
      const effectsOn = show.effectsOn || typeof slide.transition === "number";
      state.caption = `${slide.number}. ${slide.name}`;
      DrawCaptionBar(state.caption);
      const composed = await Compose(index);
      Pixels(core._LumettaOldPicture()).set(Pixels(core._LumettaFrame()));
      Pixels(core._LumettaNewPicture()).set(composed);
      state.nextSlide = index + 1;
      state.shown = index;
      state.steps += 1;
      if (timed) ScheduleTick();
      // The first slide is ready to come in.
      if (state.firstSlideAt === null) state.firstSlideAt = performance.now();
      if (effectsOn && effect !== null && !state.cutShort) {
        await RunEffect(effect, ShowFrame);
      } else {
        Pixels(core._LumettaFrame()).set(composed);
        ShowFrame();
      }
    } finally {
      state.busy = false;
    }
    if (state.resizeDue) Recompose();
    else RunPending();
  }

  // Steps asked for during a step run after it, merged into one; then a tick that fell due.
  function RunPending() {
    if (!state.running || state.busy) return;
    if (state.pending !== 0) {
      const delta = state.pending;
      state.pending = 0;
      SlideStep(delta, false);
    } else if (state.tickDue) {
      state.tickDue = false;
      SlideStep(1, true);
    }
  }

  function AskStep(delta) {
    if (!state.running || state.helpOpen) return;
    state.pending += delta;
    RunPending();
  }

  // A slide's time counts from the start of the step that brought it.
  function ScheduleTick() {
    clearTimeout(state.timer);
    if (!state.timerOn || testing) return;
    state.timer = setTimeout(() => {
      state.tickDue = true;
      RunPending();
    }, (state.shown !== null && show.slides[state.shown].durationMs) || show.advanceMs || kManualResumeMs);
  }

  function SetTimer(on) {
    state.timerOn = on;
    if (on) ScheduleTick();
    else clearTimeout(state.timer);
  }

  // Music: the playlist in order, from its first track, again from the top when it repeats.
  const audio = new Audio();
  let track = 0;
  const musicUrls = show.music.map((m) => URL.createObjectURL(BlockBlob(m.data)));
  function PlayTrack(index) {
    track = index;
    audio.src = musicUrls[index];
    audio.play().catch(() => {});
  }
  function NextTrack() {
    if (track + 1 < musicUrls.length) PlayTrack(track + 1);
    else if (show.repeatMusic) PlayTrack(0);
  }
  audio.addEventListener("ended", NextTrack);
  audio.addEventListener("error", () => {
    Notify(`${show.music[track].name} cannot be played here`);
    NextTrack();
  });

  function Notify(text) {
    const notice = document.getElementById("notice");
    notice.textContent = text;
    notice.hidden = false;
    setTimeout(() => (notice.hidden = true), 5000);
  }

  function FitToWindow() {
    const ratio = window.devicePixelRatio || 1;
    SetSize(Math.max(1, Math.round(innerWidth * ratio)), Math.max(1, Math.round(innerHeight * ratio)), ratio);
  }

  // A new size composes the slide shown again at once, without a transition; during a step, right
  // after it, so that the core's pictures keep their size while it draws.
  async function Recompose() {
    // The test hook sets its own sizes until it starts the show.
    if (!core || (testing && !state.running)) return;
    if (state.busy) {
      state.resizeDue = true;
      return;
    }
    state.resizeDue = false;
    state.busy = true;
    try {
      FitToWindow();
      Pixels(core._LumettaFrame()).set(await Compose(state.shown));
      ShowFrame();
      if (state.shown !== null) DrawCaptionBar(state.caption);
    } finally {
      state.busy = false;
    }
    if (state.resizeDue) Recompose();
    else RunPending();
  }

  async function StartShow() {
    state.startAt = performance.now();
    document.getElementById("start").hidden = true;
    document.getElementById("ended").hidden = true;
    if (!testing && document.documentElement.requestFullscreen)
      await document.documentElement.requestFullscreen().catch(() => {});
    FitToWindow();
    Object.assign(state, { running: true, nextSlide: 0, shown: null, pending: 0, tickDue: false, cutShort: false });
    // The first slide comes in over the bare background.
    Pixels(core._LumettaFrame()).set(await Compose(null));
    ShowFrame();
    if (show.music.length > 0) PlayTrack(0);
    SetTimer(show.advanceMs > 0);
    SlideStep(1, true);
  }

  function EndShow() {
    state.running = false;
    state.cutShort = true;
    SetTimer(false);
    document.getElementById("paused").hidden = true;
    audio.pause();
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    document.getElementById("ended").hidden = false;
  }

  function TogglePause() {
    if (state.timerOn) {
      SetTimer(false);
      document.getElementById("paused").hidden = false;
    } else {
      document.getElementById("paused").hidden = true;
      AskStep(1);
      SetTimer(true);
    }
  }

  function OnKey(event) {
    if (!core) return;
    if (!state.running) {
      if (!event.repeat) StartShow();
      event.preventDefault();
      return;
    }
    if (state.helpOpen) {
      state.helpOpen = false;
      document.getElementById("help").hidden = true;
      if (show.advanceMs > 0) SetTimer(true);
      event.preventDefault();
      return;
    }
    switch (event.key) {
      case "Enter":
      case "ArrowRight":
        // A held key's repeats count as one step.
        if (!event.repeat || state.pending === 0) AskStep(1);
        break;
      case "ArrowLeft":
      case "Backspace":
        if (!event.repeat || state.pending === 0) AskStep(-1);
        break;
      case "Control":
        if (!event.repeat) TogglePause();
        break;
      case "Escape":
        EndShow();
        break;
      case "F1":
        SetTimer(false);
        state.helpOpen = true;
        document.getElementById("help").hidden = false;
        break;
      default:
        return;
    }
    event.preventDefault();
  }

  // A click on the picture is a step; on the background it does nothing.
  function OnClick(event) {
    if (!core) return;
    if (!state.running) {
      StartShow();
      return;
    }
    if (state.shown === null) return;
    const ratio = window.devicePixelRatio || 1;
    const x = event.clientX * ratio, y = event.clientY * ratio;
    const slide = show.slides[state.shown];
    const [left, top, width, height] = SlidePlace(slide.width, slide.height, area.width, area.screenHeight).picture;
    if (x >= left && x < left + width && y >= top && y < Math.min(top + height, area.height)) AskStep(1);
  }

  let touchStart = null;
  function OnTouchStart(event) {
    if (event.touches.length === 1) touchStart = { x: event.touches[0].clientX, y: event.touches[0].clientY };
    event.preventDefault();
  }
  function OnTouchEnd(event) {
    if (!touchStart || !core) return;
    const touch = event.changedTouches[0];
    const dx = touch.clientX - touchStart.x, dy = touch.clientY - touchStart.y;
    touchStart = null;
    event.preventDefault();
    if (!state.running) {
      StartShow();
      return;
    }
    if (Math.abs(dx) >= kSwipeDistance && Math.abs(dx) > Math.abs(dy)) AskStep(dx < 0 ? 1 : -1);
    else if (Math.abs(dx) < kSwipeDistance && Math.abs(dy) < kSwipeDistance) AskStep(1);
  }

  let wheelAt = 0;
  function OnWheel(event) {
    // A burst of notches is one step.
    if (!state.running || event.timeStamp - wheelAt < 250) return;
    wheelAt = event.timeStamp;
    AskStep(event.deltaY > 0 ? 1 : -1);
  }

  window.addEventListener("keydown", OnKey);
  stage.addEventListener("click", OnClick);
  document.getElementById("start").addEventListener("click", OnClick);
  document.getElementById("ended").addEventListener("click", OnClick);
  stage.addEventListener("touchstart", OnTouchStart, { passive: false });
  stage.addEventListener("touchend", OnTouchEnd, { passive: false });
  stage.addEventListener("wheel", OnWheel, { passive: true });
  window.addEventListener("resize", Recompose);
  document.addEventListener("fullscreenchange", () => {
    if (!document.fullscreenElement && state.running) EndShow();
  });

  // What the tests drive: a fixed seed, slides composed at a chosen size, frames by number.
  function CanvasPng(pixels, width, height) {
    const canvas = document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    canvas.getContext("2d").putImageData(new ImageData(new Uint8ClampedArray(pixels), width, height), 0, 0);
    return canvas.toDataURL("image/png");
  }
  const testHook = {
    fixSeed(seed) {
      core._LumettaFixClock(seed);
      core._LumettaSetRandSeed(0);
    },
    placeSlide(pictureWidth, pictureHeight, screenWidth, screenHeight) {
      return SlidePlace(pictureWidth, pictureHeight, screenWidth, screenHeight);
    },
    // Composes slides FROM and TO at WIDTH x HEIGHT, runs catalogue entry EFFECT over them and
    // returns the two slides and the listed frames as PNG data.
    async effectFrames(effect, from, to, width, height, frames) {
      SetSize(width, height, 1);
      const before = await Compose(from), after = await Compose(to);
      Pixels(core._LumettaOldPicture()).set(before);
      Pixels(core._LumettaNewPicture()).set(after);
      Pixels(core._LumettaFrame()).set(before);
      const shown = {};
      const frameCount = await RunEffect(effect, (f) => {
        shown[f] = CanvasPng(Pixels(core._LumettaFrame()), area.width, area.height);
      }, frames);
      return { frameCount, from: CanvasPng(before, area.width, area.height), to: CanvasPng(after, area.width, area.height),
        frames: shown };
    },
    state() {
      return { running: state.running, shown: state.shown, caption: state.caption, busy: state.busy,
        pending: state.pending, steps: state.steps, paused: !state.timerOn, lastPass: state.lastPass,
        readyAt: state.readyAt, startAt: state.startAt, firstSlideAt: state.firstSlideAt };
    },
    // Runs catalogue entry EFFECT paced, at the window's size, between the first two slides;
    // returns how many screen refreshes brought a new frame.
    async pacedEffect(effect) {
      state.cutShort = false;
      FitToWindow();
      const before = await Compose(0), after = await Compose(show.slides.length > 1 ? 1 : 0);
      Pixels(core._LumettaOldPicture()).set(before);
      Pixels(core._LumettaNewPicture()).set(after);
      Pixels(core._LumettaFrame()).set(before);
      await RunEffect(effect, ShowFrame);
      return state.lastPass;
    },
    // The median time of an unpaced pass of catalogue entry EFFECT over two slides composed at
    // WIDTH x HEIGHT, per frame, over REPEATS passes.
    async benchEffect(effect, width, height, repeats) {
      SetSize(width, height, 1);
      const before = await Compose(0), after = await Compose(show.slides.length > 1 ? 1 : 0);
      Pixels(core._LumettaNewPicture()).set(after);
      const times = [];
      let frameCount = 0;
      for (let r = 0; r <= repeats; ++r) {
        Pixels(core._LumettaOldPicture()).set(before);
        const start = performance.now();
        frameCount = core._LumettaBegin(...show.effects[effect].settings.map(Number));
        for (let f = 1; f < frameCount; ++f) core._LumettaDraw(f);
        core._LumettaDrawLast();
        // The first pass only brings the memory in.
        if (r > 0) times.push(performance.now() - start);
      }
      times.sort((a, b) => a - b);
      const pass = times[Math.floor(times.length / 2)];
      return { frameCount, passMs: pass, frameMs: frameCount > 1 ? pass / (frameCount - 1) : pass };
    },
  };

  LumettaCore().then((module) => {
    core = module;
    state.readyAt = performance.now();
    if (testing) {
      window.lumettaTest = testHook;
      return;
    }
    FitToWindow();
    document.querySelector("#start .title").textContent = document.title;
    document.getElementById("start").hidden = false;
  });
})();
