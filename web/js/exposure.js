// SPDX-License-Identifier: GPL-3.0-or-later
// Exposure: the times metered for f 22 turned into times for the camera's f number, corrected
// for the reciprocity failure of a film, and saved as the desktop saves them.
import { $, download, page, showMessage } from './page.js';

const kMimeTypes = ['application/vnd.ms-excel', 'text/plain', 'text/plain', 'text/csv'];
let labels = [];
let filled = false;

function fNumber() {
  return page.core.textToNumber($('edFnumber5').value, page.sepCode);
}

// The film the times are corrected for, by its place in the film list; -1 for none.
function filmIndex() {
  const value = $('cbFilmName').value;
  return $('chbReciprocity').checked && value !== '' ? Number(value) : -1;
}

export function resetExposureTable() {
  const complete = page.core.inputsComplete(fNumber(), $('chbReciprocity').checked,
    $('cbFilmName').value !== '');
  $('btCalculate5').disabled = !complete;
  $('btSaveExposureTimes').disabled = !complete;
  const table = $('sgridExposureTimes');
  table.tBodies[0].replaceChildren();
  table.classList.add('empty');
  filled = false;
}

function updateExposureFactor() {
  $('edFnumberFactor5').value = page.core.exposureFactorText($('edFnumber5').value, page.sepCode);
}

export function fillExposureTable() {
  const r = page.core.exposureTable(fNumber(), filmIndex(), page.prefs.ExpTimeFormat, page.sepCode);
  if (r.broken) {
    showMessage(r.broken);
    return;
  }
  const rows = r.times.map((time, k) => {
    const row = document.createElement('tr');
    const label = document.createElement('td');
    label.textContent = labels[k];
    const value = document.createElement('td');
    value.textContent = time;
    // Rows whose metered time lies beyond the film's data are red.
    if (r.firstOutOfRangeRow !== 0 && k + 1 >= r.firstOutOfRangeRow)
      value.classList.add('beyond');
    row.append(label, value);
    return row;
  });
  const table = $('sgridExposureTimes');
  table.tBodies[0].replaceChildren(...rows);
  table.classList.remove('empty');
  filled = true;
  if (!$('TabSheet5').hidden)
    $('sgridExposureTimesBox').focus();
}

export function exposureTableFilled() {
  return filled;
}

function save() {
  const index = Number($('cbExposureKind').value);
  const kind = page.core.exposureExportKind(index);
  const bytes = page.core.exposureDocument(kind, $('edFnumber5').value, $('edFnumberFactor5').value,
    filmIndex(), page.prefs.ExpTimeFormat, page.sepCode);
  if (!bytes) {
    fillExposureTable(); // says why the film's times cannot be computed
    return;
  }
  download(bytes, page.core.exposureFileName('exposure', index), kMimeTypes[index - 1]);
}

// The films of the list: the shipped database's, then the user's own.
let shipped = { status: 'ok', names: [] };

// The shipped films the page could load, or the message that there are none.
export function setFilms(result) {
  shipped = result;
  if (result.status !== 'ok')
    showMessage(page.core.loadStr(result.status === 'damaged' ? 1826 : 1815));
  refreshFilmList();
}

// The film list anew, the chosen film kept when it is still there. Without a shipped database
// and without films of the user's own, the times are computed without correction.
export function refreshFilmList() {
  const list = $('cbFilmName');
  const chosen = list.value === '' ? '' : list.options[list.selectedIndex].text;
  const names = [...shipped.names, ...page.core.ownFilmNames()];
  list.replaceChildren(new Option('', ''), ...names.map((name, i) => new Option(name, i)));
  const keep = chosen === '' ? -1 : names.indexOf(chosen);
  list.value = keep >= 0 ? String(keep) : '';
  const reciprocity = $('chbReciprocity');
  const usable = shipped.status === 'ok' || names.length > 0;
  if (!usable)
    reciprocity.checked = false;
  reciprocity.disabled = !usable;
  list.disabled = !reciprocity.checked;
  resetExposureTable();
}

export function installExposureTab() {
  labels = page.core.exposureLabels();
  $('edFnumber5').addEventListener('input', () => {
    resetExposureTable();
    updateExposureFactor();
  });
  $('chbReciprocity').addEventListener('change', () => {
    resetExposureTable();
    $('cbFilmName').disabled = !$('chbReciprocity').checked;
  });
  $('cbFilmName').addEventListener('change', resetExposureTable);
  // Calculate, and Enter in any field of the tab while Calculate is enabled.
  $('fmExposure').addEventListener('submit', (event) => {
    event.preventDefault();
    if ($('btCalculate5').disabled)
      return;
    $('btCalculate5').disabled = true;
    fillExposureTable();
  });
  $('btSaveExposureTimes').addEventListener('click', save);
  resetExposureTable();
}
