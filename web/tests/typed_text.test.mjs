// Text typed or pasted into the page's boxes reaches the library as the same characters and
// comes back to the box unchanged, however long it gets and whatever script it is in; and a page
// whose module fails says so once and stops.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { launchBrowser, openDemo, records } from "./support.mjs";

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

const texts = {
  accent: "é",
  cjk: "中文テスト",
  emoji: "1😀👍🏽",
  combining: "é̃",
  rightToLeft: "שלום 5",
  arabicDigit: "٥",
};

describe("the boxes", () => {
  test("hold every character as typed, key by key, in both boxes", async () => {
    const page = await openDemo(browser);
    for (const id of ["cmbMode", "cmbErrorRate"]) {
      const input = page.locator(`#${id} input`);
      for (const [name, text] of Object.entries(texts)) {
        await input.fill("");
        await input.pressSequentially(text);
        assert.equal(await input.inputValue(), text, `${id}, ${name}: the box`);
        assert.equal((await records(page))[id].text, text, `${id}, ${name}: the records`);
      }
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test("do not grow when keys follow a non-ASCII character", async () => {
    const page = await openDemo(browser);
    const input = page.locator("#cmbErrorRate input");
    await input.fill("");
    await input.pressSequentially("é");
    for (let key = 0; key < 15; key++) {
      await input.press("x");
    }
    assert.equal(await input.inputValue(), `é${"x".repeat(15)}`);
    await page.click("#Command3");
    await page.click("#row1_50");
    assert.equal((await records(page)).row1[50][0], "1", "the page still works");
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test("hold at most what the desktop's boxes hold, and a mode after a long paste", async () => {
    const page = await openDemo(browser);
    const input = page.locator("#cmbMode input");
    await input.fill("");
    await input.focus();
    await page.keyboard.insertText("ab中".repeat(20000));
    const value = await input.inputValue();
    assert.equal(value.length, 32767);
    assert.equal((await records(page)).cmbMode.text, value);
    await input.fill("");
    await input.pressSequentially("CRC-8");
    assert.equal((await records(page)).codeMode, 5);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
});

describe("a failing module", () => {
  test("stops the page with one notice and one logged error", async () => {
    const page = await openDemo(browser);
    const logged = [];
    page.on("console", (message) => {
      if (message.type() === "error") {
        logged.push(message.text());
      }
    });
    await page.click("#Command4");
    await page.click("#Command4"); // a fast run, so the timer calls into the module
    await page.evaluate(() => {
      window.bitwatchPage.session.run = () => {
        throw new WebAssembly.RuntimeError("memory access out of bounds");
      };
    });
    await page.waitForSelector("#failureNotice", { timeout: 5000 });
    await page.click("#Command1");
    await page.click("#row1_50");
    await page.waitForTimeout(100);
    assert.equal(await page.locator("#failureNotice").textContent(), "Bitwatch stopped: reload the page");
    assert.equal(await page.locator(".notice").count(), 1);
    assert.equal(logged.length, 1, logged.join("\n"));
    assert.equal(await page.evaluate(() => window.bitwatchPage.timer.handle), null, "the timer stopped");
    await page.close();
  });
});
