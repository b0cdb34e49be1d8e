#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the web page in headless chromium: load to ready-to-type, and one keystroke.

Ready to type is the moment the page has started its core and wired every calculator (its
performance mark "lumidra-ready"), counted from the start of the navigation, with a new browser
profile each time (nothing cached): loaded from the local files of build/web/site (made by
cmake --workflow --preset web; chromium run with --allow-file-access-from-files, without which
a browser refuses a page's scripts from files), and for comparison served from this machine by
Python's http.server, on a first visit and on a later one (the service worker serves the
files). A keystroke is what the page does for one typed digit: the key filter of the field,
then the recalculation of the results that follow it, timed inside the page for a field of
each tab. Prints the medians and checks them against 300 ms (from local files) and 1 ms. Exit
status 0 when both targets are met, 1 otherwise.
"""

import argparse
import os
import statistics
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "web"))
from browser import Browser, Server, browser_missing, wait_for  # noqa: E402

READY_LIMIT_MS = 300.0
KEYSTROKE_LIMIT_MS = 1.0

# A field of each tab with the inputs that make its keystroke do the whole recalculation.
KEYSTROKES = [
    ("pinhole focal length", "tab1", {"edPinholeDiameter1": "0.3"}, "edImageDistance1", "50"),
    ("exposure f number", "tab5", {}, "edFnumber5", "250"),
    ("angle focal length", "tab2", {"edFormatA": "24", "edFormatB": "36"}, "edImageDistance2", "50"),
    ("magnification size", "tab3", {"edObjectdistance": "2000", "edImageDistance3": "50"},
     "edObjectSize", "1800"),
    ("zone plate zones", "tab4", {"edImageDistance4": "150"}, "edNumZones", "15"),
]

# Types text into field digit by digit as the browser does (the cancellable beforeinput that
# the key filter judges, then the input event that recalculates). The page's clock counts in
# steps of 0.1 ms, so the keystrokes are timed in batches of ten rounds: gives the mean time of
# one keystroke in each batch, in milliseconds.
TYPE_AND_TIME = """
const [id, text, rounds] = arguments;
const field = document.getElementById(id);
const batches = [];
for (let b = 0; b < rounds / 10; ++b) {
  const start = performance.now();
  for (let r = 0; r < 10; ++r) {
    field.value = '';
    for (const ch of text) {
      const before = new InputEvent('beforeinput', {inputType: 'insertText', data: ch,
                                                    cancelable: true, bubbles: true});
      if (field.dispatchEvent(before)) {
        field.value += ch;
        field.dispatchEvent(new InputEvent('input', {inputType: 'insertText', data: ch,
                                                     bubbles: true}));
      }
    }
  }
  batches.push((performance.now() - start) / (10 * text.length));
}
return batches;
"""

READY = "return performance.getEntriesByName('lumidra-ready')[0]?.startTime ?? null"
# The stages on the way: the page parsed, its script started, the core started.
STAGES = """
const mark = (name) => performance.getEntriesByName(name)[0].startTime;
return [performance.getEntriesByType('navigation')[0].domInteractive, mark('lumidra-script'),
        mark('lumidra-core')];
"""


def ready_time(driver, url, stages=None):
    driver.get(url)
    ready = wait_for(lambda: driver.execute_script(READY))
    if stages is not None:
        stages.append(driver.execute_script(STAGES))
    return ready


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", default=str(ROOT / "build" / "web" / "site"))
    parser.add_argument("-n", "--runs", type=int, default=11, help="loads of each kind")
    parser.add_argument("--rounds", type=int, default=200, help="times each field is typed")
    args = parser.parse_args()
    missing = browser_missing()
    if missing:
        sys.exit(missing)
    if not (Path(args.site) / "index.html").exists():
        sys.exit("the site is not built: cmake --workflow --preset web")

    files, first, later, stages = [], [], [], []
    index = (Path(args.site).resolve() / "index.html").as_uri()
    for _ in range(args.runs):
        browser = Browser(flags=["--allow-file-access-from-files"])
        try:
            files.append(ready_time(browser.driver, index, stages))
        finally:
            browser.quit()

    server = Server(args.site)
    for _ in range(args.runs):
        browser = Browser()
        try:
            first.append(ready_time(browser.driver, server.url))
        finally:
            browser.quit()

    browser = Browser()
    d = browser.driver
    try:
        ready_time(d, server.url)
        wait_for(lambda: d.execute_script("return navigator.serviceWorker.controller !== null"),
                 timeout=20)
        for _ in range(args.runs):
            later.append(ready_time(d, server.url))
        wait_for(lambda: d.execute_script("return document.documentElement.dataset.films"))

        keystrokes = {}
        for name, tab, inputs, field, text in KEYSTROKES:
            d.find_element("id", tab).click()
            for other, value in inputs.items():
                d.find_element("id", other).send_keys(value)
            keystrokes[name] = d.execute_script(TYPE_AND_TIME, field, text, args.rounds)
            if d.execute_script("return document.getElementById(arguments[0]).value", field) != text:
                sys.exit(f"{name}: the field did not take the typed text")
    finally:
        browser.quit()
        server.stop()

    print(f"{'ready to type':34} {'median':>10} {'max':>10}")
    for label, times in (("from local files", files), ("served, first visit", first),
                         ("served, later visit", later)):
        print(f"  {label:32} {statistics.median(times):8.1f} ms {max(times):7.1f} ms")
    ok = statistics.median(files) <= READY_LIMIT_MS
    parsed, script, core = (statistics.median(column) for column in zip(*stages))
    print(f"  (from local files: page parsed {parsed:.0f} ms, script started {script:.0f} ms, "
          f"core started {core:.0f} ms)")
    print(f"\n{'keystroke (filter and recalculation)':34} {'median':>10} {'max':>10}")
    for name, times in keystrokes.items():
        median = statistics.median(times)
        ok = ok and median <= KEYSTROKE_LIMIT_MS
        print(f"  {name:32} {median:8.3f} ms {max(times):7.3f} ms")
    load = os.getloadavg()
    print(f"\nload average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}; "
          f"{args.runs} loads of each kind, {args.rounds} rounds of typing; targets "
          f"{READY_LIMIT_MS:.0f} ms and {KEYSTROKE_LIMIT_MS:.0f} ms (medians): "
          + ("met" if ok else "NOT MET"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
