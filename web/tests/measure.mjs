// Measures the page in headless Chromium (a benchmark to run by hand, not a test): the frames
// per second of a fast run and the main thread's busy share during it, the bytes the page
// transfers (without and with the fonts) and the time until it is usable, and the one-file page's
// size and time until usable, opened from disk.
// Usage: node tests/measure.mjs [seconds of fast run, default 10]
import { statSync } from "node:fs";
import path from "node:path";

import { launchBrowser, openDemo, serveSite, siteDir } from "./support.mjs";

const seconds = Number(process.argv[2] || 10);
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
  const ready = await page.evaluate(() => performance.getEntriesByName("bitwatch-ready")[0].startTime);
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
  console.log(`usable after: ${ready.toFixed(0)} ms from navigation`);
  const oneFile = path.join(siteDir, "bitwatch.html");
  const alone = await browser.newPage({ viewport: { width: 1000, height: 760 } });
  await alone.goto(`file://${oneFile}`);
  await alone.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
  const aloneReady = await alone.evaluate(() => performance.getEntriesByName("bitwatch-ready")[0].startTime);
  console.log(`one file: ${(statSync(oneFile).size / 1024).toFixed(1)} KiB, usable ${aloneReady.toFixed(0)} ms after navigation from disk`);
  await alone.close();
  console.log(`fast run: ${((endFrames - startFrames) / wall).toFixed(1)} frames per second`);
  console.log(`main thread busy during the fast run: ${((100 * (endTask - startTask)) / wall).toFixed(1)} %`);
  await page.close();
} finally {
  await server.close();
  await browser.close();
}
