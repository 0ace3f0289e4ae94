// Measures the page in headless Chromium (a benchmark to run by hand, not a test): the frames
// per second of a fast run and the main thread's busy share during it, the bytes the page
// transfers (without and with the fonts) and the time until it is usable, and the one-file page's
// size and time until usable, opened from disk.
// Start-up times vary from load to load on a busy machine: each is the median of seven loads,
// with the fastest and slowest beside it.
// Usage: node tests/measure.mjs [seconds of fast run, default 10]
import { statSync } from "node:fs";
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

const browser = await launchBrowser();
const server = await serveSite();
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
  const oneFile = path.join(siteDir, "bitwatch.html");
  console.log(`one file: ${(statSync(oneFile).size / 1024).toFixed(1)} KiB, usable ${await usable(`file://${oneFile}`)} after navigation from disk`);
  console.log(`fast run: ${((endFrames - startFrames) / wall).toFixed(1)} frames per second`);
  console.log(`main thread busy during the fast run: ${((100 * (endTask - startTask)) / wall).toFixed(1)} %`);
  await page.close();
} finally {
  await server.close();
  await browser.close();
}
