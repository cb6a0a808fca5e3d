// The WebAssembly module against the native siacci-cli: the same argument lists, across every
// command and mode (random shots included), must give the same output, messages and status.
//     SIACCI_CLI=build/siacci-cli SIACCI_WEB=build-web node web/test/corpus.js
"use strict";
const { spawnSync } = require("child_process");
const path = require("path");

const cli = process.env.SIACCI_CLI;
const web = process.env.SIACCI_WEB;
if (!cli || !web) {
  console.error("SIACCI_CLI and SIACCI_WEB must name the native tool and the web build folder");
  process.exit(2);
}

// A small seeded generator, so that a failure can be repeated.
let seed = Number(process.env.SIACCI_SEED || 20261209) >>> 0;
function random() {
  seed = (seed + 0x6d2b79f5) >>> 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const between = (lo, hi, decimals) => (lo + random() * (hi - lo)).toFixed(decimals);
const maybe = (p) => random() < p;

function native(args) {
  const r = spawnSync(cli, args, { encoding: "utf8" });
  return { status: r.status, out: r.stdout, err: r.stderr };
}

// The native tool has one command the module does not (pdf, which needs Qt): its lines leave the
// native help before the comparison.
function withoutPdf(text) {
  const lines = text.split("\n");
  const kept = [];
  for (let i = 0; i < lines.length; ++i) {
    if (lines[i].startsWith("  siacci-cli pdf")) {
      while (i + 1 < lines.length && lines[i + 1].startsWith("      ")) ++i;
      continue;
    }
    kept.push(lines[i]);
  }
  return kept.join("\n");
}

const cardHelp = native(["card", "--help"]);
const hasCard = cardHelp.status === 0;
// The card's options of the range-card window, where this build has them.
const cardKnows = (option) => cardHelp.out.includes(option);
const hasTrue = native(["true", "--help"]).status === 0;
const items = native(["catalogue"]).out.split("\n").filter(Boolean).map((l) => l.split("\t"));

function number(lo, hi, decimals) {
  const text = between(lo, hi, decimals);
  return maybe(0.1) ? text.replace(".", ",") : text;
}

function shotOptions() {
  const args = [];
  if (maybe(0.3)) {
    const item = pick(items);
    args.push("--load", item[2] + ":" + (1 + Math.floor(random() * (Number(item[4]) + 1))));
  } else {
    args.push("--velocity", maybe(0.05) ? pick(["0", "abc", "2000", "50"]) : number(200, 1300, pick([0, 1])));
    args.push("--bc", maybe(0.03) ? "0" : number(0.1, 0.7, 3));
  }
  if (maybe(0.8)) args.push("--weight", number(40, 300, 0));
  if (maybe(0.7)) args.push("--sight", number(2, 8, 1));
  if (maybe(0.7)) args.push("--zero", pick(["100", "150", "200", "220", "250", "300"]));
  if (maybe(0.8)) args.push("--increment", pick(["10", "25", "50", "100", "0"]));
  if (maybe(0.8)) args.push("--max", pick(["100", "300", "500", "1000", "2000"]));
  if (maybe(0.5)) args.push("--temperature", number(-20, 40, 0));
  if (maybe(0.5)) args.push("--altitude", number(0, 3000, 0));
  if (maybe(0.3)) args.push("--site-angle", pick(["0", "15", "30", "45", "60", "10"]));
  return args;
}

function terminalOptions() {
  return ["--diameter", number(7, 12, 2), "--x", number(0.5, 2, 2), "--y", number(0.5, 2, 2),
          "--z", number(0.5, 2, 2), "--d", number(0.5, 2, 2), "--rsp", number(0.5, 2, 2),
          "--pir", number(0.5, 2, 2)];
}

function tableCase() {
  const mode = pick(["metric", "metric", "imperial", "terminal"]);
  const args = ["table", "--mode", mode, ...shotOptions()];
  if (mode === "terminal" && maybe(0.7)) args.push(...terminalOptions());
  if (maybe(0.3)) args.push("--headings");
  if (maybe(0.2)) args.push("--print");
  if (maybe(0.2)) args.push("--format", pick(["csv", "tsv", "xml"]));
  if (maybe(0.2)) args.push("--decimal", pick([",", ".", ";"]));
  return args;
}

function cardCase() {
  const args = ["card"];
  const engine = maybe(0.2) ? "siacci" : "pointmass";
  if (engine === "siacci") args.push("--engine", "siacci");
  if (engine === "pointmass" && maybe(0.4)) args.push("--drag", pick(["G1", "G7"]));
  args.push("--velocity", maybe(0.03) ? "0" : number(300, 1100, 1), "--bc", maybe(0.03) ? "-1" : number(0.15, 0.65, 3),
            "--weight", number(40, 250, 0));
  if (engine === "pointmass" && maybe(0.2))
    args.push("--bc-step", between(0.3, 0.6, 3) + "@" + between(600, 900, 0));
  if (maybe(0.3)) args.push("--diameter", "7.82", "--length", number(25, 40, 1), "--twist", pick(["10", "12", "-11", "14"]));
  if (maybe(0.6)) args.push("--sight", number(3, 7, 1));
  if (maybe(0.6)) args.push("--zero", pick(["100", "150", "200", "220", "300", "5000"]));
  if (maybe(0.6)) args.push("--max", pick(["300", "500", "1000"]));
  if (maybe(0.6)) args.push("--increment", pick(["25", "50", "100"]));
  if (maybe(0.5)) args.push("--temperature", number(-15, 40, 0));
  const pressure = random();
  if (pressure < 0.25) args.push("--pressure", number(850, 1030, 1));
  else if (pressure < 0.5) args.push("--altitude", number(0, 2500, 0));
  else if (pressure < 0.65) args.push("--altitude", number(0, 2500, 0), "--qnh", number(990, 1030, 1));
  if (maybe(0.3)) args.push("--humidity", maybe(0.05) ? "120" : number(0, 100, 0));
  if (maybe(0.6)) {
    args.push("--wind", number(0, 40, 1));
    if (maybe(0.7)) args.push("--wind-clock", String(1 + Math.floor(random() * 12)));
    else args.push("--wind-angle", number(0, 360, 0));
  }
  if (maybe(0.5)) args.push("--angle", maybe(0.05) ? "85" : number(-45, 45, 0));
  if (engine === "pointmass" && maybe(0.15)) args.push("--latitude", number(-60, 60, 1), "--azimuth", number(0, 359, 0));
  if (maybe(0.5)) args.push("--click", pick(["0.1mrad", "0.25moa", "0.125moa", "1cm", "0.2mrad", "0.5moa"]));
  if (cardKnows("--vital-zone") && maybe(0.3)) args.push("--vital-zone", number(5, 30, 0));
  if (cardKnows("--min-energy") && maybe(0.3)) args.push("--min-energy", number(500, 3000, 0));
  if (cardKnows("--compare") && maybe(0.2)) args.push("--compare");
  const format = pick(["json", "json", "tsv", "csv"]);
  args.push("--format", format);
  if (format !== "json" && maybe(0.4)) args.push("--headings");
  if (format !== "json" && maybe(0.3)) args.push("--decimal", ",");
  return args;
}

function trueCase() {
  const args = ["true", "--velocity", number(700, 900, 0), "--bc", number(0.3, 0.5, 3), "--weight", number(150, 180, 0)];
  if (maybe(0.5)) args.push("--observed-velocity", number(550, 700, 0) + "@" + pick(["200", "300"]));
  else args.push("--observed-clicks", number(5, 40, 1) + "@" + pick(["300", "400"]), "--click", "0.25moa");
  if (maybe(0.5)) args.push("--format", "json");
  return args;
}

const cases = [
  [], ["--help"], ["-h"], ["nessuno"], ["table"], ["table", "--help"], ["graph", "--help"],
  ["bc", "--help"], ["catalogue", "--help"], ["convert", "--help"], ["catalogue"],
  ["catalogue", "nessuna"], ["catalogue", "tre11", "altro"], ["convert"], ["convert", "14", "3"],
  ["convert", "x", "3"], ["table", "--velocity"], ["table", "--bogus", "1"],
  ["table", "--velocity", "800", "--bc", "0.4", "--file", "/nessun/file.bal"],
  ["table", "--load", "tre11"], ["table", "--load", "nessuna:1"], ["table", "--load", "tre11:99"],
  ["table", "--velocity", "800", "--bc", "0.4", "--weight", "150", "--sight", "4", "--zero", "220",
   "--increment", "100", "--max", "300", "--temperature", "15"],
];
for (const item of items) cases.push(["catalogue", item[2]]);
for (let key = 0; key < 14; ++key)
  for (let k = 0; k < 3; ++k) cases.push(["convert", String(key), number(-100, 2000, pick([0, 2, 4]))]);
for (let k = 0; k < 20; ++k)
  cases.push(["bc", "--v1", number(500, 1000, 0), "--v2", number(300, 900, 0), "--distance", pick(["100", "200", "0", "-5"])]);
for (let k = 0; k < 260; ++k) cases.push(tableCase());
for (let k = 0; k < 60; ++k) cases.push(["graph", ...shotOptions()]);
if (hasCard) {
  cases.push(["card", "--help"]);
  // Texts of hundreds of kilobytes leave the module in one piece, accents included (the
  // headings' "Velocità").
  const example = ["--velocity", "800", "--bc", "0.4", "--weight", "150", "--sight", "4", "--zero", "220",
                   "--wind", "16", "--wind-clock", "3", "--max", "1000", "--increment", "1"];
  cases.push(["card", ...example, "--format", "json"], ["card", ...example, "--headings", "--decimal", ","]);
  for (let k = 0; k < 300; ++k) cases.push(cardCase());
}
if (hasTrue) {
  cases.push(["true", "--help"]);
  for (let k = 0; k < 60; ++k) cases.push(trueCase());
}

(async () => {
  const createSiacci = require(path.resolve(web, "siacci.js"));
  const siacci = await createSiacci();
  let failures = 0;
  const counts = {};
  for (const args of cases) {
    const want = native(args);
    const got = siacci.run(args);
    const command = args[0] || "(nessuno)";
    counts[command] = counts[command] || { all: 0, done: 0 };
    counts[command].all += 1;
    if (want.status === 0) counts[command].done += 1;
    const help = args.length === 0 || args[0] === "--help" || args[0] === "-h" || args[0] === "nessuno";
    if (help) {
      want.out = withoutPdf(want.out);
      want.err = withoutPdf(want.err);
    }
    for (const key of ["status", "out", "err"]) {
      if (want[key] !== got[key]) {
        ++failures;
        console.log("FAIL " + key + ": " + JSON.stringify(args));
        if (key !== "status") {
          const a = want[key].split("\n"), b = got[key].split("\n");
          const at = a.findIndex((line, i) => line !== b[i]);
          console.log("  native: " + JSON.stringify(a[at]) + "\n  web:    " + JSON.stringify(b[at]));
        } else {
          console.log("  native " + want.status + ", web " + got.status);
        }
        break;
      }
    }
  }
  // A NUL inside a text (an argument quoted by a message) reaches JavaScript with the rest; the
  // native tool cannot be given one.
  const nul = siacci.run(["card", "--velocity", "8\u00000", "--bc", "0.4", "--weight", "150"]);
  if (nul.status !== 2 || !nul.err.startsWith("siacci-cli card: valore non valido per --velocity: \"8\u00000\" (un numero)\nUso: ")) {
    ++failures;
    console.log("FAIL a NUL in a message: " + JSON.stringify(nul.err.slice(0, 80)));
  }
  console.log("cases (of which exit 0): " +
              Object.entries(counts).map(([c, n]) => c + " " + n.all + " (" + n.done + ")").join(", "));
  console.log(cases.length + 1 - failures + " passed, " + failures + " failed");
  process.exit(failures === 0 && cases.length >= 500 ? 0 : 1);
})();
