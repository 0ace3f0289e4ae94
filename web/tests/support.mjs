// Shared by the browser tests and the measurements: Debian's Chromium, headless, driven by
// playwright-core, on the page built into build/web.
import { spawn } from "node:child_process";
import { once } from "node:events";
import { existsSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

import { chromium } from "playwright-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const projectRoot = path.resolve(here, "..", "..");
export const siteDir = process.env.BITWATCH_WEB_SITE || path.join(projectRoot, "build", "web");

export async function launchBrowser() {
  if (!existsSync(path.join(siteDir, "bitwatch.js"))) {
    throw new Error(`${siteDir} holds no build of the page: run ./scripts/web.sh --build-only`);
  }
  const args = ["--font-render-hinting=none", "--disable-lcd-text", "--force-color-profile=srgb"];
  // Chromium refuses its sandbox to root; CI runs as root.
  if (process.getuid && process.getuid() === 0) {
    args.push("--no-sandbox");
  }
  return chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium", args });
}

export function pageUrl() {
  return `file://${path.join(siteDir, "index.html")}`;
}

// A plain static server on the loopback address, for the checks that need http.
export async function serveSite(dir = siteDir) {
  const server = spawn("python3", ["-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", dir], {
    stdio: ["ignore", "pipe", "pipe"],
  });
  let output = "";
  const port = await new Promise((resolve, reject) => {
    const onData = (chunk) => {
      output += chunk.toString();
      const match = output.match(/port (\d+)/);
      if (match) {
        resolve(Number(match[1]));
      }
    };
    server.stdout.on("data", onData);
    server.stderr.on("data", onData);
    server.on("exit", (code) => reject(new Error(`the static server stopped (${code}): ${output}`)));
  });
  return {
    url: `http://127.0.0.1:${port}/index.html`,
    async close() {
      server.kill();
      await once(server, "exit").catch(() => {});
    },
  };
}

// A page of the demo, loaded and ready: the script has built the window.
export async function openDemo(browser, url = pageUrl(), viewport = { width: 1000, height: 760 }) {
  const page = await browser.newPage({ viewport, deviceScaleFactor: 1 });
  const errors = [];
  page.on("pageerror", (error) => errors.push(error));
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
  page.errors = errors;
  return page;
}

// mulberry32: a small seeded generator, so that a failing random test replays.
export function seededRandom(state) {
  return () => {
    state = (state + 0x6d2b79f5) | 0;
    let t = Math.imul(state ^ (state >>> 15), 1 | state);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Types a mode name into the mode box key by key, as a user does.
export async function typeMode(page, text) {
  const input = page.locator("#cmbMode input");
  await input.fill("");
  await input.pressSequentially(text);
}

// Waits until the board's canvas holds every frame handed to its painter (a worker draws it,
// in its own time) and the screen has shown it.
export async function drawn(page) {
  await page.evaluate(async () => {
    await window.bitwatchPage.board.drawn();
    await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
  });
}

// The records as the library holds them, read through the page's session.
export async function records(page) {
  return page.evaluate(() => JSON.parse(window.bitwatchPage.session.records()));
}
