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

import { siteDir } from "./support.mjs";

const require = createRequire(import.meta.url);

// The event kinds, by RunEvent's numbers.
const Kind = {
  ClickData: 0, ClickParity: 1, ClickCheck: 2, ModeTextChanged: 3, ModePicked: 4,
  RateTextChanged: 5, PressOne: 6, PressReset: 7, PressRun: 8, PressFind: 9, Tick: 10,
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
  ];
}

function toHex(text) {
  return Buffer.from(text, "utf8").toString("hex");
}

test("the WebAssembly build shows the native library's records after every event", async () => {
  const replay = process.env.BITWATCH_REPLAY_EVENTS;
  assert.ok(replay, "set BITWATCH_REPLAY_EVENTS to the native bitwatch_replay_events");
  const events = script();
  const dir = mkdtempSync(path.join(os.tmpdir(), "bitwatch-"));
  try {
    const file = path.join(dir, "events.txt");
    writeFileSync(file, events.map(([kind, index, text]) => `${kind} ${index} ${toHex(text)}`).join("\n") + "\n");
    const native = execFileSync(replay, [file], { encoding: "utf8", maxBuffer: 1 << 28 }).trim().split("\n");

    const createBitwatch = require(path.join(siteDir, "bitwatch.js"));
    const module = await createBitwatch();
    const session = new module.Session();
    const web = [session.records()];
    for (const [kind, index, text] of events) {
      session.run(kind, index, text);
      web.push(session.records());
    }
    assert.equal(web.length, native.length);
    for (let i = 0; i < web.length; i++) {
      assert.equal(web[i], native[i], `records differ after event ${i}: ${JSON.stringify(events[i - 1])}`);
    }
    // The script did run frames, or the comparison would prove little.
    const last = JSON.parse(web[web.length - 1]);
    assert.ok(last.draws > 10000, `only ${last.draws} draws`);
    session.delete();
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

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
