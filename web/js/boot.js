// SPDX-License-Identifier: GPL-3.0-or-later
// Runs as soon as it has loaded, while the page's other scripts still load: the core's
// WebAssembly is compiled, and the browser's number formats (slow to load the first time) give
// the decimal separator of its language. main.js takes both from here.
window.lumidraCompiledCore = WebAssembly.compileStreaming(fetch('lumidra-core.wasm'));
// A failure here is no failure of the page: the core then loads the usual way.
window.lumidraCompiledCore.catch(() => {});

try {
  const decimal = new Intl.NumberFormat(navigator.language).formatToParts(1.5)
    .find((part) => part.type === 'decimal');
  window.lumidraDecimalSeparator = decimal && decimal.value === ',' ? ',' : '.';
} catch {
  // main.js asks again.
}
