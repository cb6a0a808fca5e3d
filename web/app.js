// The page: it gathers the inputs into a siacci-cli argument list, runs it in the WebAssembly
// module and lays out what the command prints. Every number comes from the core.
"use strict";

const $ = (id) => document.getElementById(id);
const SAVED = "siacci-ultimo";
const INPUTS = ["velocita", "bc", "modello", "peso", "ottica", "taratura", "click", "giro", "vento",
  "angolo", "temperatura", "altitudine", "pressione", "massima", "incremento", "zona", "energia"];

const page = {
  siacci: null,
  cardHelp: "",       // what this build's card accepts
  menus: [],          // [{title, items: [{family, item, caption, count}]}]
  menu: 0,
  item: null,         // {item, caption}
  loads: [],          // [{button, caption, description, velocity, weight, bc}]
  button: 0,
  hour: 3,
  armoury: Armeria.load(),
  extra: null,        // what a load of the armoury adds: {label, args, velocity}
  view: "cartellino",
  timings: { firstTable_ms: null, lastCard_ms: null },
};
window.siacciPagina = page;

// A field as the program reads it: the decimal comma is a point.
function field(id) {
  return $(id).value.trim().replace(",", ".");
}

function italian(value, decimals) {
  return Number(value).toFixed(decimals).replace(".", ",").replace(/^-(0(,0*)?)$/, "$1");
}

function origin() {
  return document.querySelector("input[name=origine]:checked").value;
}

// ---- catalogue --------------------------------------------------------------------------------

function readCatalogue() {
  const result = page.siacci.run(["catalogue"]);
  const menus = [];
  for (const line of result.out.split("\n")) {
    if (!line) continue;
    const [title, family, item, caption, count] = line.split("\t");
    let menu = menus.find((m) => m.title === title);
    if (!menu) menus.push((menu = { title, items: [] }));
    menu.items.push({ family, item, caption, count: Number(count) });
  }
  page.menus = menus;
}

function showMenus() {
  const box = $("menu-catalogo");
  box.replaceChildren();
  page.menus.forEach((menu, index) => {
    const b = document.createElement("button");
    b.type = "button";
    b.textContent = menu.title;
    b.className = index === page.menu ? "attiva" : "";
    b.addEventListener("click", () => {
      page.menu = index;
      showMenus();
      showItems();
    });
    box.appendChild(b);
  });
}

function showItems() {
  const list = $("voci");
  list.replaceChildren();
  const menu = page.menus[page.menu];
  if (!menu) return;
  const words = $("cerca").value.trim().toUpperCase().split(/\s+/).filter(Boolean);
  if (page.item && words.length === 0) return;   // chosen: the list folds away until a search
  let family = null;
  for (const entry of menu.items) {
    const text = (entry.caption + " " + entry.family).toUpperCase();
    if (!words.every((w) => text.includes(w))) continue;
    if (entry.family !== family) {
      family = entry.family;
      const head = document.createElement("li");
      head.className = "famiglia";
      head.textContent = family;
      list.appendChild(head);
    }
    const li = document.createElement("li");
    li.textContent = entry.caption;
    li.dataset.voce = entry.item;
    li.addEventListener("click", () => chooseItem(entry));
    list.appendChild(li);
  }
}

function chooseItem(entry) {
  page.item = entry;
  page.button = 0;
  $("cerca").value = "";
  const result = page.siacci.run(["catalogue", entry.item]);
  page.loads = result.out.split("\n").filter(Boolean).map((line) => {
    const [button, caption, description, velocity, weight, bc] = line.split("\t");
    return { button: Number(button), caption, description, velocity, weight, bc };
  });
  showItems();
  showLoads();
  changed();
}

function showLoads() {
  $("voce-scelta").textContent = page.item ? page.item.caption : "";
  const list = $("palle");
  list.replaceChildren();
  for (const load of page.loads) {
    const li = document.createElement("li");
    li.dataset.pulsante = load.button;
    li.className = load.button === page.button ? "scelta" : "";
    li.innerHTML = "";
    li.append(load.caption + " ");
    const small = document.createElement("small");
    small.textContent = load.velocity + " m/s · BC " + load.bc.replace(".", ",");
    li.appendChild(small);
    li.addEventListener("click", () => {
      page.button = load.button;
      page.extra = null;
      showLoads();
      changed();
    });
    list.appendChild(li);
  }
}

// ---- the shot as arguments ----------------------------------------------------------------------

// The projectile's options, or null when no load is chosen yet.
function projectileArgs() {
  if (origin() === "catalogo") {
    const load = page.loads.find((l) => l.button === page.button);
    if (!load) return null;
    return { args: ["--velocity", load.velocity, "--bc", load.bc, "--weight", load.weight],
             label: load.description, load: page.item.item + ":" + load.button };
  }
  const args = ["--drag", $("modello").value, "--velocity", field("velocita"), "--bc", field("bc"),
                "--weight", field("peso")];
  if (page.extra) args.push(...page.extra.args);
  return { args, label: page.extra ? page.extra.label : "Tiro scritto a mano", load: null };
}

function conditionArgs() {
  const args = ["--temperature", field("temperatura")];
  const pressure = field("pressione");
  const altitude = field("altitudine") || "0";
  const weather = document.querySelector("input[name=tipo-pressione]:checked").value === "meteo";
  if (!pressure) args.push("--altitude", altitude);
  else if (weather) args.push("--altitude", altitude, "--qnh", pressure);
  else args.push("--pressure", pressure);
  return args;
}

function cardArgs() {
  const projectile = projectileArgs();
  if (!projectile) return null;
  const args = ["card", ...projectile.args, "--sight", field("ottica"), "--zero", field("taratura"),
    "--max", field("massima"), "--increment", field("incremento"), ...conditionArgs(),
    "--click", $("click").value, "--angle", field("angolo") || "0"];
  const wind = field("vento");
  if (wind && Number(wind) !== 0) args.push("--wind", wind, "--wind-clock", String(page.hour));
  // The point-blank span and the energy threshold, where this build's card knows them.
  if (Number(field("zona")) > 0 && page.cardHelp.includes("--vital-zone")) args.push("--vital-zone", field("zona"));
  if (Number(field("energia")) > 0 && page.cardHelp.includes("--min-energy")) args.push("--min-energy", field("energia"));
  args.push("--format", "json");
  return { args, label: projectile.label };
}

function tableArgs() {
  const projectile = projectileArgs();
  if (!projectile) return null;
  const args = ["table", "--headings"];
  if (projectile.load) args.push("--load", projectile.load);
  else args.push("--velocity", field("velocita"), "--bc", field("bc"), "--weight", field("peso"));
  args.push("--sight", field("ottica"), "--zero", field("taratura"), "--increment",
            field("incremento"), "--max", field("massima"), "--temperature", field("temperatura"),
            "--altitude", field("altitudine") || "0");
  return args;
}

// ---- output -------------------------------------------------------------------------------------

function showError(id, text) {
  $(id).hidden = !text;
  $(id).textContent = text || "";
}

function clicks(value, up, down, perTurn) {
  const n = Math.round(value);
  if (n === 0) return "0";
  let text = (n > 0 ? up : down) + " " + Math.abs(n);
  if (perTurn > 0 && Math.abs(n) >= perTurn)
    text += " (" + Math.floor(Math.abs(n) / perTurn) + " g + " + (Math.abs(n) % perTurn) + ")";
  return text;
}

function computeCard() {
  const request = cardArgs();
  const body = $("cartellino").tBodies[0];
  if (!request) {
    body.replaceChildren();
    $("riepilogo").replaceChildren();
    showError("errore", "Scegli una cartuccia e una palla dal catalogo, o scrivi il tiro a mano.");
    return;
  }
  const started = performance.now();
  const result = page.siacci.run(request.args);
  if (result.status !== 0) {
    body.replaceChildren();
    $("riepilogo").replaceChildren();
    showError("errore", result.err.trim() || "Calcolo non riuscito.");
    page.timings.lastCard_ms = performance.now() - started;
    return;
  }
  showError("errore", "");
  const card = JSON.parse(result.out);
  const minimum = Number(field("energia")) || 0;
  const perTurn = Number(field("giro")) || 0;
  const rows = card.rows.map((r) => {
    const tr = document.createElement("tr");
    tr.dataset.distanza = r.distance_m;
    if (minimum > 0 && r.energy_J < minimum) tr.className = "sotto";
    const cells = [italian(r.distance_m, 0), clicks(r.elevation_clicks, "▲", "▼", perTurn),
      clicks(r.windage_clicks, "▶", "◀", perTurn), italian(r.path_cm, 1), italian(r.velocity_ms, 0), italian(r.energy_J, 0)];
    for (const text of cells) {
      const td = document.createElement("td");
      td.textContent = text;
      tr.appendChild(td);
    }
    return tr;
  });
  body.replaceChildren(...rows);
  showSummary(card, request.label, minimum);
  page.timings.lastCard_ms = performance.now() - started;
}

function showSummary(card, label, minimum) {
  const s = card.summary || {};
  const lines = [label];
  if (Number(field("angolo")) !== 0) lines.push("Distanze lungo la linea di mira (come le misura il telemetro)");
  if (s.point_blank_from_m !== undefined)
    lines.push("Tiro utile (zona vitale " + field("zona").replace(".", ",") + " cm): da " +
               italian(s.point_blank_from_m, 0) + " a " + italian(s.point_blank_to_m, 0) + " m");
  if (s.optimal_zero_m !== undefined)
    lines.push("Taratura ottimale: " + italian(s.optimal_zero_m, 0) + " m (tiro utile fino a " +
               italian(s.optimal_point_blank_to_m, 0) + " m)");
  if (s.energy_above_min_to_m !== undefined && minimum > 0 && card.rows.length &&
      s.energy_above_min_to_m < card.rows[card.rows.length - 1].distance_m)
    lines.push("Energia sotto " + italian(minimum, 0) + " J oltre " + italian(s.energy_above_min_to_m, 0) + " m");
  if (s.stability_sg !== undefined) lines.push("Stabilità giroscopica Sg: " + italian(s.stability_sg, 2));
  for (const warning of s.warnings || []) lines.push(warning);
  if (page.extra && page.extra.velocity)
    lines.push("V0 corretta per la temperatura: " + italian(page.extra.velocity(), 0) + " m/s");
  $("riepilogo").replaceChildren(...lines.map((text) => {
    const li = document.createElement("li");
    li.textContent = text;
    return li;
  }));
}

function computeTable() {
  const args = tableArgs();
  const table = $("tabella");
  if (!args) {
    showError("errore-tabella", "Scegli una cartuccia e una palla dal catalogo, o scrivi il tiro a mano.");
    table.tHead.replaceChildren();
    table.tBodies[0].replaceChildren();
    return;
  }
  const result = page.siacci.run(args);
  if (result.status !== 0) {
    showError("errore-tabella", result.err.trim());
    table.tHead.replaceChildren();
    table.tBodies[0].replaceChildren();
    return;
  }
  showError("errore-tabella", "");
  const lines = result.out.split("\n").filter((l) => l.length);
  const row = (line, tag) => {
    const tr = document.createElement("tr");
    for (const cell of line.split("\t")) {
      const c = document.createElement(tag);
      c.textContent = tag === "td" ? cell.replace(".", ",") : cell;
      tr.appendChild(c);
    }
    return tr;
  };
  table.tHead.replaceChildren(...lines.slice(0, 3).map((l) => row(l, "th")));
  table.tBodies[0].replaceChildren(...lines.slice(3).map((l) => row(l, "td")));
}

function compute() {
  const started = performance.now();
  if (page.view === "tabella") computeTable();
  else computeCard();
  if (page.timings.firstTable_ms === null && $("cartellino").tBodies[0].rows.length)
    page.timings.firstTable_ms = performance.now();
  return performance.now() - started;
}

function changed() {
  saveInputs();
  compute();
}

// ---- wind clock ---------------------------------------------------------------------------------

function drawClock() {
  const svg = $("orologio");
  const ns = "http://www.w3.org/2000/svg";
  const make = (tag, attributes) => {
    const e = document.createElementNS(ns, tag);
    for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, v);
    return e;
  };
  svg.replaceChildren();
  const defs = make("defs", {});
  const marker = make("marker", { id: "punta", viewBox: "0 0 10 10", refX: "5", refY: "5",
    markerWidth: "4", markerHeight: "4", orient: "auto-start-reverse" });
  marker.appendChild(make("path", { d: "M0,0 L10,5 L0,10 z", fill: "#b8862b" }));
  defs.appendChild(marker);
  svg.appendChild(defs);
  svg.appendChild(make("circle", { class: "quadrante", cx: 100, cy: 100, r: 96 }));
  const at = (hour, radius) => {
    const a = (hour * 30 * Math.PI) / 180;
    return [100 + radius * Math.sin(a), 100 - radius * Math.cos(a)];
  };
  const [x1, y1] = at(page.hour, 58);
  const [x2, y2] = at(page.hour, 8);
  if (Number(field("vento")) !== 0)
    svg.appendChild(make("line", { class: "freccia", x1, y1, x2, y2 }));
  svg.appendChild(make("circle", { cx: 100, cy: 100, r: 5, fill: "#2f3b2a" }));
  for (let hour = 1; hour <= 12; ++hour) {
    const [x, y] = at(hour, 78);
    const g = make("g", { class: "ora" + (hour === page.hour ? " scelta" : ""), id: "ora-" + hour,
      role: "button", "aria-label": "Vento da ore " + hour });
    g.appendChild(make("circle", { cx: x, cy: y, r: 15 }));
    const t = make("text", { x, y });
    t.textContent = hour;
    g.appendChild(t);
    g.addEventListener("click", () => {
      page.hour = hour;
      drawClock();
      changed();
    });
    svg.appendChild(g);
  }
  const words = { 12: "dal bersaglio", 3: "da destra", 6: "da dietro", 9: "da sinistra" };
  $("vento-da").textContent = "Dalle ore " + page.hour + (words[page.hour] ? " (" + words[page.hour] + ")" : "");
}

// ---- armoury ------------------------------------------------------------------------------------

function showArmoury() {
  const rifles = $("armi");
  const previous = rifles.selectedIndex;
  rifles.replaceChildren(...page.armoury.rifles.map((r, i) => new Option(r.name, i)));
  if (previous >= 0 && previous < rifles.options.length) rifles.selectedIndex = previous;
  showArmouryLoads();
  if (page.armoury.rifles.length === 0)
    $("messaggio-armeria").textContent = "L'armeria è vuota: importa il file dell'armeria del computer, " +
      "oppure scrivi i nomi e salva la carica in uso.";
}

function showArmouryLoads() {
  const rifle = page.armoury.rifles[$("armi").selectedIndex];
  $("cariche").replaceChildren(...(rifle ? rifle.loads : []).map((l, i) => new Option(l.description, i)));
}

function useArmouryLoad() {
  const rifle = page.armoury.rifles[$("armi").selectedIndex];
  const load = rifle && rifle.loads[$("cariche").selectedIndex];
  if (!load) {
    $("messaggio-armeria").textContent = "Scegli un'arma e una carica.";
    return;
  }
  $("ottica").value = italian(rifle.sight_height_cm, 1).replace(/,0$/, "");
  $("taratura").value = rifle.zero_m;
  const click = rifle.click_value + rifle.click_unit;
  const option = [...$("click").options].find((o) => o.value === click);
  if (!option) $("click").add(new Option(String(rifle.click_value).replace(".", ",") + " " + rifle.click_unit.toUpperCase(), click));
  $("click").value = click;
  $("giro").value = rifle.turret_clicks_per_turn || "";
  document.querySelector("input[name=origine][value=mano]").checked = true;
  showOrigin();
  $("modello").value = load.drag === "G7" ? "G7" : "G1";
  $("bc").value = String(load.bc).replace(".", ",");
  $("peso").value = String(load.weight_gr).replace(".", ",");
  // The powder's temperature moves the muzzle velocity.
  const velocity = () => load.velocity_ms + (load.temperature_sensitivity_ms_per_c || 0) *
    ((Number(field("temperatura")) || 15) - (load.velocity_temperature_c ?? 15));
  $("velocita").value = String(Math.round(velocity() * 10) / 10).replace(".", ",");
  const args = [];
  for (const step of load.bc_steps || []) args.push("--bc-step", step.bc + "@" + step.from_velocity_ms);
  if (load.diameter_mm && load.length_mm && rifle.twist_in)
    args.push("--diameter", String(load.diameter_mm), "--length", String(load.length_mm),
              "--twist", String(rifle.twist_right_hand === false ? -rifle.twist_in : rifle.twist_in));
  const z = rifle.zero_atmosphere || {};
  if (z.temperature_c !== undefined) args.push("--zero-temperature", String(z.temperature_c));
  if (z.pressure_hpa !== undefined) args.push("--zero-pressure", String(z.pressure_hpa));
  if (z.humidity_pct !== undefined) args.push("--zero-humidity", String(z.humidity_pct));
  page.extra = { label: rifle.name + " · " + load.description, args,
                 velocity: load.temperature_sensitivity_ms_per_c ? velocity : null };
  $("messaggio-armeria").textContent = load.drag === "table"
    ? "La tabella di resistenza misurata non è disponibile nella versione web: uso il coefficiente."
    : "Carica in uso: " + page.extra.label + ".";
  selectView("cartellino");
  changed();
}

function saveToArmoury() {
  const rifleName = $("nome-arma").value.trim() || ($("armi").selectedOptions[0] || {}).text;
  const loadName = $("nome-carica").value.trim();
  if (!rifleName || !loadName) {
    $("messaggio-armeria").textContent = "Scrivi il nome dell'arma e quello della carica.";
    return;
  }
  const projectile = projectileArgs();
  if (!projectile) {
    $("messaggio-armeria").textContent = "Scegli prima una palla o scrivi il tiro.";
    return;
  }
  const value = (option) => Number(projectile.args[projectile.args.indexOf(option) + 1]);
  let rifle = page.armoury.rifles.find((r) => r.name === rifleName);
  if (!rifle) {
    rifle = Armeria.rifleTemplate(rifleName, { sight_cm: Number(field("ottica")), click: $("click").value,
      clicksPerTurn: Number(field("giro")) || null, zero_m: Number(field("taratura")),
      temperature_c: Number(field("temperatura")) });
    page.armoury.rifles.push(rifle);
  }
  const drag = projectile.args.includes("--drag") ? projectile.args[projectile.args.indexOf("--drag") + 1] : "G1";
  const load = Armeria.loadTemplate(loadName, { velocity_ms: value("--velocity"), bc: value("--bc"),
    weight_gr: value("--weight"), drag, notes: projectile.label });
  const same = rifle.loads.findIndex((l) => l.description === loadName);
  if (same >= 0) rifle.loads[same] = load; else rifle.loads.push(load);
  Armeria.save(page.armoury);
  showArmoury();
  $("messaggio-armeria").textContent = "Salvata: " + rifleName + " · " + loadName + ".";
}

function deleteFromArmoury() {
  const rifle = page.armoury.rifles[$("armi").selectedIndex];
  const index = $("cariche").selectedIndex;
  if (!rifle) return;
  const what = index >= 0 ? "la carica \"" + rifle.loads[index].description + "\"" : "l'arma \"" + rifle.name + "\"";
  if (!confirm("Eliminare " + what + "?")) return;
  if (index >= 0) rifle.loads.splice(index, 1);
  else page.armoury.rifles.splice($("armi").selectedIndex, 1);
  Armeria.save(page.armoury);
  showArmoury();
}

function exportArmoury() {
  const blob = new Blob([JSON.stringify(page.armoury, null, 2)], { type: "application/json" });
  const a = document.createElement("a");
  a.href = URL.createObjectURL(blob);
  a.download = "armeria.json";
  a.click();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}

async function importArmoury(file) {
  try {
    const added = Armeria.merge(page.armoury, JSON.parse(await file.text()));
    Armeria.save(page.armoury);
    showArmoury();
    $("messaggio-armeria").textContent = "Importate " + added + " armi.";
  } catch (e) {
    $("messaggio-armeria").textContent = e instanceof SyntaxError ? "Il file non è un documento JSON." : e.message;
  }
}

// ---- the page -----------------------------------------------------------------------------------

function saveInputs() {
  const values = {};
  for (const id of INPUTS) values[id] = $(id).value;
  values.origine = origin();
  values.pressione_tipo = document.querySelector("input[name=tipo-pressione]:checked").value;
  values.ora = page.hour;
  values.voce = page.item ? page.item.item : null;
  values.pulsante = page.button;
  values.menu = page.menu;
  localStorage.setItem(SAVED, JSON.stringify(values));
}

function restoreInputs() {
  let values;
  try { values = JSON.parse(localStorage.getItem(SAVED) || "null"); } catch (e) { values = null; }
  if (!values) return;
  for (const id of INPUTS) if (typeof values[id] === "string") $(id).value = values[id];
  const radio = (name, value) => {
    const r = document.querySelector("input[name=" + name + "][value=" + value + "]");
    if (r) r.checked = true;
  };
  radio("origine", values.origine);
  radio("tipo-pressione", values.pressione_tipo);
  if (values.ora >= 1 && values.ora <= 12) page.hour = values.ora;
  if (page.menus[values.menu]) page.menu = values.menu;
  const entry = page.menus.flatMap((m) => m.items).find((e) => e.item === values.voce);
  if (entry) {
    chooseItem(entry);
    page.button = values.pulsante;
    showLoads();
  }
}

function showOrigin() {
  const fromCatalogue = origin() === "catalogo";
  $("catalogo").hidden = !fromCatalogue;
  $("a-mano").hidden = fromCatalogue;
}

function selectView(view) {
  page.view = view;
  for (const tab of document.querySelectorAll(".tab")) tab.classList.toggle("attiva", tab.dataset.vista === view);
  for (const name of ["cartellino", "tabella", "armeria"]) $("vista-" + name).hidden = name !== view;
  if (view === "armeria") showArmoury();
  else compute();
}

async function start() {
  page.siacci = await createSiacci();
  page.cardHelp = page.siacci.run(["card", "--help"]).out;
  readCatalogue();
  restoreInputs();
  showMenus();
  showItems();
  showLoads();
  showOrigin();
  drawClock();
  showArmoury();
  $("dati").addEventListener("input", (e) => {
    if (e.target.id === "cerca") { showItems(); return; }
    if (e.target.name === "origine") showOrigin();
    // The clock's arrow shows whether there is wind at all; redrawn only when that changes.
    if (e.target.id === "vento" && (Number(field("vento")) !== 0) !== Boolean($("orologio").querySelector(".freccia")))
      drawClock();
    changed();
  });
  for (const tab of document.querySelectorAll(".tab")) tab.addEventListener("click", () => selectView(tab.dataset.vista));
  $("armi").addEventListener("change", showArmouryLoads);
  $("usa").addEventListener("click", useArmouryLoad);
  $("salva").addEventListener("click", saveToArmoury);
  $("elimina").addEventListener("click", deleteFromArmoury);
  $("esporta").addEventListener("click", exportArmoury);
  $("importa").addEventListener("change", (e) => e.target.files[0] && importArmoury(e.target.files[0]));
  compute();
  $("stato").textContent = "";
  $("stato").hidden = true;
  document.body.dataset.pronto = "1";
}

// The offline copy is made once the first card is on screen, so as not to slow it down.
start().then(() => {
  if ("serviceWorker" in navigator && location.protocol !== "file:")
    navigator.serviceWorker.register("sw.js").catch(() => {});
}).catch((e) => {
  $("stato").textContent = "Il calcolatore non si avvia: " + e.message;
});
