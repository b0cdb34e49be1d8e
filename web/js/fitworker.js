// SPDX-License-Identifier: GPL-3.0-or-later
// Fits the formula of a film the user types, with a core of its own, so that the page goes on
// answering keys while a fit runs (a tenth of a second to a second).
import createCore from '../lumidra-core.js';

const core = createCore();

self.addEventListener('message', async (event) => {
  const { key, input, sep } = event.data;
  self.postMessage({ key, fit: (await core).fitFilm(input, sep) });
});
