// The page in headless Chromium, held to the native game: the same key script, seed and clock
// give the same state and (within what two rasterizers differ by) the same picture; real key
// presses reach the game and not the browser; a gamepad drives it; the page starts without
// errors.
// Run by scripts/web-test, which serves build/web and passes:
//   ZELGORA_WEB_URL   the served page, ZELGORA_NATIVE   the native game,
//   ZELGORA_CHROMIUM  the browser,     ZELGORA_WEB_OUT  a folder for outputs.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { execFileSync } = require("node:child_process");
const puppeteer = require("puppeteer-core");

const url = process.env.ZELGORA_WEB_URL;
const native = process.env.ZELGORA_NATIVE;
const out = process.env.ZELGORA_WEB_OUT;
const fixtures = path.join(__dirname);
const clock = "2026-12-10T12:00:00";

let browser;
test.before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.ZELGORA_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           "--window-size=640,480"],
  });
});
test.after(async () => { if (browser) await browser.close(); });

// A page at 640 x 480 CSS pixels, one device pixel each, that records what goes wrong.
async function openPage(query, before) {
  const page = await browser.newPage();
  if (before) await page.evaluateOnNewDocument(before);
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
  const problems = [];
  const lines = [];
  page.on("console", (m) => {
    lines.push(m.text());
    if (m.type() === "error") problems.push("console error: " + m.text());
  });
  page.on("pageerror", (e) => problems.push("page error: " + e.message));
  page.on("requestfailed", (r) => problems.push("request failed: " + r.url()));
  await page.evaluateOnNewDocument(() => {
    // Counts loads in this tab (a reload would count two) and full-screen requests.
    const loads = Number(sessionStorage.getItem("zelgora-loads") || 0) + 1;
    sessionStorage.setItem("zelgora-loads", String(loads));
    window.zelgoraFullScreenRequests = 0;
    const request = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function (...a) {
      window.zelgoraFullScreenRequests++;
      return request.apply(this, a);
    };
  });
  await page.goto(url + (query ? "?" + query : ""));
  return { page, problems, lines };
}

async function waitFor(page, event, timeout = 240000) {
  await page.waitForFunction((e) => window.Module && Module.zelgora && Module.zelgora[e] !== undefined,
                             { timeout, polling: 100 }, event);
}

function stateLine(lines) {
  const line = lines.find((l) => l.startsWith("zelgora-state: "));
  assert.ok(line, "no zelgora-state line among " + lines.length + " console lines");
  return JSON.parse(line.slice("zelgora-state: ".length));
}

function runNative(name, args) {
  const json = path.join(out, name + ".json"), png = path.join(out, name + "-native.png");
  execFileSync(native, ["--headless", "--dump-state", json, "--screenshot", png, ...args],
               { env: { ...process.env, SDL_VIDEODRIVER: "offscreen", SDL_AUDIODRIVER: "dummy" },
                 stdio: "inherit" });
  return { state: JSON.parse(fs.readFileSync(json, "utf8")), png };
}

// Every field, by path; the first differences, none when equal.
function differences(a, b, at = "", found = []) {
  if (found.length >= 10) return found;
  if (typeof a !== typeof b || Array.isArray(a) !== Array.isArray(b) || (a === null) !== (b === null)) {
    found.push(`${at}: ${JSON.stringify(a)} vs ${JSON.stringify(b)}`);
  } else if (a !== null && typeof a === "object") {
    const keys = new Set([...Object.keys(a), ...Object.keys(b)]);
    for (const k of keys) differences(a[k], b[k], at + "/" + k, found);
  } else if (a !== b) {
    found.push(`${at}: ${JSON.stringify(a)} vs ${JSON.stringify(b)}`);
  }
  return found;
}

// Compares two PNGs in the browser, which decodes them: the share of pixels whose largest
// channel difference is over Tolerance, and the mean channel difference.
async function comparePictures(pngA, pngB, tolerance) {
  const page = await browser.newPage();
  try {
    return await page.evaluate(async (a, b, t) => {
      async function pixels(b64) {
        const img = new Image();
        img.src = "data:image/png;base64," + b64;
        await img.decode();
        const c = document.createElement("canvas");
        c.width = img.width; c.height = img.height;
        const g = c.getContext("2d");
        g.drawImage(img, 0, 0);
        return { w: img.width, h: img.height, d: g.getImageData(0, 0, img.width, img.height).data };
      }
      const p = await pixels(a), q = await pixels(b);
      if (p.w !== q.w || p.h !== q.h) return { size: `${p.w}x${p.h} vs ${q.w}x${q.h}` };
      let over = 0, sum = 0;
      for (let i = 0; i < p.d.length; i += 4) {
        let m = 0;
        for (let c = 0; c < 3; c++) {
          const d = Math.abs(p.d[i + c] - q.d[i + c]);
          sum += d;
          m = Math.max(m, d);
        }
        if (m > t) over++;
      }
      const n = p.w * p.h;
      return { size: "same", overShare: over / n, mean: sum / (3 * n) };
    }, fs.readFileSync(pngA).toString("base64"), fs.readFileSync(pngB).toString("base64"), tolerance);
  } finally {
    await page.close();
  }
}

// Key scripts played both ways: the setup screen in both languages, play with the help panel,
// the background and the camera, and a whole game (whole-game.keys, seed 11).
const scripts = [
  { name: "setup", seed: 7, frames: 400,
    keys: "20 down F5\n21 up F5\n150 down DOWN\n151 up DOWN\n200 down RIGHT\n201 up RIGHT\n" },
  { name: "play", seed: 5, frames: 900,
    keys: "200 down RETURN\n201 up RETURN\n400 down SHIFT\n400 down RIGHT\n401 up RIGHT\n" +
          "402 up SHIFT\n460 down UP\n461 up UP\n520 down F1\n521 up F1\n560 down F2\n561 up F2\n" +
          "600 down CONTROL\n600 down DOWN\n640 up DOWN\n641 up CONTROL\n700 down SHIFT\n" +
          "700 down LEFT\n701 up LEFT\n702 up SHIFT\n" },
];
// A whole game: the setup screen, help, levels 1 to 4 solved, game over and Escape. The page
// draws only the last tick of each animation frame, so it takes about a minute.
scripts.push({ name: "whole-game", seed: 11, frames: 20000, gameOver: true,
               keys: fs.readFileSync(path.join(fixtures, "whole-game.keys"), "utf8") });

for (const s of scripts) {
  test(`the page plays "${s.name}" as the native game does`, async () => {
    const keysFile = path.join(out, s.name + ".keys");
    fs.writeFileSync(keysFile, s.keys);
    const expected = runNative(s.name, ["--seed", String(s.seed), "--clock", clock,
                                        "--frames", String(s.frames), "--keys", keysFile]);
    if (s.gameOver) assert.equal(expected.state.GameState, 5, "the script no longer reaches game over");
    const query = new URLSearchParams({ seed: s.seed, clock, frames: s.frames, keys: s.keys,
                                        "dump-state": "" });
    const { page, problems, lines } = await openPage(query.toString());
    try {
      await page.waitForFunction(
        () => Module.zelgora["frames-done"] !== undefined || Module.zelgora.ended !== undefined,
        { timeout: 600000, polling: 200 });
      const state = stateLine(lines);
      assert.deepEqual(differences(expected.state, state), []);
      assert.deepEqual(problems, []);
      if (expected.state.GameState === 5 && state.Frame < s.frames) return;  // ESC closed it
      const shot = path.join(out, s.name + "-web.png");
      const box = await (await page.$("#canvas")).boundingBox();
      assert.deepEqual(box, { x: 0, y: 0, width: 640, height: 480 });
      await page.screenshot({ path: shot, clip: box });
      const cmp = await comparePictures(expected.png, shot, 48);
      console.log(`${s.name}: ${state.Frame} frames; pixels off by more than 48: ` +
                  `${(cmp.overShare * 100).toFixed(3)} %, mean difference ${cmp.mean?.toFixed(3)}`);
      assert.equal(cmp.size, "same");
      // Only the two software rasterizers differ: the page shapes its texts as Debian's
      // libraries do, so a letter a pixel aside fails this.
      assert.ok(cmp.overShare < 0.005 && cmp.mean < 1, JSON.stringify(cmp));
    } finally {
      await page.close();
    }
  });
}

test("a picture that differs is told apart", async () => {
  // The comparison itself: the setup screen against the play screen must fail it.
  const a = path.join(out, "setup-native.png"), b = path.join(out, "play-native.png");
  if (!fs.existsSync(a) || !fs.existsSync(b)) return assert.fail("the play tests made no pictures");
  const cmp = await comparePictures(a, b, 48);
  console.log(`setup against play: ${(cmp.overShare * 100).toFixed(1)} % of the pixels off`);
  assert.ok(cmp.overShare > 0.1, JSON.stringify(cmp));
});

// The running game's state, read between animation frames.
async function liveState(page) {
  return page.evaluate(() => Module.zelgoraPage
    ? JSON.parse(Module.UTF8ToString(Module._zelgora_state(Module.zelgoraPage))) : null);
}
async function gameFullScreen(page) {
  return page.evaluate(() => Module._zelgora_full_screen(Module.zelgoraPage) === 1);
}
async function until(page, what, pred, timeout = 180000) {
  const end = Date.now() + timeout;
  for (;;) {
    const state = await liveState(page);
    if (state && pred(state)) return state;
    if (Date.now() > end) assert.fail("waited in vain for " + what);
    await new Promise((r) => setTimeout(r, 100));
  }
}

test("real key presses reach the game, not the browser", async () => {
  const { page, problems, lines } = await openPage("seed=3&dump-state");
  try {
    await waitFor(page, "first-frame");
    console.log(`first frame after ${Math.round(await page.evaluate(() => Module.zelgora["first-frame"]))} ms`);
    const audioBefore = await page.evaluate(() => Module.SDL2?.audioContext?.state);
    const start = await until(page, "the setup screen at rest", (s) => !s.SetupBusy);
    await page.keyboard.press("F5");  // would reload the page; switches the language
    await until(page, "the other language", (s) => s.LanguageIndex !== start.LanguageIndex);
    await until(page, "the setup bar at rest", (s) => !s.SetupBusy);
    await page.keyboard.press("F1");  // would open the browser's help; opens the game's
    await until(page, "the help panel", (s) => s.HelpVisible);
    await page.keyboard.down("Control");  // would scroll the page
    await page.keyboard.press("ArrowDown");
    await page.keyboard.up("Control");
    await page.keyboard.press("Alt");  // would focus a menu
    const audioAfter = await page.evaluate(() => Module.SDL2?.audioContext?.state);
    await page.keyboard.press("Escape");  // ends the game as on the desktop
    await waitFor(page, "ended", 30000);
    const state = stateLine(lines);
    assert.equal(await page.evaluate(() => sessionStorage.getItem("zelgora-loads")), "1",
                 "the page was loaded again");
    assert.equal(state.LanguageIndex, 1 - start.LanguageIndex);
    assert.equal(state.HelpVisible, true);
    assert.equal(await page.$eval("#message", (e) => e.textContent), "The game has ended.");
    assert.equal(await page.$eval("#again", (e) => e.hidden), false);
    assert.equal(await page.evaluate(() => window.scrollY), 0);
    console.log(`audio context before the first key: ${audioBefore}, after: ${audioAfter}`);
    assert.equal(audioAfter, "running");
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
  }
});

test("Alt+Return asks the browser for full screen and the picture fills it", async () => {
  const { page, problems } = await openPage("seed=3");
  try {
    await waitFor(page, "first-frame");
    await page.keyboard.down("Alt");
    await page.keyboard.press("Enter");
    await page.keyboard.up("Alt");
    await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 10000 });
    assert.equal(await page.evaluate(() => window.zelgoraFullScreenRequests), 1);
    assert.equal(await page.evaluate(() => document.fullscreenElement.id), "canvas");
    // The picture fills the screen at its pixels, not the 640 x 480 canvas stretched.
    const screen = await page.evaluate(() => {
      const c = document.getElementById("canvas");
      return { canvas: [c.width, c.height],
               screen: [screen.width * devicePixelRatio, screen.height * devicePixelRatio] };
    });
    console.log(`full screen: canvas ${screen.canvas}, screen ${screen.screen}`);
    assert.deepEqual(screen.canvas, screen.screen);
    // The browser leaves full screen by itself (its Escape key): the game leaves it too, so
    // the next Alt+Return asks for it again.
    await page.evaluate(() => document.exitFullscreen());
    await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 10000 });
    const left = (await liveState(page)).Frame;
    await until(page, "frames after leaving", (s) => s.Frame > left + 5);
    assert.equal(await gameFullScreen(page), false, "the game still thinks it is in full screen");
    await page.keyboard.down("Alt");
    await page.keyboard.press("Enter");
    await page.keyboard.up("Alt");
    await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 10000 });
    assert.equal(await page.evaluate(() => window.zelgoraFullScreenRequests), 2);
    assert.equal(await gameFullScreen(page), true);
    assert.equal(await page.evaluate(() => sessionStorage.getItem("zelgora-loads")), "1");
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
  }
});

test("a game controller moves the selection as the arrows do", async () => {
  // Headless Chromium has no gamepads: the page sees one with the standard layout, which SDL
  // maps, and whose buttons the test presses.
  const { page, problems } = await openPage("seed=3", () => {
    const idle = () => ({ pressed: false, touched: false, value: 0 });
    const pad = { id: "Test pad", index: 0, connected: true, mapping: "standard", timestamp: 1,
                  axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, idle) };
    Object.defineProperty(Navigator.prototype, "getGamepads",
                          { value: () => [pad, null, null, null], configurable: true });
    window.zelgoraPad = (button, down) => {
      pad.buttons[button] = down ? { pressed: true, touched: true, value: 1 } : idle();
      pad.timestamp++;
    };
  });
  try {
    await waitFor(page, "first-frame");
    // Return leaves the intro for the setup screen, and there starts the game.
    await page.keyboard.press("Enter");
    await until(page, "the setup screen at rest", (s) => s.GameState === 4 && !s.SetupBusy);
    await page.keyboard.press("Enter");
    const settled = (s) => s.GameState === 2 && !s.Assembling && !s.CameraMoving && !s.Rotating;
    const start = await until(page, "the board in play", settled);
    // The standard layout's pad: 12 up, 13 down, 14 left, 15 right. Rows count upwards.
    const up = start.CursorRow < start.BoardRows - 1;
    const right = start.CursorCol < start.BoardCols - 1;
    const press = (button, down) => page.evaluate((b, d) => window.zelgoraPad(b, d), button, down);
    await press(up ? 12 : 13, true);
    await until(page, "the selection a row away",
                (s) => s.CursorRow === start.CursorRow + (up ? 1 : -1), 20000);
    await press(up ? 12 : 13, false);
    await press(right ? 15 : 14, true);
    const moved = await until(page, "the selection a column away",
                              (s) => s.CursorCol === start.CursorCol + (right ? 1 : -1), 20000);
    await press(right ? 15 : 14, false);
    assert.ok(moved.Credits > start.Credits);
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
  }
});
