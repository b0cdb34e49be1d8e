// SPDX-License-Identifier: GPL-3.0-or-later
// The diffraction constant lists of the pinhole tab and the zone plate tab, and the user
// constant dialog. The entries and the constant of an entry come from the core; the list
// remembers the entry to go back to when the user cancels the dialog.
import { $, page, showMessage, storage } from './page.js';

// Each list keeps its own user constant, stored under the desktop's setting names.
const lists = [];
let target = null; // the list the dialog works on

function storedConstant(list) {
  const text = storage.get(list.setting);
  const value = text === null ? NaN : Number(text);
  return Number.isFinite(value) ? value : -1;
}

// Rebuilds a list from the stored constant and selects the Lord Rayleigh entry, or the user
// entry when selectUser is set and there is one.
function fill(list, selectUser) {
  const core = page.core;
  const stored = storedConstant(list);
  const entries = core.constantListEntries(stored, page.sepCode);
  list.select.replaceChildren(...entries.map((text) => {
    const option = new Option(text);
    // The separator cannot be chosen, so the list never rests on it.
    option.disabled = core.isSeparatorEntry(text);
    return option;
  }));
  list.select.selectedIndex = core.constantListSelection(stored, selectUser);
}

export function selectedConstant(select) {
  const text = select.options[select.selectedIndex]?.text ?? '';
  return page.core.constantFromEntry(text, page.sepCode) ?? NaN;
}

function openDialog(list) {
  target = list;
  const field = $('edConstant');
  field.value = page.core.userConstantFieldText(storedConstant(list), page.sepCode);
  $('dlgConstant').showModal();
  field.focus();
  field.select();
}

async function accept() {
  const list = target;
  const field = $('edConstant');
  const input = page.core.parseUserConstant(field.value, page.sepCode);
  if (!input.store) {
    await showMessage(input.message);
    field.focus();
    field.select();
    return;
  }
  storage.set(list.setting, input.value);
  if (input.value > 0) {
    fill(list, true);
    list.remembered = list.select.selectedIndex;
  } else {
    list.remembered = 1;
    fill(list, false);
  }
  target = null;
  $('dlgConstant').close('ok');
  list.accepted(input.value);
}

// Cancel, Escape and the close button put the list back on the entry it showed before.
function cancelled() {
  if (target) {
    target.select.selectedIndex = target.remembered;
    target = null;
  }
}

// select: the list; setting: where its user constant is kept; picked(): the work after a
// numeric entry is chosen; accepted(value): the work after OK in the dialog.
export function installConstantList(select, setting, picked, accepted) {
  const list = { select, setting, picked, accepted, remembered: 0 };
  lists.push(list);
  fill(list, false);
  select.addEventListener('focus', () => {
    list.remembered = select.selectedIndex;
  });
  select.addEventListener('change', () => {
    const text = select.options[select.selectedIndex]?.text ?? '';
    if (page.core.isActionEntry(text)) {
      openDialog(list);
      return;
    }
    list.remembered = select.selectedIndex;
    picked();
  });
}

export function installConstantDialog() {
  const dialog = $('dlgConstant');
  $('fmConstant').addEventListener('submit', (event) => {
    if (event.submitter?.value === 'ok') {
      event.preventDefault();
      accept();
    }
  });
  dialog.addEventListener('close', cancelled);
}
