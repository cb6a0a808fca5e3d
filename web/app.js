// The page: a view of the core's session (web/session.js). It forwards every event to the
// session and shows what the session's views say; every number, text and message comes from
// the core. New views join as a section with its tab (addView).
"use strict";

const $ = (id) => document.getElementById(id);
const NIGHT = "siacci-notte";

const page = {
  siacci: null,          // the module: run(args) for scripts and the tests
  s: null,               // the session
  view: "tiro",
  tilt: { on: false, beta: null, pending: false },
  compass: null,
  views: {},             // name -> function that shows it
  menu: 0,
  item: null,            // the catalogue item whose bullets are listed
  catalogueOpen: false,
  rifle: -1,             // the rifle shown in the armoury's boxes
  timings: { firstTable_ms: null, lastCard_ms: null, lastTiro_ms: null },
};
window.siacciPagina = page;

// Another view of the page: a section with role tabpanel, id "vista-NAME", and its tab.
function addView(name, show) {
  page.views[name] = show;
}
window.siacciAggiungiVista = addView;

function element(tag, text, className) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  if (className) e.className = className;
  return e;
}

// ---- the card -----------------------------------------------------------------------------

function showFields(v) {
  for (const input of document.querySelectorAll("input[data-campo]")) {
    const f = v.campi[input.dataset.campo];
    if (!f) continue;
    if (document.activeElement !== input && input.value !== f.testo) input.value = f.testo;
    input.disabled = !f.attivo;
    const message = $("msg-" + input.dataset.campo);
    if (message) {
      message.textContent = f.messaggio;
      message.hidden = !f.messaggio;
      input.setAttribute("aria-invalid", f.messaggio ? "true" : "false");
      if (f.messaggio) input.setAttribute("aria-describedby", message.id);
      else input.removeAttribute("aria-describedby");
    }
  }
}

function showChoices(v) {
  const c = v.scelte;
  $("modello").value = c.modello;
  const click = $("click");
  if (click.options.length !== c.click_voci.length)
    click.replaceChildren(...c.click_voci.map((caption, i) => new Option(caption, i)));
  click.value = String(c.click);
  const modes = $("tipo-pressione");
  if (modes.options.length !== c.pressione_voci.length)
    modes.replaceChildren(...c.pressione_voci.map((caption, i) => new Option(caption, i)));
  modes.value = String(c.pressione);
  for (const [id, key] of [["telemetro", "telemetro"], ["vento-letto", "vento_letto"], ["posizione", "posizione"], ["mira", "mira"]]) {
    const box = $(id);
    const captions = c[key + "_voci"];
    if (box.options.length !== captions.length) box.replaceChildren(...captions.map((caption, i) => new Option(caption, i)));
    box.value = String(c[key]);
  }
  $("colpo").checked = c.colpo;
  $("vento-da").textContent = c.vento_da;
  const origin = document.querySelector("input[name=origine][value=" + v.origine.tipo + "]");
  if (origin && !page.catalogueOpen) origin.checked = true;
  $("carico").textContent = v.origine.riga;
  $("velocita-corretta").textContent = v.origine.velocita || "";
}

function showCardTable(v) {
  const table = $("cartellino");
  table.tHead.rows[0].replaceChildren(...v.intestazioni.map((h) => {
    const th = element("th", h);
    th.scope = "col";
    return th;
  }));
  table.tBodies[0].replaceChildren(...v.righe.map((r) => {
    const tr = element("tr");
    tr.dataset.distanza = r.distanza;
    if (r.sotto) tr.className = "sotto";
    r.celle.forEach((cell, i) => {
      const td = element(i === 0 ? "th" : "td", cell);
      if (i === 0) td.scope = "row";
      tr.appendChild(td);
    });
    return tr;
  }));
  $("errore").textContent = v.rifiuto;
  $("errore").hidden = !v.rifiuto;
  $("riepilogo").replaceChildren(...v.note.map((n) => element("li", n.testo, n.tipo)));
  $("stato-cartellino").textContent = page.s.storageProblem || v.stato;
  showScroll("scorre-cartellino", "scorri-cartellino");
}

function showTruing(v) {
  const t = v.verifica;
  for (const radio of document.querySelectorAll("input[name=osservazione]")) radio.checked = radio.value === t.osservazione;
  $("verifica-valore-nome").textContent = t.valore_nome;
  const unit = $("verifica-unita");
  if (unit.options.length !== t.unita_voci.length)
    unit.replaceChildren(...t.unita_voci.map((caption, i) => new Option(caption, i)));
  unit.value = String(t.unita);
  unit.disabled = !t.unita_attiva;
  if (document.activeElement !== $("verifica-valore")) $("verifica-valore").value = t.valore;
  if (document.activeElement !== $("verifica-distanza")) $("verifica-distanza").value = t.distanza;
  $("verifica-risultato").textContent = t.risultato;
  $("verifica-risultato").classList.toggle("errore-testo", t.rifiuto);
  $("verifica-applica").disabled = !t.applica;
  $("verifica-coefficiente").hidden = !t.coefficiente;
}

function showCard() {
  const started = performance.now();
  const v = page.s.card.view();
  showFields(v);
  showChoices(v);
  drawClock(v.scelte.ora, v.scelte.freccia);
  showCardTable(v);
  showTruing(v);
  if (page.timings.firstTable_ms === null && v.righe.length) page.timings.firstTable_ms = performance.now();
  page.timings.lastCard_ms = performance.now() - started;
  showHitProgress(v);
}

// The chance of a hit follows the card: a batch of samples between frames, the card redrawn
// after each, so that the page never freezes.
function showHitProgress(v) {
  $("colpo-stato").textContent = v.colpo.stato;
  if (!v.colpo.in_corso || page.hitPending) return;
  page.hitPending = true;
  setTimeout(() => {
    page.hitPending = false;
    page.s.card.hitStep(1000);
    const next = page.s.card.view();
    showCardTable(next);
    showTiro(); // its line of the chance of a hit follows the samples too
    showHitProgress(next);
  }, 0);
}

// A table wider than the screen says that it scrolls.
function showScroll(boxId, hintId) {
  const box = $(boxId);
  $(hintId).hidden = !(box.scrollWidth > box.clientWidth + 1);
}

// ---- the classic table --------------------------------------------------------------------

function showTable() {
  const v = page.s.table.view();
  const table = $("tabella");
  $("errore-tabella").textContent = v.rifiuto;
  $("errore-tabella").hidden = !v.rifiuto;
  table.tHead.replaceChildren(...v.intestazioni.map((line) => {
    const tr = element("tr");
    for (const h of line) {
      const th = element("th", h);
      th.scope = "col";
      tr.appendChild(th);
    }
    return tr;
  }));
  table.tBodies[0].replaceChildren(...v.righe.map((cells) => {
    const tr = element("tr");
    for (const c of cells) tr.appendChild(element("td", c));
    return tr;
  }));
  $("note-tabella").replaceChildren(...v.note.map((n) => element("li", n)));
  showScroll("scorre-tabella", "scorri-tabella");
}

// ---- the catalogue ------------------------------------------------------------------------

function listButton(text, detail, chosen, action) {
  const li = element("li");
  const b = element("button", text);
  b.type = "button";
  if (detail) {
    b.appendChild(document.createElement("br"));
    b.appendChild(element("small", detail));
  }
  if (chosen) {
    b.className = "scelta";
    b.setAttribute("aria-pressed", "true");
  }
  b.addEventListener("click", action);
  li.appendChild(b);
  return li;
}

function showCatalogue() {
  $("catalogo").hidden = !page.catalogueOpen;
  if (!page.catalogueOpen) return;
  const query = $("cerca").value;
  const v = page.s.catalogue.view(page.menu, query);
  $("menu-catalogo").replaceChildren(...v.menu.map((title, i) => {
    const b = element("button", title, i === v.scelto ? "attiva" : "");
    b.type = "button";
    b.setAttribute("aria-pressed", i === v.scelto ? "true" : "false");
    b.addEventListener("click", () => {
      page.menu = i;
      showCatalogue();
    });
    return b;
  }));
  $("nessuno").textContent = v.messaggio;
  $("nessuno").hidden = !v.messaggio;
  const source = page.s.card.view().origine;
  const list = [];
  // Once a cartridge is chosen the list folds away until a search.
  if (!(page.item && !query.trim())) {
    for (const group of v.gruppi) {
      list.push(element("li", group.titolo, "famiglia"));
      for (const entry of group.voci)
        list.push(listButton(entry.nome, "", entry.voce === source.voce, () => chooseItem(entry.voce, entry.palle)));
    }
  }
  $("voci").replaceChildren(...list);
  showLoads(source);
}

function chooseItem(item, bullets) {
  page.item = item;
  $("cerca").value = "";
  showCatalogue();
  if (bullets && bullets.length === 1) chooseBullet(item, bullets[0]);
}

function chooseBullet(item, button) {
  page.s.card.catalogue(item, button);
  showCard();
  showCatalogue();
}

function showLoads(source) {
  if (!page.item) {
    $("voce-scelta").textContent = "";
    $("palle").replaceChildren();
    return;
  }
  const v = page.s.catalogue.loads(page.item);
  $("voce-scelta").textContent = v.nome;
  $("palle").replaceChildren(...v.palle.map((l) => {
    const chosen = source.tipo === "catalogo" && source.voce === page.item && source.pulsante === l.pulsante;
    const li = listButton(l.nome, l.dettaglio, chosen, () => chooseBullet(page.item, l.pulsante));
    li.dataset.pulsante = l.pulsante;
    return li;
  }));
}

// ---- the wind clock -----------------------------------------------------------------------

function drawClock(hour, wind) {
  const svg = $("orologio");
  const ns = "http://www.w3.org/2000/svg";
  if (svg.dataset.ora === String(hour) && svg.dataset.vento === String(wind)) return;
  svg.dataset.ora = hour;
  svg.dataset.vento = wind;
  const make = (tag, attributes) => {
    const e = document.createElementNS(ns, tag);
    for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, v);
    return e;
  };
  const focused = document.activeElement && document.activeElement.id;
  svg.replaceChildren();
  const defs = make("defs", {});
  const marker = make("marker", { id: "punta", viewBox: "0 0 10 10", refX: "5", refY: "5",
    markerWidth: "4", markerHeight: "4", orient: "auto-start-reverse" });
  marker.appendChild(make("path", { d: "M0,0 L10,5 L0,10 z", class: "punta" }));
  defs.appendChild(marker);
  svg.appendChild(defs);
  svg.appendChild(make("circle", { class: "quadrante", cx: 100, cy: 100, r: 98 }));
  const at = (h, radius) => {
    const a = (h * 30 * Math.PI) / 180;
    return [100 + radius * Math.sin(a), 100 - radius * Math.cos(a)];
  };
  if (wind) {
    const [x1, y1] = at(hour, 52);
    const [x2, y2] = at(hour, 8);
    svg.appendChild(make("line", { class: "freccia", x1, y1, x2, y2 }));
  }
  svg.appendChild(make("circle", { class: "centro", cx: 100, cy: 100, r: 5 }));
  for (let h = 1; h <= 12; ++h) {
    const [x, y] = at(h, 76);
    const g = make("g", { class: "ora" + (h === hour ? " scelta" : ""), id: "ora-" + h, role: "button",
      tabindex: "0", "aria-label": "Vento da ore " + h, "aria-pressed": h === hour ? "true" : "false" });
    g.appendChild(make("circle", { cx: x, cy: y, r: 21 }));
    const t = make("text", { x, y });
    t.textContent = h;
    g.appendChild(t);
    const choose = () => {
      page.s.card.choose("ora", h);
      showCard();
      const again = $("ora-" + h);
      if (again) again.focus();
    };
    g.addEventListener("click", choose);
    g.addEventListener("keydown", (e) => {
      if (e.key === "Enter" || e.key === " ") {
        e.preventDefault();
        choose();
      }
    });
    svg.appendChild(g);
  }
  if (focused && focused.startsWith("ora-") && $(focused)) $(focused).focus();
}

// ---- the armoury --------------------------------------------------------------------------

function showArmoury() {
  const v = page.s.armoury.view();
  if (v.arma >= 0 && page.rifle < 0) page.rifle = v.arma;
  if (page.rifle >= v.armi.length) page.rifle = v.armi.length - 1;
  if (page.rifle < 0 && v.armi.length) page.rifle = 0;
  $("armi").replaceChildren(...v.armi.map((r, i) => new Option(r.nome, i)));
  $("armi").value = String(page.rifle);
  const rifle = v.armi[page.rifle];
  $("cariche").replaceChildren(...(rifle ? rifle.cariche : []).map((name, i) => new Option(name, i)));
  if (rifle && v.arma === page.rifle && v.carica >= 0) $("cariche").value = String(v.carica);
  for (const id of ["usa", "elimina", "elimina-arma"]) $(id).disabled = !rifle;
  $("elimina").disabled = !rifle || !rifle.cariche.length;
  $("messaggio-armeria").textContent = page.s.storageProblem || v.messaggio;
  $("illeggibili").replaceChildren(...v.illeggibili.map((u) => {
    const box = element("div", undefined, "errore");
    box.appendChild(element("p", u.avviso));
    const b = element("button", "Scarica l'armeria illeggibile");
    b.type = "button";
    b.addEventListener("click", () => download(u.testo, u.file));
    box.appendChild(b);
    return box;
  }));
  if (v.arma >= 0 && !$("nome-arma").value) {
    $("nome-arma").value = v.armi[v.arma].nome;
    if (v.carica >= 0) $("nome-carica").value = v.armi[v.arma].cariche[v.carica];
  }
}

function download(text, name) {
  const blob = new Blob([text], { type: "application/json" });
  const a = document.createElement("a");
  a.href = URL.createObjectURL(blob);
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}

async function importArmoury(file) {
  const text = await file.text();
  const question = page.s.armoury.question(text);
  page.s.armoury.import(text, question ? confirm(question) : false);
  page.rifle = -1;
  showArmoury();
}

// ---- Il tiro ------------------------------------------------------------------------------

function fillSelect(select, captions, value) {
  if (select.options.length !== captions.length)
    select.replaceChildren(...captions.map((caption, i) => new Option(caption, i)));
  select.value = String(value);
}

function showTiro() {
  const started = performance.now();
  const v = page.s.tiro.view();
  for (const input of document.querySelectorAll("input[data-tiro]")) {
    const f = v.campi[input.dataset.tiro];
    if (!f) continue;
    if (document.activeElement !== input && input.value !== f.testo) input.value = f.testo;
    const box = $("campo-" + input.dataset.tiro);
    if (box) box.hidden = !f.visibile;
    const message = $("msg-" + input.dataset.tiro);
    message.textContent = f.messaggio;
    message.hidden = !f.messaggio;
    input.setAttribute("aria-invalid", f.messaggio ? "true" : "false");
  }
  $("campo-unita-tacche").hidden = !v.campi.tiroTacche.visibile;
  $("tiro-errore").textContent = v.rifiuto;
  $("tiro-errore").hidden = !v.rifiuto;
  $("tiro-alzo").textContent = v.alzo;
  $("tiro-deriva").textContent = v.deriva;
  $("tiro-angoli").textContent = v.alzoAngoli && "Alzo " + v.alzoAngoli + " · deriva " + v.derivaAngoli;
  $("tiro-forcella").textContent = v.forcella;
  $("tiro-mira").textContent = v.mira && "Mira: " + v.mira;
  $("tiro-mira-valori").textContent = v.miraValori;
  $("tiro-reticolo").innerHTML = v.svg;
  $("tiro-didascalia").textContent = v.didascalia;
  $("tiro-ottica-errore").textContent = v.otticaRifiuto;
  $("tiro-ottica-errore").hidden = !v.otticaRifiuto;
  $("tiro-energia").textContent = v.energia;
  $("tiro-energia").hidden = !v.energia;
  $("tiro-extra").textContent = v.rigaExtra;
  $("tiro-extra").hidden = !v.rigaExtra;
  $("tiro-righe").replaceChildren(...v.righe.map(([caption, value]) => element("li", caption + ": " + value)));
  fillSelect($("tiro-reticoli"), v.reticoli, v.reticolo);
  $("tiro-piano").value = String(v.piano);
  $("tiro-unita-tacche").value = String(v.unitaTacche);
  fillSelect($("tiro-specie"), v.specie_voci, v.specie);
  $("tiro-tacche").checked = v.tacche;
  $("tiro-stima").textContent = v.stima || v.stimaRifiuto;
  $("usa-stima").disabled = !v.stima;
  $("blocca-angolo").setAttribute("aria-pressed", v.inclinazione.bloccata ? "true" : "false");
  $("blocca-angolo").textContent = v.inclinazione.bloccata ? "Sblocca" : "Blocca";
  if (page.tilt.on) $("angolo-stato").textContent = v.inclinazione.zero;
  page.timings.lastTiro_ms = performance.now() - started;
}

// The phone's sensors: each starts on the user's tap; what a reading means is the session's.
function wireSensors() {
  const status = (text) => { $("sensori-stato").textContent = text; };
  const tiltReading = (e) => {
    if (e.beta === null || e.beta === undefined) return;
    page.tilt.beta = e.beta;
    page.s.tiro.sensor("inclinazione", e.beta);
    if (!page.tilt.pending) {
      page.tilt.pending = true;
      requestAnimationFrame(() => { page.tilt.pending = false; refresh(); });
    }
  };
  const compassReading = (e) => {
    const heading = e.webkitCompassHeading !== undefined ? e.webkitCompassHeading : e.absolute && e.alpha !== null ? 360 - e.alpha : null;
    if (heading !== null) page.compass = heading;
  };
  const allow = async () => {
    if (typeof DeviceOrientationEvent !== "undefined" && typeof DeviceOrientationEvent.requestPermission === "function")
      return (await DeviceOrientationEvent.requestPermission()) === "granted";
    return typeof DeviceOrientationEvent !== "undefined";
  };
  const texts = () => page.s.tiro.view().sensori;
  $("misura-angolo").addEventListener("click", async () => {
    if (!(await allow().catch(() => false))) {
      $("angolo-stato").textContent = texts().nessunaInclinazione;
      return;
    }
    page.tilt.on = true;
    window.addEventListener("deviceorientation", tiltReading);
    $("azzera-angolo").hidden = false;
    $("blocca-angolo").hidden = false;
    $("angolo-stato").textContent = texts().inclinazioneAccesa;
  });
  $("azzera-angolo").addEventListener("click", () => {
    if (page.tilt.beta !== null) page.s.tiro.sensor("azzera", page.tilt.beta);
    refresh();
  });
  $("blocca-angolo").addEventListener("click", () => { page.s.tiro.sensor("blocca", ""); refresh(); });
  $("usa-posizione").addEventListener("click", () => {
    if (!navigator.geolocation) { status(texts().nessunaPosizione); return; }
    status(texts().posizioneAttesa);
    navigator.geolocation.getCurrentPosition((p) => {
      page.s.tiro.sensor("posizione", p.coords.latitude + (p.coords.altitude === null ? "" : " " + p.coords.altitude));
      status(texts().posizioneLetta);
      refresh();
    }, () => status(texts().nessunaPosizione), { enableHighAccuracy: true, timeout: 15000 });
  });
  const withCompass = async (what) => {
    if (!(await allow().catch(() => false))) { status(texts().nessunaBussola); return; }
    window.addEventListener("deviceorientationabsolute", compassReading);
    window.addEventListener("deviceorientation", compassReading);
    setTimeout(() => {
      if (page.compass === null) { status(texts().nessunaBussola); return; }
      page.s.tiro.sensor(what, page.compass);
      status(what === "bussola" ? texts().bussolaLetta : texts().ventoLetto);
      refresh();
    }, page.compass === null ? 500 : 0);
  };
  $("usa-bussola").addEventListener("click", () => withCompass("bussola"));
  $("vento-bussola").addEventListener("click", () => withCompass("ventoBussola"));
}

// ---- the page -----------------------------------------------------------------------------

function showView(view) {
  const show = page.views[view];
  if (show) show();
}

function selectView(view, scroll) {
  page.view = view;
  for (const tab of document.querySelectorAll(".tab")) {
    const on = tab.dataset.vista === view;
    tab.classList.toggle("attiva", on);
    tab.setAttribute("aria-selected", on ? "true" : "false");
    tab.tabIndex = on ? 0 : -1;
  }
  for (const section of document.querySelectorAll("section.vista")) section.hidden = section.id !== "vista-" + view;
  showView(view);
  if (scroll) $("vista-" + view).scrollIntoView({ block: "start" });
}

function refresh() {
  showCard();
  if (page.view !== "cartellino") showView(page.view);
}

function readiness() {
  const line = $("rete");
  if (!("serviceWorker" in navigator) || !window.isSecureContext) {
    line.textContent = "Serve la rete: apri la pagina da https o da localhost per usarla offline";
    return;
  }
  navigator.serviceWorker.register("sw.js").catch(() => {
    line.textContent = "Serve la rete: apri la pagina da https o da localhost per usarla offline";
  });
  navigator.serviceWorker.ready.then(() => { line.textContent = "Pronto senza rete"; });
}

function night(on) {
  document.body.classList.toggle("notte", on);
  $("notte").setAttribute("aria-pressed", on ? "true" : "false");
  document.querySelector("meta[name=theme-color]").content = on ? "#000000" : "#2f3b2a";
}

function wire() {
  const form = $("dati");
  form.addEventListener("input", (e) => {
    const field = e.target.dataset.campo;
    if (e.target.dataset.tiro) {
      page.s.tiro.set(e.target.dataset.tiro, e.target.value);
      refresh();
    } else if (field) {
      page.s.card.set(field, e.target.value);
      refresh();
    } else if (e.target.id === "cerca") {
      showCatalogue();
    } else if (e.target.id === "verifica-valore") {
      page.s.true.set("valore", e.target.value);
      showTruing(page.s.card.view());
    } else if (e.target.id === "verifica-distanza") {
      page.s.true.set("distanza", e.target.value);
      showTruing(page.s.card.view());
    }
  });
  form.addEventListener("focusout", (e) => {
    const field = e.target.dataset.campo;
    if (e.target.dataset.tiro) {
      page.s.tiro.leave(e.target.dataset.tiro);
      refresh();
    } else if (field) {
      page.s.card.leave(field);
      refresh();
    }
  });
  form.addEventListener("change", (e) => {
    const t = e.target;
    if (t.name === "origine") {
      page.catalogueOpen = t.value === "catalogo";
      if (t.value === "mano") page.s.card.hand();
      if (t.value === "armeria") selectView("armeria", true);
      showCatalogue();
      refresh();
    } else if (t.id === "tiro-reticoli" || t.id === "tiro-piano" || t.id === "tiro-unita-tacche" || t.id === "tiro-specie") {
      const what = { "tiro-reticoli": "reticolo", "tiro-piano": "piano", "tiro-unita-tacche": "unitaTacche", "tiro-specie": "specie" }[t.id];
      page.s.tiro.choose(what, t.value);
      refresh();
    } else if (t.id === "tiro-tacche") {
      page.s.tiro.choose("tacche", t.checked ? 1 : 0);
      refresh();
    } else if (t.id === "tipo-pressione") {
      page.s.card.choose("pressione", t.value);
      refresh();
    } else if (t.id === "modello" || t.id === "click") {
      page.s.card.choose(t.id, t.value);
      refresh();
    } else if (t.id === "colpo") {
      page.s.card.choose("colpo", t.checked ? 1 : 0);
      refresh();
    } else if (t.id === "telemetro" || t.id === "posizione" || t.id === "mira" || t.id === "vento-letto") {
      page.s.card.choose(t.id === "vento-letto" ? "vento_letto" : t.id, t.value);
      refresh();
    } else if (t.name === "osservazione") {
      page.s.true.set("osservazione", t.value);
      showCard();
    } else if (t.id === "verifica-unita") {
      page.s.true.set("unita", t.value);
      showCard();
    } else if (t.id === "armi") {
      page.rifle = Number(t.value);
      showArmoury();
    } else if (t.id === "importa" && t.files[0]) {
      importArmoury(t.files[0]).finally(() => { t.value = ""; });
    }
  });
  for (const b of document.querySelectorAll("button[data-segno]")) {
    b.addEventListener("click", () => {
      const field = b.dataset.segno;
      page.s.card.negate(field);
      const v = page.s.card.view();
      $(field).value = v.campi[field].testo;
      $(field).focus();
      refresh();
    });
  }
  document.querySelector("button[data-segno-verifica]").addEventListener("click", () => {
    const input = $("verifica-valore");
    input.value = input.value.trim().startsWith("-") ? input.value.trim().slice(1) : "-" + input.value.trim();
    page.s.true.set("valore", input.value);
    showCard();
  });
  $("segno-tiroAngolo").addEventListener("click", () => {
    page.s.card.negate("angolo");
    page.s.card.leave("angolo");
    refresh();
  });
  $("usa-stima").addEventListener("click", () => { page.s.tiro.useRange(); refresh(); });
  wireSensors();
  $("verifica-calcola").addEventListener("click", () => { page.s.true.solve(false); showCard(); });
  $("verifica-coefficiente").addEventListener("click", () => { page.s.true.solve(true); showCard(); });
  $("verifica-applica").addEventListener("click", () => { page.s.true.apply(); refresh(); });
  const tabs = [...document.querySelectorAll(".tab")];
  tabs.forEach((tab, i) => {
    tab.addEventListener("click", () => selectView(tab.dataset.vista, true));
    tab.addEventListener("keydown", (e) => {
      const step = e.key === "ArrowRight" ? 1 : e.key === "ArrowLeft" ? -1 : 0;
      if (!step) return;
      const next = tabs[(i + step + tabs.length) % tabs.length];
      next.focus();
      selectView(next.dataset.vista, true);
    });
  });
  $("usa").addEventListener("click", () => {
    page.s.armoury.choose(Number($("armi").value), $("cariche").value === "" ? -1 : Number($("cariche").value));
    page.catalogueOpen = false;
    showCatalogue();
    selectView("cartellino", true);
  });
  $("salva").addEventListener("click", () => {
    page.s.armoury.save($("nome-arma").value, $("nome-carica").value);
    page.rifle = page.s.armoury.view().arma;
    showArmoury();
    showCard();
  });
  const remove = (wholeRifle) => {
    const rifle = $("armi").selectedOptions[0];
    const load = $("cariche").selectedOptions[0];
    if (!rifle || (!wholeRifle && !load)) return;
    const what = wholeRifle ? "l'arma \"" + rifle.text + "\" con tutte le sue cariche" : "la carica \"" + load.text + "\"";
    if (!confirm("Eliminare " + what + "?")) return;
    page.s.armoury.remove(Number(rifle.value), wholeRifle ? -1 : Number(load.value));
    showArmoury();
    showCard();
  };
  $("elimina").addEventListener("click", () => remove(false));
  $("elimina-arma").addEventListener("click", () => remove(true));
  $("esporta").addEventListener("click", () => download(page.s.armoury.export(), page.s.armoury.view().file));
  $("notte").addEventListener("click", () => {
    const on = !document.body.classList.contains("notte");
    localStorage.setItem(NIGHT, on ? "1" : "0");
    night(on);
  });
  window.addEventListener("resize", () => {
    showScroll("scorre-cartellino", "scorri-cartellino");
    showScroll("scorre-tabella", "scorri-tabella");
  });
}

async function start() {
  night(localStorage.getItem(NIGHT) === "1");
  page.siacci = await createSiacci();
  page.s = Sessione.open(page.siacci);
  addView("tiro", showTiro);
  addView("cartellino", showCard);
  addView("tabella", showTable);
  addView("armeria", showArmoury);
  wire();
  const source = page.s.card.view().origine;
  if (source.tipo === "catalogo") page.item = source.voce;
  showCard();
  showTiro();
  showCatalogue();
  showArmoury();
  $("stato").textContent = "";
  $("stato").hidden = true;
  document.body.dataset.pronto = "1";
}

// The offline copy is made once the first card is on screen, so as not to slow it down.
start().then(readiness).catch((e) => {
  $("stato").textContent = "Il calcolatore non si avvia: " + e.message;
});
