// SPDX-License-Identifier: GPL-3.0-or-later
// Pinhole diameter and focal length: every result follows its inputs as they are typed.
import { installConstantList, selectedConstant } from './constants.js';
import { $, page, unitOf } from './page.js';
import { resetZonePlateTab } from './zoneplate.js';

function constant() {
  return selectedConstant($('cbConstant1'));
}

export function calcOptimalDiameter() {
  $('edOptimalDiameter1').value = page.core.optimalDiameterText(
    $('edImageDistance1').value, unitOf($('cbUnits2')), $('edWave1').value, constant(),
    unitOf($('cbUnits4')), page.prefs.DecNum, page.sepCode);
}

export function calcOptimalFocalLength() {
  $('edOptimalDistance1').value = page.core.optimalFocalLengthText(
    $('edPinholeDiameter1').value, unitOf($('cbUnits1')), $('edWave1').value, constant(),
    unitOf($('cbUnits3')), page.prefs.DecNum, page.sepCode);
}

export function calcFNumber() {
  $('edFnumber1').value = page.core.fNumberText(
    $('edPinholeDiameter1').value, unitOf($('cbUnits1')), $('edImageDistance1').value,
    unitOf($('cbUnits2')), page.sepCode);
}

// From the f number as shown, already a whole number.
export function calcExposureFactor() {
  $('edFnumberFactor1').value = page.core.exposureFactorText($('edFnumber1').value, page.sepCode);
}

export function recalculatePinholeTab() {
  calcOptimalDiameter();
  calcOptimalFocalLength();
  calcFNumber();
  calcExposureFactor();
}

// Which routines each input runs, in this order.
const triggers = [
  ['edPinholeDiameter1', 'input', [calcOptimalFocalLength, calcFNumber, calcExposureFactor]],
  ['cbUnits1', 'change', [calcOptimalFocalLength, calcFNumber, calcExposureFactor]],
  ['edImageDistance1', 'input', [calcOptimalDiameter, calcFNumber, calcExposureFactor]],
  ['cbUnits2', 'change', [calcOptimalDiameter, calcFNumber, calcExposureFactor]],
  ['edWave1', 'input', [calcOptimalDiameter, calcOptimalFocalLength]],
  ['cbUnits3', 'change', [calcOptimalFocalLength]],
  ['cbUnits4', 'change', [calcOptimalDiameter]],
];

export function installPinholeTab() {
  for (const [id, event, routines] of triggers)
    $(id).addEventListener(event, () => routines.forEach((routine) => routine()));
  installConstantList($('cbConstant1'), 'CustomConstant',
    () => { calcOptimalFocalLength(); calcOptimalDiameter(); },
    (value) => {
      calcOptimalFocalLength();
      calcOptimalDiameter();
      if (value > 0)
        resetZonePlateTab();
    });
  // 550 nm, with the separator of the browser's language.
  $('edWave1').value = '0' + page.sep + '00055';
  recalculatePinholeTab();
}
