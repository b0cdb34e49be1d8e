// SPDX-License-Identifier: GPL-3.0-or-later
// Start of the page: the core is loaded, every calculator is wired to it, the film database is
// fetched, and the service worker keeps the site for use offline.
import createCore from '../lumidra-core.js';
import { installAngleTab } from './angle.js';
import { installConstantDialog } from './constants.js';
import { installDialogs, setFilmDatabaseVersion } from './dialogs.js';
import { installExposureTab, refreshFilmList, setFilms } from './exposure.js';
import { installFilms, loadOwnFilms } from './films.js';
import { installMagnificationTab } from './magnification.js';
import { $, browserDecimalSeparator, installKeyFilters, page, selectMainUnit, setDecimalSeparator, showMessage } from './page.js';
import { installPinholeTab } from './pinhole.js';
import { installZonePlateTab } from './zoneplate.js';

// The tabs: the arrow keys, Home and End move between them, as in a desktop tab bar.
function installTabs() {
  const tabs = [...document.querySelectorAll('[role="tab"]')];
  const select = (tab) => {
    for (const t of tabs) {
      const selected = t === tab;
      t.setAttribute('aria-selected', String(selected));
      t.tabIndex = selected ? 0 : -1;
      $(t.getAttribute('aria-controls')).hidden = !selected;
    }
    $('lnHelp').href = 'lumi.html#' + tab.dataset.help;
  };
  tabs.forEach((tab, i) => {
    tab.addEventListener('click', () => select(tab));
    tab.addEventListener('keydown', (event) => {
      const target = { ArrowRight: i + 1, ArrowLeft: i - 1, Home: 0, End: tabs.length - 1 }[event.key];
      if (target === undefined)
        return;
      event.preventDefault();
      const next = tabs[(target + tabs.length) % tabs.length];
      select(next);
      next.focus();
    });
  });
  select(tabs[0]);
}

// F1 opens the help at the topic of the dialog or tab in use.
function installHelpKey() {
  const contexts = { dlgOptions: 2100, dlgConvert: 2200, dlgAbout: 1000, dlgConstant: 'customconstant',
    dlgFilms: 2700, dlgFilmEdit: 2700 };
  document.addEventListener('keydown', (event) => {
    if (event.key !== 'F1')
      return;
    event.preventDefault();
    const dialog = event.target.closest?.('dialog');
    const topic = dialog && contexts[dialog.id] ? contexts[dialog.id]
      : document.querySelector('[role="tab"][aria-selected="true"]').dataset.help;
    window.open('lumi.html#' + topic, '_blank', 'noopener');
  });
}

// Said once the shipped films are loaded: a stored file of the user's films that is damaged.
let ownFilmsDamaged = '';

async function loadFilms() {
  let bytes = null;
  try {
    const response = await fetch('films.dat');
    if (response.ok)
      bytes = new Uint8Array(await response.arrayBuffer());
  } catch {
    // Missing: said below, and the times are computed without correction.
  }
  const result = page.core.loadFilmDatabase(bytes);
  setFilms(result);
  setFilmDatabaseVersion(result.status === 'ok' ? result.version : '');
  if (ownFilmsDamaged)
    await showMessage(ownFilmsDamaged);
  document.documentElement.dataset.films = result.status;
}

// The module boot.js began to compile while the scripts loaded; without it, the core's own
// loading.
function instantiateCompiledCore(imports, receive) {
  const compiled = window.lumidraCompiledCore ?? Promise.reject(new Error('not compiled'));
  compiled
    .then((module) => WebAssembly.instantiate(module, imports))
    .catch(() => WebAssembly.instantiateStreaming(fetch('lumidra-core.wasm'), imports)
      .then((result) => result.instance))
    .then((instance) => receive(instance));
  return {};
}

async function start() {
  performance.mark('lumidra-script');
  installTabs();
  try {
    page.core = await createCore({ instantiateWasm: instantiateCompiledCore });
    performance.mark('lumidra-core');
  } catch (error) {
    $('lbNoCore').classList.remove('late');
    throw error;
  }
  setDecimalSeparator(window.lumidraDecimalSeparator ?? browserDecimalSeparator());
  installKeyFilters();
  selectMainUnit();
  installConstantDialog();
  installPinholeTab();
  installExposureTab();
  installAngleTab();
  installMagnificationTab();
  installZonePlateTab();
  installDialogs();
  ownFilmsDamaged = loadOwnFilms();
  installFilms(refreshFilmList);
  installHelpKey();
  // Ready to type: every calculator answers from here on.
  $('lbNoCore').remove();
  performance.mark('lumidra-ready');
  document.documentElement.dataset.ready = 'true';
  await loadFilms();
  // Once the page runs, the service worker keeps its files; asked for earlier, it would
  // fetch them all while the page itself still loads.
  if ('serviceWorker' in navigator)
    navigator.serviceWorker.register('sw.js').catch(() => {});
}

start();
