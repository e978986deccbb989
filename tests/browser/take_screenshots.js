// Pictures of the customer screen for the README and for reviewing the
// design: the sample motel on the kiosk stand-in, one PNG per screen.
//   node take_screenshots.js OUTPUT_FOLDER

import { mkdir } from 'node:fs/promises';
import path from 'node:path';
import { openKioskScreen } from './support/browser.js';
import { expectVisible } from './support/eventually.js';
import { CKioskStandIn } from './support/kiosk_standin.js';
import { readScenario, SAMPLE_PICTURES, shownRooms, WEB_ROOT } from './support/sample_motel.js';
import { confirmAge } from './support/screen_fixture.js';

const output = path.resolve(process.argv[2] ?? path.join(WEB_ROOT, 'screenshots'));
await mkdir(output, { recursive: true });

const kiosk = new CKioskStandIn({
  webRoot: WEB_ROOT,
  pictureFolder: SAMPLE_PICTURES,
  rooms: shownRooms(readScenario()),
  initAnswer: 'All||1||All',
});
await kiosk.start();
// A fixed clock and no motion, so the pictures change only when the design does.
const screen = await openKioskScreen(kiosk.url, {
  prepare: (page) => page.clock.setFixedTime(new Date('2026-05-15T14:30:00+09:00')),
});
const { page } = screen;
await page.addStyleTag({ content: '*, *::before, *::after { animation: none !important; transition: none !important; }' });

const shoot = async (name) => {
  await page.evaluate(() => document.fonts.ready);
  await page.screenshot({ path: path.join(output, `${name}.png`) });
  console.log(`${name}.png`);
};

try {
  await page.getByTestId('room-card').first().waitFor();
  await page.waitForFunction(() => document.querySelectorAll('.picture--loaded').length > 0);
  await shoot('home');

  await page.locator('[data-room-no="301"]').click();
  await kiosk.next('SelectRoom');
  kiosk.call('StartProgress');
  await expectVisible(page.getByTestId('idle-progress'));
  await shoot('room');

  await page.getByTestId('stay-sleep').click();
  await expectVisible(page.getByTestId('screen-payment'));
  await shoot('payment');
  await confirmAge(page);
  await page.getByTestId('pay-cash').click();
  await kiosk.next('SetPay');
  kiosk.call('StopProgress');
  kiosk.call('SetRecvMoney', '60000||50000||0');
  await page.getByTestId('cash-inserted').filter({ hasText: '50,000원' }).waitFor();
  await shoot('cash');

  kiosk.call('SetRecvMoney', '60000||70000||10000');
  await kiosk.next('MakeTicket');
  await shoot('issuing');

  kiosk.call('MakeTicketRes', '1||10000');
  await expectVisible(page.getByTestId('screen-result'));
  await shoot('result');

  await page.getByTestId('nav-home').click();
  await page.locator('[data-room-no="501"]').click();
  await page.getByTestId('stay-rental').click();
  await confirmAge(page);
  await page.getByTestId('pay-card').click();
  await kiosk.next('SetPay');
  await expectVisible(page.getByTestId('screen-card'));
  await shoot('card');

  kiosk.call('PopupError');
  await expectVisible(page.getByTestId('overlay-error'));
  await shoot('error');
  kiosk.call('ClearError');

  kiosk.call('SetCreditRes', '0');
  await page.getByTestId('nav-home').click();
  kiosk.call('PopupLoading');
  await expectVisible(page.getByTestId('overlay-loading'));
  await shoot('loading');
  kiosk.call('ClearLoading');

  kiosk.showMessageBox('안내', '오늘 밤 10시부터 30분 동안\n시스템 점검이 있습니다.');
  await expectVisible(page.getByTestId('message-box'));
  await shoot('message');
} finally {
  await screen.close();
  await kiosk.stop();
}
