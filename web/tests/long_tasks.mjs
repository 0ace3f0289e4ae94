// Measures what a user waits for (a benchmark to run by hand, not a test): a scripted session of
// every kind of action in headless Chromium, with a PerformanceObserver of type "longtask"
// (every task over 50 ms), and prints the longest task each kind of action caused. Give a second
// folder to measure another build of the page in turn with this one, fresh contexts alternating.
// Usage: node tests/long_tasks.mjs [ROUNDS] [OTHER_SITE_DIR]
import path from "node:path";

import { launchBrowser, siteDir, typeMode } from "./support.mjs";

const rounds = Number(process.argv[2] || 3);
const sites = [siteDir, ...(process.argv[3] ? [path.resolve(process.argv[3])] : [])];

// Each kind of action, as a user does it; a step waits for the page to settle after it.
const ACTIONS = [
  ["click a cell", async (page) => { await page.click("#row1_60"); await page.click("#row1_61"); }],
  ["type a mode key by key", async (page) => {
    for (const mode of ["Internet", "CRC-8", "Parity 6V", "Parity 1", "Parity 8", "None", "Checksum"]) {
      await typeMode(page, mode);
    }
  }],
  ["type a rate key by key", async (page) => {
    for (const rate of ["0.25", "3", "50", "1"]) {
      const input = page.locator("#cmbErrorRate input");
      await input.fill("");
      await input.pressSequentially(rate);
    }
  }],
  ["pick a rate from the list", async (page) => {
    await page.click("#cmbErrorRate .drop");
    await page.locator("#cmbErrorRate_list li").nth(4).click();
  }],
  ["press One", async (page) => { await page.click("#Command1"); }],
  ["choose an error model and its size", async (page) => {
    await page.getByLabel("Error model").selectOption({ label: "Exactly k bits" });
    await page.getByLabel("Bits k").fill("3");
    await page.getByLabel("Error model").selectOption({ label: "One burst of L bits" });
    await page.getByLabel("Burst length L").fill("9");
    await page.getByLabel("Error model").selectOption({ label: "Random bit errors" });
  }],
  ["a slow run followed by the companion", async (page) => {
    await page.click("#Command4");
    await page.waitForTimeout(1500);
    await page.click("#Command4");
    await page.click("#Command4");
  }],
  ["a search stopping", async (page) => {
    await typeMode(page, "Parity 8");
    await page.locator("#cmbErrorRate input").fill("5");
    await page.click("#Command2");
    await page.waitForFunction(() => document.getElementById("Command4").textContent === "Start", null,
      { timeout: 20000 });
  }],
  ["Copy link", async (page) => { await page.click("#copyLink"); }],
  ["press Reset", async (page) => { await page.click("#Command3"); }],
];

// Opening a link rebuilds the state through the window's operations before the page is usable;
// timed here as the library's rebuild of the link copied above, on the running page.
async function linkRebuild(page) {
  const link = await page.evaluate(() => navigator.clipboard.readText());
  const fragment = link.slice(link.indexOf("#frame=") + "#frame=".length);
  return page.evaluate((text) => {
    const start = performance.now();
    const opened = window.bitwatchPage.session.open(text);
    return opened ? performance.now() - start : NaN;
  }, fragment);
}

async function session(browser, dir) {
  const context = await browser.newContext({ viewport: { width: 1600, height: 900 } });
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  const page = await context.newPage();
  await page.addInitScript(() => {
    window.longTasks = [];
    window.handlings = [];
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        window.longTasks.push([entry.startTime, entry.duration]);
      }
    }).observe({ type: "longtask", buffered: true });
    // Each input event's handling, from its first listener to its last, where it took 16 ms or
    // more: what a long task of under 50 ms would hide.
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        window.handlings.push([entry.startTime, entry.processingEnd - entry.processingStart]);
      }
    }).observe({ type: "event", durationThreshold: 16, buffered: true });
  });
  await page.goto(`file://${path.join(dir, "index.html")}`);
  await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
  await page.waitForTimeout(1000); // past start-up and the worker's hand-over
  const longest = new Map();
  for (const [name, act] of ACTIONS) {
    const from = await page.evaluate(() => performance.now());
    await act(page);
    await page.waitForTimeout(400);
    const [tasks, handlings] = await page.evaluate((t) => [window.longTasks, window.handlings]
      .map((entries) => entries.filter(([start]) => start >= t)), from);
    const most = (entries) => Math.max(0, ...entries.map(([, duration]) => duration));
    longest.set(name, [most(tasks), most(handlings)]);
  }
  const rebuild = await linkRebuild(page);
  longest.set("open a link (the library's rebuild)", [rebuild, rebuild]);
  await context.close();
  return longest;
}

const browser = await launchBrowser();
const results = sites.map(() => new Map());
for (let round = 0; round < rounds; round++) {
  for (let s = 0; s < sites.length; s++) {
    for (const [name, [task, handling]] of await session(browser, sites[s])) {
      const [task0, handling0] = results[s].get(name) || [0, 0];
      results[s].set(name, [Math.max(task0, task), Math.max(handling0, handling)]);
    }
  }
}
await browser.close();
console.log(`Per action kind over ${rounds} sessions: the longest task (0: none over 50 ms) / the longest`);
console.log("handling of one input event (0: none of 16 ms or more)");
console.log(["action", ...sites.map((dir) => path.relative(process.cwd(), dir) || ".")].join(" | "));
for (const name of results[0].keys()) {
  console.log([name, ...results.map((r) => r.get(name).map((ms) => `${ms.toFixed(0)} ms`).join(" / "))].join(" | "));
}
