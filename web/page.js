'use strict';
// The page around the game: the console panel and standard input, keys, the pad, the mouse
// and fingers on the board, the canvas's size, and the service worker where the site has one.
(function () {
  const panel = document.getElementById('console');
  const answer = document.getElementById('answer');
  const canvas = document.getElementById('canvas');
  const decoder = new TextDecoder('shift_jis');
  const show = text => {
    panel.textContent += text;
    panel.scrollTop = panel.scrollHeight;
  };
  // The page is painted with the question already in the panel; the game's first output
  // repeats it and is taken as read.
  let painted = panel.textContent;
  const showOutput = text => {
    if (painted.startsWith(text)) {
      painted = painted.slice(text.length);
      return;
    }
    painted = '';
    show(text);
  };

  // Standard input: the lines answered, as bytes, and a reader waiting.
  const input = [];
  let reader = null;
  const deliver = () => {
    if (reader === null || input.length === 0) return;
    const { buffer, size, resolve } = reader;
    reader = null;
    const count = Math.min(size, input.length);
    HEAPU8.set(input.splice(0, count), buffer);
    resolve(count);
  };
  const sendLine = line => {
    show(line + '\n');
    input.push(...new TextEncoder().encode(line + '\n'));
    deliver();
  };
  answer.addEventListener('keydown', event => {
    if (event.key !== 'Enter' || event.isComposing) return;
    const line = answer.value;
    answer.value = '';
    sendLine(line);
  });
  for (const button of document.querySelectorAll('#answers button')) {
    button.addEventListener('click', () => sendLine(button.dataset.answer));
  }

  // Keys and the pointer reach the game once its window is open: with a WebGL context, or
  // null where the browser has none.
  const windowOpen = () => Module.cube4Gl !== undefined;

  // A key to the game, and what came of it to the accessible board.
  const press = code => {
    Module._cube4Key(code);
    accessibleBoard.update(code, !Module.cube4Busy());
  };
  // GLUT's keyboard callback gets characters: printable ones and a few control keys. Tab is
  // left to the browser, to move the focus.
  const CONTROL_KEYS = { Enter: 13, Escape: 27, Backspace: 8, Delete: 127 };
  const keyCode = key => key.length === 1 ? key.charCodeAt(0) : CONTROL_KEYS[key];
  const sendKey = key => {
    const code = keyCode(key);
    if (code === undefined || code > 255 || !windowOpen()) return false;
    press(code);
    return true;
  };
  // Enter and Space on a focused control are that control's; elsewhere they, and every other
  // key, go to the game, except in the answer field.
  const CONTROLS = 'button, summary, a[href], input, select, textarea';
  document.addEventListener('keydown', event => {
    if (event.target === answer || event.ctrlKey || event.altKey || event.metaKey) return;
    if ((event.key === 'Enter' || event.key === ' ') && event.target instanceof Element &&
        event.target.closest(CONTROLS)) return;
    if (sendKey(event.key)) event.preventDefault();
  });
  for (const button of document.querySelectorAll('#pad button')) {
    // A click does not take the focus, so that Enter on the keyboard still drops afterwards.
    button.addEventListener('mousedown', event => event.preventDefault());
    // As a tap on its pole: it selects the pole, or drops on it when it is selected already.
    button.addEventListener('click', () => {
      const key = button.dataset.key;
      sendKey(key !== 'Enter' && accessibleBoard.isSelected(key) ? 'Enter' : key);
    });
  }

  // The canvas's backing store is its size in device pixels, and the game's window: every
  // change of either, a resize, a rotation, a zoom or another screen, reaches the game as a
  // reshape. Until the window opens, the size is only noted: changing the backing store
  // would lay the page out again while it loads, for a canvas with nothing to show.
  let cssSize;
  const fitCanvas = size => {
    if (size !== undefined) cssSize = size;
    if (cssSize === undefined || !windowOpen()) return;
    const width = Math.round(cssSize[0] * devicePixelRatio);
    const height = Math.round(cssSize[1] * devicePixelRatio);
    if (width === 0 || height === 0) return;
    if (width !== canvas.width || height !== canvas.height) {
      canvas.width = width;
      canvas.height = height;
    }
    Module._cube4Reshape(width, height);
  };
  const measure = () => {
    const box = canvas.getBoundingClientRect();
    fitCanvas([box.width, box.height]);
  };
  if (typeof ResizeObserver === 'function') {
    new ResizeObserver(([entry]) => {
      fitCanvas([entry.contentRect.width, entry.contentRect.height]);
    }).observe(canvas);
  }
  addEventListener('resize', measure);
  // A change of the pixel ratio alone, as when the window moves to another screen.
  const watchRatio = () => {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
      fitCanvas();
      watchRatio();
    }, { once: true });
  };
  watchRatio();

  // The mouse, and a finger, in CSS pixels: GLUT hears each press and release (left 0,
  // middle 1, right 2) and the motion while any is held. A left press released within a
  // few pixels is a tap, which picks the pole under it as its key would, or drops on the
  // pole already selected, as Enter would; its motion turns nothing. Beyond those pixels
  // it is a drag, whose first motion carries all of its way.
  const GLUT_BUTTONS = [[1, 0], [4, 1], [2, 2]];
  const GLUT_DOWN = 0, GLUT_UP = 1;
  const TAP_PIXELS = 8;  // how far a tap may wander, and how near a pole it may land
  let held = 0, lastX = -1, lastY = -1, pointerId = null, tap = null;
  const pointer = event => {
    const box = canvas.getBoundingClientRect();
    const x = event.clientX - box.left, y = event.clientY - box.top;
    const gx = Math.floor(x), gy = Math.floor(y);
    const buttons = event.type === 'pointercancel' ? 0 : event.buttons;
    if (event.type === 'pointerdown') {
      tap = buttons === 1 && held === 0 ? { x, y, moved: false } : null;
    } else if (event.type === 'pointercancel' || (buttons !== 1 && buttons !== 0)) {
      tap = null;
    }
    if (tap !== null && Math.hypot(x - tap.x, y - tap.y) > TAP_PIXELS) tap.moved = true;
    let changed = false;
    for (const [bit, button] of GLUT_BUTTONS) {
      if ((held & bit) === (buttons & bit)) continue;
      Module._cube4Mouse(button, buttons & bit ? GLUT_DOWN : GLUT_UP, gx, gy);
      changed = true;
    }
    const still = tap !== null && !tap.moved;
    if (!changed && buttons !== 0 && !still && (gx !== lastX || gy !== lastY)) {
      Module._cube4Motion(gx, gy);
    }
    held = buttons;
    lastX = gx;
    lastY = gy;
    if (buttons === 0 && still) {
      const key = Module._cube4TapKey(tap.x, tap.y, box.width, box.height, TAP_PIXELS);
      if (key !== 0) press(key);
    }
    if (buttons === 0) tap = null;
  };
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel']) {
    canvas.addEventListener(type, event => {
      if (!windowOpen()) return;
      // One pointer at a time: a second finger neither turns nor taps.
      if (pointerId !== null && event.pointerId !== pointerId) return;
      if (type === 'pointerdown') {
        pointerId = event.pointerId;
        canvas.setPointerCapture(event.pointerId);
      }
      if (type === 'pointerdown' || held !== 0) pointer(event);
      if (held === 0) pointerId = null;
    });
  }
  canvas.addEventListener('contextmenu', event => event.preventDefault());

  // The site's service worker keeps every file for playing offline. When a new build takes
  // over a page that has not started its game, the page reloads into the new build.
  const worker = document.documentElement.dataset.serviceWorker;
  if (worker && 'serviceWorker' in navigator) {
    const controlled = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      if (controlled && !windowOpen()) location.reload();
    });
    // After the page's own load, so that the worker's downloads do not slow it.
    addEventListener('load', () => navigator.serviceWorker.register(worker).catch(() => {}));
  }

  // The game has its answer: from now on keys and taps go to the board.
  const startPlaying = () => {
    answer.disabled = true;
    answer.blur();
    document.body.classList.add('playing');
    accessibleBoard.begin();
  };

  let stepRequested = false;
  window.Module = {
    canvas,
    thisProgram: 'cube4',
    // The game's console bytes, Shift-JIS, decoded as they come.
    cube4Write: bytes => showOutput(decoder.decode(bytes, { stream: true })),
    cube4ReadInput: (buffer, size) => new Promise(resolve => {
      reader = { buffer, size, resolve };
      deliver();
    }),
    cube4OpenWindow: (title, width, height) => {
      document.title = title;
      // The window's size is the largest the board is drawn at; the layout may make it less.
      document.documentElement.style.setProperty('--window', width + 'px');
      const gl = canvas.getContext('webgl', {
        alpha: false, antialias: false, depth: true, preserveDrawingBuffer: true });
      if (gl === null) {
        // The game still runs, and reports its result, with nothing drawn.
        show('WebGL が使えないため、盤を描けません(オフか、このブラウザーにありません)。\n' +
          'This browser cannot draw the board: WebGL is off or unavailable.\n');
        Module.cube4Gl = null;
        startPlaying();
        return;
      }
      const shader = (type, source) => {
        const s = gl.createShader(type);
        gl.shaderSource(s, source);
        gl.compileShader(s);
        return s;
      };
      const program = gl.createProgram();
      gl.attachShader(program, shader(gl.VERTEX_SHADER,
        'attribute vec4 position; attribute vec4 colour; varying vec4 v;' +
        'void main() { gl_Position = position; v = colour; }'));
      gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
        'precision highp float; varying vec4 v; void main() { gl_FragColor = v; }'));
      gl.linkProgram(program);
      gl.useProgram(program);
      gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
      const position = gl.getAttribLocation(program, 'position');
      const colour = gl.getAttribLocation(program, 'colour');
      gl.enableVertexAttribArray(position);
      gl.enableVertexAttribArray(colour);
      gl.vertexAttribPointer(position, 4, gl.FLOAT, false, 32, 0);
      gl.vertexAttribPointer(colour, 4, gl.FLOAT, false, 32, 16);
      Module.cube4Gl = gl;
      startPlaying();
      measure();
      canvas.scrollIntoView({ block: 'nearest' });
    },
    cube4RequestStep: () => {
      if (stepRequested) return;
      stepRequested = true;
      requestAnimationFrame(() => {
        stepRequested = false;
        if (Module._cube4Step()) Module.cube4RequestStep();
        accessibleBoard.update(undefined, !stepRequested);
      });
    },
    // Whether the game has more to do: a computer to move or a frame to draw.
    cube4Busy: () => stepRequested,
  };
})();
