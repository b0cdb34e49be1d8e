// SPDX-License-Identifier: GPL-3.0-or-later
// Angle of view: the angle of the film format's diagonal, and the diagram that sets it against
// the angle of a normal lens. The ends of the diagram's lines come from the core.
import { $, page, unitOf } from './page.js';

const kSvg = 'http://www.w3.org/2000/svg';

function line(apexX, apexY, x, y, kind) {
  const l = document.createElementNS(kSvg, 'line');
  l.setAttribute('x1', apexX);
  l.setAttribute('y1', apexY);
  l.setAttribute('x2', x);
  l.setAttribute('y2', y);
  l.setAttribute('class', kind);
  return l;
}

function clearAngleDiagram() {
  $('diagramLines').replaceChildren();
  $('imgEye').setAttribute('visibility', 'hidden');
}

// The normal lens first (white, dotted), the chosen angle over it (navy); half pixels centre
// the one-pixel lines on the pixels the desktop draws.
function drawAngleDiagram(halfAngle) {
  const d = page.core.angleDiagram(halfAngle);
  const lines = [];
  for (const [kind, ends] of [['normal', d.normal], ['chosen', d.chosen]]) {
    for (let i = 0; i < 4; i += 2)
      lines.push(line(d.apexX + 0.5, d.apexY + 0.5, ends[i] + 0.5, ends[i + 1] + 0.5, kind));
  }
  $('diagramLines').replaceChildren(...lines);
  $('imgEye').setAttribute('visibility', 'visible');
}

export function calcAngleOfView() {
  const args = [$('edFormatA').value, $('edFormatB').value, unitOf($('cbUnitsB1')),
    $('edImageDistance2').value, unitOf($('cbUnits5')), page.sepCode];
  const angle = page.core.angleOfView(...args);
  if (!angle) {
    $('edAngle').value = '';
    clearAngleDiagram();
    return;
  }
  $('edAngle').value = page.core.angleText(angle.degrees, page.prefs.AngleUnit, page.prefs.DecNum,
    page.sepCode);
  drawAngleDiagram(angle.halfAngle);
}

export function installAngleTab() {
  for (const id of ['edFormatA', 'edFormatB', 'edImageDistance2'])
    $(id).addEventListener('input', calcAngleOfView);
  for (const id of ['cbUnitsB1', 'cbUnits5'])
    $(id).addEventListener('change', calcAngleOfView);
  calcAngleOfView();
}
