// The WebAssembly module in node, per call: the worked example's cards (13 rows with the zero,
// 1001 rows in TSV and in JSON, G7 to 1500 m uphill), the chance of a hit over a card, and the
// whole catalogue's classic tables.
// Medians of repeated runs, the module loaded once.
//     SIACCI_WEB=build-web node web/test/module_bench.js
"use strict";
const path = require("path");

const web = path.resolve(process.env.SIACCI_WEB || "build-web");
const example = ["--velocity", "800", "--bc", "0.4", "--weight", "150", "--sight", "4", "--zero", "220",
                 "--wind", "16", "--wind-clock", "3"];

function median(fn, repeats) {
  const times = [];
  for (let i = 0; i < repeats; ++i) {
    const started = process.hrtime.bigint();
    fn();
    times.push(Number(process.hrtime.bigint() - started) / 1e6);
  }
  times.sort((a, b) => a - b);
  return times[Math.floor(times.length / 2)];
}

(async () => {
  const siacci = await require(path.join(web, "siacci.js"))();
  const card = (extra) => () => {
    const r = siacci.run(["card", ...example, ...extra]);
    if (r.status !== 0) throw new Error(r.err);
  };
  const cases = [
    ["card 13 rows with its zero (tsv)", card(["--max", "300", "--increment", "25"]), 400],
    ["card 1001 rows (tsv)", card(["--max", "1000", "--increment", "1"]), 60],
    ["card 1001 rows (json)", card(["--max", "1000", "--increment", "1", "--format", "json"]), 60],
    ["G7 card to 1500 m, 10 degrees uphill", () => {
      const r = siacci.run(["card", "--velocity", "800", "--drag", "G7", "--bc", "0.243", "--weight", "150",
                            "--zero", "100", "--angle", "10", "--max", "1500", "--increment", "50"]);
      if (r.status !== 0) throw new Error(r.err);
    }, 200],
    // The page flies it a batch at a time; the whole must stay under 400 ms.
    ["hit: 10,000 samples x 51 rows", () => {
      const r = siacci.run(["hit", "--velocity", "800", "--bc", "0.4", "--weight", "150", "--zero", "200",
                            "--wind", "10", "--max", "500", "--increment", "10", "--vital-zone", "15",
                            "--sd-range", "1", "--sd-wind", "4", "--sd-velocity", "10", "--sd-bc", "2",
                            "--sd-dispersion-moa", "1.05", "--format", "json"]);
      if (r.status !== 0) throw new Error(r.err);
    }, 5],
  ];
  for (const [name, fn, repeats] of cases) {
    fn();
    console.log(name.padEnd(40) + median(fn, repeats).toFixed(3) + " ms");
  }
})();
