// SPDX-License-Identifier: GPL-3.0-or-later
// Magnification: how large a subject is rendered on the film.
import { $, page, unitOf } from './page.js';

export function calcMagnification() {
  const r = page.core.magnificationTexts(
    $('edObjectdistance').value, unitOf($('cbUnitsC1')), $('edImageDistance3').value,
    unitOf($('cbUnits6')), $('edObjectSize').value, unitOf($('cbUnitsC2')), unitOf($('cbUnits7')),
    page.prefs.DecNum, page.sepCode);
  $('edMagnification').value = r.magnification;
  $('edSizeOnFilm').value = r.sizeOnFilm;
}

export function installMagnificationTab() {
  for (const id of ['edObjectdistance', 'edImageDistance3', 'edObjectSize'])
    $(id).addEventListener('input', calcMagnification);
  for (const id of ['cbUnitsC1', 'cbUnits6', 'cbUnitsC2', 'cbUnits7'])
    $(id).addEventListener('change', calcMagnification);
  calcMagnification();
}
