// One whole cash sale on the customer screen, with every program real: our
// front-desk server with the sample motel, the kiosk, the control board on
// its COM3, the key card dispenser on COM4, the receipt printer on COM0, and
// Chromium on the kiosk's screen. The guest chooses a room, pays with notes
// put into the board, and gets the room's key card, its ticket and the
// change, each counted once.

import assert from 'node:assert/strict';
import { stat } from 'node:fs/promises';
import { test } from 'node:test';
import { saveScreenshot } from './support/browser.js';
import { eventually, expectText } from './support/eventually.js';
import { FLOAT, useKioskSite } from './support/kiosk_site.js';
import { readScenario, wonText } from './support/sample_motel.js';
import { confirmAge } from './support/screen_fixture.js';

const ROOM = 201;
// The desk's day-use price for the room: four 10,000-won notes pay it with
// 5,000 won change, which only the 1,000-won dispenser can make up.
const PRICE = 35000;
const NOTE = 10000;
const CHANGE = 5000;

const fixture = useKioskSite({ name: 'kiosk-sale', deskAddress: '127.0.41.8', devices: true });
const { site } = fixture;

// The inlet opens only once the kiosk's commands have reached the board;
// until then the board refuses the note.
async function insertNote() {
  await eventually(async () => assert.match(await site.board.command(`bill ${NOTE}`), /^ok/));
}

test('a cash sale of room 201: the result with the change, one key card, one ticket, the float', async () => {
  const { page } = fixture.screen;
  const byTestId = (id) => page.getByTestId(id);
  const roomCard = page.locator(`[data-testid="room-card"][data-room-no="${ROOM}"]`);

  assert.match(await site.desk.command(`room ${ROOM} firstPrice=${PRICE}`), /^ok/);
  await expectText(roomCard.getByTestId('room-rental-price'), wonText(PRICE));
  // A few seconds after it opened the board's port the kiosk closes the
  // inlets with reset and clears what it counted, whatever is under way: a
  // guest who pays before then loses what was counted, here the change.
  // The guest comes after it.
  await site.board.waitForEvent('inlet', (entry) => entry.device === 'bill' && entry.reset);

  await roomCard.click();
  await byTestId('stay-rental').click();
  await confirmAge(page);
  await byTestId('pay-cash').click();
  await expectText(byTestId('cash-price'), wonText(PRICE));
  for (let inserted = NOTE; inserted < PRICE; inserted += NOTE) {
    await insertNote();
    await expectText(byTestId('cash-inserted'), wonText(inserted));
    await expectText(byTestId('cash-message'), `${wonText(PRICE - inserted)}을 더 넣어 주세요`);
  }
  // The note that passes the price confirms the purchase.
  await insertNote();
  await expectText(byTestId('result-title'), '결제가 완료되었습니다');
  await expectText(byTestId('result-room'), `${ROOM}호`);
  await expectText(
    byTestId('result-lines'),
    `객실 키와 영수증을 받아 주세요.\n거스름돈 ${wonText(CHANGE)}을 받아 주세요.`,
  );
  await saveScreenshot(page, 'kiosk_sale');

  const room = readScenario().rooms.find((entry) => entry.roomNo === ROOM);
  const issued = await site.dispenser.waitForEvent('issued');
  assert.equal(issued.card.doorLock, room.lockNo);
  assert.equal(issued.card.checksOk && issued.card.wellFormed, true, JSON.stringify(issued));

  const ticket = await site.printer.waitForEvent('document');
  assert.equal(ticket.lines[0].text, room.name);
  assert.equal(ticket.saved, true, ticket.error);
  assert.equal((await stat(ticket.png)).isFile(), true);

  await eventually(async () =>
    assert.deepEqual(await site.floatCounts(), {
      ...FLOAT,
      1000: FLOAT[1000] - CHANGE / 1000,
      RFCard: FLOAT.RFCard - 1,
    }),
  );
  // Each once: the sale at the desk, the card, the ticket.
  assert.equal((await site.deskReceived(601)).length, 1);
  assert.equal((await site.dispenser.events('issued')).length, 1);
  assert.equal((await site.printer.events('document')).length, 1);
});
