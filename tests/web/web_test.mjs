// The browser edition, opened from disk in Debian's chromium, headless, with real key and
// mouse events: the dialogue, a whole game by keys against the Linux build's console and final
// frame of the same game, the same game by the on-screen pad, and the view turned by a drag.
//   node web_test.mjs CUBE4_HTML RECORD_FOLDER
// RECORD_FOLDER holds the Linux build's game: its keys, its console bytes, its final frame and
// that frame turned by a drag.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const [pagePath, record] = process.argv.slice(2);
const PAGE_URL = pathToFileURL(resolve(pagePath)).href;
const QUESTION = '先手か後手かをえらんでね\n1)先手            2)後手\n> ';
const REPROMPT = 'ちゃんと選べ！\n> ';
const SIZE = 500;
// Another renderer draws the same frame: pixels may differ by this much per channel, and
// this share of them must not differ by more.
const LEVELS = 4;
const SHARE_WITHIN = 0.99;

const keys = readFileSync(join(record, 'keys'), 'latin1').split('\n').filter(Boolean);
const linuxConsole = new TextDecoder('shift_jis').decode(readFileSync(join(record, 'output')));
const linuxFrame = readPpm(readFileSync(join(record, 'frame.ppm')));
const linuxTurned = readPpm(readFileSync(join(record, 'turned.ppm')));

function readPpm(bytes) {
  const header = bytes.subarray(0, 20).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  assert.ok(header, 'a binary PPM image');
  return { width: +header[1], height: +header[2], rgb: bytes.subarray(header[0].length) };
}

let browser;
let profile;
const offline = [];  // every request that would have left the disk

before(async () => {
  profile = mkdtempSync(join(tmpdir(), 'cube4-chromium-'));
  browser = await puppeteer.launch({
    executablePath: process.env.CUBE4_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    defaultViewport: { width: 1024, height: 768 },
    userDataDir: profile,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--no-first-run', '--disable-background-networking', '--disable-component-update',
      '--disable-sync'],
  });
});

after(async () => {
  await browser?.close();
  rmSync(profile, { recursive: true, force: true });
});

async function openGame() {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  page.on('request', request => {
    if (!/^(file|data):/.test(request.url())) offline.push(request.url());
  });
  await page.goto(PAGE_URL);
  await page.waitForFunction(question => document.getElementById('console').textContent === question,
    {}, QUESTION);
  page.errors = errors;
  return page;
}

const panel = page => page.$eval('#console', element => element.textContent);

async function answer(page, line) {
  await page.type('#answer', line);
  await page.keyboard.press('Enter');
}

// Waits until the game has nothing left to do: no computer to move, no frame to draw.
async function settle(page) {
  await page.waitForFunction(() => Module.cube4Gl !== undefined && !Module.cube4Busy(),
    { polling: 'raf', timeout: 60000 });
}

// The canvas' pixels as RGB, row by row from the top left.
async function frame(page) {
  const base64 = await page.evaluate(() => {
    const gl = Module.cube4Gl;
    const { drawingBufferWidth: width, drawingBufferHeight: height } = gl;
    const rgba = new Uint8Array(width * height * 4);
    gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    let text = '';
    for (let i = 0; i < rgba.length; i += 0x8000) {
      text += String.fromCharCode(...rgba.subarray(i, i + 0x8000));
    }
    return btoa(text);
  });
  const rgba = Buffer.from(base64, 'base64');
  const rgb = Buffer.alloc(SIZE * SIZE * 3);
  for (let y = 0; y < SIZE; ++y) {
    for (let x = 0; x < SIZE; ++x) {
      const from = ((SIZE - 1 - y) * SIZE + x) * 4;  // GL's rows run from the bottom
      rgba.copy(rgb, (y * SIZE + x) * 3, from, from + 3);
    }
  }
  return { width: SIZE, height: SIZE, rgb };
}

// The share of pixels whose channels all lie within LEVELS of the other image's.
function shareWithin(a, b) {
  assert.deepEqual([a.width, a.height], [b.width, b.height]);
  let within = 0;
  for (let i = 0; i < a.rgb.length; i += 3) {
    within += [0, 1, 2].every(c => Math.abs(a.rgb[i + c] - b.rgb[i + c]) <= LEVELS);
  }
  return within / (a.width * a.height);
}

async function drag(page, button, x0, y0, x1, y1) {
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.move(box.x + x0, box.y + y0);
  await page.mouse.down({ button });
  for (let step = 1; step <= 10; ++step) {
    await page.mouse.move(box.x + x0 + (x1 - x0) * step / 10, box.y + y0 + (y1 - y0) * step / 10);
  }
  await page.mouse.up({ button });
  await settle(page);
}

// What the panel shows after the Linux build's game: its console, with the answer echoed.
const expectedPanel = () => QUESTION + '1\n' + linuxConsole.slice(QUESTION.length);

test('the page asks the question in Japanese and asks again after a wrong answer', async () => {
  const page = await openGame();
  assert.equal(await page.title(), 'cube4');
  assert.equal(await page.evaluate(() => location.protocol), 'file:');
  await answer(page, 'x');
  await page.waitForFunction(text => document.getElementById('console').textContent === text,
    { timeout: 5000 }, QUESTION + 'x\n' + REPROMPT);
  assert.deepEqual(page.errors, []);
  await page.close();
});

let keyFrame;
let padPage;

test('a whole game by keys ends as on Linux, on the same frame', async () => {
  assert.ok(linuxConsole.startsWith(QUESTION), 'the Linux game asked the same question');
  const page = await openGame();
  await answer(page, '1');
  await settle(page);
  for (const key of keys) {
    await page.keyboard.press(key);
    await page.keyboard.press('Enter');
    await settle(page);
  }
  assert.equal(await panel(page), expectedPanel());
  keyFrame = await frame(page);
  const share = shareWithin(keyFrame, linuxFrame);
  assert.ok(share >= SHARE_WITHIN, `${(share * 100).toFixed(2)}% of the pixels within ${LEVELS}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the on-screen pad plays the same game to the same end', async () => {
  padPage = await openGame();
  await answer(padPage, '1');
  await settle(padPage);
  for (const key of keys) {
    await padPage.click(`#pad button[data-key="${key}"]`);
    await padPage.click('#pad button[data-key="Enter"]');
    await settle(padPage);
  }
  assert.equal(await panel(padPage), expectedPanel());
  assert.equal(shareWithin(await frame(padPage), keyFrame), 1);
  assert.deepEqual(padPage.errors, []);
});

test('dragging turns the finished board; other buttons do not', async () => {
  const ended = await frame(padPage);
  await drag(padPage, 'right', 250, 150, 250, 300);
  assert.equal(shareWithin(await frame(padPage), ended), 1, 'the right button turns nothing');
  // Down by 150 pixels: 30 degrees, so that the board is seen from above.
  await drag(padPage, 'left', 250, 150, 250, 300);
  const turned = await frame(padPage);
  assert.ok(shareWithin(turned, ended) < 0.9, 'the view turned');
  const share = shareWithin(turned, linuxTurned);
  assert.ok(share >= SHARE_WITHIN, `${(share * 100).toFixed(2)}% of the pixels as on Linux`);
  await drag(padPage, 'left', 250, 300, 250, 150);
  assert.ok(shareWithin(await frame(padPage), ended) >= SHARE_WITHIN, 'and back again');
  assert.equal(await panel(padPage), expectedPanel(), 'the console is unchanged');
  await padPage.close();
});

test('nothing was fetched from the network', () => {
  assert.deepEqual(offline, []);
});
