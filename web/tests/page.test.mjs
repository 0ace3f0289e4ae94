// The page in Debian's Chromium, driven as a user drives it: clicks on cells, mode names typed
// key by key, picks from the lists, the buttons by mouse and keyboard, and what the page then
// shows (texts, computed colours, positions, names for assistive technology).
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { drawn, launchBrowser, openDemo, pageUrl, records, serveSite, typeMode } from "./support.mjs";

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

async function box(page, id) {
  return page.locator(`#${CSS.escape(id)}`).boundingBox();
}

const CSS = { escape: (id) => id.replace(/([^a-zA-Z0-9_-])/g, "\\$1") };

async function typeRate(page, text) {
  const input = page.locator("#cmbErrorRate input");
  await input.fill("");
  await input.pressSequentially(text);
}

// Cells' and live labels' colours as drawn, from one screenshot: the pixel of each one's box
// farthest from the background, which is the text's own colour inside its strokes. Other
// elements give their text colour.
async function colours(page, ids) {
  await drawn(page);
  const shot = (await page.screenshot()).toString("base64");
  return page.evaluate(async ([png, ids]) => {
    const image = new Image();
    image.src = `data:image/png;base64,${png}`;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    return ids.map((id) => {
      const element = document.getElementById(id);
      if (!element.classList.contains("cell") && !element.classList.contains("drawn")) {
        return getComputedStyle(element).color;
      }
      const box = element.getBoundingClientRect();
      const data = context.getImageData(...[box.x, box.y, box.width, box.height].map(Math.round)).data;
      const back = [data[0], data[1], data[2]];
      let best = back;
      let far = -1;
      for (let i = 0; i < data.length; i += 4) {
        const d = Math.abs(data[i] - back[0]) + Math.abs(data[i + 1] - back[1]) + Math.abs(data[i + 2] - back[2]);
        if (d > far) {
          far = d;
          best = [data[i], data[i + 1], data[i + 2]];
        }
      }
      return `rgb(${best.join(", ")})`;
    });
  }, [shot, ids]);
}

async function colour(page, id) {
  return (await colours(page, [id]))[0];
}

async function textOf(page, id) {
  // A cell shows its digit on the canvas; its element says it to assistive technology.
  return page.$eval(`#${CSS.escape(id)}`, (element) => element.classList.contains("cell") ? element.getAttribute("aria-description").split(",")[0] : element.textContent);
}

async function visible(page, id) {
  return page.locator(`#${CSS.escape(id)}`).isVisible();
}

// A click where a user would click: at a point of the page, on whatever lies on top there.
async function clickAt(page, x, y) {
  await page.mouse.click(x, y);
}

async function origin(page) {
  const window = await box(page, "Form1");
  return [window.x, window.y];
}

describe("the page", () => {
  test("starts as the window does after start-up", async () => {
    const page = await openDemo(browser);
    assert.equal(await page.title(), "Kelm's Bitwatch Demo");
    // The fonts were asked for early enough that no first picture had to be made without them
    // (and the whole board drawn again once they came).
    assert.equal(await page.evaluate(() => window.bitwatchPage.board.fontsMissed), false, "pictures made before the fonts came");
    const window = await box(page, "Form1");
    assert.deepEqual([window.width, window.height], [959, 698]);
    const drawn = await colours(page, [...Array(96).keys()].map((i) => `row1_${i}`));
    for (let i = 0; i < 96; i++) {
      assert.equal(await textOf(page, `row1_${i}`), "0");
      assert.equal(drawn[i], i < 48 ? "rgb(0, 128, 0)" : "rgb(0, 0, 128)");
      assert.equal(await visible(page, `parity_${i}`), false, `parity_${i}`);
    }
    for (let j = 0; j < 8; j++) {
      assert.equal(await visible(page, `sum1_${j}`), false);
      assert.equal(await visible(page, `sum2_${j}`), false);
    }
    assert.equal(await visible(page, "Line1_0"), true);
    assert.equal(await textOf(page, "lblResult"), "No Errors");
    assert.equal(await colour(page, "lblResult"), "rgb(128, 0, 0)");
    assert.equal(await textOf(page, "lblUER"), "0.00");
    for (const [id, caption] of [["Command1", "One"], ["Command3", "Reset"], ["Command4", "Start"], ["Command2", "Find UE"]]) {
      assert.equal(await textOf(page, id), caption);
    }
    assert.equal(await page.inputValue("#cmbErrorRate input"), "1");
    assert.equal(await page.inputValue("#cmbMode input"), "None");
    assert.equal(await page.evaluate(() => document.activeElement.id), "Command1");
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test("places every control at its box in pixels", async () => {
    const page = await openDemo(browser);
    await typeMode(page, "Parity 1");
    const [x0, y0] = await origin(page);
    const expected = {
      row1_0: [20, 52, 37, 65], row1_47: [384, 392, 37, 65], row1_48: [508, 52, 37, 65],
      parity_0: [52, 84, 25, 49], parity_23: [420, 220, 25, 49], parity_31: [420, 288, 25, 49],
      parity_39: [416, 356, 25, 49], parity_95: [904, 424, 25, 49],
      Command1: [24, 544, 73, 33], Command3: [100, 544, 85, 33], Command4: [192, 544, 101, 33],
      Command2: [300, 544, 125, 33], cmbErrorRate: [188, 584, 133, 37], cmbMode: [360, 8, 213, 40],
      lblResult: [512, 548, 397, 53], lblUER: [756, 612, 81, 33], imgTorv: [24, 636, 300, 48],
    };
    for (const [id, [left, top, width, height]] of Object.entries(expected)) {
      const b = await box(page, id);
      assert.deepEqual([b.x - x0, b.y - y0, b.width, b.height], [left, top, width, height], id);
    }
    await typeMode(page, "CRC-8");
    for (const [id, place] of [["sum1_0", [20, 472, 37, 61]], ["sum2_7", [872, 472, 37, 61]]]) {
      const b = await box(page, id);
      assert.deepEqual([b.x - x0, b.y - y0, b.width, b.height], place, id);
    }
    await page.close();
  });

  test("flips cells by click, once for a double click, and recolours them", async () => {
    const page = await openDemo(browser);
    await page.click("#row1_50");
    assert.equal(await textOf(page, "row1_50"), "1");
    assert.equal(await colour(page, "row1_50"), "rgb(255, 0, 0)");
    assert.equal(await textOf(page, "lblResult"), "Undetected Errors");
    await page.click("#row1_3");
    assert.equal(await textOf(page, "row1_3"), "1");
    assert.equal(await textOf(page, "row1_51"), "1");
    assert.equal(await colour(page, "row1_51"), "rgb(0, 0, 128)");
    await page.dblclick("#row1_60");
    assert.equal(await textOf(page, "row1_60"), "1", "a double click flips once");
    await page.close();
  });

  // Where no worker can take the canvas (none at all, one that cannot be made, one whose
  // script fails to start after the canvas went to it), the page draws the frames itself.
  for (const [name, noWorker] of [
    ["without workers", () => { delete window.Worker; }],
    ["when a worker cannot be made", () => { window.Worker = class { constructor() { throw new Error("refused"); } }; }],
    ["when a worker fails to start", () => {
      window.Worker = class extends EventTarget {
        constructor() {
          super();
          setTimeout(() => this.dispatchEvent(new Event("error")), 100);
        }
        postMessage() {}
        terminate() {}
      };
    }],
  ]) {
    test(`draws the frames itself ${name}`, async () => {
      const page = await browser.newPage({ viewport: { width: 1000, height: 760 }, deviceScaleFactor: 1 });
      await page.addInitScript(noWorker);
      await page.goto(pageUrl());
      await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
      // The page tries to hand the drawing over once it has started; it must end drawing on
      // one canvas of its own.
      await page.waitForFunction(() => {
        const board = window.bitwatchPage.board;
        return !board.workerWanted && board.painter.constructor.name === "PagePainter" && document.querySelectorAll("canvas.cells").length === 1;
      });
      await page.click("#row1_50");
      assert.deepEqual(await colours(page, ["row1_50", "row1_51", "lblResult"]), ["rgb(255, 0, 0)", "rgb(0, 0, 128)", "rgb(128, 0, 0)"]);
      await page.close();
    });
  }

  // The page hands the drawing to a worker once it has started, before any run. A worker's
  // canvas is blank until its first frame: the canvas shown so far must stay until then, and go
  // after it. Screenshots while the drawing changes hands (here to a second worker) must all be
  // alike.
  test("hands the drawing to a worker once started, without a blank frame", async () => {
    const page = await openDemo(browser);
    await page.waitForFunction(() => window.bitwatchPage.board.drawsInWorker());
    await page.click("#row1_50");
    await drawn(page);
    const area = { x: 0, y: 0, width: 959, height: 698 };
    const before = await page.screenshot({ clip: area });
    await page.evaluate(() => {
      const board = window.bitwatchPage.board;
      board.workerWanted = true;
      board.useWorker();
    });
    for (let shot = 0; shot < 4; shot++) {
      assert.ok(before.equals(await page.screenshot({ clip: area })), `screenshot ${shot} after the handover differs`);
    }
    await drawn(page);
    assert.ok(before.equals(await page.screenshot({ clip: area })), "the worker's frame differs from the page's");
    assert.deepEqual(
      await page.evaluate(() => [window.bitwatchPage.board.drawsInWorker(), document.querySelectorAll("canvas.cells").length]),
      [true, 1],
    );
    await page.close();
  });

  // A live label's text is put together from glyph pictures at whole device pixels; it must
  // stand where the same text drawn whole would, with as much ink, at any pixel ratio.
  test("puts a live label's texts together where drawing them whole puts them", async () => {
    const texts = [["lblUER", " 33.33"], ["lblUER", "0.05"], ["lblUER", " 100"], ["lblResult", "Undetected Errors"],
      ["lblResult", "Errors Detected"]];
    const misplaced = [];
    for (const ratio of [1, 2, 2.625, 3]) {
      const page = await browser.newPage({ viewport: { width: 1000, height: 760 }, deviceScaleFactor: ratio });
      // The page paints here, so that its composed pictures can be read; a worker runs the same
      // paint().
      await page.addInitScript(() => {
        delete window.Worker;
      });
      await page.goto(pageUrl());
      await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
      const rows = await page.evaluate((texts) => {
        const board = window.bitwatchPage.board;
        // The ink's box and amount on a picture: what differs from its corner, the background.
        const ink = (canvas) => {
          const { data, width, height } = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
          let [left, top, right, bottom, amount] = [width, height, -1, -1, 0];
          for (let y = 0; y < height; y++) {
            for (let x = 0; x < width; x++) {
              const at = 4 * (y * width + x);
              const off = Math.abs(data[at] - data[0]) + Math.abs(data[at + 1] - data[1]) + Math.abs(data[at + 2] - data[2]);
              if (off > 60) {
                [left, top, right, bottom] = [Math.min(left, x), Math.min(top, y), Math.max(right, x), Math.max(bottom, y)];
              }
              amount += off;
            }
          }
          return { box: [left, top, right, bottom], amount };
        };
        return texts.map(([id, text]) => {
          const index = board.items.findIndex((item) => item.id === id);
          board.set(index, text, 0x000080, true);
          board.flush();
          const composed = board.painter.pictures.get(board.own.get(index).id);
          const { c, at, ascent } = board.surface(index);
          const whole = new OffscreenCanvas(composed.width, composed.height);
          const w = whole.getContext("2d");
          w.fillStyle = board.background;
          w.fillRect(0, 0, whole.width, whole.height);
          w.setTransform(board.ratio, 0, 0, board.ratio, 0, 0);
          w.font = c.font;
          w.textAlign = c.textAlign;
          w.fillStyle = "rgb(128, 0, 0)";
          w.fillText(text, at, ascent);
          return { id, text, composed: ink(composed), whole: ink(whole) };
        });
      }, texts);
      for (const { id, text, composed, whole } of rows) {
        const off = Math.max(...composed.box.map((edge, i) => Math.abs(edge - whole.box[i])));
        const amount = Math.abs(composed.amount - whole.amount) / whole.amount;
        if (whole.box[2] < 0 || off > 1 || amount > 0.05) {
          misplaced.push(`at ${ratio}, ${id} "${text}": ink ${composed.box} against ${whole.box}, amount off by ${(100 * amount).toFixed(1)} %`);
        }
      }
      await page.close();
    }
    assert.deepEqual(misplaced, []);
  });

  test("lets a click through a hidden cell to what lies beneath", async () => {
    const page = await openDemo(browser);
    await typeMode(page, "Parity 1");
    const [x0, y0] = await origin(page);
    // parity_48 covers the right edge of row1_48 (x 508..545) from x 540 on, y 84..116.
    await clickAt(page, x0 + 542, y0 + 100);
    let now = await records(page);
    assert.equal(now.parity[48][0], "1", "the shown parity cell takes the strip");
    assert.equal(now.row1[48][0], "0");
    await typeMode(page, "Parity 2");
    await clickAt(page, x0 + 542, y0 + 100);
    now = await records(page);
    assert.equal(now.parity[48][2], 0);
    assert.equal(now.row1[48][0], "1", "with parity_48 hidden the data cell takes it");
    // The arrow takes no click: the cell below it does not exist here, the background does.
    await clickAt(page, x0 + 470, y0 + 264);
    assert.deepEqual((await records(page)).row1, now.row1);
    await page.close();
  });

  test("applies each mode typed key by key and each mode picked from the list", async () => {
    const page = await openDemo(browser);
    const input = page.locator("#cmbMode input");
    await input.fill("");
    const seen = [];
    for (const key of "Parity 48") {
      await input.press(key === " " ? "Space" : key);
      const now = await records(page);
      seen.push(`${now.codeMode}/${now.groupSize}`);
    }
    assert.deepEqual(seen.slice(-2), ["1/4", "1/48"], "typing passes through Parity 4");
    assert.equal(await visible(page, "parity_47"), true);
    assert.equal(await visible(page, "parity_46"), false);
    assert.equal(await visible(page, "Line1_0"), false);
    await page.click("#row1_70");
    await page.click("#cmbMode .drop");
    const items = await page.$$eval("#cmbMode_list li", (list) => list.map((item) => item.textContent));
    assert.deepEqual(items, ["Parity 48", "Parity 6V", "Parity 6", "Parity 2", "Parity 1", "Checksum", "Internet", "CRC-8"]);
    await page.click("#cmbMode_list li >> text=Internet");
    assert.equal(await page.inputValue("#cmbMode input"), "Internet");
    const now = await records(page);
    assert.equal(now.codeMode, 4);
    assert.equal(now.row1[70][0], "0", "the pick reset the frame");
    assert.equal(await textOf(page, "sum2_0"), "1");
    assert.equal(await page.$eval("#cmbMode input", (element) => element.getAttribute("autocomplete")), "off");
    assert.equal(await page.$$eval("datalist", (lists) => lists.length), 0);
    await page.close();
  });

  test("shows every entry of both lists, and a press outside an open list only closes it", async () => {
    const page = await openDemo(browser);
    await page.click("#cmbErrorRate .drop");
    const items = page.locator("#cmbErrorRate_list li");
    assert.equal(await items.count(), 6);
    for (let i = 0; i < 6; i++) {
      const item = items.nth(i);
      assert.ok(await item.isVisible(), `entry ${i}`);
      // Whatever stands on top at the entry's middle is the entry: nothing cuts it off.
      const b = await item.boundingBox();
      const onTop = await page.evaluate(([x, y]) => document.elementFromPoint(x, y)?.textContent, [b.x + b.width / 2, b.y + b.height / 2]);
      assert.equal(onTop, String(i), `entry ${i} is covered or cut off`);
    }
    await items.nth(5).click();
    assert.equal((await records(page)).cmbErrorRate.text, "5");

    await page.click("#cmbMode .drop");
    assert.ok(await page.locator("#cmbMode_list").isVisible());
    await page.click("#row1_60");
    assert.equal(await page.locator("#cmbMode_list").isVisible(), false, "the list stayed open");
    assert.equal((await records(page)).row1[60][0], "0", "the click that closed the list flipped a cell");
    await page.click("#row1_60");
    assert.equal((await records(page)).row1[60][0], "1");
    assert.equal(await page.$eval("#row1_60", (element) => getComputedStyle(element).cursor), "pointer");
    assert.equal(await page.$eval("#sum1_0", (element) => getComputedStyle(element).cursor), "default");
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test("runs slow, fast and stopped with a real timer, and finds an undetected error", async () => {
    const page = await openDemo(browser);
    await page.click("#Command4");
    assert.equal(await textOf(page, "Command4"), "Fast");
    assert.equal((await records(page)).frameCount, 1);
    await page.click("#Command4");
    assert.equal(await textOf(page, "Command4"), "Stop");
    await page.waitForFunction(() => JSON.parse(window.bitwatchPage.session.records()).frameCount >= 5, null, { timeout: 5000 });
    // A frame's new digits, verdict and rate are drawn without laying out the page, once the
    // run's start (its caption, the canvas handed to a worker) has been laid out.
    const client = await page.context().newCDPSession(page);
    await client.send("Performance.enable");
    const layouts = async () => (await client.send("Performance.getMetrics")).metrics.find((m) => m.name === "LayoutCount").value;
    // What arrives late on a loaded machine (the fonts, the logo's picture) may lay the page out
    // once more; a frame that laid it out would do so at every one of the 20.
    await page.evaluate(async () => {
      await document.fonts.ready;
      await Promise.all([...document.images].map((image) => image.decode().catch(() => {})));
      await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    });
    const before = await layouts();
    const now = (await records(page)).frameCount;
    await page.waitForFunction((n) => JSON.parse(window.bitwatchPage.session.records()).frameCount >= n + 20, now, { timeout: 5000 });
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.ok(await layouts() - before <= 2, "a fast run's frames lay the page out");
    // What the cells and the rate tell a screen reader keeps up with the run a few times a
    // second, not at every frame, and is all told the moment the run stops.
    const tellings = await page.evaluate(() => new Promise((done) => {
      let count = 0;
      const observer = new MutationObserver(() => count++);
      observer.observe(document.getElementById("Form1"), { subtree: true, attributeFilter: ["aria-description"], characterData: true });
      setTimeout(() => {
        observer.disconnect();
        done(count);
      }, 1000);
    }));
    assert.ok(tellings >= 2 && tellings <= 6, `told ${tellings} times in a second of a fast run`);
    await page.click("#Command4");
    assert.equal(await textOf(page, "Command4"), "Start");
    assert.equal(await textOf(page, "lblUER"), (await records(page)).lblUER[0]);
    const untold = await page.evaluate(() => {
      const state = JSON.parse(window.bitwatchPage.session.records());
      return window.bitwatchPage.description.cells.filter(({ id, record: [name, index] }) => {
        const [text, , , differs] = state[name][index];
        return document.getElementById(id).getAttribute("aria-description") !== (differs ? `${text}, differs from transmitted` : text);
      }).map(({ id }) => id);
    });
    assert.deepEqual(untold, [], "cells that say another state than their records");
    const frames = (await records(page)).frameCount;
    await page.waitForTimeout(100);
    assert.equal((await records(page)).frameCount, frames, "a stopped run sends nothing");

    await typeMode(page, "Parity 48");
    await typeRate(page, "5");
    await page.click("#Command2");
    await page.waitForFunction(() => document.getElementById("Command4").textContent === "Start", null, { timeout: 10000 });
    assert.equal(await textOf(page, "lblResult"), "Undetected Errors");
    assert.equal((await records(page)).undetectedCount, 1);
    await page.close();
  });

  test("sends one uncounted frame with One", async () => {
    const page = await openDemo(browser);
    await typeRate(page, "100");
    await typeMode(page, "Checksum");
    await page.click("#Command1");
    assert.equal(await textOf(page, "lblResult"), "Errors Detected");
    assert.equal(await textOf(page, "lblUER"), "0.00");
    assert.equal((await records(page)).frameCount, 0);
    await page.close();
  });

  test("cycles the focus with Tab and presses buttons with Space and Enter", async () => {
    const page = await openDemo(browser);
    const order = [];
    for (let step = 0; step < 7; step++) {
      order.push(await page.evaluate(() => document.activeElement.closest("[id]").id));
      await page.keyboard.press("Tab");
    }
    assert.deepEqual(order, ["Command1", "Command3", "Command4", "cmbErrorRate", "Command2", "cmbMode", "Command1"]);
    await page.focus("#Command4");
    await page.keyboard.press("Space");
    assert.equal(await textOf(page, "Command4"), "Fast");
    await page.keyboard.press("Enter");
    assert.equal(await textOf(page, "Command4"), "Stop");
    await page.focus("#Command3");
    await page.keyboard.press("Enter");
    assert.equal(await textOf(page, "Command4"), "Start");
    await page.close();
  });

  test("keeps its layout and its grey under any window size and colour scheme, scaled down to fit", async () => {
    const page = await openDemo(browser, undefined, { width: 400, height: 300 });
    await page.emulateMedia({ colorScheme: "dark" });
    // Positions within the page, whatever it is scrolled to.
    const place = (id) => page.$eval(`#${id}`, (element) => {
      const r = element.getBoundingClientRect();
      return [r.left + window.scrollX, r.top + window.scrollY, r.width, r.height];
    });
    // Narrower than the window: drawn smaller as a whole, and nothing scrolls sideways.
    const narrow = await page.evaluate(() => [document.documentElement.clientWidth, document.documentElement.scrollWidth]);
    const scale = narrow[0] / 959;
    const small = await place("row1_95");
    assert.ok(Math.abs(small[2] - 37 * scale) < 0.01 && Math.abs(small[3] - 65 * scale) < 0.01, `row1_95 is ${small}`);
    assert.ok(narrow[1] <= narrow[0], `the page scrolls sideways: ${narrow}`);
    // Never enlarged: wide enough, the window is drawn at its size, pixel for pixel.
    await page.setViewportSize({ width: 1400, height: 900 });
    // The page fits itself at the resize event, which may come after the new size.
    await page.waitForFunction(() => window.bitwatchPage.scale === 1);
    const large = await place("row1_95");
    assert.deepEqual(large.slice(2), [37, 65]);
    await page.setViewportSize({ width: 1000, height: 300 });
    assert.deepEqual(await place("row1_95"), large, "a low window is not scaled without touch");
    const background = await page.$eval("#Form1", (element) => getComputedStyle(element).backgroundColor);
    assert.equal(background, "rgb(239, 239, 239)");
    await page.close();
  });

  test("names every control and says each cell's state", async () => {
    const page = await openDemo(browser);
    const attribute = (id, name) => page.$eval(`#${CSS.escape(id)}`, (element, n) => element.getAttribute(n), name);
    assert.equal(await attribute("row1_48", "aria-label"), "Received data bit 0 of byte 0");
    assert.equal(await attribute("row1_48", "aria-description"), "0");
    await page.click("#row1_48");
    assert.equal(await attribute("row1_48", "aria-description"), "1, differs from transmitted");
    assert.equal(await attribute("row1_0", "aria-description"), "0");
    // Each button's name starts with the caption a user sees (and a speech-input user says).
    for (const [id, caption] of [["Command1", "One"], ["Command2", "Find UE"], ["Command3", "Reset"]]) {
      const name = await attribute(id, "aria-label");
      assert.ok(name.startsWith(caption), `${id} is named ${name}`);
      assert.equal(await page.getByRole("button", { name: caption }).count(), 1, caption);
    }
    // The verdict is said when the library says so: after the click, then not at each frame of a
    // fast run (a repeated verdict is said again with a trailing no-break space).
    const status = page.locator("#Form1").getByRole("status");
    assert.equal(await status.textContent(), await page.textContent("#lblResult"));
    await page.click("#Command4");
    await page.click("#Command4");
    await status.evaluate((element) => { element.textContent = ""; });
    const frames = () => page.evaluate(() => JSON.parse(window.bitwatchPage.session.records()).frameCount);
    const first = await frames();
    await page.waitForFunction((n) => JSON.parse(window.bitwatchPage.session.records()).frameCount >= n + 10, first);
    assert.equal(await status.textContent(), "", "a fast run's frames are not read out");
    await page.click("#Command4");
    // The names a screen reader computes, by the browser's own rules.
    assert.equal(await page.getByRole("combobox", { name: "Bit Error Rate", exact: true }).count(), 1);
    assert.equal(await page.getByRole("combobox", { name: "Code mode", exact: true }).count(), 1);
    assert.equal(await page.getByRole("button", { name: "Start", exact: true }).count(), 1);
    assert.equal(await page.getByRole("button", { name: "Received check bit 0", exact: true }).count(), 0,
      "hidden cells are not offered");
    await page.close();
  });

  test("works the same when served over http", async () => {
    const server = await serveSite();
    try {
      const page = await openDemo(browser, server.url);
      // The page names an icon that is there, so the browser's request for one finds it.
      const icon = await page.evaluate(async () => {
        const link = document.querySelector('link[rel="icon"]');
        return link ? (await fetch(link.href)).status : "no icon named";
      });
      assert.equal(icon, 200);
      await page.click("#row1_52");
      assert.equal(await textOf(page, "lblResult"), "Undetected Errors");
      assert.deepEqual(page.errors, []);
      await page.close();
    } finally {
      await server.close();
    }
  });
});
