// SPDX-License-Identifier: GPL-3.0-or-later
// What every part of the page shares: the core, the decimal separator of the browser's
// language, the preferences kept in the browser, the key filters of the numeric fields, message
// boxes and downloads. Numbers are never worked out here: they come from the core.

export const $ = (id) => document.getElementById(id);

// The decimal separator of the browser's language, as the desktop takes the locale's.
export function browserDecimalSeparator(language = navigator.language) {
  try {
    const part = new Intl.NumberFormat(language).formatToParts(1.5).find((p) => p.type === 'decimal');
    return part && part.value === ',' ? ',' : '.';
  } catch {
    return '.';
  }
}

// The browser's storage, where the desktop has its settings store. A browser that keeps
// nothing (private windows may refuse) still runs the page with the defaults.
export const storage = {
  get(name) {
    try {
      return window.localStorage.getItem('lumidra.' + name);
    } catch {
      return null;
    }
  },
  set(name, value) {
    try {
      this.setStrict(name, value);
    } catch {
      // Kept for this visit only.
    }
  },
  // Throws when the browser refuses to keep the value (its storage full or switched off).
  setStrict(name, value) {
    window.localStorage.setItem('lumidra.' + name, String(value));
  },
  // Puts back a value read before: null removes it.
  restore(name, value) {
    try {
      if (value === null)
        window.localStorage.removeItem('lumidra.' + name);
      else
        window.localStorage.setItem('lumidra.' + name, value);
    } catch {
      // Nothing more can be done.
    }
  },
};

// The four preferences with their defaults; a stored value out of range counts as missing.
const kPreferences = {
  DecNum: { initial: 3, min: 0, max: 10 },
  MainUnit: { initial: 0, min: 0, max: 1 },
  AngleUnit: { initial: 0, min: 0, max: 1 },
  ExpTimeFormat: { initial: 1, min: 0, max: 1 },
};

export function loadPreferences() {
  const prefs = {};
  for (const [name, p] of Object.entries(kPreferences)) {
    const stored = storage.get(name);
    const value = stored !== null && /^\d+$/.test(stored) ? Number(stored) : NaN;
    prefs[name] = value >= p.min && value <= p.max ? value : p.initial;
  }
  return prefs;
}

// The page's shared state, filled by main.js at start.
export const page = {
  core: null,
  sep: '.',
  sepCode: 46,
  prefs: loadPreferences(),
};

export function setDecimalSeparator(sep) {
  page.sep = sep;
  page.sepCode = sep.charCodeAt(0);
}

// A numeric field lets through only what the core's key filter lets through, for typed
// characters and pasted text alike; a paste that is accepted goes in stripped of blanks.
export function installKeyFilter(input) {
  const decimal = input.classList.contains('decimal');
  input.addEventListener('beforeinput', (event) => {
    const core = page.core;
    if (!core)
      return;
    const value = input.value;
    const start = input.selectionStart ?? value.length;
    const end = input.selectionEnd ?? value.length;
    const outside = value.slice(0, start) + value.slice(end);
    if (event.inputType === 'insertFromPaste' || event.inputType === 'insertFromDrop') {
      const data = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
      const r = core.filterKey(decimal, 22, value, outside, data, page.sepCode);
      event.preventDefault();
      if (r.key !== 0 && r.clipboard !== '') {
        input.setRangeText(r.clipboard, start, end, 'end');
        input.dispatchEvent(new Event('input', { bubbles: true }));
      }
      return;
    }
    if (!event.inputType.startsWith('insert') || event.data === null)
      return;
    // Typing judges each character against the whole text, as the desktop's fields do.
    let text = value;
    for (const ch of event.data) {
      const r = core.filterKey(decimal, ch.codePointAt(0), text, outside, '', page.sepCode);
      if (r.key === 0) {
        event.preventDefault();
        return;
      }
      text += ch;
    }
  });
}

export function installKeyFilters(root = document) {
  for (const input of root.querySelectorAll('input.decimal, input.integer'))
    installKeyFilter(input);
}

// A plain message box with an OK button; resolves when it is closed.
export function showMessage(text) {
  const dialog = $('dlgMessage');
  $('lbMessage').textContent = text;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(), { once: true });
    dialog.showModal();
  });
}

// The bytes offered to the browser as a download under name.
export function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

export function fillSelect(select, entries, selected) {
  select.replaceChildren(...entries.map((text) => new Option(text)));
  if (selected !== undefined)
    select.selectedIndex = selected;
}

// The unit lists of the main window follow the main length unit: "mm" or "in". Gives the
// lists whose unit changed.
export function selectMainUnit(root = document) {
  const unit = page.prefs.MainUnit === 1 ? page.core.loadStr(2204) : page.core.loadStr(2201);
  const changed = [];
  for (const select of root.querySelectorAll('select.units.main')) {
    const index = [...select.options].findIndex((o) => o.text === unit);
    if (index >= 0 && index !== select.selectedIndex) {
      select.selectedIndex = index;
      changed.push(select);
    }
  }
  return changed;
}

export function unitOf(select) {
  return select.options[select.selectedIndex]?.text ?? '';
}
