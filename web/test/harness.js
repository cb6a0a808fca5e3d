// What the browser test and the benchmark share: a static server of the web build and Debian's
// chromium, headless, driven by puppeteer-core.
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8", ".wasm": "application/wasm", ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json", ".png": "image/png", ".json": "application/json" };

// Serves `folder` on 127.0.0.1 at a free port; resolves to {server, url}.
function serve(folder) {
  folder = path.resolve(folder);
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    if (name.endsWith("/")) name += "index.html";
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
                              "Cache-Control": "no-cache" });
    fs.createReadStream(file).pipe(response);
  });
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
