// The customer screen against the real programs: our front-desk server with
// the sample motel, the kiosk connected to it, and Chromium on the kiosk's
// screen port. Every room the kiosk shows arrives with its class, prices and
// picture, a room changed at the desk changes on the screen, and a restarted
// kiosk is found again without a reload.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { saveScreenshot } from './support/browser.js';
import { eventually, expectText, expectVisible } from './support/eventually.js';
import { useKioskSite } from './support/kiosk_site.js';
import { readScenario, shownRooms, wonText } from './support/sample_motel.js';

// The desk has a loopback address of its own so that other tests can run beside it.
const fixture = useKioskSite({ name: 'kiosk-home', deskAddress: '127.0.41.7' });
const { site } = fixture;

test('the sample motel on the screen, and a room changed at the desk', async () => {
  const { page } = fixture.screen;
  // In each class, in the order the classes come, the rooms for sale first.
  const rooms = shownRooms(readScenario());
  const classes = [...new Set(rooms.map((room) => room.className))];
  const inScreenOrder = classes.flatMap((className) => {
    const ofClass = rooms.filter((room) => room.className === className);
    return [...ofClass.filter((room) => room.state === 0), ...ofClass.filter((room) => room.state !== 0)];
  });
  const expected = inScreenOrder.map((room) => ({
    roomNo: room.roomNo,
    className: room.className,
    name: room.name,
    rental: wonText(room.rentalPrice),
    sleep: wonText(room.sleepPrice),
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
          forSale: card.querySelector('[data-testid="room-unavailable"]').hidden,
        };
      }),
    );
  await eventually(async () => assert.deepEqual(await shown(), expected), 60000);

  // The kiosk fetches the pictures from the desk after it connected; each
  // room's first picture ends up loaded once its card comes into view.
  const pictures = page.getByTestId('room-picture');
  await eventually(async () => {
    const loaded = [];
    for (const picture of await pictures.all()) {
      await picture.scrollIntoViewIfNeeded();
      loaded.push(await picture.evaluate((frame) => frame.querySelector('img')?.naturalWidth > 0));
    }
    assert.deepEqual(loaded, expected.map(() => true));
  }, 60000);
  await page.getByTestId('room-groups').evaluate((groups) => groups.scrollTo(0, 0));
  // The desk answered the kiosk's start-up notice with "Ready!": the
  // operator reads it in the log, the guest never has it in the way.
  await site.waitForKioskLog(/메시지 상자 \(운영자용, 화면에 표시 안 함\) \[HxKiosk\] Ready!/);
  assert.equal(await page.getByTestId('message-box').isVisible(), false);

  await saveScreenshot(page, 'kiosk_home');

  await page.evaluate(() => {
    window.sameDocument = true;
  });
  assert.match(await site.desk.command('room 201 firstPrice=35000 name="201호 리뉴얼"'), /^ok/);
  const room201 = page.locator('[data-testid="room-card"][data-room-no="201"]');
  await expectText(room201.getByTestId('room-name'), '201호 리뉴얼');
  await expectText(room201.getByTestId('room-rental-price'), '35,000원');
  assert.equal(await page.evaluate(() => window.sameDocument), true);
});

test('a restarted kiosk: the page finds it again by itself and shows the rooms', async () => {
  const { page } = fixture.screen;
  const port = new URL(page.url()).port;
  // Cards drawn before the restart are marked; the new kiosk's list replaces them.
  await page.evaluate(() => {
    window.sameDocument = true;
    document.querySelectorAll('[data-testid="room-card"]').forEach((card) => card.classList.add('before-restart'));
  });
  const kiosk = site.kiosk;
  assert.deepEqual(await site.stopKiosk(), { code: 0, signal: null }, kiosk.output);
  await expectVisible(page.getByTestId('connection-status'));

  await site.startKiosk(Number(port));
  await expectVisible(page.getByTestId('connection-status'), false);
  const shownCount = shownRooms(readScenario()).length;
  await eventually(async () => {
    assert.equal(await page.locator('[data-testid="room-card"]:not(.before-restart)').count(), shownCount);
    assert.equal(await page.locator('.before-restart').count(), 0);
  }, 60000);
  assert.equal(await page.evaluate(() => window.sameDocument), true);
});

