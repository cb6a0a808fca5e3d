// The page in a phone-sized headless chromium: a hunter chooses a .308 Winchester load from the
// catalogue, sets the wind and a downhill angle, and reads at 300 m the clicks the desktop tool
// computes; then, with the network off and the server gone, the page computes again.
//     SIACCI_CLI=build/siacci-cli SIACCI_WEB=build-web node web/test/browser.js [SCREENSHOT.png]
"use strict";
const { spawnSync } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { serve, launch, waitReady } = require("./harness");

const cli = process.env.SIACCI_CLI;
const web = process.env.SIACCI_WEB;
const screenshot = process.argv[2] || (web + "/screenshot.png");
let failures = 0;
let checks = 0;

function check(name, ok, detail) {
  ++checks;
  if (!ok) {
    ++failures;
    console.log("FAIL " + name + (detail ? ": " + detail : ""));
  }
}

// The clicks at one distance as the page writes them, from the native tool's card.
function nativeClicks(load, clock, distance) {
  const args = ["card", "--velocity", load.velocity, "--bc", load.bc, "--weight", load.weight,
    "--sight", "4", "--zero", "100", "--max", "500", "--increment", "50", "--temperature", "15",
    "--altitude", "0", "--click", "0.25moa", "--angle", "-20", "--wind", "15",
    "--wind-clock", String(clock), "--format", "json"];
  const r = spawnSync(cli, args, { encoding: "utf8" });
  if (r.status !== 0) throw new Error("siacci-cli card: " + r.stderr);
  const row = JSON.parse(r.stdout).rows.find((x) => x.distance_m === distance);
  const text = (n, up, down) => (n === 0 ? "0" : (n > 0 ? up : down) + " " + Math.abs(n));
  return [text(row.elevation_clicks, "▲", "▼"), text(row.windage_clicks, "▶", "◀")];
}

async function pageClicks(page, distance) {
  return page.$$eval("#cartellino tr[data-distanza='" + distance + "'] td",
                     (cells) => [cells[1].textContent, cells[2].textContent]);
}

async function setField(page, id, text) {
  await page.click("#" + id, { clickCount: 3 });
  await page.type("#" + id, text);
}

(async () => {
  const line = spawnSync(cli, ["catalogue", "tre11"], { encoding: "utf8" }).stdout.split("\n")[1].split("\t");
  const load = { caption: line[1], velocity: line[3], weight: line[4], bc: line[5] };
  const { server, url } = await serve(web);
  const { page, close } = await launch();
  try {
    await page.goto(url);
    await waitReady(page);
    check("a table at once on the first visit",
          (await page.$$("#cartellino tbody tr")).length > 0);

    await page.click("input[name=origine][value=catalogo]");
    await page.type("#cerca", ".308 win");
    const item = await page.waitForSelector("xpath/.//li[text()='.308 WINCHESTER (7,62 NATO) 165-200 grains']");
    await item.click();
    await page.click("#palle li[data-pulsante='2']");
    check("the bullet chosen", (await page.$eval("#palle li.scelta", (li) => li.textContent)).startsWith(load.caption));
    await setField(page, "vento", "15");
    await page.click("#ora-9");
    await setField(page, "angolo", "-20");
    await page.select("#click", "0.25moa");

    const want9 = nativeClicks(load, 9, 300);
    const got9 = await pageClicks(page, 300);
    check("clicks at 300 m, wind from 9 o'clock", JSON.stringify(got9) === JSON.stringify(want9),
          "page " + got9 + ", siacci-cli " + want9);
    check("a wind from 9 o'clock pushes right: the dial goes left",
          got9[1].startsWith("◀"), got9[1]);

    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.evaluate(() => window.scrollTo(0, document.getElementById("sezione-condizioni").offsetTop - 52));
    await page.screenshot({ path: screenshot });

    // No network, no server: the page comes from the service worker's cache.
    server.close();
    await page.setOfflineMode(true);
    await page.reload();
    await waitReady(page);
    const offline9 = await pageClicks(page, 300);
    check("offline: the same clicks after reopening", JSON.stringify(offline9) === JSON.stringify(want9),
          "page " + offline9 + ", siacci-cli " + want9);
    await page.click("#ora-3");
    const want3 = nativeClicks(load, 3, 300);
    const got3 = await pageClicks(page, 300);
    check("offline: computed again with the wind from 3 o'clock", JSON.stringify(got3) === JSON.stringify(want3),
          "page " + got3 + ", siacci-cli " + want3);

    await page.click(".tab[data-vista=tabella]");
    check("offline: the classic table one tap away", (await page.$$("#tabella tbody tr")).length > 3);

    // The desktop's armoury file: imported, a load used in the card, the document kept as it was.
    const armoury = { format: "siacci-armeria", version: 1, rifles: [{
      name: "Carabina di prova", sight_height_cm: 5, twist_in: 11, twist_right_hand: true,
      click_value: 0.1, click_unit: "mrad", turret_clicks_per_turn: 100, zero_m: 200,
      zero_atmosphere: { temperature_c: 15, pressure_hpa: 1013.25, humidity_pct: 0 },
      loads: [{ description: "168 grani G7", velocity_ms: 800, velocity_temperature_c: 15,
        temperature_sensitivity_ms_per_c: 0, drag: "G7", bc: 0.243, bc_steps: [], drag_table: [],
        weight_gr: 168, diameter_mm: 7.82, length_mm: 31.2, notes: "" }] }] };
    const file = path.join(os.tmpdir(), "siacci-armeria-" + process.pid + ".json");
    fs.writeFileSync(file, JSON.stringify(armoury));
    await page.click(".tab[data-vista=armeria]");
    await (await page.$("#importa")).uploadFile(file);
    await page.waitForFunction(() => document.getElementById("armi").options.length > 0);
    fs.rmSync(file);
    await page.click("#usa");
    await setField(page, "angolo", "0");
    await setField(page, "vento", "0");
    const row = await page.$$eval("#cartellino tr[data-distanza='200'] td", (cells) => cells.map((c) => c.textContent));
    check("an imported load computes its card, zeroed at its rifle's 200 m",
          row.length > 0 && row[1] === "0", JSON.stringify(row));
    const kept = await page.evaluate(() => JSON.parse(localStorage.getItem("siacci-armeria")));
    check("the armoury kept in the browser as the desktop's document",
          JSON.stringify(kept) === JSON.stringify(armoury), JSON.stringify(kept).slice(0, 200));
  } finally {
    await close();
    server.close();
  }
  console.log("screenshot: " + screenshot);
  console.log(checks - failures + " passed, " + failures + " failed");
  process.exit(failures === 0 ? 0 : 1);
})().catch((e) => {
  console.log("FAIL " + e.stack);
  process.exit(1);
});
