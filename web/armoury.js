// The user's rifles and loads, kept in the browser and exchanged with the desktop program as its
// armoury document ({"format": "siacci-armeria", "version": 1, "rifles": [...]}).
"use strict";

const Armeria = (() => {
  const KEY = "siacci-armeria";
  const FORMAT = "siacci-armeria";
  const VERSION = 1;

  function empty() {
    return { format: FORMAT, version: VERSION, rifles: [] };
  }

  function numberOr(value, fallback) {
    return typeof value === "number" && Number.isFinite(value) ? value : fallback;
  }

  // A document read from a file or from the storage, checked field by field; throws an Error
  // with an Italian message when it is not an armoury.
  function validate(doc) {
    if (!doc || typeof doc !== "object" || doc.format !== FORMAT)
      throw new Error("Il file non è un'armeria di Siacci.");
    if (doc.version !== VERSION)
      throw new Error("Versione dell'armeria non riconosciuta: " + doc.version + ".");
    if (!Array.isArray(doc.rifles))
      throw new Error("L'armeria non ha l'elenco delle armi.");
    for (const rifle of doc.rifles) {
      if (!rifle || typeof rifle.name !== "string" || !rifle.name)
        throw new Error("Un'arma dell'armeria non ha nome.");
      if (!Array.isArray(rifle.loads))
        throw new Error("L'arma \"" + rifle.name + "\" non ha l'elenco delle cariche.");
      for (const load of rifle.loads) {
        if (!load || typeof load.description !== "string")
          throw new Error("Una carica dell'arma \"" + rifle.name + "\" non ha descrizione.");
        if (!(numberOr(load.velocity_ms, 0) > 0) || !(numberOr(load.weight_gr, 0) > 0))
          throw new Error("La carica \"" + load.description + "\" non ha velocità o peso validi.");
      }
    }
    return doc;
  }

  function load() {
    const text = localStorage.getItem(KEY);
    if (!text) return empty();
    try {
      return validate(JSON.parse(text));
    } catch (e) {
      // Kept aside, never overwritten: the user can still copy it out of the storage.
      localStorage.setItem(KEY + "-illeggibile-" + new Date().toISOString(), text);
      localStorage.removeItem(KEY);
      return empty();
    }
  }

  function save(doc) {
    localStorage.setItem(KEY, JSON.stringify(doc, null, 1));
  }

  // Imported rifles join the armoury; a rifle with a name already there is renamed, never
  // replaced ("nome (2)").
  function merge(doc, imported) {
    validate(imported);
    const names = new Set(doc.rifles.map((r) => r.name));
    let added = 0;
    for (const rifle of imported.rifles) {
      let name = rifle.name;
      for (let n = 2; names.has(name); ++n) name = rifle.name + " (" + n + ")";
      names.add(name);
      doc.rifles.push(Object.assign({}, rifle, { name }));
      ++added;
    }
    return added;
  }

  function rifleTemplate(name, inputs) {
    const click = /^([0-9.]+)(moa|mrad)$/.exec(inputs.click) || [null, "0.1", "mrad"];
    return {
      name,
      sight_height_cm: inputs.sight_cm,
      twist_in: 10,
      twist_right_hand: true,
      click_value: inputs.click === "1cm" ? 0.1 : Number(click[1]),
      click_unit: inputs.click === "1cm" ? "mrad" : click[2],
      turret_clicks_per_turn: inputs.clicksPerTurn || null,
      zero_m: inputs.zero_m,
      zero_atmosphere: { temperature_c: inputs.temperature_c, pressure_hpa: 1013.25, humidity_pct: 0 },
      loads: [],
    };
  }

  function loadTemplate(description, shot) {
    return {
      description,
      velocity_ms: shot.velocity_ms,
      velocity_temperature_c: 15,
      temperature_sensitivity_ms_per_c: 0,
      drag: shot.drag,
      bc: shot.bc,
      bc_steps: [],
      drag_table: [],
      weight_gr: shot.weight_gr,
      diameter_mm: null,
      length_mm: null,
      notes: shot.notes || "",
    };
  }

  return { empty, validate, load, save, merge, rifleTemplate, loadTemplate };
})();

if (typeof module !== "undefined") module.exports = Armeria;
