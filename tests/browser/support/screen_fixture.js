// The customer screen in Chromium, connected to the kiosk stand-in, showing
// a few rooms of two classes.

import assert from 'node:assert/strict';
import { after, before, beforeEach } from 'node:test';
import { openKioskScreen } from './browser.js';
import { CKioskStandIn } from './kiosk_standin.js';
import { SAMPLE_PICTURES, WEB_ROOT } from './sample_motel.js';

export const TEST_ROOMS = [
  { className: '스탠다드', roomNo: 201, name: '201호', rentalPrice: 30000, sleepPrice: 50000, duration: '3시간' },
  { className: '스탠다드', roomNo: 202, name: '202호', rentalPrice: 30000, sleepPrice: 50000, duration: '3시간' },
  { className: '스탠다드', roomNo: 204, name: '204호', rentalPrice: 30000, sleepPrice: 50000, duration: '3시간', state: 1 },
  { className: '디럭스', roomNo: 301, name: '301호', rentalPrice: 40000, sleepPrice: 60000, duration: '4시간 30분', displayMode: 2 },
];

export async function startScreen({ rooms = TEST_ROOMS, screenSettings = {} } = {}) {
  const kiosk = new CKioskStandIn({ webRoot: WEB_ROOT, pictureFolder: SAMPLE_PICTURES, rooms, screenSettings });
  await kiosk.start();
  const screen = await openKioskScreen(kiosk.url);
  const fixture = {
    kiosk,
    screen,
    page: screen.page,
    roomCard: (roomNo) => screen.page.locator(`[data-testid="room-card"][data-room-no="${roomNo}"]`),
    // A freshly loaded page at home with the rooms shown; what it sent
    // before is forgotten.
    async reload() {
      kiosk.initAnswer = 'All||1||All';
      kiosk.mark();
      await screen.page.goto(kiosk.url);
      await kiosk.next('SetRoomData');
      await fixture.roomCard(rooms.at(-1).roomNo).waitFor();
      return kiosk.mark();
    },
    async close() {
      await screen.close();
      await kiosk.stop();
    },
  };
  return fixture;
}

// The guest confirms the notices on the payment screen (of age among them),
// which lets them choose how to pay.
export async function confirmAge(page) {
  await page.getByTestId('age-confirm').click();
  await page.getByTestId('consent-done').waitFor();
}

// The hooks of a group of tests on one screen: it starts once (onStart gets
// the fixture), is reloaded before each test (onReload gets the kiosk's mark
// from then on), and must have shown no page error, nor sent the kiosk a
// command the movie does not have, when the group ends.
export function useScreen({ onStart, onReload, ...options }) {
  let fixture;
  before(async () => {
    fixture = await startScreen(options);
    onStart(fixture);
  });
  after(async () => {
    assert.deepEqual(fixture.screen.errors, []);
    assert.deepEqual(fixture.kiosk.commandsOutsideTheMovie(), []);
    await fixture.close();
  });
  beforeEach(async () => onReload(await fixture.reload()));
}
