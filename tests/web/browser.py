# SPDX-License-Identifier: GPL-3.0-or-later
"""The web page's site served on this machine and a headless chromium to look at it, for the
browser tests (test_page.py) and the page's benchmark (bench/web.py)."""

import functools
import http.server
import os
import shutil
import tempfile
import threading
import time

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


class Server:
    """The site served on a free port of this machine, as python3 -m http.server serves it."""

    def __init__(self, site):
        handler = functools.partial(Quiet, directory=site)
        self.httpd = QuietServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class QuietServer(http.server.ThreadingHTTPServer):
    # A browser that closes a connection early (a page left before it loaded) is no fault.
    def handle_error(self, request, client_address):
        pass


class Browser:
    """Headless chromium with an empty profile of its own, in one language."""

    def __init__(self, language="en-US", downloads=None, flags=()):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        self.profile = tempfile.mkdtemp(prefix="lumidra-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + self.profile, "--accept-lang=" + language,
                     "--window-size=1200,900", *flags]:
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        if downloads:
            self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                        {"behavior": "allow", "downloadPath": downloads})

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


def wait_for(condition, timeout=10, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    raise AssertionError("timed out waiting")


def browser_missing():
    """Why no browser can be driven here, or None."""
    try:
        import selenium  # noqa: F401
    except ImportError:
        return "python3-selenium is not installed"
    if not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
        return "chromium and chromium-driver are not installed"
    return None
