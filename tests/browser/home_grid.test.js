// The home screen of a big motel, against the kiosk stand-in: a thousand
// rooms in more classes than fit in a row. The grid holds still while the
// kiosk changes rooms (one card is rewritten, the scroll stays), a new
// guest finds it from the top, and every class stays one touch away.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { eventually, expectText, expectVisible } from './support/eventually.js';
import { roomLine } from './support/kiosk_standin.js';
import { useScreen } from './support/screen_fixture.js';

const CLASSES = Array.from({ length: 12 }, (_, index) => `객실등급${index + 1}`);
// Every seventh room is sold.
const ROOMS = Array.from({ length: 1000 }, (_, index) => ({
  className: CLASSES[index % CLASSES.length],
  roomNo: 1001 + index,
  state: index % 7 === 3 ? 1 : 0,
}));

describe('a thousand rooms on the home screen', () => {
  let fixture;
  let kiosk;
  let page;
  const byTestId = (id) => page.getByTestId(id);
  const scrollTop = () => byTestId('room-groups').evaluate((groups) => groups.scrollTop);
  const scrollTo = (top) => byTestId('room-groups').evaluate((groups, to) => groups.scrollTo(0, to), top);

  useScreen({
    rooms: ROOMS,
    onStart: (started) => {
      fixture = started;
      ({ kiosk, page } = started);
    },
    onReload: () => {},
  });

  // The cards that came near the screen have their pictures put in, and
  // those have loaded or, missing, gone: nothing changes by itself any more.
  async function settled() {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    await page.waitForFunction(() =>
      [...document.querySelectorAll('[data-testid="room-groups"] .picture img')].every((img) =>
        img.parentElement.classList.contains('picture--loaded'),
      ),
    );
  }

  // The DOM changes the page makes in the grid while `change` runs, until
  // `done` resolves: for each, whether it stayed inside room `roomNo`'s card.
  async function gridChanges(roomNo, change, done) {
    await settled();
    await page.evaluate(() => {
      window.gridRecords = [];
      window.gridObserver = new MutationObserver((records) => window.gridRecords.push(...records));
      window.gridObserver.observe(document.querySelector('[data-testid="room-groups"]'), {
        subtree: true,
        childList: true,
        attributes: true,
        characterData: true,
      });
    });
    change();
    await done();
    return page.evaluate((number) => {
      const records = [...window.gridRecords, ...window.gridObserver.takeRecords()];
      window.gridObserver.disconnect();
      const card = document.querySelector(`[data-testid="room-card"][data-room-no="${number}"]`);
      return records.map((record) => card.contains(record.target));
    }, roomNo);
  }

  test('every room is there, sold rooms last in their class', async () => {
    assert.equal(await byTestId('room-card').count(), 1000);
    const firstClass = await page
      .locator(`[data-testid="room-group"][data-class="${CLASSES[0]}"] [data-testid="room-card"]`)
      .evaluateAll((cards) => cards.map((card) => Number(card.dataset.state)));
    const firstSold = firstClass.indexOf(1);
    assert.ok(firstSold > 0);
    assert.deepEqual(firstClass.slice(firstSold), firstClass.slice(firstSold).map(() => 1));
  });

  test('a room update rewrites that card alone and the scroll stays where the guest left it', async () => {
    // The guest scrolled far down to a room; it changes as they look at it.
    const room = ROOMS[500];
    const card = fixture.roomCard(room.roomNo);
    await card.scrollIntoViewIfNeeded();
    const before = await scrollTop();
    assert.ok(before > 0);
    const changes = await gridChanges(
      room.roomNo,
      () => kiosk.call('UpdateRoomData', roomLine({ ...room, rentalPrice: 99000, name: '1501호 리뉴얼' })),
      () => expectText(card.getByTestId('room-rental-price'), '99,000원'),
    );
    assert.ok(changes.length > 0);
    assert.deepEqual(changes, changes.map(() => true), 'only the updated card changed');
    await expectText(card.getByTestId('room-name'), '1501호 리뉴얼');
    assert.equal(await scrollTop(), before);

    // The same again for a whole resent list with one room changed.
    const resent = ROOMS.map((entry) => (entry === room ? { ...room, sleepPrice: 77000 } : entry));
    const listChanges = await gridChanges(
      room.roomNo,
      () => {
        kiosk.call('InitRoomData');
        resent.forEach((entry) => kiosk.call('SetRoomData', roomLine(entry)));
        kiosk.call('EndSetRoomData');
      },
      () => expectText(card.getByTestId('room-sleep-price'), '77,000원'),
    );
    assert.deepEqual(listChanges, listChanges.map(() => true), 'only the changed card changed');
    assert.equal(await scrollTop(), before);
  });

  test('every class is one touch away; a tab shows its class, and a new guest starts from the top', async () => {
    const tabs = byTestId('class-tab');
    assert.equal(await tabs.count(), CLASSES.length + 1);
    for (const tab of await tabs.all()) {
      const box = await tab.boundingBox();
      assert.ok(box.x >= 0 && box.x + box.width <= 1080, `${await tab.innerText()} is on the screen`);
      await expectVisible(tab);
    }
    const last = CLASSES.at(-1);
    await tabs.filter({ hasText: last }).click();
    const shownGroups = () =>
      page.locator('[data-testid="room-group"]:visible').evaluateAll((groups) => groups.map((g) => g.dataset.class));
    await eventually(async () => assert.deepEqual(await shownGroups(), [last]));

    // A guest far down one class leaves; the next finds every class, from the top.
    const room = ROOMS.findLast((entry) => entry.className === last && entry.state === 0);
    await fixture.roomCard(room.roomNo).click();
    await kiosk.next('SelectRoom');
    await byTestId('nav-home').click();
    await kiosk.next('SetHome');
    await expectVisible(byTestId('screen-home'));
    assert.equal(await scrollTop(), 0);
    assert.equal((await shownGroups()).length, CLASSES.length);
    // Also when they looked at every class.
    await fixture.roomCard(ROOMS.at(-1).roomNo).click();
    await kiosk.next('SelectRoom');
    await byTestId('nav-home').click();
    await kiosk.next('SetHome');
    await expectVisible(byTestId('screen-home'));
    assert.equal(await scrollTop(), 0);
  });
});
