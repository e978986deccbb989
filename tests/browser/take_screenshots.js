// Pictures of the customer screen for the README and for reviewing the
// design: the sample motel on the kiosk stand-in, with a phone number set
// for help, one PNG per screen and overlay, the larger-text mode and a
// home screen of a thousand rooms.
//   node take_screenshots.js OUTPUT_FOLDER

import { mkdir } from 'node:fs/promises';
import path from 'node:path';
import { openKioskScreen } from './support/browser.js';
import { expectVisible } from './support/eventually.js';
import { CKioskStandIn, roomLine } from './support/kiosk_standin.js';
import { readScenario, SAMPLE_PICTURES, shownRooms, WEB_ROOT } from './support/sample_motel.js';
import { confirmAge } from './support/screen_fixture.js';

const output = path.resolve(process.argv[2] ?? path.join(WEB_ROOT, 'screenshots'));
await mkdir(output, { recursive: true });

const kiosk = new CKioskStandIn({
  webRoot: WEB_ROOT,
  pictureFolder: SAMPLE_PICTURES,
  rooms: shownRooms(readScenario()),
  initAnswer: 'All||1||All',
  screenSettings: { phone: '010-1234-5678' },
});
await kiosk.start();
// A fixed clock and no motion, so the pictures change only when the design does.
const screen = await openKioskScreen(kiosk.url, {
  prepare: (page) => page.clock.setFixedTime(new Date('2026-05-15T14:30:00+09:00')),
});
const { page } = screen;
await page.addStyleTag({ content: '*, *::before, *::after { animation: none !important; transition: none !important; }' });
const byTestId = (id) => page.getByTestId(id);

const shoot = async (name) => {
  await page.evaluate(async () => {
    await document.fonts.ready;
    // Cards that came into view get their pictures on the next frames.
    await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    await Promise.all([...document.images].filter((img) => !img.complete).map((img) => img.decode().catch(() => {})));
  });
  await page.screenshot({ path: path.join(output, `${name}.png`) });
  console.log(`${name}.png`);
};

// A motel of a thousand rooms in twelve classes, every seventh sold.
function bigMotel() {
  const sample = shownRooms(readScenario());
  const classes = [...new Set(sample.map((room) => room.className)), '패밀리', '파티룸', '스파', '복층', '테라스', '시네마', '게이밍', '펫룸'];
  return Array.from({ length: 1000 }, (_, index) => {
    const model = sample[index % sample.length];
    const roomNo = 1001 + index;
    return {
      ...model,
      className: classes[index % classes.length],
      roomNo,
      name: `${roomNo}호`,
      state: index % 7 === 3 ? 1 : 0,
      picturesOf: model.roomNo,
    };
  });
}

try {
  await byTestId('room-card').first().waitFor();
  await page.waitForFunction(() => document.querySelectorAll('.picture--loaded').length >= 6);
  await shoot('home');
  await byTestId('text-size').click();
  await shoot('larger-text');
  await byTestId('text-size').click();
  await byTestId('help-open').click();
  await shoot('help');
  await byTestId('help-close').click();

  await page.locator('[data-room-no="301"]').click();
  await kiosk.next('SelectRoom');
  kiosk.call('StartProgress');
  await expectVisible(byTestId('idle-progress'));
  await page.waitForFunction(() => document.querySelector('[data-testid="stay-picture"] .picture--loaded'));
  await shoot('room');

  await byTestId('stay-sleep').click();
  await expectVisible(byTestId('screen-payment'));
  await shoot('payment');
  await confirmAge(page);
  await byTestId('pay-cash').click();
  await kiosk.next('SetPay');
  kiosk.call('StopProgress');
  kiosk.call('SetRecvMoney', '60000||50000||0');
  await byTestId('cash-inserted').filter({ hasText: '50,000원' }).waitFor();
  await shoot('cash');

  kiosk.call('SetRecvMoney', '60000||70000||10000');
  await kiosk.next('MakeTicket');
  await shoot('issuing');

  kiosk.call('MakeTicketRes', '1||10000');
  await expectVisible(byTestId('screen-result'));
  await shoot('result');

  await byTestId('result-ok').click();
  await page.locator('[data-room-no="501"]').click();
  await byTestId('stay-rental').click();
  await confirmAge(page);
  await byTestId('pay-card').click();
  await kiosk.next('SetPay');
  await expectVisible(byTestId('screen-card'));
  await shoot('card');

  kiosk.call('SetCreditRes', '0');
  await expectVisible(byTestId('result-retry'));
  await shoot('declined');

  await byTestId('result-retry').click();
  await byTestId('pay-cash').click();
  kiosk.call('SetRecvMoney', '70000||20000||0');
  await byTestId('cash-inserted').filter({ hasText: '20,000원' }).waitFor();
  kiosk.call('PopupError');
  await expectVisible(byTestId('overlay-error'));
  await shoot('error');
  kiosk.call('ReturnRecvMoneyRes', '1');
  kiosk.call('ClearError');
  await byTestId('result-ok').click();

  kiosk.call('PopupLoading');
  await expectVisible(byTestId('overlay-loading'));
  await shoot('loading');
  kiosk.call('ClearLoading');

  kiosk.showMessageBox('안내', '오늘 밤 10시부터 30분 동안\n시스템 점검이 있습니다.');
  await expectVisible(byTestId('message-box'));
  await shoot('message');
  await byTestId('message-box-ok').click();

  kiosk.call('InitRoomData');
  bigMotel().forEach((room) => kiosk.call('SetRoomData', roomLine(room)));
  kiosk.call('EndSetRoomData');
  await page.locator('[data-room-no="2000"]').waitFor({ state: 'attached' });
  await page.waitForFunction(() => document.querySelectorAll('.picture--loaded').length >= 6);
  await shoot('home-1000-rooms');

  await kiosk.stop();
  await expectVisible(byTestId('connection-status'));
  await shoot('disconnected');
} finally {
  await screen.close();
  await kiosk.stop().catch(() => {});
}
