// The web page in Debian's Chromium, served from 127.0.0.1 and opened from a file: for the test
// images it says what quillet-cli says, and downloads what quillet-cli writes, byte for byte.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';

const { QUILLET_PAGE, QUILLET_CLI, QUILLET_IMAGES } = process.env;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quillet-web-'));
let server;
let browser;

before(async () => {
  server = http.createServer((_, response) => response.end(fs.readFileSync(QUILLET_PAGE)));
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  browser = await chromium.launchPersistentContext(path.join(scratch, 'profile'), {
    executablePath: '/usr/bin/chromium',
    downloadsPath: path.join(scratch, 'downloads'),
    env: { ...process.env, HOME: scratch },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-sync',
      '--disable-background-networking', '--disable-component-update'],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

// What quillet-cli says (its first line, in the page's terms) and the file it writes with its
// name, run in a folder that holds only the image.
function cli(args, image) {
  const folder = fs.mkdtempSync(path.join(scratch, 'cli-'));
  fs.copyFileSync(image, path.join(folder, path.basename(image)));
  const run = spawnSync(QUILLET_CLI, [...args, path.basename(image)], { cwd: folder });
  const output = fs.readdirSync(folder).find((name) => name !== path.basename(image));
  return {
    said: String(run.stdout.length > 0 ? run.stdout : run.stderr).split('\n')[0]
      .replace(/^quillet-cli: (--fill: )?/, '').replace(' Give --force to process it anyway.', ''),
    name: output ?? null,
    written: output ? fs.readFileSync(path.join(folder, output)) : null,
  };
}

// Opens the page, and keeps the requests it makes once loaded and its downloads.
async function open(url) {
  const page = await browser.newPage();
  await page.goto(url);
  page.requests = [];
  page.downloads = [];
  page.on('request', (request) => page.requests.push(request.url()));
  page.on('download', (download) => page.downloads.push(download));
  return page;
}

// The status line once action has changed it, and the finished download that was expected.
async function statusAfter(page, action, downloading) {
  const before = await page.getByRole('status').textContent();
  const download = downloading ? page.waitForEvent('download') : null;
  await action();
  await page.waitForFunction((text) => document.querySelector('[role=status]').textContent !== text, before);
  const finished = await download;
  const said = await page.getByRole('status').textContent();
  return { said, file: finished && (await finished.path()), name: finished?.suggestedFilename() ?? null };
}

// Chooses image and removes its intro with each row's choice and fill byte: the page says what
// quillet-cli says and downloads what it writes. Returns the page's time for it all.
async function check(page, image, rows) {
  const expected = [cli(['info'], image), ...rows.map(([, , args]) => cli(['remove', ...args], image))];
  const started = performance.now();
  const seen = [await statusAfter(page, () => page.getByLabel('Game image').setInputFiles(image))];
  for (const [index, [choice, fillByte]] of rows.entries()) {
    await page.getByLabel('Fill byte', { exact: true }).fill(fillByte);
    await page.getByLabel(choice, { exact: true }).check();
    const remove = () => page.getByRole('button', { name: 'Remove intro' }).click();
    seen.push(await statusAfter(page, remove, expected[index + 1].written));
  }
  const elapsed = performance.now() - started;
  for (const [index, { said, file, name }] of seen.entries()) {
    assert.equal(said, expected[index].said);
    assert.equal(name, expected[index].name);
    assert.deepEqual(file && fs.readFileSync(file), expected[index].written);
  }
  return elapsed;
}

test('served, each choice downloads what quillet-cli writes; a refusal downloads nothing', async () => {
  const page = await open(`http://127.0.0.1:${server.address().port}/`);
  await check(page, `${QUILLET_IMAGES}/game.gba`, [
    ['Fill with 0xFF', '', []],
    ['Cut the intro off', '', ['--cut']],
    ['Fill with byte', '0X7f', ['--fill', '0X7f']],
    ['Fill with byte', '256', ['--fill', '256']],
  ]);
  await check(page, `${QUILLET_IMAGES}/plain.gba`, [['Fill with 0xFF', '', []]]);
  await check(page, `${QUILLET_IMAGES}/broken.gba`, [['Cut the intro off', '', ['--cut']]]);
  assert.equal(page.downloads.length, 3);
  assert.deepEqual(page.requests, []);
});

test('opened from a file, a 32 MiB image', async (t) => {
  const page = await open(`file://${QUILLET_PAGE}`);
  const big = path.join(scratch, 'big.gba');
  fs.writeFileSync(path.join(scratch, 'game.gba'), Buffer.alloc(32 << 20, 0x5a));
  spawnSync(QUILLET_CLI, ['add', '-o', big, path.join(scratch, 'game.gba'), `${QUILLET_IMAGES}/intro.gba`]);
  const elapsed = await check(page, big, [['Fill with 0xFF', '', []]]);
  t.diagnostic(`a 32 MiB image from choosing it to the finished download: ${Math.round(elapsed)} ms`);
  assert.deepEqual(page.requests, []);
});
