// The browser page of Bitwatch. Every event goes through the plain library compiled to
// WebAssembly (Session.run, which is RunEvent); the page then mirrors the records into the DOM,
// touching only what changed. No behaviour of the demonstration is written here.
"use strict";

(function () {
  const TWIN_COLOURS = new Map(); // 0xBBGGRR -> CSS colour, filled on demand
  // A run's ticks are mirrored at most this often: the screen shows no more frames.
  const FRAME_MS = 1000 / 60;
  // And what the drawn elements tell assistive technology at most this often during a run: no
  // screen reader reads faster, and each change would cost the page a frame of its own.
  const TELL_MS = 250;

  function cssColour(bgr) {
    let colour = TWIN_COLOURS.get(bgr);
    if (colour === undefined) {
      const red = bgr & 0xff;
      const green = (bgr >> 8) & 0xff;
      const blue = (bgr >> 16) & 0xff;
      colour = `rgb(${red}, ${green}, ${blue})`;
      TWIN_COLOURS.set(bgr, colour);
    }
    return colour;
  }

  function place(element, box, level) {
    element.style.left = `${box[0]}px`;
    element.style.top = `${box[1]}px`;
    element.style.width = `${box[2]}px`;
    element.style.height = `${box[3]}px`;
    if (level !== undefined) {
      element.style.zIndex = String(level);
    }
  }

  function styleText(element, style) {
    element.classList.add("text");
    if (style.face === "serif") {
      element.classList.add("serif");
    }
    element.style.fontSize = `${style.points}pt`;
    element.style.textAlign = style.align;
  }

  // A cell says its state the way the desktop does: its bit, and "differs from transmitted" on a
  // received cell whose record says it differs from its twin.
  function cellState(text, differs) {
    return differs ? `${text}, differs from transmitted` : text;
  }

  // The binding encodes a JavaScript string as UTF-8, and a lone surrogate (which a paste can
  // bring) would swallow the character after it: it becomes U+FFFD first, as the desktop's
  // conversion makes it. With the u flag the class matches only surrogates that stand alone.
  function wellFormed(text) {
    return text.replace(/[\uD800-\uDFFF]/gu, "\uFFFD");
  }

  // What items of one look share: their size and their text's style.
  function styleKey(item) {
    item.styleKey ??= `${item.box[2]}x${item.box[3]}|${item.style.face}|${item.style.points}|${item.style.align}`;
    return item.styleKey;
  }

  // Calls back when the page has a moment with nothing to do, or after a short while where the
  // browser cannot tell.
  function whenIdle(callback) {
    if (typeof requestIdleCallback === "function") {
      requestIdleCallback(callback, { timeout: 1000 });
    } else {
      setTimeout(callback, 250);
    }
  }

  // A canvas of its own for a picture put together by the painter.
  function newSurface(width, height) {
    const canvas = typeof OffscreenCanvas === "function" ? new OffscreenCanvas(width, height) : document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    return canvas;
  }

  // A frame's drawing carried out on a canvas's context, the same code in the page and in the
  // drawing worker. ops, numbers one after another: [0, x, y, w, h] clears a box, so that what
  // lies below the canvas shows; [1, id, x, y] draws a picture, [2, id, sx, sy, w, h, x, y] a
  // part of one; [3, id, w, h, n, then n times glyph, x] puts picture id together on a w x h
  // surface of the background from the glyphs' pictures, each at x, so that a text that changes
  // at every frame (the rate) costs the page no new picture of its own.
  function paint(context, pictures, ops, background) {
    for (let i = 0; i < ops.length;) {
      if (ops[i] === 3) {
        const [w, h, n] = [ops[i + 2], ops[i + 3], ops[i + 4]];
        let surface = pictures.get(ops[i + 1]);
        if (!surface || surface.width !== w || surface.height !== h) {
          surface = newSurface(w, h);
          pictures.set(ops[i + 1], surface);
        }
        const c = surface.getContext("2d");
        c.fillStyle = background;
        c.fillRect(0, 0, w, h);
        for (let k = 0; k < n; k++) {
          c.drawImage(pictures.get(ops[i + 5 + 2 * k]), ops[i + 6 + 2 * k], 0);
        }
        i += 5 + 2 * n;
      } else if (ops[i] === 0) {
        context.clearRect(ops[i + 1], ops[i + 2], ops[i + 3], ops[i + 4]);
        i += 5;
      } else if (ops[i] === 1) {
        context.drawImage(pictures.get(ops[i + 1]), ops[i + 2], ops[i + 3]);
        i += 4;
      } else {
        const w = ops[i + 4];
        const h = ops[i + 5];
        context.drawImage(pictures.get(ops[i + 1]), ops[i + 2], ops[i + 3], w, h, ops[i + 6], ops[i + 7], w, h);
        i += 8;
      }
    }
  }

  // One frame for a painter: the canvas's new size and the window's colour, whether the
  // pictures so far are done with, the new pictures [id, picture] (one of an id already given
  // replaces it) and the ops.
  function takeFrame(context, pictures, frame) {
    if (frame.size) {
      context.canvas.width = frame.size[0];
      context.canvas.height = frame.size[1];
      pictures.background = frame.background;
    }
    if (frame.forget) {
      pictures.forEach((picture) => picture.close?.());
      pictures.clear();
    }
    for (const [id, picture] of frame.pictures) {
      pictures.get(id)?.close?.();
      pictures.set(id, picture);
    }
    paint(context, pictures, frame.ops, pictures.background);
  }

  // The drawing worker: it owns the canvas and takes the frames, so that the drawing and the
  // handing of the canvas to the screen leave the page's own thread.
  function drawingWorker() {
    let context = null;
    const pictures = new Map();
    self.onmessage = ({ data }) => {
      if (data.ping !== undefined) {
        self.postMessage(data.ping);
      } else if (data.canvas) {
        context = data.canvas.getContext("2d");
      } else {
        takeFrame(context, pictures, data);
      }
    };
  }

  // Draws the frames in the page itself, where no worker can take the canvas.
  class PagePainter {
    constructor(canvas) {
      this.context = canvas.getContext("2d");
      this.pictures = new Map();
    }

    frame(frame) {
      takeFrame(this.context, this.pictures, frame);
    }

    drawn() {
      return Promise.resolve();
    }
  }

  // Hands the frames to the drawing worker, the new pictures moved rather than copied.
  class WorkerPainter {
    constructor(canvas, failed) {
      const source = `"use strict";\n${newSurface}\n${paint}\n${takeFrame}\n(${drawingWorker})();\n`;
      const address = URL.createObjectURL(new Blob([source], { type: "text/javascript" }));
      this.worker = new Worker(address);
      URL.revokeObjectURL(address);
      this.worker.addEventListener("error", failed);
      const offscreen = canvas.transferControlToOffscreen();
      this.worker.postMessage({ canvas: offscreen }, [offscreen]);
      this.pings = 0;
      this.waiting = new Map();
      this.worker.addEventListener("message", ({ data }) => {
        this.waiting.get(data)?.();
        this.waiting.delete(data);
      });
    }

    frame(frame) {
      this.worker.postMessage(frame, frame.pictures.map(([, picture]) => picture));
    }

    // The worker takes its messages in order: its answer to this one says it has drawn every
    // frame before it.
    drawn() {
      const ping = ++this.pings;
      return new Promise((done) => {
        this.waiting.set(ping, done);
        this.worker.postMessage({ ping });
      });
    }
  }

  // What changes with every frame, drawn on one canvas stacked at the lowest level of what it
  // draws: the cells' digits and the texts of the live labels (the verdict and the rate). It is
  // clear where it draws nothing, so that what stands lower (the captions "Transmitted" and
  // "Received") shows through, and each picture covers its box, as an element of the window
  // would. The elements stay in the DOM, empty and transparent, for assistive technology and
  // for clicks. A changed element's box is drawn again from cached pictures of every drawn
  // element that meets it, each cut to the box; nothing is laid out again, as the desktop's
  // board paints cached pictures.
  // The pictures are made here, with the page's fonts; where the browser can, a worker draws.
  class Board {
    // items: the cells and the live labels of the description, each with its box, style and
    // level; faceOf(i): the font family item i's element is styled with, asked once per picture.
    constructor(root, items, client, background, level, faceOf) {
      this.items = items;
      this.faceOf = faceOf;
      this.client = client;
      this.background = background;
      this.level = level;
      this.root = root;
      this.shown = items.map(() => null); // [text, colour, shown] as last drawn
      this.dirty = new Set();
      this.nextPicture = 0;
      this.offscreen = typeof OffscreenCanvas === "function";
      // The items whose boxes meet each item's, from the bottom level up: below it and above it,
      // as the page stacks them. An item's own picture covers its box, so only those above it
      // are drawn again over it; where it is hidden, those below it show.
      const order = (i, j) => items[i].level - items[j].level || i - j;
      this.below = items.map(() => []);
      this.above = items.map(() => []);
      // From left to right: only the items that start before one ends can meet it, which spares
      // testing every pair while the page starts.
      const byLeft = items.map((_, i) => i).sort((i, j) => items[i].box[0] - items[j].box[0]);
      byLeft.forEach((i, at) => {
        const [left, top, width, height] = items[i].box;
        for (let next = at + 1; next < byLeft.length && items[byLeft[next]].box[0] < left + width; next++) {
          const j = byLeft[next];
          const other = items[j].box;
          if (other[1] < top + height && top < other[1] + other[3]) {
            const [low, high] = order(i, j) < 0 ? [i, j] : [j, i];
            this.above[low].push(high);
            this.below[high].push(low);
          }
        }
      });
      [...this.below, ...this.above].forEach((list) => list.sort(order));
      // The page draws its first frames: a worker would cost the start-up its time to make.
      // The page hands the drawing over once it has started (useWorker).
      this.workerWanted = typeof Worker === "function" && typeof OffscreenCanvas === "function";
      this.retiring = []; // the canvases shown until a new painter's first frame is
      this.retirement = null; // { promise, done } while some are
      this.start(false);
      // Pictures made before the page's fonts arrived are made again with them.
      document.fonts.ready.then(() => {
        if (this.fontsMissed) {
          this.redrawAll();
        }
      });
    }

    // Hands the drawing to a worker, once, where the browser can.
    useWorker() {
      if (this.workerWanted) {
        this.workerWanted = false;
        this.start(true);
      }
    }

    // A fresh canvas and its painter; a worker that cannot start leaves the drawing here. The
    // new canvas goes below the one shown so far, which stays until the new painter's first
    // frame is on the screen: a worker draws a moment after it starts, and its canvas would
    // leave every cell blank until then. Each picture covers its box and a canvas is clear
    // where it draws nothing, so where the one above draws, nothing of the one below shows.
    start(inWorker) {
      const canvas = document.createElement("canvas");
      canvas.className = "cells";
      canvas.setAttribute("aria-hidden", "true");
      canvas.style.zIndex = String(this.level);
      if (this.canvas) {
        this.canvas.before(canvas);
        this.retiring.push(this.canvas);
      } else {
        this.root.prepend(canvas);
      }
      this.canvas = canvas;
      this.painter = null;
      if (inWorker && typeof canvas.transferControlToOffscreen === "function") {
        try {
          const painter = new WorkerPainter(canvas, () => {
            painter.worker.terminate();
            console.warn("Bitwatch draws without a worker: it did not start");
            this.start(false);
          });
          this.painter = painter;
        } catch (error) {
          console.warn("Bitwatch draws without a worker:", error);
          this.start(false);
          return;
        }
      } else {
        this.painter = new PagePainter(canvas);
      }
      this.ratio = undefined;
      this.sizeGiven = null;
      this.resize();
      this.retireOnceDrawn();
    }

    // The canvases shown before the painter's are taken away once its first frame has reached
    // the screen: at once where the page drew it; where a worker draws, once the worker has
    // drawn it and two of the page's frames have passed for its canvas to be shown. Those left
    // by a worker that failed meanwhile go with the next painter's first frame.
    retireOnceDrawn() {
      if (this.retiring.length === 0) {
        return;
      }
      const painter = this.painter;
      const retire = () => {
        if (this.painter === painter) {
          this.retiring.forEach((canvas) => canvas.remove());
          this.retiring = [];
          this.retirement?.done();
          this.retirement = null;
        }
      };
      if (!this.drawsInWorker()) {
        retire();
        return;
      }
      if (!this.retirement) {
        let done;
        const promise = new Promise((resolve) => (done = resolve));
        this.retirement = { promise, done };
      }
      const nextFrame = () => new Promise((shown) => requestAnimationFrame(shown));
      painter.drawn().then(nextFrame).then(nextFrame).then(retire);
    }

    // The canvas holds device pixels, so that digits are as sharp as the page's text.
    resize() {
      const ratio = window.devicePixelRatio || 1;
      if (ratio === this.ratio) {
        return;
      }
      this.ratio = ratio;
      this.size = [Math.round(this.client[0] * ratio), Math.round(this.client[1] * ratio)];
      this.boxes = this.items.map((item) => item.box.map((v) => Math.round(v * ratio)));
      this.canvas.style.width = `${this.client[0]}px`;
      this.canvas.style.height = `${this.client[1]}px`;
      this.redrawAll();
    }

    redrawAll() {
      this.pictures = new Map(); // a cell's look -> its picture's id
      this.own = new Map(); // a live label -> { id, look }
      this.surfaces = new Map();
      this.fontsMissed = false;
      this.forget = true;
      // A canvas given its size is cleared by that; one that keeps it is cleared here.
      this.ops = this.sizeGiven === this.size ? [0, 0, 0, ...this.size] : [];
      // What is not shown yet is the window below, through the canvas just cleared.
      this.shown.forEach((state, i) => {
        if (state) {
          this.dirty.add(i);
        }
      });
      this.flush();
    }

    drawsInWorker() {
      return this.painter instanceof WorkerPainter;
    }

    // Resolves when every frame so far is on the canvas, and that canvas is the one shown, for
    // what reads its pixels.
    drawn() {
      return Promise.all([this.painter.drawn(), this.retirement?.promise]);
    }

    set(index, text, colour, shown) {
      const was = this.shown[index];
      if (was && was[0] === text && was[1] === colour && was[2] === shown) {
        return;
      }
      this.shown[index] = [text, colour, shown];
      this.dirty.add(index);
    }

    flush() {
      if (this.dirty.size === 0 && !this.ops) {
        return;
      }
      this.newPictures ??= [];
      this.ops ??= [];
      for (const i of this.dirty) {
        const box = this.devicePixels(i);
        const state = this.shown[i];
        if (state && state[2]) {
          this.ops.push(1, this.picture(i, state[0], state[1]), box[0], box[1]);
        } else {
          this.ops.push(0, ...box);
          this.below[i].forEach((j) => this.drawPart(j, box));
        }
        this.above[i].forEach((j) => this.drawPart(j, box));
      }
      this.dirty.clear();
      const size = this.sizeGiven === this.size ? null : this.size;
      this.sizeGiven = this.size;
      this.painter.frame({ size, background: this.background, forget: this.forget, pictures: this.newPictures, ops: this.ops });
      this.forget = false;
      this.newPictures = null;
      this.ops = null;
    }

    // An item's box on the canvas, in whole device pixels: worked out once per pixel ratio, not
    // at every frame.
    devicePixels(i) {
      return this.boxes[i];
    }

    // The part of item j's picture that falls into a box, drawn there: cut by the source
    // rectangle rather than by a clip, which costs a save and a restore.
    drawPart(j, box) {
      const state = this.shown[j];
      if (!state || !state[2]) {
        return;
      }
      const [x, y, w, h] = this.devicePixels(j);
      const left = Math.max(x, box[0]);
      const top = Math.max(y, box[1]);
      const width = Math.min(x + w, box[0] + box[2]) - left;
      const height = Math.min(y + h, box[1] + box[3]) - top;
      if (width > 0 && height > 0) {
        this.ops.push(2, this.picture(j, state[0], state[1]), left - x, top - y, width, height, left, top);
      }
    }

    // An item's picture, by its id: its box in the background colour with its text where the
    // page's text would stand (aligned as its style says, its baseline one ascent below the
    // top). A cell's few looks are each made once; a live label, whose texts are many (the
    // rate), has one picture of its own, put together by the painter from its glyphs' pictures
    // when its look changes.
    picture(index, text, colour) {
      const item = this.items[index];
      const look = `${colour}|${text}`;
      if (item.live) {
        let own = this.own.get(index);
        if (!own) {
          own = { id: this.nextPicture++, look: null };
          this.own.set(index, own);
        }
        if (own.look !== look) {
          own.look = look;
          this.compose(index, own.id, text, colour);
        }
        return own.id;
      }
      // Cells of one size and style share their looks' pictures.
      const key = `${styleKey(item)}|${look}`;
      let id = this.pictures.get(key);
      if (id === undefined) {
        id = this.nextPicture++;
        this.pictures.set(key, id);
        this.newPictures.push([id, this.make(index, text, colour)]);
      }
      return id;
    }

    // A live label's text laid out by the page's font, each glyph where the whole text drawn at
    // once would put it, in whole device pixels; the painter puts the glyphs' pictures
    // together. A glyph moves the next one on by its width and the kerning between the two: the
    // width of the pair less that of the first, measured once per pair, so that the ever new
    // texts of a run's rate cost no measuring of their own.
    compose(index, id, text, colour) {
      const surface = this.surface(index);
      const [, , w, h] = this.boxes[index];
      const align = this.items[index].style.align;
      const glyphs = [...text];
      const lefts = [];
      let left = 0;
      let previous = "";
      for (const glyph of glyphs) {
        lefts.push(left);
        left += this.width(surface, previous + glyph) - this.width(surface, previous);
        previous = glyph;
      }
      const start = surface.at - (align === "left" ? 0 : align === "center" ? 0.5 : 1) * left;
      this.ops.push(3, id, w, h, glyphs.length);
      glyphs.forEach((glyph, k) => {
        const { id: glyphId, origin } = this.glyph(surface, glyph, colour);
        this.ops.push(glyphId, Math.round((start + lefts[k]) * this.ratio) - origin);
      });
    }

    // A text's width in a surface's font, measured once among the last few thousand: a live
    // label asks for its glyphs and their pairs again and again.
    width(surface, text) {
      let width = surface.widths.get(text);
      if (width === undefined) {
        if (surface.widths.size >= 4096) {
          surface.widths.clear();
        }
        width = surface.c.measureText(text).width;
        surface.widths.set(text, width);
      }
      return width;
    }

    // A glyph's picture in a live label's font and a colour, on a clear ground, made once; its
    // origin lies origin device pixels from its left edge.
    glyph(surface, glyph, colour) {
      const { canvas: { height }, c, ascent, font } = surface;
      const key = `${font}|${colour}|${glyph}`;
      let made = this.pictures.get(key);
      if (made === undefined) {
        // The ink's extent from the origin, as a left-aligned text measures it.
        const align = c.textAlign;
        c.textAlign = "left";
        const ink = c.measureText(glyph);
        c.textAlign = align;
        const origin = 1 + Math.ceil(Math.max(0, ink.actualBoundingBoxLeft) * this.ratio);
        const width = origin + Math.ceil(Math.max(0, ink.actualBoundingBoxRight) * this.ratio) + 1;
        const canvas = newSurface(width, height);
        const g = canvas.getContext("2d");
        g.font = c.font;
        g.textBaseline = "alphabetic";
        g.setTransform(this.ratio, 0, 0, this.ratio, 0, 0);
        g.fillStyle = cssColour(colour);
        g.fillText(glyph, origin / this.ratio, ascent);
        this.fontsMissed ||= document.fonts.status !== "loaded";
        made = { id: this.nextPicture++, origin };
        this.pictures.set(key, made);
        this.newPictures.push([made.id, this.offscreen ? canvas.transferToImageBitmap() : canvas]);
      }
      return made;
    }

    // An item's surface, with its font set: what its pictures are drawn on and its texts
    // measured with. Items of one size and style share one, so a new look costs no new canvas.
    surface(index) {
      const item = this.items[index];
      let surface = this.surfaces.get(styleKey(item));
      if (!surface) {
        const width = Math.round(item.box[2] * this.ratio);
        const height = Math.round(item.box[3] * this.ratio);
        const canvas = this.offscreen ? new OffscreenCanvas(width, height) : document.createElement("canvas");
        canvas.width = width;
        canvas.height = height;
        const c = canvas.getContext("2d");
        c.font = `${item.style.points}pt ${this.faceOf(index)}`;
        c.textAlign = item.style.align;
        c.textBaseline = "alphabetic";
        // The ascent does not change with the text: asked once per item.
        const ascent = c.measureText("0").fontBoundingBoxAscent;
        const at = { left: 0, center: item.box[2] / 2, right: item.box[2] }[item.style.align];
        // Glyphs of one font and height share their pictures.
        surface = { canvas, c, ascent, at, font: `${c.font}|${height}`, widths: new Map() };
        // Where a surface cannot hand over its bitmap, each picture is a canvas of its own.
        if (this.offscreen || item.live) {
          this.surfaces.set(styleKey(item), surface);
        }
      }
      return surface;
    }

    // Drawn where the page's fonts are, then handed over as a bitmap where the browser has them.
    make(index, text, colour) {
      const { canvas, c, ascent, at } = this.surface(index);
      this.fontsMissed ||= document.fonts.status !== "loaded";
      c.setTransform(1, 0, 0, 1, 0, 0);
      c.fillStyle = this.background;
      c.fillRect(0, 0, canvas.width, canvas.height);
      c.setTransform(this.ratio, 0, 0, this.ratio, 0, 0);
      c.fillStyle = cssColour(colour);
      c.fillText(text, at, ascent);
      return this.offscreen ? canvas.transferToImageBitmap() : canvas;
    }
  }

  class Page {
    constructor(module, root) {
      this.module = module;
      this.stage = root.parentElement;
      this.session = new module.Session();
      const refusedLink = !this.openLinkInAddress();
      this.description = JSON.parse(module.pageDescription());
      this.root = root;
      this.shown = {}; // the records as last mirrored: each row's, and the companion's channel
      this.mirrors = new Map(); // a record's name -> [the function mirroring element i]
      this.buttons = new Map();
      this.combos = new Map();
      this.timer = { handle: null, restarts: -1, interval: 0 };
      this.frameRequest = null; // what mirrors the timer's ticks: an animation frame or a timeout
      this.lastMirror = -Infinity;
      this.announcePending = false;
      this.quiet = false; // mirroring a run's ticks, with nothing to announce
      this.untold = new Map(); // a drawn element's teller -> what it has yet to tell
      this.toldAt = -Infinity;
      this.failed = false;
      this.closeListsOnOutsidePress();
      this.build();
      this.buildCompanion();
      this.buildShare(refusedLink);
      this.fitToViewport();
      this.sync();
      this.syncCompanion();
      root.setAttribute("aria-busy", "false");
      this.focusTarget(this.description.controls[0].id).focus();
      performance.mark("bitwatch-ready");
      // The drawing goes to a worker once the page has nothing else to do after starting,
      // rather than at the first tick of the first run, whose first frames it would cost
      // (25-40 ms of this thread on a slow machine).
      whenIdle(() => this.board.useWorker());
    }

    // Runs one event through the library and mirrors the outcome: at once for what the user
    // did, at the next frame the screen shows for a tick of the timer, so that a run's ticks
    // between two frames of the screen (100 a second against 60) are mirrored together; what
    // the screen never showed is never drawn. Where a worker draws, that frame is a timeout at
    // the screen's pace rather than an animation frame, which would have the page lay out,
    // paint and hand over a frame of its own every time though only the worker's canvas
    // changed. Should the module ever fail, the page stops and says so once, instead of
    // failing again on every later event.
    run(kind, index, text, atNextFrame = false) {
      if (this.failed) {
        return;
      }
      try {
        this.announcePending = this.session.run(kind, index, wellFormed(text)) || this.announcePending;
        if (!atNextFrame) {
          this.mirrorNow();
          return;
        }
        this.board.useWorker();
        if (this.frameRequest === null) {
          const mirror = () => {
            this.frameRequest = null;
            if (!this.failed) {
              try {
                this.mirrorNow(true);
              } catch (error) {
                this.fail(error);
              }
            }
          };
          this.frameRequest = this.board.drawsInWorker()
            ? setTimeout(mirror, Math.max(0, this.lastMirror + FRAME_MS - performance.now()))
            : requestAnimationFrame(mirror);
        }
      } catch (error) {
        this.fail(error);
      }
    }

    // ofTicks: for a run's ticks, whose drawn elements' states are told to assistive technology
    // at their own pace (TELL_MS) unless a verdict is to be announced.
    mirrorNow(ofTicks = false) {
      this.lastMirror = performance.now();
      this.quiet = ofTicks && !this.announcePending;
      this.sync();
      this.syncCompanion();
      if (this.announcePending) {
        this.announcePending = false;
        this.announce();
      }
    }

    // A link to a frame travels in the address's fragment, which no server sees. Opened, it
    // gives the library the state to rebuild, and the address is shown plain again, so that a
    // reload starts afresh as every launch does. False for a link the library refused.
    openLinkInAddress() {
      const match = /^#frame=(.*)$/s.exec(location.hash);
      if (!match) {
        return true;
      }
      try {
        history.replaceState(null, "", location.href.slice(0, location.href.indexOf("#")));
      } catch {
        // A page in a sandboxed frame may not rewrite its address; the link then stays shown.
      }
      return this.session.open(match[1]);
    }

    // "Copy link" puts on the clipboard an address that opens the window as it stands; where the
    // clipboard is out of reach (a frame that is not allowed it), the address is shown selected.
    buildShare(refusedLink) {
      const button = document.getElementById("copyLink");
      const status = document.getElementById("shareStatus");
      const say = (text) => {
        status.textContent = text;
      };
      if (refusedLink) {
        say("That link to a frame could not be read: Bitwatch starts afresh.");
      }
      button.addEventListener("click", () => {
        if (this.failed) {
          return;
        }
        const link = this.session.link();
        document.getElementById("linkText")?.remove();
        if (link === "") {
          say("The boxes hold more text than a link carries.");
          return;
        }
        const address = `${location.href.split("#")[0]}#frame=${link}`;
        const show = () => {
          const field = document.createElement("input");
          field.id = "linkText";
          field.readOnly = true;
          field.value = address;
          field.setAttribute("aria-label", "Link to this frame");
          status.after(field);
          field.select();
          say("Copy this link:");
        };
        if (!navigator.clipboard) {
          show();
          return;
        }
        navigator.clipboard.writeText(address).then(() => say("Link copied."), show);
      });
    }

    // The panel "Why?" beside the window: the library's explanation of the frame as it stands,
    // after every event but the frames of a fast run or a search (it catches up when they stop).
    buildCompanion() {
      this.companion = {
        panel: document.getElementById("why"),
        body: document.getElementById("whyBody"),
        toggle: document.getElementById("whyToggle"),
        shown: null,
      };
      const { body, toggle } = this.companion;
      this.buildErrorModel();
      toggle.addEventListener("click", () => {
        const open = body.hidden;
        body.hidden = !open;
        toggle.setAttribute("aria-expanded", open ? "true" : "false");
        toggle.textContent = open ? "Hide" : "Show";
        this.syncCompanion();
      });
      // F6 moves between the window and the panel; F1 asks for the panel, as on the desktop.
      document.addEventListener("keydown", (event) => {
        if (event.key !== "F6" && event.key !== "F1") {
          return;
        }
        event.preventDefault();
        const inPanel = this.companion.panel.contains(document.activeElement);
        if (event.key === "F6" && inPanel) {
          this.focusTarget(this.description.controls[0].id).focus();
        } else {
          (body.hidden ? toggle : body).focus();
        }
      });
    }

    // The companion's one control of its own: which channel the frames go through, and its k
    // or L. Both are events for the library; the records say what they now are.
    buildErrorModel() {
      const { names, picked, size } = this.description.errorModels;
      const select = document.getElementById("errorModel");
      const input = document.getElementById("modelSize");
      select.replaceChildren(
        ...names.map((name, i) => {
          const option = document.createElement("option");
          option.value = String(i);
          option.textContent = name;
          return option;
        }),
      );
      select.addEventListener("change", () => this.run(picked, Number(select.value), ""));
      input.addEventListener("input", () => {
        const value = Number(input.value);
        if (input.value !== "" && Number.isInteger(value)) {
          this.run(size, value, "");
        }
      });
      // What was typed beyond the frame, or nothing, gives way to the records when the box is left.
      input.addEventListener("change", () => this.syncErrorModel(this.shown[this.description.errorModels.record], true));
      this.errorModel = { select, input, label: document.getElementById("modelSizeLabel") };
      this.mirror([this.description.errorModels.record], (record) => this.syncErrorModel(record));
    }

    syncErrorModel(record, force = false) {
      const { select, input, label } = this.errorModel;
      const kind = String(record.kind);
      if (select.value !== kind) {
        select.value = kind;
      }
      if (label.textContent !== record.sizeCaption) {
        label.textContent = record.sizeCaption;
      }
      input.max = String(record.frameLength);
      input.disabled = !record.sizeUsed;
      const value = String(Math.min(record.size, record.frameLength));
      if (input.value !== value && (force || document.activeElement !== input)) {
        input.value = value;
      }
    }

    syncCompanion() {
      const { body } = this.companion;
      if (body.hidden || !this.session.companionFollows()) {
        return;
      }
      const html = this.session.companion();
      if (html !== this.companion.shown) {
        this.companion.shown = html;
        body.innerHTML = html; // built by the library, which escapes every text it takes in
      }
    }

    fail(error) {
      this.failed = true;
      if (this.timer.handle !== null) {
        clearInterval(this.timer.handle);
        this.timer.handle = null;
      }
      console.error("Bitwatch stopped:", error);
      const notice = document.createElement("p");
      notice.id = "failureNotice";
      notice.className = "notice";
      notice.setAttribute("role", "alert");
      notice.textContent = "Bitwatch stopped: reload the page";
      this.stage.after(notice);
    }

    build() {
      const d = this.description;
      this.root.style.width = `${d.client[0]}px`;
      this.root.style.height = `${d.client[1]}px`;
      document.documentElement.style.setProperty("--window", cssColour(d.background));
      // The board draws the cells and the live labels; a drawn item's element is asked for its
      // font when its pictures are made.
      const live = d.labels.filter((label) => label.live);
      const items = [...d.cells, ...live];
      const drawnElements = [];
      const lowest = Math.min(...items.map((item) => item.level));
      const faceOf = (i) => getComputedStyle(drawnElements[i]).fontFamily;
      this.board = new Board(this.root, items, d.client, cssColour(d.background), lowest, faceOf);
      for (const label of d.labels) {
        const element = this.buildLabel(label, label.live ? d.cells.length + live.indexOf(label) : -1);
        if (label.live) {
          drawnElements[d.cells.length + live.indexOf(label)] = element;
        }
      }
      // The verdict is read out when the library says an event's verdict is worth saying (after
      // a click, "One", a slow run's frames, the frame a search stopped on), as the desktop's
      // announcer does: a status region beside the window, never seen.
      this.announcer = document.createElement("div");
      this.announcer.className = "announcer";
      this.announcer.setAttribute("role", "status");
      this.announcer.setAttribute("aria-live", "polite");
      this.announcer.setAttribute("aria-atomic", "true");
      this.root.append(this.announcer);
      d.cells.forEach((cell, i) => {
        drawnElements[i] = this.buildCell(cell, i);
      });
      for (const line of d.lines) {
        this.buildLine(line);
      }
      const logo = document.createElement("img");
      logo.id = d.logo.id;
      logo.className = "logo";
      logo.src = this.root.dataset.logo;
      logo.alt = d.logo.name;
      logo.draggable = false;
      place(logo, d.logo.box, d.logo.level);
      logo.style.width = "auto";
      logo.style.height = "auto";
      this.root.append(logo);
      for (const control of d.controls) {
        if (control.press !== undefined) {
          this.buildButton(control);
        } else {
          this.buildCombo(control);
        }
      }
      this.mirror([d.timer], (record) => this.syncTimer(record));
    }

    // A caption keeps its text in its element. A live label's text is drawn on the board
    // (drawn: its place there), and its element holds it inside an empty canvas of its own:
    // a canvas's content is read by assistive technology but never laid out, so a new text at
    // every frame costs no layout.
    buildLabel(label, drawn) {
      const element = document.createElement("div");
      element.id = label.id;
      place(element, label.box, label.level);
      styleText(element, label.style);
      if (label.description) {
        element.setAttribute("aria-description", label.description);
      }
      let holder = element;
      if (drawn >= 0) {
        element.classList.add("drawn");
        const unseen = document.createElement("canvas");
        unseen.width = 0;
        unseen.height = 0;
        unseen.setAttribute("role", "none");
        holder = document.createElement("span");
        unseen.append(holder);
        element.append(unseen);
      }
      // The text changes as the data of one text node, which creates no node per frame.
      const text = document.createTextNode("");
      holder.append(text);
      this.root.append(element);
      const tell = (now) => {
        if (text.data !== now) {
          text.data = now;
        }
      };
      this.mirror(label.record, ([now, colour, shown]) => {
        if (drawn >= 0) {
          this.later(tell, now);
          this.board.set(drawn, now, colour, shown);
        } else {
          tell(now);
          const css = colour === 0 ? "var(--text)" : cssColour(colour);
          if (element.style.color !== css) {
            element.style.color = css;
          }
        }
        if (element.hidden !== !shown) {
          element.hidden = !shown;
        }
      });
      if (label.announced) {
        this.announced = holder;
      }
      return element;
    }

    // What a drawn element tells assistive technology: at once, or with the rest at the next
    // telling of a run (see mirrorNow). tell is made once per element, so that a frame adds
    // nothing to keep.
    later(tell, value) {
      this.untold.set(tell, value);
    }

    tellUntold() {
      const now = performance.now();
      if (this.quiet && now - this.toldAt < TELL_MS) {
        return;
      }
      this.toldAt = now;
      this.untold.forEach((value, tell) => tell(value));
      this.untold.clear();
    }

    // Registers how an element's record, [name] or [name, index], is mirrored when it changes.
    mirror([name, index = 0], show) {
      if (!this.mirrors.has(name)) {
        this.mirrors.set(name, []);
      }
      this.mirrors.get(name)[index] = show;
    }

    // drawn: the cell's place in the description, which is its place on the canvas.
    buildCell(cell, drawn) {
      const element = document.createElement("div");
      element.id = cell.id;
      place(element, cell.box, cell.level);
      styleText(element, cell.style);
      element.classList.add("cell");
      element.setAttribute("role", cell.click === null ? "img" : "button");
      if (cell.click !== null) {
        element.classList.add("clickable");
      }
      element.setAttribute("aria-label", cell.name);
      if (cell.click !== null) {
        const [, index] = cell.record;
        // The second click of a double click does nothing, as on the desktop.
        element.addEventListener("click", (event) => {
          if (event.detail % 2 === 1 || event.detail === 0) {
            this.run(cell.click, index, "");
          }
        });
      }
      this.root.append(element);
      const tell = (state) => {
        if (element.getAttribute("aria-description") !== state) {
          element.setAttribute("aria-description", state);
        }
      };
      this.mirror(cell.record, ([text, colour, shown, differs]) => {
        this.board.set(drawn, text, colour, shown);
        if (element.hidden !== !shown) {
          element.hidden = !shown;
        }
        this.later(tell, cellState(text, differs));
      });
      return element;
    }

    buildLine(line) {
      const svgNs = "http://www.w3.org/2000/svg";
      const margin = Math.ceil(line.width / 2);
      const left = Math.min(line.from[0], line.to[0]) - margin;
      const top = Math.min(line.from[1], line.to[1]) - margin;
      const width = Math.abs(line.to[0] - line.from[0]) + 2 * margin;
      const height = Math.abs(line.to[1] - line.from[1]) + 2 * margin;
      const svg = document.createElementNS(svgNs, "svg");
      svg.id = line.id;
      svg.classList.add("line");
      svg.setAttribute("aria-hidden", "true");
      svg.setAttribute("width", width);
      svg.setAttribute("height", height);
      place(svg, [left, top, width, height], line.level);
      const stroke = document.createElementNS(svgNs, "line");
      stroke.setAttribute("x1", line.from[0] - left);
      stroke.setAttribute("y1", line.from[1] - top);
      stroke.setAttribute("x2", line.to[0] - left);
      stroke.setAttribute("y2", line.to[1] - top);
      stroke.setAttribute("stroke", line.colour === null ? "var(--text)" : cssColour(line.colour));
      stroke.setAttribute("stroke-width", line.width);
      stroke.setAttribute("stroke-linecap", "round");
      svg.append(stroke);
      this.root.append(svg);
      this.mirror(line.record, (shown) => svg.toggleAttribute("hidden", !shown));
    }

    buildButton(control) {
      const button = document.createElement("button");
      button.id = control.id;
      button.type = "button";
      button.className = "push";
      place(button, control.box, this.description.controlLevel);
      button.style.fontSize = `${control.style.points}pt`;
      if (control.name) {
        button.setAttribute("aria-label", control.name);
      }
      // Enter presses a button once however long it is held, as on the desktop.
      button.addEventListener("keydown", (event) => {
        if (event.key === "Enter" && event.repeat) {
          event.preventDefault();
        }
      });
      button.addEventListener("click", () => this.run(control.press, 0, ""));
      this.keepTabInWindow(button);
      this.root.append(button);
      this.buttons.set(control.id, button);
      this.mirror([control.id], (caption) => {
        button.textContent = caption;
      });
    }

    // An editable drop-down: a text field whose every change is an event of its own, and a list
    // of its own (no browser suggestions) whose pick is another.
    buildCombo(control) {
      const box = document.createElement("div");
      box.id = control.id;
      box.className = "combo";
      place(box, control.box, this.description.controlLevel);
      box.style.fontSize = `${control.style.points}pt`;
      const input = document.createElement("input");
      input.type = "text";
      input.autocomplete = "off";
      // The desktop's line edits hold at most this many UTF-16 units; so do these.
      input.maxLength = this.description.textLimit;
      input.spellcheck = false;
      input.setAttribute("autocapitalize", "off");
      input.setAttribute("autocorrect", "off");
      input.setAttribute("role", "combobox");
      input.setAttribute("aria-expanded", "false");
      input.setAttribute("aria-autocomplete", "none");
      const listId = `${control.id}_list`;
      input.setAttribute("aria-controls", listId);
      if (control.labelledBy) {
        input.setAttribute("aria-labelledby", control.labelledBy);
      } else {
        input.setAttribute("aria-label", control.name);
      }
      const drop = document.createElement("button");
      drop.type = "button";
      drop.className = "drop";
      drop.tabIndex = -1;
      drop.setAttribute("aria-label", `${control.name}: list`);
      drop.textContent = "\u25be";
      // The list lives outside the window, which clips what crosses its edges: like the
      // desktop's, it drops over and beyond the window.
      const list = document.createElement("ul");
      list.id = listId;
      list.className = "combo-list";
      list.setAttribute("role", "listbox");
      list.hidden = true;
      box.append(input, drop);
      this.root.append(box);
      document.body.append(list);

      const combo = { element: box, input, list, control, entries: null, active: -1 };
      input.addEventListener("input", () => this.run(control.change, 0, input.value));
      drop.addEventListener("mousedown", (event) => event.preventDefault());
      // A tap opens the list without focusing the text, which would raise a phone's keyboard
      // over it; the mouse focuses the text, as the desktop's drop button does.
      let touched = false;
      drop.addEventListener("pointerdown", (event) => {
        touched = event.pointerType === "touch";
      });
      drop.addEventListener("click", () => {
        this.toggleList(combo, list.hidden);
        if (!touched) {
          input.focus();
        }
      });
      list.addEventListener("mousedown", (event) => event.preventDefault());
      list.addEventListener("click", (event) => {
        const item = event.target.closest("li");
        if (item) {
          this.pick(combo, Number(item.dataset.index));
        }
      });
      input.addEventListener("keydown", (event) => this.comboKey(combo, event));
      input.addEventListener("blur", () => this.toggleList(combo, false));
      this.keepTabInWindow(input);
      this.combos.set(control.id, combo);
      this.mirror([control.id], (record) => this.syncCombo(combo, record));
    }

    toggleList(combo, open) {
      combo.list.hidden = !open;
      this.openCombo = open ? combo : this.openCombo === combo ? null : this.openCombo;
      if (open) {
        this.placeList(combo);
      }
      combo.input.setAttribute("aria-expanded", open ? "true" : "false");
      combo.active = open ? Math.max(0, combo.entries.indexOf(combo.input.value)) : -1;
      this.markActive(combo);
    }

    // Below the box, or above it where only that leaves the whole list in view; as large as the
    // window is drawn.
    placeList(combo) {
      combo.list.style.fontSize = `${combo.control.style.points * this.scale}pt`;
      const box = combo.element.getBoundingClientRect();
      const height = combo.list.getBoundingClientRect().height;
      const above = box.bottom + height > window.innerHeight && box.top >= height;
      combo.list.style.left = `${box.left + window.scrollX}px`;
      combo.list.style.minWidth = `${box.width}px`;
      combo.list.style.top = `${(above ? box.top - height : box.bottom) + window.scrollY}px`;
    }

    // With a list open, a press anywhere else only closes it, as on the desktop: the click that
    // follows reaches nothing.
    closeListsOnOutsidePress() {
      this.openCombo = null;
      this.swallowClick = false;
      document.addEventListener("pointerdown", (event) => {
        this.swallowClick = false;
        const combo = this.openCombo;
        if (combo && !combo.element.contains(event.target) && !combo.list.contains(event.target)) {
          this.toggleList(combo, false);
          this.swallowClick = true;
          event.preventDefault();
        }
      }, true);
      document.addEventListener("click", (event) => {
        if (this.swallowClick) {
          this.swallowClick = false;
          event.stopPropagation();
          event.preventDefault();
        }
      }, true);
      window.addEventListener("resize", () => {
        if (this.openCombo) {
          this.toggleList(this.openCombo, false);
        }
        this.fitToViewport();
      });
    }

    markActive(combo) {
      [...combo.list.children].forEach((item, i) => {
        item.setAttribute("aria-selected", i === combo.active ? "true" : "false");
      });
      const active = combo.list.children[combo.active];
      if (active) {
        combo.input.setAttribute("aria-activedescendant", active.id);
      } else {
        combo.input.removeAttribute("aria-activedescendant");
      }
    }

    // Picking an entry: the library sets the box's text and applies the pick. A box without a
    // pick event (the rate) only takes the entry's text.
    pick(combo, index) {
      this.toggleList(combo, false);
      if (combo.control.pick !== null) {
        this.run(combo.control.pick, index, "");
      } else if (combo.entries[index] !== combo.input.value) {
        this.run(combo.control.change, 0, combo.entries[index]);
      }
    }

    comboKey(combo, event) {
      const open = !combo.list.hidden;
      if (event.key === "ArrowDown" || event.key === "ArrowUp") {
        event.preventDefault();
        if (!open) {
          this.toggleList(combo, true);
          return;
        }
        const step = event.key === "ArrowDown" ? 1 : -1;
        const count = combo.entries.length;
        combo.active = (combo.active + step + count) % count;
        this.markActive(combo);
      } else if (event.key === "Enter" && open && combo.active >= 0) {
        event.preventDefault();
        this.pick(combo, combo.active);
      } else if (event.key === "Escape" && open) {
        event.preventDefault();
        this.toggleList(combo, false);
      }
    }

    // The Tab key cycles through the six controls and back, as it does in the desktop window.
    keepTabInWindow(element) {
      element.addEventListener("keydown", (event) => {
        if (event.key !== "Tab") {
          return;
        }
        const order = this.description.controls.map((control) => this.focusTarget(control.id));
        const here = order.indexOf(element);
        if (here === order.length - 1 && !event.shiftKey) {
          event.preventDefault();
          order[0].focus();
        } else if (here === 0 && event.shiftKey) {
          event.preventDefault();
          order[order.length - 1].focus();
        }
      });
    }

    // The window keeps its size in CSS pixels and is scaled down as a whole where the viewport is
    // narrower than it, and on a touch screen also where it is lower, so that a phone held
    // sideways shows all of it; never up, since browser zoom enlarges it for a projector.
    fitToViewport() {
      this.board.resize();
      const [width, height] = this.description.client;
      const across = document.documentElement.clientWidth / width;
      const down = window.matchMedia("(pointer: coarse)").matches ? document.documentElement.clientHeight / height : 1;
      const scale = Math.min(1, across, down);
      if (scale === this.scale) {
        return;
      }
      this.scale = scale;
      this.root.style.transform = scale === 1 ? "" : `scale(${scale})`;
      this.stage.style.width = `${width * scale}px`;
      this.stage.style.height = `${height * scale}px`;
    }

    focusTarget(id) {
      return this.buttons.get(id) || this.combos.get(id).input;
    }

    // Says the verdict again, even when its text is the one said last.
    announce() {
      const text = this.announced.textContent;
      this.announcer.textContent = this.announcer.textContent === text ? `${text}\u00a0` : text;
    }

    // Brings the DOM up to date with the records: the library tells the elements that changed
    // since the last time, and only those are written.
    sync() {
      for (const [[name, index], value] of JSON.parse(this.session.changes())) {
        if (index === undefined) {
          this.shown[name] = value;
        } else {
          (this.shown[name] ??= [])[index] = value;
        }
        this.mirrors.get(name)?.[index ?? 0]?.(value);
      }
      this.board.flush();
      this.tellUntold();
      // A box's text is its record's even when the event left the record as it was (a text the
      // library wrote otherwise than typed).
      for (const [id, combo] of this.combos) {
        if (combo.input.value !== this.shown[id].text) {
          combo.input.value = this.shown[id].text;
        }
      }
    }

    syncCombo(combo, record) {
      if (combo.entries === null || combo.entries.join("\n") !== record.entries.join("\n")) {
        combo.entries = record.entries.slice();
        combo.list.replaceChildren(
          ...combo.entries.map((entry, i) => {
            const item = document.createElement("li");
            item.id = `${combo.control.id}_item_${i}`;
            item.setAttribute("role", "option");
            item.dataset.index = String(i);
            item.textContent = entry;
            return item;
          }),
        );
      }
      if (combo.input.value !== record.text) {
        combo.input.value = record.text;
      }
    }

    // The real timer follows the record: stopped, or restarted whenever the record says its
    // countdown restarted. setInterval never queues more than one late tick.
    syncTimer(record) {
      if (!record.enabled) {
        if (this.timer.handle !== null) {
          clearInterval(this.timer.handle);
          this.timer.handle = null;
        }
      } else if (this.timer.handle === null || record.restarts !== this.timer.restarts) {
        if (this.timer.handle !== null) {
          clearInterval(this.timer.handle);
        }
        this.timer.handle = setInterval(() => this.run(this.description.tick, 0, "", true), record.interval);
      }
      this.timer.restarts = record.restarts;
    }
  }

  // Served over HTTP(S), the page keeps itself for offline use; the one-file page carries
  // everything and has no manifest.
  function keepForOffline() {
    const served = location.protocol === "https:" || location.protocol === "http:";
    if (served && "serviceWorker" in navigator && document.querySelector('link[rel="manifest"]')) {
      navigator.serviceWorker.register("service-worker.js").catch((error) => {
        console.warn("Bitwatch will not work offline:", error);
      });
    }
  }

  // The fonts are asked for while the module compiles, so that the first pictures find them
  // ready rather than being made once without them and again when they arrive.
  document.fonts.forEach((face) => face.load().catch(() => {}));
  // The one-file page hands over its WebAssembly unpacked; the folder's script carries its own.
  const root = document.getElementById("Form1");
  const options = window.bitwatchWasm ? window.bitwatchWasm.then((wasmBinary) => ({ wasmBinary })) : Promise.resolve({});
  options.then(createBitwatch).then((module) => {
    window.bitwatchPage = new Page(module, root);
    keepForOffline();
  });
})();
