// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a web show in headless Chromium: node drive_page.js CHROMIUM PAGE.html OUT_DIR
// Opens the page from disk with its test hook, writes for every catalogue entry the two composed
// slides and three frames as PNG files, the slide rectangles at three screen sizes, what keys, a
// tap and swipes did, a screenshot, and every console error and outside request, into OUT_DIR.
"use strict";
const fs = require("fs");
const path = require("path");
const { DevtoolsPipe, PageUrl } = require("./devtools_pipe.js");

const [chromium, pagePath, outDir] = process.argv.slice(2);
fs.mkdirSync(outDir, { recursive: true });
const page = new DevtoolsPipe(chromium, path.join(outDir, "profile"), PageUrl(pagePath));

function WritePng(name, dataUrl) {
  fs.writeFileSync(path.join(outDir, name), Buffer.from(dataUrl.split(",")[1], "base64"));
}

async function Shown() {
  await page.Until("!lumettaTest.state().busy && lumettaTest.state().pending === 0", "the step to end");
  return page.Evaluate("lumettaTest.state().shown");
}

async function Main() {
  await page.Open("#test");
  await page.Until("typeof lumettaTest === 'object'", "the test hook");

  const seed = Number(process.env.LUMETTA_WEB_SEED || 4242);
  const [width, height] = (process.env.LUMETTA_WEB_SIZE || "160x90").split("x").map(Number);
  const effects = await page.Evaluate("JSON.parse(document.getElementById('show').textContent).effects.length");
  const passes = [];
  for (let effect = 0; effect < effects; ++effect) {
    await page.Evaluate(`lumettaTest.fixSeed(${seed})`);
    const probe = await page.Evaluate(`lumettaTest.effectFrames(${effect}, 0, 1, ${width}, ${height}, [])`);
    const count = probe.frameCount;
    const points = count > 1 ? [...new Set([1, Math.floor(count / 2), count - 1])] : [];
    await page.Evaluate(`lumettaTest.fixSeed(${seed})`);
    const pass = await page.Evaluate(
      `lumettaTest.effectFrames(${effect}, 0, 1, ${width}, ${height}, ${JSON.stringify(points)})`);
    WritePng(`effect-${effect}-from.png`, pass.from);
    WritePng(`effect-${effect}-to.png`, pass.to);
    for (const [frame, png] of Object.entries(pass.frames))
      WritePng(`effect-${effect}-frame-${String(frame).padStart(5, "0")}.png`, png);
    passes.push({ effect, frameCount: count, frames: points });
  }

  const layouts = [];
  for (const [sw, sh] of [[1920, 1080], [1280, 800], [390, 844]])
    for (const [pw, ph] of [[4000, 3000], [1080, 1920], [300, 200], [2560, 1080]])
      layouts.push({ screen: [sw, sh], picture: [pw, ph],
        place: await page.Evaluate(`lumettaTest.placeSlide(${pw}, ${ph}, ${sw}, ${sh})`) });

  // Keys and touches step the show as the player's keys do.
  const steps = [];
  await page.Key("Enter", "Enter", 13);
  await page.Until("lumettaTest.state().running", "the show to start");
  steps.push(["start", await Shown()]);
  for (const [key, code, keyCode] of [["ArrowRight", "ArrowRight", 39], ["ArrowLeft", "ArrowLeft", 37],
    ["Enter", "Enter", 13], ["Backspace", "Backspace", 8]]) {
    await page.Key(key, code, keyCode);
    steps.push([key.replace("Arrow", ""), await Shown()]);
  }
  await page.Swipe(500, 200);
  steps.push(["swipe left", await Shown()]);
  await page.Swipe(200, 500);
  steps.push(["swipe right", await Shown()]);
  await page.Swipe(300, 302);
  steps.push(["tap", await Shown()]);
  // A phone turned upright: the slide is composed again at the new size.
  await page.Send("Emulation.setDeviceMetricsOverride", { width: 390, height: 844, deviceScaleFactor: 1, mobile: true });
  await page.Until("document.getElementById('stage').height === 844", "the page to follow the new size");
  steps.push(["resize", await Shown()]);
  await page.Key("Control", "ControlLeft", 17);
  steps.push(["Ctrl", await page.Evaluate("lumettaTest.state().paused")]);
  const shot = await page.Send("Page.captureScreenshot", { format: "png" });
  fs.writeFileSync(path.join(outDir, "screenshot.png"), Buffer.from(shot.data, "base64"));
  await page.Key("Escape", "Escape", 27);
  steps.push(["Escape", await page.Evaluate("lumettaTest.state().running")]);

  fs.writeFileSync(path.join(outDir, "result.json"), JSON.stringify(
    { seed, width, height, passes, layouts, steps, errors: page.errors, requests: page.requests }, null, 1));
}

Main().then(() => {
  page.Close();
  process.exit(0);
}, (error) => {
  console.error(String(error));
  fs.writeFileSync(path.join(outDir, "failure.txt"), String(error) + "\nconsole errors: " + JSON.stringify(page.errors));
  page.Close();
  process.exit(1);
});
