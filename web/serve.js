// Serves the web build on the local network, so that a phone on the same Wi-Fi can open it:
//     node web/serve.js build-web [PORT]
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");

const folder = path.resolve(process.argv[2] || "build-web");
const port = Number(process.argv[3] || 8080);
const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8", ".wasm": "application/wasm", ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json", ".png": "image/png" };

http.createServer((request, response) => {
  let name = decodeURIComponent(new URL(request.url, "http://x").pathname);
  if (name.endsWith("/")) name += "index.html";
  const file = path.join(folder, path.normalize(name));
  if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404);
    response.end("non trovato");
    return;
  }
  response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
                            "Cache-Control": "no-cache" });
  fs.createReadStream(file).pipe(response);
}).listen(port, "0.0.0.0", () => {
  console.log("Siacci sul web, da " + folder + ":");
  for (const list of Object.values(os.networkInterfaces()))
    for (const a of list) if (a.family === "IPv4") console.log("  http://" + a.address + ":" + port + "/");
  console.log("Apri uno di questi indirizzi dal telefono sulla stessa rete (Ctrl+C per fermare).");
});
