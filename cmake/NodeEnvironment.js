// SPDX-License-Identifier: GPL-3.0-or-later
// Programs of the WebAssembly build that run under node (the tests, lumidra-calc, filmfit) see
// the environment of the node process, as a native program sees its own: LUMIDRA_SETTINGS,
// HOME, TMPDIR and the like.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  // ENV is there when the program reads the environment at all.
  if (typeof ENV == 'undefined') return;
  for (var name in process.env) ENV[name] = process.env[name];
});

// Node has a fetch of its own (from node 18 on) that takes no file names; this Emscripten would
// try it on the .wasm file beside the script and fail. Without it the file is read from disk.
var fetch = undefined;
