// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a web show in headless Chromium over the DevTools protocol (--remote-debugging-pipe, so
// no port and no network): node drive_page.js CHROMIUM PAGE.html OUT_DIR
// Opens the page from disk with its test hook, writes for every catalogue entry the two composed
// slides and three frames as PNG files, the slide rectangles at three screen sizes, what keys, a
// tap and swipes did, a screenshot, and every console error and outside request, into OUT_DIR.
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const path = require("path");

const [chromium, pagePath, outDir] = process.argv.slice(2);
const pageUrl = "file://" + path.resolve(pagePath);
fs.mkdirSync(outDir, { recursive: true });

const browser = spawn(chromium, ["--headless", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
  "--no-first-run", "--user-data-dir=" + path.join(outDir, "profile"), "--window-size=640,400", "about:blank"],
  { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];
let nextId = 1, buffered = "";
const waiting = new Map();
const errors = [], requests = [];

fromBrowser.on("data", (chunk) => {
  buffered += chunk.toString("utf8");
  let end;
  while ((end = buffered.indexOf("\0")) >= 0) {
    const message = JSON.parse(buffered.slice(0, end));
    buffered = buffered.slice(end + 1);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else {
      Observe(message);
    }
  }
});

function Observe(message) {
  const p = message.params || {};
  if (message.method === "Runtime.exceptionThrown") errors.push(p.exceptionDetails.exception?.description || p.exceptionDetails.text);
  if (message.method === "Runtime.consoleAPICalled" && (p.type === "error" || p.type === "assert"))
    errors.push(p.args.map((a) => a.value ?? a.description).join(" "));
  if (message.method === "Log.entryAdded" && p.entry.level === "error") errors.push(p.entry.text);
  if (message.method === "Network.requestWillBeSent") {
    const url = p.request.url;
    if (!url.startsWith("data:") && !url.startsWith("blob:") && url.split("#")[0] !== pageUrl) requests.push(url);
  }
}

function Send(method, params = {}, sessionId) {
  const id = nextId++;
  toBrowser.write(JSON.stringify({ id, method, params, sessionId }) + "\0");
  return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}

let session;
async function Evaluate(expression) {
  const result = await Send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true }, session);
  if (result.exceptionDetails) throw new Error(expression + ": " + JSON.stringify(result.exceptionDetails));
  return result.result.value;
}
const Sleep = (ms) => new Promise((r) => setTimeout(r, ms));
async function Until(expression, what) {
  for (let i = 0; i < 400; ++i) {
    if (await Evaluate(expression)) return;
    await Sleep(25);
  }
  throw new Error("timed out waiting for " + what + ": " + JSON.stringify(await Evaluate("typeof lumettaTest === \"object\" && lumettaTest.state()")));
}
function WritePng(name, dataUrl) {
  fs.writeFileSync(path.join(outDir, name), Buffer.from(dataUrl.split(",")[1], "base64"));
}

async function Key(key, code, keyCode) {
  for (const type of ["rawKeyDown", "keyUp"])
    await Send("Input.dispatchKeyEvent", { type, key, code, windowsVirtualKeyCode: keyCode }, session);
}
async function Swipe(fromX, toX) {
  const y = 200;
  await Send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: fromX, y }] }, session);
  await Send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [{ x: (fromX + toX) / 2, y }] }, session);
  await Send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [{ x: toX, y }] }, session);
  await Send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] }, session);
}
async function Shown() {
  await Until("!lumettaTest.state().busy && lumettaTest.state().pending === 0", "the step to end");
  return Evaluate("lumettaTest.state().shown");
}

async function Main() {
  // The window the browser opened at start: it draws, so animation frames come.
  let pageTarget;
  for (let i = 0; i < 200 && !pageTarget; ++i) {
    pageTarget = (await Send("Target.getTargets")).targetInfos.find((t) => t.type === "page");
    if (!pageTarget) await Sleep(25);
  }
  const { targetId } = pageTarget;
  ({ sessionId: session } = await Send("Target.attachToTarget", { targetId, flatten: true }));
  for (const domain of ["Runtime", "Log", "Network", "Page"]) await Send(domain + ".enable", {}, session);
  // A page the browser does not show gets no animation frames.
  await Send("Page.bringToFront", {}, session);
  await Send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 1 }, session);
  await Send("Page.navigate", { url: pageUrl + "#test" }, session);
  await Until("typeof lumettaTest === 'object'", "the test hook");

  const seed = Number(process.env.LUMETTA_WEB_SEED || 4242);
  const [width, height] = (process.env.LUMETTA_WEB_SIZE || "160x90").split("x").map(Number);
  const effects = await Evaluate("JSON.parse(document.getElementById('show').textContent).effects.length");
  const passes = [];
  for (let effect = 0; effect < effects; ++effect) {
    await Evaluate(`lumettaTest.fixSeed(${seed})`);
    const probe = await Evaluate(`lumettaTest.effectFrames(${effect}, 0, 1, ${width}, ${height}, [])`);
    const count = probe.frameCount;
    const points = count > 1 ? [...new Set([1, Math.floor(count / 2), count - 1])] : [];
    await Evaluate(`lumettaTest.fixSeed(${seed})`);
    const pass = await Evaluate(`lumettaTest.effectFrames(${effect}, 0, 1, ${width}, ${height}, ${JSON.stringify(points)})`);
    WritePng(`effect-${effect}-from.png`, pass.from);
    WritePng(`effect-${effect}-to.png`, pass.to);
    for (const [frame, png] of Object.entries(pass.frames))
      WritePng(`effect-${effect}-frame-${String(frame).padStart(5, "0")}.png`, png);
    passes.push({ effect, frameCount: count, frames: points });
  }

  const layouts = [];
  for (const [sw, sh] of [[1920, 1080], [1280, 800], [390, 844]])
    for (const [pw, ph] of [[4000, 3000], [1080, 1920], [300, 200], [2560, 1080]])
      layouts.push({ screen: [sw, sh], picture: [pw, ph], place: await Evaluate(`lumettaTest.placeSlide(${pw}, ${ph}, ${sw}, ${sh})`) });

  // Keys and touches step the show as the player's keys do.
  const steps = [];
  await Key("Enter", "Enter", 13);
  await Until("lumettaTest.state().running", "the show to start");
  steps.push(["start", await Shown()]);
  await Key("ArrowRight", "ArrowRight", 39);
  steps.push(["Right", await Shown()]);
  await Key("ArrowLeft", "ArrowLeft", 37);
  steps.push(["Left", await Shown()]);
  await Key("Enter", "Enter", 13);
  steps.push(["Enter", await Shown()]);
  await Key("Backspace", "Backspace", 8);
  steps.push(["Backspace", await Shown()]);
  await Swipe(500, 200);
  steps.push(["swipe left", await Shown()]);
  await Swipe(200, 500);
  steps.push(["swipe right", await Shown()]);
  await Swipe(300, 302);
  steps.push(["tap", await Shown()]);
  await Key("Control", "ControlLeft", 17);
  steps.push(["Ctrl", await Evaluate("lumettaTest.state().paused")]);
  const shot = await Send("Page.captureScreenshot", { format: "png" }, session);
  fs.writeFileSync(path.join(outDir, "screenshot.png"), Buffer.from(shot.data, "base64"));
  await Key("Escape", "Escape", 27);
  steps.push(["Escape", await Evaluate("lumettaTest.state().running")]);

  fs.writeFileSync(path.join(outDir, "result.json"),
    JSON.stringify({ seed, width, height, passes, layouts, steps, errors, requests }, null, 1));
}

Main().then(() => {
  browser.kill();
  process.exit(0);
}, (error) => {
  console.error(String(error));
  fs.writeFileSync(path.join(outDir, "failure.txt"), String(error) + "\nconsole errors: " + JSON.stringify(errors));
  browser.kill();
  process.exit(1);
});
