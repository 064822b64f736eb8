// The browser edition in Gecko, Debian's firefox-esr driven by puppeteer-core over WebDriver
// BiDi, and in WebKit, Debian's WebKitGTK MiniBrowser driven by its WebKitWebDriver through
// selenium-webdriver. Each runs in a private X server, as neither draws WebGL headless here:
// the question and a re-prompt, a whole game by keys against the Linux build's console and
// frames, the site under a sub-path playing a watched game, and in Gecko the page with WebGL
// switched off.
//   node engines_test.mjs gecko|webkit CUBE4_HTML SITE_FOLDER RECORD_FOLDER
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key } from 'selenium-webdriver';
import { assertLike, canvasPixels, QUESTION, readRecord, REPROMPT, toFrame, WATCHED_GAME }
  from './common.mjs';
import { serve } from './serve.mjs';

const [engine, pagePath, siteFolder, record] = process.argv.slice(2);
const PAGE_URL = pathToFileURL(resolve(pagePath)).href;
const linux = readRecord(record);
const sleep = ms => new Promise(done => setTimeout(done, ms));

// A private X server: its process and display name.
async function startX() {
  const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten',
    'tcp'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((done, fail) => {
    server.once('error', fail);
    server.stdio[3].once('data', number => done(':' + String(number).trim()));
  });
  return { server, display };
}

// Each engine's browser, with its pages driven alike: run a function in the page, answer in
// the answer field, press a key, click an element, drag on the board with the left button.
async function launchGecko(display, prefs = {}) {
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.CUBE4_FIREFOX || '/usr/bin/firefox-esr',
    headless: false, env: { ...process.env, DISPLAY: display },
    defaultViewport: { width: 1024, height: 768 }, extraPrefsFirefox: prefs });
  return {
    async open(url) {
      const page = await browser.newPage();
      const errors = [];
      page.on('pageerror', error => errors.push(error.message));
      await page.goto(url);
      return {
        errors,
        run: (fn, ...args) => page.evaluate(fn, ...args),
        answer: async line => {
          await page.type('#answer', line);
          await page.keyboard.press('Enter');
        },
        press: key => page.keyboard.press(key === '\n' ? 'Enter' : key),
        click: selector => page.click(selector),
        async drag(x0, y0, x1, y1) {
          const box = await (await page.$('#canvas')).boundingBox();
          await page.mouse.move(box.x + x0, box.y + y0);
          await page.mouse.down();
          for (let step = 1; step <= 10; ++step) {
            await page.mouse.move(box.x + x0 + (x1 - x0) * step / 10,
              box.y + y0 + (y1 - y0) * step / 10);
          }
          await page.mouse.up();
        },
        close: () => page.close(),
      };
    },
    close: () => browser.close(),
  };
}

async function launchWebKit(display) {
  const port = 20000 + process.pid % 20000;
  const driverProcess = spawn(process.env.CUBE4_WEBKIT_DRIVER || 'WebKitWebDriver',
    [`--port=${port}`], { env: { ...process.env, DISPLAY: display }, stdio: 'ignore' });
  let driver;
  for (let tries = 0; driver === undefined; ++tries) {
    try {
      driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { args: ['--automation'], binary:
          process.env.CUBE4_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser' },
      }).build();
    } catch (error) {
      if (tries === 50) throw error;
      await sleep(100);  // the driver is not listening yet
    }
  }
  return {
    async open(url) {
      await driver.get(url);
      const run = (fn, ...args) => driver.executeScript(fn, ...args);
      return {
        errors: [],
        run,
        answer: line => driver.findElement(By.id('answer')).sendKeys(line, Key.ENTER),
        press: key => driver.actions().sendKeys(key === '\n' ? Key.ENTER : key).perform(),
        click: selector => driver.findElement(By.css(selector)).click(),
        async drag(x0, y0, x1, y1) {
          // Offsets from the board's centre, as WebDriver takes them.
          const canvas = await driver.findElement(By.id('canvas'));
          const { width, height } = await canvas.getRect();
          const at = (x, y) => ({ origin: canvas, x: Math.round(x - width / 2),
            y: Math.round(y - height / 2) });
          let actions = driver.actions().move(at(x0, y0)).press();
          for (let step = 1; step <= 10; ++step) {
            actions = actions.move(at(x0 + (x1 - x0) * step / 10, y0 + (y1 - y0) * step / 10));
          }
          await actions.release().perform();
        },
        close: () => {},
      };
    },
    async close() {
      await driver.quit();
      driverProcess.kill();
    },
  };
}

const launch = { gecko: launchGecko, webkit: launchWebKit }[engine];
assert.ok(launch, `an engine to test, gecko or webkit, not ${engine}`);

let x;
let browser;

before(async () => {
  x = await startX();
  browser = await launch(x.display);
});

after(async () => {
  await browser?.close();
  x?.server.kill();
});

// Polls the page until fn is true there.
async function until(page, fn, timeout = 60000) {
  const deadline = Date.now() + timeout;
  while (!await page.run(fn)) {
    assert.ok(Date.now() < deadline, `waited ${timeout} ms for ${fn}`);
    await sleep(50);
  }
}

const panel = page => page.run(() => document.getElementById('console').textContent);
// Waits until the game has nothing left to do: no computer to move, no frame to draw.
const settle = page => until(page, () => Module.cube4Gl !== undefined && !Module.cube4Busy());
const frame = async page => toFrame(await page.run(canvasPixels));

async function openGame(url = PAGE_URL) {
  const page = await browser.open(url);
  await until(page, () => typeof Module !== 'undefined' && Module.calledRun === true);
  assert.equal(await panel(page), QUESTION);
  return page;
}

test(`${engine}: the question, and again after a wrong answer`, async () => {
  const page = await openGame();
  await page.answer('x');
  await until(page, () => document.getElementById('console').textContent.endsWith('！\n> '));
  assert.equal(await panel(page), QUESTION + 'x\n' + REPROMPT);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test(`${engine}: a whole game by keys ends as on Linux, on the same frames`, async () => {
  const page = await openGame();
  await page.answer('1');
  await settle(page);
  for (const key of linux.keys) {
    await page.press(key);
    await page.press('\n');
    await settle(page);
  }
  assert.equal(await panel(page), linux.panel);
  assertLike(await frame(page), linux.frame, 'the final frame');
  // Down by 150 pixels: 30 degrees, so that the board is seen from above.
  await page.drag(250, 150, 250, 300);
  await settle(page);
  assertLike(await frame(page), linux.turned, 'the turned frame');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test(`${engine}: the site under a sub-path plays a watched game`, async () => {
  const site = await serve(siteFolder, '/games/cube4/');
  try {
    const page = await openGame(site.url);
    await page.click('button[data-answer="3"]');
    await until(page, () => document.getElementById('console').textContent.endsWith('！\n'),
      120000);
    assert.match((await panel(page)).slice(QUESTION.length), WATCHED_GAME);
    assert.deepEqual(page.errors, []);
    await page.close();
  } finally {
    await site.close();
  }
});

test(`${engine}: without WebGL the page says so, and the game still runs`,
  { skip: engine !== 'gecko' && 'switched off in Gecko only' }, async () => {
    const plain = await launchGecko(x.display, { 'webgl.disabled': true });
    try {
      const page = await plain.open(PAGE_URL);
      await until(page, () => typeof Module !== 'undefined' && Module.calledRun === true);
      await page.click('button[data-answer="3"]');
      await until(page, () => document.getElementById('console').textContent.endsWith('！\n'),
        120000);
      const [japanese, english, result] = (await panel(page)).slice(QUESTION.length + 2)
        .split('\n');
      assert.match(japanese, /WebGL/);
      assert.match(english, /WebGL/);
      assert.match(`3\n${result}\n`, WATCHED_GAME);
      assert.deepEqual(page.errors, []);
    } finally {
      await plain.close();
    }
  });
