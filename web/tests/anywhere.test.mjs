// The page wherever a lesson happens: the one file alone and offline, inside a course page's
// iframe, on phones and tablets by touch, and served, installed and then offline.
import assert from "node:assert/strict";
import { copyFileSync, mkdtempSync, rmSync, statSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";

import { drawn, launchBrowser, openDemo, records, serveSite, siteDir, typeMode } from "./support.mjs";

const ONE_FILE_LIMIT = 256 * 1024;

let browser;
let dir;
before(async () => {
  browser = await launchBrowser();
  dir = mkdtempSync(path.join(os.tmpdir(), "bitwatch-anywhere-"));
  copyFileSync(path.join(siteDir, "bitwatch.html"), path.join(dir, "bitwatch.html"));
});
after(async () => {
  await browser?.close();
  if (!process.env.BITWATCH_KEEP_SHOTS) {
    rmSync(dir, { recursive: true, force: true });
  } else {
    console.log(`screenshots kept in ${dir}`);
  }
});

async function ready(frame) {
  await frame.waitForFunction(() => document.getElementById("Form1")?.getAttribute("aria-busy") === "false");
}

// Every request a page makes beyond its own file and what it builds in memory.
function watchRequests(page, allowed) {
  const outside = [];
  page.on("request", (request) => {
    if (!allowed(request.url())) {
      outside.push(request.url());
    }
  });
  return outside;
}

const fromItself = (url) => /^(file|data|blob):/.test(url);

// A few events as a user gives them, and the records after each, read through the page.
async function userScript(frame) {
  const seen = [];
  for (const selector of ["#Command1", "#row1_50", "#Command1", "#row1_90", "#row1_10"]) {
    await frame.locator(selector).click();
    seen.push(await frame.evaluate(() => window.bitwatchPage.session.records()));
  }
  return seen;
}

describe("the one file", () => {
  test("fits the size it promises", () => {
    const size = statSync(path.join(siteDir, "bitwatch.html")).size;
    assert.ok(size <= ONE_FILE_LIMIT, `bitwatch.html is ${size} bytes`);
  });

  test("alone in a folder and offline, runs as the folder's page does", async () => {
    const context = await browser.newContext({ viewport: { width: 1000, height: 760 }, offline: true });
    const page = await context.newPage();
    const errors = [];
    page.on("pageerror", (error) => errors.push(error));
    // Its script is shortened by the build: a worker made of the shortened drawing functions
    // that failed would leave the drawing to the page with a warning.
    page.on("console", (message) => ["warning", "error"].includes(message.type()) && errors.push(message.text()));
    const outside = watchRequests(page, fromItself);
    await page.goto(`file://${path.join(dir, "bitwatch.html")}`);
    await ready(page);
    const alone = await userScript(page);
    const folder = await openDemo(browser);
    assert.deepEqual(alone, await userScript(folder), "the same first frames and clicks as the folder's page");
    // Its fonts and logo came with it.
    assert.ok(await page.evaluate(() => document.fonts.check('12pt "Bitwatch Sans"') && document.fonts.check('12pt "Bitwatch Serif"')));
    assert.ok(await page.$eval("#imgTorv", (logo) => logo.complete && logo.naturalWidth > 0));
    await page.click("#Command4");
    await page.click("#Command4");
    await page.waitForFunction(() => JSON.parse(window.bitwatchPage.session.records()).frameCount >= 10);
    await page.click("#Command4");
    assert.equal(await page.textContent("#Command4"), "Start");
    await page.evaluate(() => window.bitwatchPage.board.drawn());
    assert.ok(await page.evaluate(() => window.bitwatchPage.board.drawsInWorker()), "the run was not drawn by the worker");
    assert.deepEqual(outside, []);
    assert.deepEqual(errors, []);
    await folder.close();
    await context.close();
  });

  test("inside an iframe of a course page, takes clicks and keys", async () => {
    writeFileSync(path.join(dir, "course.html"),
      '<!DOCTYPE html><html><body><h1>Lesson 4</h1><iframe src="bitwatch.html" width="1000" height="760" title="Bitwatch"></iframe></body></html>');
    const page = await browser.newPage({ viewport: { width: 1100, height: 900 } });
    const errors = [];
    page.on("pageerror", (error) => errors.push(error));
    await page.goto(`file://${path.join(dir, "course.html")}`);
    const frame = page.frame({ url: /bitwatch\.html$/ });
    await ready(frame);
    await frame.click("#row1_60");
    assert.equal((await frame.evaluate(() => JSON.parse(window.bitwatchPage.session.records()))).row1[60][0], "1");
    await frame.focus("#Command1");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Space");
    const now = await frame.evaluate(() => JSON.parse(window.bitwatchPage.session.records()));
    assert.equal(now.Command4, "Fast", "Tab, Tab and Space pressed Start");
    assert.deepEqual(errors, []);
    await page.close();
  });
});

// Phones and tablets, each way up, and a small laptop, with touch.
const SCREENS = [
  { name: "phone 360 x 740", width: 360, height: 740, scale: 3 },
  { name: "phone 390 x 844", width: 390, height: 844, scale: 3 },
  { name: "phone sideways 844 x 390", width: 844, height: 390, scale: 3, whole: true },
  { name: "tablet 820 x 1180", width: 820, height: 1180, scale: 2 },
  { name: "laptop 1366 x 768", width: 1366, height: 768, scale: 1 },
];

describe("on a touch screen", () => {
  for (const screen of SCREENS) {
    test(screen.name, async () => {
      const context = await browser.newContext({
        viewport: { width: screen.width, height: screen.height },
        deviceScaleFactor: screen.scale,
        isMobile: screen.scale > 1,
        hasTouch: true,
      });
      const page = await context.newPage();
      const errors = [];
      page.on("pageerror", (error) => errors.push(error));
      await page.goto(`file://${path.join(siteDir, "index.html")}`);
      await ready(page);
      const layout = await page.evaluate(() => {
        const window_ = document.getElementById("Form1").getBoundingClientRect();
        const why = document.getElementById("why").getBoundingClientRect();
        return {
          scrollWidth: document.documentElement.scrollWidth,
          clientWidth: document.documentElement.clientWidth,
          innerHeight: window.innerHeight,
          window: [window_.left, window_.top, window_.right, window_.bottom],
          whyTop: why.top,
        };
      });
      assert.ok(layout.scrollWidth <= layout.clientWidth, `the page scrolls sideways: ${JSON.stringify(layout)}`);
      assert.ok(layout.window[2] <= layout.clientWidth + 0.5, `the window is cut off: ${JSON.stringify(layout)}`);
      if (screen.width < 959) {
        assert.ok(layout.whyTop >= layout.window[3] - 0.5, "the panel flows below the window");
      }
      if (screen.whole) {
        assert.ok(layout.window[3] <= layout.innerHeight + 0.5, `the window needs scrolling: ${JSON.stringify(layout)}`);
      }
      // A tap flips a cell exactly once, and a second tap flips it back.
      await page.tap("#row1_60");
      assert.equal((await records(page)).row1[60][0], "1");
      await page.waitForTimeout(600);
      await page.tap("#row1_60");
      assert.equal((await records(page)).row1[60][0], "0");
      await page.tap("#Command1");
      assert.equal((await records(page)).lblResult[0], "No Errors");
      // The list opens by tap, shows every entry, and takes a pick by tap.
      await page.tap("#cmbErrorRate .drop");
      const items = page.locator("#cmbErrorRate_list li");
      for (let i = 0; i < 6; i++) {
        const b = await items.nth(i).boundingBox();
        const onTop = await page.evaluate(([x, y]) => document.elementFromPoint(x, y)?.textContent,
          [b.x + b.width / 2, b.y + b.height / 2]);
        assert.equal(onTop, String(i), `entry ${i} is covered or cut off`);
      }
      await items.nth(3).tap();
      assert.equal((await records(page)).cmbErrorRate.text, "3");
      assert.notEqual(await page.evaluate(() => document.activeElement.tagName), "INPUT", "a tap raised the keyboard");
      // Keys only where there is a keyboard: no F6 hint on a phone or a tablet.
      const hint = await page.evaluate(() => ({
        shown: document.querySelector(".why-hint").getClientRects().length > 0,
        touchOnly: matchMedia("(hover: none) and (pointer: coarse)").matches,
      }));
      if (screen.scale > 1) {
        assert.ok(hint.touchOnly, "the phone or tablet is emulated as a touch-only screen");
      }
      assert.equal(hint.shown, !hint.touchOnly, "the F6 hint");
      // The division fits the panel however narrow: its type shrinks, nothing scrolls.
      await typeMode(page, "CRC-8");
      await page.tap("#row1_60");
      await page.waitForFunction(() => document.querySelector("#whyBody pre.division") !== null);
      const division = await page.evaluate(() => {
        const pre = document.querySelector("#whyBody pre.division");
        const box = pre.getBoundingClientRect();
        return { scrollWidth: pre.scrollWidth, clientWidth: pre.clientWidth, right: box.right,
          pageWidth: document.documentElement.clientWidth, rows: pre.textContent.split("\n").length };
      });
      assert.ok(division.scrollWidth <= division.clientWidth && division.right <= division.pageWidth,
        `the division is wider than the panel: ${JSON.stringify(division)}`);
      await drawn(page);
      await page.screenshot({ path: path.join(dir, `${screen.width}x${screen.height}.png`) });
      assert.deepEqual(errors, []);
      await context.close();
    });
  }
});

describe("served", () => {
  test("offers itself to install, and then works with the server gone", async () => {
    const server = await serveSite();
    const context = await browser.newContext({ viewport: { width: 1000, height: 760 } });
    const page = await context.newPage();
    try {
      await page.goto(server.url);
      await ready(page);
      const manifest = await page.evaluate(async () => {
        const link = document.querySelector('link[rel="manifest"]');
        return (await fetch(link.href)).json();
      });
      assert.equal(manifest.name, "Kelm's Bitwatch Demo");
      assert.ok(manifest.icons.some((icon) => icon.sizes === "256x256"));
      const active = await page.evaluate(() => Promise.race([
        navigator.serviceWorker.ready.then(() => true),
        new Promise((resolve) => setTimeout(() => resolve(false), 10000)),
      ]));
      assert.ok(active, "no service worker took the page within 10 s");
    } finally {
      await server.close();
    }
    await page.reload();
    await ready(page);
    await page.click("#Command1");
    assert.notEqual((await records(page)).row1[0][0], undefined);
    assert.ok(await page.evaluate(() => document.fonts.check('12pt "Bitwatch Sans"')));
    await context.close();
  });
});
