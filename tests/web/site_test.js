// The site in Debian's headless chromium (run by site_test.sh): demos played through the page
// match (one on the stage file the site ships, chosen with ?stages=), bad demos, demos of other
// sites and unknown stage files are refused with one line, the page's picture is hopla-sim's, a
// held arrow (and on a phone, in portrait and landscape, the held Right control, upright through
// all of stage 0) takes the ball out of the title room in a game the page records, whose demo
// then plays back headless with every check matching, the picture is whole and fitted beside
// the controls (down to 320 px wide) and before and after the whole screen, the sound plays
// through the worklet and survives the page being hidden, a setting changed in the menu survives
// a reload, export and import, the network going off, and a new version of the site replaces
// the old. Prints the page's tick timing.
//
//   node site_test.js BASE_URL WORK_DIR HOPLA_SIM
"use strict";
const { chromium, devices } = require("playwright-core");
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

// Where the picture and the controls are, and whether the picture is whole on screen, 4:3, as
// large as its room allows (centred across it), above the status line and clear of every
// control, each control at least 48 px square.
async function layout(page) {
  return page.evaluate(() => {
    const box = (e) => { const r = e.getBoundingClientRect();
                         return { l: r.left, t: r.top, r: r.right, b: r.bottom }; };
    const stage = box(document.getElementById("stage"));
    const bar = box(document.getElementById("bar"));
    const controls = [...document.querySelectorAll("#pad button")]
      .filter((b) => b.offsetParent !== null)
      .map((b) => ({ label: b.getAttribute("aria-label"), ...box(b) }));
    const apart = (a, b) => a.r <= b.l || b.r <= a.l || a.b <= b.t || b.b <= a.t;
    const w = stage.r - stage.l, h = stage.b - stage.t;
    // The picture's room: between the columns of controls beside it, above the status line
    // and the rows of controls under it.
    const left = Math.max(0, ...controls.filter((c) => c.r <= stage.l).map((c) => c.r));
    const right = Math.min(innerWidth, ...controls.filter((c) => c.l >= stage.r).map((c) => c.l));
    const bottom = Math.min(bar.t, ...controls.filter((c) => c.t >= stage.b).map((c) => c.t));
    const problems = [];
    if (stage.l < 0 || stage.t < 0 || stage.r > innerWidth || stage.b > bar.t)
      problems.push("off screen or under the status line");
    if (Math.abs(w * 3 - h * 4) > 4) problems.push(`not 4:3 (${w} x ${h})`);
    if (Math.abs(stage.l - left - (right - stage.r)) > 1 ||
        (controls.length === 0 && Math.abs(stage.t - (bottom - stage.b)) > 1))
      problems.push("not centred");
    if (right - left - w > 2 && bottom - h > 2) problems.push("smaller than its room");
    for (const c of controls) {
      if (!apart(c, stage)) problems.push(`${c.label} over the picture`);
      if (c.r - c.l < 48 || c.b - c.t < 48) problems.push(`${c.label} under 48 px`);
      if (c.l < 0 || c.t < 0 || c.r > innerWidth || c.b > innerHeight)
        problems.push(`${c.label} off screen`);
    }
    return { stage, labels: controls.map((c) => c.label).sort().join(" "),
             problems: problems.join(", ") };
  });
}

// A game recorded in the page: the ball held right in the title room (by `hold`, which returns
// the release) goes out to stage 0 and, held on to `stage` 1, clears it; the recording, up to
// that stage change, plays back in hopla-sim with every check matching.
async function recordRight(page, hold, what, stage = 0) {
  await page.goto(`${base}/site/index.html?record=1`);
  await page.click("#start");
  await page.waitForTimeout(11000);
  const release = await hold();
  let recorded = "";
  const reached = new RegExp(` check stage=${stage} `);
  for (let i = 0; i < 150 && !reached.test(recorded); i++) {
    await page.waitForTimeout(200);
    recorded = await page.evaluate(() =>
      Module.FS.readFile("/demos/recorded.demo", { encoding: "utf8" }));
  }
  await release();
  check(reached.test(recorded), `${what} took the ball out of the title room` +
        (stage ? ` and through stage ${stage - 1} to stage ${stage}` : ""));
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
  check(played, `the demo recorded by ${what} plays back in hopla-sim with every check matching`);
}

// Phones with a touch screen, in portrait and landscape, down to 320 px wide: the picture whole
// and clear of the controls. On the iPhone 12 a game steered by holding the Right control while
// another finger pauses and plays on (as the touch screen's own events, several fingers at
// once): upright it is held on through all of stage 0 (the held control repeats its key, as a
// held key does) until the game reaches stage 1.
async function phone(browser) {
  const labels = "Back Left Menu Pause Right";
  const small = (width, height) => ({ viewport: { width, height }, deviceScaleFactor: 2,
                                      isMobile: true, hasTouch: true });
  for (const [name, device, stage] of [["iPhone 12", devices["iPhone 12"], 1],
                                       ["iPhone 12 landscape", devices["iPhone 12 landscape"], 0],
                                       ["320 x 568", small(320, 568)],
                                       ["412 x 839", small(412, 839)],
                                       ["839 x 412", small(839, 412)]]) {
    const { defaultBrowserType, ...options } = device;
    const context = await browser.newContext(options);
    const page = await context.newPage();
    page.on("pageerror", (e) => console.log(`page error: ${e.message}`));
    await page.goto(`${base}/site/index.html`);
    await page.tap("#start");
    await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: 30000 });
    const placed = await layout(page);
    await page.screenshot({ path: path.join(work, `page-${name.replace(/ /g, "-")}.png`) });
    check(placed.problems === "" && placed.labels === labels,
          `${name}: the whole picture is on screen beside the controls ${placed.labels} ` +
          `(${placed.problems || "fitted"})`);
    if (stage === undefined) {
      await context.close();
      continue;
    }
    const cdp = await context.newCDPSession(page);
    const centre = async (label, id) => {
      const b = await page.locator(`[aria-label=${label}]`).boundingBox();
      return { x: b.x + b.width / 2, y: b.y + b.height / 2, id };
    };
    const touch = (type, points) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
    await recordRight(page, async () => {
      const right = await centre("Right", 1), pause = await centre("Pause", 2);
      await touch("touchStart", [right]);
      for (let i = 0; i < 2; i++) {  // paused, then on again, the right still held
        await page.waitForTimeout(300);
        await touch("touchStart", [right, pause]);
        await touch("touchEnd", [pause]);  // the points that lift
      }
      return () => touch("touchEnd", [right]);
    }, `${name}: holding the Right control`, stage);
    await page.screenshot({ path: path.join(work, `page-${name.replace(/ /g, "-")}-stage.png`) });
    await context.close();
  }
}

// The game's sound: the worklet plays it (blocks with sound in them reach it once the game has
// played a sound) and the page never makes a ScriptProcessorNode; while the page is hidden the
// sound rests, and shown again it plays on.
async function sound(page) {
  await open(page, "");
  const heard = () => page.evaluate(() => ({ blocks: 0, loud: 0, short: 0,
    ...Module.hoplaSoundHeard, worklet: !!Module.hoplaSound, made: window.hoplaScriptProcessors,
    state: Module.SDL2.audioContext.state }));
  const louder = (than) => page.waitForFunction((than) => Module.hoplaSoundHeard?.loud > than,
                                                than, { timeout: 20000 }).then(() => true, () => false);
  const first = await louder(0);
  // Headless chromium's pages never hide (not behind another tab, nor minimised), so the page
  // is told so as the browser would tell it.
  const show = (visible) => page.evaluate((visible) => {
    Object.defineProperty(document, "visibilityState",
                          { configurable: true, get: () => (visible ? "visible" : "hidden") });
    document.dispatchEvent(new Event("visibilitychange"));
  }, visible);
  await show(false);
  await page.waitForTimeout(500);
  const hidden = await page.evaluate(() => `${document.visibilityState}, ` +
                                           `${Module.SDL2.audioContext.state}`);
  await show(true);
  const before = await heard();
  const again = await louder(before.loud);
  const after = await heard();
  check(first && again && after.worklet && after.made === 0 && after.state === "running" &&
        hidden === "hidden, suspended",
        `the sound plays through the worklet (${after.loud} of ${after.blocks} blocks with ` +
        `sound, ${after.short} played short, ScriptProcessorNodes made: ${after.made}), rests ` +
        `while hidden (${hidden}) and plays on when shown (${again})`);
}

// The whole screen on and off, by the page's button and by the menu's row, with the browser
// leaving it as by its Esc: the picture fitted and centred each time, and the same on screen
// before and after.
async function wholeScreen(page) {
  await open(page, "");
  await page.waitForTimeout(3000);
  await page.keyboard.press("p");  // a picture that stands still
  await page.waitForTimeout(300);
  const before = await page.screenshot();
  const states = [];
  for (const on of [async () => page.click("#whole"),
                    async () => {
                      for (const key of ["p", "Escape", "ArrowDown", "Enter", "Escape", "p"]) {
                        await page.keyboard.press(key);
                        await page.waitForTimeout(150);
                      }
                    }]) {
    await on();
    await page.waitForTimeout(500);
    const whole = await page.evaluate(() => document.fullscreenElement?.id);
    const inside = await layout(page);
    await page.evaluate(() => document.exitFullscreen());
    await page.waitForTimeout(500);
    const after = await layout(page);
    states.push(`${whole}: ${inside.problems || "fitted"}, then ${after.problems || "fitted"}`);
  }
  const same = Buffer.compare(before, await page.screenshot()) === 0;
  check(states.every((s) => s === "game: fitted, then fitted") && same,
        `the whole screen on and off: ${states.join("; ")}; the same picture after: ${same}`);
}

// The files load while the start button shows, with their progress, also on a slow line (1 MB/s
// here); prints the time from the click to the game's start, on localhost and on that line.
async function loading(context) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  const times = [];
  await cdp.send("Network.enable");
  await cdp.send("Network.setCacheDisabled", { cacheDisabled: true });
  await cdp.send("Network.setBypassServiceWorker", { bypass: true });
  for (const rate of [0, 1000000]) {
    await cdp.send("Network.emulateNetworkConditions", { offline: false, latency: rate ? 40 : 0,
      downloadThroughput: rate || -1, uploadThroughput: -1 });
    await page.goto(`${base}/site/index.html?x=${rate}`, { waitUntil: "commit" });
    await page.waitForSelector("#start");
    const clicked = Date.now();
    await page.click("#start");
    let seen = [];
    while (!(await page.evaluate(() => window.Module && Module.calledRun))) {
      seen.push(await page.evaluate(() => document.getElementById("progress")?.value ?? 1));
      await page.waitForTimeout(100);
    }
    times.push(`${Date.now() - clicked} ms${rate ? ` at ${rate / 1e6} MB/s` : ""}`);
    if (rate) check(seen.some((v) => v > 0 && v < 1), `the start button shows the loading ` +
                    `(${seen.filter((v, i) => i % 10 === 0).map((v) => v.toFixed(2)).join(" ")})`);
  }
  console.log(`     from the click to the game's start: ${times.join(", ")}`);
  await page.close();
}

// The menu's Export saves the settings (volume 90 here) to a file; with the volume lowered
// again, its Import reads the file back and the page reloads with them.
async function exportImport(page, settings) {
  const keys = async (...names) => {
    for (const key of names) {
      await page.keyboard.press(key);
      await page.waitForTimeout(150);
    }
  };
  const file = path.join(work, "kept.json");
  const download = page.waitForEvent("download");
  await keys("Escape", "ArrowUp", "ArrowUp", "ArrowUp", "Enter");  // Export, above Import, Quit
  await (await download).saveAs(file);
  const chooser = page.waitForEvent("filechooser");
  // The rows: Resume, Whole screen, Volume, Slow motion, Race overlay, Ghost, Keys, Records,
  // Export, Import, Quit.
  await keys(...Array(6).fill("ArrowUp"), "ArrowLeft");  // Volume: 80
  const lowered = await settings();
  await keys(...Array(7).fill("ArrowDown"), "Enter");  // Import
  const reloaded = page.waitForEvent("load");
  await (await chooser).setFiles(file);
  await reloaded;
  await page.click("#start");
  await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: 30000 });
  const back = await settings();
  check(/volume = 80/.test(lowered) && /volume = 90/.test(back),
        `the settings exported, changed and imported back: ${JSON.stringify(back)}`);
}

// With the network off after one visit, a reload starts the game from the service worker's
// cache.
async function offline(context, page) {
  await page.goto(`${base}/site/index.html`);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await page.click("#start");
  const started = await page.waitForFunction(() => window.Module && Module.calledRun, null,
                                             { timeout: 30000 }).then(() => true, () => false);
  await context.setOffline(false);
  check(started, "with the network off after one visit, a reload starts the game");
}

// A new version of the site replaces the old on the next visit: with version A's files kept
// after one visit, the server gets version B's; on the reload B's service worker takes over, its
// files are what the page is loaded from, and A's cache is gone.
async function update(browser) {
  const served = path.join(work, "v");
  const serve = (version) => {
    fs.rmSync(served, { recursive: true, force: true });
    fs.cpSync(path.join(work, `site-${version}`), served, { recursive: true });
  };
  const cacheOf = (version) =>
    /const CACHE = "([^"]+)"/.exec(fs.readFileSync(path.join(work, `site-${version}`, "sw.js"), "utf8"))[1];
  serve("a");
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(`${base}/site-test/v/index.html`);
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 30000 });
  const before = await page.evaluate(() => caches.keys());
  serve("b");
  await page.reload();
  const replaced = await page.waitForFunction(
    () => document.querySelector("meta[name=version]")?.content === "B", null, { timeout: 30000 })
    .then(() => true, () => false);
  const after = await page.evaluate(() => caches.keys());
  await context.close();
  check(before.join() === cacheOf("a") && after.join() === cacheOf("b") && replaced,
        `a new version of the site replaces the old on the next visit: kept ${before} then ` +
        `${after}, the new page served: ${replaced}`);
}

async function main() {
  const context = await chromium.launchPersistentContext(path.join(work, "profile"), {
    executablePath: "/usr/bin/chromium",
    headless: true,
    viewport: { width: 1280, height: 720 },
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  // The deprecated node counted, should the page (SDL) make one.
  await context.addInitScript(() => {
    window.hoplaScriptProcessors = 0;
    const make = BaseAudioContext.prototype.createScriptProcessor;
    BaseAudioContext.prototype.createScriptProcessor = function (...args) {
      window.hoplaScriptProcessors++;
      return make.apply(this, args);
    };
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
    const whole = await page.$("#whole");  // nothing to put on the whole screen any more
    check(result === `ok ${checks} checks` && !whole,
          `${name} in the page: ${result}${whole ? ", the whole screen's button still there" : ""}`);
    const timing = await page.evaluate(() => window.hoplaTiming);
    console.log(`     tick lateness over ${timing.ticks} ticks: median ${timing.p50.toFixed(2)} ms, ` +
                `p99 ${timing.p99.toFixed(2)} ms, largest ${timing.max.toFixed(2)} ms`);
  }

  // Refused with one line where the outcome would be: a file that is no demo, by the game
  // (status 2); a stage file the site does not ship, by the page, which then never starts the
  // game. A demo of a shipped stage file played without ?stages finds it by name and hash.
  fs.writeFileSync(path.join(work, "demos", "bad.demo"), "not a demo\n");
  const elsewhere = base.replace("127.0.0.1", "localhost") + "/site-test/demos/stage-19.demo";
  for (const [query, line, status] of [
    [`play=${elsewhere}`,
     /^cannot fetch the demo http:\/\/localhost:\d+\/\S+: the network or its site refused it$/,
     "none"],
    ["play=/site/favicon.png", /^\/site\/favicon\.png is no demo: a demo is a text file$/, "none"],
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
    const once = status === 0 || (await page.textContent("#status")) === "";
    const outcome = await page.evaluate(() => window.hoplaEnded !== undefined ? window.hoplaEnded :
      document.querySelector("script[src='hopla.js']") ? "started" : "none");
    check(line.test(refused) && outcome === status && once,
          `?${query} ends so (${outcome}), said once: ${refused}`);
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

  // A game recorded in the page, steered by the keyboard's right arrow.
  await recordRight(page, async () => {
    await page.keyboard.down("ArrowRight");
    return () => page.keyboard.up("ArrowRight");
  }, "the held right arrow");
  await page.screenshot({ path: path.join(work, "page-stage0.png") });

  await sound(page);
  await wholeScreen(page);
  await loading(context);
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", headless: true,
                                          args: ["--no-sandbox", "--disable-gpu"] });
  await phone(browser);
  await update(browser);
  await browser.close();

  // A setting changed in the menu (Esc, down to Volume, a tenth softer) is kept by the browser
  // across a reload; the page has no Scaling row.
  const settings = () => page.evaluate(() => {
    try {
      return Module.FS.readFile("/kept/settings/settings.ini", { encoding: "utf8" });
    } catch (e) {
      return "";
    }
  });
  await open(page, "");
  await page.waitForTimeout(3000);
  for (const key of ["Escape", "ArrowDown", "ArrowDown", "ArrowLeft", "Escape"]) {
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
  await exportImport(page, settings);
  await offline(context, page);

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
