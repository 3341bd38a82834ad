// The page played by touch in headless Chromium, on emulated phones (portrait, landscape) and a
// tablet: real touches through the DevTools protocol reach the game and its buttons, the page
// neither scrolls nor zooms under the fingers, and the buttons keep clear of the picture or of
// its middle.
// Run by scripts/web-test, which serves build/web and passes:
//   ZELGORA_WEB_URL   the served page, ZELGORA_CHROMIUM  the browser,
//   ZELGORA_WEB_OUT   a folder for outputs.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const puppeteer = require("puppeteer-core");

const url = process.env.ZELGORA_WEB_URL;
const out = process.env.ZELGORA_WEB_OUT;

let browser;
test.before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.ZELGORA_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader"],
  });
});
test.after(async () => { if (browser) await browser.close(); });

// The tablet at one device pixel per CSS pixel: the software rasterizer keeps its pace there.
const devices = [
  { name: "phone-portrait", width: 390, height: 844, dpr: 3, place: "below" },
  { name: "phone-landscape", width: 844, height: 390, dpr: 3, place: "beside" },
  { name: "tablet", width: 1024, height: 768, dpr: 1, place: "over" },
];

// A touch screen of the device's size; what goes wrong on the page is recorded.
async function openTouchPage(device, query) {
  const page = await browser.newPage();
  await page.setViewport({ width: device.width, height: device.height,
                           deviceScaleFactor: device.dpr, isMobile: true, hasTouch: true });
  const problems = [];
  page.on("console", (m) => { if (m.type() === "error") problems.push("console error: " + m.text()); });
  page.on("pageerror", (e) => problems.push("page error: " + e.message));
  page.on("requestfailed", (r) => problems.push("request failed: " + r.url()));
  await page.evaluateOnNewDocument(() => {
    window.zelgoraFullScreenRequests = 0;
    const request = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function (...a) {
      window.zelgoraFullScreenRequests++;
      return request.apply(this, a);
    };
  });
  await page.goto(url + (query ? "?" + query : ""));
  const cdp = await page.createCDPSession();
  return { page, problems, cdp };
}

// Real touches: each point of a gesture is one finger, by its index.
function points(list) { return list.map(([x, y], id) => ({ x, y, id })); }
async function touchStart(cdp, list) {
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: points(list) });
}
async function touchMove(cdp, list) {
  await cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: points(list) });
}
async function touchEnd(cdp) {
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
}
async function tap(cdp, x, y) {
  await touchStart(cdp, [[x, y]]);
  await touchEnd(cdp);
}
// Fingers from their starts to their ends in Steps moves.
async function drag(cdp, from, to, steps = 8) {
  await touchStart(cdp, from);
  for (let i = 1; i <= steps; i++) {
    await touchMove(cdp, from.map(([x, y], f) => [x + ((to[f][0] - x) * i) / steps,
                                                  y + ((to[f][1] - y) * i) / steps]));
    await new Promise((r) => setTimeout(r, 16));
  }
  await touchEnd(cdp);
}

async function waitFor(page, event, timeout = 240000) {
  await page.waitForFunction((e) => window.Module && Module.zelgora && Module.zelgora[e] !== undefined,
                             { timeout, polling: 100 }, event);
}
async function liveState(page) {
  return page.evaluate(() => Module.zelgoraPage
    ? JSON.parse(Module.UTF8ToString(Module._zelgora_state(Module.zelgoraPage))) : null);
}
async function until(page, what, pred, timeout = 120000) {
  const end = Date.now() + timeout;
  for (;;) {
    const state = await liveState(page);
    if (state && pred(state)) return state;
    if (Date.now() > end) assert.fail("waited in vain for " + what);
    await new Promise((r) => setTimeout(r, 100));
  }
}

// The canvas's place, and where a point of the 640 x 480 picture is on the page.
async function pictureBox(page) {
  return (await page.$("#canvas")).boundingBox();
}
function onPage(box, x, y) {
  return [box.x + (x * box.width) / 640, box.y + (y * box.height) / 480];
}
function centre(box) { return [box.x + box.width / 2, box.y + box.height / 2]; }
function overlaps(a, b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// What every button should do, in the order the test presses them: the state before and
// after, as its key changes it.
const buttons = [
  { id: "key-help", sk: "Pomoc (zobraz/skry)", en: "Help (show/hide)",
    done: (a, b) => b.HelpVisible === !a.HelpVisible },
  { id: "key-background", sk: "Pozadie (zobraz/skry)", en: "Background (show/hide)",
    done: (a, b) => b.BackgroundVisible === !a.BackgroundVisible },
  { id: "key-difficulty", sk: "Začiatočník / Profík", en: "Beginner / Profi",
    done: (a, b) => b.SetupChoice[2] === 1 - a.SetupChoice[2] && !b.SetupBusy },
  { id: "key-sound", sk: "So zvukmi / Potichu", en: "Sound / No sound",
    done: (a, b) => b.SetupChoice[1] === 1 - a.SetupChoice[1] && !b.SetupBusy },
  { id: "key-language", sk: "Jazyk: Slovensky / English", en: "Language: Slovensky / English",
    done: (a, b) => b.LanguageIndex === 1 - a.LanguageIndex && !b.SetupBusy },
];

for (const device of devices) {
  test(`${device.name}: the buttons sit clear of the board and do what their keys do`, async () => {
    const { page, problems, cdp } = await openTouchPage(device, "seed=3");
    try {
      await waitFor(page, "first-frame");
      await until(page, "the setup screen at rest", (s) => s.GameState === 4 && !s.SetupBusy);
      const picture = await pictureBox(page);
      const middle = { x: picture.x + picture.width / 3, y: picture.y + picture.height / 3,
                       width: picture.width / 3, height: picture.height / 3 };
      const viewport = { x: 0, y: 0, width: device.width, height: device.height };
      for (const b of [...buttons, { id: "key-full-screen" }, { id: "key-quit" }]) {
        const box = await (await page.$("#" + b.id)).boundingBox();
        assert.ok(box && box.width >= 40 && box.height >= 40, `${b.id} is shown: ${JSON.stringify(box)}`);
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= device.width &&
                  box.y + box.height <= device.height, `${b.id} is off the screen`);
        if (device.place === "over") {
          assert.ok(!overlaps(box, middle), `${b.id} covers the middle of the picture`);
        } else {
          assert.ok(!overlaps(box, picture), `${b.id} covers the picture`);
          const margin = device.place === "below" ? box.y >= picture.y + picture.height
                                                  : box.x >= picture.x + picture.width;
          assert.ok(margin, `${b.id} is not ${device.place} the picture`);
        }
        assert.ok(overlaps(box, viewport));
      }
      if (device.name === "phone-portrait") {
        await page.screenshot({ path: path.join(out, "web-phone.png"),
                                clip: { ...viewport, scale: 0.5 } });
      }

      // The names are the game's language's: Slovak first, English after the language button.
      for (const b of buttons) {
        assert.ok(await page.$(`aria/${b.sk}[role="button"]`), `no button named "${b.sk}"`);
      }
      for (const b of buttons) {
        const before = await liveState(page);
        await tap(cdp, ...centre(await (await page.$("#" + b.id)).boundingBox()));
        await until(page, `what ${b.id} does`, (s) => b.done(before, s), 20000);
      }
      await page.waitForFunction(() => document.getElementById("keys").lang === "en",
                                 { timeout: 10000 });
      for (const b of buttons) {
        assert.ok(await page.$(`aria/${b.en}[role="button"]`), `no button named "${b.en}"`);
      }

      // Full screen: the browser grants it to the tap; leaving it by the browser's means
      // leaves it in the game, and the buttons are back.
      await tap(cdp, ...centre(await (await page.$("#key-full-screen")).boundingBox()));
      await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 10000 });
      assert.equal(await page.evaluate(() => window.zelgoraFullScreenRequests), 1);
      assert.equal(await page.evaluate(() => Module._zelgora_full_screen(Module.zelgoraPage)), 1);
      await page.evaluate(() => document.exitFullscreen());
      await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 10000 });
      await page.waitForFunction(() => Module._zelgora_full_screen(Module.zelgoraPage) === 0,
                                 { timeout: 10000 });

      assert.equal(await page.evaluate(() => visualViewport.scale), 1);
      assert.deepEqual(await page.evaluate(() => [scrollX, scrollY]), [0, 0]);

      // Quit ends the game; the page offers to play again and the buttons go.
      await tap(cdp, ...centre(await (await page.$("#key-quit")).boundingBox()));
      await waitFor(page, "ended", 30000);
      assert.equal(await page.$eval("#again", (e) => e.hidden), false);
      assert.equal(await page.$eval("#keys", (e) => getComputedStyle(e).display), "none");
      assert.deepEqual(problems, []);
    } finally {
      await page.close();
    }
  });
}

// A pinch and a double tap that would zoom a page, and a swipe that would scroll one, on the
// picture and in the margins. The same gestures on a page of its own zoom it, so this holds
// the check to something that would fail.
test("the page neither zooms nor scrolls under the fingers", async () => {
  const device = devices[0];
  const gestures = async (cdp, x, y) => {
    await drag(cdp, [[x - 20, y], [x + 20, y]], [[x - 120, y], [x + 120, y]]);
    await tap(cdp, x, y);
    await tap(cdp, x, y);
    await drag(cdp, [[x, y + 100]], [[x, y - 150]]);
  };
  const plain = await browser.newPage();
  try {
    await plain.setViewport({ width: device.width, height: device.height,
                              deviceScaleFactor: device.dpr, isMobile: true, hasTouch: true });
    await plain.setContent('<meta name="viewport" content="width=device-width, initial-scale=1">' +
                           '<div style="height: 3000px">text</div>');
    const cdp = await plain.createCDPSession();
    await gestures(cdp, 195, 500);
    await new Promise((r) => setTimeout(r, 500));
    const moved = await plain.evaluate(() => visualViewport.scale !== 1 || scrollY !== 0 ||
                                             visualViewport.pageTop !== 0);
    assert.ok(moved, "the gestures neither zoomed nor scrolled a plain page");
  } finally {
    await plain.close();
  }

  const { page, problems, cdp } = await openTouchPage(device, "seed=3");
  try {
    await waitFor(page, "first-frame");
    const picture = await pictureBox(page);
    await gestures(cdp, ...centre(picture));
    await gestures(cdp, device.width / 2, picture.y + picture.height + 120);
    await new Promise((r) => setTimeout(r, 500));
    assert.deepEqual(await page.evaluate(() => ({ scale: visualViewport.scale, scrollY,
                                                  top: visualViewport.pageTop })),
                     { scale: 1, scrollY: 0, top: 0 });
    // A long press opens no menu; no text is selected.
    const shown = await page.evaluate(() => document.getElementById("canvas").dispatchEvent(
      new MouseEvent("contextmenu", { bubbles: true, cancelable: true })));
    assert.equal(shown, false, "the context menu was not held back");
    assert.equal(await page.evaluate(() => String(getSelection())), "");
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
  }
});

test("with a mouse and keyboard the buttons stay away until a touch", async () => {
  const page = await browser.newPage();
  try {
    await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
    await page.goto(url + "?seed=3");
    await waitFor(page, "first-frame");
    const shown = () => page.$eval("#key-help", (e) => e.getBoundingClientRect().width > 0);
    assert.equal(await shown(), false, "the buttons show without a touch screen");
    // A touch screen beside the mouse: the first touch brings them.
    await page.evaluate(() => window.dispatchEvent(new TouchEvent("touchstart")));
    assert.equal(await shown(), true, "a touch did not show the buttons");
  } finally {
    await page.close();
  }
});

// Play by touch: a tap on "GO PLAY !" starts play, a tap on a neighbouring cube moves the
// selection there, a swipe turns the selected cube, a pinch brings the board closer.
for (const device of devices) {
  test(`${device.name}: taps, a swipe and a pinch play the game`, async () => {
    const { page, problems, cdp } = await openTouchPage(device, "seed=3");
    try {
      await waitFor(page, "first-frame");
      await until(page, "the setup screen at rest", (s) => s.GameState === 4 && !s.SetupBusy);
      const picture = await pictureBox(page);
      await tap(cdp, ...onPage(picture, 320, 105));  // the top bar, "GO PLAY !"
      const settled = (s) => s.GameState === 2 && !s.Assembling && !s.CameraMoving && !s.Rotating;
      const start = await until(page, "the board in play", settled);

      // The camera looks at the selected cube, in the middle of the picture; the cubes stand
      // one apart at depth 3 beyond the camera's Z, drawn at 2 / depth of the picture's size.
      const depth = 3 + start.Camera.Z;
      const right = start.CursorCol < start.BoardCols - 1 ? 1 : -1;
      await tap(cdp, ...onPage(picture, 320 + (right * 640) / depth, 240));
      const moved = await until(page, "the selection a column away",
                                (s) => s.CursorCol === start.CursorCol + right && settled(s), 20000);
      assert.equal(moved.CursorRow, start.CursorRow);
      assert.equal(moved.Credits, start.Credits + 1);

      // A swipe to the right over the selected cube turns it a quarter turn about the upright
      // axis: its top face stays, its front face is another. The turn's direction is spent
      // once the turn starts, so the settled state shows it in the cube's faces.
      const cube = (s) => s.Board[s.CursorRow][s.CursorCol];
      const [cx, cy] = onPage(picture, 320, 240);
      const reach = picture.width / 8;
      await drag(cdp, [[cx - reach / 2, cy]], [[cx + reach / 2, cy]]);
      const turned = await until(page, "a turn", (s) => s.Credits === moved.Credits + 1 &&
                                                        settled(s), 20000);
      assert.equal(turned.CursorCol, moved.CursorCol);
      assert.equal(cube(turned).TopFace, cube(moved).TopFace);
      assert.notEqual(cube(turned).FrontFace, cube(moved).FrontFace);
      assert.equal(cube(turned).AngleY, (cube(moved).AngleY + 90) % 360);

      // Two fingers apart: closer to the board.
      await drag(cdp, [[cx - 20, cy - 20], [cx + 20, cy + 20]],
                 [[cx - 2 * reach, cy - 2 * reach], [cx + 2 * reach, cy + 2 * reach]]);
      await until(page, "the board closer", (s) => s.Camera.Z < turned.Camera.Z, 20000);
      assert.equal(await page.evaluate(() => visualViewport.scale), 1);
      assert.deepEqual(problems, []);
    } finally {
      await page.close();
    }
  });
}
