// The worked example's cards in our WebAssembly module and in the open peer js-ballistics (ISC),
// in the same node process: medians per call and the peer's time over ours. Each timed call of
// the peer zeroes the rifle as ours does (on the level, without wind), then flies the card. The
// path at 300 m of both is printed, and must agree within 3 %, so that like is timed with like.
//     SIACCI_WEB=build-web node web/test/peer_bench.js
//     node web/test/peer_bench.js card      (the peer's 13-row card once, for scripts/bench_tool)
"use strict";
const os = require("os");
const path = require("path");
const { register } = require("module");
const { pathToFileURL } = require("url");

const web = path.resolve(process.env.SIACCI_WEB || "build-web");

// Null when it is not installed (or node is older than 20.6); a failure to load it once found is
// an error. Its dist/ imports its files without the ".js" that node's ES modules want: a resolve
// hook adds it.
async function loadPeer() {
  let entry;
  try {
    entry = require.resolve("js-ballistics", { paths: [path.join(__dirname, "..")] });
  } catch {
    return null;
  }
  if (!register) return null;
  register("data:text/javascript," + encodeURIComponent(`export async function resolve(s, c, next) {
    try { return await next(s, c); } catch (e) {
      if (e.code === "ERR_MODULE_NOT_FOUND" && s.startsWith(".")) return next(s + ".js", c);
      throw e; } }`));
  return import(pathToFileURL(entry));
}

// The three cards: our arguments, and the same shot for the peer.
const example = ["--velocity", "800", "--bc", "0.4", "--weight", "150", "--sight", "4", "--zero", "220",
                 "--wind", "16", "--wind-clock", "3"];
const cases = [
  { name: "card 13 rows with its zero", args: [...example, "--max", "300", "--increment", "25"],
    shot: { drag: "G1", bc: 0.4, zero: 220, wind: 16, angle: 0, max: 300, step: 25 }, repeats: 400 },
  { name: "card 1001 rows", args: [...example, "--max", "1000", "--increment", "1"],
    shot: { drag: "G1", bc: 0.4, zero: 220, wind: 16, angle: 0, max: 1000, step: 1 }, repeats: 60 },
  { name: "G7 card to 1500 m, 10 degrees uphill",
    args: ["--velocity", "800", "--drag", "G7", "--bc", "0.243", "--weight", "150", "--zero", "100",
           "--angle", "10", "--max", "1500", "--increment", "50"],
    shot: { drag: "G7", bc: 0.243, zero: 100, wind: 0, angle: 10, max: 1500, step: 50 }, repeats: 200 },
];

// The peer's card: rows of distance along the line of sight (m), path and windage (cm). Its rows
// are by horizontal distance, so an uphill card asks for them every step × cos(angle); it counts
// them by flooring range / step, which rounding can leave just under the whole: a micrometre
// more keeps the last row.
function peerCard(jb, s) {
  const { Weapon, Ammo, DragModel, Table, Atmo, Wind, Shot, UNew, Distance } = jb;
  const weapon = new Weapon({ sightHeight: UNew.Centimeter(4) });
  const ammo = new Ammo({ dm: new DragModel({ bc: s.bc, dragTable: Table[s.drag], weight: UNew.Grain(150) }),
                          mv: UNew.MPS(800) });
  const calc = new jb.default();
  calc.setWeaponZero(new Shot({ weapon, ammo, atmo: Atmo.icao({}), winds: [] }), UNew.Meter(s.zero));
  const winds = s.wind ? [new Wind({ velocity: UNew.KMH(s.wind), directionFrom: UNew.OClock(3) })] : [];
  const shot = new Shot({ weapon, ammo, lookAngle: UNew.Degree(s.angle), atmo: Atmo.icao({}), winds });
  const cos = Math.cos(s.angle * Math.PI / 180);
  const hit = calc.fire({ shot, trajectoryRange: UNew.Meter(s.max * cos + 1e-6), trajectoryStep: UNew.Meter(s.step * cos) });
  return hit.trajectory.map((r) => [r.lookDistance.In(Distance.Meter), r.targetDrop.In(Distance.Centimeter),
                                    r.windage.In(Distance.Centimeter)]);
}

// The median after five calls that are not timed (the peer's JIT and ours warm up alike).
function median(fn, repeats) {
  for (let i = 0; i < 5; ++i) fn();
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
  const jb = await loadPeer();
  if (process.argv[2] === "card") {
    if (!jb) {
      console.error("peer js-ballistics: absent");
      process.exitCode = 1;
      return;
    }
    for (const row of peerCard(jb, cases[0].shot)) console.log(row.map((v) => v.toFixed(1)).join("\t"));
    return;
  }
  const siacci = await require(path.join(web, "siacci.js"))();
  const ours = (args) => {
    const r = siacci.run(["card", ...args, "--format", "json"]);
    if (r.status !== 0) throw new Error(r.err);
    return JSON.parse(r.out).rows;
  };
  console.log("load average " + os.loadavg().map((l) => l.toFixed(2)).join(" "));
  if (!jb) console.log("peer js-ballistics: absent");
  console.log("".padEnd(40) + "siacci".padStart(10) + (jb ? "js-ballistics".padStart(15) + "ratio".padStart(8) : ""));
  let failed = false;
  for (const c of cases) {
    // The timed call is the one of module_bench.js: the card as text, as the page and scripts get it.
    const card = () => {
      const r = siacci.run(["card", ...c.args]);
      if (r.status !== 0) throw new Error(r.err);
    };
    const t = median(card, c.repeats);
    let line = c.name.padEnd(40) + (t.toFixed(3) + " ms").padStart(10);
    if (jb) {
      const peer = peerCard(jb, c.shot);
      const p = median(() => peerCard(jb, c.shot), Math.ceil(c.repeats / 4));
      line += (p.toFixed(3) + " ms").padStart(15) + ((p / t).toFixed(1) + "x").padStart(8);
      const our = ours(c.args).find((r) => r.distance_m === 300).path_cm;
      const their = peer.reduce((a, b) => (Math.abs(b[0] - 300) < Math.abs(a[0] - 300) ? b : a));
      const off = Math.abs(their[1] / our - 1);
      line += `   rows ${ours(c.args).length}/${peer.length}, path at 300 m ${our.toFixed(2)}/` +
              `${their[1].toFixed(2)} cm (${(100 * off).toFixed(1)} %)`;
      failed ||= !(off < 0.03);
    }
    console.log(line);
  }
  if (failed) {
    console.log("peer js-ballistics: the path at 300 m differs by more than 3 %");
    process.exitCode = 1;
  }
})();
