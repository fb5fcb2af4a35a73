// SPDX-License-Identifier: GPL-3.0-or-later
// Headless Chromium driven over the DevTools protocol through --remote-debugging-pipe (no port, no
// network): open a page, evaluate in it, send input; console errors and requests that leave the
// page are collected.
"use strict";
const { spawn } = require("child_process");
const path = require("path");

const Sleep = (ms) => new Promise((r) => setTimeout(r, ms));

class DevtoolsPipe {
  // Starts CHROMIUM with its profile in PROFILE_DIR; PAGE_URL is the one file the page may load.
  constructor(chromium, profileDir, pageUrl) {
    this.pageUrl = pageUrl;
    this.errors = [];
    this.requests = [];
    this.nextId = 1;
    this.waiting = new Map();
    this.browser = spawn(chromium, ["--headless", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
      "--no-first-run", "--user-data-dir=" + profileDir, "--window-size=640,400", "about:blank"],
      { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
    let buffered = "";
    this.browser.stdio[4].on("data", (chunk) => {
      buffered += chunk.toString("utf8");
      let end;
      while ((end = buffered.indexOf("\0")) >= 0) {
        this.Receive(JSON.parse(buffered.slice(0, end)));
        buffered = buffered.slice(end + 1);
      }
    });
  }

  Receive(message) {
    if (message.id && this.waiting.has(message.id)) {
      const { resolve, reject } = this.waiting.get(message.id);
      this.waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
      return;
    }
    const p = message.params || {};
    if (message.method === "Runtime.exceptionThrown")
      this.errors.push(p.exceptionDetails.exception?.description || p.exceptionDetails.text);
    if (message.method === "Runtime.consoleAPICalled" && (p.type === "error" || p.type === "assert"))
      this.errors.push(p.args.map((a) => a.value ?? a.description).join(" "));
    if (message.method === "Log.entryAdded" && p.entry.level === "error") this.errors.push(p.entry.text);
    if (message.method === "Network.requestWillBeSent") {
      const url = p.request.url;
      if (!url.startsWith("data:") && !url.startsWith("blob:") && url.split("#")[0] !== this.pageUrl)
        this.requests.push(url);
    }
  }

  Send(method, params = {}, sessionId = this.session) {
    const id = this.nextId++;
    this.browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject }));
  }

  // Opens the page with HASH in the window the browser opened at start: it draws, so animation
  // frames come.
  async Open(hash) {
    let target;
    for (let i = 0; i < 200 && !target; ++i) {
      target = (await this.Send("Target.getTargets", {}, undefined)).targetInfos.find((t) => t.type === "page");
      if (!target) await Sleep(25);
    }
    this.session = (await this.Send("Target.attachToTarget", { targetId: target.targetId, flatten: true }, undefined))
      .sessionId;
    for (const domain of ["Runtime", "Log", "Network", "Page"]) await this.Send(domain + ".enable");
    await this.Send("Page.bringToFront");
    await this.Send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 1 });
    await this.Send("Page.navigate", { url: this.pageUrl + hash });
  }

  async Evaluate(expression) {
    const result = await this.Send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(expression + ": " + JSON.stringify(result.exceptionDetails));
    return result.result.value;
  }

  async Until(expression, what) {
    for (let i = 0; i < 400; ++i) {
      if (await this.Evaluate(expression)) return;
      await Sleep(25);
    }
    throw new Error("timed out waiting for " + what);
  }

  async Key(key, code, keyCode) {
    for (const type of ["rawKeyDown", "keyUp"])
      await this.Send("Input.dispatchKeyEvent", { type, key, code, windowsVirtualKeyCode: keyCode });
  }

  async Swipe(fromX, toX) {
    const y = 200;
    for (const [type, x] of [["touchStart", fromX], ["touchMove", (fromX + toX) / 2], ["touchMove", toX]])
      await this.Send("Input.dispatchTouchEvent", { type, touchPoints: [{ x, y }] });
    await this.Send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  }

  Close() {
    this.browser.kill();
  }
}

// The file: address of PAGE.
function PageUrl(page) {
  return "file://" + path.resolve(page);
}

module.exports = { DevtoolsPipe, PageUrl, Sleep };
