// What the browser suites share: the console's texts, the Linux build's recorded game, and
// reading and comparing the canvas's frames.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

export const QUESTION = '先手か後手かをえらんでね\n1)先手            2)後手\n> ';
export const REPROMPT = 'ちゃんと選べ！\n> ';
// What a watched game leaves after the question: its answer and one result line.
export const WATCHED_GAME = /^3\n(先手の勝ち|後手の勝ち|引き分け)！\n$/;
// Another renderer draws the same frame: pixels may differ by this much per channel, and
// this share of them must not differ by more.
const LEVELS = 4;
const SHARE_WITHIN = 0.99;

function readPpm(path) {
  const bytes = readFileSync(path);
  const header = bytes.subarray(0, 20).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  assert.ok(header, 'a binary PPM image');
  return { width: +header[1], height: +header[2], rgb: bytes.subarray(header[0].length) };
}

// The Linux build's game in folder: the pole key of every move and the human's keys, the
// first mover's, among them; the panel it leads to (its console, with the answer echoed), its
// final frame, that frame turned by a drag, and the turned frame resized.
export function readRecord(folder) {
  const console = new TextDecoder('shift_jis').decode(readFileSync(join(folder, 'output')));
  assert.ok(console.startsWith(QUESTION), 'the Linux game asked the same question');
  const resized = join(folder, 'turned-resized.ppm');
  const moves = readFileSync(join(folder, 'moves'), 'latin1').split('\n').filter(Boolean);
  return {
    keys: moves.filter((_, move) => move % 2 === 0),
    moves,
    panel: QUESTION + '1\n' + console.slice(QUESTION.length),
    frame: readPpm(join(folder, 'frame.ppm')),
    turned: readPpm(join(folder, 'turned.ppm')),
    resized: existsSync(resized) ? readPpm(resized) : null,
  };
}

// Run in the page: the canvas's pixels as [width, height, base64 of RGBA rows from the bottom].
export function canvasPixels() {
  const gl = Module.cube4Gl;
  const { drawingBufferWidth: width, drawingBufferHeight: height } = gl;
  const rgba = new Uint8Array(width * height * 4);
  gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
  let text = '';
  for (let i = 0; i < rgba.length; i += 0x8000) {
    text += String.fromCharCode(...rgba.subarray(i, i + 0x8000));
  }
  return [width, height, btoa(text)];
}

// canvasPixels' result as RGB rows from the top left.
export function toFrame([width, height, base64]) {
  const rgba = Buffer.from(base64, 'base64');
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const from = ((height - 1 - y) * width + x) * 4;  // GL's rows run from the bottom
      rgba.copy(rgb, (y * width + x) * 3, from, from + 3);
    }
  }
  return { width, height, rgb };
}

// The share of pixels whose channels all lie within LEVELS of the other image's.
export function shareWithin(a, b) {
  assert.deepEqual([a.width, a.height], [b.width, b.height]);
  let within = 0;
  for (let i = 0; i < a.rgb.length; i += 3) {
    within += [0, 1, 2].every(c => Math.abs(a.rgb[i + c] - b.rgb[i + c]) <= LEVELS);
  }
  return within / (a.width * a.height);
}

// A frame from another renderer, or turned there and back, must be the other one but for a
// few levels here and there.
export function assertLike(frame, other, what) {
  const share = shareWithin(frame, other);
  assert.ok(share >= SHARE_WITHIN, `${what}: ${(share * 100).toFixed(2)}% of the pixels alike`);
}
