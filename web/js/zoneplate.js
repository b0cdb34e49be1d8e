// SPDX-License-Identifier: GPL-3.0-or-later
// Zone plate: the zone diameters and the plate's f number, and the drawing of the plate as a
// PDF or SVG file with the print check, byte for byte as the desktop writes them.
import { installConstantList, selectedConstant } from './constants.js';
import { $, download, page, showMessage, storage, unitOf } from './page.js';

let filled = false;

// What the tab shows, read as the desktop reads it.
function inputs(n) {
  const core = page.core;
  const focalText = $('edImageDistance4').value;
  const unitText = unitOf($('cbUnits8'));
  return {
    n,
    focalText,
    unitText,
    focalMM: core.lengthTextToMM(focalText, unitText, page.sepCode),
    waveMM: core.textToNumber($('edWave4').value, page.sepCode),
    c: selectedConstant($('cbConstant4')),
  };
}

export function resetZonePlateTab() {
  const ready = page.core.zonePlateInputsPositive($('edNumZones').value,
    $('edImageDistance4').value, $('edWave4').value, page.sepCode);
  $('btCalculate').disabled = !ready;
  $('btCreateZP').disabled = !ready;
  $('edFnumber4').value = '';
  const table = $('sgridZoneplate');
  table.tBodies[0].replaceChildren();
  table.classList.add('empty');
  $('hdZoneDiameter').textContent = page.core.zoneTableHeaderText(page.prefs.MainUnit);
  filled = false;
}

export function zonePlateTableFilled() {
  return filled;
}

let shown = null; // the inputs of the table shown

function showZonePlateTable(plate) {
  const r = page.core.zonePlateTable(plate.n, plate.focalMM, plate.waveMM, plate.c,
    page.prefs.MainUnit, page.prefs.DecNum, page.sepCode);
  const rows = r.cells.map((cell, i) => {
    const row = document.createElement('tr');
    const number = document.createElement('td');
    number.textContent = String(i + 1);
    const diameter = document.createElement('td');
    diameter.textContent = cell;
    row.append(number, diameter);
    return row;
  });
  const table = $('sgridZoneplate');
  $('hdZoneDiameter').textContent = page.core.zoneTableHeaderText(page.prefs.MainUnit);
  table.tBodies[0].replaceChildren(...rows);
  table.classList.remove('empty');
  $('edFnumber4').value = r.fNumber;
  filled = true;
  shown = plate;
  if (!$('TabSheet4').hidden)
    $('sgridZoneplateBox').focus();
}

// The options changed the unit or the decimal places: the table shown is written anew.
export function refillZonePlateTable() {
  if (filled)
    showZonePlateTable(shown);
}

// The zone count is checked before either button does anything; a refusal is said in a
// message box and the count gets the focus.
async function acceptedPlate() {
  const check = page.core.checkZoneCount($('edNumZones').value);
  if (check.ok)
    return inputs(check.n);
  await showMessage(check.message);
  $('edNumZones').focus();
  return null;
}

// The drawing's dialog.
let plate = null;

function magnification() {
  const text = $('edFactor').value;
  if (!$('chbMagnification').checked || text === '')
    return 1;
  const factor = page.core.parseWholeNumber(text);
  return factor === null || factor < 2 ? null : factor;
}

function updatePrintCheck() {
  const line = $('lbPrintCheck');
  const dpi = page.core.parsePrinterDpi($('edPrinterDpi').value);
  const m = magnification();
  let warn = false;
  if (dpi === null) {
    line.textContent = page.core.printerDpiRangeText();
  } else if (m === null) {
    line.textContent = '';
  } else {
    const check = page.core.zonePlatePrintCheck(plate.n, plate.focalMM, plate.waveMM, plate.c, m,
      dpi, page.prefs.MainUnit, page.prefs.DecNum, page.sepCode);
    line.textContent = check.text;
    warn = check.tooFine;
  }
  line.classList.toggle('warn', warn);
}

function focusMagnification() {
  $('edFactor').focus();
  $('edFactor').select();
}

async function save() {
  const core = page.core;
  const factorText = $('edFactor').value;
  let m = 1;
  if ($('chbMagnification').checked && factorText !== '') {
    const factor = core.parseWholeNumber(factorText);
    if (factor === null || factor < 2) {
      await showMessage(factor === null ? core.formatStr(2008, factorText) : core.loadStr(1622));
      focusMagnification();
      return;
    }
    m = factor;
  }
  if (core.zonePlatePageTooLarge(plate.n, plate.focalMM, plate.waveMM, plate.c, m)) {
    await showMessage(core.loadStr(1623));
    if (!$('edFactor').disabled)
      focusMagnification();
    return;
  }
  const svg = $('cbDrawingKind').value === 'svg';
  const bytes = core.zonePlateDrawing(svg, plate.n, plate.focalMM, plate.waveMM, plate.c,
    plate.focalText, plate.unitText, $('rbNegative').checked, m);
  download(bytes, core.zonePlateFileName('zoneplate', svg), svg ? 'image/svg+xml' : 'application/pdf');
  // The printer is remembered for the next plate.
  const dpi = core.parsePrinterDpi($('edPrinterDpi').value);
  if (dpi !== null)
    storage.set('PrinterDpi', dpi);
  $('dlgCreateZP').close('save');
}

function enlargeClicked() {
  const enlarge = $('chbMagnification').checked;
  $('edFactor').disabled = !enlarge;
  if (enlarge)
    $('edFactor').focus();
}

async function openDrawingDialog() {
  plate = await acceptedPlate();
  if (!plate)
    return;
  $('rbPozitive').checked = true;
  $('chbMagnification').checked = false;
  $('edFactor').value = '';
  enlargeClicked();
  const stored = page.core.parsePrinterDpi(storage.get('PrinterDpi') ?? '');
  $('edPrinterDpi').value = String(stored ?? page.core.defaultPrinterDpi());
  updatePrintCheck();
  $('dlgCreateZP').showModal();
}

export function installZonePlateTab() {
  for (const id of ['edNumZones', 'edImageDistance4', 'edWave4'])
    $(id).addEventListener('input', resetZonePlateTab);
  $('cbUnits8').addEventListener('change', resetZonePlateTab);
  installConstantList($('cbConstant4'), 'CustomConstantZP', resetZonePlateTab, resetZonePlateTab);
  $('fmZonePlate').addEventListener('submit', async (event) => {
    event.preventDefault();
    if ($('btCalculate').disabled)
      return;
    const accepted = await acceptedPlate();
    if (!accepted)
      return;
    $('btCalculate').disabled = true;
    showZonePlateTable(accepted);
  });
  $('btCreateZP').addEventListener('click', openDrawingDialog);

  $('chbMagnification').addEventListener('change', () => {
    enlargeClicked();
    updatePrintCheck();
  });
  $('edFactor').addEventListener('input', updatePrintCheck);
  $('edPrinterDpi').addEventListener('input', updatePrintCheck);
  $('fmCreateZP').addEventListener('submit', (event) => {
    if (event.submitter?.value === 'cancel')
      return;
    event.preventDefault();
    save();
  });

  $('edWave4').value = '0' + page.sep + '00055';
  resetZonePlateTab();
}
