// What the browser test and the benchmark share: a static server of the web build and Debian's
// chromium, headless, driven by puppeteer-core.
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const { handler } = require("../serve");

// Serves `folder` on 127.0.0.1 at a free port, as web/serve.js serves it; resolves to {server, url}.
function serve(folder) {
  const server = http.createServer(handler(path.resolve(folder)));
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () =>
    resolve({ server, url: "http://127.0.0.1:" + server.address().port + "/" })));
}

// A phone-sized page in a fresh profile.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "siacci-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--user-data-dir=" + profile],
  });
  const page = await browser.newPage();
  page.on("pageerror", (e) => console.log("page error: " + e.message));
  page.on("console", (m) => { if (m.type() === "error") console.log("page console: " + m.text()); });
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, page, close };
}

async function waitReady(page) {
  await page.waitForSelector("body[data-pronto='1']", { timeout: 15000 });
}

module.exports = { serve, launch, waitReady };
