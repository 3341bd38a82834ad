// The page as a phone's app, in headless Chromium on an emulated phone: installable, playable
// without a network after a first visit (and after a new build replaced the old copy), sound
// from the first tap, still and silent while hidden, laid out again when the phone turns.
// Run by scripts/web-test, which passes:
//   ZELGORA_WEB_SITE  the built page (build/web), ZELGORA_CHROMIUM  the browser,
//   ZELGORA_WEB_OUT   a folder for outputs.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const puppeteer = require("puppeteer-core");
const { SiteServer } = require("./site_server.cjs");

const site = process.env.ZELGORA_WEB_SITE;
const out = process.env.ZELGORA_WEB_OUT;
const portrait = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const landscape = { ...portrait, width: 844, height: 390 };

let browser;
test.before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.ZELGORA_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           // A phone's rule: no sound before the page has had a gesture. (This Chromium's
           // user-gesture-required holds Web Audio back only in frames of other origins.)
           "--autoplay-policy=document-user-activation-required"],
  });
});
test.after(async () => { if (browser) await browser.close(); });

// Each test its own origin (its own server), so that no worker or cache carries over.
async function serve(root = site) {
  const server = new SiteServer(root);
  await server.start();
  return server;
}

// A phone's page that records what goes wrong and counts the sound it makes: blocks of the
// game's audio output with a sample off zero.
async function openPhone(context, url, viewport = portrait) {
  const page = await context.newPage();
  await page.setViewport(viewport);
  const problems = [];
  page.on("console", (m) => { if (m.type() === "error") problems.push("console error: " + m.text()); });
  page.on("pageerror", (e) => problems.push("page error: " + e.message));
  await page.evaluateOnNewDocument(() => {
    window.zelgoraLoudBlocks = 0;
    const slot = Object.getOwnPropertyDescriptor(AudioNode.prototype, "onaudioprocess") ||
                 Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, "onaudioprocess");
    Object.defineProperty(ScriptProcessorNode.prototype, "onaudioprocess", {
      configurable: true,
      get() { return slot.get.call(this); },
      set(handler) {
        slot.set.call(this, handler && function (e) {
          handler.call(this, e);
          for (let c = 0; c < e.outputBuffer.numberOfChannels; c++) {
            if (e.outputBuffer.getChannelData(c).some((v) => v !== 0)) {
              window.zelgoraLoudBlocks++;
              break;
            }
          }
        });
      },
    });
  });
  if (url) await page.goto(url);
  return { page, problems };
}

async function firstFrame(page, timeout = 240000) {
  await page.waitForFunction(() => window.Module && Module.zelgora && Module.zelgora["first-frame"],
                             { timeout, polling: 100 });
}

async function liveState(page) {
  return page.evaluate(() => Module.zelgoraPage
    ? JSON.parse(Module.UTF8ToString(Module._zelgora_state(Module.zelgoraPage))) : null);
}
// Evaluated without the user gesture that puppeteer's own evaluation gives the page, which
// would let its sound start.
async function quietly(cdp, expression) {
  const { result, exceptionDetails } = await cdp.send("Runtime.evaluate",
    { expression, returnByValue: true, awaitPromise: true, userGesture: false });
  if (exceptionDetails) throw new Error(expression + ": " + exceptionDetails.text);
  return result.value;
}
const frame = async (page) => (await liveState(page)).Frame;
const audioState = (page) => page.evaluate(() => Module.SDL2?.audioContext?.state ?? "none");
const pause = (ms) => new Promise((r) => setTimeout(r, ms));

// The paths in the page's one offline copy, once it holds at least Wanted (and is not named
// Old); its name with them.
async function offlineCopy(page, wanted, old = "") {
  await page.waitForFunction(async (wanted, old) => {
    const names = (await caches.keys()).filter((n) => n.startsWith("zelgora-"));
    if (names.length !== 1 || names[0] === old || !navigator.serviceWorker.controller) return false;
    const paths = (await (await caches.open(names[0])).keys()).map((r) => new URL(r.url).pathname);
    return wanted.every((w) => paths.includes(w));
  }, { timeout: 120000, polling: 250 }, wanted, old);
  return page.evaluate(async () => {
    const [name] = (await caches.keys()).filter((n) => n.startsWith("zelgora-"));
    const paths = (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname);
    return { name, paths: paths.sort() };
  });
}

test("the page is an installable app whose icons load", async () => {
  // Installability is not judged in a private context: the browser's own.
  const server = await serve();
  const { page, problems } = await openPhone(browser.defaultBrowserContext(), server.url);
  try {
    await firstFrame(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await page.createCDPSession();
    const { errors, data } = await cdp.send("Page.getAppManifest");
    assert.deepEqual(errors, [], "the manifest does not parse cleanly");
    const manifest = JSON.parse(data);
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);
    // Every icon loads at the size the manifest gives it, and one is for masking.
    const loaded = await page.evaluate(async (icons) => Promise.all(icons.map(async (icon) => {
      const img = new Image();
      img.src = icon.src;
      await img.decode();
      return `${img.naturalWidth}x${img.naturalHeight}`;
    })), manifest.icons);
    assert.deepEqual(loaded, manifest.icons.map((i) => i.sizes));
    assert.ok(manifest.icons.some((i) => i.purpose === "maskable"));
    for (const size of ["192x192", "512x512"]) {
      assert.ok(manifest.icons.some((i) => i.sizes === size && i.purpose !== "maskable"), size);
    }
    assert.ok(["fullscreen", "standalone"].includes(manifest.display));
    const described = await page.$eval("meta[name=description]", (m) => m.content);
    assert.ok(described.length > 20, described);
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    await server.stop();
  }
});

test("after a first visit the game starts without a network, also once a new build replaced it",
     async () => {
  const server = await serve();
  const context = await browser.createBrowserContext();
  const { page, problems } = await openPhone(context, server.url + "?seed=3");
  // Errors of the network being gone are what this test makes; the page's own count.
  const pageProblems = () => problems.filter((p) => !p.includes("ERR_INTERNET_DISCONNECTED") &&
                                                   !p.includes("Failed to load resource"));
  try {
    await firstFrame(page);
    const common = ["/index.html", "/manifest.webmanifest", "/zelgora.js", "/zelgora.wasm",
                    "/zelgora-common.js", "/zelgora-common.data"];
    const edition0 = ["/zelgora-edition0.js", "/zelgora-edition0.data"];
    const first = await offlineCopy(page, [...common, ...edition0]);
    // An edition's data is kept as it is first used, not before.
    assert.ok(!first.paths.includes("/zelgora-edition1.data"), first.paths.join(" "));

    const offlineStart = async () => {
      await server.stop();
      await page.setOfflineMode(true);
      await page.reload();
      await firstFrame(page, 120000);
      const state = await liveState(page);
      assert.equal(state.Edition, 0);
      assert.ok(state.Frame > 0);
      await page.setOfflineMode(false);
    };
    await offlineStart();

    // A new build: another cache name, and a page that shows which build it is.
    const next = path.join(out, "site-next");
    fs.rmSync(next, { recursive: true, force: true });
    fs.mkdirSync(next);
    for (const name of fs.readdirSync(site)) {
      if (name === "sw.js" || name.startsWith("index.html")) continue;
      fs.symlinkSync(path.join(site, name), path.join(next, name));
    }
    const worker = fs.readFileSync(path.join(site, "sw.js"), "utf8");
    const stamp = /const CACHE = "(zelgora-[^"]+)"/.exec(worker);
    assert.ok(stamp, "sw.js names no cache");
    fs.writeFileSync(path.join(next, "sw.js"), worker.replace(stamp[1], stamp[1] + "-next"));
    fs.writeFileSync(path.join(next, "index.html"),
                     fs.readFileSync(path.join(site, "index.html"), "utf8")
                       .replace("<title>", '<meta name="zelgora-build" content="next">\n<title>'));
    server.root = next;
    await server.start();
    await page.reload();
    await firstFrame(page);
    const second = await offlineCopy(page, [...common, ...edition0], first.name);
    assert.equal(second.name, stamp[1] + "-next", "the old copy is still the one kept");
    assert.deepEqual(second.paths, first.paths);
    await offlineStart();
    assert.equal(await page.$eval("meta[name=zelgora-build]", (m) => m.content), "next");
    assert.deepEqual(pageProblems(), []);
  } finally {
    await page.close();
    await context.close();
    await server.stop();
  }
});

test("a data file that does not arrive ends the start-up with a message", async () => {
  const partial = path.join(out, "site-partial");
  fs.rmSync(partial, { recursive: true, force: true });
  fs.mkdirSync(partial);
  for (const name of fs.readdirSync(site)) {
    if (!name.startsWith("zelgora-edition0.data")) fs.symlinkSync(path.join(site, name), path.join(partial, name));
  }
  const server = await serve(partial);
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  try {
    await page.goto(server.url);
    await page.waitForFunction(() => !document.getElementById("again").hidden, { timeout: 60000 });
    const message = await page.$eval("#message", (e) => e.textContent);
    assert.match(message, /^The game cannot start: .*zelgora-edition0\.data/);
  } finally {
    await page.close();
    await context.close();
    await server.stop();
  }
});

test("sound starts with the first tap", async () => {
  const server = await serve();
  const context = await browser.createBrowserContext();
  const { page, problems } = await openPhone(context, server.url + "?seed=3");
  try {
    const cdp = await page.createCDPSession();
    const started = "!!(window.Module && Module.zelgora && Module.zelgora['first-frame'])";
    for (let i = 0; !(await quietly(cdp, started)); i++) {
      if (i > 2400) assert.fail("no first frame");
      await pause(100);
    }
    await pause(500);
    assert.equal(await quietly(cdp, "Module.SDL2.audioContext.state"), "suspended");
    assert.equal(await quietly(cdp, "window.zelgoraLoudBlocks"), 0);
    // A corner of the page, off the picture: the tap is only the gesture.
    await page.touchscreen.tap(5, 5);
    await page.waitForFunction(() => Module.SDL2.audioContext.state === "running",
                               { timeout: 10000, polling: 100 });
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    await context.close();
    await server.stop();
  }
});

test("hidden, the game stands still and is silent; shown again, it goes on", async () => {
  const server = await serve();
  const context = await browser.createBrowserContext();
  const { page, problems } = await openPhone(context, null);
  // A screen wake lock that the browser lets go when the page is hidden, as the real one.
  await page.evaluateOnNewDocument(() => {
    window.zelgoraLocks = { asked: 0, held: 0 };
    Object.defineProperty(navigator, "wakeLock", { configurable: true, value: {
      request: async (type) => {
        if (type !== "screen") throw new TypeError(type);
        window.zelgoraLocks.asked++;
        window.zelgoraLocks.held++;
        const lock = new EventTarget();
        let held = true;
        lock.release = async () => {
          if (!held) return;
          held = false;
          window.zelgoraLocks.held--;
          lock.dispatchEvent(new Event("release"));
        };
        document.addEventListener("visibilitychange", () => { if (document.hidden) lock.release(); });
        return lock;
      } } });
  });
  try {
    await page.goto(server.url + "?seed=3");
    await firstFrame(page);
    await page.waitForFunction(() => window.zelgoraLocks.held === 1, { timeout: 10000 });
    await page.touchscreen.tap(5, 5);
    await page.waitForFunction(() => Module.SDL2.audioContext.state === "running",
                               { timeout: 10000, polling: 100 });
    // The intro's sounds are heard: the count below can tell silence from sound.
    await page.waitForFunction(() => window.zelgoraLoudBlocks > 0, { timeout: 30000, polling: 100 });
    const active = () => page.evaluate(() => Module._zelgora_active(Module.zelgoraPage) === 1);
    assert.equal(await active(), true);

    const other = await context.newPage();
    await other.bringToFront();
    await page.waitForFunction(() => document.hidden, { timeout: 10000 });
    const hidden = await liveState(page);
    const loud = await page.evaluate(() => window.zelgoraLoudBlocks);
    assert.equal(await active(), false, "the game did not hear that the page was hidden");
    await pause(2000);
    assert.equal(await frame(page), hidden.Frame);
    assert.equal(await page.evaluate(() => window.zelgoraLoudBlocks), loud, "heard while hidden");

    // The frame count at each of the first animation frames once shown.
    await page.evaluate(() => {
      window.zelgoraShown = [];
      document.addEventListener("visibilitychange", () => {
        const sample = () => {
          const state = JSON.parse(Module.UTF8ToString(Module._zelgora_state(Module.zelgoraPage)));
          window.zelgoraShown.push([state.Frame, state.GameState]);
          if (window.zelgoraShown.length < 8) requestAnimationFrame(sample);
        };
        if (!document.hidden) requestAnimationFrame(sample);
      }, { once: true });
    });
    await page.bringToFront();
    await page.waitForFunction(() => !document.hidden, { timeout: 10000 });
    await page.waitForFunction(() => Module._zelgora_active(Module.zelgoraPage) === 1,
                               { timeout: 10000, polling: 50 });
    await page.waitForFunction(() => window.zelgoraShown.length === 8, { timeout: 10000 });
    // It goes on from where it stood: one tick a frame, no burst for the time it was hidden
    // (which would be the pacer's 8).
    const shown = await page.evaluate(() => window.zelgoraShown);
    const moved = shown.find(([f]) => f !== hidden.Frame);
    const where = `${hidden.Frame} -> ${JSON.stringify(shown)}`;
    assert.ok(moved && moved[0] - hidden.Frame <= 2, where);
    assert.ok(shown[7][0] > moved[0], where);
    assert.equal(shown[0][1], hidden.GameState);
    // The screen is kept on again, by one lock.
    await page.waitForFunction(() => window.zelgoraLocks.held === 1, { timeout: 10000 });
    assert.equal(await page.evaluate(() => window.zelgoraLocks.asked), 2);
    assert.equal(await audioState(page), "running");
    // The scene's loop is heard again.
    await page.waitForFunction((n) => window.zelgoraLoudBlocks > n, { timeout: 10000, polling: 50 },
                               loud);
    await other.close();
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    await context.close();
    await server.stop();
  }
});

// The canvas in its 4:3 area inside the safe area, at whole device pixels and drawn at them.
async function canvasFit(page) {
  return page.evaluate(() => {
    const c = document.getElementById("canvas").getBoundingClientRect();
    const s = document.getElementById("safe").getBoundingClientRect();
    const r = devicePixelRatio;
    const canvas = document.getElementById("canvas");
    return { css: [c.left, c.top, c.width, c.height].map((v) => Math.round(v * r)),
             safe: [s.left, s.top, s.width, s.height].map((v) => Math.round(v * r)),
             buffer: [canvas.width, canvas.height] };
  });
}

test("turned from portrait to landscape, the picture fits the new 4:3 area at the device's pixels",
     async () => {
  const server = await serve();
  const context = await browser.createBrowserContext();
  const { page, problems } = await openPhone(context, null);
  // A browser without a screen wake lock: nothing else changes.
  await page.evaluateOnNewDocument(() => { delete Navigator.prototype.wakeLock; });
  try {
    const cdp = await page.createCDPSession();
    // A notch at the top in portrait, at the left in landscape.
    const insets = async (i) => cdp.send("Emulation.setSafeAreaInsetsOverride", { insets: i });
    await insets({ top: 47, bottom: 34, left: 0, right: 0 });
    await page.goto(server.url + "?seed=3");
    assert.equal(await page.evaluate(() => "wakeLock" in navigator), false);
    await firstFrame(page);
    for (const [view, inset] of [[portrait, { top: 47, bottom: 34, left: 0, right: 0 }],
                                 [landscape, { top: 0, bottom: 21, left: 47, right: 47 }]]) {
      await insets(inset);
      await page.setViewport(view);
      const r = view.deviceScaleFactor;
      const safe = [inset.left * r, inset.top * r, (view.width - inset.left - inset.right) * r,
                    (view.height - inset.top - inset.bottom) * r];
      const unit = Math.min(Math.floor(safe[2] / 4), Math.floor(safe[3] / 3));
      const want = [unit * 4, unit * 3];
      await page.waitForFunction((w) => {
        const c = document.getElementById("canvas");
        return c.width === w[0] && c.height === w[1];
      }, { timeout: 10000, polling: 50 }, want);
      const fit = await canvasFit(page);
      const where = `${view.width}x${view.height}: ${JSON.stringify(fit)}`;
      assert.deepEqual(fit.safe, safe, where);
      assert.deepEqual(fit.buffer, want, where);
      assert.deepEqual(fit.css.slice(2), want, where);
      // Centred in the safe area, whole pixels from its edges.
      assert.ok(Math.abs(fit.css[0] - (safe[0] + (safe[2] - want[0]) / 2)) <= 1, where);
      assert.ok(Math.abs(fit.css[1] - (safe[1] + (safe[3] - want[1]) / 2)) <= 1, where);
      // The game draws its picture at the new size.
      const at = await frame(page);
      await page.waitForFunction((f) => JSON.parse(Module.UTF8ToString(
        Module._zelgora_state(Module.zelgoraPage))).Frame > f + 5, { timeout: 10000, polling: 50 }, at);
      await page.screenshot({ path: path.join(out, `phone-${view.width}x${view.height}.png`) });
    }
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    await context.close();
    await server.stop();
  }
});

test("the precompressed twins hold the files they stand beside", async () => {
  const zlib = require("node:zlib");
  const twins = fs.readdirSync(site).filter((n) => n.endsWith(".br") || n.endsWith(".gz"));
  for (const big of ["zelgora.wasm", "zelgora.js", "zelgora-common.data", "zelgora-edition0.data"]) {
    assert.ok(twins.includes(big + ".br") && twins.includes(big + ".gz"), big);
  }
  for (const twin of twins) {
    const original = fs.readFileSync(path.join(site, twin.slice(0, -3)));
    const packed = fs.readFileSync(path.join(site, twin));
    const unpacked = twin.endsWith(".br") ? zlib.brotliDecompressSync(packed) : zlib.gunzipSync(packed);
    assert.ok(unpacked.equals(original), twin + " is stale");
    assert.ok(packed.length < original.length, twin + " is no smaller");
  }
});
