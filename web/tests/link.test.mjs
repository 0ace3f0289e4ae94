// "Copy link": the address it copies, opened in a fresh browser, gives the sender's records and
// then the same records after every further event; mutated addresses start cleanly with a notice.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { launchBrowser, pageUrl, seededRandom } from "./support.mjs";

const Kind = { ClickData: 0, ClickParity: 1, ClickCheck: 2, ModeTextChanged: 3, ModePicked: 4, RateTextChanged: 5, PressOne: 6, PressReset: 7, PressRun: 8, PressFind: 9, Tick: 10 };
const MODES = ["None", "Parity 1", "Parity 6", "Parity 6V", "Parity 16", "Checksum", "Internet", "CRC-8", "CRC-"];
const RATES = ["0", "1", "5", "12.5", "100", "abc", "é"];

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

async function open(url) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 760 } });
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  const page = await context.newPage();
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error));
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById("Form1").getAttribute("aria-busy") === "false");
  // The panel "Why?" would work out the exact odds of every new mode and rate of the script.
  await page.click("#whyToggle");
  return page;
}

const records = (page) => page.evaluate(() => window.bitwatchPage.session.records());

// A few events of the kinds a lesson has: a click, a mode, a rate, "One", a reset, or a run
// that is started, ticks and is stopped again within one task (a running page's real timer would
// tick on its own, at another time in each page).
function randomEvents(random) {
  const r = random();
  const pick = (list) => list[Math.floor(random() * list.length)];
  if (r < 0.45) {
    return [[pick([Kind.ClickData, Kind.ClickParity, Kind.ClickCheck]), Math.floor(random() * 96), ""]];
  }
  if (r < 0.55) {
    return [[Kind.ModeTextChanged, 0, pick(MODES)]];
  }
  if (r < 0.6) {
    return [[Kind.ModePicked, Math.floor(random() * 8), ""]];
  }
  if (r < 0.68) {
    return [[Kind.RateTextChanged, 0, pick(RATES)]];
  }
  if (r < 0.85) {
    return [[Kind.PressOne, 0, ""]];
  }
  if (r < 0.97) {
    const ticks = Array.from({ length: Math.floor(random() * 20) }, () => [Kind.Tick, 0, ""]);
    return [[Kind.PressRun, 0, ""], [Kind.PressRun, 0, ""], ...ticks, [Kind.PressRun, 0, ""]];
  }
  return [[Kind.PressReset, 0, ""]];
}

// The events run in one task, so that no timer of the page comes between them.
async function play(page, events) {
  await page.evaluate((list) => {
    for (const [kind, index, text] of list) {
      window.bitwatchPage.run(kind, index, text);
    }
  }, events);
}

async function copyLink(page) {
  await page.click("#copyLink");
  await page.waitForFunction(() => document.getElementById("shareStatus").textContent === "Link copied.");
  return page.evaluate(() => navigator.clipboard.readText());
}

describe("a link to a frame", () => {
  for (const seed of [11, 12, 13]) {
    test(`opens the sender's state after random script ${seed}, and goes on as the sender does`, async () => {
      const random = seededRandom(seed);
      const sender = await open(pageUrl());
      await play(sender, Array.from({ length: 300 }, () => randomEvents(random)).flat());
      if (seed === 13) {
        // A finished search: it stopped on its undetected frame.
        await play(sender, [[Kind.ModeTextChanged, 0, "Parity 48"], [Kind.RateTextChanged, 0, "5"], [Kind.PressFind, 0, ""]]);
        await sender.waitForFunction(() => document.getElementById("Command4").textContent === "Start", null, { timeout: 10000 });
      }
      const address = await copyLink(sender);
      assert.ok(address.length <= 2000, `${address.length} characters`);
      assert.match(address, /#frame=[A-Za-z0-9_-]+$/);
      const receiver = await open(address);
      assert.equal(receiver.url(), pageUrl(), "the address is shown plain again");
      assert.equal(await receiver.textContent("#shareStatus"), "");
      assert.equal(await records(receiver), await records(sender));
      const further = seededRandom(seed * 7);
      for (let i = 0; i < 200; i++) {
        const event = randomEvents(further);
        await play(sender, event);
        await play(receiver, event);
        assert.equal(await records(receiver), await records(sender), `after further event ${i}: ${event}`);
      }
      assert.deepEqual([...sender.errors, ...receiver.errors], []);
      await sender.context().close();
      await receiver.context().close();
    });
  }

  test("a thousand mutated links are refused and leave the start state", async () => {
    const page = await open(pageUrl());
    await play(page, [[Kind.ModeTextChanged, 0, "CRC-8"], [Kind.PressOne, 0, ""], [Kind.ClickData, 70, ""]]);
    const link = (await copyLink(page)).split("#frame=")[1];
    const start = await page.evaluate(() => new window.bitwatchPage.module.Session().records());
    const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    const random = seededRandom(5);
    const mutated = new Set();
    for (let trial = 0; mutated.size < 1000; trial++) {
      let text = link;
      const at = Math.floor(random() * link.length);
      switch (trial % 5) {
        case 0: // truncated
          text = link.slice(0, at);
          break;
        case 1: // one bit of one character flipped
          text = link.slice(0, at) + alphabet[alphabet.indexOf(link[at]) ^ (1 << Math.floor(random() * 6))] + link.slice(at + 1);
          break;
        case 2: // oversized
          text = link + alphabet[Math.floor(random() * 64)].repeat(1 + Math.floor(random() * 4000));
          break;
        case 3: // another version: the first six bits name it
          text = alphabet[(alphabet.indexOf(link[0]) + 1 + Math.floor(random() * 63)) % 64] + link.slice(1);
          break;
        default: // characters no link holds
          text = link.slice(0, at) + String.fromCharCode(Math.floor(random() * 0x3000)) + link.slice(at + 1);
          break;
      }
      if (text !== link) {
        mutated.add(text);
      }
    }
    const outcome = await page.evaluate(([list, startRecords]) => {
      const session = new window.bitwatchPage.module.Session();
      const opened = list.filter((text) => session.open(text) || session.records() !== startRecords);
      session.delete();
      return opened;
    }, [[...mutated], start]);
    assert.deepEqual(outcome, []);

    // Through the address bar: the page starts as at launch and says so once.
    for (const text of [...mutated].slice(0, 10)) {
      const receiver = await open(`${pageUrl()}#frame=${encodeURIComponent(text)}`);
      assert.equal(await receiver.textContent("#shareStatus"), "That link to a frame could not be read: Bitwatch starts afresh.");
      assert.equal(await records(receiver), start);
      assert.deepEqual(receiver.errors, []);
      await receiver.context().close();
    }
    await page.context().close();
  });
});
