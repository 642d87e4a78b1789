// The page of vesk dienst: sends a chosen or dropped message file to /zeigen and shows the
// answer, the message read field by field with the check's findings at their places.
// Message bytes come from another company: they reach the page only through textContent.
"use strict";

(() => {
  const ERGEBNISSE = { ok: "OK", fehler: "Fehler", abbruch: "Abbruch" };
  const ZUSTAENDE = {
    gueltig: "gültig",
    initialwert: "Initialwert",
    falsches_format: "Falsches Format",
    muss_feld_leer: "Muss-Feld nicht gefüllt",
    nicht_in_wertemenge: "Nicht in Wertemenge",
  };
  const SPALTEN = ["Nr", "Feldname", "Art", "Typ", "Offset", "Länge", "Zustand", "Wert", "Befund"];
  // A longer run of trailing blanks (reserve fields, padded texts) is counted instead of shown.
  const HOECHSTENS_LEER = 8;

  const $ = (id) => document.getElementById(id);
  let letzteAnfrage = 0;

  function element(name, klasse, text) {
    const knoten = document.createElement(name);
    if (klasse) knoten.className = klasse;
    if (text !== undefined) knoten.textContent = text;
    return knoten;
  }

  const hex = (code) => "\\x" + code.toString(16).toUpperCase().padStart(2, "0");
  // C0, DEL and C1 would be invisible or steer something; the no-break space and the soft hyphen
  // look like a blank or like nothing.
  const unsichtbar = (code) => code < 0x20 || (code >= 0x7f && code < 0xa0) || code === 0xa0 || code === 0xad;

  // A text of the configuration or the service (names, descriptions) with control characters
  // as \xHH.
  const maskiert = (text) =>
    String(text ?? "").replace(/[\u0000-\u001f\u007f-\u009f]/g, (z) => hex(z.charCodeAt(0)));

  // Message bytes, each the code point of the same number, made visible: a blank as a middle
  // dot and an invisible byte as \xHH, each in a marked span.
  function wertKnoten(wert) {
    const knoten = element("span", "wert");
    let ende = wert.length;
    while (ende > 0 && wert[ende - 1] === " ") ende -= 1;
    const gezaehlt = wert.length - ende > HOECHSTENS_LEER ? wert.length - ende : 0;
    const teile = wert.slice(0, wert.length - gezaehlt).match(/ +|[^ ]/gs) ?? [];
    let text = "";
    const schreibeText = () => {
      if (text) knoten.append(text);
      text = "";
    };
    for (const teil of teile) {
      const code = teil.charCodeAt(0);
      if (teil[0] === " ") {
        schreibeText();
        const leer = element("span", "leer", "·".repeat(teil.length));
        leer.title = teil.length === 1 ? "Leerzeichen" : `${teil.length} Leerzeichen`;
        knoten.append(leer);
      } else if (unsichtbar(code)) {
        schreibeText();
        knoten.append(element("span", "byte", hex(code)));
      } else {
        text += teil;
      }
    }
    schreibeText();
    if (gezaehlt > 0) knoten.append(element("span", "leerrest", `+ ${gezaehlt} Leerzeichen`));
    if (wert.length === 0) knoten.append(element("span", "leerrest", "(leer)"));
    return knoten;
  }

  const anzahl = (n) => (n === 1 ? "1 Befund" : `${n} Befunde`);
  // The catalogue text, followed by the explanatory text where there is one.
  function befundText(befund) {
    const beschreibung = maskiert(befund.beschreibung).trim();
    if (befund.text === undefined || befund.text === null) return beschreibung;
    if (!beschreibung) return maskiert(befund.text).trim();
    const text = maskiert(befund.text).trim();
    return beschreibung.endsWith(":") ? `${beschreibung} ${text}` : `${beschreibung}: ${text}`;
  }
  const befundKopf = (befund) => `${maskiert(befund.art)} ${befund.nummer}`;

  function befundListe(befunde) {
    const liste = element("ul", "befundliste");
    for (const befund of befunde) {
      const eintrag = element("li", "befund");
      eintrag.append(element("span", "befundart", befundKopf(befund)), " ", befundText(befund));
      liste.append(eintrag);
    }
    return liste;
  }

  function feldZeile(feld, id, befundstellen, ort) {
    const zeile = element("tr", "feld");
    zeile.id = id;
    zeile.tabIndex = -1;
    const befunde = feld.fehler ?? [];
    const zellen = [
      element("td", "zahl", String(feld.feldnummer)),
      element("td", "name", maskiert(feld.feldname)),
      element("td", "", maskiert(feld.feldart)),
      element("td", "", maskiert(feld.feldtyp)),
      element("td", "zahl", String(feld.offset)),
      element("td", "zahl", String(feld.laenge)),
      element("td", "zustand", ZUSTAENDE[feld.zustand] ?? maskiert(feld.zustand)),
      element("td", "wertzelle"),
      element("td", befunde.length > 0 ? "befund" : "ohnebefund"),
    ];
    zellen[7].append(wertKnoten(feld.wert ?? ""));
    const texte = element("div", "befundtexte");  // one grid item in the narrow layout
    if (befunde.length > 0) zellen[8].append(texte);
    for (const befund of befunde) {
      texte.append(element("span", "befundtext", befundText(befund)));
      befundstellen.push({ befund, id, ort: `${ort}, Feld ${feld.feldnummer} ${maskiert(feld.feldname)}` });
    }
    if (befunde.length > 0) zeile.classList.add("fehlerhaft");
    zellen.forEach((zelle, i) => {
      zelle.dataset.spalte = SPALTEN[i];
      zeile.append(zelle);
    });
    return zeile;
  }

  function feldTabelle(felder, satzId, befundstellen, ort) {
    const rahmen = element("div", "tabellenrahmen");
    const tabelle = element("table", "felder");
    const kopf = element("tr");
    for (const spalte of SPALTEN) kopf.append(element("th", "", spalte));
    tabelle.append(element("thead"), element("tbody"));
    tabelle.tHead.append(kopf);
    felder.forEach((feld, i) => {
      tabelle.tBodies[0].append(feldZeile(feld, `${satzId}-feld-${i}`, befundstellen, ort));
    });
    rahmen.append(tabelle);
    return rahmen;
  }

  function satzBlock(satz, index, befundstellen) {
    const block = element("section", "satz");
    block.id = `satz-${index}`;
    block.tabIndex = -1;
    const satzart = satz.satzart === null || satz.satzart === undefined ? "?" : maskiert(satz.satzart);
    const ort = `Datensatz ${satz.datensatz}`;
    block.append(element("h3", "", `${ort} · Satzart ${satzart} · Offset ${satz.offset}`));
    if (satz.problem) block.append(element("p", "problem", maskiert(satz.problem)));
    const befunde = satz.fehler ?? [];
    if (befunde.length > 0) {
      block.classList.add("fehlerhaft");
      block.append(befundListe(befunde));
      for (const befund of befunde) befundstellen.push({ befund, id: block.id, ort });
    }
    if (satz.wert !== undefined) {  // shown raw
      const roh = element("p", "roh", `${satz.laenge ?? satz.wert.length} Byte: `);
      roh.append(wertKnoten(satz.wert));
      block.append(roh);
    }
    if ((satz.felder ?? []).length > 0) block.append(feldTabelle(satz.felder, block.id, befundstellen, ort));
    if (satz.anhang) {
      const anhang = satz.anhang;
      let text = `Anhang: ${anhang.laenge} Byte`;
      if (anhang.offset !== null && anhang.offset !== undefined) text += ` ab Offset ${anhang.offset}`;
      if (!anhang.vollstaendig) text += ", reicht über das Nachrichtenende";
      block.append(element("p", "anhang", text));
    }
    return block;
  }

  function zeige(bericht, datei) {
    const befundstellen = [];
    const saetze = (bericht.datensaetze ?? []).map((satz, i) => satzBlock(satz, i, befundstellen));
    const ohneSatz = bericht.fehler ?? [];
    const nachrichtenbefunde = $("nachrichtenbefunde");
    nachrichtenbefunde.hidden = ohneSatz.length === 0;
    nachrichtenbefunde.querySelector(".befundliste").replaceWith(befundListe(ohneSatz));
    for (const befund of ohneSatz) befundstellen.push({ befund, id: nachrichtenbefunde.id, ort: "Nachricht" });

    $("nachricht").textContent = maskiert(bericht.nachricht ?? datei);
    const ergebnis = $("ergebnis");
    const art = Object.hasOwn(ERGEBNISSE, bericht.ergebnis) ? bericht.ergebnis : "abbruch";
    ergebnis.dataset.ergebnis = art;
    ergebnis.className = `ergebnis-${art}`;
    ergebnis.textContent = ERGEBNISSE[art] + (art === "fehler" ? ` (${anzahl(befundstellen.length)})` : "");
    $("nachrichtentyp").textContent = bericht.nachrichtentyp ? maskiert(bericht.nachrichtentyp) : "nicht erkannt";
    const abbruch = $("abbruch");
    abbruch.hidden = art !== "abbruch";
    abbruch.textContent = art === "abbruch" ? `Abbruch: ${maskiert(bericht.abbruch)}` : "";

    const liste = $("befunde");
    liste.replaceChildren();
    for (const stelle of befundstellen) {
      const eintrag = element("li", "befund");
      const verweis = element("a", "", stelle.ort);
      verweis.href = `#${stelle.id}`;
      eintrag.append(verweis, ": ", element("span", "befundart", befundKopf(stelle.befund)), " ",
        befundText(stelle.befund));
      liste.append(eintrag);
    }
    if (befundstellen.length === 0) liste.append(element("li", "keine", "Keine Befunde."));
    $("saetze").replaceChildren(...saetze);

    const bereich = $("ergebnisbereich");
    bereich.dataset.datei = datei;
    bereich.hidden = false;
    melde(`${maskiert(datei)} gelesen: ${anzahl(befundstellen.length)}.`, false);
  }

  function melde(text, fehler) {
    const meldung = $("meldung");
    meldung.textContent = text;
    meldung.classList.toggle("fehlermeldung", fehler);
  }

  // An answer that is no report: the service's problem document, or whatever came instead.
  function zeigeProblem(antwort, inhalt) {
    let text = `Der Dienst antwortet mit Status ${antwort.status}.`;
    if ((antwort.headers.get("Content-Type") ?? "").includes("json")) {
      try {
        const problem = JSON.parse(inhalt);
        text = [problem.title, problem.detail].filter(Boolean).map(maskiert).join(": ") || text;
      } catch {
        // keep the status line
      }
    }
    $("ergebnisbereich").hidden = true;
    document.body.dataset.zustand = "fehler";
    melde(text, true);
  }

  async function sende(datei) {
    const anfrage = ++letzteAnfrage;
    document.body.dataset.zustand = "laeuft";
    melde(`${maskiert(datei.name)} wird gelesen …`, false);
    try {
      const antwort = await fetch(`/zeigen?name=${encodeURIComponent(datei.name)}`, {
        method: "POST",
        headers: { "Content-Type": "application/octet-stream" },
        body: datei,
      });
      const inhalt = await antwort.text();
      if (anfrage !== letzteAnfrage) return;  // a later file is on its way
      if (!antwort.ok) {
        zeigeProblem(antwort, inhalt);
        return;
      }
      zeige(JSON.parse(inhalt), datei.name);
      document.body.dataset.zustand = "fertig";
    } catch (fehler) {
      if (anfrage !== letzteAnfrage) return;
      $("ergebnisbereich").hidden = true;
      document.body.dataset.zustand = "fehler";
      melde(`Die Datei konnte nicht geprüft werden: ${fehler.message}`, true);
    }
  }

  const eingabe = $("datei");
  eingabe.addEventListener("change", () => {
    if (eingabe.files.length > 0) sende(eingabe.files[0]);
    eingabe.value = "";  // so that choosing the same file again, changed, sends it again
  });

  const ablage = $("ablage");
  ablage.addEventListener("keydown", (ereignis) => {
    if (ereignis.target === ablage && (ereignis.key === "Enter" || ereignis.key === " ")) {
      ereignis.preventDefault();
      eingabe.click();
    }
  });

  // The whole page takes a dropped file, so that a near miss does not open it in the browser.
  const hatDateien = (ereignis) => Array.from(ereignis.dataTransfer?.types ?? []).includes("Files");
  document.addEventListener("dragover", (ereignis) => {
    if (!hatDateien(ereignis)) return;
    ereignis.preventDefault();
    ereignis.dataTransfer.dropEffect = "copy";
    document.body.classList.add("ziehen");
  });
  document.addEventListener("dragleave", (ereignis) => {
    if (ereignis.relatedTarget === null) document.body.classList.remove("ziehen");
  });
  document.addEventListener("drop", (ereignis) => {
    if (!hatDateien(ereignis)) return;
    ereignis.preventDefault();
    document.body.classList.remove("ziehen");
    if (ereignis.dataTransfer.files.length > 0) sende(ereignis.dataTransfer.files[0]);
  });
})();
