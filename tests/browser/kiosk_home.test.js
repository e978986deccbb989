// The customer screen against the real programs: our front-desk server with
// the sample motel, the kiosk connected to it, and Chromium on the kiosk's
// screen port. Every room the kiosk shows arrives with its class, prices and
// picture, a room changed at the desk changes on the screen, and a restarted
// kiosk is found again without a reload.

import assert from 'node:assert/strict';
import { mkdir, mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { openKioskScreen } from './support/browser.js';
import { eventually, expectText, expectVisible } from './support/eventually.js';
import {
  CProgram, kioskScreenPort, linkNoBoard, programPath, setServerAddress,
} from './support/programs.js';
import { readScenario, SAMPLE_SCENARIO, shownRooms } from './support/sample_motel.js';

// The kiosk always connects to port 12001; this test's desk has a loopback
// address of its own so that other tests can run beside it.
const DESK_ADDRESS = '127.0.41.7';
const ARTEFACTS = process.env.HX_TEST_ARTEFACTS ?? path.join(os.tmpdir(), 'hx-test-artefacts');

const won = (amount) => `${String(amount).replace(/\B(?=(\d{3})+(?!\d))/g, ',')}원`;

let drive;
let desk;
let kiosk;
let screen;

before(async () => {
  drive = await mkdtemp(path.join(os.tmpdir(), 'hx-kiosk-home-'));
  await mkdir(path.join(drive, 'desk'));
  setServerAddress(drive, DESK_ADDRESS);
  await linkNoBoard(drive);
  desk = new CProgram(programPath('HX_FRONTDESK_PROGRAM'), [
    '--scenario', SAMPLE_SCENARIO,
    '--data', path.join(drive, 'desk'),
    '--listen', `${DESK_ADDRESS}:12001`,
  ]);
  await desk.waitForOutput(/listening on/);
  kiosk = new CProgram(programPath('HX_KIOSK_PROGRAM'), ['--drive', drive, '--ui-port', '0']);
  screen = await openKioskScreen(`http://127.0.0.1:${await kioskScreenPort(drive)}/`);
});

// Everything that was started is ended, also after a failed start.
after(async () => {
  await screen?.close();
  const kioskEnd = await kiosk?.stop();
  desk?.writeLine('quit');
  await desk?.stop();
  if (drive) {
    await rm(drive, { recursive: true, force: true });
  }
  if (kioskEnd) {
    assert.deepEqual(kioskEnd, { code: 0, signal: null }, kiosk.output);
  }
});

test('the sample motel on the screen, and a room changed at the desk', async () => {
  const { page } = screen;
  const expected = shownRooms(readScenario()).map((room) => ({
    roomNo: room.roomNo,
    className: room.className,
    name: room.name,
    rental: won(room.rentalPrice),
    sleep: won(room.sleepPrice),
    duration: room.duration,
    forSale: room.state === 0,
  }));
  const shown = () =>
    page.getByTestId('room-card').evaluateAll((cards) =>
      cards.map((card) => {
        const text = (id) => card.querySelector(`[data-testid="${id}"]`).textContent;
        return {
          roomNo: Number(card.dataset.roomNo),
          className: text('room-class'),
          name: text('room-name'),
          rental: text('room-rental-price'),
          sleep: text('room-sleep-price'),
          duration: text('room-duration'),
          forSale: card.querySelector('[data-testid="room-unavailable"]') === null,
        };
      }),
    );
  await eventually(async () => assert.deepEqual(await shown(), expected), 60000);

  // The kiosk fetches the pictures from the desk after it connected; each
  // room's first picture ends up loaded.
  await eventually(async () => {
    const loaded = await page
      .getByTestId('room-picture')
      .evaluateAll((frames) => frames.map((frame) => frame.querySelector('img')?.naturalWidth > 0));
    assert.deepEqual(loaded, expected.map(() => true));
  }, 60000);
  // The desk answered the kiosk's start-up notice with "Ready!"; the box
  // waited for the screen.
  await expectText(page.getByTestId('message-box-text'), 'Ready!');
  await page.getByTestId('message-box-ok').click();
  await expectVisible(page.getByTestId('message-box'), false);

  await mkdir(ARTEFACTS, { recursive: true });
  await page.evaluate(() => document.fonts.ready);
  await page.screenshot({ path: path.join(ARTEFACTS, 'kiosk_home.png') });

  await page.evaluate(() => {
    window.sameDocument = true;
  });
  desk.writeLine('room 201 firstPrice=35000 name="201호 리뉴얼"');
  const room201 = page.locator('[data-testid="room-card"][data-room-no="201"]');
  await expectText(room201.getByTestId('room-name'), '201호 리뉴얼');
  await expectText(room201.getByTestId('room-rental-price'), '35,000원');
  assert.equal(await page.evaluate(() => window.sameDocument), true);
});

test('a restarted kiosk: the page finds it again by itself and shows the rooms', async () => {
  const { page } = screen;
  const port = new URL(page.url()).port;
  // Cards drawn before the restart are marked; the new kiosk's list replaces them.
  await page.evaluate(() => {
    window.sameDocument = true;
    document.querySelectorAll('[data-testid="room-card"]').forEach((card) => card.classList.add('before-restart'));
  });
  assert.deepEqual(await kiosk.stop(), { code: 0, signal: null }, kiosk.output);
  await expectVisible(page.getByTestId('connection-status'));

  kiosk = new CProgram(programPath('HX_KIOSK_PROGRAM'), ['--drive', drive, '--ui-port', port]);
  await expectVisible(page.getByTestId('connection-status'), false);
  const shownCount = shownRooms(readScenario()).length;
  await eventually(async () => {
    assert.equal(await page.locator('[data-testid="room-card"]:not(.before-restart)').count(), shownCount);
    assert.equal(await page.locator('.before-restart').count(), 0);
  }, 60000);
  assert.equal(await page.evaluate(() => window.sameDocument), true);
});

