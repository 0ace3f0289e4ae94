// Measures the page in headless Chromium (a benchmark to run by hand, not a test): the frames
// per second of a fast run and the main thread's busy share during it, the bytes the page
// transfers (without and with the fonts) and the time until it is usable, and the one-file page's
// size and time until usable, opened from disk. Beside the start-up times stand two floors of
// this machine's browser, served the same way: a page of one paragraph and one script, and a
// page that only creates the library's module; no page of this design starts faster than them.
// Start-up times vary from load to load on a busy machine: each is the median of seven loads,
// with the fastest and slowest beside it.
// Usage: node tests/measure.mjs [seconds of fast run, default 10]
import { copyFileSync, mkdtempSync, rmSync, statSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";

import { launchBrowser, openDemo, serveSite, siteDir } from "./support.mjs";

const seconds = Number(process.argv[2] || 10);
const loads = 7;

// Milliseconds from navigation until the page is usable: the median of fresh loads of an address.
async function usable(url) {
  const times = [];
  for (let i = 0; i < loads; i++) {
    // A context of its own: no cache and no service worker from the loads before.
    const context = await browser.newContext({ viewport: { width: 1000, height: 760 } });
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
    times.push(await page.evaluate(() => performance.getEntriesByName("bitwatch-ready")[0].startTime));
    await context.close();
  }
  times.sort((a, b) => a - b);
  return `${times[loads >> 1].toFixed(0)} ms (${times[0].toFixed(0)}-${times[loads - 1].toFixed(0)})`;
}

// The floors: each page says it is ready as the demo does, so that usable() times them alike.
function floorPages() {
  const root = mkdtempSync(path.join(os.tmpdir(), "bitwatch-floor-"));
  const ready = 'performance.mark("bitwatch-ready"); document.getElementById("Form1").setAttribute("aria-busy", "false");';
  const page = (body) =>
    `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>floor</title></head><body><main id="Form1" aria-busy="true"><p>Bitwatch</p></main>${body}</body></html>`;
  writeFileSync(path.join(root, "index.html"), page(`<script>${ready}</script>`));
  writeFileSync(path.join(root, "module.html"), page(`<script src="bitwatch.js"></script><script>createBitwatch().then(() => { ${ready} });</script>`));
  copyFileSync(path.join(siteDir, "bitwatch.js"), path.join(root, "bitwatch.js"));
  return root;
}

const browser = await launchBrowser();
const server = await serveSite();
const floorDir = floorPages();
const floor = await serveSite(floorDir);
try {
  const page = await browser.newPage({ viewport: { width: 1000, height: 760 } });
  const client = await page.context().newCDPSession(page);
  await client.send("Network.enable");
  await client.send("Network.setCacheDisabled", { cacheDisabled: true });
  const sizes = new Map();
  const urls = new Map();
  client.on("Network.responseReceived", (event) => urls.set(event.requestId, event.response.url));
  client.on("Network.loadingFinished", (event) => sizes.set(event.requestId, event.encodedDataLength));
  await page.goto(server.url);
  await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
  let total = 0;
  let fonts = 0;
  for (const [id, size] of sizes) {
    const url = urls.get(id) || "";
    // The fonts inside fonts.css show up as requests of their own, but arrive with it.
    if (url.startsWith("data:")) {
      continue;
    }
    total += size;
    if (url.endsWith("fonts.css")) {
      fonts += size;
    }
  }

  await client.send("Performance.enable");
  const metric = async (name) =>
    (await client.send("Performance.getMetrics")).metrics.find((m) => m.name === name).value;
  await page.click("#Command4");
  await page.click("#Command4");
  const startFrames = await page.evaluate(() => JSON.parse(window.bitwatchPage.session.records()).frameCount);
  const startTask = await metric("TaskDuration");
  const startWall = performance.now();
  await page.waitForTimeout(seconds * 1000);
  const endTask = await metric("TaskDuration");
  const endWall = performance.now();
  const endFrames = await page.evaluate(() => JSON.parse(window.bitwatchPage.session.records()).frameCount);
  const wall = (endWall - startWall) / 1000;

  console.log(`transferred without fonts: ${((total - fonts) / 1024).toFixed(1)} KiB (fonts: ${(fonts / 1024).toFixed(1)} KiB)`);
  console.log(`usable after: ${await usable(server.url)} from navigation, served`);
  console.log(`floors, served: a page of one paragraph ${await usable(floor.url)}, the module alone ${await usable(floor.url.replace("index.html", "module.html"))}`);
  const oneFile = path.join(siteDir, "bitwatch.html");
  console.log(`one file: ${(statSync(oneFile).size / 1024).toFixed(1)} KiB, usable ${await usable(`file://${oneFile}`)} after navigation from disk`);
  console.log(`fast run: ${((endFrames - startFrames) / wall).toFixed(1)} frames per second`);
  console.log(`main thread busy during the fast run: ${((100 * (endTask - startTask)) / wall).toFixed(1)} %`);
  await page.close();
} finally {
  await floor.close();
  rmSync(floorDir, { recursive: true, force: true });
  await server.close();
  await browser.close();
}
