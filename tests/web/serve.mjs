// A small static web server on loopback, as any host serves a site: the files of one folder
// under a sub-path, gzipped where the browser accepts it.
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.json': 'application/json',
};
const COMPRESSED = new Set(['.html', '.js', '.wasm', '.webmanifest', '.json']);

// Serves folder under prefix on the loopback address, on port or any free one; resolves to
// { url, requests, close }, where requests lists every path asked for.
export function serve(folder, prefix, port = 0) {
  const requests = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(request.url.split('?')[0]);
    requests.push(path);
    let name = path.startsWith(prefix) ? normalize(path.slice(prefix.length)) : null;
    if (name === '' || name === '.') name = 'index.html';
    const file = name && !name.startsWith('..') ? join(folder, name) : null;
    if (file === null || !statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    const type = extname(file);
    let body = readFileSync(file);
    const headers = { 'Content-Type': TYPES[type] || 'application/octet-stream',
      'Cache-Control': 'no-cache' };
    if (COMPRESSED.has(type) && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      body = gzipSync(body, { level: 9 });
      headers['Content-Encoding'] = 'gzip';
    }
    response.writeHead(200, headers).end(body);
  });
  return new Promise(resolve => server.listen(port, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}${prefix}`,
    requests,
    close: () => new Promise(done => { server.closeAllConnections(); server.close(done); }),
  })));
}
