// The page's session: the core's models behind the page (src/session/page_session.hpp) under
// the names the page uses. Every view is the core's JSON; the storage writes it asks for are
// made here, in its order, and one that fails is tried again before any later one.
"use strict";

const Sessione = (() => {
  function storageTexts() {
    const texts = {};
    for (let i = 0; i < localStorage.length; ++i) {
      const key = localStorage.key(i);
      if (key && key.startsWith("siacci-")) texts[key] = localStorage.getItem(key);
    }
    return texts;
  }

  function open(module) {
    const p = new module.PageSession(JSON.stringify(storageTexts()));
    const queue = [];
    const s = { storageProblem: "" };
    const flush = () => {
      queue.push(...JSON.parse(p.takeWrites()));
      while (queue.length) {
        const w = queue[0];
        try {
          localStorage.setItem(w.chiave, w.testo);
        } catch (e) {
          s.storageProblem = "Il browser non ha salvato i dati (" + e.message + "): riprovo alla prossima modifica.";
          return;
        }
        queue.shift();
        s.storageProblem = "";
      }
    };
    const act = (f) => (...args) => {
      const result = f(...args);
      flush();
      return result;
    };
    s.card = {
      set: act((field, text) => p.cardSet(field, text)),
      leave: act((field) => p.cardLeave(field)),
      negate: act((field) => p.cardNegate(field)),
      choose: act((what, value) => p.cardChoose(what, String(value))),
      hand: act(() => p.useHand()),
      catalogue: act((item, button) => p.useCatalogue(item, button)),
      view: () => JSON.parse(p.cardView()),
      // A batch of the hit table's samples; true while more remain.
      hitStep: (samples) => p.hitStep(samples),
    };
    s.tiro = {
      set: act((field, text) => p.tiroSet(field, text)),
      leave: act((field) => p.tiroLeave(field)),
      choose: act((what, value) => p.tiroChoose(what, String(value))),
      useRange: act(() => p.tiroUseRange()),
      sensor: act((what, value) => p.tiroSensor(what, String(value))),
      view: () => JSON.parse(p.tiroView()),
    };
    s.table = { view: () => JSON.parse(p.tableView()) };
    s.catalogue = {
      view: (menu, query) => JSON.parse(p.catalogueView(menu, query)),
      loads: (item) => JSON.parse(p.catalogueLoads(item)),
    };
    s.armoury = {
      view: () => JSON.parse(p.armouryView()),
      choose: act((rifle, load) => p.armouryChoose(rifle, load)),
      save: act((rifle, load) => p.armourySave(rifle, load)),
      remove: act((rifle, load) => p.armouryDelete(rifle, load)),
      question: (text) => p.armouryImportQuestion(text),
      import: act((text, replace) => p.armouryImport(text, Boolean(replace))),
      export: () => p.armouryExport(),
    };
    s.true = {
      set: act((what, value) => p.truingSet(what, String(value))),
      solve: act((coefficient) => p.truingSolve(Boolean(coefficient))),
      apply: act(() => p.truingApply()),
    };
    flush();
    return s;
  }

  return { open };
})();

if (typeof module !== "undefined") module.exports = Sessione;
