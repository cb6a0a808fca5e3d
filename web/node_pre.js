// In node the module reads its .wasm from beside it: this emscripten would otherwise fetch() a
// file path, which node's fetch refuses.
if (typeof process === "object" && process.versions && process.versions.node && !Module["wasmBinary"]) {
  Module["wasmBinary"] = require("fs").readFileSync(require("path").join(__dirname, "siacci.wasm"));
}
