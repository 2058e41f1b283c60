// The site in Debian's headless chromium (run by site_test.sh): demos played through the page
// match (one on the stage file the site ships, chosen with ?stages=), bad demos and unknown stage
// files are refused with one line, the page's picture is hopla-sim's, a held arrow takes the ball out of the title room in
// a game the page records, whose demo then plays back headless with every check matching, and
// a setting changed in the menu survives a reload. Prints the page's tick timing.
//
//   node site_test.js BASE_URL WORK_DIR HOPLA_SIM
"use strict";
const { chromium } = require("playwright-core");
const { execFileSync } = require("child_process");
const fs = require("fs");
const path = require("path");

const [base, work, sim] = process.argv.slice(2);
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}

async function open(page, query) {
  await page.goto(`${base}/site/index.html${query}`);
  await page.click("#start");
}

async function ended(page, seconds) {
  await page.waitForFunction(() => window.hoplaEnded !== undefined, null,
                             { timeout: seconds * 1000 });
}

async function savePicture(page, selector, file) {
  const url = await page.evaluate((s) => document.querySelector(s).toDataURL("image/png"), selector);
  fs.writeFileSync(file, Buffer.from(url.split(",")[1], "base64"));
}

async function main() {
  const context = await chromium.launchPersistentContext(path.join(work, "profile"), {
    executablePath: "/usr/bin/chromium",
    headless: true,
    viewport: { width: 1280, height: 720 },
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const page = context.pages()[0] || (await context.newPage());
  page.on("pageerror", (e) => console.log(`page error: ${e.message}`));

  // Demos through ?play=, each to its end with every check matching: a stage cleared, the pace
  // changed with the mouse, where the game waits for its sound (a held clock here), and a stage
  // of the shipped stage file first-steps.
  for (const [name, stages] of [["stage-19.demo", ""], ["speed-faster.demo", ""],
                                ["first-steps-stage-03.demo", "stages=first-steps&"]]) {
    const checks = fs.readFileSync(path.join(work, "demos", name), "utf8")
                     .split("\n").filter((l) => / check /.test(l)).length;
    await open(page, `?${stages}play=/site-test/demos/${name}`);
    await ended(page, 90);
    const result = await page.textContent("#result");
    check(result === `ok ${checks} checks`, `${name} in the page: ${result}`);
    const timing = await page.evaluate(() => window.hoplaTiming);
    console.log(`     tick lateness over ${timing.ticks} ticks: median ${timing.p50.toFixed(2)} ms, ` +
                `p99 ${timing.p99.toFixed(2)} ms, largest ${timing.max.toFixed(2)} ms`);
  }

  // Refused with one line where the outcome would be: a file that is no demo, by the game
  // (status 2); a stage file the site does not ship, by the page, which then never starts the
  // game. A demo of a shipped stage file played without ?stages finds it by name and hash.
  fs.writeFileSync(path.join(work, "demos", "bad.demo"), "not a demo\n");
  for (const [query, line, status] of [
    ["play=/site-test/demos/bad.demo", /bad\.demo/, 2],
    ["play=/site-test/demos/first-steps-stage-03.demo", /^ok 2 checks$/, 0],
    ["stages=../first-steps&play=/site-test/demos/first-steps-stage-03.demo",
     /^no stage file "\.\.\/first-steps" on this site: \?stages= takes first-steps$/, "none"],
  ]) {
    await open(page, `?${query}`);
    await page.waitForFunction(() => document.getElementById("result").textContent !== "", null,
                               { timeout: 60000 });
    if (status !== "none") await ended(page, 60);
    const refused = await page.textContent("#result");
    const outcome = await page.evaluate(() => window.hoplaEnded !== undefined ? window.hoplaEnded :
      document.querySelector("script[src='hopla.js']") ? "started" : "none");
    check(line.test(refused) && outcome === status, `?${query} ends so (${outcome}): ${refused}`);
  }

  // The page's last picture of a demo against hopla-sim's picture at the same point.
  for (const at of [1500, 5000]) {
    await open(page, `?play=/site-test/demos/shot-${at}.demo`);
    await ended(page, 60);
    await savePicture(page, "#last", path.join(work, `page-shot-${at}.png`));
    const differing = await page.evaluate(async (at) => {
      const image = new Image();
      image.src = `/site-test/sim-shot-${at}.png`;
      await image.decode();
      const sim = document.createElement("canvas");
      sim.width = image.width;
      sim.height = image.height;
      sim.getContext("2d").drawImage(image, 0, 0);
      const last = document.getElementById("last");
      if (last.width !== sim.width || last.height !== sim.height) return -1;
      const a = last.getContext("2d").getImageData(0, 0, last.width, last.height).data;
      const b = sim.getContext("2d").getImageData(0, 0, sim.width, sim.height).data;
      let count = 0;
      for (let i = 0; i < a.length; i += 4)
        if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) count++;
      return count;
    }, at);
    check(differing === 0,
          `the page's picture at ${at} ms is hopla-sim's shot (${differing} pixels differ)`);
  }

  // A game recorded in the page: the right arrow held in the title room takes the ball out to
  // stage 0; the recording, up to that stage change, plays back headless.
  await open(page, "?record=1");
  await page.waitForTimeout(11000);
  await page.keyboard.down("ArrowRight");
  let recorded = "";
  for (let i = 0; i < 100 && !/ check stage=0 /.test(recorded); i++) {
    await page.waitForTimeout(200);
    recorded = await page.evaluate(() =>
      Module.FS.readFile("/demos/recorded.demo", { encoding: "utf8" }));
  }
  await page.keyboard.up("ArrowRight");
  await page.screenshot({ path: path.join(work, "page-stage0.png") });
  check(/ check stage=0 /.test(recorded), "the held right arrow took the ball out of the title room");
  const cut = path.join(work, "recorded-cut.demo");
  fs.writeFileSync(cut, recorded);
  const kept = execFileSync(sim, ["--salvage", cut]);
  fs.writeFileSync(path.join(work, "recorded.demo"), kept);
  let played = true;
  try {
    execFileSync(sim, ["--play", path.join(work, "recorded.demo")], { stdio: "ignore" });
  } catch (e) {
    played = false;
  }
  check(played, "the demo recorded in the page plays back in hopla-sim with every check matching");

  // A setting changed in the menu (Esc, down to Volume, a tenth softer) is kept by the browser
  // across a reload.
  const settings = () => page.evaluate(() => {
    try {
      return Module.FS.readFile("/kept/settings/settings.ini", { encoding: "utf8" });
    } catch (e) {
      return "";
    }
  });
  await open(page, "");
  await page.waitForTimeout(3000);
  for (const key of ["Escape", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowLeft", "Escape"]) {
    await page.keyboard.press(key);
    await page.waitForTimeout(150);
  }
  await page.waitForTimeout(500);
  const written = await settings();
  await open(page, "");
  await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: 30000 });
  const reread = await settings();
  check(/volume = 90/.test(written) && reread === written,
        `the settings survive a reload: ${JSON.stringify(reread)}`);

  await context.close();
  if (failures) {
    console.log(`${failures} of the site's checks failed`);
    process.exit(1);
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
