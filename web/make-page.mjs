// Makes the browser edition's pages from web/page.html and its scripts, with the notices of
// the code that emscripten (at EMSCRIPTEN_ROOT) compiles into the game:
//   node make-page.mjs single WEB_DIR EMSCRIPTEN_ROOT SHELL
//       the shell of the one self-contained file, for emcc, the notices in a comment
//   node make-page.mjs site WEB_DIR EMSCRIPTEN_ROOT SITE_DIR
//       the site around cube4.js and cube4.wasm, which emcc left in SITE_DIR: index.html, the
//       manifest, the icons, NOTICES.txt and the service worker
import { createHash } from 'node:crypto';
import { copyFileSync, existsSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [mode, web, emscripten, out] = process.argv.slice(2);
const read = name => readFileSync(join(web, name));
const template = read('page.html').toString();
// The page's scripts, inline as they stand between their tags.
const script = '\n' + read('access.js').toString() + read('page.js').toString();
const style = template.match(/<style>([^]*?)<\/style>/)[1];

const page = (root, head, scripts) => template.replace('<!--ROOT-->', root)
  .replace('<!--HEAD-->', head).replace('<!--SCRIPTS-->', scripts);
const sha256 = bytes => createHash('sha256').update(bytes).digest();

// Emscripten's copyright lines from Debian's copyright file of the package, and musl's own
// notice from emscripten's copy of it.
const DEBIAN_COPYRIGHT = '/usr/share/doc/emscripten/copyright';
const copyright = (existsSync(DEBIAN_COPYRIGHT) ? readFileSync(DEBIAN_COPYRIGHT, 'utf8') : '')
  .match(/^Files:\n \*\nCopyright:\n((?: .*\n)+?)(?=\S)/m);
const notices = read('NOTICES.in').toString()
  .replace('@EMSCRIPTEN_COPYRIGHT@',
    copyright ? copyright[1].trim().replace(/ +/g, ' ') : 'the Emscripten Authors')
  .replace('@MUSL_COPYRIGHT@', readFileSync(join(emscripten, 'system/lib/libc/musl/COPYRIGHT'),
    'utf8').trim());

if (mode === 'single') {
  const favicon = read('icons/icon-32.png').toString('base64');
  writeFileSync(out, page('', [`<!--\n${notices}\n-->`,
    `<link rel="icon" type="image/png" href="data:image/png;base64,${favicon}">`].join('\n'),
    `<script>${script}</script>\n{{{ SCRIPT }}}`));
} else if (mode === 'site') {
  const ICONS = ['icon-32.png', 'icon-192.png', 'icon-512.png'];
  for (const icon of ICONS) copyFileSync(join(web, 'icons', icon), join(out, icon));
  copyFileSync(join(web, 'manifest.webmanifest'), join(out, 'manifest.webmanifest'));
  writeFileSync(join(out, 'NOTICES.txt'), notices);
  // Only the site's own files, the page's own script and style, and compiling WebAssembly.
  const hash = text => `'sha256-${sha256(text).toString('base64')}'`;
  const policy = [`default-src 'self'`, `script-src 'self' ${hash(script)} 'wasm-unsafe-eval'`,
    `style-src 'self' ${hash(style)}`, `base-uri 'none'`, `object-src 'none'`,
    `form-action 'none'`].join('; ');
  writeFileSync(join(out, 'index.html'), page(' data-service-worker="sw.js"', [
    `<meta http-equiv="Content-Security-Policy" content="${policy}">`,
    '<link rel="manifest" href="manifest.webmanifest">',
    '<link rel="icon" type="image/png" href="icon-32.png">',
    '<link rel="apple-touch-icon" href="icon-192.png">',
    '<link rel="license" href="NOTICES.txt">',
  ].join('\n'), `<script>${script}</script>\n<script async src="cube4.js"></script>`));
  // The worker's version is the hash of every other file: a new build is a new worker.
  const FILES = ['index.html', 'cube4.js', 'cube4.wasm', 'manifest.webmanifest', 'NOTICES.txt',
    ...ICONS];
  const version = sha256(Buffer.concat(FILES.map(file => sha256(readFileSync(join(out, file))))))
    .toString('hex').slice(0, 16);
  writeFileSync(join(out, 'sw.js'), read('service-worker.js').toString()
    .replace('@VERSION@', version).replace('@FILES@', JSON.stringify(['./', ...FILES])));
} else {
  console.error('usage: node make-page.mjs single|site WEB_DIR OUT');
  process.exit(2);
}
