// Serves the web build on the local network, so that a phone on the same Wi-Fi can open it:
//     node web/serve.js build-web [PORT]
// Files go out compressed (brotli, else gzip, as the browser accepts) with an ETag: the browser
// keeps them and asks again with If-None-Match, answered 304 while the build is the same. The
// service worker keeps the page offline.
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const zlib = require("zlib");

const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8", ".wasm": "application/wasm", ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json", ".png": "image/png", ".json": "application/json" };
const COMPRESSIBLE = new Set([".html", ".js", ".css", ".wasm", ".svg", ".webmanifest", ".json"]);

// The compressed forms of a file, made once per version of it.
const compressed = new Map();
function encoded(file, stat, encoding) {
  const key = file + "|" + encoding;
  const hit = compressed.get(key);
  if (hit && hit.mtime === stat.mtimeMs && hit.size === stat.size) return hit.data;
  const raw = fs.readFileSync(file);
  const data = encoding === "br"
    ? zlib.brotliCompressSync(raw, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 9 } })
    : zlib.gzipSync(raw, { level: 9 });
  compressed.set(key, { mtime: stat.mtimeMs, size: stat.size, data });
  return data;
}

// Compresses every file of the folder ahead, so that no phone waits for it.
function warm(folder) {
  for (const name of fs.readdirSync(folder)) {
    const file = path.join(folder, name);
    const stat = fs.statSync(file);
    if (!stat.isFile() || !COMPRESSIBLE.has(path.extname(file))) continue;
    encoded(file, stat, "br");
    encoded(file, stat, "gzip");
  }
}

function handler(folder) {
  warm(folder);
  return (request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    } catch (e) {
      response.writeHead(400);
      response.end("richiesta non valida");
      return;
    }
    if (name.endsWith("/")) name += "index.html";
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end("non trovato");
      return;
    }
    const stat = fs.statSync(file);
    const ext = path.extname(file);
    const accepts = String(request.headers["accept-encoding"] || "");
    const encoding = !COMPRESSIBLE.has(ext) ? "" : /\bbr\b/.test(accepts) ? "br" : /\bgzip\b/.test(accepts) ? "gzip" : "";
    const etag = "\"" + stat.size.toString(16) + "-" + Math.floor(stat.mtimeMs).toString(16) + (encoding ? "-" + encoding : "") + "\"";
    const headers = { "Content-Type": TYPES[ext] || "application/octet-stream", "Cache-Control": "no-cache",
      "ETag": etag, "Vary": "Accept-Encoding", "X-Content-Type-Options": "nosniff" };
    if (request.headers["if-none-match"] === etag) {
      response.writeHead(304, headers);
      response.end();
      return;
    }
    const body = encoding ? encoded(file, stat, encoding) : fs.readFileSync(file);
    if (encoding) headers["Content-Encoding"] = encoding;
    headers["Content-Length"] = body.length;
    response.writeHead(200, headers);
    response.end(request.method === "HEAD" ? undefined : body);
  };
}

if (require.main === module) {
  const folder = path.resolve(process.argv[2] || "build-web");
  const port = Number(process.argv[3] || 8080);
  http.createServer(handler(folder)).listen(port, "0.0.0.0", () => {
    console.log("Siacci sul web, da " + folder + ":");
    for (const list of Object.values(os.networkInterfaces()))
      for (const a of list) if (a.family === "IPv4") console.log("  http://" + a.address + ":" + port + "/");
    console.log("Apri uno di questi indirizzi dal telefono sulla stessa rete (Ctrl+C per fermare).");
    console.log("Per usarla senza rete il telefono vuole https (o localhost).");
  });
}

module.exports = { handler };
