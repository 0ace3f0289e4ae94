// The page and the desktop window, in the same state, drawn side by side: every shown cell's
// digit must stand within 2 pixels of where the desktop draws it, edge for edge.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";

import { PNG } from "pngjs";

import { drawn, launchBrowser, openDemo, records } from "./support.mjs";

const Kind = { ClickData: 0, ClickParity: 1, ClickCheck: 2, ModeTextChanged: 3, RateTextChanged: 5, PressOne: 6 };
const ROLE_COLOURS = [0x008000, 0x00c000, 0x800000, 0xc00000, 0x0000ff];
const TOLERANCE = 2;

let browser;
let dir;
before(async () => {
  browser = await launchBrowser();
  dir = mkdtempSync(path.join(os.tmpdir(), "bitwatch-shots-"));
});
after(async () => {
  await browser?.close();
  rmSync(dir, { recursive: true, force: true });
});

function rgb(bgr) {
  return [bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff];
}

function distance(a, b) {
  return Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The bounding box of the pixels drawn in the cell's colour within its box: closer to that
// colour than to the background and to every other colour role, and well away from the
// background (so that faint edge blending does not count).
function inkBox(image, box, colour, background) {
  const target = rgb(colour);
  const others = ROLE_COLOURS.filter((role) => role !== colour).map(rgb);
  let left = Infinity;
  let top = Infinity;
  let right = -Infinity;
  let bottom = -Infinity;
  for (let y = box[1]; y < box[1] + box[3]; y++) {
    for (let x = box[0]; x < box[0] + box[2]; x++) {
      const at = (y * image.width + x) * 4;
      const pixel = [image.data[at], image.data[at + 1], image.data[at + 2]];
      const toTarget = distance(pixel, target);
      if (distance(pixel, background) < 0.5 * distance(target, background)) {
        continue;
      }
      if (toTarget > distance(pixel, background) || others.some((other) => distance(pixel, other) < toTarget)) {
        continue;
      }
      left = Math.min(left, x);
      top = Math.min(top, y);
      right = Math.max(right, x);
      bottom = Math.max(bottom, y);
    }
  }
  return left === Infinity ? null : [left, top, right, bottom];
}

async function compare(name, events) {
  const renderer = process.env.BITWATCH_RENDER_WINDOW;
  assert.ok(renderer, "set BITWATCH_RENDER_WINDOW to the native bitwatch_render_window");
  const script = path.join(dir, `${name}.txt`);
  writeFileSync(script, events.map(([k, i, t]) => `${k} ${i} ${Buffer.from(t).toString("hex")}`).join("\n") + "\n");
  const desktopFile = path.join(dir, `${name}-desktop.png`);
  execFileSync(renderer, [script, desktopFile], { stdio: ["ignore", "ignore", "pipe"] });
  const desktop = PNG.sync.read(readFileSync(desktopFile));

  const page = await openDemo(browser);
  await page.evaluate((list) => {
    for (const [kind, index, text] of list) {
      window.bitwatchPage.run(kind, index, text);
    }
    document.activeElement.blur();
  }, events);
  const form = await page.locator("#Form1").boundingBox();
  await drawn(page);
  const shot = await page.screenshot({ clip: { x: form.x, y: form.y, width: 959, height: 698 } });
  writeFileSync(path.join(dir, `${name}-page.png`), shot);
  const web = PNG.sync.read(shot);
  const state = await records(page);
  const description = await page.evaluate(() => window.bitwatchPage.description);
  await page.close();

  const background = [desktop.data[0], desktop.data[1], desktop.data[2]];
  let compared = 0;
  const misplaced = [];
  let largest = 0;
  for (const cell of description.cells) {
    const [array, index] = cell.record;
    const [text, colour, shown] = state[array][index];
    if (!shown) {
      continue;
    }
    const expected = inkBox(desktop, cell.box, colour, background);
    const actual = inkBox(web, cell.box, colour, background);
    assert.ok(expected, `${cell.id} ("${text}") has no ink on the desktop`);
    assert.ok(actual, `${cell.id} ("${text}") has no ink on the page`);
    const off = expected.map((edge, i) => Math.abs(edge - actual[i]));
    largest = Math.max(largest, ...off);
    if (Math.max(...off) > TOLERANCE) {
      misplaced.push(`${cell.id} "${text}": desktop ${expected}, page ${actual}`);
    }
    compared++;
  }
  assert.deepEqual(misplaced, [], `digits more than ${TOLERANCE} px from the desktop's (see ${dir})`);
  console.log(`# ${name}: ${compared} cells compared, largest edge offset ${largest} px`);
  // Every label the desktop shows is seen on the page too, where the desktop draws it: none
  // hidden under what is drawn at a higher level.
  const labelOffsets = [];
  for (const label of description.labels) {
    const [text, colour, shown] = label.record.length === 1 ? state[label.record[0]] : state[label.record[0]][label.record[1]];
    if (!shown || text.trim() === "") {
      continue;
    }
    const expected = inkBox(desktop, label.box, colour, background);
    const actual = inkBox(web, label.box, colour, background);
    assert.ok(expected, `${label.id} ("${text}") has no ink on the desktop`);
    assert.ok(actual, `${label.id} ("${text}") has no ink on the page`);
    const off = Math.max(...expected.map((edge, i) => Math.abs(edge - actual[i])));
    labelOffsets.push(`${label.id} ${off}`);
    if (off > TOLERANCE) {
      misplaced.push(`${label.id} "${text}": desktop ${expected}, page ${actual}`);
    }
  }
  assert.deepEqual(misplaced, [], `labels more than ${TOLERANCE} px from the desktop's (see ${dir})`);
  console.log(`# ${name}: labels' largest edge offsets: ${labelOffsets.join(", ")}`);
  return compared;
}

test("data and check cells stand where the desktop draws them", async () => {
  const events = [
    [Kind.ModeTextChanged, 0, "CRC-8"], [Kind.RateTextChanged, 0, "8"], [Kind.PressOne, 0, ""],
    [Kind.ClickData, 50, ""], [Kind.ClickCheck, 6, ""],
  ];
  const compared = await compare("crc", events);
  assert.equal(compared, 96 + 16);
});

test("parity cells stand where the desktop draws them", async () => {
  const events = [[Kind.ModeTextChanged, 0, "Parity 1"], [Kind.RateTextChanged, 0, "10"], [Kind.PressOne, 0, ""]];
  const compared = await compare("parity", events);
  assert.equal(compared, 96 + 96);
});
