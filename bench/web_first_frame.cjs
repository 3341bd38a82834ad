// Time to the first frame and the bytes sent, on an emulated phone with Chromium's CPU slowdown
// of 4: a first visit (nothing kept) and a second one (the offline copy), each several times,
// from a server that sends the precompressed twins. Run by scripts/web-bench.
//   ZELGORA_WEB_SITE  the built page, ZELGORA_CHROMIUM  the browser, ZELGORA_RUNS  visits (5)
"use strict";
const puppeteer = require("puppeteer-core");
const { SiteServer } = require("../tests/web/site_server.cjs");

const runs = Number(process.env.ZELGORA_RUNS || 5);
const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

async function visit(page, server, reload) {
  server.sent = 0;
  server.files = [];
  if (reload) await page.reload(); else await page.goto(server.url);
  await page.waitForFunction(() => window.Module && Module.zelgora && Module.zelgora["first-frame"],
                             { timeout: 600000, polling: 50 });
  const ms = await page.evaluate(() => Module.zelgora["first-frame"]);
  return { ms, sent: server.sent, files: server.files.slice() };
}

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: process.env.ZELGORA_CHROMIUM || "/usr/bin/chromium", headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader"] });
  const results = { first: [], second: [] };
  try {
    for (let i = 0; i < runs; i++) {
      const server = new SiteServer(process.env.ZELGORA_WEB_SITE);
      await server.start();
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      await page.setViewport(phone);
      const cdp = await page.createCDPSession();
      await cdp.send("Emulation.setCPUThrottlingRate", { rate: 4 });
      const first = await visit(page, server, false);
      // The worker's copy complete (it revalidates what the visit fetched), then a second visit.
      await page.waitForFunction(async () => {
        const names = await caches.keys();
        if (names.length !== 1 || !navigator.serviceWorker.controller) return false;
        const paths = (await (await caches.open(names[0])).keys()).map((r) => new URL(r.url).pathname);
        return paths.includes("/zelgora-edition0.data");
      }, { timeout: 600000, polling: 250 });
      const worker = server.sent;
      const second = await visit(page, server, true);
      first.worker = worker - first.sent;
      results.first.push(first);
      results.second.push(second);
      await context.close();
      await server.stop();
    }
  } finally {
    await browser.close();
  }
  for (const [name, list] of Object.entries(results)) {
    const ms = list.map((r) => Math.round(r.ms));
    console.log(`${name} visit: first frame ${ms.join(", ")} ms (median ${median(ms)}); ` +
                `sent ${median(list.map((r) => r.sent))} bytes` +
                (list[0].worker !== undefined ? `, then the worker's copy ${median(list.map((r) => r.worker))} bytes` : ""));
    console.log(`  ${list[0].files.map(([p, e, b]) => `${p} ${e || "plain"} ${b}`).join("; ")}`);
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
