// The browser edition must show the same frames as the desktop: one script of events run through
// the native library and through the WebAssembly build (under node) gives the same records after
// every event, draws of the never-seeded generator included.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";
import { test } from "node:test";

import { seededRandom, siteDir } from "./support.mjs";

const require = createRequire(import.meta.url);

// The event kinds, by RunEvent's numbers.
const Kind = {
  ClickData: 0, ClickParity: 1, ClickCheck: 2, ModeTextChanged: 3, ModePicked: 4,
  RateTextChanged: 5, PressOne: 6, PressReset: 7, PressRun: 8, PressFind: 9, Tick: 10,
  ModelPicked: 11, ModelSizeChanged: 12,
};

function typed(kind, text) {
  const events = [];
  for (let length = 0; length <= text.length; length++) {
    events.push([kind, 0, text.slice(0, length)]);
  }
  return events;
}

function ticks(count) {
  return Array.from({ length: count }, () => [Kind.Tick, 0, ""]);
}

// A lesson's worth of events: clicks, typed and picked modes, rates, single frames, runs and a
// search, with indexes no control would send and texts no keyboard would type.
function script() {
  return [
    [Kind.ClickData, 3, ""], [Kind.ClickData, 50, ""], [Kind.ClickData, 96, ""],
    ...typed(Kind.ModeTextChanged, "Parity 16"),
    [Kind.ClickParity, 63, ""], [Kind.ClickParity, 62, ""], [Kind.ClickParity, -1, ""],
    [Kind.PressOne, 0, ""], [Kind.PressOne, 0, ""],
    [Kind.ModePicked, 7, ""], [Kind.ClickCheck, 3, ""], [Kind.ClickCheck, 8, ""],
    ...typed(Kind.RateTextChanged, "12.5"),
    [Kind.PressRun, 0, ""], ...ticks(5), [Kind.PressRun, 0, ""], ...ticks(40), [Kind.PressRun, 0, ""],
    [Kind.ModePicked, 6, ""], [Kind.RateTextChanged, 0, "1e-3x"], [Kind.PressOne, 0, ""],
    [Kind.RateTextChanged, 0, "4"], [Kind.ModeTextChanged, 0, "Parity 48"],
    [Kind.PressFind, 0, ""], ...ticks(200), [Kind.PressReset, 0, ""],
    [Kind.ModeTextChanged, 0, "Checksum"], [Kind.RateTextChanged, 0, "  7e0 percent"],
    [Kind.PressRun, 0, ""], [Kind.PressRun, 0, ""], ...ticks(60),
    [Kind.ModeTextChanged, 0, "crc-8\u00e9"], [Kind.RateTextChanged, 0, "100"], [Kind.PressOne, 0, ""],
    [Kind.Tick, 0, ""], [Kind.ModePicked, 9, ""], [Kind.ModePicked, 0, ""],
    // The companion's error models, switched between and during runs and a search, with sizes
    // beyond the frame and beyond any frame.
    [Kind.ModelPicked, 1, ""], [Kind.ModelSizeChanged, 3, ""], [Kind.PressOne, 0, ""],
    [Kind.PressRun, 0, ""], ...ticks(3), [Kind.ModelPicked, 2, ""], [Kind.ModelSizeChanged, 9, ""],
    [Kind.PressRun, 0, ""], ...ticks(30), [Kind.ModelSizeChanged, 96, ""], ...ticks(3),
    [Kind.ModelSizeChanged, 97, ""], [Kind.ModelSizeChanged, 0, ""], [Kind.ModelPicked, 3, ""],
    [Kind.PressRun, 0, ""], [Kind.ModeTextChanged, 0, "Parity 1"], [Kind.PressOne, 0, ""],
    [Kind.ModeTextChanged, 0, "Checksum"], [Kind.ModelPicked, 1, ""], [Kind.ModelSizeChanged, 2, ""],
    [Kind.PressFind, 0, ""], ...ticks(200), [Kind.ModelPicked, 0, ""], [Kind.PressOne, 0, ""],
  ];
}

function toHex(text) {
  return (typeof text === "string" ? Buffer.from(text, "utf8") : Buffer.from(text)).toString("hex");
}

const pieces = ["é", "中文", "😀", "👍🏽", "é̃", "שלום", "٥", "５", "\u200b", "\u202e", "\t", "\u0000", "\"",
  "\\", "CRC-8", "Parity 6", "V", "None", "Internet", "1", "5", ".", "e-3", "100", " "];
// Bytes that are not UTF-8, as another caller of the binding could pass them.
const badBytes = [[0x80], [0xc3], [0xe2, 0x82], [0xed, 0xa0, 0x80], [0xc0, 0xaf], [0xf4, 0x90, 0x80, 0x80], [0xff]];

// A random script of events with texts as users type and paste them: non-ASCII, long (past
// what a box holds), and now and then bytes that are not UTF-8 at all.
function randomScript(seed, length) {
  const random = seededRandom(seed);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const text = () => {
    const roll = random();
    if (roll < 0.03) {
      return Uint8Array.from([...pick(badBytes), ...Buffer.from(pick(pieces))]);
    }
    const count = roll < 0.05 ? 2000 + Math.floor(random() * 9000) : 1 + Math.floor(random() * 3);
    return Array.from({ length: count }, () => pick(pieces)).join("");
  };
  const events = [];
  for (let i = 0; i < length; i++) {
    const roll = random();
    if (roll < 0.3) {
      events.push([Kind.Tick, 0, ""]);
    } else if (roll < 0.5) {
      events.push([pick([Kind.ClickData, Kind.ClickParity, Kind.ClickCheck]), Math.floor(random() * 100) - 2, ""]);
    } else if (roll < 0.65) {
      events.push([Kind.ModeTextChanged, 0, text()]);
    } else if (roll < 0.7) {
      events.push([Kind.ModePicked, Math.floor(random() * 9), ""]);
    } else if (roll < 0.8) {
      events.push([Kind.RateTextChanged, 0, text()]);
    } else if (roll < 0.85) {
      events.push([pick([Kind.ModelPicked, Kind.ModelSizeChanged]), Math.floor(random() * 100) - 2, ""]);
    } else {
      events.push([pick([Kind.PressOne, Kind.PressReset, Kind.PressRun, Kind.PressRun, Kind.PressFind]), 0, ""]);
    }
  }
  return events;
}

// Runs the script natively and in the WebAssembly build; the records must agree after every
// event, and a box must hold a typed text that fits exactly as typed.
async function compareScript(events) {
  const replay = process.env.BITWATCH_REPLAY_EVENTS;
  assert.ok(replay, "set BITWATCH_REPLAY_EVENTS to the native bitwatch_replay_events");
  const dir = mkdtempSync(path.join(os.tmpdir(), "bitwatch-"));
  try {
    const file = path.join(dir, "events.txt");
    writeFileSync(file, events.map(([kind, index, text]) => `${kind} ${index} ${toHex(text)}`).join("\n") + "\n");
    const native = execFileSync(replay, [file], { encoding: "utf8", maxBuffer: 1 << 30 }).trim().split("\n");

    const createBitwatch = require(path.join(siteDir, "bitwatch.js"));
    const module = await createBitwatch();
    const session = new module.Session();
    assert.equal(session.records(), native[0], "the start state differs");
    let last = null;
    for (let i = 0; i < events.length; i++) {
      const [kind, index, text] = events[i];
      session.run(kind, index, text);
      const web = session.records();
      assert.equal(web, native[i + 1], `records differ after event ${i}: ${JSON.stringify(events[i]).slice(0, 200)}`);
      last = JSON.parse(web);
      const box = kind === Kind.ModeTextChanged ? "cmbMode" : kind === Kind.RateTextChanged ? "cmbErrorRate" : null;
      if (box && typeof text === "string" && text.length <= 32767) {
        assert.equal(last[box].text, text, `${box} after event ${i} does not hold what was typed`);
      }
    }
    assert.equal(native.length, events.length + 1);
    session.delete();
    return last;
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

test("the WebAssembly build shows the native library's records after every event", async () => {
  const last = await compareScript(script());
  // The script did run frames, or the comparison would prove little.
  assert.ok(last.draws > 10000, `only ${last.draws} draws`);
});

for (const seed of [1, 2, 3]) {
  test(`the same records after every event of random script ${seed}, wide and long texts among them`, async () => {
    const last = await compareScript(randomScript(seed, 1500));
    assert.ok(last.draws > 1000, `only ${last.draws} draws`);
  });
}

test("the binding absorbs what JavaScript can pass but no control sends", async () => {
  const createBitwatch = require(path.join(siteDir, "bitwatch.js"));
  const module = await createBitwatch();
  const session = new module.Session();
  const before = session.records();
  for (const [kind, index] of [[-1, 0], [11, 0], [Kind.ClickData, 40000], [Kind.ClickData, -40000], [1.5e9, 3]]) {
    session.run(kind, index, "");
    assert.equal(session.records(), before, `event ${kind} ${index} changed the records`);
  }
  session.delete();
});
