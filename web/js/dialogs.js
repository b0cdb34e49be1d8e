// SPDX-License-Identifier: GPL-3.0-or-later
// The options, the unit conversion tool and the about box.
import { calcAngleOfView } from './angle.js';
import { exposureTableFilled, fillExposureTable } from './exposure.js';
import { calcMagnification } from './magnification.js';
import { $, page, selectMainUnit, showMessage, storage } from './page.js';
import { recalculatePinholeTab } from './pinhole.js';
import { refillZonePlateTable } from './zoneplate.js';

// Options: the length unit, the angle unit, the decimal places and the rounding of exposure
// times, kept in the browser's storage.

function decimalPlaces() {
  const text = $('edDigit').value;
  if (text === '')
    return null;
  const n = page.core.parseWholeNumber(text);
  return n !== null && n >= 0 && n <= 10 ? n : null;
}

function openOptions() {
  const prefs = page.prefs;
  $(prefs.MainUnit === 1 ? 'rbIn' : 'rbMm').checked = true;
  $(prefs.AngleUnit === 1 ? 'rbDecimal' : 'rbSexagesimal').checked = true;
  $('edDigit').value = String(prefs.DecNum);
  $('chbExpTimeFormat').checked = prefs.ExpTimeFormat === 1;
  $('dlgOptions').showModal();
}

async function refuseDecimalPlaces() {
  await showMessage(page.core.loadStr(2006));
  $('edDigit').focus();
  $('edDigit').select();
}

// Writes only what changed, then has every shown result follow.
async function acceptOptions() {
  const places = decimalPlaces();
  if (places === null) {
    await refuseDecimalPlaces();
    return;
  }
  const prefs = page.prefs;
  const wanted = {
    MainUnit: $('rbIn').checked ? 1 : 0,
    AngleUnit: $('rbDecimal').checked ? 1 : 0,
    ExpTimeFormat: $('chbExpTimeFormat').checked ? 1 : 0,
    DecNum: places,
  };
  const changed = Object.keys(wanted).filter((name) => wanted[name] !== prefs[name]);
  for (const name of changed) {
    prefs[name] = wanted[name];
    storage.set(name, wanted[name]);
  }
  $('dlgOptions').close('ok');

  const unitChanged = changed.includes('MainUnit');
  const lengths = unitChanged || changed.includes('DecNum');
  // Every unit list moves to the new unit, as if the user had chosen it there.
  if (unitChanged) {
    for (const select of selectMainUnit())
      select.dispatchEvent(new Event('change', { bubbles: true }));
  }
  if (lengths) {
    recalculatePinholeTab();
    calcAngleOfView();
    calcMagnification();
    refillZonePlateTable();
  } else if (changed.includes('AngleUnit')) {
    calcAngleOfView();
  }
  if (changed.includes('ExpTimeFormat') && exposureTableFilled())
    fillExposureTable();
}

function installOptions() {
  $('btOptions').addEventListener('click', openOptions);
  $('edDigit').addEventListener('input', () => {
    if ($('edDigit').value !== '' && decimalPlaces() === null) {
      $('edDigit').select();
      showMessage(page.core.loadStr(2006));
    }
  });
  $('fmOptions').addEventListener('submit', (event) => {
    if (event.submitter?.value === 'cancel')
      return;
    event.preventDefault();
    acceptOptions();
  });
}

// Unit conversion: what is typed into one field is shown in the other two. It stays open
// beside the calculators and keeps its values when closed.

// Each field with its unit: the name in the string table and the result's member.
const kConvertFields = [['edMm', 2201, 'mm'], ['edCm', 2202, 'cm'], ['edIn', 2204, 'in']];

function convertFrom(id, unitId) {
  const core = page.core;
  const r = core.convertLength($(id).value, core.loadStr(unitId), page.sepCode);
  for (const [other, , member] of kConvertFields) {
    if (other !== id)
      $(other).value = r ? core.generalNumberText(r[member], page.sepCode) : '';
  }
}

function installConvert() {
  const dialog = $('dlgConvert');
  $('btConvert').addEventListener('click', () => {
    if (!dialog.open)
      dialog.show();
    $('edMm').focus();
  });
  for (const [id, unitId] of kConvertFields)
    $(id).addEventListener('input', () => convertFrom(id, unitId));
}

// About: the version of the film database in use.
export function setFilmDatabaseVersion(version) {
  $('lbFilmDBVersion').textContent = version ? page.core.loadStr(1816) + ' ' + version
    : page.core.loadStr(1817);
}

export function installDialogs() {
  installOptions();
  installConvert();
  $('btAbout').addEventListener('click', () => $('dlgAbout').showModal());
}
