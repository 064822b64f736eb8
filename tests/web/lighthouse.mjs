// Lighthouse's mobile audit of the site, served with gzip under a sub-path: the median of
// each category's score over several runs, each in a fresh headless chromium.
//   node lighthouse.mjs SITE_DIR [RUNS]   prints the four scores
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import lighthouse from 'lighthouse';
import puppeteer from 'puppeteer-core';
import { serve } from './serve.mjs';

export const CATEGORIES = ['performance', 'accessibility', 'best-practices', 'seo'];
export const CHROMIUM_ARGS = ['--no-sandbox', '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync'];

// One run: { scores: { category: 0..100 }, failed: [titles of the audits that lost points] }.
async function auditOnce(url) {
  const profile = mkdtempSync(join(tmpdir(), 'cube4-lighthouse-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CUBE4_CHROMIUM || '/usr/bin/chromium', headless: true,
    userDataDir: profile, args: [...CHROMIUM_ARGS, '--remote-debugging-port=0'] });
  try {
    const port = Number(new URL(browser.wsEndpoint()).port);
    const { lhr } = await lighthouse(url, { port, logLevel: 'error', output: 'json',
      onlyCategories: CATEGORIES });
    const scores = {};
    const failed = [];
    for (const name of CATEGORIES) {
      const category = lhr.categories[name];
      scores[name] = Math.round(category.score * 100);
      for (const ref of category.auditRefs) {
        const audit = lhr.audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1) {
          failed.push(`${name}: ${audit.title} (${audit.displayValue ?? audit.score})`);
        }
      }
    }
    return { scores, failed };
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

// The median score of each category over runs, and what lost points in the median run of
// performance.
export async function audit(siteDir, runs = 3) {
  const site = await serve(siteDir, '/games/cube4/');
  try {
    const results = [];
    for (let run = 0; run < runs; ++run) results.push(await auditOnce(site.url));
    const median = name => results.map(r => r.scores[name]).sort((a, b) => a - b)[runs >> 1];
    const scores = Object.fromEntries(CATEGORIES.map(name => [name, median(name)]));
    const middle = results.find(r => r.scores.performance === scores.performance);
    return { scores, failed: middle.failed, all: results.map(r => r.scores) };
  } finally {
    await site.close();
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [siteDir, runs = '3'] = process.argv.slice(2);
  const { scores, failed, all } = await audit(siteDir, Number(runs));
  const summary = scores => CATEGORIES.map(c => `${c} ${scores[c]}`).join(', ');
  for (const result of all) console.log('run:', summary(result));
  for (const line of failed) console.log('lost points:', line);
  console.log(`Lighthouse (mobile, median of ${runs}):`, summary(scores));
}
