// A random user on the page: seeded clicks anywhere on the window, keys, typed and pasted texts
// (long and non-ASCII among them), picks from the lists and runs, as real keyboard and pointer
// input in Chromium. Any page error fails it; at the end the boxes show what the records hold and
// Reset gives the start state. BITWATCH_RANDOM_ACTIONS and BITWATCH_RANDOM_SEED explore further.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import { launchBrowser, openDemo, records, seededRandom } from "./support.mjs";

const actions = Number(process.env.BITWATCH_RANDOM_ACTIONS || 10000);
const seed = Number(process.env.BITWATCH_RANDOM_SEED || 20261209);

const keys = ["Tab", "Shift+Tab", "Enter", "Space", "ArrowDown", "ArrowUp", "Escape", "Backspace",
  "Delete", "Home", "End", "Control+A", "1", "5", ".", "a", "8"];
const pieces = ["é", "中文", "😀", "👍🏽", "é̃", "שלום", "٥", "５", "\u200b", "\u202e", "CRC-8", "Parity 6V",
  "None", "0.5", "100", "1e-3", " ", "\t"];

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

function startState(now) {
  const { row1, parity, sum1, sum2, frameCount, undetectedCount, lblUER, Command4, codeMode, groupSize } = now;
  return { row1, parity, sum1, sum2, frameCount, undetectedCount, lblUER, Command4, codeMode, groupSize,
    timer: now.Timer1.enabled, search: now.stopOnUndetected };
}

test(`${actions} random actions leave no page error and a page that still resets`, { timeout: 900000 }, async () => {
  const page = await openDemo(browser);
  const fresh = startState(await records(page));
  const random = seededRandom(seed);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const [x0, y0] = await page.$eval("#Form1", (element) => {
    const r = element.getBoundingClientRect();
    return [r.left, r.top];
  });
  const log = [];
  for (let step = 0; step < actions; step++) {
    const roll = random();
    let action;
    if (roll < 0.4) {
      action = ["click", Math.floor(random() * 959), Math.floor(random() * 698)];
      await page.mouse.click(x0 + action[1], y0 + action[2]);
    } else if (roll < 0.62) {
      action = ["key", pick(keys)];
      await page.keyboard.press(action[1]);
    } else if (roll < 0.85) {
      action = ["type", Array.from({ length: 1 + Math.floor(random() * 3) }, () => pick(pieces)).join("")];
      await page.keyboard.type(action[1]);
    } else if (roll < 0.92) {
      const repeat = 1 + Math.floor(random() * 4000);
      action = ["paste", `${pick(pieces)}${pick(pieces)}`, repeat];
      await page.keyboard.insertText(action[1].repeat(repeat));
    } else {
      action = ["focus", pick(["#cmbMode input", "#cmbErrorRate input"])];
      await page.focus(action[1]);
    }
    log.push(JSON.stringify(action).slice(0, 80));
    if (page.errors.length > 0) {
      assert.fail(`page error after step ${step} (seed ${seed}): ${page.errors[0]}\nlast actions:\n${log.slice(-10).join("\n")}`);
    }
  }
  await page.keyboard.press("Escape");
  const now = await records(page);
  for (const id of ["cmbMode", "cmbErrorRate"]) {
    assert.equal(await page.inputValue(`#${id} input`), now[id].text, `${id} shows what the records hold`);
  }
  assert.equal(await page.locator("#failureNotice").count(), 0);

  const mode = page.locator("#cmbMode input");
  await mode.fill("");
  await mode.pressSequentially("None");
  await page.click("#Command3");
  assert.deepEqual(startState(await records(page)), fresh, "Reset in mode None gives the start state");
  assert.deepEqual(page.errors, []);
  await page.close();
});
