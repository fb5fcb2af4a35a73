// SPDX-License-Identifier: GPL-3.0-or-later
// node web_show_bench.js CHROMIUM PAGE.html PROFILE_DIR SIZE REPEATS
// Times the page's WebAssembly core per catalogue entry at SIZE (unpaced passes over two composed
// slides), the time from opening the page to its first slide (with a key press at once), and the
// share of screen refreshes that brought a new frame in a paced wipe. Prints JSON.
"use strict";
const path = require("path");
const { DevtoolsPipe, PageUrl, Sleep } = require(path.join(__dirname, "../tests/web/devtools_pipe.js"));

const [chromium, pagePath, profile, size, repeats] = process.argv.slice(2);
const [width, height] = size.split("x").map(Number);
const page = new DevtoolsPipe(chromium, profile, PageUrl(pagePath));

async function Main() {
  const opened = Date.now();
  await page.Open("#test");
  await page.Until("typeof lumettaTest === 'object'", "the test hook");
  await page.Key("Enter", "Enter", 13);
  await page.Until("lumettaTest.state().firstSlideAt !== null", "the first slide");
  const t = await page.Evaluate("lumettaTest.state()");
  const navigation = await page.Evaluate("performance.timing.navigationStart");
  // Ready counts from the page's navigation; the slide from the key press, which came at once.
  const firstSlideMs = t.readyAt + (t.firstSlideAt - t.startAt);
  await page.Until("!lumettaTest.state().busy", "the first transition");
  await page.Key("Escape", "Escape", 27);
  await Sleep(100);
  // A wipe of 1700 ms at the window's size.
  const pace = await page.Evaluate("lumettaTest.pacedEffect(11)");
  const effects = [];
  const count = await page.Evaluate("JSON.parse(document.getElementById('show').textContent).effects.length");
  for (let effect = 0; effect < count; ++effect)
    effects.push(await page.Evaluate(`lumettaTest.benchEffect(${effect}, ${width}, ${height}, ${repeats})`));
  console.log(JSON.stringify({ readyMs: t.readyAt, firstSlideMs, pace, effects, errors: page.errors,
    wallMs: Date.now() - opened, navigation }));
}

Main().then(() => {
  page.Close();
  process.exit(0);
}, (error) => {
  console.error(String(error));
  page.Close();
  process.exit(1);
});
