// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own films: the list (Add, Edit, Remove) and the edit dialog, which fits the
// formula as the user types (in a worker, after a short pause) and shows its largest error
// and a log-log plot. The films are kept in the browser's storage as the two files the
// desktop keeps beside its settings, films.dat and films.txt; the core reads and writes them.
import { $, page, showMessage, storage } from './page.js';

const kFitPauseMs = 150;
const kDat = 'films.dat';
const kText = 'films.txt';

let changed = () => {}; // tells the exposure tab that the own films changed
let damagedFile = ''; // a stored file that reads as damaged, kept aside at the next save

// films.dat is kept as base64 text.
function toBase64(bytes) {
  let text = '';
  for (const byte of bytes)
    text += String.fromCharCode(byte);
  return btoa(text);
}

function fromBase64(text) {
  try {
    return Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  } catch {
    return new Uint8Array(0); // read as damaged
  }
}

// Loads the stored own films into the core; the message of a damaged file, or ''.
export function loadOwnFilms() {
  const dat = storage.get(kDat);
  const r = page.core.loadOwnFilms(dat === null ? null : fromBase64(dat), storage.get(kText));
  damagedFile = r.damagedFile;
  return r.damaged;
}

// Both files whole, or neither: a failed write puts back what was kept before.
function storeOwnFilms() {
  const content = page.core.ownFilmsContent();
  const before = { [kDat]: storage.get(kDat), [kText]: storage.get(kText) };
  try {
    if (damagedFile) {
      storage.setStrict(damagedFile + '.bak', before[damagedFile]);
      damagedFile = '';
    }
    storage.setStrict(kText, content.text);
    storage.setStrict(kDat, toBase64(content.dat));
    return true;
  } catch {
    for (const [name, value] of Object.entries(before))
      storage.restore(name, value);
    loadOwnFilms();
    showMessage(page.core.formatStr(2708, location.origin));
    return false;
  }
}

// The list of own films.

function fillList(select) {
  const list = $('lbxFilms');
  const names = page.core.ownFilmNames();
  list.replaceChildren(...names.map((name) => new Option(name)));
  list.selectedIndex = names.length === 0 ? -1 : Math.min(Math.max(select ?? 0, 0), names.length - 1);
  showButtonState();
}

function showButtonState() {
  const chosen = $('lbxFilms').selectedIndex >= 0;
  $('btEditFilm').disabled = !chosen;
  $('btRemoveFilm').disabled = !chosen;
}

function question(text) {
  const dialog = $('dlgQuestion');
  $('lbQuestion').textContent = text;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue === 'ok'), { once: true });
    dialog.returnValue = '';
    dialog.showModal();
  });
}

async function removeFilm() {
  const list = $('lbxFilms');
  const row = list.selectedIndex;
  if (row < 0 || !(await question(page.core.formatStr(2707, list.options[row].text))))
    return;
  page.core.removeOwnFilm(row);
  if (storeOwnFilms())
    fillList(row);
}

// The edit dialog.

const edit = {
  index: -1, // the own film being changed; -1 adds one
  key: '', // the model in the fields, as the key of its fit; '' when it cannot be fitted
  input: null,
  fits: new Map(), // the fits made while the dialog is open, by their key
  timer: 0,
  worker: null,
  busy: false,
};

// The fields hold the separator of the browser's language; the typed film keeps "." whatever
// the language, and the fields take both marks.
const toDot = (text) => text.trim().replaceAll(page.sep, '.');
const fromDot = (text) => text.replaceAll('.', page.sep);

function pairFields(i) {
  return [$('edMetered' + (i + 1)), $('edNeeded' + (i + 1))];
}

function buildPairRows() {
  const rows = [];
  for (let i = 0; i < page.core.maxFilmPairs(); ++i) {
    const row = document.createElement('tr');
    const number = document.createElement('th');
    number.scope = 'row';
    number.textContent = String(i + 1);
    row.append(number);
    for (const [id, header, stops] of [['edMetered', 2718, false], ['edNeeded', 2719, true]]) {
      const cell = document.createElement('td');
      const field = document.createElement('input');
      field.id = id + (i + 1);
      field.className = 'filmnumber' + (stops ? ' stops' : '');
      field.inputMode = 'decimal';
      field.autocomplete = 'off';
      field.setAttribute('aria-label', page.core.formatStr(2726, String(i + 1)) + ' ' + page.core.loadStr(header));
      cell.append(field);
      row.append(cell);
    }
    rows.push(row);
  }
  $('tbPairs').replaceChildren(...rows);
}

function fill(input) {
  $('edFilmName').value = input.name;
  $(input.powerLaw ? 'rbPowerLaw' : 'rbPairs').checked = true;
  $('edPower').value = fromDot(input.power);
  $('edFrom').value = fromDot(input.from);
  for (let i = 0; i < page.core.maxFilmPairs(); ++i) {
    const [metered, needed] = pairFields(i);
    metered.value = i < input.pairs.length ? fromDot(input.pairs[i][0]) : '';
    needed.value = i < input.pairs.length ? fromDot(input.pairs[i][1]) : '';
  }
  $('edRangeMin').value = fromDot(input.rangeMin);
  $('edRangeMax').value = fromDot(input.rangeMax);
}

function readFields() {
  const powerLaw = $('rbPowerLaw').checked;
  const pairs = [];
  if (!powerLaw) {
    for (let i = 0; i < page.core.maxFilmPairs(); ++i)
      pairs.push(pairFields(i).map((field) => toDot(field.value)));
    // The rows after the last one used are no part of the film.
    while (pairs.length > 0 && pairs.at(-1).every((text) => text === ''))
      pairs.pop();
  }
  return {
    name: $('edFilmName').value,
    powerLaw,
    power: powerLaw ? toDot($('edPower').value) : '',
    from: powerLaw ? toDot($('edFrom').value) : '',
    pairs,
    rangeMin: toDot($('edRangeMin').value),
    rangeMax: toDot($('edRangeMax').value),
  };
}

// Every change of the input: the name and the model checked, and the fit shown when it is
// known, otherwise asked for after a pause.
function inputChanged() {
  $('pgPowerLaw').hidden = !$('rbPowerLaw').checked;
  $('pgPairs').hidden = $('rbPowerLaw').checked;
  edit.input = readFields();
  const check = page.core.checkFilm(edit.input, edit.index, page.sepCode);
  $('edRangeMin').placeholder = check.dataMin;
  $('edRangeMax').placeholder = check.dataMax;
  edit.key = check.key;
  const reasons = [...check.reasons];
  const fit = edit.key ? edit.fits.get(edit.key) : undefined;
  clearTimeout(edit.timer);
  if (!edit.key) {
    $('lbFitError').textContent = '';
  } else if (fit) {
    $('lbFitError').textContent = fit.error;
    if (fit.fault)
      reasons.push(fit.fault);
  } else {
    $('lbFitError').textContent = page.core.loadStr(2723);
    edit.timer = setTimeout(startFit, kFitPauseMs);
  }
  $('lbFitReason').textContent = reasons.join('\n');
  $('btFilmOk').disabled = !(fit && fit.ok && check.nameOk);
  drawPlot(check.measured, fit && fit.ok ? fit : null);
}

// One fit at a time in the worker; when it ends, the input then in the fields is fitted next.
function startFit() {
  if (edit.busy || !edit.key || edit.fits.has(edit.key))
    return;
  if (!edit.worker) {
    edit.worker = new Worker(new URL('./fitworker.js', import.meta.url), { type: 'module' });
    edit.worker.addEventListener('message', (event) => {
      edit.busy = false;
      edit.fits.set(event.data.key, event.data.fit);
      if (event.data.key === edit.key)
        inputChanged();
      else
        startFit();
    });
  }
  edit.busy = true;
  edit.worker.postMessage({ key: edit.key, input: edit.input, sep: page.sepCode });
}

export function fitPending() {
  return Boolean(edit.key) && !edit.fits.has(edit.key);
}

// The plot: the pairs as dots, the fitted formula over its range and, dashed, past it, on
// log-log axes of whole decades.
const kSvg = 'http://www.w3.org/2000/svg';
const kArea = { left: 44, top: 8, right: 268, bottom: 192 };

function svg(name, attributes, text) {
  const element = document.createElementNS(kSvg, name);
  for (const [key, value] of Object.entries(attributes))
    element.setAttribute(key, value);
  if (text !== undefined)
    element.textContent = text;
  return element;
}

function decadeLabel(decade) {
  if (decade >= -3 && decade <= 3)
    return page.core.generalNumberText(10 ** decade, page.sepCode);
  const superscripts = '⁰¹²³⁴⁵⁶⁷⁸⁹';
  return '10' + (decade < 0 ? '⁻' : '') + [...String(Math.abs(decade))].map((d) => superscripts[d]).join('');
}

function pointsOf(flat) {
  const points = [];
  for (let i = 0; i < flat.length; i += 2) {
    if (flat[i] > 0 && flat[i + 1] > 0 && Number.isFinite(flat[i]) && Number.isFinite(flat[i + 1]))
      points.push([flat[i], flat[i + 1]]);
  }
  return points;
}

function drawPlot(measuredFlat, fit) {
  const measured = pointsOf(measuredFlat);
  const fitted = fit ? pointsOf(fit.fitted) : [];
  const continued = fit ? pointsOf(fit.continued) : [];
  const all = [...measured, ...fitted, ...continued];
  const a = kArea;
  const parts = [svg('rect', { x: a.left, y: a.top, width: a.right - a.left, height: a.bottom - a.top, class: 'frame' })];
  if (all.length > 0) {
    const log = Math.log10;
    const x0 = Math.floor(log(Math.min(...all.map((p) => p[0]))) + 1e-9);
    const x1 = Math.max(x0 + 1, Math.ceil(log(Math.max(...all.map((p) => p[0]))) - 1e-9));
    // Up from no higher a decade than across, so that the line of no correction starts in view.
    const y0 = Math.min(x0, Math.floor(log(Math.min(...all.map((p) => p[1]))) + 1e-9));
    const y1 = Math.max(y0 + 1, Math.ceil(log(Math.max(...all.map((p) => p[1]))) - 1e-9));
    const px = (m) => a.left + (log(m) - x0) / (x1 - x0) * (a.right - a.left);
    const py = (c) => a.bottom - (log(c) - y0) / (y1 - y0) * (a.bottom - a.top);
    for (let d = x0; d <= x1; ++d) {
      parts.push(svg('line', { x1: px(10 ** d), x2: px(10 ** d), y1: a.top, y2: a.bottom, class: 'decade' }));
      parts.push(svg('text', { x: px(10 ** d), y: a.bottom + 13, 'text-anchor': 'middle' }, decadeLabel(d)));
    }
    for (let d = y0; d <= y1; ++d) {
      parts.push(svg('line', { x1: a.left, x2: a.right, y1: py(10 ** d), y2: py(10 ** d), class: 'decade' }));
      parts.push(svg('text', { x: a.left - 4, y: py(10 ** d) + 4, 'text-anchor': 'end' }, decadeLabel(d)));
    }
    const path = (points) => points.map((p, i) => (i ? 'L' : 'M') + px(p[0]).toFixed(1) + ' ' + py(p[1]).toFixed(1)).join(' ');
    if (fitted.length)
      parts.push(svg('path', { d: path(fitted), class: 'fitted' }));
    if (continued.length)
      parts.push(svg('path', { d: path(continued), class: 'continued' }));
    for (const p of measured)
      parts.push(svg('circle', { cx: px(p[0]), cy: py(p[1]), r: 3, class: 'measured' }));
  }
  parts.push(svg('text', { x: (a.left + a.right) / 2, y: 226, 'text-anchor': 'middle' }, page.core.loadStr(2724)));
  parts.push(svg('text', { x: 10, y: (a.top + a.bottom) / 2, 'text-anchor': 'middle',
    transform: `rotate(-90 10 ${(a.top + a.bottom) / 2})` }, page.core.loadStr(2725)));
  $('pbPlot').replaceChildren(...parts);
}

function openEditor(index) {
  edit.index = index;
  edit.fits.clear();
  edit.key = '';
  $('lbFilmEditTitle').textContent = page.core.loadStr(index < 0 ? 2710 : 2711);
  const input = index < 0 ? null : page.core.ownFilmInput(index);
  fill(input ?? { name: '', powerLaw: true, power: '', from: '', pairs: [], rangeMin: '', rangeMax: '' });
  inputChanged();
  $('dlgFilmEdit').showModal();
  $('edFilmName').focus();
}

function acceptFilm() {
  const fit = edit.fits.get(edit.key);
  if ($('btFilmOk').disabled || !fit)
    return;
  page.core.putOwnFilm(edit.input, fit.formula, fit.minTime, fit.maxTime, edit.index);
  if (!storeOwnFilms())
    return; // the dialog stays open
  $('dlgFilmEdit').close('ok');
  fillList(edit.index < 0 ? page.core.ownFilmNames().length - 1 : edit.index);
}

// The fields of numbers take digits, either decimal mark and "/" for fractions; a needed time
// may start with "+" for stops.
function installNumberFilter(root) {
  root.addEventListener('beforeinput', (event) => {
    const field = event.target;
    if (!field.classList?.contains('filmnumber') || event.data === null || !event.inputType.startsWith('insert'))
      return;
    const start = field.selectionStart ?? field.value.length;
    const end = field.selectionEnd ?? field.value.length;
    const next = field.value.slice(0, start) + event.data + field.value.slice(end);
    const pattern = field.classList.contains('stops') ? /^\s*\+?[0-9.,/]*\s*$/ : /^\s*[0-9.,/]*\s*$/;
    if (!pattern.test(next))
      event.preventDefault();
  });
}

export function installFilms(onChanged) {
  changed = onChanged;
  buildPairRows();
  installNumberFilter($('fmFilmEdit'));
  $('btFilms').addEventListener('click', () => {
    fillList(0);
    $('dlgFilms').showModal();
  });
  $('dlgFilms').addEventListener('close', () => changed());
  $('lbxFilms').addEventListener('change', showButtonState);
  $('lbxFilms').addEventListener('dblclick', () => $('btEditFilm').click());
  $('btAddFilm').addEventListener('click', () => openEditor(-1));
  $('btEditFilm').addEventListener('click', () => {
    if ($('lbxFilms').selectedIndex >= 0)
      openEditor($('lbxFilms').selectedIndex);
  });
  $('btRemoveFilm').addEventListener('click', removeFilm);
  $('fmFilmEdit').addEventListener('input', inputChanged);
  $('fmFilmEdit').addEventListener('change', inputChanged);
  $('fmFilmEdit').addEventListener('submit', (event) => {
    if (event.submitter?.value === 'cancel')
      return;
    event.preventDefault();
    acceptFilm();
  });
  $('dlgFilmEdit').addEventListener('close', () => clearTimeout(edit.timer));
}
