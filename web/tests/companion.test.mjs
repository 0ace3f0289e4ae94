// The panel "Why?" beside the page's window, as a user and a screen reader meet it: the reason
// for each code's verdict on damage made by hand, its headings and tables exposed by name, F6
// into it and back, frames of a fast run not followed, and the window's pixels unchanged.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { drawn, launchBrowser, openDemo, typeMode } from "./support.mjs";

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

const cases = [
  { mode: "Parity 8", cells: ["row1_58", "row1_60"], verdict: "Undetected Errors", says: "both flips are in group 2", table: "Each group's received data and parity bit" },
  { mode: "Parity 6V", cells: ["row1_50"], verdict: "Errors Detected", says: "differs from the received", table: "Columns of the six received bytes" },
  { mode: "Checksum", cells: ["row1_29", "row1_61", "row1_77"], verdict: "Undetected Errors", says: "+4 in byte 1 and -4 in byte 3", table: "The six received bytes" },
  { mode: "Internet", cells: ["sum2_3"], verdict: "False Positive", says: "check bit 3 was flipped", table: "The six received bytes" },
  { mode: "CRC-8", cells: ["row1_58", "row1_64", "row1_65", "row1_66"], verdict: "Undetected Errors", says: "is a multiple of the generator", table: "Damaged bits" },
  { mode: "None", cells: ["row1_60"], verdict: "Undetected Errors", says: "cannot tell", table: "Damaged bits" },
];

describe("the panel Why?", () => {
  for (const c of cases) {
    test(`explains ${c.verdict} in ${c.mode}`, async () => {
      const page = await openDemo(browser, undefined, { width: 1600, height: 900 });
      await typeMode(page, c.mode);
      for (const cell of c.cells) {
        await page.click(`#${cell}`);
      }
      const panel = page.locator("#whyBody");
      assert.equal(await page.locator("#lblResult").textContent(), c.verdict);
      assert.equal(await panel.getByRole("heading", { name: `Verdict: ${c.verdict}` }).count(), 1);
      assert.match(await panel.textContent(), new RegExp(c.says.replace(/[+^()]/g, "\\$&")));
      assert.equal(await panel.getByRole("table", { name: c.table }).count(), 1, c.table);
      assert.equal(await page.getByRole("complementary", { name: "Why?" }).count(), 1);
      if (c.mode === "CRC-8") {
        assert.match(await panel.locator("pre").textContent(), /^0{10}100000111/);
      }
      assert.deepEqual(page.errors, []);
      await page.close();
    });
  }

  test("leaves the window's pixels as they are, beside it or hidden", async () => {
    const page = await openDemo(browser, undefined, { width: 1600, height: 900 });
    await page.click("#row1_50");
    const window = await page.locator("#Form1").boundingBox();
    assert.deepEqual([window.x, window.y], [0, 0]);
    const why = await page.locator("#why").boundingBox();
    assert.ok(why.x >= 959, "the panel stands right of the window");
    await drawn(page);
    const shown = await page.screenshot({ clip: { x: 0, y: 0, width: 959, height: 698 } });
    await page.click("#whyToggle");
    assert.equal(await page.locator("#whyBody").isVisible(), false);
    const hidden = await page.screenshot({ clip: { x: 0, y: 0, width: 959, height: 698 } });
    assert.ok(shown.equals(hidden), "the window's pixels changed with the panel");
    await page.setViewportSize({ width: 1000, height: 900 });
    const below = await page.locator("#why").boundingBox();
    assert.ok(below.y >= 698, "on a narrower page the panel goes below the window");
    await page.close();
  });

  test("takes F6 into it and back, and keeps the window's Tab cycle", async () => {
    const page = await openDemo(browser, undefined, { width: 1600, height: 900 });
    await page.keyboard.press("F6");
    assert.equal(await page.evaluate(() => document.activeElement.id), "whyBody");
    await page.keyboard.press("F6");
    assert.equal(await page.evaluate(() => document.activeElement.id), "Command1");
    await page.focus("#cmbMode input");
    await page.keyboard.press("Tab");
    assert.equal(await page.evaluate(() => document.activeElement.id), "Command1");
    await page.close();
  });

  test("waits for the end of a fast run and shows the frame it stopped on", async () => {
    const page = await openDemo(browser, undefined, { width: 1600, height: 900 });
    await typeMode(page, "CRC-8");
    await page.click("#Command4");
    await page.click("#Command4");
    const during = await page.locator("#whyBody").innerHTML();
    await page.waitForFunction(() => JSON.parse(window.bitwatchPage.session.records()).frameCount >= 10, null, { timeout: 5000 });
    assert.equal(await page.locator("#whyBody").innerHTML(), during, "followed the frames of a fast run");
    await page.click("#Command4");
    const frames = JSON.parse(await page.evaluate(() => window.bitwatchPage.session.records())).frameCount;
    assert.match(await page.locator("#whyBody").textContent(), new RegExp(` of ${frames} frames`));
    await page.close();
  });
  // The error model is the panel's own control: chosen there, it reaches the library as
  // events, the records say what it is, and the panel explains the channel and its lesson.
  test("chooses the error model and searches through it", async () => {
    const page = await openDemo(browser, undefined, { width: 1600, height: 900 });
    await typeMode(page, "Checksum");
    const size = page.getByLabel("Bits k");
    assert.equal(await size.isDisabled(), true, "k is used by the random channel");
    await page.getByLabel("Error model").selectOption({ label: "Exactly k bits" });
    assert.equal(await size.isDisabled(), false);
    assert.equal(await size.getAttribute("max"), "56");
    await size.fill("3");
    await page.waitForFunction(() => /With exactly 3 of the 56 bits sent flipped/.test(
      document.getElementById("whyBody").textContent), null, { timeout: 5000 });
    await size.fill("2");
    await page.click("#Command2"); // "Find UE"
    await page.waitForFunction(() => document.getElementById("Command4").textContent === "Start" &&
      document.getElementById("lblResult").textContent === "Undetected Errors", null, { timeout: 20000 });
    const panel = page.locator("#whyBody");
    await page.waitForFunction(() => /Two flips the same way in the top column \(bit 0\) of different bytes cancel too/
      .test(document.getElementById("whyBody").textContent), null, { timeout: 5000 });
    const text = await panel.textContent();
    assert.ok(await page.locator(".why-hint").isVisible(), "the F6 hint on a desktop");
    assert.match(text, /2 of the 56 bits sent differ/);
    assert.doesNotMatch(text, /a 0 becomes 1 and a 1 becomes 0/);
    assert.match(text, /The rate box is not used/);

    await page.getByLabel("Error model").selectOption({ label: "One burst of L bits" });
    assert.equal(await page.locator("#modelSizeLabel").textContent(), "Burst length L");
    await typeMode(page, "CRC-8");
    await page.getByLabel("Burst length L").fill("8");
    await page.waitForFunction(() => /cannot end here/.test(document.getElementById("whyBody").textContent),
      null, { timeout: 5000 });
    assert.match(await panel.textContent(), /CRC-8 catches every burst of 8 bits or fewer/);
    // Beyond the frame: the box gives way to the records when it is left.
    await page.getByLabel("Burst length L").fill("99");
    await page.getByLabel("Burst length L").blur();
    assert.equal(await page.getByLabel("Burst length L").inputValue(), "8");
    assert.deepEqual(page.errors, []);
    await page.close();
  });
});
